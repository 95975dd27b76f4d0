// Private-profile (INI) files: GetPrivateProfileString, GetPrivateProfileInt, WritePrivateProfileString.
#pragma once

#include <win32/kernel_base.h>

// File names are Windows paths (platform::toNativePath). Section and key names compare without regard
// to ASCII case and surrounding blanks; values are read trimmed, one pair of enclosing quotes removed;
// backslashes are plain characters. Lines starting with ';' are comments. Files above 16 MiB are not
// read. Any thread; calls on one file are not serialised against other processes.

// Copies the value (or `defaultValue` with its trailing blanks removed, "" for NULL) into `buffer` of
// `size` bytes, cut to size - 1 characters; returns the characters copied. A missing file or key gives
// the default (ERROR_FILE_NOT_FOUND for a missing file). Null section or key: 0, ERROR_INVALID_PARAMETER.
DWORD GetPrivateProfileString(LPCTSTR section, LPCTSTR key, LPCTSTR defaultValue, LPTSTR buffer, DWORD size,
                              LPCTSTR fileName);

// The value as an integer: an optional sign, then decimal digits or "0x" and hex digits, read up to the
// first other character (so "12abc" is 12 and "abc" is 0); a negative value comes back as its 32-bit
// two's complement. A missing key or file gives `defaultValue`.
UINT GetPrivateProfileInt(LPCTSTR section, LPCTSTR key, INT defaultValue, LPCTSTR fileName);

// Writes key=value into the section, creating the file, the section (at the end) or the key (after the
// section's last entry) as needed and keeping every other line; a NULL value removes the key, a NULL key
// the whole section. The file is replaced atomically. FALSE with the error (ERROR_PATH_NOT_FOUND for a
// missing folder, ERROR_INVALID_PARAMETER for a NULL section or a name or value with a line break).
BOOL WritePrivateProfileString(LPCTSTR section, LPCTSTR key, LPCTSTR value, LPCTSTR fileName);
