// Logical fonts of the system and the Qt fonts that draw them.
#pragma once

#include <QFont>
#include <QFontMetrics>

#include <win32/gdi_objects.h>

namespace platform::gdi {

// The family every face of the system resolves to: it covers Chinese, and its tall cell and narrow Latin
// letters let the window's bold labels fit the boxes laid out for them.
inline constexpr const char* kCjkFamily = "WenQuanYi Zen Hei";

// The DC's default font ("System", 16 pixels cell height, bold).
LOGFONTA systemLogFont();

// A Qt font for `font`: pixel size from lfHeight (cell or character height), weight, italic, underline,
// strike-out, no antialiasing, no hinting; the face mapped to an installed family. Needs the Qt application;
// any thread.
QFont qtFont(const LOGFONTA& font);

// Height of a text line in `font`: the requested cell height, or what `metrics` (of qtFont) give for a
// character height.
int cellHeight(const LOGFONTA& font, const QFontMetrics& metrics);

} // namespace platform::gdi
