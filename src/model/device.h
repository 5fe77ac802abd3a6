// The device catalogue: one entry per supported part, with its family, sizes, page size, write
// time and AT17 options. Built once at start-up and never changed afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace isp {

// Family codes; the device-type selector lists the names in code order.
enum TFamily : std::uint8_t {
    fam24C = 0,      // two-wire (I2C)
    fam25C = 1,      // SPI
    fam93C = 2,      // Microwire
    famAT17 = 3,     // two-wire configuration memories for FPGAs
    famDataFlash = 4 // known to the programmer only; the catalogue lists none
};
inline constexpr int kCatalogueFamilyCount = 4;

// "24C", "25C", "93C", "AT17" for the catalogue families, "" for any other code.
const char* FamilyName(int family);
// The family code of a display name (letter case ignored), or -1.
int FamilyFromName(const std::string& name);

// Set of programmer hardware kinds (bit n = kind n). Two sets fit when they share a kind.
using THardwareSet = std::uint8_t;
inline constexpr THardwareSet kCatalogueHardware = 0x05; // every catalogue entry
inline constexpr THardwareSet kUsbProgrammerKind = 0x04; // the registered USB programmer
inline bool HardwareFits(THardwareSet a, THardwareSet b) {
    return (a & b) != 0;
}

struct TTimings {
    std::uint8_t Spare1 = 0;
    std::uint8_t Spare2 = 0;
    std::uint8_t WriteTime = 0;   // write cycle time in ms; the first record's gives ProgTime
    std::uint8_t CommandBits = 0; // 93C: command length in bits (x8 organisation); AT17: 14
};

struct TDeviceOptions {
    THardwareSet Hardware = 0; // the kinds this record applies to
    TTimings Timings;
    std::int32_t Reserved1 = 0;
    std::int32_t Reserved2 = 0;
    std::int32_t Reserved3 = 0;
};

// The options frame is a widget; the core only carries the hook that builds one. Both types are
// defined by the user interface.
class TOptionsFrame;
class TOptionsFrameOwner;
using TOptionsFrameFactory = std::function<TOptionsFrame*(TOptionsFrameOwner* owner)>;

// The factory every entry uses. Empty until the user interface installs one (the command-line
// front end never does); entries look it up when called, so the order of start-up does not matter.
TOptionsFrameFactory& OptionsFrameHook();

class TDevice {
public:
    // options must not be empty; ProgTime is taken from the first record's WriteTime.
    TDevice(std::string name, std::uint8_t family, THardwareSet hardware, std::int32_t memorySize,
            std::int32_t secondMemorySize, std::int32_t pageSize,
            std::vector<TDeviceOptions> options);

    std::uint8_t Family;
    std::int32_t MemorySize;
    std::int32_t SecondMemorySize;
    std::string Name;
    THardwareSet Hardware;
    std::int32_t PageSize;
    std::int32_t ProgTime;
    bool IsFlash = false;
    bool HasInternalRC = false;
    bool HasResetPolarity = false;
    std::int32_t ResetPolarityAddress = 0;
    std::int32_t InternalRCAddress = 0;
    TOptionsFrameFactory OptionsFrameFactory;
    std::vector<TDeviceOptions> Options;
};

class TDeviceList {
public:
    int Add(std::unique_ptr<TDevice> device);
    int Count() const { return static_cast<int>(devices_.size()); }
    // Entry by position; throws std::out_of_range for a bad index.
    const TDevice& Items(int index) const;
    TDevice& Last();

    // First entry in catalogue order of that family that fits the hardware set, or nullptr.
    const TDevice* FirstOfFamily(THardwareSet hardware, int family) const;
    // Names of that family's entries that fit the hardware set, in catalogue order.
    std::vector<std::string> NamesOfFamily(THardwareSet hardware, int family) const;
    // The entry of that name (letter case ignored) that fits the hardware set, or nullptr.
    const TDevice* FindByName(const std::string& name, THardwareSet hardware) const;

    // Appends the catalogue's 59 entries in table order.
    void BuildCatalogue();

private:
    std::vector<std::unique_ptr<TDevice>> devices_;
};

// The process-wide catalogue, built on first use and never changed afterwards.
const TDeviceList& DeviceList();

} // namespace isp
