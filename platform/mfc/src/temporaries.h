// Wrapper objects made for handles that no framework object owns, kept until the outermost loop moves on.
#pragma once

#include <map>
#include <memory>
#include <typeindex>
#include <utility>

#include <win32/types.h>

class CDC;
class CGdiObject;
class CWnd;

namespace platform::mfc {

// One map of borrowed wrappers per kind of handle. GUI thread.
template <typename Key, typename Object>
class TemporaryMap {
public:
    // The wrapper of `key`, made by `make` the first time.
    template <typename Make>
    Object* find(const Key& key, Make make)
    {
        auto& slot = map_[key];
        if (!slot)
            slot = make();
        return slot.get();
    }
    void clear() { map_.clear(); }

private:
    std::map<Key, std::unique_ptr<Object>> map_;
};

// The borrowed wrappers of windows, DCs and GDI objects (by handle and wrapper class). GUI thread.
TemporaryMap<HWND, CWnd>& windowTemporaries();
TemporaryMap<HDC, CDC>& dcTemporaries();
TemporaryMap<std::pair<HGDIOBJ, std::type_index>, CGdiObject>& gdiTemporaries();

// Drops every borrowed wrapper: called when the outermost message loop takes a message, where no
// handler can still hold one. GUI thread.
void purgeTemporaries();

} // namespace platform::mfc
