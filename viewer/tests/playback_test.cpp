// End-to-end: playing media files in the picture area: load, play, pause, stop, seek, close and the timer.
#include <dshow/com_ptr.h>
#include <dshow/moniker.h>
#include <player/vidora.h>
#include <seams/language.h>
#include <testing/picture_tools.h>

#include "media_files.h"
#include "program_fixture.h"

namespace {

using platform::seams::FileDialogCall;

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

// Posts a key-down to the dialog, as a key pressed anywhere in the window, and handles it.
void PressKey(COrvanelDlg& dlg, WPARAM key) {
    ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, key, 0);
    ProgramTest::WaitFor([] { return false; }, 50);
}

// Whether the running object table holds a player's filter graph.
bool GraphRegistered() {
    using platform::dshow::ComPtr;
    ComPtr<IRunningObjectTable> table;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(GetRunningObjectTable(0, table.put())) || FAILED(table->EnumRunning(monikers.put())))
        return false;
    bool found = false;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.put(), nullptr) == S_OK) {
        LPOLESTR name = nullptr;
        if (SUCCEEDED(moniker->GetDisplayName(nullptr, nullptr, &name))) {
            found = found || std::wstring(name).rfind(L"!FilterGraph ", 0) == 0;
            CoTaskMemFree(name);
        }
    }
    return found;
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
        platform::seams::setFileDialogAnswer(
            [this](const FileDialogCall& call) -> std::optional<std::string> {
                calls_.push_back(call);
                return answer_;
            });
    }
    void TearDown() override {
        platform::seams::setFileDialogAnswer(nullptr);
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

struct MediaCase {
    const char* name;
    vidora_test::Media media;
    WORD language = vidora_test::kEnglish; // the system language the program runs under
};

void PrintTo(const MediaCase& media, std::ostream* out) {
    *out << media.name;
}

class MediaPlaybackTest : public PlaybackTest, public ::testing::WithParamInterface<MediaCase> {};

// Load stops the camera and shows the file's length; Play runs the timer that follows the position; Pause
// holds it and Play resumes from there; the slider seeks; Stop while paused goes back to 0; Close gives
// the area back to the camera.
TEST_P(MediaPlaybackTest, LoadPlayPauseSeekStopClose) {
    platform::seams::setSystemLanguage(GetParam().language);
    const vidora_test::MediaFile& clip = vidora_test::mediaFile(GetParam().media);
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
        EXPECT_NEAR(PlayerPosition(dlg), paused, 0.05);

        Click(dlg, IDC_BUTTON_PLAY);
        EXPECT_TRUE(WaitFor([&] { return dlg.m_sliderPosition.GetPos() > slider; }));
        EXPECT_GE(PlayerPosition(dlg), paused) << "resumed where it paused";

        Click(dlg, IDC_BUTTON_PAUSE);
        DragSlider(dlg, 25);
        EXPECT_NEAR(PlayerPosition(dlg), 2.0, 0.6) << "the key frame at 2 seconds";
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
    EXPECT_TRUE(Boxes().calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Files, MediaPlaybackTest,
                         ::testing::Values(MediaCase{"MjpegAvi", vidora_test::Media::MjpegAvi},
                                           MediaCase{"H264Mp4", vidora_test::Media::H264Mp4},
                                           MediaCase{"Mpeg", vidora_test::Media::Mpeg},
                                           MediaCase{"Wav", vidora_test::Media::Wav},
                                           MediaCase{"Mp3", vidora_test::Media::Mp3},
                                           MediaCase{"ChineseNameUnderChinese",
                                                     vidora_test::Media::ChineseName, vidora_test::kChinese}),
                         [](const ::testing::TestParamInfo<MediaCase>& info) {
                             return std::string(info.param.name);
                         });

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

// A second load, while the first file plays or while it is paused, frees the first player and shows the
// new file at its start: position text, member and slider at 0 at once. The file stays started, the
// timer now reads the new player, and Play plays the new file from its start.
TEST_F(PlaybackTest, SecondLoadStartsTheNewFileAtZero) {
    const vidora_test::MediaFile& clip = vidora_test::mediaFile(vidora_test::Media::MjpegAvi);
    const vidora_test::MediaFile& tone = vidora_test::mediaFile(vidora_test::Media::Mp3);
    ASSERT_FALSE(clip.path.empty());
    ASSERT_FALSE(tone.path.empty());
    RunDialog([&](COrvanelDlg& dlg) {
        for (bool pausedFirst : {false, true}) {
            SCOPED_TRACE(pausedFirst ? "paused" : "playing");
            Load(dlg, clip.path);
            Click(dlg, IDC_BUTTON_PLAY);
            ASSERT_TRUE(WaitFor([&] { return dlg.m_nPosition >= 1; }));
            if (pausedFirst)
                Click(dlg, IDC_BUTTON_PAUSE);
            Load(dlg, tone.path);
            EXPECT_EQ(dlg.m_strMediaFile, tone.path.c_str());
            EXPECT_EQ(dlg.m_bPlaying, 1);
            EXPECT_EQ(dlg.m_nPosition, 0);
            EXPECT_EQ(Text(dlg, IDC_STATIC_TIME_POS), "00:00:00");
            EXPECT_EQ(dlg.m_sliderPosition.GetPos(), 0);
            EXPECT_LT(PlayerPosition(dlg), 0.1);
            Click(dlg, IDC_BUTTON_PLAY);
            EXPECT_TRUE(WaitFor([&] { return dlg.m_nPosition == 1; }));
            Click(dlg, IDC_BUTTON_CLOSE_FILE);
        }
        dlg.SendMessage(WM_CLOSE);
    });
}

// F11 with a file loaded switches the player's video window to full screen and back. Closing the file, or
// loading another, in full screen ends it: the next F11 makes the window full screen over the camera
// preview again and Esc leaves it.
TEST_F(PlaybackTest, FullScreenWithALoadedFile) {
    const vidora_test::MediaFile& clip = vidora_test::mediaFile(vidora_test::Media::MjpegAvi);
    ASSERT_FALSE(clip.path.empty());
    RunDialog([&](COrvanelDlg& dlg) {
        CRect window;
        dlg.GetWindowRect(window);
        Load(dlg, clip.path);
        PressKey(dlg, VK_F11);
        EXPECT_EQ(PLAY_GetFullScreen(dlg.m_hPlay), 1);
        EXPECT_EQ(dlg.m_bFullScreen, 1);
        PressKey(dlg, VK_F11);
        EXPECT_EQ(PLAY_GetFullScreen(dlg.m_hPlay), 0);
        EXPECT_EQ(dlg.m_bFullScreen, 0);

        PressKey(dlg, VK_F11);
        Load(dlg, clip.path);
        EXPECT_EQ(dlg.m_bFullScreen, 0);
        EXPECT_EQ(PLAY_GetFullScreen(dlg.m_hPlay), 0);

        PressKey(dlg, VK_F11);
        ASSERT_EQ(PLAY_GetFullScreen(dlg.m_hPlay), 1);
        Click(dlg, IDC_BUTTON_CLOSE_FILE);
        EXPECT_EQ(dlg.m_bFullScreen, 0);
        EXPECT_EQ(dlg.m_bPreview, 1);

        PressKey(dlg, VK_F11);
        EXPECT_EQ(dlg.m_bFullScreen, 1);
        CRect full;
        dlg.GetWindowRect(full);
        EXPECT_EQ(full.Width(), ::GetSystemMetrics(SM_CXSCREEN));
        PressKey(dlg, VK_ESCAPE);
        EXPECT_EQ(dlg.m_bFullScreen, 0);
        CRect back;
        dlg.GetWindowRect(back);
        EXPECT_EQ(back, window);
        EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd)) << "Esc left full screen instead of closing the window";
        dlg.SendMessage(WM_CLOSE);
    });
}

