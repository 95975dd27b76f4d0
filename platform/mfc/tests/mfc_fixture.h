// Test fixture of the framework: plain recording windows, a message pump and dialog templates.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <mfc/mfc.h>

namespace mfc_test {

// One message that reached a window's original procedure.
struct Seen {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MfcTest : public ::testing::Test {
public:
    static std::vector<Seen> seen;

protected:
    void TearDown() override;

    // A window of class "OrvMfcPlain", whose procedure records each message in `seen` and answers it
    // with DefWindowProc.
    HWND plainWindow(DWORD style, HWND parent = nullptr, int id = 0);
    // Runs every waiting message through the framework's loop (pre-translation included).
    void pump();
    std::vector<Seen> seenOf(UINT message) const;

private:
    std::vector<HWND> made_;
};

// A CDialog whose OnInitDialog runs `init` after the base initialisation and returns `initResult`
// (FALSE when the script placed the focus itself).
class ScriptedDialog : public CDialog {
public:
    explicit ScriptedDialog(UINT id, CWnd* parent = nullptr) : CDialog(id, parent) {}
    std::function<void(ScriptedDialog&)> init;
    BOOL initResult = TRUE;
    BOOL OnInitDialog() override;
};

} // namespace mfc_test
