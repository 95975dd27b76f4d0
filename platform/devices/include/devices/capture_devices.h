// Registration of the capture devices with the system device enumerator's video input category.
#pragma once

namespace platform::devices {

// Lists the simulated camera (and test decoys), then V4L2 cameras, as the video input category.
// Done when the library loads; a program that reaches the devices only through COM may call it to
// make sure the library is linked. Idempotent; any thread.
void registerVideoInputDevices();

} // namespace platform::devices
