// The modeless-dialog seam's watch slot.
#include <seams/dialog_watch.h>

namespace platform::seams {
namespace {

DialogWatch& slot() {
    static DialogWatch watch;
    return watch;
}

} // namespace

void setDialogWatch(DialogWatch watch) {
    slot() = std::move(watch);
}

const DialogWatch& dialogWatch() {
    return slot();
}

} // namespace platform::seams
