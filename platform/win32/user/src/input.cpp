// Translation of Qt keyboard and mouse events into queued messages, hit testing, and mouse tracking.
#include "input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <array>
#include <atomic>
#include <memory>

#include <win32/clock.h>
#include <win32/user.h>

#include "gui_thread.h"
#include "message_queue.h"
#include "window.h"
#include "window_class.h"
#include "window_widget.h"

namespace platform::user {
namespace {

struct VirtualKey {
    UINT code = 0;
    bool extended = false;
};

VirtualKey virtualKeyOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return {static_cast<UINT>(key)};
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return {static_cast<UINT>(VK_F1 + (key - Qt::Key_F1))};
    switch (key) {
    case Qt::Key_Escape:
        return {VK_ESCAPE};
    case Qt::Key_Return:
        return {VK_RETURN};
    case Qt::Key_Enter:
        return {VK_RETURN, true};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return {VK_TAB};
    case Qt::Key_Backspace:
        return {VK_BACK};
    case Qt::Key_Space:
        return {VK_SPACE};
    case Qt::Key_Left:
        return {VK_LEFT, true};
    case Qt::Key_Up:
        return {VK_UP, true};
    case Qt::Key_Right:
        return {VK_RIGHT, true};
    case Qt::Key_Down:
        return {VK_DOWN, true};
    case Qt::Key_Home:
        return {VK_HOME, true};
    case Qt::Key_End:
        return {VK_END, true};
    case Qt::Key_PageUp:
        return {VK_PRIOR, true};
    case Qt::Key_PageDown:
        return {VK_NEXT, true};
    case Qt::Key_Insert:
        return {VK_INSERT, true};
    case Qt::Key_Delete:
        return {VK_DELETE, true};
    case Qt::Key_Shift:
        return {VK_SHIFT};
    case Qt::Key_Control:
        return {VK_CONTROL};
    case Qt::Key_Alt:
        return {VK_MENU};
    case Qt::Key_Pause:
        return {VK_PAUSE};
    case Qt::Key_CapsLock:
        return {VK_CAPITAL};
    default:
        return {};
    }
}

// Key events behind recent key messages, by their tag (1, 2, ...).
struct KeyRecord {
    DWORD tag = 0;
    std::unique_ptr<QKeyEvent> event;
};
std::array<KeyRecord, 64> keyRecords;
DWORD nextKeyTag = 1;

std::array<bool, 256> keyDown{};
bool replaying = false; // GUI thread: replayKey is delivering a key event

struct Tracking {
    HWND hwnd{};
    bool hover = false;
    bool leave = false;
    uint64_t hoverTime = 0;
    uint64_t hoverDue = 0;
    QPoint hoverOrigin;
};
Tracking tracking;

// Half the size of the rectangle the mouse may move in while hovering.
constexpr int kHoverSlack = 2;

QPoint cursorPos; // GUI thread
// The same position for messages posted from other threads: x in the high half, y in the low half.
std::atomic<uint64_t> sharedCursorPos{0};
std::atomic<bool> cursorKnown{false};
HWND mouseWindow{};
WPARAM mouseFlags = 0;

WPARAM keyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    WPARAM flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

UINT buttonMessage(Qt::MouseButton button, MouseAction action, HWND target) {
    int base;
    switch (button) {
    case Qt::LeftButton:
        base = WM_LBUTTONDOWN;
        break;
    case Qt::RightButton:
        base = WM_RBUTTONDOWN;
        break;
    case Qt::MiddleButton:
        base = WM_MBUTTONDOWN;
        break;
    default:
        return 0;
    }
    if (action == MouseAction::Release)
        return base + 1;
    WindowPtr window = findWindow(target);
    if (action == MouseAction::DoubleClick && window && (window->cls->style & CS_DBLCLKS))
        return base + 2;
    return base;
}

// The deepest window under `screen` inside `window`, which contains the point.
HWND hitChild(const Window& window, const QPoint& screen) {
    const QObjectList& children = window.widget->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* widget = dynamic_cast<WindowWidget*>(*it);
        if (!widget || widget->isHidden() ||
            !widget->geometry().contains(window.widget->mapFromGlobal(screen)))
            continue;
        WindowPtr child = findWindow(widget->hwnd());
        if (!child || (child->style & WS_DISABLED))
            continue;
        if (SendMessage(child->hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x(), screen.y())) == HTTRANSPARENT)
            continue;
        return hitChild(*child, screen);
    }
    return window.hwnd;
}

