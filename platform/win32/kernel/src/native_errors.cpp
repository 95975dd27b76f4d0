// errno to system error codes.
#include "native_errors.h"

#include <cerrno>

namespace platform::kernel {

DWORD errorFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case ENOSPC:
        return ERROR_WRITE_FAULT;
    default:
        return ERROR_GEN_FAILURE;
    }
}

void setLastErrorFromErrno() {
    SetLastError(errorFromErrno(errno));
}

} // namespace platform::kernel
