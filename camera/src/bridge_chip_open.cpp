// Finding the bridge chip driver's capture filter by name and opening its private property interface.
#include "bridge_chip.h"

#include <cstring>

#include <dshow/device_enum.h>
#include <win32/codepage.h>
#include <win32/local_memory.h>
#include <win32/registry.h>

#include "camera_model.h"
#include "graph_helpers.h"

namespace korvib {
namespace {

constexpr std::size_t kNameSize = 260;

// Tried in this order when the wanted name matches no device.
constexpr const char* kFallbackNames[] = {
    "USB 2800 Video",  "USB 2801 Video",  "USB 2700 Camera", "USB 2701 Camera",
    "USB 2840 Video",  "USB 2841 Video",  kCameraModelName,  "USB 2821 Video",
    "USB 2710 Camera", "USB 2711 Camera", "USB 2860 Video",  "USB 2861 Video",
    "USB 2880 Video",  "USB 2881 Video",  "USB 2750 Camera", "USB 2751 Camera",
};

// Reads string value `value` into text, zeroed first and filled to at most 255 bytes, so it always ends in a
// NUL whatever type was stored. False when the value is missing, longer than that or empty: an empty name
// would be a prefix of every device name.
bool QueryName(HKEY key, const char* value, char (&text)[256]) {
    std::memset(text, 0, sizeof(text));
    DWORD size = sizeof(text) - 1;
    return RegQueryValueEx(key, value, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
           text[0] != '\0';
}

} // namespace

int ReadBridgeFilterName(char* name, WCHAR* wideName) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\USB2800\\Camera", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return 0;
    }
    char text[256];
    const bool found = QueryName(key, "RealDSName", text) || QueryName(key, "DSName", text);
    RegCloseKey(key);
    if (!found) {
        return 0;
    }
    WCHAR wide[kNameSize] = {};
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(kNameSize) - 1);
    if (name != nullptr) {
        std::memcpy(name, text, sizeof(text));
    }
    if (wideName != nullptr) {
        std::memcpy(wideName, wide, sizeof(wide));
    }
    return 1;
}

// Walks the video input devices; a device whose name cannot be read, or that does not bind, is passed over.
// An empty name matches nothing.
IBaseFilter* BridgeChip::FindCaptureFilter(const char* name) {
    if (name[0] == '\0') {
        return nullptr;
    }
    ICreateDevEnum* devices = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devices)))) {
        return nullptr;
    }
    IEnumMoniker* monikers = nullptr;
    const HRESULT hr = devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0);
    devices->Release();
    if (FAILED(hr) || monikers == nullptr) {
        return nullptr;
    }
    const std::size_t wanted = std::strlen(name);
    IBaseFilter* filter = nullptr;
    monikers->Reset();
    IMoniker* moniker = nullptr;
    while (filter == nullptr && monikers->Next(1, &moniker, nullptr) == S_OK) {
        char* friendly = nullptr;
        if (SUCCEEDED(ReadFriendlyName(moniker, &friendly)) && friendly != nullptr &&
            std::strncmp(friendly, name, wanted) == 0 &&
            FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter)))) {
            filter = nullptr;
        }
        LocalFree(friendly);
        moniker->Release();
    }
    monikers->Release();
    return filter;
}

// The interface reference keeps the driver's filter alive; the filter itself is released.
IBridgeChipProperty* BridgeChip::OpenByName(const char* name) {
    IBaseFilter* filter = FindCaptureFilter(name);
    for (const char* fallback : kFallbackNames) {
        if (filter != nullptr) {
            break;
        }
        filter = FindCaptureFilter(fallback);
    }
    if (filter == nullptr) {
        return nullptr;
    }
    IBridgeChipProperty* property = nullptr;
    const HRESULT hr = filter->QueryInterface(IID_IBridgeChipProperty, reinterpret_cast<void**>(&property));
    filter->Release();
    {
        std::lock_guard<std::mutex> hold(lock_);
        lastResult_ = hr;
    }
    if (FAILED(hr) || property == nullptr) {
        return nullptr;
    }
    interface_ = property;
    return interface_;
}

IBridgeChipProperty* BridgeChip::Open() {
    char name[kNameSize] = {};
    if (ReadBridgeFilterName(name, nullptr) == 0) {
        std::strcpy(name, kCameraModelName);
    }
    IBridgeChipProperty* property = OpenByName(name);
    // Without an interface, or when a read fails, the key values stay 0 and the key path stays off.
    int value = 0;
    if (GetProperty(kPropKeyAddress, &value) == S_OK) {
        keyAddress_ = value;
    }
    value = 0;
    if (GetProperty(kPropKeyPseudoAddress, &value) == S_OK) {
        keyPseudoAddress_ = value;
    }
    return property;
}

} // namespace korvib
