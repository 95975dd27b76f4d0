// Process-wide table of loaded pictures, keyed by their working-pixel pointer.
#include "picture_registry.h"

#include <mutex>
#include <new>
#include <unordered_map>

namespace rastel {
namespace {

struct Registry {
    std::mutex lock; // guards owners
    std::unordered_map<const BYTE*, const CRastel*> owners;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

} // namespace

void registerPicture(const BYTE* pixels, const CRastel* owner) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    try {
        r.owners[pixels] = owner;
    } catch (const std::bad_alloc&) {
        // Unrecorded pixels are copied with a standard header block.
    }
}

void unregisterPicture(const BYTE* pixels) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.owners.erase(pixels);
}

const CRastel* pictureOwning(const BYTE* pixels) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    const auto found = r.owners.find(pixels);
    return found == r.owners.end() ? nullptr : found->second;
}

} // namespace rastel
