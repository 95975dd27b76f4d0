// Registers, ranges, focus pulses and GPIO through the KZ_* exports on the simulated sensor and motor.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <thread>
#include <vector>

#include <dshow/dshow.h>

#include "camera_fixture.h"
#include "register_access.h"

namespace {

using platform::devices::Decoy;
using platform::devices::FaultRule;
using platform::devices::SimulatedCamera;
using platform::devices::StopOverride;

using Registers = CameraTest;

struct CodeCase {
    const char* name;
    std::function<int(KZ_HANDLE)> call;
    int expected;
};

int value = 0;
int other = 0;
unsigned gpio = 0;

// Result codes of the four exports with a register object, including the indexes and null pointers that
// have no table row.
TEST_F(Registers, ExportCodes) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    const CodeCase cases[] = {
        {"read exposure", [](KZ_HANDLE d) { return KZ_RegOperation(d, 0, &value, 0); }, KZ_OK},
        {"read busy", [](KZ_HANDLE d) { return KZ_RegOperation(d, 9, &value, 0); }, KZ_OK},
        {"index 10", [](KZ_HANDLE d) { return KZ_RegOperation(d, 10, &value, 0); }, KZ_ERR_FAILED},
        {"index -1", [](KZ_HANDLE d) { return KZ_RegOperation(d, -1, &value, 1); }, KZ_ERR_FAILED},
        {"null value", [](KZ_HANDLE d) { return KZ_RegOperation(d, 0, nullptr, 0); }, KZ_ERR_FAILED},
        {"range 0", [](KZ_HANDLE d) { return KZ_GetRegRange(d, 0, &value, &other); }, KZ_OK},
        {"range 9", [](KZ_HANDLE d) { return KZ_GetRegRange(d, 9, &value, &other); }, KZ_ERR_FAILED},
        {"range -1", [](KZ_HANDLE d) { return KZ_GetRegRange(d, -1, &value, &other); }, KZ_ERR_FAILED},
        {"range null", [](KZ_HANDLE d) { return KZ_GetRegRange(d, 0, nullptr, &other); }, KZ_ERR_FAILED},
        {"focus", [](KZ_HANDLE d) { return KZ_FocusOperation(d, 1, 10); }, KZ_OK},
        {"gpio read", [](KZ_HANDLE d) { return KZ_GPIOOperation(d, &gpio, 0); }, KZ_OK},
        {"gpio write", [](KZ_HANDLE d) { return KZ_GPIOOperation(d, &gpio, 1); }, KZ_OK},
        {"gpio null", [](KZ_HANDLE d) { return KZ_GPIOOperation(d, nullptr, 0); }, KZ_ERR_FAILED},
    };
    for (const CodeCase& c : cases) {
        EXPECT_EQ(c.call(h), c.expected) << c.name;
    }
    EXPECT_TRUE(Boxes().calls().empty());
}

// A capture filter without the private interface: one "OpenInterface Fail!" box, the camera still opens,
// and every register export answers 4.
TEST_F(Registers, WithoutRegisterObjectEverythingIsMissing) {
    SimulatedCamera::setNoDevice(true);
    SimulatedCamera::setDecoys({{"USB 2820 Video", false}});
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    const auto boxes = Boxes().calls();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "OpenInterface Fail!");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(KZ_RegOperation(h, 0, &value, 0), KZ_ERR_MISSING);
    EXPECT_EQ(KZ_RegOperation(h, 6, &value, 1), KZ_ERR_MISSING);
    EXPECT_EQ(KZ_GetRegRange(h, 0, &value, &other), KZ_ERR_MISSING);
    EXPECT_EQ(KZ_FocusOperation(h, 0, 10), KZ_ERR_MISSING);
    EXPECT_EQ(KZ_GPIOOperation(h, &gpio, 0), KZ_ERR_MISSING);
}

