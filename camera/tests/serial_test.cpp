// Tests of the serial trigger port on a pseudo-terminal: posts for bytes and the ring line, the 300 8N1
// line, a missing port, and the listener's stop in KZ_UnInitial.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <testing/pseudo_terminal.h>
#include <seams/serial_ports.h>
#include <win32/clock.h>

#include "camera_fixture.h"
#include "serial_listener.h"

namespace {

using korvib::WM_SERIAL_DATA;
using korvib::WM_SERIAL_RING;

constexpr int kPort = 5;

class SerialTest : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        ASSERT_TRUE(line_.ok());
        platform::seams::setComPortPath(kPort, line_.slavePath());
    }
    void TearDown() override {
        CameraTest::TearDown();
        platform::seams::setComPortPath(kPort, "");
        platform::seams::setComPortRing(kPort, std::nullopt);
    }
    // Moves the stepped clock on and collects the serial posts to the test window until `done` holds or
    // five real seconds have passed; the count of each message so far is in data_ and rings_.
    void PumpUntil(const std::function<bool()>& done) {
        auto& clock = dynamic_cast<platform::SteppedClock&>(platform::activeClock());
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done() && std::chrono::steady_clock::now() < giveUp) {
            clock.advance(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            MSG message{};
            // Any window of this thread, and messages to the thread itself.
            while (PeekMessage(&message, nullptr, WM_SERIAL_DATA, WM_SERIAL_RING, PM_REMOVE)) {
                ++(message.message == WM_SERIAL_DATA ? data_ : rings_);
            }
        }
    }
    // Pumps for about a second of polls: what should not come has had its chance.
    void PumpAWhile() {
        int rounds = 0;
        PumpUntil([&rounds] { return ++rounds > 200; });
    }
    // True when COM<kPort> can be opened, i.e. no one holds it.
    static bool PortFree() {
        HANDLE port = CreateFile("COM5", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (port == INVALID_HANDLE_VALUE) {
            return false;
        }
        CloseHandle(port);
        return true;
    }

    platform::testing::PseudoTerminal line_;
    int data_ = 0;
    int rings_ = 0;
};

// Bytes on the line give one WM_SERIAL_DATA per poll however many came; the port runs 300 8N1; after
// KZ_UnInitial the listener has ended and the port is free, so later bytes post nothing.
TEST_F(SerialTest, BytesPostDataUntilUnInitial) {
    ASSERT_EQ(KZ_Initial(&handle_, Window(), kPort), KZ_OK);
    EXPECT_FALSE(PortFree());
    termios settings{};
    const int slave = open(line_.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    ASSERT_EQ(tcgetattr(slave, &settings), 0);
    close(slave);
    EXPECT_EQ(cfgetispeed(&settings), static_cast<speed_t>(B300));
    EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B300));
    EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB), 0u);

    PumpAWhile();
    EXPECT_EQ(data_ + rings_, 0) << "an idle line posts nothing";
    ASSERT_TRUE(line_.send(std::string(50, 'x')));
    PumpUntil([this] { return data_ > 0; });
    EXPECT_EQ(data_, 1);
    PumpAWhile();
    EXPECT_EQ(data_, 1) << "one read's bytes post once";
    ASSERT_TRUE(line_.send("again"));
    PumpUntil([this] { return data_ > 1; });
    EXPECT_EQ(data_, 2);

    ASSERT_EQ(KZ_UnInitial(&handle_), KZ_OK);
    EXPECT_TRUE(PortFree());
    ASSERT_TRUE(line_.send("late"));
    PumpAWhile();
    EXPECT_EQ(data_, 2);
    EXPECT_EQ(rings_, 0);
}

// The ring line is a level: a post at every poll while it is on, none once it is off.
TEST_F(SerialTest, RingLinePostsAtEveryPollWhileOn) {
    ASSERT_EQ(KZ_Initial(&handle_, Window(), kPort), KZ_OK);
    platform::seams::setComPortRing(kPort, true);
    PumpUntil([this] { return rings_ >= 3; });
    EXPECT_GE(rings_, 3);
    platform::seams::setComPortRing(kPort, false);
    PumpAWhile(); // a poll under way may still post
    const int settled = rings_;
    PumpAWhile();
    EXPECT_EQ(rings_, settled);
    EXPECT_EQ(data_, 0);
}

