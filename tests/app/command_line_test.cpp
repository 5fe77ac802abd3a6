#include "app/command_line.h"

#include <gtest/gtest.h>

namespace isp {
namespace {

TEST(CommandLine, SecondCharacterSelectsAndValuesAreUpperCased) {
    const TCommandLine line =
        ParseCommandLine({"/a", "-l:/tmp/image.hex", "xm=Qorvik ISP (COM)", "/L", "/Lx"});
    EXPECT_TRUE(line.AutoProgram);
    EXPECT_TRUE(line.LoadFile);
    EXPECT_EQ(line.LoadFileName, "/TMP/IMAGE.HEX") << "repeated L appends; 2-3 chars add nothing";
    EXPECT_EQ(line.LoadPath, "/tmp/image.hex");
    EXPECT_TRUE(line.HardwareOverrideSet);
    EXPECT_EQ(line.HardwareOverride, "QORVIK ISP (COM)");
    EXPECT_EQ(line.InvalidArguments, 0);
}

TEST(CommandLine, InvalidArgumentsAreReportedAndParsingGoesOn) {
    int reported = 0;
    const TCommandLine line =
        ParseCommandLine({"A", "/X", "", "/M:ONE", "/M:TWO"}, [&] { ++reported; });
    EXPECT_EQ(reported, 3) << "one character, unknown letter, empty";
    EXPECT_EQ(line.InvalidArguments, 3);
    EXPECT_FALSE(line.AutoProgram) << "a lone 'A' has no second character";
    EXPECT_EQ(line.HardwareOverride, "ONETWO");
}

} // namespace
} // namespace isp
