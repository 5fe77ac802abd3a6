// Readers: what each record type stores, where loading stops, and what is ignored.
#include "format_fixture.h"

namespace isp::testing {
namespace {

using ReaderTest = FormatTest;

TEST_F(ReaderTest, IntelSegmentAndLinearAddressesAdd) {
    THexList buffer = Buffer(0x30000);
    const std::string path = WriteFile(
        "seg.hex", CrLf({":020000021000EC", ":020000040001F9", ":01000000AB54", ":00000001FF"}));
    ASSERT_EQ(TFileLoader::LoadText(path, buffer), 0);
    EXPECT_EQ(buffer.GetValue(0x20000), 0xAB);
    EXPECT_EQ(buffer.FileName, path);
}

TEST_F(ReaderTest, IntelStopsAtTheEndRecordAndReadsLowerCase) {
    THexList buffer = Buffer(256);
    const std::string path = WriteFile(
        "lower.hex", CrLf({":03001000010203e7", ":00000001FF", ":0100200077??", "garbage"}));
    ASSERT_EQ(TFileLoader::Detect(path), ffIntel8);
    ASSERT_EQ(TFileLoader::LoadText(path, buffer), 0);
    EXPECT_EQ(buffer.GetValue(0x12), 0x03);
    EXPECT_EQ(buffer.GetValue(0x20), 0xFF);
}

TEST_F(ReaderTest, LaterRecordsOverwriteEarlierOnes) {
    THexList buffer = Buffer(256);
    const std::string path =
        WriteFile("twice.hex", CrLf({":0100100011DE", ":0100100022CD", ":00000001FF"}));
    ASSERT_EQ(TFileLoader::LoadText(path, buffer), 0);
    EXPECT_EQ(buffer.GetValue(0x10), 0x22);
}

TEST_F(ReaderTest, RecordBeyondTheBufferKeepsWhatFittedAndFails) {
    THexList buffer = Buffer(0x20);
    buffer.SetStatus(0, ps_failed);
    const std::string path =
        WriteFile("over.hex", CrLf({":04001E0001020304D4", ":0100000055AA", ":00000001FF"}));
    EXPECT_EQ(TFileLoader::LoadText(path, buffer), -1);
    EXPECT_EQ(buffer.GetValue(0x1E), 0x01);
    EXPECT_EQ(buffer.GetValue(0x1F), 0x02);
    EXPECT_EQ(buffer.GetValue(0x00), 0xFF); // the record after the failure was never read
    EXPECT_EQ(buffer.GetStatus(0), TProgStatus(ps_normal)); // cleared before loading
}

TEST_F(ReaderTest, MotorolaRecordKinds) {
    THexList buffer = Buffer(0x200);
    const std::string path =
        WriteFile("kinds.s", CrLf({"S00600004844521B", "S30600000100AB4D", "S20500011022C5",
                                   "S5030002FA", "S804000000FB", "S1040050AAFF"}));
    ASSERT_EQ(TFileLoader::Detect(path), ffMotorolaS3);
    ASSERT_EQ(TFileLoader::LoadText(path, buffer), 0);
    EXPECT_EQ(buffer.GetValue(0x100), 0xAB);
    EXPECT_EQ(buffer.GetValue(0x110), 0x22);
    EXPECT_EQ(buffer.GetValue(0x50), 0xFF); // after the S8 end record
    EXPECT_EQ(buffer.GetValue(0x0), 0xFF);  // the S0 header stores nothing
}

TEST_F(ReaderTest, FilesEndingWithoutAnEndRecordLoad) {
    const struct {
        const char* name;
        std::vector<std::string> lines;
    } cases[] = {
        {"intel", {":03001000010203E7"}},
        {"srec", {"S1060010010203E3", "S5030001FB"}},
        {"tek", {"/0010030401020306"}},
        {"xtek", {"%1A65D800000010010203FFFF10"}},
    };
    for (const auto& c : cases) {
        THexList buffer = Buffer(256);
        ASSERT_EQ(TFileLoader::LoadText(WriteFile(c.name, CrLf(c.lines)), buffer), 0) << c.name;
        EXPECT_EQ(buffer.GetValue(0x10), 0x01) << c.name;
        EXPECT_EQ(buffer.GetValue(0x12), 0x03) << c.name;
    }
}

TEST_F(ReaderTest, TektronixFormats) {
    THexList buffer = Buffer(256);
    const std::string tek =
        WriteFile("a.tek", CrLf({"/0010030401020306", "/00000000", "/00200103AA14"}));
    ASSERT_EQ(TFileLoader::LoadText(tek, buffer), 0);
    EXPECT_EQ(buffer.GetValue(0x11), 0x02);
    EXPECT_EQ(buffer.GetValue(0x20), 0xFF);

    // A symbol record is skipped by detection and by the reader.
    const std::string xtek =
        WriteFile("a.xtek", CrLf({"%0E3000000NAME", "%11614500010010203", "%0E81E800000000"}));
    ASSERT_EQ(TFileLoader::Detect(xtek), ffExtendedTektronix);
    THexList second = Buffer(256);
    ASSERT_EQ(TFileLoader::LoadText(xtek, second), 0);
    EXPECT_EQ(second.GetValue(0x12), 0x03);
}

TEST_F(ReaderTest, AtmelGenericAndBst) {
    THexList buffer = Buffer(256);
    ASSERT_EQ(TFileLoader::LoadText(WriteFile("a.gen", CrLf({"000010:1234"})), buffer), 0);
    EXPECT_EQ(buffer.GetValue(0x20), 0x34);
    EXPECT_EQ(buffer.GetValue(0x21), 0x12);

    ASSERT_EQ(TFileLoader::LoadText(WriteFile("b.gen", CrLf({"00A0:5A", "00a1:c3"})), buffer), 0);
    EXPECT_EQ(buffer.GetValue(0xA0), 0x5A);
    EXPECT_EQ(buffer.GetValue(0xA1), 0xC3);
    EXPECT_EQ(buffer.GetValue(0x20), 0xFF); // the buffer was cleared first

    std::vector<std::string> bst(16, "11111111");
    bst[0] = "10100101";
    bst[15] = "00000001";
    ASSERT_EQ(TFileLoader::LoadText(WriteFile("c.bst", CrLf(bst)), buffer), 0);
    EXPECT_EQ(buffer.GetValue(0), 0xA5);
    EXPECT_EQ(buffer.GetValue(15), 0x01);
    EXPECT_EQ(buffer.GetValue(16), 0xFF);
}

TEST_F(ReaderTest, UnrecognisedTextAndReadErrors) {
    THexList buffer = Buffer(16);
    buffer.SetValue(0, 0x00);
    const std::string path = WriteFile("plain.txt", "hello world\r\n");
    EXPECT_EQ(TFileLoader::LoadText(path, buffer), -1);
    EXPECT_EQ(buffer.FileName, path);
    EXPECT_EQ(buffer.GetValue(0), 0xFF);
    EXPECT_THROW(TFileLoader::LoadText(Path("missing.hex"), buffer), std::system_error);
}

} // namespace
} // namespace isp::testing
