// End-to-end: playing media files in the picture area: load, play, pause, stop, seek, close and the timer.
#include <player/vidora.h>
#include <testing/picture_tools.h>

#include "media_files.h"
#include "program_fixture.h"

namespace {

using platform::testing::FileDialogCall;

std::string Text(COrvanelDlg& dlg, int id) {
    CString text;
    dlg.GetDlgItemText(id, text);
    return text.str();
}

bool Enabled(COrvanelDlg& dlg, int id) {
    return dlg.GetDlgItem(id)->IsWindowEnabled() != FALSE;
}

bool Visible(COrvanelDlg& dlg, int id) {
    return dlg.GetDlgItem(id)->IsWindowVisible() != FALSE;
}

double PlayerPosition(COrvanelDlg& dlg) {
    double seconds = -1.0;
    PLAY_GetCurrentPosition(dlg.m_hPlay, &seconds);
    return seconds;
}

// Moves the position slider as a drag does: its position, then its notification to the dialog.
void DragSlider(COrvanelDlg& dlg, int tenths) {
    dlg.m_sliderPosition.SetPos(tenths);
    dlg.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, tenths),
                    reinterpret_cast<LPARAM>(dlg.m_sliderPosition.GetSafeHwnd()));
}

// A silent WAV of 3725.4 seconds, small at 1000 samples a second.
std::string LongWav() {
    const std::string path = vidora_test::scratchFolder() + "/long.wav";
    platform::testing::toolOutput(
        "ffmpeg -hide_banner -loglevel error -y -f lavfi -i anullsrc=r=1000:cl=mono "
        "-t 3725.4 -c:a pcm_u8 '" +
        path + "'");
    return path;
}

class PlaybackTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        platform::testing::setFileDialogAnswer(
            [this](const FileDialogCall& call) -> std::optional<std::string> {
                calls_.push_back(call);
                return answer_;
            });
    }
    void TearDown() override {
        platform::testing::setFileDialogAnswer(nullptr);
        ProgramTest::TearDown();
    }
    // Loads `path` through the Load button's file dialog.
    void Load(COrvanelDlg& dlg, const std::string& path) {
        answer_ = path;
        Click(dlg, IDC_BUTTON_LOAD_FILE);
    }

    std::optional<std::string> answer_;
    std::vector<FileDialogCall> calls_;
};

} // namespace

