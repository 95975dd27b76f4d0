// Gamma tables, the green-channel gamma of the frame pipeline and the all-bytes gamma of KZ_GammaOperation.
#include "gamma.h"

#include <cmath>

#include <win32/dib.h>

namespace korvib {

GammaTable MakeGammaTable(float gamma) {
    GammaTable table{};
    for (int k = 0; k < 256; ++k) {
        double v = std::pow((k + 1) / 256.0, static_cast<double>(gamma)) * 255.0 + 0.5;
        // Written so that NaN falls to 0.
        if (!(v > 0.0)) {
            v = 0.0;
        }
        if (v > 255.0) {
            v = 255.0;
        }
        table[k] = static_cast<BYTE>(v);
    }
    return table;
}

bool ApplyGreenGamma(BYTE* frame, int width, int height, float gamma) {
    if (frame == nullptr) {
        return false;
    }
    const GammaTable table = MakeGammaTable(gamma);
    const std::size_t stride = static_cast<std::size_t>(DibStride(width, 24));
    for (int y = 0; y < height; ++y) {
        BYTE* pixel = frame + y * stride + 1;
        for (int x = 0; x < width; ++x, pixel += 3) {
            *pixel = table[*pixel];
        }
    }
    return true;
}

void MapRows(BYTE* pixels, std::size_t rowBytes, std::size_t rows, const GammaTable& table) {
    const std::size_t count = rowBytes * rows;
    for (std::size_t i = 0; i < count; ++i) {
        pixels[i] = table[pixels[i]];
    }
}

} // namespace korvib
