// End-to-end: the Record command on the simulated camera: the save dialog, the clock and summary in the
// status line, the button states, F6, and the AVI file as ffprobe reads it.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <testing/picture_tools.h>

#include "program_fixture.h"

namespace {

using platform::seams::LocalTime;

const char kSpacer[] = "       ";

// Stream fields of the file's first video stream as ffprobe reads them, frames counted through the index.
std::map<std::string, std::string> ProbeVideo(const std::filesystem::path& file) {
    const std::string out = platform::testing::toolOutput(
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=width,height,nb_read_frames "
        "-of default=noprint_wrappers=1 '" +
        file.string() + "'");
    std::map<std::string, std::string> fields;
    size_t start = 0;
    while (start < out.size()) {
        const size_t end = out.find('\n', start);
        const std::string line =
            out.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = line.substr(equals + 1);
        start = end == std::string::npos ? out.size() : end + 1;
    }
    return fields;
}

// A bitmap's pixels as 32-bit rows, to tell two button strips apart.
std::vector<BYTE> Pixels(HBITMAP bitmap) {
    BITMAP size{};
    if (bitmap == nullptr || ::GetObject(bitmap, sizeof size, &size) == 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = size.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> pixels(static_cast<size_t>(size.bmWidth) * size.bmHeight * 4);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<BYTE> StripPixels(UINT id) {
    HBITMAP strip = ::LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(static_cast<WORD>(id)));
    std::vector<BYTE> pixels = Pixels(strip);
    ::DeleteObject(strip);
    return pixels;
}

class RecordTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        SetTime(14, 7, 3);
        // Frames come only when the test delivers them, and the window's timers tick only when sent.
        UseSteppedClock();
        Camera().setSteppedMode(true);
    }
    void TearDown() override {
        platform::seams::setLocalTime(std::nullopt);
        ProgramTest::TearDown();
    }
    static void SetTime(int hour, int minute, int second) {
        platform::seams::setLocalTime(LocalTime{2026, 12, 10, hour, minute, second, 0});
    }
    static std::string Status(COrvanelDlg& dlg) {
        CString text;
        dlg.GetDlgItemText(IDC_STATIC_STATUS, text);
        return text.str();
    }
    static void Tick(COrvanelDlg& dlg) { dlg.SendMessage(WM_TIMER, COrvanelDlg::kRecordTimer, 0); }
    static bool SnapEnabled(COrvanelDlg& dlg) { return dlg.GetDlgItem(IDC_BUTTON_SNAP)->IsWindowEnabled(); }
    static bool RecordStripIs(COrvanelDlg& dlg, UINT id) {
        return Pixels(dlg.Button(IDC_BUTTON_RECORD)->m_hBitmap) == StripPixels(id);
    }
};

