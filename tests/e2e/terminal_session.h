// cadhost on a pseudo-terminal for the whole-program tests: a person's keys typed, the screen read back.
#pragma once

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"

namespace e2e {

// cadhost on a pseudo-terminal: keys are typed, and the screen's output is read until a text shows.
class Terminal {
public:
    Terminal(const host::sys::testing::ScratchFolder& folder, const std::vector<std::string>& args) {
        const std::string registry = (folder / "registry.reg").string();
        const std::string config = folder.path().string();
        pid_ = forkpty(&fd_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            // The session works in the scratch folder: a name without a folder is saved there.
            if (::chdir(config.c_str()) != 0) ::_exit(126);
            ::setenv("KESTRION_REGISTRY", registry.c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
            ::setenv("TERM", "xterm", 1);
            std::vector<char*> argv{const_cast<char*>(CADHOST_EXE)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(CADHOST_EXE, argv.data());
            ::_exit(127);
        }
    }
    ~Terminal() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0) ::close(fd_);
    }

    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    bool started() const { return pid_ > 0; }
    void type(const std::string& keys) { ASSERT_EQ(::write(fd_, keys.data(), keys.size()), ssize_t(keys.size())); }

    // Reads until `text` has been shown since the last wait (or `seconds` pass); answers whether it was.
    bool waitFor(const std::string& text, int seconds = 60) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (screen_.find(text, seen_) == std::string::npos) {
            if (std::chrono::steady_clock::now() > until) return false;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 200) <= 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) return false;
            screen_.append(buffer, std::size_t(n));
        }
        seen_ = screen_.find(text, seen_) + text.size();
        return true;
    }

    // Reads what is shown for `milliseconds`.
    void readFor(int milliseconds) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < until) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) return;
            screen_.append(buffer, std::size_t(n));
        }
    }

    // Waits for the program to end (20 s at most), reading what it still shows; its exit status, or -1.
    int exitStatus() {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < until) {
            char buffer[4096];
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
                const ssize_t n = ::read(fd_, buffer, sizeof buffer);
                if (n > 0) screen_.append(buffer, std::size_t(n));
            }
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::usleep(10000);
        }
        return -1;
    }

    const std::string& screen() const { return screen_; }

private:
    int fd_ = -1;
    pid_t pid_ = -1;
    bool exited_ = false;
    std::string screen_;
    std::size_t seen_ = 0;
};

}  // namespace e2e
