#include "cli/cli.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace isp::cli {
namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result RunCommand(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(Cli, HelpNamesEveryCommand) {
    for (const char* word : {"--help", "-h", "help"}) {
        const Result r = RunCommand({word});
        EXPECT_EQ(r.code, kExitOk);
        EXPECT_NE(r.out.find("Usage: eeprom-isp"), std::string::npos);
        EXPECT_NE(r.out.find("devices"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
}

TEST(Cli, Version) {
    const Result r = RunCommand({"--version"});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out.rfind("eeprom-isp ", 0), 0u);
}

TEST(Cli, DevicesListsTheWholeCatalogueInOrder) {
    const Result r = RunCommand({"devices"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 60u); // heading + 59 parts
    EXPECT_EQ(lines[0].rfind("Name", 0), 0u);
    EXPECT_EQ(lines[1], "24C00          24C           16       0      1         5");
    EXPECT_EQ(lines[53], "AT17LV512(A)   AT17       65536       0    128         0  "
                         "reset-polarity@0x20000 internal-rc@0x380000");
    EXPECT_EQ(lines[59], "AT17F16(A)     AT17     2097152       0    256       100  flash");
}

TEST(Cli, DevicesFiltersByFamily) {
    const Result r = RunCommand({"devices", "--family", "93C"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[1].rfind("93C06 ", 0), 0u);
    EXPECT_EQ(lines[7].rfind("93C86 ", 0), 0u);
    EXPECT_EQ(Lines(RunCommand({"devices", "--family=at17"}).out).size(), 9u);
}

TEST(Cli, UsageErrorsExitWithTwoAndOneLine) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"devices", "--family"},
        {"devices", "--family", "27C"},
        {"devices", "--colour"},
        {"devices", "extra"},
    };
    for (const auto& args : cases) {
        const Result r = RunCommand(args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_EQ(r.out, "");
        const auto lines = Lines(r.err);
        ASSERT_EQ(lines.size(), 1u) << r.err;
        EXPECT_EQ(lines[0].rfind("eeprom-isp: ", 0), 0u) << lines[0];
    }
}

} // namespace
} // namespace isp::cli
