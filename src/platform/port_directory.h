// COM-style names for this machine's serial ports. The operator sees, and the settings keep, COM
// numbers; each number stands for one device identity for good:
//   - a USB adapter is known by its /dev/serial/by-id link (the same name whichever USB socket
//     or ttyUSB number it gets), other serial devices by their /dev path;
//   - a device seen for the first time gets the lowest free number, and the table of numbers is
//     kept in ports.ini in the settings folder, so numbers survive restarts and re-plugging;
//   - ports that enumeration cannot see (the simulator's pseudo-terminal or a link to it) are
//     added by path, with Add() (eeprom-isp ports --add PATH) or the ISP_EXTRA_PORTS variable
//     (paths separated by ':'); they are listed while the path exists.
#pragma once

#include "programmer/hardware.h"

#include <optional>
#include <string>
#include <vector>

namespace isp {

struct TPortEntry {
    int number = 0;
    std::string comName;    // "COM3"
    std::string identity;   // the stable name the number belongs to
    std::string devicePath; // the device to open
};

class TPortDirectory {
public:
    TPortDirectory(std::string tableFile, std::string devRoot = "/dev");

    // The ports present now, by number; newly seen devices get numbers (and the table is saved).
    std::vector<TPortEntry> List();
    // The device to open for a COM name, when that port is present.
    std::optional<std::string> DevicePath(const std::string& comName);
    // Remembers a port by path; returns its number.
    int Add(const std::string& path);

private:
    void Load();
    void Save() const;
    int NumberFor(const std::string& identity);

    std::string tableFile_;
    std::string devRoot_;
    std::vector<std::pair<int, std::string>> table_; // number, identity
};

} // namespace isp
