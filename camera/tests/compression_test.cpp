// Compressor selection dialog and the source's compression settings on the simulated camera.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include <mfc/dialog_manager.h>
#include <dshow/capture.h>
#include <seams/dialog_watch.h>
#include <win32/message_loop.h>
#include <win32/user_controls.h>

#include "camera_fixture.h"

namespace {

class Compression : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        platform::seams::setDialogWatch([this](HWND dialog, const std::string& name) {
            if (name == "SelectCompressorDlg") {
                dialogs_.push_back(dialog);
            }
        });
    }
    void TearDown() override {
        platform::seams::setDialogWatch({});
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

// The dialog needs no device: on a thread where nothing has initialised COM it still lists the encoders.
TEST_F(Compression, DialogListsTheEncodersWithoutADevice) {
    HWND dialog = OpenDialog(reinterpret_cast<KZ_HANDLE>(8));
    ASSERT_NE(dialog, nullptr);
    EXPECT_GT(SendDlgItemMessage(dialog, 1000, CB_GETCOUNT, 0, 0), 1);
    Click(dialog, IDCANCEL);
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

// Answers a compressor's configuration dialog once its modal loop runs: sets the quality box to
// `quality` (none: leaves it) and presses `button`.
class ConfigAnswer {
public:
    ConfigAnswer(const char* quality, int button) {
        platform::user::setPreTranslateHook([this, quality, button](MSG& message) {
            HWND window = message.hwnd;
            while (window != nullptr && GetParent(window) != nullptr) {
                window = GetParent(window);
            }
            HWND edit = window != nullptr ? GetDlgItem(window, kQualityEdit) : nullptr;
            if (edit != nullptr && !answered_) {
                answered_ = true;
                if (quality != nullptr) {
                    SetWindowText(edit, quality);
                }
                PostMessage(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            }
            return false;
        });
    }
    ~ConfigAnswer() { platform::user::setPreTranslateHook({}); }
    bool Answered() const { return answered_; }

private:
    static constexpr int kQualityEdit = 0x3101;
    bool answered_ = false;
};

// Selects the entry of that text; false when the list has none.
bool SelectEntry(HWND dialog, const std::string& text) {
    const auto count = SendDlgItemMessage(dialog, 1000, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        char entry[260] = {};
        SendDlgItemMessage(dialog, 1000, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry));
        if (text == entry) {
            SendDlgItemMessage(dialog, 1000, CB_SETCURSEL, index, 0);
            return true;
        }
    }
    return false;
}

// The configuration button does nothing for "No Compressor" and opens the chosen encoder's own dialog;
// the selection dialog stays open and no box is shown.
TEST_F(Compression, ConfigureButton) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    HWND dialog = OpenDialog(h);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(SelectedEntry(dialog), "No Compressor");
    {
        ConfigAnswer answer(nullptr, IDCANCEL);
        Click(dialog, 1001);
        EXPECT_FALSE(answer.Answered());
    }
    ASSERT_TRUE(SelectEntry(dialog, "JPEG image encoder"));
    {
        ConfigAnswer answer(nullptr, IDCANCEL);
        Click(dialog, 1001);
        EXPECT_TRUE(answer.Answered()) << "the encoder's dialog ran";
    }
    EXPECT_TRUE(Boxes().calls().empty());
    EXPECT_TRUE(IsWindow(dialog));
}

// The quality chosen in the encoder's dialog shapes the next recording: a low quality gives a far
// smaller file of the same frames than a high one.
TEST_F(Compression, ConfiguredQualityShapesTheNextRecording) {
    StoreCompressor("JPEG image encoder");
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    Camera().setScene(platform::devices::Scene::Natural);
    const auto folder = std::filesystem::temp_directory_path() / ("korvib_quality_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::uintmax_t sizes[2] = {};
    const char* qualities[2] = {"5", "95"};
    for (int i = 0; i < 2; ++i) {
        HWND dialog = OpenDialog(h);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(SelectedEntry(dialog), "JPEG image encoder");
        {
            ConfigAnswer answer(qualities[i], IDOK);
            Click(dialog, 1001);
            ASSERT_TRUE(answer.Answered());
        }
        Click(dialog, IDOK);
        const auto file = folder / ("q" + std::string(qualities[i]) + ".avi");
        ASSERT_EQ(KZ_StartCapture(h, file.c_str()), KZ_OK);
        Camera().deliverFrames(3);
        ASSERT_EQ(KZ_StopCapture(h), KZ_OK);
        sizes[i] = std::filesystem::file_size(file);
    }
    std::filesystem::remove_all(folder);
    EXPECT_LT(sizes[0] * 3, sizes[1]) << sizes[0] << " bytes at quality 5, " << sizes[1] << " at 95";
}

struct CompressionCase {
    const char* name;
    platform::devices::CompressionKnobs knobs;
    LONG keyFrames; // read after writing 30, 7, 0.5; kUntouched: left as the caller gave it
    LONG pFrames;
    double quality;
};

constexpr LONG kUntouched = -3;
constexpr double kUntouchedQuality = -0.25;

platform::devices::CompressionKnobs Knobs(LONG capabilities, bool readsFail = false, bool offered = true,
                                          bool infoFails = false) {
    platform::devices::CompressionKnobs knobs;
    knobs.capabilities = capabilities;
    knobs.readsFail = readsFail;
    knobs.offered = offered;
    knobs.infoFails = infoFails;
    knobs.defaultKeyFrameRate = 12;
    knobs.defaultPFrames = 4;
    knobs.defaultQuality = 0.6;
    return knobs;
}

class DeviceCompressorCaps : public Compression, public ::testing::WithParamInterface<CompressionCase> {};

// KZ_DeviceCompressor writes and reads back what the source's capabilities offer, gives the defaults
// where a read fails, and leaves the rest, or everything without the interface or its description, as
// the caller gave it; KZ_OK in every case.
TEST_P(DeviceCompressorCaps, ExchangesWhatTheSourceOffers) {
    const CompressionCase& c = GetParam();
    Camera().setCompression(c.knobs);
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    LONG keyFrames = 30;
    LONG pFrames = 7;
    double quality = 0.5;
    EXPECT_EQ(KZ_DeviceCompressor(h, &keyFrames, &pFrames, &quality, 1), KZ_OK);
    keyFrames = kUntouched;
    pFrames = kUntouched;
    quality = kUntouchedQuality;
    EXPECT_EQ(KZ_DeviceCompressor(h, &keyFrames, &pFrames, &quality, 0), KZ_OK);
    EXPECT_EQ(keyFrames, c.keyFrames);
    EXPECT_EQ(pFrames, c.pFrames);
    EXPECT_DOUBLE_EQ(quality, c.quality);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, DeviceCompressorCaps,
    ::testing::Values(
        CompressionCase{"KeyFramesAndQuality", Knobs(CompressionCaps_CanQuality | CompressionCaps_CanKeyFrame), 30,
                        kUntouched, 0.5},
        CompressionCase{"All", Knobs(CompressionCaps_CanQuality | CompressionCaps_CanKeyFrame |
                                     CompressionCaps_CanBFrame),
                        30, 7, 0.5},
        CompressionCase{"OnlyPFrames", Knobs(CompressionCaps_CanBFrame), kUntouched, 7, kUntouchedQuality},
        CompressionCase{"ReadsFailGiveDefaults",
                        Knobs(CompressionCaps_CanQuality | CompressionCaps_CanKeyFrame | CompressionCaps_CanBFrame,
                              true),
                        12, 4, 0.6},
        CompressionCase{"NoInterface", Knobs(CompressionCaps_CanQuality, false, false), kUntouched, kUntouched,
                        kUntouchedQuality},
        CompressionCase{"NoDescription", Knobs(CompressionCaps_CanQuality, false, true, true), kUntouched,
                        kUntouched, kUntouchedQuality}),
    [](const ::testing::TestParamInfo<CompressionCase>& info) { return std::string(info.param.name); });

} // namespace
