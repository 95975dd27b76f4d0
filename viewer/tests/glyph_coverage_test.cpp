// The installed CJK font has a glyph for every character of every text the program and the libraries it
// shows can put on the screen, in both languages.
#include <QFontInfo>
#include <QFontMetrics>
#include <QList>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "program_fixture.h"

namespace {

// The family every face the program asks for resolves to.
constexpr char kCjkFamily[] = "WenQuanYi Zen Hei";

// The folders whose string literals reach the screen: the viewer, the camera library's dialogs and the
// message boxes.
const char* const kShownSources[] = {"viewer/src", "camera/src", "platform/win32/user/src"};

// The contents of the string literals of C++ source `text`, comments and character literals skipped.
std::string StringLiterals(const std::string& text) {
    std::string literals;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "//") == 0 || text.compare(i, 2, "/*") == 0) {
            const bool line = text[i + 1] == '/';
            const size_t end = text.find(line ? "\n" : "*/", i + 2);
            if (end == std::string::npos)
                break;
            i = end + (line ? 1 : 2);
        } else if (text[i] == '"' || text[i] == '\'') {
            const char quote = text[i++];
            for (; i < text.size() && text[i] != quote; ++i) {
                if (text[i] == '\\')
                    ++i;
                else if (quote == '"')
                    literals += text[i];
            }
            ++i;
        } else {
            ++i;
        }
    }
    return literals;
}

// Every character outside ASCII in the sources' literals, and printable ASCII.
std::set<char32_t> ShownCharacters() {
    std::set<char32_t> shown;
    for (char32_t c = 0x20; c < 0x7F; ++c)
        shown.insert(c);
    for (const char* folder : kShownSources)
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(ORVANEL_SOURCE_DIR) / folder)) {
            std::ifstream file(entry.path());
            std::stringstream text;
            text << file.rdbuf();
            for (char32_t c : QString::fromUtf8(StringLiterals(text.str())).toUcs4())
                if (c >= 0x80)
                    shown.insert(c);
        }
    return shown;
}

} // namespace

TEST_F(ProgramTest, TheCjkFontCoversEveryShownCharacter) {
    RunDialog([&](COrvanelDlg& dlg) {
        const QFont font(QString::fromLatin1(kCjkFamily));
        ASSERT_EQ(QFontInfo(font).family(), QString::fromLatin1(kCjkFamily)) << "the CJK font is not installed";
        const QFontMetrics metrics(font);
        const std::set<char32_t> shown = ShownCharacters();
        EXPECT_TRUE(shown.count(U'图') && shown.count(U'—') && shown.count(U'、')) << "the literals were not read";
        for (char32_t c : shown)
            EXPECT_TRUE(metrics.inFontUcs4(c)) << "no glyph for U+" << std::hex << static_cast<uint32_t>(c);
        dlg.SendMessage(WM_CLOSE);
    });
}
