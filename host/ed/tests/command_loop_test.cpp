// The command prompt's loop over a script: a whole session's transcript, Esc at the command prompt, the end of the
// script while a command waits, an unknown command stopping a script, QUIT, and a command that would ask forever.
#include <gtest/gtest.h>

#include <sstream>

#include "host/ed/tests/command_test_support.h"

namespace host::ed::testing {
namespace {

class CommandLoop : public EditorTest {};

TEST_F(CommandLoop, RunsAScriptToItsEnd) {
    script({";; two lines", "DRAW", "0,0", "10,0", "", "0,5", "10,5", "^C", "ASK2", "a", "^C"});
    std::string reason;
    EXPECT_TRUE(runCommandLoop(&reason)) << reason;
    EXPECT_EQ(reason, "");
    EXPECT_EQ(lines(), 2u) << "Enter repeated DRAW";
    EXPECT_EQ(doc->database().undoableSteps(), 2);
    EXPECT_EQ(seen(), (std::vector<std::string>{"a", "Esc"}));
    EXPECT_EQ(said(),
              "\nCommand: DRAW\nFirst point: 0,0\nSecond point: 10,0"
              "\nCommand: \nFirst point: 0,5\nSecond point: 10,5"
              "\nCommand: *Cancel*"
              "\nCommand: ASK2\nFirst: a\nSecond: *Cancel*"
              "\nCommand: ");
}

TEST_F(CommandLoop, TheEndOfTheScriptWhileACommandWaitsStopsTheRun) {
    script({"DRAW", "0,0", "", "ASK2"});
    std::string reason;
    EXPECT_FALSE(runCommandLoop(&reason));
    EXPECT_EQ(reason, "t.scr, line 4: the input ended while ASK2 waited for an answer to \"First:\"");
    EXPECT_TRUE(said().ends_with("\nCommand: ASK2\nFirst: ")) << said();

    // Named with the line the waiting command started at when that was earlier.
    script({"DRAW", "0,0"});
    EXPECT_FALSE(runCommandLoop(&reason));
    EXPECT_EQ(reason, "t.scr, line 2: the input ended while DRAW (started at t.scr, line 1) waited for an answer "
                      "to \"Second point:\"");
    EXPECT_EQ(lines(), 0u);
    EXPECT_FALSE(isCommandActive());
}

TEST_F(CommandLoop, AnUnknownCommandStopsAScriptButNotAPerson) {
    script({"DRAW", "0,0", "1,1", "FROB", "DRAW", "0,0", "2,2"});
    std::string reason;
    EXPECT_FALSE(runCommandLoop(&reason));
    EXPECT_EQ(reason, "t.scr, line 4: unknown command \"FROB\"; the script stops here");
    EXPECT_EQ(lines(), 1u) << "nothing after the unknown command ran";

    // At a terminal the person reads the message and types again.
    std::istringstream typed("FROB\nDRAW\n0,0\n3,3\n");
    setInput(std::make_unique<TerminalInput>(typed, false));
    EXPECT_TRUE(runCommandLoop(&reason));
    EXPECT_EQ(lines(), 2u);
}

TEST_F(CommandLoop, TheEndOfTheTerminalInputCancelsAWaitingCommandAndEndsTheRun) {
    std::istringstream typed("DRAW\n0,0\n1,1\nDRAW\n5,5\n");
    setInput(std::make_unique<TerminalInput>(typed, false));
    std::string reason;
    EXPECT_TRUE(runCommandLoop(&reason)) << "a person who ends the input means to stop";
    EXPECT_EQ(reason, "");
    EXPECT_EQ(lines(), 1u);
    EXPECT_FALSE(isCommandActive());
}

TEST_F(CommandLoop, QuitEndsTheLoopAfterTheRunningCommand) {
    // The note is a named string: g++ 12 at -O3 took the literal's copy into a temporary for a read past its
    // end (-Wstringop-overread), which a build with warnings as errors refuses.
    static const std::string ranToItsEnd = "STOP ran to its end";
    addTestCommand("STOP", 0, [] {
        requestQuit();
        seen().push_back(ranToItsEnd);
    });
    script({"STOP", "DRAW", "0,0", "1,1"});
    EXPECT_TRUE(runCommandLoop());
    EXPECT_EQ(seen(), (std::vector<std::string>{ranToItsEnd}));
    EXPECT_EQ(lines(), 0u);
    EXPECT_EQ(input().readLine(""), std::optional<std::string>("DRAW")) << "the rest of the script is left unread";

    // The next loop starts afresh.
    script({"DRAW", "0,0", "1,1"});
    EXPECT_TRUE(runCommandLoop());
    EXPECT_EQ(lines(), 1u);
}

TEST_F(CommandLoop, ACommandThatAsksForeverAfterTheEndIsStopped) {
    // Without the bound, NAG would spin at the end of the input for ever.
    script({"NAG", "1", "2"});
    std::string reason;
    EXPECT_FALSE(runCommandLoop(&reason));
    EXPECT_EQ(reason, "t.scr, line 3: the input ended while NAG (started at t.scr, line 1) waited for an answer to "
                      "\"Again:\"");
    EXPECT_NE(said().find("The command NAG failed: it kept asking for answers after the input had ended."),
              std::string::npos);
    EXPECT_FALSE(isCommandActive());
}

}  // namespace
}  // namespace host::ed::testing