// Leave when the mouse is now over another window; a hover restarts when the mouse moves far enough.
void followMouse(HWND over, const QPoint& screen) {
    if (tracking.hwnd && over != tracking.hwnd) {
        if (tracking.leave)
            PostMessage(tracking.hwnd, WM_MOUSELEAVE, 0, 0);
        tracking = Tracking{};
    }
    if (tracking.hover && (std::abs(screen.x() - tracking.hoverOrigin.x()) > kHoverSlack ||
                           std::abs(screen.y() - tracking.hoverOrigin.y()) > kHoverSlack)) {
        tracking.hoverOrigin = screen;
        tracking.hoverDue = activeClock().nowMs() + tracking.hoverTime;
    }
    mouseWindow = over;
}

LPARAM clientPoint(HWND hwnd, const QPoint& screen) {
    WindowWidget* widget = widgetOf(hwnd);
    const QPoint p = widget ? widget->mapFromGlobal(screen) : screen;
    return MAKELPARAM(p.x(), p.y());
}

MSG inputMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const QPoint& screen, DWORD tag) {
    return MSG{hwnd, message, wParam, lParam, messageTime(), POINT{screen.x(), screen.y()}, tag};
}

DWORD rememberKey(const QKeyEvent* event) {
    const DWORD tag = nextKeyTag++;
    KeyRecord& slot = keyRecords[tag % keyRecords.size()];
    slot.tag = tag;
    slot.event.reset(static_cast<QKeyEvent*>(event->clone()));
    return tag;
}

} // namespace

HWND windowFromScreenPoint(const QPoint& screen, QWidget* receiver) {
    QWidget* candidate = receiver ? receiver->window() : nullptr;
    if (!candidate || !candidate->frameGeometry().contains(screen))
        candidate = QApplication::topLevelAt(screen);
    auto* top = dynamic_cast<WindowWidget*>(candidate);
    WindowPtr window = top ? findWindow(top->hwnd()) : nullptr;
    if (!window || (window->style & WS_DISABLED))
        return nullptr;
    return hitChild(*window, screen);
}

void mouseInput(QMouseEvent* event, MouseAction action, QWidget* receiver) {
    const QPoint screen = event->globalPosition().toPoint();
    cursorPos = screen;
    sharedCursorPos.store(static_cast<uint64_t>(static_cast<uint32_t>(screen.x())) << 32 |
                          static_cast<uint32_t>(screen.y()));
    cursorKnown = true;
    mouseFlags = keyFlags(event->buttons(), event->modifiers());
    const HWND over = windowFromScreenPoint(screen, receiver);
    followMouse(over, screen);
    const HWND capture = GetCapture();
    const HWND target = capture ? capture : over;
    if (!target)
        return;
    const UINT message =
        action == MouseAction::Move ? WM_MOUSEMOVE : buttonMessage(event->button(), action, target);
    if (!message)
        return;
    postInput(inputMessage(target, message, mouseFlags, clientPoint(target, screen), screen, 0), !capture);
}

void wheelInput(QWheelEvent* event, QWidget* receiver) {
    const QPoint screen = event->globalPosition().toPoint();
    const int delta = event->angleDelta().y();
    HWND target = GetFocus();
    if (!target)
        target = topLevelOf(windowFromScreenPoint(screen, receiver));
    if (!target || delta == 0)
        return;
    const WPARAM wParam =
        MAKEWPARAM(keyFlags(event->buttons(), event->modifiers()), static_cast<short>(delta));
    postInput(inputMessage(target, WM_MOUSEWHEEL, wParam, MAKELPARAM(screen.x(), screen.y()), screen, 0),
              false);
}

void replayKey(QWidget* control, const QKeyEvent& event) {
    std::unique_ptr<QEvent> copy(event.clone());
    replaying = true;
    QApplication::sendEvent(control, copy.get());
    replaying = false;
}

bool replayingKey() {
    return replaying;
}

