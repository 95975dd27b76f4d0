// PseudoTerminal: posix_openpt master with its unlocked slave.
#include <testing/pseudo_terminal.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace platform::testing {

PseudoTerminal::PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        return;
    char name[128];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof(name)) != 0) {
        close(master_);
        master_ = -1;
        return;
    }
    slavePath_ = name;
}

PseudoTerminal::~PseudoTerminal() {
    if (master_ >= 0)
        close(master_);
}

bool PseudoTerminal::send(const std::string& bytes) {
    return master_ >= 0 && write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

} // namespace platform::testing
