// Sources of devices that the System Device Enumerator lists, by category.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <dshow/com.h>

namespace platform::dshow {

struct DeviceEntry {
    std::wstring friendlyName;
    std::wstring devicePath;
    // Binds the device: a new reference to its filter (riid IID_IBaseFilter) or another interface of it.
    std::function<HRESULT(REFIID, void**)> bindToObject;
};

// Adds a device source to a category; the System Device Enumerator lists providers in registration
// order each time it is asked (S_FALSE and no enumerator when the category is empty). Returns a token for
// unregisterDeviceProvider. Providers are called without any lock of the catalog held. Any thread.
int registerDeviceProvider(const GUID& category, std::function<std::vector<DeviceEntry>()> provider);
void unregisterDeviceProvider(int token);

} // namespace platform::dshow
