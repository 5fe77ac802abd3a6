#include "sim/faults.h"

namespace isp::sim {

namespace {

long Number(const std::string& text, const std::string& spec) {
    try {
        std::size_t used = 0;
        const long value = std::stol(text, &used, 0);
        if (used == text.size() && value >= 0) {
            return value;
        }
    } catch (const std::exception&) {
    }
    throw EFaultSpec("bad number '" + text + "' in fault '" + spec + "'");
}

} // namespace

void AddFault(TFaults& faults, const std::string& spec) {
    const auto eq = spec.find('=');
    const std::string name = spec.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : spec.substr(eq + 1);
    const bool hasValue = eq != std::string::npos;
    if (name == "no-voltage" && !hasValue) {
        faults.noTargetVoltage = true;
    } else if (name == "no-chip" && !hasValue) {
        faults.noChip = true;
    } else if (name == "identity" && hasValue) {
        faults.identity = value;
    } else if (name == "error" && hasValue) {
        const auto colon = value.find(':');
        if (colon == std::string::npos || colon + 2 != value.size()) {
            throw EFaultSpec("fault '" + spec + "' needs error=K:CODE, CODE one character");
        }
        faults.errorAtCommand[Number(value.substr(0, colon), spec)] = value[colon + 1];
    } else if (name == "drop" && hasValue) {
        faults.dropReplyByte.insert(Number(value, spec));
    } else if (name == "corrupt" && hasValue) {
        faults.corruptReplyByte.insert(Number(value, spec));
    } else if (name == "mute-after" && hasValue) {
        faults.muteAfterCommands = Number(value, spec);
    } else if (name == "close-after" && hasValue) {
        faults.closeAfterBytes = Number(value, spec);
    } else if (name == "stuck" && hasValue) {
        std::size_t start = 0;
        while (start <= value.size()) {
            const auto comma = value.find(',', start);
            const std::string item =
                value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            faults.stuckCells.insert(static_cast<std::uint32_t>(Number(item, spec)));
            if (comma == std::string::npos) {
                break;
            }
            start = comma + 1;
        }
    } else if (name == "write-cycle" && hasValue) {
        faults.writeCycleNs = Number(value, spec) * 1'000'000;
    } else {
        throw EFaultSpec("unknown fault '" + spec + "'");
    }
}

} // namespace isp::sim
