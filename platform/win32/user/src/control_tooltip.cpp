// The "tooltips_class32" class: tools, relayed mouse messages and a Qt tool tip shown after a pause.
#include <QApplication>
#include <QToolTip>
#include <algorithm>

#include <win32/user.h>

#include "input.h"
#include "standard_controls.h"
#include "text_codec.h"
#include "window.h"
#include "window_widget.h"

namespace platform::user {
namespace {

constexpr UINT_PTR kShowTimer = 1;  // the pause before the tip shows
constexpr UINT_PTR kWatchTimer = 2; // while over a tool: the mouse left it, or the shown tip timed out
constexpr UINT kInitialDelayMs = 500;
constexpr UINT kWatchMs = 100;
constexpr uint64_t kAutoPopMs = 5000;

struct Tool {
    HWND hwnd;
    UINT_PTR id;
    UINT flags;
    RECT rect;
    std::string text;
};

struct TipState : ControlState {
    std::vector<Tool> tools;
    bool active = true;
    int over = -1; // the tool under the mouse, by the last relayed message
    QPoint screen; // where the mouse was then
    bool shown = false;
    uint64_t shownFor = 0;
};

TipState& stateOf(Window& window) {
    if (!window.control)
        window.control = std::make_unique<TipState>();
    return static_cast<TipState&>(*window.control);
}

// The window a tool belongs to: the window named by its id, or the window whose area it covers.
HWND toolWindow(const Tool& tool) {
    return (tool.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.id) : tool.hwnd;
}

bool sameTool(const Tool& tool, const TOOLINFO& info) {
    return tool.hwnd == info.hwnd && tool.id == info.uId;
}

int toolAt(const TipState& state, HWND hwnd, LPARAM point) {
    for (size_t i = 0; i < state.tools.size(); ++i) {
        const Tool& tool = state.tools[i];
        if (toolWindow(tool) != hwnd)
            continue;
        const int x = GET_X_LPARAM(point);
        const int y = GET_Y_LPARAM(point);
        if ((tool.flags & TTF_IDISHWND) ||
            (x >= tool.rect.left && x < tool.rect.right && y >= tool.rect.top && y < tool.rect.bottom))
            return static_cast<int>(i);
    }
    return -1;
}

// Takes the tip down; the tool stays the one under the mouse until the mouse leaves it.
void hide(Window& window) {
    TipState& state = stateOf(window);
    KillTimer(window.hwnd, kShowTimer);
    if (state.shown) {
        // Qt fades its tip out; a tool tip of this class goes at once.
        QToolTip::hideText();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->inherits("QTipLabel"))
                top->hide();
        }
    }
    state.shown = false;
}

// The mouse is over no tool: the next tool it enters shows its tip again.
void forget(Window& window) {
    hide(window);
    KillTimer(window.hwnd, kWatchTimer);
    stateOf(window).over = -1;
}

void show(Window& window) {
    TipState& state = stateOf(window);
    KillTimer(window.hwnd, kShowTimer);
    if (!state.active || state.over < 0)
        return;
    const Tool& tool = state.tools[static_cast<size_t>(state.over)];
    QToolTip::showText(state.screen + QPoint(0, 20), toQString(tool.text.c_str()),
                       widgetOf(toolWindow(tool)));
    state.shown = true;
    state.shownFor = 0;
}

void relay(Window& window, const MSG& msg) {
    TipState& state = stateOf(window);
    if (msg.message != WM_MOUSEMOVE) {
        if (msg.message >= WM_LBUTTONDOWN && msg.message <= WM_MBUTTONDBLCLK)
            hide(window);
        return;
    }
    const int tool = toolAt(state, msg.hwnd, msg.lParam);
    if (tool == state.over)
        return;
    forget(window);
    state.over = tool;
    state.screen = lastCursorPos(); // the tip stands by the cursor; relayed points are often client points
    if (tool >= 0 && state.active) {
        SetTimer(window.hwnd, kShowTimer, kInitialDelayMs, nullptr);
        // Relayed moves end at the tool's edge: the watch sees the mouse leave, even after a click.
        SetTimer(window.hwnd, kWatchTimer, kWatchMs, nullptr);
    }
}

void watch(Window& window) {
    TipState& state = stateOf(window);
    const bool stillOver =
        state.over >= 0 && windowUnderMouse() == toolWindow(state.tools[static_cast<size_t>(state.over)]);
    if (!stillOver) {
        forget(window);
        return;
    }
    if (state.shown) {
        state.shownFor += kWatchMs;
        if (state.shownFor >= kAutoPopMs)
            hide(window);
    }
}

LRESULT addTool(Window& window, const TOOLINFO* info) {
    if (!info || !info->hwnd)
        return FALSE;
    const bool hasText = info->lpszText && !IS_INTRESOURCE(info->lpszText) &&
                         info->lpszText != reinterpret_cast<LPSTR>(static_cast<intptr_t>(-1));
    stateOf(window).tools.push_back(
        Tool{info->hwnd, info->uId, info->uFlags, info->rect, hasText ? info->lpszText : ""});
    return TRUE;
}

void updateText(Window& window, const TOOLINFO* info) {
    TipState& state = stateOf(window);
    for (size_t i = 0; info && i < state.tools.size(); ++i) {
        if (!sameTool(state.tools[i], *info))
            continue;
        state.tools[i].text = info->lpszText && !IS_INTRESOURCE(info->lpszText) ? info->lpszText : "";
        if (state.shown && state.over == static_cast<int>(i))
            show(window);
    }
}

void deleteTool(Window& window, const TOOLINFO* info) {
    TipState& state = stateOf(window);
    forget(window);
    if (info)
        std::erase_if(state.tools, [&](const Tool& tool) { return sameTool(tool, *info); });
}

} // namespace

LRESULT CALLBACK toolTipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowPtr window = findWindow(hwnd);
    if (!window)
        return 0;
    const auto* info = reinterpret_cast<const TOOLINFO*>(lParam);
    switch (message) {
    case TTM_ADDTOOL:
        return addTool(*window, info);
    case TTM_DELTOOL:
        deleteTool(*window, info);
        return 0;
    case TTM_UPDATETIPTEXT:
        updateText(*window, info);
        return 0;
    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(stateOf(*window).tools.size());
    case TTM_ACTIVATE:
        stateOf(*window).active = wParam != 0;
        if (!wParam)
            forget(*window);
        return 0;
    case TTM_RELAYEVENT:
        if (const MSG* msg = reinterpret_cast<const MSG*>(lParam))
            relay(*window, *msg);
        return 0;
    case WM_TIMER:
        wParam == kShowTimer ? show(*window) : watch(*window);
        return 0;
    case WM_DESTROY:
        forget(*window);
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

} // namespace platform::user
