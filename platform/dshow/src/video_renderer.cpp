// The Video Mixing Renderer: draws RGB24 frames into a window of its own, which IVideoWindow places as a
// child of the program's window, as a top-level window or full screen.
//
// The window is made on the first IVideoWindow call or when the graph pauses, on the graph's thread, and
// made again whenever it changes between child, top-level and full screen. Frames are drawn on the
// streaming thread through a window DC, stretched to the client area; the last one is kept and drawn
// again on every repaint, so a paused or stopped picture stays through hiding, showing and full screen.
// The window stands for one served by the graph's own thread: its input skips the program's
// pre-translation and reaches the program once, through the message drain.
#include <atomic>
#include <mutex>
#include <string>
#include <unordered_map>

#include <win32/codepage.h>
#include <win32/gdi.h>
#include <win32/message_loop.h>
#include <win32/user.h>

#include <dshow/renderers.h>

#include "builtin_classes.h"
#include "renderer_input.h"
#include "window_class.h"

namespace platform::dshow {
namespace {

constexpr char kWindowClass[] = "OrvanelVideoRenderer";
constexpr char kDefaultCaption[] = "Video Renderer";

class VideoRenderer;

// The renderer behind each of its windows, for repaints. GUI thread.
std::unordered_map<HWND, VideoRenderer*>& rendererWindows() {
    static std::unordered_map<HWND, VideoRenderer*> windows;
    return windows;
}

void paintWindow(HWND window);

// Key and mouse input goes to the message drain when one is set (GWLP_USERDATA holds the drain). Every
// repaint shows the last frame again.
LRESULT CALLBACK videoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    bool input = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
                 (message >= WM_KEYFIRST && message <= WM_KEYLAST);
    if (input) {
        if (auto drain = reinterpret_cast<HWND>(GetWindowLongPtr(window, GWLP_USERDATA))) {
            PostMessage(drain, message, wParam, lParam);
            return 0;
        }
    }
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        paintWindow(window);
        return 0;
    case WM_NCDESTROY:
        rendererWindows().erase(window);
        break;
    default:
        break;
    }
    return DefWindowProc(window, message, wParam, lParam);
}


// Whether `type` is RGB24 video this renderer can draw.
bool drawable(const AM_MEDIA_TYPE& type) {
    if (type.majortype != MEDIATYPE_Video || type.subtype != MEDIASUBTYPE_RGB24 || type.formattype != FORMAT_VideoInfo ||
        !type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER))
        return false;
    const BITMAPINFOHEADER& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    return header.biBitCount == 24 && header.biWidth > 0 && header.biHeight != 0;
}

class VideoRenderer final : public WithInterfaces<FilterBase, IVideoWindow> {
public:
    VideoRenderer() : WithInterfaces(CLSID_VideoMixingRenderer) {
        input_ = addPin(std::make_unique<RendererInput>(
            *this, [](const AM_MEDIA_TYPE& type) { return drawable(type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED; },
            [this](IMediaSample* sample) { return draw(sample); }));
    }

    ~VideoRenderer() override { replaceWindow(nullptr); }

    HRESULT STDMETHODCALLTYPE put_Caption(const OLECHAR* caption) override {
        if (!caption)
            return E_POINTER;
        HRESULT hr = ensureWindow();
        if (FAILED(hr))
            return hr;
        int bytes = WideCharToMultiByte(CP_UTF8, 0, caption, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0)
            return E_INVALIDARG;
        std::string text(bytes, '\0');
        WideCharToMultiByte(CP_UTF8, 0, caption, -1, text.data(), bytes, nullptr, nullptr);
        caption_ = text.c_str();
        return SetWindowText(window_, caption_.c_str()) ? S_OK : E_FAIL;
    }

    HRESULT STDMETHODCALLTYPE get_Caption(BSTR* caption) override {
        if (!caption)
            return E_POINTER;
        int chars = MultiByteToWideChar(CP_UTF8, 0, caption_.c_str(), -1, nullptr, 0);
        *caption = SysAllocStringLen(nullptr, chars > 0 ? chars - 1 : 0);
        if (!*caption)
            return E_OUTOFMEMORY;
        MultiByteToWideChar(CP_UTF8, 0, caption_.c_str(), -1, *caption, chars);
        return S_OK;
    }

    // Visibility belongs to put_Visible and the child bit to put_Owner.
    HRESULT STDMETHODCALLTYPE put_WindowStyle(LONG style) override {
        return onWindow([&] {
            style_ = style & ~(WS_VISIBLE | WS_CHILD | WS_POPUP);
            SetWindowLong(window_, GWL_STYLE, windowStyle());
        });
    }

    HRESULT STDMETHODCALLTYPE get_WindowStyle(LONG* style) override { return give(style, windowStyle()); }

    HRESULT STDMETHODCALLTYPE put_Visible(LONG visible) override {
        return onWindow([&] {
            visibilitySet_ = true;
            visible_ = visible != OAFALSE;
            ShowWindow(window_, visible_ ? SW_SHOW : SW_HIDE);
        });
    }

    HRESULT STDMETHODCALLTYPE get_Visible(LONG* visible) override { return give(visible, visible_ ? OATRUE : OAFALSE); }

    // The window is made again inside the new owner (or on its own for 0).
    HRESULT STDMETHODCALLTYPE put_Owner(OAHWND owner) override {
        HWND parent = reinterpret_cast<HWND>(owner);
        if (parent && !IsWindow(parent))
            return E_INVALIDARG;
        owner_ = parent;
        return fullScreen_ ? ensureWindow() : makeWindow();
    }

    HRESULT STDMETHODCALLTYPE get_Owner(OAHWND* owner) override { return give(owner, reinterpret_cast<OAHWND>(owner_)); }

    HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND drain) override {
        return onWindow([&] {
            drain_ = drain;
            SetWindowLongPtr(window_, GWLP_USERDATA, drain_);
        });
    }

    HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND* drain) override { return give(drain, drain_); }

    // Full screen puts the video in a window of its own over the whole screen; leaving it puts the window
    // back into its owner with its style and position.
    HRESULT STDMETHODCALLTYPE put_FullScreenMode(LONG fullScreen) override {
        bool on = fullScreen != OAFALSE;
        if (on == fullScreen_ && window_)
            return S_OK;
        fullScreen_ = on;
        return makeWindow();
    }

    HRESULT STDMETHODCALLTYPE get_FullScreenMode(LONG* fullScreen) override {
        return give(fullScreen, fullScreen_ ? OATRUE : OAFALSE);
    }

    HRESULT STDMETHODCALLTYPE SetWindowForeground(LONG focus) override {
        return onWindow([&] {
            UINT activate = focus == OAFALSE ? SWP_NOACTIVATE : 0;
            SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | activate);
            if (focus != OAFALSE)
                SetFocus(window_);
        });
    }

    HRESULT STDMETHODCALLTYPE SetWindowPosition(LONG left, LONG top, LONG width, LONG height) override {
        if (width < 0 || height < 0)
            return E_INVALIDARG;
        return onWindow([&] {
            position_ = RECT{left, top, width, height};
            if (!fullScreen_)
                place(position_);
        });
    }

    HRESULT STDMETHODCALLTYPE GetWindowPosition(LONG* left, LONG* top, LONG* width, LONG* height) override {
        if (!left || !top || !width || !height)
            return E_POINTER;
        RECT shown = fullScreen_ ? screen() : position_;
        *left = shown.left;
        *top = shown.top;
        *width = shown.right;
        *height = shown.bottom;
        return S_OK;
    }

protected:
    HRESULT onPause() override { return ensureWindow(); }

    // A window nobody asked to hide shows when the graph runs.
    HRESULT onRun(REFERENCE_TIME) override {
        if (!visibilitySet_) {
            visible_ = true;
            ShowWindow(window_, SW_SHOW);
        }
        return S_OK;
    }

