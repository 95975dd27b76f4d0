// GrabberCallback: the grabber, its renderer, and BufferCB into the device's frame pipeline.
#include "grabber_callback.h"

#include <dshow/renderers.h>

#include "camera_device.h"
#include "error_boxes.h"
#include "graph_helpers.h"

namespace korvib {

GrabberCallback::GrabberCallback(IGraphBuilder* graph, ICaptureGraphBuilder2* builder, IBaseFilter* source,
                                 CameraDevice* device, int renderMode)
    : device_(device) {
    HRESULT hr = CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_ISampleGrabber,
                                  reinterpret_cast<void**>(&grabber_));
    if (FAILED(hr)) {
        grabber_ = nullptr;
        ShowComError(hr);
        return;
    }
    IBaseFilter* grabberFilter = nullptr;
    hr = grabber_->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&grabberFilter));
    if (FAILED(hr)) {
        grabber_->Release();
        grabber_ = nullptr;
        ShowComError(hr);
        return;
    }
    hr = graph->AddFilter(grabberFilter, L"SampleGrabber");
    if (FAILED(hr)) {
        ShowComError(hr);
    }

    AM_MEDIA_TYPE type{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.formattype = GUID_NULL;
    hr = grabber_->SetMediaType(&type);
    if (FAILED(hr)) {
        ShowComError(hr);
    }

    const bool nullRenderer = renderMode == KZ_RENDER_GDI || renderMode == KZ_RENDER_NONE;
    IBaseFilter* renderer = nullptr;
    hr = AddFilterByClsid(graph, nullRenderer ? CLSID_NullRenderer : CLSID_VideoMixingRenderer,
                          nullRenderer ? L"NullRender" : L"VMR", &renderer);
    if (FAILED(hr)) {
        ShowComError(hr);
    } else {
        hr = builder->RenderStream(nullRenderer ? &PIN_CATEGORY_CAPTURE : &PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video,
                                   source, grabberFilter, renderer);
        if (FAILED(hr)) {
            ShowComError(hr);
        }
        renderer->Release();
    }

    hr = grabber_->SetCallback(this, 1);
    if (FAILED(hr)) {
        ShowComError(hr);
    }
    grabber_->SetBufferSamples(FALSE);
    grabber_->SetOneShot(FALSE);
    grabberFilter->Release();
}

GrabberCallback::~GrabberCallback() {
    if (grabber_ != nullptr) {
        grabber_->Release();
    }
}

void GrabberCallback::Unhook() {
    if (grabber_ != nullptr) {
        grabber_->SetCallback(nullptr, 1);
    }
}

HRESULT GrabberCallback::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_ISampleGrabberCB || riid == IID_IUnknown) {
        *object = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG GrabberCallback::AddRef() {
    return 2;
}

ULONG GrabberCallback::Release() {
    return 1;
}

HRESULT GrabberCallback::SampleCB(double, IMediaSample*) {
    return S_OK;
}

HRESULT GrabberCallback::BufferCB(double, BYTE* buffer, LONG length) {
    if (length > 0) {
        device_->OnFrame(buffer, static_cast<std::size_t>(length));
    }
    return S_OK;
}

} // namespace korvib
