// Views of bitmaps and the nearest-colour mapping of indexed pixels.
#include "pixel_view.h"

#include "gdi_object.h"

namespace platform::gdi {

PixelView viewOf(Bitmap& bitmap) {
    PixelView view;
    view.bits = bitmap.pixels.data();
    view.width = bitmap.width;
    view.height = bitmap.height;
    view.stride = bitmap.stride;
    view.bitsPerPixel = bitmap.bitsPerPixel;
    view.bottomUp = bitmap.bottomUp;
    view.colors = bitmap.colors.data();
    view.colorCount = static_cast<int>(bitmap.colors.size());
    view.monoDevice = bitmap.bitsPerPixel == 1 && !bitmap.dibSection;
    return view;
}

uint32_t pixelValue(const PixelView& view, COLORREF color) {
    if (view.bitsPerPixel >= 24)
        return rgbValue(color);
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    uint32_t best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < view.colorCount; ++i) {
        const RGBQUAD& q = view.colors[i];
        const int dr = q.rgbRed - r, dg = q.rgbGreen - g, db = q.rgbBlue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<uint32_t>(i);
        }
    }
    return best;
}

COLORREF colorOfValue(const PixelView& view, uint32_t value) {
    if (view.bitsPerPixel >= 24)
        return colorOfRgb(value);
    if (value >= static_cast<uint32_t>(view.colorCount))
        return 0;
    const RGBQUAD& q = view.colors[value];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

} // namespace platform::gdi
