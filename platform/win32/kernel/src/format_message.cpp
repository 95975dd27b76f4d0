// FormatMessage over a table of the texts of the codes the system can meet.
#include <win32/format_message.h>
#include <win32/local_memory.h>

#include <cstring>
#include <string_view>

namespace {

struct MessageText {
    DWORD code;
    const char* text;
};

// System error codes (also reached as HRESULTs 0x8007xxxx).
constexpr MessageText systemTexts[] = {
    {0, "The operation completed successfully."},
    {1, "Incorrect function."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {13, "The data is invalid."},
    {14, "Not enough memory resources are available to complete this operation."},
    {21, "The device is not ready."},
    {29, "The system cannot write to the specified device."},
    {30, "The system cannot read from the specified device."},
    {31, "A device attached to the system is not functioning."},
    {38, "Reached the end of the file."},
    {50, "The request is not supported."},
    {80, "The file exists."},
    {87, "The parameter is incorrect."},
    {122, "The data area passed to a system call is too small."},
    {183, "Cannot create a file when that file already exists."},
    {234, "More data is available."},
    {259, "No more data is available."},
    {1113, "No mapping for the Unicode character exists in the target multi-byte code page."},
    {1400, "Invalid window handle."},
    {1460, "This operation returned because the timeout period expired."},
};

// COM and media-graph HRESULTs.
constexpr MessageText hresultTexts[] = {
    {0x80004001u, "Not implemented"},
    {0x80004002u, "No such interface supported"},
    {0x80004003u, "Invalid pointer"},
    {0x80004004u, "Operation aborted"},
    {0x80004005u, "Unspecified error"},
    {0x8000FFFFu, "Catastrophic failure"},
    {0x80020005u, "Type mismatch."},
    {0x80040110u, "Class does not support aggregation (or class object is remote)"},
    {0x80040154u, "Class not registered"},
    {0x800401E3u, "Operation unavailable"},
    {0x800401E5u, "The object could not be found."},
    {0x800401F0u, "CoInitialize has not been called."},
    {0x80040200u, "An invalid media type was specified."},
    {0x80040201u, "The operation cannot be performed because the object has no owner."},
    {0x80040204u, "The pin is already connected."},
    {0x80040207u, "No acceptable types could be found for the connection."},
    {0x80040208u, "The pin direction is not valid for this operation."},
    {0x80040209u, "The operation cannot be performed because the pins are not connected."},
    {0x8004020Au, "No sample buffer allocator is available."},
    {0x80040216u, "An object or name was not found."},
    {0x80040217u, "No combination of intermediate filters could be found to make the connection."},
    {0x80040218u, "No combination of filters could be found to render the stream."},
    {0x80040224u, "The operation could not be performed because the filter graph is not stopped."},
    {0x80040227u, "The operation could not be performed because the filter is in the wrong state."},
    {0x8004022Au, "The media type is not accepted."},
    {0x8004023Du, "A filter with this name is already in the filter graph."},
    {0x80040249u, "The sample has no time stamp."},
    {0x8004025Fu, "The filter is not in the filter graph."},
    {0x80040266u, "The pins cannot connect because they have no transport in common."},
};

template <size_t N> const char* find(const MessageText (&table)[N], DWORD code) {
    for (const MessageText& entry : table)
        if (entry.code == code)
            return entry.text;
    return nullptr;
}

const char* messageFor(DWORD code) {
    if ((code & 0xFFFF0000u) == 0x80070000u)
        return find(systemTexts, code & 0xFFFFu);
    if (const char* text = find(systemTexts, code))
        return text;
    return find(hresultTexts, code);
}

} // namespace

DWORD FormatMessage(DWORD flags, LPCVOID source, DWORD messageId, DWORD, LPTSTR buffer, DWORD size,
                    va_list*) {
    constexpr DWORD known =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || (flags & ~known) != 0 || source || !buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* found = messageFor(messageId);
    if (!found) {
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    std::string_view text(found);
    const DWORD length = static_cast<DWORD>(text.size() + 2); // with "\r\n"
    char* target = buffer;
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        target = static_cast<char*>(LocalAlloc(LMEM_FIXED, length + 1 > size ? length + 1 : size));
        if (!target)
            return 0;
        *reinterpret_cast<LPTSTR*>(buffer) = target;
    } else if (size < length + 1) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(target, text.data(), text.size());
    std::memcpy(target + text.size(), "\r\n", 3);
    return length;
}
