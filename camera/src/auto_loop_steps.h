// Steps the two auto loops share: the centred region's sums and darkening, register access, debug lines.
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

// Sums of the region's bytes before they were lowered, and its pixel count.
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

// Adds the region's blue, green and red bytes to the sums, then lowers each by 10 modulo 256. The frame is
// 24-bit DIB rows of `width` pixels.
RegionSums SumAndDarken(BYTE* frame, int width, const Region& region);

// A working call's count, parameters, region and sums.
struct LoopRun {
    int counter = 0;
    AutoParameters parameters;
    Region region{};
    RegionSums sums;
};

// The common start of both loops for the call numbered `counter`: true on every 4th call, after summing
// and darkening the loop's region. When the loop's divisor (AWBDiff or AEDiff) or the split is unusable it
// switches the loop off without a result and gives false.
[[nodiscard]] bool StartRun(int counter, BYTE* frame, int width, int height, bool whiteBalance, LoopRun* run);

// Register access through the current device; false when there is none or the access failed.
[[nodiscard]] bool ReadSensor(int index, int* value);
void WriteSensor(int index, int value);

// A debug line from printf-style arguments.
void DebugFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace korvib
