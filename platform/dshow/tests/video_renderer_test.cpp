// The Video Mixing Renderer's window: placement in the owner, drawing frames, full screen, input drain.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include <win32/gdi.h>
#include <win32/user.h>

#include <dshow/renderers.h>

#include "graph_support.h"
#include "test_source.h"

namespace {

using namespace platform::dshow;
using namespace testing_dshow;

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(window, message, wParam, lParam);
}

// The colour of every pixel of a window's client area, read through a DIB section (bottom-up rows).
std::vector<BYTE> windowPixels(HWND window, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    auto* start = static_cast<BYTE*>(bits);
    std::vector<BYTE> pixels(start, start + DibStride(width, 24) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    return pixels;
}

class VideoRendererTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        static bool registered = [] {
            WNDCLASS cls{};
            cls.lpfnWndProc = ownerProc;
            cls.lpszClassName = "VideoOwner";
            return RegisterClass(&cls) != 0;
        }();
        ASSERT_TRUE(registered);
        owner_ = CreateWindowEx(0, "VideoOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);

        builder_ = create<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2);
        graph_ = create<IGraphBuilder>(CLSID_FilterGraph);
        builder_->SetFiltergraph(graph_.get());
        AM_MEDIA_TYPE type = videoType(MEDIASUBTYPE_YUY2, 64, 48, 16);
        source_ = new TestSource(type, false);
        FreeMediaType(type);
        sourceFilter_ = ComPtr<IBaseFilter>::adopt(source_);
        graph_->AddFilter(sourceFilter_.get(), L"Source");
        auto renderer = create<IBaseFilter>(CLSID_VideoMixingRenderer);
        graph_->AddFilter(renderer.get(), L"VMR");
        // The YUY2 preview pin reaches the RGB24 renderer through a decoder.
        ASSERT_EQ(builder_->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, sourceFilter_.get(), nullptr,
                                         renderer.get()),
                  S_OK);
        graph_.as(control_);
        graph_.as(window_);
    }
    void TearDown() override {
        control_->Stop();
        window_.reset();
        control_.reset();
        sourceFilter_.reset();
        builder_.reset();
        graph_.reset();
        DestroyWindow(owner_);
        ComTest::TearDown();
    }

    // The renderer's window as the owner's child (it has no control id).
    HWND videoWindow() { return GetDlgItem(owner_, 0); }

    HWND owner_ = nullptr;
    ComPtr<ICaptureGraphBuilder2> builder_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IMediaControl> control_;
    ComPtr<IVideoWindow> window_;
    ComPtr<IBaseFilter> sourceFilter_;
    TestSource* source_ = nullptr;
};

TEST_F(VideoRendererTest, ChildWindowShowsEachFrameStretchedToItsSize) {
    ASSERT_EQ(window_->put_Owner(reinterpret_cast<OAHWND>(owner_)), S_OK);
    ASSERT_EQ(window_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS), S_OK);
    ASSERT_EQ(window_->SetWindowPosition(10, 20, 128, 96), S_OK);
    ASSERT_EQ(window_->put_Visible(OATRUE), S_OK);
    ASSERT_EQ(window_->put_Caption(L"Korvi"), S_OK);

    HWND video = videoWindow();
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(GetParent(video), owner_);
    EXPECT_TRUE(IsWindowVisible(video));
    RECT client{};
    GetClientRect(video, &client);
    EXPECT_EQ(client.right, 128);
    EXPECT_EQ(client.bottom, 96);
    LONG left, top, width, height;
    ASSERT_EQ(window_->GetWindowPosition(&left, &top, &width, &height), S_OK);
    EXPECT_EQ((std::vector<LONG>{left, top, width, height}), (std::vector<LONG>{10, 20, 128, 96}));
    BSTR caption = nullptr;
    ASSERT_EQ(window_->get_Caption(&caption), S_OK);
    EXPECT_STREQ(caption, L"Korvi");
    SysFreeString(caption);

    ASSERT_EQ(control_->Run(), S_OK);
    // Y = U = V = 128 is grey 128 in every channel of every pixel.
    ASSERT_EQ(source_->previewPin().push(128), S_OK);
    std::vector<BYTE> pixels = windowPixels(video, 128, 96);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        ASSERT_EQ(pixels[i], 128) << "byte " << i;
}

// A repaint after the graph stopped draws the last frame again, from the sample the renderer kept.
TEST_F(VideoRendererTest, RepaintAfterStopShowsTheLastFrame) {
    ASSERT_EQ(window_->put_Owner(reinterpret_cast<OAHWND>(owner_)), S_OK);
    ASSERT_EQ(window_->put_WindowStyle(WS_CHILD), S_OK);
    ASSERT_EQ(window_->SetWindowPosition(0, 0, 64, 48), S_OK);
    ASSERT_EQ(window_->put_Visible(OATRUE), S_OK);
    ASSERT_EQ(control_->Run(), S_OK);
    HWND video = videoWindow();
    ASSERT_EQ(source_->previewPin().push(60), S_OK);
    const std::vector<BYTE> earlier = windowPixels(video, 64, 48);
    ASSERT_EQ(source_->previewPin().push(90), S_OK);
    ASSERT_EQ(source_->previewPin().push(140), S_OK);
    const std::vector<BYTE> last = windowPixels(video, 64, 48);
    ASSERT_NE(last, earlier);
    ASSERT_EQ(control_->Stop(), S_OK);
    // Something else covered the picture.
    HDC dc = GetDC(video);
    RECT all{0, 0, 64, 48};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(video, dc);
    ASSERT_NE(windowPixels(video, 64, 48), last);
    InvalidateRect(video, nullptr, TRUE);
    UpdateWindow(video);
    EXPECT_EQ(windowPixels(video, 64, 48), last);
}

