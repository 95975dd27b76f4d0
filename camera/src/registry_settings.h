// The camera library's settings key and its values: open, read with defaults, write, corrected readers.
#pragma once

#include <array>
#include <cstddef>

#include <win32/types.h>

namespace korvib {

// Opens (creating it when missing) SOFTWARE\Veltrane\Camera\Korvi under the predefined root of the given
// index (0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_CONFIG, 2 HKEY_CURRENT_USER, 3 HKEY_LOCAL_MACHINE, 4 HKEY_USERS).
// Returns the key or null (last error set by the failing call). Caller's thread.
HKEY OpenCameraKey(int rootIndex);

// The stored 32-bit value of `name`; a missing value is stored as `defaultValue` and returned. Any other
// failure (null key, wrong size) yields the default without storing it. Any thread.
DWORD ReadRegDword(HKEY key, const char* name, DWORD defaultValue);

// Copies the stored string of `name` into dest (at most destSize - 1 characters and a NUL); a missing value
// is stored as "" and an unreadable one yields "". Any thread.
void ReadRegString(HKEY key, const char* name, char* dest, std::size_t destSize);

// Store a REG_DWORD / a REG_SZ with its NUL; return the RegSetValueEx result. Any thread.
LONG WriteRegDword(HKEY key, const char* name, DWORD value);
LONG WriteRegString(HKEY key, const char* name, const char* text);

// One sensor register write: KZ_REG_* index and value.
struct RegisterWrite {
    int index;
    int value;
};

// The gains and exposure the settings hold, in the order they are sent to the sensor: red, green1, green2
// (the green value again), blue, exposure. A stored 0 gives the default, anything else is clamped to the
// register's range (gains 1..63, exposure 1..16383).
std::array<RegisterWrite, 5> StoredSensorWrites(HKEY key);

// Parameters of auto white balance and auto exposure; the divisors are never 0 or negative.
struct AutoParameters {
    int awbDiff = 10;
    int aeDiff = 10;
    int awbTarget = 180;
    int aeTarget = 180;
    int autoSplit = 4;
};

// Reads the five parameters; a stored divisor (AWBDiff, AEDiff, AutoSplit) of 0 or below gives its default.
AutoParameters ReadAutoParameters(HKEY key);

} // namespace korvib
