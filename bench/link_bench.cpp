// Program and verify through isp-sim in real time (115200 baud pacing, real write cycles) and
// hold the wall time against the floor the simulated unit reports for the same traffic: the
// line time of every byte plus the chip's write cycles. Target: ratio at most 1.10.
//   build/release/bench/isp_link_bench [DEVICE...]
#include "platform/machine_services.h"
#include "programmer/hardware.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <map>
#include <poll.h>
#include <random>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

class TSimProcess {
public:
    TSimProcess(const std::string& device, const std::string& link) {
        std::vector<std::string> args = {ISP_SIM_PATH, "--realtime", "--device",
                                         device,       "--link",     link};
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) {
            throw std::runtime_error("pipe");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            throw std::runtime_error("cannot start isp-sim");
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = out[0];
        ReadLine(); // the terminal's path
    }
    ~TSimProcess() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        close(out_);
    }
    // The unit's counters, read with SIGUSR1.
    std::map<std::string, long long> Stats() {
        kill(pid_, SIGUSR1);
        std::istringstream line(ReadLine());
        std::map<std::string, long long> stats;
        std::string word;
        while (line >> word) {
            const auto eq = word.find('=');
            if (eq != std::string::npos) {
                stats[word.substr(0, eq)] = std::stoll(word.substr(eq + 1));
            }
        }
        return stats;
    }

private:
    std::string ReadLine() {
        std::string line;
        char c;
        pollfd pfd{out_, POLLIN, 0};
        while (poll(&pfd, 1, 10000) > 0 && read(out_, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        return line;
    }
    pid_t pid_ = -1;
    int out_ = -1;
};

} // namespace

int main(int argc, char** argv) {
    using namespace isp;
    std::vector<std::string> devices(argv + 1, argv + argc);
    if (devices.empty()) {
        devices = {"24C256", "25C256", "93C86", "AT17LV010(A)"};
    }
    const auto dir =
        std::filesystem::temp_directory_path() / ("isp-link-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    setenv("ISP_SETTINGS_DIR", (dir / "settings").c_str(), 1);

    std::printf("%-14s %8s %10s %10s %7s\n", "device", "bytes", "wall s", "floor s", "ratio");
    for (const std::string& name : devices) {
        const TDevice* device = DeviceList().FindByName(name, kUsbProgrammerKind);
        if (!device) {
            std::cerr << "unknown device " << name << '\n';
            return 2;
        }
        const std::string link = (dir / "port").string();
        TSimProcess sim(name, link);
        TMachineSettings settings;
        TMachineSerialServices services(settings.Ports());
        TSmartSerial programmer(services);
        programmer.SetHardwareName("QORVIK ISP (COM)");
        programmer.SetSettingsStore(settings.Store());
        programmer.SetDevice(*device);
        settings.Store().WriteSetting("QORVIK ISP (COM)", "BASEPORT", 1,
                                      settings.Ports().Add(link) - 1);
        programmer.Connect();
        programmer.pageSize = static_cast<std::uint32_t>(device->PageSize);

        THexList image;
        image.SetSize(device->MemorySize);
        std::mt19937 random(1);
        for (int i = 0; i < image.Size(); ++i) {
            image.Data()[i] = static_cast<std::uint8_t>(random());
        }
        const auto floorBetween = [](const std::map<std::string, long long>& a,
                                     const std::map<std::string, long long>& b) {
            return static_cast<double>((b.at("link_us") - a.at("link_us")) +
                                       (b.at("chip_busy_us") - a.at("chip_busy_us"))) /
                   1e6;
        };
        const auto before = sim.Stats();
        const auto start = std::chrono::steady_clock::now();
        programmer.ProgramDevice(image);
        const auto programmed = std::chrono::steady_clock::now();
        const auto middle = sim.Stats();
        const auto verifyStart = std::chrono::steady_clock::now();
        programmer.VerifyDevice(image);
        const auto end = std::chrono::steady_clock::now();
        const auto after = sim.Stats();
        const double program = std::chrono::duration<double>(programmed - start).count();
        const double verify = std::chrono::duration<double>(end - verifyStart).count();
        const double wall = program + verify;
        const double floor = floorBetween(before, after);
        std::printf("%-14s %8d %10.2f %10.2f %7.3f   (program %.2f/%.2f s, verify %.2f/%.2f s)\n",
                    name.c_str(), device->MemorySize, wall, floor, wall / floor, program,
                    floorBetween(before, middle), verify, floorBetween(middle, after));
        std::fflush(stdout);
        programmer.Disconnect();
        std::filesystem::remove(dir / "settings" / "ports.ini");
    }
    std::filesystem::remove_all(dir);
    return 0;
}
