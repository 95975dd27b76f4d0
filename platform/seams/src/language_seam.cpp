// Storage of the system-language seam.
#include <seams/language.h>

#include <atomic>

namespace platform::seams {
namespace {
// Bit 16 marks a set value; the low 16 bits hold it.
std::atomic<uint32_t> language{0};
constexpr uint32_t isSet = 0x10000;
} // namespace

void setSystemLanguage(std::optional<WORD> languageId) {
    language = languageId ? (isSet | *languageId) : 0;
}

std::optional<WORD> systemLanguage() {
    const uint32_t value = language;
    if (!(value & isSet))
        return std::nullopt;
    return static_cast<WORD>(value & 0xFFFF);
}

} // namespace platform::seams
