// The AVI multiplexer behind SetOutputFileName and the compressor category of GStreamer encoders.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <dshow/dshow.h>

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

// The category lists encoders by long name in order; a bound compressor is a filter with an input and an
// output pin and no configuration dialog of its own.
TEST_F(AviMuxTest, CompressorCategoryHoldsTheEncoders) {
    auto devices = create<ICreateDevEnum>(CLSID_SystemDeviceEnum);
    ComPtr<IEnumMoniker> list;
    ASSERT_EQ(devices->CreateClassEnumerator(CLSID_VideoCompressorCategory, list.put(), 0), S_OK);
    std::vector<std::wstring> names;
    ComPtr<IMoniker> jpeg;
    IMoniker* moniker = nullptr;
    while (list->Next(1, &moniker, nullptr) == S_OK) {
        names.push_back(friendlyName(moniker));
        if (names.back() == L"JPEG image encoder")
            jpeg = ComPtr<IMoniker>(moniker);
        moniker->Release();
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    ASSERT_TRUE(jpeg);
    ComPtr<IBaseFilter> compressor;
    ASSERT_EQ(jpeg->BindToObject(nullptr, nullptr, IID_IBaseFilter, compressor.putVoid()), S_OK);
    ComPtr<IPin> input;
    ComPtr<IPin> output;
    EXPECT_EQ(compressor->FindPin(L"Input", input.put()), S_OK);
    EXPECT_EQ(compressor->FindPin(L"Output", output.put()), S_OK);
    ComPtr<IAMVfwCompressDialogs> dialogs;
    EXPECT_EQ(compressor->QueryInterface(IID_IAMVfwCompressDialogs, dialogs.putVoid()), E_NOINTERFACE);
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
