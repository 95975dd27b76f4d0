// BMP and JPEG snapshots of the next preview frame: the request, the bounded wait and the file.
#pragma once

#include "camera_device.h"

namespace korvib {

// Writes the next frame of the running preview as a 24-bit BMP file at `path`. KZ_OK when the whole file
// was written; KZ_ERR_FAILED for a null path, while recording, without a running preview, when the format
// cannot be read, when no frame came in time, or when the file could not be written completely (nothing is
// then left at `path`). Caller's thread, outside the device's frame callbacks.
[[nodiscard]] int CaptureToBmp(CameraDevice& device, const char* path);

// Writes the next frame as a colour JPEG file at `path` with `quality` clamped to 0..100.
// KZ_ERR_NOT_PREVIEWING while recording or without a running preview; KZ_ERR_MISSING for a null path;
// KZ_ERR_FAILED when the format cannot be read, no frame came in time or the writer failed (it shows its
// own box for a file that cannot be opened). Caller's thread, outside the device's frame callbacks.
[[nodiscard]] int CaptureToJpg(CameraDevice& device, const char* path, int quality);

} // namespace korvib
