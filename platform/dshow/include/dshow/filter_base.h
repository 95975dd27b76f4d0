// Base classes for filters and pins: filter state, pin connection, media-type enumeration and
// delivering samples downstream.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <dshow/com_object.h>
#include <dshow/com_ptr.h>
#include <dshow/filters.h>
#include <dshow/graph.h>

namespace platform::dshow {

class FilterBase;
class InputPin;

// A sample buffer that an output pin hands downstream.
class MediaSample final : public ComObject<IMediaSample> {
public:
    // Throws std::bad_alloc.
    explicit MediaSample(std::size_t capacity);

    BYTE* data() { return buffer_.data(); }
    std::size_t capacity() const { return buffer_.size(); }

    HRESULT STDMETHODCALLTYPE GetPointer(BYTE** buffer) override;
    LONG STDMETHODCALLTYPE GetSize() override;
    HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
    HRESULT STDMETHODCALLTYPE SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
    HRESULT STDMETHODCALLTYPE IsSyncPoint() override;
    HRESULT STDMETHODCALLTYPE SetSyncPoint(BOOL sync) override;
    LONG STDMETHODCALLTYPE GetActualDataLength() override;
    HRESULT STDMETHODCALLTYPE SetActualDataLength(LONG length) override;

private:
    std::vector<BYTE> buffer_;
    LONG length_ = 0;
    REFERENCE_TIME start_ = 0;
    REFERENCE_TIME end_ = 0;
    bool timeSet_ = false;
    bool sync_ = true;
};

// A pin: shares the reference count of its filter, which owns it. Connections change only while the
// filter is stopped, on the thread that builds the graph.
class PinBase : public ComInterfaces<IPin> {
public:
    // `category` is the pin category (PIN_CATEGORY_CAPTURE ...) or GUID_NULL.
    PinBase(FilterBase& filter, PIN_DIRECTION direction, std::wstring name, const GUID& category);
    ~PinBase() override;

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Disconnect() override;
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override;
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override;
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override;

    FilterBase& filter() const { return filter_; }
    PIN_DIRECTION direction() const { return direction_; }
    const std::wstring& name() const { return name_; }
    const GUID& category() const { return category_; }
    bool isConnected() const { return static_cast<bool>(connected_); }
    // The peer pin, or null.
    IPin* connectedPin() const { return connected_.get(); }
    // The type of the connection; valid while connected.
    const AM_MEDIA_TYPE& connectionType() const { return type_; }

    // The pin's preferred types, in order: S_OK with *type filled (the caller frees it) for index 0, 1, ...
    // and VFW_S_NO_MORE_ITEMS past the last. The default has none.
    virtual HRESULT getMediaType(int index, AM_MEDIA_TYPE* type);
    // S_OK when the pin accepts a connection of `type`; any other result refuses it.
    virtual HRESULT checkMediaType(const AM_MEDIA_TYPE& type) = 0;

protected:
    // A connection was made with connectionType(); a failure undoes it.
    virtual HRESULT onConnected() { return S_OK; }
    // The connection is going; connectionType() is still valid.
    virtual void onDisconnected() {}

    // Accepts `peer` with `type` on this side; for the pin classes below.
    HRESULT attach(IPin* peer, const AM_MEDIA_TYPE& type);
    void detach();

private:
    FilterBase& filter_;
    PIN_DIRECTION direction_;
    std::wstring name_;
    GUID category_;
    ComPtr<IPin> connected_;
    AM_MEDIA_TYPE type_{};
};

// An input pin; samples arrive through receive() on the upstream streaming thread.
class InputPin : public PinBase {
public:
    InputPin(FilterBase& filter, std::wstring name);

    // Input pins do not start connections: E_UNEXPECTED.
    HRESULT STDMETHODCALLTYPE Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;

    // One sample from upstream while the filter is paused or running (else VFW_E_WRONG_STATE, checked
    // by the caller of this hook). A failure stops the upstream stream. Streaming thread.
    virtual HRESULT receive(IMediaSample* sample) = 0;
};

// An output pin; delivers samples to the connected InputPin.
class OutputPin : public PinBase {
public:
    OutputPin(FilterBase& filter, std::wstring name, const GUID& category = GUID_NULL);

