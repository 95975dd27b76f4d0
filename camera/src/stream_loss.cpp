// A stream that ends on its own: the graph's error events (the camera lost, the stream aborted) stop the
// preview or the recording at the next call that needs the stream.
#include "camera_device.h"

#include "com_release.h"

namespace korvib {

bool CameraDevice::TakeStreamFailure() {
    IMediaEvent* events = nullptr;
    if (graph_ == nullptr || FAILED(graph_->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events)))) {
        return false;
    }
    bool failed = false;
    LONG code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    while (events->GetEvent(&code, &param1, &param2, 0) == S_OK) {
        failed = failed || code == EC_DEVICE_LOST || code == EC_ERRORABORT;
        events->FreeEventParams(code, param1, param2);
    }
    ReleaseAndClear(events);
    return failed;
}

bool CameraDevice::EndLostStream() {
    if (InsideFrame() || !TakeStreamFailure()) {
        return false;
    }
    if (RecordingRunning()) {
        previewWasRunning_ = false;
        TearDownRecording();
    }
    StopPreview();
    return true;
}

} // namespace korvib
