// Update regions, WM_PAINT generation and the backing images of windows.
#pragma once

#include <QRegion>

#include <win32/user_message.h>

#include "window.h"

namespace platform::user {

// Adds `region` (client coordinates) to a shown window's update region; children are included unless
// the window has WS_CLIPCHILDREN, or always with `allChildren`. GUI thread.
void invalidate(Window& window, const QRegion& region, bool erase, bool allChildren);
// A WM_PAINT for the first window, parents before children, whose update region is not empty. GUI thread.
bool findPaintMessage(MSG* out, HWND filter, UINT min, UINT max);
// Makes the backing image follow the widget's size (new parts are invalidated) and sends WM_SIZE when the
// size changed. GUI thread.
void windowResized(HWND hwnd);
// A fresh backing image for a new window of the given client size.
std::shared_ptr<gdi::WindowSurface> makeSurface(HWND hwnd, QSize size);

} // namespace platform::user
