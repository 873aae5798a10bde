// The user's break asked by a long computation: a Ctrl-C that waits while the program computes is taken once, and
// then cancels no later prompt.
#include <gtest/gtest.h>

#include <poll.h>
#include <pthread.h>
#include <pty.h>
#include <signal.h>
#include <unistd.h>

#include "host/ed/line_editor.h"

namespace {

// Ctrl-C blocked as the line editor blocks it while the program works, for the test's length.
class BlockedInterrupt {
public:
    BlockedInterrupt() {
        sigset_t interrupt;
        sigemptyset(&interrupt);
        sigaddset(&interrupt, SIGINT);
        pthread_sigmask(SIG_BLOCK, &interrupt, &previous_);
    }
    ~BlockedInterrupt() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    BlockedInterrupt(const BlockedInterrupt&) = delete;
    BlockedInterrupt& operator=(const BlockedInterrupt&) = delete;

private:
    sigset_t previous_;
};

TEST(UserBreak, ACtrlCWhileComputingIsTakenOnceAndCancelsNoLaterPrompt) {
    BlockedInterrupt blocked;
    EXPECT_FALSE(host::ed::takeUserBreak()) << "no key, no break";
    ASSERT_EQ(raise(SIGINT), 0);
    EXPECT_TRUE(host::ed::takeUserBreak());
    EXPECT_FALSE(host::ed::takeUserBreak()) << "one key stops once";
    EXPECT_FALSE(host::ed::takePendingInterrupt()) << "the next prompt is not cancelled by it";
    sigset_t pending;
    ASSERT_EQ(sigpending(&pending), 0);
    EXPECT_EQ(sigismember(&pending, SIGINT), 0);
}

TEST(UserBreak, KeysTypedAheadWithTheBreakAnswerNoLaterQuestion) {
    // Standard input is a terminal for the test's length, and keys wait in it, typed while the program computed.
    int master = -1;
    int slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const int savedInput = dup(STDIN_FILENO);
    ASSERT_GE(savedInput, 0);
    ASSERT_EQ(dup2(slave, STDIN_FILENO), STDIN_FILENO);
    ASSERT_EQ(write(master, "y\nOK\n", 5), 5);
    pollfd waiting{STDIN_FILENO, POLLIN, 0};
    EXPECT_EQ(poll(&waiting, 1, 1000), 1) << "the keys wait to be read";
    {
        BlockedInterrupt blocked;
        ASSERT_EQ(raise(SIGINT), 0);
        EXPECT_TRUE(host::ed::takeUserBreak());
    }
    pollfd after{STDIN_FILENO, POLLIN, 0};
    EXPECT_EQ(poll(&after, 1, 0), 0) << "the keys typed ahead are dropped with the break";
    dup2(savedInput, STDIN_FILENO);
    close(savedInput);
    close(slave);
    close(master);
}

}  // namespace
