// Character boundaries of narrow texts that are UTF-8 or code page 936.
#include "text_scan.h"

namespace platform::mfc {

bool isValidUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        if (b < 0x80)
            extra = 0;
        else if (b >= 0xC2 && b <= 0xDF)
            extra = 1;
        else if (b >= 0xE0 && b <= 0xEF)
            extra = 2;
        else if (b >= 0xF0 && b <= 0xF4)
            extra = 3;
        else
            return false;
        if (i + extra >= text.size() && extra != 0)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

CharWalker::CharWalker(std::string_view text) : text_(text), doubleByte_(!isValidUtf8(text)) {}

size_t CharWalker::charLength(size_t pos) const
{
    if (!doubleByte_ || pos + 1 >= text_.size())
        return 1;
    const auto b = static_cast<unsigned char>(text_[pos]);
    return (b >= 0x81 && b <= 0xFE) ? 2 : 1;
}

} // namespace platform::mfc
