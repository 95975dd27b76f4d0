// The sample grabber branch of the preview graph and the callback object that feeds the frame pipeline.
#pragma once

#include <dshow/capture.h>
#include <dshow/sample_grabber.h>

namespace korvib {

class CameraDevice;

// Adds the Sample Grabber (RGB24) and a renderer behind the source and hands every buffer to the device's
// OnFrame. Owned by the device; its COM reference count is not kept (AddRef/Release are fixed).
class GrabberCallback : public ISampleGrabberCB {
public:
    // Builds the branch: renderMode 1 and 2 a Null Renderer on the capture pin, any other a Video Mixing
    // Renderer on the preview pin. Each failing call shows its error box; Created() tells whether the
    // grabber itself exists. Caller's thread.
    GrabberCallback(IGraphBuilder* graph, ICaptureGraphBuilder2* builder, IBaseFilter* source, CameraDevice* device,
                    int renderMode);
    virtual ~GrabberCallback();
    GrabberCallback(const GrabberCallback&) = delete;
    GrabberCallback& operator=(const GrabberCallback&) = delete;

    [[nodiscard]] bool Created() const { return grabber_ != nullptr; }
    // Unhooks the callback; returns once no frame is inside it. Caller's thread.
    void Unhook();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE SampleCB(double sampleTime, IMediaSample* sample) override;
    // Streaming thread: runs the device's frame pipeline on the buffer.
    HRESULT STDMETHODCALLTYPE BufferCB(double sampleTime, BYTE* buffer, LONG length) override;

    // Bit count of the grabbed frames.
    static constexpr WORD kBitCount = 24;

private:
    CameraDevice* device_;
    ISampleGrabber* grabber_ = nullptr;
};

} // namespace korvib
