// The layer's own classes, as the class table starts with them, and the factory helper they share.
#pragma once

#include <new>
#include <vector>

#include <dshow/class_table.h>
#include <dshow/com_ptr.h>

namespace platform::dshow {

struct BuiltinClass {
    CLSID clsid;
    ClassFactory factory;
};

const std::vector<BuiltinClass>& builtinClasses();

// Makes a T (one reference) and queries it for riid; E_OUTOFMEMORY when allocation fails.
template <class T>
HRESULT createObject(REFIID riid, void** object) {
    T* raw = new (std::nothrow) T();
    if (!raw)
        return E_OUTOFMEMORY;
    ComPtr<T> created = ComPtr<T>::adopt(raw);
    return created->QueryInterface(riid, object);
}

} // namespace platform::dshow
