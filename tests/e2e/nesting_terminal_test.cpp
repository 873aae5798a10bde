// A nesting run at a terminal, as a person stops it: Ctrl-C while the parts are placed stops the run at its next
// placement, the sheet placed so far is drawn and its report shown, and the keys typed during the run answer none
// of the questions after it. Before, the key was taken only after the whole run, and then closed the report
// unseen; the run's pass traces filled the screen.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

namespace {

namespace fs = std::filesystem;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

// cadhost with the nesting module on a pseudo-terminal: keys are typed, and the screen is read until a text shows.
class NestingTerminal {
public:
    explicit NestingTerminal(const ScratchFolder& folder) {
        const std::string registry = (folder / "registry.reg").string();
        const std::string config = folder.path().string();
        pid_ = forkpty(&fd_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            ::setenv("KESTRION_REGISTRY", registry.c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
            ::setenv("TERM", "xterm", 1);
            std::vector<char*> argv{const_cast<char*>(CADHOST_EXE), const_cast<char*>("--load"),
                                    const_cast<char*>(NESTING_MODULE), nullptr};
            ::execv(CADHOST_EXE, argv.data());
            ::_exit(127);
        }
    }
    ~NestingTerminal() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0) ::close(fd_);
    }
    NestingTerminal(const NestingTerminal&) = delete;
    NestingTerminal& operator=(const NestingTerminal&) = delete;

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

    const std::string& screen() const { return screen_; }

private:
    int fd_ = -1;
    pid_t pid_ = -1;
    std::string screen_;
    std::size_t seen_ = 0;
};

TEST(NestingTerminal, CtrlCStopsTheRunAtItsNextPlacementAndKeepsWhatIsPlaced) {
    ScratchFolder folder;
    // Many small plates on three sheets: a run far longer than the key takes to arrive.
    const std::string job = (folder / "job.nst").string();
    std::vector<std::string> lines{"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10",
                                   "4", "4", "", "", "1", "0", "Stosk_1000x500", "Sheet", "3", "0", "1", "", "",
                                   "", "", "", "1", "0", "Part_40x30", "Plate", "600", "0", "1", "0", "0", "0",
                                   "1", "0", "", "", "", "", "", "0"};
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    writeBytes(job, text);
    writeBytes(folder / "registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"LangMenu\"=\"EN\"\r\n"
                                        "\"LastFileNesting\"=\"" + job + "\"\r\n");
    NestingTerminal t(folder);
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("OpenFileNesting\r");
    ASSERT_TRUE(t.waitFor("Dialog \"File Nesting\"")) << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("loaded: 3 sheet(s), 600 part(s)")) << t.screen();
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    t.type("StartNestingAdv\r");
    ASSERT_TRUE(t.waitFor("Please wait")) << t.screen();
    ASSERT_TRUE(t.waitFor("Stock 1")) << t.screen();
    // Keys typed while the first sheet is filled, then Ctrl-C.
    t.readFor(5000);
    t.type("ok\r");
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("Nesting stopped by the user: ")) << t.screen();
    ASSERT_TRUE(t.waitFor(" part(s) placed on 1 sheet(s), ")) << t.screen();
    ASSERT_TRUE(t.waitFor("Stock=1/1 Parts=")) << t.screen();
    // The report waits for its answer: the keys typed during the run did not close it.
    ASSERT_TRUE(t.waitFor("Dialog \"Info Nesting\"")) << t.screen();
    t.readFor(500);
    EXPECT_EQ(t.screen().find("Command: ", t.screen().rfind("Dialog \"Info Nesting\"")), std::string::npos)
        << t.screen();
    t.type("ok\r");
    ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
    EXPECT_EQ(t.screen().find("PASS_F"), std::string::npos) << "no pass trace reaches the screen";
    EXPECT_EQ(t.screen().find("Stock 3  Metal recovery"), std::string::npos) << t.screen();
}

}  // namespace
