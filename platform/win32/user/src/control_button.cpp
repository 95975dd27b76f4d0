// The "BUTTON" class: push, default, owner-drawn, check, radio and group-box buttons, driven by messages.
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <win32/gdi.h>
#include <win32/user.h>

#include "standard_controls.h"
#include "text_codec.h"
#include "window_widget.h"
#include "window.h"

namespace platform::user {
namespace {

// State bits beyond the documented ones, as BM_GETSTATE reports them: the button holds the capture it
// took on the press, and the left button went down on it and is still held.
constexpr UINT kCaptured = 0x0020;
constexpr UINT kMouseHeld = 0x0040;

struct ButtonState : ControlState {
    UINT state = 0;
};

UINT& stateOf(Window& window) {
    if (!window.control)
        window.control = std::make_unique<ButtonState>();
    return static_cast<ButtonState&>(*window.control).state;
}

UINT typeOf(const Window& window) {
    return window.style & BS_TYPEMASK;
}

bool isCheckType(UINT type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
           type == BS_AUTORADIOBUTTON;
}

// The other automatic radio buttons of the same group (from a WS_GROUP sibling to the next) lose their check.
void uncheckGroup(const Window& window) {
    WindowPtr parent = findWindow(window.parent);
    if (!parent)
        return;
    const std::vector<HWND>& siblings = parent->children;
    const auto self = std::find(siblings.begin(), siblings.end(), window.hwnd);
    auto first = self;
    while (first != siblings.begin() && !(GetWindowLong(*first, GWL_STYLE) & WS_GROUP))
        --first;
    for (auto it = first; it != siblings.end(); ++it) {
        if (it != first && (GetWindowLong(*it, GWL_STYLE) & WS_GROUP))
            break;
        WindowPtr sibling = findWindow(*it);
        if (sibling && sibling->hwnd != window.hwnd && typeOf(*sibling) == BS_AUTORADIOBUTTON)
            SendMessage(sibling->hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void click(Window& window) {
    UINT& state = stateOf(window);
    if (typeOf(window) == BS_AUTOCHECKBOX) {
        state = (state & ~3u) | ((state & BST_CHECKED) ? 0u : BST_CHECKED);
    } else if (typeOf(window) == BS_AUTORADIOBUTTON) {
        state |= BST_CHECKED;
        uncheckGroup(window);
    }
    InvalidateRect(window.hwnd, nullptr, FALSE);
    notifyParent(window, BN_CLICKED);
}

void drawOwner(Window& window, HDC dc, const RECT& client) {
    const UINT state = stateOf(window);
    UINT itemState = 0;
    if (state & BST_PUSHED)
        itemState |= ODS_SELECTED;
    if (state & BST_FOCUS)
        itemState |= ODS_FOCUS;
    if (window.style & WS_DISABLED)
        itemState |= ODS_DISABLED;
    DRAWITEMSTRUCT dis{
        ODT_BUTTON, static_cast<UINT>(window.id), 0, ODA_DRAWENTIRE, itemState, window.hwnd, dc, client, 0};
    SendMessage(window.parent, WM_DRAWITEM, static_cast<WPARAM>(window.id), reinterpret_cast<LPARAM>(&dis));
}

QStyleOptionGroupBox groupBoxOption(const Window& window, const QWidget& widget, const QRect& rect) {
    QStyleOptionGroupBox option;
    option.rect = rect;
    option.palette = widget.palette();
    option.fontMetrics = widget.fontMetrics();
    option.state = (window.style & WS_DISABLED) ? QStyle::State_None : QStyle::State_Enabled;
    option.text = toQString(window.text.c_str());
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = Qt::AlignLeft;
    return option;
}

// A group box is its frame and caption only: the controls it surrounds are its siblings and show through
// its inside, which it never paints, and take the mouse there.
void maskGroupBox(Window& window) {
    QWidget* widget = window.widget;
    if (!widget || typeOf(window) != BS_GROUPBOX)
        return;
    const QStyleOptionGroupBox option = groupBoxOption(window, *widget, widget->rect());
    const QRect inside =
        widget->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, widget);
    widget->setMask(QRegion(widget->rect()) - inside);
}

void drawWithStyle(Window& window, const RECT& client) {
    const UINT state = stateOf(window);
    const UINT type = typeOf(window);
    const QString text = toQString(window.text.c_str());
    const bool enabled = !(window.style & WS_DISABLED);
    paintWithQt(window, [&](QPainter& painter, QWidget& widget) {
        QStyle* style = widget.style();
        const QRect rect(client.left, client.top, client.right - client.left, client.bottom - client.top);
        if (type == BS_GROUPBOX) {
            const QStyleOptionGroupBox option = groupBoxOption(window, widget, rect);
            style->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, &widget);
            return;
        }
        QStyleOptionButton option;
        option.rect = rect;
        option.palette = widget.palette();
        option.fontMetrics = widget.fontMetrics();
        option.text = text;
        option.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
        if (state & BST_FOCUS)
            option.state |= QStyle::State_HasFocus;
        const bool checked = (state & BST_CHECKED) != 0;
        const bool pushLike = isCheckType(type) && (window.style & BS_PUSHLIKE);
        if (isCheckType(type) && !pushLike) {
            option.state |= checked ? QStyle::State_On : QStyle::State_Off;
            if (state & BST_PUSHED)
                option.state |= QStyle::State_Sunken;
            const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
            style->drawControl(radio ? QStyle::CE_RadioButton : QStyle::CE_CheckBox, &option, &painter,
                               &widget);
            return;
        }
        if (type == BS_DEFPUSHBUTTON)
            option.features |= QStyleOptionButton::DefaultButton;
        if (window.style & BS_FLAT)
            option.features |= QStyleOptionButton::Flat;
        option.state |=
            ((state & BST_PUSHED) || (pushLike && checked)) ? QStyle::State_Sunken : QStyle::State_Raised;
        if (!(window.style & BS_LEFT)) {
            style->drawControl(QStyle::CE_PushButton, &option, &painter, &widget);
            return;
        }
        // The frame as the style draws it, the text at the left of its contents.
        style->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, &widget);
        const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, &widget);
        style->drawItemText(&painter, contents, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                            option.palette, enabled, text, QPalette::ButtonText);
    });
}

void paint(Window& window, HDC dc, const RECT& client) {
    if (typeOf(window) == BS_OWNERDRAW) {
        drawOwner(window, dc, client);
        return;
    }
    const bool push = !isCheckType(typeOf(window)) && typeOf(window) != BS_GROUPBOX;
    FillRect(dc, &client, controlBrush(window.hwnd, dc, push ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC));
    drawWithStyle(window, client);
}

void setFlag(Window& window, UINT flag, bool on) {
    UINT& state = stateOf(window);
    const UINT before = state;
    state = on ? (state | flag) : (state & ~flag);
    if (state != before)
        InvalidateRect(window.hwnd, nullptr, FALSE);
}

bool inside(const Window& window, LPARAM point) {
    RECT client;
    GetClientRect(window.hwnd, &client);
    const int x = GET_X_LPARAM(point);
    const int y = GET_Y_LPARAM(point);
    return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

} // namespace

// A press takes the focus and the capture and pushes the button; the release over it clicks (checks for
// the automatic kinds) and sends BN_CLICKED. The space bar pushes and clicks the focused button the same
// way. Setting the check or state by message notifies nobody.
LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowPtr window = findWindow(hwnd);
    if (!window)
        return 0;
    if (LRESULT result; handleFontMessage(*window, message, wParam, lParam, &result)) {
        maskGroupBox(*window);
        return result;
    }
    UINT& state = stateOf(*window);
    const bool groupBox = typeOf(*window) == BS_GROUPBOX;
    switch (message) {
    case WM_NCHITTEST:
        return groupBox ? HTTRANSPARENT : HTCLIENT;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        paintControl(hwnd, [&](HDC dc, const RECT& client) { paint(*window, dc, client); });
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (groupBox)
            return 0;
        SetFocus(hwnd);
        SetCapture(hwnd);
        state |= kCaptured | kMouseHeld;
        setFlag(*window, BST_PUSHED, true);
        return 0;
    case WM_MOUSEMOVE:
        if ((state & kMouseHeld) && GetCapture() == hwnd)
            setFlag(*window, BST_PUSHED, inside(*window, lParam));
        return 0;
    case WM_LBUTTONUP: {
        if (!(state & kMouseHeld))
            return 0;
        const bool clicked = (state & BST_PUSHED) && inside(*window, lParam);
        state &= ~kMouseHeld;
        setFlag(*window, BST_PUSHED, false);
        ReleaseCapture();
        if (clicked)
            click(*window);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !groupBox)
            setFlag(*window, BST_PUSHED, true);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && (state & BST_PUSHED) && !(state & kMouseHeld)) {
            setFlag(*window, BST_PUSHED, false);
            click(*window);
        }
        return 0;
    case WM_CAPTURECHANGED:
        state &= ~(kCaptured | kMouseHeld);
        setFlag(*window, BST_PUSHED, false);
        return 0;
    case WM_SETFOCUS:
        setFlag(*window, BST_FOCUS, true);
        return 0;
    case WM_KILLFOCUS:
        setFlag(*window, BST_FOCUS, false);
        if (!(state & kMouseHeld))
            setFlag(*window, BST_PUSHED, false); // a space-bar press ends without a click
        return 0;
    case BM_GETCHECK:
        return state & 3;
    case BM_SETCHECK:
        if (isCheckType(typeOf(*window))) {
            state = (state & ~3u) | (wParam & 3u);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case BM_GETSTATE:
        return state;
    case BM_SETSTATE:
        setFlag(*window, BST_PUSHED, wParam != 0);
        return 0;
    case WM_CREATE:
    case WM_SIZE:
        maskGroupBox(*window);
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = defaultAndRepaint(hwnd, message, wParam, lParam);
        maskGroupBox(*window);
        return result;
    }
    case WM_ENABLE:
        return defaultAndRepaint(hwnd, message, wParam, lParam);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

} // namespace platform::user
