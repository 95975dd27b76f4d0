// Output pins of the capture filter: the capture pin with stream configuration and compression
// settings, and the preview pin.
#pragma once

#include <dshow/capture.h>
#include <dshow/filter_base.h>

#include <devices/simulated_camera.h>

namespace platform::devices {

class CaptureFilter;

// An output pin that offers and accepts exactly the device's current format. Graph thread, except
// deliverFrame (streaming thread).
class FramePin : public dshow::OutputPin {
public:
    FramePin(CaptureFilter& filter, std::wstring name, const GUID& category);

    HRESULT getMediaType(int index, AM_MEDIA_TYPE* type) override;
    HRESULT checkMediaType(const AM_MEDIA_TYPE& type) override;
    // A sample of `size` bytes for the source to make the next frame in, when connected; its bytes, or
    // null. Streaming thread.
    BYTE* prepareSample(DWORD size);
    // Delivers `size` bytes of a frame in a sample stamped [start, end) when connected: the prepared
    // sample when the frame was made in it, else a copy. Streaming thread.
    void deliverFrame(const BYTE* data, DWORD size, REFERENCE_TIME start, REFERENCE_TIME end);

protected:
    CaptureFilter& owner_;

private:
    dshow::ComPtr<dshow::MediaSample> prepared_; // streaming thread only
};

// The capture pin. Its interfaces: graph thread.
class CapturePin : public dshow::WithInterfaces<FramePin, IAMStreamConfig, IAMVideoCompression> {
public:
    explicit CapturePin(CaptureFilter& filter);

    // The current format; SetFormat switches to an offered one (VFW_E_INVALIDMEDIATYPE for any other,
    // keeping the old), only while the filter is stopped and no pin is connected.
    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** type) override;
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int* count, int* size) override;
    // S_FALSE past the last capability.
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

    // Compression settings, shaped by the source's knobs when the pin is made: stored and read back;
    // quality 0 to 1, a negative value restores the default.
    HRESULT STDMETHODCALLTYPE put_KeyFrameRate(LONG rate) override;
    HRESULT STDMETHODCALLTYPE get_KeyFrameRate(LONG* rate) override;
    HRESULT STDMETHODCALLTYPE put_PFramesPerKeyFrame(LONG frames) override;
    HRESULT STDMETHODCALLTYPE get_PFramesPerKeyFrame(LONG* frames) override;
    HRESULT STDMETHODCALLTYPE put_Quality(double quality) override;
    HRESULT STDMETHODCALLTYPE get_Quality(double* quality) override;
    HRESULT STDMETHODCALLTYPE GetInfo(LPWSTR version, int* versionBytes, LPWSTR description, int* descriptionBytes,
                                      LONG* defaultKeyFrameRate, LONG* defaultPFramesPerKey, double* defaultQuality,
                                      LONG* capabilities) override;

protected:
    // IAMVideoCompression only where the knobs offer it.
    void* queryInterface(REFIID riid) override;

private:
    CompressionKnobs knobs_;
    LONG keyFrameRate_;
    LONG pFrames_;
    double quality_;
};

} // namespace platform::devices
