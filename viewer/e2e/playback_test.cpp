// Media files played in the picture area, used through the playback buttons, the Edit button and F11 as a
// person does: a video loaded on its first frame, playing, paused, the paused frame after a visit to the
// Edit view, full screen and back, a Chinese-named file under a Chinese system and an unreadable file.
#include "program_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace e2e {
namespace {

// Client points of the main window's controls.
constexpr QPoint kLoad(845, 495), kPlay(880, 495), kPause(915, 495), kStop(950, 495), kClose(985, 495);
constexpr QPoint kPreviewEdit(915, 710);
// The picture area and the position text.
const QRect kPicture(50, 60, 750, 600);
const QRect kPosition(830, 460, 50, 20);
// The right end of the position slider's channel.
constexpr QPoint kSliderEnd(945, 470);

// ffmpeg inputs of ten seconds of test picture with a tone, or of the tone alone.
const std::string kPictureAndTone = "-f lavfi -i testsrc=s=320x240:r=25:d=10 -f lavfi -i sine=duration=10 ";
const std::string kTone = "-f lavfi -i sine=duration=10 ";
const std::string kMjpegAvi = kPictureAndTone + "-c:v mjpeg -pix_fmt yuvj420p -c:a pcm_s16le";

class PlaybackTest : public ProgramTest {
public:
    QImage picture() { return shot(kPicture.x(), kPicture.y(), kPicture.width(), kPicture.height()); }
    QImage position() { return shot(kPosition.x(), kPosition.y(), kPosition.width(), kPosition.height()); }
    void press(QPoint control) { click(control.x(), control.y()); }

    // A file of ten seconds made with ffmpeg in `folder` from `arguments` (inputs and codecs); by default
    // an MJPEG AVI whose counter shows the second.
    std::filesystem::path makeMedia(const std::filesystem::path& folder, const std::string& name,
                                    const std::string& arguments = kMjpegAvi) {
        std::filesystem::create_directories(folder);
        const std::filesystem::path path = folder / name;
        const std::string command =
            "ffmpeg -hide_banner -loglevel error -y " + arguments + " '" + path.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return path;
    }
    std::filesystem::path media() { return program().folder() / "media"; }

    // The file dialog of the Load button, answered by typing `typed` and Enter.
    void load(const std::string& typed) {
        const XWindow dialog = opens([&] { press(kLoad); });
        ASSERT_NE(dialog.id, 0u);
        x().type(typed);
        key("Return");
        ASSERT_TRUE(closes(dialog)) << "the file dialog stayed";
        std::this_thread::sleep_for(500ms);
    }

    // The picture area comes to hold still, two looks 300 ms apart the same, within four seconds (a busy
    // machine may still be painting the last change).
    bool stands() {
        QImage last = picture();
        return waitFor(
            [&] {
                std::this_thread::sleep_for(300ms);
                const QImage now = picture();
                const bool still = changedShare(now, last) < 0.001;
                last = now;
                return still;
            },
            4s);
    }
    // The picture area changes within two seconds.
    bool moves() {
        const QImage before = picture();
        return waitFor([&] { return changedShare(picture(), before) > 0.01; }, 2s);
    }

