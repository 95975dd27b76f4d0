// Text form of the registry file: sections of keys, one value per line.
#include "registry_format.h"

#include "text_file.h"

#include <cstdio>
#include <optional>

namespace platform::kernel {
namespace {

constexpr char hexDigits[] = "0123456789abcdef";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            out += "\\x";
            out += hexDigits[byte >> 4];
            out += hexDigits[byte & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

// Reads a quoted text at the start of `line` and drops it from `line`; null when malformed.
std::optional<std::string> takeQuoted(std::string_view& line) {
    if (line.empty() || line[0] != '"')
        return std::nullopt;
    std::string out;
    size_t i = 1;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] != '\\') {
            out += line[i];
            continue;
        }
        if (i + 1 >= line.size())
            return std::nullopt;
        if (line[i + 1] == 'x') {
            const int high = i + 3 < line.size() ? hexValue(line[i + 2]) : -1;
            const int low = high >= 0 ? hexValue(line[i + 3]) : -1;
            if (low < 0)
                return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 3;
        } else {
            out += line[i + 1];
            ++i;
        }
    }
    if (i >= line.size())
        return std::nullopt;
    line.remove_prefix(i + 1);
    return out;
}

std::optional<std::string> parseHexBytes(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        if (text.size() < 2 || hexValue(text[0]) < 0 || hexValue(text[1]) < 0)
            return std::nullopt;
        out += static_cast<char>(hexValue(text[0]) * 16 + hexValue(text[1]));
        text.remove_prefix(2);
        if (!text.empty()) {
            if (text[0] != ',')
                return std::nullopt;
            text.remove_prefix(1);
        }
    }
    return out;
}

// Parses the part after '=' of a value line.
std::optional<RegistryValue> parseData(std::string_view text) {
    RegistryValue value;
    if (text.starts_with("dword:") && text.size() == 14) {
        unsigned number = 0;
        for (char c : text.substr(6)) {
            if (hexValue(c) < 0)
                return std::nullopt;
            number = number * 16 + static_cast<unsigned>(hexValue(c));
        }
        value.type = REG_DWORD;
        for (int b = 0; b < 4; ++b)
            value.data += static_cast<char>((number >> (8 * b)) & 0xff);
        return value;
    }
    if (text.starts_with("sz:")) {
        text.remove_prefix(3);
        auto quoted = takeQuoted(text);
        if (!quoted || !text.empty())
            return std::nullopt;
        value.type = REG_SZ;
        value.data = *quoted + '\0';
        return value;
    }
    unsigned type = 0;
    int used = 0;
    std::string head(text.substr(0, 20));
    if (std::sscanf(head.c_str(), "hex(%u):%n", &type, &used) == 1 && used > 0) {
        auto bytes = parseHexBytes(text.substr(static_cast<size_t>(used)));
        if (!bytes)
            return std::nullopt;
        value.type = type;
        value.data = *bytes;
        return value;
    }
    return std::nullopt;
}

bool isText(const RegistryValue& value) {
    return value.type == REG_SZ && !value.data.empty() && value.data.find('\0') == value.data.size() - 1;
}

} // namespace

std::string foldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string formatRegistry(const RegistryKeys& keys) {
    std::string out = "; Orvanel registry\n";
    for (const auto& [folded, key] : keys) {
        out += "\n[" + key.path + "]\n";
        for (const RegistryValue& value : key.values) {
            appendQuoted(out, value.name);
            out += '=';
            if (value.type == REG_DWORD && value.data.size() == 4) {
                unsigned number = 0;
                for (int b = 3; b >= 0; --b)
                    number = number * 256 + static_cast<unsigned char>(value.data[b]);
                char text[16];
                std::snprintf(text, sizeof text, "dword:%08x", number);
                out += text;
            } else if (isText(value)) {
                out += "sz:";
                appendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
            } else {
                out += "hex(" + std::to_string(value.type) + "):";
                for (size_t i = 0; i < value.data.size(); ++i) {
                    const auto byte = static_cast<unsigned char>(value.data[i]);
                    if (i)
                        out += ',';
                    out += hexDigits[byte >> 4];
                    out += hexDigits[byte & 15];
                }
            }
            out += '\n';
        }
    }
    return out;
}

RegistryKeys parseRegistry(std::string_view text) {
    RegistryKeys keys;
    RegistryKey* current = nullptr;
    for (std::string_view line : splitLines(text)) {
        if (line.starts_with('[')) {
            const size_t close = line.rfind(']');
            current = nullptr;
            if (close == std::string_view::npos || close < 2)
                continue;
            const std::string path(line.substr(1, close - 1));
            RegistryKey& key = keys[foldCase(path)];
            if (key.path.empty())
                key.path = path;
            current = &key;
            continue;
        }
        if (!current || !line.starts_with('"'))
            continue;
        auto name = takeQuoted(line);
        if (!name || !line.starts_with('='))
            continue;
        auto value = parseData(line.substr(1));
        if (!value)
            continue;
        value->name = *name;
        current->values.push_back(std::move(*value));
    }
    return keys;
}

} // namespace platform::kernel
