// A scripted V4L2 camera listed as the camera, its capture filter running in a media graph: a stream that
// ends on its own reaches the graph's owner as an event.
#include "com_fixture.h"
#include "fake_v4l2_device.h"

#include <dshow/graph.h>

#include <chrono>
#include <thread>

namespace platform::devices::testing {
namespace {

using namespace std::chrono_literals;

class V4l2GraphEvents : public ComFixture, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        ComFixture::SetUp();
        camera_.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}, {1280, 1024}}}};
        SimulatedCamera::setV4l2Camera(&camera_);
    }

    FakeV4l2Device camera_;
};

// The scripted camera takes the simulated one's place under its name, without the chip interface; pulled
// out mid-stream it queues EC_DEVICE_LOST, any other failure EC_ERRORABORT with a failing HRESULT, and the
// graph still stops.
TEST_P(V4l2GraphEvents, AStreamEndingOnItsOwnQueuesItsEvent)
{
    ASSERT_EQ(listedNames().front(), L"USB 2820 Video");
    auto filter = bind(0);
    ASSERT_TRUE(filter);
    EXPECT_FALSE(query<IBridgeChipProperty>(filter.get()));

    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()),
              S_OK);
    auto sink = ComPtr<SinkFilter>::adopt(new SinkFilter);
    ASSERT_EQ(graph->AddFilter(filter.get(), nullptr), S_OK);
    ASSERT_EQ(graph->AddFilter(sink.get(), L"Sink"), S_OK);
    ASSERT_EQ(graph->ConnectDirect(pinOf(filter, 0), sink->in, nullptr), S_OK);
    auto control = query<IMediaControl>(graph.get());
    auto events = query<IMediaEvent>(graph.get());
    ASSERT_EQ(control->Run(), S_OK);
    while (!camera_.deliverFrame(1))
        std::this_thread::sleep_for(1ms);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (sink->in->count() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(sink->in->count(), 1u);

    LONG code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    EXPECT_EQ(events->GetEvent(&code, &param1, &param2, 0), E_ABORT) << "an event before the failure";
    camera_.failCalls(GetParam());
    ASSERT_EQ(events->GetEvent(&code, &param1, &param2, 5000), S_OK);
    if (GetParam() == ENODEV) {
        EXPECT_EQ(code, EC_DEVICE_LOST);
        EXPECT_EQ(param1, 0);
    } else {
        EXPECT_EQ(code, EC_ERRORABORT);
        EXPECT_TRUE(FAILED(HRESULT(param1)));
    }
    EXPECT_EQ(events->GetEvent(&code, &param1, &param2, 0), E_ABORT) << "the failure is reported once";
    EXPECT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(camera_.mappedBuffers(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Errors, V4l2GraphEvents, ::testing::Values(ENODEV, EIO),
                         [](const auto& info) { return std::string(info.param == ENODEV ? "Unplugged" : "IoError"); });

} // namespace
} // namespace platform::devices::testing
