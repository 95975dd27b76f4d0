// libFuzzer target: the INI reader behind the private-profile functions, with a lookup and an edit.
#include "ini_document.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::kernel::IniDocument document(text);
    (void)document.value("Orvanel", "strSavePath");
    document.setValue("Orvanel", "nBrightness", "128");
    // What was written must read back from the document's own text.
    platform::kernel::IniDocument reread(document.text());
    if (reread.value("Orvanel", "nBrightness") != "128")
        __builtin_trap();
    return 0;
}
