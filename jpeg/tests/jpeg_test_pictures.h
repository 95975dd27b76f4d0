// Test pictures and JPEG marker inspection shared by the JpegFile tests.
#pragma once

#include <cstdlib>
#include <vector>

namespace jpegtest {

struct Rgb {
    int r, g, b;
};

// Quadrant colours of quadrantPicture: top-left red, top-right green, bottom-left blue, bottom-right
// white, so a flip, a mirror and a red-blue exchange each show.
constexpr Rgb kTopLeft{255, 0, 0};
constexpr Rgb kTopRight{0, 255, 0};
constexpr Rgb kBottomLeft{0, 0, 255};
constexpr Rgb kBottomRight{255, 255, 255};
constexpr unsigned kQuadrant = 16; // pixels a side, two chroma blocks

// Packed top-down R, G, B rows of a 2 x kQuadrant square picture.
inline std::vector<unsigned char> quadrantPicture() {
    const unsigned side = 2 * kQuadrant;
    std::vector<unsigned char> rows(side * side * 3);
    for (unsigned y = 0; y < side; ++y) {
        for (unsigned x = 0; x < side; ++x) {
            const bool top = y < kQuadrant;
            const bool left = x < kQuadrant;
            const Rgb c = top ? (left ? kTopLeft : kTopRight) : (left ? kBottomLeft : kBottomRight);
            unsigned char* p = &rows[(y * side + x) * 3];
            p[0] = static_cast<unsigned char>(c.r);
            p[1] = static_cast<unsigned char>(c.g);
            p[2] = static_cast<unsigned char>(c.b);
        }
    }
    return rows;
}

// True when every quadrant centre of a packed RGB picture of side 2 x kQuadrant is within `tolerance`
// of its colour in each channel.
inline bool matchesQuadrants(const unsigned char* rows, int tolerance) {
    const unsigned side = 2 * kQuadrant;
    const struct {
        unsigned x, y;
        Rgb c;
    } probes[] = {{kQuadrant / 2, kQuadrant / 2, kTopLeft},
                  {side - kQuadrant / 2, kQuadrant / 2, kTopRight},
                  {kQuadrant / 2, side - kQuadrant / 2, kBottomLeft},
                  {side - kQuadrant / 2, side - kQuadrant / 2, kBottomRight}};
    for (const auto& probe : probes) {
        const unsigned char* p = rows + (probe.y * side + probe.x) * 3;
        if (std::abs(p[0] - probe.c.r) > tolerance || std::abs(p[1] - probe.c.g) > tolerance ||
            std::abs(p[2] - probe.c.b) > tolerance)
            return false;
    }
    return true;
}

// What the markers before the first scan of a JPEG file say.
struct JpegMarkers {
    bool baseline = false; // a baseline frame header (SOF0) was found
    int components = 0;
    int width = 0;
    int height = 0;
    std::vector<int> firstQuantTable; // in file (zig-zag) order
};

inline JpegMarkers readMarkers(const std::vector<unsigned char>& file) {
    JpegMarkers markers;
    size_t at = 2; // after SOI
    while (at + 4 <= file.size() && file[at] == 0xFF) {
        const int marker = file[at + 1];
        const size_t length = static_cast<size_t>(file[at + 2] << 8 | file[at + 3]);
        const unsigned char* body = &file[at + 4];
        if (marker == 0xDA || at + 2 + length > file.size())
            break;
        if (marker == 0xC0 && length >= 8) {
            markers.baseline = true;
            markers.height = body[1] << 8 | body[2];
            markers.width = body[3] << 8 | body[4];
            markers.components = body[5];
        }
        if (marker == 0xDB && markers.firstQuantTable.empty() && length >= 67 && (body[0] >> 4) == 0)
            markers.firstQuantTable.assign(body + 1, body + 65);
        at += 2 + length;
    }
    return markers;
}

} // namespace jpegtest
