// Storage of the program-path seam.
#include <testing/program_path.h>

#include <mutex>

namespace platform::seams {
namespace {
std::mutex lock; // guards path
std::string path;
} // namespace

void setProgramPath(std::string file)
{
    std::lock_guard guard(lock);
    path = std::move(file);
}

std::string programPath()
{
    std::lock_guard guard(lock);
    return path;
}

} // namespace platform::seams
