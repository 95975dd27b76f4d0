// CreateDirectory, GetFileAttributes and DeleteFile on Linux paths.
#include "native_errors.h"

#include <win32/files.h>
#include <win32/native_path.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

using platform::kernel::setLastErrorFromErrno;

BOOL CreateDirectory(LPCTSTR path, LPSECURITY_ATTRIBUTES) {
    if (!path) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (mkdir(platform::toNativePath(path).c_str(), 0777) != 0) {
        if (errno == ENOENT)
            SetLastError(ERROR_PATH_NOT_FOUND);
        else
            setLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

DWORD GetFileAttributes(LPCTSTR path) {
    struct stat info {};
    if (!path || stat(platform::toNativePath(path).c_str(), &info) != 0) {
        if (!path || errno == ENOTDIR)
            SetLastError(ERROR_PATH_NOT_FOUND);
        else
            setLastErrorFromErrno();
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(info.st_mode))
        return FILE_ATTRIBUTE_DIRECTORY;
    return FILE_ATTRIBUTE_ARCHIVE | ((info.st_mode & S_IWUSR) ? 0u : FILE_ATTRIBUTE_READONLY);
}

BOOL DeleteFile(LPCTSTR path) {
    if (!path) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    const std::string native = platform::toNativePath(path);
    struct stat info {};
    if (stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (unlink(native.c_str()) != 0) {
        setLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}
