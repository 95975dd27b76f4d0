// COrvanelDlg: control placement, the Preview, Edit and full-screen control sets and the button strips.
#include "layout.h"
#include "orvanel_dlg.h"

namespace {

// Controls of the Preview set (snapshot, record and the playback position are handled apart).
constexpr int kPreviewControls[] = {
    1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1010, 1011, 1012, 1013, 1014, 1015,
    1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025, 1026, 1027, 1028, 1029, 1061,
    1072, 1073, 1074, 1075, 1076, 1077, 1086, 1087, 1088, 1089, 1093, 1101, 1102, 1103, 1104,
};
constexpr int kRecordControls[] = {IDC_BUTTON_SNAP, IDC_BUTTON_RECORD};
constexpr int kPlaybackControls[] = {IDC_SLIDER_POSITION, IDC_STATIC_TIME_POS, IDC_STATIC_TIME_LENGTH};
constexpr int kNeverShown[] = {IDC_BUTTON_HIST_EQUALIZE, IDC_BUTTON_HIST_STRETCH};
constexpr int kEditControls[] = {
    1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1042, 1043,
    1044, 1045, 1046, 1050, 1051, 1052, 1053, 1054, 1055, 1062,
};

// Bitmap strip of each button (1032 gets its strip from the mode).
struct ButtonStrip {
    int bitmap;
    int buttons[11];
};

const ButtonStrip kStrips[] = {
    {IDB_PREVIEW_EDIT, {1032}},
    {IDB_EXIT, {1000}},
    {IDB_PLUS, {1013, 1015, 1018, 1021, 1024, 1027, 1102, 1036, 1038, 1045, 1050}},
    {IDB_MINUS, {1012, 1017, 1020, 1023, 1026, 1029, 1103, 1037, 1039, 1044, 1051}},
    {IDB_SETTING, {1011}},
    {IDB_SNAP, {1030}},
    {IDB_RECORD, {1031}},
    {IDB_FULLSCREEN, {1010}},
    {IDB_EIGHT, {1040}},
    {IDB_EDGE, {1046}},
    {IDB_EMBOSS, {1042}},
    {IDB_NEGATIVE, {1043}},
    {IDB_THRESHOLD, {1041}},
    {IDB_UNDO, {1034}},
    {IDB_REDO, {1035}},
    {IDB_MINIMIZE, {1061}},
    {IDB_TOOL, {1062}},
    {IDB_HIST_EQUALIZE, {1048}},
    {IDB_HIST_STRETCH, {1049}},
    {IDB_OPEN, {1052}},
    {IDB_SAVE, {1054}},
    {IDB_RESET, {1055}},
    {IDB_FIT, {1053}},
    {IDB_CLOSE_FILE, {1093}},
    {IDB_LOAD_FILE, {1089}},
    {IDB_PAUSE, {1088}},
    {IDB_PLAY, {1086}},
    {IDB_STOP, {1087}},
};

} // namespace

// Moves every control to its fixed place in the 1024 x 768 window, repainting each.
void COrvanelDlg::LayoutControls() {
    for (const layout::Place& place : layout::kControls)
        if (CWnd* control = GetDlgItem(place.id))
            control->MoveWindow(place.x, place.y, place.width, place.height, TRUE);
    m_rcEditView = CRect(50, 60, 800, 660);
}

void COrvanelDlg::LayoutThumbnails() {
    for (int i = 0; i < kThumbCount; ++i) {
        const int left = layout::kThumbLeft + layout::kThumbStep * i;
        m_rcThumb[i] = CRect(left, layout::kThumbTop, left + layout::kThumbWidth,
                             layout::kThumbTop + layout::kThumbHeight);
        if (CWnd* thumb = GetDlgItem(IDC_STATIC_THUMB1 + i))
            thumb->MoveWindow(m_rcThumb[i], TRUE);
    }
}

// Shows the control set of mode 0 (Preview), 1 (Edit) or -1 (full screen: nothing). Other values change
// nothing. -1 leaves m_nMode as it is.
void COrvanelDlg::ShowModeControls(int mode) {
    if (mode < -1 || mode > 1)
        return;
    auto show = [this](int id, bool visible) {
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(visible ? SW_SHOW : SW_HIDE);
    };
    for (int id : kPreviewControls)
        show(id, mode == 0);
    for (int id : kRecordControls) {
        show(id, mode == 0);
        if (mode == 0)
            if (CWnd* control = GetDlgItem(id))
                control->EnableWindow(m_bPreview == 1);
    }
    for (int id : kPlaybackControls)
        show(id, mode == 0 && m_bPreview == 0);
    for (int id : kEditControls)
        show(id, mode == 1);
    show(IDC_BUTTON_PREVIEW_EDIT, mode != -1);
    for (int id : kNeverShown)
        show(id, false);
}

// The resolution picture of the starting resolution, then every button's strip.
void COrvanelDlg::LoadButtonBitmaps() {
    m_Resolution.LoadFile(m_str1280Bmp, 1, 0, 1);
    for (const ButtonStrip& strip : kStrips)
        for (int id : strip.buttons)
            if (CBmpButton* button = Button(id))
                button->SetBitmap(strip.bitmap);
}

// Switches between Preview and Edit mode; the camera preview keeps running in the hidden picture area.
void COrvanelDlg::OnPreviewEdit() {
    m_nMode ^= 1;
    Button(IDC_BUTTON_PREVIEW_EDIT)->SetBitmap(m_nMode == 1 ? IDB_EDIT_PREVIEW : IDB_PREVIEW_EDIT);
    ShowModeControls(m_nMode);
    if (m_hWnd != nullptr)
        InvalidateRect(nullptr, TRUE);
}

void COrvanelDlg::OnMinimize() {
    ShowWindow(SW_SHOWMINIMIZED);
}
