// The USB programmer against the simulated unit: connect, information report, and recovery
// after a lost reply.
#include "memory_backend.h"
#include "programmer/smartserial.h"
#include "sim/sim_port.h"

#include <gtest/gtest.h>

namespace isp {
namespace {

using testing::TMemoryBackend;

class TSimServices final : public TSerialServices {
public:
    explicit TSimServices(sim::TProgrammerUnit& unit) : unit_(unit) {}
    std::unique_ptr<TSerialPort> CreatePort() override {
        return std::make_unique<sim::TSimSerialPort>(unit_, clock, "/dev/sim");
    }
    std::vector<std::string> SerialDeviceNames() override { return {"COM7"}; }
    std::string DevicePath(const std::string& name) override {
        return name == "COM7" ? "/dev/sim" : "";
    }
    TClock& Clock() override { return clock; }
    void Warn(const std::string&) override {}
    void ShowReport(const std::vector<std::string>& lines) override { report = lines; }

    TVirtualClock clock;
    std::vector<std::string> report;

private:
    sim::TProgrammerUnit& unit_;
};

struct SimLink {
    explicit SimLink(const char* part, sim::TUnitConfig config = {})
        : device(*DeviceList().FindByName(part, kUsbProgrammerKind)),
          unit(sim::CreateUnit(device, {}, std::move(config))), services(*unit),
          settings(store, store), programmer(services) {
        TISPProgrammer::ClockCode = 1;
        programmer.SetHardwareName("QORVIK ISP (COM)");
        programmer.SetSettingsStore(settings);
        programmer.SetDevice(device);
        settings.WriteSetting("QORVIK ISP (COM)", "BASEPORT", 1, 6);
    }
    const TDevice& device;
    std::unique_ptr<sim::TProgrammerUnit> unit;
    TSimServices services;
    TMemoryBackend store;
    TISPSettings settings;
    TSmartSerial programmer;
};

TEST(SimLink, ConnectAndInformationReport) {
    SimLink link("AT17LV512(A)");
    ASSERT_TRUE(link.programmer.Connect());
    link.programmer.ShowStatus("0.1.0");
    EXPECT_EQ(link.services.report,
              (std::vector<std::string>{
                  "======== Programmer Connection =======", "Hardware Selected: QORVIK ISP (COM)",
                  "Connection Method: Serial Port", "Port Number: 7", "Driver Status: Connected",
                  "Max Read Timeout: 50000", "Max Write Timeout: 50000",
                  "======== General Information =======", "Programmer ID: EEPROMISP",
                  "Hardware Version: SIM1", "Firmware Version: 1.00",
                  "======== Device Information =======", "Device Selected: AT17LV512(A)"}));
    link.programmer.Disconnect();
    EXPECT_EQ(link.settings.ReadSetting("QORVIK ISP (COM)", "BASEPORT", 0).ToInt(), 6);
}

TEST(SimLink, EveryFamilyIsDetected) {
    for (const char* part : {"24C02", "25C040", "93C46", "AT17LV256", "AT17F080(A)"}) {
        SimLink link(part);
        ASSERT_TRUE(link.programmer.Connect()) << part;
        EXPECT_NO_THROW(link.programmer.EnsureTarget()) << part;
    }
    sim::TUnitConfig config;
    sim::AddFault(config.faults, "no-chip");
    SimLink empty("24C02", config);
    ASSERT_TRUE(empty.programmer.Connect());
    EXPECT_THROW(empty.programmer.EnsureTarget(), EISPException);
}

TEST(SimLink, ReopensAfterALostReply) {
    sim::TUnitConfig config;
    sim::AddFault(config.faults, "drop=20"); // the second reply after the connect is lost
    SimLink link("24C02", config);
    ASSERT_TRUE(link.programmer.Connect());
    bool failed = false;
    for (int i = 0; i < 10 && !failed; ++i) {
        try {
            link.programmer.SendCommand('U');
        } catch (const EISPException& e) {
            failed = true;
            EXPECT_STREQ(e.what(), "Communications with ISP failed during this operation");
        }
    }
    ASSERT_TRUE(failed);
    link.programmer.ReopenPort();
    EXPECT_NO_THROW(link.programmer.EnsureTarget());
    EXPECT_EQ(link.programmer.QueryText('S', 9), "EEPROMISP");
}

TEST(SimLink, WrongIdentityAsksForAFirmwareUpdate) {
    sim::TUnitConfig config;
    sim::AddFault(config.faults, "identity=EEPROMISQ");
    SimLink link("24C02", config);
    try {
        link.programmer.Connect();
        ADD_FAILURE();
    } catch (const EFirmwareMisMatch& e) {
        EXPECT_STREQ(e.what(), "Your ISP needs a firmware update");
    }
}

} // namespace
} // namespace isp