struct RoundTrip {
    int index;
    int value;
    BYTE address;
    BYTE reg;
    std::vector<BYTE> wire;
};

// Each index writes its own register with the right width and byte order, probes only the sensor, leaves
// the caller's variable alone and reads back what it wrote.
TEST_F(Registers, RoundTripThroughSensorAndMotor) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    const RoundTrip cases[] = {
        {0, 660, 0xBA, 0x09, {0x02, 0x94}}, {1, 50, 0xBA, 0x2D, {0x00, 0x32}}, {2, 17, 0xBA, 0x2B, {0x00, 0x11}},
        {3, 18, 0xBA, 0x2E, {0x00, 0x12}},  {4, 63, 0xBA, 0x2C, {0x00, 0x3F}}, {5, 0x1234, 0xBA, 0x05, {0x12, 0x34}},
        {6, 20, 0x46, 0x10, {0x14}},        {7, 5, 0x46, 0x11, {0x05}},        {8, 200, 0x46, 0x12, {0xC8}},
    };
    for (const RoundTrip& c : cases) {
        Camera().clearLogs();
        int written = c.value;
        ASSERT_EQ(KZ_RegOperation(h, c.index, &written, 1), KZ_OK) << c.index;
        EXPECT_EQ(written, c.value) << "a write leaves the variable";
        EXPECT_EQ(Camera().probeCount(), c.address == 0xBA ? 1u : 0u) << c.index;
        const auto writes = Camera().registerWrites();
        ASSERT_EQ(writes.size(), 1u) << c.index;
        EXPECT_EQ(writes[0].address, c.address) << c.index;
        EXPECT_EQ(writes[0].reg, c.reg) << c.index;
        EXPECT_EQ(writes[0].value, static_cast<unsigned>(c.value)) << c.index;
        bool sent = false;
        for (const auto& call : Camera().propertyCalls()) {
            sent = sent || (call.set && call.id == platform::devices::kPropI2cData && call.in == c.wire);
        }
        EXPECT_TRUE(sent) << "index " << c.index << " sends its bytes high byte first";
        int read = -1;
        ASSERT_EQ(KZ_RegOperation(h, c.index, &read, 0), KZ_OK) << c.index;
        EXPECT_EQ(read, c.value) << c.index;
    }
    int busy = -1;
    Camera().deliverFrames(1); // the 5-step move ends within the frame
    ASSERT_EQ(KZ_RegOperation(h, KZ_REG_MOTOR_BUSY, &busy, 0), KZ_OK);
    EXPECT_EQ(busy, 0) << "an idle controller";
}

TEST_F(Registers, RangesOfTheTable) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    const int expected[9][2] = {{1, 16383}, {1, 63}, {1, 63}, {1, 63}, {1, 63}, {1, 255}, {1, 255}, {1, 255}, {0, 255}};
    for (int index = 0; index < 9; ++index) {
        int min = -1;
        int max = -1;
        ASSERT_EQ(KZ_GetRegRange(h, index, &min, &max), KZ_OK);
        EXPECT_EQ(min, expected[index][0]) << index;
        EXPECT_EQ(max, expected[index][1]) << index;
    }
}

struct FaultCase {
    const char* name;
    std::function<void(SimulatedCamera&)> inject;
    int sensorResult;
    int motorResult;
    bool silent; // the sensor stays silent for the following reads
};

