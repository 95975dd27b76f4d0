// Tests of the file-backed registry: persistence, value types, sizes, rights and the key paths.
#include <win32/registry.h>

#include <seams/registry_file.h>

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override { platform::seams::setRegistryFile(folder.file("registry.ini")); }
    void TearDown() override { platform::seams::setRegistryFile(""); }

    HKEY create(HKEY root, const char* path, DWORD* disposition = nullptr, REGSAM access = KEY_ALL_ACCESS) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                                 disposition),
                  ERROR_SUCCESS);
        return key;
    }
    static LSTATUS setDword(HKEY key, const char* name, DWORD value) {
        return RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    }
    static LSTATUS setText(HKEY key, const char* name, const char* text) {
        return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                             static_cast<DWORD>(std::strlen(text) + 1));
    }
    // The text of the registry file, or of another file.
    std::string fileText(const std::string& path = "") const {
        std::ifstream in(path.empty() ? folder.file("registry.ini") : path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempFolder folder;
};

// The camera library's key: created on the way, its values there again after closing and reopening.
TEST_F(Registry, ValuesSurviveCloseAndReopen) {
    DWORD disposition = 0;
    HKEY key = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veltrane\\Camera\\Korvi", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(setDword(key, "RGain", 31), ERROR_SUCCESS);
    EXPECT_EQ(setText(key, "Compressor", "MJPEG \"fast\"\\ 压缩"), ERROR_SUCCESS);
    EXPECT_EQ(setText(key, "Empty", ""), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    // Other spelling, other case: the same key.
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software\\VELTRANE\\camera\\korvi", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, value = 0, size = 4;
    EXPECT_EQ(RegQueryValueEx(key, "rgain", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, 31u);
    char text[64] = {};
    size = sizeof text;
    EXPECT_EQ(RegQueryValueEx(key, "Compressor", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_STREQ(text, "MJPEG \"fast\"\\ 压缩");
    EXPECT_EQ(size, std::strlen(text) + 1);
    size = sizeof text;
    EXPECT_EQ(RegQueryValueEx(key, "Empty", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 1u); // only the NUL
    RegCloseKey(key);

    HKEY again = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veltrane\\Camera\\Korvi", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(again);
    EXPECT_NE(fileText().find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrane\\Camera\\Korvi]"), std::string::npos);
}

TEST_F(Registry, SizeQueriesAndShortBuffers) {
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Test");
    setText(key, "Name", "USB 2820 Video");
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 15u);
    char small[4];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 15u);
    // A DWORD read of a longer value, as ReadRegDword does with its 4-byte variable.
    DWORD number = 0;
    size = 4;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(RegQueryValueEx(key, "Missing", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size),
              ERROR_FILE_NOT_FOUND);
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueEx(key, "Name", &reserved, nullptr, nullptr, &size), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(Registry, MissingKeysRightsAndHandles) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\USB2800\\Camera", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);

    HKEY readOnly = create(HKEY_LOCAL_MACHINE, "Software\\USB2800\\Camera", nullptr, KEY_READ);
    EXPECT_EQ(setDword(readOnly, "x", 1), ERROR_ACCESS_DENIED);
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyEx(readOnly, "New", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                             &sub, nullptr),
              ERROR_ACCESS_DENIED);
    HKEY writeOnly = nullptr;
    ASSERT_EQ(RegOpenKeyEx(readOnly, nullptr, 0, KEY_SET_VALUE, &writeOnly), ERROR_SUCCESS);
    EXPECT_EQ(setDword(writeOnly, "x", 1), ERROR_SUCCESS);
    DWORD size = 4;
    EXPECT_EQ(RegQueryValueEx(writeOnly, "x", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegQueryValueEx(readOnly, "x", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);

    EXPECT_EQ(RegCloseKey(readOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_INVALID_HANDLE);
    EXPECT_EQ(setDword(readOnly, "x", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(writeOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    // Roots are apart: the same path under another root does not exist.
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\USB2800\\Camera", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
}

// A file written by hand (or damaged) still gives the values it holds; unreadable lines are skipped.
TEST_F(Registry, ReadsHandWrittenFileAndSkipsBadLines) {
    {
        std::ofstream out(folder.file("registry.ini"));
        out << "[HKEY_LOCAL_MACHINE\\Software\\USB2800\\Camera]\r\n"
               "\"RealDSName\"=sz:\"My Cam\\x0a2\"\r\n"
               "\"Broken\"=dword:12\r\n"
               "garbage line\r\n"
               "\"Raw\"=hex(3):01,ff\r\n";
    }
    HKEY key = nullptr;
    // The key above it exists because a stored key lies below it.
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\USB2800", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\USB2800\\Camera", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    char text[32] = {};
    DWORD size = sizeof text;
    EXPECT_EQ(RegQueryValueEx(key, "RealDSName", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(text, "My Cam\n2");
    EXPECT_EQ(RegQueryValueEx(key, "Broken", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    DWORD type = 0;
    BYTE raw[4] = {};
    size = sizeof raw;
    EXPECT_EQ(RegQueryValueEx(key, "Raw", nullptr, &type, raw, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(raw[1], 0xff);
    RegCloseKey(key);
}

// Without the seam: $ORVANEL_REGISTRY, else the configuration folder, whose missing folders are made.
TEST_F(Registry, EnvironmentNamesTheFileWhenNoSeamIsSet) {
    platform::seams::setRegistryFile("");
    const std::string named = folder.file("env/registry.ini");
    const std::string config = folder.file("config");
    setenv("ORVANEL_REGISTRY", named.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Env");
    setDword(key, "v", 7);
    RegCloseKey(key);
    unsetenv("ORVANEL_REGISTRY");
    key = create(HKEY_CURRENT_USER, "Software\\Config");
    RegCloseKey(key);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_NE(fileText(named).find("\"v\"=dword:00000007"), std::string::npos);
    EXPECT_NE(fileText(config + "/orvanel/registry.ini").find("[HKEY_CURRENT_USER\\Software\\Config]"),
              std::string::npos);
}

TEST_F(Registry, UnwritableFileFailsAndKeepsTheStore) {
    // A plain file where the registry's folder would have to be.
    std::ofstream(folder.file("plain")) << "x";
    platform::seams::setRegistryFile(folder.file("plain/registry.ini"));
    HKEY key = nullptr;
    EXPECT_NE(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\X", 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(key, nullptr);
}

} // namespace
