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
    latched_.clear();
    state_ = Enabled() ? TState::DeviceAddress : TState::Ignoring;
}

void TTwoWireEeprom::Stop(std::int64_t t) {
    if (state_ == TState::Writing && !latched_.empty()) {
        for (const auto& [address, value] : latched_) {
            Store(address, value);
        }
        char text[128];
        std::snprintf(text, sizeof text, "write cycle: %zu byte(s) in page 0x%X", latched_.size(),
                      static_cast<unsigned>(pageBase_));
        Log(text);
        latched_.clear();
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
            const auto page = static_cast<std::uint32_t>(device_.PageSize);
            pageBase_ = pointer_ - pointer_ % page;
            pageOffset_ = pointer_ % page;
            state_ = TState::Writing;
        }
        return true;
    }
    case TState::Writing: {
        // Bytes past the end of the page wrap to its start and overwrite what came before.
        const auto page = static_cast<std::uint32_t>(device_.PageSize);
        const std::uint32_t address = pageBase_ + pageOffset_;
        bool replaced = false;
        for (auto& entry : latched_) {
            if (entry.first == address) {
                entry.second = value;
                replaced = true;
            }
        }
        if (!replaced) {
            latched_.emplace_back(address, value);
        }
        pageOffset_ = (pageOffset_ + 1) % page;
        pointer_ = pageBase_ + pageOffset_;
        return true;
    }
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
