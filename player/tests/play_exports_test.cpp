// The PLAY_* results without a handle and for files that cannot be played.
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media_files.h"
#include "player_fixture.h"

namespace vidora_test {
namespace {

// Every function but PLAY_Initial answers 2 for a null handle and touches no output.
TEST(PlayExportsTest, NullHandleGivesTwo) {
    double seconds = 4.5;
    EXPECT_EQ(PLAY_UnInitial(nullptr), nullptr);
    EXPECT_EQ(PLAY_Start(nullptr), 2);
    EXPECT_EQ(PLAY_Stop(nullptr), 2);
    EXPECT_EQ(PLAY_Pause(nullptr), 2);
    EXPECT_EQ(PLAY_GetDuration(nullptr, &seconds), 2);
    EXPECT_EQ(PLAY_GetCurrentPosition(nullptr, &seconds), 2);
    EXPECT_EQ(PLAY_SetCurrentPosition(nullptr, 12.9), 2);
    EXPECT_EQ(PLAY_SetFullScreen(nullptr, TRUE), 2);
    EXPECT_EQ(PLAY_GetFullScreen(nullptr), 2);
    EXPECT_EQ(seconds, 4.5);
    EXPECT_EQ(PLAY_Initial(nullptr, nullptr, nullptr, "x.avi"), 0); // nowhere to put a player: none is made
}

class UnplayableFileTest : public PlayerTest, public ::testing::WithParamInterface<const char*> {};

// A file that cannot be played still gives a handle; queries keep the caller's value and return it
// truncated, commands answer 0, and closing works.
TEST_P(UnplayableFileTest, HandleWithoutMedia) {
    const std::string kind = GetParam();
    std::string path;
    if (kind == "missing") {
        path = scratchFolder() + "/missing.avi";
    } else if (kind == "corrupt") {
        path = scratchFolder() + "/corrupt.avi";
        std::ofstream(path, std::ios::binary) << "RIFF\x10\0\0\0AVI LIST garbage that is no movie";
    } else if (kind == "text") {
        path = scratchFolder() + "/notes.mp3";
        std::ofstream(path) << std::string(4000, 'x');
    } else if (kind == "empty") {
        path = "";
    } else if (kind == "longPath") {
        // A real file behind a path of more than 259 characters is refused, not cut to another name.
        const MediaFile& wav = mediaFile(Media::Wav);
        if (wav.path.empty())
            GTEST_SKIP() << "ffmpeg cannot make a WAV";
        std::string folder = scratchFolder() + "/" + std::string(120, 'd');
        std::filesystem::create_directories(folder + "/" + std::string(120, 'e'));
        path = folder + "/" + std::string(120, 'e') + "/tone.wav";
        std::filesystem::copy_file(wav.path, path, std::filesystem::copy_options::overwrite_existing);
        ASSERT_GT(path.size(), 259u);
    }
    open(path);
    double seconds = 7.75;
    EXPECT_EQ(PLAY_GetDuration(handle_, &seconds), 7);
    EXPECT_EQ(seconds, 7.75);
    seconds = -3.5;
    EXPECT_EQ(PLAY_GetCurrentPosition(handle_, &seconds), -3);
    EXPECT_EQ(seconds, -3.5);
    EXPECT_EQ(PLAY_Start(handle_), 0);
    EXPECT_EQ(PLAY_Pause(handle_), 0);
    EXPECT_EQ(PLAY_Stop(handle_), 0);
    EXPECT_EQ(PLAY_SetCurrentPosition(handle_, 12.9), 12);
    EXPECT_EQ(PLAY_SetFullScreen(handle_, TRUE), 0);
    EXPECT_EQ(PLAY_GetFullScreen(handle_), 0);
    EXPECT_EQ(videoWindow(), nullptr);
    EXPECT_EQ(PLAY_UnInitial(handle_), nullptr);
    handle_ = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Files, UnplayableFileTest,
                         ::testing::Values("missing", "corrupt", "text", "empty", "longPath"));

class ResultTruncationTest : public PlayerTest {};

// Seconds become whole seconds toward zero; values outside the int range or no number stay defined.
TEST_F(ResultTruncationTest, SecondsTowardZero) {
    if (!openMedia(Media::Wav))
        GTEST_SKIP() << "ffmpeg cannot make a WAV";
    struct Case {
        double seconds;
        int whole;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (Case c :
         std::vector<Case>{{12.9, 12}, {-0.5, 0}, {-1.5, -1}, {1e12, INT_MAX}, {-1e12, INT_MIN}, {nan, 0}}) {
        EXPECT_EQ(PLAY_SetCurrentPosition(handle_, c.seconds), c.whole) << c.seconds;
    }
    // A seek beyond the end ends at the end, one before the start at the start.
    double seconds = 0;
    PLAY_SetCurrentPosition(handle_, 1e12);
    PLAY_GetDuration(handle_, &seconds);
    double end = seconds;
    EXPECT_NEAR(position(), end, 0.05);
    PLAY_SetCurrentPosition(handle_, -5.0);
    EXPECT_LT(position(), 0.05);
    EXPECT_EQ(PLAY_GetDuration(handle_, nullptr), 0);
}

} // namespace
} // namespace vidora_test