// A port that cannot be opened costs the device nothing: KZ_Initial succeeds without a listener. Names of
// the widest numbers fit their buffer (the sanitizer build sees an overflow).
TEST_F(SerialTest, MissingPortRunsWithoutListener) {
    platform::seams::setComPortPath(6, "/nonexistent/tty");
    // There is no COM0; COM6 names a missing tty; the others are no port.
    for (int port : {0, 6, -1, INT_MIN, 1000000000, INT_MAX}) {
        SCOPED_TRACE(port);
        korvib::SerialListener listener(Window());
        listener.OpenSerial(port);
        EXPECT_EQ(listener.Listening(), false);
    }
    platform::seams::setComPortPath(6, "");
    ASSERT_EQ(KZ_Initial(&handle_, Window(), 0), KZ_OK);
    EXPECT_EQ(KZ_UnInitial(&handle_), KZ_OK);
}

// A port whose line settings fail is closed again, not held; a second Open of an open port is refused
// and leaves it working.
TEST_F(SerialTest, FailedAndRepeatedOpensKeepThePortUsable) {
    const std::string notATty = ::testing::TempDir() + "orvanel_serial_file";
    std::ofstream(notATty) << "x";
    platform::seams::setComPortPath(kPort, notATty);
    korvib::SerialPort port;
    EXPECT_FALSE(port.Open("COM5"));
    EXPECT_TRUE(PortFree());
    std::remove(notATty.c_str());

    platform::seams::setComPortPath(kPort, line_.slavePath());
    ASSERT_TRUE(port.Open("COM5"));
    EXPECT_FALSE(port.Open("COM5"));
    ASSERT_TRUE(line_.send("abc"));
    char buffer[101];
    int bytesToRead = 100;
    DWORD bytesRead = 0;
    ASSERT_TRUE(port.Read(buffer, &bytesToRead, &bytesRead));
    EXPECT_EQ(bytesRead, 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_TRUE(port.Close());
    EXPECT_FALSE(port.Close());
}

// A burst of more than one read's 100 bytes posts once: the read drops what the line still holds.
TEST_F(SerialTest, BurstPostsOnce) {
    ASSERT_EQ(KZ_Initial(&handle_, Window(), kPort), KZ_OK);
    ASSERT_TRUE(line_.send(std::string(250, 'b')));
    PumpUntil([this] { return data_ > 0; });
    PumpAWhile();
    EXPECT_EQ(data_, 1);
}

// CPU time of the whole process in seconds.
double ProcessSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A line whose far end hangs up fails every read: nothing is posted, and the listener keeps to its polls
// instead of reading again at once.
TEST_F(SerialTest, HangUpPostsNothingAndDoesNotSpin) {
    auto line = std::make_unique<platform::testing::PseudoTerminal>();
    ASSERT_TRUE(line->ok());
    platform::seams::setComPortPath(kPort, line->slavePath());
    ASSERT_EQ(KZ_Initial(&handle_, Window(), kPort), KZ_OK);
    line.reset();
    const double before = ProcessSeconds();
    PumpAWhile();
    EXPECT_LT(ProcessSeconds() - before, 0.3);
    EXPECT_EQ(data_ + rings_, 0);
}

// Without a notify window nothing is posted, to no window and not to the thread.
TEST_F(SerialTest, NullNotifyWindowGetsNothing) {
    ASSERT_EQ(KZ_Initial(&handle_, nullptr, kPort), KZ_OK);
    platform::seams::setComPortRing(kPort, true);
    ASSERT_TRUE(line_.send("abc"));
    PumpAWhile();
    EXPECT_EQ(data_ + rings_, 0);
    EXPECT_FALSE(PortFree()) << "the port is listened to all the same";
}

// Closing while the listener is inside a read waits for it before the port goes (the sanitizer build
// sees a port freed under the read).
TEST_F(SerialTest, CloseWaitsForTheReadUnderWay) {
    auto& clock = dynamic_cast<platform::SteppedClock&>(platform::activeClock());
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        korvib::SerialListener listener(Window());
        listener.OpenSerial(kPort);
        ASSERT_TRUE(listener.Listening());
        // The poll's wait ends; the read then waits up to 302 ms of real time for bytes.
        clock.advance(100);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        listener.CloseSerial();
        EXPECT_FALSE(listener.Listening());
        EXPECT_TRUE(PortFree());
    }
}

} // namespace
