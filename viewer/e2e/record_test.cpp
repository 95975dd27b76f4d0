// Recording as a person does it: F6, the save dialog answered by typing the file, the clock running in
// the status line, F6 again and the summary; the file as ffprobe and ffmpeg read it; a start that fails
// shows no recording state; Load is refused while recording.
#include "program_fixture.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include <QProcess>

namespace e2e {
namespace {

constexpr QPoint kLoad(845, 495);
// The status line (main window client coordinates).
const QRect kStatus(40, 750, 760, 15);

class RecordTest : public ProgramTest {
public:
    QImage status() { return shot(kStatus.x(), kStatus.y(), kStatus.width(), kStatus.height()); }
    std::filesystem::path clips() {
        std::filesystem::create_directories(program().folder() / "clips");
        return program().folder() / "clips";
    }
    // F6 and the save dialog answered with `path`; whether the dialog closed.
    bool startRecording(const std::string& path) {
        const XWindow dialog = opens([&] { key("F6"); });
        if (dialog.id == 0)
            return false;
        answer(path);
        return closes(dialog);
    }
    // Types `path` into the file dialog a key at a time, as the name box's completion list comes and
    // goes, and confirms it once the dialog has taken the keys in.
    void answer(const std::string& path) {
        for (char c : path) {
            x().type(std::string(1, c));
            std::this_thread::sleep_for(40ms);
        }
        std::this_thread::sleep_for(300ms);
        key("Return");
    }
    // What a tool prints on its standard output, with its errors after them.
    static std::string run(const QString& tool, const QStringList& arguments) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(tool, arguments);
        process.waitForFinished(30000);
        return process.readAll().toStdString();
    }
};

// A recording of about three seconds: the clock moves in the status line while it runs, F6 leaves the
// summary; the file holds 1280x1024 frames at the camera's 15 a second for the time it ran and decodes
// cleanly; the live picture runs again afterwards.
TEST_F(RecordTest, F6RecordsAndLeavesTheSummary) {
    const std::filesystem::path file = clips() / "clip.avi";
    const QImage idle = status();
    ASSERT_TRUE(startRecording(file.string()));
    ASSERT_TRUE(waitFor([&] { return status() != idle; }, 3s)) << "the start time never showed";
    const auto start = std::chrono::steady_clock::now();
    const QImage started = status();
    EXPECT_TRUE(waitFor([&] { return status() != started; }, 3s)) << "the clock does not run";
    saveShot("recording");
    std::this_thread::sleep_for(2s);
    const QImage ticking = status();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    key("F6");
    EXPECT_TRUE(waitFor([&] { return status() != ticking; }, 3s)) << "no summary";
    std::this_thread::sleep_for(1200ms);
    const QImage summary = status();
    EXPECT_EQ(changedShare(status(), summary), 0.0) << "the clock goes on after the stop";
    saveShot("summary");

    const std::string probe = run("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0",
                                              "-show_entries", "stream=width,height,nb_read_frames", "-of",
                                              "csv=p=0", QString::fromStdString(file.string())});
    int width = 0, height = 0, frames = 0;
    ASSERT_EQ(std::sscanf(probe.c_str(), "%d,%d,%d", &width, &height, &frames), 3) << probe;
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 1024);
    // The start is seen and the stop pressed within half a second of when they happen.
    EXPECT_NEAR(frames, seconds * 15, 0.5 * 15) << "frames for " << seconds << " s";
    EXPECT_EQ(run("ffmpeg", {"-nostdin", "-v", "error", "-i", QString::fromStdString(file.string()), "-f", "null",
                             "-"}),
              "");
    const QImage picture = shot(50, 60, 750, 600);
    EXPECT_TRUE(waitFor([&] { return changedShare(shot(50, 60, 750, 600), picture) > 0.001; }, 3s))
        << "the live picture stands after the recording";
}

// A file that cannot be written (no file can be made in /sys): the camera's box, then the window as before, and the next F6 asks for
// a file again instead of stopping.
TEST_F(RecordTest, FailedStartShowsNoRecordingState) {
    const QImage idle = status();
    const XWindow dialog = opens([&] { key("F6"); });
    ASSERT_NE(dialog.id, 0u);
    answer("/sys/x.avi");
    const std::optional<XWindow> box = x().findWindow("Veltrane", 5s);
    ASSERT_TRUE(box) << "no error box";
    std::this_thread::sleep_for(400ms);
    saveShot("error_box");
    key("Return");
    ASSERT_TRUE(closes(*box));
    EXPECT_TRUE(closes(dialog));
    std::this_thread::sleep_for(1200ms);
    EXPECT_EQ(changedShare(status(), idle), 0.0) << "the status line shows a recording";
    saveShot("after_failure");
    const XWindow again = opens([&] { key("F6"); });
    ASSERT_NE(again.id, 0u) << "F6 did not ask for a file";
    key("Escape");
    EXPECT_TRUE(closes(again));
}

// Load opens nothing while recording; after the stop it asks for a file.
TEST_F(RecordTest, LoadRefusedWhileRecording) {
    ASSERT_TRUE(startRecording((clips() / "clip.avi").string()));
    std::this_thread::sleep_for(1s);
    const std::vector<XWindow> before = x().windows();
    click(kLoad.x(), kLoad.y());
    EXPECT_FALSE(waitFor([&] { return !x().windowsBesides(before).empty(); }, 2s)) << "Load opened a dialog";
    saveShot("load_refused");
    key("F6");
    std::this_thread::sleep_for(500ms);
    const XWindow dialog = opens([&] { click(kLoad.x(), kLoad.y()); });
    ASSERT_NE(dialog.id, 0u);
    key("Escape");
    EXPECT_TRUE(closes(dialog));
}

// The compressor chosen in the settings' selection dialog, with its own configuration dialog opened by
// 设置... and its quality entered there, records the next file: ffprobe reads MJPEG.
TEST_F(RecordTest, ChosenAndConfiguredCompressorRecords) {
    const XWindow settings = opens([&] { click(975, 570); });
    ASSERT_NE(settings.id, 0u);
    const XWindow selection = opens([&] { x().click(in(settings, 184, 138)); });
    ASSERT_NE(selection.id, 0u);
    // The list's second entry, the first encoder: JPEG.
    x().click(in(selection, 120, 23));
    std::this_thread::sleep_for(400ms);
    key("Down");
    key("Return");
    std::this_thread::sleep_for(400ms);
    const XWindow config = opens([&] { x().click(in(selection, 309, 28)); });
    ASSERT_NE(config.id, 0u) << "the encoder's dialog did not open";
    saveShot("configuration");
    x().click(in(config, 230, 20));
    key("End");
    for (int i = 0; i < 3; ++i)
        key("BackSpace");
    answer("40");
    EXPECT_TRUE(closes(config));
    x().click(in(selection, 63, 71)); // 选择
    EXPECT_TRUE(closes(selection));
    key("Escape");
    EXPECT_TRUE(closes(settings));

    const std::filesystem::path file = clips() / "jpeg.avi";
    ASSERT_TRUE(startRecording(file.string()));
    std::this_thread::sleep_for(1500ms);
    key("F6");
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(run("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries", "stream=codec_name", "-of",
                              "csv=p=0", QString::fromStdString(file.string())}),
              "mjpeg\n");
}

} // namespace
} // namespace e2e
