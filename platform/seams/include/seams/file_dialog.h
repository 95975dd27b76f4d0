// File-dialog seam: tests answer the open, save and folder dialogs in place of a person.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <win32/types.h>

namespace platform::seams {

// One dialog as the program asked for it.
struct FileDialogCall {
    bool open;                    // open dialog; false for save
    HWND owner;
    std::string title;            // empty: the dialog's own
    std::string filter;           // "Name|patterns|...|" as the program gave it
    std::string defaultExtension; // without the dot; empty for none
    std::string initialName;
    DWORD flags; // OFN_* as given
};

// The chosen file as the program's path (as the user typed it: the default extension is added by the
// dialog), or no value for Cancel.
using FileDialogAnswer = std::function<std::optional<std::string>(const FileDialogCall&)>;

// Installs the answer (an empty function shows real dialogs again). Test set-up only.
void setFileDialogAnswer(FileDialogAnswer answer);
// The answer in force; empty while dialogs are real. GUI thread.
const FileDialogAnswer& fileDialogAnswer();

// One folder browser as the program asked for it.
struct FolderDialogCall {
    HWND owner;
    std::string title;
    UINT flags; // BIF_* as given
};

// The chosen folder as the program's path, or no value for Cancel.
using FolderDialogAnswer = std::function<std::optional<std::string>(const FolderDialogCall&)>;

void setFolderDialogAnswer(FolderDialogAnswer answer);
const FolderDialogAnswer& folderDialogAnswer();

} // namespace platform::seams
