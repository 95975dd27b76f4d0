// The file-dialog seam's answer slot.
#include <testing/file_dialog.h>

namespace platform::testing {
namespace {

FileDialogAnswer& slot()
{
    static FileDialogAnswer answer;
    return answer;
}

} // namespace

void setFileDialogAnswer(FileDialogAnswer answer) { slot() = std::move(answer); }

const FileDialogAnswer& fileDialogAnswer() { return slot(); }

} // namespace platform::testing
