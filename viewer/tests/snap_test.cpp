// End-to-end: the Snap command on the simulated camera: thumbnails, file names in the day folder, the JPEG
// and BMP files, the status line, and opening a thumbnail in Edit mode.
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <testing/picture_tools.h>

#include "program_fixture.h"

namespace {

using platform::testing::djpegRgb;
using platform::testing::magickRgb;
using platform::testing::meanDifference;
using platform::testing::topDownRgb;

constexpr int kRgb24Format = 4;

class SnapTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // 14:07:03 on the 9th of December 2026 for the whole test.
        platform::seams::setLocalTime(platform::seams::LocalTime{2026, 12, 9, 14, 7, 3, 0});
        platform::seams::setSoundRecord(&sounds_);
        saveRoot_ = File("snaps");
        std::filesystem::create_directories(saveRoot_);
    }
    void TearDown() override {
        platform::seams::setSoundRecord(nullptr);
        platform::seams::setLocalTime(std::nullopt);
        ProgramTest::TearDown();
    }
    // The dialog saves under the test's folder.
    void SaveHere(COrvanelDlg& dlg) { dlg.m_strSavePath = CString((saveRoot_.string() + "/").c_str()); }
    std::filesystem::path DayFolder() const { return saveRoot_ / "2026-12-9"; }
    std::set<std::string> DayFiles() const {
        std::set<std::string> names;
        if (std::filesystem::exists(DayFolder()))
            for (const auto& entry : std::filesystem::directory_iterator(DayFolder()))
                names.insert(entry.path().filename().string());
        return names;
    }
    static std::string Status(COrvanelDlg& dlg) {
        CString text;
        dlg.GetDlgItemText(IDC_STATIC_STATUS, text);
        return text.str();
    }
    // The thumbnail's picture as top-down R, G, B.
    static std::vector<BYTE> ThumbRgb(COrvanelDlg& dlg, int slot) {
        CBmpStatic& thumb = dlg.m_Thumb[slot];
        const int width = int(thumb.GetBmpWidth());
        return topDownRgb(thumb.GetBmpPixel(), width, int(thumb.GetBmpHeight()), DibStride(width, 24));
    }

    std::vector<platform::seams::SoundCall> sounds_;
    std::filesystem::path saveRoot_;
};

// Seven snaps fill the seven thumbnails, narrowed to the 5:4 frame; the eighth wraps to the first. Every
// snap plays folder.wav and keeps its own file although all come in the same second; each JPEG is the
// frame its thumbnail shows, not a later one (with noise no two frames are alike).
TEST_F(SnapTest, SnapsFillTheStripAndKeepEveryFile) {
    ASSERT_TRUE(Camera().setNoise(24.0, 7));
    RunDialog([&](COrvanelDlg& dlg) {
        SaveHere(dlg);
        for (int i = 0; i < 7; ++i) {
            Click(dlg, IDC_BUTTON_SNAP);
            EXPECT_EQ(dlg.m_nThumbCount, i + 1);
        }
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(dlg.m_Thumb[i].GetBmpWidth(), 1280u) << i;
            EXPECT_EQ(ControlRect(dlg, IDC_STATIC_THUMB1 + i), CRect(57 + 110 * i, 680, 132 + 110 * i, 740))
                << i;
        }
        const std::string last = (DayFolder() / "14-7-3_7.jpg").string();
        EXPECT_EQ(Status(dlg), last);
        int width = 0;
        int height = 0;
        const std::vector<BYTE> decoded = djpegRgb(last, width, height);
        EXPECT_EQ(width, 1280);
        EXPECT_EQ(height, 1024);
        // Quality 70 keeps part of the noise: the JPEG stays clearly nearer to its own frame than to another.
        EXPECT_LT(meanDifference(decoded, ThumbRgb(dlg, 6)), 0.8 * meanDifference(decoded, ThumbRgb(dlg, 5)));

        Click(dlg, IDC_BUTTON_SNAP);
        EXPECT_EQ(dlg.m_nThumbCount, 1);
        const std::vector<BYTE> eighth = djpegRgb((DayFolder() / "14-7-3_8.jpg").string(), width, height);
        EXPECT_LT(meanDifference(eighth, ThumbRgb(dlg, 0)), 0.8 * meanDifference(eighth, ThumbRgb(dlg, 6)));
        dlg.SendMessage(WM_CLOSE);
    });
    std::set<std::string> expected{"14-7-3.jpg"};
    for (int n = 2; n <= 8; ++n)
        expected.insert("14-7-3_" + std::to_string(n) + ".jpg");
    EXPECT_EQ(DayFiles(), expected);
    ASSERT_EQ(sounds_.size(), 8u);
    EXPECT_EQ(sounds_[0].sound, File("folder.wav").string());
    EXPECT_EQ(sounds_[0].flags, UINT(SND_ASYNC));
}

