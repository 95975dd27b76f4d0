// Graph creation, device search by FriendlyName, filter creation and downstream removal.
#include "graph_helpers.h"

#include <strings.h>

#include <win32/local_memory.h>

#include "wide_to_ansi.h"

namespace korvib {

HRESULT CreateCaptureGraph(IGraphBuilder** graph, ICaptureGraphBuilder2** builder) {
    if (graph == nullptr || builder == nullptr) {
        return E_POINTER;
    }
    ICaptureGraphBuilder2* newBuilder = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                                  reinterpret_cast<void**>(&newBuilder));
    if (FAILED(hr)) {
        return hr;
    }
    IGraphBuilder* newGraph = nullptr;
    hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                          reinterpret_cast<void**>(&newGraph));
    if (FAILED(hr)) {
        newBuilder->Release();
        return hr;
    }
    newBuilder->SetFiltergraph(newGraph);
    *graph = newGraph;
    *builder = newBuilder;
    return hr;
}

HRESULT ReadFriendlyName(IMoniker* moniker, char** name) {
    IPropertyBag* bag = nullptr;
    HRESULT hr = moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag));
    if (FAILED(hr)) {
        return hr;
    }
    VARIANT value;
    VariantInit(&value);
    hr = bag->Read(L"FriendlyName", &value, nullptr);
    if (SUCCEEDED(hr)) {
        *name = value.vt == VT_BSTR ? WideToAnsi(value.bstrVal) : nullptr;
    }
    VariantClear(&value);
    bag->Release();
    return hr;
}

HRESULT FindFilterByName(REFCLSID category, const char* friendlyName, IBaseFilter** filter) {
    ICreateDevEnum* devices = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                  reinterpret_cast<void**>(&devices));
    if (FAILED(hr)) {
        return hr;
    }
    IEnumMoniker* monikers = nullptr;
    hr = devices->CreateClassEnumerator(category, &monikers, 0);
    devices->Release();
    if (FAILED(hr) || monikers == nullptr) {
        return hr;
    }
    hr = S_OK;
    IMoniker* moniker = nullptr;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        char* name = nullptr;
        hr = ReadFriendlyName(moniker, &name);
        if (FAILED(hr)) {
            moniker->Release();
            break;
        }
        const bool match = friendlyName == nullptr || (name != nullptr && strcasecmp(name, friendlyName) == 0);
        LocalFree(name);
        if (match) {
            hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter));
            moniker->Release();
            break;
        }
        moniker->Release();
    }
    monikers->Release();
    return hr;
}

HRESULT AddFilterByClsid(IGraphBuilder* graph, REFCLSID clsid, LPCWSTR name, IBaseFilter** filter) {
    if (graph == nullptr || filter == nullptr) {
        return E_POINTER;
    }
    *filter = nullptr;
    IBaseFilter* created = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(&created));
    if (FAILED(hr)) {
        return hr;
    }
    hr = graph->AddFilter(created, name);
    if (FAILED(hr)) {
        created->Release();
        return hr;
    }
    *filter = created;
    return hr;
}

void RemoveDownstream(IGraphBuilder* graph, IBaseFilter* filter) {
    if (graph == nullptr || filter == nullptr) {
        return;
    }
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)) || pins == nullptr) {
        return;
    }
    pins->Reset();
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        IPin* connected = nullptr;
        if (SUCCEEDED(pin->ConnectedTo(&connected)) && connected != nullptr) {
            PIN_INFO info{};
            if (SUCCEEDED(connected->QueryPinInfo(&info))) {
                if (info.dir == PINDIR_INPUT) {
                    RemoveDownstream(graph, info.pFilter);
                    graph->Disconnect(connected);
                    graph->Disconnect(pin);
                    graph->RemoveFilter(info.pFilter);
                }
                if (info.pFilter != nullptr) {
                    info.pFilter->Release();
                }
            }
            connected->Release();
        }
        pin->Release();
    }
    pins->Release();
}

} // namespace korvib
