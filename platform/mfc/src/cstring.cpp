// CString: construction, parts, searching, case, comparison, buffers and operators.
#include <mfc/cstring.h>

#include <algorithm>
#include <cstring>

#include "text_scan.h"

using platform::mfc::CharWalker;

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Applies `change` to the first byte of every character.
template <typename Change>
void changeCase(std::string& text, Change change)
{
    const CharWalker walker(text);
    for (size_t i = 0; i < text.size(); i += walker.charLength(i)) {
        if (walker.charLength(i) == 1)
            text[i] = change(text[i]);
    }
}

} // namespace

CString::CString(LPCTSTR text) : str_(text ? text : "") {}

CString::CString(LPCTSTR text, int length) : str_(text && length > 0 ? std::string(text, length) : std::string()) {}

CString::CString(TCHAR ch, int repeat) : str_(repeat > 0 ? static_cast<size_t>(repeat) : 0, ch) {}

TCHAR CString::GetAt(int index) const
{
    return (index >= 0 && index < GetLength()) ? str_[index] : '\0';
}

void CString::SetAt(int index, TCHAR ch)
{
    if (index >= 0 && index < GetLength())
        str_[index] = ch;
}

CString CString::Left(int count) const { return CString(str_.substr(0, std::clamp(count, 0, GetLength()))); }

CString CString::Right(int count) const
{
    const int n = std::clamp(count, 0, GetLength());
    return CString(str_.substr(str_.size() - n));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const
{
    const int from = std::clamp(first, 0, GetLength());
    return CString(str_.substr(from, std::clamp(count, 0, GetLength() - from)));
}

int CString::Find(TCHAR ch, int start) const
{
    const char needle[2] = {ch, '\0'};
    return Find(needle, start);
}

int CString::Find(LPCTSTR sub, int start) const
{
    if (!sub || start < 0)
        return -1;
    const size_t n = std::strlen(sub);
    const CharWalker walker(str_);
    for (size_t i = 0; i + n <= str_.size(); i += walker.charLength(i)) {
        if (static_cast<int>(i) >= start && str_.compare(i, n, sub) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int CString::ReverseFind(TCHAR ch) const
{
    int found = -1;
    const CharWalker walker(str_);
    for (size_t i = 0; i < str_.size(); i += walker.charLength(i)) {
        if (str_[i] == ch && walker.charLength(i) == 1)
            found = static_cast<int>(i);
    }
    return found;
}

void CString::MakeUpper() { changeCase(str_, upper); }

void CString::MakeLower() { changeCase(str_, lower); }

int CString::Compare(LPCTSTR other) const { return std::strcmp(str_.c_str(), other ? other : ""); }

int CString::CompareNoCase(LPCTSTR other) const
{
    const auto* a = reinterpret_cast<const unsigned char*>(str_.c_str());
    const auto* b = reinterpret_cast<const unsigned char*>(other ? other : "");
    for (;; ++a, ++b) {
        const int ca = static_cast<unsigned char>(lower(static_cast<char>(*a)));
        const int cb = static_cast<unsigned char>(lower(static_cast<char>(*b)));
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

LPTSTR CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        str_.resize(minLength);
    return str_.data();
}

void CString::ReleaseBuffer(int newLength)
{
    const size_t n = newLength < 0 ? std::strlen(str_.c_str()) : std::min<size_t>(newLength, str_.size());
    str_.resize(n);
}

CString& CString::operator=(LPCTSTR text)
{
    str_ = text ? text : "";
    return *this;
}

CString& CString::operator=(TCHAR ch)
{
    str_.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& text)
{
    str_ += text.str_;
    return *this;
}

CString& CString::operator+=(LPCTSTR text)
{
    if (text)
        str_ += text;
    return *this;
}

CString& CString::operator+=(TCHAR ch)
{
    str_ += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) { return CString(a.str() + b.str()); }
CString operator+(const CString& a, LPCTSTR b) { return CString(a) += b; }
CString operator+(LPCTSTR a, const CString& b) { return CString(a) += b; }
CString operator+(const CString& a, TCHAR b) { return CString(a) += b; }
CString operator+(TCHAR a, const CString& b) { return CString(a) += b; }

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }
