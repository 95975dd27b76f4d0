// LoadImage of BMP files, LoadBitmap and the table of resource bitmaps behind it.
#include <map>
#include <mutex>
#include <string>

#include "bitmap_store.h"
#include "bmp_reader.h"

#include <win32/gdi_bitmap.h>
#include <win32/native_path.h>

using namespace platform::gdi;

namespace {

struct ResourceBitmaps {
    std::mutex mutex;
    std::map<int, std::string> paths; // guarded by mutex
};

ResourceBitmaps& resources() {
    static ResourceBitmaps instance;
    return instance;
}

HBITMAP loadBmp(const std::string& path, bool section) {
    LoadedDib dib;
    if (!readBmpFile(path, &dib))
        return nullptr;
    const PixelView view = dib.view();
    auto bitmap = section ? dibSectionFromDib(view) : deviceBitmapFromDib(view, 32);
    return bitmap ? enterBitmap(std::move(bitmap)) : nullptr;
}

} // namespace

namespace platform::gdi {

void registerResourceBitmap(int id, const char* path) {
    std::lock_guard guard(resources().mutex);
    resources().paths[id] = path ? path : "";
}

} // namespace platform::gdi

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int width, int height, UINT flags) {
    if (!name || type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE) || width != 0 || height != 0 ||
        (flags & ~(LR_LOADFROMFILE | LR_CREATEDIBSECTION)) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return loadBmp(platform::toNativePath(name), (flags & LR_CREATEDIBSECTION) != 0);
}

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR name) {
    std::string path;
    if (IS_INTRESOURCE(name)) {
        std::lock_guard guard(resources().mutex);
        auto it = resources().paths.find(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
        if (it != resources().paths.end())
            path = it->second;
    }
    if (path.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return loadBmp(path, false);
}