// A silent sensor gives 6 for indexes 0 to 5 without a transfer, while the motor still works; NACKs and
// failed property calls give 1 and change nothing.
TEST_F(Registers, BusFaults) {
    const FaultCase cases[] = {
        {"sensor absent", [](SimulatedCamera& c) { c.setSensorPresent(false); }, KZ_ERR_NO_SENSOR, KZ_OK, true},
        {"sensor NACK", [](SimulatedCamera& c) { c.setNack(0xBA, true); }, KZ_ERR_NO_SENSOR, KZ_OK, true},
        {"probe answers, sensor NACKs",
         [](SimulatedCamera& c) {
             c.setNack(0xBA, true);
             c.setProbeOverride(true);
         },
         KZ_ERR_FAILED, KZ_OK, false},
        {"motor absent", [](SimulatedCamera& c) { c.setMotorPresent(false); }, KZ_OK, KZ_ERR_FAILED, false},
        {"probe call fails",
         [](SimulatedCamera& c) { c.addFault({FaultRule::Call::Get, platform::devices::kPropProbeStatus, 0, 1, E_FAIL}); },
         KZ_ERR_NO_SENSOR, KZ_OK, false},
        // The sensor's failed select, its cancelling select, then the motor's select.
        {"I2C select fails",
         [](SimulatedCamera& c) { c.addFault({FaultRule::Call::Set, platform::devices::kPropI2cSelect, 0, 3, E_FAIL}); },
         KZ_ERR_FAILED, KZ_ERR_FAILED, false},
    };
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    for (const FaultCase& c : cases) {
        SimulatedCamera::resetAll();
        Camera().setSteppedMode(true);
        c.inject(Camera());
        int exposure = 1000;
        int steps = 30;
        EXPECT_EQ(KZ_RegOperation(h, KZ_REG_EXPOSURE, &exposure, 1), c.sensorResult) << c.name;
        EXPECT_EQ(KZ_RegOperation(h, KZ_REG_MOTOR_FORWARD, &steps, 1), c.motorResult) << c.name;
        EXPECT_EQ(Camera().i2cRegister(0xBA, 0x09), c.sensorResult == KZ_OK ? 1000u : 660u) << c.name;
        for (int index = 1; index <= 5 && c.silent; ++index) {
            EXPECT_EQ(KZ_RegOperation(h, index, &exposure, 0), KZ_ERR_NO_SENSOR) << c.name << " index " << index;
        }
        for (const auto& write : Camera().registerWrites()) {
            EXPECT_TRUE(c.sensorResult == KZ_OK || write.address != 0xBA) << c.name << ": a sensor write went out";
        }
    }
}

struct PulseCase {
    int direction;
    int milliseconds;
    unsigned expectedMs;
    BYTE drive; // the GPIO byte of the drive, from the power-on latch 0xFF
};

// A pulse drives one line low for 1 to 200 ms of the platform clock and ends with both lines high.
TEST_F(Registers, FocusPulseLengthAndLines) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    const PulseCase cases[] = {{1, 0, 1, 0xFD}, {0, 1000, 200, 0xFB}, {1, -5, 200, 0xFD}, {0, 50, 50, 0xFB}};
    ASSERT_TRUE(Camera().setTravel(1000)); // no pulse reaches a stop
    for (const PulseCase& c : cases) {
        Camera().setLensPosition(500);
        Camera().clearLogs();
        ASSERT_EQ(KZ_FocusOperation(h, c.direction, c.milliseconds), KZ_OK) << c.milliseconds;
        const auto writes = Camera().gpioWrites();
        ASSERT_EQ(writes.size(), 2u) << c.milliseconds;
        EXPECT_EQ(writes[0].value, c.drive) << c.milliseconds;
        EXPECT_EQ(writes[1].value, 0xFF) << c.milliseconds;
        EXPECT_EQ(writes[1].timeMs - writes[0].timeMs, c.expectedMs) << c.milliseconds;
        const double moved = Camera().lensPosition() - 500;
        EXPECT_DOUBLE_EQ(moved, c.direction != 0 ? c.expectedMs : -static_cast<double>(c.expectedMs))
            << "direction 1 drives towards the front end";
    }
}

