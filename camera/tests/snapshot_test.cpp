// BMP and JPEG snapshots on the simulated camera and a stepped clock: handshakes, result codes, the files
// as foreign tools read them, the bounded wait, and refusals that leave nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>

#include <testing/picture_tools.h>
#include <testing/stepped_frames.h>
#include <win32/clock.h>

#include "../../jpeg/tests/support/foreign_tools.h"
#include "camera_fixture.h"
#include "snapshot_files.h"

namespace {

using platform::testing::djpegRgb;
using platform::testing::largestDifference;
using platform::testing::magickRgb;
using platform::testing::meanDifference;
using platform::testing::topDownRgb;
using testsupport::haveTool;
using testsupport::readFileBytes;
using testsupport::runCommand;
using testsupport::TempFolder;

constexpr int kRgb24Format = 4;

DWORD ReadDword(const std::vector<BYTE>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<DWORD>(bytes[at + 3]) << 24;
}

class Snapshots : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        clock_ = dynamic_cast<platform::SteppedClock*>(&platform::activeClock());
        ASSERT_NE(clock_, nullptr);
    }
    void TearDown() override {
        frames_.reset();
        CameraTest::TearDown();
    }
    // Opens the camera at width x height in RGB24 and starts the preview without drawing.
    KZ_HANDLE Running(int width, int height) {
        KZ_HANDLE h = OpenAt(width, height);
        KZ_SetParam(h, KZ_PARAM_FORMAT, kRgb24Format);
        EXPECT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
        return h;
    }
    // From now on each 200 ms the caller sleeps brings one frame, as a live stream at 5 fps would.
    void StreamWhileWaiting() {
        frames_ = std::make_unique<platform::testing::SteppedFrames>(*clock_, 200,
                                                                     [this] { Camera().deliverFrames(1); });
    }
    // The frame the last snapshot was taken from: the only one delivered since streaming began.
    std::vector<BYTE> LastFrame() {
        EXPECT_EQ(frames_->delivered(), 1);
        const auto frames = Camera().lastFrames();
        return frames.empty() ? std::vector<BYTE>{} : frames.back().bytes;
    }
    std::vector<std::string> FolderContents() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.file(""))) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    TempFolder folder_;
    platform::SteppedClock* clock_ = nullptr;
    std::unique_ptr<platform::testing::SteppedFrames> frames_;
};

struct FrameSize {
    const char* name;
    int width;
    int height;
};

class BmpSnapshot : public Snapshots, public ::testing::WithParamInterface<FrameSize> {};

// The file is the 54-byte header of the running format followed by the frame exactly as delivered, and
// ImageMagick reads it as that picture.
TEST_P(BmpSnapshot, FileIsTheFrameAsDelivered) {
    const FrameSize size = GetParam();
    KZ_HANDLE h = Running(size.width, size.height);
    StreamWhileWaiting();
    const std::string path = folder_.file("snap.bmp");
    ASSERT_EQ(KZ_CaptureToBmp(h, path.c_str()), KZ_OK);
    const std::vector<BYTE> frame = LastFrame();
    const std::size_t image = static_cast<std::size_t>(size.width) * size.height * 3;
    ASSERT_EQ(frame.size(), image);

    const std::vector<BYTE> file = readFileBytes(path);
    ASSERT_EQ(file.size(), image + 54);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(ReadDword(file, 2), image + 54);
    EXPECT_EQ(ReadDword(file, 10), 54u);
    EXPECT_EQ(ReadDword(file, 14), 40u);
    EXPECT_EQ(ReadDword(file, 18), DWORD(size.width));
    EXPECT_EQ(ReadDword(file, 22), DWORD(size.height));
    EXPECT_EQ(file[28], 24);
    EXPECT_EQ(ReadDword(file, 30), 0u);
    EXPECT_EQ(ReadDword(file, 34), image);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), file.begin() + 54));
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"snap.bmp"});

    if (!haveTool("convert")) {
        GTEST_SKIP() << "ImageMagick is not installed";
    }
    EXPECT_EQ(magickRgb(path), topDownRgb(frame.data(), size.width, size.height, size.width * 3));
}

INSTANTIATE_TEST_SUITE_P(Sizes, BmpSnapshot,
                         ::testing::Values(FrameSize{"Vga", 640, 480}, FrameSize{"Sxga", 1280, 1024}),
                         [](const auto& info) { return std::string(info.param.name); });

