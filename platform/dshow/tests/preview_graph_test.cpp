// A capture graph as the camera library builds it: source -> (decoder) -> grabber -> renderer.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include <dshow/com_object.h>
#include <dshow/renderers.h>

#include "graph_support.h"
#include "test_source.h"

namespace {

using namespace platform::dshow;
using namespace testing_dshow;

// Counts frames and notes whether a call is in progress; optionally holds each call for a while.
class FrameCounter final : public ComObject<ISampleGrabberCB> {
public:
    HRESULT STDMETHODCALLTYPE SampleCB(double, IMediaSample* sample) override {
        samples_ += sample->GetActualDataLength() > 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BufferCB(double, BYTE* buffer, LONG length) override {
        inside_ = true;
        {
            std::lock_guard guard(lock_);
            lastLength_ = length;
            firstByte_ = buffer[0];
            ++frames_;
        }
        arrived_.notify_all();
        if (holdMs_)
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs_));
        inside_ = false;
        return S_OK;
    }

    // Waits until `count` frames have arrived; false if they do not come within 10 s.
    bool waitFor(int count) {
        std::unique_lock guard(lock_);
        return arrived_.wait_for(guard, std::chrono::seconds(10), [&] { return frames_ >= count; });
    }
    int frames() {
        std::lock_guard guard(lock_);
        return frames_;
    }
    LONG lastLength() {
        std::lock_guard guard(lock_);
        return lastLength_;
    }
    BYTE firstByte() {
        std::lock_guard guard(lock_);
        return firstByte_;
    }

    std::atomic<bool> inside_{false};
    std::atomic<int> samples_{0};
    int holdMs_ = 0;

private:
    std::mutex lock_;
    std::condition_variable arrived_;
    int frames_ = 0;
    LONG lastLength_ = 0;
    BYTE firstByte_ = 0;
};

class PreviewGraphTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        builder_ = create<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2);
        graph_ = create<IGraphBuilder>(CLSID_FilterGraph);
        ASSERT_EQ(builder_->SetFiltergraph(graph_.get()), S_OK);
    }
    void TearDown() override {
        if (control_)
            control_->Stop();
        control_.reset();
        grabber_.reset();
        source_.reset();
        builder_.reset();
        graph_.reset();
        ComTest::TearDown();
    }

    // Adds a source of `subtype`, a grabber for RGB24 and a null renderer, rendered on `category`.
    HRESULT build(const GUID& subtype, bool streaming, const GUID& category = PIN_CATEGORY_CAPTURE) {
        AM_MEDIA_TYPE type = videoType(subtype, 64, 48, subtype == MEDIASUBTYPE_RGB24 ? 24 : 16);
        sourceObject_ = new TestSource(type, streaming);
        FreeMediaType(type);
        source_ = ComPtr<IBaseFilter>::adopt(sourceObject_);
        EXPECT_EQ(graph_->AddFilter(source_.get(), nullptr), S_OK);
        grabber_ = create<ISampleGrabber>(CLSID_SampleGrabber);
        ComPtr<IBaseFilter> grabberFilter;
        grabber_.as(grabberFilter);
        EXPECT_EQ(graph_->AddFilter(grabberFilter.get(), L"SampleGrabber"), S_OK);
        AM_MEDIA_TYPE wanted{};
        wanted.majortype = MEDIATYPE_Video;
        wanted.subtype = MEDIASUBTYPE_RGB24;
        grabber_->SetMediaType(&wanted);
        auto renderer = create<IBaseFilter>(CLSID_NullRenderer);
        EXPECT_EQ(graph_->AddFilter(renderer.get(), L"NullRender"), S_OK);
        graph_.as(control_);
        return builder_->RenderStream(&category, &MEDIATYPE_Video, source_.get(), grabberFilter.get(), renderer.get());
    }

    ComPtr<ICaptureGraphBuilder2> builder_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IMediaControl> control_;
    ComPtr<IBaseFilter> source_;
    TestSource* sourceObject_ = nullptr;
    ComPtr<ISampleGrabber> grabber_;
};

TEST_F(PreviewGraphTest, FramesReachTheCallbackAndStopWaitsForTheStreamingThread) {
    ASSERT_EQ(build(MEDIASUBTYPE_RGB24, true), S_OK);
    auto counter = ComPtr<FrameCounter>::adopt(new FrameCounter);
    counter->holdMs_ = 2; // widens the window in which a stop could overtake a frame
    ASSERT_EQ(grabber_->SetCallback(counter.get(), 1), S_OK);
    ASSERT_EQ(control_->Run(), S_OK);
    OAFilterState state = -1;
    EXPECT_EQ(control_->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Running);
    ASSERT_TRUE(counter->waitFor(5));
    EXPECT_EQ(counter->lastLength(), DibStride(64, 24) * 48);

    ASSERT_EQ(control_->Stop(), S_OK);
    EXPECT_FALSE(counter->inside_);
    int afterStop = counter->frames();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(counter->frames(), afterStop);
    EXPECT_EQ(control_->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);

    // The graph runs again after a stop.
    ASSERT_EQ(control_->Run(), S_OK);
    EXPECT_TRUE(counter->waitFor(afterStop + 3));
}

