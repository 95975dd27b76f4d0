// The "CameraProperty" dialog: sliders write the sensor's gains and exposure, OK stores them, the check
// boxes switch the auto loops, and the loops' results move the sliders back.
#include "property_dialog.h"

#include <iterator>
#include <mutex>

#include <camera/korvib.h>

#include "auto_loops.h"
#include "camera_device.h"
#include "library_state.h"
#include "property_dialog_template.h"
#include "registry_settings.h"

namespace korvib {
namespace {

// A slider, the field showing its value and the sensor registers it drives.
struct SliderRow {
    int slider;
    int value;
    int reg;
    int secondReg; // -1: none
};

constexpr SliderRow kRed{kRedSlider, kRedValue, KZ_REG_GAIN_RED, -1};
constexpr SliderRow kGreen{kGreenSlider, kGreenValue, KZ_REG_GAIN_GREEN1, KZ_REG_GAIN_GREEN2};
constexpr SliderRow kBlue{kBlueSlider, kBlueValue, KZ_REG_GAIN_BLUE, -1};
constexpr SliderRow kExposure{kExposureSlider, kExposureValue, KZ_REG_EXPOSURE, -1};
constexpr SliderRow kRows[] = {kRed, kGreen, kBlue, kExposure};

// Register writes report nothing; without a device or register object they have no effect.
void WriteRegister(int index, int value) {
    if (CameraDevice* device = CameraDevice::Current()) {
        static_cast<void>(device->RegOperation(index, &value, 1));
    }
}

int SliderPosition(HWND dialog, int slider) {
    return static_cast<int>(SendDlgItemMessage(dialog, slider, TBM_GETPOS, 0, 0));
}

void ShowValue(HWND dialog, const SliderRow& row, int value) {
    SendDlgItemMessage(dialog, row.slider, TBM_SETPOS, TRUE, value);
    SetDlgItemInt(dialog, row.value, static_cast<UINT>(value), TRUE);
}

// The slider's position to its field and register; green goes to both green registers.
void FollowSlider(HWND dialog, const SliderRow& row) {
    const int position = SliderPosition(dialog, row.slider);
    SetDlgItemInt(dialog, row.value, static_cast<UINT>(position), TRUE);
    WriteRegister(row.reg, position);
    if (row.secondReg >= 0) {
        WriteRegister(row.secondReg, SliderPosition(dialog, row.slider));
    }
}

// The auto parameters and the stored gains and exposure (corrected), shown and sent to the sensor.
void Initialise(HWND dialog) {
    const HKEY key = Library().settingsKey;
    AutoLoops().SetParameters(ReadAutoParameters(key));
    // Red, green1, green2, blue, exposure.
    const auto stored = StoredSensorWrites(key);
    const int values[] = {stored[0].value, stored[1].value, stored[3].value, stored[4].value};
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const SliderRow& row = kRows[i];
        SetDlgItemInt(dialog, row.value, static_cast<UINT>(values[i]), TRUE);
        const int maximum = row.reg == KZ_REG_EXPOSURE ? 16383 : 63;
        SendDlgItemMessage(dialog, row.slider, TBM_SETRANGE, TRUE, MAKELONG(1, maximum));
        SendDlgItemMessage(dialog, row.slider, TBM_SETPOS, TRUE, values[i]);
        WriteRegister(row.reg, values[i]);
        if (row.secondReg >= 0) {
            WriteRegister(row.secondReg, values[i]);
        }
    }
}

void StorePositions(HWND dialog) {
    const struct {
        const char* name;
        int slider;
    } stored[] = {{"RGain", kRedSlider},
                  {"GGain1", kGreenSlider},
                  {"GGain2", kGreen2Slider},
                  {"BGain", kBlueSlider},
                  {"Exposure", kExposureSlider}};
    for (const auto& value : stored) {
        WriteRegDword(Library().settingsKey, value.name,
                      static_cast<DWORD>(SliderPosition(dialog, value.slider)));
    }
}

void Forget(HWND dialog) {
    LibraryState& library = Library();
    if (library.propertyDialog == dialog) {
        library.propertyDialog = nullptr;
        // Nothing could show or stop a loop left running.
        AutoLoops().SetResultWindow(nullptr);
        AutoLoops().SwitchOff();
    }
}

INT_PTR OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK:
        StorePositions(dialog);
        [[fallthrough]];
    case IDCANCEL:
        DestroyWindow(dialog);
        Forget(dialog);
        return TRUE;
    case kAutoWhiteBalanceBox:
        AutoLoops().SwitchWhiteBalance(IsDlgButtonChecked(dialog, kAutoWhiteBalanceBox) == BST_CHECKED);
        return FALSE;
    case kAutoExposureBox:
        AutoLoops().SwitchExposure(IsDlgButtonChecked(dialog, kAutoExposureBox) == BST_CHECKED);
        return FALSE;
    default:
        return FALSE;
    }
}

