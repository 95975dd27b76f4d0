// Storage of the sound and shell recording seams.
#include <seams/sound_shell.h>

#include <mutex>

namespace platform::seams {
namespace {

std::mutex lock; // guards both records and what they point to
std::vector<SoundCall>* sounds = nullptr;
std::vector<ShellCall>* shells = nullptr;

template <class Call> bool append(std::vector<Call>* record, const Call& call) {
    if (!record)
        return false;
    record->push_back(call);
    return true;
}

} // namespace

void setSoundRecord(std::vector<SoundCall>* record) {
    std::lock_guard guard(lock);
    sounds = record;
}

void setShellRecord(std::vector<ShellCall>* record) {
    std::lock_guard guard(lock);
    shells = record;
}

bool recordSound(const SoundCall& call) {
    std::lock_guard guard(lock);
    return append(sounds, call);
}

bool recordShell(const ShellCall& call) {
    std::lock_guard guard(lock);
    return append(shells, call);
}

} // namespace platform::seams