TEST_F(PreviewGraphTest, RemovingTheCallbackWaitsForTheCallInProgress) {
    ASSERT_EQ(build(MEDIASUBTYPE_RGB24, true), S_OK);
    auto counter = ComPtr<FrameCounter>::adopt(new FrameCounter);
    counter->holdMs_ = 20;
    grabber_->SetCallback(counter.get(), 1);
    control_->Run();
    ASSERT_TRUE(counter->waitFor(1));
    while (!counter->inside_)
        std::this_thread::yield();
    ASSERT_EQ(grabber_->SetCallback(nullptr, 1), S_OK);
    EXPECT_FALSE(counter->inside_);
    int frames = counter->frames();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(counter->frames(), frames);
}

TEST_F(PreviewGraphTest, YuvSourceGetsAnAviDecompressorAndTheGrabberSeesRgb) {
    ASSERT_EQ(build(MEDIASUBTYPE_YUY2, false), S_OK);
    EXPECT_EQ(filterNames(graph_.get()),
              (std::vector<std::wstring>{L"Filter", L"SampleGrabber", L"NullRender", L"AVI Decompressor"}));
    AM_MEDIA_TYPE connected{};
    ASSERT_EQ(grabber_->GetConnectedMediaType(&connected), S_OK);
    EXPECT_EQ(connected.subtype, MEDIASUBTYPE_RGB24);
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(connected.pbFormat);
    EXPECT_EQ(info->bmiHeader.biWidth, 64);
    EXPECT_EQ(info->bmiHeader.biHeight, 48);
    EXPECT_EQ(info->bmiHeader.biBitCount, 24);
    FreeMediaType(connected);

    auto counter = ComPtr<FrameCounter>::adopt(new FrameCounter);
    grabber_->SetCallback(counter.get(), 1);
    control_->Run();
    // Y = U = V = 128 is mid grey in every channel.
    ASSERT_EQ(sourceObject_->capturePin().push(128), S_OK);
    EXPECT_EQ(counter->frames(), 1);
    EXPECT_EQ(counter->lastLength(), 64 * 3 * 48);
    EXPECT_EQ(counter->firstByte(), 128);
}

TEST_F(PreviewGraphTest, DecompressorAlreadyInTheGraphIsUsed) {
    auto decoder = create<IBaseFilter>(CLSID_AVIDec);
    ASSERT_EQ(graph_->AddFilter(decoder.get(), nullptr), S_OK);
    ASSERT_EQ(build(MEDIASUBTYPE_UYVY, false), S_OK);
    EXPECT_EQ(filterNames(graph_.get()).size(), 4u);
    ComPtr<IPin> decoderInput;
    ASSERT_EQ(decoder->FindPin(L"Input", decoderInput.put()), S_OK);
    ComPtr<IPin> upstream;
    EXPECT_EQ(decoderInput->ConnectedTo(upstream.put()), S_OK);
}

TEST_F(PreviewGraphTest, ImpossibleConversionFailsAndLeavesNoDecoderBehind) {
    AM_MEDIA_TYPE type = videoType(MEDIASUBTYPE_YUY2, 64, 48, 16);
    auto source = ComPtr<IBaseFilter>::adopt(new TestSource(type, false));
    FreeMediaType(type);
    graph_->AddFilter(source.get(), L"Source");
    auto grabber = create<ISampleGrabber>(CLSID_SampleGrabber);
    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = MEDIASUBTYPE_UYVY; // neither the source nor the decoder gives this
    grabber->SetMediaType(&wanted);
    ComPtr<IBaseFilter> grabberFilter;
    grabber.as(grabberFilter);
    graph_->AddFilter(grabberFilter.get(), L"SampleGrabber");
    EXPECT_EQ(builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source.get(), grabberFilter.get(),
                                     nullptr),
              VFW_E_CANNOT_CONNECT);
    EXPECT_EQ(filterNames(graph_.get()), (std::vector<std::wstring>{L"Source", L"SampleGrabber"}));
}

TEST_F(PreviewGraphTest, RenderStreamTakesThePinOfTheCategory) {
    ASSERT_EQ(build(MEDIASUBTYPE_RGB24, false, PIN_CATEGORY_PREVIEW), S_OK);
    EXPECT_TRUE(sourceObject_->previewPin().isConnected());
    EXPECT_FALSE(sourceObject_->capturePin().isConnected());

    // The capture pin renders on its own; once both are taken nothing of the category is left.
    auto renderer = create<IBaseFilter>(CLSID_NullRenderer);
    graph_->AddFilter(renderer.get(), L"Second");
    EXPECT_EQ(builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source_.get(), nullptr, renderer.get()),
              S_OK);
    EXPECT_TRUE(sourceObject_->capturePin().isConnected());
    auto third = create<IBaseFilter>(CLSID_NullRenderer);
    graph_->AddFilter(third.get(), L"Third");
    EXPECT_EQ(builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source_.get(), nullptr, third.get()),
              E_FAIL);
    EXPECT_EQ(builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, source_.get(), nullptr, third.get()),
              E_FAIL);
}

