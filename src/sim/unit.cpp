#include "sim/unit.h"

#include "model/ispdefs.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace isp::sim {

namespace {

constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kQuery = '?';
constexpr std::size_t kMaxTransfer = 10000;
constexpr std::int64_t kAckPollLimitNs = 10 * kMs; // N/n retry the address this long
constexpr std::int64_t kReadyLimitNs = 100 * kMs;  // Z waits this long for a 93C
constexpr std::int64_t kPageLimitNs = 50 * kMs;    // C and H wait this long for a page

int HexDigit(std::uint8_t c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The hex parameter at command[1..2], or -1 when it is not two hex digits.
int HexParameter(const std::vector<std::uint8_t>& command) {
    const int high = HexDigit(command[1]);
    const int low = HexDigit(command[2]);
    return (high < 0 || low < 0) ? -1 : high * 16 + low;
}

} // namespace

TProgrammerUnit::TProgrammerUnit(std::unique_ptr<TSimChip> chip, TUnitConfig config)
    : chip_(std::move(chip)), config_(std::move(config)) {
    if (config_.trace) {
        chip_->SetTrace(
            [trace = config_.trace](const std::string& line) { trace("  chip: " + line); });
    }
}

void TProgrammerUnit::Log(const std::string& text) const {
    if (config_.trace) {
        config_.trace(text);
    }
}

TUnitStats TProgrammerUnit::Stats() const {
    TUnitStats stats = stats_;
    stats.linkNs = (stats.bytesFromHost + stats.bytesToHost) * config_.byteNs;
    stats.chipBusyNs = chip_->BusyTotalNs();
    return stats;
}

std::unique_ptr<TProgrammerUnit> CreateUnit(const TDevice& device, TChipOptions chip,
                                            TUnitConfig config) {
    chip.stuckCells.insert(config.faults.stuckCells.begin(), config.faults.stuckCells.end());
    if (config.faults.writeCycleNs >= 0) {
        chip.writeCycleNs = config.faults.writeCycleNs;
    }
    return std::make_unique<TProgrammerUnit>(CreateChip(device, chip), std::move(config));
}

// ---- host side -------------------------------------------------------------------------------

void TProgrammerUnit::HostWrite(std::int64_t t, const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size && !closed_; ++i) {
        if (config_.faults.closeAfterBytes >= 0 &&
            stats_.bytesFromHost >= config_.faults.closeAfterBytes) {
            closed_ = true;
            Log("link closed");
            break;
        }
        const std::int64_t arrival =
            std::max(t, inputFree_) + (config_.pacedLink ? config_.byteNs : 0);
        inputFree_ = arrival;
        input_.push_back({data[i], arrival});
        ++stats_.bytesFromHost;
    }
}

std::size_t TProgrammerUnit::Ready(std::int64_t t) {
    ProcessUntil(t);
    std::size_t count = 0;
    for (const TTimedByte& byte : output_) {
        if (byte.time > t) {
            break;
        }
        ++count;
    }
    return count;
}

std::size_t TProgrammerUnit::Read(std::int64_t t, std::uint8_t* out, std::size_t size) {
    const std::size_t count = std::min(Ready(t), size);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = output_.front().value;
        output_.pop_front();
    }
    return count;
}

std::size_t TProgrammerUnit::Unsent(std::int64_t t) const {
    std::size_t count = 0;
    for (auto it = input_.rbegin(); it != input_.rend() && it->time > t; ++it) {
        ++count;
    }
    return count;
}

std::int64_t TProgrammerUnit::NextEventAt(std::int64_t t) {
    ProcessUntil(t);
    if (!output_.empty()) {
        return std::max(t, output_.front().time);
    }
    const std::size_t need = CommandLength();
    if (need > 0 && input_.size() >= need) {
        return std::max(unitFree_, input_[need - 1].time);
    }
    return -1;
}

std::int64_t TProgrammerUnit::ReadyAt(std::size_t count, std::int64_t t) {
    ProcessUntil(t);
    if (count > 0 && output_.size() >= count) {
        return output_[count - 1].time;
    }
    if (!output_.empty() && output_.back().time > t) {
        return output_.back().time;
    }
    const std::size_t need = CommandLength();
    if (need > 0 && input_.size() >= need) {
        return std::max(unitFree_, input_[need - 1].time);
    }
    return -1;
}