// A BMP snapshot is a frame exactly as the camera delivered it (RGB24 frames, so the delivered bytes are
// the pipeline's), as ImageMagick reads it too; at 640 x 480 the thumbnail keeps its 80 pixels.
TEST_F(SnapTest, BmpSnapshotIsADeliveredFrame) {
    RunDialog([&](COrvanelDlg& dlg) {
        SaveHere(dlg);
        dlg.m_nSaveFormat = 1;
        Click(dlg, IDC_BUTTON_RES_DOWN);
        KZ_SetParam(dlg.m_hCamera, KZ_PARAM_FORMAT, kRgb24Format);
        dlg.EnablePreview(0);
        dlg.EnablePreview(1);
        Camera().keepFrames(30);
        Click(dlg, IDC_BUTTON_SNAP);
        EXPECT_EQ(ControlRect(dlg, IDC_STATIC_THUMB1), CRect(55, 680, 135, 740));
        EXPECT_EQ(Status(dlg), (DayFolder() / "14-7-3.bmp").string());
        dlg.SendMessage(WM_CLOSE);
    });
    const std::string path = (DayFolder() / "14-7-3.bmp").string();
    std::ifstream in(path, std::ios::binary);
    const std::vector<BYTE> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(file.size(), 54u + 640 * 480 * 3);
    const std::vector<BYTE> rows(file.begin() + 54, file.end());
    bool delivered = false;
    for (const auto& frame : Camera().lastFrames())
        delivered = delivered || frame.bytes == rows;
    EXPECT_TRUE(delivered);
    EXPECT_EQ(magickRgb(path), topDownRgb(rows.data(), 640, 480, 640 * 3));
}

// The status line: emptied in thumbnail-only mode (and no file is written), a short error with the path
// when the file could not be written; an earlier file of the same name stays as it was.
TEST_F(SnapTest, StatusLineTellsWhatWasSaved) {
    std::filesystem::create_directories(DayFolder());
    std::ofstream(DayFolder() / "14-7-3.jpg") << "earlier";
    RunDialog([&](COrvanelDlg& dlg) {
        SaveHere(dlg);
        Click(dlg, IDC_BUTTON_SNAP);
        EXPECT_EQ(Status(dlg), (DayFolder() / "14-7-3_2.jpg").string());

        dlg.m_nCapFormat = 1;
        Click(dlg, IDC_BUTTON_SNAP);
        EXPECT_EQ(Status(dlg), "");
        EXPECT_EQ(dlg.m_nThumbCount, 2);

        dlg.m_nCapFormat = 0;
        dlg.m_strSavePath = CString((File("missing").string() + "/").c_str());
        Click(dlg, IDC_BUTTON_SNAP);
        EXPECT_EQ(Status(dlg),
                  "Snapshot not saved: " + (File("missing") / "2026-12-9" / "14-7-3.jpg").string());
        EXPECT_EQ(dlg.m_nThumbCount, 3);
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(DayFiles(), (std::set<std::string>{"14-7-3.jpg", "14-7-3_2.jpg"}));
    std::string earlier;
    std::getline(std::ifstream(DayFolder() / "14-7-3.jpg"), earlier);
    EXPECT_EQ(earlier, "earlier");
}

LPARAM At(const CRect& rect) {
    return MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y);
}

// A click on a filled thumbnail opens its picture in Edit mode with a fresh history; a click on an empty
// one, or on a hidden one (Edit mode, full screen), does nothing; the hand shows only over shown ones,
// the drag cursor while the opened picture is panned.
TEST_F(SnapTest, ThumbnailClickOpensItsPictureInEditMode) {
    RunDialog([&](COrvanelDlg& dlg) {
        Click(dlg, IDC_BUTTON_SNAP);
        Click(dlg, IDC_BUTTON_SNAP);
        const LPARAM second = At(dlg.m_rcThumb[1]);

        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(dlg.m_rcThumb[4]));
        EXPECT_EQ(dlg.m_nMode, 0) << "an empty thumbnail";

        dlg.ShowModeControls(-1);
        dlg.SendMessage(WM_MOUSEMOVE, 0, second);
        EXPECT_FALSE(dlg.m_bOverThumb);
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, second);
        EXPECT_EQ(dlg.m_EditView.GetBmpPixel(), nullptr) << "a thumbnail hidden by full screen";
        dlg.ShowModeControls(0);
        dlg.SendMessage(WM_MOUSEMOVE, 0, second);
        EXPECT_TRUE(dlg.m_bOverThumb);
        dlg.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg.GetSafeHwnd()),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        // SetCursor answers the cursor shown until then.
        EXPECT_EQ(::SetCursor(::LoadCursor(nullptr, IDC_ARROW)), ::LoadCursor(nullptr, IDC_HAND));

        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, second);
        ASSERT_EQ(dlg.m_nMode, 1);
        CBmpStatic& view = dlg.m_EditView;
        ASSERT_NE(view.GetBmpPixel(), nullptr);
        EXPECT_EQ(ThumbRgb(dlg, 1), topDownRgb(view.GetBmpPixel(), 1280, 1024, 1280 * 3));
        EXPECT_EQ(dlg.m_nImageWidth, 1280);
        EXPECT_EQ(dlg.m_nImageHeight, 1024);
        EXPECT_EQ(dlg.m_nImageBits, 24);
        EXPECT_TRUE(dlg.m_bImageLarger);
        EXPECT_EQ(view.m_nHistoryCount, 1);
        // Panning the larger picture shows the program's drag cursor.
        dlg.m_bDragging = TRUE;
        dlg.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(view.GetSafeHwnd()),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const HCURSOR drag = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDC_CURSOR_DRAG));
        EXPECT_NE(drag, nullptr) << "the drag cursor is not among the program's resources";
        EXPECT_EQ(::SetCursor(::LoadCursor(nullptr, IDC_ARROW)), drag);
        dlg.m_bDragging = FALSE;

        Click(dlg, IDC_BUTTON_NEGATIVE);
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(dlg.m_rcThumb[0]));
        EXPECT_EQ(dlg.m_nMode, 1) << "a thumbnail hidden by Edit mode";
        EXPECT_EQ(view.m_nHistoryCount, 2);
        dlg.SendMessage(WM_CLOSE);
    });
}

