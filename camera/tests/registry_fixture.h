// Test fixture that puts the registry into a fresh temporary file for each test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include <seams/registry_file.h>
#include <win32/registry.h>

class RegistryFileTest : public ::testing::Test {
protected:
    // The process id keeps runs of two builds at the same time apart; a parameterised test's "/" is kept
    // out of the file name.
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        path_ = std::filesystem::temp_directory_path() /
                ("korvib_registry_" + std::to_string(getpid()) + "_" + name + ".ini");
        std::filesystem::remove(path_);
        platform::seams::setRegistryFile(path_.string());
    }
    void TearDown() override {
        platform::seams::setRegistryFile("");
        std::filesystem::remove(path_);
    }

    // Reads a value of the camera's settings key by its full path (data may be null for a size query).
    static bool ReadCameraValue(const char* name, DWORD* type, void* data, DWORD* size) {
        HKEY key = nullptr;
        if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veltrane\\Camera\\Korvi", 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        const bool found =
            RegQueryValueEx(key, name, nullptr, type, static_cast<BYTE*>(data), size) == ERROR_SUCCESS;
        RegCloseKey(key);
        return found;
    }

private:
    std::filesystem::path path_;
};
