// CString: the framework's narrow string of code page 936 or UTF-8 bytes.
#pragma once

#include <string>
#include <type_traits>

#include <win32/types.h>

// Lengths and positions count bytes. Searching and case changes step over whole characters: a text
// that is not valid UTF-8 is read as code page 936, whose second bytes may look like ASCII. Any thread
// (one object is used by one thread at a time).
class CString {
public:
    CString() = default;
    CString(LPCTSTR text); // null gives an empty string
    CString(LPCTSTR text, int length);
    CString(TCHAR ch, int repeat = 1);
    CString(const std::string& text) : str_(text) {}

    int GetLength() const { return static_cast<int>(str_.size()); }
    BOOL IsEmpty() const { return str_.empty(); }
    void Empty() { str_.clear(); }
    TCHAR GetAt(int index) const;
    void SetAt(int index, TCHAR ch);
    TCHAR operator[](int index) const { return GetAt(index); }
    operator LPCTSTR() const { return str_.c_str(); }

    // Parts, clamped to the string.
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    // Byte position of the first (last) match at or after `start`, or -1.
    int Find(TCHAR ch, int start = 0) const;
    int Find(LPCTSTR sub, int start = 0) const;
    int ReverseFind(TCHAR ch) const;

    // ASCII letters only; other characters stay as they are.
    void MakeUpper();
    void MakeLower();
    // <0, 0, >0 as strcmp; CompareNoCase ignores the case of ASCII letters.
    int Compare(LPCTSTR other) const;
    int CompareNoCase(LPCTSTR other) const;

    // printf formatting; CString arguments are passed as their text.
    template <typename... Args>
    void Format(LPCTSTR format, const Args&... args)
    {
        FormatText(format, formatArg(args)...);
    }

    // A writable buffer of at least `minLength` bytes plus a terminating NUL; ReleaseBuffer ends the
    // writing and sets the length (-1: up to the first NUL).
    LPTSTR GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);

    CString& operator=(LPCTSTR text);
    CString& operator=(TCHAR ch);
    CString& operator+=(const CString& text);
    CString& operator+=(LPCTSTR text);
    CString& operator+=(TCHAR ch);

    const std::string& str() const { return str_; }

private:
    template <typename T>
    static auto formatArg(const T& value)
    {
        if constexpr (std::is_same_v<T, CString>)
            return static_cast<LPCTSTR>(value);
        else
            return value;
    }
    void FormatText(LPCTSTR format, ...);

    std::string str_;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCTSTR b);
CString operator+(LPCTSTR a, const CString& b);
CString operator+(const CString& a, TCHAR b);
CString operator+(TCHAR a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCTSTR b);
bool operator<(const CString& a, const CString& b);
