#include "sim/chip_24c.h"

namespace isp::sim {

namespace {

struct TPinLayout {
    std::int32_t size;
    int shift;   // bus number shifted left by this many bits onto the device address
    int largest; // largest bus number the pins allow
};

// Bit 0 is read/write; bits 1-3 carry pins or block-select bits depending on the size.
const TPinLayout kLayouts[] = {
    {128, 1, 7},  {256, 1, 7},   {512, 2, 3},   {1024, 3, 1},  {2048, 1, 0},   {4096, 1, 7},
    {8192, 1, 7}, {16384, 1, 3}, {32768, 1, 7}, {65536, 1, 3}, {131072, 2, 1},
};

} // namespace

T24CChip::T24CChip(const TDevice& device, const TChipOptions& options)
    : TTwoWireEeprom(device, options, 0xFF) {
    anyAddress_ = true;
    for (const TPinLayout& layout : kLayouts) {
        if (layout.size == device.MemorySize) {
            anyAddress_ = false;
            pinMask_ = static_cast<std::uint8_t>(layout.largest << layout.shift);
            pinLevels_ = static_cast<std::uint8_t>((options.busNumber << layout.shift) & pinMask_);
        }
    }
    switch (device.MemorySize) {
    case 512: // A8
        blockMask_ = 0x02;
        blockShift_ = 7;
        break;
    case 1024: // A9 A8
        blockMask_ = 0x06;
        blockShift_ = 7;
        break;
    case 2048: // A10 A9 A8
        blockMask_ = 0x0E;
        blockShift_ = 7;
        break;
    case 131072: // A16
        blockMask_ = 0x02;
        blockShift_ = 15;
        break;
    default:
        break;
    }
}

std::optional<std::uint32_t> T24CChip::DecodeDeviceAddress(std::uint8_t deviceByte) const {
    if ((deviceByte & 0xF0) != 0xA0) {
        return std::nullopt;
    }
    if (anyAddress_) {
        return 0u;
    }
    // Bits 1-3 that are neither pins nor block select must be zero.
    const std::uint8_t fixedZero = static_cast<std::uint8_t>(0x0E & ~pinMask_ & ~blockMask_);
    if ((deviceByte & pinMask_) != pinLevels_ || (deviceByte & fixedZero) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(deviceByte & blockMask_) << blockShift_;
}

} // namespace isp::sim
