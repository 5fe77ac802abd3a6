// Settings files, the per-user store, COM port names and the USB adapter's latency timer, on
// files and fake device trees made by the tests.
#include "fileformats/textfile.h"
#include "platform/latency_timer.h"
#include "platform/port_directory.h"
#include "platform/settings_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace fs = std::filesystem;

namespace isp {
namespace {

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() / ("isp-platform-" + std::to_string(std::random_device{}()));
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        fs::create_directories((root_ / name).parent_path());
        std::ofstream(root_ / name) << text;
    }
    fs::path root_;
};

TEST_F(PlatformTest, IniFilesStayPlainNameValueLines) {
    TIniFileBackend files;
    TUserStoreBackend user(Path("settings"));
    TISPSettings settings(user, files);
    settings.WriteSetting("CONFIG", "FlashFile", 0, "C:\\Images\\boot.hex");
    settings.WriteSetting("CONFIG", "Device", 0, "24C02");
    settings.WriteSetting("AUTOPROGRAM", "Verify", 0, true);
    settings.SaveGroup(Path("work.prj"), true, 0);
    EXPECT_EQ(ReadWholeFile(Path("work.prj")),
              "[CONFIG]\r\nFlashFile=C:\\Images\\boot.hex\r\nDevice=24C02\r\n\r\n"
              "[AUTOPROGRAM]\r\nVerify=True\r\n");

    // A file of an older installation: LF endings, spaces, comments, stray lines.
    Write("old.prj", "; saved by an old version\n[CONFIG]\nDevice = AT17LV010(A)\nnoise\n"
                     "FlashFile=D:\\a=b.hex\n");
    settings.LoadGroup(Path("old.prj"), true, 0);
    EXPECT_EQ(settings.ReadSetting("CONFIG", "Device", "").ToText(), "AT17LV010(A)");
    EXPECT_EQ(settings.ReadSetting("CONFIG", "FlashFile", "").ToText(), "D:\\a=b.hex");
    EXPECT_EQ(settings.Settings().size(), 2u);
}

TEST_F(PlatformTest, UserStoreKeepsOneFilePerKeyAndReplacesItWhole) {
    TIniFileBackend files;
    TUserStoreBackend user(Path("settings"));
    TISPSettings settings(user, files);
    settings.WriteSetting("QORVIK ISP (COM)", "BASEPORT", 1, 2);
    settings.WriteSetting("ENVIRONMENT", "Device", 1, "24C02");
    settings.SaveGroup(GlobalSettingsKey(), false, 1);
    const std::string file = user.FileFor(GlobalSettingsKey());
    EXPECT_EQ(file, Path("settings/Software/velmar/QorvikISP1/GLOBAL.ini"));
    ASSERT_TRUE(fs::exists(file));

    settings.ClearGroup(1);
    settings.WriteSetting("ENVIRONMENT", "Device", 1, "25C040");
    settings.SaveGroup(GlobalSettingsKey(), false, 1); // the programmer section is gone now
    TISPSettings fresh(user, files);
    fresh.LoadGroup(GlobalSettingsKey(), false, 1);
    EXPECT_EQ(fresh.ReadSetting("ENVIRONMENT", "Device", "").ToText(), "25C040");
    EXPECT_EQ(fresh.ReadSetting("QORVIK ISP (COM)", "BASEPORT", -1).ToInt(), -1);
    // No temporary files are left behind.
    for (const auto& entry : fs::recursive_directory_iterator(Path("settings"))) {
        EXPECT_NE(entry.path().extension(), ".tmp");
    }
}

TEST_F(PlatformTest, SettingsFolderCanBeRedirected) {
    setenv("ISP_SETTINGS_DIR", Path("elsewhere").c_str(), 1);
    EXPECT_EQ(SettingsFolder(), Path("elsewhere"));
    unsetenv("ISP_SETTINGS_DIR");
    setenv("XDG_CONFIG_HOME", Path("xdg").c_str(), 1);
    EXPECT_EQ(SettingsFolder(), Path("xdg/serial-eeprom-isp"));
    unsetenv("XDG_CONFIG_HOME");
}

