// isp-sim as a process: it prints its pseudo-terminal, a plain termios client talks to the unit
// there, and SIGTERM ends it cleanly with the chip's contents saved.
#include "support/isp_sim_process.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <random>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using isp::testing::IspSimProcess;

// A minimal serial client: raw mode, 115200 baud, reads with a time-out.
class TermiosClient {
public:
    explicit TermiosClient(const std::string& path) {
        fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(fd_, 0) << path;
        termios tio{};
        tcgetattr(fd_, &tio);
        cfmakeraw(&tio);
        cfsetspeed(&tio, B115200);
        tcsetattr(fd_, TCSANOW, &tio);
    }
    ~TermiosClient() { close(fd_); }

    std::string Exchange(const std::string& bytes, std::size_t n) {
        EXPECT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        std::string reply;
        pollfd pfd{fd_, POLLIN, 0};
        while (reply.size() < n && poll(&pfd, 1, 2000) > 0) {
            char buffer[4096];
            const ssize_t got = read(fd_, buffer, std::min(sizeof buffer, n - reply.size()));
            if (got <= 0) {
                break;
            }
            reply.append(buffer, static_cast<std::size_t>(got));
        }
        return reply;
    }

private:
    int fd_ = -1;
};

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("isp-sim-test-" + std::to_string(getpid()) + "-" + name))
        .string();
}

TEST(IspSim, ServesAChipOnAPseudoTerminal) {
    std::string image(256, '\0');
    std::mt19937 random(9);
    for (char& c : image) {
        c = static_cast<char>(random());
    }
    const std::string imagePath = TempPath("image.bin");
    const std::string savePath = TempPath("saved.bin");
    const std::string linkPath = TempPath("port");
    std::ofstream(imagePath, std::ios::binary) << image;

    IspSimProcess sim(
        {"--device", "24C02", "--image", imagePath, "--save", savePath, "--link", linkPath});
    ASSERT_EQ(sim.Path().rfind("/dev/pts/", 0), 0u) << sim.Path();
    ASSERT_TRUE(std::filesystem::is_symlink(linkPath));
    {
        TermiosClient client(linkPath);
        EXPECT_EQ(client.Exchange("*", 1), "\r");
        EXPECT_EQ(client.Exchange("S", 10), "EEPROMISP\r");
        EXPECT_EQ(client.Exchange("M00E01pNA0", 4), "\r\r\r\r");
        // Read the whole chip: random-read header, then a bulk read of 256 bytes.
        EXPECT_EQ(client.Exchange("Xw\xA0w" + std::string(1, '\0') + "Xw\xA1", 5), "\r\r\r\r\r");
        EXPECT_EQ(client.Exchange(std::string("R\x00\x01", 3), 257), image + "\r");
        // Program one page and leave it for the saved image.
        EXPECT_EQ(client.Exchange(std::string("D05Xw\xA0w\x10W\x04\x01\x02\x03\x04", 14), 5),
                  "\r\r\r\r\r");
    }
    const int status = sim.Stop(SIGTERM);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(std::filesystem::exists(linkPath));

    std::ifstream saved(savePath, std::ios::binary);
    std::stringstream data;
    data << saved.rdbuf();
    std::string expected = image;
    expected.replace(0x10, 4, "\x01\x02\x03\x04");
    EXPECT_TRUE(data.str() == expected);
    std::filesystem::remove(imagePath);
    std::filesystem::remove(savePath);
}

TEST(IspSim, RefusesBadArguments) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--device", "27C512"},
                                                 {"--fault", "gremlins"},
                                                 {"--org", "12"},
                                                 {"--colour"}}) {
        std::vector<std::string> full = args;
        IspSimProcess sim(full);
        EXPECT_EQ(sim.Path(), "");
        const int status = sim.Stop(0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 2);
    }
}

} // namespace
