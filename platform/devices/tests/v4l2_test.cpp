// Tests of a V4L2 camera behind the capture-source interface; skipped on a machine without one.
#include "v4l2_source.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>

namespace platform::devices::testing {
namespace {

std::shared_ptr<V4l2Source> firstCamera()
{
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator("/dev", error))
        if (item.path().filename().string().rfind("video", 0) == 0)
            if (auto source = V4l2Source::open(item.path().string()))
                return source;
    return nullptr;
}

TEST(V4l2Source, CapturesFramesOfTheChosenFormatAndHasNoChipInterface)
{
    auto source = firstCamera();
    if (!source)
        GTEST_SKIP() << "no V4L2 capture device";
    const auto caps = source->capabilities();
    ASSERT_FALSE(caps.empty());
    ASSERT_TRUE(source->setFormat(caps.front()));
    EXPECT_FALSE(source->setFormat({PixelFormat::Rgb24, 7, 7}));
    int32_t value = 0;
    EXPECT_EQ(source->propertyGet(4116, &value), E_NOTIMPL);

    std::mutex m;
    std::condition_variable cv;
    std::vector<DWORD> sizes;
    source->startStream(
        [&](const FrameView& f) {
            std::lock_guard g(m);
            sizes.push_back(f.size);
            cv.notify_all();
        },
        nullptr, nullptr);
    {
        std::unique_lock g(m);
        cv.wait_for(g, std::chrono::seconds(10), [&] { return sizes.size() >= 2; });
    }
    source->stopStream();
    ASSERT_GE(sizes.size(), 2u);
    EXPECT_EQ(sizes[0], frameBytes(caps.front()));
}

} // namespace
} // namespace platform::devices::testing
