// The screen-size seam's slot.
#include <seams/screen_size.h>

#include <atomic>

namespace platform::seams {
namespace {

std::atomic<LONG> width{0};
std::atomic<LONG> height{0};

} // namespace

void setScreenSize(LONG w, LONG h) {
    width.store(w);
    height.store(h);
}

SIZE screenSize() {
    return SIZE{width.load(), height.load()};
}

} // namespace platform::seams
