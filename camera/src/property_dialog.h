// The library's own modeless property dialog "CameraProperty": sensor gains, exposure and the auto loops.
#pragma once

#include <win32/types.h>

namespace korvib {

// Control ids of the dialog.
enum PropertyControl {
    kRedSlider = 1002,
    kAutoWhiteBalanceBox = 1003,
    kGreenSlider = 1004,
    kBlueSlider = 1005,
    kExposureSlider = 1006,
    kRedValue = 1007,
    kGreenValue = 1008,
    kBlueValue = 1009,
    kAutoExposureBox = 1010,
    kGreen2Slider = 1011,
    kGreen2Value = 1012,
    kExposureValue = 1013,
};

// Opens the dialog, or brings the open one to the front. KZ_OK when it was created; KZ_ERR_FAILED when it
// was already open or could not be created. GUI thread.
int OpenPropertyDialog();

// Sends the open dialog WM_CLOSE and forgets it; nothing when none is open. GUI thread.
void ClosePropertyDialog();

// The open dialog; null when none is open. GUI thread.
HWND PropertyDialogWindow();

} // namespace korvib
