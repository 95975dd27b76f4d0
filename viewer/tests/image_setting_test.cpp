// End-to-end: the threshold dialog opened by Tool: its start values, slider, languages, OK and Cancel.
#include <cstring>

#include "image_setting.h"
#include "program_fixture.h"

namespace {

// Clicks Tool and runs `act` on the dialog it opens; `act` ends the dialog.
void WithToolDialog(COrvanelDlg& dlg, std::function<void(HWND)> act) {
    EXPECT_TRUE(WithModalDialog(dlg, IDC_BUTTON_TOOL, IDC_SLIDER_THRESHOLD, std::move(act)));
}

bool ItemVisible(HWND dialog, int id) {
    return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE;
}

// Drags the threshold slider to `pos` as the user does: the position, then the dialog's notification.
void MoveThreshold(HWND dialog, int pos) {
    HWND slider = ::GetDlgItem(dialog, IDC_SLIDER_THRESHOLD);
    ::SendMessage(slider, TBM_SETPOS, TRUE, pos);
    ::SendMessage(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, pos), reinterpret_cast<LPARAM>(slider));
}

void Press(HWND dialog, int id) {
    ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                  reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// An 8 x 2 grey picture, four pixels of 150 and four of 250 in each row.
std::vector<BYTE> GreyBars() {
    std::vector<BYTE> pixels(8 * 3 * 2);
    for (int i = 0; i < 16; ++i)
        std::memset(&pixels[i * 3], (i % 8) < 4 ? 150 : 250, 3);
    return pixels;
}

std::vector<BYTE> Thresholded(BYTE level) {
    std::vector<BYTE> pixels = GreyBars();
    CRastel picture;
    picture.ReadBitmap(pixels.data(), 8, 2, 24);
    picture.Threshold(level);
    return {picture.GetBmpPixel(), picture.GetBmpPixel() + picture.GetBmpSize()};
}

} // namespace

// The dialog opens on 128 with the bound row hidden; the value text follows the slider at once; Cancel
// keeps 128, OK takes 200, and Binary then thresholds at 200.
TEST_F(ProgramTest, ThresholdDialogOkAndCancel) {
    ASSERT_NE(Thresholded(128), Thresholded(200)) << "the picture tells the two levels apart";
    RunDialog([&](COrvanelDlg& dlg) {
        std::string shown, moved, title, label;
        bool boundVisible = true, boundSliderVisible = true;
        int range = 0;
        WithToolDialog(dlg, [&](HWND d) {
            shown = ItemText(d, IDC_STATIC_THRESHOLD_VALUE);
            label = ItemText(d, IDC_LABEL_THRESHOLD);
            boundVisible = ItemVisible(d, IDC_LABEL_BOUND) || ItemVisible(d, IDC_STATIC_BOUND_VALUE);
            boundSliderVisible = ItemVisible(d, IDC_SLIDER_BOUND);
            range =
                static_cast<int>(::SendMessage(::GetDlgItem(d, IDC_SLIDER_THRESHOLD), TBM_GETRANGEMAX, 0, 0));
            char text[32] = {};
            ::GetWindowText(d, text, sizeof text);
            title = text;
            MoveThreshold(d, 200);
            moved = ItemText(d, IDC_STATIC_THRESHOLD_VALUE);
            Press(d, IDCANCEL);
        });
        EXPECT_EQ(shown, "128");
        EXPECT_EQ(label, "Binary Max");
        EXPECT_EQ(title, "Setting");
        EXPECT_EQ(range, 255);
        EXPECT_FALSE(boundVisible);
        EXPECT_FALSE(boundSliderVisible);
        EXPECT_EQ(moved, "200");
        EXPECT_EQ(dlg.m_nThreshold, 128);

        WithToolDialog(dlg, [&](HWND d) {
            MoveThreshold(d, 200);
            Press(d, IDOK);
        });
        EXPECT_EQ(dlg.m_nThreshold, 200);
        EXPECT_EQ(dlg.m_nBound, 70);

        std::vector<BYTE> pixels = GreyBars();
        ASSERT_EQ(dlg.m_EditView.LoadBuffer(pixels.data(), 8, 2, 24, 0, 0, 1), 1);
        dlg.TakeEditPicture();
        Click(dlg, IDC_BUTTON_THRESHOLD);
        const BYTE* shownPixels = dlg.m_EditView.GetBmpPixel();
        ASSERT_NE(shownPixels, nullptr);
        EXPECT_EQ(std::vector<BYTE>(shownPixels, shownPixels + dlg.m_EditView.GetBmpSize()),
                  Thresholded(200));
        dlg.SendMessage(WM_CLOSE);
    });
}

// The dialog shows its five texts in the window's language, the hidden bound label's as well.
TEST_F(ProgramTest, ThresholdDialogTextsInBothLanguages) {
    struct Case {
        int language;
        std::vector<std::string> texts; // threshold label, bound label, OK, Cancel, title
    };
    const Case cases[] = {
        {0, {"Binary Max", "Histagram Min", "OK", "Cancel", "Setting"}},
        {1, {"二值化阈值", "直方图阈值", "确定", "取消", "设置"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        RunDialog([&](COrvanelDlg& dlg) {
            dlg.m_nLanguage = c.language;
            std::vector<std::string> texts;
            WithToolDialog(dlg, [&](HWND d) {
                for (int id : {IDC_LABEL_THRESHOLD, IDC_LABEL_BOUND, IDOK, IDCANCEL, 0})
                    texts.push_back(ItemText(d, id));
                Press(d, IDCANCEL);
            });
            EXPECT_EQ(texts, c.texts);
            dlg.SendMessage(WM_CLOSE);
        });
    }
}
