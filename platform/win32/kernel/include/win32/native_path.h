// The one mapping from the system's Windows paths to Linux paths, used by every file-opening call.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// "C:\pictures\x.bmp" -> "$HOME/pictures/x.bmp": a drive prefix ("C:", any letter) stands for the user's
// home folder, each run of "\" or "/" becomes one "/", and the bytes stay as they are (UTF-8). A path
// without a drive keeps its own root or stays relative ("\work\bin" -> "/work/bin"). Any thread.
std::string toNativePath(std::string_view windowsPath);

// The user's home folder: $HOME, else the password database's entry; no trailing "/". Any thread.
std::string homeFolder();

} // namespace platform
