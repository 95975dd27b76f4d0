// CBmpStatic as a level bar: the value a press or drag gives, WM_LEVEL_CHANGED, and the bands painted.
#include "bmp_static_fixture.h"

#include "orvanel_app.h"

namespace {

class LevelBar : public viewtest::ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        view.m_bBar = 1;
        main_.Attach(::GetParent(view));
        AfxGetApp()->m_pMainWnd = &main_;
    }
    void TearDown() override
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        main_.Detach();
        ViewTest::TearDown();
    }
    // WM_LEVEL_CHANGED messages waiting for the main window, taken off its queue.
    int LevelMessages()
    {
        int count = 0;
        MSG msg;
        while (::PeekMessage(&msg, main_, WM_LEVEL_CHANGED, WM_LEVEL_CHANGED, PM_REMOVE))
            ++count;
        return count;
    }

    CWnd main_;
};

// Range 0 to 63 over 126 pixels: the value is trunc(63 / 126 x x), set by the press, each drag step
// with the button held and the release inside, each posting WM_LEVEL_CHANGED to the main window.
TEST_F(LevelBar, PressDragAndReleaseSetTheValue)
{
    Resize(126, 20);
    view.SetRange(0, 63);
    Press(50, 5);
    EXPECT_EQ(view.m_nPos, 25);
    EXPECT_EQ(view.m_bButtonDown, 1);
    Move(125, 5);
    EXPECT_EQ(view.m_nPos, 62);
    EXPECT_EQ(view.m_ptUp.x, 125);
    Release(10, 5);
    EXPECT_EQ(view.m_nPos, 5);
    EXPECT_EQ(view.m_bButtonDown, 0);
    EXPECT_EQ(LevelMessages(), 3);

    Move(100, 5);
    EXPECT_EQ(view.m_nPos, 5) << "no drag after the release";
    Press(20, 5);
    Move(60, 5, 0);
    EXPECT_EQ(view.m_nPos, 10) << "no drag without the button";
    Release(200, 5);
    EXPECT_EQ(view.m_bButtonDown, 0) << "a release outside ends the drag";
    EXPECT_EQ(view.m_nPos, 10);
    EXPECT_EQ(LevelMessages(), 1);
}

// The bands run from the start colour towards the end colour, one per value up to the position, over
// the background; a position out of range paints the bar plain white.
TEST_F(LevelBar, PaintsBandsOfTheRamp)
{
    Resize(100, 10);
    view.SetRange(0, 10);
    view.SetColors(RGB(0, 0, 0), RGB(100, 200, 50), RGB(7, 7, 7));
    view.SetPos(4);
    std::vector<COLORREF> shot = Paint();
    EXPECT_EQ(shot[5 * 100 + 0], RGB(0, 0, 0));
    EXPECT_EQ(shot[5 * 100 + 45], RGB(40, 80, 20));
    EXPECT_EQ(shot[5 * 100 + 49], RGB(40, 80, 20));
    EXPECT_EQ(shot[5 * 100 + 50], RGB(7, 7, 7));

    Resize(30, 10);
    view.SetRange(0, 15);
    view.SetPos(0);
    shot = Paint();
    EXPECT_EQ(shot[5 * 30 + 1], RGB(0, 0, 0));
    EXPECT_EQ(shot[5 * 30 + 2], RGB(7, 7, 7));

    for (const int outside : {-1, 16}) {
        view.SetPos(outside);
        shot = Paint();
        EXPECT_EQ(shot[5 * 30 + 0], RGB(255, 255, 255));
        EXPECT_EQ(shot[5 * 30 + 29], RGB(255, 255, 255));
    }
}

} // namespace
