// Pixel sets of shapes and painting them in runs.
#include "coverage.h"

#include <algorithm>

namespace platform::gdi {

Coverage::Coverage(const RECT& bounds) : bounds_(bounds) {
    if (rectEmpty(bounds_))
        bounds_ = RECT{0, 0, 0, 0};
    width_ = bounds_.right - bounds_.left;
    mask_.assign(static_cast<size_t>(width_) * static_cast<size_t>(bounds_.bottom - bounds_.top), 0);
}

void Coverage::mark(int x, int y) {
    if (x >= bounds_.left && x < bounds_.right && y >= bounds_.top && y < bounds_.bottom)
        mask_[static_cast<size_t>(y - bounds_.top) * width_ + (x - bounds_.left)] = 1;
}

void Coverage::markSpan(int y, int x0, int x1) {
    if (y < bounds_.top || y >= bounds_.bottom)
        return;
    x0 = std::max<int>(x0, bounds_.left);
    x1 = std::min<int>(x1, bounds_.right);
    if (x0 < x1) {
        auto row = mask_.begin() + static_cast<std::ptrdiff_t>(y - bounds_.top) * width_;
        std::fill(row + (x0 - bounds_.left), row + (x1 - bounds_.left), 1);
    }
}

bool Coverage::marked(int x, int y) const {
    return x >= bounds_.left && x < bounds_.right && y >= bounds_.top && y < bounds_.bottom &&
           mask_[static_cast<size_t>(y - bounds_.top) * width_ + (x - bounds_.left)];
}

void Coverage::subtract(const Coverage& other) {
    for (int y = bounds_.top; y < bounds_.bottom; ++y)
        for (int x = bounds_.left; x < bounds_.right; ++x)
            if (other.marked(x, y))
                mask_[static_cast<size_t>(y - bounds_.top) * width_ + (x - bounds_.left)] = 0;
}

void Coverage::paint(Canvas& canvas, uint32_t value, int rop2) const {
    for (int y = bounds_.top; y < bounds_.bottom; ++y) {
        const unsigned char* row = mask_.data() + static_cast<size_t>(y - bounds_.top) * width_;
        int x = 0;
        while (x < width_) {
            if (!row[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width_ && row[x])
                ++x;
            canvas.span(y, bounds_.left + start, bounds_.left + x, value, rop2);
        }
    }
}

} // namespace platform::gdi
