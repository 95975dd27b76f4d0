// Conversion of a UTF-16 text (device and compressor names) into a newly allocated ANSI string.
#pragma once

#include <win32/types.h>

namespace korvib {

// The text in the ANSI code page, allocated with LocalAlloc (free it with LocalFree); null for a null text
// or a failed conversion. Any thread.
char* WideToAnsi(const WCHAR* text);

} // namespace korvib
