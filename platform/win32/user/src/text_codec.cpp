// Text conversion between the system's byte strings and Qt.
#include "text_codec.h"

#include <QStringDecoder>

#include <win32/codepage.h>

namespace platform::user {

QString toQString(const char* text) {
    if (!text)
        return {};
    const QByteArrayView bytes(text);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8(bytes);
    if (!utf8.hasError())
        return decoded;
    return QString::fromStdString(
        platform::gbkToUtf8(std::string_view(text, static_cast<size_t>(bytes.size()))));
}

std::string toUtf8(const QString& text) {
    return text.toStdString();
}

} // namespace platform::user
