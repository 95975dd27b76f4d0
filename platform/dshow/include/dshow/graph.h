// The filter graph manager and the control interfaces it offers.
#pragma once

#include <dshow/filters.h>
#include <dshow/oleauto.h>

extern const IID IID_IFilterGraph;
extern const IID IID_IGraphBuilder;
extern const IID IID_IMediaControl;
extern const IID IID_IMediaEvent;
extern const IID IID_IMediaEventEx;
extern const IID IID_IMediaEventSink;
extern const IID IID_IMediaSeeking;
extern const IID IID_IMediaPosition;
extern const IID IID_IVideoWindow;
extern const IID IID_IBasicVideo;
extern const IID IID_IBasicAudio;

extern const CLSID CLSID_FilterGraph;
extern const GUID TIME_FORMAT_MEDIA_TIME;

typedef LONG_PTR OAHWND;
typedef LONG OAFilterState;
typedef double REFTIME; // seconds
#define OATRUE (-1)
#define OAFALSE (0)

// Graph events.
#define EC_COMPLETE 0x01
#define EC_USERABORT 0x02
#define EC_ERRORABORT 0x03 // param1: the failure's HRESULT
#define EC_DEVICE_LOST 0x1F // a capture device went away while streaming; param1 and param2 0

// Seeking flags of SetPositions.
enum AM_SEEKING_SEEKING_FLAGS {
    AM_SEEKING_NoPositioning = 0x0,
    AM_SEEKING_AbsolutePositioning = 0x1,
    AM_SEEKING_RelativePositioning = 0x2,
    AM_SEEKING_SeekToKeyFrame = 0x4,
};

// Graph building: the thread that builds the graph, while it is stopped (pins connect only then).
struct IFilterGraph : IUnknown {
    // Adds a filter under `name` (null or a taken name: a unique one is made); VFW_E_DUPLICATE_NAME only
    // when no unique name can be made. E_POINTER for a null filter.
    virtual HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) = 0;
    // Removes a filter, disconnecting its pins; VFW_E_NOT_FOUND when it is not in this graph.
    virtual HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter* filter) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters** filters) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR name, IBaseFilter** filter) = 0;
    // Connects two pins of filters in this graph with no filter in between.
    virtual HRESULT STDMETHODCALLTYPE ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) = 0;
    // Breaks one side of a connection (callers disconnect both pins).
    virtual HRESULT STDMETHODCALLTYPE Disconnect(IPin* pin) = 0;
};

struct IGraphBuilder : IFilterGraph {
    // Connects two pins, putting converters (the AVI Decompressor) in between when they do not connect
    // directly.
    virtual HRESULT STDMETHODCALLTYPE Connect(IPin* output, IPin* input) = 0;
    // Builds a playback graph for a media file.
    virtual HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR playList) = 0;
};

// Run, Pause, Stop and StopWhenReady: the thread that builds the graph. GetState: any thread, also a
// streaming thread inside a callback.
struct IMediaControl : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Run() = 0;
    virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
    // Returns once no streaming thread of the graph is inside a filter or a callback.
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    // S_OK, or VFW_S_STATE_INTERMEDIATE while a change has not completed within timeoutMs.
    virtual HRESULT STDMETHODCALLTYPE GetState(LONG timeoutMs, OAFilterState* state) = 0;
    // Pauses until data is queued, then stops: the first frame shows while the graph stays stopped.
    virtual HRESULT STDMETHODCALLTYPE StopWhenReady() = 0;
};

// Any thread.
struct IMediaEvent : IUnknown {
    // Takes the next event; E_ABORT when none arrived within timeoutMs.
    virtual HRESULT STDMETHODCALLTYPE GetEvent(LONG* code, LONG_PTR* param1, LONG_PTR* param2, LONG timeoutMs) = 0;
    virtual HRESULT STDMETHODCALLTYPE FreeEventParams(LONG code, LONG_PTR param1, LONG_PTR param2) = 0;
};

struct IMediaEventEx : IMediaEvent {
    // Posts `message` (wParam 0, lParam `instance`) to `window` whenever an event is queued; 0 stops it.
    virtual HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instance) = 0;
};

// How filters report events (EC_*) to the graph they are in. Any thread, also a streaming thread.
struct IMediaEventSink : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Notify(LONG code, LONG_PTR param1, LONG_PTR param2) = 0;
};

// Seeking, position and the video and audio properties: on the graph they reach the first filter that
// has the interface (E_NOINTERFACE without one). Any thread; SetPositions and put_CurrentPosition wait
// for the new position, so not a streaming thread.
struct IMediaSeeking : IUnknown {
    // TIME_FORMAT_MEDIA_TIME (100-nanosecond units) is the one format.
    virtual HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                                   DWORD stopFlags) = 0;
};

struct IMediaPosition : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Duration(REFTIME* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentPosition(REFTIME* time) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CurrentPosition(REFTIME time) = 0;
};

struct IBasicVideo : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_VideoWidth(LONG* width) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_VideoHeight(LONG* height) = 0;
};

struct IBasicAudio : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE put_Volume(LONG volume) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Volume(LONG* volume) = 0;
};

// The video renderer's window. On the graph it reaches the renderer; E_NOINTERFACE without one. GUI thread.
struct IVideoWindow : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE put_Caption(const OLECHAR* caption) = 0;
    // Caption in a BSTR for SysFreeString.
    virtual HRESULT STDMETHODCALLTYPE get_Caption(BSTR* caption) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_WindowStyle(LONG style) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WindowStyle(LONG* style) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Visible(LONG visible) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Visible(LONG* visible) = 0;
    // Makes the window a child of `owner` (0: a window of its own again).
    virtual HRESULT STDMETHODCALLTYPE put_Owner(OAHWND owner) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Owner(OAHWND* owner) = 0;
    // Key and mouse messages reaching the window go to `drain` instead.
    virtual HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND drain) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND* drain) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_FullScreenMode(LONG fullScreen) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FullScreenMode(LONG* fullScreen) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetWindowForeground(LONG focus) = 0;
    // Position in the owner's client coordinates.
    virtual HRESULT STDMETHODCALLTYPE SetWindowPosition(LONG left, LONG top, LONG width, LONG height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWindowPosition(LONG* left, LONG* top, LONG* width, LONG* height) = 0;
};

ORV_INTERFACE(IFilterGraph, IUnknown);
ORV_INTERFACE(IGraphBuilder, IFilterGraph);
ORV_INTERFACE(IMediaControl, IUnknown);
ORV_INTERFACE(IMediaEvent, IUnknown);
ORV_INTERFACE(IMediaEventEx, IMediaEvent);
ORV_INTERFACE(IMediaEventSink, IUnknown);
ORV_INTERFACE(IMediaSeeking, IUnknown);
ORV_INTERFACE(IMediaPosition, IUnknown);
ORV_INTERFACE(IBasicVideo, IUnknown);
ORV_INTERFACE(IBasicAudio, IUnknown);
ORV_INTERFACE(IVideoWindow, IUnknown);
