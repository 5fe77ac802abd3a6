// Cross-checks with srec_cat, an independent implementation of the same formats: files it writes
// load to the same bytes, and files we write it reads back to the same bytes.
#include "format_fixture.h"

#include <cstdlib>

namespace isp::testing {
namespace {

class SrecCatTest : public FormatTest {
protected:
    void SetUp() override {
        FormatTest::SetUp();
        ASSERT_EQ(std::system("srec_cat --version >/dev/null 2>&1"), 0)
            << "srec_cat (Debian package srecord) is needed for these tests";
    }

    // srec_cat with the given arguments; its messages go to the test's log on failure.
    void SrecCat(const std::string& arguments) const {
        const std::string log = Path("srec_cat.log");
        const int status = std::system(("srec_cat " + arguments + " >" + log + " 2>&1").c_str());
        ASSERT_EQ(status, 0) << "srec_cat " << arguments << "\n" << ReadFile(log);
    }

    // A random image with whole 0xFF lines and stray 0xFF bytes, as real images have.
    static std::string RandomImage(std::size_t size, unsigned seed) {
        std::mt19937 random(seed);
        std::string image(size, '\xFF');
        for (std::size_t line = 0; line < size; line += 16) {
            if (random() % 4 == 0) {
                continue; // an erased line
            }
            for (std::size_t i = line; i < std::min(size, line + 16); ++i) {
                image[i] = random() % 8 == 0 ? '\xFF' : static_cast<char>(random());
            }
        }
        image[size - 1] = '\x5A'; // data up to the very end
        return image;
    }

    static std::string Bytes(const THexList& buffer) {
        return std::string(reinterpret_cast<const char*>(buffer.Data()),
                           static_cast<std::size_t>(buffer.Size()));
    }

    THexList LoadedFrom(const std::string& image) const {
        THexList buffer = Buffer(static_cast<int>(image.size()));
        std::copy(image.begin(), image.end(), buffer.Data());
        return buffer;
    }
};

struct ToolFormat {
    const char* option;    // srec_cat's name of the format
    int detected;          // what our detector calls srec_cat's output
    int ourFormat;         // what we write for srec_cat to read (0: we do not write it)
    std::size_t imageSize; // within the format's address range
};

const ToolFormat kToolFormats[] = {
    {"-Intel", ffIntelHex32, ffIntelHex32, 0x11000},
    {"-Motorola", ffMotorolaS1, ffMotorolaS1, 0x8000},
    {"-Motorola", ffMotorolaS2, ffMotorolaS2, 0x11000}, // it widens the address itself
    {"-Motorola -address-length=3", ffMotorolaS2, 0, 0x11000},
    {"-Motorola -address-length=4", ffMotorolaS3, 0, 0x11000},
    {"-Tektronix", ffTektronix, ffTektronix, 0x8000},
    {"-Tektronix_Extended", ffExtendedTektronix, ffExtendedTektronix, 0x11000},
    {"-Atmel_Generic_Big_Endian", ffAtmelGeneric16, ffAtmelGeneric16, 0x11000},
};

TEST_F(SrecCatTest, FilesItWritesLoadToTheSameBytes) {
    unsigned seed = 1;
    for (const ToolFormat& format : kToolFormats) {
        SCOPED_TRACE(format.option);
        const std::string image = RandomImage(format.imageSize, seed++);
        const std::string bin = WriteFile("image.bin", image);
        const std::string text = Path("tool.txt");
        SrecCat(bin + " -binary -o " + text + " " + format.option);
        ASSERT_EQ(TFileLoader::Detect(text), format.detected);
        THexList buffer = Buffer(static_cast<int>(image.size()));
        ASSERT_EQ(TFileLoader::LoadText(text, buffer), 0);
        EXPECT_TRUE(Bytes(buffer) == image) << "loaded bytes differ";
    }
}

TEST_F(SrecCatTest, FilesWeWriteItReadsToTheSameBytes) {
    unsigned seed = 100;
    for (const ToolFormat& format : kToolFormats) {
        if (!format.ourFormat) {
            continue;
        }
        SCOPED_TRACE(format.option);
        const std::string image = RandomImage(format.imageSize, seed++);
        const THexList buffer = LoadedFrom(image);
        const std::string text = Path("ours.txt");
        std::string error;
        ASSERT_EQ(TFileLoader::Save(text, buffer, format.ourFormat, &error), 0) << error;
        const std::string back = Path("back.bin");
        SrecCat(text + " " + format.option + " -fill 0xFF 0 " + std::to_string(image.size()) +
                " -o " + back + " -binary");
        EXPECT_TRUE(ReadFile(back) == image) << "srec_cat read other bytes";
    }
}

TEST_F(SrecCatTest, BinaryBothWays) {
    const std::string image = RandomImage(4096, 7);
    THexList buffer = LoadedFrom(image);
    const std::string ours = Path("ours.bin");
    ASSERT_EQ(TFileLoader::SaveBinary(ours, buffer), 0);
    const std::string hex = Path("tool.hex");
    SrecCat(ours + " -binary -o " + hex + " -Intel");
    THexList loaded = Buffer(4096);
    ASSERT_EQ(TFileLoader::LoadText(hex, loaded), 0);
    EXPECT_TRUE(Bytes(loaded) == image);

    const std::string toolBin = Path("tool.bin");
    SrecCat(hex + " -Intel -o " + toolBin + " -binary");
    THexList fromBinary = Buffer(4096);
    ASSERT_EQ(TFileLoader::LoadBinary(toolBin, fromBinary), 0);
    EXPECT_TRUE(Bytes(fromBinary) == image);
}

} // namespace
} // namespace isp::testing
