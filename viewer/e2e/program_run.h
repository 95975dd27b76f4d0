// The real Orvanel started as a user would: its own copy of the program folder, home and settings.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace e2e {

class ProgramRun {
public:
    // Copies the built program and the files beside it into a fresh folder and starts it on `display`
    // with its home, configuration and registry there; `environment` adds or overrides variables.
    ProgramRun(const std::string& display, const std::vector<std::pair<std::string, std::string>>& environment);
    // Ends the program if it still runs and removes the folder.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // The scratch folder (the program is in prog/, home/ is its home).
    const std::filesystem::path& folder() const { return folder_; }
    bool running();
    // The exit status once the program ended by itself within `ms`; -1 while it runs.
    int waitForExit(int ms);
    // Seconds of CPU the program has used so far.
    double cpuSeconds() const;
    // What the program wrote to its standard output and error.
    std::string output() const;

private:
    std::filesystem::path folder_;
    pid_t pid_ = -1;
    int status_ = -1;
};

} // namespace e2e
