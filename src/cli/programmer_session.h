// A programmer connected for one command-line command: settings from the user's store, the port
// from --port (a COM name or a device path) or the stored one, the device from --device or the
// last one used.
#pragma once

#include "cli/args.h"
#include "platform/machine_services.h"
#include "programmer/smartserial.h"

#include <iosfwd>
#include <memory>

namespace isp::cli {

// Options every programmer command takes (with values, and flags).
extern const std::set<std::string> kProgrammerOptions;
extern const std::set<std::string> kProgrammerFlags;

class TProgrammerSession {
public:
    TProgrammerSession(const Args& args, std::ostream& err);
    ~TProgrammerSession();

    TSmartSerial& Programmer() { return *programmer_; }
    const TDevice& Device() const { return *device_; }
    // Connects and applies the command's options over the stored settings; errors raise as the
    // programmer's exceptions.
    void Connect();
    // A buffer sized and blanked for the device, as a device switch leaves it.
    THexList DeviceBuffer() const;

private:
    const Args& args_;
    TMachineSettings settings_;
    TMachineSerialServices services_;
    const TDevice* device_ = nullptr;
    std::unique_ptr<TSmartSerial> programmer_;
};

// "Source: message" or the message alone, as the status log shows programmer errors.
std::string ProgrammerErrorText(const std::exception& e);

} // namespace isp::cli
