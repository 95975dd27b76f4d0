// The class table behind CoCreateInstance.
#pragma once

#include <functional>

#include <dshow/com.h>

namespace platform::dshow {

// Makes a new object and queries it for riid into *object.
using ClassFactory = std::function<HRESULT(REFIID riid, void** object)>;

// Adds a class (the layer's own filters are there from the start); a later registration of the same id
// hides an earlier one until it is unregistered. Returns a token for unregisterClass. Any thread.
int registerClass(const CLSID& clsid, ClassFactory factory);
void unregisterClass(int token);

} // namespace platform::dshow
