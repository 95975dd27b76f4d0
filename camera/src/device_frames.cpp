// The device's side of the frame pipeline: the running format, frame delivery and the buffer snapshot.
#include "camera_device.h"

#include <win32/kernel.h>

namespace korvib {
namespace {

// A frame request waits in polls of 200 ms; after this many it is withdrawn.
constexpr int kSnapshotPolls = 25;
constexpr DWORD kSnapshotPollMs = 200;

} // namespace

void CameraDevice::OnFrame(BYTE* frame, std::size_t length) {
    pipeline_.OnFrame(frame, length, *this);
}

void CameraDevice::FocusSteps(BYTE* frame, std::size_t length, const BITMAPINFOHEADER& format) {
    autoFocus_.OnFrame(frame, length, format);
}

// Running format of the capture pin while the graph runs; false when it is not running, the pin gives no
// video format, or the size is not positive. Any thread.
bool CameraDevice::GetCurrentFormat(BITMAPINFOHEADER* format) {
    if (mediaControl_ == nullptr || streamConfig_ == nullptr) {
        return false;
    }
    OAFilterState state = State_Stopped;
    if (mediaControl_->GetState(0, &state) != S_OK || state != State_Running) {
        return false;
    }
    AM_MEDIA_TYPE* type = nullptr;
    if (streamConfig_->GetFormat(&type) != S_OK || type == nullptr) {
        return false;
    }
    const bool video = type->majortype == MEDIATYPE_Video && type->pbFormat != nullptr &&
                       type->cbFormat >= sizeof(VIDEOINFOHEADER);
    BITMAPINFOHEADER header{};
    if (video) {
        header = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat)->bmiHeader;
    }
    DeleteMediaType(type);
    if (!video || header.biWidth <= 0 || header.biHeight <= 0) {
        return false;
    }
    const DWORD stride =
        (static_cast<DWORD>(GrabberCallback::kBitCount / 8) * static_cast<DWORD>(header.biWidth) + 3) &
        ~static_cast<DWORD>(3);
    header.biBitCount = GrabberCallback::kBitCount;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(header.biHeight) * stride;
    *format = header;
    return true;
}

// Copies the next frame into buffer, which holds biHeight x stride bytes of the running format.
// KZ_ERR_MISSING for a null buffer; KZ_ERR_FAILED while recording, without a running preview (also once the
// camera was lost), when the format cannot be read, when no frame came within 5 s, or when the frame did not
// fit. Caller's thread.
int CameraDevice::CaptureToBuf(BYTE* buffer) {
    if (buffer == nullptr) {
        return KZ_ERR_MISSING;
    }
    BITMAPINFOHEADER format{};
    if (RecordingRunning() || !PreviewRunning() || InsideFrame() || !GetCurrentFormat(&format)) {
        return KZ_ERR_FAILED;
    }
    FrameRequest& request = pipeline_.BufferRequest();
    request.Place(buffer, format.biSizeImage);
    return WaitForFrame(request) ? KZ_OK : KZ_ERR_FAILED;
}

bool CameraDevice::WaitForFrame(FrameRequest& request) {
    for (int poll = 0; request.Pending(); ++poll) {
        if (poll == kSnapshotPolls || EndLostStream()) {
            request.Withdraw();
            break;
        }
        Sleep(kSnapshotPollMs);
    }
    return request.Copied();
}

} // namespace korvib
