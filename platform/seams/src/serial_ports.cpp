// Storage of the serial-port seams.
#include <seams/serial_ports.h>

#include <map>
#include <mutex>

namespace platform::seams {
namespace {

struct PortSeams {
    std::mutex lock; // guards paths and rings
    std::map<int, std::string> paths;
    std::map<int, bool> rings;
};

PortSeams& ports() {
    static PortSeams seams;
    return seams;
}

} // namespace

void setComPortPath(int port, std::string path) {
    PortSeams& s = ports();
    std::lock_guard guard(s.lock);
    if (path.empty())
        s.paths.erase(port);
    else
        s.paths[port] = std::move(path);
}

std::string comPortPath(int port) {
    PortSeams& s = ports();
    std::lock_guard guard(s.lock);
    const auto it = s.paths.find(port);
    return it == s.paths.end() ? std::string() : it->second;
}

void setComPortRing(int port, std::optional<bool> on) {
    PortSeams& s = ports();
    std::lock_guard guard(s.lock);
    if (on)
        s.rings[port] = *on;
    else
        s.rings.erase(port);
}

std::optional<bool> comPortRing(int port) {
    PortSeams& s = ports();
    std::lock_guard guard(s.lock);
    const auto it = s.rings.find(port);
    return it == s.rings.end() ? std::nullopt : std::optional<bool>(it->second);
}

} // namespace platform::seams
