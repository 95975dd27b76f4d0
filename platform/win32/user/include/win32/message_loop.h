// The platform's message pump for the framework: pre-translation hook, main loop and modal loops.
#pragma once

#include <functional>

#include <win32/user_message.h>

namespace platform::user {

// Installs the hook that every message retrieved by the loops below (posted, input, WM_PAINT, WM_TIMER)
// passes before TranslateMessage and DispatchMessage; returning true swallows the message. Sent messages
// and messages served inside a message box or a foreign Qt loop do not pass it. An empty function removes
// it. GUI thread.
void setPreTranslateHook(std::function<bool(MSG&)> hook);

// Marks a window as standing for one that a thread of its own serves (a renderer's video window): its
// messages skip the hook, since in the program's own loop they would never be. GUI thread.
void markServedByOwnThread(HWND hwnd);

// Retrieves one message (waiting for it), passes it through the hook, translates and dispatches it.
// Returns false for WM_QUIT, which is stored in `quit` when given. GUI thread.
bool pumpMessage(MSG* quit = nullptr);

// Pumps until WM_QUIT; returns its exit code. GUI thread.
int runMessageLoop();

// Pumps until `finished` returns true (checked before each wait and after each message); returns true then.
// A WM_QUIT ends the loop early: it is posted again for the outer loop and the result is false. A message
// that `own` (when given) takes goes no further: the loop's own dialog keys. GUI thread.
bool runModalLoop(const std::function<bool()>& finished, const std::function<bool(MSG&)>& own = {});

// Runs a dialog with a loop of its own (a Qt file or folder dialog) the way a common dialog runs for its
// owner: the owner's top-level window is disabled meanwhile, then enabled and activated again, with the
// focus back where it was. A null owner runs `dialog` alone. GUI thread.
void runOwnedDialog(HWND owner, const std::function<void()>& dialog);

} // namespace platform::user
