// INI lines: section and key lookup without regard to case, and line-keeping edits.
#include "ini_document.h"

#include "text_file.h"

namespace platform::kernel {
namespace {

std::string_view trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// The name of a "[name]" line, or null for other lines.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.empty() || line[0] != '[')
        return std::nullopt;
    const size_t close = line.find(']');
    return trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// The key of a "key=value" line (not a comment), or null.
std::optional<std::string_view> keyName(std::string_view line) {
    const std::string_view trimmed = trim(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '[')
        return std::nullopt;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(0, equals));
}

} // namespace

IniDocument::IniDocument(std::string_view text) {
    if (const size_t lf = text.find('\n'); lf != std::string_view::npos)
        lineEnd_ = lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
    finalLineEnd_ = text.empty() || text.back() == '\n';
    for (std::string_view line : splitLines(text))
        lines_.emplace_back(line);
}

std::optional<IniDocument::Range> IniDocument::findSection(std::string_view section) const {
    const std::string_view wanted = trim(section);
    for (size_t i = 0; i < lines_.size(); ++i) {
        auto name = sectionName(lines_[i]);
        if (!name || !sameName(*name, wanted))
            continue;
        size_t end = i + 1;
        while (end < lines_.size() && !sectionName(lines_[end]))
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> IniDocument::findKey(const Range& range, std::string_view key) const {
    const std::string_view wanted = trim(key);
    for (size_t i = range.header + 1; i < range.end; ++i)
        if (auto name = keyName(lines_[i]); name && sameName(*name, wanted))
            return i;
    return std::nullopt;
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const {
    auto range = findSection(section);
    if (!range)
        return std::nullopt;
    auto line = findKey(*range, key);
    if (!line)
        return std::nullopt;
    const std::string_view text = lines_[*line];
    std::string_view found = trim(text.substr(text.find('=') + 1));
    if (found.size() >= 2 && (found[0] == '"' || found[0] == '\'') && found.back() == found[0])
        found = found.substr(1, found.size() - 2);
    return std::string(found);
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(trim(key)) + "=" + std::string(value);
    auto range = findSection(section);
    if (!range) {
        if (!lines_.empty() && !trim(lines_.back()).empty())
            lines_.emplace_back();
        lines_.push_back("[" + std::string(trim(section)) + "]");
        lines_.push_back(std::move(line));
        return;
    }
    if (auto existing = findKey(*range, key)) {
        lines_[*existing] = std::move(line);
        return;
    }
    // After the last line of the section that is not blank.
    size_t at = range->end;
    while (at > range->header + 1 && trim(lines_[at - 1]).empty())
        --at;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void IniDocument::removeKey(std::string_view section, std::string_view key) {
    if (auto range = findSection(section))
        if (auto line = findKey(*range, key))
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*line));
}

void IniDocument::removeSection(std::string_view section) {
    if (auto range = findSection(section))
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
}

std::string IniDocument::text() const {
    std::string out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i];
        if (i + 1 < lines_.size() || finalLineEnd_)
            out += lineEnd_;
    }
    return out;
}

} // namespace platform::kernel
