// libFuzzer target: the GDI layer's BMP reader (LoadImage, resource bitmaps).
#include "bmp_reader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::gdi::LoadedDib dib;
    if (platform::gdi::parseBmp(data, size, &dib)) {
        // Touch every row the view claims, so a size check that is off shows as an overflow.
        const platform::gdi::PixelView view = dib.view();
        volatile BYTE sink = 0;
        for (int y = 0; y < view.height; ++y)
            sink = sink ^ view.row(y)[view.stride - 1];
    }
    return 0;
}
