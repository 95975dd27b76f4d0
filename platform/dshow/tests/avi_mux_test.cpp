// The AVI multiplexer behind SetOutputFileName and the compressor category of GStreamer encoders.
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <dshow/dshow.h>
#include <win32/message_loop.h>
#include <win32/user.h>

#include "compressor_config_dialog.h"

#include "graph_support.h"
#include "test_source.h"

namespace {

using namespace testing_dshow;

class AviMuxTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        builder_ = create<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2);
        graph_ = create<IGraphBuilder>(CLSID_FilterGraph);
    }
    void TearDown() override {
        builder_.reset();
        graph_.reset();
        ComTest::TearDown();
    }

    ComPtr<ICaptureGraphBuilder2> builder_;
    ComPtr<IGraphBuilder> graph_;
};

// Each bad argument has its code and adds nothing; a good call adds "Mux", whose sink names the file.
TEST_F(AviMuxTest, SetOutputFileNameChecksItsArguments) {
    IBaseFilter* mux = reinterpret_cast<IBaseFilter*>(8);
    EXPECT_EQ(builder_->SetOutputFileName(&MEDIASUBTYPE_Avi, L"x.avi", &mux, nullptr), E_UNEXPECTED)
        << "no graph";
    EXPECT_EQ(mux, nullptr);
    ASSERT_EQ(builder_->SetFiltergraph(graph_.get()), S_OK);
    const struct {
        const char* name;
        const GUID* type;
        LPCOLESTR file;
        HRESULT expected;
    } cases[] = {{"null type", nullptr, L"x.avi", E_POINTER},
                 {"null file", &MEDIASUBTYPE_Avi, nullptr, E_POINTER},
                 {"other type", &MEDIASUBTYPE_RGB24, L"x.avi", E_INVALIDARG},
                 {"empty file", &MEDIASUBTYPE_Avi, L"", E_INVALIDARG}};
    for (const auto& c : cases)
        EXPECT_EQ(builder_->SetOutputFileName(c.type, c.file, &mux, nullptr), c.expected) << c.name;
    ComPtr<IBaseFilter> found;
    EXPECT_EQ(graph_->FindFilterByName(L"Mux", found.put()), VFW_E_NOT_FOUND);

    IFileSinkFilter* sink = nullptr;
    ASSERT_EQ(builder_->SetOutputFileName(&MEDIASUBTYPE_Avi, L"C:\\clips\\a.avi", &mux, &sink), S_OK);
    ASSERT_NE(sink, nullptr);
    EXPECT_EQ(graph_->FindFilterByName(L"Mux", found.put()), S_OK);
    EXPECT_EQ(found.get(), mux);
    LPOLESTR file = nullptr;
    ASSERT_EQ(sink->GetCurFile(&file, nullptr), S_OK);
    EXPECT_EQ(std::wstring(file), L"C:\\clips\\a.avi");
    CoTaskMemFree(file);
    sink->Release();
    mux->Release();
}

// The moniker of the listed compressor named `name`, or null.
ComPtr<IMoniker> findCompressor(const std::wstring& name, std::vector<std::wstring>* names = nullptr) {
    auto devices = create<ICreateDevEnum>(CLSID_SystemDeviceEnum);
    ComPtr<IEnumMoniker> list;
    EXPECT_EQ(devices->CreateClassEnumerator(CLSID_VideoCompressorCategory, list.put(), 0), S_OK);
    ComPtr<IMoniker> found;
    IMoniker* moniker = nullptr;
    while (list && list->Next(1, &moniker, nullptr) == S_OK) {
        const std::wstring listed = friendlyName(moniker);
        if (names)
            names->push_back(listed);
        if (listed == name)
            found = ComPtr<IMoniker>(moniker);
        moniker->Release();
    }
    return found;
}

ComPtr<IBaseFilter> bindCompressor(const std::wstring& name) {
    ComPtr<IBaseFilter> compressor;
    if (ComPtr<IMoniker> moniker = findCompressor(name))
        EXPECT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, compressor.putVoid()), S_OK);
    return compressor;
}

// The category lists the known encoders by long name in order, none of those that cannot record; a bound
// compressor is a filter with an input and an output pin; one with settings offers its configuration
// dialog, one without does not.
TEST_F(AviMuxTest, CompressorCategoryHoldsTheEncoders) {
    std::vector<std::wstring> names;
    findCompressor(L"", &names);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    for (const wchar_t* refused : {L"libav DV (Digital Video) encoder", L"libav MPEG-1 video encoder",
                                   L"libav H.263 / H.263-1996 encoder", L"mpeg2enc video encoder",
                                   L"libav OpenMAX IL H.264 video encoder encoder"})
        EXPECT_EQ(std::find(names.begin(), names.end(), refused), names.end());
    ComPtr<IBaseFilter> jpeg = bindCompressor(L"JPEG image encoder");
    ASSERT_TRUE(jpeg);
    ComPtr<IPin> input;
    ComPtr<IPin> output;
    EXPECT_EQ(jpeg->FindPin(L"Input", input.put()), S_OK);
    EXPECT_EQ(jpeg->FindPin(L"Output", output.put()), S_OK);
    ComPtr<IAMVfwCompressDialogs> dialogs;
    ASSERT_EQ(jpeg->QueryInterface(IID_IAMVfwCompressDialogs, dialogs.putVoid()), S_OK);
    EXPECT_EQ(dialogs->ShowDialog(VfwCompressDialog_QueryConfig, nullptr), S_OK);
    EXPECT_EQ(dialogs->ShowDialog(VfwCompressDialog_QueryAbout, nullptr), E_NOTIMPL);
    ComPtr<IBaseFilter> png = bindCompressor(L"PNG image encoder");
    ASSERT_TRUE(png);
    ComPtr<IAMVfwCompressDialogs> none;
    EXPECT_EQ(png->QueryInterface(IID_IAMVfwCompressDialogs, none.putVoid()), E_NOINTERFACE);
}

