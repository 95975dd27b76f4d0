// Process-wide list of simulated devices: the primary one, with the program's live look, the decoys tests add
// and a test's scripted V4L2 camera.
#include "device_registry.h"

#include <mutex>

namespace platform::devices {
namespace {

struct Registry {
    std::mutex mutex; // guards hidden, decoys and scriptedV4l2
    std::shared_ptr<SimulatedDevice> primary = std::make_shared<SimulatedDevice>(SimulatedDevice::Defaults::Live);
    bool hidden = false;
    std::vector<ListedDevice> decoys;
    V4l2Io* scriptedV4l2 = nullptr;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

} // namespace

std::shared_ptr<SimulatedDevice> primaryDevice() { return registry().primary; }

std::vector<ListedDevice> listedSimulatedDevices()
{
    Registry& r = registry();
    std::lock_guard guard(r.mutex);
    std::vector<ListedDevice> list;
    if (!r.hidden)
        list.push_back({kSimulatedFriendlyName, r.primary, true});
    list.insert(list.end(), r.decoys.begin(), r.decoys.end());
    return list;
}

void setPrimaryHidden(bool hidden)
{
    Registry& r = registry();
    std::lock_guard guard(r.mutex);
    r.hidden = hidden;
}

void setDecoyList(std::vector<Decoy> decoys)
{
    Registry& r = registry();
    std::lock_guard guard(r.mutex);
    r.decoys.clear();
    for (Decoy& d : decoys)
        r.decoys.push_back({std::move(d.friendlyName), std::make_shared<SimulatedDevice>(), d.privateInterface});
}

std::shared_ptr<SimulatedDevice> decoyDevice(std::size_t index)
{
    Registry& r = registry();
    std::lock_guard guard(r.mutex);
    return index < r.decoys.size() ? r.decoys[index].device : nullptr;
}

void setScriptedV4l2Camera(V4l2Io* io)
{
    Registry& r = registry();
    std::lock_guard guard(r.mutex);
    r.scriptedV4l2 = io;
}

V4l2Io* scriptedV4l2Camera()
{
    Registry& r = registry();
    std::lock_guard guard(r.mutex);
    return r.scriptedV4l2;
}

} // namespace platform::devices
