// The USB link's bytes, one by one, and its error paths, against a scripted port.
#include "fake_services.h"
#include "memory_backend.h"
#include "model/isperrors.h"

namespace isp::testing {
namespace {

class SerialLinkTest : public ::testing::Test {
protected:
    SerialLinkTest() : settings(userStore, files), programmer(services) {
        TISPProgrammer::ClockCode = 1;
        programmer.SetHardwareName("QORVIK ISP (COM)");
        programmer.SetSettingsStore(settings);
        Use("24C02");
    }

    void Use(const char* name) {
        programmer.SetDevice(*DeviceList().FindByName(name, kUsbProgrammerKind));
    }
    TScriptedPort& Port() { return *services.port; }

    // Connects with the documented exchange on the port at portIndex.
    void ConnectAt(int portIndex) {
        settings.WriteSetting("QORVIK ISP (COM)", "BASEPORT", 1, portIndex);
        Port().Expect("*", "\r");
        Port().Expect("S", "EEPROMISP\r");
        Port().Expect("v", "1.00\r");
        Port().Expect("E01", "\r");
        Port().Expect("U", "\r");
        ASSERT_TRUE(programmer.Connect());
        Port().written.clear();
    }

    // Expects the exception and returns its message, checking its Source.
    template <typename E = EISPException>
    std::string Raised(const std::function<void()>& f, const std::string& source = "") {
        try {
            f();
        } catch (const E& e) {
            if constexpr (std::is_same_v<E, EISPException>) {
                EXPECT_EQ(e.Source, source);
            }
            return e.what();
        }
        ADD_FAILURE() << "nothing raised";
        return {};
    }

