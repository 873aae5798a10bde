// ERASE, MOVE, ROTATE, BREAK, UNDO, REDO and DELCONSTRAINT run as modules run them: argument lists, the pause token,
// statuses, refusals.
#include <gtest/gtest.h>

#include "host/ed/commands/group_edit.h"
#include "host/ed/undo_hooks.h"
#include "host/ge/angle.h"
#include "host_command_support.h"

namespace host::ed::testing {
namespace {

using db::ObjectId;
using db::RTCAN;
using db::RTERROR;
using db::RTNORM;

using EditCommands = HostCommandTest;

TEST_F(EditCommands, EraseAllGroupAndLast) {
    const ObjectId a = line({0, 0}, {1, 0});
    const ObjectId b = line({1, 0}, {1, 1});
    const ObjectId c = line({1, 1}, {0, 1});
    ASSERT_EQ(createGroup(db(), "DOROZ_1", "", {a, b}), GroupOutcome::Done);
    EXPECT_EQ(run({str("_.erase"), str("_G"), str("DOROZ_1"), str("")}), RTNORM);
    EXPECT_TRUE(a.isErased());
    EXPECT_TRUE(b.isErased());
    EXPECT_FALSE(c.isErased());
    EXPECT_EQ(run({str("_.ERASE"), str("_L"), str("")}), RTNORM);
    EXPECT_TRUE(c.isErased());
    line({5, 5}, {6, 6});
    line({6, 6}, {7, 5});
    EXPECT_EQ(run({str("_.ERASE"), str("_ALL"), str("")}), RTNORM);
    EXPECT_TRUE(entities().empty());
}

TEST_F(EditCommands, EachCommandIsOneUndoStep) {
    const ObjectId a = line({0, 0}, {1, 0});
    const ObjectId b = line({1, 0}, {1, 1});
    script({"ERASE", "_ALL", "", "UNDO", "1"});
    std::string reason;
    ASSERT_TRUE(runCommandLoop(&reason)) << reason;
    EXPECT_FALSE(a.isErased());
    EXPECT_FALSE(b.isErased());
    EXPECT_NE(said().find("1 step undone."), std::string::npos) << said();
}

TEST_F(EditCommands, RedoDoesAgainWhatTheUndoBeforeItTookBack) {
    const ObjectId a = line({0, 0}, {1, 0});
    const ObjectId b = line({1, 0}, {1, 1});
    std::vector<UndoEvent> told;
    const int hook = addUndoHook([&](const UndoEvent& e) { told.push_back(e); });
    // Two commands undone by one UNDO come back with one REDO; a second REDO has nothing to do.
    script({"ERASE", "_L", "", "ERASE", "_ALL", "", "UNDO", "2", "REDO", "REDO"});
    std::string reason;
    ASSERT_TRUE(runCommandLoop(&reason)) << reason;
    removeUndoHook(hook);
    // the hooks hear of the redo as of the undo
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[1].direction, UndoDirection::Redo);
    EXPECT_EQ(told[1].steps, 2);
    EXPECT_TRUE(a.isErased());
    EXPECT_TRUE(b.isErased());
    EXPECT_NE(said().find("2 steps redone."), std::string::npos) << said();
    EXPECT_NE(said().find("Nothing to redo"), std::string::npos) << said();
    // after a command that changes the drawing, REDO does nothing
    script({"UNDO", "1", "POINT", "5,5", "REDO"});
    ASSERT_TRUE(runCommandLoop(&reason)) << reason;
    EXPECT_FALSE(a.isErased());
    EXPECT_TRUE(b.isErased());
    EXPECT_EQ(said().find("redone."), said().rfind("redone.")) << said();
}

TEST_F(EditCommands, UndoInsideACommandBringsBackWhatItErased) {
    // As the cut-order replacement does: erase a group's members and its definition, then undo one step.
    const ObjectId a = line({0, 0}, {1, 0});
    ASSERT_EQ(createGroup(db(), "DOROZ_3", "", {a}), GroupOutcome::Done);
    addTestCommand("REPLACE", 0, [] {
        command({{db::RTSTR, "_.erase"}, {db::RTSTR, "_G"}, {db::RTSTR, "DOROZ_3"}, {db::RTSTR, ""}});
        command({{db::RTSTR, "_.-group"}, {db::RTSTR, "_E"}, {db::RTSTR, "DOROZ_3"}});
        seen().push_back("undo " + std::to_string(command({{db::RTSTR, "_.undo"}, {db::RTSTR, "1"}})));
    });
    EXPECT_EQ(run({str("REPLACE")}), RTNORM);
    EXPECT_EQ(seen(), std::vector<std::string>{"undo 5100"});
    EXPECT_FALSE(a.isErased());
    EXPECT_FALSE(findGroup(db(), "DOROZ_3").isNull());
}

TEST_F(EditCommands, UndoTellsTheRegisteredHooksWhatItUndid) {
    std::vector<UndoEvent> told;
    const int id = addUndoHook([&](const UndoEvent& e) { told.push_back(e); });
    line({0, 0}, {1, 0});
    // At the prompt: one step; nothing left to undo tells nothing.
    script({"ERASE", "_ALL", "", "UNDO", "1", "UNDO", "5"});
    std::string reason;
    ASSERT_TRUE(runCommandLoop(&reason)) << reason;
    ASSERT_GE(told.size(), 1u);
    EXPECT_EQ(told[0].direction, UndoDirection::Undo);
    EXPECT_EQ(told[0].steps, 1);
    EXPECT_FALSE(told[0].withinCommand);
    ASSERT_NE(told[0].document, nullptr);
    EXPECT_EQ(&told[0].document->database(), &db());
    // Inside a running command: the command undoes its own work.
    told.clear();
    const ObjectId a = line({0, 0}, {1, 0});
    addTestCommand("TAKEBACK", 0, [] {
        command({{db::RTSTR, "_.erase"}, {db::RTSTR, "_L"}, {db::RTSTR, ""}});
        command({{db::RTSTR, "_.undo"}, {db::RTSTR, "1"}});
    });
    EXPECT_EQ(run({str("TAKEBACK")}), RTNORM);
    EXPECT_FALSE(a.isErased());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].withinCommand);
    // A removed hook is told nothing more.
    EXPECT_TRUE(removeUndoHook(id));
    EXPECT_FALSE(removeUndoHook(id));
    told.clear();
    script({"ERASE", "_ALL", "", "UNDO", "1"});
    ASSERT_TRUE(runCommandLoop(&reason)) << reason;
    EXPECT_TRUE(told.empty());
}

