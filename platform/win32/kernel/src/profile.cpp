// The private-profile functions over IniDocument and whole-file reads and writes.
#include "ini_document.h"
#include "text_file.h"

#include <win32/native_path.h>
#include <win32/profile.h>

#include <cstring>
#include <new>

using platform::kernel::IniDocument;

namespace {

constexpr size_t maxProfileBytes = 16u << 20;

// The document of the file; null with the last error set when it cannot be read.
std::optional<IniDocument> readProfile(LPCTSTR fileName) {
    DWORD error = ERROR_SUCCESS;
    auto text = platform::kernel::readWholeFile(platform::toNativePath(fileName), maxProfileBytes, error);
    if (!text) {
        SetLastError(error);
        return std::nullopt;
    }
    return IniDocument(*text);
}

std::optional<std::string> readValue(LPCTSTR section, LPCTSTR key, LPCTSTR fileName) {
    if (!fileName)
        return std::nullopt;
    auto document = readProfile(fileName);
    if (!document)
        return std::nullopt;
    return document->value(section, key);
}

// Sign, then "0x" and hex digits or decimal digits, up to the first other character; wraps at 32 bits.
UINT parseProfileInt(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    UINT base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    UINT value = 0;
    for (char c : text) {
        UINT digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<UINT>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<UINT>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<UINT>(c - 'A' + 10);
        else
            break;
        value = value * base + digit;
    }
    return negative ? 0u - value : value;
}

bool hasLineBreak(LPCTSTR text) {
    return text && std::strpbrk(text, "\r\n") != nullptr;
}

} // namespace

DWORD GetPrivateProfileString(LPCTSTR section, LPCTSTR key, LPCTSTR defaultValue, LPTSTR buffer, DWORD size,
                              LPCTSTR fileName) {
    if (!buffer || size == 0)
        return 0;
    buffer[0] = '\0';
    if (!section || !key) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    try {
        std::string text;
        if (auto found = readValue(section, key, fileName)) {
            text = *found;
        } else {
            text = defaultValue ? defaultValue : "";
            text.erase(text.find_last_not_of(' ') + 1);
        }
        const size_t copied = text.size() < size - 1 ? text.size() : size - 1;
        std::memcpy(buffer, text.data(), copied);
        buffer[copied] = '\0';
        return static_cast<DWORD>(copied);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
}

UINT GetPrivateProfileInt(LPCTSTR section, LPCTSTR key, INT defaultValue, LPCTSTR fileName) {
    if (!section || !key)
        return static_cast<UINT>(defaultValue);
    try {
        auto found = readValue(section, key, fileName);
        return found ? parseProfileInt(*found) : static_cast<UINT>(defaultValue);
    } catch (const std::bad_alloc&) {
        return static_cast<UINT>(defaultValue);
    }
}

BOOL WritePrivateProfileString(LPCTSTR section, LPCTSTR key, LPCTSTR value, LPCTSTR fileName) {
    if (!section || !fileName || hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    try {
        auto document = readProfile(fileName);
        if (!document) {
            if (GetLastError() != ERROR_FILE_NOT_FOUND)
                return FALSE;
            document.emplace("");
        }
        if (!key)
            document->removeSection(section);
        else if (!value)
            document->removeKey(section, key);
        else
            document->setValue(section, key, value);
        DWORD error = ERROR_SUCCESS;
        if (!platform::kernel::writeWholeFile(platform::toNativePath(fileName), document->text(), false,
                                              error)) {
            SetLastError(error);
            return FALSE;
        }
        return TRUE;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
}
