// CRectTracker: the rubber band a user drags out with the mouse.
#pragma once

#include <mfc/geometry.h>

class CWnd;

// GUI thread.
class CRectTracker {
public:
    enum StyleFlags { solidLine = 1, dottedLine = 2, hatchedBorder = 4, resizeInside = 8, resizeOutside = 16, hatchInside = 32 };

    CRectTracker() = default;
    CRectTracker(LPCRECT rect, UINT style) : m_rect(*rect), m_nStyle(style) {}

    // Captures the mouse and follows it from `start` (client coordinates of `wnd`), drawing the band
    // inverted, until the left button goes up (TRUE when the band is not empty) or Esc, a lost capture or
    // WM_QUIT (posted again) cancels it (FALSE). Other messages are dispatched meanwhile. Without
    // `allowInvert` the band does not extend left of or above the start. m_rect holds the band, normalised.
    BOOL TrackRubberBand(CWnd* wnd, CPoint start, BOOL allowInvert = TRUE);

    CRect m_rect;
    UINT m_nStyle = 0;
};