void keyInput(QKeyEvent* event, HWND receiver) {
    if (replaying)
        return;
    const bool press = event->type() == QEvent::KeyPress;
    const VirtualKey key = virtualKeyOf(event->key());
    // A held key repeats its key-down only.
    if (!key.code || (!press && event->isAutoRepeat()))
        return;
    HWND target = GetFocus();
    bool system = false;
    if (!target) {
        target = topLevelOf(receiver);
        system = true;
    }
    WindowPtr window = findWindow(target);
    if (!window || (window->style & WS_DISABLED))
        return;
    const bool alt = (event->modifiers() & Qt::AltModifier) != 0;
    if ((alt && !(event->modifiers() & Qt::ControlModifier)) || key.code == VK_F10)
        system = true;
    const bool wasDown = keyDown[key.code];
    keyDown[key.code] = press;
    const DWORD scan = event->nativeScanCode() > 8 ? (event->nativeScanCode() - 8) & 0xFF : 0;
    const DWORD bits = 1u | scan << 16 | (key.extended ? 1u << 24 : 0u) | (alt ? 1u << 29 : 0u) |
                       ((press ? wasDown : true) ? 1u << 30 : 0u) | (press ? 0u : 1u << 31);
    const UINT message = press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    postInput(inputMessage(target, message, key.code, static_cast<LPARAM>(bits), lastCursorPos(),
                           rememberKey(event)),
              false);
}

void mouseLeftWindows() {
    followMouse(nullptr, cursorPos);
}

QPoint lastCursorPos() {
    if (cursorKnown) {
        const uint64_t packed = sharedCursorPos.load();
        return QPoint(static_cast<int32_t>(packed >> 32), static_cast<int32_t>(packed & 0xFFFFFFFFu));
    }
    return onGuiThread() ? QCursor::pos() : QPoint();
}

HWND windowUnderMouse() {
    return mouseWindow;
}

const QKeyEvent* keyEventOf(DWORD tag) {
    const KeyRecord& slot = keyRecords[tag % keyRecords.size()];
    return tag && slot.tag == tag ? slot.event.get() : nullptr;
}

UINT typedCharacter(DWORD tag) {
    const QKeyEvent* event = keyEventOf(tag);
    if (!event)
        return 0;
    const QString text = event->text();
    if (text.size() == 1 && text[0].unicode() < 0x80)
        return text[0].unicode();
    switch (virtualKeyOf(event->key()).code) {
    case VK_RETURN:
        return '\r';
    case VK_ESCAPE:
        return 0x1B;
    case VK_BACK:
        return '\b';
    case VK_TAB:
        return '\t';
    default:
        return 0;
    }
}

bool takeDueHover(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    if (!tracking.hover || activeClock().nowMs() < tracking.hoverDue ||
        !numberMatches(WM_MOUSEHOVER, min, max) || !windowMatches(tracking.hwnd, filter))
        return false;
    *out = inputMessage(tracking.hwnd, WM_MOUSEHOVER, mouseFlags, clientPoint(tracking.hwnd, cursorPos),
                        cursorPos, 0);
    if (remove) {
        tracking.hover = false;
        if (!tracking.leave)
            tracking.hwnd = nullptr;
    }
    return true;
}

std::optional<uint64_t> nextHoverDue() {
    return tracking.hover ? std::optional<uint64_t>(tracking.hoverDue) : std::nullopt;
}

void forgetInputOf(HWND hwnd) {
    if (tracking.hwnd == hwnd)
        tracking = Tracking{};
    if (mouseWindow == hwnd)
        mouseWindow = nullptr;
}

} // namespace platform::user

using namespace platform::user;

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) {
    // 16 bytes is the record's size in 32-bit programs, which some callers write as a number.
    if (!lpEventTrack || (lpEventTrack->cbSize != sizeof(TRACKMOUSEEVENT) && lpEventTrack->cbSize != 16)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HWND hwnd = lpEventTrack->hwndTrack;
    const DWORD flags = lpEventTrack->dwFlags;
    if (!checkedWindow(hwnd))
        return FALSE;
    if (flags & TME_CANCEL) {
        if (tracking.hwnd == hwnd) {
            tracking.hover = tracking.hover && !(flags & TME_HOVER);
            tracking.leave = tracking.leave && !(flags & TME_LEAVE);
            if (!tracking.hover && !tracking.leave)
                tracking = Tracking{};
        }
        return TRUE;
    }
    if (windowUnderMouse() != hwnd) {
        if (flags & TME_LEAVE)
            PostMessage(hwnd, WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    if (tracking.hwnd != hwnd)
        tracking = Tracking{hwnd, false, false, 0, 0, QPoint()};
    if (flags & TME_HOVER) {
        tracking.hover = true;
        tracking.hoverTime = lpEventTrack->dwHoverTime == HOVER_DEFAULT ? 400 : lpEventTrack->dwHoverTime;
        tracking.hoverDue = platform::activeClock().nowMs() + tracking.hoverTime;
        tracking.hoverOrigin = cursorPos;
    }
    if (flags & TME_LEAVE)
        tracking.leave = true;
    scheduleWake();
    return TRUE;
}

BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) {
    return TrackMouseEvent(lpEventTrack);
}
