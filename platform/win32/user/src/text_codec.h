// Conversion of the system's texts (UTF-8 or code page 936 bytes) to and from Qt strings.
#pragma once

#include <QString>
#include <string>

namespace platform::user {

// Valid UTF-8 is taken as it is; anything else is read as code page 936 (bytes it cannot map become
// U+FFFD). A null pointer gives an empty string. Any thread.
QString toQString(const char* text);
// UTF-8 bytes of a Qt string. Any thread.
std::string toUtf8(const QString& text);

} // namespace platform::user
