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
    "  detect FILE     Print the format number and name the loader finds in FILE\n"
    "  convert IN OUT --size N [--to FORMAT] [--mirror]\n"
    "                  Load IN into an N-byte buffer as the Load command does (text\n"
    "                  formats by content, anything else as binary) and write OUT.\n"
    "                  N: bytes, 0x-hex, or with a K or M suffix (64K, 2M).\n"
    "                  FORMAT: 1-12 or ihex, srec, xtek, tek, gen16, gen8, bst, bin;\n"
    "                  default from OUT's extension (.hex, .s90, .bst, .bin, else\n"
    "                  Intel Hex-32). --mirror reverses the bit order of every byte\n"
    "                  (LSB-first images).\n"
    "  help            Show this help\n"
    "\n"
    "Options:\n"
    "  -h, --help      Show this help\n"
    "  -V, --version   Show the version\n"
    "\n"
    "Exit codes: 0 success, 1 the command failed, 2 usage error.\n";

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
        if (command == "detect") {
            return DetectCommand(rest, out);
        }
        if (command == "convert") {
            return ConvertCommand(rest, out);
        }
        throw UsageError("unknown command '" + command + "' (try 'eeprom-isp --help')");
    } catch (const UsageError& e) {
        err << "eeprom-isp: " << e.what() << '\n';
        return kExitUsage;
    } catch (const std::exception& e) {
        err << "eeprom-isp: " << e.what() << '\n';
        return kExitFailure;
    }
}

} // namespace isp::cli
