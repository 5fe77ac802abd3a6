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
    "  ports [--add PATH]\n"
    "                  List the serial ports as COM names with their devices; --add\n"
    "                  gives a port that is not listed (a simulator's terminal) a name\n"
    "  info [--port P] [--device NAME]\n"
    "                  Connect to the programmer and print its information report\n"
    "  read OUT        Read the chip into OUT (format from the extension)\n"
    "  program IN [--verify]\n"
    "                  Program IN into the chip (and verify it)\n"
    "  verify IN       Compare the chip with IN\n"
    "  erase           Erase the chip\n"
    "  status-register [--write VALUE]\n"
    "                  Read (or write) the 25C status register / 93C write-all\n"
    "  reset-polarity  Read the AT17 reset polarity\n"
    "  internal-rc on|off\n"
    "                  Enable or disable the internal RC of AT17 A parts\n"
    "  help            Show this help\n"
    "\n"
    "Programmer options:\n"
    "  --port P        COM name (COM3) or device path; default: the port last chosen\n"
    "  --device NAME   catalogue part; default: the device last used\n"
    "  --bus-address N 24C address pins (0-15)      --org 8|16   93C organisation\n"
    "  --reset low|high|off   MCU reset line        --page-size N (25C)\n"
    "  --clock fast|medium|slow                      --write-delay MS\n"
    "  --a2-high       AT17 A2 pin high             --polarity-low  AT17 reset active low\n"
    "\n"
    "Options:\n"
    "  -h, --help      Show this help\n"
    "  -V, --version   Show the version\n"
    "\n"
    "Exit codes: 0 success, 1 the command failed, 2 usage error, 3 the chip does not\n"
    "match, 130 aborted with Ctrl+C.\n";

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
        if (command == "ports") {
            return PortsCommand(rest, out);
        }
        if (command == "info") {
            return InfoCommand(rest, out, err);
        }
        for (const char* name : {"read", "program", "verify", "erase", "status-register",
                                 "reset-polarity", "internal-rc"}) {
            if (command == name) {
                return DeviceCommand(command, rest, out, err);
            }
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
