// Decoding the system's texts: UTF-8 as it is, anything else as code page 936.
#include "text_codec.h"

#include <QStringDecoder>
#include <cstring>
#include <string_view>

#include <win32/codepage.h>

namespace platform::gdi {

QString decodeText(const char* text, int length) {
    if (!text)
        return QString();
    const size_t size = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(QByteArrayView(text, static_cast<qsizetype>(size)));
    if (!utf8.hasError())
        return decoded;
    const std::string converted = gbkToUtf8(std::string_view(text, size));
    return QString::fromUtf8(converted.data(), static_cast<qsizetype>(converted.size()));
}

} // namespace platform::gdi