void TProgrammerUnit::DiscardReplies(std::int64_t t) {
    ProcessUntil(t);
    while (!output_.empty() && output_.front().time <= t) {
        output_.pop_front();
    }
}

void TProgrammerUnit::DiscardUnsent(std::int64_t t) {
    while (!input_.empty() && input_.back().time > t) {
        input_.pop_back();
    }
    inputFree_ = input_.empty() ? t : std::max(t, input_.back().time);
}

// ---- command stream --------------------------------------------------------------------------

std::size_t TProgrammerUnit::CommandLength() const {
    if (input_.empty()) {
        return 0;
    }
    const auto at = [this](std::size_t i) { return input_[i].value; };
    switch (at(0)) {
    case 'E':
    case 'M':
    case 'P':
    case 'e':
    case 'D':
    case 'N':
        return 3;
    case 'w':
    case 'n':
        return 2;
    case 'R':
    case 'K':
        return 3;
    case 'I':
        return 6;
    case 'W':
        if (input_.size() < 2) {
            return 0;
        }
        if (mode_ == 2) {
            return 4; // bit count and a 16-bit word
        }
        return 2 + (at(1) == 0 ? 256u : at(1));
    case 'C':
        if (input_.size() < 3) {
            return 0;
        }
        return 3 + (at(1) | (static_cast<std::size_t>(at(2)) << 8));
    case 'H':
        if (input_.size() < 6) {
            return 0;
        }
        return 6 + ((static_cast<std::size_t>(at(4)) << 8) | at(5));
    default:
        return 1;
    }
}

void TProgrammerUnit::ProcessUntil(std::int64_t t) {
    while (!closed_) {
        const std::size_t need = CommandLength();
        if (need == 0 || input_.size() < need) {
            return;
        }
        // A command runs once all its bytes are in; page data streams onto the bus as it
        // arrives, so a page write starts with its header.
        if (std::max(unitFree_, input_[need - 1].time) > t) {
            return;
        }
        const bool streams = (input_[0].value == 'W' && mode_ != 2) || input_[0].value == 'C';
        const std::size_t header = streams ? std::min<std::size_t>(need, 3) : need;
        const std::int64_t start = std::max(unitFree_, input_[header - 1].time);
        std::vector<std::uint8_t> command(need);
        arrivals_.resize(need);
        for (std::size_t i = 0; i < need; ++i) {
            command[i] = input_.front().value;
            arrivals_[i] = input_.front().time;
            input_.pop_front();
        }
        Execute(command, start);
    }
}

void TProgrammerUnit::Emit(std::vector<std::uint8_t> reply, bool statusLast,
                           const std::vector<std::int64_t>& earliest) {
    const long k = stats_.commands;
    const auto error = config_.faults.errorAtCommand.find(k);
    if (error != config_.faults.errorAtCommand.end() && statusLast && !reply.empty()) {
        reply.back() = kQuery;
        reply.push_back(static_cast<std::uint8_t>(error->second));
    }
    if (config_.faults.muteAfterCommands >= 0 && k > config_.faults.muteAfterCommands) {
        return;
    }
    for (std::size_t i = 0; i < reply.size(); ++i) {
        std::uint8_t value = reply[i];
        ++replyBytes_;
        if (config_.faults.dropReplyByte.count(replyBytes_)) {
            continue;
        }
        if (config_.faults.corruptReplyByte.count(replyBytes_)) {
            value ^= 0x01;
        }
        const std::int64_t from = i < earliest.size() ? earliest[i] : t_;
        const std::int64_t ready =
            std::max(from, outputFree_) + (config_.pacedLink ? config_.byteNs : 0);
        outputFree_ = ready;
        output_.push_back({value, ready});
        ++stats_.bytesToHost;
    }
}

// ---- bus -------------------------------------------------------------------------------------

