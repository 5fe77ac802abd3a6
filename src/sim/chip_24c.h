// 24C two-wire EEPROMs: address pins, block-select bits in the device address (24C04/08/16), one
// or two word address bytes, and the 24C1024's A16 in the device address.
#pragma once

#include "sim/twowire_eeprom.h"

namespace isp::sim {

class T24CChip final : public TTwoWireEeprom {
public:
    T24CChip(const TDevice& device, const TChipOptions& options);

protected:
    std::optional<std::uint32_t> DecodeDeviceAddress(std::uint8_t deviceByte) const override;
    int AddressBytes() const override { return device_.MemorySize >= 4096 ? 2 : 1; }

private:
    std::uint8_t pinMask_ = 0;   // device address bits wired to address pins
    std::uint8_t pinLevels_ = 0; // their levels
    std::uint8_t blockMask_ = 0; // device address bits that carry memory address bits
    int blockShift_ = 0;         // where those bits go in the memory address
    bool anyAddress_ = false;    // 24C00: no address pins, answers 1010xxx
};

} // namespace isp::sim
