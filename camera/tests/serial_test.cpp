// Tests of the serial trigger port on a pseudo-terminal: posts for bytes and the ring line, the 300 8N1
// line, a missing port, and the listener's stop in KZ_UnInitial.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <testing/pseudo_terminal.h>
#include <testing/serial_ports.h>
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
            while (PeekMessage(&message, Window(), WM_SERIAL_DATA, WM_SERIAL_RING, PM_REMOVE)) {
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

// A port that cannot be opened costs the device nothing: KZ_Initial succeeds without a listener.
TEST_F(SerialTest, MissingPortRunsWithoutListener) {
    platform::seams::setComPortPath(6, "/nonexistent/tty");
    for (int port : {0, 6}) { // there is no COM0; COM6 names a missing tty
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

} // namespace
