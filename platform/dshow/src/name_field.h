// Copying names into the fixed-size fields of PIN_INFO and FILTER_INFO.
#pragma once

#include <string>

#include <win32/types.h>

namespace platform::dshow {

// Copies `text` into `field`, cut to fit, always terminated.
template <std::size_t N>
void copyName(WCHAR (&field)[N], const std::wstring& text) {
    std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    text.copy(field, length);
    field[length] = 0;
}

} // namespace platform::dshow
