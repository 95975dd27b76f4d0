// CString::Format on vsnprintf.
#include <mfc/cstring.h>

#include <cstdarg>
#include <cstdio>

void CString::FormatText(LPCTSTR format, ...)
{
    if (!format) {
        str_.clear();
        return;
    }
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (n < 0) {
        // A format the C library refuses leaves no half-formatted text behind.
        str_.clear();
    } else {
        std::string out(static_cast<size_t>(n) + 1, '\0');
        std::vsnprintf(out.data(), out.size(), format, again);
        out.resize(n);
        str_ = std::move(out);
    }
    va_end(again);
}
