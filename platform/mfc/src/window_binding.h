// The framework's state shared by its window files: the message being handled and the dispatch depth.
#pragma once

#include <win32/user_message.h>

namespace platform::mfc {

// The message whose handler runs now (innermost); message 0 outside any handler.
struct CurrentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
const CurrentMessage& currentMessage();

// Plugs the pre-translation chain into the window layer's message loops (once). GUI thread.
void installPreTranslateChain();

} // namespace platform::mfc
