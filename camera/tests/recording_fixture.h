// Fixture for recording tests: a scratch folder, registry values, and the files as ffprobe and ffmpeg see them.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include <testing/picture_tools.h>
#include <win32/registry.h>

#include "camera_fixture.h"

// What ffprobe reads from the first video stream of a file (frames counted by decoding); empty when it
// reads nothing.
inline std::map<std::string, std::string> ProbeVideo(const std::filesystem::path& file) {
    const std::string out = platform::testing::toolOutput(
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=codec_name,width,height,pix_fmt,nb_read_frames -of default=noprint_wrappers=1 '" +
        file.string() + "'");
    std::map<std::string, std::string> fields;
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t end = std::min(out.find('\n', start), out.size());
        const std::string line = out.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            fields[line.substr(0, equals)] = line.substr(equals + 1);
        }
        start = end + 1;
    }
    return fields;
}

// What ffmpeg reports while decoding the whole file, then its exit code: "exit=0\n" for a clean file.
inline std::string DecodeReport(const std::filesystem::path& file) {
    return platform::testing::toolOutput("ffmpeg -nostdin -v error -i '" + file.string() +
                                         "' -f null - 2>&1; echo exit=$?");
}

// The first frame of a file as top-down BGR rows, decoded by ffmpeg; empty when it cannot be read.
inline std::vector<BYTE> DecodeFirstFrame(const std::filesystem::path& file) {
    const std::string out = platform::testing::toolOutput("ffmpeg -v error -i '" + file.string() +
                                                          "' -frames:v 1 -f rawvideo -pix_fmt bgr24 -");
    return std::vector<BYTE>(out.begin(), out.end());
}

inline void __stdcall CountFrames(FrameInfo* info) {
    static_cast<std::atomic<int>*>(info->user)->fetch_add(1);
}

class Recording : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        // The process id keeps runs of two builds at the same time apart.
        folder_ = std::filesystem::temp_directory_path() /
                  ("korvib_rec_" + std::to_string(getpid()) + "_" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        CameraTest::TearDown();
        std::filesystem::remove_all(folder_);
    }
    // Stores a value of the camera's settings key before the device reads it.
    static void StoreSetting(const char* name, const std::string& text) {
        HKEY key = OpenKey();
        RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                      static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    }
    static void StoreSetting(const char* name, DWORD value) {
        HKEY key = OpenKey();
        RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
        RegCloseKey(key);
    }
    std::filesystem::path File(const std::string& name) const { return folder_ / name; }

private:
    static HKEY OpenKey() {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veltrane\\Camera\\Korvi", 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    std::filesystem::path folder_;
};
