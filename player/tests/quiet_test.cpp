// Playing prints nothing: no sound-library reports without an audio device, no drawing warnings.
#include <stdio.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "media_files.h"
#include "player_fixture.h"

namespace vidora_test {
namespace {

// What the process writes to its standard error while `run` runs.
template <class Run> std::string standardErrorOf(Run run) {
    const std::string path = scratchFolder() + "/stderr.txt";
    fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    FILE* sink = fopen(path.c_str(), "w");
    if (saved < 0 || !sink) {
        ADD_FAILURE() << "cannot redirect standard error";
        return {};
    }
    dup2(fileno(sink), STDERR_FILENO);
    run();
    fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    fclose(sink);
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class QuietTest : public PlayerTest {};

// Loading, playing and closing files with and without sound, in an owner and without one, write nothing
// to standard error, whether or not the machine has an audio device.
TEST_F(QuietTest, PlayingPrintsNothing) {
    for (Media kind : {Media::MjpegAvi, Media::Wav}) {
        const MediaFile& file = mediaFile(kind);
        if (file.path.empty())
            GTEST_SKIP() << "ffmpeg cannot make the file";
        for (HWND owner : {owner_, HWND{nullptr}}) {
            SCOPED_TRACE(file.path + (owner ? " in an owner" : " without an owner"));
            const std::string printed = standardErrorOf([&] {
                ASSERT_EQ(PLAY_Initial(&handle_, owner, notify_, file.path.c_str()), 0);
                ASSERT_EQ(PLAY_Start(handle_), 0);
                EXPECT_TRUE(waitFor([&] { return position() > 0.2; }));
                handle_ = PLAY_UnInitial(handle_);
            });
            EXPECT_EQ(printed, "");
        }
    }
}

} // namespace
} // namespace vidora_test
