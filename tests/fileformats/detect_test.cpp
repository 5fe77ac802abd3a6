// Detection: the six detectors in their fixed order, on lines and on files.
#include "fileformats/records.h"
#include "format_fixture.h"

namespace isp::testing {
namespace {

using DetectTest = FormatTest;

TEST(Detect, TableOfTexts) {
    const struct {
        const char* what;
        std::vector<std::string> lines;
        int expected;
    } cases[] = {
        {"intel data+end", {":03001000010203E7", ":00000001FF"}, ffIntel8},
        {"intel segment", {":020000021000EC", ":03001000010203E7", ":00000001FF"}, ffIntelMcs86},
        {"intel linear", {":020000040001F9", ":03001000010203E7", ":00000001FF"}, ffIntelHex32},
        {"intel lower case", {":03001000010203e7", ":00000001ff"}, ffIntel8},
        {"intel garbage after end", {":00000001FF", "not a record"}, ffIntel8},
        {"intel empty lines", {"", ":03001000010203E7", ""}, ffIntel8},
        {"intel trailing space", {":03001000010203E7 ", ":00000001FF"}, 0},
        {"intel unknown type", {":03001006010203E7"}, 0},
        {"intel count mismatch", {":04001000010203E7"}, 0},
        {"srec S1", {"S1060010010203E3", "S9030000FC"}, ffMotorolaS1},
        {"srec S2", {"S207010000010203F1", "S9030000FC"}, ffMotorolaS2},
        {"srec S3", {"S30800000010010203E2", "S70500000000FA"}, ffMotorolaS3},
        {"srec S0+S1+S5, no end",
         {"S00600004844521B", "S1060010010203E3", "S5030001FB"},
         ffMotorolaS1},
        {"srec S4 is reserved", {"S1060010010203E3", "S4030001FB"}, 0},
        {"srec lower-case s", {"s1060010010203E3"}, 0},
        {"xtek", {"%11614500010010203", "%0E81E800000000"}, ffExtendedTektronix},
        {"xtek wrong length", {"%12614500010010203"}, 0},
        {"tek", {"/0010030401020306", "/00000000"}, ffTektronix},
        {"tek bad header checksum", {"/0010030501020306"}, 0},
        {"gen16", {"000010:1234", "000011:FFFF"}, ffAtmelGeneric16},
        {"gen8", {"0010:12", "0011:FF"}, ffAtmelGeneric8},
        {"gen mixed widths", {"0010:12", "000011:FFFF"}, 0},
        {"gen bad colon", {"00:1012"}, 0},
        {"empty lines only", {"", ""}, ffAtmelGeneric16},
        {"bst", {"10100101", "00000000"}, ffAtmelBst},
        {"bst with empty line", {"10100101", ""}, 0},
        {"hex digits, one line", {"0102A0FF"}, 0},
        {"plain text", {"hello"}, 0},
        {"no lines", {}, ffEmptyOrBinary},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TFileLoader::Detect(c.lines), c.expected) << c.what;
    }
}

TEST(Detect, ChecksumsAreComparedOnlyWhenAskedFor) {
    ASSERT_TRUE(TFileLoader::IgnoreChecksums);
    const records::Lines badIntel = {":03001000010203E8"};
    EXPECT_EQ(records::DetectIntel(badIntel, false), ffIntel8);
    EXPECT_EQ(records::DetectIntel(badIntel, true), 0);
    EXPECT_EQ(records::DetectIntel({":03001000010203E7"}, true), ffIntel8);

    EXPECT_EQ(records::DetectMotorola({"S1060010010203E4"}, true), 0);
    EXPECT_EQ(records::DetectMotorola({"S1060010010203E3"}, true), ffMotorolaS1);
    EXPECT_EQ(records::DetectExtendedTektronix({"%11615500010010203"}, true), 0);
    EXPECT_EQ(records::DetectExtendedTektronix({"%0E81E800000000"}, true), ffExtendedTektronix);
    EXPECT_EQ(records::DetectTektronix({"/0010030401020307"}, true), 0);
    EXPECT_EQ(records::DetectTektronix({"/0010030401020306"}, true), ffTektronix);
}

TEST_F(DetectTest, FilesSplitAtAnyLineEndAndStopAtNul) {
    const struct {
        const char* what;
        std::string bytes;
        int expected;
    } cases[] = {
        {"CR LF", ":03001000010203E7\r\n:00000001FF\r\n", ffIntel8},
        {"LF", ":03001000010203E7\n:00000001FF\n", ffIntel8},
        {"CR", ":03001000010203E7\r:00000001FF\r", ffIntel8},
        {"no final break", ":03001000010203E7\r\n:00000001FF", ffIntel8},
        {"NUL ends the text", std::string(":00000001FF\r\n\0garbage", 21), ffIntel8},
        {"NUL first", std::string("\0:00000001FF", 12), ffEmptyOrBinary},
        {"empty", "", ffEmptyOrBinary},
        {"two line breaks", "\r\n\r\n", ffAtmelGeneric16},
        {"hex digits", "0102A0ff", 0},
        {"hex digits + CR LF", "0102A0ff\r\n", 0},
        {"binary image", std::string("\x01\x02\xFF\x80", 4), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TFileLoader::Detect(WriteFile("f", c.bytes)), c.expected) << c.what;
    }
    EXPECT_EQ(TFileLoader::Detect(Path("missing")), ffFileNotFound);
}

} // namespace
} // namespace isp::testing
