// End-to-end: control places and the Preview, Edit and full-screen control sets.
#include <set>

#include "layout.h"
#include "program_fixture.h"
#include "program_resources.h"

namespace {

std::set<int> Range(int first, int last) {
    std::set<int> ids;
    for (int id = first; id <= last; ++id)
        ids.insert(id);
    return ids;
}

std::set<int> Join(std::initializer_list<std::set<int>> parts) {
    std::set<int> all;
    for (const auto& part : parts)
        all.insert(part.begin(), part.end());
    return all;
}

// Visible controls of each mode with the preview running.
const std::set<int> kPreviewSet = Join({{1000, 1001, 1010, 1011, 1030, 1031, 1032, 1061, 1093},
                                        Range(1002, 1008),
                                        Range(1012, 1029),
                                        Range(1072, 1077),
                                        Range(1086, 1089),
                                        Range(1101, 1104)});
const std::set<int> kEditSet = Join({{1032, 1062}, Range(1033, 1046), Range(1050, 1055)});
const std::set<int> kFullScreenSet = {};

// Every control of the template whose visibility differs from `expected`, with what it showed.
std::vector<std::pair<int, bool>> VisibilityErrors(COrvanelDlg& dlg, const std::set<int>& expected) {
    std::vector<std::pair<int, bool>> errors;
    for (const auto& item : MainDialogTemplate().items) {
        const bool visible = dlg.GetDlgItem(item.id)->IsWindowVisible() != FALSE;
        if (visible != (expected.count(item.id) == 1))
            errors.emplace_back(item.id, visible);
    }
    return errors;
}

using Errors = std::vector<std::pair<int, bool>>;

} // namespace

// Every control stands at its fixed place, the thumbnails in a row of seven.
TEST_F(ProgramTest, ControlsStandAtTheirPlaces) {
    RunDialog([&](COrvanelDlg& dlg) {
        for (const layout::Place& place : layout::kControls)
            EXPECT_EQ(ControlRect(dlg, place.id),
                      CRect(place.x, place.y, place.x + place.width, place.y + place.height))
                << place.id;
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(ControlRect(dlg, 1002 + i), CRect(55 + 110 * i, 680, 135 + 110 * i, 740)) << 1002 + i;
        CRect client;
        dlg.GetClientRect(client);
        EXPECT_EQ(client, CRect(0, 0, 1024, 768));
        dlg.SendMessage(WM_CLOSE);
    });
}

// Preview at start, Edit after the mode button, Preview again after a second press, nothing in full screen
// and the set of the mode back after it; snapshot and record stay enabled while the preview runs.
TEST_F(ProgramTest, EachModeShowsItsControlSet) {
    RunDialog([&](COrvanelDlg& dlg) {
        EXPECT_EQ(VisibilityErrors(dlg, kPreviewSet), Errors{});
        EXPECT_TRUE(dlg.GetDlgItem(IDC_BUTTON_SNAP)->IsWindowEnabled());
        EXPECT_TRUE(dlg.GetDlgItem(IDC_BUTTON_RECORD)->IsWindowEnabled());

        Click(dlg, IDC_BUTTON_PREVIEW_EDIT);
        EXPECT_EQ(dlg.m_nMode, 1);
        EXPECT_EQ(VisibilityErrors(dlg, kEditSet), Errors{});
        Click(dlg, IDC_BUTTON_PREVIEW_EDIT);
        EXPECT_EQ(dlg.m_nMode, 0);
        EXPECT_EQ(VisibilityErrors(dlg, kPreviewSet), Errors{});

        Click(dlg, IDC_BUTTON_FULLSCREEN);
        EXPECT_EQ(VisibilityErrors(dlg, kFullScreenSet), Errors{});
        Click(dlg, IDC_BUTTON_FULLSCREEN);
        EXPECT_EQ(VisibilityErrors(dlg, kPreviewSet), Errors{});

        // Values other than -1, 0 and 1 change nothing.
        dlg.ShowModeControls(2);
        EXPECT_EQ(VisibilityErrors(dlg, kPreviewSet), Errors{});
        dlg.SendMessage(WM_CLOSE);
    });
}

// With the preview stopped (a media file in the picture area) the playback position shows and snapshot
// and record are disabled.
TEST_F(ProgramTest, StoppedPreviewShowsThePlaybackPosition) {
    RunDialog([&](COrvanelDlg& dlg) {
        dlg.EnablePreview(0);
        dlg.ShowModeControls(0);
        EXPECT_EQ(VisibilityErrors(dlg, Join({kPreviewSet, {1090, 1091, 1092}})), Errors{});
        EXPECT_FALSE(dlg.GetDlgItem(IDC_BUTTON_SNAP)->IsWindowEnabled());
        EXPECT_FALSE(dlg.GetDlgItem(IDC_BUTTON_RECORD)->IsWindowEnabled());
        dlg.SendMessage(WM_CLOSE);
    });
}

// Statics without SS_NOTIFY (thumbnails, resolution picture, status line) let the mouse through to the
// dialog; the views and level bars take it.
TEST_F(ProgramTest, OnlyNotifyingStaticsTakeTheMouse) {
    RunDialog([&](COrvanelDlg& dlg) {
        const std::set<int> through = Join({Range(1002, 1008), {1014, 1072}});
        const std::set<int> taking = {1001, 1016, 1019, 1022, 1025, 1028, 1033, 1101};
        for (int id : Join({through, taking})) {
            const LRESULT hit = dlg.GetDlgItem(id)->SendMessage(WM_NCHITTEST);
            EXPECT_EQ(hit, through.count(id) ? HTTRANSPARENT : HTCLIENT) << id;
        }
        dlg.SendMessage(WM_CLOSE);
    });
}
