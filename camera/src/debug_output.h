// Debugger output lines of the camera library.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstring>

#include <win32/debug_output.h>

namespace korvib {

inline void DebugLine(const char* text) {
    OutputDebugString(text);
}

// `prefix` followed by `value` in decimal, built without printf: cheap enough for every frame.
inline void DebugLine(const char* prefix, int value) {
    char text[64];
    const std::size_t length = std::min<std::size_t>(std::strlen(prefix), sizeof(text) - 16);
    std::memcpy(text, prefix, length);
    char* end = std::to_chars(text + length, text + sizeof(text) - 1, value).ptr;
    *end = '\0';
    OutputDebugString(text);
}

} // namespace korvib