// A file no player can read still leaves the preview off with a length of 00:00:00, and every command on
// it, full screen included, does no harm and shows nothing; Close brings the camera back.
TEST_F(PlaybackTest, CorruptFileCommandsAreHarmless) {
    const vidora_test::MediaFile& corrupt = vidora_test::mediaFile(vidora_test::Media::Corrupt);
    ASSERT_FALSE(corrupt.path.empty());
    RunDialog([&](COrvanelDlg& dlg) {
        Load(dlg, corrupt.path);
        EXPECT_EQ(dlg.m_bPreview, 0);
        ASSERT_NE(dlg.m_hPlay, nullptr);
        EXPECT_EQ(dlg.m_nDuration, 0);
        EXPECT_EQ(Text(dlg, IDC_STATIC_TIME_LENGTH), "00:00:00");
        EXPECT_EQ(Text(dlg, IDC_STATIC_TIME_POS), "00:00:00");
        Click(dlg, IDC_BUTTON_PLAY);
        WaitFor([] { return false; }, 300);
        EXPECT_EQ(dlg.m_nPosition, 0);
        EXPECT_EQ(Text(dlg, IDC_STATIC_TIME_POS), "00:00:00");
        Click(dlg, IDC_BUTTON_PAUSE);
        DragSlider(dlg, 0);
        Click(dlg, IDC_BUTTON_PLAY);
        Click(dlg, IDC_BUTTON_STOP);
        EXPECT_EQ(dlg.m_bPlaying, 0);
        PressKey(dlg, VK_F11);
        EXPECT_EQ(PLAY_GetFullScreen(dlg.m_hPlay), 0) << "no video window to show";
        PressKey(dlg, VK_F11);
        Click(dlg, IDC_BUTTON_CLOSE_FILE);
        EXPECT_EQ(dlg.m_hPlay, nullptr);
        EXPECT_EQ(dlg.m_bPreview, 1);
        EXPECT_EQ(dlg.m_bFullScreen, 0);
        const uint64_t frames = Camera().frameCount();
        EXPECT_TRUE(WaitFor([&] { return Camera().frameCount() > frames + 2; }));
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_TRUE(Boxes().calls().empty());
}

// Closing the window with a file playing releases its player as the window goes: its graph leaves the
// running object table.
TEST_F(PlaybackTest, ClosingTheWindowReleasesThePlayer) {
    const vidora_test::MediaFile& clip = vidora_test::mediaFile(vidora_test::Media::MjpegAvi);
    ASSERT_FALSE(clip.path.empty());
    RunDialog([&](COrvanelDlg& dlg) {
        EXPECT_FALSE(GraphRegistered());
        Load(dlg, clip.path);
        Click(dlg, IDC_BUTTON_PLAY);
        EXPECT_TRUE(GraphRegistered());
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_FALSE(GraphRegistered());
}
