// Modeless-dialog seam: tests learn the window of each dialog made from a named template.
#pragma once

#include <functional>
#include <string>

#include <win32/types.h>

namespace platform::seams {

// Told of every dialog CreateDialogParam makes from a template given by name, once WM_INITDIALOG has run.
using DialogWatch = std::function<void(HWND dialog, const std::string& templateName)>;

// Installs the watch (an empty function removes it). Test set-up only.
void setDialogWatch(DialogWatch watch);
// The watch in force, or an empty function. GUI thread.
const DialogWatch& dialogWatch();

} // namespace platform::seams
