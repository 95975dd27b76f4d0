// The bridge chip driver's private property interface on its capture filter.
#pragma once

#include <dshow/com.h>

// {85548EFB-86C8-4E57-B2FA-802B1B86C2AA}
extern const IID IID_IBridgeChipProperty;

// Properties are addressed by id; the data pointer's size follows from the id and the current selection.
// Success is S_OK exactly. Any thread; each call is atomic by itself.
struct IBridgeChipProperty : IUnknown {
    // Whether the driver supports `id`; *support gets 1 for Get, 2 for Set, 3 for both.
    virtual HRESULT STDMETHODCALLTYPE QuerySupported(DWORD id, DWORD* support) = 0;
    virtual HRESULT STDMETHODCALLTYPE Set(DWORD id, void* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE Get(DWORD id, void* data) = 0;
};

ORV_INTERFACE(IBridgeChipProperty, IUnknown);
