// KZ_* fronts of the device's life, the preview and the parameters.
#include <new>

#include <camera/korvib.h>

#include "device_handle.h"

using korvib::AsDevice;
using korvib::CameraDevice;

extern "C" {

int __stdcall KZ_Initial(KZ_HANDLE* outHandle, HWND notifyWnd, int comPort) {
    if (outHandle == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    *outHandle = nullptr;
    CameraDevice* device = new (std::nothrow) CameraDevice(notifyWnd);
    if (device == nullptr) {
        return KZ_ERR_FAILED;
    }
    if (!device->Open(comPort)) {
        delete device;
        return KZ_ERR_FAILED;
    }
    *outHandle = device;
    return KZ_OK;
}

// KZ_ERR_FAILED, keeping the device, when called from one of its own callbacks.
int __stdcall KZ_UnInitial(KZ_HANDLE* handle) {
    if (handle == nullptr || *handle == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    CameraDevice* device = AsDevice(*handle);
    if (device->InsideFrame()) {
        return KZ_ERR_FAILED;
    }
    delete device;
    *handle = nullptr;
    return KZ_OK;
}

int __stdcall KZ_Start(KZ_HANDLE h, DWORD windowStyle, int x, int y, int width, int height, HWND owner,
                       int renderMode) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->StartPreview(windowStyle, x, y, width, height, owner, renderMode) ? KZ_OK : KZ_ERR_FAILED;
}

// KZ_ERR_FAILED, stopping nothing, when called from one of the device's own callbacks.
int __stdcall KZ_Stop(KZ_HANDLE h) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->StopPreview() ? KZ_OK : KZ_ERR_FAILED;
}

float __stdcall KZ_GetFrameRate(KZ_HANDLE h) {
    if (h == nullptr) {
        return 2.0f;
    }
    return AsDevice(h)->FrameRate();
}

int __stdcall KZ_SetParam(KZ_HANDLE h, int id, int value) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->SetParam(id, value) ? KZ_OK : KZ_ERR_FAILED;
}

int __stdcall KZ_GetParam(KZ_HANDLE h, int id, int* value) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    const int result = AsDevice(h)->GetParam(id);
    if (value != nullptr) {
        *value = result;
    }
    return KZ_OK;
}

int __stdcall KZ_SetViewWin(KZ_HANDLE h, const int* rect) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->SetViewWin(rect);
}

} // extern "C"
