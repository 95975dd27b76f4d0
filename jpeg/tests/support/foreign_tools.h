// Test helpers for judging files with tools no one here wrote: a temporary folder and running commands.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with everything in it at destruction.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvanel-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Path of `name` inside the folder.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// True when `tool` is found on the PATH.
inline bool haveTool(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs `command` in the shell and returns what it printed on standard output; `ok` tells whether it
// exited with 0.
inline std::string runCommand(const std::string& command, bool& ok) {
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    ok = false;
    if (!pipe)
        return output;
    char chunk[4096];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        output.append(chunk, count);
    ok = pclose(pipe) == 0;
    return output;
}

inline std::vector<unsigned char> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace testsupport
