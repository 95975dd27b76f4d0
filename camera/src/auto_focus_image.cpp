// The focus region's brackets, grey conversion and focus measure.
#include "auto_focus_image.h"

#include <algorithm>
#include <cstdlib>

#include <win32/dib.h>

namespace korvib {
namespace {

template <typename Byte> Byte* PixelAt(Byte* frame, std::size_t stride, int row, int column) {
    return frame + static_cast<std::size_t>(row) * stride + static_cast<std::size_t>(column) * 3;
}

void SetGreen(BYTE* pixel) {
    pixel[0] = 0;
    pixel[1] = 255;
    pixel[2] = 0;
}

int Difference(const BYTE* a, const BYTE* b) {
    return std::abs(static_cast<int>(*a) - static_cast<int>(*b));
}

} // namespace

bool FocusRegionOf(int width, int height, Region* region) {
    region->width = width / 4;
    region->height = height / 4;
    region->left = width / 2 - region->width / 2;
    region->top = height / 2 - region->height / 2;
    return region->width > 0 && region->height > 0;
}

void DrawFocusBrackets(BYTE* frame, int width, const Region& region) {
    const auto stride = static_cast<std::size_t>(DibStride(width, 24));
    const int w = region.width;
    const int h = region.height;
    for (int i = 0; i < h; ++i) {
        const int row = region.top + i;
        if (i == 0 || i == h - 1) {
            for (int j = 0; j < w / 4; ++j) {
                SetGreen(PixelAt(frame, stride, row, region.left + j));
            }
            for (int j = (3 * w) / 4; j < w; ++j) {
                SetGreen(PixelAt(frame, stride, row, region.left + j));
            }
        } else if (i < h / 4 || i > (3 * h) / 4) {
            SetGreen(PixelAt(frame, stride, row, region.left));
            SetGreen(PixelAt(frame, stride, row, region.left + w));
        }
    }
}

void ConvertRoiToGray(const BYTE* frame, int width, const Region& region, BYTE* grey) {
    const auto stride = static_cast<std::size_t>(DibStride(width, 24));
    for (int i = 0; i < region.height; ++i) {
        const BYTE* pixel = PixelAt(frame, stride, region.top + i, region.left);
        BYTE* out = grey + static_cast<std::size_t>(i) * region.width;
        for (int j = 0; j < region.width; ++j, pixel += 3) {
            out[j] = static_cast<BYTE>((6 * pixel[1] + 3 * pixel[2] + pixel[0]) / 10);
        }
    }
}

uint32_t FocusValue(const BYTE* grey, int width, int height) {
    if (width < 3 || height < 3) {
        return 0;
    }
    const auto row = static_cast<std::size_t>(width);
    uint64_t sum = 0;
    for (int y = 1; y <= height - 2; ++y) {
        const BYTE* c = grey + static_cast<std::size_t>(y) * row + 1;
        for (int x = 1; x <= width - 2; ++x, ++c) {
            sum +=
                Difference(c, c - 1) + Difference(c, c + 1) + Difference(c, c - row) + Difference(c, c + row);
        }
    }
    return static_cast<uint32_t>(std::min<uint64_t>(sum, UINT32_MAX));
}

} // namespace korvib