// The Record button asks for an AVI file, shows the start time, then on each tick the time now and the
// time since the start; F6 stops and leaves the summary with the file. The file holds the frames delivered
// in between at the capture size.
TEST_F(RecordTest, RecordTickAndStopWithF6) {
    ChooseFile("clip.avi");
    RunDialog([&](COrvanelDlg& dlg) {
        ASSERT_TRUE(RecordStripIs(dlg, IDB_RECORD));
        Click(dlg, IDC_BUTTON_RES_DOWN);
        // The window's parameters go to the camera again as the recording starts.
        KZ_SetParam(dlg.m_hCamera, KZ_PARAM_BRIGHTNESS, dlg.m_nBrightness + 20);
        Click(dlg, IDC_BUTTON_RECORD);
        int brightness = -1;
        KZ_GetParam(dlg.m_hCamera, KZ_PARAM_BRIGHTNESS, &brightness);
        EXPECT_EQ(brightness, dlg.m_nBrightness);
        ASSERT_EQ(FileDialogCalls().size(), 1u);
        EXPECT_FALSE(FileDialogCalls()[0].open);
        EXPECT_EQ(FileDialogCalls()[0].owner, dlg.m_hWnd);
        EXPECT_EQ(FileDialogCalls()[0].defaultExtension, "avi");
        EXPECT_EQ(FileDialogCalls()[0].initialName, "");
        EXPECT_EQ(FileDialogCalls()[0].filter, "AVI Files (*.avi)|*.avi|All Files (*.*)|*.*||");
        EXPECT_EQ(FileDialogCalls()[0].flags, DWORD(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
        EXPECT_EQ(dlg.m_bRecording, 1);
        EXPECT_EQ(dlg.m_strRecordFile, SystemPath("clip.avi").c_str());
        EXPECT_EQ(Status(dlg), std::string("Start:14:07:03") + kSpacer + "End:14:07:03");
        EXPECT_FALSE(SnapEnabled(dlg));
        EXPECT_TRUE(RecordStripIs(dlg, IDB_RECORDING));

        Camera().deliverFrames(10);
        SetTime(14, 7, 8);
        Tick(dlg);
        EXPECT_EQ(Status(dlg),
                  std::string("Start:14:07:03") + kSpacer + "End:14:07:08" + kSpacer + "Last:00:00:05");

        // F6 works also while the button is disabled, as it is with a media file loaded.
        dlg.GetDlgItem(IDC_BUTTON_RECORD)->EnableWindow(FALSE);
        ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, VK_F6, 0);
        ASSERT_TRUE(WaitFor([&] { return dlg.m_bRecording == 0; }));
        EXPECT_EQ(Status(dlg), std::string("Start:14:07:03") + kSpacer + "End:14:07:08" + kSpacer +
                                   "Last:00:00:05" + kSpacer + File("clip.avi").string())
            << "the file as the user chose it";
        EXPECT_TRUE(SnapEnabled(dlg));
        EXPECT_TRUE(RecordStripIs(dlg, IDB_RECORD));
        Camera().deliverFrames(5); // after the stop: not in the file
        dlg.SendMessage(WM_CLOSE);
    });
    auto probe = ProbeVideo(File("clip.avi"));
    EXPECT_EQ(probe["width"], "640");
    EXPECT_EQ(probe["height"], "480");
    ASSERT_FALSE(probe["nb_read_frames"].empty());
    EXPECT_NEAR(std::stoi(probe["nb_read_frames"]), 10, 1);
}

// The elapsed time borrows seconds from minutes and minutes from hours, and a recording across midnight
// counts on rather than turning negative.
TEST_F(RecordTest, ElapsedTimeAcrossMinutesHoursAndMidnight) {
    struct Case {
        LocalTime start;
        LocalTime now;
        const char* startText;
        const char* nowText;
        const char* elapsed;
    };
    const Case cases[] = {
        {{0, 0, 0, 10, 59, 30}, {0, 0, 0, 11, 0, 10}, "10:59:30", "11:00:10", "00:00:40"},
        {{0, 0, 0, 9, 5, 3}, {0, 0, 0, 10, 4, 2}, "09:05:03", "10:04:02", "00:58:59"},
        {{0, 0, 0, 8, 0, 0}, {0, 0, 0, 19, 30, 45}, "08:00:00", "19:30:45", "11:30:45"},
        {{0, 0, 0, 23, 59, 50}, {0, 0, 0, 0, 0, 10}, "23:59:50", "00:00:10", "00:00:20"},
        {{0, 0, 0, 22, 30, 0}, {0, 0, 0, 1, 15, 0}, "22:30:00", "01:15:00", "02:45:00"},
    };
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_RES_DOWN);
        int n = 0;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.startText);
            ChooseFile("clip" + std::to_string(n++) + ".avi");
            SetTime(c.start.hour, c.start.minute, c.start.second);
            Click(dlg, IDC_BUTTON_RECORD);
            SetTime(c.now.hour, c.now.minute, c.now.second);
            Tick(dlg);
            EXPECT_EQ(Status(dlg), std::string("Start:") + c.startText + kSpacer + "End:" + c.nowText +
                                       kSpacer + "Last:" + c.elapsed);
            Click(dlg, IDC_BUTTON_RECORD);
            EXPECT_EQ(dlg.m_bRecording, 0);
        }
        dlg.SendMessage(WM_CLOSE);
    });
}

// A cancelled save dialog changes nothing; a stop before the first tick shows this recording's start as
// its end and no elapsed time, never the texts of the recording before.
TEST_F(RecordTest, CancelAndStopBeforeTheFirstTick) {
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_RES_DOWN);
        const std::string before = Status(dlg);
        ChooseFile(std::nullopt);
        Click(dlg, IDC_BUTTON_RECORD);
        EXPECT_EQ(dlg.m_bRecording, 0);
        EXPECT_EQ(Status(dlg), before);
        EXPECT_TRUE(SnapEnabled(dlg));
        EXPECT_TRUE(RecordStripIs(dlg, IDB_RECORD));

        ChooseFile("first.avi");
        Click(dlg, IDC_BUTTON_RECORD);
        Click(dlg, IDC_BUTTON_RECORD);
        EXPECT_EQ(Status(dlg), std::string("Start:14:07:03") + kSpacer + "End:14:07:03" + kSpacer +
                                   "Last:00:00:00" + kSpacer + File("first.avi").string());

        ChooseFile("second.avi");
        Click(dlg, IDC_BUTTON_RECORD);
        SetTime(14, 7, 9);
        Tick(dlg);
        Click(dlg, IDC_BUTTON_RECORD);
        SetTime(14, 8, 0);
        ChooseFile("third.avi");
        Click(dlg, IDC_BUTTON_RECORD);
        Click(dlg, IDC_BUTTON_RECORD);
        EXPECT_EQ(Status(dlg), std::string("Start:14:08:00") + kSpacer + "End:14:08:00" + kSpacer +
                                   "Last:00:00:00" + kSpacer + File("third.avi").string());
        dlg.SendMessage(WM_CLOSE);
    });
}

