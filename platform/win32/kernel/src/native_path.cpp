// Windows paths to Linux paths, and the user's home folder.
#include <win32/native_path.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

std::string homeFolder() {
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env)
        home = env;
    else if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        home = entry->pw_dir;
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return home;
}

std::string toNativePath(std::string_view windowsPath) {
    std::string out;
    std::string_view rest = windowsPath;
    const bool drive = rest.size() >= 2 && rest[1] == ':' &&
                       ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'));
    if (drive) {
        out = homeFolder();
        rest.remove_prefix(2);
        // "C:" and "C:name" both lie in the home folder.
        if (rest.empty() || (rest[0] != '\\' && rest[0] != '/'))
            out += '/';
    }
    for (char c : rest) {
        const bool separator = c == '\\' || c == '/';
        if (separator && !out.empty() && out.back() == '/')
            continue;
        out += separator ? '/' : c;
    }
    return out;
}

} // namespace platform
