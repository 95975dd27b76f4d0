// MediaSample: a sample buffer with its length, times and key-frame flag.
#include <dshow/filter_base.h>

namespace platform::dshow {

MediaSample::MediaSample(std::size_t capacity) : buffer_(capacity) {}

HRESULT MediaSample::GetPointer(BYTE** buffer) {
    if (!buffer)
        return E_POINTER;
    *buffer = buffer_.data();
    return S_OK;
}

LONG MediaSample::GetSize() { return static_cast<LONG>(buffer_.size()); }

HRESULT MediaSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
    if (!start || !end)
        return E_POINTER;
    if (!timeSet_)
        return VFW_E_SAMPLE_TIME_NOT_SET;
    *start = start_;
    *end = end_;
    return S_OK;
}

// Null for both clears the times.
HRESULT MediaSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
    if (!start && !end) {
        timeSet_ = false;
        return S_OK;
    }
    if (!start || !end)
        return E_POINTER;
    start_ = *start;
    end_ = *end;
    timeSet_ = true;
    return S_OK;
}

HRESULT MediaSample::IsSyncPoint() { return sync_ ? S_OK : S_FALSE; }

HRESULT MediaSample::SetSyncPoint(BOOL sync) {
    sync_ = sync != FALSE;
    return S_OK;
}

LONG MediaSample::GetActualDataLength() { return length_; }

HRESULT MediaSample::SetActualDataLength(LONG length) {
    if (length < 0 || static_cast<std::size_t>(length) > buffer_.size())
        return E_INVALIDARG;
    length_ = length;
    return S_OK;
}

} // namespace platform::dshow
