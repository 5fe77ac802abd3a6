#include "programmer/hardware.h"

#include <algorithm>
#include <cctype>

namespace isp {

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

void THardwareTable::RegisterHardware(const std::string& name, std::uint8_t kind,
                                      TProgrammerFactory factory, bool visible) {
    entries_.push_back({visible, Upper(name), kind, std::move(factory)});
}

THardware THardwareTable::HardwareAt(int index) const {
    if (index < 0 || index >= Count()) {
        throw EISPException(msg::InvalidHardwareSelect);
    }
    return entries_[static_cast<std::size_t>(index)];
}

int THardwareTable::FindHardware(const std::string& name) const {
    int found = -1;
    for (int i = 0; i < Count(); ++i) {
        if (entries_[static_cast<std::size_t>(i)].Name == Upper(name)) {
            found = i;
        }
    }
    return found;
}

std::unique_ptr<TISPProgrammer> THardwareTable::CreateProgrammer(int index) const {
    const THardware entry = HardwareAt(index);
    std::unique_ptr<TISPProgrammer> programmer = entry.Factory();
    programmer->SetHardwareName(entry.Name);
    return programmer;
}

void THardwareTable::SetFactory(int index, TProgrammerFactory factory) {
    HardwareAt(index); // raises for a bad index
    entries_[static_cast<std::size_t>(index)].Factory = std::move(factory);
}

std::vector<std::string> THardwareTable::VisibleHardwareNames() const {
    std::vector<std::string> names;
    for (const THardware& entry : entries_) {
        if (entry.Visible) {
            names.push_back(entry.Name);
        }
    }
    return names;
}

std::string THardwareTable::ResolveHardwareName(const std::string& name) const {
    return FindHardware(name) >= 0 ? name : HardwareAt(0).Name;
}

THardwareTable& HardwareTable() {
    static THardwareTable table;
    return table;
}

int PortIndexFromName(const std::string& comName) {
    const std::string digits = comName.size() == 4
                                   ? comName.substr(3, 1)
                                   : comName.substr(std::min<std::size_t>(3, comName.size()), 2);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(),
                                       [](unsigned char c) { return std::isdigit(c); })) {
        return -1;
    }
    return std::stoi(digits) - 1;
}

std::string PortNameFromIndex(int portIndex) {
    return "COM" + std::to_string(portIndex + 1);
}

} // namespace isp