TEST(FormatHMS, HoursMinutesSeconds) {
    const std::pair<int, const char*> cases[] = {
        {0, "00:00:00"}, {59, "00:00:59"}, {3725, "01:02:05"}, {3600, "01:00:00"}, {360000, "100:00:00"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(COrvanelDlg::FormatHMS(seconds), text) << seconds;
}

// Cancel in the file dialog leaves the camera preview running and no player; the dialog offers the five
// media filters, must-exist files and the main window as its owner.
TEST_F(PlaybackTest, CancelledLoadKeepsThePreview) {
    RunDialog([&](COrvanelDlg& dlg) {
        answer_.reset();
        Click(dlg, IDC_BUTTON_LOAD_FILE);
        EXPECT_EQ(dlg.m_bPreview, 1);
        EXPECT_EQ(dlg.m_hPlay, nullptr);
        EXPECT_TRUE(dlg.m_strMediaFile.IsEmpty());
        EXPECT_TRUE(Enabled(dlg, IDC_BUTTON_SNAP));
        const uint64_t frames = Camera().frameCount();
        EXPECT_TRUE(WaitFor([&] { return Camera().frameCount() > frames + 2; }));
        dlg.SendMessage(WM_CLOSE);
    });
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_TRUE(calls_[0].open);
    EXPECT_EQ(calls_[0].filter,
              "AVI File(*.avi)|*.avi|MPEG File(*.mpg;*.mpeg)|*.mpg;*.mpeg|Wave File(*.wav)|*.wav|"
              "Mp3 File(*.mp3)|*.mp3|All File(*.*)|*.*|");
    EXPECT_EQ(calls_[0].flags, DWORD(OFN_EXPLORER | OFN_FILEMUSTEXIST));
    EXPECT_TRUE(calls_[0].defaultExtension.empty());
    EXPECT_TRUE(calls_[0].initialName.empty());
}

// Play and Close during the camera preview, and Stop and Pause with nothing started, do nothing.
TEST_F(PlaybackTest, CommandsWithoutAFileDoNothing) {
    RunDialog([&](COrvanelDlg& dlg) {
        for (int id : {IDC_BUTTON_PLAY, IDC_BUTTON_CLOSE_FILE, IDC_BUTTON_STOP, IDC_BUTTON_PAUSE})
            Click(dlg, id);
        EXPECT_EQ(dlg.m_bPlaying, 0);
        EXPECT_EQ(dlg.m_bPreview, 1);
        EXPECT_FALSE(Visible(dlg, IDC_SLIDER_POSITION));
        const uint64_t frames = Camera().frameCount();
        EXPECT_TRUE(WaitFor([&] { return Camera().frameCount() > frames + 2; }));
        dlg.SendMessage(WM_CLOSE);
    });
}

// Load stops the camera and shows the file's length; Play runs the timer that follows the position; Pause
// holds it and Play resumes from there; Stop while paused goes back to 0; Close gives the area back to the
// camera.
TEST_F(PlaybackTest, LoadPlayPauseStopClose) {
    const vidora_test::MediaFile& clip = vidora_test::mediaFile(vidora_test::Media::MjpegAvi);
    ASSERT_FALSE(clip.path.empty());
    RunDialog([&](COrvanelDlg& dlg) {
        Load(dlg, clip.path);
        EXPECT_EQ(dlg.m_bPreview, 0);
        ASSERT_NE(dlg.m_hPlay, nullptr);
        EXPECT_EQ(dlg.m_nDuration, 3);
        EXPECT_EQ(dlg.m_sliderPosition.GetRangeMax(), 30);
        EXPECT_EQ(dlg.m_sliderPosition.GetPos(), 0);
        EXPECT_EQ(Text(dlg, IDC_STATIC_TIME_LENGTH), "00:00:03");
        EXPECT_EQ(Text(dlg, IDC_STATIC_TIME_POS), "00:00:00");
        EXPECT_TRUE(Visible(dlg, IDC_SLIDER_POSITION));
        EXPECT_FALSE(Enabled(dlg, IDC_BUTTON_SNAP));
        EXPECT_FALSE(Enabled(dlg, IDC_BUTTON_RECORD));
        const uint64_t stoppedAt = Camera().frameCount();

        Click(dlg, IDC_BUTTON_PLAY);
        EXPECT_EQ(dlg.m_bPlaying, 1);
        ASSERT_TRUE(WaitFor([&] { return dlg.m_nPosition >= 1; }));
        EXPECT_EQ(Text(dlg, IDC_STATIC_TIME_POS), "00:00:01");
        EXPECT_GE(dlg.m_sliderPosition.GetPos(), 10);

        Click(dlg, IDC_BUTTON_PAUSE);
        EXPECT_EQ(dlg.m_bPlaying, 1);
        const int slider = dlg.m_sliderPosition.GetPos();
        const double paused = PlayerPosition(dlg);
        WaitFor([] { return false; }, 300);
        EXPECT_EQ(dlg.m_sliderPosition.GetPos(), slider) << "no timer while paused";

        Click(dlg, IDC_BUTTON_PLAY);
        EXPECT_TRUE(WaitFor([&] { return dlg.m_sliderPosition.GetPos() > slider; }));
        EXPECT_GE(PlayerPosition(dlg), paused) << "resumed where it paused";

        Click(dlg, IDC_BUTTON_PAUSE);
        Click(dlg, IDC_BUTTON_STOP);
        EXPECT_EQ(dlg.m_bPlaying, 0);
        EXPECT_EQ(dlg.m_nPosition, 0);
        EXPECT_EQ(dlg.m_sliderPosition.GetPos(), 0);
        EXPECT_EQ(Text(dlg, IDC_STATIC_TIME_POS), "00:00:00");
        EXPECT_LT(PlayerPosition(dlg), 0.1);
        EXPECT_EQ(Camera().frameCount(), stoppedAt) << "the camera stays stopped with a file loaded";

        Click(dlg, IDC_BUTTON_CLOSE_FILE);
        EXPECT_EQ(dlg.m_hPlay, nullptr);
        EXPECT_EQ(dlg.m_bPreview, 1);
        EXPECT_TRUE(Enabled(dlg, IDC_BUTTON_SNAP));
        EXPECT_TRUE(Enabled(dlg, IDC_BUTTON_RECORD));
        EXPECT_FALSE(Visible(dlg, IDC_SLIDER_POSITION));
        EXPECT_TRUE(WaitFor([&] { return Camera().frameCount() > stoppedAt + 2; }));
        dlg.SendMessage(WM_CLOSE);
    });
}

// A file of 3725.4 seconds: the slider runs to 37250 tenths, the length reads 01:02:05, and a drag to 127
// seeks to 12 seconds. The window closes with the file loaded, which releases its player (the sanitizer
// build reports it otherwise).
TEST_F(PlaybackTest, LongFileSliderAndSeek) {
    const std::string wav = LongWav();
    RunDialog([&](COrvanelDlg& dlg) {
        Load(dlg, wav);
        EXPECT_EQ(dlg.m_nDuration, 3725);
        EXPECT_EQ(dlg.m_sliderPosition.GetRangeMax(), 37250);
        EXPECT_EQ(Text(dlg, IDC_STATIC_TIME_LENGTH), "01:02:05");
        DragSlider(dlg, 127);
        EXPECT_DOUBLE_EQ(PlayerPosition(dlg), 12.0);
        EXPECT_EQ(Text(dlg, IDC_STATIC_TIME_POS), "00:00:00") << "the texts are left to the timer";
        dlg.SendMessage(WM_CLOSE);
    });
}

// Loading a second file while the first plays frees the first; playback stays started and the timer now
// reads the new player, whose position is 0.
TEST_F(PlaybackTest, SecondLoadWhilePlayingFollowsTheNewPlayer) {
    const vidora_test::MediaFile& clip = vidora_test::mediaFile(vidora_test::Media::MjpegAvi);
    const vidora_test::MediaFile& tone = vidora_test::mediaFile(vidora_test::Media::Wav);
    ASSERT_FALSE(clip.path.empty());
    ASSERT_FALSE(tone.path.empty());
    RunDialog([&](COrvanelDlg& dlg) {
        Load(dlg, clip.path);
        Click(dlg, IDC_BUTTON_PLAY);
        ASSERT_TRUE(WaitFor([&] { return dlg.m_nPosition >= 1; }));
        Load(dlg, tone.path);
        EXPECT_EQ(dlg.m_strMediaFile, tone.path.c_str());
        EXPECT_EQ(dlg.m_bPlaying, 1);
        EXPECT_TRUE(WaitFor([&] { return dlg.m_nPosition == 0 && dlg.m_sliderPosition.GetPos() == 0; }));
        Click(dlg, IDC_BUTTON_CLOSE_FILE);
        dlg.SendMessage(WM_CLOSE);
    });
}
