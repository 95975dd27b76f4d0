// libFuzzer target: the JPEG file reader.
#include "jpeg_codec.h"
#include "memory_file.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = openMemoryFile(data, size);
    if (!file)
        return 0;
    unsigned long width = 0;
    unsigned long height = 0;
    // A smaller picture limit than the library's keeps each run quick.
    unsigned char* pixels = jpegfile::readJpeg(file, 1ul << 24, &width, &height);
    delete[] pixels;
    std::fclose(file);
    return 0;
}
