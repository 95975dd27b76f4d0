// An INI file as its lines, with Windows' lookup rules and edits that keep every other line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::kernel {

class IniDocument {
public:
    // Splits `text` into lines (LF or CRLF; the first line ending found is kept for new lines).
    explicit IniDocument(std::string_view text);

    // The trimmed value of the first `key` in the first `section`, one pair of enclosing quotes removed.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Replaces the first such key's line, or adds "key=value" after the section's last entry, or adds the
    // section at the end.
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    void removeKey(std::string_view section, std::string_view key);
    void removeSection(std::string_view section);

    std::string text() const;

private:
    struct Range {
        size_t header; // index of the section's header line
        size_t end;    // one past its last line
    };
    std::optional<Range> findSection(std::string_view section) const;
    std::optional<size_t> findKey(const Range& range, std::string_view key) const;

    std::vector<std::string> lines_;
    std::string lineEnd_ = "\r\n";
    bool finalLineEnd_ = true;
};

} // namespace platform::kernel
