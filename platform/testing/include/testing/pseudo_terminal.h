// A pseudo-terminal pair for tests: the far end of a serial line whose tty the code under test opens.
#pragma once

#include <string>

namespace platform::testing {

// Opens a master and unlocks its slave; the slave's path is what the code under test opens. Test code only.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // False when no pseudo-terminal could be opened.
    [[nodiscard]] bool ok() const { return master_ >= 0; }
    // The slave's path (/dev/pts/N).
    [[nodiscard]] const std::string& slavePath() const { return slavePath_; }
    // Sends bytes towards the slave; false when not all were taken.
    bool send(const std::string& bytes);

private:
    int master_ = -1;
    std::string slavePath_;
};

} // namespace platform::testing
