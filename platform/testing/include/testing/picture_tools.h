// Test helper: pictures as foreign tools (djpeg, ImageMagick) read them, and DIB rows in the same form.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <win32/types.h>

namespace platform::testing {

// Bottom-up B, G, R rows of `stride` bytes as packed top-down R, G, B rows.
inline std::vector<BYTE> topDownRgb(const BYTE* rows, int width, int height, size_t stride) {
    std::vector<BYTE> out;
    out.reserve(static_cast<size_t>(width) * height * 3);
    for (int y = height - 1; y >= 0; --y) {
        const BYTE* row = rows + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x)
            out.insert(out.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
    }
    return out;
}

// What `command` prints on standard output; empty when it does not exit with 0.
inline std::string toolOutput(const std::string& command) {
    std::string output;
    std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return output;
    char chunk[65536];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        output.append(chunk, count);
    return pclose(pipe) == 0 ? output : std::string();
}

// The pixels of a picture file as ImageMagick reads them, top-down R, G, B; empty when it cannot.
inline std::vector<BYTE> magickRgb(const std::string& path) {
    const std::string out = toolOutput("convert '" + path + "' -depth 8 rgb:-");
    return std::vector<BYTE>(out.begin(), out.end());
}

// The pixels djpeg decodes from a JPEG file, top-down R, G, B, with its size; empty when it cannot.
inline std::vector<BYTE> djpegRgb(const std::string& path, int& width, int& height) {
    const std::string out = toolOutput("djpeg -pnm '" + path + "'");
    int maxValue = 0;
    int consumed = 0;
    if (std::sscanf(out.c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3)
        return {};
    return std::vector<BYTE>(out.begin() + consumed + 1, out.end());
}

// Mean absolute difference of two equally long byte runs; 256 when their lengths differ or they are empty.
inline double meanDifference(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
    if (a.size() != b.size() || a.empty())
        return 256;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum / a.size();
}

// Largest absolute difference of two equally long byte runs; 256 when their lengths differ.
inline int largestDifference(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
    if (a.size() != b.size())
        return 256;
    int largest = 0;
    for (size_t i = 0; i < a.size(); ++i)
        largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
    return largest;
}

} // namespace platform::testing
