// The process-wide table that turns GDI handles into objects and refuses stale or foreign ones.
#pragma once

#include <memory>
#include <mutex>

#include "gdi_object.h"

namespace platform::gdi {

// Guards the table and the selection state of every object (GdiObject::selections, Bitmap::selectedIn).
std::mutex& tableMutex();

// Enters `object` under a new handle, never used before, and returns it. Any thread.
HGDIOBJ addObject(std::shared_ptr<GdiObject> object);

// The object behind `handle`, or null (with ERROR_INVALID_HANDLE) when it is stale, foreign or of another
// kind. Any thread; the caller must not hold tableMutex().
std::shared_ptr<GdiObject> findObject(HGDIOBJ handle);
template <class T>
std::shared_ptr<T> findAs(HGDIOBJ handle, ObjectKind kind) {
    auto object = findObject(handle);
    if (object && object->kind == kind)
        return std::static_pointer_cast<T>(object);
    if (object)
        SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}
inline std::shared_ptr<DeviceContext> findDc(HDC dc) {
    return findAs<DeviceContext>(reinterpret_cast<HGDIOBJ>(dc), ObjectKind::Dc);
}

// The same two for a caller that holds tableMutex(): lookup without setting the last error, and removal.
std::shared_ptr<GdiObject> findObjectLocked(HGDIOBJ handle);
void removeObjectLocked(HGDIOBJ handle);

// Stock objects, made once.
std::shared_ptr<GdiObject> stockObject(int index);
std::shared_ptr<Bitmap> stockBitmap();

} // namespace platform::gdi
