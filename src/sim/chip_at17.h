// AT17 serial configuration memories. The LV parts are two-wire EEPROMs with two or three address
// bytes, page writes, and option locations above the array: four reset polarity bytes and, on
// the "A" parts, the internal RC byte. The F parts are flash: commands after the device address
// read (0x01), program (0x02) and erase (0x03) the whole array, addressed in 16-bit words.
// Both answer only while the unit holds their RESET/OE line low.
#pragma once

#include "sim/twowire_eeprom.h"

namespace isp::sim {

class TAT17Chip final : public TTwoWireEeprom {
public:
    TAT17Chip(const TDevice& device, const TChipOptions& options);
    void SetResetLine(bool high) override { resetHigh_ = high; }

    std::uint8_t ResetPolarity() const { return resetPolarity_; }
    std::uint8_t InternalRc() const { return internalRc_; }

protected:
    std::optional<std::uint32_t> DecodeDeviceAddress(std::uint8_t deviceByte) const override;
    int AddressBytes() const override { return device_.MemorySize >= 65536 ? 3 : 2; }
    bool Enabled() const override { return !resetHigh_; }
    std::uint8_t Fetch(std::uint32_t address) const override;
    void Store(std::uint32_t address, std::uint8_t value) override;
    std::uint32_t NextReadAddress(std::uint32_t address) const override;

private:
    bool IsResetPolarity(std::uint32_t address) const;
    bool IsInternalRc(std::uint32_t address) const;

    bool resetHigh_ = true;
    std::uint8_t resetPolarity_ = 0x00; // 0x00: active high (the factory setting), 0xFF: low
    std::uint8_t internalRc_ = 0x00;
};

class TAT17FChip final : public TSimChip {
public:
    TAT17FChip(const TDevice& device, const TChipOptions& options);
    TBus Bus() const override { return TBus::TwoWire; }
    void SetResetLine(bool high) override { resetHigh_ = high; }
    void Start(std::int64_t t) override;
    void Stop(std::int64_t t) override;
    bool WriteByte(std::int64_t t, std::uint8_t value) override;
    std::uint8_t ReadByte(std::int64_t t, bool ack) override;

    static constexpr std::uint8_t kRead = 0x01;
    static constexpr std::uint8_t kProgram = 0x02;
    static constexpr std::uint8_t kErase = 0x03;
    // Page programming time and whole-array erase time.
    std::int64_t PageProgramNs() const;
    std::int64_t EraseNs() const;

private:
    enum class TState {
        Idle,
        DeviceAddress,
        Command,
        Address,
        ReadDummy,
        EraseArgument,
        Programming,
        Reading,
        Status,
        Ignoring
    };

    bool Erasing(std::int64_t t) const { return t < eraseUntil_; }
    void ProgramPage(std::int64_t t);

    TState state_ = TState::Idle;
    bool resetHigh_ = true;
    std::uint8_t command_ = 0;
    int addressBytesSeen_ = 0;
    std::uint32_t wordAddress_ = 0;
    std::uint32_t pointer_ = 0;
    bool eraseRequested_ = false;
    std::int64_t eraseUntil_ = 0;
    std::vector<std::uint8_t> page_;
};

} // namespace isp::sim
