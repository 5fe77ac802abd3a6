#include "platform/settings_files.h"

#include "fileformats/textfile.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace isp {

namespace {

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

} // namespace

TSettingsSections ParseIni(const std::string& text) {
    TSettingsSections sections;
    const TextLines lines = SplitText(text);
    for (const std::string_view raw : lines.lines) {
        const std::string line = Trim(raw);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections.emplace_back(Trim(std::string_view(line).substr(1, line.size() - 2)),
                                  std::vector<std::pair<std::string, std::string>>{});
            continue;
        }
        const auto eq = line.find('=');
        if (sections.empty() || eq == std::string::npos || line[0] == ';') {
            continue;
        }
        sections.back().second.emplace_back(Trim(std::string_view(line).substr(0, eq)),
                                            Trim(std::string_view(line).substr(eq + 1)));
    }
    return sections;
}

std::string FormatIni(const TSettingsSections& sections) {
    std::string text;
    for (const auto& [section, values] : sections) {
        if (!text.empty()) {
            text += "\r\n";
        }
        text += "[" + section + "]\r\n";
        for (const auto& [name, value] : values) {
            text += name + "=" + value + "\r\n";
        }
    }
    return text;
}

TSettingsSections TIniFileBackend::Read(const std::string& path) {
    if (!PathExists(path)) {
        return {};
    }
    return ParseIni(ReadWholeFile(path));
}

void TIniFileBackend::Replace(const std::string& path, const TSettingsSections& sections) {
    WriteFileAtomically(path, FormatIni(sections));
}

TUserStoreBackend::TUserStoreBackend(std::string root) : root_(std::move(root)) {}

std::string TUserStoreBackend::FileFor(const std::string& key) const {
    fs::path file(root_);
    std::size_t start = 0;
    while (start < key.size()) {
        auto end = key.find('\\', start);
        if (end == std::string::npos) {
            end = key.size();
        }
        if (end > start) {
            file /= key.substr(start, end - start);
        }
        start = end + 1;
    }
    return file.string() + ".ini";
}

TSettingsSections TUserStoreBackend::Read(const std::string& path) {
    const std::string file = FileFor(path);
    if (!PathExists(file)) {
        return {};
    }
    return ParseIni(ReadWholeFile(file));
}

void TUserStoreBackend::Replace(const std::string& path, const TSettingsSections& sections) {
    const std::string file = FileFor(path);
    fs::create_directories(fs::path(file).parent_path());
    WriteFileAtomically(file, FormatIni(sections));
}

std::string SettingsFolder() {
    if (const char* dir = std::getenv("ISP_SETTINGS_DIR"); dir && *dir) {
        return dir;
    }
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        return (fs::path(xdg) / "serial-eeprom-isp").string();
    }
    const char* home = std::getenv("HOME");
    return (fs::path(home && *home ? home : ".") / ".config" / "serial-eeprom-isp").string();
}

} // namespace isp
