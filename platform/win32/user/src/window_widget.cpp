// WindowWidget: painting from the backing image and handing Qt input to the message translation.
#include "window_widget.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

#include <win32/user_message.h>

#include "input.h"
#include "painting.h"
#include "window.h"

namespace platform::user {

WindowWidget::WindowWidget(HWND hwnd, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), hwnd_(hwnd) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WindowWidget::paintEvent(QPaintEvent* event) {
    WindowPtr window = findWindow(hwnd_);
    if (!window)
        return;
    QPainter painter(this);
    std::lock_guard guard(window->surface->lock);
    for (const QRect& r : event->region())
        painter.drawImage(r, window->surface->image, r);
}

void WindowWidget::resizeEvent(QResizeEvent*) {
    windowResized(hwnd_);
}

void WindowWidget::mousePressEvent(QMouseEvent* event) {
    mouseInput(event, MouseAction::Press, this);
}
void WindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    mouseInput(event, MouseAction::Release, this);
}
void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    mouseInput(event, MouseAction::DoubleClick, this);
}
void WindowWidget::mouseMoveEvent(QMouseEvent* event) {
    mouseInput(event, MouseAction::Move, this);
}
void WindowWidget::wheelEvent(QWheelEvent* event) {
    wheelInput(event, this);
}
void WindowWidget::keyPressEvent(QKeyEvent* event) {
    keyInput(event, hwnd_);
}
void WindowWidget::keyReleaseEvent(QKeyEvent* event) {
    keyInput(event, hwnd_);
}

void WindowWidget::leaveEvent(QEvent*) {
    if (isWindow())
        mouseLeftWindows();
}

// Closing from outside (the window manager) asks the window, which closes itself through WM_CLOSE.
void WindowWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    PostMessage(hwnd_, WM_CLOSE, 0, 0);
}

WindowWidget* widgetOf(HWND hwnd) {
    WindowPtr window = findWindow(hwnd);
    return window ? window->widget : nullptr;
}

} // namespace platform::user
