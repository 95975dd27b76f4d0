// The settings dialog's template (resource 129): the rows of settings between etched lines, Default,
// OK and Cancel.
#include "program_resources.h"
#include "setting_dlg.h"

namespace {

constexpr DWORD kShown = WS_VISIBLE;
constexpr DWORD kLabel = WS_VISIBLE | WS_GROUP;
constexpr DWORD kRadio = WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr DWORD kFirstRadio = kRadio | WS_GROUP | WS_TABSTOP;
constexpr DWORD kPush = WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kFlatPush = kPush | BS_FLAT | BS_LEFT;
constexpr DWORD kLine = WS_VISIBLE | SS_ETCHEDHORZ;

} // namespace

// Template order is tab order; each radio group starts with its value 0 and runs to the next WS_GROUP.
platform::mfc::DialogTemplate SettingDlgTemplate() {
    platform::mfc::DialogTemplate dialog{};
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.cx = 244;
    dialog.cy = 143;
    dialog.caption = "Setting";
    dialog.fontFace = "System";
    dialog.pointSize = 9;
    dialog.items = {
        {IDC_BUTTON_SAVE_PATH, WC_BUTTON, "", kFlatPush, 6, 3, 50, 10},
        {IDC_EDIT_SAVE_PATH, WC_EDIT, "", kShown | WS_GROUP | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL, 66, 2,
         168, 12},
        {IDC_LABEL_SAVE_FORMAT, WC_STATIC, "", kLabel, 6, 20, 51, 10},
        {IDC_RADIO_JPEG, WC_BUTTON, "JPEG", kFirstRadio, 67, 20, 34, 10},
        {IDC_RADIO_BMP, WC_BUTTON, "BMP", kRadio, 150, 20, 32, 10},
        {IDC_LABEL_SNAP_FORMAT, WC_STATIC, "", kLabel, 6, 35, 51, 10},
        {IDC_RADIO_SNAP_SAVE, WC_BUTTON, "", kFirstRadio, 67, 35, 61, 10},
        {IDC_RADIO_SNAP, WC_BUTTON, "", kRadio, 150, 35, 34, 10},
        {IDC_LABEL_QUALITY, WC_STATIC, "", kLabel, 6, 50, 52, 10},
        {IDC_CHECK_QUALITY, WC_BUTTON, "", kShown | WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, 67, 50, 55, 10},
        {IDC_LABEL_VIDEO_FORMAT, WC_STATIC, "", kLabel, 6, 65, 44, 10},
        {IDC_BUTTON_SELECT_COMPRESSOR, WC_BUTTON, "", kPush, 67, 64, 50, 10},
        {IDC_BUTTON_MORE_PROPERTY, WC_BUTTON, "", kFlatPush, 6, 78, 50, 10},
        {IDC_RADIO_MANUAL_WB, WC_BUTTON, "", kFirstRadio, 150, 80, 92, 10},
        {IDC_RADIO_AUTO_WB, WC_BUTTON, "", kRadio, 67, 80, 79, 10},
        {IDC_LABEL_DISPLAY_TYPE, WC_STATIC, "", kLabel, 6, 95, 49, 10},
        {IDC_RADIO_DS, WC_BUTTON, "", kFirstRadio, 150, 95, 26, 10},
        {IDC_RADIO_GDI, WC_BUTTON, "", kRadio, 67, 95, 28, 10},
        {IDC_BUTTON_DEFAULT, WC_BUTTON, "", kPush, 20, 120, 35, 15},
        {IDOK, WC_BUTTON, "", kPush, 100, 120, 35, 15},
        {IDCANCEL, WC_BUTTON, "", kPush, 180, 120, 35, 15},
    };
    // The separators between the rows, last so that they lie under the controls.
    for (const int y : {15, 30, 45, 60, 75, 90, 105})
        dialog.items.push_back({IDC_STATIC, WC_STATIC, "", kLine, 5, y, y == 90 ? 229 : 230, 1});
    return dialog;
}
