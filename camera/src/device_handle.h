// The device behind a KZ_HANDLE.
#pragma once

#include <camera/korvib.h>

#include "camera_device.h"

namespace korvib {

inline CameraDevice* AsDevice(KZ_HANDLE handle) {
    return static_cast<CameraDevice*>(handle);
}

} // namespace korvib
