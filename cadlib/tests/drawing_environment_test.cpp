// Host variable accessors, the drawing environment's save/change/restore against the host's variables, and the
// command-frame helpers (elapsed time, CMDNAMES tests, pause prompt).
#include "cadlib/command_frame.h"
#include "cadlib/drawing_environment.h"
#include "cadlib/host_variables.h"
#include "cadlib/messages.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/input.h"
#include "host/ed/prompts.h"
#include "host/ed/sysvars.h"
#include "host/ed/tests/input_test_drawing.h"
#include "host/ed/transcript.h"

namespace {

using host::db::RTERROR;
using host::db::RTNORM;
using host::ed::getShort;
using host::ed::getText;
using host::ge::Point3d;

class HostEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        host::ed::resetSystemVariables();
        host::ed::transcript().clear();
        SetLibraryLanguage(Language::English);
    }
    void TearDown() override {
        host::ed::resetSystemVariables();
        host::ed::setInput(nullptr);
        SetLibraryLanguage(Language::English);
    }
    host::ed::testing::TestDrawing drawing;
};

TEST_F(HostEnvironment, ReadersStoreOnSuccessAndLeaveOutputOnFailure) {
    ASSERT_EQ(SetSysVarInt("SELECTIONCYCLING", -1), RTNORM);
    int i = 7;
    EXPECT_EQ(GetSysVarInt("SELECTIONCYCLING", i), RTNORM);
    EXPECT_EQ(i, -1);  // sign-extended, not 65535

    i = 7;
    double r = 2.5;
    std::string s = "kept";
    Point3d p(1, 2, 3);
    EXPECT_EQ(GetSysVarInt("NOSUCHVAR", i), RTERROR);
    EXPECT_EQ(GetSysVarReal("NOSUCHVAR", r), RTERROR);
    EXPECT_EQ(GetSysVarString("NOSUCHVAR", s), RTERROR);
    EXPECT_EQ(GetSysVarPoint3d("NOSUCHVAR", p), RTERROR);
    EXPECT_EQ(GetSysVarPoint2d("NOSUCHVAR", p), RTERROR);
    EXPECT_EQ(GetSysVarPoint2dAs3d("NOSUCHVAR", p), RTERROR);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(r, 2.5);
    EXPECT_EQ(s, "kept");
    EXPECT_EQ(p, Point3d(1, 2, 3));

    EXPECT_EQ(SetSysVarReal("LTSCALE", 2.5), RTNORM);
    EXPECT_EQ(GetSysVarReal("LTSCALE", r), RTNORM);
    EXPECT_EQ(r, 2.5);
    EXPECT_EQ(SetSysVarString("CECOLOR", "1"), RTNORM);
    EXPECT_EQ(GetSysVarString("CECOLOR", s), RTNORM);
    EXPECT_EQ(s, "1");
    EXPECT_EQ(SetSysVarInt("NOSUCHVAR", 1), RTERROR);
}

TEST_F(HostEnvironment, PointReadersAndWriters) {
    ASSERT_EQ(SetSysVarPoint3d("INSBASE", Point3d(1, 2, 3)), RTNORM);
    Point3d p(9, 9, 9);
    EXPECT_EQ(GetSysVarPoint3d("INSBASE", p), RTNORM);
    EXPECT_EQ(p, Point3d(1, 2, 3));
    p = Point3d(9, 9, 9);
    EXPECT_EQ(GetSysVarPoint2d("INSBASE", p), RTNORM);
    EXPECT_EQ(p, Point3d(1, 2, 9));  // z left as it was
    p = Point3d(9, 9, 9);
    EXPECT_EQ(GetSysVarPoint2dAs3d("INSBASE", p), RTNORM);
    EXPECT_EQ(p, Point3d(1, 2, 0));
    // A 2D point for a 3D variable: the host takes z 0.
    EXPECT_EQ(SetSysVarPoint2d("INSBASE", Point3d(4, 5, 6)), RTNORM);
    EXPECT_EQ(GetSysVarPoint3d("INSBASE", p), RTNORM);
    EXPECT_EQ(p, Point3d(4, 5, 0));
}

