#include "platform/machine_services.h"

#include "platform/latency_timer.h"
#include "platform/qt_serial_port.h"
#include "programmer/hardware.h"

#include <filesystem>

namespace isp {

TMachineSerialServices::TMachineSerialServices(TPortDirectory& ports) : ports_(ports) {}

std::unique_ptr<TSerialPort> TMachineSerialServices::CreatePort() {
    return std::make_unique<TQtSerialPort>();
}

std::vector<std::string> TMachineSerialServices::SerialDeviceNames() {
    std::vector<std::string> names;
    for (const TPortEntry& port : ports_.List()) {
        names.push_back(port.comName);
    }
    return names;
}

std::string TMachineSerialServices::DevicePath(const std::string& comName) {
    return ports_.DevicePath(comName).value_or("");
}

void TMachineSerialServices::Warn(const std::string& text) {
    if (OnWarning) {
        OnWarning(text);
    }
}

TMachineSettings::TMachineSettings()
    : user_(SettingsFolder()), store_(user_, files_),
      ports_((std::filesystem::path(SettingsFolder()) / "ports.ini").string()) {
    store_.AfterUserStoreLoad = [] { LowerLatencyTimer(); };
}

void RegisterStandardHardware(TSerialServices& services) {
    TProgrammerFactory factory = [&services] { return std::make_unique<TSmartSerial>(services); };
    const int index = HardwareTable().FindHardware(kUsbProgrammerName);
    if (index >= 0) {
        HardwareTable().SetFactory(index, std::move(factory)); // the services object changed
        return;
    }
    HardwareTable().RegisterHardware(kUsbProgrammerName, kUsbProgrammerKind, std::move(factory),
                                     true);
}

} // namespace isp
