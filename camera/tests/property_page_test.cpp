// KZ_ShowPropertyPage: the library's own dialog on the simulated camera (sensor registers, registry, auto
// loops, result messages) and the driver's page in its property frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <devices/proc_amp_page.h>
#include <dshow/capture.h>
#include <dshow/class_table.h>
#include <dshow/com_object.h>
#include <dshow/property_pages.h>
#include <mfc/dialog_manager.h>

#include "auto_loops.h"
#include "camera_device.h"
#include "camera_fixture.h"
#include "device_handle.h"
#include "driver_page_answer.h"
#include "driver_property_page.h"
#include "property_dialog.h"

namespace {

using korvib::AutoLoops;
using korvib::PropertyDialogWindow;

// Sensor registers of the gains and exposure.
constexpr BYTE kSensor = 0xBA;
constexpr BYTE kExposureReg = 0x09;
constexpr BYTE kRedReg = 0x2D;
constexpr BYTE kGreen1Reg = 0x2B;
constexpr BYTE kGreen2Reg = 0x2E;
constexpr BYTE kBlueReg = 0x2C;

// The property frame's Apply button.
constexpr int kApplyButton = 0x3021;

class PropertyPageTest : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        ResetLoops();
    }
    void TearDown() override {
        CameraTest::TearDown();
        ResetLoops();
    }
    static void ResetLoops() {
        AutoLoops().SwitchWhiteBalance(false);
        AutoLoops().SwitchExposure(false);
        AutoLoops().SetParameters(korvib::AutoParameters{});
    }
    // Opens the camera at 640 x 480 and starts a preview that draws nothing.
    KZ_HANDLE OpenRunning() {
        KZ_HANDLE h = OpenAt(640, 480);
        EXPECT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
        return h;
    }
    // Opens the own dialog on the running camera; the dialog window.
    HWND OpenDialog() {
        EXPECT_EQ(KZ_ShowPropertyPage(OpenRunning(), 0), KZ_OK);
        return PropertyDialogWindow();
    }
    void SetSensor(int red, int green, int blue, int exposure) {
        int values[5] = {exposure, red, green, green, blue};
        for (int index = 0; index < 5; ++index) {
            ASSERT_EQ(KZ_RegOperation(handle_, index, &values[index], 1), KZ_OK);
        }
    }
    unsigned Sensor(BYTE reg) { return Camera().i2cRegister(kSensor, reg); }
    static void StoreValue(const char* name, DWORD value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veltrane\\Camera\\Korvi", 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }
    // The stored DWORD, or -1 when the value is missing.
    static long long StoredValue(const char* name) {
        DWORD value = 0;
        DWORD type = 0;
        DWORD size = sizeof value;
        return ReadCameraValue(name, &type, &value, &size) ? static_cast<long long>(value) : -1;
    }
    static int Field(HWND dialog, int id) {
        BOOL translated = FALSE;
        return static_cast<int>(GetDlgItemInt(dialog, id, &translated, TRUE));
    }
    static int Position(HWND dialog, int slider) {
        return static_cast<int>(SendDlgItemMessage(dialog, slider, TBM_GETPOS, 0, 0));
    }
    // What the slider does when the user drags its thumb to `position`.
    static void Drag(HWND dialog, int slider, int position) {
        SendDlgItemMessage(dialog, slider, TBM_SETPOS, TRUE, position);
        SendMessage(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
                    reinterpret_cast<LPARAM>(GetDlgItem(dialog, slider)));
    }
    // What a push-like check box does when the user clicks it.
    static void Click(HWND dialog, int box) {
        CheckDlgButton(dialog, box,
                       IsDlgButtonChecked(dialog, box) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        SendMessage(dialog, WM_COMMAND, MAKEWPARAM(box, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(dialog, box)));
    }
    static void Drain() {
        MSG message{};
        while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessage(&message);
        }
    }
};

