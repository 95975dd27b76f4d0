// Tests of the private-profile functions against the Windows rules their callers rely on.
#include <win32/profile.h>

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class Profile : public ::testing::Test {
protected:
    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string read() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string get(const char* section, const char* key, const char* def = "none") {
        char buffer[256];
        GetPrivateProfileString(section, key, def, buffer, sizeof buffer, path.c_str());
        return buffer;
    }

    TempFolder folder;
    std::string path = folder.file("Orvanel.ini");
};

TEST_F(Profile, ReadingRulesTable) {
    write("; settings\r\n"
          "[Orvanel]\r\n"
          "strSavePath=C:\\\r\n"
          "  Spaced Key  =   padded value  \r\n"
          "quoted=\"  kept blanks  \"\r\n"
          "single='x'\r\n"
          "half=\"open\r\n"
          "empty=\r\n"
          ";nBrightness=1\r\n"
          "dup=first\r\n"
          "dup=second\r\n"
          "[ other ]\r\n"
          "strSavePath=D:\\pictures\\\r\n"
          "[Orvanel]\r\n"
          "late=ignored\r\n");
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"Orvanel", "strSavePath", "C:\\"},        // backslash is a plain character
        {"ORVANEL", "STRSAVEPATH", "C:\\"},        // names without regard to case
        {"Orvanel", "spaced key", "padded value"}, // names and values trimmed
        {"Orvanel", "quoted", "  kept blanks  "},  // one pair of quotes removed
        {"Orvanel", "single", "x"},
        {"Orvanel", "half", "\"open"},      // an unmatched quote stays
        {"Orvanel", "empty", ""},           // present but empty: not the default
        {"Orvanel", "nBrightness", "none"}, // commented out
        {"Orvanel", "dup", "first"},
        {"other", "strSavePath", "D:\\pictures\\"}, // section name trimmed
        {"Orvanel", "late", "none"},                // only the first section of a name counts
        {"Missing", "strSavePath", "none"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(get(c.section, c.key), c.expected) << c.section << "/" << c.key;
}

TEST_F(Profile, DefaultsSizesAndMissingFile) {
    char buffer[4];
    EXPECT_EQ(GetPrivateProfileString("Orvanel", "strSavePath", "C:\\", buffer, sizeof buffer, path.c_str()),
              3u);
    EXPECT_STREQ(buffer, "C:\\");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(get("Orvanel", "x", "trailing   "), "trailing");
    EXPECT_EQ(get("Orvanel", "x", nullptr), "");
    write("[s]\nk=abcdef\n");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", buffer, sizeof buffer, path.c_str()), 3u);
    EXPECT_STREQ(buffer, "abc"); // cut to the buffer
    EXPECT_EQ(GetPrivateProfileString(nullptr, "k", "", buffer, sizeof buffer, path.c_str()), 0u);
}

TEST_F(Profile, IntegerParsingTable) {
    write("[Orvanel]\nplain=300\nneg=-5\nplus=+7\nhex=0x1F\ntail=12abc\nword=abc\nempty=\nspaced= 42 \n");
    struct Case {
        const char* key;
        UINT expected;
    };
    const Case cases[] = {
        {"plain", 300},  {"neg", static_cast<UINT>(-5)},
        {"plus", 7},     {"hex", 31},
        {"tail", 12},    {"word", 0},
        {"empty", 0},    {"spaced", 42},
        {"missing", 80},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetPrivateProfileInt("Orvanel", c.key, 80, path.c_str()), c.expected) << c.key;
    EXPECT_EQ(GetPrivateProfileInt("Orvanel", "plain", 80, folder.file("none.ini").c_str()), 80u);
}

TEST_F(Profile, WritingCreatesAndKeepsOtherLines) {
    // A new file: section and key created.
    EXPECT_TRUE(WritePrivateProfileString("Orvanel", "nBrightness", "80", path.c_str()));
    EXPECT_EQ(read(), "[Orvanel]\r\nnBrightness=80\r\n");

    write("; keep me\n[Orvanel]\nnBrightness=1\n\n[Other]\nx=1\n");
    EXPECT_TRUE(WritePrivateProfileString("orvanel", "NBRIGHTNESS", "300", path.c_str()));
    EXPECT_TRUE(WritePrivateProfileString("Orvanel", "strSavePath", "C:\\", path.c_str()));
    EXPECT_TRUE(WritePrivateProfileString("New", "k", "v", path.c_str()));
    EXPECT_EQ(read(),
              "; keep me\n[Orvanel]\nNBRIGHTNESS=300\nstrSavePath=C:\\\n\n[Other]\nx=1\n\n[New]\nk=v\n");
    EXPECT_EQ(get("Orvanel", "strSavePath"), "C:\\");

    // NULL value removes the key, NULL key the section.
    EXPECT_TRUE(WritePrivateProfileString("Orvanel", "strSavePath", nullptr, path.c_str()));
    EXPECT_TRUE(WritePrivateProfileString("Other", nullptr, nullptr, path.c_str()));
    EXPECT_EQ(read(), "; keep me\n[Orvanel]\nNBRIGHTNESS=300\n\n[New]\nk=v\n");
}

// A stray carriage return is white space: a write into such a section must read back from it, not from a
// second section of the same name added behind it.
TEST_F(Profile, StrayCarriageReturnsAreWhiteSpace) {
    write("\n[Orvanel\r\r");
    EXPECT_TRUE(WritePrivateProfileString("Orvanel", "nBrightness", "128", path.c_str()));
    EXPECT_EQ(get("Orvanel", "nBrightness"), "128");
}

TEST_F(Profile, WriteErrors) {
    const std::string missing = folder.file("no/such.ini");
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", missing.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "two\nlines", path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(WritePrivateProfileString(nullptr, "k", "v", path.c_str()));
}

} // namespace
