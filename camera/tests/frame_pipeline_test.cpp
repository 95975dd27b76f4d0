// The frame pipeline on plain buffers: step order, callback selection and buffers, requests, odd frames.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame_pipeline.h"
#include "gamma.h"

namespace {

using korvib::FramePipeline;

// A running format of width x height (24 bits), or an unreadable one.
class FixedFormat : public korvib::FormatSource {
public:
    FixedFormat(int width, int height, bool readable = true) : readable_(readable) {
        header_.biSize = sizeof(BITMAPINFOHEADER);
        header_.biWidth = width;
        header_.biHeight = height;
        header_.biPlanes = 1;
        header_.biBitCount = 24;
        header_.biSizeImage = static_cast<DWORD>(height * DibStride(width, 24));
    }
    bool GetCurrentFormat(BITMAPINFOHEADER* format) override {
        *format = header_;
        return readable_;
    }
    std::size_t bytes() const { return header_.biSizeImage; }

private:
    BITMAPINFOHEADER header_{};
    bool readable_;
};

// What the callbacks saw, in call order.
struct Observer {
    std::vector<std::string> calls;
    std::vector<const BYTE*> buffers;
    std::vector<BYTE> firstBytes;
    int infoWidth = 0;
    int infoHeight = 0;
    FramePipeline* pipeline = nullptr;
    bool insideFrame = false;
};

void __stdcall MaskMarks(void* user, BYTE* frame) {
    auto* observer = static_cast<Observer*>(user);
    observer->calls.push_back("mask");
    frame[0] = 0xEE;
}

void __stdcall RecordFrame(void* user, BYTE* frame) {
    auto* observer = static_cast<Observer*>(user);
    observer->calls.push_back("frame");
    observer->buffers.push_back(frame);
    observer->firstBytes.push_back(frame[0]);
    observer->insideFrame = observer->pipeline != nullptr && observer->pipeline->InsideFrame();
}

void __stdcall RecordFrameEx(FrameInfo* info) {
    auto* observer = static_cast<Observer*>(info->user);
    observer->calls.push_back("extended");
    observer->buffers.push_back(info->data);
    observer->infoWidth = info->width;
    observer->infoHeight = info->height;
}

std::vector<BYTE> Frame(std::size_t bytes, BYTE value = 100) {
    return std::vector<BYTE>(bytes, value);
}

// The buffer copy holds the frame after the green gamma and before the mask callback; the frame callback
// sees the mask callback's drawing.
TEST(FramePipeline, StepsRunInOrderAroundTheCopies) {
    FramePipeline pipeline;
    FixedFormat format(4, 2);
    Observer observer;
    pipeline.SetMaskCallBack(MaskMarks, &observer);
    ASSERT_TRUE(pipeline.SetFrameCallBack(RecordFrame, &observer));
    pipeline.SetGreenGamma(2.2f, true);

    std::vector<BYTE> copy(format.bytes(), 0);
    pipeline.BufferRequest().Place(copy.data(), copy.size());
    std::vector<BYTE> frame = Frame(format.bytes());
    pipeline.OnFrame(frame.data(), frame.size(), format);

    const BYTE green = korvib::MakeGammaTable(2.2f)[100];
    EXPECT_FALSE(pipeline.BufferRequest().Pending());
    EXPECT_TRUE(pipeline.BufferRequest().Copied());
    EXPECT_EQ(copy[0], 100) << "the copy must precede the mask callback";
    EXPECT_EQ(copy[1], green) << "the copy must follow the green gamma";
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"mask", "frame"}));
    EXPECT_EQ(observer.firstBytes.at(0), 0xEE) << "the frame callback sees the mask drawing";
    EXPECT_EQ(frame[0], 0xEE) << "the delivered frame is changed in place";
}

