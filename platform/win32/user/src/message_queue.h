// The GUI thread's message queue: posted and input messages, the quit flag, and retrieval with filters.
#pragma once

#include <functional>

#include <win32/user_message.h>

namespace platform::user {

// Appends an input message made from a Qt event; with `setCursor` its window gets WM_SETCURSOR when the
// message is retrieved. Consecutive moves to one window are merged. GUI thread.
void postInput(const MSG& msg, bool setCursor);
// Drops every queued message of a window. GUI thread.
void removeMessagesFor(HWND hwnd);

// Message filters of GetMessage and PeekMessage.
bool windowMatches(HWND messageWindow, HWND filter);
bool numberMatches(UINT message, UINT min, UINT max);

// Takes the next message by priority: sent, posted, input, quit, paint, timer. `takeQuit` false leaves a
// quit in place. False when there is none. GUI thread.
bool retrieveMessage(MSG* out, HWND filter, UINT min, UINT max, bool remove, bool takeQuit);
// Processes Qt events once, waiting for one when `wait` is set. GUI thread.
void processQtEvents(bool wait);
// Pumps until `finished` returns true (true) or WM_QUIT arrives (posted again; false); `preTranslate`
// passes each message through the hook first. GUI thread.
bool pumpUntil(const std::function<bool()>& finished, bool preTranslate,
               const std::function<bool(MSG&)>& own = {});
// Runs the framework's pre-translation hook; true when it swallowed the message. GUI thread.
bool runPreTranslateHook(MSG& msg);
// Serves waiting tasks and, unless one of our retrievals is running, dispatches what is queued (a Qt
// loop that is not ours is running). GUI thread.
void serveOutsideRetrieval();
// Arms the GUI thread's wake-up for the next timer or hover. GUI thread.
void scheduleWake();
// The message DispatchMessage is handing to a window procedure right now, or null. GUI thread.
const MSG* currentMessage();
// The current message time of the platform clock. Any thread.
DWORD messageTime();

} // namespace platform::user
