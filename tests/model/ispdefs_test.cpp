#include "model/ispdefs.h"

#include <gtest/gtest.h>
#include <string>

namespace isp {
namespace {

TEST(TextHelpers, HexPairIsFastAndUnvalidated) {
    struct Case {
        char a, b;
        int expected;
    } cases[] = {
        {'4', 'F', 0x4F}, {'0', '0', 0x00}, {'F', 'F', 0xFF},
        {'A', '9', 0xA9}, {'0', '7', 0x07}, // single digit value, as the Tektronix checksums use it
        {'G', '0', 0x00},                   // 'G' - 55 = 16: (16 * 16) mod 256
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexPair(c.a, c.b), c.expected) << c.a << c.b;
    }
}

TEST(TextHelpers, HexPairToByteValidatesBothDigits) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"4f", 0x4F}, {"4F", 0x4F}, {"ff", 0xFF},    {"00", 0x00},
        {"G1", 0x00}, {"1G", 0x00}, {"A5xyz", 0xA5}, // only the first two count
        {"7", 0x00},                                 // too short
        {"", 0x00},   {" 1", 0x00},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexPairToByte(c.text), c.expected) << c.text;
    }
}

TEST(TextHelpers, HexDigitValue) {
    const std::string digits = "0123456789ABCDEF";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        EXPECT_EQ(HexDigitValue(digits[i]), i);
    }
    EXPECT_EQ(HexDigitValue('a'), 10);
    EXPECT_EQ(HexDigitValue('f'), 15);
    for (char bad : {'G', 'g', ' ', '/', ':', '@', '\0'}) {
        EXPECT_EQ(HexDigitValue(bad), 0) << int(bad);
    }
}

TEST(TextHelpers, Hex4ToWordAndHexToLong) {
    EXPECT_EQ(Hex4ToWord("1a2B"), 0x1A2B);
    EXPECT_EQ(Hex4ToWord("FFFF"), 0xFFFF);
    EXPECT_EQ(Hex4ToWord("12345"), 0x1234); // only four characters
    EXPECT_EQ(Hex4ToWord("1Z3"), 0x1030);   // bad digit and missing position count as 0

    struct Case {
        const char* text;
        std::uint32_t expected;
    } cases[] = {
        {"1A2B", 0x1A2B},         {"0001A2", 0x1A2},        {"", 0},
        {"DEADBEEF", 0xDEADBEEF}, {"deadbeef", 0xDEADBEEF}, {"123456789", 0x12345678},
        {"FFFFFFFF", 0xFFFFFFFF}, {"00g1", 0x0001},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexToLong(c.text), c.expected) << c.text;
    }
}

TEST(TextHelpers, HexDigits) {
    EXPECT_EQ(HexDigits(0x12, 4), "0012");
    EXPECT_EQ(HexDigits(0x12345, 4), "12345");
    EXPECT_EQ(HexDigits(0xA5, 2), "A5");
    EXPECT_EQ(HexDigits(0xFFFFFFFF, 8), "FFFFFFFF");
}

TEST(TextHelpers, PadLeft) {
    EXPECT_EQ(PadLeft("1A", '0', 8), "0000001A");
    EXPECT_EQ(PadLeft("", ' ', 3), "   ");
    EXPECT_EQ(PadLeft("123456789", '0', 8), "123456789"); // never truncates
    EXPECT_EQ(PadLeft("abc", '0', 3), "abc");
}

TEST(TextHelpers, ByteToBinAndBack) {
    EXPECT_EQ(ByteToBin(0xA5), "10100101");
    EXPECT_EQ(ByteToBin(0x00), "00000000");
    EXPECT_EQ(ByteToBin(0x80), "10000000");
    EXPECT_EQ(ByteToBin(0x01), "00000001");
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(BinToByte(ByteToBin(static_cast<std::uint8_t>(v))), v);
    }
    EXPECT_EQ(BinToByte("10100101"), 0xA5);
    EXPECT_EQ(BinToByte(""), 0);
    EXPECT_EQ(BinToByte("x1"), 1);
    EXPECT_EQ(BinToByte("1"
                        "00000000"),
              0x00); // nine bits keep the low eight
    EXPECT_EQ(BinToByte("111111111"), 0xFF);
}

} // namespace
} // namespace isp
