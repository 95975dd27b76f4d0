// Character boundaries of narrow texts that are UTF-8 or code page 936.
#pragma once

#include <string_view>

namespace platform::mfc {

bool isValidUtf8(std::string_view text);

// Walks a text character by character: valid UTF-8 byte by byte (no sequence can match misaligned),
// anything else as code page 936, where a lead byte 0x81-0xFE takes the next byte with it.
class CharWalker {
public:
    explicit CharWalker(std::string_view text);
    // Length in bytes of the character starting at `pos`.
    size_t charLength(size_t pos) const;

private:
    std::string_view text_;
    bool doubleByte_;
};

} // namespace platform::mfc
