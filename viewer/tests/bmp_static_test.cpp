// CBmpStatic as an image view: where the picture is drawn at zoom 1 to 4, how far it pans, and the mouse
// rules.
#include "bmp_static_fixture.h"

#include <measure/mensaro.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <cstdio>
#include <stdlib.h>
#include <unistd.h>

#include <sstream>
#include <string>

namespace {

using viewtest::kMarker;
using viewtest::PlaceColor;

constexpr int kClientWidth = 240; // divisible by every zoom, so zoomed pixels are whole blocks
constexpr int kClientHeight = 180;

struct LayoutCase {
    const char* name;
    int width, height, zoom, stretch;
    RECT drawn;     // where the picture lands in the client area
    POINT panLimit; // the largest pan origin
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

class ImageViewLayout : public viewtest::ViewTest, public testing::WithParamInterface<LayoutCase> {};

// The first wrong client pixel: inside `drawn` the picture from the origin at the zoom (or stretched over
// the client area in Fit mode, checked at its corners), outside it the untouched marker.
std::string FirstWrongPixel(const std::vector<COLORREF>& shot, const LayoutCase& c, POINT origin) {
    for (int y = 0; y < kClientHeight; ++y)
        for (int x = 0; x < kClientWidth; ++x) {
            const CRect drawn(c.drawn);
            COLORREF want = kMarker;
            if (c.stretch) {
                if (x % (kClientWidth - 1) != 0 || y % (kClientHeight - 1) != 0)
                    continue;
                want = PlaceColor(x ? c.width - 1 : 0, y ? c.height - 1 : 0);
            } else if (drawn.PtInRect(CPoint(x, y))) {
                want = PlaceColor(origin.x + (x - drawn.left) / c.zoom, origin.y + (y - drawn.top) / c.zoom);
            }
            const COLORREF got = shot[static_cast<size_t>(y * kClientWidth + x)];
            if (got != want) {
                std::ostringstream out;
                out << "(" << x << ", " << y << ") is " << std::hex << got << ", not " << want;
                return out.str();
            }
        }
    return {};
}

// Dragging far up and left reaches exactly the pan limit, and the picture is drawn from there; dragging
// back down and right returns to origin 0. The parent hears of every step.
TEST_P(ImageViewLayout, DrawsInPlaceAndPansToTheLimit) {
    const LayoutCase& c = GetParam();
    Load(c.width, c.height, c.stretch, c.zoom);
    EXPECT_EQ(FirstWrongPixel(Paint(), c, POINT{0, 0}), "");

    for (int i = 0; i < 4; ++i)
        Drag(POINT{239, 179}, POINT{0, 0});
    EXPECT_EQ(view.m_nPanX, c.panLimit.x);
    EXPECT_EQ(view.m_nPanY, c.panLimit.y);
    EXPECT_EQ(FirstWrongPixel(Paint(), c, c.panLimit), "");
    if (!c.stretch) {
        ASSERT_FALSE(panned.empty());
        EXPECT_EQ(panned.back().x, c.panLimit.x);
        EXPECT_EQ(panned.back().y, c.panLimit.y);
    }

    Drag(POINT{0, 0}, POINT{239, 179});
    Drag(POINT{0, 0}, POINT{239, 179});
    EXPECT_EQ(view.m_nPanX, 0);
    EXPECT_EQ(view.m_nPanY, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Zooms, ImageViewLayout,
    testing::Values(LayoutCase{"LargeAtZoom1", 400, 300, 1, 0, {0, 0, 240, 180}, {160, 120}},
                    LayoutCase{"LargeAtZoom2", 400, 300, 2, 0, {0, 0, 240, 180}, {280, 210}},
                    LayoutCase{"LargeAtZoom4", 400, 300, 4, 0, {0, 0, 240, 180}, {340, 255}},
                    LayoutCase{"SmallCentredAtZoom1", 100, 60, 1, 0, {70, 60, 170, 120}, {0, 0}},
                    LayoutCase{"SmallWholeAtZoom2", 100, 60, 2, 0, {20, 30, 220, 150}, {0, 0}},
                    LayoutCase{"SmallFillsAtZoom3", 100, 60, 3, 0, {0, 0, 240, 180}, {20, 0}},
                    LayoutCase{"SmallFillsAtZoom4", 100, 60, 4, 0, {0, 0, 240, 180}, {40, 15}},
                    LayoutCase{"WideAtZoom2", 300, 40, 2, 0, {0, 50, 240, 130}, {180, 0}},
                    LayoutCase{"FitIgnoresZoom", 100, 60, 2, 1, {0, 0, 240, 180}, {0, 0}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

class ImageViewMouse : public viewtest::ViewTest {};

// Moves pan only while the left button is held after a press on the view; any release the view sees
// ends the pan, also one outside it, which it sees because it keeps the mouse from press to release.
TEST_F(ImageViewMouse, PansOnlyWithTheButtonHeldFromAPress) {
    Load(400, 300, 0, 1);
    Move(100, 100);
    Move(50, 50);
    EXPECT_EQ(view.m_nPanX, 0) << "no press";

    Press(100, 100);
    EXPECT_EQ(::GetCapture(), view.GetSafeHwnd());
    Move(90, 95, 0);
    Move(80, 90);
    EXPECT_EQ(view.m_nPanX, 0) << "moves without the button end the drag";

    Press(100, 100);
    Move(90, 95);
    EXPECT_EQ(view.m_nPanX, 10);
    EXPECT_EQ(view.m_nPanY, 5);
    Release(-20, 300);
    EXPECT_EQ(::GetCapture(), nullptr);
    Move(50, 50);
    EXPECT_EQ(view.m_nPanX, 10) << "a release outside ends the drag";
}

// A real click (Qt input) over a view with SS_NOTIFY goes to the view; over one without it, such as a
// thumbnail, it goes through to the parent.
TEST_F(ImageViewMouse, OnlyNotifyingViewsTakeClicks) {
    HWND plain = ::CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 300, 10, 100, 100, Parent(),
                                  nullptr, nullptr, nullptr);
    CBmpStatic thumbnail;
    ASSERT_TRUE(thumbnail.SubclassWindow(plain));
    auto click = [&](QPoint client) {
        QWidget* top = QApplication::topLevelAt(QPoint(0, 0) + client);
        ASSERT_NE(top, nullptr);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(client), top->mapToGlobal(QPointF(client)), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(top, &event);
        }
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessage(&msg);
    };
    click(QPoint(20, 20));
    EXPECT_EQ(view.m_ptDown.x, 10) << "the view took the press";
    EXPECT_EQ(parentPresses, 0);
    click(QPoint(320, 20));
    EXPECT_EQ(thumbnail.m_ptDown.x, 0) << "the thumbnail let it through";
    EXPECT_EQ(parentPresses, 1);
}

// With selection on in Fit mode a rubber band cuts out its part of the picture for the parent.
TEST_F(ImageViewMouse, RubberBandSendsTheCutOutPart) {
    std::vector<BYTE> pixels = viewtest::PlacePixels(480, 360);
    ASSERT_EQ(view.LoadBuffer(pixels.data(), 480, 360, 24, 1, 1, 1), 1);
    // The band's own loop takes these once the press starts it.
    view.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 80));
    view.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, 80));
    Press(10, 20);
    // Client (10, 20)-(60, 80) at twice the client size: columns 20 to 119, top-down rows 40 to 159.
    EXPECT_EQ(cropped.x, 20);
    EXPECT_EQ(cropped.y, 200);
    ASSERT_EQ(cropped.width, 100);
    ASSERT_EQ(cropped.height, 120);
    EXPECT_EQ(cropped.bits, 24);
    const int stride = DibStride(100, 24);
    auto pixel = [&](int x, int row) {
        const BYTE* p = &croppedPixels[static_cast<size_t>(row * stride + 3 * x)];
        return RGB(p[2], p[1], p[0]);
    };
    EXPECT_EQ(pixel(0, 119), PlaceColor(20, 40));
    EXPECT_EQ(pixel(99, 0), PlaceColor(119, 159));
}

