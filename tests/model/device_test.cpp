#include "model/device.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace isp {
namespace {

// The datasheet summary as published to operators, kept as text and parsed here, so the test does
// not share a single literal with the table the program is built from.
// Columns: #, Name, Fam, Memory, Second, Page, Hw, Opt hw, Time, Bits, Flash, RC, RstPol,
// RstPol addr, RC addr ("-" = none).
const char* const kPublishedTable = R"(
| 1 | 24C00 | 0 | 16 | 0 | 1 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 2 | 24C01 | 0 | 128 | 0 | 4 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 3 | 24WC01 | 0 | 128 | 0 | 4 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 4 | 24C02 | 0 | 256 | 0 | 4 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 5 | 24WC02 | 0 | 256 | 0 | 4 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 6 | 24C04 | 0 | 512 | 0 | 8 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 7 | 24WC04 | 0 | 512 | 0 | 8 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 8 | 24C08 | 0 | 1024 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 9 | 24WC08 | 0 | 1024 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 10 | 24C16 | 0 | 2048 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 11 | 24WC16 | 0 | 2048 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 12 | 24C32 | 0 | 4096 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 13 | 24WC32 | 0 | 4096 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 14 | 24C64 | 0 | 8192 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 15 | 24WC64 | 0 | 8192 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 16 | 24C128 | 0 | 16384 | 0 | 64 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 17 | 24WC128 | 0 | 16384 | 0 | 64 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 18 | 24C256 | 0 | 32768 | 5 | 64 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 19 | 24WC256 | 0 | 32768 | 5 | 64 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 20 | 24C512 | 0 | 65536 | 0 | 128 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 21 | 24C1024 | 0 | 131072 | 0 | 128 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 22 | 25C010 | 1 | 128 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 23 | 25010 | 1 | 128 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 24 | 25010 (AT) | 1 | 128 | 0 | 8 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 25 | 25C01 | 1 | 128 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 26 | 25C020 | 1 | 256 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 27 | 25020 | 1 | 256 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 28 | 25C02 | 1 | 256 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 29 | 25C040 | 1 | 512 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 30 | 25C04 | 1 | 512 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 31 | 25040 | 1 | 512 | 0 | 16 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 32 | 25C080 | 1 | 1024 | 0 | 32 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 33 | 25C08 | 1 | 1024 | 0 | 32 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 34 | 25C160 | 1 | 2048 | 0 | 32 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 35 | 25C16 | 1 | 2048 | 0 | 32 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 36 | 25C320 | 1 | 4096 | 0 | 32 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 37 | 25C32 | 1 | 4096 | 0 | 32 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 38 | 25C640 | 1 | 8192 | 0 | 32 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 39 | 25C64 | 1 | 8192 | 0 | 32 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 40 | 25C128 | 1 | 16384 | 0 | 64 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 41 | 25C256 | 1 | 32768 | 0 | 64 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 42 | 25256 | 1 | 32768 | 0 | 64 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 43 | 25HP256 | 1 | 32768 | 0 | 128 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 44 | 25HP512 | 1 | 65536 | 0 | 128 | 0x05 | 0x04 | 5 | 0 | 0 | 0 | 0 | - | - |
| 45 | 93C06 | 2 | 32 | 0 | 16 | 0x05 | 0x04 | 6 | 10 | 0 | 0 | 0 | - | - |
| 46 | 93C46 | 2 | 128 | 0 | 16 | 0x05 | 0x04 | 6 | 10 | 0 | 0 | 0 | - | - |
| 47 | 93C56 | 2 | 256 | 0 | 16 | 0x05 | 0x04 | 4 | 12 | 0 | 0 | 0 | - | - |
| 48 | 93C57 | 2 | 256 | 0 | 16 | 0x05 | 0x04 | 5 | 11 | 0 | 0 | 0 | - | - |
| 49 | 93C66 | 2 | 512 | 0 | 16 | 0x05 | 0x04 | 4 | 12 | 0 | 0 | 0 | - | - |
| 50 | 93C76 | 2 | 1024 | 0 | 32 | 0x05 | 0x04 | 2 | 14 | 0 | 0 | 0 | - | - |
| 51 | 93C86 | 2 | 2048 | 0 | 32 | 0x05 | 0x05 | 2 | 14 | 0 | 0 | 0 | - | - |
| 52 | AT17LV256 | 3 | 32768 | 0 | 64 | 0x05 | 0x05 | 0 | 14 | 0 | 0 | 0 | - | - |
| 53 | AT17LV512(A) | 3 | 65536 | 0 | 128 | 0x05 | 0x05 | 0 | 14 | 0 | 1 | 1 | 0x20000 | 0x380000 |
| 54 | AT17LV010(A) | 3 | 131072 | 0 | 128 | 0x05 | 0x05 | 0 | 14 | 0 | 1 | 1 | 0x20000 | 0x380000 |
| 55 | AT17LV002(A) | 3 | 262144 | 0 | 256 | 0x05 | 0x05 | 0 | 14 | 0 | 1 | 1 | 0x400000 | 0xE00000 |
| 56 | AT17LV040 | 3 | 524288 | 0 | 256 | 0x05 | 0x05 | 0 | 14 | 0 | 0 | 1 | 0x400000 | - |
| 57 | AT17F040(A) | 3 | 524288 | 0 | 256 | 0x05 | 0x05 | 100 | 14 | 1 | 0 | 0 | - | - |
| 58 | AT17F080(A) | 3 | 1048576 | 0 | 256 | 0x05 | 0x05 | 100 | 14 | 1 | 0 | 0 | - | - |
| 59 | AT17F16(A) | 3 | 2097152 | 0 | 256 | 0x05 | 0x05 | 100 | 14 | 1 | 0 | 0 | - | - |
)";

