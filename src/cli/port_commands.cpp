// ports and info: the serial ports with their COM names, and the programmer's information report.
#include "cli/args.h"
#include "cli/cli.h"
#include "cli/programmer_session.h"

#include <ostream>

namespace isp::cli {

int PortsCommand(const std::vector<std::string>& words, std::ostream& out) {
    const Args args(words, {"add"}, {});
    args.ExpectPositionals(0, 0, "");
    TMachineSettings settings;
    if (const auto path = args.Value("add")) {
        out << "COM" << settings.Ports().Add(*path) << " = " << *path << '\n';
        return kExitOk;
    }
    const auto ports = settings.Ports().List();
    if (ports.empty()) {
        out << "No serial ports found (add one with: eeprom-isp ports --add PATH)\n";
    }
    for (const TPortEntry& port : ports) {
        out << port.comName << "  " << port.devicePath;
        if (port.identity != port.devicePath) {
            out << "  (" << port.identity << ")";
        }
        out << '\n';
    }
    return kExitOk;
}

int InfoCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const Args args(words, kProgrammerOptions, kProgrammerFlags);
    args.ExpectPositionals(0, 0, "");
    TProgrammerSession session(args, err);
    try {
        session.Connect();
    } catch (const UsageError&) {
        throw;
    } catch (const std::exception& e) {
        throw CommandError(ProgrammerErrorText(e));
    }
    for (const std::string& line : session.Programmer().InformationReport()) {
        out << line << '\n';
    }
    return kExitOk;
}

} // namespace isp::cli
