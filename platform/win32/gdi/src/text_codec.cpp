// Decoding of code page 936 and UTF-8 texts with iconv.
#include "text_codec.h"

#include <QStringDecoder>
#include <cstring>
#include <iconv.h>
#include <string>

namespace platform::gdi {
namespace {

bool validUtf8(const char* text, size_t length) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString unused = decoder.decode(QByteArrayView(text, static_cast<qsizetype>(length)));
    return !decoder.hasError();
}

QString decodeCp936(const char* text, size_t length) {
    iconv_t cd = iconv_open("UTF-8", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(text, static_cast<qsizetype>(length));
    std::string out;
    char buffer[256];
    char* in = const_cast<char*>(text);
    size_t inLeft = length;
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: one replacement character, then on after the byte.
            out.append("\xEF\xBF\xBD");
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace

QString decodeText(const char* text, int length) {
    if (!text)
        return QString();
    const size_t size = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    if (validUtf8(text, size))
        return QString::fromUtf8(text, static_cast<qsizetype>(size));
    return decodeCp936(text, size);
}

} // namespace platform::gdi
