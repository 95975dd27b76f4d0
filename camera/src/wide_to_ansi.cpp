// WideToAnsi: WideCharToMultiByte into a LocalAlloc buffer.
#include "wide_to_ansi.h"

#include <win32/codepage.h>
#include <win32/local_memory.h>

namespace korvib {

char* WideToAnsi(const WCHAR* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return nullptr;
    }
    auto* ansi = static_cast<char*>(LocalAlloc(LMEM_ZEROINIT, static_cast<std::size_t>(size)));
    if (ansi == nullptr) {
        return nullptr;
    }
    WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, size, nullptr, nullptr);
    return ansi;
}

} // namespace korvib
