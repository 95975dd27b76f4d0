// Appending little-endian numbers to a byte buffer, for the BMP and WAV writers.
#pragma once

#include <cstdint>
#include <vector>

inline void put16(std::vector<char>& out, uint16_t v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char(v >> 8));
}

inline void put32(std::vector<char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(char((v >> (8 * i)) & 0xFF));
}
