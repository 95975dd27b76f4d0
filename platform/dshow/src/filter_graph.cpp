// FilterGraph: membership of filters and connecting their pins.
#include <algorithm>
#include <new>

#include <dshow/renderers.h>

#include "builtin_classes.h"
#include "filter_graph.h"
#include "graph_walk.h"
#include "list_enumerator.h"

namespace platform::dshow {

// Filters and pins hold each other through their connections: break them all so every filter can go.
FilterGraph::~FilterGraph() {
    Stop();
    for (Member& member : members_) {
        for (auto& pin : pinsOf(member.filter.get()))
            pin->Disconnect();
        member.filter->JoinFilterGraph(nullptr, nullptr);
    }
}

bool FilterGraph::contains(IBaseFilter* filter) const {
    std::lock_guard guard(membersLock_);
    return std::any_of(members_.begin(), members_.end(), [&](const Member& m) { return m.filter.get() == filter; });
}

bool FilterGraph::pinInGraph(IPin* pin) const {
    auto filter = filterOf(pin);
    return filter && contains(filter.get());
}

// `wanted` when free, else `wanted` with " 0001", " 0002" ... appended. Caller holds membersLock_.
std::wstring FilterGraph::uniqueName(LPCWSTR wanted) const {
    std::wstring base = wanted && *wanted ? wanted : L"Filter";
    auto taken = [&](const std::wstring& name) {
        return std::any_of(members_.begin(), members_.end(), [&](const Member& m) { return m.name == name; });
    };
    if (!taken(base))
        return base;
    for (int n = 1; n < 10000; ++n) {
        wchar_t suffix[8];
        std::swprintf(suffix, 8, L" %04d", n);
        if (!taken(base + suffix))
            return base + suffix;
    }
    return {};
}

HRESULT FilterGraph::AddFilter(IBaseFilter* filter, LPCWSTR name) {
    if (!filter)
        return E_POINTER;
    try {
        std::wstring unique;
        {
            std::lock_guard guard(membersLock_);
            if (std::any_of(members_.begin(), members_.end(), [&](const Member& m) { return m.filter.get() == filter; }))
                return E_INVALIDARG;
            unique = uniqueName(name);
            if (unique.empty())
                return VFW_E_DUPLICATE_NAME;
            members_.push_back({ComPtr<IBaseFilter>(filter), unique});
        }
        HRESULT hr = filter->JoinFilterGraph(this, unique.c_str());
        if (FAILED(hr)) {
            std::lock_guard guard(membersLock_);
            std::erase_if(members_, [&](const Member& m) { return m.filter.get() == filter; });
            return hr;
        }
        return !name || !*name || unique == name ? S_OK : VFW_S_DUPLICATE_NAME;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// Both sides of every connection of the filter go; the filter leaves the graph.
HRESULT FilterGraph::RemoveFilter(IBaseFilter* filter) {
    if (!filter)
        return E_POINTER;
    if (!contains(filter))
        return VFW_E_NOT_FOUND;
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    ComPtr<IBaseFilter> keep(filter);
    try {
        for (auto& pin : pinsOf(filter)) {
            if (auto peer = peerOf(pin.get()))
                peer->Disconnect();
            pin->Disconnect();
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    filter->JoinFilterGraph(nullptr, nullptr);
    std::lock_guard guard(membersLock_);
    std::erase_if(members_, [&](const Member& m) { return m.filter.get() == filter; });
    return S_OK;
}

HRESULT FilterGraph::EnumFilters(IEnumFilters** filters) {
    if (!filters)
        return E_POINTER;
    *filters = nullptr;
    try {
        std::vector<ComPtr<IBaseFilter>> list;
        {
            std::lock_guard guard(membersLock_);
            for (const Member& m : members_)
                list.push_back(m.filter);
        }
        *filters = new ListEnumerator<IEnumFilters, IBaseFilter>(std::move(list));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT FilterGraph::FindFilterByName(LPCWSTR name, IBaseFilter** filter) {
    if (!name || !filter)
        return E_POINTER;
    *filter = nullptr;
    std::lock_guard guard(membersLock_);
    for (const Member& m : members_)
        if (m.name == name)
            return m.filter.copyTo(filter);
    return VFW_E_NOT_FOUND;
}

HRESULT FilterGraph::ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) {
    if (!output || !input)
        return E_POINTER;
    if (!pinInGraph(output) || !pinInGraph(input))
        return VFW_E_NOT_IN_GRAPH;
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    return output->Connect(input, type);
}

HRESULT FilterGraph::Disconnect(IPin* pin) {
    if (!pin)
        return E_POINTER;
    return pin->Disconnect();
}

// Connects output -> converter input and converter output -> input; undoes the first on failure.
HRESULT FilterGraph::connectThrough(IBaseFilter* converter, IPin* output, IPin* input) {
    auto converterIn = freePin(converter, PINDIR_INPUT);
    if (!converterIn || FAILED(output->Connect(converterIn.get(), nullptr)))
        return VFW_E_CANNOT_CONNECT;
    auto converterOut = freePin(converter, PINDIR_OUTPUT);
    if (converterOut && SUCCEEDED(converterOut->Connect(input, nullptr)))
        return S_OK;
    output->Disconnect();
    converterIn->Disconnect();
    return VFW_E_CANNOT_CONNECT;
}

// Converters already in the graph (free input and output pins) are tried first, then a new AVI
// Decompressor, which is added for the attempt and removed again when it fails.
HRESULT FilterGraph::connectThroughConverter(IPin* output, IPin* input) {
    auto from = filterOf(output);
    auto to = filterOf(input);
    std::vector<ComPtr<IBaseFilter>> candidates;
    {
        std::lock_guard guard(membersLock_);
        for (const Member& m : members_)
            if (m.filter != from && m.filter != to)
                candidates.push_back(m.filter);
    }
    for (auto& converter : candidates)
        if (freePin(converter.get(), PINDIR_INPUT) && freePin(converter.get(), PINDIR_OUTPUT) &&
            SUCCEEDED(connectThrough(converter.get(), output, input)))
            return S_OK;
    ComPtr<IBaseFilter> decoder;
    if (FAILED(CoCreateInstance(CLSID_AVIDec, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, decoder.putVoid())))
        return VFW_E_CANNOT_CONNECT;
    if (FAILED(AddFilter(decoder.get(), L"AVI Decompressor")))
        return VFW_E_CANNOT_CONNECT;
    if (SUCCEEDED(connectThrough(decoder.get(), output, input)))
        return S_OK;
    RemoveFilter(decoder.get());
    return VFW_E_CANNOT_CONNECT;
}

HRESULT FilterGraph::Connect(IPin* output, IPin* input) {
    HRESULT hr = ConnectDirect(output, input, nullptr);
    if (SUCCEEDED(hr) || hr == E_POINTER || hr == VFW_E_NOT_IN_GRAPH || hr == VFW_E_NOT_STOPPED ||
        hr == VFW_E_ALREADY_CONNECTED || hr == VFW_E_INVALID_DIRECTION)
        return hr;
    try {
        return connectThroughConverter(output, input);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace platform::dshow
