// Test of the Windows-to-Linux path helper.
#include <win32/native_path.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(NativePath, MappingTable) {
    setenv("HOME", "/home/user/", 1);
    struct Case {
        const char* windows;
        const char* native;
    };
    const Case cases[] = {
        {"C:\\pictures\\x.bmp", "/home/user/pictures/x.bmp"},
        {"C:\\", "/home/user/"},
        {"c:\\AF\\", "/home/user/AF/"},
        {"D:/data\\\\a.jpg", "/home/user/data/a.jpg"}, // any drive; runs of separators become one
        {"C:", "/home/user/"},
        {"C:name.txt", "/home/user/name.txt"},
        {"\\work\\bin\\Orvanel.ini", "/work/bin/Orvanel.ini"},
        {"/already/linux", "/already/linux"},
        {"relative\\file.bmp", "relative/file.bmp"},
        {"C:\\照片\\图.bmp", "/home/user/照片/图.bmp"}, // UTF-8 bytes untouched
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::toNativePath(c.windows), c.native) << c.windows;
}

} // namespace
