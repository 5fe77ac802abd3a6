// Writers: the published example records byte for byte, walk rules and refusals.
#include "format_fixture.h"

namespace isp::testing {
namespace {

using WriterTest = FormatTest;

THexList With010203At(int size, std::uint32_t address) {
    THexList buffer;
    buffer.SetSize(size);
    buffer.SetValue(address, 0x01);
    buffer.SetValue(address + 1, 0x02);
    buffer.SetValue(address + 2, 0x03);
    return buffer;
}

TEST_F(WriterTest, GoldenRecordsOfEveryFormat) {
    const THexList buffer = With010203At(256, 0x10);
    const struct {
        int format;
        std::vector<std::string> lines;
    } cases[] = {
        {ffIntel8, {":03001000010203E7", ":00000001FF"}},
        {ffIntelHex32, {":03001000010203E7", ":00000001FF"}},
        {ffMotorolaS1, {"S1060010010203E3", "S9030000FC"}},
        {ffMotorolaS3, {"S1060010010203E3", "S9030000FC"}},
        {ffTektronix, {"/0010030401020306", "/00000000"}},
        {ffExtendedTektronix, {"%11614500010010203", "%0E81E800000000"}},
        {ffAtmelGeneric16, {"000008:0201", "000009:FF03"}},
        {ffAtmelGeneric8, {"0010:01", "0011:02", "0012:03"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Saved(buffer, c.format), CrLf(c.lines)) << "format " << c.format;
    }
}

TEST_F(WriterTest, IntelKeepsLeadingAndInnerFFButDropsTrailingFF) {
    THexList buffer = Buffer(256);
    buffer.SetValue(5, 0x12);
    EXPECT_EQ(Saved(buffer, ffIntel8), CrLf({":06000000FFFFFFFFFF12ED", ":00000001FF"}));
}

TEST_F(WriterTest, IntelLinearRecordsAtEvery64KPage) {
    THexList blank = Buffer(128 * 1024);
    EXPECT_EQ(Saved(blank, ffIntelHex32),
              CrLf({":020000040000FA", ":020000040001F9", ":00000001FF"}));

    THexList buffer = Buffer(128 * 1024);
    buffer.SetValue(0x10010, 0xAA);
    EXPECT_EQ(Saved(buffer, ffIntelHex32),
              CrLf({":020000040000FA", ":020000040001F9", ":01001000AA45", ":00000001FF"}));

    THexList big = Buffer(2 * 1024 * 1024);
    big.SetValue(0x1FFFF0, 0x00);
    const std::string text = Saved(big, ffIntelHex32);
    EXPECT_NE(text.find(":02000004001FDB\r\n:01FFF0000010\r\n:00000001FF\r\n"), std::string::npos);
}

TEST_F(WriterTest, MotorolaSwitchesToS2Above64KAndStays) {
    THexList buffer = With010203At(0x20000, 0x10000);
    buffer.SetValue(0x1FFF0, 0x55);
    EXPECT_EQ(Saved(buffer, ffMotorolaS2),
              CrLf({"S207010000010203F1", "S20501FFF055B5", "S9030000FC"}));
}

TEST_F(WriterTest, ZeroBlankBuffersWriteTheirZeroLines) {
    // AT17 buffers are blank at 0x00; only 0xFF lines are skipped.
    THexList buffer = Buffer(32, 0x00);
    const std::string zeros(32, '0');
    EXPECT_EQ(Saved(buffer, ffIntel8),
              CrLf({":10000000" + zeros + "F0", ":10001000" + zeros + "E0", ":00000001FF"}));
}

TEST_F(WriterTest, AtmelGeneric16WritesWordsWithOneNonFFByte) {
    THexList buffer = Buffer(64);
    buffer.SetValue(0x20, 0x34);
    buffer.SetValue(0x21, 0x12);
    buffer.SetValue(0x24, 0x56);
    EXPECT_EQ(Saved(buffer, ffAtmelGeneric16), CrLf({"000010:1234", "000012:FF56"}));
}

TEST_F(WriterTest, BstWritesEveryByteUpToTheLastUsedLine) {
    THexList buffer = Buffer(1024);
    buffer.SetValue(0, 0xA5);
    std::vector<std::string> lines = {"10100101"};
    lines.resize(16, "11111111");
    EXPECT_EQ(Saved(buffer, ffAtmelBst), CrLf(lines));
}

TEST_F(WriterTest, EmptyAndPartialBuffers) {
    EXPECT_EQ(Saved(THexList(), ffIntel8), CrLf({":00000001FF"}));
    EXPECT_EQ(Saved(THexList(), ffAtmelBst), "");
    // The five-byte second memory of the 24C256 saves without running past its end.
    THexList second = Buffer(5);
    second.SetValue(4, 0x42);
    EXPECT_EQ(Saved(second, ffIntel8), CrLf({":05000000FFFFFFFF42BD", ":00000001FF"}));
    EXPECT_EQ(Saved(second, ffAtmelGeneric16), CrLf({"000002:FF42"}));
    EXPECT_EQ(Saved(second, ffAtmelBst),
              CrLf({"11111111", "11111111", "11111111", "11111111", "01000010"}));
}

TEST_F(WriterTest, FormatsWithoutRecordsWriteAnEmptyFile) {
    const THexList buffer = With010203At(64, 0);
    for (int format : {int{ffAutoDetect}, int{ffBinary}, 13}) {
        EXPECT_EQ(Saved(buffer, format), "") << format;
    }
}

TEST_F(WriterTest, NarrowAddressFieldsRefuseImagesTheyCannotHold) {
    const struct {
        int format;
        std::uint32_t firstTooHigh;
    } cases[] = {
        {ffTektronix, 0x10000},
        {ffAtmelGeneric8, 0x10000},
        {ffExtendedTektronix, 0x100000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const std::string path = WriteFile("keep.txt", "the user's old file");
        THexList fits = Buffer(2 * 1024 * 1024);
        fits.SetValue(c.firstTooHigh - 1, 0x00);
        std::string error;
        EXPECT_EQ(TFileLoader::Save(Path("fits.txt"), fits, c.format, &error), 0) << error;

        THexList tooHigh = Buffer(2 * 1024 * 1024);
        tooHigh.SetValue(c.firstTooHigh, 0x00);
        EXPECT_EQ(TFileLoader::Save(path, tooHigh, c.format, &error), 1);
        EXPECT_NE(error.find("only"), std::string::npos) << error;
        EXPECT_EQ(ReadFile(path), "the user's old file");
    }
}

} // namespace
} // namespace isp::testing
