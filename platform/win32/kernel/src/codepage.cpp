// Code-page conversions between UTF-8 or GBK bytes and UTF-32 wide characters.
#include <win32/codepage.h>
#include <win32/language.h>

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <optional>

namespace {

constexpr char32_t replacement = 0xFFFD;

enum class Page { Utf8, Gbk };

std::optional<Page> pageOf(UINT codePage) {
    if (codePage == CP_ACP)
        return GetSystemDefaultLangID() == 0x0804 ? Page::Gbk : Page::Utf8;
    if (codePage == CP_UTF8)
        return Page::Utf8;
    if (codePage == 936)
        return Page::Gbk;
    return std::nullopt;
}

// Decoded text, and whether some input could not be decoded.
struct Decoded {
    std::u32string text;
    bool lossy = false;
};

// Encoded text, and whether some character could not be encoded.
struct Encoded {
    std::string text;
    bool lossy = false;
};

Decoded decodeUtf8(std::string_view in) {
    Decoded out;
    size_t i = 0;
    while (i < in.size()) {
        const auto lead = static_cast<unsigned char>(in[i]);
        int extra = lead < 0x80                   ? 0
                    : lead >= 0xC2 && lead < 0xE0 ? 1
                    : lead >= 0xE0 && lead < 0xF0 ? 2
                    : lead >= 0xF0 && lead < 0xF5 ? 3
                                                  : -1;
        char32_t cp = extra == 0 ? lead : extra == 1 ? lead & 0x1F : extra == 2 ? lead & 0x0F : lead & 0x07;
        bool valid = extra >= 0 && i + static_cast<size_t>(extra) < in.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(in[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not characters.
        static constexpr char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        valid = valid && cp >= minimum[extra] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (valid) {
            out.text += cp;
            i += extra + 1;
        } else {
            out.text += replacement;
            out.lossy = true;
            ++i;
        }
    }
    return out;
}

Encoded encodeUtf8(std::u32string_view in) {
    Encoded out;
    for (char32_t cp : in) {
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            cp = replacement;
            out.lossy = true;
        }
        if (cp < 0x80) {
            out.text += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out.text += static_cast<char>(0xC0 | (cp >> 6));
            out.text += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out.text += static_cast<char>(0xE0 | (cp >> 12));
            out.text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out.text += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out.text += static_cast<char>(0xF0 | (cp >> 18));
            out.text += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out.text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out.text += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

// One iconv conversion descriptor for the length of a call.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok())
            iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of [in, in + inLeft) as it can into `out`; returns false at an input unit that
    // cannot be converted (or is cut off), leaving `in` on it.
    bool run(const char*& in, size_t& inLeft, std::string& out) {
        char chunk[256];
        while (inLeft > 0) {
            char* dst = chunk;
            size_t dstLeft = sizeof chunk;
            const size_t result = iconv(cd_, const_cast<char**>(&in), &inLeft, &dst, &dstLeft);
            out.append(chunk, static_cast<size_t>(dst - chunk));
            if (result == static_cast<size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

Decoded decodeGbk(std::string_view in) {
    Decoded out;
    Iconv cd("UTF-32LE", "CP936");
    if (!cd.ok()) {
        out.lossy = true;
        return out;
    }
    const char* src = in.data();
    size_t left = in.size();
    std::string utf32;
    while (!cd.run(src, left, utf32)) {
        // Keep what was converted, replace the bad byte and go on after it.
        utf32.append("\xFD\xFF\x00\x00", 4);
        out.lossy = true;
        ++src;
        --left;
    }
    for (size_t k = 0; k + 4 <= utf32.size(); k += 4) {
        char32_t cp = 0;
        for (int b = 3; b >= 0; --b)
            cp = (cp << 8) | static_cast<unsigned char>(utf32[k + b]);
        out.text += cp;
    }
    return out;
}

Encoded encodeGbk(std::u32string_view in, std::string_view defaultChar) {
    Encoded out;
    Iconv cd("CP936", "UTF-32LE");
    if (!cd.ok()) {
        out.lossy = true;
        return out;
    }
    std::string utf32;
    for (char32_t cp : in)
        for (int b = 0; b < 4; ++b)
            utf32 += static_cast<char>((cp >> (8 * b)) & 0xFF);
    const char* src = utf32.data();
    size_t left = utf32.size();
    while (!cd.run(src, left, out.text)) {
        out.text += defaultChar;
        out.lossy = true;
        src += 4;
        left -= 4;
    }
    return out;
}

Decoded decode(Page page, std::string_view in) {
    return page == Page::Gbk ? decodeGbk(in) : decodeUtf8(in);
}

int fail(DWORD error) {
    SetLastError(error);
    return 0;
}

} // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide, int capacity) {
    const std::optional<Page> page = pageOf(codePage);
    if (!page || !text || length == 0 || length < -1 || capacity < 0 || (capacity > 0 && !wide) ||
        (flags & ~MB_ERR_INVALID_CHARS) != 0)
        return fail(ERROR_INVALID_PARAMETER);
    const size_t bytes = length == -1 ? std::strlen(text) + 1 : static_cast<size_t>(length);
    const Decoded decoded = decode(*page, std::string_view(text, bytes));
    if (decoded.lossy && (flags & MB_ERR_INVALID_CHARS))
        return fail(ERROR_NO_UNICODE_TRANSLATION);
    const size_t count = decoded.text.size();
    if (capacity == 0)
        return static_cast<int>(count);
    if (count > static_cast<size_t>(capacity))
        return fail(ERROR_INSUFFICIENT_BUFFER);
    for (size_t k = 0; k < count; ++k)
        wide[k] = static_cast<WCHAR>(decoded.text[k]);
    return static_cast<int>(count);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int length, LPSTR text, int capacity,
                        LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    const std::optional<Page> page = pageOf(codePage);
    if (!page || !wide || length == 0 || length < -1 || capacity < 0 || (capacity > 0 && !text) ||
        flags != 0 || (*page == Page::Utf8 && (defaultChar || usedDefaultChar)))
        return fail(ERROR_INVALID_PARAMETER);
    const size_t count = length == -1 ? std::wcslen(wide) + 1 : static_cast<size_t>(length);
    std::u32string chars(count, U'\0');
    for (size_t k = 0; k < count; ++k)
        chars[k] = static_cast<char32_t>(wide[k]);
    const Encoded encoded =
        *page == Page::Gbk ? encodeGbk(chars, defaultChar ? defaultChar : "?") : encodeUtf8(chars);
    if (usedDefaultChar)
        *usedDefaultChar = encoded.lossy ? TRUE : FALSE;
    const size_t bytes = encoded.text.size();
    if (capacity == 0)
        return static_cast<int>(bytes);
    if (bytes > static_cast<size_t>(capacity))
        return fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(text, encoded.text.data(), bytes);
    return static_cast<int>(bytes);
}

namespace platform {

std::string gbkToUtf8(std::string_view gbk) {
    return encodeUtf8(decodeGbk(gbk).text).text;
}

std::string utf8ToGbk(std::string_view utf8) {
    return encodeGbk(decodeUtf8(utf8).text, "?").text;
}

} // namespace platform
