// Shared fixture of the format tests: a private temporary folder and small file helpers.
#pragma once

#include "fileformats/fileloader.h"
#include "model/hexlist.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace isp::testing {

class FormatTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("isp-formats-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    std::string WriteFile(const std::string& name, const std::string& bytes) const {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream data;
        data << in.rdbuf();
        return data.str();
    }

    static THexList Buffer(int size, std::uint8_t blank = 0xFF) {
        THexList buffer;
        buffer.BlankValue = blank;
        buffer.SetSize(size);
        return buffer;
    }

    // Saves in a text format and returns the file's text.
    std::string Saved(const THexList& buffer, int format) const {
        const std::string path = Path("saved.txt");
        std::string error;
        EXPECT_EQ(TFileLoader::Save(path, buffer, format, &error), 0) << error;
        return ReadFile(path);
    }

    std::filesystem::path dir_;
};

// Joins lines with CR LF after each, as the writers do.
inline std::string CrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

} // namespace isp::testing
