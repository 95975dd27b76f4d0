// The main window, the settings dialog with its white-balance warning, and the threshold dialog on an
// English and on a Chinese system: every text shows, in the system's language, and the screens are kept
// to be looked at for clipped or missing glyphs.
#include "program_fixture.h"

#include <thread>

#include "layout.h"

namespace e2e {
namespace {

struct SystemLanguage {
    const char* name;
    const char* locale;
};

class LanguagesTest : public ProgramTest, public ::testing::WithParamInterface<SystemLanguage> {
protected:
    std::vector<std::pair<std::string, std::string>> environment() const override {
        return {{"LC_ALL", GetParam().locale}};
    }
};

TEST_P(LanguagesTest, WindowAndDialogsShowTheirTexts) {
    saveShot("main");
    key("F7");
    std::this_thread::sleep_for(500ms);
    saveShot("main_other_language");
    key("F7");
    std::this_thread::sleep_for(500ms);

    const XWindow settings = opens([&] { click(975, 570); });
    ASSERT_NE(settings.id, 0u);
    // The label column and the radio texts.
    EXPECT_TRUE(hasDetail(x().shot(QRect(in(settings, 8, 30), QSize(90, 130)))));
    EXPECT_TRUE(hasDetail(x().shot(QRect(in(settings, 150, 30), QSize(120, 130)))));
    saveShot("settings");
    const XWindow warning = opens([&] { x().click(in(settings, 310, 170)); });
    ASSERT_NE(warning.id, 0u);
    saveShot("warning");
    key("Escape");
    ASSERT_TRUE(closes(warning));
    key("Escape");
    ASSERT_TRUE(closes(settings));

    key("F5");
    std::this_thread::sleep_for(800ms);
    click(layout::kThumbLeft + layout::kThumbWidth / 2, layout::kThumbTop + layout::kThumbHeight / 2);
    std::this_thread::sleep_for(500ms);
    saveShot("edit");
    const XWindow threshold = opens([&] { click(960, 570); });
    ASSERT_NE(threshold.id, 0u);
    EXPECT_TRUE(hasDetail(x().shot(QRect(in(threshold, 10, 8), QSize(80, 16)))));
    saveShot("threshold");
    key("Escape");
    ASSERT_TRUE(closes(threshold));
}

INSTANTIATE_TEST_SUITE_P(System, LanguagesTest,
                         ::testing::Values(SystemLanguage{"English", "en_US.UTF-8"},
                                           SystemLanguage{"Chinese", "zh_CN.UTF-8"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace e2e
