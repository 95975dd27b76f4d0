// The Sample Grabber: a pass-through filter that hands each sample to a callback.
#pragma once

#include <dshow/filters.h>

extern const IID IID_ISampleGrabber;
extern const IID IID_ISampleGrabberCB;
extern const CLSID CLSID_SampleGrabber;

// Called on the graph's streaming thread for every sample, before it goes downstream; the buffer may be
// changed in place.
struct ISampleGrabberCB : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SampleCB(double sampleTime, IMediaSample* sample) = 0;
    virtual HRESULT STDMETHODCALLTYPE BufferCB(double sampleTime, BYTE* buffer, LONG length) = 0;
};

// The caller's thread (GetCurrentBuffer and SetCallback: any thread).
struct ISampleGrabber : IUnknown {
    // After one sample the graph stops delivering through the grabber.
    virtual HRESULT STDMETHODCALLTYPE SetOneShot(BOOL oneShot) = 0;
    // The type the input pin accepts (partial: null GUIDs match anything); set before connecting.
    virtual HRESULT STDMETHODCALLTYPE SetMediaType(const AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConnectedMediaType(AM_MEDIA_TYPE* type) = 0;
    // Keeps a copy of the last sample for GetCurrentBuffer.
    virtual HRESULT STDMETHODCALLTYPE SetBufferSamples(BOOL buffer) = 0;
    // With a null buffer *size gets the bytes needed; else copies up to *size bytes.
    virtual HRESULT STDMETHODCALLTYPE GetCurrentBuffer(LONG* size, LONG* buffer) = 0;
    // Installs `callback` (null removes it): which 0 calls SampleCB, 1 BufferCB. Returns once the
    // previous callback is not running any more (a call from inside the callback does not wait).
    virtual HRESULT STDMETHODCALLTYPE SetCallback(ISampleGrabberCB* callback, LONG which) = 0;
};

ORV_INTERFACE(ISampleGrabberCB, IUnknown);
ORV_INTERFACE(ISampleGrabber, IUnknown);
