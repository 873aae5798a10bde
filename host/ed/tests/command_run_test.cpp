// Running commands: from a module with an argument list (the answer queue, the pause token, Enter, the list's end,
// several commands in one list, statuses), typed at the command prompt (unknown names, Enter repeating, words on
// the command line), transparently at a prompt, and CMDNAMES while they run.
#include <gtest/gtest.h>

#include "host/ed/sysvars.h"
#include "host/ed/tests/command_test_support.h"

namespace host::ed::testing {
namespace {

using db::ResBuf;
using db::RTSTR;

ResBuf str(const char* s) {
    return {RTSTR, s};
}

class CommandRun : public EditorTest {};

TEST_F(CommandRun, ArgumentListsAnswerPromptsInOrder) {
    const db::EntityName someEntity{{1, 2}};
    struct Case {
        const char* what;
        db::ResBufList list;
        std::vector<std::string> input;  // lines of the run's input (for pause tokens)
        int status;
        std::vector<std::string> seen;
    };
    const Case cases[] = {
        {"every answer used", {str("ASK2"), str("a"), str("b")}, {}, db::RTNORM, {"arg a", "arg b"}},
        {"prefixes and case", {str("_.ask2"), str("a"), str("b")}, {}, db::RTNORM, {"arg a", "arg b"}},
        {"\"\" is Enter", {str("ASK2"), str("a"), str("")}, {}, db::RTNORM, {"arg a", "arg Enter"}},
        {"a blank is Enter", {str("ASK2"), str("a"), str(" ")}, {}, db::RTNORM, {"arg a", "arg Enter"}},
        {"too few answers cancel", {str("ASK2"), str("a")}, {}, db::RTCAN, {"arg a", "arg end of arguments"}},
        {"RTNONE ends the list", {str("ASK2"), str("a"), ResBuf(db::RTNONE), str("b")}, {}, db::RTCAN,
         {"arg a", "arg end of arguments"}},
        {"the pause token asks the user", {str("ASK2"), str("\\"), str("b")}, {"typed"}, db::RTNORM,
         {"typed", "arg b"}},
        {"a pause with the input at its end", {str("ASK2"), str("\\")}, {}, db::RTCAN, {"end of input"}},
        {"typed items pass as they are", {str("ASK2"), ResBuf(db::RTREAL, 2.5), ResBuf(db::RTENAME, someEntity)},
         {}, db::RTNORM, {"arg <type 5001>", "arg <type 5006>"}},
        {"answers left start the next command", {str("ASK2"), str("a"), str("b"), str("ASK2"), str("c"), str("d")},
         {}, db::RTNORM, {"arg a", "arg b", "arg c", "arg d"}},
        {"Enter between commands does nothing",
         {str("ASK2"), str("a"), str("b"), str(""), str("ASK2"), str("c"), str("d"), str("")}, {}, db::RTNORM,
         {"arg a", "arg b", "arg c", "arg d"}},
        {"the first failing command ends the list", {str("FAILS"), str("ASK2"), str("a"), str("b")}, {},
         db::RTERROR, {}},
        {"a selection ends with the list", {str("SEL"), ResBuf(db::RTENAME, someEntity), str("x")}, {},
         db::RTNORM, {"selected 2"}},
        {"a selection ended by Enter", {str("SEL"), str("x"), str("")}, {}, db::RTNORM, {"selected 1"}},
        {"a wrong answer from the list fails", {str("DRAW"), str("0,0"), str("north")}, {"1,1"}, db::RTERROR, {}},
        {"a blank name does nothing", {str(" ")}, {}, db::RTNORM, {}},
        {"an unknown name", {str("NOSUCH"), str("a")}, {}, db::RTERROR, {}},
        {"no name", {}, {}, db::RTERROR, {}},
        {"a name that is no text", {ResBuf(db::RTREAL, 1.0)}, {}, db::RTERROR, {}},
    };
    for (const Case& c : cases) {
        seen().clear();
        script(c.input);
        EXPECT_EQ(command(c.list), c.status) << c.what;
        EXPECT_EQ(seen(), c.seen) << c.what;
        EXPECT_FALSE(isCommandActive()) << c.what;
    }
    EXPECT_EQ(lines(), 0u) << "the DRAW that failed drew nothing";
}

TEST_F(CommandRun, AWrongTypedAnswerForAPauseIsAskedAgainFromTheUser) {
    // The user's retry must not take the list's next item: "10,0" answers the second prompt, not the first.
    script({"north", "3,4"});
    EXPECT_EQ(command({str("DRAW"), str("\\"), str("10,0")}), db::RTNORM);
    ASSERT_EQ(lines(), 1u);
    db::ObjectPtr<db::Line> line(db::workingDatabase()->lastEntity(), db::OpenMode::Read);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->start(), ge::Point3d(3, 4, 0));
    EXPECT_EQ(line->end(), ge::Point3d(10, 0, 0));
    EXPECT_NE(said().find("\nFirst point: north\nInvalid point.\nFirst point: 3,4"), std::string::npos) << said();
}

TEST_F(CommandRun, UnknownCommandsSayTheHostsMessageAndChangeNothing) {
    for (const char* typed : {"frobnicate", "_FROBNICATE", "._Frobnicate"}) {
        transcript().clear();
        const std::size_t steps = doc->database().undoableSteps();
        EXPECT_EQ(runTypedCommand(typed), db::RTERROR) << typed;
        EXPECT_EQ(said(), "\nUnknown command \"FROBNICATE\".  Press F1 for help.") << typed;
        EXPECT_EQ(doc->database().undoableSteps(), steps);
        EXPECT_FALSE(doc->database().isModified());
    }
    // A module running another module's command that is not loaded: the same, and its status.
    transcript().clear();
    EXPECT_EQ(command({str("LoadNestOptions")}), db::RTERROR);
    EXPECT_EQ(said(), "\nUnknown command \"LOADNESTOPTIONS\".  Press F1 for help.");
}

TEST_F(CommandRun, TypedCommandsTakeTheirAnswersFromTheInput) {
    script({"0,0", "4,0", "1,1", "5,1", "2,2", "6,2", "a", "b"});
    EXPECT_EQ(runTypedCommand("DRAW"), db::RTNORM);
    EXPECT_EQ(runTypedCommand(""), db::RTNORM) << "Enter repeats the last command";
    EXPECT_EQ(runTypedCommand("   "), db::RTNORM) << "so do blanks";
    EXPECT_EQ(lines(), 3u);
    EXPECT_EQ(runTypedCommand("'ASK2"), db::RTNORM) << "a leading ' means nothing at the command prompt";
    EXPECT_EQ(seen(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(CommandRun, WordsAfterTheNameAnswerTheFirstPrompts) {
    script({"typed"});
    EXPECT_EQ(runTypedCommand("ASK2 one"), db::RTNORM);
    EXPECT_EQ(seen(), (std::vector<std::string>{"one", "typed"}));
    EXPECT_NE(said().find("\nFirst: one\nSecond: typed"), std::string::npos) << said();

    seen().clear();
    transcript().clear();
    EXPECT_EQ(runTypedCommand("ASK2 a b c"), db::RTNORM);
    EXPECT_EQ(seen(), (std::vector<std::string>{"a", "b"}));
    EXPECT_NE(said().find("\nThe rest of the command line was not used: c"), std::string::npos) << said();
}

TEST_F(CommandRun, LocalAndGlobalNames) {
    EXPECT_EQ(runTypedCommand("LOCALNAME"), db::RTNORM);
    EXPECT_EQ(runTypedCommand("GLOBALNAME"), db::RTNORM) << "a plain name finds global names too";
    EXPECT_EQ(runTypedCommand("_GLOBALNAME"), db::RTNORM);
    EXPECT_EQ(runTypedCommand("_LOCALNAME"), db::RTERROR) << "\"_\" is for global names only";
    EXPECT_EQ(seen(), (std::vector<std::string>{"GLOBALNAME ran", "GLOBALNAME ran", "GLOBALNAME ran"}));
}

TEST_F(CommandRun, TransparentCommandsRunAtAPromptAndThePromptComesBack) {
    script({"'TRANS", "'OPAQUE", "'NOSUCH", "first", "second"});
    EXPECT_EQ(runTypedCommand("ASK2"), db::RTNORM);
    EXPECT_EQ(seen(), (std::vector<std::string>{"TRANS in ASK2'TRANS", "first", "second"}));
    EXPECT_EQ(said(),
              "\nFirst: 'TRANS"
              "\nResuming ASK2 command."
              "\nFirst: 'OPAQUE"
              "\n** That command may not be invoked transparently **"
              "\nResuming ASK2 command."
              "\nFirst: 'NOSUCH"
              "\nUnknown command \"NOSUCH\".  Press F1 for help."
              "\nResuming ASK2 command."
              "\nFirst: first"
              "\nSecond: second");
}

TEST_F(CommandRun, WordsAfterATransparentNameAnswerItFirst) {
    script({"'ASK2 x y z", "second"});
    addTestCommand("ASK2T", CMD_TRANSPARENT, [] {
        seen().push_back("T " + describe(nextAnswer("\nT: ")));
    });
    EXPECT_EQ(runTypedCommand("ASK2 first"), db::RTNORM) << "ASK2 is not transparent: refused, its words dropped";
    EXPECT_EQ(seen(), (std::vector<std::string>{"first", "second"}));

    seen().clear();
    script({"'ASK2T t u", "second"});
    EXPECT_EQ(runTypedCommand("ASK2 first"), db::RTNORM);
    EXPECT_EQ(seen(), (std::vector<std::string>{"first", "T t", "second"})) << "u was not used by ASK2T";
}

TEST_F(CommandRun, CommandNamesWhileRunning) {
    EXPECT_EQ(runningCommandNames(), "");
    EXPECT_FALSE(isCommandActive());
    std::string inside;
    addTestCommand("OUTER", 0, [&] {
        inside = runningCommandNames();
        command({str("TRANS")});
    });
    EXPECT_EQ(runTypedCommand("outer"), db::RTNORM);
    EXPECT_EQ(inside, "OUTER");
    EXPECT_EQ(seen(), (std::vector<std::string>{"TRANS in OUTER'TRANS"}));
    EXPECT_EQ(runningCommandNames(), "");
}

TEST_F(CommandRun, EscCancelsTheCommand) {
    script({"^C"});
    EXPECT_EQ(command({str("ASK2"), str("\\")}), db::RTCAN);
    EXPECT_EQ(seen(), (std::vector<std::string>{"Esc"}));
    EXPECT_EQ(said(), "\nFirst: *Cancel*");
}

TEST_F(CommandRun, ArgumentsAreShownOnlyWhileCommandEchoIsOn) {
    // CMDECHO is 1 by default: each answer shows after its prompt.
    EXPECT_EQ(command({str("ASK2"), str("a"), {db::RTPOINT, ge::Point3d(1.5, 2, 0)}}), db::RTNORM);
    EXPECT_EQ(said(), "\nFirst: a\nSecond: 1.5,2");

    transcript().clear();
    ASSERT_EQ(setVar("CMDECHO", {db::RTSHORT, 0}), db::RTNORM);
    EXPECT_EQ(command({str("ASK2"), str("a"), str("b")}), db::RTNORM);
    ASSERT_EQ(setVar("CMDECHO", {db::RTSHORT, 1}), db::RTNORM);
    EXPECT_EQ(said(), "");
}

}  // namespace
}  // namespace host::ed::testing