struct PublishedRow {
    std::vector<std::string> cells;
    long Number(std::size_t column) const {
        return cells[column] == "-" ? 0 : std::stol(cells[column], nullptr, 0);
    }
};

std::vector<PublishedRow> ParsePublishedTable() {
    std::vector<PublishedRow> rows;
    std::istringstream lines(kPublishedTable);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty()) {
            continue;
        }
        PublishedRow row;
        std::istringstream cells(line.substr(1)); // after the leading '|'
        std::string cell;
        while (std::getline(cells, cell, '|')) {
            const auto first = cell.find_first_not_of(' ');
            const auto last = cell.find_last_not_of(' ');
            row.cells.push_back(first == std::string::npos ? ""
                                                           : cell.substr(first, last - first + 1));
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(Catalogue, MatchesThePublishedTableRowByRow) {
    const std::vector<PublishedRow> rows = ParsePublishedTable();
    ASSERT_EQ(rows.size(), 59u);
    TDeviceList list;
    list.BuildCatalogue();
    ASSERT_EQ(list.Count(), 59);
    for (int i = 0; i < list.Count(); ++i) {
        const PublishedRow& row = rows[static_cast<std::size_t>(i)];
        ASSERT_EQ(row.cells.size(), 15u) << "row " << i + 1;
        ASSERT_EQ(row.Number(0), i + 1);
        const TDevice& d = list.Items(i);
        SCOPED_TRACE(d.Name);
        EXPECT_EQ(d.Name, row.cells[1]);
        EXPECT_EQ(d.Family, row.Number(2));
        EXPECT_EQ(d.MemorySize, row.Number(3));
        EXPECT_EQ(d.SecondMemorySize, row.Number(4));
        EXPECT_EQ(d.PageSize, row.Number(5));
        EXPECT_EQ(d.Hardware, row.Number(6));
        ASSERT_EQ(d.Options.size(), 1u);
        EXPECT_EQ(d.Options[0].Hardware, row.Number(7));
        EXPECT_EQ(d.Options[0].Timings.WriteTime, row.Number(8));
        EXPECT_EQ(d.ProgTime, row.Number(8));
        EXPECT_EQ(d.Options[0].Timings.CommandBits, row.Number(9));
        EXPECT_EQ(d.Options[0].Timings.Spare1, 0);
        EXPECT_EQ(d.Options[0].Timings.Spare2, 0);
        EXPECT_EQ(d.IsFlash, row.Number(10) != 0);
        EXPECT_EQ(d.HasInternalRC, row.Number(11) != 0);
        EXPECT_EQ(d.HasResetPolarity, row.Number(12) != 0);
        EXPECT_EQ(d.ResetPolarityAddress, row.Number(13));
        EXPECT_EQ(d.InternalRCAddress, row.Number(14));
        EXPECT_EQ(d.MemorySize % 16, 0) << "main buffers are whole 16-byte lines";
    }
}

TEST(Catalogue, GlobalListIsBuiltOnceAndNamesAreUnique) {
    const TDeviceList& list = DeviceList();
    EXPECT_EQ(&list, &DeviceList());
    ASSERT_EQ(list.Count(), 59);
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.FindByName(list.Items(i).Name, kCatalogueHardware), &list.Items(i));
    }
}

