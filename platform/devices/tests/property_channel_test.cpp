// Tests of the private property interface: selections, chip and I2C data calls, probe, errors, faults, strict mode, log.
#include "sim_fixture.h"

#include <thread>

namespace platform::devices::testing {
namespace {

class PropertyChannelTest : public SimFixture {};

TEST_F(PropertyChannelTest, ChipSelectorFormsAreCheckedAndABadOneDropsTheSelection)
{
    struct Case {
        const char* what;
        uint32_t selector;
        HRESULT expected;
    };
    const Case cases[] = {
        {"one byte of register 8", 0x0801, S_OK},     {"four bytes", 0x4504, S_OK},
        {"last register", 0xFF01, S_OK},              {"cancel", 0, S_OK},
        {"count 0", 0x0800, E_INVALIDARG},            {"count 5", 0x0805, E_INVALIDARG},
        {"bit 16 set", 0x10801, E_INVALIDARG},        {"top bits set", 0x80000801u, E_INVALIDARG},
        {"runs past register 255", 0xFF02, E_INVALIDARG},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(set(kPropChipSelect, 0x0801), S_OK);
        EXPECT_EQ(set(kPropChipSelect, c.selector), c.expected) << c.what;
        BYTE data[4] = {};
        const HRESULT read = cam.propertyGet(kPropChipData, data);
        EXPECT_EQ(read, c.expected == S_OK && c.selector != 0 ? S_OK : E_UNEXPECTED) << c.what;
    }
}

TEST_F(PropertyChannelTest, ChipRegistersPowerOnAndMultiByteAccessUsesConsecutiveRegisters)
{
    EXPECT_EQ(chipRead(0x08), 0xFF);
    EXPECT_EQ(chipRead(0x20), 0);
    ASSERT_EQ(chipWrite(0x20, {1, 2, 3, 4}), S_OK);
    EXPECT_EQ(chipRead(0x20), 1);
    EXPECT_EQ(chipRead(0x23), 4);
    ASSERT_EQ(set(kPropChipSelect, 0x2104), S_OK);
    BYTE four[4] = {};
    ASSERT_EQ(cam.propertyGet(kPropChipData, four), S_OK);
    EXPECT_EQ(std::vector<BYTE>(four, four + 4), (std::vector<BYTE>{2, 3, 4, 0}));
}

TEST_F(PropertyChannelTest, I2cSelectorNeedsBit24AndAValidCount)
{
    EXPECT_EQ(set(kPropI2cSelect, i2cSelector(0xBA, 0x09, 2)), S_OK);
    EXPECT_EQ(set(kPropI2cSelect, 0x00BA0902), E_INVALIDARG) << "bit 24 missing";
    EXPECT_EQ(set(kPropI2cSelect, 0x03BA0902), E_INVALIDARG) << "bit 25 set";
    EXPECT_EQ(set(kPropI2cSelect, i2cSelector(0xBA, 0x09, 0)), E_INVALIDARG);
    EXPECT_EQ(set(kPropI2cSelect, i2cSelector(0xBA, 0x09, 5)), E_INVALIDARG);
    BYTE data[2];
    EXPECT_EQ(cam.propertyGet(kPropI2cData, data), E_UNEXPECTED) << "a refused selector leaves nothing selected";
    EXPECT_EQ(set(kPropI2cSelect, 0), S_OK);
    EXPECT_EQ(cam.propertySet(kPropI2cData, data), E_UNEXPECTED);
}

TEST_F(PropertyChannelTest, SensorRegistersAreBigEndianWithPowerOnDefaults)
{
    const std::pair<BYTE, unsigned> defaults[] = {{0x09, 660}, {0x2D, 31}, {0x2B, 21}, {0x2E, 21}, {0x2C, 40}, {0x05, 0}};
    for (auto [reg, value] : defaults) {
        std::vector<BYTE> b(2);
        ASSERT_EQ(i2cRead(kSensorAddress, reg, b), S_OK);
        EXPECT_EQ(b[0] << 8 | b[1], int(value)) << "register " << int(reg);
    }
    ASSERT_EQ(i2cWrite(kSensorAddress, 0x09, {0x02, 0x94}), S_OK);
    EXPECT_EQ(cam.i2cRegister(kSensorAddress, 0x09), 660u);
    ASSERT_EQ(sensorWrite(0x05, 0xBEEF), S_OK);
    std::vector<BYTE> b(2);
    ASSERT_EQ(i2cRead(kSensorAddress, 0x05, b), S_OK);
    EXPECT_EQ(b, (std::vector<BYTE>{0xBE, 0xEF}));
}

TEST_F(PropertyChannelTest, TransfersFailForAbsentNackingDevicesAndRefusedCounts)
{
    struct Case {
        const char* what;
        BYTE address;
        BYTE count;
        HRESULT expected;
    };
    const Case cases[] = {
        {"sensor takes 2 bytes", kSensorAddress, 2, S_OK}, {"sensor refuses 1", kSensorAddress, 1, kI2cBadCount},
        {"sensor refuses 4", kSensorAddress, 4, kI2cBadCount}, {"motor takes 1", kMotorAddress, 1, S_OK},
        {"motor refuses 2", kMotorAddress, 2, kI2cBadCount}, {"nobody at 0x50", 0x50, 1, kI2cNack},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> b(c.count);
        EXPECT_EQ(i2cRead(c.address, 0x10, b), c.expected) << c.what;
        EXPECT_EQ(i2cWrite(c.address, 0x12, b), c.expected) << c.what;
    }

    cam.setSensorPresent(false);
    EXPECT_EQ(sensorWrite(0x09, 100), kI2cNack);
    EXPECT_EQ(cam.i2cRegister(kSensorAddress, 0x09), 660u) << "a refused write changes nothing";
    EXPECT_EQ(motorWrite(0x12, 7), S_OK) << "the motor still answers";
    cam.setNack(kMotorAddress, true);
    EXPECT_EQ(motorWrite(0x12, 8), kI2cNack);
    cam.setNack(kMotorAddress, false);
    EXPECT_EQ(motorRead(0x12), 7);
}

TEST_F(PropertyChannelTest, ProbeReportsPresenceAndIdWord)
{
    struct Case {
        const char* what;
        BYTE address;
        bool sensorPresent;
        std::optional<bool> override;
        int32_t status;
        bool idNonzero;
    };
    const Case cases[] = {
        {"sensor", kSensorAddress, true, {}, 1, true},
        {"motor", kMotorAddress, true, {}, 1, true},
        {"absent sensor", kSensorAddress, false, {}, 0, false},
        {"empty address", 0x30, true, {}, 0, false},
        {"override silences a present sensor", kSensorAddress, true, false, 0, true},
    };
    for (const Case& c : cases) {
        cam.setSensorPresent(c.sensorPresent);
        cam.setProbeOverride(c.override);
        const unsigned before = cam.probeCount();
        ASSERT_EQ(set(kPropProbeAddress, c.address), S_OK);
        int32_t status = -1, id = -1;
        ASSERT_EQ(getInt(kPropProbeStatus, status), S_OK);
        ASSERT_EQ(getInt(kPropProbeValue, id), S_OK);
        EXPECT_EQ(status, c.status) << c.what;
        EXPECT_EQ(id != 0, c.idNonzero) << c.what;
        EXPECT_EQ(cam.probeCount(), before + 1) << c.what;
    }
}

TEST_F(PropertyChannelTest, KeyAddressesDefaultToZeroAndOtherIdsAreNotImplemented)
{
    int32_t v = -1;
    EXPECT_EQ(getInt(kPropKeyAddress, v), S_OK);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(getInt(kPropKeyPseudoAddress, v), S_OK);
    EXPECT_EQ(v, 0);
    cam.setKeyAddresses(0x40, 0x41);
    EXPECT_EQ(getInt(kPropKeyPseudoAddress, v), S_OK);
    EXPECT_EQ(v, 0x41);

    for (ULONG id : {4100u, 4105u, 4137u, 0u})
        EXPECT_EQ(set(id, 1), E_NOTIMPL) << id;
    for (ULONG id : {kPropChipSelect, kPropI2cSelect, kPropProbeAddress, 4200u})
        EXPECT_EQ(getInt(id, v), E_NOTIMPL) << "Get of " << id;
    for (ULONG id : {kPropProbeStatus, kPropKeyAddress})
        EXPECT_EQ(set(id, 1), E_NOTIMPL) << "Set of " << id;
    EXPECT_EQ(cam.propertySet(kPropChipSelect, nullptr), E_POINTER);
    EXPECT_EQ(cam.propertyGet(kPropProbeStatus, nullptr), E_POINTER);
}

TEST_F(PropertyChannelTest, InjectedFaultsSkipThenFailTheMatchingCallsOnly)
{
    cam.addFault({FaultRule::Call::Set, kPropI2cData, 1, 2, E_ABORT});
    EXPECT_EQ(sensorWrite(0x05, 1), S_OK) << "skipped";
    EXPECT_EQ(sensorWrite(0x05, 2), E_ABORT);
    std::vector<BYTE> b(2);
    EXPECT_EQ(i2cRead(kSensorAddress, 0x05, b), S_OK) << "a Get does not match a Set rule";
    EXPECT_EQ(b[1], 1) << "the failed write did nothing";
    EXPECT_EQ(sensorWrite(0x05, 3), E_ABORT);
    EXPECT_EQ(sensorWrite(0x05, 4), S_OK) << "the rule is used up";
    EXPECT_EQ(cam.i2cRegister(kSensorAddress, 0x05), 4u);
}

TEST_F(PropertyChannelTest, StrictModeFlagsADataCallThatDoesNotFollowItsOwnSelect)
{
    cam.setStrictMode(true);
    ASSERT_EQ(sensorWrite(0x05, 1), S_OK);
    int32_t v;
    ASSERT_EQ(set(kPropProbeAddress, kSensorAddress), S_OK);
    ASSERT_EQ(getInt(kPropProbeStatus, v), S_OK);
    ASSERT_EQ(getInt(kPropProbeValue, v), S_OK);
    EXPECT_TRUE(cam.strictViolations().empty()) << "serialised pairs and a probe triple pass";

    // Another thread selects between this thread's select and its data call.
    ASSERT_EQ(set(kPropI2cSelect, i2cSelector(kSensorAddress, 0x05, 2)), S_OK);
    std::thread([this] { EXPECT_EQ(set(kPropChipSelect, 0x0801), S_OK); }).join();
    BYTE data[2] = {0, 9};
    EXPECT_EQ(cam.propertySet(kPropI2cData, data), S_OK);
    // A data call straight after another thread's select of the same kind is flagged as well.
    std::thread([this] { EXPECT_EQ(set(kPropChipSelect, 0x0801), S_OK); }).join();
    BYTE byte;
    EXPECT_EQ(cam.propertyGet(kPropChipData, &byte), S_OK);

    const auto flagged = cam.strictViolations();
    ASSERT_EQ(flagged.size(), 2u);
    EXPECT_EQ(flagged[0].id, kPropI2cData);
    EXPECT_EQ(flagged[1].id, kPropChipData);
    EXPECT_EQ(flagged[1].thread, std::this_thread::get_id());
}

TEST_F(PropertyChannelTest, CallLogRecordsOrderThreadDirectionBytesAndResult)
{
    ASSERT_EQ(sensorWrite(0x09, 660), S_OK);
    std::vector<BYTE> b(1);
    EXPECT_EQ(i2cRead(0x50, 0x00, b), kI2cNack);
    const auto calls = cam.propertyCalls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_TRUE(calls[0].set);
    EXPECT_EQ(calls[0].id, kPropI2cSelect);
    EXPECT_EQ(calls[0].in, (std::vector<BYTE>{0x02, 0x09, 0xBA, 0x01}));
    EXPECT_EQ(calls[1].in, (std::vector<BYTE>{0x02, 0x94}));
    EXPECT_FALSE(calls[3].set);
    EXPECT_EQ(calls[3].result, kI2cNack);
    EXPECT_TRUE(calls[3].out.empty());
    EXPECT_EQ(calls[3].thread, std::this_thread::get_id());
    for (std::size_t i = 1; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].sequence, calls[i - 1].sequence + 1);
}

// A camera the program streams from for hours logs every call: the log keeps the newest 1024, oldest first.
TEST_F(PropertyChannelTest, CallLogKeepsOnlyTheNewestCalls)
{
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(set(kPropChipSelect, 0x0801), S_OK);
    ASSERT_EQ(set(kPropChipSelect, 0x4504), S_OK);
    const auto calls = cam.propertyCalls();
    ASSERT_EQ(calls.size(), 1024u);
    EXPECT_EQ(calls.back().in, (std::vector<BYTE>{0x04, 0x45, 0x00, 0x00}));
    EXPECT_EQ(calls.back().sequence - calls.front().sequence, 1023u);
}

} // namespace
} // namespace platform::devices::testing
