// Seam for the system's default language that GetSystemDefaultLangID reports.
#pragma once

#include <win32/types.h>

#include <optional>

namespace platform::seams {

// While set, GetSystemDefaultLangID reports this id (0x0804 Chinese, 0x0409 English) instead of the one
// taken from the environment. Test set-up only.
void setSystemLanguage(std::optional<WORD> languageId);
std::optional<WORD> systemLanguage();

} // namespace platform::seams
