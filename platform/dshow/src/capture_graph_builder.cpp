// The Capture Graph Builder: rendering capture streams and finding interfaces along them.
#include <new>

#include <dshow/capture.h>
#include <dshow/com_object.h>
#include <dshow/com_ptr.h>
#include <dshow/renderers.h>

#include "avi_mux.h"
#include "builtin_classes.h"
#include "graph_walk.h"

namespace platform::dshow {
namespace {

// Graph building calls; the thread that builds the graph.
class CaptureGraphBuilder final : public ComObject<ICaptureGraphBuilder2> {
public:
    HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* graph) override {
        if (!graph)
            return E_POINTER;
        if (graph_)
            return E_UNEXPECTED;
        graph_ = graph;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetFiltergraph(IGraphBuilder** graph) override {
        if (!graph)
            return E_POINTER;
        *graph = nullptr;
        return graph_ ? graph_.copyTo(graph) : E_UNEXPECTED;
    }

    // Adds an AVI multiplexer, which writes the file itself (its IFileSinkFilter names it), as "Mux".
    // E_INVALIDARG for another type or an empty name.
    HRESULT STDMETHODCALLTYPE SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** mux,
                                                IFileSinkFilter** sink) override {
        if (mux)
            *mux = nullptr;
        if (sink)
            *sink = nullptr;
        if (!type || !file)
            return E_POINTER;
        if (*type != MEDIASUBTYPE_Avi)
            return E_INVALIDARG;
        if (!graph_)
            return E_UNEXPECTED;
        ComPtr<IBaseFilter> created;
        HRESULT hr = createAviMux(file, created);
        if (SUCCEEDED(hr))
            hr = graph_->AddFilter(created.get(), L"Mux");
        if (FAILED(hr))
            return hr;
        if (sink)
            created->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(sink));
        if (mux)
            *mux = created.detach();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter,
                                            REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!filter)
            return E_POINTER;
        try {
            if (!category) {
                if (SUCCEEDED(filter->QueryInterface(riid, object)))
                    return S_OK;
                for (auto& pin : pinsOf(filter))
                    if (pinCarries(pin.get(), type) && SUCCEEDED(pin->QueryInterface(riid, object)))
                        return S_OK;
                for (auto& next : downstreamOf(filter))
                    if (SUCCEEDED(searchDownstream(next.get(), riid, object)))
                        return S_OK;
                return E_NOINTERFACE;
            }
            for (auto& pin : categoryPins(filter, *category, type)) {
                if (SUCCEEDED(pin->QueryInterface(riid, object)))
                    return S_OK;
                if (auto peer = peerOf(pin.get()))
                    if (auto next = filterOf(peer.get()))
                        if (SUCCEEDED(searchDownstream(next.get(), riid, object)))
                            return S_OK;
            }
            return E_NOINTERFACE;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                           IBaseFilter* intermediate, IBaseFilter* sink) override {
        if (!source)
            return E_POINTER;
        if (!graph_)
            return E_UNEXPECTED;
        try {
            ComPtr<IPin> pin = sourcePin(category, type, source);
            if (!pin)
                return E_FAIL;
            if (intermediate) {
                auto input = freePin(intermediate, PINDIR_INPUT);
                if (!input)
                    return E_FAIL;
                HRESULT hr = graph_->Connect(pin.get(), input.get());
                if (FAILED(hr))
                    return hr;
                pin = freePin(intermediate, PINDIR_OUTPUT);
                if (!pin)
                    return E_FAIL;
            }
            ComPtr<IBaseFilter> target(sink);
            if (!target) {
                HRESULT hr = addDefaultRenderer(type, target);
                if (FAILED(hr))
                    return hr;
            }
            auto input = freePin(target.get(), PINDIR_INPUT);
            if (!input)
                return E_FAIL;
            return graph_->Connect(pin.get(), input.get());
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    // Stream start and stop times come with recording.
    HRESULT STDMETHODCALLTYPE ControlStream(const GUID*, const GUID*, IBaseFilter*, REFERENCE_TIME*,
                                            REFERENCE_TIME*, WORD, WORD) override {
        return E_NOTIMPL;
    }

private:
    // The output pins of `filter` in `category` that carry `type`.
    static std::vector<ComPtr<IPin>> categoryPins(IBaseFilter* filter, const GUID& category,
                                                  const GUID* type) {
        std::vector<ComPtr<IPin>> pins;
        for (auto& pin : pinsOf(filter))
            if (directionOf(pin.get()) == PINDIR_OUTPUT && pinCategory(pin.get()) == category &&
                pinCarries(pin.get(), type))
                pins.push_back(pin);
        return pins;
    }

    // `filter`, its pins, then the filters after it, depth first.
    static HRESULT searchDownstream(IBaseFilter* filter, REFIID riid, void** object) {
        if (SUCCEEDED(filter->QueryInterface(riid, object)))
            return S_OK;
        for (auto& pin : pinsOf(filter))
            if (SUCCEEDED(pin->QueryInterface(riid, object)))
                return S_OK;
        for (auto& next : downstreamOf(filter))
            if (SUCCEEDED(searchDownstream(next.get(), riid, object)))
                return S_OK;
        return E_NOINTERFACE;
    }

    // A source given as a pin is used as it is; a filter gives its first free output pin of the category
    // (any category when none is asked) and type.
    static ComPtr<IPin> sourcePin(const GUID* category, const GUID* type, IUnknown* source) {
        ComPtr<IPin> pin;
        if (SUCCEEDED(source->QueryInterface(IID_IPin, pin.putVoid())))
            return directionOf(pin.get()) == PINDIR_OUTPUT && !peerOf(pin.get()) ? pin : nullptr;
        ComPtr<IBaseFilter> filter;
        if (FAILED(source->QueryInterface(IID_IBaseFilter, filter.putVoid())))
            return nullptr;
        for (auto& candidate : pinsOf(filter.get()))
            if (directionOf(candidate.get()) == PINDIR_OUTPUT && !peerOf(candidate.get()) &&
                (!category || pinCategory(candidate.get()) == *category) && pinCarries(candidate.get(), type))
                return candidate;
        return nullptr;
    }

    // A Video Mixing Renderer added as "Video Renderer" for a video stream.
    HRESULT addDefaultRenderer(const GUID* type, ComPtr<IBaseFilter>& renderer) {
        if (type && *type != MEDIATYPE_Video)
            return VFW_E_CANNOT_RENDER;
        HRESULT hr = CoCreateInstance(CLSID_VideoMixingRenderer, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IBaseFilter, renderer.putVoid());
        if (FAILED(hr))
            return hr;
        return graph_->AddFilter(renderer.get(), L"Video Renderer");
    }

    ComPtr<IGraphBuilder> graph_;
};

} // namespace

HRESULT createCaptureGraphBuilder(REFIID riid, void** object) {
    return createObject<CaptureGraphBuilder>(riid, object);
}

} // namespace platform::dshow
