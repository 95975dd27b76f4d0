// CreateFile, ReadFile and WriteFile: file descriptors behind checked kernel handles; port names and port
// reads go to the communications ports.
#include "handle_table.h"
#include "native_errors.h"
#include "serial_port.h"

#include <win32/files.h>
#include <win32/native_path.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

using platform::kernel::setLastErrorFromErrno;

namespace {

struct FileObject : platform::kernel::KernelObject {
    int fd = -1;
    bool canRead = false;
    bool canWrite = false;
    ~FileObject() override {
        if (fd >= 0)
            close(fd);
    }
};

// open(2) flags for a disposition; -1 for an unknown one.
int dispositionFlags(DWORD disposition) {
    switch (disposition) {
    case CREATE_NEW:
        return O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
        return O_CREAT | O_TRUNC;
    case OPEN_EXISTING:
        return 0;
    case OPEN_ALWAYS:
        return O_CREAT;
    case TRUNCATE_EXISTING:
        return O_TRUNC;
    default:
        return -1;
    }
}

std::shared_ptr<FileObject> fileOf(HANDLE handle) {
    auto file = platform::kernel::lookupAs<FileObject>(handle);
    if (!file)
        SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

} // namespace

HANDLE CreateFile(LPCTSTR path, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                  HANDLE templateFile) {
    if (const int port = platform::kernel::comPortNumber(path); port >= 0)
        return platform::kernel::openComPort(port, access, disposition);
    const int create = dispositionFlags(disposition);
    const bool read = access & GENERIC_READ, write = access & GENERIC_WRITE;
    if (!path || create < 0 || templateFile || (disposition == TRUNCATE_EXISTING && !write)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string native = platform::toNativePath(path);
    struct stat before {};
    const bool existed = stat(native.c_str(), &before) == 0;
    const int mode = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    const int fd = open(native.c_str(), mode | create | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == ENOENT && create & O_CREAT)
            SetLastError(ERROR_PATH_NOT_FOUND);
        else if (errno == EEXIST)
            SetLastError(ERROR_FILE_EXISTS);
        else
            setLastErrorFromErrno();
        return INVALID_HANDLE_VALUE;
    }
    try {
        auto file = std::make_shared<FileObject>();
        file->fd = fd;
        file->canRead = read;
        file->canWrite = write;
        HANDLE handle = platform::kernel::insertHandle(std::move(file));
        SetLastError(existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS)
                         ? ERROR_ALREADY_EXISTS
                         : ERROR_SUCCESS);
        return handle;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
}

namespace {

// The one loop of ReadFile and WriteFile: moves up to `bytes`, stopping early only at the end of a file
// being read.
BOOL transfer(HANDLE handle, bool writing, char* buffer, DWORD bytes, LPDWORD done, LPOVERLAPPED overlapped) {
    if (done)
        *done = 0;
    auto file = fileOf(handle);
    if (!file)
        return FALSE;
    if (overlapped || (!buffer && bytes > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!(writing ? file->canWrite : file->canRead)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD total = 0;
    BOOL ok = TRUE;
    while (total < bytes) {
        const ssize_t n = writing ? write(file->fd, buffer + total, bytes - total)
                                  : read(file->fd, buffer + total, bytes - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || (n == 0 && writing)) {
            SetLastError(writing ? ERROR_WRITE_FAULT : ERROR_READ_FAULT);
            ok = FALSE;
            break;
        }
        if (n == 0)
            break;
        total += static_cast<DWORD>(n);
    }
    if (done)
        *done = total;
    return ok;
}

} // namespace

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD done, LPOVERLAPPED overlapped) {
    if (auto port = platform::kernel::findComPort(file))
        return platform::kernel::readComPort(*port, static_cast<char*>(buffer), bytes, done, overlapped);
    return transfer(file, false, static_cast<char*>(buffer), bytes, done, overlapped);
}

// The buffer is only read from; transfer takes one pointer type for both directions.
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD done, LPOVERLAPPED overlapped) {
    return transfer(file, true, const_cast<char*>(static_cast<const char*>(buffer)), bytes, done, overlapped);
}
