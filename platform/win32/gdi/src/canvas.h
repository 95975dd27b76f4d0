// A DC's pixels opened for one drawing call: view, clip and, for a window DC, the held surface lock.
#pragma once

#include <mutex>

#include "gdi_object.h"
#include "pixel_view.h"

namespace platform::gdi {

bool rectEmpty(const RECT& r);
RECT intersectRect(const RECT& a, const RECT& b);
RECT unionRect(const RECT& a, const RECT& b);

// Opens the pixels of `dc` (and of `source` for a transfer) for the length of one call. A window DC's
// surface lock is held until destruction; two window DCs are locked together (one lock when they share a
// surface). What was written is added to a window DC's drawn rectangle at the end.
class Canvas {
public:
    explicit Canvas(DeviceContext& dc, DeviceContext* source = nullptr);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    const PixelView& view() const { return view_; }
    const PixelView& sourceView() const { return source_; }
    const RECT& clip() const { return clip_; }
    DeviceContext& dc() const { return dc_; }
    // Bits every 32-bit value written here carries (the alpha byte of an RGB32 surface).
    uint32_t opaque() const { return opaque_; }

    // The value for `color` in this canvas (with the alpha byte an RGB32 surface needs).
    uint32_t value(COLORREF color) const;
    // Pixels x0 <= x < x1 of row y combined with `value` by the R2_* code; clipped.
    void span(int y, int x0, int x1, uint32_t value, int rop2);
    void plot(int x, int y, uint32_t value, int rop2) { span(y, x, x + 1, value, rop2); }
    // Narrows the clip to `r` for the rest of the call.
    void restrict(const RECT& r) { clip_ = intersectRect(clip_, r); }
    // Records a rectangle written directly through view() (already clipped).
    void touch(const RECT& r);

private:
    std::unique_lock<std::mutex> lock_;
    std::unique_lock<std::mutex> sourceLock_;
    DeviceContext& dc_;
    PixelView view_;
    PixelView source_;
    RECT clip_{0, 0, 0, 0};
    RECT touched_{0, 0, 0, 0};
    uint32_t opaque_ = 0; // bits every 32-bit value carries in this canvas
};

} // namespace platform::gdi
