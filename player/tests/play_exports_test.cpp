// The PLAY_* results without a handle and for files that cannot be played.
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <seams/language.h>

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
        path = mediaFile(Media::Corrupt).path;
        if (path.empty())
            GTEST_SKIP() << "ffmpeg cannot make an MJPEG AVI";
    } else if (kind == "text") {
        path = scratchFolder() + "/notes.mp3";
        std::ofstream(path) << std::string(4000, 'x');
    } else if (kind == "empty") {
        path = "";
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

INSTANTIATE_TEST_SUITE_P(Files, UnplayableFileTest, ::testing::Values("missing", "corrupt", "text", "empty"));

class PathTest : public PlayerTest {
protected:
    void TearDown() override {
        PlayerTest::TearDown();
        platform::seams::setSystemLanguage(std::nullopt);
    }
};

// A path is taken whole whatever its length, and as UTF-8 under every system language: a WAV behind a
// path of more than 259 characters, some of them Chinese, plays under English and Chinese.
TEST_F(PathTest, LongAndChinesePathsPlay) {
    const MediaFile& wav = mediaFile(Media::Wav);
    if (wav.path.empty())
        GTEST_SKIP() << "ffmpeg cannot make a WAV";
    const std::string folder =
        scratchFolder() + "/" + std::string(120, 'd') + "/" + "长路径" + std::string(120, 'e');
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/声音.wav";
    std::filesystem::copy_file(wav.path, path, std::filesystem::copy_options::overwrite_existing);
    ASSERT_GT(path.size(), 259u);
    for (WORD language : {kEnglish, kChinese}) {
        SCOPED_TRACE(language);
        platform::seams::setSystemLanguage(language);
        open(path);
        double seconds = 0.0;
        EXPECT_EQ(PLAY_GetDuration(handle_, &seconds), 3);
        EXPECT_EQ(PLAY_Start(handle_), 0);
        EXPECT_TRUE(waitFor([&] { return position() > 0.2; }));
        handle_ = PLAY_UnInitial(handle_);
    }
}

class ResultTruncationTest : public PlayerTest {};

// Seconds become whole seconds toward zero when they are finite and their whole part fits an int; every
// other value gives 0, both for a seek target and for a caller's value a failed query keeps.
TEST_F(ResultTruncationTest, SecondsTowardZero) {
    struct Case {
        double seconds;
        int whole;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases = {{12.9, 12},         {-0.5, 0},
                                     {-1.5, -1},         {2147483647.9, INT_MAX},
                                     {2147483648.0, 0},  {-2147483648.9, INT_MIN},
                                     {-2147483649.0, 0}, {1e12, 0},
                                     {-1e12, 0},         {inf, 0},
                                     {-inf, 0},          {nan, 0}};
    open(scratchFolder() + "/missing.avi");
    for (Case c : cases) {
        double seconds = c.seconds;
        EXPECT_EQ(PLAY_GetDuration(handle_, &seconds), c.whole) << c.seconds;
        EXPECT_EQ(PLAY_GetCurrentPosition(handle_, &seconds), c.whole) << c.seconds;
    }
    handle_ = PLAY_UnInitial(handle_);

    if (!openMedia(Media::Wav))
        GTEST_SKIP() << "ffmpeg cannot make a WAV";
    for (Case c : cases)
        EXPECT_EQ(PLAY_SetCurrentPosition(handle_, c.seconds), c.whole) << c.seconds;
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
