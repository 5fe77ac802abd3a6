#include "cli/programmer_session.h"

#include "cli/cli.h"
#include "programmer/hardware.h"

#include <ostream>

namespace isp::cli {

const std::set<std::string> kProgrammerOptions = {
    "port", "device", "bus-address", "org", "reset", "page-size", "clock", "write-delay"};
const std::set<std::string> kProgrammerFlags = {"a2-high", "polarity-low"};

namespace {

int Number(const Args& args, const char* name, int low, int high) {
    const std::string text = *args.Value(name);
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used, 0);
        if (used == text.size() && value >= low && value <= high) {
            return value;
        }
    } catch (const std::exception&) {
    }
    throw UsageError("--" + std::string(name) + " takes a number from " + std::to_string(low) +
                     " to " + std::to_string(high) + ", not '" + text + "'");
}

} // namespace

TProgrammerSession::TProgrammerSession(const Args& args, std::ostream& err)
    : args_(args), services_(settings_.Ports()) {
    services_.OnWarning = [&err](const std::string& text) { err << "warning: " << text << '\n'; };
    TISPSettings& store = settings_.Store();
    store.LoadGroup(GlobalSettingsKey(), false, 1);

    const std::string deviceName =
        args.Value("device").value_or(store.ReadSetting("ENVIRONMENT", "Device", "24C02").ToText());
    device_ = DeviceList().FindByName(deviceName, kUsbProgrammerKind);
    if (!device_) {
        throw UsageError("unknown device '" + deviceName + "' (see: eeprom-isp devices)");
    }
    RegisterStandardHardware(services_);
    auto created =
        HardwareTable().CreateProgrammer(HardwareTable().FindHardware(kUsbProgrammerName));
    programmer_.reset(static_cast<TSmartSerial*>(created.release()));
    programmer_->SetSettingsStore(store);
    programmer_->SetDevice(*device_);

    if (const auto port = args.Value("port")) {
        int index = PortIndexFromName(*port);
        if (port->rfind("COM", 0) != 0 || index < 0) {
            index = settings_.Ports().Add(*port) - 1; // a device path
        }
        store.WriteSetting(programmer_->hardwareName, "BASEPORT", 1, index);
    }
}

TProgrammerSession::~TProgrammerSession() {
    try {
        programmer_->Disconnect();
    } catch (...) {
    }
}

void TProgrammerSession::Connect() {
    if (programmer_->settings->ReadSetting(programmer_->hardwareName, "BASEPORT", 65535).ToInt() ==
        kNoPort) {
        throw UsageError("no port chosen: give --port (see: eeprom-isp ports)");
    }
    TSmartSerial& p = *programmer_;
    const bool flash = device_->IsFlash;
    // Validate the options before the port is touched.
    const auto bus = args_.Value("bus-address") ? Number(args_, "bus-address", 0, 15) : 0;
    const auto pageSize =
        args_.Value("page-size") ? Number(args_, "page-size", 0, 255) : device_->PageSize;
    const auto delay = args_.Value("write-delay") ? Number(args_, "write-delay", 0, 255) : -1;
    int org = -1;
    if (const auto value = args_.Value("org")) {
        if (*value != "8" && *value != "16") {
            throw UsageError("--org takes 8 or 16");
        }
        org = std::stoi(*value);
    }
    int reset = 2;
    if (const auto value = args_.Value("reset")) {
        reset = *value == "low" ? 0 : *value == "high" ? 1 : *value == "off" ? 2 : -1;
        if (reset < 0) {
            throw UsageError("--reset takes low, high or off");
        }
    }
    int clock = -1;
    if (const auto value = args_.Value("clock")) {
        clock = *value == "fast"     ? 0
                : *value == "medium" ? (flash ? 1 : 3)
                : *value == "slow"   ? (flash ? 2 : 16)
                                     : -1;
        if (clock < 0) {
            throw UsageError("--clock takes fast, medium or slow");
        }
    }

    p.Connect();
    p.targetOptions.busNumber = bus;
    p.targetOptions.resetChoice = reset;
    p.pageSize = static_cast<std::uint32_t>(pageSize);
    p.a2PinHigh = args_.Flag("a2-high");
    p.resetPolarityLow = args_.Flag("polarity-low");
    p.fullDeviceProgram = false;
    if (org > 0) {
        p.SetProgMode(static_cast<std::uint8_t>(org));
    }
    if (delay >= 0) {
        p.eepromProgTime = static_cast<std::uint8_t>(delay);
    }
    if (clock >= 0) {
        TISPProgrammer::ClockCode = clock;
    }
}

THexList TProgrammerSession::DeviceBuffer() const {
    THexList buffer;
    buffer.SetSize(device_->MemorySize);
    if (device_->Family == famAT17 && !device_->IsFlash) {
        buffer.Fill(0, device_->MemorySize - 1, 0x00);
        buffer.BlankValue = 0x00;
    }
    return buffer;
}

std::string ProgrammerErrorText(const std::exception& e) {
    if (const auto* isp = dynamic_cast<const EISPException*>(&e); isp && !isp->Source.empty()) {
        return isp->Source + ": " + isp->what();
    }
    return e.what();
}

} // namespace isp::cli
