// The settings key: creation, defaults stored on first read, corrected sensor values and auto parameters.
#include <gtest/gtest.h>

#include <string>

#include <win32/kernel.h>
#include <win32/registry.h>

#include <camera/korvib.h>

#include "registry_fixture.h"
#include "registry_settings.h"

namespace {

using korvib::ReadRegDword;
using korvib::WriteRegDword;

class RegistrySettings : public RegistryFileTest {
protected:
    void SetUp() override {
        RegistryFileTest::SetUp();
        key_ = korvib::OpenCameraKey(3);
        ASSERT_NE(key_, nullptr);
    }
    void TearDown() override {
        RegCloseKey(key_);
        RegistryFileTest::TearDown();
    }
    HKEY key_ = nullptr;
};

// First reads store their defaults, so the values exist afterwards with their types.
TEST_F(RegistrySettings, MissingValuesAreStoredWithTheirDefaults) {
    char name[256] = "unchanged";
    korvib::ReadRegString(key_, "Compressor", name, sizeof(name));
    EXPECT_STREQ(name, "");
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_TRUE(ReadCameraValue("Compressor", &type, nullptr, &size));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 1u);

    EXPECT_EQ(ReadRegDword(key_, "bCustomProp", 1), 1u);
    ASSERT_TRUE(ReadCameraValue("bCustomProp", &type, nullptr, &size));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    WriteRegDword(key_, "bCustomProp", 0);
    EXPECT_EQ(ReadRegDword(key_, "bCustomProp", 1), 0u);
}

// A stored name longer than the 256-byte compressor buffer is cut at 255 characters.
TEST_F(RegistrySettings, LongCompressorNameIsBounded) {
    const std::string longName(300, 'x');
    korvib::WriteRegString(key_, "Compressor", longName.c_str());
    char name[257];
    name[255] = '#';
    name[256] = '#';
    korvib::ReadRegString(key_, "Compressor", name, 256);
    EXPECT_EQ(std::string(name), std::string(255, 'x'));
    EXPECT_EQ(name[256], '#');
}

struct SensorCase {
    const char* name;
    int stored;
    int index;
    int expected;
};

// Gains and exposure: 0 gives the default, the rest is clamped to the register range, in sending order.
TEST_F(RegistrySettings, StoredSensorValuesAreCorrected) {
    const SensorCase cases[] = {
        {"RGain", 0, KZ_REG_GAIN_RED, 31},        {"RGain", 100, KZ_REG_GAIN_RED, 63},
        {"RGain", -5, KZ_REG_GAIN_RED, 1},        {"RGain", 20, KZ_REG_GAIN_RED, 20},
        {"GGain1", 64, KZ_REG_GAIN_GREEN1, 63},   {"GGain1", 64, KZ_REG_GAIN_GREEN2, 63},
        {"BGain", 0, KZ_REG_GAIN_BLUE, 40},       {"Exposure", 20000, KZ_REG_EXPOSURE, 16383},
        {"Exposure", 0, KZ_REG_EXPOSURE, 660},    {"Exposure", 16383, KZ_REG_EXPOSURE, 16383},
    };
    for (const SensorCase& c : cases) {
        WriteRegDword(key_, c.name, static_cast<DWORD>(c.stored));
        int sent = -1;
        for (const korvib::RegisterWrite& write : korvib::StoredSensorWrites(key_)) {
            if (write.index == c.index) {
                sent = write.value;
            }
        }
        EXPECT_EQ(sent, c.expected) << c.name << " stored as " << c.stored;
    }
}

TEST_F(RegistrySettings, DefaultsGoOutInSensorOrder) {
    const auto writes = korvib::StoredSensorWrites(key_);
    const int indexes[] = {KZ_REG_GAIN_RED, KZ_REG_GAIN_GREEN1, KZ_REG_GAIN_GREEN2, KZ_REG_GAIN_BLUE, KZ_REG_EXPOSURE};
    const int values[] = {31, 21, 21, 40, 660};
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].index, indexes[i]);
        EXPECT_EQ(writes[i].value, values[i]);
    }
    EXPECT_EQ(ReadRegDword(key_, "Exposure", 1), 660u) << "the default was stored";
}

// Divisors of the auto loops never come back as 0 or negative; targets pass as stored.
TEST_F(RegistrySettings, AutoParameterDivisorsStayPositive) {
    korvib::AutoParameters defaults = korvib::ReadAutoParameters(key_);
    EXPECT_EQ(defaults.awbDiff, 10);
    EXPECT_EQ(defaults.aeDiff, 10);
    EXPECT_EQ(defaults.awbTarget, 180);
    EXPECT_EQ(defaults.aeTarget, 180);
    EXPECT_EQ(defaults.autoSplit, 4);

    WriteRegDword(key_, "AWBDiff", 0);
    WriteRegDword(key_, "AEDiff", static_cast<DWORD>(-3));
    WriteRegDword(key_, "AutoSplit", 0);
    WriteRegDword(key_, "AWBTarget", 150);
    const korvib::AutoParameters stored = korvib::ReadAutoParameters(key_);
    EXPECT_EQ(stored.awbDiff, 10);
    EXPECT_EQ(stored.aeDiff, 10);
    EXPECT_EQ(stored.autoSplit, 4);
    EXPECT_EQ(stored.awbTarget, 150);
}

} // namespace
