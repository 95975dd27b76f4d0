// Connecting pins directly: each refusal with its own code, and a refused attempt leaves both pins free.
#include <gtest/gtest.h>

#include <dshow/renderers.h>

#include "graph_support.h"
#include "test_source.h"

namespace {

using namespace platform::dshow;
using namespace testing_dshow;

class PinConnectionTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        graph_ = create<IGraphBuilder>(CLSID_FilterGraph);
        AM_MEDIA_TYPE type = videoType(MEDIASUBTYPE_YUY2, 64, 48, 16);
        source_ = new TestSource(type, false);
        FreeMediaType(type);
        sourceFilter_ = ComPtr<IBaseFilter>::adopt(source_);
        decoder_ = create<IBaseFilter>(CLSID_AVIDec);
        graph_->AddFilter(sourceFilter_.get(), L"Source");
        graph_->AddFilter(decoder_.get(), L"Decoder");
        decoder_->FindPin(L"Input", decoderIn_.put());
        decoder_->FindPin(L"Output", decoderOut_.put());
    }
    void TearDown() override {
        decoderIn_.reset();
        decoderOut_.reset();
        decoder_.reset();
        sourceFilter_.reset();
        graph_.reset();
        ComTest::TearDown();
    }

    ComPtr<IGraphBuilder> graph_;
    TestSource* source_ = nullptr;
    ComPtr<IBaseFilter> sourceFilter_;
    ComPtr<IBaseFilter> decoder_;
    ComPtr<IPin> decoderIn_;
    ComPtr<IPin> decoderOut_;
};

TEST_F(PinConnectionTest, RefusalsHaveTheirCodesAndLeavePinsFree) {
    IPin* capture = &source_->capturePin();
    auto outsider = create<IBaseFilter>(CLSID_NullRenderer);
    ComPtr<IPin> outsiderIn;
    outsider->FindPin(L"In", outsiderIn.put());
    AM_MEDIA_TYPE rgb = videoType(MEDIASUBTYPE_RGB24, 64, 48, 24);
    AM_MEDIA_TYPE uyvyOnly{};
    uyvyOnly.majortype = MEDIATYPE_Video;
    uyvyOnly.subtype = MEDIASUBTYPE_UYVY;

    struct Case {
        const char* name;
        IPin* output;
        IPin* input;
        const AM_MEDIA_TYPE* type;
        HRESULT expected;
    } cases[] = {
        {"input as output", decoderIn_.get(), capture, nullptr, E_UNEXPECTED},
        {"output to output", capture, decoderOut_.get(), nullptr, VFW_E_INVALID_DIRECTION},
        {"pin outside the graph", capture, outsiderIn.get(), nullptr, VFW_E_NOT_IN_GRAPH},
        {"full type the source lacks", capture, decoderIn_.get(), &rgb, VFW_E_TYPE_NOT_ACCEPTED},
        {"partial type nobody offers", capture, decoderIn_.get(), &uyvyOnly, VFW_E_NO_ACCEPTABLE_TYPES},
        {"transform output before its input", decoderOut_.get(), outsiderIn.get(), nullptr, VFW_E_NOT_IN_GRAPH},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(graph_->ConnectDirect(c.output, c.input, c.type), c.expected) << c.name;
        EXPECT_FALSE(source_->capturePin().isConnected()) << c.name;
        ComPtr<IPin> peer;
        EXPECT_EQ(decoderIn_->ConnectedTo(peer.put()), VFW_E_NOT_CONNECTED) << c.name;
    }
    FreeMediaType(rgb);
    EXPECT_EQ(decoderIn_->Disconnect(), S_FALSE);
}

TEST_F(PinConnectionTest, ConnectedPinsAgreeOnTheTypeAndRefuseASecondPeer) {
    ASSERT_EQ(graph_->ConnectDirect(&source_->capturePin(), decoderIn_.get(), nullptr), S_OK);
    AM_MEDIA_TYPE a{}, b{};
    ASSERT_EQ(source_->capturePin().ConnectionMediaType(&a), S_OK);
    ASSERT_EQ(decoderIn_->ConnectionMediaType(&b), S_OK);
    EXPECT_EQ(a.subtype, MEDIASUBTYPE_YUY2);
    EXPECT_EQ(b.subtype, MEDIASUBTYPE_YUY2);
    EXPECT_EQ(a.cbFormat, b.cbFormat);
    FreeMediaType(a);
    FreeMediaType(b);
    EXPECT_EQ(graph_->ConnectDirect(&source_->previewPin(), decoderIn_.get(), nullptr), VFW_E_ALREADY_CONNECTED);

    // The decoder's output now offers RGB24 of the same size.
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(decoderOut_->EnumMediaTypes(types.put()), S_OK);
    AM_MEDIA_TYPE* offered = nullptr;
    ASSERT_EQ(types->Next(1, &offered, nullptr), S_OK);
    EXPECT_EQ(offered->subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(offered->pbFormat)->bmiHeader.biWidth, 64);
    DeleteMediaType(offered);
    EXPECT_EQ(types->Next(1, &offered, nullptr), S_FALSE);

    // Breaking the input connection takes the output's with it.
    auto renderer = create<IBaseFilter>(CLSID_NullRenderer);
    graph_->AddFilter(renderer.get(), L"Renderer");
    ComPtr<IPin> rendererIn;
    renderer->FindPin(L"In", rendererIn.put());
    ASSERT_EQ(graph_->ConnectDirect(decoderOut_.get(), rendererIn.get(), nullptr), S_OK);
    EXPECT_EQ(graph_->Disconnect(decoderIn_.get()), S_OK);
    source_->capturePin().Disconnect();
    ComPtr<IPin> peer;
    EXPECT_EQ(decoderOut_->ConnectedTo(peer.put()), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(rendererIn->ConnectedTo(peer.put()), VFW_E_NOT_CONNECTED);
}

} // namespace

// A pin never hands out a sample someone else still holds (a renderer keeping its last frame would show the
// next one being filled), reuses a free spare, and makes a new sample only when both are held or too small.
TEST(OutputPinSamples, HeldSamplesAreNotReusedAndFreeSparesAre) {
    AM_MEDIA_TYPE type = videoType(MEDIASUBTYPE_YUY2, 64, 48, 16);
    ComPtr<TestSource> source = ComPtr<TestSource>::adopt(new TestSource(type, false));
    FreeMediaType(type);
    OutputPin& pin = source->capturePin();
    ComPtr<MediaSample> kept, first, second, third;
    ASSERT_EQ(pin.getSample(100, kept), S_OK);
    ASSERT_EQ(pin.getSample(100, first), S_OK);
    EXPECT_NE(first.get(), kept.get()) << "kept sample handed out again";
    MediaSample* spare = first.get();
    first.reset();
    ASSERT_EQ(pin.getSample(100, second), S_OK);
    EXPECT_EQ(second.get(), spare) << "a free spare is reused";
    ASSERT_EQ(pin.getSample(100, third), S_OK);
    EXPECT_NE(third.get(), kept.get());
    EXPECT_NE(third.get(), second.get()) << "both spares held: a new sample";
    third.reset();
    second.reset();
    ComPtr<MediaSample> larger;
    ASSERT_EQ(pin.getSample(4096, larger), S_OK);
    EXPECT_GE(larger->capacity(), 4096u);
    EXPECT_NE(larger.get(), kept.get());
}
