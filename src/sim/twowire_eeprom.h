// A two-wire (I2C) serial EEPROM: device address byte, word address bytes, page writes that wrap
// inside the page and start a self-timed write cycle at the stop condition, no acknowledge while
// that cycle runs, and sequential reads that roll over at the end of the memory. The 24C parts
// and the AT17 configuration memories share it; they differ in how they decode the device
// address and where their extra locations live.
#pragma once

#include "sim/chip.h"

#include <optional>

namespace isp::sim {

class TTwoWireEeprom : public TSimChip {
public:
    TBus Bus() const override { return TBus::TwoWire; }
    void Start(std::int64_t t) override;
    void Stop(std::int64_t t) override;
    bool WriteByte(std::int64_t t, std::uint8_t value) override;
    std::uint8_t ReadByte(std::int64_t t, bool ack) override;

protected:
    TTwoWireEeprom(const TDevice& device, const TChipOptions& options, std::uint8_t blank);

    // The address bits carried by a device address byte that selects this chip (block select or
    // high address bits, already in place), or nothing when the byte is for another chip.
    virtual std::optional<std::uint32_t> DecodeDeviceAddress(std::uint8_t deviceByte) const = 0;
    // Number of word address bytes after the device address.
    virtual int AddressBytes() const = 0;
    // False while the chip's serial interface is disabled.
    virtual bool Enabled() const { return true; }
    // Where a byte at a transferred address lives; the base maps into the array.
    virtual std::uint8_t Fetch(std::uint32_t address) const;
    virtual void Store(std::uint32_t address, std::uint8_t value);
    // Address after a sequential read of address (rolls over at the end of the memory).
    virtual std::uint32_t NextReadAddress(std::uint32_t address) const;

    std::int64_t CycleNs() const;

private:
    enum class TState { Idle, DeviceAddress, WordAddress, Writing, Reading, Ignoring };

    TState state_ = TState::Idle;
    std::uint32_t pointer_ = 0;  // current address
    std::uint32_t highBits_ = 0; // from the device address byte
    int addressBytesSeen_ = 0;
    TPageLatch latch_; // bytes waiting for the stop condition
};

} // namespace isp::sim
