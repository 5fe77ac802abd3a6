// detect and convert from the command line: results, exit codes and one-line errors.
#include "support/cli_fixture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace isp::cli {
namespace {

using ConvertTest = isp::testing::CliFixture;

const std::string kSrec = "S1060010010203E3\r\nS9030000FC\r\n";

TEST_F(ConvertTest, DetectPrintsNumberAndName) {
    ASSERT_EQ(Run({"detect", Write("a.s", kSrec)}), kExitOk);
    EXPECT_EQ(out_, "4 Motorola EXORciser |*.s\n");
    ASSERT_EQ(Run({"detect", Write("empty", "")}), kExitOk);
    EXPECT_EQ(out_, "-2 File empty or binary\n");
    EXPECT_EQ(Run({"detect", Path("missing")}), kExitFailure);
    EXPECT_EQ(err_, "eeprom-isp: " + Path("missing") + ": file not found\n");
}

TEST_F(ConvertTest, ConvertsByExtensionOrByName) {
    const std::string in = Write("a.s", kSrec);
    ASSERT_EQ(Run({"convert", in, Path("out.hex"), "--size", "256"}), kExitOk) << err_;
    EXPECT_EQ(Read(Path("out.hex")), ":03001000010203E7\r\n:00000001FF\r\n");
    EXPECT_NE(out_.find("Intel Intellex 8/MDS"), std::string::npos);

    ASSERT_EQ(Run({"convert", in, Path("out.bin"), "--size", "0x20"}), kExitOk) << err_;
    EXPECT_EQ(Read(Path("out.bin")),
              std::string(16, '\xFF') + "\x01\x02\x03" + std::string(13, '\xFF'));

    ASSERT_EQ(Run({"convert", in, Path("out.txt"), "--size", "1K", "--to", "tek"}), kExitOk);
    EXPECT_EQ(Read(Path("out.txt")), "/0010030401020306\r\n/00000000\r\n");
    ASSERT_EQ(Run({"convert", in, Path("out.txt"), "--size=1K", "--to=10"}), kExitOk);
    EXPECT_EQ(Read(Path("out.txt")), "0010:01\r\n0011:02\r\n0012:03\r\n");
}

TEST_F(ConvertTest, MirrorReversesEveryBit) {
    const std::string in = Write("a.bin", std::string("\x01\xA0", 2));
    ASSERT_EQ(Run({"convert", in, Path("m.bin"), "--size", "2", "--mirror"}), kExitOk) << err_;
    EXPECT_EQ(Read(Path("m.bin")), std::string("\x80\x05", 2));
}

TEST_F(ConvertTest, FailuresExitWithOneAndSayWhy) {
    const std::string in = Write("a.s", kSrec);
    const std::string old = Write("old.hex", "previous");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"convert", Path("nope"), Path("o.hex"), "--size", "256"}, "file not found"},
        {{"convert", in, Path("o.hex"), "--size", "16"}, "outside the 16-byte buffer"},
        {{"convert", Write("b.bin", std::string(17, '\x01')), Path("o.hex"), "--size", "16"},
         "file larger than the 16-byte buffer"},
        {{"convert", in, Path("no/dir/o.hex"), "--size", "256"}, "Cannot write"},
        {{"convert", Write("big.s", "S2050100000FEB\r\n"), old, "--size", "2M", "--to", "tek"},
         "Tektronix files hold addresses up to 0xFFFF only"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), kExitFailure) << c.message;
        EXPECT_NE(err_.find(c.message), std::string::npos) << err_;
        EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << err_;
    }
    EXPECT_EQ(Read(old), "previous");
}

TEST_F(ConvertTest, UsageErrors) {
    const std::string in = Write("a.s", kSrec);
    const std::vector<std::vector<std::string>> cases = {
        {"convert", in, Path("o.hex")},
        {"convert", in, Path("o.hex"), "--size", "0"},
        {"convert", in, Path("o.hex"), "--size", "12Q"},
        {"convert", in, Path("o.hex"), "--size", "65M"},
        {"convert", in, Path("o.hex"), "--size", "16", "--to", "elf"},
        {"convert", in, "--size", "16"},
        {"detect"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(Run(args), kExitUsage) << args.back();
        EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << err_;
    }
}

} // namespace
} // namespace isp::cli
