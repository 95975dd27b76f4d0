// The Sample Grabber: passes samples through, showing each to a callback first.
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include <dshow/com_object.h>
#include <dshow/sample_grabber.h>

#include "builtin_classes.h"
#include "owned_media_type.h"
#include "transform_filter.h"

namespace platform::dshow {
namespace {

class SampleGrabber final : public WithInterfaces<TransformFilter, ISampleGrabber> {
public:
    SampleGrabber() : WithInterfaces(CLSID_SampleGrabber) {}

    HRESULT checkInputType(const AM_MEDIA_TYPE& type) override {
        std::lock_guard guard(settingsLock_);
        return matchesPartialType(type, accepted_.get()) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }

    // The output carries exactly the input's type.
    HRESULT getOutputType(int index, AM_MEDIA_TYPE* type) override {
        if (index > 0)
            return VFW_S_NO_MORE_ITEMS;
        return CopyMediaType(type, &input().connectionType());
    }

    // Runs the callback on the buffer in place, keeps a copy when asked, then passes the sample on.
    HRESULT transform(IMediaSample* sample) override {
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        LONG length = sample->GetActualDataLength();
        {
            std::lock_guard guard(settingsLock_);
            if (oneShot_ && shotTaken_)
                return S_OK;
            shotTaken_ = true;
            if (bufferSamples_) {
                try {
                    buffered_.assign(data, data + length);
                    haveBuffer_ = true;
                } catch (const std::bad_alloc&) {
                    haveBuffer_ = false;
                }
            }
        }
        {
            std::lock_guard guard(callbackLock_);
            if (callback_) {
                REFERENCE_TIME start = 0, end = 0;
                double seconds = SUCCEEDED(sample->GetTime(&start, &end)) ? start / 10000000.0 : 0.0;
                if (which_ == 0)
                    callback_->SampleCB(seconds, sample);
                else
                    callback_->BufferCB(seconds, data, length);
            }
        }
        HRESULT hr = output().deliver(sample);
        return hr == VFW_E_NOT_CONNECTED ? S_OK : hr;
    }

    HRESULT STDMETHODCALLTYPE SetOneShot(BOOL oneShot) override {
        std::lock_guard guard(settingsLock_);
        oneShot_ = oneShot != FALSE;
        shotTaken_ = false;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetMediaType(const AM_MEDIA_TYPE* type) override {
        if (!type)
            return E_POINTER;
        try {
            OwnedMediaType copy(*type);
            std::lock_guard guard(settingsLock_);
            accepted_ = copy;
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE GetConnectedMediaType(AM_MEDIA_TYPE* type) override {
        return input().ConnectionMediaType(type);
    }

    HRESULT STDMETHODCALLTYPE SetBufferSamples(BOOL buffer) override {
        std::lock_guard guard(settingsLock_);
        bufferSamples_ = buffer != FALSE;
        return S_OK;
    }

    // E_INVALIDARG without buffering, VFW_E_WRONG_STATE before the first sample, E_OUTOFMEMORY when
    // *size is too small.
    HRESULT STDMETHODCALLTYPE GetCurrentBuffer(LONG* size, LONG* buffer) override {
        if (!size)
            return E_POINTER;
        std::lock_guard guard(settingsLock_);
        if (!bufferSamples_)
            return E_INVALIDARG;
        if (!haveBuffer_)
            return VFW_E_WRONG_STATE;
        LONG needed = static_cast<LONG>(buffered_.size());
        if (!buffer) {
            *size = needed;
            return S_OK;
        }
        if (*size < needed)
            return E_OUTOFMEMORY;
        std::memcpy(buffer, buffered_.data(), buffered_.size());
        *size = needed;
        return S_OK;
    }

    // Taking callbackLock_ waits for a callback in progress; the lock is recursive, so a callback may
    // replace itself.
    HRESULT STDMETHODCALLTYPE SetCallback(ISampleGrabberCB* callback, LONG which) override {
        if (which != 0 && which != 1)
            return E_INVALIDARG;
        ComPtr<ISampleGrabberCB> previous;
        {
            std::lock_guard guard(callbackLock_);
            previous = std::move(callback_);
            callback_ = callback;
            which_ = which;
        }
        return S_OK;
    }

private:
    std::mutex settingsLock_; // guards accepted_, oneShot_, shotTaken_, bufferSamples_, buffered_, haveBuffer_
    OwnedMediaType accepted_;
    bool oneShot_ = false;
    bool shotTaken_ = false;
    bool bufferSamples_ = false;
    std::vector<BYTE> buffered_;
    bool haveBuffer_ = false;

    std::recursive_mutex callbackLock_; // guards callback_ and which_; held while the callback runs
    ComPtr<ISampleGrabberCB> callback_;
    LONG which_ = 0;
};

} // namespace

HRESULT createSampleGrabber(REFIID riid, void** object) { return createObject<SampleGrabber>(riid, object); }

} // namespace platform::dshow
