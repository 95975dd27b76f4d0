// The dark frame: which pixels are defects, how a frame's defective pixels are replaced, the 2000-defect
// limit with its box, and KZ_Calibration's switches for every frame or snapshots only on the live camera.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "dib_image.h"
#include "overlay_fixture.h"

namespace {

using korvib::DibImage;
using testbmp::BmpBytes;
using testbmp::Picture;

constexpr BYTE kHot = 200;

// A 5 x 3 frame whose every pixel differs, with hot pixels where the dark frame has defects. Row 0: a run
// in columns 2 and 3; row 1: a run at the start and a defect after a (64, 64, 64) pixel; row 2: all
// defects. Defects are marked by a single byte above 64 in each of the three channels.
TEST(DibImageDarkFrame, DefectsTakeTheNearestGoodPixelOfTheirRow) {
    Picture dark(5, 3, 10, 10, 10);
    dark.Set(2, 0, 65, 0, 0);
    dark.Set(3, 0, 0, 65, 0);
    dark.Set(0, 1, 0, 0, 65);
    dark.Set(1, 1, 255, 255, 255);
    dark.Set(3, 1, 64, 64, 64);
    dark.Set(4, 1, 0, 90, 0);
    for (int column = 0; column < 5; ++column) {
        dark.Set(column, 2, 100, 100, 100);
    }
    testsupport::TempFolder folder;
    const std::string path = folder.file("dark.bmp");
    testbmp::SaveFile(path, BmpBytes(dark));
    DibImage image;
    ASSERT_TRUE(image.LoadBmp(path.c_str()));
    ASSERT_TRUE(image.CheckDarkFrame());

    Picture frame(5, 3, 0, 0, 0);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 5; ++column) {
            const BYTE value = static_cast<BYTE>(row * 50 + column * 10);
            frame.Set(column, row, value, value + 1, value + 2);
        }
        frame.rows[row * frame.stride + 15] = 0x77; // padding
    }
    Picture expected = frame;
    // Row 0: 2 and 3 take 1.
    expected.Set(2, 0, 10, 11, 12);
    expected.Set(3, 0, 10, 11, 12);
    // Row 1: 0 and 1 take 2; 3 is no defect; 4 takes 3.
    expected.Set(0, 1, 70, 71, 72);
    expected.Set(1, 1, 70, 71, 72);
    expected.Set(4, 1, 80, 81, 82);
    for (const auto& [column, row] : {std::pair{2, 0}, {3, 0}, {0, 1}, {1, 1}, {4, 1}, {0, 2}, {2, 2}}) {
        frame.Set(column, row, kHot, kHot, kHot);
    }
    // Row 2 has no good pixel: what it holds stays.
    expected.Set(0, 2, kHot, kHot, kHot);
    expected.Set(2, 2, kHot, kHot, kHot);

    image.ApplyDarkFrame(frame.rows.data());
    EXPECT_EQ(frame.rows, expected.rows);
}

struct LimitCase {
    int defects;
    bool accepted;
};

// Up to 2000 defects are accepted, 2001 are not; (64, 64, 64) is no defect, one channel at 65 is.
TEST(DibImageDarkFrame, MoreThan2000DefectsAreRefused) {
    const LimitCase cases[] = {{0, true}, {2000, true}, {2001, false}};
    for (const LimitCase& c : cases) {
        Picture dark(100, 50, 64, 64, 64);
        for (int defect = 0; defect < c.defects; ++defect) {
            const BYTE channel[3] = {defect % 3 == 0 ? BYTE(65) : BYTE(0),
                                     defect % 3 == 1 ? BYTE(65) : BYTE(0),
                                     defect % 3 == 2 ? BYTE(65) : BYTE(0)};
            dark.Set(defect % 100, defect / 100, channel[0], channel[1], channel[2]);
        }
        testsupport::TempFolder folder;
        const std::string path = folder.file("dark.bmp");
        testbmp::SaveFile(path, BmpBytes(dark));
        DibImage image;
        ASSERT_TRUE(image.LoadBmp(path.c_str()));
        EXPECT_EQ(image.CheckDarkFrame(), c.accepted) << c.defects;
    }
}

class DarkFrame : public OverlayTest {
protected:
    // Defects: a single pixel, a run of three, one in the first column and a corner.
    struct Spot {
        int column;
        int row;
    };
    static constexpr Spot kSpots[] = {{300, 200}, {400, 100}, {401, 100}, {402, 100}, {0, 50}, {639, 479}};