// Opening shows the stored values (defaults when missing, clamped when out of range) and sends them to the
// sensor at once, whatever the sensor held; the auto parameters are stored with their defaults.
TEST_F(PropertyPageTest, OpeningShowsAndWritesTheStoredValues) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, DWORD>> stored;
        int red, green, blue, exposure;
    } cases[] = {
        {"empty registry", {}, 31, 21, 40, 660},
        {"stored", {{"RGain", 12}, {"GGain1", 34}, {"BGain", 56}, {"Exposure", 1234}}, 12, 34, 56, 1234},
        {"zero and too large",
         {{"RGain", 0}, {"GGain1", 64}, {"BGain", 0}, {"Exposure", 20000}},
         31,
         63,
         40,
         16383},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [name, value] : c.stored) {
            StoreValue(name, value);
        }
        ASSERT_NE(OpenRunning(), nullptr);
        SetSensor(5, 6, 7, 8);
        ASSERT_EQ(KZ_ShowPropertyPage(handle_, 0), KZ_OK);
        const HWND dialog = PropertyDialogWindow();
        ASSERT_TRUE(IsWindow(dialog));
        EXPECT_TRUE(IsWindowVisible(dialog));
        const struct {
            int slider, field, value, maximum;
        } rows[] = {{korvib::kRedSlider, korvib::kRedValue, c.red, 63},
                    {korvib::kGreenSlider, korvib::kGreenValue, c.green, 63},
                    {korvib::kBlueSlider, korvib::kBlueValue, c.blue, 63},
                    {korvib::kExposureSlider, korvib::kExposureValue, c.exposure, 16383}};
        for (const auto& row : rows) {
            EXPECT_EQ(Position(dialog, row.slider), row.value) << row.slider;
            EXPECT_EQ(Field(dialog, row.field), row.value) << row.field;
            EXPECT_EQ(SendDlgItemMessage(dialog, row.slider, TBM_GETRANGEMIN, 0, 0), 1);
            EXPECT_EQ(SendDlgItemMessage(dialog, row.slider, TBM_GETRANGEMAX, 0, 0), row.maximum);
        }
        EXPECT_EQ(Sensor(kRedReg), static_cast<unsigned>(c.red));
        EXPECT_EQ(Sensor(kGreen1Reg), static_cast<unsigned>(c.green));
        EXPECT_EQ(Sensor(kGreen2Reg), static_cast<unsigned>(c.green));
        EXPECT_EQ(Sensor(kBlueReg), static_cast<unsigned>(c.blue));
        EXPECT_EQ(Sensor(kExposureReg), static_cast<unsigned>(c.exposure));
        const std::pair<const char*, int> autoDefaults[] = {
            {"AWBDiff", 10}, {"AEDiff", 10}, {"AWBTarget", 180}, {"AETarget", 180}, {"AutoSplit", 4}};
        for (const auto& [name, value] : autoDefaults) {
            EXPECT_EQ(StoredValue(name), value) << name;
        }
        EXPECT_EQ(StoredValue("bCustomProp"), 0);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, korvib::kGreen2Slider)));
        ASSERT_EQ(KZ_UnInitial(&handle_), KZ_OK);
        EXPECT_FALSE(IsWindow(dialog)) << "the device's destruction closes the dialog";
        EXPECT_EQ(PropertyDialogWindow(), nullptr);
    }
}

// The registry's auto parameters reach the loops when the dialog opens.
TEST_F(PropertyPageTest, OpeningHandsTheStoredAutoParametersToTheLoops) {
    StoreValue("AWBTarget", 150);
    StoreValue("AEDiff", 3);
    StoreValue("AutoSplit", 2);
    ASSERT_NE(OpenDialog(), nullptr);
    const korvib::AutoParameters parameters = AutoLoops().Parameters();
    EXPECT_EQ(parameters.awbTarget, 150);
    EXPECT_EQ(parameters.aeDiff, 3);
    EXPECT_EQ(parameters.autoSplit, 2);
    EXPECT_EQ(parameters.awbDiff, 10);
    EXPECT_EQ(parameters.aeTarget, 180);
}

