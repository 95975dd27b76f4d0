// Tests of the capture filter through COM: device list and selection, shared device state, stream
// configuration, video processing amplifier, compression settings and sample delivery.
#include "com_fixture.h"

#include <cstdlib>

#ifndef E_PROP_ID_UNSUPPORTED
#define E_PROP_ID_UNSUPPORTED ORV_HRESULT(0x80070490u)
#endif

namespace platform::devices::testing {
namespace {

class CaptureFilterTest : public ComFixture {};

TEST_F(CaptureFilterTest, ListShowsTheSimulatedDeviceThenDecoysAndOnlySimulatedOnesAnswerThePrivateId)
{
    SimulatedCamera::setDecoys({{"USB 2820 Video Plus", false}, {"USB 2861 Video", true}, {"USB 2820 Video", false}});
    const auto names = listedNames();
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(std::vector<std::wstring>(names.begin(), names.begin() + 4),
              (std::vector<std::wstring>{L"USB 2820 Video", L"USB 2820 Video Plus", L"USB 2861 Video", L"USB 2820 Video"}));
    const bool answers[] = {true, false, true, false};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(static_cast<bool>(query<IBridgeChipProperty>(bind(i).get())), answers[i]) << i;

    SimulatedCamera::setNoDevice(true);
    EXPECT_EQ(listedNames().front(), L"USB 2820 Video Plus");
    SimulatedCamera::setDecoys({});
    EXPECT_TRUE(listedNames().empty()) << "no device at all (this machine has no V4L2 camera)";
}

TEST_F(CaptureFilterTest, EnvironmentChoosesTheSimulatorNothingOrAV4l2Device)
{
    struct Case {
        const char* value;
        bool simulatedListed;
    };
    for (Case c : {Case{"sim", true}, {"none", false}, {"/dev/video-missing", false}, {"", true}}) {
        ::setenv("ORVANEL_CAMERA", c.value, 1);
        const auto names = listedNames();
        EXPECT_EQ(!names.empty() && names.front() == L"USB 2820 Video", c.simulatedListed) << c.value;
        if (!c.simulatedListed) {
            EXPECT_TRUE(names.empty()) << c.value << ": a missing chosen device is not replaced by the simulator";
        }
    }
    ::unsetenv("ORVANEL_CAMERA");
}

TEST_F(CaptureFilterTest, FiltersBoundFromTheSameMonikerShareOneChip)
{
    auto preview = bind(0);
    auto registers = query<IBridgeChipProperty>(bind(0).get());
    ASSERT_TRUE(registers);
    uint32_t selector = 1u << 24 | 0xBA0902;
    BYTE bytes[2] = {0x05, 0x28}; // exposure 1320
    ASSERT_EQ(registers->Set(kPropI2cSelect, &selector), S_OK);
    ASSERT_EQ(registers->Set(kPropI2cData, bytes), S_OK);
    EXPECT_EQ(cam.i2cRegister(kSensorAddress, 0x09), 1320u) << "the test API reaches the same device";

    auto previewChip = query<IBridgeChipProperty>(preview.get());
    BYTE back[2] = {};
    ASSERT_EQ(previewChip->Set(kPropI2cSelect, &selector), S_OK);
    ASSERT_EQ(previewChip->Get(kPropI2cData, back), S_OK);
    EXPECT_EQ(back[1], 0x28);
    DWORD support = 0;
    EXPECT_EQ(registers->QuerySupported(kPropI2cData, &support), S_OK);
    EXPECT_EQ(support, 3u);
    EXPECT_EQ(registers->QuerySupported(4200, &support), E_NOTIMPL);

    // The interface keeps the device alive after every filter reference is gone.
    preview.reset();
    previewChip.reset();
    int32_t status = -1;
    EXPECT_EQ(registers->Get(kPropProbeStatus, &status), S_OK);
}

TEST_F(CaptureFilterTest, StreamConfigListsTheCapabilitiesAndSetFormatTakesOnlyOfferedRows)
{
    auto filter = bind(0);
    auto config = query<IAMStreamConfig>(pinOf(filter, 0));
    ASSERT_TRUE(config);
    EXPECT_FALSE(query<IAMStreamConfig>(pinOf(filter, 1))) << "the preview pin has no format control";
    int count = 0, size = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), S_OK);
    EXPECT_EQ(count, 8);
    EXPECT_EQ(size, int(sizeof(VIDEO_STREAM_CONFIG_CAPS)));
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* type = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps{};
        ASSERT_EQ(config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)), S_OK);
        const auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
        EXPECT_EQ(caps.MaxOutputSize.cx, info->bmiHeader.biWidth);
        EXPECT_EQ(type->lSampleSize, info->bmiHeader.biSizeImage);
        DeleteMediaType(type);
    }
    AM_MEDIA_TYPE* none = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps{};
    EXPECT_EQ(config->GetStreamCaps(count, &none, reinterpret_cast<BYTE*>(&caps)), S_FALSE);

    const GUID rgb1 = {0xE436EB8E, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    struct Row {
        const GUID* subtype;
        WORD bits;
        bool offered;
        PixelFormat pixels;
    };
    const Row rows[] = {
        {&rgb1, 0, false, {}},
        {&MEDIASUBTYPE_RGB8, 8, false, {}},
        {&MEDIASUBTYPE_RGB565, 16, false, {}},
        {&MEDIASUBTYPE_RGB555, 16, false, {}},
        {&MEDIASUBTYPE_RGB24, 24, true, PixelFormat::Rgb24},
        {&MEDIASUBTYPE_RGB32, 32, false, {}},
        {&MEDIASUBTYPE_YUY2, 16, true, PixelFormat::Yuy2},
        {&MEDIASUBTYPE_I420, 12, true, PixelFormat::I420},
        {&MEDIASUBTYPE_UYVY, 16, true, PixelFormat::Uyvy},
    };
    for (std::size_t row = 0; row < std::size(rows); ++row)
        for (auto [w, h] : {std::pair<LONG, LONG>{640, 480}, {1280, 1024}, {800, 600}}) {
            const VideoFormat before = cam.device().format();
            AM_MEDIA_TYPE* type = patchedType(config.get(), *rows[row].subtype, rows[row].bits, w, h);
            const bool offered = rows[row].offered && w != 800;
            EXPECT_EQ(config->SetFormat(type), offered ? S_OK : VFW_E_INVALIDMEDIATYPE) << "row " << row << " " << w;
            DeleteMediaType(type);
            const VideoFormat now = offered ? VideoFormat{rows[row].pixels, w, h} : before;
            EXPECT_EQ(cam.device().format(), now) << "row " << row << " " << w;
            AM_MEDIA_TYPE* current = nullptr;
            ASSERT_EQ(config->GetFormat(&current), S_OK);
            EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(current->pbFormat)->bmiHeader.biWidth, now.width);
            DeleteMediaType(current);
        }

    cam.setRefusedFormats({{PixelFormat::Yuy2, 640, 480}});
    AM_MEDIA_TYPE* refused = patchedType(config.get(), MEDIASUBTYPE_YUY2, 16, 640, 480);
    EXPECT_EQ(config->SetFormat(refused), VFW_E_INVALIDMEDIATYPE);
    DeleteMediaType(refused);
    EXPECT_EQ(config->SetFormat(nullptr), E_POINTER);
}

