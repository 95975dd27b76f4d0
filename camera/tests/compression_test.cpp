// Compressor selection dialog and the source's compression settings on the simulated camera.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <mfc/dialog_manager.h>
#include <testing/dialog_watch.h>
#include <win32/user_controls.h>

#include "camera_fixture.h"

namespace {

class Compression : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        platform::testing::setDialogWatch([this](HWND dialog, const std::string& name) {
            if (name == "SelectCompressorDlg") {
                dialogs_.push_back(dialog);
            }
        });
    }
    void TearDown() override {
        platform::testing::setDialogWatch({});
        for (HWND dialog : dialogs_) {
            if (IsWindow(dialog)) {
                DestroyWindow(dialog);
            }
        }
        CameraTest::TearDown();
    }
    // Opens a further selection dialog; null when none was made.
    HWND OpenDialog(KZ_HANDLE h) {
        const std::size_t before = dialogs_.size();
        EXPECT_EQ(KZ_SelectCompressor(h), KZ_OK);
        return dialogs_.size() > before ? dialogs_.back() : nullptr;
    }
    static std::string SelectedEntry(HWND dialog) {
        const auto index = SendDlgItemMessage(dialog, 1000, CB_GETCURSEL, 0, 0);
        char text[260] = {};
        SendDlgItemMessage(dialog, 1000, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }
    static void Click(HWND dialog, int id) { SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    static std::string StoredCompressor() {
        char text[300] = {};
        DWORD type = 0;
        DWORD size = sizeof(text);
        return ReadCameraValue("Compressor", &type, text, &size) ? text : "<missing>";
    }
    static void StoreCompressor(const char* name) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veltrane\\Camera\\Korvi", 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueEx(key, "Compressor", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                      static_cast<DWORD>(std::strlen(name) + 1));
        RegCloseKey(key);
    }

    std::vector<HWND> dialogs_;
};

// The list starts with "No Compressor" and holds the installed encoders; the stored name selects its
// entry in any letter case, an empty one selects "No Compressor".
TEST_F(Compression, DialogPreselectsTheStoredCompressor) {
    const struct {
        const char* stored;
        const char* selected;
    } cases[] = {
        {"", "No Compressor"}, {"jpeg image encoder", "JPEG image encoder"}, {"Gone", "No Compressor"}};
    for (const auto& c : cases) {
        StoreCompressor(c.stored);
        KZ_HANDLE h = Open();
        ASSERT_NE(h, nullptr);
        HWND dialog = OpenDialog(h);
        ASSERT_NE(dialog, nullptr) << c.stored;
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_GT(SendDlgItemMessage(dialog, 1000, CB_GETCOUNT, 0, 0), 1) << "the encoders are listed";
        char first[260] = {};
        SendDlgItemMessage(dialog, 1000, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
        EXPECT_STREQ(first, "No Compressor");
        EXPECT_EQ(SelectedEntry(dialog), c.selected) << "stored \"" << c.stored << "\"";
        Click(dialog, IDCANCEL);
        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_EQ(StoredCompressor(), c.stored) << "Cancel stores nothing";
        KZ_UnInitial(&handle_);
    }
}

// OK stores the selected entry; "No Compressor" is stored as that text. Several dialogs may be open at
// once: the last OK wins. The dialog needs no device, only a handle that is not null.
TEST_F(Compression, OkStoresTheChoiceLastOkWins) {
    StoreCompressor("JPEG image encoder");
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    HWND first = OpenDialog(h);
    HWND second = OpenDialog(reinterpret_cast<KZ_HANDLE>(8));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    SendDlgItemMessage(second, 1000, CB_SETCURSEL, 0, 0);
    Click(second, IDOK);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(StoredCompressor(), "No Compressor");
    Click(first, IDOK);
    EXPECT_EQ(StoredCompressor(), "JPEG image encoder");
    EXPECT_TRUE(Boxes().calls().empty());
}

// The configuration button: "No Compressor" finds no filter and shows the error box; an encoder without
// a configuration dialog is passed over silently. The dialog stays open.
TEST_F(Compression, ConfigureButton) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    HWND dialog = OpenDialog(h);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, 1001);
    ExpectOneVeltraneBox(MB_OK);
    const auto count = SendDlgItemMessage(dialog, 1000, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        SendDlgItemMessage(dialog, 1000, CB_SETCURSEL, index, 0);
        if (SelectedEntry(dialog) == "JPEG image encoder") {
            break;
        }
    }
    ASSERT_EQ(SelectedEntry(dialog), "JPEG image encoder");
    Click(dialog, 1001);
    EXPECT_EQ(Boxes().calls().size(), 1u);
    EXPECT_TRUE(IsWindow(dialog));
}

// The source's settings: what it offers (key frames, quality) is written and read back; the P frames it
// lacks stay as the caller gave them.
TEST_F(Compression, DeviceCompressorWritesAndReadsWhatTheSourceOffers) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    LONG keyFrames = 0;
    LONG pFrames = 0;
    double quality = 0;
    EXPECT_EQ(KZ_DeviceCompressor(h, &keyFrames, &pFrames, &quality, 0), KZ_OK);
    EXPECT_EQ(keyFrames, 15);
    EXPECT_DOUBLE_EQ(quality, 0.75);
    keyFrames = 30;
    pFrames = 7;
    quality = 0.5;
    EXPECT_EQ(KZ_DeviceCompressor(h, &keyFrames, &pFrames, &quality, 1), KZ_OK);
    keyFrames = 0;
    pFrames = -3;
    quality = 0;
    EXPECT_EQ(KZ_DeviceCompressor(h, &keyFrames, &pFrames, &quality, 0), KZ_OK);
    EXPECT_EQ(keyFrames, 30);
    EXPECT_EQ(pFrames, -3);
    EXPECT_DOUBLE_EQ(quality, 0.5);
}

} // namespace
