// Auto focus: the region, brackets, grey picture and focus measure; the debug bitmap; the climb and the
// sweep on the simulated camera with its stepped clock, and their ends when the motor fails.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <win32/dib.h>

#include "auto_focus_bmp.h"
#include "auto_focus_image.h"
#include "camera_fixture.h"
#include "device_handle.h"

namespace {

namespace fs = std::filesystem;
using korvib::Region;
using platform::devices::FaultRule;

// 24-bit DIB rows of one grey level.
std::vector<BYTE> GreyFrame(int width, int height, BYTE level) {
    return std::vector<BYTE>(static_cast<std::size_t>(DibStride(width, 24)) * height, level);
}

bool IsGreen(const std::vector<BYTE>& frame, int width, int row, int column) {
    const BYTE* pixel = &frame[static_cast<std::size_t>(row) * DibStride(width, 24) + column * 3];
    return pixel[0] == 0 && pixel[1] == 255 && pixel[2] == 0;
}

std::vector<BYTE> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

DWORD Dword(const std::vector<BYTE>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<DWORD>(bytes[at + 3]) << 24;
}

TEST(FocusRegion, IsTheCentredQuarterOfTheCaptureSize) {
    struct Case {
        int width, height;
        Region expected;
    };
    const Case cases[] = {
        {1280, 1024, {480, 384, 320, 256}}, {640, 480, {240, 180, 160, 120}}, {13, 9, {5, 3, 3, 2}}};
    for (const Case& c : cases) {
        Region region{};
        ASSERT_TRUE(korvib::FocusRegionOf(c.width, c.height, &region));
        EXPECT_EQ(region.left, c.expected.left) << c.width;
        EXPECT_EQ(region.top, c.expected.top) << c.width;
        EXPECT_EQ(region.width, c.expected.width) << c.width;
        EXPECT_EQ(region.height, c.expected.height) << c.width;
    }
    Region region{};
    EXPECT_FALSE(korvib::FocusRegionOf(3, 480, &region));
    EXPECT_FALSE(korvib::FocusRegionOf(640, 0, &region));
}

// The measure sums four neighbour differences per inner pixel: a flat picture gives 0, one bright pixel
// its own four differences plus one for each neighbour, a picture too thin for an inner pixel 0.
TEST(FocusValue, SumsNeighbourDifferencesOfInnerPixels) {
    std::vector<BYTE> grey(7 * 5, 90);
    EXPECT_EQ(korvib::FocusValue(grey.data(), 7, 5), 0u);
    std::fill(grey.begin(), grey.end(), 0);
    grey[2 * 7 + 3] = 10;
    EXPECT_EQ(korvib::FocusValue(grey.data(), 7, 5), 80u);
    EXPECT_EQ(korvib::FocusValue(grey.data(), 2, 17), 0u);
    EXPECT_EQ(korvib::FocusValue(grey.data(), 17, 2), 0u);
}

// A finely checkered picture large enough to pass 2^32 must not wrap round to a small value.
TEST(FocusValue, SaturatesInsteadOfWrapping) {
    constexpr int kSide = 2100;
    std::vector<BYTE> grey(static_cast<std::size_t>(kSide) * kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            grey[static_cast<std::size_t>(y) * kSide + x] = (x + y) % 2 == 0 ? 255 : 0;
        }
    }
    EXPECT_EQ(korvib::FocusValue(grey.data(), kSide, kSide), UINT32_MAX);
}

