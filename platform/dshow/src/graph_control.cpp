// FilterGraph run control: filters change state downstream first, and stop upstream first.
//
//   Stopped --Run/Pause--> Running/Paused --Stop--> Stopped
//
// Stop stops the sources first: once a source has returned from Stop its streaming thread has left every
// filter and callback downstream, so the rest stop without samples in flight. No graph lock is held
// while a filter changes state, so a streaming thread may call GetState meanwhile.
#include <algorithm>
#include <new>

#include "filter_graph.h"
#include "graph_walk.h"

namespace platform::dshow {

// Repeatedly takes the filters whose downstream filters are all taken already; what remains (a loop)
// follows in graph order.
std::vector<ComPtr<IBaseFilter>> FilterGraph::downstreamFirst() const {
    std::vector<ComPtr<IBaseFilter>> pending;
    {
        std::lock_guard guard(membersLock_);
        for (const Member& m : members_)
            pending.push_back(m.filter);
    }
    std::vector<ComPtr<IBaseFilter>> ordered;
    auto taken = [&](const ComPtr<IBaseFilter>& f) { return std::find(ordered.begin(), ordered.end(), f) != ordered.end(); };
    auto inGraph = [&](const ComPtr<IBaseFilter>& f) {
        return std::find(pending.begin(), pending.end(), f) != pending.end() || taken(f);
    };
    while (!pending.empty()) {
        auto ready = std::find_if(pending.begin(), pending.end(), [&](const ComPtr<IBaseFilter>& f) {
            auto next = downstreamOf(f.get());
            return std::all_of(next.begin(), next.end(), [&](auto& n) { return taken(n) || !inGraph(n); });
        });
        if (ready == pending.end())
            ready = pending.begin();
        ordered.push_back(*ready);
        pending.erase(ready);
    }
    return ordered;
}

HRESULT FilterGraph::Run() {
    std::lock_guard guard(controlLock_);
    if (state_ == State_Running)
        return S_OK;
    try {
        for (auto& filter : downstreamFirst()) {
            HRESULT hr = filter->Run(0);
            if (FAILED(hr)) {
                auto all = downstreamFirst();
                for (auto it = all.rbegin(); it != all.rend(); ++it)
                    (*it)->Stop();
                state_ = State_Stopped;
                return hr;
            }
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    state_ = State_Running;
    return S_OK;
}

HRESULT FilterGraph::Pause() {
    std::lock_guard guard(controlLock_);
    try {
        auto filters = downstreamFirst();
        // From Running the sources pause first, so no sample reaches a paused filter downstream.
        if (state_ == State_Running)
            std::reverse(filters.begin(), filters.end());
        for (auto& filter : filters) {
            HRESULT hr = filter->Pause();
            if (FAILED(hr))
                return hr;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    state_ = State_Paused;
    return S_OK;
}

HRESULT FilterGraph::Stop() {
    std::lock_guard guard(controlLock_);
    try {
        auto filters = downstreamFirst();
        for (auto it = filters.rbegin(); it != filters.rend(); ++it)
            (*it)->Stop();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    state_ = State_Stopped;
    return S_OK;
}

HRESULT FilterGraph::GetState(LONG, OAFilterState* state) {
    if (!state)
        return E_POINTER;
    *state = state_;
    return S_OK;
}

// Capture and test sources queue nothing ahead, so the pause completes at once.
HRESULT FilterGraph::StopWhenReady() {
    HRESULT hr = Pause();
    if (FAILED(hr))
        return hr;
    return Stop();
}

} // namespace platform::dshow
