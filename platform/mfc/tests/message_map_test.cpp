// Message maps: handlers get the right arguments, derived maps win, the rest reaches the old procedure.
#include "mfc_fixture.h"

#include <optional>
#include <string>

namespace mfc_test {
namespace {

constexpr UINT kPrivate = WM_USER + 700;

struct Call {
    Call(std::string h, UINT x = 0, UINT y = 0, CPoint p = {}, HWND w = nullptr)
        : handler(std::move(h)), a(x), b(y), point(p), hwnd(w)
    {
    }
    std::string handler;
    UINT a;
    UINT b;
    CPoint point;
    HWND hwnd;
};

class BaseWnd : public CWnd {
public:
    std::vector<Call> calls;

protected:
    afx_msg void OnTimer(UINT_PTR id) { calls.push_back({"base timer", UINT(id)}); }
    afx_msg void OnDestroy() { calls.push_back({"base destroy"}); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

class MappedWnd : public BaseWnd {
protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point) { calls.push_back({"down", flags, 0, point}); }
    afx_msg void OnMouseMove(UINT flags, CPoint point)
    {
        calls.push_back({"move", flags, 0, point});
        BaseWnd::OnMouseMove(flags, point); // the framework's default: the old procedure
    }
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message)
    {
        calls.push_back({"cursor", hit, message, {}, wnd->GetSafeHwnd()});
        return TRUE;
    }
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar)
    {
        calls.push_back({"hscroll", code, pos, {}, bar ? bar->GetSafeHwnd() : nullptr});
    }
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
    {
        calls.push_back({"ctlcolor", kind, 0, {}, wnd->GetSafeHwnd()});
        EXPECT_NE(dc->GetSafeHdc(), nullptr);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    afx_msg void OnTimer(UINT_PTR id) { calls.push_back({"derived timer", UINT(id)}); }
    afx_msg void OnButton() { calls.push_back({"button 1001"}); }
    afx_msg void OnRange(UINT id) { calls.push_back({"button 1010-1012", id}); }
    afx_msg LRESULT OnPrivate(WPARAM w, LPARAM l)
    {
        calls.push_back({"private", UINT(w), UINT(l)});
        return 42;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MappedWnd, BaseWnd)
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_HSCROLL()
ON_WM_CTLCOLOR()
ON_WM_TIMER()
ON_BN_CLICKED(1001, OnButton)
ON_CONTROL_RANGE(BN_CLICKED, 1010, 1012, OnRange)
ON_MESSAGE(kPrivate, OnPrivate)
END_MESSAGE_MAP()

using MfcMessageMapTest = MfcTest;

TEST_F(MfcMessageMapTest, HandlersReceiveUnpackedArguments)
{
    MappedWnd wnd;
    const HWND hwnd = plainWindow(WS_OVERLAPPED);
    const HWND child = plainWindow(WS_CHILD, hwnd, 1001);
    ASSERT_TRUE(wnd.SubclassWindow(hwnd));

    ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 17));
    EXPECT_EQ(::SendMessage(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    ::SendMessage(hwnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 33), reinterpret_cast<LPARAM>(child));
    HDC dc = GetDC(hwnd);
    EXPECT_EQ(::SendMessage(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)),
              reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    ReleaseDC(hwnd, dc);
    EXPECT_EQ(::SendMessage(hwnd, kPrivate, 7, 9), 42);

    ASSERT_EQ(wnd.calls.size(), 5u);
    EXPECT_EQ(wnd.calls[0].handler, "down");
    EXPECT_EQ(wnd.calls[0].a, UINT(MK_LBUTTON | MK_SHIFT));
    EXPECT_EQ(wnd.calls[0].point, CPoint(-5, 17));
    EXPECT_EQ(wnd.calls[1].handler, "cursor");
    EXPECT_EQ(wnd.calls[1].a, UINT(HTCLIENT));
    EXPECT_EQ(wnd.calls[1].b, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(wnd.calls[1].hwnd, child);
    EXPECT_EQ(wnd.calls[2].handler, "hscroll");
    EXPECT_EQ(wnd.calls[2].a, UINT(TB_THUMBTRACK));
    EXPECT_EQ(wnd.calls[2].b, 33u);
    EXPECT_EQ(wnd.calls[2].hwnd, child);
    EXPECT_EQ(wnd.calls[3].handler, "ctlcolor");
    EXPECT_EQ(wnd.calls[3].a, UINT(CTLCOLOR_STATIC));
    EXPECT_EQ(wnd.calls[4].handler, "private");
    EXPECT_EQ(wnd.calls[4].a, 7u);
    EXPECT_EQ(wnd.calls[4].b, 9u);
    // None of these reached the window's own procedure.
    EXPECT_TRUE(seenOf(WM_LBUTTONDOWN).empty());
    EXPECT_TRUE(seenOf(kPrivate).empty());
}

TEST_F(MfcMessageMapTest, CommandsByIdAndRange)
{
    MappedWnd wnd;
    const HWND hwnd = plainWindow(WS_OVERLAPPED);
    ASSERT_TRUE(wnd.SubclassWindow(hwnd));
    ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
    ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(1011, BN_CLICKED), 0);
    ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(1001, 5), 0); // another notification of 1001
    ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(1013, BN_CLICKED), 0);
    ASSERT_EQ(wnd.calls.size(), 2u);
    EXPECT_EQ(wnd.calls[0].handler, "button 1001");
    EXPECT_EQ(wnd.calls[1].handler, "button 1010-1012");
    EXPECT_EQ(wnd.calls[1].a, 1011u);
    // Commands without a line go on to the window's procedure.
    EXPECT_EQ(seenOf(WM_COMMAND).size(), 2u);
}

