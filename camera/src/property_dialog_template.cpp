// The controls of the "CameraProperty" dialog: gain and exposure sliders with their values, the auto boxes.
#include "property_dialog_template.h"

#include "property_dialog.h"

namespace korvib {
namespace {

constexpr DWORD kVisible = WS_VISIBLE;
constexpr DWORD kGroup = kVisible | BS_GROUPBOX;
constexpr DWORD kLabel = kVisible | SS_LEFT;
constexpr DWORD kSlider = kVisible | WS_TABSTOP | TBS_NOTICKS;
constexpr DWORD kValue = kVisible | SS_LEFT | SS_SUNKEN;
constexpr DWORD kAutoBox = kVisible | WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE;

} // namespace

platform::mfc::DialogTemplate CameraPropertyTemplate() {
    using platform::mfc::DialogItem;
    platform::mfc::DialogTemplate dialog{};
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.cx = 161;
    dialog.cy = 119;
    dialog.caption = "属性";
    dialog.fontFace = "Times New Roman";
    dialog.pointSize = 9;
    dialog.items = {
        DialogItem{IDC_STATIC, WC_BUTTON, "白平衡", kGroup, 0, 0, 160, 62},
        DialogItem{IDC_STATIC, WC_STATIC, "红：", kLabel, 6, 13, 15, 8},
        DialogItem{kRedSlider, TRACKBAR_CLASS, "", kSlider, 28, 13, 100, 10},
        DialogItem{kRedValue, WC_STATIC, "", kValue, 132, 13, 23, 8},
        DialogItem{IDC_STATIC, WC_STATIC, "绿：", kLabel, 6, 25, 15, 8},
        DialogItem{kGreenSlider, TRACKBAR_CLASS, "", kSlider, 28, 25, 100, 10},
        DialogItem{kGreenValue, WC_STATIC, "", kValue, 132, 25, 23, 8},
        DialogItem{IDC_STATIC, WC_STATIC, "兰：", kLabel, 6, 39, 15, 8},
        DialogItem{kBlueSlider, TRACKBAR_CLASS, "", kSlider, 28, 39, 100, 10},
        DialogItem{kBlueValue, WC_STATIC, "", kValue, 132, 39, 23, 8},
        DialogItem{IDC_STATIC, WC_STATIC, "绿2：", kLabel & ~WS_VISIBLE, 6, 51, 18, 8},
        DialogItem{kGreen2Slider, TRACKBAR_CLASS, "", kSlider & ~WS_VISIBLE, 28, 51, 100, 10},
        DialogItem{kGreen2Value, WC_STATIC, "", kValue & ~WS_VISIBLE, 132, 51, 23, 8},
        DialogItem{kAutoWhiteBalanceBox, WC_BUTTON, "自动白平衡", kAutoBox, 105, 49, 50, 10},
        DialogItem{IDC_STATIC, WC_BUTTON, "曝光", kGroup, 0, 64, 160, 33},
        DialogItem{IDC_STATIC, WC_STATIC, "曝光:", kLabel, 3, 74, 16, 8},
        DialogItem{kExposureSlider, TRACKBAR_CLASS, "", kSlider, 28, 74, 100, 10},
        DialogItem{kExposureValue, WC_STATIC, "", kValue, 133, 74, 23, 8},
        DialogItem{kAutoExposureBox, WC_BUTTON, "自动曝光", kAutoBox, 106, 86, 49, 10},
        DialogItem{IDOK, WC_BUTTON, "确定", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, 59, 103, 50, 14},
        DialogItem{IDCANCEL, WC_BUTTON, "取消", kVisible | WS_TABSTOP | BS_PUSHBUTTON, 111, 103, 50, 14},
    };
    return dialog;
}

} // namespace korvib