TEST_F(HostEnvironment, SaveForcesAndRestoreWritesBack) {
    drawing.layer("Cut");
    struct Forced {
        const char* name;
        int before;
        int forced;
    };
    const std::vector<Forced> table = {
        {"PICKSTYLE", 3, 0},       {"CMDECHO", 1, 0},  {"OSMODE", 4133, 0},   {"DRAWORDERCTL", 3, 0},
        {"SELECTIONCYCLING", 1, -2}, {"PLINETYPE", 1, 2}, {"DYNMODE", -2, 0},  {"DYNPROMPT", 1, 0},
        {"FILEDIA", 0, 0},         {"GRIDMODE", 1, 1},
    };
    for (const auto& v : table) ASSERT_EQ(SetSysVarInt(v.name, static_cast<short>(v.before)), RTNORM) << v.name;
    ASSERT_EQ(SetSysVarString("CLAYER", "Cut"), RTNORM);
    ASSERT_EQ(SetSysVarString("CECOLOR", "5"), RTNORM);

    EXPECT_EQ(SaveDrawingEnvironment(), RTNORM);
    for (const auto& v : table) EXPECT_EQ(getShort(v.name), v.forced) << v.name;
    EXPECT_EQ(SavedDrawingEnvironment().CLAYER, "Cut");
    EXPECT_EQ(SavedDrawingEnvironment().SELECTIONCYCLING, 1);

    // The command changes things by hand.
    SetSysVarInt("OSMODE", 7);
    SetSysVarInt("GRIDMODE", 0);
    SetSysVarString("CLAYER", "0");
    SetSysVarString("CECOLOR", "BYLAYER");

    EXPECT_EQ(RestoreDrawingEnvironment(), RTNORM);
    for (const auto& v : table) EXPECT_EQ(getShort(v.name), v.before) << v.name;
    EXPECT_EQ(getText("CLAYER"), "Cut");
    EXPECT_EQ(getText("CECOLOR"), "5");
    EXPECT_EQ(getText("CELTYPE"), SavedDrawingEnvironment().CELTYPE);
}

TEST_F(HostEnvironment, SecondSaveRecordsTheForcedValues) {
    SaveDrawingEnvironment();
    SaveDrawingEnvironment();
    RestoreDrawingEnvironment();
    EXPECT_EQ(getShort("OSMODE"), 0);
    EXPECT_EQ(getShort("SELECTIONCYCLING"), -2);
    EXPECT_EQ(getShort("PICKSTYLE"), 0);
    EXPECT_EQ(getShort("PLINETYPE"), 2);
}

TEST_F(HostEnvironment, GuardRestoresOnEveryWayOut) {
    SetSysVarInt("OSMODE", 33);
    try {
        DrawingEnvironmentGuard guard;
        EXPECT_EQ(getShort("OSMODE"), 0);
        throw std::runtime_error("command failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(getShort("OSMODE"), 33);
    {
        DrawingEnvironmentGuard guard;
        SetSysVarInt("OSMODE", 1);
    }
    EXPECT_EQ(getShort("OSMODE"), 33);
}

TEST_F(HostEnvironment, ElapsedTimeText) {
    struct Case {
        std::int64_t ms;
        const char* text;
    };
    const std::vector<Case> table = {
        {0, "0 min 0.000 sec"},
        {59999, "0 min 59.999 sec"},
        {60000, "1 min 0.000 sec"},
        {125123, "2 min 5.123 sec"},
    };
    for (const auto& c : table) EXPECT_EQ(ElapsedTimeText(c.ms), c.text) << c.ms;
    SetLibraryLanguage(Language::Russian);
    EXPECT_EQ(ElapsedTimeText(125123), "2 мин 5.123 сек");

    SetLibraryLanguage(Language::English);
    std::string text;
    FormatElapsedTime(ElapsedClockMilliseconds(), text);
    EXPECT_EQ(text.rfind("0 min ", 0), 0u) << text;
}

TEST_F(HostEnvironment, CurrentTimeIsPrinted) {
    PrintCurrentTime();
    const std::string& said = host::ed::transcript().text();
    EXPECT_TRUE(std::regex_match(said, std::regex("\n\rThe time is [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] "
                                                  "[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{1,3} [0-9]{4}\n")))
        << said;
}

TEST_F(HostEnvironment, PauseTakesOneAnswer) {
    host::ed::setInput(host::ed::ScriptInput::fromLines({"anything at all", "next"}, "t.scr"));
    PauseWithPrompt("\nPress Enter: ");
    std::string next;
    EXPECT_EQ(host::ed::getString(false, "\nNext: ", next), RTNORM);
    EXPECT_EQ(next, "next");
}

TEST_F(HostEnvironment, CommandNameTests) {
    struct Seen {
        bool activeMove, currentMove, activeMov, currentMovex;
    } seen{};
    host::ed::CommandInfo info;
    info.group = "CADLIB_ENV_TEST";
    info.globalName = "MOVEX";
    info.localName = "MOVEX";
    info.body = [&] {
        seen = {IsCommandActive("MOVE"), IsCurrentCommand("MOVE"), IsCommandActive("MOV"),
                IsCurrentCommand("MOVEX")};
    };
    ASSERT_TRUE(host::ed::commandStack().add(info));
    EXPECT_EQ(host::ed::command({host::db::ResBuf(host::db::RTSTR, "_MOVEX")}), RTNORM);
    host::ed::commandStack().removeGroup("CADLIB_ENV_TEST");
    EXPECT_TRUE(seen.activeMove);
    EXPECT_FALSE(seen.currentMove);
    EXPECT_TRUE(seen.activeMov);
    EXPECT_TRUE(seen.currentMovex);
    EXPECT_FALSE(IsCommandActive("MOVE"));
    EXPECT_FALSE(IsCommandActive("move"));
}

}  // namespace
