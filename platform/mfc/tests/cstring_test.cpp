// CString: formatting, searching across double-byte characters, parts, case and buffers.
#include <gtest/gtest.h>

#include <mfc/cstring.h>

namespace {

TEST(MfcCStringTest, FormatPassesCStringArgumentsAsText)
{
    CString h("09"), m("05");
    CString s;
    s.Format("%s:%s:%02d", h, m, 3);
    EXPECT_STREQ(s, "09:05:03");
    s.Format("%d-%d-%d", 2026, 12, 9);
    EXPECT_STREQ(s, "2026-12-9");
    s.Format("%s", static_cast<LPCTSTR>(s)); // formatting from its own text
    EXPECT_STREQ(s, "2026-12-9");
}

struct FindCase {
    const char* name;
    const char* text;
    char ch;
    int find;
    int reverseFind;
};

// "\x81\x5C" is one code-page-936 character whose second byte is a backslash; "\xE6\x95\xB0" is a
// UTF-8 character.
const FindCase kFindCases[] = {
    {"plain", "a\\b\\c", '\\', 1, 3},
    {"absent", "abc", '\\', -1, -1},
    {"gbkTrailByteIsNoMatch", "a\x81\x5C" "b\\c", '\\', 4, 4},
    {"gbkOnlyTrailByte", "\x81\x5C", '\\', -1, -1},
    {"utf8", "\xE6\x95\xB0\\x", '\\', 3, 3},
    {"empty", "", 'a', -1, -1},
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }

class MfcCStringFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(MfcCStringFind, FindsWholeCharactersOnly)
{
    const FindCase& c = GetParam();
    const CString s(c.text);
    EXPECT_EQ(s.Find(c.ch), c.find);
    EXPECT_EQ(s.ReverseFind(c.ch), c.reverseFind);
}

INSTANTIATE_TEST_SUITE_P(Cases, MfcCStringFind, ::testing::ValuesIn(kFindCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MfcCStringTest, FindSubstringFromStart)
{
    const CString s("Orvanel.ini Orvanel.bmp");
    EXPECT_EQ(s.Find("Orvanel"), 0);
    EXPECT_EQ(s.Find("Orvanel", 1), 12);
    EXPECT_EQ(s.Find(".bmp"), 19);
    EXPECT_EQ(s.Find("xyz"), -1);
    EXPECT_EQ(s.Find("a", 100), -1);
}

TEST(MfcCStringTest, PartsAreClampedToTheString)
{
    const CString s("readme.txt");
    EXPECT_STREQ(s.Left(6), "readme");
    EXPECT_STREQ(s.Right(3), "txt");
    EXPECT_STREQ(s.Mid(7), "txt");
    EXPECT_STREQ(s.Mid(2, 3), "adm");
    EXPECT_STREQ(s.Left(50), "readme.txt");
    EXPECT_STREQ(s.Right(-1), "");
    EXPECT_STREQ(s.Mid(20), "");
    EXPECT_STREQ(s.Mid(-3, 2), "re");
    EXPECT_EQ(s.GetAt(99), '\0');
}

TEST(MfcCStringTest, CaseChangesLeaveDoubleByteCharactersAlone)
{
    CString s("ab\x81" "aJPG"); // 0x81 0x61 is one character
    s.MakeUpper();
    EXPECT_STREQ(s, "AB\x81" "aJPG");
    s.MakeLower();
    EXPECT_STREQ(s, "ab\x81" "ajpg");
    EXPECT_EQ(CString("JPG").CompareNoCase("jpg"), 0);
    EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
    EXPECT_GT(CString("b").Compare("a"), 0);
}

TEST(MfcCStringTest, BufferWritesSetTheLength)
{
    CString s("old");
    char* buffer = s.GetBuffer(10);
    std::snprintf(buffer, 11, "%s", "new text");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 8);
    EXPECT_STREQ(s, "new text");
    s.GetBuffer(0);
    s.ReleaseBuffer(3);
    EXPECT_STREQ(s, "new");
}

TEST(MfcCStringTest, OperatorsJoinAndCompare)
{
    const CString path = CString("C:\\") + "2026-12-9" + '\\';
    EXPECT_STREQ(path, "C:\\2026-12-9\\");
    EXPECT_TRUE(path == "C:\\2026-12-9\\");
    EXPECT_TRUE("x" + CString("y") == CString("xy"));
    CString s;
    s += "a";
    s += CString("b");
    s += 'c';
    EXPECT_STREQ(s, "abc");
    EXPECT_TRUE(CString(static_cast<LPCTSTR>(nullptr)).IsEmpty());
}

} // namespace
