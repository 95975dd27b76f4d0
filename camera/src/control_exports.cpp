// KZ_* fronts of registers, focus, recording and compression.
#include <camera/korvib.h>

#include "compressor_dialog.h"
#include "device_handle.h"

using korvib::AsDevice;

extern "C" {

int __stdcall KZ_RegOperation(KZ_HANDLE h, int index, int* value, int write) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->RegOperation(index, value, write);
}

int __stdcall KZ_GetRegRange(KZ_HANDLE h, int index, int* min, int* max) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->GetRegRange(index, min, max);
}

// Blocks the caller for the pulse, at most 200 ms.
int __stdcall KZ_FocusOperation(KZ_HANDLE h, int direction, int milliseconds) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->FocusOperation(direction, milliseconds);
}

int __stdcall KZ_GPIOOperation(KZ_HANDLE h, unsigned* value, int write) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->GPIOOperation(value, write);
}

int __stdcall KZ_SetDoSubAF(KZ_HANDLE h, int enable) {
    return h == nullptr ? KZ_ERR_NULL_HANDLE : AsDevice(h)->SetDoSubAF(enable);
}

int __stdcall KZ_SetDoAF(KZ_HANDLE h, int enable) {
    return h == nullptr ? KZ_ERR_NULL_HANDLE : AsDevice(h)->SetDoAF(enable);
}

int __stdcall KZ_StartCapture(KZ_HANDLE h, const char* aviPath) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->StartCapture(aviPath) ? KZ_OK : KZ_ERR_FAILED;
}

int __stdcall KZ_StopCapture(KZ_HANDLE h) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    AsDevice(h)->StopCapture();
    return KZ_OK;
}

// The handle is only tested: the dialog needs no device.
int __stdcall KZ_SelectCompressor(KZ_HANDLE h) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return korvib::ShowCompressorDialog() ? KZ_OK : KZ_ERR_FAILED;
}

// The three pointers are not tested.
int __stdcall KZ_DeviceCompressor(KZ_HANDLE h, LONG* keyFrameRate, LONG* pFramesPerKeyFrame, double* quality,
                                  int set) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->DeviceCompressor(keyFrameRate, pFramesPerKeyFrame, quality, set);
}

} // extern "C"
