// SendMessage, PostMessage, GetMessage, PeekMessage, TranslateMessage, DispatchMessage and PostQuitMessage.
#include "message_queue.h"

#include <QCoreApplication>
#include <QCursor>
#include <algorithm>
#include <deque>
#include <mutex>

#include <win32/clock.h>
#include <win32/user_window.h>

#include "gui_thread.h"
#include "input.h"
#include "painting.h"
#include "timers.h"
#include "window.h"
#include "window_proc.h"

namespace platform::user {
namespace {

struct QueuedInput {
    MSG msg;
    bool setCursor;
};

struct Queue {
    std::mutex lock; // guards posted, input, quit and quitCode
    std::deque<MSG> posted;
    std::deque<QueuedInput> input;
    bool quit = false;
    int quitCode = 0;
};

Queue& queue() {
    static Queue q;
    return q;
}

int retrievalDepth = 0;           // GUI thread: our retrievals on the stack
const MSG* dispatching = nullptr; // GUI thread: the message inside DispatchMessage
bool servingOutside = false;

// Removes and returns the first message of `list` that passes the filters.
template <class List, class Get>
bool takeFirst(List& list, Get get, HWND filter, UINT min, UINT max, bool remove,
               typename List::value_type* out) {
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& entry) {
        return windowMatches(get(entry).hwnd, filter) && numberMatches(get(entry).message, min, max);
    });
    if (it == list.end())
        return false;
    *out = *it;
    if (remove)
        list.erase(it);
    return true;
}

MSG postedMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const QPoint pos = lastCursorPos();
    return MSG{hwnd, message, wParam, lParam, messageTime(), POINT{pos.x(), pos.y()}, 0};
}

} // namespace

const MSG* currentMessage() {
    return dispatching;
}

DWORD messageTime() {
    return static_cast<DWORD>(activeClock().nowMs());
}

bool windowMatches(HWND messageWindow, HWND filter) {
    if (!filter)
        return true;
    if (filter == reinterpret_cast<HWND>(static_cast<intptr_t>(-1)))
        return messageWindow == nullptr;
    for (WindowPtr w = findWindow(messageWindow); w; w = findWindow(w->parent)) {
        if (w->hwnd == filter)
            return true;
    }
    return false;
}

bool numberMatches(UINT message, UINT min, UINT max) {
    return (min == 0 && max == 0) || (message >= min && message <= max);
}

void postInput(const MSG& msg, bool setCursor) {
    Queue& q = queue();
    {
        std::lock_guard guard(q.lock);
        if (msg.message == WM_MOUSEMOVE && !q.input.empty() && q.input.back().msg.message == WM_MOUSEMOVE &&
            q.input.back().msg.hwnd == msg.hwnd)
            q.input.back() = QueuedInput{msg, setCursor};
        else
            q.input.push_back(QueuedInput{msg, setCursor});
    }
    wakeGuiThread();
}

void removeMessagesFor(HWND hwnd) {
    Queue& q = queue();
    std::lock_guard guard(q.lock);
    std::erase_if(q.posted, [&](const MSG& m) { return m.hwnd == hwnd; });
    std::erase_if(q.input, [&](const QueuedInput& m) { return m.msg.hwnd == hwnd; });
}

bool retrieveMessage(MSG* out, HWND filter, UINT min, UINT max, bool remove, bool takeQuit) {
    serveWaitingTasks();
    Queue& q = queue();
    std::unique_lock guard(q.lock);
    if (takeFirst(
            q.posted, [](const MSG& m) -> const MSG& { return m; }, filter, min, max, remove, out))
        return true;
    QueuedInput input;
    if (takeFirst(
            q.input, [](const QueuedInput& m) -> const MSG& { return m.msg; }, filter, min, max, remove,
            &input)) {
        guard.unlock();
        *out = input.msg;
        if (remove && input.setCursor)
            SendMessage(out->hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(out->hwnd),
                        MAKELPARAM(HTCLIENT, out->message));
        return true;
    }
    if (q.quit && takeQuit) {
        *out = postedMessage(nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0);
        if (remove)
            q.quit = false;
        return true;
    }
    guard.unlock();
    return findPaintMessage(out, filter, min, max) || takeDueTimer(out, filter, min, max, remove) ||
           takeDueHover(out, filter, min, max, remove);
}

