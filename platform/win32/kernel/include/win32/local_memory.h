// Local heap blocks: LocalAlloc and LocalFree (also for buffers that FormatMessage allocates).
#pragma once

#include <win32/kernel_base.h>

#define LMEM_FIXED 0x0000u
#define LMEM_ZEROINIT 0x0040u
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

// A fixed block of `bytes` (zeroed with LMEM_ZEROINIT); NULL with ERROR_NOT_ENOUGH_MEMORY, or with
// ERROR_INVALID_PARAMETER for other flags. Any thread.
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
// Frees a block of LocalAlloc; NULL on success and for NULL. A pointer that is no such block is returned
// unchanged with ERROR_INVALID_HANDLE and left alone. Any thread.
HLOCAL LocalFree(HLOCAL block);
