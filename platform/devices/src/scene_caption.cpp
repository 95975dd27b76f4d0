// A 5 x 7 font for the characters of the scene caption, and the caption's placement.
#include "scene_caption.h"

#include <cstring>

namespace platform::devices {
namespace {

constexpr const char* kCaption = "USB 2820 VIDEO";
constexpr LONG kLeft = 16, kTop = 16; // in frame pixels
constexpr int kCharCells = 6;         // 5 glyph columns and a gap

struct Glyph {
    char ch;
    BYTE rows[7]; // bit 4 is the leftmost column
};

constexpr Glyph kGlyphs[] = {
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}}, {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}}, {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}}, {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
};

const Glyph* glyphOf(char ch)
{
    for (const Glyph& g : kGlyphs)
        if (g.ch == ch)
            return &g;
    return nullptr; // a space
}

} // namespace

bool captionAt(LONG x, LONG y, LONG width)
{
    const LONG scale = width / 160 > 0 ? width / 160 : 1;
    const LONG cellX = (x - kLeft) / scale, cellY = (y - kTop) / scale;
    if (x < kLeft || y < kTop || cellY >= 7 || cellX >= LONG(std::strlen(kCaption)) * kCharCells)
        return false;
    const int column = int(cellX % kCharCells);
    const Glyph* glyph = glyphOf(kCaption[cellX / kCharCells]);
    return glyph && column < 5 && (glyph->rows[cellY] >> (4 - column)) & 1;
}

} // namespace platform::devices