    TMemoryBackend userStore, files;
    TISPSettings settings;
    TFakeServices services;
    TSmartSerial programmer;
};

TEST_F(SerialLinkTest, ConnectExchangeByteForByte) {
    ConnectAt(2);
    EXPECT_TRUE(programmer.connected);
    EXPECT_EQ(Port().opened, std::vector<std::string>{"/dev/fake-COM3"});
    EXPECT_EQ(Port().dtr, (std::vector<bool>{true, false}));
    EXPECT_GE(services.clock.NowNs(), 300'000'000); // 50 ms with DTR, 250 ms after
    EXPECT_EQ(programmer.eepromProgTime, 5);        // the device's write time
    EXPECT_TRUE(Port().script.empty());
}

TEST_F(SerialLinkTest, PortNamesAndMissingPorts) {
    programmer.portIndex = 9;
    EXPECT_EQ(programmer.PortName(), "COM10");
    settings.WriteSetting("QORVIK ISP (COM)", "BASEPORT", 1, 3);
    EXPECT_EQ(Raised([&] { programmer.Connect(); }),
              "COM Port COM4 is not available - check hardware and Options");
    settings.WriteSetting("QORVIK ISP (COM)", "BASEPORT", 1, 0);
    Port().openResult = false;
    EXPECT_EQ(Raised([&] { programmer.Connect(); }),
              "COM Port COM1 is not available - check hardware and Options");
    EXPECT_FALSE(programmer.connected);
}

TEST_F(SerialLinkTest, WakeUpAndIdentity) {
    settings.WriteSetting("QORVIK ISP (COM)", "BASEPORT", 1, 0);
    // A '?' answer to '*' is followed by exactly one more byte.
    Port().Expect("*", "?x");
    Port().Expect("S", "EEPROMISQ\r");
    Raised<EFirmwareMisMatch>([&] { programmer.Connect(); });
    EXPECT_EQ(Port().written, "*S");
    EXPECT_FALSE(programmer.connected);

    // No answer at all: a communications error without the hardware name (raised again).
    EXPECT_EQ(Raised([&] { programmer.Connect(); }),
              "Communications with ISP failed during this operation");
}

TEST_F(SerialLinkTest, PrepareTargetPerFamily) {
    ConnectAt(0);
    const struct {
        const char* part;
        int clock;
        int bus;
        std::string bytes;
    } cases[] = {
        {"24C02", 1, 3, "M00E01pNA6"},  {"24C16", 1, 0, "M00E01pNA0"},
        {"25C040", 0, 0, "M01E01pNA0"}, // clock code 0 becomes 1 for SPI
        {"93C46", 0, 0, "M02E01pNA0"},  {"AT17LV512(A)", 0, 0, "e00M00E00pNA6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part);
        Use(c.part);
        TISPProgrammer::ClockCode = c.clock;
        programmer.targetOptions.busNumber = c.bus;
        Port().written.clear();
        // Every checked command answers CR; the poll acknowledges.
        const std::string& bytes = c.bytes;
        std::size_t at = 0;
        while (at < bytes.size()) {
            const std::size_t len = (bytes[at] == 'p') ? 1 : 3;
            Port().Expect(bytes.substr(at, len), "\r");
            at += len;
        }
        programmer.EnsureTarget();
        EXPECT_EQ(Port().written, bytes);
    }
    EXPECT_EQ(TISPProgrammer::ClockCode, 0); // AT17 left it alone
}

TEST_F(SerialLinkTest, MicrowireGeometryFollowsTheOrganisation) {
    ConnectAt(0);
    const struct {
        const char* part;
        int mode;
        int bits, shift;
    } cases[] = {{"93C46", 16, 9, 7},
                 {"93C46", 8, 10, 6},
                 {"93C57", 16, 10, 6},
                 {"93C86", 8, 14, 2},
                 {"93C66", 16, 11, 5}};
    for (const auto& c : cases) {
        Use(c.part);
        programmer.SetProgMode(static_cast<std::uint8_t>(c.mode));
        for (const char* step : {"M02", "E01", "p", "N00"}) {
            Port().Expect(step, "\r");
        }
        programmer.EnsureTarget();
        EXPECT_EQ(programmer.mwBitCount, c.bits) << c.part << " x" << c.mode;
        EXPECT_EQ(programmer.mwShift, c.shift) << c.part << " x" << c.mode;
    }
}

TEST_F(SerialLinkTest, TargetChecks) {
    ConnectAt(0);
    Port().Expect("M00", "\r");
    Port().Expect("E01", "\r");
    Port().Expect("p", "?p");
    EXPECT_EQ(Raised([&] { programmer.EnsureTarget(); }),
              "No Target Voltage - Check Power and Connections");

    // Nine unacknowledged polls and then an acknowledge: the device is there.
    programmer.deviceAddressByte = 0xA0;
    for (int i = 0; i < 9; ++i) {
        Port().Expect("NA0", "?N");
    }
    Port().Expect("NA0", "\r");
    EXPECT_TRUE(programmer.AckPoll(true));
    for (int i = 0; i < 10; ++i) {
        Port().Expect(std::string("n\xA0", 2), "?N");
    }
    EXPECT_FALSE(programmer.AckPoll(false));
    Port().Expect("NA0", "?X");
    EXPECT_EQ(Raised([&] { programmer.AckPoll(true); }),
              "Target Connection Lost - Check Power, Connections and Click RESET button");

    for (const char* step : {"M00", "E01", "p"}) {
        Port().Expect(step, "\r");
    }
    for (int i = 0; i < 10; ++i) {
        Port().Expect("NA0", "?N");
    }
    EXPECT_EQ(Raised([&] { programmer.EnsureTarget(); }),
              "No Device Detected - Check Device Family (24, 25, 93, 17), Bus Address and "
              "Connections");
}

TEST_F(SerialLinkTest, I2cAddressByteAndItsWarning) {
    const struct {
        const char* part;
        int bus;
        std::uint8_t address;
        const char* warning;
    } cases[] = {
        {"24C02", 3, 0xA6, nullptr},
        {"24C02", 9, 0xB2, "Device Address Pins only  allow bus addresses of 0 to 7"},
        {"24C04", 3, 0xAC, nullptr},
        {"24C08", 2, 0xB0, "Device Address Pins only  allow bus addresses of 0 to 1"},
        {"24C16", 1, 0xA0, "Device Address Pins only  allow bus addresses of 0 to 0"},
        {"24C1024", 1, 0xA4, nullptr},
        {"24C00", 5, 0xA0, nullptr}, // no pin table: no warning
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part);
        Use(c.part);
        services.warnings.clear();
        programmer.targetOptions.busNumber = c.bus;
        EXPECT_EQ(programmer.ComputeI2cAddress(), c.address);
        EXPECT_EQ(services.warnings,
                  c.warning ? std::vector<std::string>{c.warning} : std::vector<std::string>{});
    }
}

TEST_F(SerialLinkTest, ErrorCodesAndTimeOuts) {
    ConnectAt(0);
    const struct {
        std::string reply;
        std::string message;
    } cases[] = {
        {"?!", "Programmer Error: Reset Programmer"},
        {"?#", "Programmer Error: Invalid number sent"},
        {"?%", "BlankCheck Failed"},
        {"?M", "illegal attempt to use microwire"},
        {"?T", "Program/erase BUSY timed out"},
        {"?m", "Microwire exchange out of sync"},
        {"?Q", "Communications with ISP failed during this operation"},
        {"Z", "Communications with ISP failed during this operation"},
        {"", "Communications with ISP failed during this operation"},
    };
    for (const auto& c : cases) {
        Port().Expect("U", c.reply);
        EXPECT_EQ(Raised([&] { programmer.SendCommand('U'); }, "QORVIK ISP (COM)"), c.message)
            << c.reply;
        Port().rx.clear();
    }
    Port().Expect("U", "?V");
    EXPECT_EQ(Raised<EVerifyError>([&] { programmer.SendCommand('U'); }),
              "Your target device failed verification");
}

TEST_F(SerialLinkTest, BatchesCollectOneReplyPerCommand) {
    ConnectAt(0);
    for (std::uint8_t b : TBytes{'X', 'w', 0xA0, 'x'}) {
        programmer.QueueByte(b);
    }
    Port().Expect(std::string("Xw\xA0x", 4), "\r\r\r");
    programmer.FlushBatch(3);
    EXPECT_EQ(programmer.transferLength, 0);

    // Only four of five replies: the collection gives up after 100 pauses.
    for (std::uint8_t b : TBytes{'U', 'U', 'U', 'U', 'U'}) {
        programmer.QueueByte(b);
    }
    Port().Expect("UUUUU", "\r\r\r\r");
    const std::int64_t before = services.clock.NowNs();
    EXPECT_EQ(Raised([&] { programmer.FlushBatch(5); }, "QORVIK ISP (COM)"),
              "Communications with ISP failed during this operation");
    EXPECT_GE(services.clock.NowNs() - before, 100'000'000);
}

TEST_F(SerialLinkTest, ReadBytesAndWriteBits) {
    ConnectAt(0);
    Port().Expect(std::string("R\x03\x00", 3), "abc\r");
    EXPECT_EQ(programmer.ReadBytes(3), (TBytes{'a', 'b', 'c'}));
    Port().Expect(std::string("W\x09\xA0\x80", 4), "\r");
    programmer.WriteBits(9, {0xA0, 0x80});
    EXPECT_TRUE(Port().script.empty());
}

TEST_F(SerialLinkTest, DisconnectFreesAndSavesEvenWhenTheUnitIsSilent) {
    ConnectAt(2);
    programmer.eepromProgTime = 7;
    programmer.Disconnect();
    EXPECT_FALSE(programmer.connected);
    EXPECT_EQ(programmer.port, nullptr);
    EXPECT_FALSE(programmer.portCreated);
    EXPECT_EQ(settings.ReadSetting("QORVIK ISP (COM)", "EEPROMtime", 0).ToInt(), 7);
    EXPECT_EQ(settings.ReadSetting("QORVIK ISP (COM)", "BASEPORT", 0).ToInt(), 2);
}

TEST_F(SerialLinkTest, EnsureTargetDropsTheSource) {
    ConnectAt(0);
    Port().Expect("M00", "?!");
    EXPECT_EQ(Raised([&] { programmer.EnsureTarget(); }, ""), "Programmer Error: Reset Programmer");
}

TEST_F(SerialLinkTest, KeepAlivesWhileWaiting) {
    ConnectAt(0);
    int keepAlives = 0;
    programmer.SetProgressHandler([&](std::int32_t position, std::int32_t total) {
        EXPECT_EQ(position, -1);
        EXPECT_EQ(total, -1);
        if (++keepAlives == 5) {
            throw EAbortOp(msg::OperationAborted);
        }
    });
    EXPECT_THROW(programmer.ReadByte(true), EAbortOp);
    EXPECT_EQ(keepAlives, 5);
}

TEST_F(SerialLinkTest, InformationReportWithoutAUnit) {
    programmer.portIndex = 4;
    programmer.maxReadTimeout = programmer.maxWriteTimeout = 50000;
    EXPECT_EQ(
        programmer.InformationReport(),
        (std::vector<std::string>{
            "======== Programmer Connection =======", "Hardware Selected: QORVIK ISP (COM)",
            "Connection Method: Serial Port", "Port Number: 5", "*Driver Status: Not Connected",
            "Max Read Timeout: 50000", "Max Write Timeout: 50000",
            "*Communications to Programmer Failed", "======== General Information ======="}));
}

TEST_F(SerialLinkTest, SettingsDefaultsAndNotSupportedSlots) {
    programmer.LoadSettings();
    EXPECT_EQ(programmer.portIndex, kNoPort);
    EXPECT_EQ(TISPProgrammer::ClockCode, 1);
    EXPECT_EQ(programmer.progMode, 16);
    EXPECT_TRUE(programmer.msbFirst);
    EXPECT_EQ(programmer.eepromProgTime, 5);
    EXPECT_EQ(programmer.maxReadTimeout, 50000);
    settings.WriteSetting("QORVIK ISP (COM)", "ProgMode", 1, 8);
    settings.WriteSetting("QORVIK ISP (COM)", "EEPROMtime", 1, 0x1FF);
    programmer.LoadSettings();
    EXPECT_EQ(programmer.progMode, 8); // read as "progMode", letter case ignored
    EXPECT_EQ(programmer.eepromProgTime, 0xFF);

    EXPECT_EQ(programmer.GetProgrammerType(), "EEPROMISP");
    EXPECT_EQ(programmer.GetDeviceFamily(), fam24C);
    EXPECT_EQ(Raised([&] { programmer.SetSlowTarget(true); }),
              "SetSlowTarget is not supported by this programmer");
    EXPECT_THROW(programmer.RunTimingVector('a', 1), EISPException);
    EXPECT_THROW(programmer.TargetPresent(), EISPException);
}

} // namespace
} // namespace isp::testing
