// Tests of sndPlaySound (recorded and really played) and ShellExecute (recorded).
#include <win32/shell.h>
#include <win32/sound.h>

#include <seams/sound_shell.h>

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace {

// A 16-bit mono 8 kHz WAV file of `samples` silent samples.
void writeWav(const std::string& path, uint32_t samples) {
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out << "RIFF";
    u32(36 + samples * 2);
    out << "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    out << "data";
    u32(samples * 2);
    for (uint32_t i = 0; i < samples; ++i)
        u16(0);
}

TEST(Sound, RecordedCallsKeepTheirResults) {
    TempFolder folder;
    writeWav(folder.file("folder.wav"), 80);
    std::vector<platform::seams::SoundCall> calls;
    platform::seams::setSoundRecord(&calls);
    EXPECT_TRUE(sndPlaySound(folder.file("folder.wav").c_str(), SND_ASYNC));
    EXPECT_FALSE(sndPlaySound(folder.file("missing.wav").c_str(), SND_ASYNC | SND_NODEFAULT));
    EXPECT_TRUE(sndPlaySound(nullptr, 0));
    platform::seams::setSoundRecord(nullptr);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].sound, folder.file("folder.wav"));
    EXPECT_EQ(calls[0].flags, SND_ASYNC);
    EXPECT_EQ(calls[2].sound, "");
}

// Played for real: with or without an audio device the calls succeed; bad files and flags fail.
TEST(Sound, PlaysWavFilesAndRefusesOthers) {
    TempFolder folder;
    writeWav(folder.file("short.wav"), 400);
    std::ofstream(folder.file("broken.wav")) << "not a sound at all";
    EXPECT_TRUE(sndPlaySound(folder.file("short.wav").c_str(), SND_SYNC | SND_NODEFAULT));
    EXPECT_TRUE(sndPlaySound(folder.file("short.wav").c_str(), SND_ASYNC));
    EXPECT_TRUE(sndPlaySound(folder.file("short.wav").c_str(), SND_ASYNC)); // stops the first
    EXPECT_TRUE(sndPlaySound(nullptr, 0));
    EXPECT_FALSE(sndPlaySound(folder.file("broken.wav").c_str(), SND_SYNC));
    EXPECT_FALSE(sndPlaySound(folder.file("missing.wav").c_str(), SND_SYNC));
    EXPECT_FALSE(sndPlaySound(folder.file("short.wav").c_str(), 0x0008)); // looping is not offered
}

// An asynchronous sound opens its file in the background: a file whose reader waits for a writer (a
// pipe) does not hold up the caller, and the sound is set up once the data comes.
TEST(Sound, AsynchronousSoundsReturnBeforeTheFileIsOpened) {
    TempFolder folder;
    writeWav(folder.file("short.wav"), 400);
    const std::string pipe = folder.file("pipe.wav");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_TRUE(sndPlaySound(pipe.c_str(), SND_ASYNC));
    std::ifstream wav(folder.file("short.wav"), std::ios::binary);
    const auto oldHandler = std::signal(SIGPIPE, SIG_IGN); // the player may close the pipe early
    std::ofstream(pipe, std::ios::binary) << wav.rdbuf();  // waits until the sound opens the pipe
    std::signal(SIGPIPE, oldHandler);
    EXPECT_TRUE(sndPlaySound(nullptr, 0));
}

TEST(Shell, OpenIsRecordedAndOtherCasesFail) {
    TempFolder folder;
    std::ofstream(folder.file("readme.txt")) << "help";
    std::vector<platform::seams::ShellCall> calls;
    platform::seams::setShellRecord(&calls);
    const std::string readme = folder.file("readme.txt");
    EXPECT_GT(
        reinterpret_cast<intptr_t>(ShellExecute(nullptr, "open", readme.c_str(), nullptr, nullptr, SW_SHOW)),
        32);
    EXPECT_EQ(reinterpret_cast<intptr_t>(
                  ShellExecute(nullptr, "open", folder.file("none.txt").c_str(), nullptr, nullptr, SW_SHOW)),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(
        reinterpret_cast<intptr_t>(ShellExecute(nullptr, "print", readme.c_str(), nullptr, nullptr, SW_SHOW)),
        SE_ERR_NOASSOC);
    platform::seams::setShellRecord(nullptr);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].verb, "open");
    EXPECT_EQ(calls[0].file, readme);
    EXPECT_EQ(calls[0].show, SW_SHOW);
}

} // namespace
