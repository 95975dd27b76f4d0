// The "msctls_trackbar32" class on a Qt slider: WM_HSCROLL (WM_VSCROLL) to the parent for user moves only.
#include <QSlider>

#include <win32/user.h>

#include "embedded_control.h"
#include "standard_controls.h"

namespace platform::user {
namespace {

QSlider* sliderOf(const Window& window) {
    return static_cast<QSlider*>(embeddedControl(window));
}

WORD codeOf(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return TB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
        return TB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return TB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return TB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
        return TB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return TB_BOTTOM;
    default:
        return TB_THUMBTRACK;
    }
}

// The thumb's position travels in the high word with TB_THUMBTRACK and TB_THUMBPOSITION only.
void notify(HWND hwnd, WORD code) {
    WindowPtr window = findWindow(hwnd);
    QSlider* slider = window ? sliderOf(*window) : nullptr;
    if (!slider)
        return;
    const bool withPosition = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
    const WORD position = withPosition ? static_cast<WORD>(slider->value()) : 0;
    SendMessage(window->parent, (window->style & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL,
                MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(hwnd));
}

void create(Window& window) {
    auto* slider = new QSlider((window.style & TBS_VERT) ? Qt::Vertical : Qt::Horizontal);
    slider->setRange(0, 100);
    slider->setPageStep(20);
    slider->setTickPosition((window.style & TBS_NOTICKS) ? QSlider::NoTicks : QSlider::TicksBelow);
    const HWND hwnd = window.hwnd;
    // Queued, both: the slider applies an action after announcing it, and the order stays.
    QObject::connect(
        slider, &QAbstractSlider::actionTriggered, slider,
        [hwnd](int action) {
            const WORD code = codeOf(action);
            notify(hwnd, code);
            if (code != TB_THUMBTRACK)
                notify(hwnd, TB_ENDTRACK);
        },
        Qt::QueuedConnection);
    QObject::connect(
        slider, &QAbstractSlider::sliderReleased, slider,
        [hwnd] {
            notify(hwnd, TB_THUMBPOSITION);
            notify(hwnd, TB_ENDTRACK);
        },
        Qt::QueuedConnection);
    embedQtControl(window, slider);
}

} // namespace

// Positions and ranges set by message notify nobody.
LRESULT CALLBACK trackBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowPtr window = findWindow(hwnd);
    if (!window)
        return 0;
    QSlider* slider = sliderOf(*window);
    if (!slider && message != WM_CREATE)
        return embeddedDefaultProc(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        create(*window);
        return 0;
    case TBM_GETPOS:
        return slider->value();
    case TBM_GETRANGEMIN:
        return slider->minimum();
    case TBM_GETRANGEMAX:
        return slider->maximum();
    case TBM_SETPOS:
        slider->setValue(static_cast<int>(lParam));
        return 0;
    case TBM_SETRANGE:
        slider->setRange(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case TBM_SETRANGEMIN:
        slider->setMinimum(static_cast<int>(lParam));
        return 0;
    case TBM_SETRANGEMAX:
        slider->setMaximum(static_cast<int>(lParam));
        return 0;
    default:
        return embeddedDefaultProc(hwnd, message, wParam, lParam);
    }
}

} // namespace platform::user
