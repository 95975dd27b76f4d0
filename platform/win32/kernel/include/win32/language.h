// The system's default language.
#pragma once

#include <win32/kernel_base.h>

// 0x0804 (Chinese, simplified) when LC_ALL, else LC_MESSAGES, else LANG names zh_CN; 0x0409 (English)
// otherwise; the test seam overrides both. Any thread.
LANGID GetSystemDefaultLangID();
