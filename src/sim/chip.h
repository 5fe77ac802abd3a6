// Chip models of the simulated programmer unit. Each model speaks its bus the way the part's data
// sheet describes: the unit drives bus conditions and bytes (or bits, for Microwire) and the chip
// answers, acknowledges, refuses while it is busy, and runs its self-timed write cycles.
// Times are nanoseconds on the unit's clock.
#pragma once

#include "model/device.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace isp::sim {

enum class TBus { TwoWire, Spi, Microwire };

// How the chip sits in the socket, and the faults it carries.
struct TChipOptions {
    int busNumber = 0;              // 24C: levels of the address pins, as the operator's bus number
    bool org16 = true;              // 93C: ORG pin high (x16 organisation)
    bool wpPinLow = false;          // 25C: WP pin driven low (hardware write protection)
    bool a2High = false;            // AT17: A2 pin high (device address 0xAE instead of 0xA6)
    std::int64_t writeCycleNs = -1; // self-timed write cycle; -1: the part's typical time
    std::set<std::uint32_t> stuckCells; // cells that keep their value whatever is programmed
};

using TTrace = std::function<void(const std::string&)>;

// The bytes of a page write waiting for the end of the transaction. Bytes past the end of the
// page wrap to its start and overwrite what came before.
class TPageLatch {
public:
    void Begin(std::uint32_t address, std::uint32_t pageSize) {
        pageSize_ = pageSize;
        base_ = address - address % pageSize;
        offset_ = address % pageSize;
        bytes_.clear();
    }
    // Latches a byte; returns the address the next one goes to.
    std::uint32_t Add(std::uint8_t value) {
        const std::uint32_t address = base_ + offset_;
        bool replaced = false;
        for (auto& entry : bytes_) {
            if (entry.first == address) {
                entry.second = value;
                replaced = true;
            }
        }
        if (!replaced) {
            bytes_.emplace_back(address, value);
        }
        offset_ = (offset_ + 1) % pageSize_;
        return base_ + offset_;
    }
    const std::vector<std::pair<std::uint32_t, std::uint8_t>>& Bytes() const { return bytes_; }
    std::uint32_t Base() const { return base_; }
    void Clear() { bytes_.clear(); }

private:
    std::uint32_t pageSize_ = 1;
    std::uint32_t base_ = 0;
    std::uint32_t offset_ = 0;
    std::vector<std::pair<std::uint32_t, std::uint8_t>> bytes_;
};

class TSimChip {
public:
    virtual ~TSimChip() = default;
    virtual TBus Bus() const = 0;
    const TDevice& Device() const { return device_; }

    // Two-wire bus. Write returns true when the chip acknowledged the byte.
    virtual void Start(std::int64_t /*t*/) {}
    virtual void Stop(std::int64_t /*t*/) {}
    virtual bool WriteByte(std::int64_t /*t*/, std::uint8_t /*value*/) { return false; }
    virtual std::uint8_t ReadByte(std::int64_t /*t*/, bool /*ack*/) { return 0xFF; }

    // SPI: chip select and one full-duplex byte.
    virtual void Select(std::int64_t /*t*/, bool /*selected*/) {}
    virtual std::uint8_t Transfer(std::int64_t /*t*/, std::uint8_t /*out*/) { return 0xFF; }

    // Microwire: chip select (active high) and one clock with DI; returns DO after the edge.
    virtual void MwSelect(std::int64_t /*t*/, bool /*selected*/) {}
    virtual bool MwClock(std::int64_t /*t*/, bool /*di*/) { return true; }
    virtual bool MwDataOut(std::int64_t /*t*/) const { return true; }

    // AT17: the RESET/OE line the unit drives with "e"; the serial interface answers only while
    // it is low (programming mode).
    virtual void SetResetLine(bool /*high*/) {}

    // The memory array, for loading and inspecting contents.
    std::vector<std::uint8_t>& Memory() { return memory_; }
    const std::vector<std::uint8_t>& Memory() const { return memory_; }
    // True while a self-timed write cycle runs.
    bool Busy(std::int64_t t) const { return t < busyUntil_; }
    std::int64_t BusyUntil() const { return busyUntil_; }
    // Total time spent in write cycles.
    std::int64_t BusyTotalNs() const { return busyTotal_; }

    void SetTrace(TTrace trace) { trace_ = std::move(trace); }

protected:
    TSimChip(const TDevice& device, const TChipOptions& options, std::uint8_t blank);
    // Starts a self-timed write cycle at t lasting the chip's cycle time.
    void BeginWriteCycle(std::int64_t t, std::int64_t duration);
    // Programs one cell, unless it is stuck.
    void Program(std::uint32_t address, std::uint8_t value);
    void Log(const std::string& text) const {
        if (trace_) {
            trace_(text);
        }
    }

    const TDevice& device_;
    TChipOptions options_;
    std::vector<std::uint8_t> memory_;
    std::int64_t busyUntil_ = 0;
    std::int64_t busyTotal_ = 0;
    TTrace trace_;
};

// The model for a catalogue part.
std::unique_ptr<TSimChip> CreateChip(const TDevice& device, const TChipOptions& options = {});

inline constexpr std::int64_t kMs = 1'000'000;
inline constexpr std::int64_t kUs = 1'000;

} // namespace isp::sim
