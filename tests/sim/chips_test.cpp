// Chip models at bus level, against the behaviour of the parts' data sheets.
#include "sim/chip.h"
#include "sim/chip_25c.h"
#include "sim/chip_93c.h"
#include "sim/chip_at17.h"

#include <gtest/gtest.h>

namespace isp::sim {
namespace {

const TDevice& Part(const char* name) {
    const TDevice* device = DeviceList().FindByName(name, kUsbProgrammerKind);
    EXPECT_NE(device, nullptr) << name;
    return *device;
}

// Two-wire helpers: a write transaction and a random read, at time t.
bool I2cWrite(TSimChip& chip, std::int64_t t, const std::vector<std::uint8_t>& bytes) {
    chip.Start(t);
    bool acked = true;
    for (std::uint8_t b : bytes) {
        acked = chip.WriteByte(t, b) && acked;
    }
    chip.Stop(t);
    return acked;
}

std::vector<std::uint8_t> I2cRead(TSimChip& chip, std::int64_t t,
                                  const std::vector<std::uint8_t>& header, std::size_t count) {
    chip.Start(t);
    for (std::uint8_t b : header) {
        chip.WriteByte(t, b);
    }
    chip.Start(t);
    std::vector<std::uint8_t> data;
    if (!chip.WriteByte(t, static_cast<std::uint8_t>(header[0] | 1))) {
        return data;
    }
    for (std::size_t i = 0; i < count; ++i) {
        data.push_back(chip.ReadByte(t, i + 1 < count));
    }
    chip.Stop(t);
    return data;
}

TEST(Chip24C, PageWriteWrapsInsideThePage) {
    auto chip = CreateChip(Part("24C02")); // page size 4
    ASSERT_TRUE(I2cWrite(*chip, 0, {0xA0, 0x0A, 1, 2, 3, 4, 5, 6}));
    // 0x0A, 0x0B, then back to 0x08: 3 4 at 8 9, 5 6 over 0x0A 0x0B.
    const auto& m = chip->Memory();
    EXPECT_EQ(m[0x08], 3);
    EXPECT_EQ(m[0x09], 4);
    EXPECT_EQ(m[0x0A], 5);
    EXPECT_EQ(m[0x0B], 6);
    EXPECT_EQ(m[0x0C], 0xFF);
}

TEST(Chip24C, NoAcknowledgeDuringTheWriteCycle) {
    auto chip = CreateChip(Part("24C02")); // 5 ms cycle
    ASSERT_TRUE(I2cWrite(*chip, 0, {0xA0, 0x00, 0x42}));
    EXPECT_FALSE(I2cWrite(*chip, 4 * kMs, {0xA0, 0x01, 0x43}));
    EXPECT_EQ(chip->Memory()[1], 0xFF); // that write was lost
    EXPECT_TRUE(I2cWrite(*chip, 5 * kMs, {0xA0, 0x01, 0x43}));
    EXPECT_EQ(chip->Memory()[1], 0x43);
    EXPECT_EQ(chip->BusyTotalNs(), 10 * kMs);
    // An address-only transaction (an acknowledge poll) starts no cycle.
    EXPECT_TRUE(I2cWrite(*chip, 20 * kMs, {0xA0}));
    EXPECT_FALSE(chip->Busy(20 * kMs));
}

TEST(Chip24C, DeviceAddressPinsAndBlockSelect) {
    const struct {
        const char* part;
        int busNumber;
        std::uint8_t deviceByte;
        std::uint8_t wordByte;
        bool acked;
        std::uint32_t address;
    } cases[] = {
        {"24C02", 3, 0xA6, 0x10, true, 0x10},  {"24C02", 3, 0xA0, 0x10, false, 0},
        {"24C04", 0, 0xA2, 0x10, true, 0x110}, // A8 in bit 1
        {"24C04", 1, 0xA4, 0x10, true, 0x010}, // pin A1 high
        {"24C08", 0, 0xA6, 0x01, true, 0x301}, // A9 A8
        {"24C16", 0, 0xAE, 0xFF, true, 0x7FF}, // A10-A8
        {"24C00", 0, 0xAE, 0x0F, true, 0x0F},  // no pins: any 1010xxx
        {"24C512", 0, 0xA8, 0x00, false, 0},   // bit 3 must be zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part);
        TChipOptions options;
        options.busNumber = c.busNumber;
        auto chip = CreateChip(Part(c.part), options);
        std::vector<std::uint8_t> bytes = {c.deviceByte};
        if (chip->Device().MemorySize >= 4096) {
            bytes.push_back(0x00);
        }
        bytes.push_back(c.wordByte);
        bytes.push_back(0x5A);
        EXPECT_EQ(I2cWrite(*chip, 0, bytes), c.acked);
        if (c.acked) {
            EXPECT_EQ(chip->Memory()[c.address], 0x5A);
        }
    }
}

TEST(Chip24C, TwoAddressBytesA16AndRollOver) {
    auto chip = CreateChip(Part("24C1024"));
    ASSERT_TRUE(I2cWrite(*chip, 0, {0xA2, 0x00, 0x05, 0x77})); // A16 in bit 1
    EXPECT_EQ(chip->Memory()[0x10005], 0x77);
    chip->Memory()[0] = 0x11;
    chip->Memory()[0x1FFFF] = 0x22;
    EXPECT_EQ(I2cRead(*chip, 10 * kMs, {0xA2, 0xFF, 0xFF}, 2),
              (std::vector<std::uint8_t>{0x22, 0x11}));
}

TEST(Chip24C, StuckCellsKeepTheirValue) {
    TChipOptions options;
    options.stuckCells = {1};
    auto chip = CreateChip(Part("24C02"), options);
    ASSERT_TRUE(I2cWrite(*chip, 0, {0xA0, 0x00, 0x10, 0x20}));
    EXPECT_EQ(chip->Memory()[0], 0x10);
    EXPECT_EQ(chip->Memory()[1], 0xFF);
}

// SPI helper: one selected transaction.
std::vector<std::uint8_t> Spi(TSimChip& chip, std::int64_t t,
                              const std::vector<std::uint8_t>& out) {
    chip.Select(t, true);
    std::vector<std::uint8_t> in;
    for (std::uint8_t b : out) {
        in.push_back(chip.Transfer(t, b));
    }
    chip.Select(t, false);
    return in;
}

TEST(Chip25C, WriteNeedsTheLatchAndA8RidesInTheOpcode) {
    auto chip = CreateChip(Part("25C040")); // 512 bytes, page 16
    Spi(*chip, 0, {0x02, 0x10, 0xAA});      // no WREN: ignored
    EXPECT_EQ(chip->Memory()[0x10], 0xFF);
    Spi(*chip, 0, {0x06});
    Spi(*chip, 0, {0x0A, 0x10, 0xBB}); // A8 set
    EXPECT_EQ(chip->Memory()[0x110], 0xBB);
    EXPECT_EQ(Spi(*chip, 1 * kMs, {0x05, 0x00})[1] & T25CChip::kWip, T25CChip::kWip);
    // During the cycle only RDSR works.
    Spi(*chip, 2 * kMs, {0x06});
    EXPECT_EQ(Spi(*chip, 6 * kMs, {0x05, 0x00})[1], 0x00); // WEL was not set
    EXPECT_EQ(Spi(*chip, 6 * kMs, {0x0B, 0x10, 0x00})[2], 0xBB);
    // 25C080: two address bytes, plain opcodes.
    auto big = CreateChip(Part("25C080"));
    Spi(*big, 0, {0x06});
    Spi(*big, 0, {0x02, 0x03, 0x21, 0x5C});
    EXPECT_EQ(big->Memory()[0x321], 0x5C);
}

TEST(Chip25C, BlockProtectionAndWriteProtectEnable) {
    TChipOptions options;
    options.wpPinLow = true;
    auto chip = CreateChip(Part("25C040"), options);
    std::int64_t t = 0;
    const auto write = [&](std::uint16_t address, std::uint8_t value) {
        Spi(*chip, t, {0x06});
        Spi(*chip, t,
            {static_cast<std::uint8_t>(address >= 0x100 ? 0x0A : 0x02),
             static_cast<std::uint8_t>(address), value});
        t += 10 * kMs;
    };
    const auto writeStatus = [&](std::uint8_t value) {
        Spi(*chip, t, {0x06});
        Spi(*chip, t, {0x01, value});
        t += 10 * kMs;
    };
    writeStatus(T25CChip::kBp0); // upper quarter protected
    write(0x180, 0x11);
    write(0x17F, 0x22);
    EXPECT_EQ(chip->Memory()[0x180], 0xFF);
    EXPECT_EQ(chip->Memory()[0x17F], 0x22);
    writeStatus(T25CChip::kBp0 | T25CChip::kBp1 | T25CChip::kWpen); // all, and lock
    write(0x000, 0x33);
    EXPECT_EQ(chip->Memory()[0x000], 0xFF);
    writeStatus(0x00); // refused: WPEN with WP low
    EXPECT_EQ(Spi(*chip, t, {0x05, 0x00})[1], T25CChip::kBp0 | T25CChip::kBp1 | T25CChip::kWpen);
}

// Microwire helper: clocks the top bits of word with CS high; CS stays as the caller leaves it.
void MwBits(TSimChip& chip, std::int64_t t, int bits, std::uint32_t word) {
    for (int i = bits - 1; i >= 0; --i) {
        chip.MwClock(t, (word >> i) & 1u);
    }
}

std::uint32_t MwReadBits(TSimChip& chip, std::int64_t t, int bits) {
    std::uint32_t value = 0;
    for (int i = 0; i < bits; ++i) {
        value = (value << 1) | (chip.MwClock(t, false) ? 1u : 0u);
    }
    return value;
}

TEST(Chip93C, X16WriteNeedsEwenAndShowsBusyThenReadsSequentially) {
    auto chip = CreateChip(Part("93C46")); // x16: start + 2 + 6 address bits
    const auto command = [&](std::int64_t t, std::uint32_t bits9) {
        chip->MwSelect(t, true);
        MwBits(*chip, t, 9, bits9);
    };
    command(0, 0b1'01'000011); // WRITE word 3 without EWEN
    MwBits(*chip, 0, 16, 0x1234);
    chip->MwSelect(0, false);
    EXPECT_EQ(chip->Memory()[6], 0xFF);

    command(0, 0b1'00'110000); // EWEN
    chip->MwSelect(0, false);
    command(0, 0b1'01'000011);
    MwBits(*chip, 0, 16, 0x1234);
    chip->MwSelect(0, false);
    EXPECT_EQ(chip->Memory()[6], 0x12); // high byte at the even address
    EXPECT_EQ(chip->Memory()[7], 0x34);
    chip->MwSelect(1 * kMs, true);
    EXPECT_FALSE(chip->MwDataOut(1 * kMs)); // busy
    EXPECT_TRUE(chip->MwDataOut(6 * kMs));  // ready after the 6 ms cycle
    chip->MwSelect(6 * kMs, false);

    chip->Memory()[8] = 0xAB;
    chip->Memory()[9] = 0xCD;
    command(7 * kMs, 0b1'10'000011);        // READ word 3
    EXPECT_FALSE(chip->MwDataOut(7 * kMs)); // the dummy zero
    EXPECT_EQ(MwReadBits(*chip, 7 * kMs, 32), 0x1234ABCDu);
    chip->MwSelect(7 * kMs, false);
}

TEST(Chip93C, X8OrganisationEraseAllAndWriteAll) {
    TChipOptions options;
    options.org16 = false;
    auto chip = CreateChip(Part("93C66"), options); // x8: 9 address bits
    ASSERT_EQ(static_cast<T93CChip&>(*chip).AddressBits(), 9);
    std::int64_t t = 0;
    const auto run = [&](std::uint32_t bits12, int dataBits = 0, std::uint32_t data = 0) {
        chip->MwSelect(t, true);
        MwBits(*chip, t, 12, bits12);
        MwBits(*chip, t, dataBits, data);
        chip->MwSelect(t, false);
        t += 20 * kMs;
    };
    run(0b1'00'11'0000000);          // EWEN
    run(0b1'01'1'00000001, 8, 0x5A); // WRITE byte 0x101
    EXPECT_EQ(chip->Memory()[0x101], 0x5A);
    run(0b1'00'01'0000000, 8, 0x3C); // WRAL
    EXPECT_EQ(chip->Memory()[0x000], 0x3C);
    EXPECT_EQ(chip->Memory()[0x1FF], 0x3C);
    run(0b1'11'0'00000010); // ERASE byte 2
    EXPECT_EQ(chip->Memory()[2], 0xFF);
    run(0b1'00'10'0000000); // ERAL
    EXPECT_EQ(chip->Memory()[0], 0xFF);
    run(0b1'00'00'0000000); // EWDS
    run(0b1'01'0'00000001, 8, 0x00);
    EXPECT_EQ(chip->Memory()[1], 0xFF);
}

TEST(ChipAT17, AnswersOnlyInProgrammingModeAndKeepsOptionBytes) {
    auto chip = CreateChip(Part("AT17LV512(A)")); // three address bytes
    auto& at17 = static_cast<TAT17Chip&>(*chip);
    EXPECT_FALSE(I2cWrite(*chip, 0, {0xA6, 0x00, 0x00, 0x00, 0x12}));
    chip->SetResetLine(false);
    EXPECT_FALSE(I2cWrite(*chip, 0, {0xAE, 0x00, 0x00, 0x00, 0x12})); // A2 is low
    ASSERT_TRUE(I2cWrite(*chip, 0, {0xA6, 0x00, 0x01, 0x00, 0x12, 0x34}));
    EXPECT_EQ(chip->Memory()[0x100], 0x12);
    // Reset polarity: four bytes at 0x20000; internal RC at 0x380000.
    ASSERT_TRUE(I2cWrite(*chip, 10 * kMs, {0xA6, 0x02, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(at17.ResetPolarity(), 0xFF);
    ASSERT_TRUE(I2cWrite(*chip, 20 * kMs, {0xA6, 0x38, 0x00, 0x00, 0xFF}));
    EXPECT_EQ(at17.InternalRc(), 0xFF);
    EXPECT_EQ(I2cRead(*chip, 30 * kMs, {0xA6, 0x02, 0x00, 0x00}, 1)[0], 0xFF);
    EXPECT_EQ(chip->Memory()[0], 0xFF); // the options do not alias the array

    auto small = CreateChip(Part("AT17LV256")); // two address bytes
    small->SetResetLine(false);
    ASSERT_TRUE(I2cWrite(*small, 0, {0xA6, 0x7F, 0xFF, 0x99}));
    EXPECT_EQ(small->Memory()[0x7FFF], 0x99);
}

TEST(ChipAT17F, ReadProgramAndEraseByCommand) {
    auto chip = CreateChip(Part("AT17F040(A)"));
    auto& flash = static_cast<TAT17FChip&>(*chip);
    chip->SetResetLine(false);
    // Program one page at word 0x80 (byte 0x100); the trailing byte before the stop is dropped.
    chip->Start(0);
    for (std::uint8_t b : std::vector<std::uint8_t>{0xA6, 0x02, 0x00, 0x00, 0x80}) {
        ASSERT_TRUE(chip->WriteByte(0, b));
    }
    for (int i = 0; i < 256; ++i) {
        ASSERT_TRUE(chip->WriteByte(0, static_cast<std::uint8_t>(i)));
    }
    EXPECT_FALSE(chip->WriteByte(0, 0x00)); // busy programming the page
    chip->Stop(0);
    EXPECT_EQ(chip->Memory()[0x100], 0x00);
    EXPECT_EQ(chip->Memory()[0x1FF], 0xFF);
    EXPECT_EQ(chip->Memory()[0x200], 0xFF);

    // Read: word address, a dummy byte, stop, then a read from the byte address.
    const std::int64_t t = 2 * kMs;
    chip->Start(t);
    for (std::uint8_t b : std::vector<std::uint8_t>{0xA6, 0x01, 0x00, 0x00, 0x81, 0x00}) {
        ASSERT_TRUE(chip->WriteByte(t, b));
    }
    chip->Stop(t);
    chip->Start(t);
    ASSERT_TRUE(chip->WriteByte(t, 0xA7));
    EXPECT_EQ(chip->ReadByte(t, true), 0x02);
    EXPECT_EQ(chip->ReadByte(t, false), 0x03);

    // Flash programming only clears bits.
    chip->Start(t);
    for (std::uint8_t b : std::vector<std::uint8_t>{0xA6, 0x02, 0x00, 0x00, 0x80}) {
        chip->WriteByte(t, b);
    }
    for (int i = 0; i < 256; ++i) {
        chip->WriteByte(t, 0xF0);
    }
    chip->Stop(t);
    EXPECT_EQ(chip->Memory()[0x10F], 0x00); // 0x0F & 0xF0

    // Erase: status 0x00 while erasing, 0xFF when done; the array is blank.
    const std::int64_t e = 10 * kMs;
    chip->Start(e);
    for (std::uint8_t b : std::vector<std::uint8_t>{0xA6, 0x03, 0x00}) {
        ASSERT_TRUE(chip->WriteByte(e, b));
    }
    chip->Stop(e);
    chip->Start(e);
    ASSERT_TRUE(chip->WriteByte(e, 0xA7));
    EXPECT_EQ(chip->ReadByte(e + kMs, true), 0x00);
    EXPECT_EQ(chip->ReadByte(e + flash.EraseNs(), true), 0xFF);
    chip->Stop(e + flash.EraseNs());
    EXPECT_EQ(chip->Memory()[0x100], 0xFF);
}

TEST(Chips, EveryCataloguePartHasAModelOfItsSize) {
    const TDeviceList& list = DeviceList();
    for (int i = 0; i < list.Count(); ++i) {
        const TDevice& device = list.Items(i);
        auto chip = CreateChip(device);
        EXPECT_EQ(chip->Memory().size(), static_cast<std::size_t>(device.MemorySize))
            << device.Name;
    }
}

} // namespace
} // namespace isp::sim