TEST_F(CaptureFilterTest, VideoProcAmpRangesValuesAndUnsupportedProperties)
{
    auto amp = query<IAMVideoProcAmp>(bind(0).get());
    ASSERT_TRUE(amp);
    struct Case {
        LONG property, max;
    };
    for (Case c : {Case{VideoProcAmp_Brightness, 255}, {VideoProcAmp_Contrast, 63}, {VideoProcAmp_Saturation, 63},
                   {VideoProcAmp_Sharpness, 15}, {VideoProcAmp_Gamma, 63}}) {
        LONG min = -1, max = -1, step = 0, def = 0, flags = 0;
        ASSERT_EQ(amp->GetRange(c.property, &min, &max, &step, &def, &flags), S_OK) << c.property;
        EXPECT_EQ(min, 0);
        EXPECT_EQ(max, c.max);
        EXPECT_EQ(flags, VideoProcAmp_Flags_Manual);
        EXPECT_EQ(amp->Set(c.property, c.max, flags), S_OK);
        EXPECT_EQ(amp->Set(c.property, c.max + 1, flags), E_INVALIDARG);
        LONG value = -1;
        EXPECT_EQ(amp->Get(c.property, &value, &flags), S_OK);
        EXPECT_EQ(value, c.max) << "stored and read back; a refused value keeps it";
    }
    for (LONG p : {LONG(VideoProcAmp_Hue), LONG(VideoProcAmp_Gain), LONG(VideoProcAmp_WhiteBalance), LONG(10), LONG(-1)}) {
        LONG a, b, c, d, e;
        EXPECT_EQ(amp->GetRange(p, &a, &b, &c, &d, &e), E_PROP_ID_UNSUPPORTED) << p;
        EXPECT_EQ(amp->Set(p, 0, VideoProcAmp_Flags_Manual), E_PROP_ID_UNSUPPORTED) << p;
        EXPECT_EQ(amp->Get(p, &a, &b), E_PROP_ID_UNSUPPORTED) << p;
    }
    const CapturedFrame after = cam.renderNow({PixelFormat::Rgb24, 640, 480});
    SimulatedCamera::resetAll();
    cam.setSteppedMode(true);
    EXPECT_EQ(cam.renderNow({PixelFormat::Rgb24, 640, 480}).bytes, after.bytes) << "the values leave the picture alone";
}

