// The dialog keys of the layer's own modal windows.
#include "modal_window.h"

#include <win32/message_loop.h>

namespace platform::dshow {

void runModalWindow(HWND window, const std::function<bool()>& closed) {
    platform::user::runModalLoop(closed, [&](MSG& msg) {
        bool inside = false;
        for (HWND w = msg.hwnd; w && !inside; w = GetParent(w))
            inside = w == window;
        if (!inside || msg.message != WM_KEYDOWN || (msg.wParam != VK_ESCAPE && msg.wParam != VK_RETURN))
            return false;
        SendMessage(window, WM_COMMAND, msg.wParam == VK_ESCAPE ? IDCANCEL : IDOK, 0);
        return true;
    });
}

} // namespace platform::dshow
