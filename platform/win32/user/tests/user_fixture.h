// Test fixture of the window layer: a recording window class, a stepped clock and synthesised Qt input.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <win32/clock.h>
#include <win32/message_loop.h>
#include <win32/user.h>

#include "window_widget.h"

namespace platform::user::test {

// One message seen by a recording window procedure.
struct Seen {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Windows of class "OrvRecord" log every message into `seen` and answer through `handler` when it returns
// a value, else through DefWindowProc.
class UserTest : public ::testing::Test {
public:
    static std::vector<Seen> seen;
    static std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> handler;

protected:
    void SetUp() override;
    void TearDown() override;

    HWND makeWindow(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, int id = 0,
                    const char* className = "OrvRecord");
    // Dispatches queued messages (without the hook) until the queue is empty.
    void drain();
    // Messages with this number seen so far, in order.
    std::vector<Seen> seenOf(UINT message) const;
    std::vector<UINT> messagesOf(HWND hwnd) const;
    // The wParam of each message with this number seen so far.
    std::vector<WPARAM> paramsOf(UINT message) const;

    // Synthesised Qt input at a point of `hwnd`'s client area.
    void mouse(HWND hwnd, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint client,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void key(HWND receiver, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = {}, bool autoRepeat = false);

    SteppedClock clock;

private:
    std::vector<HWND> made_;
};

} // namespace platform::user::test
