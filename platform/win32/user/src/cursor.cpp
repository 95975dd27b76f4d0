// Standard cursors, SetCursor, GetCursorPos and GetSystemMetrics.
#include <QGuiApplication>
#include <QScreen>

#include <testing/screen_size.h>
#include <win32/user.h>

#include "gui_thread.h"
#include "input.h"
#include "window_widget.h"

namespace {

struct StandardCursor {
    WORD id;
    Qt::CursorShape shape;
};

// The handle of a standard cursor is the address of its entry.
const StandardCursor kCursors[] = {
    {32512, Qt::ArrowCursor},   {32513, Qt::IBeamCursor},     {32514, Qt::WaitCursor},
    {32515, Qt::CrossCursor},   {32644, Qt::SizeHorCursor},   {32645, Qt::SizeVerCursor},
    {32646, Qt::SizeAllCursor}, {32648, Qt::ForbiddenCursor}, {32649, Qt::PointingHandCursor},
};

HCURSOR handleOf(const StandardCursor& cursor) {
    return reinterpret_cast<HCURSOR>(const_cast<StandardCursor*>(&cursor));
}

const StandardCursor* cursorOf(HCURSOR handle) {
    for (const StandardCursor& c : kCursors) {
        if (handleOf(c) == handle)
            return &c;
    }
    return nullptr;
}

HCURSOR current{};

} // namespace

HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName) {
    if (!hInstance && IS_INTRESOURCE(lpCursorName)) {
        const auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpCursorName));
        for (const StandardCursor& c : kCursors) {
            if (c.id == id)
                return handleOf(c);
        }
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

// A null cursor hides it.
HCURSOR SetCursor(HCURSOR hCursor) {
    const StandardCursor* cursor = cursorOf(hCursor);
    if (hCursor && !cursor) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const HCURSOR previous = current;
    current = hCursor;
    if (platform::user::WindowWidget* widget = platform::user::widgetOf(platform::user::windowUnderMouse()))
        widget->setCursor(cursor ? cursor->shape : Qt::BlankCursor);
    return previous;
}

BOOL GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint || !platform::user::ensureApplication()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const QPoint p = platform::user::lastCursorPos();
    *lpPoint = POINT{p.x(), p.y()};
    return TRUE;
}

int GetSystemMetrics(int nIndex) {
    if (nIndex != SM_CXSCREEN && nIndex != SM_CYSCREEN)
        return 0;
    SIZE size = platform::testing::screenSize();
    if (size.cx == 0 && size.cy == 0) {
        QScreen* screen = platform::user::ensureApplication() ? QGuiApplication::primaryScreen() : nullptr;
        if (!screen)
            return 0;
        size = SIZE{screen->geometry().width(), screen->geometry().height()};
    }
    return nIndex == SM_CXSCREEN ? size.cx : size.cy;
}
