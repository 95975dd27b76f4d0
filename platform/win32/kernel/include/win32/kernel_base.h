// Small kernel-side types shared by the kernel headers: sizes, language ids, security attributes.
#pragma once

#include <win32/types.h>

typedef size_t SIZE_T;
typedef WORD LANGID;
typedef void* HLOCAL;

// Accepted where the caller passes it; security descriptors have no meaning here.
struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

#define MAKELANGID(primary, sub)                                                                             \
    (static_cast<WORD>((static_cast<WORD>(sub) << 10) | static_cast<WORD>(primary)))
#define PRIMARYLANGID(lang) (static_cast<WORD>(lang) & 0x3ff)
#define LANG_NEUTRAL 0x00
#define LANG_CHINESE 0x04
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_ENGLISH_US 0x01
#define SUBLANG_CHINESE_SIMPLIFIED 0x02

// System error codes of the kernel services beyond those of types.h.
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