TEST_F(MfcMessageMapTest, DerivedLinesWinAndBaseLinesStillServe)
{
    MappedWnd wnd;
    const HWND hwnd = plainWindow(WS_OVERLAPPED);
    ASSERT_TRUE(wnd.SubclassWindow(hwnd));
    ::SendMessage(hwnd, WM_TIMER, 3, 0);
    ASSERT_TRUE(wnd.DestroyWindow());
    ASSERT_EQ(wnd.calls.size(), 2u);
    EXPECT_EQ(wnd.calls[0].handler, "derived timer");
    EXPECT_EQ(wnd.calls[0].a, 3u);
    EXPECT_EQ(wnd.calls[1].handler, "base destroy");
    // The binding ends with the window.
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

TEST_F(MfcMessageMapTest, DefaultPassesTheCurrentMessageToTheOldProcedure)
{
    MappedWnd wnd;
    const HWND hwnd = plainWindow(WS_OVERLAPPED);
    ASSERT_TRUE(wnd.SubclassWindow(hwnd));
    seen.clear();
    ::SendMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 6));
    ::SendMessage(hwnd, WM_KEYUP, 'A', 1); // no line: straight to the old procedure
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(seen[0].wParam, WPARAM(MK_LBUTTON));
    EXPECT_EQ(seen[0].lParam, MAKELPARAM(4, 6));
    EXPECT_EQ(seen[1].message, UINT(WM_KEYUP));
    // Unsubclassing gives the window its own procedure back.
    EXPECT_EQ(wnd.UnsubclassWindow(), hwnd);
    ::SendMessage(hwnd, WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(wnd.calls.size(), 1u);
    EXPECT_EQ(seenOf(WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(MfcMessageMapTest, BorrowedWrappersAndPermanentObjects)
{
    const HWND hwnd = plainWindow(WS_OVERLAPPED);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    CWnd* borrowed = CWnd::FromHandle(hwnd);
    ASSERT_NE(borrowed, nullptr);
    EXPECT_EQ(borrowed->GetSafeHwnd(), hwnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    {
        CWnd owner;
        ASSERT_TRUE(owner.Attach(hwnd));
        EXPECT_EQ(CWnd::FromHandle(hwnd), &owner);
        CWnd second;
        EXPECT_FALSE(second.Attach(hwnd)); // one object per window
    }
    // A destroyed object takes its window with it.
    EXPECT_FALSE(IsWindow(hwnd));
}

} // namespace
} // namespace mfc_test
