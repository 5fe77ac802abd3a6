#include "platform/latency_timer.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace isp {

namespace {

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return line;
}

// The USB device directory above a tty's interface directory.
bool IsProgrammerAdapter(const fs::path& tty) {
    std::error_code ec;
    fs::path dir = fs::canonical(tty, ec);
    if (ec) {
        return false;
    }
    for (int up = 0; up < 4 && dir.has_parent_path(); ++up) {
        dir = dir.parent_path();
        if (fs::exists(dir / "idVendor", ec)) {
            return FirstLine(dir / "idVendor") == "0403" &&
                   FirstLine(dir / "idProduct") == "6015" &&
                   FirstLine(dir / "serial") == "QorvikISPA";
        }
    }
    return false;
}

} // namespace

int LowerLatencyTimer(const std::string& sysfsRoot) {
    int lowered = 0;
    std::error_code ec;
    const fs::path devices = fs::path(sysfsRoot) / "bus" / "usb-serial" / "devices";
    for (fs::directory_iterator it(devices, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path timer = it->path() / "latency_timer";
        if (!fs::exists(timer, ec) || !IsProgrammerAdapter(it->path())) {
            continue;
        }
        int value = 0;
        try {
            value = std::stoi(FirstLine(timer));
        } catch (const std::exception&) {
            continue;
        }
        if (value > 2) {
            std::ofstream out(timer);
            out << 2 << '\n';
            out.flush();
            lowered += out ? 1 : 0;
        }
    }
    return lowered;
}

} // namespace isp
