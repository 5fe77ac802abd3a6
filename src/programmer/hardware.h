// The hardware table: the kinds of programmer hardware the system can drive. Filled once at
// start-up; the only entry registered is the USB programmer.
#pragma once

#include "programmer/programmer.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace isp {

using TProgrammerFactory = std::function<std::unique_ptr<TISPProgrammer>()>;

struct THardware {
    bool Visible = false;
    std::string Name; // upper case
    std::uint8_t Kind = 0;
    TProgrammerFactory Factory;
};

inline constexpr const char* kUsbProgrammerName = "Qorvik ISP (COM)";

class THardwareTable {
public:
    void RegisterHardware(const std::string& name, std::uint8_t kind, TProgrammerFactory factory,
                          bool visible);
    int Count() const { return static_cast<int>(entries_.size()); }
    // Raises "Internal error: Invalid Hardware Select" for an index outside the table.
    THardware HardwareAt(int index) const;
    // Index of the entry of that name, letter case ignored (the last when names repeat), or -1.
    int FindHardware(const std::string& name) const;
    std::uint8_t KindOfHardware(int index) const { return HardwareAt(index).Kind; }
    // A new programmer from the entry's factory, named after the entry.
    std::unique_ptr<TISPProgrammer> CreateProgrammer(int index) const;
    std::vector<std::string> VisibleHardwareNames() const;
    // The name when it is in the table, else the name of entry 0.
    std::string ResolveHardwareName(const std::string& name) const;
    // Binds an entry to another factory (a program whose services object is replaced).
    void SetFactory(int index, TProgrammerFactory factory);
    void Clear() { entries_.clear(); }

private:
    std::vector<THardware> entries_;
};

// The process-wide table.
THardwareTable& HardwareTable();

// The port index a COM name stands for: a 4-character name gives the digit in position 4, any
// other name the digits in positions 4 and 5; the index is that number minus 1 (-1 when there is
// no number).
int PortIndexFromName(const std::string& comName);
// "COM" + (index + 1).
std::string PortNameFromIndex(int portIndex);

} // namespace isp