// Every notification of a slider, thumb tracking included.
INT_PTR OnScroll(HWND dialog, HWND slider) {
    const int id = GetDlgCtrlID(slider);
    for (const SliderRow& row : kRows) {
        if (row.slider == id) {
            FollowSlider(dialog, row);
        }
    }
    return TRUE;
}

// A box shows whether its loop runs: a loop that finished or gave up clears it, unless the user has switched
// it on again since.
void FollowSwitch(HWND dialog, int box, bool on) {
    CheckDlgButton(dialog, box, on ? BST_CHECKED : BST_UNCHECKED);
}

// The loops' final values move the sliders and fields; nothing is written.
INT_PTR OnWhiteBalanceResult(HWND dialog, WPARAM gains) {
    ShowValue(dialog, kRed, static_cast<int>(gains & 0xFF));
    ShowValue(dialog, kGreen, static_cast<int>((gains >> 8) & 0xFF));
    ShowValue(dialog, kBlue, static_cast<int>((gains >> 16) & 0xFF));
    FollowSwitch(dialog, kAutoWhiteBalanceBox, AutoLoops().WhiteBalanceOn());
    return TRUE;
}

INT_PTR OnExposureResult(HWND dialog, WPARAM exposure) {
    ShowValue(dialog, kExposure, static_cast<int>(exposure));
    FollowSwitch(dialog, kAutoExposureBox, AutoLoops().ExposureOn());
    return TRUE;
}

// A loop switched itself off without a result.
INT_PTR OnLoopStopped(HWND dialog) {
    FollowSwitch(dialog, kAutoWhiteBalanceBox, AutoLoops().WhiteBalanceOn());
    FollowSwitch(dialog, kAutoExposureBox, AutoLoops().ExposureOn());
    return TRUE;
}

// GUI thread. Until a device has been built every message goes unhandled.
INT_PTR CALLBACK PropertyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CameraDevice::Current() == nullptr) {
        return FALSE;
    }
    switch (message) {
    case WM_INITDIALOG:
        Initialise(dialog);
        return TRUE;
    case WM_HSCROLL:
        return OnScroll(dialog, reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam));
    case WM_AWB_RESULT:
        return OnWhiteBalanceResult(dialog, wParam);
    case WM_AE_RESULT:
        return OnExposureResult(dialog, wParam);
    case WM_AUTO_STOPPED:
        return OnLoopStopped(dialog);
    default:
        return FALSE;
    }
}

// Shows the dialog topmost at its normal position.
void BringToFront(HWND dialog) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(dialog, &placement);
    const RECT& normal = placement.rcNormalPosition;
    SetWindowPos(dialog, HWND_TOPMOST, normal.left, normal.top, normal.right - normal.left,
                 normal.bottom - normal.top, SWP_SHOWWINDOW);
}

} // namespace

int OpenPropertyDialog() {
    LibraryState& library = Library();
    if (library.propertyDialog != nullptr && IsWindow(library.propertyDialog)) {
        ShowWindow(library.propertyDialog, SW_SHOWNORMAL);
        BringToFront(library.propertyDialog);
        return KZ_ERR_FAILED;
    }
    static std::once_flag registered;
    std::call_once(registered, [] {
        platform::mfc::registerDialogTemplate(kPropertyDialogName, CameraPropertyTemplate());
    });
    const HWND dialog = CreateDialogParam(nullptr, kPropertyDialogName, nullptr, PropertyDialogProc, 0);
    library.propertyDialog = dialog;
    if (dialog == nullptr) {
        return KZ_ERR_FAILED;
    }
    AutoLoops().SetResultWindow(dialog);
    ShowWindow(dialog, SW_SHOW);
    BringToFront(dialog);
    return KZ_OK;
}

void ClosePropertyDialog() {
    const HWND dialog = Library().propertyDialog;
    if (dialog == nullptr) {
        return;
    }
    if (IsWindow(dialog)) {
        SendMessage(dialog, WM_CLOSE, 0, 0);
    }
    // Without a current device the dialog ignores WM_CLOSE; it must not outlive its handle.
    if (IsWindow(dialog)) {
        DestroyWindow(dialog);
    }
    Forget(dialog);
}

HWND PropertyDialogWindow() {
    return Library().propertyDialog;
}

} // namespace korvib
