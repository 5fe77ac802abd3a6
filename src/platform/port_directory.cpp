#include "platform/port_directory.h"

#include "fileformats/textfile.h"
#include "platform/settings_files.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace isp {

namespace {

constexpr const char* kSection = "PORTS";

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

TPortDirectory::TPortDirectory(std::string tableFile, std::string devRoot)
    : tableFile_(std::move(tableFile)), devRoot_(std::move(devRoot)) {
    Load();
}

void TPortDirectory::Load() {
    table_.clear();
    if (!PathExists(tableFile_)) {
        return;
    }
    for (const auto& [section, values] : ParseIni(ReadWholeFile(tableFile_))) {
        if (section != kSection) {
            continue;
        }
        for (const auto& [name, identity] : values) {
            const int index = PortIndexFromName(name);
            if (StartsWith(name, "COM") && index >= 0) {
                table_.emplace_back(index + 1, identity);
            }
        }
    }
}

void TPortDirectory::Save() const {
    std::vector<std::pair<std::string, std::string>> values;
    for (const auto& [number, identity] : table_) {
        values.emplace_back("COM" + std::to_string(number), identity);
    }
    std::error_code ec;
    fs::create_directories(fs::path(tableFile_).parent_path(), ec);
    try {
        WriteFileAtomically(tableFile_, FormatIni({{kSection, values}}));
    } catch (const std::exception&) {
        // Numbers still work for this run; they are offered again next time.
    }
}

int TPortDirectory::NumberFor(const std::string& identity) {
    for (const auto& [number, known] : table_) {
        if (known == identity) {
            return number;
        }
    }
    int number = 1;
    while (std::any_of(table_.begin(), table_.end(),
                       [number](const auto& entry) { return entry.first == number; })) {
        ++number;
    }
    table_.emplace_back(number, identity);
    Save();
    return number;
}

int TPortDirectory::Add(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return NumberFor(ec ? path : absolute.lexically_normal().string());
}

std::vector<TPortEntry> TPortDirectory::List() {
    std::vector<TPortEntry> ports;
    std::vector<std::string> devicesSeen;
    std::error_code ec;
    const auto add = [&](const std::string& identity, const std::string& device) {
        if (std::find(devicesSeen.begin(), devicesSeen.end(), device) != devicesSeen.end()) {
            return;
        }
        devicesSeen.push_back(device);
        const int number = NumberFor(identity);
        ports.push_back({number, "COM" + std::to_string(number), identity, device});
    };
    // USB adapters by their stable identity first.
    const fs::path byId = fs::path(devRoot_) / "serial" / "by-id";
    std::vector<fs::path> links;
    for (fs::directory_iterator it(byId, ec), end; !ec && it != end; it.increment(ec)) {
        links.push_back(it->path());
    }
    std::sort(links.begin(), links.end());
    for (const fs::path& link : links) {
        const fs::path device = fs::canonical(link, ec);
        if (!ec) {
            add(link.string(), device.string());
        }
    }
    // Other serial devices by their path.
    std::vector<fs::path> devices;
    for (fs::directory_iterator it(devRoot_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM")) {
            devices.push_back(it->path());
        }
    }
    std::sort(devices.begin(), devices.end());
    for (const fs::path& device : devices) {
        add(device.string(), device.string());
    }
    // Ports added by path: from the environment, then the table.
    if (const char* extra = std::getenv("ISP_EXTRA_PORTS"); extra && *extra) {
        std::string paths = extra;
        std::size_t start = 0;
        while (start <= paths.size()) {
            const auto colon = paths.find(':', start);
            const std::string path =
                paths.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
            if (!path.empty()) {
                Add(path);
            }
            if (colon == std::string::npos) {
                break;
            }
            start = colon + 1;
        }
    }
    for (const auto& [number, identity] : std::vector(table_)) {
        if (fs::exists(identity, ec)) {
            const fs::path device = fs::canonical(identity, ec);
            add(identity, ec ? identity : device.string());
        }
    }
    std::sort(ports.begin(), ports.end(),
              [](const TPortEntry& a, const TPortEntry& b) { return a.number < b.number; });
    return ports;
}

std::optional<std::string> TPortDirectory::DevicePath(const std::string& comName) {
    for (const TPortEntry& port : List()) {
        if (port.comName == comName) {
            return port.devicePath;
        }
    }
    return std::nullopt;
}

} // namespace isp