// Fit mode, zoom and new pictures put the origin back; without a picture nothing changes.
TEST_F(ImageViewMouse, StretchZoomAndLoadsResetTheOrigin) {
    view.SetZoom(3);
    EXPECT_EQ(view.m_nZoom, 1) << "no picture";
    Load(400, 300, 0, 1);
    Drag(POINT{100, 100}, POINT{50, 60});
    ASSERT_EQ(view.m_nPanX, 50);
    const int paintsBefore = parentPaints;
    view.SetStretch(1);
    EXPECT_EQ(view.m_nPanX, 0);
    EXPECT_GT(parentPaints, paintsBefore);
    const int paints = parentPaints;
    view.SetStretch(1);
    EXPECT_EQ(parentPaints, paints) << "the same mode again does not even redraw";
    Drag(POINT{100, 100}, POINT{50, 60});
    EXPECT_EQ(view.m_nPanX, 0) << "no pan in Fit mode";
    view.SetStretch(0);
    Drag(POINT{100, 100}, POINT{50, 60});
    view.SetZoom(7);
    EXPECT_EQ(view.m_nZoom, 1);
    EXPECT_EQ(view.m_nPanX, 0);
    EXPECT_EQ(view.LoadFile("/no/such/picture.bmp", 0, 0, 1), 0);
    EXPECT_EQ(view.GetBmpPixel(), nullptr);
    EXPECT_EQ(view.m_bLoaded, 0);
}