// Every slider move reaches its field and register at once (green both green registers).
TEST_F(PropertyPageTest, SliderMovesReachTheSensor) {
    const HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    const struct {
        int slider, field, position;
        std::vector<BYTE> regs;
    } moves[] = {{korvib::kRedSlider, korvib::kRedValue, 17, {kRedReg}},
                 {korvib::kGreenSlider, korvib::kGreenValue, 50, {kGreen1Reg, kGreen2Reg}},
                 {korvib::kBlueSlider, korvib::kBlueValue, 1, {kBlueReg}},
                 {korvib::kExposureSlider, korvib::kExposureValue, 16000, {kExposureReg}}};
    for (const auto& move : moves) {
        Camera().clearLogs();
        Drag(dialog, move.slider, move.position);
        EXPECT_EQ(Field(dialog, move.field), move.position) << move.slider;
        const auto writes = Camera().registerWrites();
        ASSERT_EQ(writes.size(), move.regs.size()) << move.slider;
        for (std::size_t i = 0; i < writes.size(); ++i) {
            EXPECT_EQ(writes[i].reg, move.regs[i]);
            EXPECT_EQ(writes[i].value, static_cast<unsigned>(move.position));
        }
    }
    Camera().clearLogs();
    SendMessage(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 5), 0);
    EXPECT_TRUE(Camera().registerWrites().empty()) << "a scroll from no slider writes nothing";
}