    // Nothing the sound libraries or Qt print on the program's output.
    void expectQuiet() {
        const std::string output = program().output();
        EXPECT_EQ(output.find("ALSA"), std::string::npos) << output;
        EXPECT_EQ(output.find("AL lib"), std::string::npos) << output;
        EXPECT_EQ(output.find("QPainter"), std::string::npos) << output;
    }
};

// A loaded AVI stands on its first frame until Play; playing moves the picture and the position text;
// Pause holds both; the Edit view and back shows the paused frame again, full screen shows it over the whole
// screen and Esc brings the window back as it was; Close gives the area back to the live camera.
TEST_F(PlaybackTest, VideoLoadPlayPauseEditFullScreenClose) {
    const std::filesystem::path clip = makeMedia(media(), "clip.avi");
    ASSERT_NO_FATAL_FAILURE(load(clip.string()));
    EXPECT_TRUE(hasDetail(picture()));
    EXPECT_TRUE(stands()) << "a loaded file stands on its first frame";
    saveShot("loaded");

    const QImage positionAtStart = position();
    press(kPlay);
    EXPECT_TRUE(moves()) << "the picture does not play";
    EXPECT_TRUE(waitFor([&] { return position() != positionAtStart; }, 3s)) << "the position text stays";
    press(kPause);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(stands()) << "the picture goes on while paused";
    const QImage paused = picture();
    saveShot("paused");

    press(kPreviewEdit);
    std::this_thread::sleep_for(500ms);
    EXPECT_GT(changedShare(picture(), paused), 0.5) << "the Edit view still shows the video";
    press(kPreviewEdit);
    EXPECT_TRUE(waitFor([&] { return changedShare(picture(), paused) < 0.001; }, 2s))
        << "the paused frame is not back after Edit and Preview";
    saveShot("paused_after_edit");

    // The pointer leaves the Edit button, whose look follows it.
    x().moveTo(QPoint(1275, 1020));
    std::this_thread::sleep_for(300ms);
    const QImage window = x().shot();
    key("F11");
    EXPECT_TRUE(waitFor([&] { return changedShare(x().shot(), window) > 0.5; }, 2s))
        << "F11 did not fill the screen";
    saveShot("full_screen");
    key("Escape");
    EXPECT_TRUE(waitFor([&] { return changedShare(x().shot(), window) < 0.001; }, 2s))
        << "Esc did not bring the window back as it was";

    press(kClose);
    EXPECT_TRUE(moves()) << "the live camera is not back";
    expectQuiet();
}

struct MediaKind {
    const char* name;
    const char* file;
    std::string arguments;
    bool video;
};

class MediaTableTest : public PlaybackTest, public ::testing::WithParamInterface<MediaKind> {};

// Every kind of file loads, plays with its position text advancing, holds it while paused, shows the frame
// the slider seeks to (for video), returns to 00:00:00 on Stop and closes back to the camera.
TEST_P(MediaTableTest, LoadPlayPauseSeekStopClose) {
    const std::filesystem::path file = makeMedia(media(), GetParam().file, GetParam().arguments);
    ASSERT_NO_FATAL_FAILURE(load(file.string()));
    EXPECT_TRUE(stands());
    const QImage firstFrame = picture();
    const QImage atStart = position();
    press(kPlay);
    EXPECT_TRUE(waitFor([&] { return position() != atStart; }, 3s)) << "the position text stays";
    press(kPause);
    std::this_thread::sleep_for(300ms);
    const QImage paused = position();
    std::this_thread::sleep_for(1200ms);
    EXPECT_EQ(position(), paused) << "the position goes on while paused";
    if (GetParam().video) {
        EXPECT_TRUE(stands());
        // A click on the slider's channel right of the thumb pages the position on: a frame later than
        // the paused one, and not the first one.
        const QImage frame = picture();
        click(kSliderEnd.x(), kSliderEnd.y());
        EXPECT_TRUE(waitFor(
            [&] {
                const QImage now = picture();
                return changedShare(now, frame) > 0.01 && changedShare(now, firstFrame) > 0.01;
            },
            3s))
            << "the slider showed no later frame";
    }
    saveShot("paused");
    press(kStop);
    EXPECT_TRUE(waitFor([&] { return position() == atStart; }, 2s)) << "Stop did not show 00:00:00";
    press(kClose);
    EXPECT_TRUE(moves()) << "the live camera is not back";
    expectQuiet();
}

INSTANTIATE_TEST_SUITE_P(
    Files, MediaTableTest,
    ::testing::Values(MediaKind{"MjpegAvi", "clip.avi", kMjpegAvi, true},
                      MediaKind{"H264Mp4", "clip.mp4",
                                kPictureAndTone + "-c:v libx264 -pix_fmt yuv420p -g 25 -c:a aac", true},
                      MediaKind{"Mpeg", "clip.mpg", kPictureAndTone + "-c:v mpeg1video -g 5 -c:a mp2 -f mpeg",
                                true},
                      MediaKind{"Wav", "tone.wav", kTone + "-c:a pcm_s16le", false},
                      MediaKind{"Mp3", "tone.mp3", kTone + "-c:a libmp3lame", false}),
    [](const auto& info) { return std::string(info.param.name); });

class ChinesePlaybackTest : public PlaybackTest {
protected:
    std::vector<std::pair<std::string, std::string>> environment() const override {
        return {{"LC_ALL", "zh_CN.UTF-8"}};
    }
};

// Under a Chinese system a file with a Chinese name, chosen in the file dialog's list, loads and plays.
TEST_F(ChinesePlaybackTest, ChineseNamedFilePlays) {
    const std::filesystem::path folder = media() / "chinese";
    makeMedia(folder, "视频 片段.avi");
    const XWindow dialog = opens([&] { press(kLoad); });
    ASSERT_NE(dialog.id, 0u);
    // The folder holds only the clip: its name is the list's first row.
    x().type(folder.string() + "/");
    key("Return");
    std::this_thread::sleep_for(500ms);
    // Esc closes the name completion's list, not the dialog.
    key("Escape");
    saveShot("dialog");
    const QPoint firstRow = in(dialog, 190, 68);
    x().click(firstRow);
    x().click(firstRow);
    ASSERT_TRUE(closes(dialog)) << "the file dialog stayed";
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(stands()) << "the file is not loaded";
    press(kPlay);
    EXPECT_TRUE(moves()) << "the file does not play";
    saveShot("playing");
    press(kClose);
    expectQuiet();
}

// A file no player reads loads harmlessly: every playback button and F11 twice leave the window working,
// and Close brings the live camera back.
TEST_F(PlaybackTest, UnreadableFileIsHarmless) {
    const std::filesystem::path clip = makeMedia(media(), "clip.avi");
    std::string bytes;
    {
        std::ifstream in(clip, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ASSERT_GT(bytes.size(), 4096u);
    std::fill(bytes.begin() + 12, bytes.begin() + 4096, '\0');
    const std::filesystem::path corrupt = media() / "corrupt.avi";
    std::ofstream(corrupt, std::ios::binary) << bytes;

    ASSERT_NO_FATAL_FAILURE(load(corrupt.string()));
    EXPECT_TRUE(stands());
    for (QPoint control : {kPlay, kPause, kPlay})
        press(control);
    key("F11");
    key("F11");
    saveShot("loaded");
    press(kClose);
    EXPECT_TRUE(moves()) << "the live camera is not back";
    expectQuiet();
}


// The share of white pixels: a picture area that lost its frame is white.
double whiteShare(const QImage& image) {
    long white = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            white += (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
    return static_cast<double>(white) / (static_cast<double>(image.width()) * image.height());
}

// The video window keeps its paused frame through Edit and Preview and shows it in full screen, not white.
TEST_F(PlaybackTest, PausedPictureIsNeverWhite) {
    ASSERT_NO_FATAL_FAILURE(load(makeMedia(media(), "clip.avi").string()));
    EXPECT_LT(whiteShare(picture()), 0.2) << "the first frame is not shown";
    press(kPlay);
    std::this_thread::sleep_for(700ms);
    press(kPause);
    press(kPreviewEdit);
    std::this_thread::sleep_for(500ms);
    press(kPreviewEdit);
    EXPECT_TRUE(waitFor([&] { return whiteShare(picture()) < 0.2 && hasDetail(picture()); }, 3s))
        << "the paused picture vanished after Edit and Preview";
    key("F11");
    std::this_thread::sleep_for(800ms);
    EXPECT_LT(whiteShare(x().shot()), 0.2) << "full screen while paused is white";
    key("Escape");
    std::this_thread::sleep_for(500ms);
}

// A key the position slider ignores must not come back to it for ever: the program idles and answers.
TEST_F(PlaybackTest, PositionSliderThenFunctionKeys) {
    ASSERT_NO_FATAL_FAILURE(load(makeMedia(media(), "clip.avi").string()));
    x().drag(at(884, 470), at(930, 470));
    for (const char* name : {"F11", "Escape", "F7", "F7"})
        key(name);
    std::this_thread::sleep_for(300ms);
    expectIdle();
}

// The video window's keys reach the program once, through its message drain.
TEST_F(PlaybackTest, OneF6OpensOneSaveDialog) {
    ASSERT_NO_FATAL_FAILURE(load(makeMedia(media(), "clip.avi").string()));
    click(884, 470); // the position slider
    const std::vector<XWindow> before = x().windows();
    key("F6");
    std::this_thread::sleep_for(1500ms);
    const std::vector<XWindow> added = x().windowsBesides(before);
    ASSERT_EQ(added.size(), 1u) << "F6 opened " << added.size() << " dialogs";
    key("Escape");
    EXPECT_TRUE(closes(added.front()));
}

} // namespace
} // namespace e2e
