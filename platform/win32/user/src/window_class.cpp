// RegisterClass and RegisterClassEx, and the lookup of classes by name or atom.
#include "window_class.h"

#include <strings.h>
#include <vector>

#include <win32/user_input.h>

namespace platform::user {
namespace {

// Atoms of registered classes start here, as on Windows.
constexpr ATOM kFirstAtom = 0xC000;

std::vector<std::shared_ptr<const WindowClass>>& classes() {
    static std::vector<std::shared_ptr<const WindowClass>> list;
    return list;
}

ATOM addClass(WindowClass cls) {
    auto& list = classes();
    cls.atom = static_cast<ATOM>(kFirstAtom + list.size());
    list.push_back(std::make_shared<const WindowClass>(std::move(cls)));
    return list.back()->atom;
}

} // namespace

std::shared_ptr<const WindowClass> findClass(LPCSTR nameOrAtom) {
    if (!nameOrAtom)
        return nullptr;
    for (const auto& cls : classes()) {
        if (IS_INTRESOURCE(nameOrAtom) ? cls->atom == reinterpret_cast<ULONG_PTR>(nameOrAtom)
                                       : strcasecmp(cls->name.c_str(), nameOrAtom) == 0)
            return cls;
    }
    return nullptr;
}

void registerSystemClass(const char* name, UINT style, WNDPROC proc, LPCSTR cursorId) {
    if (findClass(name))
        return;
    addClass(
        WindowClass{name, 0, style | CS_GLOBALCLASS, proc, nullptr, LoadCursor(nullptr, cursorId), nullptr});
}

} // namespace platform::user

using platform::user::findClass;
using platform::user::WindowClass;

// Names given as atoms can only name classes that exist already.
ATOM RegisterClassEx(const WNDCLASSEX* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEX) || !wc->lpfnWndProc || !wc->lpszClassName ||
        IS_INTRESOURCE(wc->lpszClassName) || !*wc->lpszClassName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (findClass(wc->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    return platform::user::addClass(WindowClass{wc->lpszClassName, 0, wc->style, wc->lpfnWndProc,
                                                wc->hInstance, wc->hCursor, wc->hbrBackground});
}

ATOM RegisterClass(const WNDCLASS* wc) {
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEX ex{sizeof(WNDCLASSEX), wc->style,        wc->lpfnWndProc,   wc->cbClsExtra,
                  wc->cbWndExtra,     wc->hInstance,    wc->hIcon,         wc->hCursor,
                  wc->hbrBackground,  wc->lpszMenuName, wc->lpszClassName, nullptr};
    return RegisterClassEx(&ex);
}
