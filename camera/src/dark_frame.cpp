// DibImage as a dark frame: its defect count and the correction of a frame's defective pixels.
#include "dib_image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "debug_output.h"

namespace korvib {
namespace {

// A dark-frame byte above this marks a defective sensor pixel.
constexpr BYTE kDefectLevel = 64;
// A dark frame with more defects than this is refused.
constexpr long kMostDefects = 2000;

void CopyPixel(BYTE* target, const BYTE* source) {
    std::memcpy(target, source, 3);
}

} // namespace

bool DibImage::Defective(std::size_t offset) const {
    const BYTE* pixel = pixels_.data() + offset;
    return pixel[0] > kDefectLevel || pixel[1] > kDefectLevel || pixel[2] > kDefectLevel;
}

// Rows are corrected left to right in place, so a run of defects takes the last good pixel before it; a
// run at the start of a row takes the first good pixel after it, and a row without one stays as it is.
// One debug line per defect (x is the row, y the column). Streaming thread.
void DibImage::ApplyDarkFrame(BYTE* frame) const {
    for (LONG row = 0; row < height_; ++row) {
        BYTE* line = frame + row * stride_;
        LONG firstGood = -1;
        for (LONG column = 0; column < width_; ++column) {
            const std::size_t offset = row * stride_ + 3 * static_cast<std::size_t>(column);
            if (!Defective(offset)) {
                if (firstGood < 0) {
                    firstGood = column;
                    for (LONG before = 0; before < column; ++before) {
                        CopyPixel(line + 3 * before, line + 3 * column);
                    }
                }
                continue;
            }
            const BYTE* dark = pixels_.data() + offset;
            char text[96];
            std::snprintf(text, sizeof(text), "btCalRed %d, btCalGreen %d, btCalBlue %d, x: %d, y: %d ", dark[2],
                          dark[1], dark[0], static_cast<int>(row), static_cast<int>(column));
            DebugLine(text);
            if (firstGood >= 0) {
                CopyPixel(line + 3 * column, line + 3 * (column - 1));
            }
        }
    }
}

bool DibImage::CheckDarkFrame() const {
    const LONG rows = std::labs(height_);
    long defects = 0;
    for (LONG row = 0; row < rows; ++row) {
        for (LONG column = 0; column < width_; ++column) {
            if (Defective(row * stride_ + 3 * static_cast<std::size_t>(column)) && ++defects > kMostDefects) {
                return false;
            }
        }
    }
    return true;
}

} // namespace korvib
