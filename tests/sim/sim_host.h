// A host for the simulated unit in tests: the in-process port on a virtual clock, and a builder
// for command streams that counts the commands (one reply byte each in a batch).
#pragma once

#include "programmer/clock.h"
#include "sim/sim_port.h"
#include "sim/unit.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace isp::sim::testing {

inline const TDevice& Part(const char* name) {
    const TDevice* device = DeviceList().FindByName(name, kUsbProgrammerKind);
    if (!device) {
        throw std::invalid_argument(name);
    }
    return *device;
}

// A batch of commands as bytes, and how many commands it holds.
class TBatch {
public:
    TBatch& Cmd(char c) {
        bytes += c;
        ++commands;
        return *this;
    }
    TBatch& Hex(char c, unsigned value) {
        char text[3];
        std::snprintf(text, sizeof text, "%02X", value & 0xFF);
        return Cmd(c).Add(text);
    }
    TBatch& Raw(char c, std::initializer_list<unsigned> params) {
        Cmd(c);
        for (unsigned p : params) {
            bytes += static_cast<char>(p);
        }
        return *this;
    }
    TBatch& X() { return Cmd('X'); }
    TBatch& x() { return Cmd('x'); }
    TBatch& w(unsigned b) { return Raw('w', {b}); }
    // Page write on two-wire/SPI: "W", count, data.
    TBatch& W(const std::string& data) {
        Raw('W', {static_cast<unsigned>(data.size() & 0xFF)});
        return Add(data);
    }
    // Microwire: "W", bit count, 16-bit word.
    TBatch& Mw(unsigned bits, unsigned word) { return Raw('W', {bits, word >> 8, word & 0xFF}); }
    TBatch& R(unsigned count) { return Raw('R', {count & 0xFF, count >> 8}); }
    TBatch& Add(const std::string& raw) {
        bytes += raw;
        return *this;
    }

    std::string bytes;
    std::size_t commands = 0;
};

class SimHost {
public:
    explicit SimHost(const char* part, TChipOptions chip = {}, TUnitConfig config = {})
        : unitPtr(CreateUnit(Part(part), std::move(chip), std::move(config))), unit(*unitPtr),
          port(unit, clock) {
        port.Open("SIM");
    }

    // Writes bytes in one block and returns the n reply bytes that follow (fewer if the unit
    // falls silent for two seconds).
    std::string Exchange(const std::string& bytes, std::size_t n) {
        port.WriteBlock(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        port.WaitForReceived(n, 2'000 * kMs);
        std::string reply(n, '\0');
        reply.resize(port.Read(reinterpret_cast<std::uint8_t*>(&reply[0]), n));
        return reply;
    }
    // A batch answered with one CR per command.
    void Run(const TBatch& batch) {
        EXPECT_EQ(Exchange(batch.bytes, batch.commands), std::string(batch.commands, '\r'));
    }
    // A command with n data bytes before its CR; returns the data.
    std::string Data(const TBatch& batch, std::size_t n) {
        const std::string reply = Exchange(batch.bytes, n + 1);
        EXPECT_EQ(reply.size(), n + 1);
        EXPECT_EQ(reply.empty() ? '\0' : reply.back(), '\r');
        return reply.substr(0, n);
    }

    std::vector<std::uint8_t>& Memory() { return unit.Chip().Memory(); }

    TVirtualClock clock;
    std::unique_ptr<TProgrammerUnit> unitPtr;
    TProgrammerUnit& unit;
    TSimSerialPort port;
};

inline std::string RandomBytes(std::size_t n, unsigned seed) {
    std::string data(n, '\0');
    unsigned x = seed * 2654435761u + 1;
    for (auto& c : data) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 16);
    }
    return data;
}

inline std::string Bytes(const std::vector<std::uint8_t>& memory, std::size_t from = 0,
                         std::size_t n = std::string::npos) {
    n = std::min(n, memory.size() - from);
    return std::string(reinterpret_cast<const char*>(memory.data() + from), n);
}

} // namespace isp::sim::testing