bool TProgrammerUnit::OnBus(TBus bus) const {
    const TBus modeBus = mode_ == 1 ? TBus::Spi : mode_ == 2 ? TBus::Microwire : TBus::TwoWire;
    if (mode_ != 0 && mode_ != 1 && mode_ != 2) {
        return false; // DataFlash mode: nothing of ours on that bus
    }
    return modeBus == bus && chip_->Bus() == bus && !config_.faults.noChip &&
           !config_.faults.noTargetVoltage;
}

std::int64_t TProgrammerUnit::BitNs() const {
    // Clock codes: 0 400 kHz, 1 200 kHz, 2 150 kHz, 3 100 kHz, n >= 4: 560 kHz / n
    // (16: 35 kHz).
    double hz;
    switch (clockCode_) {
    case 0:
        hz = 400e3;
        break;
    case 1:
        hz = 200e3;
        break;
    case 2:
        hz = 150e3;
        break;
    case 3:
        hz = 100e3;
        break;
    default:
        hz = 560e3 / clockCode_;
        break;
    }
    return static_cast<std::int64_t>(1e9 / hz);
}

void TProgrammerUnit::RememberHeader() {
    // Two-wire: a device write address and the address bytes before a repeated start or data.
    // SPI: a READ opcode and its address bytes.
    if (mode_ == 0 && header_.size() >= 2 && !(header_[0] & 1)) {
        lastWriteHeader_ = header_;
        twoWireAddressBytes_ = static_cast<int>(header_.size()) - 1;
    } else if (mode_ == 1 && header_.size() >= 2 && (header_[0] & ~0x08) == 0x03) {
        lastWriteHeader_ = header_;
    }
}

void TProgrammerUnit::BusStart() {
    RememberHeader();
    header_.clear();
    mwReadActive_ = false;
    if (mode_ == 0) {
        if (OnBus(TBus::TwoWire)) {
            chip_->Start(t_);
        }
    } else if (mode_ == 1) {
        if (OnBus(TBus::Spi)) {
            chip_->Select(t_, true);
        }
    } else if (mode_ == 2) {
        if (OnBus(TBus::Microwire)) {
            chip_->MwSelect(t_, true);
        }
    }
    t_ += BitNs();
}

void TProgrammerUnit::BusStop() {
    RememberHeader();
    header_.clear();
    if (mode_ == 0) {
        if (OnBus(TBus::TwoWire)) {
            chip_->Stop(t_);
        }
    } else if (mode_ == 1) {
        if (OnBus(TBus::Spi)) {
            chip_->Select(t_, false);
        }
    } else if (mode_ == 2) {
        if (OnBus(TBus::Microwire)) {
            chip_->MwSelect(t_, false);
        }
    }
    mwReadActive_ = false;
    t_ += BitNs();
}

bool TProgrammerUnit::BusWrite(std::uint8_t value) {
    header_.push_back(value);
    bool ack = false;
    if (mode_ == 0) {
        ack = OnBus(TBus::TwoWire) && chip_->WriteByte(t_, value);
        t_ += 9 * BitNs();
    } else if (mode_ == 1) {
        if (OnBus(TBus::Spi)) {
            chip_->Transfer(t_, value);
        }
        ack = true;
        t_ += 8 * BitNs();
    } else if (mode_ == 2) {
        MwShift(8, static_cast<std::uint16_t>(value << 8));
        ack = true;
    }
    return ack;
}

std::uint8_t TProgrammerUnit::BusRead(bool ack) {
    std::uint8_t value = 0xFF;
    if (mode_ == 0) {
        if (OnBus(TBus::TwoWire)) {
            value = chip_->ReadByte(t_, ack);
        }
        t_ += 9 * BitNs();
    } else if (mode_ == 1) {
        if (OnBus(TBus::Spi)) {
            value = chip_->Transfer(t_, 0x00);
        }
        t_ += 8 * BitNs();
    } else if (mode_ == 2) {
        unsigned bits = 0;
        for (int i = 0; i < 8; ++i) {
            const bool out = OnBus(TBus::Microwire) ? chip_->MwClock(t_, false) : true;
            bits = (bits << 1) | (out ? 1u : 0u);
            t_ += BitNs();
        }
        value = static_cast<std::uint8_t>(bits);
    }
    return value;
}