TEST_F(PreviewGraphTest, RemovingDownstreamLeavesTheSourceReadyForANewGraph) {
    ASSERT_EQ(build(MEDIASUBTYPE_YUY2, false), S_OK);
    removeDownstream(graph_.get(), source_.get());
    EXPECT_EQ(filterNames(graph_.get()), (std::vector<std::wstring>{L"Filter"}));
    EXPECT_FALSE(sourceObject_->capturePin().isConnected());

    auto renderer = create<IBaseFilter>(CLSID_NullRenderer);
    graph_->AddFilter(renderer.get(), L"NullRender");
    EXPECT_EQ(builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source_.get(), nullptr, renderer.get()),
              S_OK);
}

TEST_F(PreviewGraphTest, FindInterfaceLooksAtCategoryPinsThenDownstream) {
    ASSERT_EQ(build(MEDIASUBTYPE_RGB24, false), S_OK);
    ComPtr<IAMStreamConfig> capture, preview;
    ASSERT_EQ(builder_->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source_.get(), IID_IAMStreamConfig,
                                      capture.putVoid()),
              S_OK);
    EXPECT_EQ(static_cast<IAMStreamConfig*>(&sourceObject_->capturePin()), capture.get());
    ASSERT_EQ(builder_->FindInterface(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, source_.get(), IID_IAMStreamConfig,
                                      preview.putVoid()),
              S_OK);
    EXPECT_EQ(static_cast<IAMStreamConfig*>(&sourceObject_->previewPin()), preview.get());

    // Downstream of the capture pin sits the grabber.
    ComPtr<ISampleGrabber> found;
    EXPECT_EQ(builder_->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source_.get(), IID_ISampleGrabber,
                                      found.putVoid()),
              S_OK);
    EXPECT_EQ(found, grabber_);
    EXPECT_EQ(builder_->FindInterface(nullptr, nullptr, source_.get(), IID_ISampleGrabber, found.putVoid()), S_OK);
    // The unconnected preview pin leads nowhere.
    EXPECT_EQ(builder_->FindInterface(&PIN_CATEGORY_PREVIEW, nullptr, source_.get(), IID_ISampleGrabber,
                                      found.putVoid()),
              E_NOINTERFACE);
    EXPECT_FALSE(found);
    EXPECT_EQ(builder_->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, source_.get(), IID_IAMStreamConfig,
                                      capture.putVoid()),
              E_NOINTERFACE);
    EXPECT_EQ(builder_->FindInterface(nullptr, nullptr, nullptr, IID_IAMStreamConfig, capture.putVoid()), E_POINTER);
}

TEST_F(PreviewGraphTest, ConnectionsChangeOnlyWhileStopped) {
    ASSERT_EQ(build(MEDIASUBTYPE_RGB24, false), S_OK);
    control_->Run();
    ComPtr<IPin> peer;
    sourceObject_->capturePin().ConnectedTo(peer.put());
    EXPECT_EQ(graph_->Disconnect(peer.get()), VFW_E_NOT_STOPPED);
    ComPtr<IBaseFilter> renderer;
    ASSERT_EQ(graph_->FindFilterByName(L"NullRender", renderer.put()), S_OK);
    EXPECT_EQ(graph_->RemoveFilter(renderer.get()), VFW_E_NOT_STOPPED);
    control_->Stop();
    EXPECT_EQ(graph_->RemoveFilter(renderer.get()), S_OK);
    EXPECT_EQ(graph_->RemoveFilter(renderer.get()), VFW_E_NOT_FOUND);
    EXPECT_EQ(graph_->AddFilter(nullptr, L"Missing"), E_POINTER);
}

TEST_F(PreviewGraphTest, GrabberBuffersAndTakesOneShot) {
    ASSERT_EQ(build(MEDIASUBTYPE_RGB24, false), S_OK);
    auto counter = ComPtr<FrameCounter>::adopt(new FrameCounter);
    grabber_->SetCallback(counter.get(), 0); // SampleCB
    LONG size = 0;
    EXPECT_EQ(grabber_->GetCurrentBuffer(&size, nullptr), E_INVALIDARG);
    grabber_->SetBufferSamples(TRUE);
    EXPECT_EQ(grabber_->GetCurrentBuffer(&size, nullptr), VFW_E_WRONG_STATE);
    grabber_->SetOneShot(TRUE);
    control_->Run();
    sourceObject_->capturePin().push(7);
    sourceObject_->capturePin().push(9);
    EXPECT_EQ(counter->samples_, 1);
    ASSERT_EQ(grabber_->GetCurrentBuffer(&size, nullptr), S_OK);
    EXPECT_EQ(size, DibStride(64, 24) * 48);
    std::vector<LONG> copy(size / sizeof(LONG) + 1);
    LONG small = 4;
    EXPECT_EQ(grabber_->GetCurrentBuffer(&small, copy.data()), E_OUTOFMEMORY);
    ASSERT_EQ(grabber_->GetCurrentBuffer(&size, copy.data()), S_OK);
    EXPECT_EQ(reinterpret_cast<BYTE*>(copy.data())[0], 7);
}

} // namespace
