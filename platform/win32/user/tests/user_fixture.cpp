// The window layer's test fixture.
#include "user_fixture.h"

#include <QApplication>

namespace platform::user::test {

std::vector<Seen> UserTest::seen;
std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> UserTest::handler;

namespace {

LRESULT CALLBACK recordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    UserTest::seen.push_back(Seen{hwnd, message, wParam, lParam});
    if (UserTest::handler) {
        if (std::optional<LRESULT> answer = UserTest::handler(hwnd, message, wParam, lParam))
            return *answer;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

void registerOnce(const char* name, UINT style) {
    WNDCLASS wc{};
    wc.style = style;
    wc.lpfnWndProc = recordingProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClass(&wc);
}

} // namespace

void UserTest::SetUp() {
    installClock(&clock);
    registerOnce("OrvRecord", 0);
    registerOnce("OrvRecordDbl", CS_DBLCLKS);
    seen.clear();
    handler = nullptr;
}

void UserTest::TearDown() {
    handler = nullptr;
    setPreTranslateHook({});
    ReleaseCapture();
    SetFocus(nullptr);
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
        if (IsWindow(*it))
            DestroyWindow(*it);
    }
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    installClock(nullptr);
}

HWND UserTest::makeWindow(DWORD style, int x, int y, int w, int h, HWND parent, int id,
                          const char* className) {
    HWND hwnd = CreateWindowEx(0, className, "", style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    made_.push_back(hwnd);
    return hwnd;
}

void UserTest::drain() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

std::vector<Seen> UserTest::seenOf(UINT message) const {
    std::vector<Seen> result;
    for (const Seen& s : seen) {
        if (s.message == message)
            result.push_back(s);
    }
    return result;
}

std::vector<WPARAM> UserTest::paramsOf(UINT message) const {
    std::vector<WPARAM> result;
    for (const Seen& s : seenOf(message))
        result.push_back(s.wParam);
    return result;
}

std::vector<UINT> UserTest::messagesOf(HWND hwnd) const {
    std::vector<UINT> result;
    for (const Seen& s : seen) {
        if (s.hwnd == hwnd)
            result.push_back(s.message);
    }
    return result;
}

void UserTest::mouse(HWND hwnd, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
                     QPoint client, Qt::KeyboardModifiers modifiers) {
    QWidget* widget = widgetOf(hwnd);
    ASSERT_NE(widget, nullptr);
    const QPointF global = widget->mapToGlobal(QPointF(client));
    QMouseEvent event(type, QPointF(client), global, button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

void UserTest::key(HWND receiver, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers,
                   const QString& text, bool autoRepeat) {
    QWidget* widget = widgetOf(receiver);
    ASSERT_NE(widget, nullptr);
    QKeyEvent event(type, qtKey, modifiers, text, autoRepeat);
    QApplication::sendEvent(widget, &event);
}

} // namespace platform::user::test
