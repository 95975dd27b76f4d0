// Storage of the registry-file seam.
#include <testing/registry_file.h>

#include <mutex>

namespace platform::seams {
namespace {
std::mutex lock; // guards file
std::string file;
} // namespace

void setRegistryFile(std::string path)
{
    std::lock_guard guard(lock);
    file = std::move(path);
}

std::string registryFile()
{
    std::lock_guard guard(lock);
    return file;
}

} // namespace platform::seams