// Brackets mark the ends of the region's first and last rows and, in its upper and lower quarters, its
// first column and the column just right of it; nothing else changes. The grey picture is taken after
// them, rows in the frame's order, so a uniform frame measures nonzero.
TEST(FocusBrackets, MarkTheRegionCornersAndEnterTheGreyPicture) {
    constexpr int kWidth = 66; // odd stride padding: 198 bytes per row, padded to 200
    constexpr int kHeight = 48;
    std::vector<BYTE> frame = GreyFrame(kWidth, kHeight, 100);
    Region region{};
    ASSERT_TRUE(korvib::FocusRegionOf(kWidth, kHeight, &region)); // 16 x 12 at (25, 18)
    korvib::DrawFocusBrackets(frame.data(), kWidth, region);

    int green = 0;
    for (int row = 0; row < kHeight; ++row) {
        for (int column = 0; column < kWidth; ++column) {
            green += IsGreen(frame, kWidth, row, column) ? 1 : 0;
        }
    }
    // Rows 0 and 11: columns 0-3 and 12-15; rows 1, 2, 10: columns 0 and 16.
    EXPECT_EQ(green, 2 * 8 + 3 * 2);
    const int top = region.top;
    const int left = region.left;
    EXPECT_TRUE(IsGreen(frame, kWidth, top, left + 3));
    EXPECT_FALSE(IsGreen(frame, kWidth, top, left + 4));
    EXPECT_TRUE(IsGreen(frame, kWidth, top, left + 12));
    EXPECT_TRUE(IsGreen(frame, kWidth, top + 2, left + 16));
    EXPECT_FALSE(IsGreen(frame, kWidth, top + 3, left));
    EXPECT_FALSE(IsGreen(frame, kWidth, top + 9, left));
    EXPECT_TRUE(IsGreen(frame, kWidth, top + 10, left));
    EXPECT_TRUE(IsGreen(frame, kWidth, top + 11, left + 15));

    // One coloured pixel checks the weights: (6 * 200 + 3 * 50 + 7) / 10 = 135.
    BYTE* pixel = &frame[static_cast<std::size_t>(top + 5) * DibStride(kWidth, 24) + (left + 6) * 3];
    pixel[0] = 7;
    pixel[1] = 200;
    pixel[2] = 50;
    std::vector<BYTE> grey(static_cast<std::size_t>(region.width) * region.height);
    korvib::ConvertRoiToGray(frame.data(), kWidth, region, grey.data());
    EXPECT_EQ(grey[5 * region.width + 6], 135);
    EXPECT_EQ(grey[0], 153);                    // bracket: 6 * 255 / 10
    EXPECT_EQ(grey[4 * region.width + 4], 100); // untouched grey
    pixel[1] = 100;
    pixel[0] = pixel[2] = 100;
    korvib::ConvertRoiToGray(frame.data(), kWidth, region, grey.data());
    EXPECT_GT(korvib::FocusValue(grey.data(), region.width, region.height), 0u);
}

// The grey bitmap: headers as other readers expect them, an identity palette and rows padded to four bytes.
TEST(GrayBmp, WritesHeadersPaletteAndPaddedRows) {
    const fs::path path = fs::temp_directory_path() / ("korvib_gray_bmp_test_" + std::to_string(getpid()) + ".bmp");
    const BYTE pixels[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}; // 5 x 3
    ASSERT_EQ(korvib::WriteGrayBmp(path.c_str(), pixels, 5, 3), 0);
    const std::vector<BYTE> bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), 1078u + 8 * 3);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Dword(bytes, 2), bytes.size());
    EXPECT_EQ(Dword(bytes, 6), 0u);
    EXPECT_EQ(Dword(bytes, 10), 1078u);
    EXPECT_EQ(Dword(bytes, 14), 40u);
    EXPECT_EQ(Dword(bytes, 18), 5u);
    EXPECT_EQ(Dword(bytes, 22), 3u);
    EXPECT_EQ(bytes[26] | bytes[27] << 8, 1);
    EXPECT_EQ(bytes[28] | bytes[29] << 8, 8);
    for (std::size_t at = 30; at < 54; at += 4) {
        EXPECT_EQ(Dword(bytes, at), 0u) << at;
    }
    for (DWORD i : {0u, 77u, 255u}) {
        EXPECT_EQ(Dword(bytes, 54 + 4 * i), i * 0x01010101u) << i;
    }
    const std::vector<BYTE> rows(bytes.begin() + 1078, bytes.end());
    const std::vector<BYTE> expected = {1,  2, 3, 4, 5,  0,  0,  0,  6,  7, 8, 9,
                                        10, 0, 0, 0, 11, 12, 13, 14, 15, 0, 0, 0};
    EXPECT_EQ(rows, expected);

    // ImageMagick reads it as a 5 x 3 grey picture whose bottom-left pixel is the first byte.
    const std::string command =
        "identify -format '%w %h %[fx:int(p{0,2}.r*255+0.5)]' " + path.string() + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[64] = {};
    ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
    pclose(pipe);
    EXPECT_STREQ(line, "5 3 1");
    fs::remove(path);

    EXPECT_EQ(korvib::WriteGrayBmp("/nonexistent-folder/x.bmp", pixels, 5, 3), 1);
}

