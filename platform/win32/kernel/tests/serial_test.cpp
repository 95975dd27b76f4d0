// Tests of communications ports on a pseudo-terminal: names, line settings, time-outs, queues, modem lines.
#include <win32/files.h>
#include <win32/serial.h>
#include <win32/sync.h>

#include <testing/pseudo_terminal.h>
#include <seams/serial_ports.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace {

constexpr int kPort = 7;

// A pseudo-terminal standing in for COM7.
class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        line_ = std::make_unique<platform::testing::PseudoTerminal>();
        ASSERT_TRUE(line_->ok());
        platform::seams::setComPortPath(kPort, line_->slavePath());
    }
    void TearDown() override {
        if (port_ != INVALID_HANDLE_VALUE)
            CloseHandle(port_);
        platform::seams::setComPortPath(kPort, "");
        platform::seams::setComPortRing(kPort, std::nullopt);
    }
    HANDLE Open(const char* name = "COM7") {
        port_ = CreateFile(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        return port_;
    }
    // Sets the port's read time-outs (the write ones stay 0).
    void SetReadTimeouts(DWORD interval, DWORD multiplier, DWORD constant) {
        COMMTIMEOUTS timeouts{interval, multiplier, constant, 0, 0};
        ASSERT_TRUE(SetCommTimeouts(port_, &timeouts));
    }
    std::string Read(DWORD bytes) {
        std::string text(bytes, '\0');
        DWORD got = 0;
        EXPECT_TRUE(ReadFile(port_, text.data(), bytes, &got, nullptr));
        text.resize(got);
        return text;
    }
    // The slave's termios as another opener of the tty sees it.
    termios SlaveSettings() {
        termios line{};
        const int fd = open(line_->slavePath().c_str(), O_RDWR | O_NOCTTY);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(tcgetattr(fd, &line), 0);
        close(fd);
        return line;
    }

    std::unique_ptr<platform::testing::PseudoTerminal> line_;
    HANDLE port_ = INVALID_HANDLE_VALUE;
};