// Pulses drive the lens into either end stop, which the GPIO read then reports; position maps the bits.
TEST_F(Registers, MotorDriveToEndStops) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    struct Step {
        int direction;
        int milliseconds;
        double position;
        unsigned lines; // bits 1 and 2 of the GPIO read
    };
    const Step steps[] = {{1, 50, 230, 0x06}, {1, 200, 360, 0x04}, {0, 200, 160, 0x06}, {0, 200, 0, 0x02}};
    for (const Step& s : steps) {
        ASSERT_EQ(KZ_FocusOperation(h, s.direction, s.milliseconds), KZ_OK);
        EXPECT_DOUBLE_EQ(Camera().lensPosition(), s.position);
        unsigned read = 0;
        ASSERT_EQ(KZ_GPIOOperation(h, &read, 0), KZ_OK);
        EXPECT_EQ(read & 0x06u, s.lines) << "at " << s.position;
        EXPECT_EQ(read & ~0x06u, 0xF9u) << "the other bits mirror the latch";
    }
    unsigned latch = 0x5A;
    ASSERT_EQ(KZ_GPIOOperation(h, &latch, 1), KZ_OK);
    EXPECT_EQ(Camera().chipRegister(8), 0x5A) << "a GPIO write sets the latch";
}

// The end-stop position from the GPIO byte, and 3 when the GPIO cannot be read.
TEST_F(Registers, MotorPositionFromGpioByte) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    {
        int ok = 0;
        korvib::RegisterAccess registers(&ok);
        ASSERT_EQ(ok, 1);
        const std::pair<BYTE, int> cases[] = {{0x06, 1}, {0x02, 0}, {0x04, 2}, {0x00, 3}, {0xF8, 3}, {0xFF, 1}};
        for (const auto& [byte, position] : cases) {
            Camera().setStopOverride(StopOverride::Byte, byte);
            EXPECT_EQ(registers.MotorPosition(), position) << int(byte);
        }
        Camera().addFault({FaultRule::Call::Get, platform::devices::kPropChipData, 0, 1, E_FAIL});
        EXPECT_EQ(registers.MotorPosition(), korvib::kMotorUnknown);
        // A pulse whose GPIO read fails drives nothing.
        Camera().clearLogs();
        Camera().addFault({FaultRule::Call::Get, platform::devices::kPropChipData, 0, 1, E_FAIL});
        EXPECT_EQ(registers.FocusPulse(1, 20), KZ_ERR_FAILED);
        EXPECT_TRUE(Camera().gpioWrites().empty());
    }
    CoUninitialize();
}

struct ReleaseCase {
    const char* name;
    FaultRule fault;
    BYTE latch; // the latch after the pulse
    std::size_t writes; // GPIO writes that reached the chip
};

// Every failed GPIO write of a pulse is reported; a failed release is written once more, so a single lost
// write does not leave the motor driving.
TEST_F(Registers, FocusPulseReportsAndRetriesFailedWrites) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    using platform::devices::kPropChipData;
    const ReleaseCase cases[] = {
        {"release fails once", {FaultRule::Call::Set, kPropChipData, 1, 1, E_FAIL}, 0xFF, 2},
        {"release fails twice", {FaultRule::Call::Set, kPropChipData, 1, 2, E_FAIL}, 0xFD, 1},
        {"drive fails", {FaultRule::Call::Set, kPropChipData, 0, 1, E_FAIL}, 0xFF, 1},
    };
    ASSERT_TRUE(Camera().setTravel(1000));
    for (const ReleaseCase& c : cases) {
        Camera().setLensPosition(500);
        unsigned idle = 0xFF;
        ASSERT_EQ(KZ_GPIOOperation(h, &idle, 1), KZ_OK);
        Camera().clearLogs();
        Camera().addFault(c.fault);
        EXPECT_EQ(KZ_FocusOperation(h, 1, 20), KZ_ERR_FAILED) << c.name;
        EXPECT_EQ(Camera().chipRegister(8), c.latch) << c.name;
        EXPECT_EQ(Camera().gpioWrites().size(), c.writes) << c.name;
    }
}

