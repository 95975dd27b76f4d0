// BridgeChip on the simulated chip: filter name and search order, cancelled selections, probe, key block.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <devices/simulated_camera.h>
#include <dshow/dshow.h>
#include <win32/registry.h>

#include "bridge_chip.h"
#include "registry_fixture.h"

namespace {

using platform::devices::Decoy;
using platform::devices::FaultRule;
using platform::devices::KeyEntry;
using platform::devices::SimulatedCamera;

class BridgeChipTest : public RegistryFileTest {
protected:
    void SetUp() override {
        RegistryFileTest::SetUp();
        SimulatedCamera::resetAll();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    }
    void TearDown() override {
        CoUninitialize();
        SimulatedCamera::resetAll();
        RegistryFileTest::TearDown();
    }
    // Stores a string value under HKEY_LOCAL_MACHINE\Software\USB2800\Camera, with its terminator.
    static void StoreName(const char* value, const char* text) {
        StoreBytes(value, std::string(text, std::strlen(text) + 1));
    }
    // Stores exactly the bytes of `bytes`, terminated or not.
    static void StoreBytes(const char* value, const std::string& bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\USB2800\\Camera", 0, nullptr, 0, KEY_ALL_ACCESS,
                                 nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueEx(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                      static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }
};

// "RealDSName" wins over "DSName"; either alone is used; without the key nothing is found.
TEST_F(BridgeChipTest, FilterNameFromRegistry) {
    char name[260] = {};
    WCHAR wide[260] = {};
    EXPECT_EQ(korvib::ReadBridgeFilterName(name, wide), 0) << "no key";

    StoreName("DSName", "USB 2861 Video");
    ASSERT_EQ(korvib::ReadBridgeFilterName(name, wide), 1);
    EXPECT_STREQ(name, "USB 2861 Video");
    EXPECT_STREQ(wide, L"USB 2861 Video");

    StoreName("RealDSName", "USB 2750 Camera");
    ASSERT_EQ(korvib::ReadBridgeFilterName(name, nullptr), 1);
    EXPECT_STREQ(name, "USB 2750 Camera");
    EXPECT_EQ(korvib::ReadBridgeFilterName(nullptr, nullptr), 1) << "both buffers may be null";
}

struct StoredName {
    const char* name;
    std::string realName; // the bytes of "RealDSName"
    std::string dsName;   // the bytes of "DSName"
    int found;
    std::string expected;
};

// An empty value is no name, so the next one is tried; a value without a terminator is read within the
// buffer: 255 bytes whole, 256 bytes not at all.
TEST_F(BridgeChipTest, EmptyAndUnterminatedNames) {
    const std::string fallback("USB 2861 Video", 15);
    const StoredName cases[] = {
        {"empty RealDSName", std::string(1, '\0'), fallback, 1, "USB 2861 Video"},
        {"zero-length RealDSName", "", fallback, 1, "USB 2861 Video"},
        {"both empty", std::string(1, '\0'), std::string(1, '\0'), 0, ""},
        {"255 bytes unterminated", std::string(255, 'A'), std::string(1, '\0'), 1, std::string(255, 'A')},
        {"256 bytes unterminated", std::string(256, 'B'), fallback, 1, "USB 2861 Video"},
        {"256 bytes alone", std::string(256, 'B'), "", 0, ""},
    };
    for (const StoredName& c : cases) {
        StoreBytes("RealDSName", c.realName);
        StoreBytes("DSName", c.dsName);
        char name[260];
        WCHAR wide[260];
        std::memset(name, 0x55, sizeof(name));
        std::memset(wide, 0x55, sizeof(wide));
        ASSERT_EQ(korvib::ReadBridgeFilterName(name, wide), c.found) << c.name;
        if (c.found == 0) {
            continue;
        }
        EXPECT_EQ(std::string(name), c.expected) << c.name;
        EXPECT_EQ(std::wstring(wide), std::wstring(c.expected.begin(), c.expected.end())) << c.name;
    }
}

// An empty RealDSName with a webcam listed first: the chip is still found by the default name, and an
// empty name given to the search matches no device at all.
TEST_F(BridgeChipTest, EmptyNameMatchesNoDevice) {
    StoreName("RealDSName", "");
    SimulatedCamera::setNoDevice(true);
    SimulatedCamera::setDecoys({{"Integrated Webcam", false}, {"USB 2820 Video", true}});
    IBaseFilter* any = korvib::BridgeChip::FindCaptureFilter("");
    EXPECT_EQ(any, nullptr);
    if (any != nullptr) {
        any->Release();
    }
    korvib::BridgeChip chip;
    ASSERT_NE(chip.Open(), nullptr);
    BYTE latch = 0;
    ASSERT_EQ(chip.ReadChipRegister(8, 1, &latch), S_OK);
    EXPECT_FALSE(SimulatedCamera::decoy(1).propertyCalls().empty());
}

// A registry name that matches nothing falls back to the list in its order; names match by a
// case-sensitive prefix, and the interface reaches the device that was found.
TEST_F(BridgeChipTest, FallbackListOrderAndPrefixMatch) {
    StoreName("RealDSName", "USB 9999 Video");
    SimulatedCamera::setNoDevice(true);
    SimulatedCamera::setDecoys({{"usb 2800 video", true}, {"USB 2880 Video", true}, {"USB 2861 Video Rev B", true}});
    korvib::BridgeChip chip;
    ASSERT_NE(chip.Open(), nullptr);
    BYTE latch = 0;
    ASSERT_EQ(chip.ReadChipRegister(8, 1, &latch), S_OK);
    EXPECT_TRUE(SimulatedCamera::decoy(0).propertyCalls().empty()) << "names compare case-sensitively";
    EXPECT_TRUE(SimulatedCamera::decoy(1).propertyCalls().empty()) << "2861 stands before 2880 in the list";
    EXPECT_FALSE(SimulatedCamera::decoy(2).propertyCalls().empty());
}

// Without any device of a listed name, or when the one found has no private interface, Open gives null
// and every transfer answers 6 without a call.
TEST_F(BridgeChipTest, OpenFailsWithoutInterface) {
    for (bool withDecoy : {false, true}) {
        SimulatedCamera::setNoDevice(true);
        SimulatedCamera::setDecoys(withDecoy ? std::vector<Decoy>{{"USB 2820 Video", false}} : std::vector<Decoy>{});
        korvib::BridgeChip chip;
        EXPECT_EQ(chip.Open(), nullptr) << withDecoy;
        BYTE data[2] = {};
        int value = 7;
        unsigned gpio = 0;
        EXPECT_EQ(chip.ReadChipRegister(8, 1, data), korvib::kChipNoInterface);
        EXPECT_EQ(chip.WriteI2C(0xBA, 9, 2, data), korvib::kChipNoInterface);
        EXPECT_EQ(chip.ProbeI2C(0xBA, &value), korvib::kChipNoInterface);
        EXPECT_EQ(value, 0);
        EXPECT_EQ(chip.ReadGpio(&gpio), korvib::kChipNoInterface);
    }
}

struct CancelCase {
    const char* name;
    ULONG dataId;
    ULONG selectId;
    bool chip; // a chip-register read, else an I2C write
};

// A failing data call is followed by a select of 0 and its HRESULT is returned.
TEST_F(BridgeChipTest, FailedDataCallCancelsSelection) {
    const CancelCase cases[] = {
        {"chip register read", korvib::kPropChipData, korvib::kPropChipSelect, true},
        {"I2C write", korvib::kPropI2cData, korvib::kPropI2cSelect, false},
    };
    korvib::BridgeChip chip;
    ASSERT_NE(chip.Open(), nullptr);
    SimulatedCamera camera = SimulatedCamera::primary();
    for (const CancelCase& c : cases) {
        camera.clearLogs();
        camera.addFault({FaultRule::Call::Any, c.dataId, 0, 1, E_FAIL});
        BYTE data[2] = {0x12, 0x34};
        const HRESULT hr = c.chip ? chip.ReadChipRegister(0x20, 2, data) : chip.WriteI2C(0xBA, 0x09, 2, data);
        EXPECT_EQ(hr, E_FAIL) << c.name;
        const auto calls = camera.propertyCalls();
        ASSERT_EQ(calls.size(), 3u) << c.name;
        EXPECT_EQ(calls[2].id, c.selectId) << c.name;
        EXPECT_TRUE(calls[2].set);
        EXPECT_EQ(calls[2].in, std::vector<BYTE>(4, 0)) << c.name << ": the selection is cancelled";
    }
    EXPECT_EQ(camera.i2cRegister(0xBA, 0x09), 660u) << "the failed write changed nothing";
}

// A mask whose latch read fails writes nothing back: the latch keeps its value.
TEST_F(BridgeChipTest, GpioMaskReadFailureWritesNothing) {
    korvib::BridgeChip chip;
    ASSERT_NE(chip.Open(), nullptr);
    SimulatedCamera camera = SimulatedCamera::primary();
    const unsigned cleared = 0;
    ASSERT_EQ(chip.WriteGpio(&cleared), S_OK);
    camera.clearLogs();
    camera.addFault({FaultRule::Call::Get, korvib::kPropChipData, 0, 1, E_FAIL});
    EXPECT_EQ(chip.SetGpioMask(0x10), E_FAIL);
    EXPECT_EQ(camera.chipRegister(8), 0x00);
    for (const auto& call : camera.propertyCalls()) {
        EXPECT_FALSE(call.set && call.id == korvib::kPropChipData) << "a latch write went out";
    }
}

// A silent device gives 21 and leaves the value 0; a present one gives its id word.
TEST_F(BridgeChipTest, ProbeAnswersByPresence) {
    korvib::BridgeChip chip;
    ASSERT_NE(chip.Open(), nullptr);
    int value = 0;
    EXPECT_EQ(chip.ProbeI2C(0xBA, &value), S_OK);
    EXPECT_NE(value, 0);
    SimulatedCamera::primary().setSensorPresent(false);
    EXPECT_EQ(chip.ProbeI2C(0xBA, &value), korvib::kChipNoAnswer);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(chip.ProbeI2C(0x50, &value), korvib::kChipNoAnswer) << "nothing sits at 0x50";
}

// The toggle bit tells a new key from a held one; a foreign address is no key and keeps the toggle.
TEST_F(BridgeChipTest, KeyBlockDecoding) {
    SimulatedCamera camera = SimulatedCamera::primary();
    camera.setKeyAddresses(0x40, 0x77);
    const KeyEntry keys[] = {{0x80, 0x40, 0x1A}, {0x83, 0x40, 0x1A}, {0x80, 0x40, 0x1A},
                             {0x01, 0x41, 0x1B}, {0x01, 0x40, 0x1B}, {0x80, 0x40, 0xFE}};
    const int expected[] = {26, 254, 255, 255, 27, 255};
    for (const KeyEntry& key : keys) {
        camera.queueKey(key);
    }
    korvib::BridgeChip chip;
    ASSERT_NE(chip.Open(), nullptr);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        int code = -1;
        // Register 0 at the key pseudo-address is the key block, not a bus transfer.
        ASSERT_EQ(chip.ReadI2C(0x77, 0, 4, &code), S_OK) << i;
        EXPECT_EQ(code, expected[i]) << "key read " << i;
    }
    int code = -1;
    EXPECT_EQ(chip.ReadKey(&code), S_OK);
    EXPECT_EQ(code, 255) << "an empty queue is no key";
}

} // namespace
