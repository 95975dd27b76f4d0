// Automation strings and variants as property bags exchange them.
#pragma once

#include <dshow/com.h>

// A BSTR points at its characters; a 32-bit byte length sits just before them, a NUL just after.
typedef OLECHAR* BSTR;

// New BSTR holding `text` (null gives null); null when memory runs out. Any thread.
BSTR SysAllocString(const OLECHAR* text);
// New BSTR of `length` characters copied from `text`, or zeroed when `text` is null. Any thread.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// Frees a BSTR; null is ignored. Any thread.
void SysFreeString(BSTR text);
// Characters in a BSTR, 0 for null. Any thread.
UINT SysStringLen(BSTR text);

typedef unsigned short VARTYPE;
enum VARENUM {
    VT_EMPTY = 0,
    VT_I4 = 3,
    VT_BSTR = 8,
};

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        BSTR bstrVal;
        LONGLONG llVal;
    };
};
typedef VARIANT* LPVARIANT;

// Sets a variant to VT_EMPTY. Any thread.
void VariantInit(VARIANT* value);
// Frees what a variant owns (its BSTR) and sets it to VT_EMPTY. E_INVALIDARG for null or an unknown type.
HRESULT VariantClear(VARIANT* value);
