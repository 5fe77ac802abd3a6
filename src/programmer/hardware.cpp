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

} // namespace isp