// OK stores the five positions (GGain2 from the hidden slider, which nothing moves) and closes; Cancel closes
// and leaves the registry as it was, while the sensor keeps what the sliders wrote.
TEST_F(PropertyPageTest, OkStoresThePositionsCancelKeepsTheRegistry) {
    for (const int button : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(button == IDOK ? "OK" : "Cancel");
        const HWND dialog = OpenDialog();
        ASSERT_NE(dialog, nullptr);
        Drag(dialog, korvib::kRedSlider, 20);
        Drag(dialog, korvib::kGreenSlider, 30);
        Drag(dialog, korvib::kBlueSlider, 45);
        Drag(dialog, korvib::kExposureSlider, 900);
        SendMessage(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_EQ(PropertyDialogWindow(), nullptr);
        const bool ok = button == IDOK;
        EXPECT_EQ(StoredValue("RGain"), ok ? 20 : 31);
        EXPECT_EQ(StoredValue("GGain1"), ok ? 30 : 21);
        EXPECT_EQ(StoredValue("GGain2"), ok ? 0 : -1);
        EXPECT_EQ(StoredValue("BGain"), ok ? 45 : 40);
        EXPECT_EQ(StoredValue("Exposure"), ok ? 900 : 660);
        EXPECT_EQ(Sensor(kRedReg), 20u);
        EXPECT_EQ(Sensor(kExposureReg), 900u);
        ASSERT_EQ(KZ_UnInitial(&handle_), KZ_OK);
        // The next round starts from an empty registry again.
        RegistryFileTest::TearDown();
        RegistryFileTest::SetUp();
    }
}

// The system menu's Close is Cancel: the registry keeps its values and the dialog can open again.
TEST_F(PropertyPageTest, CloseIsCancelAndTheDialogOpensAgain) {
    const HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    Drag(dialog, korvib::kRedSlider, 9);
    SendMessage(dialog, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(StoredValue("RGain"), 31);
    EXPECT_EQ(KZ_ShowPropertyPage(handle_, 0), KZ_OK);
    EXPECT_EQ(Field(PropertyDialogWindow(), korvib::kRedValue), 31);
    EXPECT_EQ(Sensor(kRedReg), 31u) << "opening again sends the stored value";
}

// A second open fails and brings the same dialog back, shown, topmost, where it was.
TEST_F(PropertyPageTest, SecondOpenFailsAndShowsTheOpenDialogOnTop) {
    const HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    SetWindowPos(dialog, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT before{};
    GetWindowRect(dialog, &before);
    ShowWindow(dialog, SW_HIDE);
    StoreValue("bCustomProp", 7);
    EXPECT_EQ(KZ_ShowPropertyPage(handle_, 0), KZ_ERR_FAILED);
    EXPECT_EQ(PropertyDialogWindow(), dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(GetWindowLong(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT after{};
    GetWindowRect(dialog, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(StoredValue("bCustomProp"), 7) << "a failed open stores nothing";
}

// The boxes switch the loops on (counter from 0) and off.
TEST_F(PropertyPageTest, CheckBoxesSwitchTheAutoLoops) {
    const HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    Click(dialog, korvib::kAutoWhiteBalanceBox);
    EXPECT_TRUE(AutoLoops().WhiteBalanceOn());
    EXPECT_FALSE(AutoLoops().ExposureOn());
    Click(dialog, korvib::kAutoExposureBox);
    EXPECT_TRUE(AutoLoops().ExposureOn());
    Click(dialog, korvib::kAutoWhiteBalanceBox);
    EXPECT_FALSE(AutoLoops().WhiteBalanceOn());
    EXPECT_TRUE(AutoLoops().ExposureOn());
    Click(dialog, korvib::kAutoExposureBox);
    EXPECT_FALSE(AutoLoops().ExposureOn());
}

// The result messages move the sliders without writing the sensor or the registry; each box then shows
// whether its loop runs, so white balance's exposure result leaves a running exposure loop's box checked.
TEST_F(PropertyPageTest, ResultMessagesMoveTheSlidersAndClearTheBoxes) {
    const HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    CheckDlgButton(dialog, korvib::kAutoWhiteBalanceBox, BST_CHECKED);
    Click(dialog, korvib::kAutoExposureBox);
    Camera().clearLogs();
    EXPECT_TRUE(SendMessage(dialog, korvib::WM_AWB_RESULT, 21 + 31 * 256 + 40 * 65536, 0) == 0);
    EXPECT_EQ(Position(dialog, korvib::kRedSlider), 21);
    EXPECT_EQ(Position(dialog, korvib::kGreenSlider), 31);
    EXPECT_EQ(Position(dialog, korvib::kBlueSlider), 40);
    EXPECT_EQ(Field(dialog, korvib::kRedValue), 21);
    EXPECT_EQ(Field(dialog, korvib::kGreenValue), 31);
    EXPECT_EQ(Field(dialog, korvib::kBlueValue), 40);
    EXPECT_EQ(IsDlgButtonChecked(dialog, korvib::kAutoWhiteBalanceBox), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, korvib::kAutoExposureBox), BST_CHECKED);
    SendMessage(dialog, korvib::WM_AE_RESULT, 4321, 0);
    EXPECT_EQ(Position(dialog, korvib::kExposureSlider), 4321);
    EXPECT_EQ(Field(dialog, korvib::kExposureValue), 4321);
    EXPECT_EQ(IsDlgButtonChecked(dialog, korvib::kAutoExposureBox), BST_CHECKED) << "exposure still runs";
    AutoLoops().SwitchExposure(false);
    SendMessage(dialog, korvib::WM_AE_RESULT, 1234, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, korvib::kAutoExposureBox), BST_UNCHECKED);
    EXPECT_TRUE(Camera().registerWrites().empty());
    EXPECT_EQ(StoredValue("RGain"), 31);
    EXPECT_EQ(StoredValue("Exposure"), 660);
}

// Switched on by its box, white balance runs on the camera's frames until it finishes, converged or at its
// bound; its posted result brings the gains the sensor has into the dialog, the exposure box stays checked
// while exposure runs on, and OK stores what the sensor has.
TEST_F(PropertyPageTest, WhiteBalanceFromTheBoxEndsInTheDialog) {
    const struct {
        const char* name;
        DWORD awbDiff;
        double light;
        bool exposureRunsOn; // exposure finishes on the same frame when white balance ends by the bound
    } cases[] = {{"converging", 10, 1, true},
                 {"overshooting to its bound", 1, 1, false},
                 {"black scene", 10, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreValue("AWBDiff", c.awbDiff);
        StoreValue("AETarget", 250); // out of reach: exposure runs to its bound
        const HWND dialog = OpenDialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(Camera().setLightLevel(c.light));
        Click(dialog, korvib::kAutoWhiteBalanceBox);
        Click(dialog, korvib::kAutoExposureBox);
        int frames = 0;
        while (AutoLoops().WhiteBalanceOn() && frames < 200) {
            Camera().deliverFrames(1);
            ++frames;
        }
        ASSERT_FALSE(AutoLoops().WhiteBalanceOn());
        Drain();
        EXPECT_EQ(IsDlgButtonChecked(dialog, korvib::kAutoWhiteBalanceBox), BST_UNCHECKED);
        EXPECT_EQ(AutoLoops().ExposureOn(), c.exposureRunsOn);
        EXPECT_EQ(IsDlgButtonChecked(dialog, korvib::kAutoExposureBox),
                  c.exposureRunsOn ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_EQ(Position(dialog, korvib::kRedSlider), static_cast<int>(Sensor(kRedReg)));
        EXPECT_EQ(Position(dialog, korvib::kGreenSlider), static_cast<int>(Sensor(kGreen1Reg)));
        EXPECT_EQ(Position(dialog, korvib::kBlueSlider), static_cast<int>(Sensor(kBlueReg)));
        EXPECT_NE(Position(dialog, korvib::kRedSlider), 31) << "the loop moved the gains";
        RecordProperty(c.name, std::to_string(frames) + " frames");
        SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(StoredValue("RGain"), static_cast<long long>(Sensor(kRedReg)));
        EXPECT_EQ(StoredValue("GGain1"), static_cast<long long>(Sensor(kGreen1Reg)));
        EXPECT_EQ(StoredValue("BGain"), static_cast<long long>(Sensor(kBlueReg)));
        ASSERT_EQ(KZ_UnInitial(&handle_), KZ_OK);
        RegistryFileTest::TearDown();
        RegistryFileTest::SetUp();
    }
}

// A loop that switches itself off without a result (sensor absent, a region split finer than the frame)
// clears its box.
TEST_F(PropertyPageTest, LoopsThatGiveUpClearTheirBoxes) {
    for (const bool absentSensor : {true, false}) {
        SCOPED_TRACE(absentSensor ? "sensor absent" : "split finer than the frame");
        StoreValue("AutoSplit", absentSensor ? 4 : 1000);
        const HWND dialog = OpenDialog();
        ASSERT_NE(dialog, nullptr);
        Camera().setSensorPresent(!absentSensor);
        Click(dialog, korvib::kAutoWhiteBalanceBox);
        Click(dialog, korvib::kAutoExposureBox);
        Camera().deliverFrames(4);
        EXPECT_FALSE(AutoLoops().WhiteBalanceOn());
        EXPECT_FALSE(AutoLoops().ExposureOn());
        Drain();
        EXPECT_EQ(IsDlgButtonChecked(dialog, korvib::kAutoWhiteBalanceBox), BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, korvib::kAutoExposureBox), BST_UNCHECKED);
        Camera().setSensorPresent(true);
        ASSERT_EQ(KZ_UnInitial(&handle_), KZ_OK);
        RegistryFileTest::TearDown();
        RegistryFileTest::SetUp();
    }
}

// Closing the dialog for good (OK, Cancel, the system menu's Close), or closing the camera, switches both
// loops off: nothing could show their results or stop them any more.
TEST_F(PropertyPageTest, ClosingSwitchesTheLoopsOff) {
    const struct {
        UINT message;
        WPARAM wParam;
    } closes[] = {{WM_COMMAND, IDOK}, {WM_COMMAND, IDCANCEL}, {WM_CLOSE, 0}};
    for (const auto& close : closes) {
        SCOPED_TRACE(close.wParam);
        const HWND dialog = OpenDialog();
        ASSERT_NE(dialog, nullptr);
        Click(dialog, korvib::kAutoWhiteBalanceBox);
        Click(dialog, korvib::kAutoExposureBox);
        SendMessage(dialog, close.message, close.wParam, 0);
        ASSERT_FALSE(IsWindow(dialog));
        EXPECT_FALSE(AutoLoops().WhiteBalanceOn());
        EXPECT_FALSE(AutoLoops().ExposureOn());
        ASSERT_EQ(KZ_UnInitial(&handle_), KZ_OK);
    }
    ASSERT_NE(OpenRunning(), nullptr);
    AutoLoops().SwitchWhiteBalance(true);
    AutoLoops().SwitchExposure(true);
    ASSERT_EQ(KZ_UnInitial(&handle_), KZ_OK);
    EXPECT_FALSE(AutoLoops().WhiteBalanceOn());
    EXPECT_FALSE(AutoLoops().ExposureOn());
}

// Result codes of both modes; the driver's page shows the camera's page, and bCustomProp becomes 1.
TEST_F(PropertyPageTest, ResultCodesOfBothModes) {
    EXPECT_EQ(KZ_ShowPropertyPage(nullptr, 1), KZ_ERR_NULL_HANDLE);
    ASSERT_NE(OpenAt(640, 480), nullptr);
    for (const int mode : {0, 1, -1}) {
        EXPECT_EQ(KZ_ShowPropertyPage(handle_, mode), KZ_ERR_NOT_RUNNING) << mode;
    }
    EXPECT_EQ(StoredValue("bCustomProp"), -1) << "refused calls store nothing";
    ASSERT_EQ(KZ_Start(handle_, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    EXPECT_EQ(KZ_ShowPropertyPage(handle_, 0), KZ_OK);
    EXPECT_EQ(StoredValue("bCustomProp"), 0);
    EXPECT_EQ(KZ_ShowPropertyPage(handle_, 0), KZ_ERR_FAILED);
    PageAnswer answer([](HWND page) { PressFrameButton(page, IDCANCEL); });
    EXPECT_EQ(KZ_ShowPropertyPage(handle_, 2), KZ_OK);
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(StoredValue("bCustomProp"), 1);
    EXPECT_TRUE(Boxes().calls().empty());
    EXPECT_NE(PropertyDialogWindow(), nullptr) << "the driver's page leaves the own dialog open";
}

// ---- The driver's page in its frame, on a filter that offers pages ----

// A page of the driver's class: records its objects and presses OK once shown.
struct PageSeen {
    int shown = 0;
    std::vector<IUnknown*> objects;
};

class DriverPage final : public platform::dshow::ComObject<IPropertyPage> {
public:
    explicit DriverPage(PageSeen& seen) : seen_(seen) {}
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override {
        info->pszTitle = nullptr;
        info->size = SIZE{200, 100};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override {
        if (count != 0) {
            seen_.objects.assign(objects, objects + count);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT, BOOL) override {
        ++seen_.shown;
        PostMessage(parent, WM_COMMAND, IDOK, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Deactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Apply() override { return S_OK; }

private:
    PageSeen& seen_;
};

// A filter that names its pages; it is never asked which.
class FilterWithPages final : public platform::dshow::ComObject<ISpecifyPropertyPages> {
public:
    int asked = 0;
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override {
        ++asked;
        pages->cElems = 0;
        pages->pElems = nullptr;
        return S_OK;
    }
};

TEST_F(PropertyPageTest, DriverPageShowsTheDriversClassForTheSource) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    for (const bool pageRegistered : {true, false}) {
        SCOPED_TRACE(pageRegistered ? "page class registered"
                                    : "the camera's page, on a filter without amplifier");
        const std::size_t boxesBefore = Boxes().calls().size();
        PageSeen seen;
        const int token = pageRegistered
                              ? platform::dshow::registerClass(korvib::CLSID_DriverPropertyPage,
                                                               [&seen](REFIID riid, void** object) {
                                                                   auto* page = new DriverPage(seen);
                                                                   const HRESULT hr =
                                                                       page->QueryInterface(riid, object);
                                                                   page->Release();
                                                                   return hr;
                                                               })
                              : 0;
        auto* filter = new FilterWithPages;
        korvib::ShowDriverPropertyPage(filter);
        EXPECT_EQ(seen.shown, pageRegistered ? 1 : 0);
        if (pageRegistered) {
            ASSERT_EQ(seen.objects.size(), 1u);
            EXPECT_EQ(seen.objects[0], static_cast<IUnknown*>(filter));
            platform::dshow::unregisterClass(token);
        }
        EXPECT_EQ(filter->asked, 0);
        EXPECT_EQ(Boxes().calls().size() - boxesBefore, pageRegistered ? 0u : 1u)
            << "a frame that fails shows the COM error box";
        EXPECT_EQ(filter->Release(), 0u) << "the pages interface is released";
    }
    CoUninitialize();
}

// ---- The camera's own page ----

// The simulated source lists the camera's page, which is the driver's class; the page refuses an object
// without the amplifier, so the frame fails before showing anything.
TEST_F(PropertyPageTest, SourceListsTheAmplifierPageWhichNeedsAnAmplifier) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_NE(OpenAt(640, 480), nullptr);
    IUnknown* source = korvib::AsDevice(handle_)->Source();
    ASSERT_NE(source, nullptr);
    ISpecifyPropertyPages* pages = nullptr;
    ASSERT_EQ(source->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages)), S_OK);
    CAUUID listed{};
    ASSERT_EQ(pages->GetPages(&listed), S_OK);
    ASSERT_EQ(listed.cElems, 1u);
    EXPECT_EQ(listed.pElems[0], korvib::CLSID_DriverPropertyPage);
    EXPECT_EQ(listed.pElems[0], platform::devices::CLSID_ProcAmpPropertyPage);
    CoTaskMemFree(listed.pElems);
    EXPECT_EQ(pages->GetPages(nullptr), E_POINTER);
    pages->Release();

    auto* noAmplifier = new FilterWithPages;
    IUnknown* objects[] = {noAmplifier};
    PageAnswer answer([](HWND page) { PressFrameButton(page, IDCANCEL); });
    EXPECT_EQ(OleCreatePropertyFrame(nullptr, 30, 30, nullptr, 1, objects, 1,
                                     &korvib::CLSID_DriverPropertyPage, 0, 0, nullptr),
              E_NOINTERFACE);
    EXPECT_FALSE(answer.Answered());
    EXPECT_EQ(noAmplifier->Release(), 0u);
    CoUninitialize();
}

// The driver's page on the running camera shows the amplifier's ranges and values; moved bars show their
// positions, and only Apply or OK write them to the amplifier.
TEST_F(PropertyPageTest, AmplifierPageWritesOnApplyAndOkOnly) {
    ASSERT_NE(OpenRunning(), nullptr);
    const struct {
        int property, minimum, maximum, initial, moved;
    } rows[] = {{KZ_PARAM_BRIGHTNESS, 0, 255, 128, 200},
                {KZ_PARAM_CONTRAST, 0, 63, 32, 10},
                {KZ_PARAM_SATURATION, 0, 63, 32, 63},
                {KZ_PARAM_SHARPNESS, 0, 15, 8, 0},
                {KZ_PARAM_GAMMA, 0, 63, 32, 41}};
    const struct {
        const char* name;
        std::vector<int> buttons;
        bool written;
    } cases[] = {
        {"ok", {IDOK}, true},
        {"cancel", {IDCANCEL}, false},
        {"apply then cancel", {kApplyButton, IDCANCEL}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& row : rows) {
            ASSERT_EQ(KZ_SetParam(handle_, row.property, row.initial), KZ_OK);
        }
        PageAnswer answer([&](HWND page) {
            for (const auto& row : rows) {
                SCOPED_TRACE(row.property);
                const HWND bar = GetDlgItem(page, platform::devices::kProcAmpBarId + row.property);
                const int text = platform::devices::kProcAmpValueId + row.property;
                if (bar == nullptr) {
                    ADD_FAILURE() << "no track bar";
                    continue;
                }
                EXPECT_EQ(SendMessage(bar, TBM_GETRANGEMIN, 0, 0), row.minimum);
                EXPECT_EQ(SendMessage(bar, TBM_GETRANGEMAX, 0, 0), row.maximum);
                EXPECT_EQ(Position(page, platform::devices::kProcAmpBarId + row.property), row.initial);
                EXPECT_EQ(Field(page, text), row.initial);
                Drag(page, platform::devices::kProcAmpBarId + row.property, row.moved);
                EXPECT_EQ(Field(page, text), row.moved);
                int value = -1;
                EXPECT_EQ(KZ_GetParam(handle_, row.property, &value), KZ_OK);
                EXPECT_EQ(value, row.initial) << "a moved bar writes nothing yet";
            }
            EXPECT_EQ(GetDlgItem(page, platform::devices::kProcAmpBarId + KZ_PARAM_HUE), nullptr)
                << "hue is not supported";
            for (const int button : c.buttons) {
                PressFrameButton(page, button);
            }
        });
        EXPECT_EQ(KZ_ShowPropertyPage(handle_, 1), KZ_OK);
        ASSERT_TRUE(answer.Answered());
        for (const auto& row : rows) {
            int value = -1;
            EXPECT_EQ(KZ_GetParam(handle_, row.property, &value), KZ_OK);
            EXPECT_EQ(value, c.written ? row.moved : row.initial) << row.property;
        }
        EXPECT_TRUE(Boxes().calls().empty());
    }
}

} // namespace