TEST_F(CaptureFilterTest, CompressionSettingsAreStoredOnTheCapturePin)
{
    auto filter = bind(0);
    auto compression = query<IAMVideoCompression>(pinOf(filter, 0));
    ASSERT_TRUE(compression);
    LONG keyRate = 0, pFrames = -1, caps = 0;
    double quality = 0;
    ASSERT_EQ(compression->GetInfo(nullptr, nullptr, nullptr, nullptr, &keyRate, &pFrames, &quality, &caps), S_OK);
    EXPECT_EQ(keyRate, 15);
    EXPECT_EQ(pFrames, 0);
    EXPECT_DOUBLE_EQ(quality, 0.75);
    EXPECT_TRUE(caps & CompressionCaps_CanQuality);
    ASSERT_EQ(compression->put_KeyFrameRate(30), S_OK);
    ASSERT_EQ(compression->put_Quality(0.5), S_OK);
    EXPECT_EQ(compression->put_Quality(1.5), E_INVALIDARG);
    ASSERT_EQ(compression->get_KeyFrameRate(&keyRate), S_OK);
    ASSERT_EQ(compression->get_Quality(&quality), S_OK);
    EXPECT_EQ(keyRate, 30);
    EXPECT_DOUBLE_EQ(quality, 0.5);
    WCHAR text[4];
    int bytes = sizeof text;
    ASSERT_EQ(compression->GetInfo(nullptr, nullptr, text, &bytes, nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::wstring(text), L"USB");
    EXPECT_EQ(bytes, int(15 * sizeof(WCHAR)));
}

TEST_F(CaptureFilterTest, RunningFilterDeliversEachSteppedFrameToBothPinsAndStopEndsIt)
{
    auto filter = bind(0);
    ASSERT_TRUE(cam.device().setFormat({PixelFormat::Rgb24, 640, 480}));
    auto capture = ComPtr<SinkFilter>::adopt(new SinkFilter);
    auto preview = ComPtr<SinkFilter>::adopt(new SinkFilter);
    ASSERT_EQ(pinOf(filter, 0)->Connect(capture->in, nullptr), S_OK);
    ASSERT_EQ(pinOf(filter, 1)->Connect(preview->in, nullptr), S_OK);
    auto config = query<IAMStreamConfig>(pinOf(filter, 0));
    AM_MEDIA_TYPE* type = patchedType(config.get(), MEDIASUBTYPE_YUY2, 16, 640, 480);
    EXPECT_EQ(config->SetFormat(type), VFW_E_ALREADY_CONNECTED);
    DeleteMediaType(type);

    ASSERT_EQ(capture->Run(0), S_OK);
    ASSERT_EQ(preview->Run(0), S_OK);
    ASSERT_EQ(filter->Run(0), S_OK);
    ASSERT_TRUE(cam.deliverFrames(3));
    ASSERT_EQ(filter->Stop(), S_OK);
    ASSERT_TRUE(cam.deliverFrames(1));

    EXPECT_EQ(capture->in->starts, (std::vector<REFERENCE_TIME>{670'000, 1'330'000, 2'000'000}));
    EXPECT_EQ(preview->in->count(), 3u);
    EXPECT_EQ(capture->in->lengths[0], LONG(640 * 480 * 3));
    ASSERT_EQ(cam.lastFrames().size(), 1u);
    EXPECT_EQ(capture->in->last, cam.lastFrames().back().bytes) << "the sample the frame was made in";
    EXPECT_EQ(preview->in->last, cam.lastFrames().back().bytes) << "the copy for the second pin";
    capture->Stop();
    preview->Stop();
    for (std::size_t i = 0; i < 2; ++i)
        pinOf(filter, i)->Disconnect();
    capture->in->Disconnect();
    preview->in->Disconnect();
}

// With only the preview pin connected the frames are made in its samples: each one reaches the receiver as
// made, none a stale sample of an earlier frame.
TEST_F(CaptureFilterTest, FramesMadeInThePreviewPinsSamplesArriveAsMade)
{
    auto filter = bind(0);
    ASSERT_TRUE(cam.device().setFormat({PixelFormat::Yuy2, 640, 480}));
    ASSERT_TRUE(cam.setNoise(3, 5));
    auto preview = ComPtr<SinkFilter>::adopt(new SinkFilter);
    ASSERT_EQ(pinOf(filter, 1)->Connect(preview->in, nullptr), S_OK);
    ASSERT_EQ(preview->Run(0), S_OK);
    ASSERT_EQ(filter->Run(0), S_OK);
    std::vector<BYTE> previous;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(cam.deliverFrames(1));
        EXPECT_EQ(preview->in->last, cam.lastFrames().back().bytes) << "frame " << i;
        EXPECT_NE(preview->in->last, previous) << "frame " << i;
        previous = preview->in->last;
    }
    ASSERT_EQ(filter->Stop(), S_OK);
    preview->Stop();
    pinOf(filter, 1)->Disconnect();
    preview->in->Disconnect();
}

TEST_F(CaptureFilterTest, LiveRunDeliversOnTheStreamingThreadUntilStop)
{
    cam.setSteppedMode(false);
    installClock(nullptr);
    auto filter = bind(0);
    ASSERT_TRUE(cam.device().setFormat({PixelFormat::Rgb24, 640, 480}));
    ASSERT_TRUE(cam.setFrameRate(60));
    auto sink = ComPtr<SinkFilter>::adopt(new SinkFilter);
    ASSERT_EQ(pinOf(filter, 0)->Connect(sink->in, nullptr), S_OK);
    ASSERT_EQ(sink->Run(0), S_OK);
    ASSERT_EQ(filter->Run(0), S_OK);
    for (int wait = 0; wait < 1000 && sink->in->count() < 2; ++wait)
        activeClock().sleepMs(10);
    ASSERT_EQ(filter->Stop(), S_OK);
    const std::size_t delivered = sink->in->count();
    EXPECT_GE(delivered, 2u);
    activeClock().sleepMs(100);
    EXPECT_EQ(sink->in->count(), delivered);
    sink->Stop();
    pinOf(filter, 0)->Disconnect();
    sink->in->Disconnect();
}

TEST_F(CaptureFilterTest, ResetAllRestoresPowerOnStateAndTheDeviceList)
{
    ASSERT_EQ(sensorWrite(0x09, 1000), S_OK);
    ASSERT_EQ(chipWrite(0x08, {0x00}), S_OK);
    ASSERT_EQ(motorWrite(0x10, 50), S_OK);
    cam.setSensorPresent(false);
    cam.addFault({FaultRule::Call::Any, std::nullopt, 0, 100, E_FAIL});
    ASSERT_TRUE(cam.deliverFrames(2));
    SimulatedCamera::setDecoys({{"USB 2800 Video", false}});
    SimulatedCamera::setNoDevice(true);

    SimulatedCamera::resetAll();
    cam.setSteppedMode(true);
    EXPECT_EQ(cam.i2cRegister(kSensorAddress, 0x09), 660u);
    EXPECT_EQ(cam.chipRegister(0x08), 0xFF);
    EXPECT_EQ(cam.frameCount(), 0u);
    EXPECT_TRUE(cam.propertyCalls().empty());
    EXPECT_TRUE(cam.registerWrites().empty());
    EXPECT_TRUE(cam.motorMoves().empty());
    EXPECT_EQ(sensorWrite(0x09, 700), S_OK) << "sensor present, faults gone";
    EXPECT_EQ(motorRead(0x13), 0);
    EXPECT_EQ(listedNames().size(), 1u);
}

} // namespace
} // namespace platform::devices::testing
