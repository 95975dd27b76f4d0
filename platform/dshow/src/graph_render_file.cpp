// FilterGraph::RenderFile: a file source, and for its video a Video Mixing Renderer.
#include <dshow/errors.h>
#include <dshow/renderers.h>

#include "file_source.h"
#include "filter_graph.h"
#include "graph_walk.h"

namespace platform::dshow {

// The file's audio is played by the source itself; its video pin is connected to a new renderer.
// VFW_E_NOT_FOUND for a missing file, VFW_E_CANNOT_RENDER for one that cannot be played,
// VFW_E_NOT_STOPPED while the graph runs, E_POINTER, E_OUTOFMEMORY. A failure leaves the graph as it was.
HRESULT FilterGraph::RenderFile(LPCWSTR file, LPCWSTR) {
    if (!file)
        return E_POINTER;
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    ComPtr<IBaseFilter> source;
    HRESULT hr = openFileSource(file, source);
    if (FAILED(hr))
        return hr;
    hr = AddFilter(source.get(), file);
    if (FAILED(hr))
        return hr;
    auto video = freePin(source.get(), PINDIR_OUTPUT);
    if (!video)
        return S_OK;
    ComPtr<IBaseFilter> renderer;
    hr = CoCreateInstance(CLSID_VideoMixingRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                          renderer.putVoid());
    if (SUCCEEDED(hr))
        hr = AddFilter(renderer.get(), L"Video Renderer");
    if (SUCCEEDED(hr)) {
        auto input = freePin(renderer.get(), PINDIR_INPUT);
        hr = input ? Connect(video.get(), input.get()) : VFW_E_CANNOT_RENDER;
        if (FAILED(hr))
            RemoveFilter(renderer.get());
    }
    if (FAILED(hr)) {
        RemoveFilter(source.get());
        return hr == E_OUTOFMEMORY ? hr : VFW_E_CANNOT_RENDER;
    }
    return S_OK;
}

} // namespace platform::dshow
