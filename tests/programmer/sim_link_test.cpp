// The USB programmer against the simulated unit: connect, information report, and recovery
// after a lost reply.
#include "sim_fixture.h"

#include <gtest/gtest.h>

namespace isp {
namespace {

using SimLink = testing::TSimLink;

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
