// The auto loops' shared steps: region, sums and darkening, sensor access, formatted debug lines.
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

RegionSums SumAndDarken(BYTE* frame, int width, const Region& region) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
    RegionSums sums;
    sums.pixels = static_cast<int64_t>(region.width) * region.height;
    for (int y = region.top; y < region.top + region.height; ++y) {
        BYTE* pixel = frame + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(region.left) * 3;
        for (int x = 0; x < region.width; ++x, pixel += 3) {
            sums.blue += pixel[0];
            sums.green += pixel[1];
            sums.red += pixel[2];
            pixel[0] = static_cast<BYTE>(pixel[0] - 10);
            pixel[1] = static_cast<BYTE>(pixel[1] - 10);
            pixel[2] = static_cast<BYTE>(pixel[2] - 10);
        }
    }
    return sums;
}

bool StartRun(int counter, BYTE* frame, int width, int height, bool whiteBalance, LoopRun* run) {
    if (counter % 4 != 0) {
        return false;
    }
    AutoLoopState& loops = AutoLoops();
    run->counter = counter;
    run->parameters = loops.Parameters();
    const int divisor = whiteBalance ? run->parameters.awbDiff : run->parameters.aeDiff;
    if (frame == nullptr || divisor <= 0 ||
        !RegionOf(width, height, run->parameters.autoSplit, whiteBalance, &run->region)) {
        whiteBalance ? loops.FinishWhiteBalance(nullptr, nullptr) : loops.FinishExposure(nullptr);
        return false;
    }
    run->sums = SumAndDarken(frame, width, run->region);
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
