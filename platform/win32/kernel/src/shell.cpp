// ShellExecute "open" through xdg-open.
#include <win32/native_path.h>
#include <win32/shell.h>

#include <seams/sound_shell.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <strings.h>
#include <thread>

extern char** environ;

namespace {

HINSTANCE result(intptr_t code) {
    return reinterpret_cast<HINSTANCE>(code);
}

constexpr intptr_t launched = 42;

} // namespace

HINSTANCE ShellExecute(HWND, LPCTSTR verb, LPCTSTR file, LPCTSTR parameters, LPCTSTR directory, INT show) {
    if (verb && strcasecmp(verb, "open") != 0)
        return result(SE_ERR_NOASSOC);
    if (!file)
        return result(ERROR_FILE_NOT_FOUND);
    std::string native = platform::toNativePath(file);
    if (access(native.c_str(), F_OK) != 0)
        return result(ERROR_FILE_NOT_FOUND);
    if (platform::seams::recordShell(
            {verb ? verb : "", file, parameters ? parameters : "", directory ? directory : "", show}))
        return result(launched);
    char program[] = "xdg-open";
    char* argv[] = {program, native.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0)
        return result(SE_ERR_NOASSOC);
    // The opener runs on its own; a thread collects its exit so that it leaves no zombie.
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();
    return result(launched);
}
