#include "cli/cli.h"

#include "cli/args.h"
#include "isp_version.h"

#include <ostream>

namespace isp::cli {

namespace {

const char* const kHelp =
    "Usage: eeprom-isp <command> [options]\n"
    "\n"
    "Command-line front end of Serial EEPROM ISP, for scripts and production lines.\n"
    "\n"
    "Commands:\n"
    "  devices [--family 24C|25C|93C|AT17]\n"
    "                  List the device catalogue: name, family, memory size, second\n"
    "                  memory size, write page size, write time and AT17 options\n"
    "  help            Show this help\n"
    "\n"
    "Options:\n"
    "  -h, --help      Show this help\n"
    "  -V, --version   Show the version\n"
    "\n"
    "Exit codes: 0 success, 2 usage error.\n";

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty()) {
            throw UsageError("no command given (try 'eeprom-isp --help')");
        }
        const std::string& command = args.front();
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (command == "-h" || command == "--help" || command == "help") {
            out << kHelp;
            return kExitOk;
        }
        if (command == "-V" || command == "--version") {
            out << "eeprom-isp " << kIspVersion << '\n';
            return kExitOk;
        }
        if (command == "devices") {
            return DevicesCommand(rest, out);
        }
        throw UsageError("unknown command '" + command + "' (try 'eeprom-isp --help')");
    } catch (const UsageError& e) {
        err << "eeprom-isp: " << e.what() << '\n';
        return kExitUsage;
    }
}

} // namespace isp::cli
