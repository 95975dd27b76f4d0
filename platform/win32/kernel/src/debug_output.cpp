// OutputDebugString to standard error, switched on by the environment.
#include <win32/debug_output.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool debugOutputOn() {
    static const bool on = [] {
        const char* value = std::getenv("ORVANEL_DEBUG_OUTPUT");
        return value && std::strcmp(value, "1") == 0;
    }();
    return on;
}

} // namespace

void OutputDebugString(LPCTSTR text) {
    if (!debugOutputOn() || !text)
        return;
    std::string line = "[debug] ";
    line += text;
    if (line.back() != '\n')
        line += '\n';
    // One write per line, so lines of different threads do not interleave.
    std::fwrite(line.data(), 1, line.size(), stderr);
}

BOOL IsDebuggerPresent() {
    return debugOutputOn() ? TRUE : FALSE;
}