// Camera tests at 640 x 480 with the home folder (c:\) moved to a fresh temporary folder, named with the
// process id so that two builds' runs at the same time keep their pictures apart.
class AutoFocusTest : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        const char* home = std::getenv("HOME");
        savedHome_ = home != nullptr ? home : "";
        home_ = fs::temp_directory_path() /
                ("korvib_af_" + std::to_string(getpid()) + "_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(home_);
        fs::create_directories(home_);
        setenv("HOME", home_.c_str(), 1);
    }
    void TearDown() override {
        CameraTest::TearDown();
        setenv("HOME", savedHome_.c_str(), 1);
        fs::remove_all(home_);
    }
    // Opens at 640 x 480 with the lens at `start` and the sharpest position at `peak`, and starts the
    // preview.
    void StartAt(double start, double peak) {
        ASSERT_NE(OpenAt(640, 480), nullptr);
        Camera().setLensPosition(start);
        Camera().setFocusPeak(peak);
        ASSERT_EQ(KZ_Start(handle_, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
        Camera().clearLogs();
    }
    const korvib::AutoFocus& Focus() const { return korvib::AsDevice(handle_)->Focus(); }
    // Delivers frames while `on` holds, at most `limit`; the frames delivered.
    template <typename On> int RunWhile(On on, int limit) {
        int frames = 0;
        while (on() && frames < limit) {
            Camera().deliverFrames(1);
            ++frames;
        }
        return frames;
    }
    int RunClimb(int limit) {
        return RunWhile([this] { return Focus().SubAFOn(); }, limit);
    }
    int RunSweep(int limit) {
        return RunWhile([this] { return Focus().AFOn(); }, limit);
    }
    int RunSearch(bool sweep, int limit) { return sweep ? RunSweep(limit) : RunClimb(limit); }
    int SwitchOn(bool sweep) { return sweep ? KZ_SetDoAF(handle_, 1) : KZ_SetDoSubAF(handle_, 1); }
    bool SearchOn(bool sweep) const { return sweep ? Focus().AFOn() : Focus().SubAFOn(); }
    // Runs `body` for the sweep, and for the climb too unless told not to, each on a fresh camera in
    // stepped mode; the camera is closed after each.
    template <typename Body> void ForBothSearches(Body body, bool climbToo = true) {
        for (bool sweep : {false, true}) {
            if (!sweep && !climbToo) {
                continue;
            }
            SCOPED_TRACE(sweep ? "sweep" : "climb");
            platform::devices::SimulatedCamera::resetAll();
            Camera().setSteppedMode(true);
            body(sweep);
            if (handle_ != nullptr) {
                EXPECT_EQ(KZ_UnInitial(&handle_), KZ_OK);
            }
        }
    }
    std::vector<fs::path> DebugFiles() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(home_)) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
        return files;
    }
    // Motor moves of the motor controller: +steps towards the front, -steps towards the back.
    std::vector<int> Moves() {
        std::vector<int> moves;
        for (const auto& move : Camera().motorMoves()) {
            if (move.direction != 0) {
                moves.push_back(move.direction * static_cast<int>(move.steps));
            }
        }
        return moves;
    }

    fs::path home_;

private:
    std::string savedHome_;
};

// A search from lens position `start` with the sharpest position at `peak`.
struct SearchCase {
    double start;
    double peak;
};

// Every start with the peaks 30, 150, 250 and 340.
std::vector<SearchCase> SearchCases(std::initializer_list<double> starts) {
    std::vector<SearchCase> cases;
    for (double start : starts) {
        for (double peak : {30.0, 150.0, 250.0, 340.0}) {
            cases.push_back({start, peak});
        }
    }
    return cases;
}

std::string SearchCaseName(const ::testing::TestParamInfo<SearchCase>& info) {
    return "start" + std::to_string(static_cast<int>(info.param.start)) + "_peak" +
           std::to_string(static_cast<int>(info.param.peak));
}

class ClimbTest : public AutoFocusTest, public ::testing::WithParamInterface<SearchCase> {};

