// The user's break asked by a long computation: a Ctrl-C that waits while the program computes is taken once, and
// then cancels no later prompt.
#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>

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

}  // namespace
