// Tests of the program file name, folders, attributes, deletion and file handles.
#include <win32/files.h>
#include <win32/native_path.h>
#include <win32/sync.h>

#include <seams/program_path.h>

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include <unistd.h>

namespace {

// Windows form of a Linux path in the temporary folder, as the callers build them.
std::string windowsPath(const std::string& native) {
    std::string path = native;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

TEST(ModuleFileName, BackslashedProgramPathAndShortBuffers) {
    platform::seams::setProgramPath("/opt/orvanel/bin/Orvanel");
    char buffer[512];
    EXPECT_EQ(GetModuleFileName(nullptr, buffer, sizeof buffer), 24u);
    EXPECT_STREQ(buffer, "\\opt\\orvanel\\bin\\Orvanel");
    char small[5];
    EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), 5u);
    EXPECT_STREQ(small, "\\opt");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    platform::seams::setProgramPath("");
    // Without the seam: this test program itself.
    ASSERT_GT(GetModuleFileName(nullptr, buffer, sizeof buffer), 0u);
    EXPECT_NE(std::string(buffer).find("\\win32_kernel_tests"), std::string::npos);
    // The program folder's Windows form leads back to the real file.
    char real[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", real, sizeof real - 1), 0);
    EXPECT_EQ(platform::toNativePath(buffer), real);
}

TEST(Folders, CreateAttributesAndDelete) {
    TempFolder folder;
    const std::string day = windowsPath(folder.file("2026-12-9"));
    EXPECT_EQ(GetFileAttributes(day.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(CreateDirectory((day + "\\").c_str(), nullptr));
    EXPECT_EQ(GetFileAttributes(day.c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(CreateDirectory(day.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectory(windowsPath(folder.file("a/b")).c_str(), nullptr)); // only the last level
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    const std::string file = windowsPath(folder.file("9-5-3.jpg"));
    std::ofstream(folder.file("9-5-3.jpg")) << "x";
    EXPECT_EQ(GetFileAttributes(file.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(GetFileAttributes(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(DeleteFile(day.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(DeleteFile(file.c_str()));
    EXPECT_FALSE(DeleteFile(file.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(FileHandles, WriteThenReadBack) {
    TempFolder folder;
    const std::string path = windowsPath(folder.file("grey.bmp"));
    HANDLE out = CreateFile(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(out, "BM0123456789", 12, &done, nullptr));
    EXPECT_EQ(done, 12u);
    char buffer[32] = {};
    EXPECT_FALSE(ReadFile(out, buffer, 4, &done, nullptr)); // opened for writing only
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(CloseHandle(out));

    HANDLE again = CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(WriteFile(again, "BMxy", 4, &done, nullptr));
    CloseHandle(again);

    HANDLE in = CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(in, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ReadFile(in, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "BMxy"); // truncated by CREATE_ALWAYS
    EXPECT_TRUE(ReadFile(in, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(done, 0u); // end of file
    CloseHandle(in);
    EXPECT_FALSE(ReadFile(in, buffer, 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(FileHandles, OpenFailures) {
    TempFolder folder;
    EXPECT_EQ(CreateFile(windowsPath(folder.file("none.bmp")).c_str(), GENERIC_READ, 0, nullptr,
                         OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(CreateFile(windowsPath(folder.file("no/x.bmp")).c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    std::ofstream(folder.file("there")) << "x";
    EXPECT_EQ(CreateFile(windowsPath(folder.file("there")).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                         nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
}

} // namespace
