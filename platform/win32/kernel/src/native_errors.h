// Translation of errno values into system error codes.
#pragma once

#include <win32/types.h>

namespace platform::kernel {

// ENOENT -> ERROR_FILE_NOT_FOUND, ENOTDIR -> ERROR_PATH_NOT_FOUND, EACCES/EPERM/EROFS ->
// ERROR_ACCESS_DENIED, EEXIST -> ERROR_ALREADY_EXISTS, ENOMEM -> ERROR_NOT_ENOUGH_MEMORY, ENOSPC ->
// ERROR_WRITE_FAULT, else ERROR_GEN_FAILURE.
DWORD errorFromErrno(int error);

// SetLastError(errorFromErrno(errno)).
void setLastErrorFromErrno();

} // namespace platform::kernel
