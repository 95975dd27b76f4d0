// KZ_* fronts of the frame pipeline: callbacks, gamma, snapshots, mask and dark frame.
#include <cstdlib>

#include <camera/korvib.h>

#include "device_handle.h"
#include "gamma.h"
#include "snapshot_capture.h"

using korvib::AsDevice;

extern "C" {

int __stdcall KZ_SetFrameCallBack(KZ_HANDLE h, KZ_FrameCallBack callback, void* user) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->Pipeline().SetFrameCallBack(callback, user) ? KZ_OK : KZ_ERR_NO_BUFFERS;
}

int __stdcall KZ_SetFrameCallBackEx(KZ_HANDLE h, KZ_FrameCallBackEx callback, void* user) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->Pipeline().SetFrameCallBackEx(callback, user) ? KZ_OK : KZ_ERR_NO_BUFFERS;
}

int __stdcall KZ_SetMaskCallBack(KZ_HANDLE h, KZ_MaskCallBack callback, void* user) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    AsDevice(h)->Pipeline().SetMaskCallBack(callback, user);
    return KZ_OK;
}

int __stdcall KZ_SetGreenGamma(KZ_HANDLE h, float gamma, int enable) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    AsDevice(h)->Pipeline().SetGreenGamma(gamma, enable != 0);
    return KZ_OK;
}

int __stdcall KZ_GammaOperation(BYTE* dibPixels, unsigned width, int height, unsigned bitsPerPixel, float gamma) {
    if (dibPixels == nullptr) {
        return KZ_ERR_FAILED;
    }
    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
    const std::size_t rows = static_cast<std::size_t>(std::llabs(height));
    korvib::MapRows(dibPixels, rowBytes, rows, korvib::MakeGammaTable(gamma));
    return KZ_OK;
}

int __stdcall KZ_CaptureToBuf(KZ_HANDLE h, BYTE* buffer) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->CaptureToBuf(buffer);
}

int __stdcall KZ_CaptureToBmp(KZ_HANDLE h, const char* path) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return korvib::CaptureToBmp(*AsDevice(h), path);
}

int __stdcall KZ_CaptureToJpg(KZ_HANDLE h, const char* path, int quality) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return korvib::CaptureToJpg(*AsDevice(h), path, quality);
}

int __stdcall KZ_LoadMaskBmp(KZ_HANDLE h, const char* path, DWORD keyColour, int beforeCallbacks) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->Pipeline().Overlays().ToggleMask(path, keyColour, beforeCallbacks != 0);
}

int __stdcall KZ_Calibration(KZ_HANDLE h, const char* path, int allFrames, int snapshots) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    return AsDevice(h)->Pipeline().Overlays().Calibrate(path, allFrames != 0, snapshots != 0);
}

} // extern "C"
