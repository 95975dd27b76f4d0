// Tests of the rendered picture: formula values, row order, linearity, focus curve, formats and noise.
#include "sim_fixture.h"

#include <dshow/capture.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace platform::devices::testing {
namespace {

class PictureTest : public SimFixture {
protected:
    void setGains(unsigned blue, unsigned green, unsigned red)
    {
        ASSERT_EQ(sensorWrite(0x2C, blue), S_OK);
        ASSERT_EQ(sensorWrite(0x2B, green), S_OK);
        ASSERT_EQ(sensorWrite(0x2E, green), S_OK);
        ASSERT_EQ(sensorWrite(0x2D, red), S_OK);
    }
    CapturedFrame rgbNow() { return cam.renderNow({PixelFormat::Rgb24, 640, 480}); }
};

// Hand-computed from v = round(black + 255 L_c (E/660)(g_c/32) S), S = 0.5 +/- A C(p).
TEST_F(PictureTest, ChartValuesFollowTheFormulaAtDarkAndBrightCells)
{
    struct Case {
        const char* what;
        Light light;
        unsigned exposure;
        unsigned gains[3]; // blue, green, red
        double position, peak, range, black;
        BYTE dark[3], bright[3]; // blue, green, red at (0,0) and (8,0)
    };
    const Case cases[] = {
        {"power-on, C = 0.85", Light::Neutral, 660, {40, 21, 31}, 180, 240, 400, 0, {119, 62, 92}, {200, 105, 155}},
        {"warm light in focus", Light::Warm, 330, {32, 32, 32}, 240, 240, 400, 0, {27, 45, 58}, {50, 83, 108}},
        {"far from focus, C floor 0.05", Light::Neutral, 660, {40, 21, 31}, 0, 360, 200, 0, {157, 82, 122}, {162, 85, 125}},
        {"black level", Light::Neutral, 660, {40, 21, 31}, 240, 240, 400, 10, {122, 69, 96}, {217, 119, 171}},
    };
    for (const Case& c : cases) {
        cam.setLight(c.light);
        setGains(c.gains[0], c.gains[1], c.gains[2]);
        ASSERT_EQ(sensorWrite(0x09, c.exposure), S_OK);
        cam.setLensPosition(c.position);
        cam.setFocusPeak(c.peak);
        cam.setFocusRange(c.range);
        cam.setBlackLevel(c.black);
        const CapturedFrame f = rgbNow();
        for (int ch = 0; ch < 3; ++ch) {
            EXPECT_EQ(bgrAt(f, 0, 0, ch), c.dark[ch]) << c.what << " channel " << ch;
            EXPECT_EQ(bgrAt(f, 8, 0, ch), c.bright[ch]) << c.what << " channel " << ch;
            EXPECT_EQ(bgrAt(f, 8, 8, ch), c.dark[ch]) << c.what << " channel " << ch;
        }
    }
}

TEST_F(PictureTest, RowsAreBottomUpAndPaddedSizesMatch)
{
    const CapturedFrame f = rgbNow();
    ASSERT_EQ(f.bytes.size(), 640u * 3 * 480);
    // The first stored row is the bottom row, y = 479, whose first cell is bright.
    EXPECT_EQ(f.bytes[1], bgrAt(f, 8, 0, 1));
    EXPECT_NE(f.bytes[1], bgrAt(f, 0, 0, 1));
    EXPECT_EQ(frameBytes({PixelFormat::Rgb24, 3, 2}), 24u) << "rows padded to 4 bytes";
    EXPECT_EQ(frameBytes({PixelFormat::I420, 640, 480}), 640u * 480 * 3 / 2);
}

TEST_F(PictureTest, MeansAreLinearInExposureAndGainAndIndependentOfFocus)
{
    const double kGreen = 255.0 * 0.5;
    for (unsigned exposure : {330u, 660u, 880u})
        for (unsigned gain : {16u, 24u, 32u}) {
            setGains(40, gain, 31);
            ASSERT_EQ(sensorWrite(0x09, exposure), S_OK);
            const double expected = kGreen * (exposure / 660.0) * (gain / 32.0);
            EXPECT_NEAR(channelMean(rgbNow(), 1), expected, 0.5) << "E " << exposure << " g " << gain;
        }
    setGains(32, 32, 32);
    ASSERT_EQ(sensorWrite(0x09, 660), S_OK);
    for (double p : {0.0, 120.0, 240.0, 360.0}) {
        cam.setLensPosition(p);
        EXPECT_NEAR(channelMean(rgbNow(), 1), kGreen, 0.5) << "p " << p;
    }
}

// Sum of absolute neighbour differences of the green channel over the centre quarter.
double focusMeasure(const CapturedFrame& f)
{
    double sum = 0;
    for (LONG y = 180; y < 300; ++y)
        for (LONG x = 240; x < 400; ++x)
            sum += std::abs(int(bgrAt(f, x, y, 1)) - int(bgrAt(f, x + 1, y, 1))) +
                   std::abs(int(bgrAt(f, x, y, 1)) - int(bgrAt(f, x, y + 1, 1)));
    return sum;
}

TEST_F(PictureTest, FocusMeasureRisesTowardsThePeakFromEitherSide)
{
    cam.setFocusPeak(200);
    std::vector<double> measure;
    for (int p = 0; p <= 360; ++p) {
        cam.setLensPosition(p);
        measure.push_back(focusMeasure(rgbNow()));
    }
    for (int p = 1; p <= 360; ++p) {
        if (p <= 200)
            EXPECT_GE(measure[p], measure[p - 1]) << p;
        else
            EXPECT_LE(measure[p], measure[p - 1]) << p;
    }
    for (int p = 20; p <= 200; p += 20)
        EXPECT_GT(measure[p], measure[p - 20]) << "strict over a climb step, below the peak at " << p;
    for (int p = 220; p <= 360; p += 20)
        EXPECT_LT(measure[p], measure[p - 20]) << "strict over a climb step, above the peak at " << p;
}

TEST_F(PictureTest, YuvFormatsUseTheFullRangeMatrix)
{
    cam.setLight(Light::Warm);
    setGains(32, 32, 32);
    cam.setUniformFrames(true);
    // B, G, R = 77, 128, 166: Y 134, U 96, V 151.
    const CapturedFrame rgb = rgbNow();
    ASSERT_EQ(bgrAt(rgb, 5, 5, 0), 77);
    ASSERT_EQ(bgrAt(rgb, 5, 5, 2), 166);

    const CapturedFrame yuy2 = cam.renderNow({PixelFormat::Yuy2, 640, 480});
    ASSERT_EQ(yuy2.bytes.size(), 640u * 480 * 2);
    EXPECT_EQ(std::vector<BYTE>(yuy2.bytes.end() - 4, yuy2.bytes.end()), (std::vector<BYTE>{134, 96, 134, 151}));
    const CapturedFrame uyvy = cam.renderNow({PixelFormat::Uyvy, 1280, 1024});
    EXPECT_EQ(std::vector<BYTE>(uyvy.bytes.begin(), uyvy.bytes.begin() + 4), (std::vector<BYTE>{96, 134, 151, 134}));
    const CapturedFrame i420 = cam.renderNow({PixelFormat::I420, 640, 480});
    ASSERT_EQ(i420.bytes.size(), 640u * 480 * 3 / 2);
    EXPECT_EQ(i420.bytes[0], 134);
    EXPECT_EQ(i420.bytes[640 * 480], 96);
    EXPECT_EQ(i420.bytes.back(), 151);
}

TEST_F(PictureTest, NoiseIsFixedByItsKeyAndFrame)
{
    cam.setNoise(4, 7);
    const CapturedFrame a = rgbNow();
    EXPECT_EQ(rgbNow().bytes, a.bytes) << "same key, same frame";
    cam.setNoise(4, 8);
    EXPECT_NE(rgbNow().bytes, a.bytes);
    EXPECT_NEAR(channelMean(rgbNow(), 1), channelMean(a, 1), 0.2) << "noise keeps the mean";
    cam.setNoise(4, 7);
    ASSERT_TRUE(cam.deliverFrames(1));
    EXPECT_NE(rgbNow().bytes, a.bytes) << "another frame, other noise";
}

TEST_F(PictureTest, NaturalSceneKeepsTheCentreAndTheMeanAcrossFocus)
{
    cam.setScene(Scene::Natural);
    const CapturedFrame natural = rgbNow();
    cam.setScene(Scene::Chart);
    const CapturedFrame chart = rgbNow();
    EXPECT_NE(natural.bytes, chart.bytes);
    EXPECT_EQ(bgrAt(natural, 320, 240, 1), bgrAt(chart, 320, 240, 1)) << "neutral centre";
    cam.setScene(Scene::Natural);
    cam.setLensPosition(0);
    const CapturedFrame far = rgbNow();
    cam.setLensPosition(240);
    const CapturedFrame sharp = rgbNow();
    EXPECT_NEAR(channelMean(sharp, 0), channelMean(far, 0), 0.5);
    EXPECT_GT(focusMeasure(sharp), focusMeasure(far));
}

TEST_F(PictureTest, KnobsRefuseValuesThatWouldBreakTheFormulaAndKeepThePicture)
{
    const CapturedFrame before = rgbNow();
    EXPECT_FALSE(cam.setFocusRange(0));
    EXPECT_FALSE(cam.setFocusRange(-5));
    EXPECT_FALSE(cam.setChartAmplitude(0.6));
    EXPECT_FALSE(cam.setChartAmplitude(-0.1));
    EXPECT_FALSE(cam.setLightLevel(-1));
    EXPECT_FALSE(cam.setNoise(-1, 3));
    EXPECT_FALSE(cam.setTravel(0));
    EXPECT_FALSE(cam.setMotorSpeed(0));
    EXPECT_FALSE(cam.setGpioSpeed(-1));
    EXPECT_FALSE(cam.setFrameRate(0));
    EXPECT_EQ(rgbNow().bytes, before.bytes);
    EXPECT_TRUE(cam.setChartAmplitude(0.5));
    EXPECT_NE(rgbNow().bytes, before.bytes);
}

// Amplifier values shape the picture only while applied; at their defaults they change nothing. Expected
// values hand-computed from the power-on dark and bright cells, B, G, R = 119, 62, 92 and 200, 105, 155.
TEST_F(PictureTest, AmplifierValuesShapeThePictureWhileApplied) {
    const CapturedFrame plain = rgbNow();
    ASSERT_TRUE(cam.device().setProcAmp(VideoProcAmp_Brightness, 255));
    EXPECT_EQ(rgbNow().bytes, plain.bytes) << "not applied: values are only stored";
    ASSERT_TRUE(cam.device().setProcAmp(VideoProcAmp_Brightness, 80));
    cam.setAmplifierApplied(true);
    EXPECT_EQ(rgbNow().bytes, plain.bytes) << "applied at the defaults";

    struct Case {
        const char* what;
        LONG property, value;
        BYTE dark[3], bright[3];
    };
    const Case cases[] = {
        {"brightness +30", VideoProcAmp_Brightness, 110, {149, 92, 122}, {230, 135, 185}},
        {"brightness -80 clips at 0", VideoProcAmp_Brightness, 0, {39, 0, 12}, {120, 25, 75}},
        {"contrast 0: mid grey", VideoProcAmp_Contrast, 0, {128, 128, 128}, {128, 128, 128}},
        {"contrast 63: 1.75 x around 128", VideoProcAmp_Contrast, 63, {112, 13, 65}, {254, 88, 175}},
        {"gamma 0: exponent 2^(15/32)", VideoProcAmp_Gamma, 0, {89, 36, 62}, {182, 75, 128}},
        {"saturation 0: luma", VideoProcAmp_Saturation, 0, {77, 77, 77}, {131, 131, 131}},
    };
    for (const Case& c : cases) {
        const LONG neutral = ProcAmp::range(c.property)->defaultValue;
        ASSERT_TRUE(cam.device().setProcAmp(c.property, c.value)) << c.what;
        const CapturedFrame f = rgbNow();
        for (int ch = 0; ch < 3; ++ch) {
            EXPECT_EQ(bgrAt(f, 2, 2, ch), c.dark[ch]) << c.what << " channel " << ch;
            EXPECT_EQ(bgrAt(f, 10, 2, ch), c.bright[ch]) << c.what << " channel " << ch;
        }
        ASSERT_TRUE(cam.device().setProcAmp(c.property, neutral));
    }

    // Sharpness moves the green of the cells' edge pixels (x = 7 dark, x = 8 bright, neighbours' mean 83.5)
    // away from or towards each other; inside a cell nothing changes, and the mean stays.
    const std::pair<LONG, std::array<BYTE, 3>> sharpness[] = {{15, {51, 116, 62}}, {4, {75, 92, 62}}};
    for (const auto& [value, green] : sharpness) {
        ASSERT_TRUE(cam.device().setProcAmp(VideoProcAmp_Sharpness, value));
        const CapturedFrame f = rgbNow();
        EXPECT_EQ(bgrAt(f, 7, 2, 1), green[0]) << "sharpness " << value;
        EXPECT_EQ(bgrAt(f, 8, 2, 1), green[1]) << "sharpness " << value;
        EXPECT_EQ(bgrAt(f, 3, 2, 1), green[2]) << "sharpness " << value;
        EXPECT_NEAR(channelMean(f, 1), channelMean(plain, 1), 0.5) << "sharpness " << value;
    }
}

// Full-range matrix on one pixel, rounded half up and clamped: Y, U, V.
std::array<double, 3> referenceYuv(const CapturedFrame& rgb, LONG x, LONG y)
{
    const double b = bgrAt(rgb, x, y, 0), g = bgrAt(rgb, x, y, 1), r = bgrAt(rgb, x, y, 2);
    return {0.299 * r + 0.587 * g + 0.114 * b, -0.168736 * r - 0.331264 * g + 0.5 * b + 128.0,
            0.5 * r - 0.418688 * g - 0.081312 * b + 128.0};
}

BYTE referenceByte(double v) { return BYTE(std::clamp(std::floor(v + 0.5), 0.0, 255.0)); }

// Every YUV byte is the conversion of the RGB frame of the same state, over a scene with many distinct rows
// (patches, grid, caption, counter) and an amplifier that works along rows: a row or chroma block taken from
// the wrong source row shows here.
TEST_F(PictureTest, YuvFramesAreTheConvertedRgbFrame)
{
    cam.setScene(Scene::Natural);
    cam.setFrameCounter(true);
    cam.setAmplifierApplied(true);
    ASSERT_TRUE(cam.device().setProcAmp(VideoProcAmp_Sharpness, 14));
    ASSERT_TRUE(cam.device().setProcAmp(VideoProcAmp_Saturation, 50));
    ASSERT_TRUE(cam.deliverFrames(123));
    const LONG w = 640, h = 480;
    const CapturedFrame rgb = rgbNow();
    const CapturedFrame yuy2 = cam.renderNow({PixelFormat::Yuy2, w, h});
    const CapturedFrame uyvy = cam.renderNow({PixelFormat::Uyvy, w, h});
    const CapturedFrame i420 = cam.renderNow({PixelFormat::I420, w, h});
    int wrong = 0;
    for (LONG y = 0; y < h; ++y)
        for (LONG x = 0; x < w; x += 2) {
            const auto a = referenceYuv(rgb, x, y), b = referenceYuv(rgb, x + 1, y);
            const BYTE u = referenceByte((a[1] + b[1]) / 2), v = referenceByte((a[2] + b[2]) / 2);
            const BYTE ya = referenceByte(a[0]), yb = referenceByte(b[0]);
            const std::size_t at = std::size_t(y) * w * 2 + x * 2;
            wrong += std::vector<BYTE>(yuy2.bytes.begin() + at, yuy2.bytes.begin() + at + 4) != std::vector<BYTE>{ya, u, yb, v};
            wrong += std::vector<BYTE>(uyvy.bytes.begin() + at, uyvy.bytes.begin() + at + 4) != std::vector<BYTE>{u, ya, v, yb};
            wrong += i420.bytes[std::size_t(y) * w + x] != ya || i420.bytes[std::size_t(y) * w + x + 1] != yb;
            if (y % 2 == 0) {
                const auto c = referenceYuv(rgb, x, y + 1), d = referenceYuv(rgb, x + 1, y + 1);
                const std::size_t chroma = std::size_t(y / 2) * (w / 2) + x / 2;
                wrong += i420.bytes[std::size_t(w) * h + chroma] != referenceByte((a[1] + b[1] + c[1] + d[1]) / 4);
                wrong += i420.bytes[std::size_t(w) * h * 5 / 4 + chroma] != referenceByte((a[2] + b[2] + c[2] + d[2]) / 4);
            }
        }
    EXPECT_EQ(wrong, 0);
}

// The device the program starts with: noisy frames, a counter that changes every frame outside the
// regions the library's loops measure, and a mild warm cast at the power-on gains where the test defaults
// show a strong one.
TEST(LiveLook, NoisyMildlyWarmAndCountingFrames)
{
    SteppedClock clock;
    installClock(&clock);
    SimulatedCamera live(std::make_shared<SimulatedDevice>(SimulatedDevice::Defaults::Live));
    live.setSteppedMode(true);
    live.setScene(Scene::Natural);
    const VideoFormat format{PixelFormat::Rgb24, 640, 480};
    const CapturedFrame noisy = live.renderNow(format);
    ASSERT_TRUE(live.setNoise(0, 0));
    const CapturedFrame before = live.renderNow(format);
    EXPECT_NE(noisy.bytes, before.bytes) << "no noise";
    EXPECT_NEAR(channelMean(noisy, 1), channelMean(before, 1), 0.2);
    ASSERT_TRUE(live.deliverFrames(1));
    const CapturedFrame after = live.renderNow(format);
    LONG changedBelow = 0, changed = 0;
    for (LONG y = 0; y < 480; ++y)
        for (LONG x = 0; x < 640; ++x)
            if (bgrAt(before, x, y, 1) != bgrAt(after, x, y, 1)) {
                ++changed;
                changedBelow = std::max(changedBelow, y);
            }
    EXPECT_GT(changed, 0) << "the counter moves";
    EXPECT_LT(changedBelow, 480 / 4) << "the counter stays above the middle half";

    const double blue = channelMean(after, 0), green = channelMean(after, 1), red = channelMean(after, 2);
    EXPECT_GT(red, green);
    EXPECT_GT(green, blue);
    EXPECT_LT(red / blue, 1.35) << "a mild cast, B G R " << blue << " " << green << " " << red;
    live.setSteppedMode(false);
    installClock(nullptr);
}

TEST_F(PictureTest, OnlyTheTwoSizesAreOfferedAndRefusedFormatsKeepTheOldOne)
{
    for (PixelFormat px : {PixelFormat::Rgb24, PixelFormat::Yuy2, PixelFormat::Uyvy, PixelFormat::I420}) {
        EXPECT_TRUE(cam.device().setFormat({px, 640, 480}));
        EXPECT_TRUE(cam.device().setFormat({px, 1280, 1024}));
        EXPECT_FALSE(cam.device().setFormat({px, 800, 600}));
        EXPECT_EQ(cam.format(), (VideoFormat{px, 1280, 1024}));
    }
    ASSERT_TRUE(cam.device().setFormat({PixelFormat::Rgb24, 640, 480}));
    cam.setRefusedFormats({{PixelFormat::I420, 1280, 1024}});
    EXPECT_FALSE(cam.device().setFormat({PixelFormat::I420, 1280, 1024}));
    EXPECT_FALSE(cam.device().setFormat({PixelFormat::Rgb24, 320, 240}));
    EXPECT_EQ(cam.device().format(), (VideoFormat{PixelFormat::Rgb24, 640, 480}));
}

} // namespace
} // namespace platform::devices::testing