    // Connects to an InputPin of this layer (else VFW_E_NO_TRANSPORT): with a full `type` that type; with
    // a partial or null one the first of the receiver's and then this pin's preferred types that matches
    // and that both accept. VFW_E_ALREADY_CONNECTED, VFW_E_NOT_STOPPED, VFW_E_INVALID_DIRECTION,
    // VFW_E_NO_ACCEPTABLE_TYPES (VFW_E_TYPE_NOT_ACCEPTED for a full type).
    HRESULT STDMETHODCALLTYPE Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    // Output pins do not accept connections: E_UNEXPECTED.
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;

    // A sample of at least `size` bytes to fill and deliver; one of the pin's last two samples is reused
    // when nobody else holds it, so a receiver keeping the last frame (a renderer, for repaints) costs no
    // allocation. E_OUTOFMEMORY. Streaming thread.
    HRESULT getSample(std::size_t size, ComPtr<MediaSample>& sample);
    // Hands `sample` to the connected pin: VFW_E_NOT_CONNECTED, VFW_E_WRONG_STATE when the receiving
    // filter is stopped, else the receiver's result. Streaming thread.
    HRESULT deliver(IMediaSample* sample);

protected:
    // Overriders call these first.
    HRESULT onConnected() override;
    void onDisconnected() override;

private:
    HRESULT tryConnect(IPin* receiver, const AM_MEDIA_TYPE& type);

    InputPin* receiver_ = nullptr; // the connected pin as this layer's class
    ComPtr<MediaSample> spares_[2];
};

// A filter: the state machine Stopped <-> Paused <-> Running (Run from Stopped passes Paused), its pins,
// name and graph. Methods of IBaseFilter run on the graph's thread; state() on any thread.
class FilterBase : public ComObject<IBaseFilter> {
public:
    explicit FilterBase(const CLSID& clsid);
    ~FilterBase() override;

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
    HRESULT STDMETHODCALLTYPE GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;

    FILTER_STATE state() const { return state_.load(std::memory_order_acquire); }
    // The graph the filter is in (no reference), or null.
    IFilterGraph* graph() const { return graph_; }
    const std::wstring& name() const { return name_; }
    std::size_t pinCount() const { return pins_.size(); }
    PinBase* pin(std::size_t index) const { return pins_[index].get(); }

protected:
    // Adds a pin (in enumeration order); the filter owns it. Construction only.
    template <class Pin>
    Pin* addPin(std::unique_ptr<Pin> pin) {
        Pin* raw = pin.get();
        pins_.push_back(std::move(pin));
        return raw;
    }

    // State hooks, called before the new state shows in state(); a failure keeps the old state.
    // Stopped -> Paused: take resources.
    virtual HRESULT onPause() { return S_OK; }
    // Paused -> Running: sources start streaming.
    virtual HRESULT onRun(REFERENCE_TIME /*start*/) { return S_OK; }
    // Running -> Paused: sources stop streaming; when it returns no streaming thread of the filter is
    // inside a pin or callback.
    virtual void onPauseFromRun() {}
    // Paused -> Stopped: release resources.
    virtual void onStop() {}

    // Queues an event (EC_*) in the graph the filter is in; nothing outside a graph. Any thread, also a
    // streaming thread.
    void notifyGraph(LONG code, LONG_PTR param1, LONG_PTR param2);

private:
    CLSID clsid_;
    std::mutex stateLock_; // serialises state changes; never taken by a streaming thread
    std::atomic<FILTER_STATE> state_{State_Stopped};
    IFilterGraph* graph_ = nullptr;
    std::mutex eventSinkLock_; // guards eventSink_
    // The graph's event sink, without a reference: the graph holds the filter while it is a member.
    IMediaEventSink* eventSink_ = nullptr;
    std::wstring name_;
    std::vector<std::unique_ptr<PinBase>> pins_;
};

} // namespace platform::dshow
