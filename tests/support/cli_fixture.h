// Runs command lines in process in a private folder with its own settings folder.
#pragma once

#include "cli/cli.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace isp::testing {

class CliFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() /
            ("isp-cli-" + std::to_string(getpid()) + "-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir_);
        setenv("ISP_SETTINGS_DIR", (dir_ / "settings").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("ISP_SETTINGS_DIR");
        std::filesystem::remove_all(dir_);
    }

    int Run(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const int code = cli::RunCli(args, out, err);
        out_ = out.str();
        err_ = err.str();
        return code;
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream data;
        data << in.rdbuf();
        return data.str();
    }

    std::filesystem::path dir_;
    std::string out_, err_;
};

} // namespace isp::testing