// The climb ends near the sharpest position from either end and the middle; its first move leaves the
// front end backwards and otherwise heads forwards.
TEST_P(ClimbTest, EndsNearThePeak) {
    const SearchCase c = GetParam();
    StartAt(c.start, c.peak);
    ASSERT_EQ(KZ_SetDoSubAF(handle_, 1), KZ_OK);
    const int frames = RunClimb(200);
    RecordProperty("frames", frames);
    EXPECT_FALSE(Focus().SubAFOn());
    EXPECT_LT(frames, 60);
    EXPECT_NEAR(Camera().lensPosition(), c.peak, 20.0) << frames << " frames";
    const std::vector<int> moves = Moves();
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.front(), c.start >= 360 ? -20 : 20);
    // Moves of 20 with at most three reversals, then, only after the third, moves of 15.
    std::size_t coarse = 0;
    int reversals = 0;
    for (; coarse < moves.size() && std::abs(moves[coarse]) == 20; ++coarse) {
        reversals += coarse > 0 && moves[coarse] != moves[coarse - 1] ? 1 : 0;
    }
    EXPECT_LE(reversals, 3);
    for (std::size_t i = coarse; i < moves.size(); ++i) {
        EXPECT_EQ(std::abs(moves[i]), 15) << i;
    }
    if (coarse < moves.size()) {
        EXPECT_EQ(reversals, 3);
    }
}

INSTANTIATE_TEST_SUITE_P(StartsAndPeaks, ClimbTest,
                         ::testing::ValuesIn(SearchCases({0.0, 100.0, 200.0, 360.0})), SearchCaseName);

// Sharpness that rises on every step: the climb stops after 20 counted frames without a fine phase.
TEST_F(AutoFocusTest, ClimbThatOnlyRisesStopsAfterTwentyFrames) {
    StartAt(0, 590);
    ASSERT_TRUE(Camera().setTravel(600));
    // A steep enough curve without a flat tail between 0 and 590.
    ASSERT_TRUE(Camera().setFocusRange(700));
    ASSERT_TRUE(Camera().setChartAmplitude(0.5));
    ASSERT_EQ(KZ_SetDoSubAF(handle_, 1), KZ_OK);
    EXPECT_EQ(RunClimb(200), 21);
    EXPECT_FALSE(Focus().SubAFOn());
    EXPECT_EQ(Moves(), std::vector<int>(20, 20));
}

class SweepTest : public AutoFocusTest, public ::testing::WithParamInterface<SearchCase> {};

