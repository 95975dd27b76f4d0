// Reading BMP files into a DIB description and its pixels.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "pixel_view.h"

namespace platform::gdi {

// A DIB read from a file: `info` holds a 40-byte header and its colour table, `bits` the rows.
struct LoadedDib {
    std::vector<BYTE> info;
    std::vector<BYTE> bits;
    // A view of the two; valid while the object lives unchanged.
    PixelView view();
};

// Parses a BMP file held in memory: BI_RGB at 1, 4, 8, 24 or 32 bits with a header of 40 to 124 bytes.
// Every size is checked against `size` before anything is allocated. False for anything else.
[[nodiscard]] bool parseBmp(const BYTE* data, size_t size, LoadedDib* dib);

// Reads and parses the file (UTF-8 path). False with ERROR_FILE_NOT_FOUND when it cannot be read,
// ERROR_INVALID_DATA when it is not such a BMP file. Any thread.
[[nodiscard]] bool readBmpFile(const std::string& path, LoadedDib* dib);

} // namespace platform::gdi
