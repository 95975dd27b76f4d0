// COM base: GUIDs, IUnknown, apartment initialisation, object creation and task memory.
#pragma once

#include <win32/types.h>

#define STDMETHODCALLTYPE

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

bool operator==(const GUID& a, const GUID& b);
inline BOOL IsEqualGUID(REFGUID a, REFGUID b) { return a == b ? TRUE : FALSE; }
inline BOOL IsEqualIID(REFIID a, REFIID b) { return a == b ? TRUE : FALSE; }
inline BOOL IsEqualCLSID(REFCLSID a, REFCLSID b) { return a == b ? TRUE : FALSE; }

// Declares a GUID constant; the one translation unit that defines INITGUID before including this
// header gives it its value.
#ifdef INITGUID
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)                                       \
    extern const GUID name;                                                                                  \
    const GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#else
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) extern const GUID name
#endif

extern const GUID GUID_NULL;
extern const IID IID_IUnknown;
extern const IID IID_IPersist;

typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef DWORD LCID;

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
typedef IUnknown* LPUNKNOWN;

struct IPersist : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) = 0;
};

// Apartment initialisation.
enum COINIT {
    COINIT_MULTITHREADED = 0x0,
    COINIT_APARTMENTTHREADED = 0x2,
};

// Server contexts of CoCreateInstance; every class here is in-process.
enum CLSCTX {
    CLSCTX_INPROC_SERVER = 0x1,
    CLSCTX_INPROC_HANDLER = 0x2,
    CLSCTX_LOCAL_SERVER = 0x4,
};
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER)

// COM result codes.
#define CLASS_E_NOAGGREGATION ORV_HRESULT(0x80040110u)
#define CLASS_E_CLASSNOTAVAILABLE ORV_HRESULT(0x80040111u)
#define REGDB_E_CLASSNOTREG ORV_HRESULT(0x80040154u)
#define CO_E_NOTINITIALIZED ORV_HRESULT(0x800401F0u)
#define MK_E_UNAVAILABLE ORV_HRESULT(0x800401E3u)
#define MK_E_NOOBJECT ORV_HRESULT(0x800401E5u)
#define RPC_E_CHANGED_MODE ORV_HRESULT(0x80010106u)
#define DISP_E_TYPEMISMATCH ORV_HRESULT(0x80020005u)

// Initialises COM on the calling thread; each successful call (S_OK the first time, S_FALSE after that)
// needs one CoUninitialize. A call in the other apartment mode than the thread's first gives
// RPC_E_CHANGED_MODE and counts nothing. Calling thread.
HRESULT CoInitialize(LPVOID reserved);
HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
// Undoes one successful initialisation of the calling thread; nothing when none is left.
void CoUninitialize();

// Creates an object of a registered class. CO_E_NOTINITIALIZED when the calling thread has not initialised
// COM, CLASS_E_NOAGGREGATION for an outer object, REGDB_E_CLASSNOTREG for an unknown class or a context
// without CLSCTX_INPROC_SERVER, E_NOINTERFACE when the object lacks riid, E_POINTER for a null out pointer.
// Any initialised thread.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID riid, LPVOID* object);

// Task memory: the allocator of media-type format blocks, display names and page lists. Any thread.
LPVOID CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(LPVOID block);

// Interface identities for generic code: every interface names its id and the interface it extends.
namespace platform::dshow {
template <class Interface>
struct InterfaceTraits;
} // namespace platform::dshow

#define ORV_INTERFACE(Interface, Extends)                                                                    \
    template <>                                                                                              \
    struct platform::dshow::InterfaceTraits<Interface> {                                                     \
        using Base = Extends;                                                                                \
        static const IID& iid() { return IID_##Interface; }                                                  \
    }

template <>
struct platform::dshow::InterfaceTraits<IUnknown> {
    static const IID& iid() { return IID_IUnknown; }
};
ORV_INTERFACE(IPersist, IUnknown);
