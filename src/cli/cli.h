// The command-line front end: the scripting companion of the programming station for production
// lines and CI. Everything runs in-process so tests can drive it like a user.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace isp::cli {

// Exit codes of the front end.
enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 2,
};

// Runs one command line (without the program name). Normal output goes to out; a usage error
// prints one line "eeprom-isp: <reason>" to err and returns kExitUsage.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Commands, each given the words after its own name.
int DevicesCommand(const std::vector<std::string>& args, std::ostream& out);

} // namespace isp::cli
