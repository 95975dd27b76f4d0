// The V4L2 source against a scripted camera: the formats it offers, its controls as the processing
// amplifier, streaming through the mmap buffers, a stall, and the camera pulled out while streaming.
#include "fake_v4l2_device.h"
#include "v4l2_source.h"

#include <dshow/capture.h>
#include <win32/dib.h>

#include <jpeglib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <tuple>

namespace platform::devices::testing {
namespace {

using namespace std::chrono_literals;

const VideoFormat kSmall{PixelFormat::Yuy2, 640, 480};
const VideoFormat kLarge{PixelFormat::Yuy2, 1280, 1024};
const VideoFormat kSmallJpeg{PixelFormat::Rgb24, 640, 480};
const VideoFormat kLargeJpeg{PixelFormat::Rgb24, 1280, 1024};

// The frames a stream delivered, waited for from the test thread.
class Frames {
public:
    FrameSink sink() {
        return [this](const FrameView& frame) {
            std::lock_guard guard(mutex_);
            sizes_.push_back(frame.size);
            indices_.push_back(frame.index);
            fills_.push_back(std::all_of(frame.data, frame.data + frame.size,
                                         [&](BYTE b) { return b == frame.data[0]; })
                                 ? frame.data[0]
                                 : -1);
            arrived_.notify_all();
        };
    }
    bool waitFor(std::size_t count) {
        std::unique_lock guard(mutex_);
        return arrived_.wait_for(guard, 5s, [&] { return sizes_.size() >= count; });
    }
    std::size_t count() const {
        std::lock_guard guard(mutex_);
        return sizes_.size();
    }
    std::vector<DWORD> sizes_;
    std::vector<uint64_t> indices_;
    std::vector<int> fills_; // the byte each frame holds throughout, or -1

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
};

// How the streams of a test ended on their own, waited for from the test thread.
class Failures {
public:
    StreamFailed report() {
        return [this](StreamFailure failure) {
            std::lock_guard guard(mutex_);
            seen_.push_back(failure);
            arrived_.notify_all();
        };
    }
    bool waitForOne() {
        std::unique_lock guard(mutex_);
        return arrived_.wait_for(guard, 5s, [&] { return !seen_.empty(); });
    }
    std::vector<StreamFailure> seen() const {
        std::lock_guard guard(mutex_);
        return seen_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<StreamFailure> seen_;
};

const std::vector<FakeV4l2Device::Format> kYuyvAndMjpeg{{V4L2_PIX_FMT_YUYV, {{640, 480}, {1280, 1024}}},
                                                        {V4L2_PIX_FMT_MJPEG, {{640, 480}, {1280, 1024}}}};

// A JPEG picture of one colour, as a motion-JPEG camera sends it.
std::vector<uint8_t> jpegOf(int width, int height, uint8_t red, uint8_t green, uint8_t blue)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(std::size_t(width) * 3);
    for (int x = 0; x < width; ++x)
        row[std::size_t(x) * 3] = red, row[std::size_t(x) * 3 + 1] = green, row[std::size_t(x) * 3 + 2] = blue;
    while (info.next_scanline < info.image_height) {
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(out, out + size);
    std::free(out);
    return bytes;
}

struct OfferCase {
    const char* name;
    std::vector<FakeV4l2Device::Format> formats;
    std::vector<VideoFormat> offered; // empty: the camera is refused
};

class V4l2Offers : public ::testing::TestWithParam<OfferCase> {};

// Only the pixel formats the layer converts are offered; a camera with none of them is not opened.
TEST_P(V4l2Offers, OffersTheConvertibleFormatsAtTheirSizes)
{
    FakeV4l2Device camera;
    camera.formats = GetParam().formats;
    camera.stepwise = {16, 1920, 16, 16, 1080, 16};
    const auto source = V4l2Source::open("/dev/video9", camera);
    if (GetParam().offered.empty()) {
        EXPECT_EQ(source, nullptr);
        return;
    }
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->capabilities(), GetParam().offered);
    EXPECT_EQ(source->format(), GetParam().offered.front());
    EXPECT_DOUBLE_EQ(source->frameRate(), 30.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cameras, V4l2Offers,
    ::testing::Values(
        OfferCase{"YuyvAndMjpegAtBothSizes", kYuyvAndMjpeg, {kSmall, kLarge, kSmallJpeg, kLargeJpeg}},
        OfferCase{"StepwiseRangeGivesTheTwoSizesInside", {{V4L2_PIX_FMT_YUYV, {}}}, {kSmall, kLarge}},
        OfferCase{"NeitherFormatHandled", {{V4L2_PIX_FMT_H264, {{640, 480}}}, {V4L2_PIX_FMT_SGRBG8, {{640, 480}}}}, {}},
        OfferCase{"NoFormatAtAll", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(V4l2Source, ControlsAreTheProcessingAmplifier)
{
    FakeV4l2Device camera;
    camera.formats = kYuyvAndMjpeg;
    camera.controls = {{V4L2_CID_BRIGHTNESS, -64, 64, 0, 10}, {V4L2_CID_SATURATION, 0, 100, 5, 50}};
    const auto source = V4l2Source::open("/dev/video9", camera);
    ASSERT_NE(source, nullptr);

    const auto brightness = source->procAmpRange(VideoProcAmp_Brightness);
    ASSERT_TRUE(brightness);
    EXPECT_EQ(brightness->min, -64);
    EXPECT_EQ(brightness->max, 64);
    EXPECT_EQ(brightness->step, 1); // a step of 0 reads as 1
    EXPECT_EQ(brightness->defaultValue, 10);
    EXPECT_EQ(source->procAmp(VideoProcAmp_Brightness), 10);

    EXPECT_TRUE(source->setProcAmp(VideoProcAmp_Saturation, 75));
    EXPECT_EQ(camera.controlValue(V4L2_CID_SATURATION), 75);
    EXPECT_EQ(source->procAmp(VideoProcAmp_Saturation), 75);
    EXPECT_FALSE(source->setProcAmp(VideoProcAmp_Saturation, 101));
    EXPECT_EQ(camera.controlValue(V4L2_CID_SATURATION), 75);

    EXPECT_FALSE(source->procAmpRange(VideoProcAmp_Contrast)); // the camera lacks it
    EXPECT_FALSE(source->setProcAmp(VideoProcAmp_Contrast, 1));
    EXPECT_FALSE(source->procAmpRange(VideoProcAmp_ColorEnable)); // no V4L2 control for it
}

// The chosen size is negotiated, frames come through the queued buffers without the device's row
// padding, and stopping ends streaming and gives every buffer back.
TEST(V4l2Source, StreamsTheChosenSizeThroughTheBuffers)
{
    FakeV4l2Device camera;
    camera.formats = kYuyvAndMjpeg;
    camera.rowPadding = 64;
    const auto source = V4l2Source::open("/dev/video9", camera);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(source->setFormat(kLarge));

    Frames frames;
    source->startStream(frames.sink(), {}, {});
    ASSERT_TRUE(camera.streaming());
    EXPECT_EQ(camera.negotiated().width, 1280u);
    EXPECT_EQ(camera.negotiated().height, 1024u);
    EXPECT_EQ(camera.negotiated().pixelformat, uint32_t(V4L2_PIX_FMT_YUYV));
    // More frames than buffers: each buffer goes back to the queue once its frame is out.
    for (uint8_t fill = 1; fill <= 7; ++fill) {
        while (!camera.deliverFrame(fill))
            std::this_thread::sleep_for(1ms);
        ASSERT_TRUE(frames.waitFor(fill));
    }
    source->stopStream();

    EXPECT_FALSE(camera.streaming());
    EXPECT_EQ(camera.mappedBuffers(), 0u);
    ASSERT_EQ(frames.count(), 7u);
    EXPECT_EQ(frames.sizes_[0], frameBytes(kLarge));
    EXPECT_EQ(frames.indices_, (std::vector<uint64_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(frames.fills_, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

// Motion-JPEG frames arrive decoded; a corrupt one is dropped and the stream goes on.
TEST(V4l2Source, DecodesMotionJpegFrames)
{
    FakeV4l2Device camera;
    camera.formats = kYuyvAndMjpeg;
    const auto source = V4l2Source::open("/dev/video9", camera);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(source->setFormat(kLargeJpeg));
    std::mutex mutex;
    std::vector<std::vector<BYTE>> pictures;
    source->startStream(
        [&](const FrameView& frame) {
            std::lock_guard guard(mutex);
            pictures.emplace_back(frame.data, frame.data + frame.size);
        },
        {}, {});
    EXPECT_EQ(camera.negotiated().pixelformat, uint32_t(V4L2_PIX_FMT_MJPEG));

    std::vector<uint8_t> corrupt = jpegOf(1280, 1024, 0, 0, 255);
    corrupt.resize(corrupt.size() / 2);
    for (const auto& data : {jpegOf(1280, 1024, 200, 100, 40), corrupt, jpegOf(640, 480, 0, 0, 255),
                             jpegOf(1280, 1024, 30, 160, 90)})
        while (!camera.deliverFrame(data))
            std::this_thread::sleep_for(1ms);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (camera.queuedBuffers() < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    source->stopStream();

    ASSERT_EQ(pictures.size(), 2u) << "the corrupt and the wrong-sized picture are dropped";
    const std::size_t stride = DibStride(1280, 24);
    for (const auto& [picture, blue, green, red] :
         {std::tuple{pictures[0], 40, 100, 200}, std::tuple{pictures[1], 90, 160, 30}}) {
        ASSERT_EQ(picture.size(), frameBytes(kLargeJpeg));
        for (std::size_t offset : {std::size_t(0), 1023 * stride + 1279 * 3, 512 * stride + 640 * 3}) {
            EXPECT_NEAR(picture[offset], blue, 3);
            EXPECT_NEAR(picture[offset + 1], green, 3);
            EXPECT_NEAR(picture[offset + 2], red, 3);
        }
    }
}

// A stream that cannot start says so before startStream returns: a size the driver changes aborts it, a
// camera pulled out before the start is lost.
TEST(V4l2Source, AStreamThatCannotStartReportsWhy)
{
    for (const bool unplugged : {false, true}) {
        SCOPED_TRACE(unplugged ? "unplugged" : "size changed");
        FakeV4l2Device camera;
        camera.formats = kYuyvAndMjpeg;
        camera.refuseSizes = !unplugged;
        const auto source = V4l2Source::open("/dev/video9", camera);
        ASSERT_NE(source, nullptr);
        if (unplugged)
            camera.unplug();
        Frames frames;
        Failures failures;
        source->startStream(frames.sink(), {}, failures.report());
        EXPECT_EQ(failures.seen(),
                  std::vector<StreamFailure>{unplugged ? StreamFailure::DeviceLost : StreamFailure::Aborted});
        EXPECT_FALSE(camera.streaming());
        EXPECT_EQ(camera.mappedBuffers(), 0u);
        source->stopStream();
    }
}

// A source streaming from the scripted camera, its first frame delivered.
class V4l2Streaming : public ::testing::Test {
protected:
    void SetUp() override {
        camera_.formats = kYuyvAndMjpeg;
        source_ = V4l2Source::open("/dev/video9", camera_);
        ASSERT_NE(source_, nullptr);
        source_->startStream(frames_.sink(), {}, failures_.report());
        ASSERT_TRUE(camera_.deliverFrame(1));
        ASSERT_TRUE(frames_.waitFor(1));
    }

    // Stopping returns at once, no frame came after the first, and every buffer is given back.
    void expectPromptStop() {
        const auto before = std::chrono::steady_clock::now();
        source_->stopStream();
        EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
        EXPECT_EQ(frames_.count(), 1u);
        EXPECT_EQ(camera_.mappedBuffers(), 0u);
    }

    Frames frames_;
    Failures failures_;
    FakeV4l2Device camera_;
    std::shared_ptr<V4l2Source> source_; // last, so it stops before the camera and the frames go
};

// A stall is no failure: nothing is reported, before the stop or by it.
TEST_F(V4l2Streaming, AStalledCameraStillStops)
{
    std::this_thread::sleep_for(300ms);
    expectPromptStop();
    EXPECT_TRUE(failures_.seen().empty());
}

// A camera pulled out while streaming (ENODEV) is reported lost, any other failing call aborts the stream;
// either way once, the streaming thread ends instead of polling the dead device, and the source can still
// be stopped and destroyed.
class V4l2FailingMidStream : public V4l2Streaming, public ::testing::WithParamInterface<int> {};

TEST_P(V4l2FailingMidStream, EndsTheStreamAndSaysWhy)
{
    const StreamFailure expected = GetParam() == ENODEV ? StreamFailure::DeviceLost : StreamFailure::Aborted;
    camera_.failCalls(GetParam());
    ASSERT_TRUE(failures_.waitForOne());
    const long calls = camera_.calls();
    std::this_thread::sleep_for(150ms); // longer than the stream's poll period
    EXPECT_EQ(camera_.calls(), calls) << "the streaming thread still calls the failed device";
    expectPromptStop();
    EXPECT_EQ(failures_.seen(), std::vector<StreamFailure>{expected});
}

INSTANTIATE_TEST_SUITE_P(Errors, V4l2FailingMidStream, ::testing::Values(ENODEV, EIO),
                         [](const auto& info) { return std::string(info.param == ENODEV ? "Unplugged" : "IoError"); });

} // namespace
} // namespace platform::devices::testing
