// The auto loops' shared steps: region, sums and marking, sensor access, formatted debug lines.
#include "auto_loop_steps.h"

#include <cstdarg>
#include <cstdio>

#include "auto_loops.h"
#include "camera_device.h"
#include "debug_output.h"

namespace korvib {

bool RegionOf(int width, int height, int split, bool whiteBalance, Region* region) {
    if (split <= 0 || width <= 0 || height <= 0) {
        return false;
    }
    const int rw = width / split;
    const int rh = height / split;
    if (rw == 0 || rh == 0) {
        return false;
    }
    region->width = rw;
    region->height = rh;
    region->top = (height - rh) / 2;
    region->left = whiteBalance ? width / 2 - rw / 2 : (width - rw) / 2;
    return true;
}

namespace {

// The first pixel of the region's row `y`, counted from the region's top.
template <typename Byte> Byte* RegionRow(Byte* frame, int width, const Region& region, int y) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
    return frame + static_cast<std::size_t>(region.top + y) * stride +
           static_cast<std::size_t>(region.left) * 3;
}

} // namespace

RegionSums SumRegion(const BYTE* frame, int width, const Region& region) {
    RegionSums sums;
    sums.pixels = static_cast<int64_t>(region.width) * region.height;
    for (int y = 0; y < region.height; ++y) {
        const BYTE* pixel = RegionRow(frame, width, region, y);
        for (int x = 0; x < region.width; ++x, pixel += 3) {
            sums.blue += pixel[0];
            sums.green += pixel[1];
            sums.red += pixel[2];
        }
    }
    return sums;
}

void MarkRegion(BYTE* frame, int width, const Region& region) {
    for (int y = 0; y < region.height; ++y) {
        BYTE* byte = RegionRow(frame, width, region, y);
        for (BYTE* end = byte + static_cast<std::size_t>(region.width) * 3; byte != end; ++byte) {
            *byte = *byte > 10 ? static_cast<BYTE>(*byte - 10) : 0;
        }
    }
}

bool StartRun(const BYTE* frame, int width, int height, bool whiteBalance, LoopRun* run) {
    AutoLoopState& loops = AutoLoops();
    run->counter = whiteBalance ? loops.CountWhiteBalanceCall() : loops.CountExposureCall();
    if (run->counter % 4 != 0) {
        return false;
    }
    run->parameters = loops.Parameters();
    const int divisor = whiteBalance ? run->parameters.awbDiff : run->parameters.aeDiff;
    if (frame == nullptr || divisor <= 0 ||
        !RegionOf(width, height, run->parameters.autoSplit, whiteBalance, &run->region)) {
        whiteBalance ? loops.AbandonWhiteBalance() : loops.AbandonExposure();
        return false;
    }
    run->sums = SumRegion(frame, width, run->region);
    return true;
}

bool ReadSensor(int index, int* value) {
    CameraDevice* device = CameraDevice::Current();
    return device != nullptr && device->RegOperation(index, value, 0) == KZ_OK;
}

void WriteSensor(int index, int value) {
    CameraDevice* device = CameraDevice::Current();
    if (device != nullptr) {
        static_cast<void>(device->RegOperation(index, &value, 1));
    }
}

void DebugFormat(const char* format, ...) {
    char text[128];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    DebugLine(text);
}

} // namespace korvib
