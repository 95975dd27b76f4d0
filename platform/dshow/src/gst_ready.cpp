// GStreamer initialisation, once per process.
#include "gst_ready.h"

#include <gst/gst.h>

namespace platform::dshow {

bool gstreamerReady() {
    static const bool ready = gst_init_check(nullptr, nullptr, nullptr);
    return ready;
}

} // namespace platform::dshow