// ClientToImage undoes zoom, pan and the centring of a small picture.
TEST_F(ImageViewMouse, ClientPointsBecomePicturePoints) {
    Load(400, 300, 0, 2);
    view.m_nPanX = 10;
    view.m_nPanY = 20;
    POINT p{100, 50};
    view.ClientToImage(&p);
    EXPECT_EQ(p.x, 60);
    EXPECT_EQ(p.y, 45);

    Load(100, 60, 0, 1); // drawn at (70, 60)
    p = POINT{75, 61};
    view.ClientToImage(&p);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 1);

    // Fit mode, picture twice the client size: the rectangle between two corners, bottom-up.
    Load(480, 360, 1, 1);
    for (const RECT corners : {RECT{10, 20, 50, 80}, RECT{50, 80, 10, 20}}) {
        _tagSHOWRECT part{};
        EXPECT_EQ(view.ClientToImageRect(corners.left, corners.top, corners.right, corners.bottom, &part), 1);
        EXPECT_EQ(part.x, 20);
        EXPECT_EQ(part.y, 200);
        EXPECT_EQ(part.width, 80);
        EXPECT_EQ(part.height, 120);
    }
    EXPECT_EQ(view.Distance(0, 0, 3, 4), 5);
    EXPECT_EQ(view.Distance(0, 0, 1, 1), 1);
}

// In line mode two presses on a picture loaded from a file add a line in picture coordinates, drawn
// through the picture's overlay callback; without a list nothing is added.
TEST_F(ImageViewMouse, MeasuringClicksDrawThroughTheOverlay) {
    EXPECT_EQ(view.AddLine(0, 0, 5, 5), 0) << "no picture";
    Load(100, 60, 0, 1);
    EXPECT_EQ(view.AddLine(0, 0, 5, 5), 0) << "no list";
    char path[] = "/tmp/bmp-static-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_EQ(view.SaveBitmap(path), 0);
    ASSERT_EQ(view.LoadFile(path, 0, 0, 1), 1);
    std::remove(path);
    view.m_pMeasure = new CMensaro;
    view.m_nMeasureMode = 1;

    Press(80, 70); // picture (10, 10): the picture is drawn from (70, 60)
    Release(80, 70);
    EXPECT_EQ(view.m_nClickCount, 1);
    Press(150, 70);
    Release(150, 70);
    EXPECT_EQ(view.m_nClickCount, 0);
    const std::vector<COLORREF> shot = Paint();
    EXPECT_NE(shot[70 * kClientWidth + 110], PlaceColor(40, 10)) << "the line crosses picture (40, 10)";
    EXPECT_EQ(shot[75 * kClientWidth + 110], PlaceColor(40, 15));
    EXPECT_EQ(view.m_nPanX, 0) << "measuring does not pan";
}

} // namespace
