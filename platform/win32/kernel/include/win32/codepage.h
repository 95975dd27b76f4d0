// Code-page conversions: MultiByteToWideChar, WideCharToMultiByte, and GBK/UTF-8 helpers for the GUI layers.
#pragma once

#include <win32/kernel_base.h>

#include <string>
#include <string_view>

#define CP_ACP 0u
#define CP_UTF8 65001u
#define MB_ERR_INVALID_CHARS 0x00000008u

// CP_ACP is the system code page: 936 while the system language (GetSystemDefaultLangID) is Chinese,
// UTF-8 otherwise, so that texts of a Chinese system are GBK and everything else stays UTF-8 as on Linux.
// Supported pages: CP_ACP, CP_UTF8 and 936 (GBK, through iconv). WCHAR holds one UTF-32 code point.

// Converts `length` bytes (-1: up to and with the NUL) into at most `capacity` wide characters; with a
// capacity of 0 only the needed count is returned. Undecodable bytes become U+FFFD, or fail with
// ERROR_NO_UNICODE_TRANSLATION under MB_ERR_INVALID_CHARS. Returns the characters written (or needed),
// or 0 with ERROR_INSUFFICIENT_BUFFER or ERROR_INVALID_PARAMETER (unknown page, bad arguments). Any thread.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide, int capacity);

// Converts `length` wide characters (-1: up to and with the NUL) into at most `capacity` bytes (0: size
// query). Characters that 936 cannot encode become `defaultChar` (or "?") and set *usedDefaultChar; for
// CP_UTF8 those two must be NULL, and a value that is no code point becomes U+FFFD. Returns the bytes
// written (or needed), or 0 with ERROR_INSUFFICIENT_BUFFER or ERROR_INVALID_PARAMETER. Any thread.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int length, LPSTR text, int capacity,
                        LPCSTR defaultChar, LPBOOL usedDefaultChar);

namespace platform {

// GBK (code page 936) text to UTF-8 and back; what cannot be converted becomes U+FFFD or "?". Any thread.
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);

} // namespace platform
