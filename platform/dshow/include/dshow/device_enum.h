// The System Device Enumerator and its device categories.
#pragma once

#include <dshow/moniker.h>

extern const IID IID_ICreateDevEnum;
extern const CLSID CLSID_SystemDeviceEnum;
extern const CLSID CLSID_VideoInputDeviceCategory;
extern const CLSID CLSID_VideoCompressorCategory;

// Any thread.
struct ICreateDevEnum : IUnknown {
    // Monikers of the category's devices, each with a property bag holding FriendlyName and DevicePath
    // (BindToStorage) and the device filter (BindToObject). S_FALSE and a null enumerator when the
    // category has no device.
    virtual HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers,
                                                            DWORD flags) = 0;
};

ORV_INTERFACE(ICreateDevEnum, IUnknown);