    // What the covered lens shows: the black level with a little noise, plus hot pixels at kSpots.
    std::string DarkFile() {
        Camera().setLightLevel(0);
        Camera().setBlackLevel(12);
        const platform::devices::CapturedFrame covered =
            Camera().renderNow({platform::devices::PixelFormat::Rgb24, kWidth, kHeight});
        Camera().setLightLevel(1);
        Camera().setBlackLevel(0);
        Picture dark(kWidth, kHeight, 0, 0, 0);
        dark.rows = covered.bytes;
        for (const Spot& spot : kSpots) {
            dark.Set(spot.column, spot.row, kHot, kHot, kHot);
        }
        return File("dark.bmp", BmpBytes(dark));
    }

    // Each defect of `frame` holds the pixel its rule names in `raw`; every other pixel is raw's.
    static void ExpectCorrected(const std::vector<BYTE>& frame, const std::vector<BYTE>& raw) {
        ASSERT_EQ(frame.size(), raw.size());
        const Picture layout(kWidth, kHeight, 0, 0, 0);
        std::vector<BYTE> expected = raw;
        const std::pair<Spot, Spot> takes[] = {{{300, 200}, {299, 200}}, {{400, 100}, {399, 100}},
                                               {{401, 100}, {399, 100}}, {{402, 100}, {399, 100}},
                                               {{0, 50}, {1, 50}},       {{639, 479}, {638, 479}}};
        for (const auto& [defect, source] : takes) {
            std::memcpy(expected.data() + layout.At(defect.column, defect.row),
                        raw.data() + layout.At(source.column, source.row), 3);
        }
        EXPECT_EQ(frame, expected);
    }

    void ExpectOneFailureBox() {
        const auto boxes = Boxes().calls();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].owner, nullptr);
        EXPECT_EQ(boxes[0].text, "黑平衡操作失败!");
        EXPECT_EQ(boxes[0].caption, "Veltrane USB 2820 Video");
        EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK));
    }
};

// On every frame the defects are corrected; the empty path switches the correction off and on again
// without reloading.
TEST_F(DarkFrame, CorrectsEveryFrameAndSwitches) {
    ASSERT_EQ(KZ_Calibration(h_, DarkFile().c_str(), 1, 0), KZ_OK);
    Deliver();
    ExpectCorrected(Seen(), Raw());

    ASSERT_EQ(KZ_Calibration(h_, "", 0, 0), KZ_OK);
    Deliver();
    EXPECT_EQ(Seen(), Raw());

    ASSERT_EQ(KZ_Calibration(h_, "", 1, 0), KZ_OK);
    Deliver();
    ExpectCorrected(Seen(), Raw());
    EXPECT_TRUE(Boxes().calls().empty());
}

// For snapshots only: the BMP snapshot and the frame that served it are corrected, a buffer copy and the
// frames without a snapshot are not.
TEST_F(DarkFrame, SnapshotsOnlyCorrectsTheSnapshotFrame) {
    ASSERT_EQ(KZ_Calibration(h_, DarkFile().c_str(), 0, 1), KZ_OK);
    Deliver();
    EXPECT_EQ(Seen(), Raw());

    StreamWhileWaiting();
    const std::string path = folder_.file("snap.bmp");
    ASSERT_EQ(KZ_CaptureToBmp(h_, path.c_str()), KZ_OK);
    const std::vector<BYTE> file = testsupport::readFileBytes(path);
    ASSERT_EQ(file.size(), Raw().size() + 54);
    ExpectCorrected(std::vector<BYTE>(file.begin() + 54, file.end()), Raw());
    ExpectCorrected(Seen(), Raw());

    std::vector<BYTE> copy(Raw().size());
    ASSERT_EQ(KZ_CaptureToBuf(h_, copy.data()), KZ_OK);
    EXPECT_EQ(copy, Raw());
}

struct CalibrationStep {
    const char* name;
    std::string file; // "-" for a null path
    int allFrames;
    int result;
    bool box;
    bool corrected; // the next frame is corrected
};

