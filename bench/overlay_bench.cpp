// Per-frame cost of the overlay mask and the dark-frame correction at 1280x1024 RGB24, against the same
// pipeline with nothing loaded.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../jpeg/tests/support/foreign_tools.h"
#include "bmp_files.h"
#include "frame_pipeline.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;

constexpr DWORD kFrameBytes = static_cast<DWORD>(kHeight * DibStride(kWidth, 24));

// The running format, always readable.
class FrameFormat : public korvib::FormatSource {
public:
    bool GetCurrentFormat(BITMAPINFOHEADER* format) override {
        *format = {sizeof(BITMAPINFOHEADER), kWidth, kHeight, 1, 24, BI_RGB, kFrameBytes, 0, 0, 0, 0};
        return true;
    }
};

enum Load { kNothing, kMask, kDarkFrameClean, kDarkFrame2000 };

// A mask whose left half is the key colour, or a dark frame with 0 or 2000 defects.
testbmp::Picture Image(Load load) {
    testbmp::Picture picture(kWidth, kHeight, 8, 8, 8);
    if (load == kMask) {
        for (int row = 0; row < kHeight; ++row) {
            for (int column = 0; column < kWidth / 2; ++column) {
                picture.Set(column, row, 255, 255, 255);
            }
        }
    }
    for (int defect = 0; load == kDarkFrame2000 && defect < 2000; ++defect) {
        picture.Set(defect * 37 % kWidth, defect * 11 % kHeight, 200, 200, 200);
    }
    return picture;
}

// One frame through the pipeline with arg 0 nothing, 1 a mask drawn before the callbacks, 2 a dark frame
// without defects, 3 one with 2000 defects (each writes its debug line only while debug output is on).
void BM_Overlays(benchmark::State& state) {
    const auto load = static_cast<Load>(state.range(0));
    korvib::FramePipeline pipeline;
    testsupport::TempFolder folder;
    const std::string path = folder.file("overlay.bmp");
    testbmp::SaveFile(path, testbmp::BmpBytes(Image(load)));
    korvib::OverlayImages& overlays = pipeline.Overlays();
    const bool loaded =
        load == kNothing || (load == kMask ? overlays.ToggleMask(path.c_str(), 0xFFFFFF, true)
                                           : overlays.Calibrate(path.c_str(), true, false)) == KZ_OK;
    if (!loaded) {
        state.SkipWithError("the overlay did not load");
        return;
    }
    FrameFormat format;
    std::vector<BYTE> frame(kFrameBytes, 100);
    for (auto _ : state) {
        pipeline.OnFrame(frame.data(), frame.size(), format);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Overlays)
    ->Arg(kNothing)
    ->Arg(kMask)
    ->Arg(kDarkFrameClean)
    ->Arg(kDarkFrame2000)
    ->Unit(benchmark::kMillisecond);

} // namespace
