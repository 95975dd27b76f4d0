// Filters, pins, their enumerators and media samples.
#pragma once

#include <dshow/errors.h>
#include <dshow/media_type.h>

struct IFilterGraph;

extern const IID IID_IMediaFilter;
extern const IID IID_IBaseFilter;
extern const IID IID_IPin;
extern const IID IID_IEnumPins;
extern const IID IID_IEnumMediaTypes;
extern const IID IID_IEnumFilters;
extern const IID IID_IMediaSample;

#define MAX_FILTER_NAME 128
#define MAX_PIN_NAME 128

enum FILTER_STATE {
    State_Stopped = 0,
    State_Paused = 1,
    State_Running = 2,
};

enum PIN_DIRECTION {
    PINDIR_INPUT = 0,
    PINDIR_OUTPUT = 1,
};

struct IBaseFilter;

// pFilter carries a reference for the caller.
struct PIN_INFO {
    IBaseFilter* pFilter;
    PIN_DIRECTION dir;
    WCHAR achName[MAX_PIN_NAME];
};

// pGraph carries a reference for the caller (null outside a graph).
struct FILTER_INFO {
    WCHAR achName[MAX_FILTER_NAME];
    IFilterGraph* pGraph;
};

struct IEnumMediaTypes : IUnknown {
    // Each type is in task memory for DeleteMediaType; S_FALSE when fewer were left.
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
};

// Pins and filters: the thread that builds the graph, except where a method says otherwise.
struct IPin : IUnknown {
    // Output pin only: connects to `receiver`, with `type` when given (partial types match on their
    // non-null GUIDs), else on a type both pins accept.
    virtual HRESULT STDMETHODCALLTYPE Connect(IPin* receiver, const AM_MEDIA_TYPE* type) = 0;
    // Input pin only: accepts a connection from `connector` with exactly `type`.
    virtual HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) = 0;
    // Breaks this side of the connection; S_FALSE when not connected, VFW_E_NOT_STOPPED unless stopped.
    virtual HRESULT STDMETHODCALLTYPE Disconnect() = 0;
    virtual HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) = 0;
    virtual HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) = 0;
    // S_OK when the pin would accept the type, else S_FALSE.
    virtual HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) = 0;
};

struct IEnumPins : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** pins, ULONG* fetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
};

struct IMediaFilter : IPersist {
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
    virtual HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetState(DWORD timeoutMs, FILTER_STATE* state) = 0;
};

struct IBaseFilter : IMediaFilter {
    virtual HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) = 0;
    // Called by the graph on AddFilter (graph and name) and RemoveFilter (null, null). The filter keeps
    // no reference on the graph.
    virtual HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) = 0;
};

struct IEnumFilters : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, IBaseFilter** filters, ULONG* fetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
};

// Used by the streaming thread that delivers it.
struct IMediaSample : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetPointer(BYTE** buffer) = 0;
    virtual LONG STDMETHODCALLTYPE GetSize() = 0;
    // VFW_E_SAMPLE_TIME_NOT_SET when no time was set.
    virtual HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) = 0;
    // S_OK for a key frame, else S_FALSE.
    virtual HRESULT STDMETHODCALLTYPE IsSyncPoint() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSyncPoint(BOOL sync) = 0;
    virtual LONG STDMETHODCALLTYPE GetActualDataLength() = 0;
    // E_INVALIDARG beyond GetSize.
    virtual HRESULT STDMETHODCALLTYPE SetActualDataLength(LONG length) = 0;
};

ORV_INTERFACE(IEnumMediaTypes, IUnknown);
ORV_INTERFACE(IPin, IUnknown);
ORV_INTERFACE(IEnumPins, IUnknown);
ORV_INTERFACE(IMediaFilter, IPersist);
ORV_INTERFACE(IBaseFilter, IMediaFilter);
ORV_INTERFACE(IEnumFilters, IUnknown);
ORV_INTERFACE(IMediaSample, IUnknown);
