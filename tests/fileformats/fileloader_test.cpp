// Binary loading and saving, atomic replacement, format names and the Save command's rule.
#include "fileformats/textfile.h"
#include "format_fixture.h"
#include "model/isperrors.h"

#include <unistd.h>

namespace isp::testing {
namespace {

using LoaderTest = FormatTest;

TEST_F(LoaderTest, BinaryIsCopiedAndHexDigitTextDecoded) {
    THexList buffer = Buffer(8);
    const std::string raw = WriteFile("raw.bin", std::string("\x00\x7F\x80\xFF\r\n", 6));
    ASSERT_EQ(TFileLoader::LoadBinary(raw, buffer), 0);
    EXPECT_EQ(buffer.FileName, raw);
    EXPECT_EQ(buffer.GetValue(1), 0x7F);
    EXPECT_EQ(buffer.GetValue(4), '\r');
    EXPECT_EQ(buffer.GetValue(6), 0xFF); // cleared to blank past the file

    // Only hex digits, no line break: two digits per byte, a last odd digit ignored.
    const std::string digits = WriteFile("digits.txt", "0a1B2c3D4e5F6a7b8");
    ASSERT_EQ(TFileLoader::LoadBinary(digits, buffer), 0);
    EXPECT_EQ(buffer.GetValue(0), 0x0A);
    EXPECT_EQ(buffer.GetValue(7), 0x7B);

    // An empty file counts as hex digits: nothing loaded, buffer cleared.
    buffer.SetValue(0, 0x00);
    ASSERT_EQ(TFileLoader::LoadBinary(WriteFile("empty.bin", ""), buffer), 0);
    EXPECT_EQ(buffer.GetValue(0), 0xFF);
}

TEST_F(LoaderTest, BinaryThatDoesNotFitLeavesTheBufferUntouched) {
    THexList buffer = Buffer(4);
    buffer.SetValue(0, 0x11);
    buffer.SetStatus(0, ps_verified);
    buffer.FileName = "before.bin";
    for (const std::string& bytes :
         {std::string("\x01\x02\x03\x04\x05", 5), std::string("0102030405")}) {
        EXPECT_EQ(TFileLoader::LoadBinary(WriteFile("big.bin", bytes), buffer), -1);
        EXPECT_EQ(buffer.GetValue(0), 0x11);
        EXPECT_EQ(buffer.GetStatus(0), TProgStatus(ps_verified));
        EXPECT_EQ(buffer.FileName, "before.bin");
    }
    EXPECT_EQ(TFileLoader::LoadBinary(Path("missing.bin"), buffer), -1);
    // Eight hex digits decode to four bytes: that fits.
    EXPECT_EQ(TFileLoader::LoadBinary(WriteFile("fits.txt", "01020304"), buffer), 0);
}

TEST_F(LoaderTest, SaveBinaryWritesEveryByteAndTakesTheName) {
    THexList buffer = Buffer(300);
    buffer.SetValue(299, 0x42);
    const std::string path = Path("image.bin");
    ASSERT_EQ(TFileLoader::SaveBinary(path, buffer), 0);
    EXPECT_EQ(buffer.FileName, path);
    const std::string data = ReadFile(path);
    ASSERT_EQ(data.size(), 300u);
    EXPECT_EQ(static_cast<std::uint8_t>(data[299]), 0x42);
    EXPECT_EQ(static_cast<std::uint8_t>(data[0]), 0xFF);
}

TEST_F(LoaderTest, FailedSavesReportAndKeepWhatWasThere) {
    THexList buffer = Buffer(64);
    buffer.FileName = "loaded.hex";
    std::string error;

    // A folder in the target's place: the complete temporary file cannot be renamed over it.
    std::filesystem::create_directory(Path("folder.hex"));
    EXPECT_EQ(TFileLoader::Save(Path("folder.hex"), buffer, ffIntel8, &error), 1);
    EXPECT_NE(error.find("Cannot write"), std::string::npos) << error;
    EXPECT_EQ(TFileLoader::SaveBinary(Path("folder.hex"), buffer, &error), 1);
    EXPECT_EQ(buffer.FileName, "loaded.hex");
    EXPECT_TRUE(std::filesystem::is_directory(Path("folder.hex")));

    // A missing folder, and a file where a folder should be.
    EXPECT_EQ(TFileLoader::Save(Path("no/such/out.hex"), buffer, ffIntel8), 1);
    const std::string plain = WriteFile("plain", "keep");
    EXPECT_EQ(TFileLoader::SaveBinary(plain + "/out.bin", buffer, &error), 1);
    EXPECT_EQ(ReadFile(plain), "keep");

    // A read-only folder (root writes through permissions, so only as a normal user).
    std::filesystem::create_directory(Path("locked"));
    const std::string target = WriteFile("locked/old.hex", "old contents");
    std::filesystem::permissions(Path("locked"), std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::owner_exec);
    if (geteuid() != 0) {
        EXPECT_EQ(TFileLoader::Save(target, buffer, ffIntel8, &error), 1);
        EXPECT_EQ(TFileLoader::SaveBinary(target, buffer, &error), 1);
    }
    EXPECT_EQ(ReadFile(target), "old contents");

    // No temporary file is left behind.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_)) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
}

TEST_F(LoaderTest, SaveReplacesAnExistingFileAndKeepsItsPermissions) {
    const std::string path = WriteFile("out.hex", std::string(100000, 'x'));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    THexList buffer = Buffer(16);
    buffer.SetValue(0, 0x00);
    ASSERT_EQ(TFileLoader::Save(path, buffer, ffIntel8), 0);
    EXPECT_EQ(ReadFile(path), CrLf({":0100000000FF", ":00000001FF"}));
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write |
                                                               std::filesystem::perms::group_read);
    EXPECT_EQ(buffer.FileName, ""); // text saves leave the name alone
}

TEST(FileLoader, FormatNames) {
    EXPECT_EQ(TFileLoader::FormatName(-2), "File empty or binary");
    EXPECT_EQ(TFileLoader::FormatName(-1), "File not found");
    EXPECT_EQ(TFileLoader::FormatName(0), "Auto Detect (Intel, Motorola, Tektronix, Atmel) |*.*");
    EXPECT_EQ(TFileLoader::FormatName(1), "Intel Intellex 8/MDS |*.hex");
    EXPECT_EQ(TFileLoader::FormatName(3), "Intel Hex-32 |*.hex");
    EXPECT_EQ(TFileLoader::FormatName(6), "Motorola 32-bit |*.s");
    EXPECT_EQ(TFileLoader::FormatName(7), "Extended Tektronix");
    EXPECT_EQ(TFileLoader::FormatName(8), "Tektronix");
    EXPECT_EQ(TFileLoader::FormatName(10), "Atmel Generic 8-Bit |*.gen");
    EXPECT_EQ(TFileLoader::FormatName(11), "Atmel BST |*.bst");
    EXPECT_EQ(TFileLoader::FormatName(12), "Binary File |*.bin");
    for (int bad : {-3, 13, 1000}) {
        try {
            TFileLoader::FormatName(bad);
            ADD_FAILURE() << bad;
        } catch (const EUnknownFileType& e) {
            EXPECT_STREQ(e.what(), "Unknown File ID");
        }
    }
}

TEST(FileLoader, ReverseBits) {
    EXPECT_EQ(TFileLoader::ReverseBits(0x01), 0x80);
    EXPECT_EQ(TFileLoader::ReverseBits(0xA0), 0x05);
    EXPECT_EQ(TFileLoader::ReverseBits(0x00), 0x00);
    EXPECT_EQ(TFileLoader::ReverseBits(0xFF), 0xFF);
    for (int v = 0; v < 256; ++v) {
        const auto b = static_cast<std::uint8_t>(v);
        ASSERT_EQ(TFileLoader::ReverseBits(TFileLoader::ReverseBits(b)), b);
    }
}

TEST(FileLoader, SaveFormatFollowsTheExtension) {
    const struct {
        const char* name;
        std::int32_t size;
        int expected;
    } cases[] = {
        {"a.hex", 65536, ffIntel8},   {"a.hex", 65537, ffIntelHex32},
        {"a.HEX", 256, ffIntelHex32}, {"a.s90", 256, ffMotorolaS3},
        {"a.s", 256, ffIntelHex32},   {"a.bst", 256, ffAtmelBst},
        {"a.bin", 256, ffBinary},     {"a.mcs", 256, ffIntelHex32},
        {"noext", 256, ffIntelHex32}, {"dir.bin/noext", 256, ffIntelHex32},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TFileLoader::FormatForSaveExtension(c.name, c.size), c.expected) << c.name;
    }
}

} // namespace
} // namespace isp::testing
