// The serial services of this machine: Qt serial ports, COM names from the port directory, the
// system clock; and the settings store in the user's settings folder.
#pragma once

#include "platform/port_directory.h"
#include "platform/settings_files.h"
#include "programmer/smartserial.h"

#include <functional>

namespace isp {

class TMachineSerialServices final : public TSerialServices {
public:
    explicit TMachineSerialServices(TPortDirectory& ports);

    std::unique_ptr<TSerialPort> CreatePort() override;
    std::vector<std::string> SerialDeviceNames() override;
    std::string DevicePath(const std::string& comName) override;
    TClock& Clock() override { return clock_; }
    void Warn(const std::string& text) override;
    // No report window and no options dialog here; the main window wraps these services in its
    // own (TWindowSerialServices), which shows both.
    void ShowReport(const std::vector<std::string>&) override {}

    std::function<void(const std::string&)> OnWarning;

private:
    TPortDirectory& ports_;
    TSystemClock clock_;
};

// The settings store with its two backends; loading the global group lowers the programmer
// adapter's latency timer.
class TMachineSettings {
public:
    TMachineSettings();
    TISPSettings& Store() { return store_; }
    TPortDirectory& Ports() { return ports_; }

private:
    TUserStoreBackend user_;
    TIniFileBackend files_;
    TISPSettings store_;
    TPortDirectory ports_;
};

// Registers the USB programmer, "Qorvik ISP (COM)", in the hardware table, its programmers using
// these services (which must outlive them); a second call binds it to the new services.
void RegisterStandardHardware(TSerialServices& services);

} // namespace isp
