// Handle table of GDI objects and the stock objects.
#include "handle_table.h"

#include <array>
#include <unordered_map>

#include "font_map.h"

namespace platform::gdi {
namespace {

struct Table {
    std::mutex mutex;
    std::unordered_map<uintptr_t, std::shared_ptr<GdiObject>> objects; // guarded by mutex
    uintptr_t next = 0x10000;                                           // guarded by mutex
};

Table& table() {
    static Table instance;
    return instance;
}

struct StockObjects {
    std::array<std::shared_ptr<GdiObject>, SYSTEM_FONT + 1> objects;
    std::shared_ptr<Bitmap> bitmap;
};

std::shared_ptr<GdiObject> makeStock(int index) {
    switch (index) {
    case WHITE_BRUSH: return std::make_shared<Brush>(false, RGB(255, 255, 255));
    case LTGRAY_BRUSH: return std::make_shared<Brush>(false, RGB(192, 192, 192));
    case GRAY_BRUSH: return std::make_shared<Brush>(false, RGB(128, 128, 128));
    case DKGRAY_BRUSH: return std::make_shared<Brush>(false, RGB(64, 64, 64));
    case BLACK_BRUSH: return std::make_shared<Brush>(false, RGB(0, 0, 0));
    case NULL_BRUSH: return std::make_shared<Brush>(true, 0);
    case WHITE_PEN: return std::make_shared<Pen>(PS_SOLID, 1, RGB(255, 255, 255));
    case BLACK_PEN: return std::make_shared<Pen>(PS_SOLID, 1, RGB(0, 0, 0));
    case NULL_PEN: return std::make_shared<Pen>(PS_NULL, 1, 0);
    case SYSTEM_FONT: return std::make_shared<Font>(systemLogFont());
    default: return nullptr;
    }
}

const StockObjects& stock() {
    static const StockObjects instance = [] {
        StockObjects s;
        for (int i = 0; i < static_cast<int>(s.objects.size()); ++i) {
            s.objects[i] = makeStock(i);
            if (s.objects[i]) {
                s.objects[i]->stock = true;
                addObject(s.objects[i]);
            }
        }
        s.bitmap = std::make_shared<Bitmap>();
        s.bitmap->width = s.bitmap->height = 1;
        s.bitmap->bitsPerPixel = 1;
        s.bitmap->stride = DibStride(1, 1);
        s.bitmap->colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
        s.bitmap->pixels.assign(s.bitmap->stride, 0);
        s.bitmap->stock = true;
        addObject(s.bitmap);
        return s;
    }();
    return instance;
}

} // namespace

std::mutex& tableMutex() {
    stock(); // made before anyone holds the mutex: making them takes it
    return table().mutex;
}

HGDIOBJ addObject(std::shared_ptr<GdiObject> object) {
    Table& t = table();
    std::lock_guard guard(t.mutex);
    t.next += 0x10;
    object->handle = reinterpret_cast<HGDIOBJ>(t.next);
    t.objects.emplace(t.next, std::move(object));
    return reinterpret_cast<HGDIOBJ>(t.next);
}

std::shared_ptr<GdiObject> findObjectLocked(HGDIOBJ handle) {
    auto it = table().objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == table().objects.end() ? nullptr : it->second;
}

std::shared_ptr<GdiObject> findObject(HGDIOBJ handle) {
    stock(); // the stock objects are in the table before any lookup
    std::lock_guard guard(table().mutex);
    auto object = findObjectLocked(handle);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

void removeObjectLocked(HGDIOBJ handle) { table().objects.erase(reinterpret_cast<uintptr_t>(handle)); }

std::shared_ptr<GdiObject> stockObject(int index) {
    if (index < 0 || index >= static_cast<int>(stock().objects.size()))
        return nullptr;
    return stock().objects[index];
}

std::shared_ptr<Bitmap> stockBitmap() { return stock().bitmap; }

} // namespace platform::gdi
