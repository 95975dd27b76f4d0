// The "EDIT" class: a single-line Qt line edit behind WM_SETTEXT/WM_GETTEXT; EN_CHANGE for user edits only.
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <win32/user.h>

#include "embedded_control.h"
#include "standard_controls.h"
#include "text_codec.h"

namespace platform::user {
namespace {

QLineEdit* lineOf(const Window& window) {
    return static_cast<QLineEdit*>(embeddedControl(window));
}

void create(Window& window) {
    auto* line = new QLineEdit(toQString(window.text.c_str()));
    line->setReadOnly((window.style & ES_READONLY) != 0);
    line->setAlignment((window.style & ES_CENTER)  ? Qt::AlignHCenter
                       : (window.style & ES_RIGHT) ? Qt::AlignRight
                                                   : Qt::AlignLeft);
    if (window.style & ES_PASSWORD)
        line->setEchoMode(QLineEdit::Password);
    if (window.style & ES_NUMBER)
        line->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), line));
    line->setFrame((window.style & WS_BORDER) || (window.exStyle & WS_EX_CLIENTEDGE));
    const HWND hwnd = window.hwnd;
    QObject::connect(line, &QLineEdit::textEdited, [hwnd](const QString& text) {
        if (WindowPtr w = findWindow(hwnd)) {
            w->text = toUtf8(text);
            notifyParent(*w, EN_CHANGE);
        }
    });
    embedQtControl(window, line);
}

} // namespace

LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowPtr window = findWindow(hwnd);
    if (!window)
        return 0;
    switch (message) {
    case WM_CREATE:
        create(*window);
        return 0;
    case WM_SETTEXT:
        DefWindowProc(hwnd, message, wParam, lParam);
        if (QLineEdit* line = lineOf(*window))
            line->setText(toQString(window->text.c_str()));
        return TRUE;
    default:
        return embeddedDefaultProc(hwnd, message, wParam, lParam);
    }
}

} // namespace platform::user
