// One window's state and the checked table of live window handles.
#pragma once

#include <QRegion>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include <win32/user_window.h>
#include <win32/window_surface.h>

namespace platform::user {

class WindowWidget;
struct WindowClass;

// State a standard control keeps beside its window (buttons, statics, edits ...).
struct ControlState {
    virtual ~ControlState() = default;
};

// Everything but `surface` (fixed at creation; the surface locks itself) is used on the GUI thread only.
struct Window {
    HWND hwnd{};
    std::shared_ptr<const WindowClass> cls;
    WNDPROC proc{};
    LONG_PTR userData = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    HINSTANCE instance{};
    HWND parent{};    // child windows
    HWND owner{};     // top-level windows
    std::string text; // bytes as set (UTF-8 or code page 936)
    WindowWidget* widget = nullptr;
    std::shared_ptr<gdi::WindowSurface> surface;
    QRegion update; // client coordinates
    bool erasePending = false;
    // Drawn through GetDC (a live picture, from any thread) since its last paint: the next paint keeps
    // those pixels instead of showing the parent's through it.
    std::atomic<bool> drawnOutsidePaint{false};
    bool destroying = false;
    std::vector<HWND> children; // creation order
    std::unique_ptr<ControlState> control;
    HFONT font{}; // set by WM_SETFONT on a standard control
    HWND lastFocus{}; // top-level windows: the window inside that last had the focus
    bool servedByOwnThread = false; // markServedByOwnThread

    bool isChild() const { return parent != nullptr; }
};

using WindowPtr = std::shared_ptr<Window>;

// Adds a new window under a fresh handle that is never used again. GUI thread.
WindowPtr addWindow();
// The live window of a handle, or null (stale, foreign or null handle). Any thread.
WindowPtr findWindow(HWND hwnd);
// Drops the handle; later lookups fail. GUI thread.
void removeWindow(HWND hwnd);
// Top-level windows in creation order. GUI thread.
std::vector<HWND> topLevelWindows();

// The top-level ancestor of a window (itself when it has no parent); null for a stale handle. GUI thread.
HWND topLevelOf(HWND hwnd);
// The window and all its ancestors have WS_VISIBLE. GUI thread.
bool isShown(const Window& window);

// findWindow that also sets ERROR_INVALID_WINDOW_HANDLE when it fails.
WindowPtr checkedWindow(HWND hwnd);

} // namespace platform::user
