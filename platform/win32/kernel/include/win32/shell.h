// Opening a document in the program the desktop associates with it: ShellExecute.
#pragma once

#include <win32/kernel_base.h>

#ifndef SW_SHOW
#define SW_SHOW 5
#endif
#define SE_ERR_NOASSOC 31

// Verb "open" (or NULL): opens the file named by the Windows path `file` with xdg-open, which runs on
// its own; parameters, folder and show mode are passed on to nothing else. Returns a value above 32 on
// success, else ERROR_FILE_NOT_FOUND for a missing file or SE_ERR_NOASSOC for another verb or when no
// opener can be started (as an HINSTANCE, as the system does). The shell seam records the calls instead
// of launching. Any thread.
HINSTANCE ShellExecute(HWND owner, LPCTSTR verb, LPCTSTR file, LPCTSTR parameters, LPCTSTR directory,
                       INT show);
