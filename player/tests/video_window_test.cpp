// The video window inside the owner: the first frame shown, its size, full screen and leaving the owner.
#include <gtest/gtest.h>

#include "media_files.h"
#include "player_fixture.h"

namespace vidora_test {
namespace {

class VideoWindowTest : public PlayerTest {};

// Loading shows the first frame in a child filling the owner's client area while the player is stopped;
// a raw AVI gives the colour exactly, an MJPEG one within coding error.
TEST_F(VideoWindowTest, FirstFrameFillsTheOwner) {
    for (Media kind : {Media::RawAvi, Media::MjpegAvi}) {
        SCOPED_TRACE(kind == Media::RawAvi ? "raw" : "mjpeg");
        if (!openMedia(kind))
            GTEST_SKIP() << "ffmpeg cannot make the AVI";
        HWND video = videoWindow();
        ASSERT_NE(video, nullptr);
        EXPECT_TRUE(IsWindowVisible(video));
        RECT client{};
        GetClientRect(video, &client);
        EXPECT_EQ(client.right, 200);
        EXPECT_EQ(client.bottom, 150);
        int tolerance = kind == Media::RawAvi ? 0 : 6;
        for (POINT at : {POINT{0, 0}, POINT{100, 75}, POINT{199, 149}}) {
            Pixel pixel = pixelAt(video, at.x, at.y);
            EXPECT_NEAR(pixel.red, kRed, tolerance) << at.x << "," << at.y;
            EXPECT_NEAR(pixel.green, kGreen, tolerance) << at.x << "," << at.y;
            EXPECT_NEAR(pixel.blue, kBlue, tolerance) << at.x << "," << at.y;
        }
        handle_ = PLAY_UnInitial(handle_);
        EXPECT_EQ(handle_, nullptr);
        EXPECT_EQ(videoWindow(), nullptr) << "the video window left the owner";
    }
}

// Frames keep reaching the window while playing, and a seek while paused shows the frame it lands on.
TEST_F(VideoWindowTest, LaterFramesReachTheWindow) {
    if (!openMedia(Media::TwoColourAvi))
        GTEST_SKIP() << "ffmpeg cannot make the AVI";
    auto showsLaterColour = [&] {
        Pixel pixel = pixelAt(videoWindow(), 100, 75);
        return pixel.red == kLaterRed && pixel.green == kLaterGreen && pixel.blue == kLaterBlue;
    };
    EXPECT_EQ(pixelAt(videoWindow(), 100, 75).blue, kBlue);
    ASSERT_EQ(PLAY_Start(handle_), 0);
    EXPECT_TRUE(waitFor(showsLaterColour));
    PLAY_SetCurrentPosition(handle_, 0.0);
    PLAY_Pause(handle_);
    EXPECT_TRUE(waitFor([&] { return pixelAt(videoWindow(), 100, 75).blue == kBlue; }));
    PLAY_SetCurrentPosition(handle_, 2.0);
    EXPECT_TRUE(waitFor(showsLaterColour));
}

// The size is taken once: an owner that grows later keeps a video window of the size at loading.
TEST_F(VideoWindowTest, SizeFixedAtLoading) {
    if (!openMedia(Media::MjpegAvi))
        GTEST_SKIP() << "ffmpeg cannot make the AVI";
    MoveWindow(owner_, 0, 0, 600, 500, TRUE);
    RECT client{};
    GetClientRect(videoWindow(), &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 150);
}

// Input reaching the video window goes to the notify window (the message drain).
TEST_F(VideoWindowTest, InputGoesToNotifyWindow) {
    if (!openMedia(Media::MjpegAvi))
        GTEST_SKIP() << "ffmpeg cannot make the AVI";
    SendMessage(videoWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 8));
    MSG message{};
    ASSERT_TRUE(PeekMessage(&message, notify_, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(message.lParam, MAKELPARAM(7, 8));
}

// Full screen takes the video out of the owner; leaving it puts it back at its size.
TEST_F(VideoWindowTest, FullScreenOnAndOff) {
    if (!openMedia(Media::MjpegAvi))
        GTEST_SKIP() << "ffmpeg cannot make the AVI";
    EXPECT_EQ(PLAY_GetFullScreen(handle_), 0);
    EXPECT_EQ(PLAY_SetFullScreen(handle_, TRUE), 0);
    EXPECT_EQ(PLAY_GetFullScreen(handle_), 1);
    EXPECT_EQ(videoWindow(), nullptr);
    EXPECT_EQ(PLAY_SetFullScreen(handle_, FALSE), 0);
    EXPECT_EQ(PLAY_GetFullScreen(handle_), 0);
    ASSERT_NE(videoWindow(), nullptr);
    RECT client{};
    GetClientRect(videoWindow(), &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 150);
}

// A file without video has no video window; full screen stays off.
TEST_F(VideoWindowTest, AudioFileHasNoWindow) {
    if (!openMedia(Media::Wav))
        GTEST_SKIP() << "ffmpeg cannot make a WAV";
    EXPECT_EQ(videoWindow(), nullptr);
    EXPECT_EQ(PLAY_SetFullScreen(handle_, TRUE), 0);
    EXPECT_EQ(PLAY_GetFullScreen(handle_), 0);
}

} // namespace
} // namespace vidora_test
