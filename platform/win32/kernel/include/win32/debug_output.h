// Debugger output: OutputDebugString.
#pragma once

#include <win32/types.h>

// Writes "[debug] " and the text to standard error, one line per call (a newline is added when the text
// has none), when the environment variable ORVANEL_DEBUG_OUTPUT is "1" at the first call; otherwise
// nothing. Any thread.
void OutputDebugString(LPCTSTR text);

// TRUE when OutputDebugString writes anything (ORVANEL_DEBUG_OUTPUT is "1" at the first call of either), so
// callers can skip formatting lines no one sees. Any thread.
BOOL IsDebuggerPresent();
