// libFuzzer target: the overlay mask and dark-frame reader, the dark-frame check, and the mask and the
// dark-frame correction laid on a frame of the picture's own size whenever a running format could be it.
#include "dib_image.h"
#include "memory_file.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

LONG readLong(const uint8_t* bytes) {
    return static_cast<LONG>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = openMemoryFile(data, size);
    if (!file)
        return 0;
    korvib::DibImage image;
    if (image.ReadBmp(file)) {
        // A loaded file has its whole info header, so its width and height are at hand.
        BITMAPINFOHEADER format{};
        format.biWidth = readLong(data + 18);
        format.biHeight = readLong(data + 22);
        format.biBitCount = 24;
        const bool usable = image.CheckDarkFrame();
        // Running formats are bottom-up.
        if (format.biHeight > 0 && image.MatchesFormat(format)) {
            std::vector<BYTE> frame(static_cast<std::size_t>(DibStride(format.biWidth, 24)) * format.biHeight,
                                    0x80);
            image.ApplyMask(frame.data(), 0x00FFFFFF);
            if (usable)
                image.ApplyDarkFrame(frame.data());
        }
    }
    std::fclose(file);
    return 0;
}
