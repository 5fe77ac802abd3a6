// Read, verify, program, erase and options through the simulated unit: every catalogue part end
// to end, the documented wire sequences byte for byte, and faults in the middle of operations.
#include "sim_fixture.h"

#include <cstring>
#include <random>

namespace isp::testing {
namespace {

void FillRandom(THexList& buffer, unsigned seed) {
    std::mt19937 random(seed);
    for (int i = 0; i < buffer.Size(); ++i) {
        buffer.Data()[i] = static_cast<std::uint8_t>(random());
    }
}

std::vector<std::string> AllParts() {
    std::vector<std::string> names;
    for (int i = 0; i < DeviceList().Count(); ++i) {
        names.push_back(DeviceList().Items(i).Name);
    }
    return names;
}

class EveryPart : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryPart, ProgramReadVerifyAndCatchAChangedByte) {
    TSimLink link(GetParam());
    ASSERT_TRUE(link.Connect());
    THexList image = link.Buffer();
    FillRandom(image, 7);
    link.programmer.ProgramDevice(image);
    link.services.clock.SleepNs(20'000'000); // the last write cycle

    THexList readBack = link.Buffer();
    link.programmer.ReadDevice(readBack);
    ASSERT_EQ(0, std::memcmp(readBack.Data(), image.Data(), static_cast<std::size_t>(image.Size())))
        << "read back differs";
    link.programmer.VerifyDevice(image);
    EXPECT_TRUE(image.GetStatus(0).Has(ps_verified));
    EXPECT_TRUE(image.GetStatus(static_cast<std::uint32_t>(image.Size() - 1)).Has(ps_verified));
    EXPECT_TRUE(link.log.empty());

