// The compressor selection dialog: the installed video compressors (or none), the chosen one's own
// configuration dialog, and OK storing the choice as "Compressor" for the next recording.
#include "compressor_dialog.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include <mfc/dialog_manager.h>
#include <strings.h>
#include <win32/local_memory.h>
#include <win32/user_controls.h>

#include <dshow/capture.h>
#include <dshow/device_enum.h>

#include "error_boxes.h"
#include "graph_helpers.h"
#include "library_state.h"
#include "registry_settings.h"

namespace korvib {
namespace {

constexpr char kTemplateName[] = "SelectCompressorDlg";
constexpr char kNoCompressor[] = "No Compressor";
constexpr int kCompressorList = 1000;
constexpr int kConfigureButton = 1001;
constexpr int kEntryChars = 260;

void RegisterTemplate() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        platform::mfc::registerDialogTemplate(
            kTemplateName,
            {WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
             0,
             0,
             187,
             50,
             "选择视频编码",
             "Times New Roman",
             9,
             {{kCompressorList, "COMBOBOX", "", WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 7, 7, 117, 86},
              {kConfigureButton, "BUTTON", "设置...", WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, 130, 7, 50, 14},
              {IDOK, "BUTTON", "选择", WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 29, 50, 14},
              {IDCANCEL, "BUTTON", "取消", WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, 69, 29, 50, 14}}});
    });
}

// The text of the list's selected entry (at most kEntryChars - 1 characters); empty without a selection.
void SelectedEntry(HWND dialog, char (&text)[kEntryChars]) {
    text[0] = '\0';
    const auto index = SendDlgItemMessage(dialog, kCompressorList, CB_GETCURSEL, 0, 0);
    const auto length = SendDlgItemMessage(dialog, kCompressorList, CB_GETLBTEXTLEN, index, 0);
    if (index == CB_ERR || length == CB_ERR || length >= kEntryChars) {
        return;
    }
    SendDlgItemMessage(dialog, kCompressorList, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
}

// "No Compressor", then the compressor category's names in enumeration order; the stored name (any
// letter case) selected, else the first entry. COM is initialised for the enumeration: the dialog needs
// no device. Without an enumerator only "No Compressor" is listed.
void FillList(HWND dialog) {
    SendDlgItemMessage(dialog, kCompressorList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoCompressor));
    const HRESULT com = CoInitialize(nullptr);
    ICreateDevEnum* devices = nullptr;
    IEnumMoniker* monikers = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                   reinterpret_cast<void**>(&devices))) &&
        devices->CreateClassEnumerator(CLSID_VideoCompressorCategory, &monikers, 0) == S_OK) {
        IMoniker* moniker = nullptr;
        while (monikers->Next(1, &moniker, nullptr) == S_OK) {
            char* name = nullptr;
            if (SUCCEEDED(ReadFriendlyName(moniker, &name)) && name != nullptr) {
                SendDlgItemMessage(dialog, kCompressorList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
                LocalFree(name);
            }
            moniker->Release();
        }
        monikers->Release();
    }
    if (devices != nullptr) {
        devices->Release();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    SendDlgItemMessage(dialog, kCompressorList, CB_SETCURSEL, 0, 0);
    const auto count = SendDlgItemMessage(dialog, kCompressorList, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        char entry[kEntryChars] = {};
        if (SendDlgItemMessage(dialog, kCompressorList, CB_GETLBTEXTLEN, index, 0) >= kEntryChars) {
            continue;
        }
        SendDlgItemMessage(dialog, kCompressorList, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry));
        if (strcasecmp(entry, Library().compressorName) == 0) {
            SendDlgItemMessage(dialog, kCompressorList, CB_SETCURSEL, index, 0);
            break;
        }
    }
}

// Stores the selected entry as the compressor name and the "Compressor" value.
void StoreChoice(HWND dialog) {
    char entry[kEntryChars];
    SelectedEntry(dialog, entry);
    char* name = Library().compressorName;
    std::memset(name, 0, sizeof(Library().compressorName));
    std::memcpy(name, entry, std::min(std::strlen(entry), sizeof(Library().compressorName) - 1));
    WriteRegString(Library().settingsKey, "Compressor", name);
}

// The selected compressor's own configuration dialog, shown modally; the error box when the search fails
// or finds no compressor of that name. "No Compressor", and a compressor without such a dialog, are passed
// over. COM is initialised for the search.
void ConfigureSelected(HWND dialog) {
    char entry[kEntryChars];
    SelectedEntry(dialog, entry);
    if (std::strcmp(entry, kNoCompressor) == 0) {
        return;
    }
    const HRESULT com = CoInitialize(nullptr);
    IBaseFilter* filter = nullptr;
    const HRESULT hr = FindFilterByName(CLSID_VideoCompressorCategory, entry, &filter);
    if (FAILED(hr) || filter == nullptr) {
        ShowComError(hr);
    } else {
        IAMVfwCompressDialogs* dialogs = nullptr;
        if (SUCCEEDED(filter->QueryInterface(IID_IAMVfwCompressDialogs, reinterpret_cast<void**>(&dialogs)))) {
            dialogs->ShowDialog(VfwCompressDialog_Config, nullptr);
            dialogs->Release();
        }
        filter->Release();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
}

INT_PTR CALLBACK CompressorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        FillList(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDOK:
        StoreChoice(dialog);
        DestroyWindow(dialog);
        return TRUE;
    case IDCANCEL:
        DestroyWindow(dialog);
        return TRUE;
    case kCompressorList:
        return TRUE;
    case kConfigureButton:
        ConfigureSelected(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

bool ShowCompressorDialog() {
    RegisterTemplate();
    const HWND dialog = CreateDialogParam(nullptr, kTemplateName, nullptr, CompressorDialogProc, 0);
    if (dialog == nullptr) {
        return false;
    }
    ShowWindow(dialog, SW_SHOW);
    return true;
}

} // namespace korvib
