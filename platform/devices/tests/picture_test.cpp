// Tests of the rendered picture: formula values, row order, linearity, focus curve, formats and noise.
#include "sim_fixture.h"

#include <dshow/capture.h>

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
    ASSERT_TRUE(cam.device().setProcAmp(VideoProcAmp_Brightness, 128));
    cam.setAmplifierApplied(true);
    EXPECT_EQ(rgbNow().bytes, plain.bytes) << "applied at the defaults";

    struct Case {
        const char* what;
        LONG property, value;
        BYTE dark[3], bright[3];
    };
    const Case cases[] = {
        {"brightness +30", VideoProcAmp_Brightness, 158, {149, 92, 122}, {230, 135, 185}},
        {"brightness -100 clips at 0", VideoProcAmp_Brightness, 28, {19, 0, 0}, {100, 5, 55}},
        {"contrast 0: mid grey", VideoProcAmp_Contrast, 0, {128, 128, 128}, {128, 128, 128}},
        {"contrast 63: 1.97 x around 128, clipped", VideoProcAmp_Contrast, 63, {110, 0, 57}, {255, 83, 181}},
        {"gamma 0: squared", VideoProcAmp_Gamma, 0, {56, 15, 33}, {157, 43, 94}},
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
    const std::pair<LONG, std::array<BYTE, 3>> sharpness[] = {{15, {43, 124, 62}}, {4, {73, 94, 62}}};
    for (const auto& [value, green] : sharpness) {
        ASSERT_TRUE(cam.device().setProcAmp(VideoProcAmp_Sharpness, value));
        const CapturedFrame f = rgbNow();
        EXPECT_EQ(bgrAt(f, 7, 2, 1), green[0]) << "sharpness " << value;
        EXPECT_EQ(bgrAt(f, 8, 2, 1), green[1]) << "sharpness " << value;
        EXPECT_EQ(bgrAt(f, 3, 2, 1), green[2]) << "sharpness " << value;
        EXPECT_NEAR(channelMean(f, 1), channelMean(plain, 1), 0.5) << "sharpness " << value;
    }
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
