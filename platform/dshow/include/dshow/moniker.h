// Monikers, their enumeration, property bags and the running object table.
#pragma once

#include <dshow/oleauto.h>

struct IBindCtx;  // binding contexts are never needed; callers pass null
struct IErrorLog; // error logs are never written; callers pass null

extern const IID IID_IPropertyBag;
extern const IID IID_IMoniker;
extern const IID IID_IEnumMoniker;
extern const IID IID_IRunningObjectTable;

// Property bags, monikers, their enumerators and the running object table: any thread.
struct IPropertyBag : IUnknown {
    // Reads a named property. With value->vt VT_EMPTY the stored type is given, else the stored value
    // must have that type (DISP_E_TYPEMISMATCH). E_INVALIDARG for an unknown name. The caller frees the
    // value with VariantClear.
    virtual HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) = 0;
};

struct IMoniker : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* context, IMoniker* left, REFIID riid,
                                                   void** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* context, IMoniker* left, REFIID riid,
                                                    void** object) = 0;
    // The moniker's name in task memory (CoTaskMemFree).
    virtual HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx* context, IMoniker* left, LPOLESTR* name) = 0;
};

struct IEnumMoniker : IUnknown {
    // Up to `count` monikers, each with a reference for the caller; S_FALSE when fewer were left.
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, IMoniker** monikers, ULONG* fetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
};

#define ROTFLAGS_REGISTRATIONKEEPSALIVE 0x1

struct IRunningObjectTable : IUnknown {
    // Enters an object under a moniker's display name. Flags 0 hold no reference on the object (the
    // registrant revokes before it goes); ROTFLAGS_REGISTRATIONKEEPSALIVE holds one. *cookie is nonzero.
    virtual HRESULT STDMETHODCALLTYPE Register(DWORD flags, IUnknown* object, IMoniker* name,
                                               DWORD* cookie) = 0;
    // Removes an entry; E_INVALIDARG for an unknown cookie.
    virtual HRESULT STDMETHODCALLTYPE Revoke(DWORD cookie) = 0;
    // S_OK when an entry carries the moniker's display name, else S_FALSE.
    virtual HRESULT STDMETHODCALLTYPE IsRunning(IMoniker* name) = 0;
    // The object entered under the moniker's display name, with a reference; MK_E_UNAVAILABLE when none.
    virtual HRESULT STDMETHODCALLTYPE GetObject(IMoniker* name, IUnknown** object) = 0;
    // An enumerator over monikers naming the entries of this moment, in the order they were made.
    virtual HRESULT STDMETHODCALLTYPE EnumRunning(IEnumMoniker** monikers) = 0;
};

// The process's running object table; `reserved` must be 0. Any thread.
HRESULT GetRunningObjectTable(DWORD reserved, IRunningObjectTable** table);
// An item moniker whose display name is delimiter followed by item. Any thread.
HRESULT CreateItemMoniker(LPCOLESTR delimiter, LPCOLESTR item, IMoniker** moniker);

ORV_INTERFACE(IPropertyBag, IUnknown);
ORV_INTERFACE(IMoniker, IUnknown);
ORV_INTERFACE(IEnumMoniker, IUnknown);
ORV_INTERFACE(IRunningObjectTable, IUnknown);
