// 25C SPI EEPROMs: WREN/WRDI/RDSR/WRSR/READ/WRITE, A8 in the opcode of the 512-byte parts, the
// write-enable latch, WIP during the write cycle, block protection (writes into a protected
// quarter, half or the whole array are ignored) and WPEN with the WP pin.
#pragma once

#include "sim/chip.h"

namespace isp::sim {

class T25CChip final : public TSimChip {
public:
    T25CChip(const TDevice& device, const TChipOptions& options);
    TBus Bus() const override { return TBus::Spi; }
    void Select(std::int64_t t, bool selected) override;
    std::uint8_t Transfer(std::int64_t t, std::uint8_t out) override;

    // Status register bits.
    static constexpr std::uint8_t kWip = 0x01;
    static constexpr std::uint8_t kWel = 0x02;
    static constexpr std::uint8_t kBp0 = 0x04;
    static constexpr std::uint8_t kBp1 = 0x08;
    static constexpr std::uint8_t kWpen = 0x80;

    std::uint8_t Status(std::int64_t t) const;
    // First protected address for the current block protection level (size when none).
    std::uint32_t ProtectedFrom() const;

private:
    enum class TState {
        Deselected,
        Instruction,
        Address,
        Reading,
        Writing,
        ReadingStatus,
        WritingStatus,
        Ignoring
    };

    int AddressBytes() const { return device_.MemorySize > 512 ? 2 : 1; }

    TState state_ = TState::Deselected;
    std::uint8_t instruction_ = 0;
    bool wel_ = false;
    std::uint8_t statusBits_ = 0; // WPEN, BP1, BP0 (non-volatile)
    std::uint32_t address_ = 0;
    int addressBytesSeen_ = 0;
    TPageLatch latch_;
    bool statusValueSeen_ = false;
    std::uint8_t statusValue_ = 0;
};

} // namespace isp::sim
