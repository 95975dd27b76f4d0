// The private property interface of the chip: selections, data calls, probe, key values, errors,
// fault injection, strict mode and the call log.
#pragma once

#include "bounded_log.h"

#include <devices/simulated_camera.h>

#include <optional>
#include <vector>

namespace platform::devices {

// What the channel drives. Calls arrive with the owning device's lock held.
class ChipBackend {
public:
    virtual ~ChipBackend() = default;
    virtual void chipRead(BYTE reg, BYTE count, BYTE* out) = 0;
    virtual void chipWrite(BYTE reg, BYTE count, const BYTE* in) = 0;
    [[nodiscard]] virtual HRESULT i2cRead(BYTE address, BYTE reg, BYTE count, BYTE* out) = 0;
    [[nodiscard]] virtual HRESULT i2cWrite(BYTE address, BYTE reg, BYTE count, const BYTE* in) = 0;
    virtual bool answers(BYTE address) = 0;
    virtual WORD idWord(BYTE address) = 0;
};

// Not thread-safe: the owning device serialises calls, which makes each call atomic by itself.
class PropertyChannel {
public:
    explicit PropertyChannel(ChipBackend& backend) : backend_(backend) {}

    // Set/Get of the private interface: exactly S_OK on success; see the device documentation
    // for each id's errors. A null `data` gives E_POINTER.
    HRESULT set(ULONG id, const void* data);
    HRESULT get(ULONG id, void* data);

    void addFault(const FaultRule& rule) { faults_.push_back(rule); }
    void setStrictMode(bool strict) { strict_ = strict; }
    void setProbeOverride(std::optional<bool> answers) { probeOverride_ = answers; }
    void setKeyAddresses(ULONG key, ULONG pseudo);

    unsigned probeCount() const { return probeCount_; }
    std::vector<PropertyCall> calls() const { return calls_.entries(); }
    std::vector<StrictViolation> violations() const { return violations_.entries(); }
    void clearLogs();

private:
    struct ChipSelection {
        BYTE reg;
        BYTE count;
    };
    struct I2cSelection {
        BYTE address;
        BYTE reg;
        BYTE count;
    };

    HRESULT call(bool set, ULONG id, void* data);
    HRESULT dispatchSet(ULONG id, const void* data);
    HRESULT dispatchGet(ULONG id, void* data);
    std::optional<HRESULT> injectedFault(bool set, ULONG id);
    void checkStrict(ULONG id);
    // Bytes a call with `id` passes through `data` (for the log).
    std::size_t dataBytes(ULONG id) const;

    ChipBackend& backend_;
    std::optional<ChipSelection> chipSelection_;
    std::optional<I2cSelection> i2cSelection_;
    BYTE probeAddress_ = 0;
    unsigned probeCount_ = 0;
    std::optional<bool> probeOverride_;
    ULONG keyAddress_ = 0;
    ULONG keyPseudoAddress_ = 0;
    std::vector<FaultRule> faults_;
    bool strict_ = false;
    struct LastCall {
        std::thread::id thread;
        ULONG id;
    };
    std::optional<LastCall> lastCall_;
    BoundedLog<StrictViolation> violations_;
    BoundedLog<PropertyCall> calls_;
    uint64_t sequence_ = 0;
};

} // namespace platform::devices
