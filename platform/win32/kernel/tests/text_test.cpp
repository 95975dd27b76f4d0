// Tests of code-page conversions, FormatMessage texts, LocalAlloc/LocalFree and the system language.
#include <win32/codepage.h>
#include <win32/format_message.h>
#include <win32/language.h>
#include <win32/local_memory.h>

#include <seams/language.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string chineseUtf8 = "最佳焦点 前后 Korvi";
const std::string chineseGbk = "\xD7\xEE\xBC\xD1\xBD\xB9\xB5\xE3 \xC7\xB0\xBA\xF3 Korvi";

std::wstring toWide(UINT page, const std::string& text) {
    int needed = MultiByteToWideChar(page, 0, text.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<size_t>(needed));
    EXPECT_EQ(MultiByteToWideChar(page, 0, text.c_str(), -1, wide.data(), needed), needed);
    return std::wstring(wide.data());
}

std::string toBytes(UINT page, const std::wstring& wide) {
    int needed = WideCharToMultiByte(page, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> bytes(static_cast<size_t>(needed));
    EXPECT_EQ(WideCharToMultiByte(page, 0, wide.c_str(), -1, bytes.data(), needed, nullptr, nullptr), needed);
    return std::string(bytes.data());
}

TEST(CodePage, Gbk936RoundTripOfChineseText) {
    const std::wstring wide = toWide(936, chineseGbk);
    EXPECT_EQ(wide, L"最佳焦点 前后 Korvi");
    EXPECT_EQ(toBytes(936, wide), chineseGbk);
    EXPECT_EQ(platform::gbkToUtf8(chineseGbk), chineseUtf8);
    EXPECT_EQ(platform::utf8ToGbk(chineseUtf8), chineseGbk);
}

TEST(CodePage, AcpFollowsTheSystemLanguage) {
    platform::seams::setSystemLanguage(0x0804);
    EXPECT_EQ(toWide(CP_ACP, chineseGbk), L"最佳焦点 前后 Korvi");
    platform::seams::setSystemLanguage(0x0409);
    EXPECT_EQ(toWide(CP_ACP, chineseUtf8), L"最佳焦点 前后 Korvi");
    platform::seams::setSystemLanguage(std::nullopt);
}

TEST(CodePage, SizesAndShortBuffers) {
    // -1 counts the NUL; an explicit length does not add one.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", -1, nullptr, 0), 3);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", 2, nullptr, 0), 2);
    EXPECT_EQ(WideCharToMultiByte(936, 0, L"中", -1, nullptr, 0, nullptr, nullptr), 3);
    WCHAR wide[2];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -1, wide, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    char bytes[2];
    EXPECT_EQ(WideCharToMultiByte(936, 0, L"中文", -1, bytes, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "a", -1, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePage, InvalidInputIsReplacedOrRefused) {
    WCHAR wide[8];
    // A lone continuation byte, then an overlong form and a truncated sequence.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0,
                                  "a\x80"
                                  "b\xC0\xAF\xE4",
                                  6, wide, 8),
              6);
    EXPECT_EQ(std::wstring(wide, 6), std::wstring(L"a\xFFFD"
                                                  L"b\xFFFD\xFFFD\xFFFD"));
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\x80", 2, wide, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    // A character GBK has no code for takes the default character and is reported.
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    EXPECT_EQ(WideCharToMultiByte(936, 0,
                                  L"a\x263A"
                                  L"b",
                                  3, bytes, 8, nullptr, &usedDefault),
              3);
    EXPECT_EQ(std::string(bytes, 3), "a?b");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"a", 1, bytes, 8, nullptr, &usedDefault), 0);
}

// ShowComError's call: allocate, show, LocalFree.
std::string systemText(DWORD code) {
    LPTSTR text = nullptr;
    DWORD length =
        FormatMessage(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPTSTR>(&text), 0, nullptr);
    if (length == 0)
        return {};
    std::string result(text, length);
    EXPECT_EQ(LocalFree(text), nullptr);
    return result;
}

TEST(FormatMessage, KnownCodesGiveTheirTexts) {
    struct Case {
        DWORD code;
        const char* text;
    };
    const Case cases[] = {
        {static_cast<DWORD>(E_FAIL), "Unspecified error\r\n"},
        {static_cast<DWORD>(E_INVALIDARG), "The parameter is incorrect.\r\n"},
        {static_cast<DWORD>(E_NOINTERFACE), "No such interface supported\r\n"},
        {static_cast<DWORD>(E_POINTER), "Invalid pointer\r\n"},
        {static_cast<DWORD>(E_OUTOFMEMORY),
         "Not enough memory resources are available to complete this operation.\r\n"},
        {static_cast<DWORD>(E_UNEXPECTED), "Catastrophic failure\r\n"},
        {static_cast<DWORD>(E_NOTIMPL), "Not implemented\r\n"},
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)), "Access is denied.\r\n"},
        {0x80040217u, "No combination of intermediate filters could be found to make the connection.\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(systemText(c.code), c.text) << std::hex << c.code;
}

TEST(FormatMessage, UnknownCodesAndBadCallsFail) {
    EXPECT_EQ(systemText(0x8004DEADu), "");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
    char small[8];
    EXPECT_EQ(FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, small, sizeof small,
                            nullptr),
              0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    char fits[64];
    EXPECT_EQ(FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, 5, 0, fits,
                            sizeof fits, nullptr),
              19u);
    EXPECT_STREQ(fits, "Access is denied.\r\n");
    EXPECT_EQ(FormatMessage(0, nullptr, 5, 0, fits, sizeof fits, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(LocalMemory, ZeroedBlocksAndForeignPointers) {
    auto* block = static_cast<BYTE*>(LocalAlloc(LMEM_ZEROINIT, 16));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(block[i], 0);
    EXPECT_EQ(LocalFree(block), nullptr);
    EXPECT_EQ(LocalFree(block), block); // already freed: handed back untouched
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    int local = 0;
    EXPECT_EQ(LocalFree(&local), &local);
    EXPECT_EQ(LocalFree(nullptr), nullptr);
}

TEST(Language, LocaleEnvironmentAndSeam) {
    struct Case {
        const char* lcAll;
        const char* lang;
        LANGID expected;
    };
    const Case cases[] = {
        {"", "zh_CN.UTF-8", 0x0804},  {"", "en_US.UTF-8", 0x0409}, {"zh_CN.GBK", "en_US.UTF-8", 0x0804},
        {"C", "zh_CN.UTF-8", 0x0409}, {"", "zh_TW.UTF-8", 0x0409},
    };
    unsetenv("LC_MESSAGES");
    for (const Case& c : cases) {
        setenv("LC_ALL", c.lcAll, 1);
        setenv("LANG", c.lang, 1);
        EXPECT_EQ(GetSystemDefaultLangID(), c.expected) << c.lcAll << " / " << c.lang;
    }
    platform::seams::setSystemLanguage(0x0804);
    EXPECT_EQ(GetSystemDefaultLangID(), 0x0804);
    platform::seams::setSystemLanguage(std::nullopt);
}

} // namespace
