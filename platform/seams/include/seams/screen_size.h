// Screen-size seam: the size of the screen the platform reports (GetSystemMetrics).
#pragma once

#include <win32/types.h>

namespace platform::seams {

// Makes the platform report a screen of width x height; (0, 0) reports the real screen again. Test set-up.
void setScreenSize(LONG width, LONG height);
// The size a test set, or (0, 0) when none is set. Any thread.
SIZE screenSize();

} // namespace platform::seams
