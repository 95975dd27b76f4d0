// The simulated devices of the process, in the order the video input list shows them.
#pragma once

#include "simulated_device.h"

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

} // namespace platform::devices