// Indexes outside the register and range tables are refused before any transfer and leave the caller's
// variables as they were.
TEST_F(Registers, IndexesOutsideTheTablesTouchNothing) {
    KZ_HANDLE h = Open();
    ASSERT_NE(h, nullptr);
    struct Outside {
        const char* name;
        std::function<int(KZ_HANDLE, int*, int*)> call;
    };
    const Outside cases[] = {
        {"read 10", [](KZ_HANDLE d, int* v, int*) { return KZ_RegOperation(d, 10, v, 0); }},
        {"read -1", [](KZ_HANDLE d, int* v, int*) { return KZ_RegOperation(d, -1, v, 0); }},
        {"write 10", [](KZ_HANDLE d, int* v, int*) { return KZ_RegOperation(d, 10, v, 1); }},
        {"write -1", [](KZ_HANDLE d, int* v, int*) { return KZ_RegOperation(d, -1, v, 1); }},
        {"range 9", [](KZ_HANDLE d, int* v, int* w) { return KZ_GetRegRange(d, 9, v, w); }},
        {"range 10", [](KZ_HANDLE d, int* v, int* w) { return KZ_GetRegRange(d, 10, v, w); }},
        {"range -1", [](KZ_HANDLE d, int* v, int* w) { return KZ_GetRegRange(d, -1, v, w); }},
    };
    for (const Outside& c : cases) {
        Camera().clearLogs();
        int first = 1234;
        int second = 5678;
        EXPECT_EQ(c.call(h, &first, &second), KZ_ERR_FAILED) << c.name;
        EXPECT_EQ(first, 1234) << c.name;
        EXPECT_EQ(second, 5678) << c.name;
        EXPECT_TRUE(Camera().propertyCalls().empty()) << c.name << ": a transfer went out";
    }
}

struct Traffic {
    KZ_HANDLE handle;
    std::atomic<int> frames{0};
    std::atomic<int> failures{0};
};

void __stdcall ReadGainsInFrame(void* user, BYTE* /*frame*/) {
    auto* traffic = static_cast<Traffic*>(user);
    for (int index = KZ_REG_GAIN_RED; index <= KZ_REG_GAIN_BLUE; ++index) {
        int gain = 0;
        if (KZ_RegOperation(traffic->handle, index, &gain, 0) != KZ_OK) {
            traffic->failures.fetch_add(1);
        }
    }
    traffic->frames.fetch_add(1);
}

// The streaming thread and the caller's thread transfer at once; strict mode finds no data call that does
// not directly follow its own thread's select.
TEST_F(Registers, TransfersFromTwoThreadsStayPaired) {
    KZ_HANDLE h = OpenAt(640, 480);
    ASSERT_NE(h, nullptr);
    Traffic traffic{h};
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    ASSERT_EQ(KZ_SetFrameCallBack(h, ReadGainsInFrame, &traffic), KZ_OK);
    Camera().setStrictMode(true);
    Camera().clearLogs();
    std::atomic<bool> stop{false};
    std::thread streaming([&] {
        while (!stop.load()) {
            Camera().deliverFrames(1);
        }
    });
    for (int i = 0; i < 300 || traffic.frames.load() < 30; ++i) {
        int exposure = 600 + i;
        unsigned lines = 0;
        EXPECT_EQ(KZ_RegOperation(h, KZ_REG_EXPOSURE, &exposure, 1), KZ_OK);
        EXPECT_EQ(KZ_GPIOOperation(h, &lines, 0), KZ_OK);
    }
    stop = true;
    streaming.join();
    EXPECT_EQ(KZ_Stop(h), KZ_OK);
    std::set<std::thread::id> threads;
    for (const auto& call : Camera().propertyCalls()) {
        threads.insert(call.thread);
    }
    EXPECT_EQ(threads.size(), 2u) << "both threads transferred";
    EXPECT_TRUE(Camera().strictViolations().empty());
    EXPECT_EQ(traffic.failures.load(), 0);
}

} // namespace
