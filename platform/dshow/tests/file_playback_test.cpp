// RenderFile on generated media files: the graph it builds, its errors, seeking, volume and the end event.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include <testing/picture_tools.h>

#include "graph_support.h"

namespace {

using namespace testing_dshow;

// A 2-second 96x64 MJPEG AVI with a tone, made once by ffmpeg; empty when it cannot be made.
const std::string& clipPath() {
    static const std::string path = [] {
        std::string file = "/tmp/dshow_playback_" + std::to_string(getpid()) + ".avi";
        std::string made = platform::testing::toolOutput(
            "ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc=s=96x64:r=25:d=2 -f lavfi -i "
            "sine=duration=2 -c:v mjpeg -pix_fmt yuvj420p -c:a pcm_s16le '" +
            file + "' && echo ok");
        if (made.empty())
            return std::string();
        std::atexit([] { std::remove(clipPath().c_str()); });
        return file;
    }();
    return path;
}

class FilePlaybackTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        if (clipPath().empty())
            GTEST_SKIP() << "ffmpeg cannot make an MJPEG AVI";
        graph_ = create<IGraphBuilder>(CLSID_FilterGraph);
        path_ = std::wstring(clipPath().begin(), clipPath().end());
    }
    void TearDown() override {
        if (graph_) {
            ComPtr<IMediaControl> control;
            graph_.as(control);
            control->Stop();
        }
        graph_.reset();
        ComTest::TearDown();
    }

    ComPtr<IGraphBuilder> graph_;
    std::wstring path_;
};

// The file becomes a source named by its path with its video connected to a Video Renderer; the
// seeking, position, video and audio interfaces of the graph reach the file.
TEST_F(FilePlaybackTest, RenderFileBuildsSourceAndRenderer) {
    ASSERT_EQ(graph_->RenderFile(path_.c_str(), nullptr), S_OK);
    EXPECT_EQ(filterNames(graph_.get()), (std::vector<std::wstring>{path_, L"Video Renderer"}));

    ComPtr<IMediaSeeking> seeking;
    ComPtr<IMediaPosition> position;
    ComPtr<IBasicVideo> video;
    ComPtr<IBasicAudio> audio;
    ASSERT_EQ(graph_.as(seeking), S_OK);
    ASSERT_EQ(graph_.as(position), S_OK);
    ASSERT_EQ(graph_.as(video), S_OK);
    ASSERT_EQ(graph_.as(audio), S_OK);
    EXPECT_EQ(seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME), S_OK);
    EXPECT_EQ(seeking->SetTimeFormat(&GUID_NULL), E_INVALIDARG);
    LONGLONG units = 0;
    ASSERT_EQ(seeking->GetDuration(&units), S_OK);
    EXPECT_NEAR(static_cast<double>(units), 20'000'000.0, 400'000.0);
    REFTIME seconds = 0;
    ASSERT_EQ(position->get_Duration(&seconds), S_OK);
    EXPECT_NEAR(seconds, units / 1e7, 1e-6);

    LONGLONG target = 12'000'000;
    ASSERT_EQ(
        seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        S_OK);
    ASSERT_EQ(seeking->GetCurrentPosition(&units), S_OK);
    EXPECT_NEAR(static_cast<double>(units), 12'000'000.0, 400'000.0);
    LONGLONG back = -4'000'000;
    ASSERT_EQ(seeking->SetPositions(&back, AM_SEEKING_RelativePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    ASSERT_EQ(position->get_CurrentPosition(&seconds), S_OK);
    EXPECT_NEAR(seconds, 0.8, 0.04);
    EXPECT_EQ(
        seeking->SetPositions(nullptr, AM_SEEKING_NoPositioning, &target, AM_SEEKING_AbsolutePositioning),
        E_NOTIMPL);

    LONG width = 0, height = 0;
    EXPECT_EQ(video->get_VideoWidth(&width), S_OK);
    EXPECT_EQ(video->get_VideoHeight(&height), S_OK);
    EXPECT_EQ(width, 96);
    EXPECT_EQ(height, 64);

    LONG volume = 1;
    EXPECT_EQ(audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, 0);
    EXPECT_EQ(audio->put_Volume(-2000), S_OK); // a tenth of the amplitude
    EXPECT_EQ(audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, -2000);
    EXPECT_EQ(audio->put_Volume(-10000), S_OK);
    EXPECT_EQ(audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, -10000);
    EXPECT_EQ(audio->put_Volume(1), E_INVALIDARG);
}

// Each refusal has its code and leaves the graph empty, so a later file can still be rendered.
TEST_F(FilePlaybackTest, RefusedFilesLeaveTheGraphEmpty) {
    std::string corrupt = "/tmp/dshow_corrupt_" + std::to_string(getpid()) + ".avi";
    std::ofstream(corrupt) << "RIFF....AVI no movie here";
    std::wstring corruptPath(corrupt.begin(), corrupt.end());
    EXPECT_EQ(graph_->RenderFile(nullptr, nullptr), E_POINTER);
    EXPECT_EQ(graph_->RenderFile(L"/nonexistent/clip.avi", nullptr), VFW_E_NOT_FOUND);
    EXPECT_EQ(graph_->RenderFile(corruptPath.c_str(), nullptr), VFW_E_CANNOT_RENDER);
    std::remove(corrupt.c_str());
    EXPECT_TRUE(filterNames(graph_.get()).empty());
    ComPtr<IMediaSeeking> seeking;
    ASSERT_EQ(graph_.as(seeking), S_OK);
    LONGLONG units = 5;
    EXPECT_EQ(seeking->GetDuration(&units), E_NOINTERFACE);
    EXPECT_EQ(units, 5);

    ASSERT_EQ(graph_->RenderFile(path_.c_str(), nullptr), S_OK);
    ComPtr<IMediaControl> control;
    graph_.as(control);
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_EQ(graph_->RenderFile(path_.c_str(), nullptr), VFW_E_NOT_STOPPED);
}

// The end of the file queues EC_COMPLETE for GetEvent.
TEST_F(FilePlaybackTest, EndOfFileQueuesComplete) {
    ASSERT_EQ(graph_->RenderFile(path_.c_str(), nullptr), S_OK);
    ComPtr<IMediaEventEx> events;
    ComPtr<IMediaControl> control;
    ComPtr<IMediaSeeking> seeking;
    graph_.as(events);
    graph_.as(control);
    graph_.as(seeking);
    LONGLONG nearEnd = 17'000'000;
    seeking->SetPositions(&nearEnd, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    LONG code = 0;
    LONG_PTR first = 0, second = 0;
    EXPECT_EQ(events->GetEvent(&code, &first, &second, 0), E_ABORT);
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_EQ(events->GetEvent(&code, &first, &second, 10000), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    EXPECT_EQ(first, S_OK);
}

} // namespace
