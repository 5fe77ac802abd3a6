#include "sim/chip.h"

#include "sim/chip_24c.h"
#include "sim/chip_25c.h"
#include "sim/chip_93c.h"
#include "sim/chip_at17.h"

#include <stdexcept>

namespace isp::sim {

TSimChip::TSimChip(const TDevice& device, const TChipOptions& options, std::uint8_t blank)
    : device_(device), options_(options),
      memory_(static_cast<std::size_t>(device.MemorySize), blank) {}

void TSimChip::BeginWriteCycle(std::int64_t t, std::int64_t duration) {
    busyUntil_ = t + duration;
    busyTotal_ += duration;
}

void TSimChip::Program(std::uint32_t address, std::uint8_t value) {
    if (address >= memory_.size() || options_.stuckCells.count(address)) {
        return;
    }
    memory_[address] = value;
}

std::unique_ptr<TSimChip> CreateChip(const TDevice& device, const TChipOptions& options) {
    switch (device.Family) {
    case fam24C:
        return std::make_unique<T24CChip>(device, options);
    case fam25C:
        return std::make_unique<T25CChip>(device, options);
    case fam93C:
        return std::make_unique<T93CChip>(device, options);
    case famAT17:
        if (device.IsFlash) {
            return std::make_unique<TAT17FChip>(device, options);
        }
        return std::make_unique<TAT17Chip>(device, options);
    default:
        throw std::invalid_argument("no chip model for family " + std::to_string(device.Family));
    }
}

} // namespace isp::sim
