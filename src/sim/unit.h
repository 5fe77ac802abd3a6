// The simulated programmer unit: the firmware of the external board, with one chip in its
// socket. The host writes command bytes and reads reply bytes; every byte and every action has a
// time on the shared clock, so the same model serves virtual-time tests and real-time runs.
// See README.md in this folder for what the unit does where its behaviour is ours to choose.
#pragma once

#include "sim/chip.h"
#include "sim/faults.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace isp::sim {

struct TUnitConfig {
    bool pacedLink = true;        // host and unit bytes take one byte time each on the line
    std::int64_t byteNs = 86'806; // 10 bits at 115200 baud
    TFaults faults;
    TTrace trace; // bus transactions, one line each
};

struct TUnitStats {
    long commands = 0;
    long bytesFromHost = 0;
    long bytesToHost = 0;
    std::int64_t linkNs = 0;     // time the bytes need on the line, both ways
    std::int64_t unitBusyNs = 0; // time the unit spent executing commands (bus, waits)
    std::int64_t chipBusyNs = 0; // self-timed write cycles of the chip
};

class TProgrammerUnit {
public:
    explicit TProgrammerUnit(std::unique_ptr<TSimChip> chip, TUnitConfig config = {});

    // Host side. t is the current time on the clock the host and the unit share.
    void HostWrite(std::int64_t t, const std::uint8_t* data, std::size_t size);
    std::size_t Ready(std::int64_t t);
    std::size_t Read(std::int64_t t, std::uint8_t* out, std::size_t size);
    // Host bytes written but still on their way at t.
    std::size_t Unsent(std::int64_t t) const;
    // When the last host byte written so far arrives.
    std::int64_t InputArrivedAt() const { return inputFree_; }
    // The time something new happens for the host (a reply byte becomes ready), or -1 when
    // nothing will happen without more input. t itself when bytes are ready.
    std::int64_t NextEventAt(std::int64_t t);
    // The time by which count reply bytes will be ready (or, when fewer are on their way, the
    // next time more become ready); -1 when no more will come without more input.
    std::int64_t ReadyAt(std::size_t count, std::int64_t t);
    void DiscardReplies(std::int64_t t);
    void DiscardUnsent(std::int64_t t);

    bool LinkClosed() const { return closed_; }
    // End of the last executed command on the unit's time line.
    std::int64_t UnitTime() const { return unitFree_; }
    TUnitStats Stats() const;
    TSimChip& Chip() { return *chip_; }
    const TUnitConfig& Config() const { return config_; }

    // Unit state, for tests and traces.
    int FamilyMode() const { return mode_; }
    int ClockCode() const { return clockCode_; }
    int WriteDelayMs() const { return writeDelayMs_; }

private:
    struct TTimedByte {
        std::uint8_t value;
        std::int64_t time;
    };

    void ProcessUntil(std::int64_t t);
    std::size_t CommandLength() const;
    void Execute(const std::vector<std::uint8_t>& command, std::int64_t start);
    // Queues the reply for the host. Byte i may leave no earlier than earliest[i] (bytes read
    // from the bus stream out while the rest is still being read); the others at the end.
    void Emit(std::vector<std::uint8_t> reply, bool statusLast,
              const std::vector<std::int64_t>& earliest = {});

    // Bus actions at the unit's execution time t_.
    bool OnBus(TBus bus) const;
    std::int64_t BitNs() const;
    void RememberHeader();
    void BusStart();
    void BusStop();
    bool BusWrite(std::uint8_t value);
    std::uint8_t BusRead(bool ack);
    void MwShift(int bits, std::uint16_t word);
    bool AckPoll(std::uint8_t address);
    bool WaitReady(std::int64_t limitNs);
    std::uint8_t StatusByte() const;
    void Log(const std::string& text) const;

    std::unique_ptr<TSimChip> chip_;
    TUnitConfig config_;

    std::deque<TTimedByte> input_;
    std::deque<TTimedByte> output_;
    std::int64_t inputFree_ = 0;
    std::int64_t outputFree_ = 0;
    std::int64_t unitFree_ = 0;
    std::int64_t t_ = 0;                 // execution time of the running command
    std::vector<std::int64_t> arrivals_; // when each byte of the running command arrived
    bool closed_ = false;
    long replyBytes_ = 0;
    TUnitStats stats_;

    int mode_ = 0;
    int clockCode_ = 1;
    int writeDelayMs_ = 0;
    int resetMode_ = 2;
    int brackets_ = 0;
    std::uint8_t ackAddress_ = 0xA6;            // device address of the last acknowledge poll
    std::vector<std::uint8_t> header_;          // bytes written since the last start or select
    std::vector<std::uint8_t> lastWriteHeader_; // device/opcode and address of the last access
    std::uint16_t lastMwWord_ = 0;              // last Microwire READ/WRITE/ERASE command word
    int lastMwBits_ = 0;
    bool mwReadActive_ = false;
    bool lastPageFailed_ = false;
    int twoWireAddressBytes_ = 3; // learnt from the host's last access header
};

// A unit with a model of the given part in its socket; the chip faults of config (stuck cells,
// a slower write cycle) are applied to the chip.
std::unique_ptr<TProgrammerUnit> CreateUnit(const TDevice& device, TChipOptions chip = {},
                                            TUnitConfig config = {});

} // namespace isp::sim
