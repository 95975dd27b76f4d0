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

    // The view's pixels after every waiting message ran; nothing is invalidated here.
    std::vector<COLORREF> Shown()
    {
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessage(&msg);
        return ClientPixels();
    }

    CWnd main_;
};

// Range 0 to 63 over 126 pixels: the value is trunc(63 x x / 125), set by the press, each drag step
// with the button held and the release inside, each posting WM_LEVEL_CHANGED to the main window.
TEST_F(LevelBar, PressDragAndReleaseSetTheValue)
{
    Resize(126, 20);
    view.SetRange(0, 63);
    Press(50, 5);
    EXPECT_EQ(view.m_nPos, 25);
    EXPECT_EQ(view.m_bButtonDown, 1);
    Move(125, 5);
    EXPECT_EQ(view.m_nPos, 63);
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

struct ValueCase {
    const char* name;
    int min, max, width, x;
    int expected;
};

// Values start at the minimum in the left column and reach exactly the maximum in the right one; a drag
// past either end gives that end's value; a bar without a range answers its minimum.
TEST_F(LevelBar, ValuesCoverTheWholeRange)
{
    const ValueCase cases[] = {
        {"exposure, left column", 1, 2000, 100, 0, 1},
        {"exposure, right column", 1, 2000, 100, 99, 2000},
        {"exposure, middle", 1, 2000, 100, 33, 1 + 1999 * 33 / 99},
        {"offset range", 10, 20, 101, 50, 15},
        {"past the left end", 1, 2000, 100, -40, 1},
        {"past the right end", 1, 2000, 100, 180, 2000},
        {"empty range", 5, 5, 50, 20, 5},
        {"inverted range", 5, 3, 50, 20, 5},
    };
    for (const ValueCase& c : cases) {
        Resize(c.width, 20);
        view.SetRange(c.min, c.max);
        Press(0, 5);
        EXPECT_EQ(view.m_nPos, c.min) << c.name;
        Move(c.x, 5);
        EXPECT_EQ(view.m_nPos, c.expected) << c.name;
        Release(c.x, 5);
        EXPECT_EQ(view.m_bButtonDown, 0) << c.name;
    }
    LevelMessages();
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

// Bands are counted from the minimum; a bar without a range shows only its background.
TEST_F(LevelBar, BandsStartAtTheMinimum)
{
    Resize(100, 10);
    view.SetColors(RGB(0, 0, 0), RGB(100, 200, 50), RGB(7, 7, 7));
    view.SetRange(10, 20);
    view.SetPos(14);
    std::vector<COLORREF> shot = Paint();
    EXPECT_EQ(shot[5 * 100 + 0], RGB(0, 0, 0));
    EXPECT_EQ(shot[5 * 100 + 45], RGB(40, 80, 20));
    EXPECT_EQ(shot[5 * 100 + 50], RGB(7, 7, 7));

    for (const auto& [min, max] : {std::pair{5, 5}, std::pair{5, 3}}) {
        view.SetRange(min, max);
        view.SetPos(min);
        shot = Paint();
        EXPECT_EQ(shot[5 * 100 + 0], RGB(7, 7, 7)) << min << ".." << max;
        EXPECT_EQ(shot[5 * 100 + 99], RGB(7, 7, 7)) << min << ".." << max;
    }
}

// SetColors and SetRange store their values without a repaint: the bar keeps its pixels through the
// message loop until SetPos repaints it.
TEST_F(LevelBar, ColorsAndRangeWaitForTheNextRepaint)
{
    Resize(100, 10);
    view.SetRange(0, 10);
    view.SetColors(RGB(0, 0, 0), RGB(100, 200, 50), RGB(7, 7, 7));
    view.SetPos(4);
    const std::vector<COLORREF> before = Paint();
    view.SetColors(RGB(50, 50, 50), RGB(50, 50, 50), RGB(9, 9, 9));
    view.SetRange(0, 20);
    EXPECT_EQ(Shown(), before);
    view.SetPos(4);
    const std::vector<COLORREF> after = Shown();
    EXPECT_EQ(after[5 * 100 + 20], RGB(50, 50, 50));
    EXPECT_EQ(after[5 * 100 + 30], RGB(9, 9, 9)) << "five bands of the range 0 to 20";
}

} // namespace