// The handler tells the timers apart by id: the recording clock ticks on while a file plays, and a tick
// of the playback timer leaves the clock alone.
TEST_F(RecordTest, ClockTicksWhilePlaying) {
    ChooseFile("clip.avi");
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_RES_DOWN);
        Click(dlg, IDC_BUTTON_RECORD);
        dlg.m_bPlaying = 1;
        SetTime(14, 7, 8);
        Tick(dlg);
        EXPECT_EQ(Status(dlg),
                  std::string("Start:14:07:03") + kSpacer + "End:14:07:08" + kSpacer + "Last:00:00:05");
        SetTime(14, 7, 9);
        dlg.SendMessage(WM_TIMER, 0, 0);
        EXPECT_EQ(dlg.m_strLastTime, "00:00:05");
        dlg.m_bPlaying = 0;
        Click(dlg, IDC_BUTTON_RECORD);
        dlg.SendMessage(WM_CLOSE);
    });
}

// A start the camera refuses (the file cannot be written) shows its box and leaves the window idle: the
// status unchanged, the idle Record button, Snap enabled, and the next Record asks for a file again.
TEST_F(RecordTest, FailedStartShowsNoRecordingState) {
    ChooseFile("missing/clip.avi");
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_RES_DOWN);
        const std::string before = Status(dlg);
        Click(dlg, IDC_BUTTON_RECORD);
        EXPECT_EQ(Boxes().calls().size(), 1u);
        EXPECT_EQ(dlg.m_bRecording, 0);
        EXPECT_EQ(Status(dlg), before);
        EXPECT_TRUE(SnapEnabled(dlg));
        EXPECT_TRUE(RecordStripIs(dlg, IDB_RECORD));

        ChooseFile("clip.avi");
        Click(dlg, IDC_BUTTON_RECORD);
        EXPECT_EQ(FileDialogCalls().size(), 2u) << "the next Record starts again";
        EXPECT_EQ(dlg.m_bRecording, 1);
        Click(dlg, IDC_BUTTON_RECORD);
        dlg.SendMessage(WM_CLOSE);
    });
}

// Load is refused while recording, since loading stops the preview under the recording; once it has
// stopped, Load asks for a file.
TEST_F(RecordTest, LoadRefusedWhileRecording) {
    ChooseFile("clip.avi");
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_RES_DOWN);
        Click(dlg, IDC_BUTTON_RECORD);
        ASSERT_EQ(dlg.m_bRecording, 1);
        Click(dlg, IDC_BUTTON_LOAD_FILE);
        EXPECT_EQ(FileDialogCalls().size(), 1u) << "no open dialog";
        EXPECT_EQ(dlg.m_bRecording, 1);
        Camera().deliverFrames(4);
        Click(dlg, IDC_BUTTON_RECORD);
        ChooseFile(std::nullopt);
        Click(dlg, IDC_BUTTON_LOAD_FILE);
        EXPECT_EQ(FileDialogCalls().size(), 2u);
        dlg.SendMessage(WM_CLOSE);
    });
    auto probe = ProbeVideo(File("clip.avi"));
    ASSERT_FALSE(probe["nb_read_frames"].empty());
    EXPECT_NEAR(std::stoi(probe["nb_read_frames"]), 4, 1) << "the recording ran on to its stop";
}

// Closing the window while recording stops the recording: the file is complete with its index.
TEST_F(RecordTest, ClosingTheWindowEndsTheRecording) {
    ChooseFile("clip.avi");
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_RES_DOWN);
        Click(dlg, IDC_BUTTON_RECORD);
        ASSERT_EQ(dlg.m_bRecording, 1);
        Camera().deliverFrames(6);
        dlg.SendMessage(WM_CLOSE);
    });
    auto probe = ProbeVideo(File("clip.avi"));
    ASSERT_FALSE(probe["nb_read_frames"].empty()) << "ffprobe reads the frames through the index";
    EXPECT_NEAR(std::stoi(probe["nb_read_frames"]), 6, 1);
}

} // namespace
