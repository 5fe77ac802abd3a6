#include "sim/twowire_eeprom.h"

#include <cstdio>

namespace isp::sim {

TTwoWireEeprom::TTwoWireEeprom(const TDevice& device, const TChipOptions& options,
                               std::uint8_t blank)
    : TSimChip(device, options, blank) {}

std::int64_t TTwoWireEeprom::CycleNs() const {
    return options_.writeCycleNs >= 0 ? options_.writeCycleNs : device_.ProgTime * kMs;
}

void TTwoWireEeprom::Start(std::int64_t /*t*/) {
    // A repeated start abandons a write that has not seen its stop condition.
    latch_.Clear();
    state_ = Enabled() ? TState::DeviceAddress : TState::Ignoring;
}

void TTwoWireEeprom::Stop(std::int64_t t) {
    if (state_ == TState::Writing && !latch_.Bytes().empty()) {
        for (const auto& [address, value] : latch_.Bytes()) {
            Store(address, value);
        }
        char text[128];
        std::snprintf(text, sizeof text, "write cycle: %zu byte(s) in page 0x%X",
                      latch_.Bytes().size(), static_cast<unsigned>(latch_.Base()));
        Log(text);
        latch_.Clear();
        BeginWriteCycle(t, CycleNs());
    }
    state_ = TState::Idle;
}

bool TTwoWireEeprom::WriteByte(std::int64_t t, std::uint8_t value) {
    switch (state_) {
    case TState::DeviceAddress: {
        const auto high = DecodeDeviceAddress(value);
        if (!high || Busy(t)) {
            state_ = TState::Ignoring;
            return false;
        }
        highBits_ = *high;
        if (value & 1) {
            state_ = TState::Reading;
        } else {
            state_ = TState::WordAddress;
            addressBytesSeen_ = 0;
            pointer_ = highBits_;
        }
        return true;
    }
    case TState::WordAddress: {
        const int shift = 8 * (AddressBytes() - 1 - addressBytesSeen_);
        pointer_ |= static_cast<std::uint32_t>(value) << shift;
        if (++addressBytesSeen_ == AddressBytes()) {
            latch_.Begin(pointer_, static_cast<std::uint32_t>(device_.PageSize));
            state_ = TState::Writing;
        }
        return true;
    }
    case TState::Writing:
        pointer_ = latch_.Add(value);
        return true;
    case TState::Idle:
    case TState::Reading:
    case TState::Ignoring:
        return false;
    }
    return false;
}

std::uint8_t TTwoWireEeprom::ReadByte(std::int64_t /*t*/, bool ack) {
    if (state_ != TState::Reading) {
        return 0xFF; // nobody drives the bus: the pull-up reads as ones
    }
    const std::uint8_t value = Fetch(pointer_);
    pointer_ = NextReadAddress(pointer_);
    if (!ack) {
        state_ = TState::Ignoring; // the master ended the read
    }
    return value;
}

std::uint8_t TTwoWireEeprom::Fetch(std::uint32_t address) const {
    return memory_[address % memory_.size()];
}

void TTwoWireEeprom::Store(std::uint32_t address, std::uint8_t value) {
    Program(static_cast<std::uint32_t>(address % memory_.size()), value);
}

std::uint32_t TTwoWireEeprom::NextReadAddress(std::uint32_t address) const {
    return static_cast<std::uint32_t>((address % memory_.size() + 1) % memory_.size());
}

} // namespace isp::sim
