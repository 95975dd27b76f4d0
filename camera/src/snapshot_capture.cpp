// KZ_CaptureToBmp and KZ_CaptureToJpg behind the fronts: one snapshot request per call, served by the
// streaming thread into a buffer of the running format's size, then written on the caller's thread.
#include "snapshot_capture.h"

#include <algorithm>
#include <new>
#include <vector>

#include <win32/kernel.h>

#include "snapshot_files.h"

namespace korvib {
namespace {

// One frame of the running format as the pipeline had it when it served the request.
struct Snapshot {
    BITMAPINFOHEADER format{};
    std::vector<BYTE> pixels;
};

// Places a snapshot request into a buffer of biSizeImage bytes and waits for the streaming thread to serve
// it. False when the format cannot be read, the buffer cannot be allocated, the call comes from inside a
// frame, or no frame of that size came within the time-out.
[[nodiscard]] bool TakeSnapshot(CameraDevice& device, Snapshot& snapshot) {
    if (device.InsideFrame() || !device.GetCurrentFormat(&snapshot.format)) {
        return false;
    }
    try {
        snapshot.pixels.assign(snapshot.format.biSizeImage, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    FrameRequest& request = device.Pipeline().SnapshotRequest();
    request.Place(snapshot.pixels.data(), snapshot.pixels.size());
    return device.WaitForFrame(request);
}

// The preview runs and no recording; a lost camera's preview is stopped first.
[[nodiscard]] bool Streaming(CameraDevice& device) {
    return !device.EndLostStream() && device.PreviewRunning() && !device.RecordingRunning();
}

} // namespace

int CaptureToBmp(CameraDevice& device, const char* path) {
    if (path == nullptr || !Streaming(device)) {
        return KZ_ERR_FAILED;
    }
    Snapshot snapshot;
    if (!TakeSnapshot(device, snapshot)) {
        return KZ_ERR_FAILED;
    }
    return WriteBmpSnapshot(path, snapshot.format, snapshot.pixels.data()) ? KZ_OK : KZ_ERR_FAILED;
}

int CaptureToJpg(CameraDevice& device, const char* path, int quality) {
    if (!Streaming(device)) {
        return KZ_ERR_NOT_PREVIEWING;
    }
    if (path == nullptr) {
        return KZ_ERR_MISSING;
    }
    Snapshot snapshot;
    if (!TakeSnapshot(device, snapshot)) {
        return KZ_ERR_FAILED;
    }
    return WriteJpegSnapshot(path, snapshot.format, snapshot.pixels.data(), std::clamp(quality, 0, 100))
               ? KZ_OK
               : KZ_ERR_FAILED;
}

} // namespace korvib
