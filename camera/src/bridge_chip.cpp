// BridgeChip transfers: chip registers, I2C, the presence probe, GPIO and the key block.
#include "bridge_chip.h"

namespace korvib {
namespace {

constexpr BYTE kGpioLatch = 0x08;
constexpr BYTE kGpioInput = 0x09;
constexpr BYTE kKeyPop = 0x44;
constexpr BYTE kKeyBlock = 0x45;

constexpr int kKeyNone = 255;
constexpr int kKeyHeld = 254;
constexpr int kKeyToggle = 0x80;

// The driver reports success with S_OK only.
bool Ok(HRESULT hr) {
    return hr == S_OK;
}

} // namespace

BridgeChip::~BridgeChip() {
    if (interface_ != nullptr) {
        interface_->Release();
    }
}

HRESULT BridgeChip::GetUnlocked(DWORD id, void* data) {
    if (interface_ == nullptr) {
        return kChipNoInterface;
    }
    return interface_->Get(id, data);
}

HRESULT BridgeChip::GetProperty(DWORD id, int* value) {
    std::lock_guard<std::mutex> hold(lock_);
    return GetUnlocked(id, value);
}

// Select, then the data call; a failure of either cancels the selection with a select of 0. Returns the
// failing or the data call's HRESULT, kept as the last result. The caller holds the lock.
HRESULT BridgeChip::SelectAndTransfer(DWORD selectId, DWORD dataId, DWORD selector, void* data, bool write) {
    if (interface_ == nullptr) {
        return kChipNoInterface;
    }
    HRESULT hr = interface_->Set(selectId, &selector);
    if (Ok(hr)) {
        hr = write ? interface_->Set(dataId, data) : interface_->Get(dataId, data);
    }
    if (!Ok(hr)) {
        DWORD cancel = 0;
        static_cast<void>(interface_->Set(selectId, &cancel));
    }
    lastResult_ = hr;
    return hr;
}

HRESULT BridgeChip::ChipTransfer(BYTE reg, BYTE count, void* data, bool write) {
    const DWORD selector = static_cast<DWORD>(reg) << 8 | count;
    return SelectAndTransfer(kPropChipSelect, kPropChipData, selector, data, write);
}

HRESULT BridgeChip::ReadChipRegister(BYTE reg, BYTE count, void* data) {
    std::lock_guard<std::mutex> hold(lock_);
    return ChipTransfer(reg, count, data, false);
}

HRESULT BridgeChip::WriteChipRegister(BYTE reg, BYTE count, const void* data) {
    std::lock_guard<std::mutex> hold(lock_);
    return ChipTransfer(reg, count, const_cast<void*>(data), true);
}

HRESULT BridgeChip::TransferI2C(DWORD selector, void* data, int write) {
    std::lock_guard<std::mutex> hold(lock_);
    return SelectAndTransfer(kPropI2cSelect, kPropI2cData, selector, data, write == 1);
}

namespace {

DWORD I2cSelector(BYTE address, BYTE reg, BYTE count) {
    return 1u << 24 | static_cast<DWORD>(address) << 16 | static_cast<DWORD>(reg) << 8 | count;
}

} // namespace

HRESULT BridgeChip::ReadI2C(BYTE address, BYTE reg, BYTE count, void* data) {
    if (keyPseudoAddress_ != 0 && address == keyPseudoAddress_ && reg == 0) {
        return ReadKey(static_cast<int*>(data));
    }
    return TransferI2C(I2cSelector(address, reg, count), data, 0);
}

HRESULT BridgeChip::WriteI2C(BYTE address, BYTE reg, BYTE count, const void* data) {
    return TransferI2C(I2cSelector(address, reg, count), const_cast<void*>(data), 1);
}

HRESULT BridgeChip::SetProbeAddress(BYTE address) {
    std::lock_guard<std::mutex> hold(lock_);
    return SetProbeAddressUnlocked(address);
}

HRESULT BridgeChip::SetProbeAddressUnlocked(BYTE address) {
    if (interface_ == nullptr) {
        return kChipNoInterface;
    }
    DWORD probe = address;
    return interface_->Set(kPropProbeAddress, &probe);
}

// Address, status, value: the three calls stay together. kChipNoAnswer when the device is silent.
HRESULT BridgeChip::ProbeI2C(BYTE address, int* value) {
    *value = 0;
    std::lock_guard<std::mutex> hold(lock_);
    HRESULT hr = SetProbeAddressUnlocked(address);
    int status = 0;
    if (Ok(hr)) {
        hr = GetUnlocked(kPropProbeStatus, &status);
    }
    if (Ok(hr)) {
        if (status == 0) {
            return kChipNoAnswer;
        }
        hr = GetUnlocked(kPropProbeValue, value);
    }
    lastResult_ = hr;
    return hr;
}

// The latch is read, or'ed with the mask and written back under one hold of the lock; a failed read
// writes nothing.
HRESULT BridgeChip::SetGpioMask(DWORD mask) {
    std::lock_guard<std::mutex> hold(lock_);
    gpioMask_ = mask;
    BYTE latch = 0;
    const HRESULT hr = ChipTransfer(kGpioLatch, 1, &latch, false);
    if (!Ok(hr)) {
        return hr;
    }
    latch |= static_cast<BYTE>(mask);
    return ChipTransfer(kGpioLatch, 1, &latch, true);
}

HRESULT BridgeChip::ReadGpio(unsigned* value) {
    std::lock_guard<std::mutex> hold(lock_);
    const BYTE mask = static_cast<BYTE>(gpioMask_);
    BYTE latch = 0;
    HRESULT hr = ChipTransfer(kGpioLatch, 1, &latch, false);
    if (!Ok(hr)) {
        return hr;
    }
    if ((latch & mask) != mask) {
        return kChipGpioMask;
    }
    BYTE input = 0;
    hr = ChipTransfer(kGpioInput, 1, &input, false);
    if (Ok(hr)) {
        *value = input;
    }
    return hr;
}

HRESULT BridgeChip::WriteGpio(const unsigned* value) {
    std::lock_guard<std::mutex> hold(lock_);
    const BYTE mask = static_cast<BYTE>(gpioMask_);
    BYTE latch = static_cast<BYTE>(*value);
    if ((latch & mask) != mask) {
        return kChipGpioMask;
    }
    return ChipTransfer(kGpioLatch, 1, &latch, true);
}

// Key block bytes: toggle bit 7 with a repeat count, address, code. A failed read reports no key and
// leaves the toggle as it was.
HRESULT BridgeChip::ReadKey(int* code) {
    std::lock_guard<std::mutex> hold(lock_);
    BYTE block[4] = {};
    HRESULT hr = ChipTransfer(kKeyBlock, 4, block, false);
    if (!Ok(hr)) {
        *code = kKeyNone;
        return hr;
    }
    const int toggle = block[0] & kKeyToggle;
    if (keyAddress_ != 0 && block[1] != keyAddress_) {
        *code = kKeyNone;
    } else {
        if (toggle == lastKeyToggle_) {
            *code = (block[0] & 0x7F) != 0 ? kKeyHeld : kKeyNone;
        } else {
            *code = block[2] >= kKeyHeld ? kKeyNone : block[2];
        }
        lastKeyToggle_ = toggle;
    }
    BYTE pop = 0;
    return ChipTransfer(kKeyPop, 1, &pop, false);
}

} // namespace korvib
