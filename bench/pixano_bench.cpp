// Pixano kernels on a 1280x1024 picture, each as a ratio to a memcpy of the same buffer in the same run.
#include <kernels/pixano.h>

#include "pixel_timing.h"

#include <string>
#include <vector>

namespace {

using pixelbench::kHeight;
using pixelbench::kWidth;
using pixelbench::Picture;
constexpr auto colour = pixelbench::colourScene;
constexpr auto grey = pixelbench::greyScene;

// The colour scene after `convert`, the input of the conversion back.
template <int (CPixano::*Convert)(BYTE*, LONG, LONG, WORD)>
const Picture& converted() {
    static const Picture picture = [] {
        Picture p = colour();
        CPixano pixano;
        (pixano.*Convert)(p.data(), kWidth, kHeight, 24);
        return p;
    }();
    return picture;
}

// Registers "Pixano/<name>": `kernel(CPixano&, BYTE*)` on a fresh copy of `picture` each iteration.
template <typename Kernel>
void add(const std::string& name, const Picture& (*picture)(), Kernel kernel) {
    benchmark::RegisterBenchmark(("Pixano/" + name).c_str(),
                                 [picture, kernel](benchmark::State& state) {
                                     CPixano pixano;
                                     pixelbench::timeAgainstMemcpy(state, picture(), [&](BYTE* p) {
                                         benchmark::DoNotOptimize(kernel(pixano, p));
                                     });
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
}

const bool registered = [] {
    add("Negative24", colour, [](CPixano& k, BYTE* p) { return k.Negative(p, kWidth, kHeight, 24); });
    add("Flip24", colour, [](CPixano& k, BYTE* p) { return k.Flip(p, kWidth, kHeight, 24); });
    add("Mirror24", colour, [](CPixano& k, BYTE* p) { return k.Mirror(p, kWidth, kHeight, 24); });
    add("Color24To8", colour, [](CPixano& k, BYTE* p) { return k.Color24To8(p, kWidth, kHeight); });
    add("Threshold24", colour, [](CPixano& k, BYTE* p) { return k.Threshold(p, kWidth, kHeight, 24, 128); });
    add("Threshold8", grey, [](CPixano& k, BYTE* p) { return k.Threshold(p, kWidth, kHeight, 8, 128); });
    add("Contrast24", colour, [](CPixano& k, BYTE* p) { return k.Contrast(p, kWidth, kHeight, 24, 10, 40); });
    add("Gamma24", colour, [](CPixano& k, BYTE* p) { return k.Gamma1(p, kWidth, kHeight, 24, 0.6f); });
    add("Stretch24", colour,
        [](CPixano& k, BYTE* p) { return k.HistogramStretch(p, kWidth, kHeight, 24, 20, 230, 0, 255); });
    add("Equalize24", colour, [](CPixano& k, BYTE* p) { return k.HistogramEqualize(p, kWidth, kHeight, 24); });
    add("Equalize8", grey, [](CPixano& k, BYTE* p) { return k.HistogramEqualize(p, kWidth, kHeight, 8); });
    add("RGBtoYUV", colour, [](CPixano& k, BYTE* p) { return k.RGBtoYUV(p, kWidth, kHeight, 24); });
    add("YUVtoRGB", converted<&CPixano::RGBtoYUV>,
        [](CPixano& k, BYTE* p) { return k.YUVtoRGB(p, kWidth, kHeight, 24); });
    add("RGBtoHSL", colour, [](CPixano& k, BYTE* p) { return k.RGBtoHSL(p, kWidth, kHeight, 24); });
    add("HSLtoRGB", converted<&CPixano::RGBtoHSL>,
        [](CPixano& k, BYTE* p) { return k.HSLtoRGB(p, kWidth, kHeight, 24); });
    const char* const filterNames[] = {"Sharpen", "Highpass", "Emboss", "Edge", "Smooth"};
    for (int f = FILTER_SHARPEN; f <= FILTER_SMOOTH; ++f) {
        const FILTER filter = static_cast<FILTER>(f);
        add(std::string(filterNames[f]) + "24", colour,
            [filter](CPixano& k, BYTE* p) { return k.ConvolutionFilter(p, kWidth, kHeight, 24, filter); });
        add(std::string(filterNames[f]) + "8", grey,
            [filter](CPixano& k, BYTE* p) { return k.ConvolutionFilter(p, kWidth, kHeight, 8, filter); });
    }
    add("TotalDifference8", grey, [](CPixano& k, BYTE* p) { return k.TotalDifference1(p, kWidth, kHeight, 8); });
    return true;
}();

} // namespace
