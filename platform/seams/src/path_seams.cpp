// Storage of the registry-file and program-path seams.
#include <seams/program_path.h>
#include <seams/registry_file.h>

#include <mutex>

namespace platform::seams {
namespace {

// One path value that tests set and the platform reads.
class PathSlot {
public:
    void set(std::string path) {
        std::lock_guard guard(lock_);
        path_ = std::move(path);
    }
    std::string get() {
        std::lock_guard guard(lock_);
        return path_;
    }

private:
    std::mutex lock_; // guards path_
    std::string path_;
};

PathSlot registrySlot;
PathSlot programSlot;

} // namespace

void setRegistryFile(std::string path) {
    registrySlot.set(std::move(path));
}

std::string registryFile() {
    return registrySlot.get();
}

void setProgramPath(std::string path) {
    programSlot.set(std::move(path));
}

std::string programPath() {
    return programSlot.get();
}

} // namespace platform::seams
