// Test fixture that puts the registry into a fresh temporary file for each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <testing/registry_file.h>

class RegistryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() /
                ("korvib_registry_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 ".ini");
        std::filesystem::remove(path_);
        platform::seams::setRegistryFile(path_.string());
    }
    void TearDown() override {
        platform::seams::setRegistryFile("");
        std::filesystem::remove(path_);
    }

private:
    std::filesystem::path path_;
};
