// The system's texts (code page 936 bytes, or UTF-8) as Unicode for Qt.
#pragma once

#include <QString>

namespace platform::gdi {

// `length` bytes of `text` (-1: up to the terminating zero) as Unicode: UTF-8 when the bytes are valid
// UTF-8, else code page 936 (what it cannot convert becomes U+FFFD). Any thread.
QString decodeText(const char* text, int length);

} // namespace platform::gdi