// KZ_CaptureToBuf copies the next frame, as delivered, into the caller's buffer.
TEST_F(Snapshots, BufferCopyIsTheNextFrame) {
    KZ_HANDLE h = Running(640, 480);
    StreamWhileWaiting();
    std::vector<BYTE> buffer(640 * 480 * 3);
    ASSERT_EQ(KZ_CaptureToBuf(h, buffer.data()), KZ_OK);
    EXPECT_EQ(buffer, LastFrame());
}

// The JPEG decodes to the frame within the losses of quality 70; the quality written is the one asked
// for, clamped to 0..100 (libjpeg itself takes 0 as 1).
TEST_F(Snapshots, JpegDecodesCloseToTheFrameAtTheClampedQuality) {
    if (!haveTool("djpeg") || !haveTool("identify")) {
        GTEST_SKIP() << "djpeg or ImageMagick is not installed";
    }
    KZ_HANDLE h = Running(640, 480);
    StreamWhileWaiting();
    const std::string path = folder_.file("snap.jpg");
    ASSERT_EQ(KZ_CaptureToJpg(h, path.c_str(), 70), KZ_OK);
    const std::vector<BYTE> frame = LastFrame();
    int width = 0;
    int height = 0;
    const std::vector<BYTE> decoded = djpegRgb(path, width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    const std::vector<BYTE> expected = topDownRgb(frame.data(), 640, 480, 640 * 3);
    // Quality 70 on the 8-pixel chart loses about 4 levels a channel; a flipped or unswapped picture
    // differs by about 60.
    EXPECT_LT(meanDifference(decoded, expected), 6.0);

    const struct {
        int asked;
        const char* written;
    } qualities[] = {{70, "70"}, {150, "100"}, {-5, "1"}};
    for (const auto& quality : qualities) {
        ASSERT_EQ(KZ_CaptureToJpg(h, path.c_str(), quality.asked), KZ_OK);
        bool ok = false;
        EXPECT_EQ(runCommand("identify -format %Q '" + path + "'", ok), quality.written) << quality.asked;
    }
}

// Without frames each wait ends after 5 s of polling with a failure, writes nothing, and the withdrawn
// request does not keep the next snapshot from working.
TEST_F(Snapshots, WaitWithoutFramesTimesOutAndLeavesNoFile) {
    KZ_HANDLE h = Running(640, 480);
    const std::string bmp = folder_.file("late.bmp");
    const std::string jpg = folder_.file("late.jpg");
    const uint64_t start = clock_->nowMs();
    EXPECT_EQ(KZ_CaptureToBmp(h, bmp.c_str()), KZ_ERR_FAILED);
    const uint64_t waited = clock_->nowMs() - start;
    EXPECT_GE(waited, 4800u);
    EXPECT_LE(waited, 5200u);
    EXPECT_EQ(KZ_CaptureToJpg(h, jpg.c_str(), 70), KZ_ERR_FAILED);
    std::vector<BYTE> buffer(640 * 480 * 3);
    EXPECT_EQ(KZ_CaptureToBuf(h, buffer.data()), KZ_ERR_FAILED);
    EXPECT_TRUE(FolderContents().empty());

    StreamWhileWaiting();
    EXPECT_EQ(KZ_CaptureToBmp(h, bmp.c_str()), KZ_OK);
    EXPECT_EQ(KZ_CaptureToJpg(h, jpg.c_str(), 70), KZ_OK);
}

// Each refusal comes before any request: its code at once (no polling), no file, no box.
TEST_F(Snapshots, RefusalsMakeNoRequestAndNoFile) {
    KZ_HANDLE h = OpenAt(640, 480);
    KZ_SetParam(h, KZ_PARAM_FORMAT, kRgb24Format);
    const std::string bmp = folder_.file("x.bmp");
    const std::string jpg = folder_.file("x.jpg");
    std::vector<BYTE> buffer(640 * 480 * 3);
    const struct {
        const char* name;
        bool previewing;
        std::function<int()> call;
        int expected;
    } cases[] = {
        {"bmp, preview stopped", false, [&] { return KZ_CaptureToBmp(h, bmp.c_str()); }, KZ_ERR_FAILED},
        {"jpg, preview stopped", false, [&] { return KZ_CaptureToJpg(h, jpg.c_str(), 70); }, KZ_ERR_NOT_PREVIEWING},
        {"jpg null path, preview stopped", false, [&] { return KZ_CaptureToJpg(h, nullptr, 70); },
         KZ_ERR_NOT_PREVIEWING},
        {"buf, preview stopped", false, [&] { return KZ_CaptureToBuf(h, buffer.data()); }, KZ_ERR_FAILED},
        {"buf null, preview stopped", false, [&] { return KZ_CaptureToBuf(h, nullptr); }, KZ_ERR_MISSING},
        {"bmp null path", true, [&] { return KZ_CaptureToBmp(h, nullptr); }, KZ_ERR_FAILED},
        {"buf null", true, [&] { return KZ_CaptureToBuf(h, nullptr); }, KZ_ERR_MISSING},
        {"jpg null path", true, [&] { return KZ_CaptureToJpg(h, nullptr, 70); }, KZ_ERR_MISSING},
    };
    for (const auto& c : cases) {
        if (c.previewing) {
            ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
        } else {
            KZ_Stop(h);
        }
        const uint64_t start = clock_->nowMs();
        EXPECT_EQ(c.call(), c.expected) << c.name;
        EXPECT_EQ(clock_->nowMs(), start) << c.name << ": no wait";
    }
    EXPECT_TRUE(FolderContents().empty());
    EXPECT_TRUE(Boxes().calls().empty());
}

// A folder that does not exist: the BMP snapshot fails silently, the JPEG one after the writer's box.
TEST_F(Snapshots, MissingFolderFails) {
    KZ_HANDLE h = Running(640, 480);
    StreamWhileWaiting();
    const std::string bmp = folder_.file("none/x.bmp");
    const std::string jpg = folder_.file("none/x.jpg");
    EXPECT_EQ(KZ_CaptureToBmp(h, bmp.c_str()), KZ_ERR_FAILED);
    EXPECT_TRUE(Boxes().calls().empty());
    EXPECT_EQ(KZ_CaptureToJpg(h, jpg.c_str(), 70), KZ_ERR_FAILED);
    const auto boxes = Boxes().calls();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "JpegFile :\nCan't open " + jpg + "\n");
    EXPECT_EQ(boxes[0].caption, "Error");
}