// A fake sysfs with one FTDI adapter per entry.
void FakeAdapter(const fs::path& sysfs, const std::string& tty, const std::string& vendor,
                 const std::string& product, const std::string& serial, const std::string& timer) {
    const fs::path usb = sysfs / "devices" / ("usb-" + tty);
    const fs::path ttyDir = usb / "1-1:1.0" / tty;
    fs::create_directories(ttyDir);
    std::ofstream(usb / "idVendor") << vendor << "\n";
    std::ofstream(usb / "idProduct") << product << "\n";
    std::ofstream(usb / "serial") << serial << "\n";
    std::ofstream(ttyDir / "latency_timer") << timer << "\n";
    fs::create_directories(sysfs / "bus" / "usb-serial" / "devices");
    fs::create_directory_symlink(ttyDir, sysfs / "bus" / "usb-serial" / "devices" / tty);
}

TEST_F(PlatformTest, LatencyTimerIsLoweredOnlyOnTheProgrammersAdapter) {
    const fs::path sysfs = Path("sys");
    FakeAdapter(sysfs, "ttyUSB0", "0403", "6015", "QorvikISPA", "16");
    FakeAdapter(sysfs, "ttyUSB1", "0403", "6015", "QorvikISPA", "1");
    FakeAdapter(sysfs, "ttyUSB2", "0403", "6001", "OtherThing", "16");
    EXPECT_EQ(LowerLatencyTimer(sysfs.string()), 1);
    const auto timer = [&](const char* tty) {
        return ReadWholeFile((sysfs / "bus/usb-serial/devices" / tty / "latency_timer").string());
    };
    EXPECT_EQ(timer("ttyUSB0"), "2\n");
    EXPECT_EQ(timer("ttyUSB1"), "1\n");
    EXPECT_EQ(timer("ttyUSB2"), "16\n");
    EXPECT_EQ(LowerLatencyTimer(Path("no-sysfs")), 0); // nothing there: silent
}

TEST_F(PlatformTest, PortNumbersStayWithTheirDevices) {
    const fs::path dev = Path("dev");
    fs::create_directories(dev / "serial" / "by-id");
    std::ofstream(dev / "ttyUSB0");
    std::ofstream(dev / "ttyACM0");
    fs::create_symlink(dev / "ttyUSB0", dev / "serial/by-id/usb-FTDI_QorvikISPA-if00-port0");
    const std::string table = Path("settings/ports.ini");
    {
        TPortDirectory ports(table, dev.string());
        const auto list = ports.List();
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0].comName, "COM1");
        EXPECT_EQ(list[0].identity, (dev / "serial/by-id/usb-FTDI_QorvikISPA-if00-port0").string());
        EXPECT_EQ(list[0].devicePath, (dev / "ttyUSB0").string());
        EXPECT_EQ(list[1].comName, "COM2");
        EXPECT_EQ(list[1].devicePath, (dev / "ttyACM0").string());
    }
    // Re-plugged into another socket: the adapter is ttyUSB1 now, and keeps COM1.
    fs::remove(dev / "ttyUSB0");
    fs::remove(dev / "serial/by-id/usb-FTDI_QorvikISPA-if00-port0");
    std::ofstream(dev / "ttyUSB1");
    fs::create_symlink(dev / "ttyUSB1", dev / "serial/by-id/usb-FTDI_QorvikISPA-if00-port0");
    // A pseudo-terminal that enumeration does not see, added by path.
    std::ofstream(Path("pts-7"));
    fs::create_symlink(Path("pts-7"), Path("isp-port"));
    TPortDirectory ports(table, dev.string());
    EXPECT_EQ(ports.Add(Path("isp-port")), 3);
    const auto list = ports.List();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].devicePath, (dev / "ttyUSB1").string());
    EXPECT_EQ(list[0].comName, "COM1");
    EXPECT_EQ(list[2].comName, "COM3");
    EXPECT_EQ(list[2].devicePath, Path("pts-7"));
    EXPECT_EQ(ports.DevicePath("COM3"), Path("pts-7"));
    EXPECT_EQ(ports.DevicePath("COM9"), std::nullopt);
}

TEST(PortNames, ParsedLikeTheOptionsDialog) {
    EXPECT_EQ(PortIndexFromName("COM4"), 3);
    EXPECT_EQ(PortIndexFromName("COM12"), 11);
    EXPECT_EQ(PortIndexFromName("COM123"), 11); // first two digits only
    EXPECT_EQ(PortIndexFromName("COM"), -1);
    EXPECT_EQ(PortIndexFromName("LPTx"), -1);
    EXPECT_EQ(PortNameFromIndex(9), "COM10");
}

} // namespace
} // namespace isp
