// 93C Microwire EEPROMs, clocked bit by bit: a start bit, two opcode bits and the address, for
// x8 or x16 organisation (the ORG pin). READ shifts out a dummy zero and then data, sequentially;
// WRITE, ERASE, ERAL and WRAL need EWEN and start their self-timed cycle when CS falls; while
// CS is high again DO shows ready (1) or busy (0) until the next start bit.
#pragma once

#include "sim/chip.h"

namespace isp::sim {

class T93CChip final : public TSimChip {
public:
    T93CChip(const TDevice& device, const TChipOptions& options);
    TBus Bus() const override { return TBus::Microwire; }
    void MwSelect(std::int64_t t, bool selected) override;
    bool MwClock(std::int64_t t, bool di) override;
    bool MwDataOut(std::int64_t t) const override;

    int AddressBits() const { return addressBits_; }
    int WordBits() const { return options_.org16 ? 16 : 8; }
    bool WritesEnabled() const { return ewen_; }

private:
    enum class TState { Idle, Opcode, Address, DataIn, ReadOut, Done };
    enum class TPending { None, Write, Erase, EraseAll, WriteAll };

    int WordCount() const { return device_.MemorySize / (WordBits() / 8); }
    std::uint32_t ReadWord(std::uint32_t word) const;
    void WriteWord(std::uint32_t word, std::uint32_t value);
    void Execute();
    std::int64_t CycleNs() const;

    int addressBits_;
    bool selected_ = false;
    bool ewen_ = false;
    TState state_ = TState::Idle;
    int bitsSeen_ = 0;
    std::uint32_t opcode_ = 0;
    std::uint32_t address_ = 0;
    std::uint32_t data_ = 0;
    bool dataOut_ = true;     // DO while shifting data out
    bool showStatus_ = false; // DO shows ready/busy
    std::uint32_t readWord_ = 0;
    int readBit_ = 0;
    TPending pending_ = TPending::None;
};

} // namespace isp::sim