private:
    static RECT screen() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

    // Inside an owner the window is a child; on its own an overlapped window, or a popup in full screen.
    LONG windowStyle() const {
        if (fullScreen_)
            return WS_POPUP | (visible_ ? WS_VISIBLE : 0);
        return style_ | (owner_ ? WS_CHILD : 0) | (visible_ ? WS_VISIBLE : 0);
    }

    HRESULT ensureWindow() { return window_ ? S_OK : makeWindow(); }

    // Runs `apply` once the window exists.
    template <class Apply>
    HRESULT onWindow(Apply apply) {
        HRESULT hr = ensureWindow();
        if (SUCCEEDED(hr))
            apply();
        return hr;
    }

    template <class Value>
    static HRESULT give(Value* out, Value value) {
        if (!out)
            return E_POINTER;
        *out = value;
        return S_OK;
    }

    // Makes the window from the kept properties, replacing the previous one. E_FAIL when the window layer
    // refuses.
    HRESULT makeWindow() {
        if (!registerWindowClass(kWindowClass, videoWindowProc))
            return E_FAIL;
        if (!madeOnce_ && input_->isConnected()) {
            const auto& header = reinterpret_cast<const VIDEOINFOHEADER*>(input_->connectionType().pbFormat)->bmiHeader;
            position_ = RECT{0, 0, header.biWidth, header.biHeight < 0 ? -header.biHeight : header.biHeight};
        }
        RECT at = fullScreen_ ? screen() : position_;
        HWND parent = fullScreen_ ? nullptr : owner_;
        HWND window = CreateWindowEx(0, kWindowClass, caption_.c_str(), windowStyle(), at.left, at.top, at.right,
                                     at.bottom, parent, nullptr, nullptr, nullptr);
        if (!window)
            return E_FAIL;
        madeOnce_ = true;
        SetWindowLongPtr(window, GWLP_USERDATA, drain_);
        rendererWindows()[window] = this;
        platform::user::markServedByOwnThread(window);
        replaceWindow(window);
        RECT client{};
        GetClientRect(window, &client);
        drawWidth_ = client.right;
        drawHeight_ = client.bottom;
        return S_OK;
    }

    // Swaps the window under drawLock_, so no frame is being drawn into the one that goes.
    void replaceWindow(HWND window) {
        HWND old;
        {
            std::lock_guard guard(drawLock_);
            old = window_.exchange(window);
        }
        if (old)
            DestroyWindow(old);
    }

    void place(const RECT& at) {
        MoveWindow(window_, at.left, at.top, at.right, at.bottom, TRUE);
        RECT client{};
        GetClientRect(window_, &client);
        drawWidth_ = client.right;
        drawHeight_ = client.bottom;
    }

public:
    // Shows the last frame over the client area again (black before the first frame). GUI thread.
    void repaint(HWND window) {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        if (!dc)
            return;
        RECT client{};
        GetClientRect(window, &client);
        std::lock_guard guard(drawLock_);
        BYTE* bits = nullptr;
        if (!last_.sample || FAILED(last_.sample->GetPointer(&bits)))
            FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        else
            stretch(dc, client.right, client.bottom, last_.header, bits);
        EndPaint(window, &paint);
    }

private:
    static void stretch(HDC dc, LONG width, LONG height, const BITMAPINFOHEADER& header, const BYTE* bits) {
        const LONG rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, 0, 0, width, height, 0, 0, header.biWidth, rows, bits,
                      reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, SRCCOPY);
    }

    // Keeps the frame's sample for repaints (the sending pin then fills another one) and stretches it over
    // the client area. Frames before the window exists are only kept. Streaming thread.
    HRESULT draw(IMediaSample* sample) {
        const AM_MEDIA_TYPE& type = input_->connectionType();
        const BITMAPINFOHEADER& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
        LONG rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
        if (static_cast<std::size_t>(sample->GetActualDataLength()) <
            static_cast<std::size_t>(DibStride(header.biWidth, 24)) * rows)
            return E_INVALIDARG;
        BYTE* bits = nullptr;
        sample->GetPointer(&bits);
        std::lock_guard guard(drawLock_);
        last_.header = header;
        last_.sample = sample;
        HWND window = window_.load();
        if (!window)
            return S_OK;
        HDC dc = GetDC(window);
        if (!dc)
            return S_OK;
        stretch(dc, drawWidth_, drawHeight_, header, bits);
        ReleaseDC(window, dc);
        return S_OK;
    }

    struct Frame {
        BITMAPINFOHEADER header{};
        ComPtr<IMediaSample> sample;
    };

    RendererInput* input_;
    std::mutex drawLock_; // held while a frame is drawn or kept and while the window is replaced
    Frame last_;          // the last frame drawn; guarded by drawLock_
    std::atomic<HWND> window_{nullptr};
    std::atomic<LONG> drawWidth_{0}; // client size the frames are stretched to
    std::atomic<LONG> drawHeight_{0};

    // Window properties, kept across the window being made again; graph thread only.
    std::string caption_ = kDefaultCaption;
    LONG style_ = WS_OVERLAPPEDWINDOW;
    RECT position_{0, 0, 320, 240}; // left, top, width, height
    HWND owner_ = nullptr;
    OAHWND drain_ = 0;
    bool visible_ = false;
    bool visibilitySet_ = false;
    bool fullScreen_ = false;
    bool madeOnce_ = false;
};

void paintWindow(HWND window) {
    const auto it = rendererWindows().find(window);
    if (it != rendererWindows().end())
        it->second->repaint(window);
    else
        ValidateRect(window, nullptr);
}

} // namespace

HRESULT createVideoRenderer(REFIID riid, void** object) { return createObject<VideoRenderer>(riid, object); }

} // namespace platform::dshow
