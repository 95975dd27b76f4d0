// The dialog template "CameraProperty" of the library's own property dialog.
#pragma once

#include <mfc/dialog_manager.h>

namespace korvib {

// Name of the dialog resource.
constexpr const char* kPropertyDialogName = "CameraProperty";

// The template: caption "属性", Times New Roman 9 pt, 161 x 119 dialog units.
platform::mfc::DialogTemplate CameraPropertyTemplate();

} // namespace korvib