// The last setter decides the kind; successive frames alternate the two copy buffers.
TEST(FramePipeline, LastSetterWinsAndBuffersAlternate) {
    FramePipeline pipeline;
    FixedFormat format(4, 2);
    Observer observer;
    std::vector<BYTE> frame = Frame(format.bytes());

    ASSERT_TRUE(pipeline.SetFrameCallBack(RecordFrame, &observer));
    ASSERT_TRUE(pipeline.SetFrameCallBackEx(RecordFrameEx, &observer));
    for (int i = 0; i < 3; ++i) {
        pipeline.OnFrame(frame.data(), frame.size(), format);
    }
    ASSERT_EQ(observer.calls, (std::vector<std::string>{"extended", "extended", "extended"}));
    EXPECT_EQ(observer.infoWidth, 4);
    EXPECT_EQ(observer.infoHeight, 2);
    EXPECT_NE(observer.buffers[0], observer.buffers[1]);
    EXPECT_EQ(observer.buffers[0], observer.buffers[2]);
    EXPECT_NE(observer.buffers[0], frame.data()) << "callbacks get a copy, not the grabber's buffer";

    observer.calls.clear();
    ASSERT_TRUE(pipeline.SetFrameCallBack(RecordFrame, &observer));
    pipeline.OnFrame(frame.data(), frame.size(), format);
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"frame"}));

    // A null callback of either kind switches both off.
    observer.calls.clear();
    ASSERT_TRUE(pipeline.SetFrameCallBackEx(nullptr, nullptr));
    pipeline.OnFrame(frame.data(), frame.size(), format);
    EXPECT_TRUE(observer.calls.empty());
}

// Frames the pipeline cannot trust are passed on untouched and do not serve buffer requests.
TEST(FramePipeline, OddFramesAreLeftAlone) {
    FramePipeline pipeline;
    Observer observer;
    ASSERT_TRUE(pipeline.SetFrameCallBack(RecordFrame, &observer));
    pipeline.SetGreenGamma(2.2f, true);

    // Length different from the running format's image size.
    FixedFormat format(4, 2);
    std::vector<BYTE> copy(format.bytes(), 0);
    pipeline.BufferRequest().Place(copy.data(), copy.size());
    std::vector<BYTE> shortFrame = Frame(format.bytes() - 3);
    pipeline.OnFrame(shortFrame.data(), shortFrame.size(), format);
    EXPECT_EQ(shortFrame, Frame(format.bytes() - 3));
    EXPECT_TRUE(pipeline.BufferRequest().Pending());

    // Unreadable format: a snapshot request is served from the raw frame, the buffer request still waits.
    FixedFormat unreadable(4, 2, false);
    std::vector<BYTE> snapshot(format.bytes(), 0);
    pipeline.SnapshotRequest().Place(snapshot.data(), snapshot.size());
    std::vector<BYTE> frame = Frame(format.bytes());
    pipeline.OnFrame(frame.data(), frame.size(), unreadable);
    EXPECT_TRUE(pipeline.SnapshotRequest().Copied());
    EXPECT_EQ(snapshot, Frame(format.bytes()));
    EXPECT_TRUE(pipeline.BufferRequest().Pending());
    EXPECT_TRUE(observer.calls.empty());
    EXPECT_EQ(pipeline.TakeFramesInPeriod(), 2) << "every delivered frame counts";
}

// A frame longer than the request's target is refused rather than copied past its end.
TEST(FramePipeline, RequestRefusesFramesLargerThanItsTarget) {
    FramePipeline pipeline;
    FixedFormat format(4, 2);
    std::vector<BYTE> target(format.bytes() + 8, 0x11);
    pipeline.BufferRequest().Place(target.data(), format.bytes() - 1);
    std::vector<BYTE> frame = Frame(format.bytes());
    pipeline.OnFrame(frame.data(), frame.size(), format);
    EXPECT_FALSE(pipeline.BufferRequest().Pending());
    EXPECT_FALSE(pipeline.BufferRequest().Copied());
    EXPECT_EQ(target, std::vector<BYTE>(format.bytes() + 8, 0x11));
}

// Callbacks know they run inside a frame; outside it the caller's thread is not marked.
TEST(FramePipeline, MarksTheThreadInsideAFrame) {
    FramePipeline pipeline;
    FixedFormat format(4, 2);
    Observer observer;
    observer.pipeline = &pipeline;
    ASSERT_TRUE(pipeline.SetFrameCallBack(RecordFrame, &observer));
    std::vector<BYTE> frame = Frame(format.bytes());
    pipeline.OnFrame(frame.data(), frame.size(), format);
    EXPECT_TRUE(observer.insideFrame);
    EXPECT_FALSE(pipeline.InsideFrame());
}

} // namespace
