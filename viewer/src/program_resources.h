// The program's resources: the dialog templates, the icon and the button bitmaps.
#pragma once

#include <mfc/dialog_manager.h>

// The main dialog's template (resource 102): a hidden borderless popup with every control of the window.
platform::mfc::DialogTemplate MainDialogTemplate();
// The threshold dialog's template (resource 153).
platform::mfc::DialogTemplate ImageSettingTemplate();
// The settings dialog's template (resource 129).
platform::mfc::DialogTemplate SettingDlgTemplate();

// Registers the dialog templates, the icon (128) and the button bitmaps (131 to 165), whose pictures lie in
// the "resources" folder beside the program. Program start-up; GUI thread.
void RegisterProgramResources();