TEST(Catalogue, FirstOfFamily) {
    const TDeviceList& list = DeviceList();
    const struct {
        int family;
        const char* name;
    } cases[] = {{fam24C, "24C00"}, {fam25C, "25C010"}, {fam93C, "93C06"}, {famAT17, "AT17LV256"}};
    for (const auto& c : cases) {
        const TDevice* d = list.FirstOfFamily(kUsbProgrammerKind, c.family);
        ASSERT_NE(d, nullptr) << c.family;
        EXPECT_EQ(d->Name, c.name);
    }
    EXPECT_EQ(list.FirstOfFamily(kUsbProgrammerKind, famDataFlash), nullptr);
    EXPECT_EQ(list.FirstOfFamily(0x02, fam24C), nullptr); // no kind in common
}

TEST(Catalogue, NamesOfFamily) {
    const TDeviceList& list = DeviceList();
    EXPECT_EQ(
        list.NamesOfFamily(kUsbProgrammerKind, fam93C),
        (std::vector<std::string>{"93C06", "93C46", "93C56", "93C57", "93C66", "93C76", "93C86"}));
    EXPECT_TRUE(list.NamesOfFamily(kUsbProgrammerKind, famDataFlash).empty());
    EXPECT_TRUE(list.NamesOfFamily(0x02, fam25C).empty());
    EXPECT_EQ(list.NamesOfFamily(kUsbProgrammerKind, fam24C).size(), 21u);
    EXPECT_EQ(list.NamesOfFamily(kUsbProgrammerKind, fam25C).size(), 23u);
    EXPECT_EQ(list.NamesOfFamily(0x01, famAT17).size(), 8u); // kind 0 fits too
}

TEST(Catalogue, FindByNameIgnoresCaseAndNeedsACommonKind) {
    const TDeviceList& list = DeviceList();
    const TDevice* flash = list.FindByName("at17f16(a)", kUsbProgrammerKind);
    ASSERT_NE(flash, nullptr);
    EXPECT_EQ(flash->Name, "AT17F16(A)");
    EXPECT_EQ(list.FindByName("24C02", 0x02), nullptr);
    EXPECT_EQ(list.FindByName("24C0", kUsbProgrammerKind), nullptr);
    EXPECT_EQ(list.FindByName("", kUsbProgrammerKind), nullptr);
    EXPECT_EQ(list.FindByName("25010 (at)", kUsbProgrammerKind)->PageSize, 8);
}

TEST(Catalogue, At17Options) {
    const TDeviceList& list = DeviceList();
    const TDevice* lv040 = list.FindByName("AT17LV040", kUsbProgrammerKind);
    ASSERT_NE(lv040, nullptr);
    EXPECT_TRUE(lv040->HasResetPolarity);
    EXPECT_EQ(lv040->ResetPolarityAddress, 0x400000);
    EXPECT_FALSE(lv040->HasInternalRC);
    for (const char* name : {"AT17LV512(A)", "AT17LV010(A)", "AT17LV002(A)"}) {
        const TDevice* d = list.FindByName(name, kUsbProgrammerKind);
        ASSERT_NE(d, nullptr) << name;
        EXPECT_TRUE(d->HasResetPolarity && d->HasInternalRC) << name;
    }
}

TEST(Catalogue, ConstructionRulesAndTheOptionsFrameHook) {
    EXPECT_THROW(TDevice("X", fam24C, 0x05, 16, 0, 1, {}), std::invalid_argument);

    TDeviceOptions option;
    option.Timings.WriteTime = 9;
    TDeviceOptions second;
    second.Timings.WriteTime = 3;
    const TDevice device("X", fam24C, 0x05, 16, 0, 1, {option, second});
    EXPECT_EQ(device.ProgTime, 9);
    EXPECT_EQ(device.Options.size(), 2u);

    // Without a user interface the factory builds nothing; once one is installed, every entry
    // uses it, including entries created before it was installed.
    ASSERT_TRUE(device.OptionsFrameFactory);
    EXPECT_EQ(device.OptionsFrameFactory(nullptr), nullptr);
    static int marker;
    OptionsFrameHook() = [](TOptionsFrameOwner*) {
        return reinterpret_cast<TOptionsFrame*>(&marker);
    };
    EXPECT_EQ(device.OptionsFrameFactory(nullptr), reinterpret_cast<TOptionsFrame*>(&marker));
    OptionsFrameHook() = nullptr;
}

TEST(Catalogue, FamilyNames) {
    EXPECT_STREQ(FamilyName(fam24C), "24C");
    EXPECT_STREQ(FamilyName(famAT17), "AT17");
    EXPECT_STREQ(FamilyName(famDataFlash), "");
    EXPECT_EQ(FamilyFromName("93C"), fam93C);
    EXPECT_EQ(FamilyFromName("at17"), famAT17);
    EXPECT_EQ(FamilyFromName("94C"), -1);
    EXPECT_EQ(FamilyFromName(""), -1);
}

} // namespace
} // namespace isp
