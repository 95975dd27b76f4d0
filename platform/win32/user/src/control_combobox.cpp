// The "COMBOBOX" class on a Qt combo box: strings kept as given, CBN_SELCHANGE for the user's choices only.
#include <QComboBox>
#include <cstring>

#include <win32/user.h>

#include "embedded_control.h"
#include "standard_controls.h"
#include "text_codec.h"

namespace platform::user {
namespace {

struct ComboState : ControlState {
    std::vector<std::string> items; // bytes as added
};

ComboState& stateOf(Window& window) {
    if (!window.control)
        window.control = std::make_unique<ComboState>();
    return static_cast<ComboState&>(*window.control);
}

QComboBox* comboOf(const Window& window) {
    return static_cast<QComboBox*>(embeddedControl(window));
}

void create(Window& window) {
    auto* combo = new QComboBox;
    combo->setEditable((window.style & 3) == CBS_DROPDOWN);
    const HWND hwnd = window.hwnd;
    QObject::connect(combo, &QComboBox::activated, [hwnd] {
        if (WindowPtr w = findWindow(hwnd))
            notifyParent(*w, CBN_SELCHANGE);
    });
    embedQtControl(window, combo);
}

// The height a template gives a drop-down combo box is that of its open list: the window itself is as
// tall as its field, so the controls under it stay uncovered.
void fitToField(Window& window) {
    const QComboBox* combo = comboOf(window);
    if (!combo)
        return;
    RECT rect;
    GetClientRect(window.hwnd, &rect);
    const int field = combo->sizeHint().height();
    if (rect.bottom > field)
        SetWindowPos(window.hwnd, nullptr, 0, 0, rect.right, field, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A new Qt combo box selects its first item by itself; a Windows one keeps no selection.
LRESULT addString(Window& window, QComboBox* combo, const char* text) {
    ComboState& state = stateOf(window);
    const int selected = combo->currentIndex();
    state.items.emplace_back(text ? text : "");
    combo->addItem(toQString(state.items.back().c_str()));
    combo->setCurrentIndex(selected);
    return static_cast<LRESULT>(state.items.size() - 1);
}

LRESULT copyItem(Window& window, WPARAM index, LPARAM buffer) {
    const ComboState& state = stateOf(window);
    if (index >= state.items.size())
        return CB_ERR;
    const std::string& item = state.items[index];
    if (buffer)
        std::memcpy(reinterpret_cast<char*>(buffer), item.c_str(), item.size() + 1);
    return static_cast<LRESULT>(item.size());
}

} // namespace

LRESULT CALLBACK comboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowPtr window = findWindow(hwnd);
    if (!window)
        return 0;
    QComboBox* combo = comboOf(*window);
    switch (message) {
    case WM_CREATE:
        create(*window);
        fitToField(*window);
        return 0;
    case CB_ADDSTRING:
        return combo ? addString(*window, combo, reinterpret_cast<const char*>(lParam)) : CB_ERR;
    case CB_GETCOUNT:
        return static_cast<LRESULT>(stateOf(*window).items.size());
    case CB_GETCURSEL:
        return combo && combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
    case CB_SETCURSEL: {
        const bool valid = wParam < stateOf(*window).items.size();
        if (combo)
            combo->setCurrentIndex(valid ? static_cast<int>(wParam) : -1);
        return valid ? static_cast<LRESULT>(wParam) : CB_ERR;
    }
    case CB_GETLBTEXT:
        return copyItem(*window, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return copyItem(*window, wParam, 0);
    case CB_RESETCONTENT:
        stateOf(*window).items.clear();
        if (combo)
            combo->clear();
        return 0;
    default:
        return embeddedDefaultProc(hwnd, message, wParam, lParam);
    }
}

} // namespace platform::user
