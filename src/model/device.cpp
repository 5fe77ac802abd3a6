#include "model/device.h"

#include "model/ispdefs.h"

#include <cctype>
#include <stdexcept>

namespace isp {

namespace {

const char* const kFamilyNames[kCatalogueFamilyCount] = {"24C", "25C", "93C", "AT17"};

} // namespace

const char* FamilyName(int family) {
    return (family >= 0 && family < kCatalogueFamilyCount) ? kFamilyNames[family] : "";
}

int FamilyFromName(const std::string& name) {
    for (int family = 0; family < kCatalogueFamilyCount; ++family) {
        if (SameText(name, kFamilyNames[family])) {
            return family;
        }
    }
    return -1;
}

TOptionsFrameFactory& OptionsFrameHook() {
    static TOptionsFrameFactory hook;
    return hook;
}

TDevice::TDevice(std::string name, std::uint8_t family, THardwareSet hardware,
                 std::int32_t memorySize, std::int32_t secondMemorySize, std::int32_t pageSize,
                 std::vector<TDeviceOptions> options)
    : Family(family), MemorySize(memorySize), SecondMemorySize(secondMemorySize),
      Name(std::move(name)), Hardware(hardware), PageSize(pageSize), ProgTime(0),
      Options(std::move(options)) {
    if (Options.empty()) {
        throw std::invalid_argument("TDevice " + Name + ": at least one option record is needed");
    }
    ProgTime = Options.front().Timings.WriteTime;
    OptionsFrameFactory = [](TOptionsFrameOwner* owner) -> TOptionsFrame* {
        const TOptionsFrameFactory& hook = OptionsFrameHook();
        return hook ? hook(owner) : nullptr;
    };
}

int TDeviceList::Add(std::unique_ptr<TDevice> device) {
    devices_.push_back(std::move(device));
    return Count() - 1;
}

const TDevice& TDeviceList::Items(int index) const {
    if (index < 0 || index >= Count()) {
        throw std::out_of_range("TDeviceList: no entry " + std::to_string(index));
    }
    return *devices_[static_cast<std::size_t>(index)];
}

TDevice& TDeviceList::Last() {
    if (devices_.empty()) {
        throw std::out_of_range("TDeviceList: the list is empty");
    }
    return *devices_.back();
}

const TDevice* TDeviceList::FirstOfFamily(THardwareSet hardware, int family) const {
    for (const auto& device : devices_) {
        if (device->Family == family && HardwareFits(device->Hardware, hardware)) {
            return device.get();
        }
    }
    return nullptr;
}

std::vector<std::string> TDeviceList::NamesOfFamily(THardwareSet hardware, int family) const {
    std::vector<std::string> names;
    for (const auto& device : devices_) {
        if (device->Family == family && HardwareFits(device->Hardware, hardware)) {
            names.push_back(device->Name);
        }
    }
    return names;
}

const TDevice* TDeviceList::FindByName(const std::string& name, THardwareSet hardware) const {
    const TDevice* found = nullptr;
    for (const auto& device : devices_) {
        if (HardwareFits(device->Hardware, hardware) && SameText(device->Name, name)) {
            found = device.get(); // names are unique; the last match would win
        }
    }
    return found;
}

const TDeviceList& DeviceList() {
    static const TDeviceList list = [] {
        TDeviceList built;
        built.BuildCatalogue();
        return built;
    }();
    return list;
}

} // namespace isp