void TProgrammerUnit::MwShift(int bits, std::uint16_t word) {
    for (int i = 0; i < bits; ++i) {
        const bool di = (word >> (15 - i)) & 1u;
        if (OnBus(TBus::Microwire)) {
            chip_->MwClock(t_, di);
        }
        t_ += BitNs();
    }
}

bool TProgrammerUnit::AckPoll(std::uint8_t address) {
    ackAddress_ = address;
    const std::int64_t limit = t_ + kAckPollLimitNs;
    if (mode_ == 1) {
        // SPI parts have no acknowledge: read the status register; an empty socket reads 0xFF.
        BusStart();
        BusWrite(0x05);
        const std::uint8_t status = BusRead(true);
        BusStop();
        return status != 0xFF;
    }
    if (mode_ == 2) {
        // Microwire: start a READ and look for the dummy zero after the address.
        BusStart();
        MwShift(3, 0xC000);
        bool found = false;
        for (int i = 0; i < 16 && !found; ++i) {
            found = OnBus(TBus::Microwire) && !chip_->MwDataOut(t_);
            if (!found) {
                MwShift(1, 0);
            }
        }
        BusStop();
        return found;
    }
    if (mode_ != 0) {
        return false;
    }
    for (;;) {
        BusStart();
        const bool ack = OnBus(TBus::TwoWire) && chip_->WriteByte(t_, address & 0xFE);
        t_ += 9 * BitNs();
        BusStop();
        if (ack) {
            return true;
        }
        if (t_ >= limit) {
            return false;
        }
        t_ += 100 * kUs;
    }
}

bool TProgrammerUnit::WaitReady(std::int64_t limitNs) {
    // The chip's write cycle ends at a known time; the unit polls until then or its limit.
    const std::int64_t limit = t_ + limitNs;
    if (!chip_->Busy(t_)) {
        return true;
    }
    t_ = std::min(limit, chip_->BusyUntil());
    return !chip_->Busy(t_);
}

std::uint8_t TProgrammerUnit::StatusByte() const {
    return static_cast<std::uint8_t>((chip_->Busy(t_) ? 0x01 : 0x00) |
                                     (lastPageFailed_ ? 0x40 : 0x00));
}

// ---- commands --------------------------------------------------------------------------------

