// Graph helpers on the simulated devices: device search by FriendlyName and removal of a downstream branch.
#include <gtest/gtest.h>

#include <dshow/dshow.h>

#include <devices/simulated_camera.h>

#include "graph_helpers.h"

namespace {

using platform::devices::SimulatedCamera;

class GraphHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        SimulatedCamera::resetAll();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    }
    void TearDown() override {
        CoUninitialize();
        SimulatedCamera::resetAll();
    }
};

struct SearchCase {
    const char* name;
    bool found;
};

// The name is compared whole and without regard to case; a null name takes the first device.
TEST_F(GraphHelpers, FindFilterByNameMatchesWholeNamesInAnyCase) {
    SimulatedCamera::setNoDevice(true);
    SimulatedCamera::setDecoys({{"Front Camera", false}, {"usb 2820 video", false}});
    const SearchCase cases[] = {
        {"USB 2820 Video", true}, {"front camera", true}, {"USB 2820", false}, {"USB 2820 Video 2", false},
        {nullptr, true},
    };
    for (const SearchCase& c : cases) {
        IBaseFilter* filter = nullptr;
        EXPECT_EQ(korvib::FindFilterByName(CLSID_VideoInputDeviceCategory, c.name, &filter), S_OK);
        EXPECT_EQ(filter != nullptr, c.found) << (c.name != nullptr ? c.name : "(null)");
        if (filter != nullptr) {
            filter->Release();
        }
    }
}

int FiltersIn(IGraphBuilder* graph) {
    IEnumFilters* filters = nullptr;
    if (FAILED(graph->EnumFilters(&filters))) {
        return -1;
    }
    int count = 0;
    IBaseFilter* filter = nullptr;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        ++count;
        filter->Release();
    }
    filters->Release();
    return count;
}

// Everything behind the source goes; the source stays and can be connected again.
TEST_F(GraphHelpers, RemoveDownstreamKeepsOnlyTheSource) {
    IGraphBuilder* graph = nullptr;
    ICaptureGraphBuilder2* builder = nullptr;
    ASSERT_EQ(korvib::CreateCaptureGraph(&graph, &builder), S_OK);
    IBaseFilter* source = nullptr;
    ASSERT_EQ(korvib::FindFilterByName(CLSID_VideoInputDeviceCategory, "USB 2820 Video", &source), S_OK);
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(graph->AddFilter(source, nullptr), S_OK);

    for (int round = 0; round < 2; ++round) {
        IBaseFilter* decoder = nullptr;
        IBaseFilter* renderer = nullptr;
        ASSERT_EQ(korvib::AddFilterByClsid(graph, CLSID_AVIDec, nullptr, &decoder), S_OK);
        ASSERT_EQ(korvib::AddFilterByClsid(graph, CLSID_NullRenderer, L"NullRender", &renderer), S_OK);
        ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source, decoder, renderer), S_OK)
            << "round " << round;
        EXPECT_EQ(FiltersIn(graph), 3);
        korvib::RemoveDownstream(graph, source);
        EXPECT_EQ(FiltersIn(graph), 1) << "round " << round;
        decoder->Release();
        renderer->Release();
    }
    source->Release();
    builder->Release();
    graph->Release();
}

} // namespace
