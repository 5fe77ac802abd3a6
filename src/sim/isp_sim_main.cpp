// isp-sim: a simulated programmer unit with one chip, served on a pseudo-terminal. Prints the
// terminal's path on the first line of its output; stops cleanly on SIGINT and SIGTERM.
#include "cli/args.h"
#include "fileformats/fileloader.h"
#include "fileformats/textfile.h"
#include "sim/pty_host.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) {
    gStop = 1;
}

void OnReportSignal(int) {
    isp::sim::TPtyHost::RequestReport();
}

// One line of the unit's counters, for benchmarks: times in microseconds.
std::string StatsLine(const isp::sim::TUnitStats& stats) {
    return "stats commands=" + std::to_string(stats.commands) +
           " bytes_in=" + std::to_string(stats.bytesFromHost) +
           " bytes_out=" + std::to_string(stats.bytesToHost) +
           " link_us=" + std::to_string(stats.linkNs / 1000) +
           " chip_busy_us=" + std::to_string(stats.chipBusyNs / 1000) +
           " unit_busy_us=" + std::to_string(stats.unitBusyNs / 1000);
}

const char* const kUsage =
    "Usage: isp-sim [options]\n"
    "\n"
    "Simulated programmer unit with one chip in its socket, on a pseudo-terminal.\n"
    "Prints the terminal's path, then serves until SIGINT or SIGTERM.\n"
    "\n"
    "  --device NAME      catalogue part in the socket (default 24C02)\n"
    "  --bus-number N     24C: levels of the address pins (default 0)\n"
    "  --org 8|16         93C: organisation set by the ORG pin (default 16)\n"
    "  --wp-low           25C: WP pin held low\n"
    "  --a2-high          AT17: A2 pin high (device address 0xAE)\n"
    "  --realtime         pace bytes at 115200 baud and spend write cycles in real time\n"
    "  --fault SPEC       no-voltage | no-chip | identity=TEXT | error=K:CODE | drop=K |\n"
    "                     corrupt=K | mute-after=K | close-after=K | stuck=ADDR[,ADDR...] |\n"
    "                     write-cycle=MS   (repeatable)\n"
    "  --image FILE       start with these contents (any image format the loader reads)\n"
    "  --save FILE        write the chip's contents to FILE (binary) at exit\n"
    "  --link PATH        make a symbolic link PATH to the terminal while serving\n"
    "  --trace            log bus transactions on stderr\n"
    "SIGUSR1 prints the unit's counters (bytes, link time, chip busy time) on stdout.\n";

int Fail(const std::string& message) {
    std::cerr << "isp-sim: " << message << '\n';
    return 2;
}

// Loads an image the way the Load command does, into a buffer of the chip's size.
void LoadImage(const std::string& path, const isp::TDevice& device,
               std::vector<std::uint8_t>& memory) {
    isp::THexList buffer;
    buffer.SetSize(device.MemorySize);
    if (!isp::PathExists(path)) {
        throw std::runtime_error(path + ": file not found");
    }
    int format = 0;
    const int result = isp::TFileLoader::LoadTextData(isp::ReadWholeFile(path), buffer, &format);
    if (format > 0 ? result != 0 : isp::TFileLoader::LoadBinary(path, buffer) != 0) {
        throw std::runtime_error(path + ": does not fit the " + device.Name);
    }
    std::memcpy(memory.data(), buffer.Data(), memory.size());
}

} // namespace

int main(int argc, char** argv) {
    using namespace isp;
    std::vector<std::string> words(argv + 1, argv + argc);
    std::vector<std::string> faults;
    // --fault may be given several times; the parser keeps one value per name.
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--fault" && i + 1 < words.size()) {
            faults.push_back(words[i + 1]);
            words.erase(words.begin() + static_cast<long>(i),
                        words.begin() + static_cast<long>(i) + 2);
            --i;
        } else if (words[i].rfind("--fault=", 0) == 0) {
            faults.push_back(words[i].substr(8));
            words.erase(words.begin() + static_cast<long>(i));
            --i;
        }
    }
    try {
        const cli::Args args(words, {"device", "bus-number", "org", "image", "save", "link"},
                             {"wp-low", "a2-high", "realtime", "trace", "help"});
        if (args.Flag("help")) {
            std::cout << kUsage;
            return 0;
        }
        args.ExpectPositionals(0, 0, "");
        const std::string name = args.Value("device").value_or("24C02");
        const TDevice* device = DeviceList().FindByName(name, kUsbProgrammerKind);
        if (!device) {
            return Fail("unknown device '" + name + "' (see: eeprom-isp devices)");
        }
        sim::TChipOptions chip;
        if (const auto bus = args.Value("bus-number")) {
            chip.busNumber = std::stoi(*bus);
        }
        if (const auto org = args.Value("org")) {
            if (*org != "8" && *org != "16") {
                return Fail("--org takes 8 or 16");
            }
            chip.org16 = *org == "16";
        }
        chip.wpPinLow = args.Flag("wp-low");
        chip.a2High = args.Flag("a2-high");

        sim::TUnitConfig config;
        config.pacedLink = args.Flag("realtime");
        for (const std::string& spec : faults) {
            sim::AddFault(config.faults, spec);
        }
        if (args.Flag("trace")) {
            config.trace = [](const std::string& line) { std::cerr << line << '\n'; };
        }
        auto unit = sim::CreateUnit(*device, chip, config);
        if (const auto image = args.Value("image")) {
            LoadImage(*image, *device, unit->Chip().Memory());
        }

        sim::TPtyHost pty;
        const auto link = args.Value("link");
        if (link) {
            unlink(link->c_str());
            if (symlink(pty.Path().c_str(), link->c_str()) != 0) {
                return Fail("cannot link " + *link + ": " + std::strerror(errno));
            }
        }
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
        struct sigaction report {};
        report.sa_handler = OnReportSignal;
        sigaction(SIGUSR1, &report, nullptr);
        pty.onReport = [&unit] { std::cout << StatsLine(unit->Stats()) << std::endl; };

        std::cout << pty.Path() << std::endl;
        std::cerr << "isp-sim: " << device->Name << " on " << pty.Path()
                  << (link ? " (" + *link + ")" : std::string()) << '\n';
        pty.Serve(*unit, args.Flag("realtime"), gStop);

        if (link) {
            unlink(link->c_str());
        }
        if (unit->LinkClosed()) {
            std::cerr << "isp-sim: link closed\n";
        }
        if (const auto save = args.Value("save")) {
            THexList buffer;
            buffer.SetSize(device->MemorySize);
            std::memcpy(buffer.Data(), unit->Chip().Memory().data(), unit->Chip().Memory().size());
            std::string error;
            if (TFileLoader::SaveBinary(*save, buffer, &error) != 0) {
                return Fail(error);
            }
        }
        const sim::TUnitStats stats = unit->Stats();
        std::cerr << "isp-sim: " << stats.commands << " commands, " << stats.bytesFromHost
                  << " bytes in, " << stats.bytesToHost << " bytes out\n";
        return 0;
    } catch (const cli::UsageError& e) {
        return Fail(e.what());
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}
