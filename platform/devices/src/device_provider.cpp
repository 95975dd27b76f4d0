// The video input category's devices: the simulated camera and test decoys, then V4L2 cameras,
// chosen by ORVANEL_CAMERA ("sim", the default; "none"; or a /dev/videoN path) or by a test's scripted
// V4L2 camera.
#include <devices/capture_devices.h>

#include "capture_filter.h"
#include "device_registry.h"
#include "v4l2_devices.h"

#include <dshow/device_catalog.h>
#include <dshow/device_enum.h>
#include <win32/debug_output.h>

#include <cstdlib>
#include <mutex>
#include <string>

namespace platform::devices {
namespace {

std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

dshow::DeviceEntry simulatedEntry(const ListedDevice& listed, std::size_t index)
{
    auto device = listed.device;
    const bool privateInterface = listed.privateInterface;
    return {widen(listed.friendlyName), L"sim:" + std::to_wstring(index),
            [device, privateInterface](REFIID riid, void** object) {
                return bindCaptureFilter(device, privateInterface, riid, object);
            }};
}

std::vector<dshow::DeviceEntry> listDevices()
{
    const char* choice = std::getenv("ORVANEL_CAMERA");
    const std::string camera = choice && *choice ? choice : "sim";
    std::vector<dshow::DeviceEntry> entries;
    if (camera == "none")
        return entries;
    V4l2Io* scripted = scriptedV4l2Camera();
    const bool v4l2Chosen = camera[0] == '/' || scripted;
    if (!v4l2Chosen && camera != "sim")
        OutputDebugString(("ORVANEL_CAMERA=" + camera + " is not sim, none or a device path; using the simulated camera\n").c_str());
    const auto simulated = listedSimulatedDevices();
    for (std::size_t i = 0; i < simulated.size(); ++i) {
        // A chosen V4L2 camera takes the simulated device's place under its name.
        if (v4l2Chosen && i == 0 && simulated[i].device == primaryDevice())
            continue;
        entries.push_back(simulatedEntry(simulated[i], i));
    }
    if (v4l2Chosen) {
        const std::string path = scripted ? "/dev/video0" : camera;
        if (auto entry = v4l2Entry(path, kSimulatedFriendlyName, scripted ? *scripted : systemV4l2Io()))
            entries.insert(entries.begin(), std::move(*entry));
        else if (!scripted)
            OutputDebugString(("ORVANEL_CAMERA=" + camera + " is not a V4L2 capture device\n").c_str());
        return entries;
    }
    for (auto& entry : v4l2Entries())
        entries.push_back(std::move(entry));
    return entries;
}

} // namespace

void registerVideoInputDevices()
{
    static std::once_flag once;
    std::call_once(once, [] { dshow::registerDeviceProvider(CLSID_VideoInputDeviceCategory, listDevices); });
}

namespace {
// The devices are listed as soon as the library is loaded.
[[maybe_unused]] const bool registered = (registerVideoInputDevices(), true);
} // namespace

} // namespace platform::devices