// Limits the size of files this process writes while it lives; writes beyond fail instead of raising
// SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

// A BMP that cannot be written whole (the disk fills up) fails and leaves the earlier file at that path
// as it was, with no partial file beside it.
TEST_F(Snapshots, IncompleteBmpFailsAndKeepsTheEarlierFile) {
    KZ_HANDLE h = Running(640, 480);
    StreamWhileWaiting();
    const std::string path = folder_.file("snap.bmp");
    ASSERT_EQ(KZ_CaptureToBmp(h, path.c_str()), KZ_OK);
    const std::vector<BYTE> earlier = readFileBytes(path);
    {
        FileSizeLimit limit(100000);
        EXPECT_EQ(KZ_CaptureToBmp(h, path.c_str()), KZ_ERR_FAILED);
    }
    EXPECT_EQ(readFileBytes(path), earlier);
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"snap.bmp"});
}

// A frame whose rows carry padding (5 pixels: 15 bytes and one pad byte): the BMP keeps the padded rows,
// the JPEG is written from packed rows. The top half is dark and the bottom half light, and each pad
// byte is white, so a JPEG taken at the padded stride shows light streaks and a flipped one the wrong half.
TEST(SnapshotFiles, PaddedRowsAreWrittenAsPicture) {
    if (!haveTool("convert") || !haveTool("djpeg")) {
        GTEST_SKIP() << "ImageMagick or djpeg is not installed";
    }
    constexpr int kWidth = 5;
    constexpr int kHeight = 16;
    constexpr std::size_t kStride = 16;
    std::vector<BYTE> rows(kStride * kHeight, 255);
    for (int y = 0; y < kHeight; ++y) {
        // Bottom-up: the first eight stored rows are the bottom half.
        const BYTE value = y < kHeight / 2 ? 200 : 50;
        std::memset(rows.data() + y * kStride, value, kWidth * 3);
    }
    BITMAPINFOHEADER format{};
    format.biSize = 40;
    format.biWidth = kWidth;
    format.biHeight = kHeight;
    format.biPlanes = 1;
    format.biBitCount = 24;
    format.biSizeImage = kStride * kHeight;

    TempFolder folder;
    const std::string bmp = folder.file("padded.bmp");
    ASSERT_TRUE(korvib::WriteBmpSnapshot(bmp.c_str(), format, rows.data()));
    const std::vector<BYTE> picture = topDownRgb(rows.data(), kWidth, kHeight, kStride);
    EXPECT_EQ(magickRgb(bmp), picture);

    const std::string jpg = folder.file("padded.jpg");
    ASSERT_TRUE(korvib::WriteJpegSnapshot(jpg.c_str(), format, rows.data(), 100));
    int width = 0;
    int height = 0;
    const std::vector<BYTE> decoded = djpegRgb(jpg, width, height);
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    EXPECT_LE(largestDifference(decoded, picture), 8);
}

} // namespace