// From the middle the motor first runs to the front end in 20s; from an end stop the sweep starts at once.
// It sweeps to the other end stop in 18s and returns close to the sharpest position.
TEST_P(SweepTest, ReturnsNearThePeak) {
    const SearchCase c = GetParam();
    StartAt(c.start, c.peak);
    ASSERT_EQ(KZ_SetDoAF(handle_, 1), KZ_OK);
    const int frames = RunSweep(200);
    RecordProperty("frames", frames);
    EXPECT_FALSE(Focus().AFOn());
    EXPECT_NEAR(Camera().lensPosition(), c.peak, 9.0) << frames << " frames";
    const std::vector<int> moves = Moves();
    // The run to the first stop, then 20 moves of 18 across the travel of 360, then the return.
    const std::size_t run = c.start == 0 || c.start == 360 ? 0 : 9;
    const int across = c.start == 0 ? 18 : -18;
    ASSERT_GE(moves.size(), run + 20);
    EXPECT_EQ(std::vector<int>(moves.begin(), moves.begin() + run), std::vector<int>(run, 20));
    EXPECT_EQ(std::vector<int>(moves.begin() + run, moves.begin() + run + 20), std::vector<int>(20, across));
    for (std::size_t i = run + 20; i < moves.size(); ++i) {
        EXPECT_EQ(moves[i], -across) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(StartsAndPeaks, SweepTest, ::testing::ValuesIn(SearchCases({0.0, 180.0, 360.0})),
                         SearchCaseName);

// A long lens: each leg of the sweep needs more than a hundred moves, and the whole sweep several hundred.
TEST_F(AutoFocusTest, SweepCoversALongTravel) {
    StartAt(1260, 1700);
    ASSERT_TRUE(Camera().setTravel(2520));
    ASSERT_TRUE(Camera().setChartAmplitude(0.5));
    ASSERT_EQ(KZ_SetDoAF(handle_, 1), KZ_OK);
    const int frames = RunSweep(600);
    RecordProperty("frames", frames);
    EXPECT_FALSE(Focus().AFOn());
    EXPECT_NEAR(Camera().lensPosition(), 1700.0, 9.0) << frames << " frames";
}

// On the way back a frame sharper than the sweep's maximum ends the return at once.
TEST_F(AutoFocusTest, SharperFrameEndsTheReturnEarly) {
    StartAt(180, 240);
    ASSERT_EQ(KZ_SetDoAF(handle_, 1), KZ_OK);
    // 9 moves to the front end, 20 back to the back end, then the first move of the return.
    RunWhile([this] { return Moves().size() < 30; }, 100);
    ASSERT_EQ(Moves().size(), 30u);
    ASSERT_EQ(Moves().back(), 18);
    Camera().setFocusPeak(Camera().lensPosition() + 18);
    RunSweep(20);
    EXPECT_FALSE(Focus().AFOn());
    EXPECT_EQ(Moves().size(), 30u);
    EXPECT_DOUBLE_EQ(Camera().lensPosition(), 18.0);
}

struct MotorFault {
    const char* name;
    void (*apply)(platform::devices::SimulatedCamera&);
    bool climbToo; // the climb needs the end-stop position only for its first direction
    bool noMoves;  // no move reaches the motor
    int frames;    // the search has ended after at most this many frames
};

// A motor that is absent ends the search at once; one that stays busy, refuses every move or hides its
// position after the stall limit, and one that never moves when a leg cannot end; none leaves the search
// running for ever. A busy motor is given no move.
TEST_F(AutoFocusTest, FailingMotorEndsTheSearch) {
    using platform::devices::SimulatedCamera;
    constexpr int kStall = korvib::AutoFocus::kStalledFrameLimit;
    const MotorFault faults[] = {
        {"absent", [](SimulatedCamera& camera) { camera.setMotorPresent(false); }, true, true, 1},
        {"stuck busy", [](SimulatedCamera& camera) { camera.setMotorStuckBusy(true); }, true, true, kStall},
        {"ignores moves", [](SimulatedCamera& camera) { camera.setMotorIgnoresMoves(true); }, true, false,
         korvib::AutoFocus::kLegMoveLimit + 1},
        {"position unknown",
         [](SimulatedCamera& camera) { camera.setStopOverride(platform::devices::StopOverride::Unknown); },
         false, true, kStall},
        {"refuses moves",
         [](SimulatedCamera& camera) {
             camera.addFault({FaultRule::Call::Set, platform::devices::kPropI2cData, 0, 1000, E_FAIL});
         },
         true, true, kStall},
    };
    for (const MotorFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        ForBothSearches(
            [&](bool sweep) {
                StartAt(180, 240);
                fault.apply(Camera());
                ASSERT_EQ(SwitchOn(sweep), KZ_OK);
                const int frames = RunSearch(sweep, 400);
                EXPECT_FALSE(SearchOn(sweep)) << frames << " frames";
                EXPECT_LE(frames, fault.frames);
                EXPECT_DOUBLE_EQ(Camera().lensPosition(), 180.0);
                if (fault.noMoves) {
                    EXPECT_TRUE(Moves().empty());
                }
            },
            fault.climbToo);
    }
}

// Frames while the motor is busy do not count: busy for a while, the climb waits and then climbs.
TEST_F(AutoFocusTest, BusyMotorPausesTheClimb) {
    StartAt(100, 250);
    Camera().setMotorStuckBusy(true);
    ASSERT_EQ(KZ_SetDoSubAF(handle_, 1), KZ_OK);
    Camera().deliverFrames(korvib::AutoFocus::kStalledFrameLimit - 1);
    EXPECT_TRUE(Moves().empty());
    Camera().setMotorStuckBusy(false);
    RunClimb(200);
    EXPECT_NEAR(Camera().lensPosition(), 250.0, 20.0);
}

// With both on, the sweep's moves keep the motor busy for the climb on every frame; that is not a stall,
// so the climb is still on when the sweep has ended.
TEST_F(AutoFocusTest, ClimbWaitsForTheSweep) {
    StartAt(180, 240);
    ASSERT_EQ(KZ_SetDoAF(handle_, 1), KZ_OK);
    ASSERT_EQ(KZ_SetDoSubAF(handle_, 1), KZ_OK);
    const int frames = RunSweep(200);
    EXPECT_GT(frames, korvib::AutoFocus::kStalledFrameLimit);
    EXPECT_TRUE(Focus().SubAFOn());
}

// Stopping the preview switches the climb off; the sweep stays on for the next preview. Switching a
// procedure off by its export stops it.
TEST_F(AutoFocusTest, PreviewStopEndsOnlyTheClimb) {
    StartAt(180, 240);
    ASSERT_EQ(KZ_SetDoAF(handle_, 1), KZ_OK);
    ASSERT_EQ(KZ_SetDoSubAF(handle_, 1), KZ_OK);
    Camera().deliverFrames(3);
    ASSERT_EQ(KZ_Stop(handle_), KZ_OK);
    EXPECT_FALSE(Focus().SubAFOn());
    EXPECT_TRUE(Focus().AFOn());
    ASSERT_EQ(KZ_SetDoAF(handle_, 0), KZ_OK);
    ASSERT_EQ(KZ_Start(handle_, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    Camera().clearLogs();
    Camera().deliverFrames(3);
    EXPECT_TRUE(Moves().empty());
}

struct TransientFault {
    const char* name;
    FaultRule rule;
};

// One failed busy read or one refused move in the middle of a search is a stalled frame, not the end of
// the search: the climb and the sweep still end at the peak.
TEST_F(AutoFocusTest, OneBusFailureMidSearchStillEndsAtThePeak) {
    using platform::devices::kPropI2cData;
    const TransientFault faults[] = {
        {"busy read", {FaultRule::Call::Get, kPropI2cData, 6, 1, E_FAIL}},
        {"motor write", {FaultRule::Call::Set, kPropI2cData, 4, 1, E_FAIL}},
    };
    for (const TransientFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        ForBothSearches([&](bool sweep) {
            StartAt(100, 250);
            Camera().addFault(fault.rule);
            ASSERT_EQ(SwitchOn(sweep), KZ_OK);
            const int frames = RunSearch(sweep, 200);
            RecordProperty(std::string(fault.name) + (sweep ? " sweep frames" : " climb frames"), frames);
            EXPECT_FALSE(SearchOn(sweep));
            EXPECT_NEAR(Camera().lensPosition(), 250.0, sweep ? 9.0 : 20.0) << frames << " frames";
            int failed = 0;
            for (const auto& call : Camera().propertyCalls()) {
                failed += call.result != S_OK ? 1 : 0;
            }
            EXPECT_EQ(failed, 1);
        });
    }
}

struct SizeMismatch {
    const char* name;
    int openWidth, openHeight;   // the running frames
    int paramWidth, paramHeight; // the capture size parameters afterwards
};

// Capture size parameters that differ from the running frames: the region would lie outside a smaller frame
// and off centre in a larger one, so no step runs and the procedure waits.
TEST_F(AutoFocusTest, FrameOfAnotherSizeIsLeftAlone) {
    const SizeMismatch cases[] = {
        {"smaller frame", 640, 480, 1280, 1024},
        {"larger frame", 1280, 1024, 640, 480},
    };
    for (const SizeMismatch& c : cases) {
        SCOPED_TRACE(c.name);
        ForBothSearches([&](bool sweep) {
            ASSERT_NE(OpenAt(c.openWidth, c.openHeight), nullptr);
            ASSERT_EQ(KZ_Start(handle_, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
            KZ_SetParam(handle_, KZ_PARAM_WIDTH, c.paramWidth);
            KZ_SetParam(handle_, KZ_PARAM_HEIGHT, c.paramHeight);
            Camera().clearLogs();
            ASSERT_EQ(SwitchOn(sweep), KZ_OK);
            Camera().deliverFrames(5);
            EXPECT_TRUE(Moves().empty());
            EXPECT_TRUE(SearchOn(sweep));
        });
    }
}

// A stop on the caller's thread while another thread delivers frames with both searches on: once the
// stop has returned no focus step moves the motor, the climb is off and the sweep stays on.
TEST_F(AutoFocusTest, StopRacingFocusStepsOnAnotherThread) {
    StartAt(180, 240);
    ASSERT_EQ(KZ_SetDoAF(handle_, 1), KZ_OK);
    ASSERT_EQ(KZ_SetDoSubAF(handle_, 1), KZ_OK);
    std::atomic<bool> run{true};
    std::atomic<int> delivered{0};
    std::thread stream([&] {
        while (run.load()) {
            Camera().deliverFrames(1);
            delivered.fetch_add(1);
        }
    });
    while (delivered.load() < 3) {
        std::this_thread::yield();
    }
    ASSERT_EQ(KZ_Stop(handle_), KZ_OK);
    const std::size_t movesAtStop = Camera().motorMoves().size();
    const int deliveredAtStop = delivered.load();
    while (delivered.load() < deliveredAtStop + 3) {
        std::this_thread::yield();
    }
    run.store(false);
    stream.join();
    EXPECT_EQ(Camera().motorMoves().size(), movesAtStop);
    EXPECT_FALSE(Focus().SubAFOn());
    EXPECT_TRUE(Focus().AFOn());
}

// Without the folder AF under the home folder nothing is written. With it every climbing and fine step
// writes its grey region picture named with its count, value, the maximum and the direction of its move,
// except the frame of the third reversal; the result picture carries the fine count and the climb's
// maximum.
TEST_F(AutoFocusTest, DebugPicturesOnlyIntoAnExistingFolder) {
    StartAt(100, 250);
    ASSERT_EQ(KZ_SetDoSubAF(handle_, 1), KZ_OK);
    RunClimb(200);
    EXPECT_TRUE(DebugFiles().empty());
    EXPECT_FALSE(fs::exists(home_ / "AF"));

    fs::create_directory(home_ / "AF");
    Camera().setLensPosition(100);
    Camera().clearLogs();
    ASSERT_EQ(KZ_SetDoSubAF(handle_, 1), KZ_OK);
    RunClimb(200);
    const std::vector<int> moves = Moves();
    std::size_t coarseMoves = 0;
    while (coarseMoves < moves.size() && std::abs(moves[coarseMoves]) == 20) {
        ++coarseMoves;
    }
    const std::size_t fineMoves = moves.size() - coarseMoves;
    ASSERT_GT(fineMoves, 0u);

    const std::regex stepName(
        "(粗调焦点|靠近焦点)_第([ 0-9]{3})帧评价值[ 0-9]{9}_最大评价值([ 0-9]{9})_向(前|后)驱动电机\\.bmp");
    const std::regex resultName("最佳焦点_第([ 0-9]{3})帧评价值[ 0-9]{9}_最大评价值([ 0-9]{9})\\.bmp");
    std::map<int, std::string> coarseWords;
    std::map<int, std::string> fineWords;
    std::vector<std::string> results;
    unsigned long coarseMaximum = 0;
    for (const fs::path& file : DebugFiles()) {
        const std::string name = file.filename().string();
        EXPECT_EQ(file.parent_path(), home_ / "AF");
        std::smatch match;
        if (std::regex_match(name, match, stepName)) {
            const int count = std::stoi(match[2].str());
            auto& words = match[1].str() == "粗调焦点" ? coarseWords : fineWords;
            EXPECT_TRUE(words.emplace(count, match[4].str()).second) << name;
            if (&words == &coarseWords) {
                coarseMaximum = std::max(coarseMaximum, std::stoul(match[3].str()));
            }
        } else if (std::regex_match(name, match, resultName)) {
            results.push_back(name);
            EXPECT_EQ(std::stoul(match[1].str()), fineMoves) << name;
            EXPECT_EQ(std::stoul(match[2].str()), coarseMaximum) << name;
        } else {
            ADD_FAILURE() << "unexpected file " << name;
        }
        const std::vector<BYTE> bytes = ReadFile(file);
        ASSERT_EQ(bytes.size(), 1078u + 160 * 120) << name;
        EXPECT_EQ(Dword(bytes, 18), 160u);
        EXPECT_EQ(Dword(bytes, 22), 120u);
        EXPECT_EQ(bytes[1078], 153) << name; // the bracket at the region's lower left corner
    }
    EXPECT_EQ(results.size(), 1u);
    const auto word = [](int move) { return std::string(move > 0 ? "前" : "后"); };
    // Counts 0, 1, ... with no gap; the third reversal's move has no picture.
    ASSERT_EQ(coarseWords.size(), coarseMoves - 1);
    for (const auto& [count, direction] : coarseWords) {
        ASSERT_LT(static_cast<std::size_t>(count), coarseMoves - 1);
        EXPECT_EQ(direction, word(moves[count])) << "coarse " << count;
    }
    ASSERT_EQ(fineWords.size(), fineMoves);
    for (const auto& [count, direction] : fineWords) {
        ASSERT_LT(static_cast<std::size_t>(count), fineMoves);
        EXPECT_EQ(direction, word(moves[coarseMoves + count])) << "fine " << count;
    }
}

} // namespace
