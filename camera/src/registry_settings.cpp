// The settings key SOFTWARE\Veltrane\Camera\Korvi and its typed values with their defaults and clamps.
#include "registry_settings.h"

#include <algorithm>
#include <cstring>

#include <win32/kernel.h>
#include <win32/registry.h>

#include <camera/korvib.h>

namespace korvib {
namespace {

constexpr const char* kCameraPath = "SOFTWARE\\Veltrane\\Camera";
// The library's own subkey name (its string table entry 1).
constexpr const char* kSubkeyName = "Korvi";
constexpr DWORD kStringQueryBytes = 1024;

HKEY PredefinedRoot(int index) {
    switch (index) {
    case 0: return HKEY_CLASSES_ROOT;
    case 1: return HKEY_CURRENT_CONFIG;
    case 2: return HKEY_CURRENT_USER;
    case 3: return HKEY_LOCAL_MACHINE;
    case 4: return HKEY_USERS;
    default: return nullptr;
    }
}

// A stored sensor value: 0 gives the default, the rest is clamped to [1, maximum] as signed.
int CorrectedSensorValue(HKEY key, const char* name, int defaultValue, int maximum) {
    const int stored = static_cast<int>(ReadRegDword(key, name, static_cast<DWORD>(defaultValue)));
    if (stored == 0) {
        return defaultValue;
    }
    return std::clamp(stored, 1, maximum);
}

// A stored divisor: 0 or below gives the default.
int PositiveValue(HKEY key, const char* name, int defaultValue) {
    const int stored = static_cast<int>(ReadRegDword(key, name, static_cast<DWORD>(defaultValue)));
    return stored > 0 ? stored : defaultValue;
}

} // namespace

HKEY OpenCameraKey(int rootIndex) {
    const HKEY root = PredefinedRoot(rootIndex);
    if (root == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HKEY created = nullptr;
    if (RegCreateKeyEx(root, kCameraPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &created, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    RegCloseKey(created);

    HKEY path = nullptr;
    const LONG opened = RegOpenKeyEx(root, kCameraPath, 0,
                                      KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS,
                                      &path);
    if (opened != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(opened));
        return nullptr;
    }
    HKEY camera = nullptr;
    const LONG made = RegCreateKeyEx(path, kSubkeyName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                      nullptr, &camera, nullptr);
    RegCloseKey(path);
    if (made != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(made));
        return nullptr;
    }
    return camera;
}

DWORD ReadRegDword(HKEY key, const char* name, DWORD defaultValue) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG result = RegQueryValueEx(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    if (result == ERROR_SUCCESS && size == sizeof(value)) {
        return value;
    }
    if (result == ERROR_FILE_NOT_FOUND) {
        WriteRegDword(key, name, defaultValue);
    }
    return defaultValue;
}

void ReadRegString(HKEY key, const char* name, char* dest, std::size_t destSize) {
    if (dest == nullptr || destSize == 0) {
        return;
    }
    char buffer[kStringQueryBytes + 1] = {};
    DWORD size = kStringQueryBytes;
    const LONG result = RegQueryValueEx(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    if (result == ERROR_FILE_NOT_FOUND) {
        WriteRegString(key, name, "");
    }
    if (result != ERROR_SUCCESS) {
        buffer[0] = '\0';
    }
    // A stored string need not carry its NUL; the extra byte of the buffer ends it in every case.
    buffer[std::min<DWORD>(size, kStringQueryBytes)] = '\0';
    const std::size_t length = std::min(std::strlen(buffer), destSize - 1);
    std::memcpy(dest, buffer, length);
    dest[length] = '\0';
}

LONG WriteRegDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG WriteRegString(HKEY key, const char* name, const char* text) {
    return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1));
}

std::array<RegisterWrite, 5> StoredSensorWrites(HKEY key) {
    const int red = CorrectedSensorValue(key, "RGain", 31, 63);
    const int green = CorrectedSensorValue(key, "GGain1", 21, 63);
    const int blue = CorrectedSensorValue(key, "BGain", 40, 63);
    const int exposure = CorrectedSensorValue(key, "Exposure", 660, 16383);
    return {{{KZ_REG_GAIN_RED, red},
             {KZ_REG_GAIN_GREEN1, green},
             {KZ_REG_GAIN_GREEN2, green},
             {KZ_REG_GAIN_BLUE, blue},
             {KZ_REG_EXPOSURE, exposure}}};
}

AutoParameters ReadAutoParameters(HKEY key) {
    AutoParameters params;
    params.awbDiff = PositiveValue(key, "AWBDiff", params.awbDiff);
    params.aeDiff = PositiveValue(key, "AEDiff", params.aeDiff);
    params.awbTarget = static_cast<int>(ReadRegDword(key, "AWBTarget", static_cast<DWORD>(params.awbTarget)));
    params.aeTarget = static_cast<int>(ReadRegDword(key, "AETarget", static_cast<DWORD>(params.aeTarget)));
    params.autoSplit = PositiveValue(key, "AutoSplit", params.autoSplit);
    return params;
}

} // namespace korvib
