// Steps the two auto loops share: the centred region's sums and marking, register access, debug lines.
#pragma once

#include <cstdint>

#include <win32/types.h>

#include "registry_settings.h"

namespace korvib {

// A centred region of the frame in pixels; top counts rows from the buffer's first row.
struct Region {
    int left;
    int top;
    int width;
    int height;
};

// Sums of the region's bytes and its pixel count.
struct RegionSums {
    int64_t blue = 0;
    int64_t green = 0;
    int64_t red = 0;
    int64_t pixels = 0;
};

// The region of width / split by height / split, (height - rh) / 2 rows from the top; its left column is
// width / 2 - rw / 2 for white balance and (width - rw) / 2 for exposure. False when the split gives no
// pixel or the frame has none.
[[nodiscard]] bool RegionOf(int width, int height, int split, bool whiteBalance, Region* region);

// The region's blue, green and red sums; the frame is 24-bit DIB rows of `width` pixels.
RegionSums SumRegion(const BYTE* frame, int width, const Region& region);
// Lowers each byte of the region by 10, down to 0 at most, so it shows darker in the picture.
void MarkRegion(BYTE* frame, int width, const Region& region);

// A working call's count, parameters, region and sums.
struct LoopRun {
    int counter = 0;
    AutoParameters parameters;
    Region region{};
    RegionSums sums;
};

// The common start of both loops: counts the call and, on every 4th one, measures the loop's region and
// gives true. When the loop's divisor (AWBDiff or AEDiff) or the split is unusable it switches the loop
// off without a result and gives false.
[[nodiscard]] bool StartRun(const BYTE* frame, int width, int height, bool whiteBalance, LoopRun* run);

// Register access through the current device; false when there is none or the access failed.
[[nodiscard]] bool ReadSensor(int index, int* value);
void WriteSensor(int index, int value);

// A debug line from printf-style arguments.
void DebugFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace korvib
