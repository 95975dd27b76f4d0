// The grey debug pictures of auto focus.
#pragma once

#include <win32/types.h>

namespace korvib {

// Writes `pixels` (height packed rows of width bytes, bottom row first) to `path` (a Windows path) as an
// 8-bit BMP with a grey palette, each row padded to four bytes. 0 when written, 1 when the file cannot be
// created or written. Any thread.
int WriteGrayBmp(const char* path, const BYTE* pixels, int width, int height);

} // namespace korvib
