// FormatMessage: the system's texts for system error codes and HRESULTs.
#pragma once

#include <win32/kernel_base.h>

#include <cstdarg>

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100u
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200u
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000u

// With FORMAT_MESSAGE_FROM_SYSTEM: the English text (ending in "\r\n") of `messageId`, a system error
// code, an HRESULT of a system error (0x8007xxxx), a COM error or a media-graph error; the texts have no
// inserts and every language gets the English one. With FORMAT_MESSAGE_ALLOCATE_BUFFER, `buffer` is
// really an LPTSTR* that receives a block of at least `size` bytes to free with LocalFree; otherwise
// the text goes into `buffer` of `size` bytes. Returns the length without the NUL, or 0 with
// ERROR_MR_MID_NOT_FOUND (unknown code), ERROR_INSUFFICIENT_BUFFER or ERROR_INVALID_PARAMETER (no
// FROM_SYSTEM, other sources, no buffer). Any thread.
DWORD FormatMessage(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPTSTR buffer, DWORD size,
                    va_list* arguments);
