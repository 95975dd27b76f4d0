// Registration of the standard control classes and the colours controls ask their parents for.
#include "standard_controls.h"

#include <cstring>

#include <win32/gdi.h>
#include <win32/user.h>

#include "text_codec.h"
#include "window.h"
#include "window_class.h"
#include "window_widget.h"

namespace platform::user {
namespace {

// The dialog face colour of the default colour scheme.
constexpr COLORREF kFaceColor = RGB(240, 240, 240);
constexpr COLORREF kTextColor = RGB(0, 0, 0);

HBRUSH faceBrush() {
    static HBRUSH brush = CreateSolidBrush(kFaceColor);
    return brush;
}

} // namespace

void registerStandardControls() {
    static bool done = false;
    if (done)
        return;
    done = true;
    registerSystemClass(WC_STATIC, CS_PARENTDC, staticProc, IDC_ARROW);
    registerSystemClass(WC_BUTTON, CS_PARENTDC | CS_DBLCLKS, buttonProc, IDC_ARROW);
    registerSystemClass(WC_EDIT, CS_PARENTDC | CS_DBLCLKS, editProc, IDC_IBEAM);
    registerSystemClass(WC_COMBOBOX, CS_PARENTDC | CS_DBLCLKS, comboBoxProc, IDC_ARROW);
    registerSystemClass(TRACKBAR_CLASS, 0, trackBarProc, IDC_ARROW);
    registerSystemClass(TOOLTIPS_CLASS, CS_DBLCLKS, toolTipProc, IDC_ARROW);
}

HBRUSH defaultControlBrush(HDC dc, UINT ctlColorMessage) {
    SetTextColor(dc, kTextColor);
    if (ctlColorMessage == WM_CTLCOLOREDIT || ctlColorMessage == WM_CTLCOLORLISTBOX) {
        SetBkColor(dc, RGB(255, 255, 255));
        return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    }
    SetBkColor(dc, kFaceColor);
    return faceBrush();
}

// A parent that answers with no brush leaves the control its default colours.
HBRUSH controlBrush(HWND control, HDC dc, UINT ctlColorMessage) {
    const HWND parent = GetParent(control);
    auto brush = reinterpret_cast<HBRUSH>(SendMessage(parent ? parent : control, ctlColorMessage,
                                                      reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(control)));
    return brush ? brush : defaultControlBrush(dc, ctlColorMessage);
}

void paintControl(HWND hwnd, const std::function<void(HDC, const RECT&)>& paint) {
    PAINTSTRUCT ps;
    if (HDC dc = BeginPaint(hwnd, &ps)) {
        RECT client;
        GetClientRect(hwnd, &client);
        paint(dc, client);
        EndPaint(hwnd, &ps);
    }
}

void paintWithQt(Window& window, const std::function<void(QPainter&, QWidget&)>& paint) {
    if (!window.widget)
        return;
    {
        std::lock_guard guard(window.surface->lock);
        QPainter painter(&window.surface->image);
        painter.setFont(window.widget->font());
        paint(painter, *window.widget);
    }
    window.widget->update();
}

LRESULT defaultAndRepaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
    InvalidateRect(hwnd, nullptr, TRUE);
    return result;
}

namespace {

// The Qt font of a GDI font: its face (installed fonts stand in for missing ones), size and weight.
QFont qtFontOf(HFONT font) {
    LOGFONT lf{};
    if (!font || !GetObject(font, sizeof lf, &lf))
        return QFont();
    QFont result(toQString(std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)).c_str()));
    if (lf.lfHeight != 0)
        result.setPixelSize(std::abs(lf.lfHeight));
    result.setBold(lf.lfWeight >= FW_BOLD);
    result.setItalic(lf.lfItalic != 0);
    return result;
}

} // namespace

bool handleFontMessage(Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_GETFONT) {
        *result = reinterpret_cast<LRESULT>(window.font);
        return true;
    }
    if (message != WM_SETFONT)
        return false;
    window.font = reinterpret_cast<HFONT>(wParam);
    if (window.widget) {
        const QFont font = qtFontOf(window.font);
        window.widget->setFont(font);
        if (QWidget* inner = window.widget->focusProxy())
            inner->setFont(font);
    }
    if (LOWORD(lParam))
        InvalidateRect(window.hwnd, nullptr, TRUE);
    *result = 0;
    return true;
}

void notifyParent(const Window& control, WORD code) {
    SendMessage(control.parent, WM_COMMAND, MAKEWPARAM(control.id, code),
                reinterpret_cast<LPARAM>(control.hwnd));
}

} // namespace platform::user
