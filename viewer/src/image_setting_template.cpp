// The threshold dialog's template (resource 153): two labelled slider rows, the second hidden, OK and Cancel.
#include "image_setting.h"
#include "program_resources.h"

namespace {

constexpr DWORD kShown = WS_VISIBLE;
constexpr DWORD kSlider = TBS_NOTICKS | TBS_BOTH | WS_TABSTOP;

} // namespace

platform::mfc::DialogTemplate ImageSettingTemplate() {
    platform::mfc::DialogTemplate dialog{};
    dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    dialog.x = 0;
    dialog.y = 0;
    dialog.cx = 186;
    dialog.cy = 62;
    dialog.fontFace = "System";
    dialog.pointSize = 10;
    dialog.items = {
        {IDC_LABEL_THRESHOLD, WC_STATIC, "", kShown, 10, 6, 50, 8},
        {IDC_LABEL_BOUND, WC_STATIC, "", 0, 10, 21, 50, 8},
        {IDOK, WC_BUTTON, "", kShown | WS_TABSTOP | BS_PUSHBUTTON, 18, 39, 50, 14},
        {IDCANCEL, WC_BUTTON, "", kShown | WS_TABSTOP | BS_PUSHBUTTON, 105, 39, 50, 14},
        {IDC_SLIDER_THRESHOLD, TRACKBAR_CLASS, "", kShown | kSlider, 60, 6, 100, 10},
        {IDC_SLIDER_BOUND, TRACKBAR_CLASS, "", kSlider, 60, 21, 100, 10},
        {IDC_STATIC_THRESHOLD_VALUE, WC_STATIC, "", kShown, 163, 5, 13, 8},
        {IDC_STATIC_BOUND_VALUE, WC_STATIC, "", 0, 163, 20, 13, 8},
    };
    return dialog;
}
