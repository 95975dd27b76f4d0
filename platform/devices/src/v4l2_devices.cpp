// Discovery of V4L2 capture devices under /dev.
#include "v4l2_devices.h"

#include "v4l2_filter.h"

#include <fcntl.h>
#include <linux/videodev2.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace platform::devices {
namespace {

// The card name of a device that captures video, or nothing.
std::optional<std::string> captureCardName(const std::string& path, V4l2Io& io)
{
    const int fd = io.open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    v4l2_capability cap{};
    const bool ok = io.ioctl(fd, VIDIOC_QUERYCAP, &cap) == 0;
    io.close(fd);
    if (!ok)
        return std::nullopt;
    const uint32_t caps = (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
    if (!(caps & V4L2_CAP_VIDEO_CAPTURE) || !(caps & V4L2_CAP_STREAMING))
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(cap.card), strnlen(reinterpret_cast<const char*>(cap.card), sizeof cap.card));
}

} // namespace

std::optional<dshow::DeviceEntry> v4l2Entry(const std::string& path, const std::string& friendlyName, V4l2Io& io)
{
    if (!captureCardName(path, io))
        return std::nullopt;
    dshow::DeviceEntry entry;
    entry.friendlyName = std::wstring(friendlyName.begin(), friendlyName.end());
    entry.devicePath = std::wstring(path.begin(), path.end());
    entry.bindToObject = [path, &io](REFIID riid, void** object) { return bindV4l2Filter(path, io, riid, object); };
    return entry;
}

std::vector<dshow::DeviceEntry> v4l2Entries()
{
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator("/dev", error)) {
        const std::string name = item.path().filename().string();
        if (name.rfind("video", 0) == 0)
            paths.push_back(item.path().string());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<dshow::DeviceEntry> entries;
    for (const std::string& path : paths)
        if (auto card = captureCardName(path, systemV4l2Io()))
            if (auto entry = v4l2Entry(path, *card))
                entries.push_back(std::move(*entry));
    return entries;
}

} // namespace platform::devices
