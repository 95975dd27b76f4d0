// The capture filter of a camera ("USB 2820 Video" for the simulated one): capture and preview pins,
// the video processing amplifier, its property page and the chip's private property interface.
#pragma once

#include "capture_source.h"

#include <dshow/bridge_property.h>
#include <dshow/capture.h>
#include <dshow/filter_base.h>
#include <dshow/property_pages.h>

#include <memory>

namespace platform::devices {

class FramePin;

// One filter per binding of a device moniker; filters bound from the same moniker share the source. A stream
// that ends on its own queues EC_DEVICE_LOST (the camera went away) or EC_ERRORABORT in the filter's graph.
// IBaseFilter and IAMVideoProcAmp: graph thread. ISpecifyPropertyPages: GUI thread. IBridgeChipProperty: any
// thread.
class CaptureFilter : public dshow::WithInterfaces<dshow::FilterBase, IAMVideoProcAmp, IBridgeChipProperty,
                                                   ISpecifyPropertyPages> {
public:
    // `privateInterface` false hides IBridgeChipProperty (a device without the chip interface).
    CaptureFilter(std::shared_ptr<CaptureSource> source, bool privateInterface);
    ~CaptureFilter() override;

    CaptureSource& source() const { return *source_; }
    // True when any pin of the filter is connected.
    bool anyPinConnected() const;

    // Unsupported properties: E_PROP_ID_UNSUPPORTED; values outside the range: E_INVALIDARG.
    HRESULT STDMETHODCALLTYPE GetRange(LONG property, LONG* min, LONG* max, LONG* step, LONG* defaultValue,
                                       LONG* capsFlags) override;
    HRESULT STDMETHODCALLTYPE Set(LONG property, LONG value, LONG flags) override;
    HRESULT STDMETHODCALLTYPE Get(LONG property, LONG* value, LONG* flags) override;

    HRESULT STDMETHODCALLTYPE QuerySupported(DWORD id, DWORD* support) override;
    HRESULT STDMETHODCALLTYPE Set(DWORD id, void* data) override;
    HRESULT STDMETHODCALLTYPE Get(DWORD id, void* data) override;

    // The amplifier's page.
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

protected:
    void* queryInterface(REFIID riid) override;
    HRESULT onRun(REFERENCE_TIME start) override;
    void onPauseFromRun() override;

private:
    BYTE* frameTarget(DWORD size);
    void deliver(const FrameView& frame);
    void streamFailed(StreamFailure failure);

    std::shared_ptr<CaptureSource> source_;
    bool privateInterface_;
    FramePin* pins_[2];
    uint64_t runStartMs_ = 0; // written before streaming starts, read by the streaming thread
};

// A new filter on `source` queried for `riid` into *object (E_OUTOFMEMORY, E_NOINTERFACE). Any thread.
HRESULT bindCaptureFilter(std::shared_ptr<CaptureSource> source, bool privateInterface, REFIID riid, void** object);

} // namespace platform::devices
