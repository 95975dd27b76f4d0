// The simulated devices of the process, in the order the video input list shows them, and a scripted V4L2
// camera taking the primary device's place.
#pragma once

#include "simulated_device.h"

#include <devices/v4l2_io.h>

#include <memory>
#include <string>
#include <vector>

namespace platform::devices {

constexpr const char* kSimulatedFriendlyName = "USB 2820 Video";

struct ListedDevice {
    std::string friendlyName;
    std::shared_ptr<SimulatedDevice> device;
    bool privateInterface = true;
};

// The primary simulated device; the same object for the life of the process. Any thread.
std::shared_ptr<SimulatedDevice> primaryDevice();
// The primary device unless hidden, then the decoys. Any thread.
std::vector<ListedDevice> listedSimulatedDevices();
void setPrimaryHidden(bool hidden);
void setDecoyList(std::vector<Decoy> decoys);
// The device behind decoy `index`, or nullptr. Any thread.
std::shared_ptr<SimulatedDevice> decoyDevice(std::size_t index);
// A V4L2 camera reached through a test's own system calls, listed in the primary device's place; null
// when none. Any thread.
void setScriptedV4l2Camera(V4l2Io* io);
V4l2Io* scriptedV4l2Camera();

} // namespace platform::devices
