// Seam for the file that holds the registry.
#pragma once

#include <string>

namespace platform::seams {

// While not empty, the registry lives in this file (a Linux path) instead of the one named by
// ORVANEL_REGISTRY or the default under the user's configuration folder. Test set-up only.
void setRegistryFile(std::string path);
std::string registryFile();

} // namespace platform::seams
