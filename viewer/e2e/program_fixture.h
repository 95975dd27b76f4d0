// The fixture of the end-to-end tests: the real program on an X server of its own, used only through the
// server's mouse and keyboard and judged on screenshots. After every test the window must still answer:
// F7 switches its captions to the other language and back, and the program idles.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "program_run.h"
#include "x_server.h"

namespace e2e {

using namespace std::chrono_literals;

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Variables for the program besides the fixture's own (ORVANEL_CAMERA=none, say).
    virtual std::vector<std::pair<std::string, std::string>> environment() const { return {}; }

public:

    XServer& x() { return *server_; }
    ProgramRun& program() { return *program_; }
    // A point of the main window's client area on the screen.
    QPoint at(int x, int y) const { return main_.rect.topLeft() + QPoint(x, y); }
    // A point of `window` on the screen.
    static QPoint in(const XWindow& window, int x, int y) { return window.rect.topLeft() + QPoint(x, y); }
    void click(int x, int y) { server_->click(at(x, y)); }
    void key(const std::string& name) { server_->key(name); }
    // A part of the main window's client area.
    QImage shot(int x, int y, int width, int height) { return server_->shot(QRect(at(x, y), QSize(width, height))); }

    // Runs `action` and waits for a window that was not there before; fails the test when none comes.
    XWindow opens(const std::function<void()>& action, std::chrono::milliseconds timeout = 5s);
    // Whether `window` is gone within the time.
    bool closes(const XWindow& window, std::chrono::milliseconds timeout = 3s);
    // F7 switches the captions to the other language and a second F7 back. The mouse is parked first.
    void expectAnswers();
    // Less than most of a core busy over a second: nothing spins.
    void expectIdle();
    // Saves the screen as <shots folder>/<test>_<name>.png, to be looked at.
    void saveShot(const std::string& name);

private:
    std::unique_ptr<XServer> server_;
    std::unique_ptr<ProgramRun> program_;
    XWindow main_;
};

// A picture has more than one colour in it (it is not a blank area).
bool hasDetail(const QImage& image);
// The share of pixels of `image` that differ from `other`'s (0 to 1; 1 when the sizes differ).
double changedShare(const QImage& image, const QImage& other);

} // namespace e2e