void TProgrammerUnit::Execute(const std::vector<std::uint8_t>& command, std::int64_t start) {
    t_ = start;
    ++stats_.commands;
    const std::uint8_t code = command[0];
    std::vector<std::uint8_t> reply;
    std::vector<std::int64_t> streamed; // when each data byte was read from the bus
    bool statusLast = true;
    const auto ok = [&reply] { reply.push_back(kCr); };
    const auto fail = [&reply](char error) {
        reply.push_back(kQuery);
        reply.push_back(static_cast<std::uint8_t>(error));
    };
    const auto text = [&reply](const std::string& value, std::size_t length) {
        for (std::size_t i = 0; i < length; ++i) {
            reply.push_back(i < value.size() ? static_cast<std::uint8_t>(value[i]) : ' ');
        }
    };
    std::string trace(1, static_cast<char>(code));

    switch (code) {
    case '*':
        ok();
        break;
    case 'S':
        text(config_.faults.identity, 9);
        ok();
        break;
    case 'V':
        text("SIM1", 4);
        ok();
        break;
    case 'v':
        text("1.00", 4);
        ok();
        break;
    case 'U':
    case 'u':
        ok();
        break;
    case 'E':
    case 'M':
    case 'P':
    case 'e':
    case 'D': {
        const int value = HexParameter(command);
        trace += " " + (value < 0 ? std::string("??")
                                  : HexDigits(static_cast<unsigned>(value) & 0xFF, 2));
        if (value < 0) {
            fail('#');
            break;
        }
        if (code == 'E') {
            clockCode_ = value;
        } else if (code == 'M') {
            if (value != 0 && value != 1 && value != 2 && value != 4) {
                fail('#');
                break;
            }
            mode_ = value;
        } else if (code == 'P') {
            resetMode_ = value;
        } else if (code == 'e') {
            // AT17 RESET/OE: 0 holds the part in programming mode.
            chip_->SetResetLine(value != 0);
        } else {
            writeDelayMs_ = value;
        }
        ok();
        break;
    }
    case 'p':
        if (config_.faults.noTargetVoltage) {
            fail('p');
        } else {
            ok();
        }
        break;
    case '%':
    case 'A':
        ++brackets_;
        ok();
        break;
    case '$':
    case 'a':
        brackets_ = std::max(0, brackets_ - 1);
        ok();
        break;
    case 'X':
        BusStart();
        ok();
        break;
    case 'x':
        BusStop();
        ok();
        break;
    case 'w': {
        const bool ack = BusWrite(command[1]);
        trace += " " + HexDigits(command[1] & 0xFF, 2) + (ack ? "" : " (no ack)");
        ok();
        break;
    }
    case 'r': {
        const std::uint8_t value = BusRead(false);
        trace += " -> " + HexDigits(value & 0xFF, 2);
        reply.push_back(value);
        ok();
        break;
    }
    case 'W':
        if (mode_ == 2) {
            const int bits = command[1];
            const auto word = static_cast<std::uint16_t>((command[2] << 8) | command[3]);
            trace += " " + std::to_string(bits) + " bits " + HexDigits(command[2] & 0xFF, 2) +
                     HexDigits(command[3] & 0xFF, 2);
            if (bits < 1 || bits > 16) {
                fail('#');
                break;
            }
            MwShift(bits, word);
            // Remember READ, WRITE and ERASE words: "R" needs a READ, "^" reuses the address.
            const unsigned opcode = (word >> 13) & 0x3;
            if ((word & 0x8000) && opcode != 0) {
                lastMwWord_ = word;
                lastMwBits_ = bits;
            }
            mwReadActive_ = (word & 0x8000) && opcode == 0b10;
            ok();
        } else {
            const std::size_t count = command.size() - 2;
            trace += " " + std::to_string(count) + " byte(s)";
            bool allAcked = true;
            if (mode_ == 0) {
                RememberHeader();
            } else if (header_.size() >= 2) {
                lastWriteHeader_ = header_; // WRITE opcode and address
            }
            header_.clear();
            for (std::size_t i = 0; i < count; ++i) {
                t_ = std::max(t_, arrivals_[2 + i]);
                allAcked = BusWrite(command[2 + i]) && allAcked;
            }
            if (!allAcked) {
                trace += " (not acknowledged)";
            }
            // The page write ends here: stop (two-wire) or deselect (SPI) starts the chip's
            // write cycle, and the unit waits the write delay before the next command.
            BusStop();
            t_ += writeDelayMs_ * kMs;
            ok();
        }
        break;
    case 'R': {
        const std::size_t count = command[1] | (static_cast<std::size_t>(command[2]) << 8);
        trace += " " + std::to_string(count);
        if (count > kMaxTransfer) {
            fail('#');
            break;
        }
        const bool outOfSync = mode_ == 2 && !mwReadActive_;
        for (std::size_t i = 0; i < count; ++i) {
            reply.push_back(BusRead(i + 1 < count));
            streamed.push_back(t_);
        }
        if (outOfSync) {
            fail('m');
        } else {
            ok();
        }
        break;
    }
    case 'Z':
        if (mode_ != 2) {
            fail('M');
            break;
        }
        BusStop();
        BusStart();
        if (!WaitReady(kReadyLimitNs)) {
            fail('T');
        } else {
            ok();
        }
        BusStop();
        break;
    case 'N':
    case 'n': {
        int address = command[1];
        if (code == 'N') {
            address = HexParameter(command);
            if (address < 0) {
                fail('#');
                break;
            }
        }
        const bool ack = AckPoll(static_cast<std::uint8_t>(address));
        trace +=
            " " + HexDigits(static_cast<unsigned>(address) & 0xFF, 2) + (ack ? " ack" : " no ack");
        if (ack) {
            ok();
        } else {
            fail('N');
        }
        break;
    }
    case 'c': {
        const std::uint8_t status = BusRead(true);
        trace += " -> " + HexDigits(status & 0xFF, 2);
        reply.push_back(status);
        ok();
        break;
    }
    case 'G': {
        const std::string value = HexDigits(StatusByte() & 0xFF, 2);
        text(value, 2);
        ok();
        break;
    }
    case 'C': {
        // AT17F page: stream the bytes to the part and wait for it to program them. One reply
        // byte only: 0x0D, or '?' when the part refused a byte or did not finish in time.
        const std::size_t count = command.size() - 3;
        trace += " " + std::to_string(count) + " byte(s)";
        bool allAcked = true;
        for (std::size_t i = 0; i < count; ++i) {
            t_ = std::max(t_, arrivals_[3 + i]);
            allAcked = BusWrite(command[3 + i]) && allAcked;
        }
        const bool finished = WaitReady(kPageLimitNs);
        lastPageFailed_ = !allAcked || !finished;
        reply.push_back(lastPageFailed_ ? kQuery : kCr);
        statusLast = false;
        break;
    }
    case 'H': {
        // Page program of the parallel link: address (3 bytes), length (2), data, to the part
        // that answered the last acknowledge poll. "G" bit 6 tells whether it must be resent.
        const std::uint32_t address =
            (static_cast<std::uint32_t>(command[1]) << 16) | (command[2] << 8) | command[3];
        const std::size_t count = command.size() - 6;
        trace += " " + std::to_string(count) + " byte(s) at " + std::to_string(address);
        bool allAcked = AckPoll(ackAddress_);
        BusStart();
        allAcked = BusWrite(ackAddress_ & 0xFE) && allAcked;
        for (int i = twoWireAddressBytes_ - 1; i >= 0; --i) {
            allAcked = BusWrite(static_cast<std::uint8_t>(address >> (8 * i))) && allAcked;
        }
        for (std::size_t i = 0; i < count; ++i) {
            allAcked = BusWrite(command[6 + i]) && allAcked;
        }
        BusStop();
        lastPageFailed_ = !allAcked;
        ok();
        break;
    }
    case 'I': {
        // DataFlash read: no DataFlash part sits in this unit's socket; the bus reads ones.
        const std::size_t count = (static_cast<std::size_t>(command[4]) << 8) | command[5];
        for (std::size_t i = 0; i < count; ++i) {
            reply.push_back(0xFF);
        }
        if (mode_ == 4) {
            ok();
        } else {
            fail('!');
        }
        break;
    }
    case 'K':
        if (mode_ == 4) {
            ok();
        } else {
            fail('!');
        }
        break;
    case '^':
        // Erase the location of the last memory access.
        if (mode_ == 2 && lastMwBits_ > 0) {
            const auto eraseWord = static_cast<std::uint16_t>(lastMwWord_ | 0xE000);
            BusStart();
            MwShift(lastMwBits_, 0x9800);
            BusStop();
            BusStart();
            MwShift(lastMwBits_, eraseWord);
            BusStop();
            BusStart();
            const bool ready = WaitReady(kReadyLimitNs);
            BusStop();
            BusStart();
            MwShift(lastMwBits_, 0x8000);
            BusStop();
            if (ready) {
                ok();
            } else {
                fail('T');
            }
        } else if (mode_ == 1 && lastWriteHeader_.size() >= 2) {
            std::vector<std::uint8_t> header = lastWriteHeader_;
            header[0] = (header[0] & 0x08) | 0x02; // WRITE, keeping A8
            BusStart();
            BusWrite(0x06);
            BusStop();
            BusStart();
            for (std::uint8_t b : header) {
                BusWrite(b);
            }
            BusWrite(0xFF);
            BusStop();
            WaitReady(kPageLimitNs);
            ok();
        } else if (mode_ == 0 && lastWriteHeader_.size() >= 2) {
            BusStart();
            bool acked = true;
            for (std::uint8_t b : lastWriteHeader_) {
                acked = BusWrite(b) && acked;
            }
            acked = BusWrite(0xFF) && acked;
            BusStop();
            WaitReady(kPageLimitNs);
            if (acked) {
                ok();
            } else {
                fail('N');
            }
        } else {
            fail('#'); // no location addressed yet
        }
        break;
    default:
        fail('!');
        break;
    }

    Log(trace);
    stats_.unitBusyNs += t_ - start;
    unitFree_ = t_;
    Emit(std::move(reply), statusLast, streamed);
}

} // namespace isp::sim
