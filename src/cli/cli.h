// The command-line front end: the scripting companion of the programming station for production
// lines and CI. Everything runs in-process so tests can drive it like a user.
#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace isp::cli {

// Exit codes of the front end.
enum ExitCode : int {
    kExitOk = 0,
    kExitFailure = 1, // the command could not do its work (bad file, unwritable output, ...)
    kExitUsage = 2,
    kExitMismatch = 3,  // verify found the chip different from the file
    kExitAborted = 130, // Ctrl+C
};

// Runs one command line (without the program name). Normal output goes to out; a usage error or
// a failure prints one line "eeprom-isp: <reason>" to err and returns kExitUsage or kExitFailure.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A failure that ends a command with kExitFailure and one line on stderr.
class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Commands, each given the words after its own name.
int DevicesCommand(const std::vector<std::string>& args, std::ostream& out);
int DetectCommand(const std::vector<std::string>& args, std::ostream& out);
int ConvertCommand(const std::vector<std::string>& args, std::ostream& out);
int PortsCommand(const std::vector<std::string>& args, std::ostream& out);
int InfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// read, program, verify, erase, status-register, reset-polarity, internal-rc.
int DeviceCommand(const std::string& command, const std::vector<std::string>& args,
                  std::ostream& out, std::ostream& err);

} // namespace isp::cli
