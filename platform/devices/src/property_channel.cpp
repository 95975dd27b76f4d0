// Private property ids on the simulated chip, with their errors, injected faults, strict checks and log.
#include "property_channel.h"

#include <cstring>

namespace platform::devices {
namespace {

uint32_t selectorOf(const void* data)
{
    uint32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value;
}

void putInt(void* data, int32_t value) { std::memcpy(data, &value, sizeof value); }

// The select call a data call must directly follow in strict mode, or 0.
ULONG requiredPredecessor(ULONG id)
{
    switch (id) {
    case kPropChipData:
        return kPropChipSelect;
    case kPropI2cData:
        return kPropI2cSelect;
    case kPropProbeStatus:
        return kPropProbeAddress;
    case kPropProbeValue:
        return kPropProbeStatus;
    default:
        return 0;
    }
}

} // namespace

void PropertyChannel::setKeyAddresses(ULONG key, ULONG pseudo)
{
    keyAddress_ = key;
    keyPseudoAddress_ = pseudo;
}

void PropertyChannel::clearLogs()
{
    calls_.clear();
    violations_.clear();
    probeCount_ = 0;
}

HRESULT PropertyChannel::set(ULONG id, const void* data) { return call(true, id, const_cast<void*>(data)); }

HRESULT PropertyChannel::get(ULONG id, void* data) { return call(false, id, data); }

std::size_t PropertyChannel::dataBytes(ULONG id) const
{
    if (id == kPropChipData)
        return chipSelection_ ? chipSelection_->count : 0;
    if (id == kPropI2cData)
        return i2cSelection_ ? i2cSelection_->count : 0;
    return sizeof(int32_t);
}

// Logs the call with the bytes it passed in and, for a successful Get, the bytes it returned.
HRESULT PropertyChannel::call(bool set, ULONG id, void* data)
{
    PropertyCall entry;
    entry.sequence = ++sequence_;
    entry.thread = std::this_thread::get_id();
    entry.set = set;
    entry.id = id;
    if (strict_)
        checkStrict(id);
    lastCall_ = LastCall{entry.thread, id};

    const std::size_t bytes = data ? dataBytes(id) : 0;
    const BYTE* raw = static_cast<const BYTE*>(data);
    if (set && data)
        entry.in.assign(raw, raw + bytes);

    HRESULT hr;
    if (!data)
        hr = E_POINTER;
    else if (auto fault = injectedFault(set, id))
        hr = *fault;
    else
        hr = set ? dispatchSet(id, data) : dispatchGet(id, data);

    if (!set && data && hr == S_OK)
        entry.out.assign(raw, raw + bytes);
    entry.result = hr;
    calls_.push(std::move(entry));
    return hr;
}

void PropertyChannel::checkStrict(ULONG id)
{
    const ULONG needed = requiredPredecessor(id);
    if (!needed)
        return;
    const auto self = std::this_thread::get_id();
    if (!lastCall_ || lastCall_->thread != self || lastCall_->id != needed)
        violations_.push({sequence_, id, self});
}

// The first rule that matches decides: it lets `skip` calls through, then fails `count` calls.
std::optional<HRESULT> PropertyChannel::injectedFault(bool set, ULONG id)
{
    for (FaultRule& rule : faults_) {
        if (rule.count == 0)
            continue;
        if (rule.call == FaultRule::Call::Set && !set)
            continue;
        if (rule.call == FaultRule::Call::Get && set)
            continue;
        if (rule.id && *rule.id != id)
            continue;
        if (rule.skip > 0) {
            --rule.skip;
            return std::nullopt;
        }
        --rule.count;
        return rule.result;
    }
    return std::nullopt;
}

HRESULT PropertyChannel::dispatchSet(ULONG id, const void* data)
{
    switch (id) {
    case kPropChipSelect: {
        const uint32_t selector = selectorOf(data);
        chipSelection_.reset();
        if (selector == 0)
            return S_OK;
        const BYTE reg = static_cast<BYTE>(selector >> 8);
        const BYTE count = static_cast<BYTE>(selector);
        if ((selector >> 16) != 0 || count == 0 || count > 4 || reg + count > 256)
            return E_INVALIDARG;
        chipSelection_ = ChipSelection{reg, count};
        return S_OK;
    }
    case kPropChipData:
        if (!chipSelection_)
            return E_UNEXPECTED;
        backend_.chipWrite(chipSelection_->reg, chipSelection_->count, static_cast<const BYTE*>(data));
        return S_OK;
    case kPropI2cSelect: {
        const uint32_t selector = selectorOf(data);
        i2cSelection_.reset();
        if (selector == 0)
            return S_OK;
        const BYTE count = static_cast<BYTE>(selector);
        if ((selector >> 24) != 1 || count == 0 || count > 4)
            return E_INVALIDARG;
        i2cSelection_ = I2cSelection{static_cast<BYTE>(selector >> 16), static_cast<BYTE>(selector >> 8), count};
        return S_OK;
    }
    case kPropI2cData:
        if (!i2cSelection_)
            return E_UNEXPECTED;
        return backend_.i2cWrite(i2cSelection_->address, i2cSelection_->reg, i2cSelection_->count,
                                 static_cast<const BYTE*>(data));
    case kPropProbeAddress:
        probeAddress_ = static_cast<BYTE>(selectorOf(data));
        ++probeCount_;
        return S_OK;
    default:
        return E_NOTIMPL;
    }
}

HRESULT PropertyChannel::dispatchGet(ULONG id, void* data)
{
    switch (id) {
    case kPropChipData:
        if (!chipSelection_)
            return E_UNEXPECTED;
        backend_.chipRead(chipSelection_->reg, chipSelection_->count, static_cast<BYTE*>(data));
        return S_OK;
    case kPropI2cData:
        if (!i2cSelection_)
            return E_UNEXPECTED;
        return backend_.i2cRead(i2cSelection_->address, i2cSelection_->reg, i2cSelection_->count,
                                static_cast<BYTE*>(data));
    case kPropProbeStatus:
        putInt(data, probeOverride_.value_or(backend_.answers(probeAddress_)) ? 1 : 0);
        return S_OK;
    case kPropProbeValue:
        putInt(data, backend_.idWord(probeAddress_));
        return S_OK;
    case kPropKeyAddress:
        putInt(data, static_cast<int32_t>(keyAddress_));
        return S_OK;
    case kPropKeyPseudoAddress:
        putInt(data, static_cast<int32_t>(keyPseudoAddress_));
        return S_OK;
    default:
        return E_NOTIMPL;
    }
}

} // namespace platform::devices