    // One byte changed in the chip: verify names it and marks exactly that address.
    const std::uint32_t changed = static_cast<std::uint32_t>(image.Size() / 3);
    link.Chip()[changed] ^= 0x5A;
    try {
        link.programmer.VerifyDevice(image);
        ADD_FAILURE() << "verify passed";
    } catch (const EVerifyError& e) {
        const std::string expected =
            link.device.Family == fam25C
                ? "EEPROM: Verification Failed - Block protection may be enabled"
            : link.device.IsFlash ? "EEPROM: Verification Failed - 2 bytes had errors"
                                  : "EEPROM: Verification Failed - 1 bytes had errors";
        EXPECT_EQ(e.what(), expected);
    }
    for (std::uint32_t a = 0; a < static_cast<std::uint32_t>(image.Size()); ++a) {
        ASSERT_EQ(image.GetStatus(a).Has(ps_failed), a == changed) << a;
    }
    ASSERT_FALSE(link.log.empty());
    char line[80];
    std::snprintf(line, sizeof line, "Verify Failed at %04Xh: Read %02Xh - Should have been %02Xh",
                  changed, link.Chip()[changed], image.GetValue(changed));
    EXPECT_EQ(link.log.front(), line);
    if (link.device.IsFlash) {
        EXPECT_EQ(link.log.back(), "Rechecked Page");
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryPart, ::testing::ValuesIn(AllParts()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name;
                             for (char c : param.param) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(MemoryOps, EraseEveryFamily) {
    for (const char* part : {"24C16", "25C080", "93C56", "AT17LV010(A)", "AT17F040(A)"}) {
        SCOPED_TRACE(part);
        TSimLink link(part);
        ASSERT_TRUE(link.Connect());
        std::fill(link.Chip().begin(), link.Chip().end(), 0x12);
        std::vector<std::pair<std::int32_t, std::int32_t>> progress;
        link.programmer.SetProgressHandler(
            [&](std::int32_t p, std::int32_t t) { progress.emplace_back(p, t); });
        link.programmer.EraseDevice();
        link.services.clock.SleepNs(50'000'000);
        const std::uint8_t blank =
            link.device.Family == famAT17 && !link.device.IsFlash ? 0x00 : 0xFF;
        EXPECT_EQ(std::count(link.Chip().begin(), link.Chip().end(), blank),
                  static_cast<long>(link.Chip().size()));
        if (link.device.IsFlash) {
            ASSERT_GE(progress.size(), 3u);
            EXPECT_EQ(progress[0], std::make_pair(0, 660));
            EXPECT_EQ(progress[1], std::make_pair(1, 660));
            EXPECT_EQ(progress[2], std::make_pair(2, 660));
        }
    }
}

TEST(WireTraces, TwoWire24C02FirstBatch) {
    TSimLink link("24C02");
    ASSERT_TRUE(link.Connect());
    THexList image = link.Buffer();
    FillRandom(image, 1);
    link.programmer.ProgramDevice(image);
    std::string expected = "Xw\xA0w";
    expected += '\0';
    expected += "W\x04" + std::string(reinterpret_cast<const char*>(image.Data()), 4);
    expected +=
        "Xw\xA0w\x04W\x04" + std::string(reinterpret_cast<const char*>(image.Data() + 4), 4);
    ASSERT_FALSE(link.services.blocks.empty());
    EXPECT_EQ(link.services.blocks.front(), expected);
    EXPECT_EQ(link.services.blocks.size(), 32u); // 64 pages, two per write
}

TEST(WireTraces, Spi25C040PagesAtZeroAnd0x100) {
    TSimLink link("25C040");
    ASSERT_TRUE(link.Connect());
    THexList image = link.Buffer();
    FillRandom(image, 2);
    link.programmer.ProgramDevice(image);
    const auto page = [&](unsigned address, char opcode) {
        std::string bytes = "Xw\x06xXw";
        bytes += opcode;
        bytes += 'w';
        bytes += static_cast<char>(address & 0xFF);
        bytes +=
            "W\x10" + std::string(reinterpret_cast<const char*>(image.Data() + address), 16) + "x";
        return bytes;
    };
    ASSERT_EQ(link.services.blocks.size(), 8u); // four pages a write
    EXPECT_EQ(link.services.blocks[0],
              page(0x00, '\x02') + page(0x10, '\x02') + page(0x20, '\x02') + page(0x30, '\x02'));
    EXPECT_EQ(link.services.blocks[4].substr(0, page(0x100, '\x0A').size()), page(0x100, '\x0A'));
}

TEST(WireTraces, Microwire93C46X16Words) {
    TSimLink link("93C46");
    ASSERT_TRUE(link.Connect());
    THexList image = link.Buffer();
    FillRandom(image, 3);
    link.programmer.ProgramDevice(image);
    const std::string word0 = std::string("XW\x09\xA0") + '\0' + "w" +
                              static_cast<char>(image.GetValue(0)) + "w" +
                              static_cast<char>(image.GetValue(1)) + "x";
    const std::string word1 = std::string("XW\x09\xA0\x80w") +
                              static_cast<char>(image.GetValue(2)) + "w" +
                              static_cast<char>(image.GetValue(3)) + "x";
    EXPECT_NE(link.services.written.find(word0 + "Z" + word1 + "Z"), std::string::npos);
    // No ready wait after the last word.
    const std::string last = std::string("XW\x09\xBF\x80w") +
                             static_cast<char>(image.GetValue(126)) + "w" +
                             static_cast<char>(image.GetValue(127)) + "xa$";
    EXPECT_NE(link.services.written.find(last), std::string::npos);
}

TEST(WireTraces, StatusRegisterWrite25C) {
    TSimLink link("25C040");
    ASSERT_TRUE(link.Connect());
    link.programmer.WriteStatusRegister(0x8C);
    const std::string tail = std::string("%Xw\x06xXw\x01w\x8Cx$");
    EXPECT_EQ(link.services.written.substr(link.services.written.size() - tail.size()), tail);
    link.services.clock.SleepNs(10'000'000);
    EXPECT_EQ(link.programmer.ReadStatusRegister(), 0x8C);
}

TEST(WireTraces, ReadSequences) {
    const struct {
        const char* part;
        std::string start; // the first read block's request
    } cases[] = {
        {"24C16", std::string("Xw\xA0w") + '\0' + "Xw\xA1"},
        {"24C512", std::string("Xw\xA0w") + '\0' + "w" + '\0' + "Xw\xA1"},
        {"AT17F040(A)",
         std::string("Xw\xA6w\x01w") + '\0' + "w" + '\0' + "w" + '\0' + "w" + '\0' + "xXw\xA7"},
    };
    for (const auto& c : cases) {
        TSimLink link(c.part);
        ASSERT_TRUE(link.Connect());
        THexList buffer = link.Buffer();
        link.programmer.ReadDevice(buffer);
        ASSERT_FALSE(link.services.blocks.empty()) << c.part;
        EXPECT_EQ(link.services.blocks.front(), c.start) << c.part;
    }
}

TEST(WireTraces, SpiAndMicrowireReads) {
    const struct {
        const char* part;
        std::string sequence;
    } cases[] = {
        {"25C040", std::string("Xw\x03w") + '\0' + "R" + '\0' + "\x02x"}, // the whole 512 bytes
        {"25C080", std::string("Xw\x03w") + '\0' + "w" + '\0' + "R" + '\0' + "\x04x"},
        {"93C46", std::string("XW\x09\xC0") + '\0' + "R\x80" + '\0' + "x"},
    };
    for (const auto& c : cases) {
        TSimLink link(c.part);
        ASSERT_TRUE(link.Connect());
        THexList buffer = link.Buffer();
        link.programmer.ReadDevice(buffer);
        EXPECT_NE(link.services.written.find(c.sequence), std::string::npos) << c.part;
    }
}

TEST(MemoryOps, OptionBytesOfTheAt17) {
    TSimLink link("AT17LV512(A)");
    ASSERT_TRUE(link.Connect());
    link.programmer.resetPolarityLow = true;
    THexList image = link.Buffer();
    image.SetValue(0, 0x42);
    link.programmer.ProgramDevice(image); // writes the reset polarity after the pages
    EXPECT_EQ(link.programmer.ReadResetPolarity(), 0xFF);
    EXPECT_TRUE(link.programmer.WriteInternalRc(true));
    link.services.clock.SleepNs(10'000'000);
    EXPECT_EQ(link.Chip()[0], 0x42);
}

TEST(MemoryOps, Microwire93C66WriteAllX16) {
    TSimLink link("93C66");
    ASSERT_TRUE(link.Connect());
    link.programmer.WriteStatusRegister(0x5A);
    EXPECT_EQ(std::count(link.Chip().begin(), link.Chip().end(), 0x5A), 512);
    EXPECT_NE(link.services.written.find("w\x5Aw\x5AxZ"), std::string::npos);
}

TEST(MemoryOps, PageSizesThatCannotWorkAreRefusedBeforeAnythingIsSent) {
    TSimLink link("25C040");
    ASSERT_TRUE(link.Connect());
    THexList image = link.Buffer();
    for (std::uint32_t page : {0u, 48u}) {
        link.programmer.pageSize = page;
        try {
            link.programmer.ProgramDevice(image);
            ADD_FAILURE() << page;
        } catch (const EISPException& e) {
            EXPECT_NE(std::string(e.what()).find("Page Size"), std::string::npos) << e.what();
        }
        EXPECT_TRUE(link.services.written.empty());
    }
}

TEST(MemoryOps, AbortMidVerifyStillEndsTheSession) {
    TSimLink link("24C256");
    ASSERT_TRUE(link.Connect());
    THexList image = link.Buffer();
    int blocks = 0;
    link.programmer.SetProgressHandler([&](std::int32_t position, std::int32_t) {
        if (position > 0 && ++blocks == 2) {
            throw EAbortOp(msg::OperationAborted);
        }
    });
    EXPECT_THROW(link.programmer.VerifyDevice(image), EAbortOp);
    // The closing steps: "P" "FF" ends the session even after the abort.
    const std::string& w = link.services.written;
    EXPECT_EQ(w.substr(w.size() - 3), "PFF");
}

TEST(MemoryOps, FaultsDuringOperations) {
    {
        sim::TUnitConfig config;
        sim::AddFault(config.faults, "drop=40");
        TSimLink link("24C02", config);
        ASSERT_TRUE(link.Connect());
        THexList buffer = link.Buffer();
        EXPECT_THROW(link.programmer.ReadDevice(buffer), EISPException);
        link.programmer.ReopenPort();
        EXPECT_NO_THROW(link.programmer.ReadDevice(buffer));
    }
    {
        sim::TUnitConfig config;
        sim::AddFault(config.faults, "error=12:T");
        TSimLink link("24C02", config);
        ASSERT_TRUE(link.Connect());
        THexList buffer = link.Buffer();
        try {
            link.programmer.ReadDevice(buffer);
            ADD_FAILURE();
        } catch (const EISPException& e) {
            EXPECT_STREQ(e.what(), "Program/erase BUSY timed out");
            EXPECT_EQ(e.Source, "QORVIK ISP (COM)");
        }
    }
    {
        // A part slower than the write delay loses pages; verify catches it.
        sim::TUnitConfig config;
        sim::AddFault(config.faults, "write-cycle=9");
        TSimLink link("24C64", config);
        ASSERT_TRUE(link.Connect());
        THexList image = link.Buffer();
        FillRandom(image, 4);
        link.programmer.ProgramDevice(image);
        EXPECT_THROW(link.programmer.VerifyDevice(image), EVerifyError);
    }
    {
        // Block protection: the writes are ignored and verify says why it may be.
        sim::TUnitConfig config;
        TSimLink link("25C040", config);
        ASSERT_TRUE(link.Connect());
        link.programmer.WriteStatusRegister(0x0C);
        link.services.clock.SleepNs(10'000'000);
        THexList image = link.Buffer();
        FillRandom(image, 5);
        link.programmer.ProgramDevice(image);
        try {
            link.programmer.VerifyDevice(image);
            ADD_FAILURE();
        } catch (const EVerifyError& e) {
            EXPECT_STREQ(e.what(), "EEPROM: Verification Failed - Block protection may be enabled");
        }
    }
}

} // namespace
} // namespace isp::testing
