// The file-dialog seam's answer slots.
#include <seams/file_dialog.h>

namespace platform::seams {
namespace {

FileDialogAnswer& fileSlot()
{
    static FileDialogAnswer answer;
    return answer;
}

FolderDialogAnswer& folderSlot()
{
    static FolderDialogAnswer answer;
    return answer;
}

} // namespace

void setFileDialogAnswer(FileDialogAnswer answer) { fileSlot() = std::move(answer); }

const FileDialogAnswer& fileDialogAnswer() { return fileSlot(); }

void setFolderDialogAnswer(FolderDialogAnswer answer) { folderSlot() = std::move(answer); }

const FolderDialogAnswer& folderDialogAnswer() { return folderSlot(); }

} // namespace platform::seams
