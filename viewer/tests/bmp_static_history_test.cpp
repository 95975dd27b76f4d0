// CBmpStatic edit history: eleven entries, undo and redo at the edges, Reset, and the picture commands' pushes.
#include "bmp_static_fixture.h"

#include <vector>

namespace {

using viewtest::PlaceColor;

std::vector<BYTE> PixelsOf(CBmpStatic& view)
{
    const BYTE* p = view.GetBmpPixel();
    return p ? std::vector<BYTE>(p, p + view.GetBmpSize()) : std::vector<BYTE>();
}

class EditHistory : public viewtest::ViewTest {
protected:
    // Loads a picture, pushes it as entry 0 and returns its pixels.
    std::vector<BYTE> LoadAndSnapshot()
    {
        Load(24, 18, 0, 1);
        EXPECT_EQ(view.Snapshot(), 1);
        return PixelsOf(view);
    }
};

// Twelve pushing commands keep the eleven newest pictures; ten Undo steps reach the picture after the
// second command and an eleventh does nothing; Redo walks back up; Reset brings back the loaded picture
// as the one entry.
TEST_F(EditHistory, ElevenNewestEntriesUndoRedoAndReset)
{
    std::vector<std::vector<BYTE>> states{LoadAndSnapshot()};
    for (int i = 0; i < 12; ++i) {
        ASSERT_EQ(view.Contrast(12, 0), 1);
        states.push_back(PixelsOf(view));
        ASSERT_NE(states.back(), states[states.size() - 2]) << "each step must change the picture";
    }
    EXPECT_EQ(view.m_nHistoryCount, 11);
    EXPECT_EQ(view.m_nHistoryIndex, 10);

    const int paintsBefore = parentPaints;
    for (int i = 0; i < 10; ++i)
        view.Undo();
    EXPECT_GT(parentPaints, paintsBefore) << "each Undo redraws";
    EXPECT_EQ(view.m_nHistoryIndex, 0);
    EXPECT_EQ(PixelsOf(view), states[2]);
    const int paints = parentPaints;
    view.Undo();
    EXPECT_EQ(PixelsOf(view), states[2]);
    EXPECT_EQ(parentPaints, paints) << "an Undo that does nothing does not redraw";

    for (int i = 0; i < 10; ++i)
        view.Redo();
    EXPECT_EQ(PixelsOf(view), states[12]);
    const int paintsAtTop = parentPaints;
    view.Redo();
    EXPECT_EQ(view.m_nHistoryIndex, 10);
    EXPECT_EQ(parentPaints, paintsAtTop);

    view.RestoreOriginal();
    EXPECT_EQ(PixelsOf(view), states[0]);
    EXPECT_EQ(view.m_nHistoryCount, 1);
    EXPECT_EQ(view.m_nHistoryIndex, 0);
    view.Redo();
    EXPECT_EQ(PixelsOf(view), states[0]);
}

// A command after two Undo steps drops the two newer entries: Redo has nothing left to do.
TEST_F(EditHistory, CommandAfterUndoDropsTheNewerEntries)
{
    LoadAndSnapshot();
    for (int i = 0; i < 4; ++i)
        view.Negative();
    view.Undo();
    view.Undo();
    view.Contrast(30, 0);
    const std::vector<BYTE> newest = PixelsOf(view);
    EXPECT_EQ(view.m_nHistoryIndex, 3);
    EXPECT_EQ(view.m_nHistoryCount, 4);
    view.Redo();
    EXPECT_EQ(PixelsOf(view), newest);
    view.Undo();
    view.Redo();
    EXPECT_EQ(PixelsOf(view), newest) << "the newest entry is a copy, not the shown picture";
}

// Commands that cannot fail push even when they change nothing; without a picture nothing happens.
TEST_F(EditHistory, RefusedCommandsStillPushAndEmptyViewsDoNothing)
{
    LoadAndSnapshot();
    ASSERT_EQ(view.ConvertToBW(), 1);
    EXPECT_EQ(view.GetBitCount(), 8);
    EXPECT_EQ(view.ConvertToBW(), 0);
    EXPECT_EQ(view.m_nHistoryCount, 3);
    EXPECT_EQ(view.Threshold(100), 1);
    EXPECT_EQ(view.GetBitCount(), 1);
    EXPECT_EQ(view.Threshold(100), 1);
    EXPECT_EQ(view.m_nHistoryCount, 5);
    view.Undo();
    view.Undo();
    EXPECT_EQ(view.GetBitCount(), 8);

    view.Clear();
    EXPECT_EQ(view.Negative(), 0);
    EXPECT_EQ(view.Snapshot(), 0);
    view.Undo();
    view.RestoreOriginal();
    EXPECT_EQ(view.m_nHistoryCount, 0);
    EXPECT_EQ(view.GetBmpPixel(), nullptr);
}

// After Undo and Reset the picture is still shown at the view's zoom: every picture pixel a 2 x 2 block.
TEST_F(EditHistory, ReloadedEntriesKeepTheViewsZoom)
{
    LoadAndSnapshot();
    view.SetZoom(2);
    view.Negative();
    for (auto step : {&CBmpStatic::Undo, &CBmpStatic::RestoreOriginal}) {
        (view.*step)();
        const std::vector<COLORREF> shot = Paint();
        // A 24 x 18 picture at zoom 2 takes 48 x 36 pixels centred in 240 x 180: from (96, 72).
        EXPECT_EQ(shot[72 * 240 + 96], PlaceColor(0, 0));
        EXPECT_EQ(shot[73 * 240 + 97], PlaceColor(0, 0));
        EXPECT_EQ(shot[74 * 240 + 98], PlaceColor(1, 1));
        EXPECT_EQ(shot[107 * 240 + 143], PlaceColor(23, 17));
    }
}

} // namespace
