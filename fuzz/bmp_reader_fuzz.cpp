// libFuzzer target: the BMP file reader, and the writer on whatever it accepts.
#include "bmp_file.h"
#include "memory_file.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = openMemoryFile(data, size);
    if (!file)
        return 0;
    rastel::BmpImage image;
    if (rastel::readBmpFile(file, image)) {
        const BITMAPINFOHEADER& header = image.info->bmiHeader;
        // Every accepted form comes back uncompressed and bottom-up under a 40-byte header at a held depth.
        const int bits = header.biBitCount;
        if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biCompression != BI_RGB || header.biHeight <= 0 ||
            header.biWidth <= 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
            __builtin_trap();
        const DWORD entries = header.biClrUsed ? header.biClrUsed : rastel::standardColorEntries(bits);
        const DWORD imageSize = static_cast<DWORD>(DibStride(header.biWidth, header.biBitCount)) * header.biHeight;
        if (std::FILE* sink = std::fopen("/dev/null", "wb")) {
            (void)rastel::writeBmpFile(sink, image.info.get(), entries, image.pixels.get(), imageSize);
            std::fclose(sink);
        }
    }
    std::fclose(file);
    return 0;
}
