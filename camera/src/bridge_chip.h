// BridgeChip: the bridge chip driver's private property interface — chip registers, I2C, probe, GPIO, key.
#pragma once

#include <mutex>

#include <dshow/bridge_property.h>
#include <dshow/filters.h>
#include <win32/types.h>

namespace korvib {

// Internal results besides the HRESULT of the last property call (0 on success).
constexpr HRESULT kChipNoInterface = 6; // the object has no interface pointer
constexpr HRESULT kChipGpioMask = 5;    // a GPIO mask check failed
constexpr HRESULT kChipNoAnswer = 21;   // a probed I2C device did not answer

// Property ids of the private interface.
enum : DWORD {
    kPropChipSelect = 4101,
    kPropChipData = 4102,
    kPropI2cSelect = 4103,
    kPropI2cData = 4104,
    kPropProbeAddress = 4107,
    kPropProbeValue = 4115,
    kPropProbeStatus = 4116,
    kPropKeyAddress = 4135,
    kPropKeyPseudoAddress = 4136,
};

// Reads the driver's capture filter name from HKEY_LOCAL_MACHINE\Software\USB2800\Camera ("RealDSName",
// else "DSName") into name (260 bytes) and wideName (260 characters); either may be null. 1 when a name
// was found, 0 otherwise (an empty or over-long value counts as none). Any thread.
int ReadBridgeFilterName(char* name, WCHAR* wideName);

// Every transfer is one select call and one data call (a probe: three calls) on the driver's interface;
// a lock keeps each group together, so every member may be called from any thread.
class BridgeChip {
public:
    BridgeChip() = default;
    // Releases the interface reference.
    ~BridgeChip();
    BridgeChip(const BridgeChip&) = delete;
    BridgeChip& operator=(const BridgeChip&) = delete;

    // Finds the driver's filter by the registry name or the fallback list, takes its private interface and
    // reads the key addresses. The interface pointer, or null when no filter or no interface was found.
    // Call once, before any transfer, on a thread with COM initialised.
    IBridgeChipProperty* Open();
    IBridgeChipProperty* OpenByName(const char* name);
    // A referenced filter of the first video input device whose FriendlyName begins with `name`
    // (case-sensitive) and that binds; null when none or when `name` is empty.
    static IBaseFilter* FindCaptureFilter(const char* name);

    // One Get of `id` into *value; kChipNoInterface without interface.
    [[nodiscard]] HRESULT GetProperty(DWORD id, int* value);

    // `count` bytes (1 to 4) of chip registers reg, reg + 1, ...
    [[nodiscard]] HRESULT ReadChipRegister(BYTE reg, BYTE count, void* data);
    [[nodiscard]] HRESULT WriteChipRegister(BYTE reg, BYTE count, const void* data);

    // I2C transfer of the selector 1 << 24 | address << 16 | reg << 8 | count; write 1 writes, else reads.
    [[nodiscard]] HRESULT TransferI2C(DWORD selector, void* data, int write);
    // A read of register 0 at the key pseudo-address (when set) is a key read.
    [[nodiscard]] HRESULT ReadI2C(BYTE address, BYTE reg, BYTE count, void* data);
    [[nodiscard]] HRESULT WriteI2C(BYTE address, BYTE reg, BYTE count, const void* data);

    [[nodiscard]] HRESULT SetProbeAddress(BYTE address);
    // *value is the probed device's value, 0 when it did not answer (kChipNoAnswer) or on failure.
    [[nodiscard]] HRESULT ProbeI2C(BYTE address, int* value);

    // Stores the mask and ors it into the GPIO latch (chip register 8).
    [[nodiscard]] HRESULT SetGpioMask(DWORD mask);
    // The GPIO input byte (chip register 9) into *value; kChipGpioMask unless the latch holds every mask bit.
    [[nodiscard]] HRESULT ReadGpio(unsigned* value);
    // The low byte of *value to the latch; kChipGpioMask unless it holds every mask bit.
    [[nodiscard]] HRESULT WriteGpio(const unsigned* value);

    // The key block: *code is a new key's code, 254 while the last key is held, 255 for no new key.
    [[nodiscard]] HRESULT ReadKey(int* code);

private:
    // The transfers without taking the lock; the caller holds it.
    [[nodiscard]] HRESULT SelectAndTransfer(DWORD selectId, DWORD dataId, DWORD selector, void* data, bool write);
    [[nodiscard]] HRESULT ChipTransfer(BYTE reg, BYTE count, void* data, bool write);
    [[nodiscard]] HRESULT SetProbeAddressUnlocked(BYTE address);
    [[nodiscard]] HRESULT GetUnlocked(DWORD id, void* data);

    IBridgeChipProperty* interface_ = nullptr;
    DWORD gpioMask_ = 0;
    // Keeps each group of calls (select and data, probe, GPIO read-modify-write, key read) together;
    // guards lastResult_ and lastKeyToggle_.
    std::mutex lock_;
    HRESULT lastResult_ = 0;
    int lastKeyToggle_ = 0;
    int keyAddress_ = 0;
    int keyPseudoAddress_ = 0;
};

} // namespace korvib
