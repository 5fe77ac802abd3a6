#include "sim/chip_25c.h"

#include <cstdio>

namespace isp::sim {

namespace {

constexpr std::uint8_t kWren = 0x06;
constexpr std::uint8_t kWrdi = 0x04;
constexpr std::uint8_t kRdsr = 0x05;
constexpr std::uint8_t kWrsr = 0x01;
constexpr std::uint8_t kRead = 0x03;
constexpr std::uint8_t kWrite = 0x02;
constexpr std::uint8_t kA8 = 0x08; // in READ/WRITE of the 512-byte parts

} // namespace

T25CChip::T25CChip(const TDevice& device, const TChipOptions& options)
    : TSimChip(device, options, 0xFF) {}

std::uint8_t T25CChip::Status(std::int64_t t) const {
    return static_cast<std::uint8_t>(statusBits_ | (wel_ ? kWel : 0) | (Busy(t) ? kWip : 0));
}

std::uint32_t T25CChip::ProtectedFrom() const {
    const auto size = static_cast<std::uint32_t>(device_.MemorySize);
    switch ((statusBits_ & (kBp0 | kBp1)) >> 2) {
    case 1:
        return size - size / 4; // upper quarter
    case 2:
        return size / 2; // upper half
    case 3:
        return 0; // everything
    default:
        return size;
    }
}

void T25CChip::Select(std::int64_t t, bool selected) {
    if (selected) {
        state_ = TState::Instruction;
        return;
    }
    // Raising CS completes WRITE and WRSR, which start the self-timed cycle.
    const std::int64_t cycle =
        options_.writeCycleNs >= 0 ? options_.writeCycleNs : device_.ProgTime * kMs;
    if (state_ == TState::Writing && wel_) {
        if (!latch_.Bytes().empty()) {
            bool protectedPage = false;
            for (const auto& entry : latch_.Bytes()) {
                protectedPage = protectedPage || entry.first >= ProtectedFrom();
            }
            if (protectedPage) {
                Log("write into a protected block ignored");
            } else {
                for (const auto& [address, value] : latch_.Bytes()) {
                    Program(address, value);
                }
                char text[128];
                std::snprintf(text, sizeof text, "write cycle: %zu byte(s) in page 0x%X",
                              latch_.Bytes().size(), static_cast<unsigned>(latch_.Base()));
                Log(text);
                BeginWriteCycle(t, cycle);
            }
        }
        wel_ = false;
    } else if (state_ == TState::WritingStatus && wel_ && statusValueSeen_) {
        // With WPEN set and the WP pin low the status register is locked.
        if ((statusBits_ & kWpen) && options_.wpPinLow) {
            Log("status register write refused: WPEN set and WP low");
        } else {
            statusBits_ = static_cast<std::uint8_t>(statusValue_ & (kWpen | kBp1 | kBp0));
            BeginWriteCycle(t, cycle);
        }
        wel_ = false;
    }
    latch_.Clear();
    statusValueSeen_ = false;
    state_ = TState::Deselected;
}

std::uint8_t T25CChip::Transfer(std::int64_t t, std::uint8_t out) {
    switch (state_) {
    case TState::Instruction:
        instruction_ = out;
        if (Busy(t) && out != kRdsr) {
            state_ = TState::Ignoring; // only RDSR works during the write cycle
            return 0xFF;
        }
        if (out == kWren) {
            wel_ = true;
            state_ = TState::Ignoring;
        } else if (out == kWrdi) {
            wel_ = false;
            state_ = TState::Ignoring;
        } else if (out == kRdsr) {
            state_ = TState::ReadingStatus;
        } else if (out == kWrsr) {
            state_ = TState::WritingStatus;
        } else if ((out & ~kA8) == kRead || (out & ~kA8) == kWrite) {
            // A8 rides in the opcode on the 512-byte parts only.
            address_ = (device_.MemorySize == 512 && (out & kA8)) ? 0x100 : 0;
            addressBytesSeen_ = 0;
            state_ = TState::Address;
        } else {
            state_ = TState::Ignoring;
        }
        return 0xFF;
    case TState::Address:
        address_ |= static_cast<std::uint32_t>(out)
                    << (8 * (AddressBytes() - 1 - addressBytesSeen_));
        if (++addressBytesSeen_ == AddressBytes()) {
            address_ %= static_cast<std::uint32_t>(device_.MemorySize);
            if ((instruction_ & ~kA8) == kRead) {
                state_ = TState::Reading;
            } else {
                latch_.Begin(address_, static_cast<std::uint32_t>(device_.PageSize));
                state_ = TState::Writing;
            }
        }
        return 0xFF;
    case TState::Reading: {
        const std::uint8_t value = memory_[address_];
        address_ = static_cast<std::uint32_t>((address_ + 1) % memory_.size());
        return value;
    }
    case TState::Writing:
        latch_.Add(out);
        return 0xFF;
    case TState::ReadingStatus:
        return Status(t);
    case TState::WritingStatus:
        if (!statusValueSeen_) {
            statusValue_ = out;
            statusValueSeen_ = true;
        }
        return 0xFF;
    case TState::Deselected:
    case TState::Ignoring:
        return 0xFF;
    }
    return 0xFF;
}

} // namespace isp::sim
