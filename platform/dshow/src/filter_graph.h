// FilterGraph: the filter graph manager (filters, connections, file rendering, run control, events,
// seeking and the video window).
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include <dshow/com_object.h>
#include <dshow/com_ptr.h>
#include <dshow/graph.h>

namespace platform::dshow {

// Building calls (IFilterGraph, IGraphBuilder, IMediaControl) come from the thread that owns the graph;
// GetState, the event calls, seeking, the video and audio properties and IVideoWindow from any thread.
class FilterGraph final : public ComObject<IGraphBuilder, IMediaControl, IMediaEventEx, IMediaEventSink,
                                           IVideoWindow, IMediaSeeking, IMediaPosition, IBasicVideo,
                                           IBasicAudio> {
public:
    FilterGraph() = default;
    ~FilterGraph() override;

    // IFilterGraph, IGraphBuilder
    HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter* filter) override;
    HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters** filters) override;
    HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR name, IBaseFilter** filter) override;
    HRESULT STDMETHODCALLTYPE ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE Disconnect(IPin* pin) override;
    HRESULT STDMETHODCALLTYPE Connect(IPin* output, IPin* input) override;
    HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR playList) override;

    // IMediaControl
    HRESULT STDMETHODCALLTYPE Run() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE GetState(LONG timeoutMs, OAFilterState* state) override;
    HRESULT STDMETHODCALLTYPE StopWhenReady() override;

    // IMediaEvent, IMediaEventEx
    HRESULT STDMETHODCALLTYPE GetEvent(LONG* code, LONG_PTR* param1, LONG_PTR* param2, LONG timeoutMs) override;
    HRESULT STDMETHODCALLTYPE FreeEventParams(LONG code, LONG_PTR param1, LONG_PTR param2) override;
    HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instance) override;

    // IMediaEventSink
    HRESULT STDMETHODCALLTYPE Notify(LONG code, LONG_PTR param1, LONG_PTR param2) override;

    // IMediaSeeking, IMediaPosition, IBasicVideo, IBasicAudio, passed to the first filter that has one
    HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override;
    HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override;
    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* position) override;
    HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                           DWORD stopFlags) override;
    HRESULT STDMETHODCALLTYPE get_Duration(REFTIME* length) override;
    HRESULT STDMETHODCALLTYPE get_CurrentPosition(REFTIME* time) override;
    HRESULT STDMETHODCALLTYPE put_CurrentPosition(REFTIME time) override;
    HRESULT STDMETHODCALLTYPE get_VideoWidth(LONG* width) override;
    HRESULT STDMETHODCALLTYPE get_VideoHeight(LONG* height) override;
    HRESULT STDMETHODCALLTYPE put_Volume(LONG volume) override;
    HRESULT STDMETHODCALLTYPE get_Volume(LONG* volume) override;

    // IVideoWindow, passed to the first filter that has one
    HRESULT STDMETHODCALLTYPE put_Caption(const OLECHAR* caption) override;
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR* caption) override;
    HRESULT STDMETHODCALLTYPE put_WindowStyle(LONG style) override;
    HRESULT STDMETHODCALLTYPE get_WindowStyle(LONG* style) override;
    HRESULT STDMETHODCALLTYPE put_Visible(LONG visible) override;
    HRESULT STDMETHODCALLTYPE get_Visible(LONG* visible) override;
    HRESULT STDMETHODCALLTYPE put_Owner(OAHWND owner) override;
    HRESULT STDMETHODCALLTYPE get_Owner(OAHWND* owner) override;
    HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND drain) override;
    HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND* drain) override;
    HRESULT STDMETHODCALLTYPE put_FullScreenMode(LONG fullScreen) override;
    HRESULT STDMETHODCALLTYPE get_FullScreenMode(LONG* fullScreen) override;
    HRESULT STDMETHODCALLTYPE SetWindowForeground(LONG focus) override;
    HRESULT STDMETHODCALLTYPE SetWindowPosition(LONG left, LONG top, LONG width, LONG height) override;
    HRESULT STDMETHODCALLTYPE GetWindowPosition(LONG* left, LONG* top, LONG* width, LONG* height) override;

private:
    struct Member {
        ComPtr<IBaseFilter> filter;
        std::wstring name;
    };
    struct Event {
        LONG code;
        LONG_PTR param1;
        LONG_PTR param2;
    };

    bool contains(IBaseFilter* filter) const;
    bool pinInGraph(IPin* pin) const;
    std::wstring uniqueName(LPCWSTR wanted) const;
    // The filters, those downstream before those upstream.
    std::vector<ComPtr<IBaseFilter>> downstreamFirst() const;
    // Tries output -> converter -> input through a converter in the graph or a new AVI Decompressor.
    HRESULT connectThroughConverter(IPin* output, IPin* input);
    HRESULT connectThrough(IBaseFilter* converter, IPin* output, IPin* input);
    // Runs `call` on the first filter that has `Interface`; E_NOINTERFACE when none has.
    template <class Interface, class Call>
    HRESULT withFilterInterface(Call call) {
        ComPtr<Interface> found;
        {
            std::lock_guard guard(membersLock_);
            for (const Member& m : members_)
                if (SUCCEEDED(m.filter.as(found)))
                    break;
        }
        if (!found)
            return E_NOINTERFACE;
        return call(found.get());
    }
    template <class Call>
    HRESULT withVideoWindow(Call call) {
        return withFilterInterface<IVideoWindow>(call);
    }

    mutable std::mutex membersLock_; // guards members_
    std::vector<Member> members_;

    std::mutex controlLock_; // serialises Run, Pause and Stop; never taken by a streaming thread
    std::atomic<FILTER_STATE> state_{State_Stopped};

    std::mutex eventLock_; // guards events_ and the notification target
    std::condition_variable eventArrived_;
    std::deque<Event> events_;
    OAHWND notifyWindow_ = 0;
    LONG notifyMessage_ = 0;
    LONG_PTR notifyInstance_ = 0;
};

} // namespace platform::dshow
