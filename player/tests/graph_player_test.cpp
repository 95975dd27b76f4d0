// The calls the player makes into its graph, on a recording graph: set-up, state tests, seeking, release.
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fake_graph.h"
#include "player_fixture.h"

namespace vidora_test {
namespace {

using Log = std::vector<std::string>;

class GraphPlayerTest : public PlayerTest {
protected:
    std::string hexOf(HWND window) {
        char text[24];
        std::snprintf(text, sizeof text, "%llx",
                      static_cast<unsigned long long>(reinterpret_cast<LONG_PTR>(window)));
        return text;
    }
    // The log since the last call, emptied.
    Log take() { return std::exchange(script_.log, {}); }

    FakeGraph::Script script_;
};

// PLAY_Initial asks for all seven interfaces in order, sets media time, renders the path, makes the
// video a borderless child of the owner's client size, cues the first frame and routes events and input.
TEST_F(GraphPlayerTest, InitialSetsUpTheGraphInOrder) {
    FakeGraphClass fake(script_);
    open("/media/clip.avi");
    const std::string owner = hexOf(owner_);
    const std::string notify = hexOf(notify_);
    EXPECT_EQ(
        take(),
        (Log{"QueryInterface(IGraphBuilder)", "QueryInterface(IVideoWindow)", "QueryInterface(IMediaControl)",
             "QueryInterface(IMediaEventEx)", "QueryInterface(IBasicVideo)", "QueryInterface(IBasicAudio)",
             "QueryInterface(IMediaSeeking)", "QueryInterface(IMediaPosition)", "SetTimeFormat(media time)",
             "RenderFile(/media/clip.avi,null)", "put_Visible(0)", "put_Owner(" + owner + ")",
             "put_WindowStyle(46000000)", "SetWindowPosition(0,0,200,150)", "put_Visible(-1)",
             "SetWindowForeground(-1)", "StopWhenReady", "SetNotifyWindow(" + notify + ",464,0)",
             "put_MessageDrain(" + notify + ")"}));

    handle_ = PLAY_UnInitial(handle_);
    EXPECT_EQ(take(), (Log{"GetState(10)", "put_Visible(0)", "put_MessageDrain(0)", "put_Owner(0)"}));
    EXPECT_EQ(script_.alive, 0) << "every reference on the graph was released";
}

// A null owner leaves the video window hidden, unsized and the graph uncued.
TEST_F(GraphPlayerTest, NullOwnerSkipsSizing) {
    FakeGraphClass fake(script_);
    ASSERT_EQ(PLAY_Initial(&handle_, nullptr, notify_, "clip.avi"), 0);
    Log log = take();
    auto setUp = std::find(log.begin(), log.end(), "RenderFile(clip.avi,null)");
    ASSERT_NE(setUp, log.end());
    const std::string notify = hexOf(notify_);
    EXPECT_EQ(Log(setUp + 1, log.end()),
              (Log{"put_Visible(0)", "put_Owner(0)", "put_WindowStyle(46000000)",
                   "SetNotifyWindow(" + notify + ",464,0)", "put_MessageDrain(" + notify + ")"}));
}

// Run, Pause and Stop call the graph only when it is not in that state already; PLAY_Stop seeks to 0
// first in every state. A failed state query counts as "not in that state".
TEST_F(GraphPlayerTest, StateChangesOnlyWhenNeeded) {
    FakeGraphClass fake(script_);
    open("clip.avi");
    take();
    struct Case {
        OAFilterState state;
        HRESULT stateResult;
        int (*command)(PLAY_HANDLE);
        Log calls;
    };
    const std::vector<Case> cases = {
        {State_Running, S_OK, PLAY_Start, {"GetState(10)"}},
        {State_Paused, S_OK, PLAY_Start, {"GetState(10)", "Run"}},
        {State_Paused, VFW_S_STATE_INTERMEDIATE, PLAY_Pause, {"GetState(10)"}},
        {State_Running, S_OK, PLAY_Pause, {"GetState(10)", "Pause"}},
        {State_Stopped, S_OK, PLAY_Stop, {"SetPositions(0,5,null,0)", "GetState(10)"}},
        {State_Running, S_OK, PLAY_Stop, {"SetPositions(0,5,null,0)", "GetState(10)", "Stop"}},
        {State_Running, E_FAIL, PLAY_Start, {"GetState(10)", "Run"}},
    };
    for (const Case& c : cases) {
        script_.state = c.state;
        script_.stateResult = c.stateResult;
        EXPECT_EQ(c.command(handle_), 0);
        EXPECT_EQ(take(), c.calls) << "state " << c.state;
    }
}

// Seconds cross as 100-nanosecond units: a seek to 12.9 s asks for the key frame at 129,000,000 and
// answers 12; a length of 5.999 s answers 5 and writes 5.999; a failed query keeps the caller's value.
TEST_F(GraphPlayerTest, SecondsAndUnits) {
    FakeGraphClass fake(script_);
    open("clip.avi");
    take();
    EXPECT_EQ(PLAY_SetCurrentPosition(handle_, 12.9), 12);
    EXPECT_EQ(take(), (Log{"SetPositions(129000000,5,null,0)"}));

    script_.duration = 59'990'000;
    script_.position = 25'000'000;
    double seconds = 0;
    EXPECT_EQ(PLAY_GetDuration(handle_, &seconds), 5);
    EXPECT_DOUBLE_EQ(seconds, 5.999);
    EXPECT_EQ(PLAY_GetCurrentPosition(handle_, &seconds), 2);
    EXPECT_DOUBLE_EQ(seconds, 2.5);

    script_.seekingResult = E_FAIL;
    seconds = 8.25;
    EXPECT_EQ(PLAY_GetDuration(handle_, &seconds), 8);
    EXPECT_EQ(seconds, 8.25);
    EXPECT_EQ(PLAY_GetCurrentPosition(handle_, &seconds), 8);
    EXPECT_EQ(seconds, 8.25);
}

// Full screen maps to OATRUE and OAFALSE and reads back as 1 or 0.
TEST_F(GraphPlayerTest, FullScreenMode) {
    FakeGraphClass fake(script_);
    open("clip.avi");
    take();
    EXPECT_EQ(PLAY_SetFullScreen(handle_, 7), 0);
    EXPECT_EQ(PLAY_GetFullScreen(handle_), 1);
    EXPECT_EQ(PLAY_SetFullScreen(handle_, FALSE), 0);
    EXPECT_EQ(PLAY_GetFullScreen(handle_), 0);
    EXPECT_EQ(take(), (Log{"put_FullScreenMode(-1)", "get_FullScreenMode", "put_FullScreenMode(0)",
                           "get_FullScreenMode"}));
}

// A missing interface fails the graph creation, so nothing is rendered or attached; the rest still works
// through the interfaces that exist.
TEST_F(GraphPlayerTest, MissingInterfaceSkipsRendering) {
    script_.refused = {"IBasicAudio"};
    FakeGraphClass fake(script_);
    open("clip.avi");
    Log log = take();
    EXPECT_EQ(log.back(), "SetTimeFormat(media time)");
    EXPECT_EQ(std::count(log.begin(), log.end(), "QueryInterface(IMediaPosition)"), 1);
    EXPECT_EQ(PLAY_SetCurrentPosition(handle_, 1.5), 1);
    EXPECT_EQ(take(), (Log{"SetPositions(15000000,5,null,0)"}));
}

// Without a graph the handle still comes back and every call does nothing.
TEST_F(GraphPlayerTest, NoGraphMakesEveryCallANoOp) {
    FakeGraphClass fake(script_, E_OUTOFMEMORY);
    open("clip.avi");
    double seconds = 1.75;
    EXPECT_EQ(PLAY_Start(handle_), 0);
    EXPECT_EQ(PLAY_Pause(handle_), 0);
    EXPECT_EQ(PLAY_Stop(handle_), 0);
    EXPECT_EQ(PLAY_GetDuration(handle_, &seconds), 1);
    EXPECT_EQ(PLAY_SetCurrentPosition(handle_, 3.5), 3);
    EXPECT_EQ(PLAY_SetFullScreen(handle_, TRUE), 0);
    EXPECT_EQ(PLAY_GetFullScreen(handle_), 0);
    EXPECT_TRUE(script_.log.empty());
    EXPECT_EQ(script_.alive, 0);
}

} // namespace
} // namespace vidora_test
