// Fixed-size Win32 base types, handles, result codes and helper macros used throughout the system.
#pragma once

#include <cstddef>
#include <cstdint>

// Calling-convention keywords have no meaning on this target.
#define __stdcall
#define __cdecl
#define WINAPI
#define CALLBACK
#define APIENTRY

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int32_t BOOL;
typedef int32_t INT;
typedef uint32_t UINT;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef int32_t HRESULT;
typedef DWORD COLORREF;
typedef char CHAR;
typedef char TCHAR;
typedef unsigned char UCHAR;
typedef wchar_t WCHAR; // 32-bit here; only in memory, never in files
typedef float FLOAT;
typedef void VOID;

typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef uintptr_t DWORD_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;

typedef BYTE* LPBYTE;
typedef BYTE* PBYTE;
typedef WORD* LPWORD;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef BOOL* LPBOOL;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef char* LPTSTR;
typedef const char* LPCTSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;

// Handles are distinct opaque pointer types, as with STRICT.
#define ORV_DECLARE_HANDLE(name)                                                                             \
    struct name##__ {                                                                                        \
        int unused;                                                                                          \
    };                                                                                                       \
    typedef struct name##__* name
typedef void* HANDLE;
ORV_DECLARE_HANDLE(HWND);
ORV_DECLARE_HANDLE(HDC);
ORV_DECLARE_HANDLE(HINSTANCE);
ORV_DECLARE_HANDLE(HKEY);
ORV_DECLARE_HANDLE(HMENU);
ORV_DECLARE_HANDLE(HICON);
ORV_DECLARE_HANDLE(HBITMAP);
ORV_DECLARE_HANDLE(HPEN);
ORV_DECLARE_HANDLE(HBRUSH);
ORV_DECLARE_HANDLE(HFONT);
ORV_DECLARE_HANDLE(HRGN);
ORV_DECLARE_HANDLE(HPALETTE);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void* HGDIOBJ;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#define NULL nullptr
#endif
#define MAX_PATH 260
#define INFINITE 0xFFFFFFFFu
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

struct POINT {
    LONG x;
    LONG y;
};
typedef POINT* LPPOINT;

struct SIZE {
    LONG cx;
    LONG cy;
};
typedef SIZE* LPSIZE;

// Word and byte packing.
#define LOBYTE(w) (static_cast<BYTE>(static_cast<DWORD_PTR>(w) & 0xff))
#define HIBYTE(w) (static_cast<BYTE>((static_cast<DWORD_PTR>(w) >> 8) & 0xff))
#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xffff))
#define MAKEWORD(a, b) (static_cast<WORD>((static_cast<BYTE>(a)) | (static_cast<WORD>(static_cast<BYTE>(b)) << 8)))
#define MAKELONG(a, b) (static_cast<LONG>((static_cast<WORD>(a)) | (static_cast<DWORD>(static_cast<WORD>(b)) << 16)))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<short>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<short>(HIWORD(lp))))

// Colours.
#define RGB(r, g, b)                                                                                         \
    (static_cast<COLORREF>((static_cast<BYTE>(r)) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) |         \
                           (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(static_cast<WORD>(rgb) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))

// HRESULT codes.
#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
#define ORV_HRESULT(v) (static_cast<HRESULT>(static_cast<uint32_t>(v)))
#define S_OK ORV_HRESULT(0x00000000u)
#define S_FALSE ORV_HRESULT(0x00000001u)
#define E_NOTIMPL ORV_HRESULT(0x80004001u)
#define E_NOINTERFACE ORV_HRESULT(0x80004002u)
#define E_POINTER ORV_HRESULT(0x80004003u)
#define E_ABORT ORV_HRESULT(0x80004004u)
#define E_FAIL ORV_HRESULT(0x80004005u)
#define E_UNEXPECTED ORV_HRESULT(0x8000FFFFu)
#define E_ACCESSDENIED ORV_HRESULT(0x80070005u)
#define E_HANDLE ORV_HRESULT(0x80070006u)
#define E_OUTOFMEMORY ORV_HRESULT(0x8007000Eu)
#define E_INVALIDARG ORV_HRESULT(0x80070057u)
#define HRESULT_FROM_WIN32(x)                                                                                \
    (static_cast<HRESULT>(x) <= 0 ? static_cast<HRESULT>(x)                                                  \
                                  : ORV_HRESULT((static_cast<uint32_t>(x) & 0x0000FFFFu) | 0x80070000u))

// System error codes (GetLastError).
#define ERROR_SUCCESS 0L
#define ERROR_INVALID_FUNCTION 1L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_DATA 13L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_NOT_READY 21L
#define ERROR_WRITE_FAULT 29L
#define ERROR_READ_FAULT 30L
#define ERROR_GEN_FAILURE 31L
#define ERROR_HANDLE_EOF 38L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_TIMEOUT 1460L

// Last-error value of the calling thread. Any thread.
DWORD GetLastError();
void SetLastError(DWORD error);
