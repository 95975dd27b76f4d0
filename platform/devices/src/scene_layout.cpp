// Scene layout: material rows computed once per scene and size, deduplicated; the frame counter overlaid.
#include "scene_layout.h"

#include "scene_text.h"

#include <cstdio>
#include <map>

namespace platform::devices {
namespace {

constexpr double kReflectance[kMaterialCount][3] = {
    {0.5, 0.5, 0.5},    {0.3, 0.3, 0.3},   {0.42, 0.42, 0.42}, {0.56, 0.5, 0.44},
    {0.44, 0.54, 0.5},  {0.5, 0.45, 0.58}, {0.58, 0.56, 0.42},
};

constexpr LONG kTextLeft = 16, kCaptionTop = 16; // in frame pixels
constexpr const char* kCaption = "USB 2820 VIDEO";

// Font pixel size: width / 160, at least 1.
LONG textScale(LONG width) { return width / 160 > 0 ? width / 160 : 1; }

// The counter's top row: two font rows below the caption.
LONG counterTop(LONG width) { return kCaptionTop + (kGlyphRows + 2) * textScale(width); }

bool inCentre(LONG x, LONG y, LONG width, LONG height)
{
    return x >= width / 4 && x < width - width / 4 && y >= height / 4 && y < height - height / 4;
}

// Material ids of frame row y of the natural scene.
void naturalRow(LONG y, LONG width, LONG height, std::vector<BYTE>& row)
{
    for (LONG x = 0; x < width; ++x) {
        if (inCentre(x, y, width, height))
            row[x] = kNeutral;
        else if (x % 64 == 0 || y % 64 == 0)
            row[x] = kGrid;
        else
            row[x] = BYTE(kTint0 + (x * 4 / width + y * 4 / height) % 4);
    }
    const LONG scale = textScale(width);
    const LONG glyphRow = (y - kCaptionTop) / scale;
    if (y >= kCaptionTop && glyphRow < kGlyphRows)
        paintTextRow(kCaption, kTextLeft, scale, int(glyphRow), kText, row.data(), width);
}

} // namespace

const double* reflectance(Material material) { return kReflectance[material]; }

SceneLayout layoutScene(Scene scene, LONG width, LONG height)
{
    SceneLayout layout{scene, width, height, {}, std::vector<uint32_t>(std::size_t(height), 0)};
    if (scene == Scene::Chart) {
        layout.rows.assign(1, std::vector<BYTE>(std::size_t(width), kNeutral));
        return layout;
    }
    std::map<std::vector<BYTE>, uint32_t> seen;
    std::vector<BYTE> row(static_cast<std::size_t>(width));
    for (LONG y = 0; y < height; ++y) {
        naturalRow(y, width, height, row);
        const auto [at, added] = seen.try_emplace(row, uint32_t(layout.rows.size()));
        if (added)
            layout.rows.push_back(row);
        layout.rowOf[y] = at->second;
    }
    return layout;
}

void showFrameCounter(SceneLayout& layout, uint64_t frame)
{
    char text[32];
    std::snprintf(text, sizeof text, "FRAME %06llu", static_cast<unsigned long long>(frame % 1000000));
    const LONG scale = textScale(layout.width), top = counterTop(layout.width);
    // Rows under the counter that showed the same row before and share a font row stay shared.
    std::map<std::pair<uint32_t, int>, uint32_t> made;
    for (LONG y = top; y < top + kGlyphRows * scale && y < layout.height; ++y) {
        const int glyphRow = int((y - top) / scale);
        const auto [at, added] = made.try_emplace({layout.rowOf[y], glyphRow}, uint32_t(layout.rows.size()));
        if (added) {
            std::vector<BYTE> row = layout.rows[layout.rowOf[y]];
            paintTextRow(text, kTextLeft, scale, glyphRow, kText, row.data(), layout.width);
            layout.rows.push_back(std::move(row));
        }
        layout.rowOf[y] = at->second;
    }
}

} // namespace platform::devices
