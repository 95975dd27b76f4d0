// The capture filter's property page: a track bar with its value text per amplifier property, written
// through the edited object's IAMVideoProcAmp on Apply; the class is in the class table once loaded.
#include <devices/proc_amp_page.h>

#include <dshow/capture.h>
#include <dshow/class_table.h>
#include <dshow/com_object.h>
#include <dshow/com_ptr.h>
#include <dshow/property_pages.h>
#include <win32/user.h>

#include <cstring>
#include <iterator>
#include <new>
#include <string>

namespace platform::devices {

// {3607A27C-2A4E-4437-A8D5-D273689A04BC}
const CLSID CLSID_ProcAmpPropertyPage = {
    0x3607A27C, 0x2A4E, 0x4437, {0xA8, 0xD5, 0xD2, 0x73, 0x68, 0x9A, 0x04, 0xBC}};

namespace {

constexpr char kPageClass[] = "OrvanelProcAmpPage";
constexpr wchar_t kTitle[] = L"Video Proc Amp";
constexpr int kLabelWidth = 84;
constexpr int kBarWidth = 160;
constexpr int kValueWidth = 40;
constexpr int kGap = 6;
constexpr int kRowHeight = 28;

const struct {
    LONG property;
    const char* label;
} kRows[] = {
    {VideoProcAmp_Brightness, "Brightness"}, {VideoProcAmp_Contrast, "Contrast"},
    {VideoProcAmp_Saturation, "Saturation"}, {VideoProcAmp_Sharpness, "Sharpness"},
    {VideoProcAmp_Gamma, "Gamma"},
};

constexpr LONG kPageWidth = kLabelWidth + kBarWidth + kValueWidth + 2 * kGap;
constexpr LONG kPageHeight = static_cast<LONG>(std::size(kRows)) * kRowHeight;

HMENU controlId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// A moved track bar shows its position in its value text.
LRESULT CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HSCROLL && lParam) {
        const HWND bar = reinterpret_cast<HWND>(lParam);
        const int property = GetDlgCtrlID(bar) - kProcAmpBarId;
        const LRESULT position = SendMessage(bar, TBM_GETPOS, 0, 0);
        SetWindowText(GetDlgItem(page, kProcAmpValueId + property), std::to_string(position).c_str());
        return 0;
    }
    return DefWindowProc(page, message, wParam, lParam);
}

bool registerPageClass() {
    static const bool registered = [] {
        WNDCLASS cls{};
        cls.lpfnWndProc = pageProc;
        cls.lpszClassName = kPageClass;
        return RegisterClass(&cls) != 0;
    }();
    return registered;
}

// GUI thread.
class ProcAmpPage final : public dshow::ComObject<IPropertyPage> {
public:
    ~ProcAmpPage() override {
        if (window_)
            DestroyWindow(window_);
    }

    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override {
        if (!info)
            return E_POINTER;
        auto* title = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof kTitle));
        if (!title)
            return E_OUTOFMEMORY;
        std::memcpy(title, kTitle, sizeof kTitle);
        info->pszTitle = title;
        info->size = SIZE{kPageWidth, kPageHeight};
        return S_OK;
    }

    // The first object must offer IAMVideoProcAmp.
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override {
        if (count == 0) {
            amplifier_.reset();
            return S_OK;
        }
        if (!objects || !objects[0])
            return E_POINTER;
        dshow::ComPtr<IAMVideoProcAmp> amplifier;
        const HRESULT hr = objects[0]->QueryInterface(IID_IAMVideoProcAmp, amplifier.putVoid());
        if (FAILED(hr))
            return hr;
        amplifier_ = amplifier;
        return S_OK;
    }

    // One row per property whose range and value the amplifier reports.
    HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL) override {
        if (!rect)
            return E_POINTER;
        if (!amplifier_ || window_)
            return E_UNEXPECTED;
        if (!registerPageClass())
            return E_FAIL;
        window_ = CreateWindowEx(0, kPageClass, "", WS_CHILD | WS_VISIBLE, rect->left, rect->top, kPageWidth,
                                 kPageHeight, parent, controlId(kProcAmpPageId), nullptr, nullptr);
        if (!window_)
            return E_FAIL;
        int top = 0;
        for (const auto& row : kRows) {
            LONG min = 0, max = 0, step = 0, defaultValue = 0, caps = 0, value = 0, flags = 0;
            if (FAILED(amplifier_->GetRange(row.property, &min, &max, &step, &defaultValue, &caps)) ||
                FAILED(amplifier_->Get(row.property, &value, &flags)))
                continue;
            CreateWindowEx(0, "STATIC", row.label, WS_CHILD | WS_VISIBLE, 0, top + 4, kLabelWidth, 20,
                           window_, nullptr, nullptr, nullptr);
            const HWND bar = CreateWindowEx(
                0, TRACKBAR_CLASS, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_NOTICKS, kLabelWidth + kGap,
                top, kBarWidth, 24, window_, controlId(kProcAmpBarId + row.property), nullptr, nullptr);
            SendMessage(bar, TBM_SETRANGE, FALSE, MAKELPARAM(min, max));
            SendMessage(bar, TBM_SETPOS, TRUE, value);
            CreateWindowEx(0, "STATIC", std::to_string(value).c_str(), WS_CHILD | WS_VISIBLE,
                           kLabelWidth + kBarWidth + 2 * kGap, top + 4, kValueWidth, 20, window_,
                           controlId(kProcAmpValueId + row.property), nullptr, nullptr);
            top += kRowHeight;
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Deactivate() override {
        if (!window_)
            return E_UNEXPECTED;
        DestroyWindow(window_);
        window_ = nullptr;
        return S_OK;
    }

    // Writes every shown position; the first failure is the result, the other properties are written all
    // the same.
    HRESULT STDMETHODCALLTYPE Apply() override {
        if (!amplifier_ || !window_)
            return E_UNEXPECTED;
        HRESULT result = S_OK;
        for (const auto& row : kRows) {
            const HWND bar = GetDlgItem(window_, kProcAmpBarId + row.property);
            if (!bar)
                continue;
            const LONG position = static_cast<LONG>(SendMessage(bar, TBM_GETPOS, 0, 0));
            const HRESULT hr = amplifier_->Set(row.property, position, VideoProcAmp_Flags_Manual);
            if (FAILED(hr) && SUCCEEDED(result))
                result = hr;
        }
        return result;
    }

private:
    dshow::ComPtr<IAMVideoProcAmp> amplifier_;
    HWND window_ = nullptr;
};

HRESULT createProcAmpPage(REFIID riid, void** object) {
    auto* raw = new (std::nothrow) ProcAmpPage;
    if (!raw)
        return E_OUTOFMEMORY;
    const auto page = dshow::ComPtr<ProcAmpPage>::adopt(raw);
    return page->QueryInterface(riid, object);
}

// The page can be made as soon as the library is loaded.
[[maybe_unused]] const int registered = dshow::registerClass(CLSID_ProcAmpPropertyPage, createProcAmpPage);

} // namespace
} // namespace platform::devices
