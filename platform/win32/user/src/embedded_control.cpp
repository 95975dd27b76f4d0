// Embedding Qt controls in windows: layout, focus and the round trip of key events through the queue.
#include "embedded_control.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include <win32/user.h>

#include "focus_capture.h"
#include "input.h"
#include "message_queue.h"
#include "standard_controls.h"
#include "window_widget.h"

namespace platform::user {
namespace {

// Sends the control's key events to the queue instead, and its focus to the window manager.
class ControlFilter : public QObject {
public:
    ControlFilter(HWND hwnd, QObject* parent) : QObject(parent), hwnd_(hwnd) {}
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (replayingKey())
                return false;
            keyInput(static_cast<QKeyEvent*>(event), hwnd_);
            return true;
        case QEvent::FocusIn:
            moveFocus(hwnd_);
            return false;
        default:
            return false;
        }
    }

private:
    HWND hwnd_;
};

} // namespace

void embedQtControl(Window& window, QWidget* control) {
    auto* layout = new QVBoxLayout(window.widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control);
    window.widget->setFocusProxy(control);
    control->installEventFilter(new ControlFilter(window.hwnd, control));
    control->setEnabled(!(window.style & WS_DISABLED));
}

QWidget* embeddedControl(const Window& window) {
    return window.widget ? window.widget->focusProxy() : nullptr;
}

namespace {

// Hands the key message now being dispatched to the window's Qt control.
void forwardKeyMessage(const Window& window) {
    const MSG* msg = currentMessage();
    QWidget* control = embeddedControl(window);
    const QKeyEvent* original = msg && msg->hwnd == window.hwnd ? keyEventOf(msg->lPrivate) : nullptr;
    if (control && original)
        replayKey(control, *original);
}

} // namespace

LRESULT embeddedDefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowPtr window = findWindow(hwnd);
    if (LRESULT result; window && handleFontMessage(*window, message, wParam, lParam, &result))
        return result;
    QWidget* control = window ? embeddedControl(*window) : nullptr;
    switch (message) {
    case WM_ENABLE:
        if (control)
            control->setEnabled(wParam != 0);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (window)
            forwardKeyMessage(*window);
        return 0;
    case WM_CHAR:
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

} // namespace platform::user
