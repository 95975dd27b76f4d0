// Gamma tables and the two gamma passes over DIB pixels (green channel of a frame, every byte of a DIB).
#pragma once

#include <array>
#include <cstddef>

#include <win32/types.h>

namespace korvib {

using GammaTable = std::array<BYTE, 256>;

// Entry k is pow((k + 1) / 256, gamma) x 255 + 0.5, clamped to 0..255 and truncated; entry 255 is always
// 255 and gamma 0 or below maps everything to 255.
GammaTable MakeGammaTable(float gamma);

// Replaces the green byte of every pixel of a 24-bit DIB through a table built for gamma; blue, red and row
// padding stay. False only for a null frame. Streaming thread (any thread for a buffer it owns).
bool ApplyGreenGamma(BYTE* frame, int width, int height, float gamma);

// Maps every byte of `rows` rows of `rowBytes` bytes through the table. Any thread.
void MapRows(BYTE* pixels, std::size_t rowBytes, std::size_t rows, const GammaTable& table);

} // namespace korvib