TEST_F(EditCommands, MoveWithThePauseTokenTakesTheSecondPointFromTheUser) {
    const ObjectId a = line({0, 0}, {1, 0});
    script({"5,5"});
    EXPECT_EQ(run({str("_.move"), name(a), str(""), str("0,0"), str("\\")}), RTNORM);
    EXPECT_EQ(get<db::Line>(a)->start(), ge::Point3d(5, 5, 0));
    // Enter at the second point: the base point is the displacement.
    EXPECT_EQ(run({str("_.MOVE"), name(a), str(""), str("1,2"), str("")}), RTNORM);
    EXPECT_EQ(get<db::Line>(a)->start(), ge::Point3d(6, 7, 0));
}

TEST_F(EditCommands, RotateASelectionSetAboutABasePoint) {
    const ObjectId a = line({0, 0}, {10, 0});
    const ObjectId b = circle({10, 5}, 1);
    db::EntityName set;
    ASSERT_EQ(ssGet("_X", nullptr, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(run({str("_.ROTATE"), {db::RTPICKS, set}, str(""), str("5.000000,2.500000"), str("180")}), RTNORM);
    ssFree(set);
    const auto* l = get<db::Line>(a);
    EXPECT_NEAR(l->start().x, 10, 1e-9);
    EXPECT_NEAR(l->start().y, 5, 1e-9);
    EXPECT_NEAR(get<db::Circle>(b)->center().x, 0, 1e-9);
    EXPECT_NEAR(get<db::Circle>(b)->center().y, 0, 1e-9);
    EXPECT_NE(said().find("ANGDIR=counterclockwise"), std::string::npos);
}

TEST_F(EditCommands, RotateByReferenceAndACopy) {
    const ObjectId a = line({1, 0}, {2, 0});
    EXPECT_EQ(run({str("ROTATE"), name(a), str(""), str("0,0"), str("_R"), str("90"), str("180")}), RTNORM);
    EXPECT_NEAR(get<db::Line>(a)->start().y, 1, 1e-9);
    EXPECT_EQ(run({str("ROTATE"), name(a), str(""), str("0,0"), str("_C"), str("90")}), RTNORM);
    ASSERT_EQ(entities().size(), 2u);
    EXPECT_NEAR(get<db::Line>(a)->start().y, 1, 1e-9);  // the original stays
    EXPECT_NEAR(get<db::Line>(entities()[1])->start().x, -1, 1e-9);
}

TEST_F(EditCommands, BreakACircleWithFirstAndSecondPoints) {
    const ObjectId c = circle({0, 0}, 2);
    EXPECT_EQ(run({str("_.break"), name(c), str("_f"), point(2, 0), point(0, 2)}), RTNORM);
    ASSERT_EQ(kinds(), "ARC");
    const auto* arc = get<db::Arc>(entities()[0]);
    EXPECT_NEAR(arc->startAngle(), ge::kHalfPi, 1e-12);  // counter-clockwise from the first to the second went
    EXPECT_NEAR(arc->endAngle(), 0.0, 1e-12);
}

TEST_F(EditCommands, BreakRefusals) {
    const ObjectId c = circle({0, 0}, 2);
    EXPECT_EQ(run({str("_.break"), name(c), str("_f"), point(2, 0), point(2, 0)}), RTERROR);
    EXPECT_NE(said().find("Arc cannot be full 360 degrees."), std::string::npos) << said();
    const ObjectId t = add(std::make_unique<db::Text>(ge::Point3d{0, 0}, "abc", 1.0));
    EXPECT_EQ(run({str("_.break"), name(t), str("_f"), point(0, 0), point(1, 0)}), RTERROR);
    EXPECT_NE(said().find("Cannot break this object."), std::string::npos) << said();
    EXPECT_FALSE(c.isErased());
    EXPECT_EQ(run({str("_.break"), name(c), str("_f"), str("not a point")}), RTERROR);
}

TEST_F(EditCommands, DelConstraintHasNothingToRemove) {
    line({0, 0}, {1, 0});
    EXPECT_EQ(run({str("_.DELCONSTRAINT"), str("_All"), str("")}), RTNORM);
    EXPECT_EQ(entities().size(), 1u);
}

TEST_F(EditCommands, AnEscapeCancels) {
    const ObjectId a = line({0, 0}, {1, 0});
    script({"^C"});
    EXPECT_EQ(run({str("_.move"), name(a), str(""), str("\\")}), RTCAN);
    EXPECT_EQ(get<db::Line>(a)->start(), ge::Point3d(0, 0, 0));
}

}  // namespace
}  // namespace host::ed::testing