// Serves every queued message and repaint, as the program's loop does between frames.
void pumpMessages() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

// The last frame comes back on every repaint: after the owner is hidden and shown, and at a new size.
TEST_F(VideoRendererTest, RepaintsShowTheLastFrame) {
    ASSERT_EQ(window_->put_Owner(reinterpret_cast<OAHWND>(owner_)), S_OK);
    ASSERT_EQ(window_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS), S_OK);
    ASSERT_EQ(window_->SetWindowPosition(0, 0, 64, 48), S_OK);
    ASSERT_EQ(window_->put_Visible(OATRUE), S_OK);
    ASSERT_EQ(control_->Run(), S_OK);
    ASSERT_EQ(source_->previewPin().push(128), S_OK);
    ASSERT_EQ(control_->Pause(), S_OK);
    const auto allGrey = [](const std::vector<BYTE>& pixels) {
        return std::all_of(pixels.begin(), pixels.end(), [](BYTE b) { return b == 128; });
    };
    ShowWindow(owner_, SW_HIDE);
    ShowWindow(owner_, SW_SHOW);
    pumpMessages();
    EXPECT_TRUE(allGrey(windowPixels(videoWindow(), 64, 48))) << "shown again without its frame";
    ASSERT_EQ(window_->SetWindowPosition(0, 0, 96, 72), S_OK);
    pumpMessages();
    EXPECT_TRUE(allGrey(windowPixels(videoWindow(), 96, 72))) << "resized without its frame";
}

TEST_F(VideoRendererTest, LeavingTheOwnerTakesTheWindowOut) {
    window_->put_Owner(reinterpret_cast<OAHWND>(owner_));
    window_->put_WindowStyle(WS_CHILD);
    ASSERT_NE(videoWindow(), nullptr);
    OAHWND owner = 0;
    window_->get_Owner(&owner);
    EXPECT_EQ(owner, reinterpret_cast<OAHWND>(owner_));
    EXPECT_EQ(window_->put_Visible(OAFALSE), S_OK);
    EXPECT_EQ(window_->put_Owner(0), S_OK);
    EXPECT_EQ(videoWindow(), nullptr);
    EXPECT_EQ(window_->put_Owner(reinterpret_cast<OAHWND>(reinterpret_cast<HWND>(0x1234))), E_INVALIDARG);
}

TEST_F(VideoRendererTest, FullScreenAndBackRestoresPlacement) {
    window_->put_Owner(reinterpret_cast<OAHWND>(owner_));
    window_->put_WindowStyle(WS_CHILD);
    window_->SetWindowPosition(5, 6, 70, 50);
    LONG mode = 0;
    ASSERT_EQ(window_->put_FullScreenMode(OATRUE), S_OK);
    window_->get_FullScreenMode(&mode);
    EXPECT_EQ(mode, OATRUE);
    EXPECT_EQ(videoWindow(), nullptr); // no longer inside the owner
    LONG left, top, width, height;
    window_->GetWindowPosition(&left, &top, &width, &height);
    EXPECT_EQ(width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(height, GetSystemMetrics(SM_CYSCREEN));

    ASSERT_EQ(window_->put_FullScreenMode(OAFALSE), S_OK);
    window_->get_FullScreenMode(&mode);
    EXPECT_EQ(mode, OAFALSE);
    EXPECT_NE(videoWindow(), nullptr);
    window_->GetWindowPosition(&left, &top, &width, &height);
    EXPECT_EQ((std::vector<LONG>{left, top, width, height}), (std::vector<LONG>{5, 6, 70, 50}));
}

TEST_F(VideoRendererTest, InputGoesToTheMessageDrain) {
    window_->put_Owner(reinterpret_cast<OAHWND>(owner_));
    window_->put_WindowStyle(WS_CHILD);
    ASSERT_EQ(window_->put_MessageDrain(reinterpret_cast<OAHWND>(owner_)), S_OK);
    SendMessage(videoWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    MSG message{};
    ASSERT_TRUE(PeekMessage(&message, owner_, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(message.lParam, MAKELPARAM(3, 4));
}

TEST_F(VideoRendererTest, GraphWithoutVideoRendererHasNoVideoWindow) {
    auto graph = create<IGraphBuilder>(CLSID_FilterGraph);
    auto renderer = create<IBaseFilter>(CLSID_NullRenderer);
    graph->AddFilter(renderer.get(), L"NullRender");
    ComPtr<IVideoWindow> window;
    ASSERT_EQ(graph.as(window), S_OK);
    EXPECT_EQ(window->put_Owner(reinterpret_cast<OAHWND>(owner_)), E_NOINTERFACE);
}

} // namespace
