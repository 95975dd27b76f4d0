// The registry: a typed, file-backed key/value store under the predefined root keys.
#pragma once

#include <win32/kernel_base.h>

typedef LONG LSTATUS;
typedef DWORD REGSAM;
typedef HKEY* PHKEY;

// Predefined roots, as the sign-extended 32-bit values of the system.
#define ORV_ROOT_KEY(v) (reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<LONG>(v))))
#define HKEY_CLASSES_ROOT ORV_ROOT_KEY(0x80000000u)
#define HKEY_CURRENT_USER ORV_ROOT_KEY(0x80000001u)
#define HKEY_LOCAL_MACHINE ORV_ROOT_KEY(0x80000002u)
#define HKEY_USERS ORV_ROOT_KEY(0x80000003u)
#define HKEY_CURRENT_CONFIG ORV_ROOT_KEY(0x80000005u)

#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_CREATE_SUB_KEY 0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_NOTIFY 0x0010u
#define KEY_CREATE_LINK 0x0020u
#define KEY_READ 0x20019u
#define KEY_WRITE 0x20006u
#define KEY_ALL_ACCESS 0xF003Fu

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u

#define REG_OPTION_NON_VOLATILE 0x0000u
#define REG_CREATED_NEW_KEY 1u
#define REG_OPENED_EXISTING_KEY 2u

// The store lives in one file: the test seam's, else $ORVANEL_REGISTRY, else
// ($XDG_CONFIG_HOME or ~/.config)/orvanel/registry.ini. It is read again at every open and written
// whole and atomically at every change. Key paths and value names compare without regard to ASCII case.
// Every function may be called from any thread and returns ERROR_SUCCESS or a system error code:
// ERROR_INVALID_HANDLE for a key that is not open, ERROR_ACCESS_DENIED for a right the handle lacks,
// ERROR_INVALID_PARAMETER for bad arguments, and the file's read or write error.

// Opens an existing key below `key` (an empty or null `subKey` opens `key` itself again);
// ERROR_FILE_NOT_FOUND when it does not exist.
LSTATUS RegOpenKeyEx(HKEY key, LPCTSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Opens the key below `key`, creating it and the keys on its way when missing (which needs
// KEY_CREATE_SUB_KEY on `key`); writes REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY where given. Only
// REG_OPTION_NON_VOLATILE keys exist; the class and security attributes are not kept.
LSTATUS RegCreateKeyEx(HKEY key, LPCTSTR subKey, DWORD reserved, LPTSTR keyClass, DWORD options,
                       REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
// Reads a value (a null or empty name is the key's default value). With `data` null only the size is
// written to *size; with a smaller *size than the value, ERROR_MORE_DATA and *size := the value's size.
// ERROR_FILE_NOT_FOUND for a missing value. Needs KEY_QUERY_VALUE.
LSTATUS RegQueryValueEx(HKEY key, LPCTSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
// Stores `size` bytes of `data` as a value of `type` (at most 1 MiB). Needs KEY_SET_VALUE.
LSTATUS RegSetValueEx(HKEY key, LPCTSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
// Closes an opened key; closing a predefined root succeeds and does nothing.
LSTATUS RegCloseKey(HKEY key);
