// Standard and resource cursors, SetCursor, GetCursorPos and GetSystemMetrics.
#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <seams/screen_size.h>
#include <win32/user.h>

#include "gui_thread.h"
#include "input.h"
#include "window_widget.h"

namespace platform::user {
namespace {

// A cursor handle is the address of one of these; they live for the process.
struct CursorObject {
    QCursor cursor;
};

struct StandardCursor {
    WORD id;
    Qt::CursorShape shape;
};

constexpr StandardCursor kStandard[] = {
    {32512, Qt::ArrowCursor},   {32513, Qt::IBeamCursor},     {32514, Qt::WaitCursor},
    {32515, Qt::CrossCursor},   {32644, Qt::SizeHorCursor},   {32645, Qt::SizeVerCursor},
    {32646, Qt::SizeAllCursor}, {32648, Qt::ForbiddenCursor}, {32649, Qt::PointingHandCursor},
};

struct ResourceCursor {
    std::string path;
    QPoint hotSpot;
    CursorObject* loaded = nullptr;
};

struct Cursors {
    std::mutex lock; // guards resources, objects
    std::map<int, ResourceCursor> resources;
    std::vector<std::unique_ptr<CursorObject>> objects; // every cursor handed out
    std::map<WORD, CursorObject*> standard;
};

Cursors& cursors() {
    static Cursors c;
    return c;
}

HCURSOR handleOf(CursorObject* object) {
    return reinterpret_cast<HCURSOR>(object);
}

CursorObject* keep(Cursors& c, QCursor cursor) {
    c.objects.push_back(std::make_unique<CursorObject>(CursorObject{std::move(cursor)}));
    return c.objects.back().get();
}

const CursorObject* cursorOf(HCURSOR handle) {
    Cursors& c = cursors();
    std::lock_guard guard(c.lock);
    for (const auto& object : c.objects) {
        if (handleOf(object.get()) == handle)
            return object.get();
    }
    return nullptr;
}

HCURSOR loadStandard(WORD id) {
    Cursors& c = cursors();
    for (const StandardCursor& s : kStandard) {
        if (s.id != id)
            continue;
        std::lock_guard guard(c.lock);
        CursorObject*& object = c.standard[id];
        if (!object)
            object = keep(c, QCursor(s.shape));
        return handleOf(object);
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

// The image is read at the first load after its registration.
HCURSOR loadResource(int id) {
    Cursors& c = cursors();
    std::lock_guard guard(c.lock);
    auto it = c.resources.find(id);
    if (it == c.resources.end()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    ResourceCursor& resource = it->second;
    if (!resource.loaded) {
        const QPixmap image(QString::fromStdString(resource.path));
        if (image.isNull()) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
        resource.loaded = keep(c, QCursor(image, resource.hotSpot.x(), resource.hotSpot.y()));
    }
    return handleOf(resource.loaded);
}

HCURSOR current{};

} // namespace

void registerResourceCursor(int id, const char* path, int hotX, int hotY) {
    Cursors& c = cursors();
    std::lock_guard guard(c.lock);
    c.resources[id] = ResourceCursor{path ? path : "", QPoint(hotX, hotY), nullptr};
}

} // namespace platform::user

using namespace platform::user;

HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName) {
    if (!IS_INTRESOURCE(lpCursorName)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (!ensureApplication()) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return nullptr;
    }
    const auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpCursorName));
    return hInstance ? loadResource(id) : loadStandard(id);
}

// A null cursor hides it.
HCURSOR SetCursor(HCURSOR hCursor) {
    const CursorObject* cursor = cursorOf(hCursor);
    if (hCursor && !cursor) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const HCURSOR previous = current;
    current = hCursor;
    if (WindowWidget* widget = widgetOf(windowUnderMouse()))
        widget->setCursor(cursor ? cursor->cursor : QCursor(Qt::BlankCursor));
    return previous;
}

BOOL GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint || !ensureApplication()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const QPoint p = lastCursorPos();
    *lpPoint = POINT{p.x(), p.y()};
    return TRUE;
}

int GetSystemMetrics(int nIndex) {
    if (nIndex != SM_CXSCREEN && nIndex != SM_CYSCREEN)
        return 0;
    SIZE size = platform::seams::screenSize();
    if (size.cx == 0 && size.cy == 0) {
        QScreen* screen = ensureApplication() ? QGuiApplication::primaryScreen() : nullptr;
        if (!screen)
            return 0;
        size = SIZE{screen->geometry().width(), screen->geometry().height()};
    }
    return nIndex == SM_CXSCREEN ? size.cx : size.cy;
}
