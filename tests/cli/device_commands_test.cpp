// The device commands against isp-sim: program with verify, read back, a mismatch, erase, and
// the option commands, with their exit codes.
#include "support/cli_fixture.h"
#include "support/isp_sim_process.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace isp::cli {
namespace {

class DeviceCommandsTest : public isp::testing::CliFixture {
protected:
    std::string Random(std::size_t size, const std::string& name) const {
        std::string data(size, '\0');
        std::mt19937 random(11);
        for (char& c : data) {
            c = static_cast<char>(random());
        }
        Write(name, data);
        return data;
    }
};

TEST_F(DeviceCommandsTest, ProgramVerifyReadEraseOn25C) {
    const std::string link = Path("port");
    isp::testing::IspSimProcess sim({"--device", "25C080", "--link", link});
    const std::string image = Random(1024, "image.bin");
    const std::vector<std::string> common = {"--port", link, "--device", "25C080"};
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), common.begin(), common.end());
        return args;
    };
    ASSERT_EQ(Run(with({"program", Path("image.bin"), "--verify"})), kExitOk) << err_;
    EXPECT_NE(out_.find("Verified 25C080: the chip matches"), std::string::npos) << out_;

    ASSERT_EQ(Run(with({"read", Path("back.bin")})), kExitOk) << err_;
    EXPECT_TRUE(Read(Path("back.bin")) == image);

    std::string changed = image;
    changed[0x123] = static_cast<char>(changed[0x123] ^ 0x01);
    std::ofstream(Path("changed.bin"), std::ios::binary) << changed;
    EXPECT_EQ(Run(with({"verify", Path("changed.bin")})), kExitMismatch);
    EXPECT_NE(err_.find("Verify Failed at 0123h"), std::string::npos) << err_;
    EXPECT_NE(
        err_.find("eeprom-isp: EEPROM: Verification Failed - Block protection may be enabled"),
        std::string::npos);

    ASSERT_EQ(Run(with({"status-register", "--write", "0x0C"})), kExitOk) << err_;
    ASSERT_EQ(Run(with({"status-register"})), kExitOk) << err_;
    EXPECT_EQ(out_, "Status register: 0x0C\n");
    ASSERT_EQ(Run(with({"status-register", "--write", "0"})), kExitOk) << err_;

    ASSERT_EQ(Run(with({"erase"})), kExitOk) << err_;
    ASSERT_EQ(Run(with({"read", Path("erased.bin")})), kExitOk) << err_;
    EXPECT_EQ(Read(Path("erased.bin")), std::string(1024, '\xFF'));

    EXPECT_EQ(Run(with({"program", Path("missing.bin")})), kExitFailure);
    EXPECT_EQ(Run(with({"program", Path("image.bin"), "--page-size", "48"})), kExitFailure);
    EXPECT_NE(err_.find("Page Size 48 does not divide"), std::string::npos) << err_;
    EXPECT_EQ(Run(with({"program", Path("image.bin"), "--clock", "warp"})), kExitUsage);
}

TEST_F(DeviceCommandsTest, At17OptionsAndAMissingChip) {
    const std::string link = Path("port");
    isp::testing::IspSimProcess sim({"--device", "AT17LV010(A)", "--link", link});
    Random(4096, "config.bin");
    const std::vector<std::string> common = {"--port", link, "--device", "AT17LV010(A)"};
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), common.begin(), common.end());
        return args;
    };
    ASSERT_EQ(Run(with({"program", Path("config.bin"), "--verify", "--polarity-low"})), kExitOk)
        << err_;
    ASSERT_EQ(Run(with({"reset-polarity"})), kExitOk) << err_;
    EXPECT_EQ(out_, " Reset Polarity is Low\n");
    ASSERT_EQ(Run(with({"internal-rc", "on"})), kExitOk) << err_;
    EXPECT_EQ(Run(with({"internal-rc", "maybe"})), kExitUsage);

    // The socket holds an AT17: asking for a 24C finds no device.
    EXPECT_EQ(Run({"read", Path("x.bin"), "--port", link, "--device", "24C02"}), kExitFailure);
    EXPECT_EQ(err_, "eeprom-isp: No Device Detected - Check Device Family (24, 25, 93, 17), Bus "
                    "Address and Connections\n");
}

} // namespace
} // namespace isp::cli
