// Undo steps of commands: one step per top-level command, nested commands inside it, a command that throws
// stopped at its boundary with its step taken back, "UNDO 1" from inside a running command.
#include <gtest/gtest.h>

#include "host/ed/tests/command_test_support.h"

namespace host::ed::testing {
namespace {

class CommandUndo : public EditorTest {};

TEST_F(CommandUndo, EachTopLevelCommandIsOneStepWithWhatItRan) {
    script({"0,0", "1,0"});
    ASSERT_EQ(runTypedCommand("DRAW"), db::RTNORM);
    ASSERT_EQ(runTypedCommand("NEST"), db::RTNORM);
    EXPECT_EQ(seen(), (std::vector<std::string>{"DRAW answered 5100"}));
    EXPECT_EQ(lines(), 3u);
    EXPECT_EQ(doc->database().undoableSteps(), 2);

    // NEST's own line and the line of the DRAW it ran go back together.
    ASSERT_EQ(doc->database().undo(1), db::Status::Ok);
    EXPECT_EQ(lines(), 1u);
    ASSERT_EQ(doc->database().undo(1), db::Status::Ok);
    EXPECT_EQ(lines(), 0u);
}

TEST_F(CommandUndo, ACommandThatThrowsIsStoppedReportedAndTakenBack) {
    script({"0,0", "1,0"});
    ASSERT_EQ(runTypedCommand("DRAW"), db::RTNORM);
    transcript().clear();
    EXPECT_EQ(runTypedCommand("THROW"), db::RTERROR);
    EXPECT_EQ(said(), "\nThe command THROW failed: boom. Its changes were undone.");
    EXPECT_EQ(lines(), 1u) << "the line THROW drew is gone, DRAW's stays";
    EXPECT_EQ(doc->database().undoableSteps(), 1);
    EXPECT_FALSE(isCommandActive());

    // Run by a module, the failure is its status; inside a running command it is part of that command's step.
    transcript().clear();
    EXPECT_EQ(command({{db::RTSTR, "THROW"}}), db::RTERROR);
    EXPECT_EQ(lines(), 1u);
    std::string nestedStatus;
    addTestCommand("CATCHER", 0, [&] {
        nestedStatus = std::to_string(command({{db::RTSTR, "THROW"}}));
        addLine({5, 5, 0}, {6, 6, 0});
    });
    transcript().clear();
    EXPECT_EQ(runTypedCommand("CATCHER"), db::RTNORM);
    EXPECT_EQ(nestedStatus, "-5001");
    EXPECT_EQ(said(), "\nThe command THROW failed: boom.") << "a nested command's changes are its caller's step";
    EXPECT_EQ(lines(), 3u);
    ASSERT_EQ(doc->database().undo(1), db::Status::Ok);
    EXPECT_EQ(lines(), 1u);
}

TEST_F(CommandUndo, ACommandThatThrowsWithNothingDoneUndoesNothingElse) {
    script({"0,0", "1,0"});
    ASSERT_EQ(runTypedCommand("DRAW"), db::RTNORM);
    addTestCommand("THROWEARLY", 0, [] { throw std::logic_error("nothing done"); });
    EXPECT_EQ(runTypedCommand("THROWEARLY"), db::RTERROR);
    EXPECT_NE(said().find("\nThe command THROWEARLY failed: nothing done."), std::string::npos) << said();
    EXPECT_EQ(lines(), 1u) << "the step before it is not taken back in its place";
    EXPECT_EQ(doc->database().undoableSteps(), 1);
}

TEST_F(CommandUndo, UndoInsideACommandTakesBackWhatItDidSoFar) {
    script({"0,0", "1,0"});
    ASSERT_EQ(runTypedCommand("DRAW"), db::RTNORM);
    ASSERT_EQ(runTypedCommand("UNDOINSIDE"), db::RTNORM);
    EXPECT_EQ(seen(), (std::vector<std::string>{"undone 1"}));
    EXPECT_EQ(lines(), 2u) << "DRAW's line and the second line of UNDOINSIDE";
    ASSERT_EQ(doc->database().undo(1), db::Status::Ok);
    EXPECT_EQ(lines(), 1u);
}

TEST_F(CommandUndo, ACommandThatMakesNoUndoMarkerLeavesNoStep) {
    addTestCommand("NOMARK", CMD_NOUNDOMARKER, [] { addLine({0, 0, 0}, {3, 3, 0}); });
    ASSERT_EQ(runTypedCommand("NOMARK"), db::RTNORM);
    EXPECT_EQ(lines(), 1u);
    EXPECT_EQ(doc->database().undoableSteps(), 0);
}

TEST_F(CommandUndo, TheStepEndsInTheDrawingItBeganInWhenTheCommandSwitchesDrawings) {
    Document* first = doc;
    Document* second = nullptr;
    addTestCommand("SWITCH", CMD_SESSION, [&] {
        addLine({0, 0, 0}, {1, 0, 0});
        second = documents().newDocument();
        addLine({0, 0, 0}, {2, 0, 0});
    });
    ASSERT_EQ(runTypedCommand("SWITCH"), db::RTNORM);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(documents().current(), second);
    EXPECT_FALSE(first->database().inUndoStep());
    EXPECT_FALSE(second->database().inUndoStep());
    EXPECT_EQ(first->database().undoableSteps(), 1);
    EXPECT_EQ(modelSpaceCount(second->database()), 1u);

    // A command that closes the drawing it began in ends cleanly too.
    addTestCommand("CLOSEME", CMD_SESSION, [] { documents().close(*documents().current()); });
    EXPECT_EQ(runTypedCommand("CLOSEME"), db::RTNORM);
    EXPECT_EQ(documents().current(), first);
}

}  // namespace
}  // namespace host::ed::testing
