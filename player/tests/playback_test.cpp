// Playing generated files of every kind: length, position, play, pause, stop, seeking and the end event.
#include <cmath>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include <seams/language.h>

#include "media_files.h"
#include "player_fixture.h"

namespace vidora_test {
namespace {

struct Kind {
    const char* name;
    Media media;
    WORD language = kEnglish; // the system language the file is played under
};

void PrintTo(const Kind& kind, std::ostream* out) {
    *out << kind.name;
}

class PlaybackTest : public PlayerTest, public ::testing::WithParamInterface<Kind> {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        platform::seams::setSystemLanguage(GetParam().language);
        file_ = &mediaFile(GetParam().media);
        if (file_->path.empty())
            GTEST_SKIP() << "ffmpeg cannot make " << GetParam().name;
        open(file_->path);
    }
    void TearDown() override {
        PlayerTest::TearDown();
        platform::seams::setSystemLanguage(std::nullopt);
    }
    const MediaFile* file_ = nullptr;
};

// The length matches ffprobe's and comes back as whole seconds; the position starts at 0.
TEST_P(PlaybackTest, LengthInWholeSecondsAndPositionAtStart) {
    double seconds = -1.0;
    int whole = PLAY_GetDuration(handle_, &seconds);
    EXPECT_NEAR(seconds, file_->seconds, 0.1);
    EXPECT_EQ(whole, static_cast<int>(seconds));
    EXPECT_EQ(whole, 3);
    EXPECT_EQ(PLAY_GetCurrentPosition(handle_, &seconds), 0);
    EXPECT_LT(seconds, 0.1);
}

// Play advances in real time, Pause holds the position, Play resumes from it, Stop returns to 0.
TEST_P(PlaybackTest, PlayPauseResumeStop) {
    ASSERT_EQ(PLAY_Start(handle_), 0);
    ASSERT_TRUE(waitFor([&] { return position() >= 1.0; })) << "position " << position();
    ASSERT_EQ(PLAY_Pause(handle_), 0);
    double paused = position();
    EXPECT_LT(paused, 3.0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_NEAR(position(), paused, 0.05);
    ASSERT_EQ(PLAY_Start(handle_), 0);
    ASSERT_TRUE(waitFor([&] { return position() >= paused + 0.5; }));
    ASSERT_EQ(PLAY_Stop(handle_), 0);
    EXPECT_LT(position(), 0.1);
    EXPECT_EQ(PLAY_Stop(handle_), 0); // stopping a stopped player still answers
}

// A seek lands at the key frame at the target, in every state, and returns the whole seconds.
TEST_P(PlaybackTest, SeekInWholeSeconds) {
    EXPECT_EQ(PLAY_SetCurrentPosition(handle_, 2.9), 2);
    double seconds = position();
    EXPECT_GE(seconds, 2.0);
    EXPECT_LE(seconds, 2.9 + 1e-6);
    EXPECT_EQ(PLAY_GetCurrentPosition(handle_, &seconds), static_cast<int>(seconds));

    ASSERT_EQ(PLAY_Start(handle_), 0);
    EXPECT_EQ(PLAY_SetCurrentPosition(handle_, 1.0), 1);
    EXPECT_GE(position(), 0.9);
    EXPECT_LT(position(), 2.5);
    PLAY_Pause(handle_);
    EXPECT_EQ(PLAY_SetCurrentPosition(handle_, 0.0), 0);
    EXPECT_LT(position(), 0.1);
}

INSTANTIATE_TEST_SUITE_P(Files, PlaybackTest,
                         ::testing::Values(Kind{"MjpegAvi", Media::MjpegAvi}, Kind{"H264Mp4", Media::H264Mp4},
                                           Kind{"RawAvi", Media::RawAvi}, Kind{"Mpeg", Media::Mpeg},
                                           Kind{"Wav", Media::Wav}, Kind{"Mp3", Media::Mp3},
                                           Kind{"ChineseNameUnderChinese", Media::ChineseName, kChinese},
                                           Kind{"ChineseNameUnderEnglish", Media::ChineseName, kEnglish}),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                             return std::string(info.param.name);
                         });

class EndOfFileTest : public PlayerTest {};

// The end of the file reaches the notify window as WM_PLAYER_EVENT; the player stays running.
TEST_F(EndOfFileTest, EndPostsPlayerEvent) {
    if (!openMedia(Media::ShortAvi))
        GTEST_SKIP() << "ffmpeg cannot make an MJPEG AVI";
    MSG message{};
    EXPECT_FALSE(PeekMessage(&message, notify_, WM_PLAYER_EVENT, WM_PLAYER_EVENT, PM_NOREMOVE));
    ASSERT_EQ(PLAY_Start(handle_), 0);
    ASSERT_TRUE(
        waitFor([&] { return PeekMessage(&message, notify_, WM_PLAYER_EVENT, WM_PLAYER_EVENT, PM_REMOVE); }));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 0);
    // Back to the start and once more to the end: the event comes again.
    ASSERT_EQ(PLAY_Stop(handle_), 0);
    ASSERT_EQ(PLAY_Start(handle_), 0);
    EXPECT_TRUE(
        waitFor([&] { return PeekMessage(&message, notify_, WM_PLAYER_EVENT, WM_PLAYER_EVENT, PM_REMOVE); }));
}

} // namespace
} // namespace vidora_test
