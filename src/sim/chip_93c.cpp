#include "sim/chip_93c.h"

#include <cstdio>

namespace isp::sim {

namespace {

// Opcodes after the start bit; 00 is extended by the two top address bits.
constexpr std::uint32_t kOpExtended = 0b00;
constexpr std::uint32_t kOpWrite = 0b01;
constexpr std::uint32_t kOpRead = 0b10;
constexpr std::uint32_t kOpErase = 0b11;
constexpr std::uint32_t kExtEwds = 0b00;
constexpr std::uint32_t kExtWral = 0b01;
constexpr std::uint32_t kExtEral = 0b10;
constexpr std::uint32_t kExtEwen = 0b11;

} // namespace

T93CChip::T93CChip(const TDevice& device, const TChipOptions& options)
    : TSimChip(device, options, 0xFF) {
    // The command length in x8 organisation is start + opcode + address; x16 has one bit less.
    const int x8Bits = device.Options.front().Timings.CommandBits;
    addressBits_ = x8Bits - 3 - (options.org16 ? 1 : 0);
}

std::int64_t T93CChip::CycleNs() const {
    return options_.writeCycleNs >= 0 ? options_.writeCycleNs : device_.ProgTime * kMs;
}

std::uint32_t T93CChip::ReadWord(std::uint32_t word) const {
    word %= static_cast<std::uint32_t>(WordCount());
    if (WordBits() == 16) {
        return (static_cast<std::uint32_t>(memory_[2 * word]) << 8) | memory_[2 * word + 1];
    }
    return memory_[word];
}

void T93CChip::WriteWord(std::uint32_t word, std::uint32_t value) {
    word %= static_cast<std::uint32_t>(WordCount());
    if (WordBits() == 16) {
        Program(2 * word, static_cast<std::uint8_t>(value >> 8));
        Program(2 * word + 1, static_cast<std::uint8_t>(value));
    } else {
        Program(word, static_cast<std::uint8_t>(value));
    }
}

void T93CChip::MwSelect(std::int64_t t, bool selected) {
    if (selected_ && !selected) {
        // CS falling starts a pending programming cycle.
        if (pending_ != TPending::None && ewen_ && !Busy(t)) {
            const std::uint32_t ones = WordBits() == 16 ? 0xFFFF : 0xFF;
            std::int64_t cycle = CycleNs();
            switch (pending_) {
            case TPending::Write:
                WriteWord(address_, data_);
                break;
            case TPending::Erase:
                WriteWord(address_, ones);
                break;
            case TPending::EraseAll:
            case TPending::WriteAll:
                for (int w = 0; w < WordCount(); ++w) {
                    WriteWord(static_cast<std::uint32_t>(w),
                              pending_ == TPending::EraseAll ? ones : data_);
                }
                cycle *= 2; // whole-array cycles take longer
                break;
            case TPending::None:
                break;
            }
            char text[128];
            std::snprintf(text, sizeof text, "programming cycle (%s) at word 0x%X",
                          pending_ == TPending::Write      ? "WRITE"
                          : pending_ == TPending::Erase    ? "ERASE"
                          : pending_ == TPending::EraseAll ? "ERAL"
                                                           : "WRAL",
                          static_cast<unsigned>(address_));
            Log(text);
            BeginWriteCycle(t, cycle);
        }
        pending_ = TPending::None;
    }
    if (!selected_ && selected) {
        state_ = TState::Idle;
        showStatus_ = true; // DO shows ready/busy until a start bit
        bitsSeen_ = 0;
    }
    selected_ = selected;
}

bool T93CChip::MwDataOut(std::int64_t t) const {
    if (!selected_) {
        return true; // high impedance: the pull-up
    }
    if (showStatus_) {
        return !Busy(t);
    }
    if (state_ == TState::ReadOut) {
        return dataOut_;
    }
    return true;
}

bool T93CChip::MwClock(std::int64_t t, bool di) {
    if (!selected_) {
        return true;
    }
    switch (state_) {
    case TState::Idle:
        if (di) {
            if (Busy(t)) {
                break; // commands are ignored during a programming cycle
            }
            showStatus_ = false;
            state_ = TState::Opcode;
            bitsSeen_ = 0;
            opcode_ = 0;
        }
        break;
    case TState::Opcode:
        opcode_ = (opcode_ << 1) | (di ? 1u : 0u);
        if (++bitsSeen_ == 2) {
            state_ = TState::Address;
            bitsSeen_ = 0;
            address_ = 0;
        }
        break;
    case TState::Address:
        address_ = (address_ << 1) | (di ? 1u : 0u);
        if (++bitsSeen_ == addressBits_) {
            Execute();
        }
        break;
    case TState::DataIn:
        data_ = (data_ << 1) | (di ? 1u : 0u);
        if (++bitsSeen_ == WordBits()) {
            state_ = TState::Done;
            pending_ = opcode_ == kOpWrite ? TPending::Write : TPending::WriteAll;
        }
        break;
    case TState::ReadOut:
        dataOut_ = (readWord_ >> (WordBits() - 1 - readBit_)) & 1u;
        if (++readBit_ == WordBits()) {
            readBit_ = 0;
            // Sequential read: the next word follows without a new command.
            readWord_ = ReadWord(++address_);
        }
        break;
    case TState::Done:
        break;
    }
    return MwDataOut(t);
}

void T93CChip::Execute() {
    bitsSeen_ = 0;
    state_ = TState::Done;
    switch (opcode_) {
    case kOpRead:
        address_ %= static_cast<std::uint32_t>(WordCount());
        readWord_ = ReadWord(address_);
        readBit_ = 0;
        dataOut_ = false; // the dummy zero
        state_ = TState::ReadOut;
        break;
    case kOpWrite:
        data_ = 0;
        state_ = TState::DataIn;
        break;
    case kOpErase:
        pending_ = TPending::Erase;
        break;
    case kOpExtended:
        switch (address_ >> (addressBits_ - 2)) {
        case kExtEwen:
            ewen_ = true;
            Log("EWEN");
            break;
        case kExtEwds:
            ewen_ = false;
            Log("EWDS");
            break;
        case kExtEral:
            pending_ = TPending::EraseAll;
            break;
        case kExtWral:
            data_ = 0;
            state_ = TState::DataIn;
            break;
        }
        break;
    }
}

} // namespace isp::sim
