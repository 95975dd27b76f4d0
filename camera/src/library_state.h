// Process-wide state of the camera library: the settings key, the compressor name, the last bCustomProp,
// the property dialog.
#pragma once

#include <atomic>

#include <win32/types.h>

namespace korvib {

class CameraDevice;

struct LibraryState {
    // The settings key, opened by device construction and closed by its destruction; null while unavailable.
    HKEY settingsKey = nullptr;
    // FriendlyName of the AVI compressor: at most 255 characters and a NUL.
    char compressorName[256] = {};
    // bCustomProp as the last preview start read it or the last property page shown stored it.
    std::atomic<DWORD> customProp{1};
    // The open property dialog, null when none; GUI thread.
    HWND propertyDialog = nullptr;
    // The device most recently built, null when none; read by the auto loops on the streaming thread.
    std::atomic<CameraDevice*> currentDevice{nullptr};
};

// The one library state. The settings key and compressor name are used on the caller's thread.
LibraryState& Library();

} // namespace korvib