// Snapshots after midnight still go into the folder of the day the program started, made again when it
// was removed while the program ran.
TEST_F(SnapTest, DayFolderIsTheStartDayAndMadeForEverySnap) {
    RunDialog([&](COrvanelDlg& dlg) {
        SaveHere(dlg);
        Click(dlg, IDC_BUTTON_SNAP);
        std::filesystem::remove_all(DayFolder());
        platform::seams::setLocalTime(platform::seams::LocalTime{2026, 12, 10, 0, 0, 5, 0});
        Click(dlg, IDC_BUTTON_SNAP);
        EXPECT_EQ(Status(dlg), (DayFolder() / "0-0-5.jpg").string());
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(DayFiles(), std::set<std::string>{"0-0-5.jpg"});
}

// F5 snaps whatever the mode, also while the Snap button is hidden.
TEST_F(SnapTest, F5SnapsInEditModeToo) {
    RunDialog([&](COrvanelDlg& dlg) {
        SaveHere(dlg);
        Click(dlg, IDC_BUTTON_PREVIEW_EDIT);
        ASSERT_FALSE(dlg.GetDlgItem(IDC_BUTTON_SNAP)->IsWindowVisible());
        ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, VK_F5, 0);
        EXPECT_TRUE(WaitFor([&] { return dlg.m_nThumbCount == 1; }));
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(DayFiles(), std::set<std::string>{"14-7-3.jpg"});
}

// A held F5 snaps once for its first key-down and once for each repeated one.
TEST_F(SnapTest, HeldF5SnapsForEveryRepeat) {
    RunDialog([&](COrvanelDlg& dlg) {
        SaveHere(dlg);
        constexpr LPARAM kRepeated = 0x40000000; // the key was already down
        ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, VK_F5, 1);
        ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, VK_F5, kRepeated | 1);
        ::PostMessage(dlg.m_hWnd, WM_KEYDOWN, VK_F5, kRepeated | 1);
        EXPECT_TRUE(WaitFor([&] { return dlg.m_nThumbCount == 3; }));
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(sounds_.size(), 3u);
}

// Without a camera Snap does nothing at all.
TEST_F(SnapTest, NoCameraNoSnap) {
    RunDialog([&](COrvanelDlg& dlg) {
        SaveHere(dlg);
        const KZ_HANDLE camera = dlg.m_hCamera;
        dlg.m_hCamera = nullptr;
        Click(dlg, IDC_BUTTON_SNAP);
        dlg.m_hCamera = camera;
        EXPECT_EQ(dlg.m_nThumbCount, 0);
        EXPECT_EQ(dlg.m_Thumb[0].GetBmpPixel(), nullptr);
        dlg.SendMessage(WM_CLOSE);
    });
    EXPECT_TRUE(sounds_.empty());
    EXPECT_TRUE(DayFiles().empty());
}

} // namespace