// Answers the configuration dialog once it runs: `answer` gets its window from the first message the
// dialog's modal loop retrieves for it or one of its controls.
class ConfigAnswer {
public:
    explicit ConfigAnswer(std::function<void(HWND dialog)> answer) {
        platform::user::setPreTranslateHook([this, answer = std::move(answer)](MSG& message) {
            HWND window = message.hwnd;
            while (window && GetParent(window))
                window = GetParent(window);
            if (window && !answered_ && (GetDlgItem(window, platform::dshow::kQualityEdit) ||
                                         GetDlgItem(window, platform::dshow::kBitRateEdit))) {
                answered_ = true;
                answer(window);
            }
            return false;
        });
    }
    ~ConfigAnswer() { platform::user::setPreTranslateHook({}); }

private:
    bool answered_ = false;
};

std::string editText(HWND dialog, int id) {
    char text[32] = {};
    HWND edit = GetDlgItem(dialog, id);
    if (!edit)
        return "<none>";
    GetWindowText(edit, text, sizeof text);
    return text;
}

// Runs the compressor's dialog: `seen` gets the texts shown, then the edits are set and `button` pressed.
void runDialog(IBaseFilter* compressor, std::map<int, std::string>& seen, const std::map<int, std::string>& set,
               int button) {
    ComPtr<IAMVfwCompressDialogs> dialogs;
    ASSERT_EQ(compressor->QueryInterface(IID_IAMVfwCompressDialogs, dialogs.putVoid()), S_OK);
    ConfigAnswer answer([&](HWND dialog) {
        for (int id : {platform::dshow::kQualityEdit, platform::dshow::kKeyFramesEdit, platform::dshow::kBitRateEdit})
            seen[id] = editText(dialog, id);
        for (const auto& [id, text] : set)
            SetWindowText(GetDlgItem(dialog, id), text.c_str());
        PostMessage(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    EXPECT_EQ(dialogs->ShowDialog(VfwCompressDialog_Config, nullptr), S_OK);
}

// The dialog shows the settings the encoder has, its defaults first; OK keeps the entered values, clamped
// to their ranges, for every compressor of that name; Cancel keeps nothing.
TEST_F(AviMuxTest, ConfigurationDialogKeepsSettingsByName) {
    using platform::dshow::kBitRateEdit;
    using platform::dshow::kKeyFramesEdit;
    using platform::dshow::kQualityEdit;
    ComPtr<IBaseFilter> jpeg = bindCompressor(L"JPEG image encoder");
    ASSERT_TRUE(jpeg);
    std::map<int, std::string> seen;
    runDialog(jpeg.get(), seen, {{kQualityEdit, "250"}}, IDOK);
    EXPECT_EQ(seen[kQualityEdit], "85");
    EXPECT_EQ(seen[kKeyFramesEdit], "<none>");
    EXPECT_EQ(seen[kBitRateEdit], "<none>");
    runDialog(bindCompressor(L"JPEG image encoder").get(), seen, {{kQualityEdit, "40"}}, IDCANCEL);
    EXPECT_EQ(seen[kQualityEdit], "100") << "kept, clamped, by a new instance of the same name";
    runDialog(jpeg.get(), seen, {}, IDCANCEL);
    EXPECT_EQ(seen[kQualityEdit], "100") << "Cancel kept nothing";
    runDialog(jpeg.get(), seen, {{kQualityEdit, "85"}}, IDOK);

    if (ComPtr<IBaseFilter> x264 = bindCompressor(L"x264 H.264 Encoder")) {
        runDialog(x264.get(), seen, {{kKeyFramesEdit, "30"}, {kBitRateEdit, "900"}}, IDOK);
        EXPECT_EQ(seen[kQualityEdit], "<none>");
        EXPECT_EQ(seen[kBitRateEdit], "2048");
        runDialog(x264.get(), seen, {}, IDCANCEL);
        EXPECT_EQ(seen[kKeyFramesEdit], "30");
        EXPECT_EQ(seen[kBitRateEdit], "900");
    }
}

// Only uncompressed video the multiplexer can store is connected: 8-bit palette frames are refused.
TEST_F(AviMuxTest, RefusesPaletteFrames) {
    ASSERT_EQ(builder_->SetFiltergraph(graph_.get()), S_OK);
    AM_MEDIA_TYPE type = videoType(MEDIASUBTYPE_RGB8, 64, 48, 8);
    ComPtr<IBaseFilter> source = ComPtr<IBaseFilter>::adopt(new TestSource(type, false));
    FreeMediaType(type);
    ASSERT_EQ(graph_->AddFilter(source.get(), L"Source"), S_OK);
    ComPtr<IBaseFilter> mux;
    ASSERT_EQ(builder_->SetOutputFileName(&MEDIASUBTYPE_Avi, L"x.avi", mux.put(), nullptr), S_OK);
    EXPECT_TRUE(FAILED(
        builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source.get(), nullptr, mux.get())));
}

} // namespace
