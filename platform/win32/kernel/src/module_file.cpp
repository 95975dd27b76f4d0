// GetModuleFileName from /proc/self/exe or the program-path seam.
#include <win32/files.h>

#include <seams/program_path.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

std::string programFile() {
    if (std::string path = platform::seams::programPath(); !path.empty())
        return path;
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    path.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return path;
}

} // namespace

DWORD GetModuleFileName(HMODULE, LPTSTR buffer, DWORD size) {
    std::string path = programFile();
    if (path.empty()) {
        SetLastError(ERROR_GEN_FAILURE);
        return 0;
    }
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.size() >= size) {
        std::memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}
