// Capture and preview pins: the current format, stream configuration, compression settings, sample delivery.
#include "capture_pin.h"

#include "capture_filter.h"
#include "media_format.h"

#include <algorithm>
#include <cstring>

namespace platform::devices {
namespace {

// Copies `text` into `out` (at most *bytes bytes, NUL-terminated) and reports the bytes it needs.
void copyInfoText(const wchar_t* text, LPWSTR out, int* bytes)
{
    if (!bytes)
        return;
    const int needed = static_cast<int>((std::wcslen(text) + 1) * sizeof(WCHAR));
    if (out && *bytes >= int(sizeof(WCHAR))) {
        const std::size_t chars = std::min<std::size_t>(*bytes / sizeof(WCHAR), std::wcslen(text) + 1);
        std::memcpy(out, text, (chars - 1) * sizeof(WCHAR));
        out[chars - 1] = L'\0';
    }
    *bytes = needed;
}

// Hands `value` to an out parameter.
template <class T> HRESULT giveOut(T value, T* out)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

} // namespace

FramePin::FramePin(CaptureFilter& filter, std::wstring name, const GUID& category)
    : OutputPin(filter, std::move(name), category), owner_(filter)
{
}

HRESULT FramePin::getMediaType(int index, AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    if (index != 0)
        return VFW_S_NO_MORE_ITEMS;
    return fillMediaType(owner_.source().format(), owner_.source().frameRate(), *type);
}

HRESULT FramePin::checkMediaType(const AM_MEDIA_TYPE& type)
{
    const auto format = formatOfMediaType(type);
    return format && *format == owner_.source().format() ? S_OK : S_FALSE;
}

BYTE* FramePin::prepareSample(DWORD size)
{
    prepared_.reset();
    if (!isConnected() || FAILED(getSample(size, prepared_)))
        return nullptr;
    return prepared_->data();
}

void FramePin::deliverFrame(const BYTE* data, DWORD size, REFERENCE_TIME start, REFERENCE_TIME end)
{
    dshow::ComPtr<dshow::MediaSample> sample = std::move(prepared_);
    if (!isConnected())
        return;
    if (!sample || sample->data() != data) {
        if (FAILED(getSample(size, sample)))
            return;
        std::memcpy(sample->data(), data, size);
    }
    sample->SetActualDataLength(static_cast<LONG>(size));
    sample->SetTime(&start, &end);
    // A stopped or refusing receiver loses this frame only.
    (void)deliver(sample.get());
}

CapturePin::CapturePin(CaptureFilter& filter)
    : WithInterfaces(filter, L"Capture", PIN_CATEGORY_CAPTURE), knobs_(filter.source().compression()),
      keyFrameRate_(knobs_.defaultKeyFrameRate), pFrames_(knobs_.defaultPFrames), quality_(knobs_.defaultQuality)
{
}

void* CapturePin::queryInterface(REFIID riid)
{
    if (riid == IID_IAMVideoCompression && !knobs_.offered)
        return nullptr;
    return WithInterfaces::queryInterface(riid);
}

HRESULT CapturePin::SetFormat(AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    if (owner_.state() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (owner_.anyPinConnected())
        return VFW_E_ALREADY_CONNECTED;
    const auto format = formatOfMediaType(*type);
    if (!format || !owner_.source().setFormat(*format))
        return VFW_E_INVALIDMEDIATYPE;
    return S_OK;
}

HRESULT CapturePin::GetFormat(AM_MEDIA_TYPE** type)
{
    if (!type)
        return E_POINTER;
    *type = newMediaType(owner_.source().format(), owner_.source().frameRate());
    return *type ? S_OK : E_OUTOFMEMORY;
}

HRESULT CapturePin::GetNumberOfCapabilities(int* count, int* size)
{
    if (!count || !size)
        return E_POINTER;
    *count = static_cast<int>(owner_.source().capabilities().size());
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

HRESULT CapturePin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps)
{
    if (!type || !caps)
        return E_POINTER;
    if (index < 0)
        return E_INVALIDARG;
    const auto list = owner_.source().capabilities();
    if (std::size_t(index) >= list.size())
        return S_FALSE;
    const double fps = owner_.source().frameRate();
    *type = newMediaType(list[index], fps);
    if (!*type)
        return E_OUTOFMEMORY;
    const VIDEO_STREAM_CONFIG_CAPS block = capabilityOf(list[index], fps);
    std::memcpy(caps, &block, sizeof block);
    return S_OK;
}

HRESULT CapturePin::put_KeyFrameRate(LONG rate)
{
    keyFrameRate_ = rate < 0 ? knobs_.defaultKeyFrameRate : rate;
    return S_OK;
}

HRESULT CapturePin::get_KeyFrameRate(LONG* rate) { return knobs_.readsFail ? E_FAIL : giveOut(keyFrameRate_, rate); }

HRESULT CapturePin::put_PFramesPerKeyFrame(LONG frames)
{
    pFrames_ = frames < 0 ? knobs_.defaultPFrames : frames;
    return S_OK;
}

HRESULT CapturePin::get_PFramesPerKeyFrame(LONG* frames)
{
    return knobs_.readsFail ? E_FAIL : giveOut(pFrames_, frames);
}

HRESULT CapturePin::put_Quality(double quality)
{
    if (quality > 1)
        return E_INVALIDARG;
    quality_ = quality < 0 ? knobs_.defaultQuality : quality;
    return S_OK;
}

HRESULT CapturePin::get_Quality(double* quality) { return knobs_.readsFail ? E_FAIL : giveOut(quality_, quality); }

HRESULT CapturePin::GetInfo(LPWSTR version, int* versionBytes, LPWSTR description, int* descriptionBytes,
                            LONG* defaultKeyFrameRate, LONG* defaultPFramesPerKey, double* defaultQuality,
                            LONG* capabilities)
{
    if (knobs_.infoFails)
        return E_FAIL;
    copyInfoText(L"1.0", version, versionBytes);
    copyInfoText(L"USB 2820 Video", description, descriptionBytes);
    if (defaultKeyFrameRate)
        *defaultKeyFrameRate = knobs_.defaultKeyFrameRate;
    if (defaultPFramesPerKey)
        *defaultPFramesPerKey = knobs_.defaultPFrames;
    if (defaultQuality)
        *defaultQuality = knobs_.defaultQuality;
    if (capabilities)
        *capabilities = knobs_.capabilities;
    return S_OK;
}

} // namespace platform::devices
