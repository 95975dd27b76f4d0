// Size-checked whole-file reads, atomic whole-file writes and line splitting.
#include "text_file.h"

#include "native_errors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform::kernel {
namespace {

// mkdir -p of the folder that holds `path`.
void makeParentFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0777);
}

bool writeAll(int fd, const std::string& contents) {
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::optional<std::string> readWholeFile(const std::string& path, size_t maxBytes, DWORD& error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errorFromErrno(errno);
        return std::nullopt;
    }
    std::string contents;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<size_t>(info.st_size) > maxBytes) {
        error = S_ISDIR(info.st_mode) ? ERROR_ACCESS_DENIED : ERROR_INVALID_DATA;
        close(fd);
        return std::nullopt;
    }
    char chunk[8192];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = ERROR_READ_FAULT;
            close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        // The file may have grown since fstat.
        if (contents.size() + static_cast<size_t>(n) > maxBytes) {
            error = ERROR_INVALID_DATA;
            close(fd);
            return std::nullopt;
        }
        contents.append(chunk, static_cast<size_t>(n));
    }
    close(fd);
    return contents;
}

bool writeWholeFile(const std::string& path, const std::string& contents, bool createFolders, DWORD& error) {
    if (createFolders)
        makeParentFolders(path);
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = errno == ENOENT ? ERROR_PATH_NOT_FOUND : errorFromErrno(errno);
        return false;
    }
    // Keep the permissions of the file being replaced, or the usual ones for a new file.
    struct stat old {};
    fchmod(fd, stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    const bool written = writeAll(fd, contents) && fsync(fd) == 0;
    const int writeErrno = errno;
    if (close(fd) != 0 || !written || rename(temp.c_str(), path.c_str()) != 0) {
        error = written ? errorFromErrno(errno) : errorFromErrno(writeErrno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

} // namespace platform::kernel
