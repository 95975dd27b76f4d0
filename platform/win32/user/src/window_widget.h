// The Qt widget of a window: shows its backing image and turns Qt input into window messages.
#pragma once

#include <QWidget>

#include <win32/types.h>

namespace platform::user {

class WindowWidget : public QWidget {
public:
    WindowWidget(HWND hwnd, QWidget* parent, Qt::WindowFlags flags);
    HWND hwnd() const { return hwnd_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    HWND hwnd_;
};

// The widget of a window, or null. GUI thread.
WindowWidget* widgetOf(HWND hwnd);

} // namespace platform::user
