// Building Qt fonts for logical fonts, with the system's face names mapped to installed families.
#include "font_map.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <cstring>

#include "text_codec.h"

namespace platform::gdi {
namespace {

constexpr int kDefaultHeight = 12;

// The installed family for a face: the system's faces and any face that is not installed give the CJK font.
QString familyFor(const LOGFONTA& font) {
    const QString face = decodeText(font.lfFaceName, static_cast<int>(strnlen(font.lfFaceName, LF_FACESIZE)));
    static const QString mapped[] = {QStringLiteral(u"黑体"), QStringLiteral(u"宋体"), QStringLiteral("System"),
                                     QStringLiteral("Times New Roman")};
    for (const QString& name : mapped)
        if (face.compare(name, Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(kCjkFamily);
    if (face.isEmpty() || !QFontDatabase::hasFamily(face))
        return QString::fromLatin1(kCjkFamily);
    return face;
}

} // namespace

int cellHeight(const LOGFONTA& font, const QFontMetrics& metrics) {
    return font.lfHeight > 0 ? font.lfHeight : font.lfHeight == 0 ? kDefaultHeight : metrics.height();
}

LOGFONTA systemLogFont() {
    LOGFONTA font{};
    font.lfHeight = 16;
    font.lfWeight = FW_BOLD;
    std::strcpy(font.lfFaceName, "System");
    return font;
}

QFont qtFont(const LOGFONTA& font) {
    QFont q(familyFor(font));
    q.setStyleStrategy(QFont::NoAntialias);
    // The CJK family carries no hinting instructions: its outlines keep their drawn shape only unhinted.
    q.setHintingPreference(QFont::PreferNoHinting);
    const int weight = font.lfWeight <= 0 ? FW_NORMAL : std::min<int>(font.lfWeight, 1000);
    q.setWeight(static_cast<QFont::Weight>(weight));
    q.setItalic(font.lfItalic != 0);
    q.setUnderline(font.lfUnderline != 0);
    q.setStrikeOut(font.lfStrikeOut != 0);
    if (font.lfHeight < 0) {
        q.setPixelSize(-font.lfHeight);
    } else {
        // A cell height: the largest size whose ascent plus descent fits in it.
        const int cell = font.lfHeight == 0 ? kDefaultHeight : font.lfHeight;
        const auto heightAt = [&q](int pixels) {
            q.setPixelSize(pixels);
            return QFontMetrics(q).height();
        };
        int pixels = std::max(1, cell * cell / std::max(1, heightAt(cell)));
        while (heightAt(pixels + 1) <= cell)
            ++pixels;
        while (pixels > 1 && heightAt(pixels) > cell)
            --pixels;
        q.setPixelSize(pixels);
    }
    return q;
}

} // namespace platform::gdi
