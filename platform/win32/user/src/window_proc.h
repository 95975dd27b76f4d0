// Calling window procedures.
#pragma once

#include "window.h"

namespace platform::user {

// Calls the window's current procedure; the window stays alive for the call. GUI thread.
LRESULT callWindowProc(const WindowPtr& window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace platform::user
