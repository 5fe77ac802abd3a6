// The hardware table.
#include "programmer/hardware.h"
#include "programmer/smartparallel.h"

#include <gtest/gtest.h>

namespace isp {
namespace {

TEST(HardwareTable, LookupsAndErrors) {
    THardwareTable table;
    table.RegisterHardware(
        kUsbProgrammerName, kUsbProgrammerKind, [] { return std::make_unique<TSmartParallel>(); },
        true);
    EXPECT_EQ(table.HardwareAt(0).Name, "QORVIK ISP (COM)");
    EXPECT_EQ(table.FindHardware("qorvik isp (com)"), 0);
    EXPECT_EQ(table.FindHardware("Old LPT Programmer"), -1);
    EXPECT_EQ(table.ResolveHardwareName("Old LPT Programmer"), "QORVIK ISP (COM)");
    EXPECT_EQ(table.ResolveHardwareName("qorvik isp (com)"), "qorvik isp (com)");
    EXPECT_EQ(table.KindOfHardware(0), 0x04);
    EXPECT_EQ(table.VisibleHardwareNames(), std::vector<std::string>{"QORVIK ISP (COM)"});
    try {
        table.HardwareAt(1);
        ADD_FAILURE();
    } catch (const EISPException& e) {
        EXPECT_STREQ(e.what(), "Internal error: Invalid Hardware Select");
        EXPECT_EQ(e.Source, "");
    }
    EXPECT_THROW(table.HardwareAt(-1), EISPException);
    const auto programmer = table.CreateProgrammer(0);
    EXPECT_EQ(programmer->hardwareName, "QORVIK ISP (COM)");
    EXPECT_TRUE(programmer->hasOptions);
    EXPECT_TRUE(programmer->hasStatus);
}

} // namespace
} // namespace isp
