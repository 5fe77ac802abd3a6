// The device commands: read, program, verify, erase and the option operations, on the same
// programmer code as the window, with progress and Ctrl+C.
#include "cli/args.h"
#include "cli/cli.h"
#include "cli/image_files.h"
#include "cli/programmer_session.h"
#include "cli/progress.h"
#include "fileformats/fileloader.h"

#include <cstdio>
#include <functional>
#include <ostream>
#include <unistd.h>

namespace isp::cli {

namespace {

std::set<std::string> With(std::set<std::string> base, std::initializer_list<const char*> more) {
    for (const char* name : more) {
        base.insert(name);
    }
    return base;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

// Runs a programmer operation: connection and option errors, aborts and mismatches become exit
// codes and one line on stderr.
int RunOperation(TProgrammerSession& session, std::ostream& err,
                 const std::function<void(TSmartSerial&)>& operation) {
    try {
        session.Connect();
        operation(session.Programmer());
        return kExitOk;
    } catch (const UsageError&) {
        throw;
    } catch (const CommandError&) {
        throw;
    } catch (const EVerifyError& e) {
        err << "eeprom-isp: " << e.what() << '\n';
        return kExitMismatch;
    } catch (const EAbortOp& e) {
        err << "eeprom-isp: " << e.what() << '\n';
        return kExitAborted;
    } catch (const std::exception& e) {
        throw CommandError(ProgrammerErrorText(e));
    }
}

} // namespace

int DeviceCommand(const std::string& command, const std::vector<std::string>& words,
                  std::ostream& out, std::ostream& err) {
    const Args args(words, With(kProgrammerOptions, {"write"}), With(kProgrammerFlags, {"verify"}));
    const bool needsFile = command == "read" || command == "program" || command == "verify";
    const bool needsState = command == "internal-rc";
    args.ExpectPositionals(needsFile || needsState ? 1 : 0, needsFile || needsState ? 1 : 0,
                           needsFile ? "FILE" : "on or off");
    if (needsState && args.Positionals()[0] != "on" && args.Positionals()[0] != "off") {
        throw UsageError("internal-rc takes on or off");
    }
    TProgrammerSession session(args, err);
    const TDevice& device = session.Device();
    TProgress progress(err, isatty(STDERR_FILENO) != 0);
    THexList buffer = session.DeviceBuffer();
    if (command == "program" || command == "verify") {
        const std::string loaded = LoadImageFile(args.Positionals()[0], buffer);
        out << "Loaded " << args.Positionals()[0] << " (" << loaded << ")\n";
    }
    return RunOperation(session, err, [&](TSmartSerial& programmer) {
        programmer.verifyLog = [&err](const std::string& line) { err << line << '\n'; };
        const auto verify = [&] {
            programmer.SetProgressHandler(progress.Handler("Verifying"));
            programmer.VerifyDevice(buffer);
            progress.Done();
            out << "Verified " << device.Name << ": the chip matches ("
                << Seconds(progress.Seconds()) << ")\n";
        };
        if (command == "read") {
            programmer.SetProgressHandler(progress.Handler("Reading"));
            programmer.ReadDevice(buffer);
            progress.Done();
            const std::string& path = args.Positionals()[0];
            const int format = TFileLoader::FormatForSaveExtension(path, device.MemorySize);
            const std::string savedAs = SaveImageFile(path, buffer, format);
            out << "Read " << device.Name << " (" << Seconds(progress.Seconds()) << ") into "
                << path << " (" << savedAs << ")\n";
        } else if (command == "program") {
            programmer.SetProgressHandler(progress.Handler("Programming"));
            programmer.ProgramDevice(buffer);
            progress.Done();
            out << "Programmed " << device.Name << " (" << Seconds(progress.Seconds()) << ")\n";
            if (args.Flag("verify")) {
                verify();
            }
        } else if (command == "verify") {
            verify();
        } else if (command == "erase") {
            programmer.SetProgressHandler(progress.Handler("Erasing"));
            programmer.EraseDevice();
            progress.Done();
            out << "Erased " << device.Name << " (" << Seconds(progress.Seconds()) << ")\n";
        } else if (command == "status-register") {
            if (const auto value = args.Value("write")) {
                std::size_t used = 0;
                const unsigned long v = std::stoul(*value, &used, 0);
                if (used != value->size() || v > 0xFF) {
                    throw UsageError("--write takes a byte value, such as 0x8C");
                }
                programmer.WriteStatusRegister(static_cast<std::uint8_t>(v));
                out << "Status register written\n";
            } else {
                char text[8];
                std::snprintf(text, sizeof text, "0x%02X", programmer.ReadStatusRegister());
                out << "Status register: " << text << '\n';
            }
        } else if (command == "reset-polarity") {
            if (!device.HasResetPolarity) {
                throw CommandError(device.Name + " has no programmable reset polarity");
            }
            out << (programmer.ReadResetPolarity() ? " Reset Polarity is Low"
                                                   : " Reset Polarity is High (Default)")
                << '\n';
        } else if (command == "internal-rc") {
            if (!device.HasInternalRC) {
                throw CommandError(device.Name + " has no internal RC option");
            }
            const bool enable = args.Positionals()[0] == "on";
            programmer.WriteInternalRc(enable);
            out << "Internal RC " << (enable ? "enabled" : "disabled") << '\n';
        }
    });
}

} // namespace isp::cli