// Result codes and boxes of KZ_Calibration in sequence: a refused file leaves no dark frame behind, even
// with the switch on; a dark frame of another size, or of no rows, loads but is not applied.
TEST_F(DarkFrame, CallsReplaceOrRefuseTheDarkFrame) {
    const std::string good = DarkFile();
    const std::string small = File("small.bmp", BmpBytes(Picture(320, 240, 0, 0, 0)));
    const std::string grey =
        File("grey.bmp", BmpBytes(kWidth, kHeight, 8, std::vector<BYTE>(kWidth * kHeight, 0)));
    const std::string flat = File("flat.bmp", BmpBytes(kWidth, 0, 24, {}));
    std::vector<BYTE> cutBytes = testsupport::readFileBytes(good);
    ASSERT_FALSE(cutBytes.empty());
    cutBytes.pop_back();
    const std::string cut = File("cut.bmp", cutBytes);
    const CalibrationStep steps[] = {
        {"switch on without a dark frame", "", 1, KZ_OK, false, false},
        {"load", good, 1, KZ_OK, false, true},
        {"missing file", folder_.file("missing.bmp"), 1, KZ_ERR_FAILED, true, false},
        {"reload", good, 1, KZ_OK, false, true},
        {"8-bit file is not walked as 24 bits", grey, 1, KZ_ERR_FAILED, true, false},
        {"reload", good, 1, KZ_OK, false, true},
        {"height 0 loads", flat, 1, KZ_OK, false, false},
        {"reload", good, 1, KZ_OK, false, true},
        {"file cut short", cut, 1, KZ_ERR_FAILED, true, false},
        {"reload", good, 1, KZ_OK, false, true},
        {"null path changes nothing", "-", 0, KZ_ERR_FAILED, false, true},
        {"another size loads", small, 1, KZ_OK, false, false},
        {"reload", good, 1, KZ_OK, false, true},
    };
    for (const CalibrationStep& step : steps) {
        const std::size_t boxesBefore = Boxes().calls().size();
        const char* path = step.file == "-" ? nullptr : step.file.c_str();
        EXPECT_EQ(KZ_Calibration(h_, path, step.allFrames, 0), step.result) << step.name;
        EXPECT_EQ(Boxes().calls().size(), boxesBefore + (step.box ? 1 : 0)) << step.name;
        Deliver();
        if (step.corrected) {
            ExpectCorrected(Seen(), Raw());
        } else {
            EXPECT_EQ(Seen(), Raw()) << step.name;
        }
    }
}

// The box of a refused dark frame: no owner, the system's text, the maker's and the model's name.
TEST_F(DarkFrame, RefusalShowsTheBox) {
    EXPECT_EQ(KZ_Calibration(h_, folder_.file("missing.bmp").c_str(), 1, 1), KZ_ERR_FAILED);
    ExpectOneFailureBox();
}

// Spots of a dark frame for frames that stream while it is replaced: none in the first column.
constexpr std::pair<int, int> kStreamSpots[] = {{300, 200}, {100, 50}, {500, 400}, {639, 479}, {320, 10}};

// Frame callback: counts the frames on which some but not all spots hold their left neighbour.
struct SpotWatch {
    std::atomic<int> frames{0};
    std::atomic<int> partly{0};

    static void __stdcall Look(void* user, BYTE* frame) {
        auto* watch = static_cast<SpotWatch*>(user);
        const Picture layout(OverlayTest::kWidth, OverlayTest::kHeight, 0, 0, 0);
        int corrected = 0;
        for (const auto& [column, row] : kStreamSpots) {
            const BYTE* pixel = frame + layout.At(column, row);
            corrected += std::memcmp(pixel, pixel - 3, 3) == 0 ? 1 : 0;
        }
        const int spots = static_cast<int>(std::size(kStreamSpots));
        watch->partly.fetch_add(corrected != 0 && corrected != spots ? 1 : 0);
        watch->frames.fetch_add(1);
    }
};

// A dark frame reloaded over and over while frames stream: each frame is corrected by a whole dark frame
// or by none, never by one still being read or checked.
TEST_F(CameraTest, DarkFrameReloadedWhileFramesStreamIsWholeOrAbsent) {
    Camera().setSteppedMode(false);
    ASSERT_TRUE(Camera().setFrameRate(60));
    Camera().setUniformFrames(true);
    // Strong noise: a pixel equal to its neighbour in all three bytes by chance is rare.
    ASSERT_TRUE(Camera().setNoise(40.0, 7));
    Picture dark(OverlayTest::kWidth, OverlayTest::kHeight, 10, 10, 10);
    for (const auto& [column, row] : kStreamSpots) {
        dark.Set(column, row, kHot, kHot, kHot);
    }
    testsupport::TempFolder folder;
    const std::string path = folder.file("dark.bmp");
    testbmp::SaveFile(path, BmpBytes(dark));
    KZ_HANDLE h = OpenAt(OverlayTest::kWidth, OverlayTest::kHeight);
    KZ_SetParam(h, KZ_PARAM_FORMAT, 4);
    SpotWatch watch;
    ASSERT_EQ(KZ_SetFrameCallBack(h, &SpotWatch::Look, &watch), KZ_OK);
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    for (int call = 0; call < 4000 && watch.frames.load() < 40; ++call) {
        ASSERT_EQ(KZ_Calibration(h, path.c_str(), 1, 0), KZ_OK);
    }
    EXPECT_EQ(KZ_Stop(h), KZ_OK);
    EXPECT_GE(watch.frames.load(), 40);
    EXPECT_EQ(watch.partly.load(), 0);
}

} // namespace
