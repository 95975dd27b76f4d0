// One initialisation of GStreamer for every pipeline of the layer.
#pragma once

namespace platform::dshow {

// Initialises GStreamer on first use; false when it cannot be. Any thread.
bool gstreamerReady();

} // namespace platform::dshow
