#include "cli/args.h"
#include "cli/cli.h"
#include "model/device.h"

#include <cstdio>
#include <ostream>

namespace isp::cli {

namespace {

std::string Hex(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

// The AT17 options of an entry as words: "flash", "reset-polarity@ADDR", "internal-rc@ADDR".
std::string At17Flags(const TDevice& device) {
    if (device.Family != famAT17) {
        return "";
    }
    std::string flags;
    const auto add = [&flags](const std::string& word) {
        flags += (flags.empty() ? "" : " ") + word;
    };
    if (device.IsFlash) {
        add("flash");
    }
    if (device.HasResetPolarity) {
        add("reset-polarity@" + Hex(device.ResetPolarityAddress));
    }
    if (device.HasInternalRC) {
        add("internal-rc@" + Hex(device.InternalRCAddress));
    }
    return flags.empty() ? "-" : flags;
}

void PrintRow(std::ostream& out, const std::string& name, const std::string& family,
              const std::string& size, const std::string& second, const std::string& page,
              const std::string& time, const std::string& flags) {
    char line[160];
    std::snprintf(line, sizeof line, "%-14s %-6s %9s %7s %6s %9s  %s", name.c_str(), family.c_str(),
                  size.c_str(), second.c_str(), page.c_str(), time.c_str(), flags.c_str());
    std::string text(line);
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << '\n';
}

} // namespace

int DevicesCommand(const std::vector<std::string>& words, std::ostream& out) {
    const Args args(words, {"family"}, {});
    args.ExpectPositionals(0, 0, "");
    int family = -1;
    if (const auto name = args.Value("family")) {
        family = FamilyFromName(*name);
        if (family < 0) {
            throw UsageError("unknown family '" + *name + "' (expected 24C, 25C, 93C or AT17)");
        }
    }

    PrintRow(out, "Name", "Family", "Size", "Second", "Page", "Write ms", "AT17 options");
    const TDeviceList& list = DeviceList();
    for (int i = 0; i < list.Count(); ++i) {
        const TDevice& device = list.Items(i);
        if (family >= 0 && device.Family != family) {
            continue;
        }
        PrintRow(out, device.Name, FamilyName(device.Family), std::to_string(device.MemorySize),
                 std::to_string(device.SecondMemorySize), std::to_string(device.PageSize),
                 std::to_string(device.ProgTime), At17Flags(device));
    }
    return kExitOk;
}

} // namespace isp::cli
