// The process-wide store of compressor settings by FriendlyName.
#include "compressor_settings.h"

#include <map>
#include <mutex>

namespace platform::dshow {
namespace {

struct Store {
    std::mutex lock; // guards settings
    std::map<std::string, CompressorSettings> settings;
};

Store& store() {
    static Store* instance = new Store;
    return *instance;
}

} // namespace

CompressorSettings keptSettings(const std::string& compressor) {
    Store& s = store();
    std::lock_guard guard(s.lock);
    const auto found = s.settings.find(compressor);
    return found != s.settings.end() ? found->second : CompressorSettings{};
}

void keepSettings(const std::string& compressor, const CompressorSettings& settings) {
    Store& s = store();
    std::lock_guard guard(s.lock);
    s.settings[compressor] = settings;
}

} // namespace platform::dshow
