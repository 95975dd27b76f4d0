// Message boxes that report a failed COM or system call with the system's text for its code.
#pragma once

#include <win32/types.h>

namespace korvib {

// Box captioned "Veltrane" with an OK button: the library's report of a failed COM or DirectShow call.
// Caller's thread (it is modal).
void ShowComError(HRESULT code);

// The same box with the information icon: the settings key could not be opened. Caller's thread.
void ShowComInfo(DWORD code);

} // namespace korvib
