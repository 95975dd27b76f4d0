// The compressor configuration dialog: one labelled edit box per setting above OK and Cancel.
#include "compressor_config_dialog.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include <win32/user_controls.h>

#include "modal_window.h"
#include "window_class.h"

namespace platform::dshow {
namespace {

constexpr char kDialogClass[] = "OrvanelCompressorConfig";
constexpr int kMargin = 10;
constexpr int kLabelWidth = 170;
constexpr int kEditWidth = 80;
constexpr int kRowHeight = 24;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

struct Field {
    int id;
    const char* label;
    int min;
    int max;
    int CompressorSettings::*value;
};

const Field kFields[] = {
    {kQualityEdit, "Quality (0-100):", 0, 100, &CompressorSettings::quality},
    {kKeyFramesEdit, "Key frame every (frames):", 1, 1000, &CompressorSettings::keyFrameInterval},
    {kBitRateEdit, "Bit rate (kbit/s):", 16, 20000, &CompressorSettings::bitRateKbps},
};

bool hasField(const KnownEncoder& encoder, const Field& field) {
    switch (field.id) {
    case kQualityEdit:
        return encoder.quality != nullptr;
    case kKeyFramesEdit:
        return encoder.keyFrames != nullptr;
    default:
        return encoder.bitRate != nullptr;
    }
}

struct DialogState {
    const KnownEncoder& encoder;
    CompressorSettings& settings;
    bool closed = false;
    bool accepted = false;
};

// The edit boxes' numbers into the settings, each clamped to its range; an empty box keeps the value.
void takeFields(HWND dialog, DialogState& state) {
    for (const Field& field : kFields) {
        char text[32] = {};
        HWND edit = GetDlgItem(dialog, field.id);
        if (!edit || GetWindowText(edit, text, sizeof text) == 0)
            continue;
        char* end = nullptr;
        const long value = std::strtol(text, &end, 10);
        if (end != text)
            state.settings.*field.value = static_cast<int>(std::clamp<long>(value, field.min, field.max));
    }
}

LRESULT CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtr(window, GWLP_USERDATA));
    if (state && message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        if (LOWORD(wParam) == IDOK) {
            takeFields(window, *state);
            state->accepted = true;
        }
        state->closed = true;
        return 0;
    }
    if (state && message == WM_CLOSE) {
        state->closed = true;
        return 0;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

HWND makeChild(HWND parent, const char* windowClass, const char* text, DWORD style, int x, int y, int width,
               int height, int id) {
    return CreateWindowEx(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

} // namespace

HRESULT showCompressorConfig(HWND owner, const std::string& title, const KnownEncoder& encoder,
                             CompressorSettings& settings) {
    if (!registerWindowClass(kDialogClass, dialogProc))
        return E_FAIL;
    const CompressorSettings defaults = encoder.defaults();
    int rows = 0;
    for (const Field& field : kFields)
        rows += hasField(encoder, field) ? 1 : 0;
    const int width = kLabelWidth + kEditWidth + 3 * kMargin;
    const int height = rows * kRowHeight + kButtonHeight + 3 * kMargin;
    HWND dialog = CreateWindowEx(0, kDialogClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                 100, 100, width, height, owner, nullptr, nullptr, nullptr);
    if (!dialog)
        return E_FAIL;
    DialogState state{encoder, settings};
    SetWindowLongPtr(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    int top = kMargin;
    for (const Field& field : kFields) {
        if (!hasField(encoder, field))
            continue;
        const int shown = settings.*field.value >= 0 ? settings.*field.value : defaults.*field.value;
        makeChild(dialog, WC_STATIC, field.label, SS_LEFT, kMargin, top + 3, kLabelWidth, kRowHeight - 6, -1);
        makeChild(dialog, WC_EDIT, shown >= 0 ? std::to_string(shown).c_str() : "",
                  WS_BORDER | WS_TABSTOP | ES_NUMBER, 2 * kMargin + kLabelWidth, top, kEditWidth,
                  kRowHeight - 2, field.id);
        top += kRowHeight;
    }
    const int buttonTop = top + kMargin;
    makeChild(dialog, WC_BUTTON, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, width - 2 * (kButtonWidth + kMargin),
              buttonTop, kButtonWidth, kButtonHeight, IDOK);
    makeChild(dialog, WC_BUTTON, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, width - kButtonWidth - kMargin,
              buttonTop, kButtonWidth, kButtonHeight, IDCANCEL);

    const BOOL ownerWasDisabled = owner ? EnableWindow(owner, FALSE) : FALSE;
    ShowWindow(dialog, SW_SHOW);
    runModalWindow(dialog, [&] { return state.closed; });
    if (owner)
        EnableWindow(owner, !ownerWasDisabled);
    SetWindowLongPtr(dialog, GWLP_USERDATA, 0);
    DestroyWindow(dialog);
    return state.accepted ? S_OK : S_FALSE;
}

} // namespace platform::dshow
