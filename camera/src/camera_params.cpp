// Camera parameters KZ_PARAM_*: the video processing amplifier, the capture format and size, the view.
#include "camera_device.h"

#include "error_boxes.h"

namespace korvib {
namespace {

bool IsProcAmpId(int id) {
    return id >= KZ_PARAM_BRIGHTNESS && id <= KZ_PARAM_GAIN;
}

// The amplifier of the source when it reports a usable range for `id` (min below max), with the range's
// capability flags; null otherwise.
IAMVideoProcAmp* ProcAmpWithRange(IBaseFilter* source, int id, LONG* flags) {
    if (source == nullptr) {
        return nullptr;
    }
    IAMVideoProcAmp* amp = nullptr;
    if (FAILED(source->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&amp))) || amp == nullptr) {
        return nullptr;
    }
    LONG min = 0;
    LONG max = 0;
    LONG step = 0;
    LONG defaultValue = 0;
    if (FAILED(amp->GetRange(id, &min, &max, &step, &defaultValue, flags)) || min >= max) {
        amp->Release();
        return nullptr;
    }
    return amp;
}

} // namespace

// Ids 0 to 9 go to the amplifier unchanged (false when it has no range for the id or refuses the value);
// 10 to 14 are stored for the next start or frame; other ids are accepted without effect.
bool CameraDevice::SetParam(int id, int value) {
    DisplayTarget& display = pipeline_.Display();
    switch (id) {
    case KZ_PARAM_FORMAT: formatIndex_ = value; return true;
    case KZ_PARAM_HEIGHT: captureHeight_ = value; return true;
    case KZ_PARAM_WIDTH: captureWidth_ = value; return true;
    case KZ_PARAM_VIEW_HEIGHT: display.height.store(value, std::memory_order_relaxed); return true;
    case KZ_PARAM_VIEW_WIDTH: display.width.store(value, std::memory_order_relaxed); return true;
    default: break;
    }
    if (!IsProcAmpId(id)) {
        return true;
    }
    LONG flags = 0;
    IAMVideoProcAmp* amp = ProcAmpWithRange(source_, id, &flags);
    if (amp == nullptr) {
        return false;
    }
    const HRESULT hr = amp->Set(id, value, flags);
    amp->Release();
    return SUCCEEDED(hr);
}

int CameraDevice::GetParam(int id) {
    const DisplayTarget& display = pipeline_.Display();
    switch (id) {
    case KZ_PARAM_FORMAT: return formatIndex_;
    case KZ_PARAM_HEIGHT: return captureHeight_;
    case KZ_PARAM_WIDTH: return captureWidth_;
    case KZ_PARAM_VIEW_HEIGHT: return display.height.load(std::memory_order_relaxed);
    case KZ_PARAM_VIEW_WIDTH: return display.width.load(std::memory_order_relaxed);
    default: break;
    }
    if (!IsProcAmpId(id)) {
        return -1;
    }
    LONG flags = 0;
    IAMVideoProcAmp* amp = ProcAmpWithRange(source_, id, &flags);
    if (amp == nullptr) {
        return -1;
    }
    LONG value = -1;
    const HRESULT hr = amp->Get(id, &value, &flags);
    amp->Release();
    return SUCCEEDED(hr) ? value : -1;
}

// Stores {x, y, width, height}; while the preview runs in a video window the window moves too.
// KZ_ERR_FAILED for a null rectangle or a window that refuses the position.
int CameraDevice::SetViewWin(const int* rect) {
    if (rect == nullptr) {
        return KZ_ERR_FAILED;
    }
    DisplayTarget& display = pipeline_.Display();
    display.x.store(rect[0], std::memory_order_relaxed);
    display.y.store(rect[1], std::memory_order_relaxed);
    display.width.store(rect[2], std::memory_order_relaxed);
    display.height.store(rect[3], std::memory_order_relaxed);
    if (videoWindow_ != nullptr && PreviewRunning()) {
        const HRESULT hr = videoWindow_->SetWindowPosition(rect[0], rect[1], rect[2], rect[3]);
        if (FAILED(hr)) {
            ShowComError(hr);
            return KZ_ERR_FAILED;
        }
    }
    return KZ_OK;
}

} // namespace korvib