// Port names reach the tty in both forms and any case; numbers below 1, missing ttys and ports in use fail.
TEST_F(SerialPortTest, NamesOpenTheMappedTtyOnce) {
    for (const char* name : {"COM7", "com7", "\\\\.\\COM7"}) {
        SCOPED_TRACE(name);
        ASSERT_NE(Open(name), INVALID_HANDLE_VALUE);
        // No sharing: a second open finds the port in use.
        EXPECT_EQ(CreateFile(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_TRUE(CloseHandle(port_));
        port_ = INVALID_HANDLE_VALUE;
    }
    EXPECT_EQ(CreateFile("COM7", GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    for (const char* missing : {"COM0", "COM199"}) { // COM199 is /dev/ttyS198
        SCOPED_TRACE(missing);
        EXPECT_EQ(Open(missing), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    }
}

// The console's tty stays the kernel's: opening it as a port finds it in use and leaves its settings.
TEST_F(SerialPortTest, SystemConsoleIsInUse) {
    std::ifstream active("/sys/class/tty/console/active");
    std::string console;
    if (!(active >> console) || access(("/dev/" + console).c_str(), R_OK | W_OK) != 0)
        GTEST_SKIP() << "no console tty here";
    platform::seams::setComPortPath(kPort, "/dev/" + console);
    EXPECT_EQ(Open(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(SerialPortTest, EnvironmentNamesTheTtyWithoutSeam) {
    platform::seams::setComPortPath(kPort, "");
    setenv("ORVANEL_COM7", line_->slavePath().c_str(), 1);
    EXPECT_NE(Open(), INVALID_HANDLE_VALUE);
    unsetenv("ORVANEL_COM7");
}

struct LineCase {
    const char* name;
    DWORD baud;
    BYTE byteSize, parity, stopBits;
    speed_t speed;
    tcflag_t size, parityBits;
};

// Each DCB speed and stop-bit setting lands in the tty's termios, raw, and GetCommState reads it back
// unchanged.
TEST_F(SerialPortTest, LineSettingsReachTermios) {
    // A pseudo-terminal keeps only 8-bit frames without parity; other frames need a real line.
    const LineCase cases[] = {
        {"300 8N1", 300, 8, NOPARITY, ONESTOPBIT, B300, CS8, 0},
        {"9600 8N2", 9600, 8, NOPARITY, TWOSTOPBITS, B9600, CS8, 0},
        {"115200 8N1", 115200, 8, NOPARITY, ONESTOPBIT, B115200, CS8, 0},
    };
    ASSERT_NE(Open(), INVALID_HANDLE_VALUE);
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        DCB dcb{};
        ASSERT_TRUE(GetCommState(port_, &dcb));
        dcb.BaudRate = c.baud;
        dcb.ByteSize = c.byteSize;
        dcb.Parity = c.parity;
        dcb.StopBits = c.stopBits;
        ASSERT_TRUE(SetCommState(port_, &dcb));
        const termios line = SlaveSettings();
        EXPECT_EQ(cfgetispeed(&line), c.speed);
        EXPECT_EQ(cfgetospeed(&line), c.speed);
        EXPECT_EQ(line.c_cflag & CSIZE, c.size);
        EXPECT_EQ(line.c_cflag & (PARENB | PARODD | CMSPAR), c.parityBits);
        EXPECT_EQ((line.c_cflag & CSTOPB) != 0, c.stopBits == TWOSTOPBITS);
        EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(line.c_oflag & OPOST, 0u);
        DCB back{};
        ASSERT_TRUE(GetCommState(port_, &back));
        EXPECT_EQ(back.BaudRate, c.baud);
        EXPECT_EQ(back.ByteSize, c.byteSize);
        EXPECT_EQ(back.Parity, c.parity);
        EXPECT_EQ(back.StopBits, c.stopBits);
    }
}

// A frame the tty cannot carry is refused and the line keeps its settings.
TEST_F(SerialPortTest, RejectedLineSettingsChangeNothing) {
    ASSERT_NE(Open(), INVALID_HANDLE_VALUE);
    DCB good{};
    ASSERT_TRUE(GetCommState(port_, &good));
    good.BaudRate = 300;
    good.ByteSize = 8;
    good.Parity = NOPARITY;
    good.StopBits = ONESTOPBIT;
    ASSERT_TRUE(SetCommState(port_, &good));
    DCB bad[4] = {good, good, good, good};
    bad[0].BaudRate = 12345;
    bad[1].ByteSize = 9;
    bad[2].Parity = 5;
    bad[3].StopBits = ONE5STOPBITS;
    for (DCB& dcb : bad) {
        EXPECT_FALSE(SetCommState(port_, &dcb));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    const termios line = SlaveSettings();
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B300));
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
}

// Reads take what has come, end at the total time-out with nothing, and end at the interval time-out
// after a byte even though more follows later.
TEST_F(SerialPortTest, ReadsEndAtTheirTimeouts) {
    ASSERT_NE(Open(), INVALID_HANDLE_VALUE);
    SetReadTimeouts(3, 3, 2);
    EXPECT_EQ(Read(100), "");
    ASSERT_TRUE(line_->send("first"));
    std::thread later([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        line_->send("second");
    });
    EXPECT_EQ(Read(100), "first");
    later.join();
    EXPECT_EQ(Read(100), "second");
    // MAXDWORD interval without totals: at once, with what is there.
    SetReadTimeouts(MAXDWORD, 0, 0);
    EXPECT_EQ(Read(10), "");
    // No time-outs: the read waits until all its bytes came.
    SetReadTimeouts(0, 0, 0);
    ASSERT_TRUE(line_->send("ab"));
    std::thread rest([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        line_->send("cd");
    });
    EXPECT_EQ(Read(4), "abcd");
    rest.join();
}

// What a read leaves in the queue is counted by ClearCommError and dropped by PurgeComm.
TEST_F(SerialPortTest, PurgeDropsTheReceiveQueue) {
    ASSERT_NE(Open(), INVALID_HANDLE_VALUE);
    SetReadTimeouts(3, 3, 2);
    ASSERT_TRUE(line_->send("0123456789"));
    EXPECT_EQ(Read(4), "0123");
    DWORD errors = 1;
    COMSTAT status{};
    ASSERT_TRUE(ClearCommError(port_, &errors, &status));
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(status.cbInQue, 6u);
    EXPECT_TRUE(PurgeComm(port_, PURGE_RXABORT | PURGE_RXCLEAR));
    ASSERT_TRUE(ClearCommError(port_, &errors, &status));
    EXPECT_EQ(status.cbInQue, 0u);
    EXPECT_EQ(Read(100), "");
    EXPECT_FALSE(PurgeComm(port_, 0x100));
}

// A pseudo-terminal has no modem lines; the seam's ring state stands in and can change while open.
TEST_F(SerialPortTest, RingLineFromTheSeam) {
    ASSERT_NE(Open(), INVALID_HANDLE_VALUE);
    DWORD lines = 0;
    EXPECT_FALSE(GetCommModemStatus(port_, &lines));
    platform::seams::setComPortRing(kPort, true);
    ASSERT_TRUE(GetCommModemStatus(port_, &lines));
    EXPECT_EQ(lines, MS_RING_ON);
    platform::seams::setComPortRing(kPort, false);
    ASSERT_TRUE(GetCommModemStatus(port_, &lines));
    EXPECT_EQ(lines, 0u);
}

// A line whose far end hung up fails the read instead of reporting an empty success.
TEST_F(SerialPortTest, HungUpLineFailsTheRead) {
    ASSERT_NE(Open(), INVALID_HANDLE_VALUE);
    SetReadTimeouts(3, 3, 2);
    line_.reset();
    char buffer[8];
    DWORD got = 5;
    EXPECT_FALSE(ReadFile(port_, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_READ_FAULT));
    EXPECT_EQ(got, 0u);
}

// The Comm functions refuse handles that are no port; file writes are not offered on a port.
TEST_F(SerialPortTest, OtherHandlesAreRefused) {
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    DCB dcb{};
    DWORD lines = 0;
    COMMTIMEOUTS timeouts{};
    EXPECT_FALSE(GetCommState(event, &dcb));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(SetCommTimeouts(event, &timeouts));
    EXPECT_FALSE(GetCommModemStatus(nullptr, &lines));
    EXPECT_FALSE(PurgeComm(event, PURGE_RXCLEAR));
    EXPECT_FALSE(ClearCommError(event, nullptr, nullptr));
    CloseHandle(event);
    ASSERT_NE(Open(), INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(port_, "x", 1, &written, nullptr));
}

} // namespace
