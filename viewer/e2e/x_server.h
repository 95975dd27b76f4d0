// A virtual X server of the test's own (Xvfb) with input through XTest and screenshots of its screen.
#pragma once

#include <QImage>
#include <QRect>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct _XDisplay;

namespace e2e {

// A mapped top-level window of the screen.
struct XWindow {
    unsigned long id = 0;
    std::string name; // UTF-8
    QRect rect;       // screen coordinates
};

// Polls `done` every 20 ms until it holds or `timeout` passes; whether it held.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout);

class XServer {
public:
    // Starts Xvfb on a free display with one 1280 x 1024 screen and connects to it; throws when it cannot.
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // ":N", for the DISPLAY of programs started on this server.
    const std::string& displayName() const { return name_; }

    // Mapped top-level windows, bottom to top.
    std::vector<XWindow> windows();
    // The topmost mapped window whose name is `name`, waiting up to `timeout` for it.
    std::optional<XWindow> findWindow(const std::string& name, std::chrono::milliseconds timeout);
    // Mapped windows larger than a few pixels, other than the ones in `known` (by id).
    std::vector<XWindow> windowsBesides(const std::vector<XWindow>& known);

    // Pointer and keys, as a person uses them (screen coordinates; button 1 is the left one).
    void moveTo(QPoint at);
    void press(int button = 1);
    void release(int button = 1);
    void click(QPoint at, int button = 1);
    void drag(QPoint from, QPoint to, int steps = 8);
    // A key by its X name ("F7", "Escape", "Return", "Tab", "space", "a"), or a chord ("Alt_L+F4"); `held`
    // keeps it down that long, which makes the server repeat it when long enough.
    void key(const std::string& name, std::chrono::milliseconds held = std::chrono::milliseconds(30));
    // Types printable ASCII text, with Shift where a character needs it.
    void type(const std::string& text);

    // The screen, or a part of it.
    QImage shot(const QRect& area = QRect());

private:
    void sync();

    pid_t pid_ = -1;
    std::string name_;
    _XDisplay* display_ = nullptr;
};

} // namespace e2e
