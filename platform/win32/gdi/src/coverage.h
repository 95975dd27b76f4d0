// A set of pixels that a shape covers, painted once per pixel whatever the raster operation.
#pragma once

#include <vector>

#include "canvas.h"

namespace platform::gdi {

// Pixels within `bounds` (already limited to the clip); marks outside are dropped, marking twice is once.
class Coverage {
public:
    explicit Coverage(const RECT& bounds);
    void mark(int x, int y);
    void markSpan(int y, int x0, int x1);
    bool marked(int x, int y) const;
    const RECT& bounds() const { return bounds_; }
    // Unmarks every pixel that `other` marks.
    void subtract(const Coverage& other);
    // Combines every marked pixel with `value` by the R2_* code.
    void paint(Canvas& canvas, uint32_t value, int rop2) const;

private:
    RECT bounds_;
    int width_ = 0;
    std::vector<unsigned char> mask_;
};

} // namespace platform::gdi
