// The modal property frame: the pages of the given classes above OK, Cancel and Apply.
#include <algorithm>
#include <string>
#include <vector>

#include <win32/codepage.h>
#include <win32/user.h>

#include <dshow/com_ptr.h>
#include <dshow/property_pages.h>

#include "modal_window.h"
#include "window_class.h"

namespace platform::dshow {
namespace {

constexpr char kFrameClass[] = "OrvanelPropertyFrame";
constexpr int kApply = 0x3021;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr SIZE kDefaultPageSize = {250, 150};

struct FrameState {
    std::vector<ComPtr<IPropertyPage>> pages;
    bool closed = false;
};

void applyAll(FrameState& state) {
    for (auto& page : state.pages)
        page->Apply();
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<FrameState*>(GetWindowLongPtr(window, GWLP_USERDATA));
    if (state && message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
        case IDOK:
            applyAll(*state);
            state->closed = true;
            return 0;
        case IDCANCEL:
            state->closed = true;
            return 0;
        case kApply:
            applyAll(*state);
            return 0;
        }
    }
    if (state && message == WM_CLOSE) {
        state->closed = true;
        return 0;
    }
    return DefWindowProc(window, message, wParam, lParam);
}


std::string utf8(LPCOLESTR text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string result(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), bytes, nullptr, nullptr);
    return result.c_str();
}

SIZE pageSize(IPropertyPage* page) {
    PROPPAGEINFO info{};
    info.cb = sizeof info;
    if (FAILED(page->GetPageInfo(&info)))
        return kDefaultPageSize;
    CoTaskMemFree(info.pszTitle);
    return info.size.cx > 0 && info.size.cy > 0 ? info.size : kDefaultPageSize;
}

// Runs the frame for pages that already hold their objects.
HRESULT runFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, FrameState& state) {
    if (!registerWindowClass(kFrameClass, frameProc))
        return E_FAIL;
    std::vector<SIZE> sizes;
    LONG width = 3 * kButtonWidth + 2 * kMargin, height = 0;
    for (auto& page : state.pages) {
        sizes.push_back(pageSize(page.get()));
        width = std::max(width, sizes.back().cx);
        height += sizes.back().cy + kMargin;
    }
    POINT at{static_cast<LONG>(x), static_cast<LONG>(y)};
    if (owner)
        ClientToScreen(owner, &at);
    std::string title = caption ? utf8(caption) : "Properties";
    LONG frameWidth = width + 2 * kMargin;
    LONG frameHeight = height + kButtonHeight + 2 * kMargin;
    HWND frame = CreateWindowEx(0, kFrameClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, at.x, at.y,
                                frameWidth, frameHeight, nullptr, nullptr, nullptr, nullptr);
    if (!frame)
        return E_FAIL;
    SetWindowLongPtr(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    const struct {
        const char* text;
        int id;
        DWORD style;
    } buttons[] = {{"OK", IDOK, BS_DEFPUSHBUTTON}, {"Cancel", IDCANCEL, BS_PUSHBUTTON}, {"Apply", kApply, BS_PUSHBUTTON}};
    LONG buttonX = frameWidth - kMargin - 3 * kButtonWidth - 2 * kMargin;
    for (const auto& b : buttons) {
        CreateWindowEx(0, "BUTTON", b.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | b.style, buttonX,
                       height + kMargin, kButtonWidth, kButtonHeight, frame,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), nullptr, nullptr);
        buttonX += kButtonWidth + kMargin;
    }
    LONG top = kMargin;
    HRESULT result = S_OK;
    std::size_t active = 0;
    for (; active < state.pages.size(); ++active) {
        RECT area{kMargin, top, kMargin + sizes[active].cx, top + sizes[active].cy};
        result = state.pages[active]->Activate(frame, &area, TRUE);
        if (FAILED(result))
            break;
        top = area.bottom + kMargin;
    }
    if (SUCCEEDED(result)) {
        BOOL ownerWasDisabled = owner ? EnableWindow(owner, FALSE) : FALSE;
        ShowWindow(frame, SW_SHOW);
        runModalWindow(frame, [&] { return state.closed; });
        if (owner)
            EnableWindow(owner, !ownerWasDisabled);
    }
    for (std::size_t i = 0; i < active; ++i)
        state.pages[i]->Deactivate();
    SetWindowLongPtr(frame, GWLP_USERDATA, 0);
    DestroyWindow(frame);
    return result;
}

} // namespace
} // namespace platform::dshow

HRESULT OleCreatePropertyFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG objectCount, IUnknown** objects,
                               ULONG pageCount, const CLSID* pages, LCID, DWORD, LPVOID) {
    using namespace platform::dshow;
    if (!objectCount || !objects || !pageCount || !pages)
        return E_INVALIDARG;
    FrameState state;
    HRESULT result = S_OK;
    for (ULONG i = 0; i < pageCount && SUCCEEDED(result); ++i) {
        ComPtr<IPropertyPage> page;
        result = CoCreateInstance(pages[i], nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.putVoid());
        if (SUCCEEDED(result))
            result = page->SetObjects(objectCount, objects);
        if (SUCCEEDED(result))
            state.pages.push_back(page);
        else if (page)
            page->SetObjects(0, nullptr);
    }
    if (SUCCEEDED(result))
        result = runFrame(owner, x, y, caption, state);
    for (auto& page : state.pages)
        page->SetObjects(0, nullptr);
    return result;
}
