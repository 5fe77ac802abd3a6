// The station's command line. Every argument is upper-cased; its second character picks the
// parameter ("/A", "-A" and "xA" are the same), the third is a separator, and the rest is the
// value: A runs Auto Program after start-up, L loads a file, M names the programmer hardware.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace isp {

struct TCommandLine {
    bool AutoProgram = false;
    bool LoadFile = false;
    bool HardwareOverrideSet = false;
    std::string LoadFileName; // upper-cased with the rest of the argument
    // The same path with its letters as typed. File names are case-sensitive here, so this is
    // the one that is opened.
    std::string LoadPath;
    std::string HardwareOverride; // upper-cased with the rest of the argument
    int InvalidArguments = 0;     // each is logged as "Invalid Commandline Parameter!!"
};

// Parses the arguments (without the program name). onInvalid runs once per invalid argument, in
// order, while parsing goes on.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                              const std::function<void()>& onInvalid = {});

} // namespace isp
