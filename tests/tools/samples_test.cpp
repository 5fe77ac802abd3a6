// The shipped sample images load, each as the kind of file it claims to be.
#include "fileformats/fileloader.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace isp {
namespace {

TEST(Samples, EveryImageLoadsWithItsBanner) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("isp-samples-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string command = std::string(ISP_MAKE_SAMPLES) + " " + folder.string();
    ASSERT_EQ(std::system(command.c_str()), 0);

    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        ++files;
        THexList buffer;
        buffer.SetSize(2 * 1024 * 1024);
        const bool binary = entry.path().extension() == ".bin";
        EXPECT_EQ(TFileLoader::Detect(path) > 0, !binary);
        const int result =
            binary ? TFileLoader::LoadBinary(path, buffer) : TFileLoader::LoadText(path, buffer);
        ASSERT_EQ(result, 0);
        const std::string banner = "Serial EEPROM ISP sample for ";
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.Data()), banner.size()), banner);
    }
    EXPECT_EQ(files, 10);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace isp
