// Seams that record sndPlaySound and ShellExecute calls instead of playing or launching.
#pragma once

#include <win32/types.h>

#include <string>
#include <vector>

namespace platform::seams {

struct SoundCall {
    std::string sound; // as passed; "" for NULL
    UINT flags = 0;
};

struct ShellCall {
    std::string verb; // "" for NULL
    std::string file;
    std::string parameters;
    std::string directory;
    INT show = 0;
};

// While a record is set, the calls are appended to it (under a lock, from any thread) and nothing is
// played or launched; the results are the same as for a real call. nullptr ends recording. The record
// stays the caller's and must outlive the recording. Test set-up only.
void setSoundRecord(std::vector<SoundCall>* record);
void setShellRecord(std::vector<ShellCall>* record);

// Appends the call when recording; false when no record is set. Any thread.
bool recordSound(const SoundCall& call);
bool recordShell(const ShellCall& call);

} // namespace platform::seams
