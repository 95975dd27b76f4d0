// Starting, watching and ending the program under test.
#include "program_run.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {
namespace fs = std::filesystem;
namespace {

// The program and the files it needs beside it.
constexpr const char* kProgramFiles[] = {"Orvanel",   "Orvanel.ini",  "1280.bmp",   "640.bmp",
                                         "main.bmp",  "image.bmp",    "folder.wav", "readme.txt",
                                         "resources"};

fs::path freshFolder() {
    static std::atomic<int> count{0};
    const fs::path folder =
        fs::temp_directory_path() / ("orvanel-e2e-" + std::to_string(getpid()) + "-" + std::to_string(count++));
    fs::remove_all(folder);
    fs::create_directories(folder / "prog");
    fs::create_directories(folder / "home");
    return folder;
}

} // namespace

ProgramRun::ProgramRun(const std::string& display,
                       const std::vector<std::pair<std::string, std::string>>& environment)
    : folder_(freshFolder()) {
    const fs::path built = ORVANEL_PROGRAM_FOLDER;
    for (const char* name : kProgramFiles)
        fs::copy(built / name, folder_ / "prog" / name, fs::copy_options::recursive);
    std::vector<std::pair<std::string, std::string>> variables = {
        {"DISPLAY", display},
        {"HOME", (folder_ / "home").string()},
        {"XDG_CONFIG_HOME", (folder_ / "config").string()},
        {"XDG_RUNTIME_DIR", folder_.string()},
        {"ORVANEL_REGISTRY", (folder_ / "registry").string()},
        {"QT_QPA_PLATFORM", "xcb"},
    };
    variables.insert(variables.end(), environment.begin(), environment.end());
    const std::string program = (folder_ / "prog" / "Orvanel").string();
    const std::string log = (folder_ / "output.txt").string();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL); // a killed test leaves no program behind
        for (const auto& [name, value] : variables)
            setenv(name.c_str(), value.c_str(), 1);
        if (chdir(folder_.c_str()) != 0)
            _exit(126);
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(out, 2);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid_ < 0)
        throw std::runtime_error("cannot start the program");
}

ProgramRun::~ProgramRun() {
    if (running()) {
        kill(pid_, SIGTERM);
        if (waitForExit(2000) == -1) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

bool ProgramRun::running() {
    return waitForExit(0) == -1;
}

int ProgramRun::waitForExit(int ms) {
    if (status_ != -1 || pid_ <= 0)
        return status_;
    for (int waited = 0;; waited += 10) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return status_;
        }
        if (waited >= ms)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

double ProgramRun::cpuSeconds() const {
    std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command name, which ends with the last ')': utime and stime are the 12th and 13th.
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 1; i <= 13 && rest >> field; ++i)
        if (i >= 12)
            ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string ProgramRun::output() const {
    std::ifstream in(folder_ / "output.txt");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace e2e