void processQtEvents(bool wait) {
    ++retrievalDepth;
    if (wait)
        scheduleWake();
    QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    --retrievalDepth;
}

bool pumpUntil(const std::function<bool()>& finished, bool preTranslate, const std::function<bool(MSG&)>& own) {
    while (!finished()) {
        MSG msg;
        if (!retrieveMessage(&msg, nullptr, 0, 0, true, true)) {
            // A task served by the retrieval may have finished the loop.
            if (!finished())
                processQtEvents(true);
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if ((own && own(msg)) || (preTranslate && runPreTranslateHook(msg)))
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return true;
}

void serveOutsideRetrieval() {
    serveWaitingTasks();
    if (retrievalDepth == 0 && !servingOutside) {
        servingOutside = true;
        MSG msg;
        while (retrieveMessage(&msg, nullptr, 0, 0, true, false)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
        servingOutside = false;
    }
    scheduleWake();
}

void scheduleWake() {
    std::optional<uint64_t> due = nextTimerDue();
    if (std::optional<uint64_t> hover = nextHoverDue(); hover && (!due || *hover < *due))
        due = hover;
    if (!due) {
        wakeGuiThreadIn(-1);
        return;
    }
    const uint64_t now = activeClock().nowMs();
    wakeGuiThreadIn(*due > now ? static_cast<int64_t>(*due - now) : 0);
}

} // namespace platform::user

using namespace platform::user;

LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return 0;
    if (onGuiThread())
        return callWindowProc(window, Msg, wParam, lParam);
    LRESULT result = 0;
    const bool served = runOnGuiThread([&] {
        if (WindowPtr target = findWindow(hWnd))
            result = callWindowProc(target, Msg, wParam, lParam);
    });
    return served ? result : 0;
}

BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!hWnd && !(ensureApplication() && onGuiThread())) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    MSG msg = postedMessage(hWnd, Msg, wParam, lParam);
    Queue& q = queue();
    {
        // Checked under the queue lock: a window destroyed meanwhile drops its messages after this.
        std::lock_guard guard(q.lock);
        if (hWnd && !findWindow(hWnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        q.posted.push_back(msg);
    }
    wakeGuiThread();
    return TRUE;
}

void PostQuitMessage(int nExitCode) {
    Queue& q = queue();
    {
        std::lock_guard guard(q.lock);
        q.quit = true;
        q.quitCode = nExitCode;
    }
    wakeGuiThread();
}

BOOL GetMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (!lpMsg || !ensureApplication() || !onGuiThread()) {
        SetLastError(lpMsg ? ERROR_INVALID_THREAD_ID : ERROR_INVALID_PARAMETER);
        return -1;
    }
    while (!retrieveMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true, true))
        processQtEvents(true);
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg || !ensureApplication() || !onGuiThread()) {
        SetLastError(lpMsg ? ERROR_INVALID_THREAD_ID : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    processQtEvents(false);
    return retrieveMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0, true);
}

BOOL TranslateMessage(const MSG* lpMsg) {
    if (!lpMsg || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN))
        return FALSE;
    const UINT ch = typedCharacter(lpMsg->lPrivate);
    if (!ch)
        return FALSE;
    return PostMessage(lpMsg->hwnd, lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, ch, lpMsg->lParam);
}

LRESULT DispatchMessage(const MSG* lpMsg) {
    if (!lpMsg)
        return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
        if (isTimerProc(lpMsg->hwnd, lpMsg->wParam, proc))
            proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, lpMsg->time);
        return 0;
    }
    if (!lpMsg->hwnd)
        return 0;
    WindowPtr window = checkedWindow(lpMsg->hwnd);
    if (!window)
        return 0;
    const MSG* outer = dispatching;
    dispatching = lpMsg;
    const LRESULT result = callWindowProc(window, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
    dispatching = outer;
    return result;
}
