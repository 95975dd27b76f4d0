// GetSystemDefaultLangID from the locale environment or the test seam.
#include <win32/language.h>

#include <seams/language.h>

#include <cstdlib>
#include <cstring>

namespace {

// The locale that governs messages: the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty.
const char* messageLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return "";
}

} // namespace

LANGID GetSystemDefaultLangID() {
    if (auto language = platform::seams::systemLanguage())
        return *language;
    return std::strncmp(messageLocale(), "zh_CN", 5) == 0 ? LANGID{0x0804} : LANGID{0x0409};
}
