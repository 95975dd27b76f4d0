// DibImage as a dark frame: its defects, found once, and the correction of a frame's defective pixels.
#include "dib_image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "debug_output.h"

namespace korvib {
namespace {

// A dark-frame byte above this marks a defective sensor pixel.
constexpr BYTE kDefectLevel = 64;
// A dark frame with more defects than this is refused.
constexpr std::size_t kMostDefects = 2000;

void CopyPixel(BYTE* target, const BYTE* source) {
    std::memcpy(target, source, 3);
}

} // namespace

bool DibImage::Defective(std::size_t offset) const {
    const BYTE* pixel = pixels_.data() + offset;
    return pixel[0] > kDefectLevel || pixel[1] > kDefectLevel || pixel[2] > kDefectLevel;
}

bool DibImage::CheckDarkFrame() {
    defects_.clear();
    // The walk below takes 3 bytes a pixel.
    if (bitCount_ != 24) {
        return false;
    }
    try {
        defects_.reserve(kMostDefects);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const LONG rows = std::labs(height_);
    for (LONG row = 0; row < rows; ++row) {
        for (LONG column = 0; column < width_; ++column) {
            if (!Defective(row * stride_ + 3 * static_cast<std::size_t>(column))) {
                continue;
            }
            if (defects_.size() == kMostDefects) {
                defects_.clear();
                return false;
            }
            defects_.push_back({row, column});
        }
    }
    return true;
}

void DibImage::FillRowStart(BYTE* frame, LONG row, LONG end) const {
    if (row < 0 || end >= width_) {
        return;
    }
    BYTE* line = frame + row * stride_;
    for (LONG column = 0; column < end; ++column) {
        CopyPixel(line + 3 * column, line + 3 * end);
    }
}

// Defects are corrected row by row, left to right, in place, so a run of them takes the last good pixel
// before it. A run from the start of a row takes the first good pixel after it; a row without one stays
// as it is. One debug line per defect (x is the row, y the column) while debug output is on. Streaming
// thread.
void DibImage::ApplyDarkFrame(BYTE* frame) const {
    const bool debugOutput = IsDebuggerPresent() != FALSE;
    // Columns 0 to runEnd - 1 of runRow are defects.
    LONG runRow = -1;
    LONG runEnd = 0;
    for (const Defect& defect : defects_) {
        if (debugOutput) {
            const BYTE* dark =
                pixels_.data() + defect.row * stride_ + 3 * static_cast<std::size_t>(defect.column);
            char text[96];
            std::snprintf(text, sizeof(text), "btCalRed %d, btCalGreen %d, btCalBlue %d, x: %d, y: %d ",
                          dark[2], dark[1], dark[0], static_cast<int>(defect.row),
                          static_cast<int>(defect.column));
            DebugLine(text);
        }
        if (defect.column == 0) {
            FillRowStart(frame, runRow, runEnd);
            runRow = defect.row;
            runEnd = 1;
        } else if (defect.row == runRow && defect.column == runEnd) {
            ++runEnd;
        } else {
            BYTE* pixel = frame + defect.row * stride_ + 3 * static_cast<std::size_t>(defect.column);
            CopyPixel(pixel, pixel - 3);
        }
    }
    FillRowStart(frame, runRow, runEnd);
}

} // namespace korvib
