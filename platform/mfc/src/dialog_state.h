// What the dialog manager keeps for each dialog window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <mfc/dialog_manager.h>

namespace platform::mfc {

struct DialogState {
    DLGPROC proc = nullptr;
    HFONT font = nullptr; // the template's font, owned
    std::vector<DialogControl> controls;
    int defaultId = 0; // 0: none set
    bool ended = false;
    INT_PTR result = 0;
};

// True for a control of the "BUTTON" class (class names compare without case).
bool isButtonClass(const std::string& className);

// The state of a dialog window; null for any other window. GUI thread.
std::shared_ptr<DialogState> dialogState(HWND dialog);

} // namespace platform::mfc
