// The camera's model name: its capture filter's FriendlyName and the bridge chip driver's default name.
#pragma once

namespace korvib {

inline constexpr char kCameraModelName[] = "USB 2820 Video";

} // namespace korvib
