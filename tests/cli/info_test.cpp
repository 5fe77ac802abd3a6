// ports and info against isp-sim on a pseudo-terminal, through the Qt serial port.
#include "support/cli_fixture.h"
#include "support/isp_sim_process.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace isp::cli {
namespace {

using InfoTest = isp::testing::CliFixture;

TEST_F(InfoTest, PrintsTheReportOfARunningSimulator) {
    const std::string link = (dir_ / "isp-port").string();
    isp::testing::IspSimProcess sim({"--device", "25C040", "--link", link});
    ASSERT_FALSE(sim.Path().empty());

    ASSERT_EQ(Run({"ports", "--add", link}), kExitOk) << err_;
    EXPECT_EQ(out_, "COM1 = " + link + "\n");
    ASSERT_EQ(Run({"ports"}), kExitOk);
    EXPECT_EQ(out_, "COM1  " + sim.Path() + "  (" + link + ")\n");

    ASSERT_EQ(Run({"info", "--port", "COM1", "--device", "25C040"}), kExitOk) << err_;
    EXPECT_EQ(out_, "======== Programmer Connection =======\n"
                    "Hardware Selected: QORVIK ISP (COM)\n"
                    "Connection Method: Serial Port\n"
                    "Port Number: 1\n"
                    "Driver Status: Connected\n"
                    "Max Read Timeout: 50000\n"
                    "Max Write Timeout: 50000\n"
                    "======== General Information =======\n"
                    "Programmer ID: EEPROMISP\n"
                    "Hardware Version: SIM1\n"
                    "Firmware Version: 1.00\n"
                    "======== Device Information =======\n"
                    "Device Selected: 25C040\n");

    // A part that is not in the socket's family is not detected.
    ASSERT_EQ(Run({"info", "--port", link, "--device", "24C02"}), kExitOk);
    EXPECT_NE(out_.find("*Communications to Programmer Failed"), std::string::npos);

    EXPECT_EQ(Run({"info", "--port", "COM9", "--device", "25C040"}), kExitFailure);
    EXPECT_EQ(err_, "eeprom-isp: COM Port COM9 is not available - check hardware and Options\n");
    EXPECT_EQ(Run({"info", "--device", "27C512"}), kExitUsage);
}

} // namespace
} // namespace isp::cli
