// The modal loop of the layer's own dialog windows.
#pragma once

#include <functional>

#include <win32/user.h>

namespace platform::dshow {

// Pumps messages until `closed` holds. Esc sends IDCANCEL and Enter IDOK to `window` wherever the focus is
// in it, as a dialog's keys do. GUI thread.
void runModalWindow(HWND window, const std::function<bool()>& closed);

} // namespace platform::dshow
