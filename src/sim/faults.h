// Faults the simulated unit can be told to have, each switchable on its own.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace isp::sim {

struct TFaults {
    bool noTargetVoltage = false;        // "p" answers "?p"; the bus is dead
    bool noChip = false;                 // an empty socket
    std::string identity = "EEPROMISP";  // what "S" answers
    std::map<long, char> errorAtCommand; // the k-th command (from 1) fails with this code
    std::set<long> dropReplyByte;        // the k-th reply byte (from 1) never arrives
    std::set<long> corruptReplyByte;     // the k-th reply byte arrives with bit 0 flipped
    long muteAfterCommands = -1;         // after k commands the unit answers nothing more
    long closeAfterBytes = -1;           // the link closes after k bytes from the host
    std::set<std::uint32_t> stuckCells;  // cells that keep their value
    std::int64_t writeCycleNs = -1;      // chip write cycle; longer than the write delay
                                         // makes writes go lost, as on real parts
};

class EFaultSpec : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Adds one fault written as on the isp-sim command line:
//   no-voltage | no-chip | identity=TEXT | error=K:CODE | drop=K | corrupt=K | mute-after=K |
//   close-after=K | stuck=ADDR[,ADDR...] | write-cycle=MS
void AddFault(TFaults& faults, const std::string& spec);

} // namespace isp::sim
