// Speed of JPEG writing at quality 70 against cjpeg, of BMP reading and saving, and of the picture
// commands of CRastel and of the edit view against their kernels alone, on a 1280x1024 picture.
#include <bitmap/rastel.h>
#include <jpeg/jpegfile.h>
#include <kernels/pixano.h>

#include "bmp_static.h"
#include "pixel_timing.h"
#include "support/foreign_tools.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr unsigned kWidth = 1280;
constexpr unsigned kHeight = 1024;

// Packed RGB rows of a smooth picture with some detail, as a camera frame might look.
const std::vector<unsigned char>& frame() {
    static const std::vector<unsigned char> pixels = [] {
        std::vector<unsigned char> p(kWidth * kHeight * 3);
        for (unsigned y = 0; y < kHeight; ++y) {
            for (unsigned x = 0; x < kWidth; ++x) {
                unsigned char* q = &p[(y * kWidth + x) * 3];
                q[0] = static_cast<unsigned char>(x / 5 + ((x * y) >> 9) % 16);
                q[1] = static_cast<unsigned char>(y / 4);
                q[2] = static_cast<unsigned char>((x + y) / 9 + (x % 7) * 3);
            }
        }
        return p;
    }();
    return pixels;
}

void RGBToJpegFileQuality70(benchmark::State& state) {
    testsupport::TempFolder folder;
    const std::string path = folder.file("frame.jpg");
    std::vector<unsigned char> pixels = frame();
    CJpegFile jpeg;
    for (auto _ : state) {
        if (!jpeg.RGBToJpegFile(path.c_str(), pixels.data(), kWidth, kHeight, 1, 70)) {
            state.SkipWithError("RGBToJpegFile failed");
            break;
        }
    }
}
BENCHMARK(RGBToJpegFileQuality70)->Unit(benchmark::kMillisecond);

// Reference: libjpeg's own cjpeg on the same picture, a process per file.
void CjpegQuality70(benchmark::State& state) {
    if (!testsupport::haveTool("cjpeg")) {
        state.SkipWithError("cjpeg is not installed");
        return;
    }
    testsupport::TempFolder folder;
    const std::string input = folder.file("frame.ppm");
    std::FILE* out = std::fopen(input.c_str(), "wb");
    std::fprintf(out, "P6\n%u %u\n255\n", kWidth, kHeight);
    std::fwrite(frame().data(), 1, frame().size(), out);
    std::fclose(out);
    const std::string command =
        "cjpeg -quality 70 -outfile '" + folder.file("frame.jpg") + "' '" + input + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cjpeg failed");
            break;
        }
    }
}
BENCHMARK(CjpegQuality70)->Unit(benchmark::kMillisecond);

// The frame as a 24-bit picture (its rows are DIB rows of the same width) and a file of it at `path`.
void loadFrame(CRastel& picture, const std::string& path) {
    std::vector<unsigned char> pixels = frame();
    picture.ReadBitmap(pixels.data(), kWidth, kHeight, 24);
    picture.SaveBitmap(path.c_str());
}

void SaveBitmap24(benchmark::State& state) {
    testsupport::TempFolder folder;
    const std::string path = folder.file("frame.bmp");
    CRastel picture;
    loadFrame(picture, path);
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.SaveBitmap(path.c_str()));
    state.SetBytesProcessed(state.iterations() * frame().size());
}
BENCHMARK(SaveBitmap24)->Unit(benchmark::kMillisecond);

void ReadBitmap24(benchmark::State& state) {
    testsupport::TempFolder folder;
    const std::string path = folder.file("frame.bmp");
    CRastel picture;
    loadFrame(picture, path);
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.ReadBitmap(path.c_str()));
    state.SetBytesProcessed(state.iterations() * frame().size());
}
BENCHMARK(ReadBitmap24)->Unit(benchmark::kMillisecond);

// Times `command()` on a loaded picture against `kernel(CPixano&, BYTE*)` alone on a buffer of the
// same picture in the same loop (the counter x_kernel).
template <typename Command, typename Kernel>
void timeAgainstKernel(benchmark::State& state, Command command, Kernel kernel) {
    std::vector<unsigned char> pixels = frame();
    CPixano pixano;
    pixelbench::timeAgainst(
        state, "x_kernel", [&] { benchmark::DoNotOptimize(kernel(pixano, pixels.data())); },
        [&] { benchmark::DoNotOptimize(command()); });
}

// One command of CRastel and of the edit view, each on its own kernel.
struct Command {
    const char* name;
    int (CRastel::*picture)();
    int (CBmpStatic::*view)();
    int (*kernel)(CPixano&, BYTE*);
};

constexpr LONG kPixelsWidth = kWidth;
constexpr LONG kPixelsHeight = kHeight;

const Command kCommands[] = {
    {"Negative", &CRastel::Negative, &CBmpStatic::Negative,
     [](CPixano& k, BYTE* p) { return k.Negative(p, kPixelsWidth, kPixelsHeight, 24); }},
    {"Sharpen", &CRastel::Sharpen, &CBmpStatic::Sharpen,
     [](CPixano& k, BYTE* p) { return k.ConvolutionFilter(p, kPixelsWidth, kPixelsHeight, 24, FILTER_SHARPEN); }},
    {"HistogramEqualize", &CRastel::HistogramEqualize, &CBmpStatic::HistogramEqualize,
     [](CPixano& k, BYTE* p) { return k.HistogramEqualize(p, kPixelsWidth, kPixelsHeight, 24); }},
};

// CRastel's command: the kernel on the working pixels and the display copy made current.
void PictureCommand(benchmark::State& state) {
    const Command& c = kCommands[state.range(0)];
    state.SetLabel(c.name);
    std::vector<unsigned char> pixels = frame();
    CRastel picture;
    picture.ReadBitmap(pixels.data(), kWidth, kHeight, 24);
    timeAgainstKernel(state, [&] { return (picture.*c.picture)(); }, c.kernel);
}
BENCHMARK(PictureCommand)->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The edit view's command: CRastel's command and the history entry of its result.
void EditViewCommand(benchmark::State& state) {
    const Command& c = kCommands[state.range(0)];
    state.SetLabel(c.name);
    std::vector<unsigned char> pixels = frame();
    CBmpStatic view;
    view.LoadBuffer(pixels.data(), kWidth, kHeight, 24, 0, 0, 1);
    timeAgainstKernel(state, [&] { return (view.*c.view)(); }, c.kernel);
}
BENCHMARK(EditViewCommand)->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Reference: one copy of the picture's bytes.
void MemcpyReference(benchmark::State& state) {
    const std::vector<unsigned char>& source = frame();
    std::vector<unsigned char> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * source.size());
}
BENCHMARK(MemcpyReference)->Unit(benchmark::kMillisecond);

} // namespace
