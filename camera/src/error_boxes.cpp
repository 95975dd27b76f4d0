// The two error boxes: FormatMessage text for the code, caption "Veltrane", no owner.
#include "error_boxes.h"

#include <win32/format_message.h>
#include <win32/kernel.h>
#include <win32/local_memory.h>
#include <win32/user.h>

namespace korvib {
namespace {

void ShowSystemText(DWORD code, UINT style) {
    char* text = nullptr;
    FormatMessage(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
    // A code the system has no text for still shows a box, with an empty text.
    MessageBox(nullptr, text != nullptr ? text : "", "Veltrane", style);
    LocalFree(text);
}

} // namespace

void ShowComError(HRESULT code) {
    ShowSystemText(static_cast<DWORD>(code), MB_OK);
}

void ShowComInfo(DWORD code) {
    ShowSystemText(code, MB_ICONINFORMATION);
}

} // namespace korvib
