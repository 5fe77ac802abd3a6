// Runs isp-sim as a child process for tests: reads the terminal path it prints, stops it with a
// signal and reports how it ended.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace isp::testing {

class IspSimProcess {
public:
    explicit IspSimProcess(std::vector<std::string> args) {
        args.insert(args.begin(), ISP_SIM_PATH);
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        int out[2];
        EXPECT_EQ(pipe(out), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        EXPECT_EQ(posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = out[0];
        path_ = ReadLine();
    }
    ~IspSimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
    }

    const std::string& Path() const { return path_; }

    int Stop(int signal) {
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

private:
    std::string ReadLine() {
        std::string line;
        char c;
        pollfd pfd{out_, POLLIN, 0};
        while (poll(&pfd, 1, 5000) > 0 && read(out_, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        return line;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    std::string path_;
};

} // namespace isp::testing
