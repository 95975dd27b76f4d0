// FilterBase: the filter state machine, pin lookup and graph membership.
//
//   Stopped --Pause--> Paused --Run--> Running
//      ^                 |  ^            |
//      +------Stop-------+  +---Pause----+      (Run from Stopped and Stop from Running pass Paused)
#include <new>

#include <dshow/filter_base.h>

#include "list_enumerator.h"
#include "name_field.h"

namespace platform::dshow {

FilterBase::FilterBase(const CLSID& clsid) : clsid_(clsid) {}

FilterBase::~FilterBase() = default;

HRESULT FilterBase::GetClassID(CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    *clsid = clsid_;
    return S_OK;
}

HRESULT FilterBase::Stop() {
    std::lock_guard guard(stateLock_);
    if (state_ == State_Running) {
        onPauseFromRun();
        state_ = State_Paused;
    }
    if (state_ == State_Paused) {
        onStop();
        state_ = State_Stopped;
    }
    return S_OK;
}

HRESULT FilterBase::Pause() {
    std::lock_guard guard(stateLock_);
    if (state_ == State_Stopped) {
        HRESULT hr = onPause();
        if (FAILED(hr))
            return hr;
    } else if (state_ == State_Running) {
        onPauseFromRun();
    }
    state_ = State_Paused;
    return S_OK;
}

HRESULT FilterBase::Run(REFERENCE_TIME start) {
    std::lock_guard guard(stateLock_);
    if (state_ == State_Running)
        return S_OK;
    if (state_ == State_Stopped) {
        HRESULT hr = onPause();
        if (FAILED(hr))
            return hr;
        state_ = State_Paused;
    }
    HRESULT hr = onRun(start);
    if (FAILED(hr))
        return hr;
    state_ = State_Running;
    return S_OK;
}

HRESULT FilterBase::GetState(DWORD, FILTER_STATE* state) {
    if (!state)
        return E_POINTER;
    *state = state_;
    return S_OK;
}

HRESULT FilterBase::EnumPins(IEnumPins** pins) {
    if (!pins)
        return E_POINTER;
    *pins = nullptr;
    try {
        std::vector<ComPtr<IPin>> list;
        for (auto& pin : pins_)
            list.emplace_back(pin.get());
        *pins = new ListEnumerator<IEnumPins, IPin>(std::move(list));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT FilterBase::FindPin(LPCWSTR id, IPin** pin) {
    if (!id || !pin)
        return E_POINTER;
    *pin = nullptr;
    for (auto& candidate : pins_)
        if (candidate->name() == id) {
            *pin = candidate.get();
            candidate->AddRef();
            return S_OK;
        }
    return VFW_E_NOT_FOUND;
}

HRESULT FilterBase::QueryFilterInfo(FILTER_INFO* info) {
    if (!info)
        return E_POINTER;
    copyName(info->achName, name_);
    info->pGraph = graph_;
    if (graph_)
        graph_->AddRef();
    return S_OK;
}

HRESULT FilterBase::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    try {
        name_ = name ? name : L"";
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    graph_ = graph;
    ComPtr<IMediaEventSink> sink;
    if (graph)
        graph->QueryInterface(IID_IMediaEventSink, sink.putVoid());
    std::lock_guard guard(eventSinkLock_);
    eventSink_ = sink.get();
    return S_OK;
}

void FilterBase::notifyGraph(LONG code, LONG_PTR param1, LONG_PTR param2) {
    std::lock_guard guard(eventSinkLock_);
    if (eventSink_)
        eventSink_->Notify(code, param1, param2);
}

} // namespace platform::dshow
