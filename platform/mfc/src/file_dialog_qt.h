// The Qt side of the file and folder dialogs: the filter in Qt's form and the dialogs themselves.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <seams/file_dialog.h>

namespace platform::mfc {

// "AVI Files (*.avi)|*.avi|All (*.*)|*.*||" -> "AVI Files (*.avi);;All (*.*)": each name keeps its text
// up to its own "(...)" and gets the patterns, ";" separated patterns becoming blank separated ones.
std::string qtFilter(std::string_view filter);

// Shows a Qt file dialog for the call (modal, its own event loop); the chosen file in the system's path
// form, or no value for Cancel or when there is no GUI application. GUI thread.
std::optional<std::string> showQtFileDialog(const platform::seams::FileDialogCall& call, int filterIndex);
// The same for a folder.
std::optional<std::string> showQtFolderDialog(const platform::seams::FolderDialogCall& call);

} // namespace platform::mfc
