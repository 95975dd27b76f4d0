// YUV to RGB24 conversion of the AVI Decompressor against a floating-point reference.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <dshow/filter_base.h>
#include <dshow/renderers.h>

#include "graph_support.h"
#include "test_source.h"
#include "yuv_to_rgb.h"

namespace {

using namespace platform::dshow;
using namespace testing_dshow;

struct Yuv {
    int y, u, v;
};

// Y, U, V of pixel (x, y) of a top-down frame, read the plain way.
Yuv sampleAt(YuvLayout layout, const std::vector<BYTE>& frame, int width, int height, int x, int y) {
    switch (layout) {
    case YuvLayout::Yuy2: {
        const BYTE* pair = &frame[(y * width + (x & ~1)) * 2];
        return {pair[(x & 1) ? 2 : 0], pair[1], pair[3]};
    }
    case YuvLayout::Uyvy: {
        const BYTE* pair = &frame[(y * width + (x & ~1)) * 2];
        return {pair[(x & 1) ? 3 : 1], pair[0], pair[2]};
    }
    case YuvLayout::I420: {
        int chroma = (y / 2) * (width / 2) + x / 2;
        return {frame[y * width + x], frame[width * height + chroma], frame[width * height * 5 / 4 + chroma]};
    }
    }
    return {};
}

int reference(double value) { return static_cast<int>(std::lround(std::fmin(255.0, std::fmax(0.0, value)))); }

struct ConversionCase {
    const char* name;
    YuvLayout layout;
    int width;
    int height;
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }

class YuvConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(YuvConversionTest, MatchesReferenceBottomUpWithZeroPadding) {
    const ConversionCase& c = GetParam();
    std::vector<BYTE> frame(yuvFrameBytes(c.layout, c.width, c.height));
    unsigned state = 12345;
    for (BYTE& b : frame) {
        state = state * 1103515245u + 12345u;
        b = static_cast<BYTE>(state >> 16);
    }
    // Extremes that clamp in every channel.
    frame[0] = 255;
    frame[1] = 0;
    const LONG stride = DibStride(c.width, 24);
    std::vector<BYTE> dib(static_cast<std::size_t>(stride) * c.height, 0xEE);
    convertYuvToRgb24(c.layout, frame.data(), c.width, c.height, dib.data());

    for (int y = 0; y < c.height; ++y) {
        const BYTE* row = &dib[static_cast<std::size_t>(c.height - 1 - y) * stride];
        for (int x = 0; x < c.width; ++x) {
            Yuv p = sampleAt(c.layout, frame, c.width, c.height, x, y);
            double u = p.u - 128.0, v = p.v - 128.0;
            int expected[3] = {reference(p.y + 1.772 * u), reference(p.y - 0.344136 * u - 0.714136 * v),
                               reference(p.y + 1.402 * v)};
            for (int ch = 0; ch < 3; ++ch)
                ASSERT_NEAR(row[x * 3 + ch], expected[ch], 1) << "pixel " << x << "," << y << " channel " << ch;
        }
        for (int pad = c.width * 3; pad < stride; ++pad)
            ASSERT_EQ(row[pad], 0) << "row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, YuvConversionTest,
                         ::testing::Values(ConversionCase{"yuy2_padded", YuvLayout::Yuy2, 6, 4},
                                           ConversionCase{"uyvy_padded", YuvLayout::Uyvy, 10, 2},
                                           ConversionCase{"i420_padded", YuvLayout::I420, 6, 6},
                                           ConversionCase{"yuy2_wide", YuvLayout::Yuy2, 64, 2},
                                           ConversionCase{"i420_square", YuvLayout::I420, 16, 16}),
                         [](const auto& info) { return std::string(info.param.name); });

using AviDecompressorTest = ComTest;

// An input pin of the decompressor accepts only the sizes and formats it converts.
TEST_F(AviDecompressorTest, RefusesWhatItCannotConvert) {
    auto decoder = create<IBaseFilter>(CLSID_AVIDec);
    ComPtr<IPin> input;
    ASSERT_EQ(decoder->FindPin(L"Input", input.put()), S_OK);
    struct Case {
        const char* name;
        GUID subtype;
        LONG width;
        LONG height;
        HRESULT expected;
    } cases[] = {
        {"yuy2", MEDIASUBTYPE_YUY2, 640, 480, S_OK},
        {"top-down i420", MEDIASUBTYPE_I420, 640, -480, S_OK},
        {"odd width", MEDIASUBTYPE_YUY2, 641, 480, S_FALSE},
        {"odd i420 height", MEDIASUBTYPE_I420, 640, 481, S_FALSE},
        {"empty", MEDIASUBTYPE_UYVY, 0, 480, S_FALSE},
        {"rgb", MEDIASUBTYPE_RGB24, 640, 480, S_FALSE},
    };
    for (const Case& c : cases) {
        AM_MEDIA_TYPE type = videoType(c.subtype, c.width, c.height, 16);
        EXPECT_EQ(input->QueryAccept(&type), c.expected) << c.name;
        FreeMediaType(type);
    }
    AM_MEDIA_TYPE noFormat{};
    noFormat.majortype = MEDIATYPE_Video;
    noFormat.subtype = MEDIASUBTYPE_YUY2;
    noFormat.formattype = FORMAT_VideoInfo;
    EXPECT_EQ(input->QueryAccept(&noFormat), S_FALSE);
}

// A sample shorter than a frame is refused instead of read past its end.
TEST_F(AviDecompressorTest, ShortSampleIsRefused) {
    auto graph = create<IGraphBuilder>(CLSID_FilterGraph);
    AM_MEDIA_TYPE type = videoType(MEDIASUBTYPE_YUY2, 64, 48, 16);
    type.lSampleSize = 100;
    auto source = ComPtr<IBaseFilter>::adopt(new TestSource(type, false));
    auto* pin = &static_cast<TestSource*>(source.get())->capturePin();
    FreeMediaType(type);
    auto decoder = create<IBaseFilter>(CLSID_AVIDec);
    auto renderer = create<IBaseFilter>(CLSID_NullRenderer);
    graph->AddFilter(source.get(), L"Source");
    graph->AddFilter(decoder.get(), L"Decoder");
    graph->AddFilter(renderer.get(), L"Renderer");
    ComPtr<IPin> decoderIn, decoderOut, rendererIn;
    decoder->FindPin(L"Input", decoderIn.put());
    decoder->FindPin(L"Output", decoderOut.put());
    renderer->FindPin(L"In", rendererIn.put());
    ASSERT_EQ(graph->ConnectDirect(pin, decoderIn.get(), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(decoderOut.get(), rendererIn.get(), nullptr), S_OK);
    ComPtr<IMediaControl> control;
    graph.as(control);
    control->Run();
    EXPECT_EQ(pin->push(0), E_INVALIDARG);
    control->Stop();
}

} // namespace
