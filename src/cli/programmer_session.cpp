#include "cli/programmer_session.h"

#include "cli/cli.h"
#include "programmer/hardware.h"

#include <ostream>

namespace isp::cli {

const std::set<std::string> kProgrammerOptions = {"port", "device"};

TProgrammerSession::TProgrammerSession(const Args& args, std::ostream& err)
    : services_(settings_.Ports()) {
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
    programmer_->Connect();
    if (programmer_->portIndex == kNoPort) {
        throw UsageError("no port chosen: give --port (see: eeprom-isp ports)");
    }
}

std::string ProgrammerErrorText(const std::exception& e) {
    if (const auto* isp = dynamic_cast<const EISPException*>(&e); isp && !isp->Source.empty()) {
        return isp->Source + ": " + isp->what();
    }
    return e.what();
}

} // namespace isp::cli
