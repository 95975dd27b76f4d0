// Test fixture of the framework: plain recording windows, a message pump and dialog templates.
#include "mfc_fixture.h"

#include <win32/message_loop.h>

namespace mfc_test {

std::vector<Seen> MfcTest::seen;

namespace {

LRESULT CALLBACK plainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MfcTest::seen.push_back({hwnd, message, wParam, lParam});
    return DefWindowProc(hwnd, message, wParam, lParam);
}

} // namespace

void MfcTest::TearDown()
{
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
        if (IsWindow(*it))
            DestroyWindow(*it);
    }
    pump();
    seen.clear();
}

HWND MfcTest::plainWindow(DWORD style, HWND parent, int id)
{
    static const bool registered = [] {
        WNDCLASS cls{};
        cls.lpfnWndProc = plainProc;
        cls.lpszClassName = "OrvMfcPlain";
        return RegisterClass(&cls) != 0;
    }();
    EXPECT_TRUE(registered);
    const HWND hwnd = CreateWindowEx(0, "OrvMfcPlain", "", style, 0, 0, 200, 100, parent,
                                     reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    made_.push_back(hwnd);
    return hwnd;
}

void MfcTest::pump()
{
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
        platform::user::pumpMessage();
}

std::vector<Seen> MfcTest::seenOf(UINT message) const
{
    std::vector<Seen> out;
    for (const Seen& s : seen) {
        if (s.message == message)
            out.push_back(s);
    }
    return out;
}

BOOL ScriptedDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (init)
        init(*this);
    return initResult;
}

} // namespace mfc_test
