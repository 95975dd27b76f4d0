// Text in the natural scene, in a 5 x 7 pixel font scaled to the frame.
#pragma once

#include <win32/types.h>

#include <string_view>

namespace platform::devices {

constexpr int kGlyphRows = 7;

// Sets to `material` the pixels that font row `glyphRow` (0 top .. 6) of `text` covers in one frame row of
// `width` material bytes; the text starts at column `left`, each font pixel `scale` pixels square, a glyph
// 5 columns and a gap. Characters outside the font show as spaces. Pure; any thread.
void paintTextRow(std::string_view text, LONG left, LONG scale, int glyphRow, BYTE material, BYTE* row,
                  LONG width);

} // namespace platform::devices
