// Xvfb started on a free display (-displayfd), XTest input and XGetImage screenshots.
#include "x_server.h"

#include <X11/Xlib.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <csignal>
#include <cstring>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {
namespace {

using std::chrono::milliseconds;

void pause(milliseconds time) {
    std::this_thread::sleep_for(time);
}

std::string windowName(Display* display, Window window) {
    XTextProperty property{};
    if (!XGetWMName(display, window, &property) || !property.value)
        return {};
    char** list = nullptr;
    int count = 0;
    std::string name;
    if (Xutf8TextPropertyToTextList(display, &property, &list, &count) >= Success && count > 0 && list)
        name = list[0];
    if (list)
        XFreeStringList(list);
    XFree(property.value);
    return name;
}

} // namespace

bool waitFor(const std::function<bool()>& done, milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        pause(milliseconds(20));
    }
    return true;
}

XServer::XServer() {
    int ready[2];
    if (pipe(ready) != 0)
        throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM); // a killed test leaves no server behind
        close(ready[0]);
        const std::string fd = std::to_string(ready[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    std::string number;
    char c;
    while (read(ready[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(ready[0]);
    if (pid_ < 0 || number.empty())
        throw std::runtime_error("Xvfb did not start");
    name_ = ":" + number;
    // A window can go between listing it and asking about it: the call fails and the listing skips it.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    display_ = XOpenDisplay(name_.c_str());
    int event, error, major, minor;
    if (!display_ || !XTestQueryExtension(display_, &event, &error, &major, &minor))
        throw std::runtime_error("no XTest on " + name_);
}

XServer::~XServer() {
    if (display_)
        XCloseDisplay(display_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

void XServer::sync() {
    XSync(display_, False);
}

std::vector<XWindow> XServer::windows() {
    std::vector<XWindow> found;
    Window root, parent;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
        return found;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        found.push_back({children[i], windowName(display_, children[i]),
                         QRect(attributes.x, attributes.y, attributes.width, attributes.height)});
    }
    if (children)
        XFree(children);
    return found;
}

std::optional<XWindow> XServer::findWindow(const std::string& name, milliseconds timeout) {
    std::optional<XWindow> match;
    waitFor(
        [&] {
            for (const XWindow& w : windows())
                if (w.name == name)
                    match = w;
            return match.has_value();
        },
        timeout);
    return match;
}

std::vector<XWindow> XServer::windowsBesides(const std::vector<XWindow>& known) {
    std::vector<XWindow> result;
    for (const XWindow& w : windows()) {
        bool seen = false;
        for (const XWindow& k : known)
            seen = seen || k.id == w.id;
        if (!seen && w.rect.width() > 8 && w.rect.height() > 8)
            result.push_back(w);
    }
    return result;
}

void XServer::moveTo(QPoint at) {
    XTestFakeMotionEvent(display_, -1, at.x(), at.y(), 0);
    sync();
}

void XServer::press(int button) {
    XTestFakeButtonEvent(display_, button, True, 0);
    sync();
}

void XServer::release(int button) {
    XTestFakeButtonEvent(display_, button, False, 0);
    sync();
}

void XServer::click(QPoint at, int button) {
    moveTo(at);
    pause(milliseconds(30));
    press(button);
    pause(milliseconds(60));
    release(button);
    pause(milliseconds(30));
}

void XServer::drag(QPoint from, QPoint to, int steps) {
    moveTo(from);
    pause(milliseconds(30));
    press();
    for (int i = 1; i <= steps; ++i) {
        pause(milliseconds(30));
        moveTo(from + (to - from) * i / steps);
    }
    pause(milliseconds(60));
    release();
    pause(milliseconds(30));
}

void XServer::key(const std::string& name, milliseconds held) {
    std::vector<KeyCode> codes;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t plus = name.find('+', start);
        const std::string part = name.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        const KeySym sym = XStringToKeysym(part.c_str());
        const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display_, sym);
        if (!code)
            throw std::invalid_argument("no key " + part);
        codes.push_back(code);
        if (plus == std::string::npos)
            break;
        start = plus + 1;
    }
    for (const KeyCode code : codes)
        XTestFakeKeyEvent(display_, code, True, 0);
    sync();
    pause(held);
    for (auto it = codes.rbegin(); it != codes.rend(); ++it)
        XTestFakeKeyEvent(display_, *it, False, 0);
    sync();
    pause(milliseconds(30));
}

void XServer::type(const std::string& text) {
    const KeyCode shift = XKeysymToKeycode(display_, XK_Shift_L);
    for (const char c : text) {
        const KeySym sym = static_cast<unsigned char>(c); // Latin-1 keysyms are the characters
        const KeyCode code = XKeysymToKeycode(display_, sym);
        if (!code)
            throw std::invalid_argument(std::string("no key types ") + c);
        const bool shifted = XkbKeycodeToKeysym(display_, code, 0, 0) != sym;
        if (shifted)
            XTestFakeKeyEvent(display_, shift, True, 0);
        XTestFakeKeyEvent(display_, code, True, 0);
        XTestFakeKeyEvent(display_, code, False, 0);
        if (shifted)
            XTestFakeKeyEvent(display_, shift, False, 0);
        sync();
        pause(milliseconds(5));
    }
}

QImage XServer::shot(const QRect& area) {
    const QRect screen(0, 0, DisplayWidth(display_, 0), DisplayHeight(display_, 0));
    const QRect r = area.isNull() ? screen : area & screen;
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), r.x(), r.y(), r.width(), r.height(), AllPlanes,
                              ZPixmap);
    if (!image)
        return {};
    QImage result(r.width(), r.height(), QImage::Format_RGB32);
    for (int y = 0; y < r.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < r.width(); ++x)
            row[x] = 0xFF000000u | static_cast<QRgb>(XGetPixel(image, x, y));
    }
    XDestroyImage(image);
    return result;
}

} // namespace e2e
