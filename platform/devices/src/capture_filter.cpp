// The capture filter: pins, state hooks that start and stop the device stream, video processing
// amplifier with its property page and private property interface.
#include "capture_filter.h"

#include "capture_pin.h"

#include <devices/proc_amp_page.h>
#include <win32/clock.h>

#include <new>

#ifndef E_PROP_ID_UNSUPPORTED
#define E_PROP_ID_UNSUPPORTED ORV_HRESULT(0x80070490u)
#endif

namespace platform::devices {
namespace {

// {6B1F0C52-3E2A-4C8D-9A51-2F0E7D3B8C14}
const CLSID kCaptureFilterClsid = {0x6B1F0C52, 0x3E2A, 0x4C8D, {0x9A, 0x51, 0x2F, 0x0E, 0x7D, 0x3B, 0x8C, 0x14}};

// Which calls each private property id supports: 1 Get, 2 Set, 3 both.
DWORD supportOf(DWORD id)
{
    switch (id) {
    case kPropChipSelect:
    case kPropI2cSelect:
    case kPropProbeAddress:
        return 2;
    case kPropChipData:
    case kPropI2cData:
        return 3;
    case kPropProbeStatus:
    case kPropProbeValue:
    case kPropKeyAddress:
    case kPropKeyPseudoAddress:
        return 1;
    default:
        return 0;
    }
}

} // namespace

CaptureFilter::CaptureFilter(std::shared_ptr<CaptureSource> source, bool privateInterface)
    : WithInterfaces(kCaptureFilterClsid), source_(std::move(source)), privateInterface_(privateInterface)
{
    pins_[0] = addPin(std::make_unique<CapturePin>(*this));
    pins_[1] = addPin(std::make_unique<FramePin>(*this, L"Preview", PIN_CATEGORY_PREVIEW));
}

CaptureFilter::~CaptureFilter()
{
    if (state() == State_Running)
        source_->stopStream();
}

bool CaptureFilter::anyPinConnected() const { return pins_[0]->isConnected() || pins_[1]->isConnected(); }

void* CaptureFilter::queryInterface(REFIID riid)
{
    if (riid == IID_IBridgeChipProperty && !privateInterface_)
        return nullptr;
    return WithInterfaces::queryInterface(riid);
}

HRESULT CaptureFilter::onRun(REFERENCE_TIME)
{
    runStartMs_ = activeClock().nowMs();
    source_->startStream([this](const FrameView& frame) { deliver(frame); },
                         [this](DWORD size) { return frameTarget(size); },
                         [this](StreamFailure failure) { streamFailed(failure); });
    return S_OK;
}

void CaptureFilter::onPauseFromRun() { source_->stopStream(); }

// Streaming thread: the first connected pin's sample, for the source to make the frame in.
BYTE* CaptureFilter::frameTarget(DWORD size)
{
    for (FramePin* pin : pins_)
        if (pin->isConnected())
            return pin->prepareSample(size);
    return nullptr;
}

// Streaming thread: the same frame to both pins, stamped from the run start.
void CaptureFilter::deliver(const FrameView& frame)
{
    const REFERENCE_TIME start = (REFERENCE_TIME(frame.timeMs) - REFERENCE_TIME(runStartMs_)) * 10'000;
    const REFERENCE_TIME end = start + REFERENCE_TIME(10'000'000.0 / source_->frameRate());
    for (FramePin* pin : pins_)
        pin->deliverFrame(frame.data, frame.size, start, end);
}

// Streaming thread, or inside onRun: the graph's owner learns that no more frames come.
void CaptureFilter::streamFailed(StreamFailure failure)
{
    if (failure == StreamFailure::DeviceLost)
        notifyGraph(EC_DEVICE_LOST, 0, 0);
    else
        notifyGraph(EC_ERRORABORT, E_FAIL, 0);
}

HRESULT CaptureFilter::GetRange(LONG property, LONG* min, LONG* max, LONG* step, LONG* defaultValue, LONG* capsFlags)
{
    if (!min || !max || !step || !defaultValue || !capsFlags)
        return E_POINTER;
    const auto range = source_->procAmpRange(property);
    if (!range)
        return E_PROP_ID_UNSUPPORTED;
    *min = range->min;
    *max = range->max;
    *step = range->step;
    *defaultValue = range->defaultValue;
    *capsFlags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

HRESULT CaptureFilter::Set(LONG property, LONG value, LONG flags)
{
    if (!source_->procAmpRange(property))
        return E_PROP_ID_UNSUPPORTED;
    if (flags & VideoProcAmp_Flags_Auto)
        return E_INVALIDARG;
    return source_->setProcAmp(property, value) ? S_OK : E_INVALIDARG;
}

HRESULT CaptureFilter::Get(LONG property, LONG* value, LONG* flags)
{
    if (!value || !flags)
        return E_POINTER;
    const auto stored = source_->procAmp(property);
    if (!stored)
        return E_PROP_ID_UNSUPPORTED;
    *value = *stored;
    *flags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

HRESULT CaptureFilter::QuerySupported(DWORD id, DWORD* support)
{
    if (!support)
        return E_POINTER;
    *support = supportOf(id);
    return *support ? S_OK : E_NOTIMPL;
}

HRESULT CaptureFilter::Set(DWORD id, void* data) { return source_->propertySet(id, data); }

HRESULT CaptureFilter::Get(DWORD id, void* data) { return source_->propertyGet(id, data); }

HRESULT CaptureFilter::GetPages(CAUUID* pages) {
    if (!pages)
        return E_POINTER;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    pages->cElems = pages->pElems ? 1 : 0;
    if (!pages->pElems)
        return E_OUTOFMEMORY;
    pages->pElems[0] = CLSID_ProcAmpPropertyPage;
    return S_OK;
}

HRESULT bindCaptureFilter(std::shared_ptr<CaptureSource> source, bool privateInterface, REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    CaptureFilter* filter = nullptr;
    try {
        filter = new CaptureFilter(std::move(source), privateInterface);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = filter->QueryInterface(riid, object);
    filter->Release();
    return hr;
}

} // namespace platform::devices
