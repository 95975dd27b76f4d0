// Test helpers for graphs: creation, device names, the camera library's way of removing everything
// downstream of a filter, and filter lookup.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <dshow/com_ptr.h>
#include <dshow/dshow.h>

#include "com_test_support.h"

namespace testing_dshow {

using platform::dshow::ComPtr;

template <class Interface>
ComPtr<Interface> create(const CLSID& clsid) {
    ComPtr<Interface> object;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, platform::dshow::InterfaceTraits<Interface>::iid(),
                               object.putVoid()),
              S_OK);
    return object;
}

// The moniker's FriendlyName; empty when it cannot be read.
inline std::wstring friendlyName(IMoniker* moniker) {
    ComPtr<IPropertyBag> bag;
    EXPECT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.putVoid()), S_OK);
    VARIANT name;
    VariantInit(&name);
    std::wstring text;
    if (bag && bag->Read(L"FriendlyName", &name, nullptr) == S_OK)
        text.assign(name.bstrVal, SysStringLen(name.bstrVal));
    VariantClear(&name);
    return text;
}

// Disconnects and removes every filter downstream of `filter`, depth first, as the camera library does.
inline void removeDownstream(IFilterGraph* graph, IBaseFilter* filter) {
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(filter->EnumPins(pins.put()), S_OK);
    pins->Reset();
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        IPin* peer = nullptr;
        if (pin->ConnectedTo(&peer) == S_OK) {
            PIN_INFO info{};
            peer->QueryPinInfo(&info);
            if (info.dir == PINDIR_INPUT) {
                removeDownstream(graph, info.pFilter);
                graph->Disconnect(peer);
                graph->Disconnect(pin);
                graph->RemoveFilter(info.pFilter);
            }
            info.pFilter->Release();
            peer->Release();
        }
        pin->Release();
    }
}

// Names of the filters in the graph, in graph order.
inline std::vector<std::wstring> filterNames(IFilterGraph* graph) {
    std::vector<std::wstring> names;
    ComPtr<IEnumFilters> filters;
    graph->EnumFilters(filters.put());
    IBaseFilter* filter = nullptr;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        FILTER_INFO info{};
        filter->QueryFilterInfo(&info);
        names.emplace_back(info.achName);
        if (info.pGraph)
            info.pGraph->Release();
        filter->Release();
    }
    return names;
}

} // namespace testing_dshow
