// Seams for communications ports: the tty behind COMn and the state of its ring line.
#pragma once

#include <optional>
#include <string>

namespace platform::seams {

// While not empty, COM<port> opens this tty (a Linux path, such as a pseudo-terminal's /dev/pts/N) instead
// of the one named by ORVANEL_COM<port> or /dev/ttyS<port-1>. Test set-up only.
void setComPortPath(int port, std::string path);
std::string comPortPath(int port);

// While set, GetCommModemStatus on COM<port> reports the ring line in this state and no other line, even
// on a tty without modem lines. Any thread, also while the port is read.
void setComPortRing(int port, std::optional<bool> on);
std::optional<bool> comPortRing(int port);

} // namespace platform::seams
