// Seam for the program's own file name that GetModuleFileName reports.
#pragma once

#include <string>

namespace platform::seams {

// While not empty, the executable is taken to be this file (a Linux path) instead of /proc/self/exe;
// the program folder follows from it. Test set-up only.
void setProgramPath(std::string path);
std::string programPath();

} // namespace platform::seams
