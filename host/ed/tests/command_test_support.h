// Test helpers for running commands: a fresh editor with one new drawing, and small commands that read their
// answers with nextAnswer() and say what they got, so the tests see the answer queue, undo steps and the loop.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/documents.h"
#include "host/ed/input.h"
#include "host/ed/transcript.h"
#include "host/sys/number_text.h"

namespace host::ed::testing {

inline constexpr const char* kTestGroup = "TEST";

// What the test commands saw, in order.
inline std::vector<std::string>& seen() {
    static std::vector<std::string> lines;
    return lines;
}

inline std::string describe(const Answer& a) {
    std::string s;
    switch (a.kind) {
        case Answer::Kind::Value:
            s = a.value.code == db::RTSTR ? a.value.str() : "<type " + std::to_string(a.value.code) + ">";
            break;
        case Answer::Kind::Enter: s = "Enter"; break;
        case Answer::Kind::Cancel: s = "Esc"; break;
        case Answer::Kind::EndOfArguments: s = "end of arguments"; break;
        case Answer::Kind::EndOfInput: s = "end of input"; break;
    }
    return a.fromArguments ? "arg " + s : s;
}

// "x,y" as a point, or nothing.
inline std::optional<ge::Point3d> parsePoint(const Answer& a) {
    if (a.kind != Answer::Kind::Value || a.value.code != db::RTSTR) return std::nullopt;
    const std::string& t = a.value.str();
    const std::size_t comma = t.find(',');
    if (comma == std::string::npos) return std::nullopt;
    const auto x = sys::parseReal(std::string_view(t).substr(0, comma));
    const auto y = sys::parseReal(std::string_view(t).substr(comma + 1));
    if (!x.ok() || !y.ok()) return std::nullopt;
    return ge::Point3d(x.value, y.value, 0);
}

// A point prompt as a host's would behave: a wrong typed answer is told and asked again; a wrong answer from the
// argument list fails the command.
inline std::optional<ge::Point3d> askPoint(std::string_view prompt) {
    while (true) {
        const Answer a = nextAnswer(prompt);
        if (auto p = parsePoint(a)) return p;
        if (a.kind != Answer::Kind::Value) return std::nullopt;
        print("\nInvalid point.");
        if (a.fromArguments) {
            setCommandResult(db::RTERROR);
            return std::nullopt;
        }
        retryFromInput();
    }
}

inline db::ObjectId addLine(ge::Point3d a, ge::Point3d b) {
    db::Database* db = db::workingDatabase();
    db::ObjectPtr<db::BlockTableRecord> ms(db->modelSpaceId(), db::OpenMode::Write);
    db::ObjectId id;
    ms->appendEntity(std::make_unique<db::Line>(a, b), &id);
    return id;
}

inline std::size_t modelSpaceCount(const db::Database& db) {
    const auto* ms = dynamic_cast<const db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    return ms ? ms->entityIds().size() : 0;
}

inline void addTestCommand(const std::string& name, int flags, std::function<void()> body,
                           const std::string& local = {}) {
    commandStack().add({kTestGroup, name, local, flags, std::move(body)});
}

inline void addTestCommands() {
    // Two answers, each said as it came.
    addTestCommand("ASK2", 0, [] {
        const Answer first = nextAnswer("\nFirst: ");
        seen().push_back(describe(first));
        if (first.kind != Answer::Kind::Value && first.kind != Answer::Kind::Enter) return;
        seen().push_back(describe(nextAnswer("\nSecond: ")));
    });
    // A line from two points.
    addTestCommand("DRAW", 0, [] {
        auto a = askPoint("\nFirst point: ");
        if (!a) return;
        auto b = askPoint("\nSecond point: ");
        if (!b) return;
        addLine(*a, *b);
    });
    // Answers as a selection prompt takes them, until Enter or the end of the arguments.
    addTestCommand("SEL", 0, [] {
        int n = 0;
        while (true) {
            const Answer a = nextAnswer("\nSelect objects: ", WhenArgumentsEnd::EndSelection);
            if (a.kind != Answer::Kind::Value) break;
            ++n;
        }
        seen().push_back("selected " + std::to_string(n));
    });
    addTestCommand("TRANS", CMD_TRANSPARENT, [] { seen().push_back("TRANS in " + runningCommandNames()); });
    addTestCommand("OPAQUE", 0, [] { seen().push_back("OPAQUE ran"); });
    addTestCommand("FAILS", 0, [] { setCommandResult(db::RTERROR); });
    addTestCommand("THROW", 0, [] {
        addLine({0, 0, 0}, {1, 1, 0});
        throw std::runtime_error("boom");
    });
    // A command that runs another with its answers, then draws a line of its own.
    addTestCommand("NEST", 0, [] {
        seen().push_back("DRAW answered " + std::to_string(command({{db::RTSTR, "DRAW"}, {db::RTSTR, "0,0"},
                                                                    {db::RTSTR, "5,5"}})));
        addLine({1, 0, 0}, {2, 0, 0});
    });
    // "UNDO 1" from inside a command: what it did so far goes back, and it goes on.
    addTestCommand("UNDOINSIDE", 0, [] {
        addLine({0, 0, 0}, {0, 9, 0});
        int undone = 0;
        db::workingDatabase()->undo(1, &undone);
        seen().push_back("undone " + std::to_string(undone));
        addLine({9, 0, 0}, {9, 9, 0});
    });
    // A command that never stops asking, whatever the answer.
    addTestCommand("NAG", 0, [] {
        for (;;) nextAnswer("\nAgain: ");
    });
    addTestCommand("GLOBALNAME", 0, [] { seen().push_back("GLOBALNAME ran"); }, "LOCALNAME");
}

// A fresh editor: one new drawing, the test commands, no input, an empty transcript.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        addTestCommands();
        doc = documents().newDocument();
    }
    void TearDown() override { reset(); }
    static void reset() {
        commandStack().removeGroup(kTestGroup);
        documents().closeAll();
        setInput(nullptr);
        transcript().clear();
        seen().clear();
    }
    static void script(std::vector<std::string> lines) { setInput(ScriptInput::fromLines(std::move(lines), "t.scr")); }
    static const std::string& said() { return transcript().text(); }
    std::size_t lines() const { return modelSpaceCount(doc->database()); }

    Document* doc = nullptr;
};

inline db::ResBufList args(std::initializer_list<db::ResBuf> items) {
    return db::ResBufList(items);
}

}  // namespace host::ed::testing
