// The registry of device providers by category, the GStreamer encoders first among the compressors.
#include <algorithm>
#include <mutex>

#include <dshow/device_catalog.h>
#include <dshow/device_enum.h>

#include "device_catalog_list.h"
#include "video_compressor.h"

namespace {

struct Provider {
    int token;
    GUID category;
    std::function<std::vector<platform::dshow::DeviceEntry>()> list;
};

struct Catalog {
    std::mutex lock; // guards providers and nextToken
    std::vector<Provider> providers;
    int nextToken = 1;
};

// The compressor category starts with the GStreamer encoders.
Catalog& catalog() {
    static Catalog* instance = [] {
        auto* created = new Catalog;
        created->providers.push_back(
            {created->nextToken++, CLSID_VideoCompressorCategory, platform::dshow::videoCompressorDevices});
        return created;
    }();
    return *instance;
}

} // namespace

namespace platform::dshow {

int registerDeviceProvider(const GUID& category, std::function<std::vector<DeviceEntry>()> provider) {
    Catalog& c = catalog();
    std::lock_guard guard(c.lock);
    c.providers.push_back({c.nextToken, category, std::move(provider)});
    return c.nextToken++;
}

void unregisterDeviceProvider(int token) {
    Catalog& c = catalog();
    std::lock_guard guard(c.lock);
    std::erase_if(c.providers, [token](const Provider& p) { return p.token == token; });
}

// Takes the category's providers under the lock, then asks them without it.
std::vector<DeviceEntry> listDevices(const GUID& category) {
    std::vector<std::function<std::vector<DeviceEntry>()>> lists;
    {
        Catalog& c = catalog();
        std::lock_guard guard(c.lock);
        for (const Provider& p : c.providers)
            if (p.category == category)
                lists.push_back(p.list);
    }
    std::vector<DeviceEntry> devices;
    for (auto& list : lists)
        for (DeviceEntry& entry : list())
            devices.push_back(std::move(entry));
    return devices;
}

} // namespace platform::dshow
