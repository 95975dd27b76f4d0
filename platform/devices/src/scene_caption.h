// The caption the natural scene shows in its top-left corner, in a 5 x 7 pixel font.
#pragma once

#include <win32/types.h>

namespace platform::devices {

// True where the caption "USB 2820 VIDEO" covers pixel (x, y), y from the top, of a frame `width`
// pixels wide (each font pixel is width / 160 pixels square). Pure; any thread.
bool captionAt(LONG x, LONG y, LONG width);

} // namespace platform::devices
