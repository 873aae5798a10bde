// Selection sets: "_X" with filters, windows and crossing windows (a zero-size one through a point), fences in the
// order they meet entities, last and previous, the set functions, the user's "Select objects: " prompt, and sets
// and entity names passed to commands.
#include "host/ed/selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "host/db/dictionary.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/display.h"
#include "host/ed/input.h"
#include "host/ed/sysvars.h"
#include "host/ed/tests/input_test_drawing.h"
#include "host/ed/transcript.h"
#include "host/ge/angle.h"

namespace host::ed {
namespace {

using db::ResBuf;
using ge::Point3d;
using Ids = std::vector<db::ObjectId>;
using testing::TestDrawing;
using ge::kPi;

class Selection : public ::testing::Test {
protected:
    void SetUp() override {
        resetSystemVariables();
        transcript().clear();
        ASSERT_TRUE(zoomCenter(d.db(), {0, 0}, 100));  // a pixel is 0.1 units: PICKBOX 3 reaches 0.3
    }
    void TearDown() override {
        setInput(nullptr);
        resetSystemVariables();
    }
    static void typed(std::vector<std::string> lines) { setInput(ScriptInput::fromLines(std::move(lines))); }
    static bool said(const std::string& text) { return transcript().text().find(text) != std::string::npos; }

    // The members of a set, freed afterwards; empty when ssGet did not answer RTNORM.
    static Ids take(int status, const db::EntityName& set) {
        if (status != db::RTNORM) return {};
        Ids ids = selectionIds(set);
        EXPECT_EQ(ssFree(set), db::RTNORM);
        return ids;
    }
    static Ids get(std::string_view mode, const Point3d* a = nullptr, const Point3d* b = nullptr,
                   const db::ResBufList* filter = nullptr, const std::vector<Point3d>* fence = nullptr) {
        db::EntityName set;
        return take(ssGet(mode, a, b, filter, set, fence), set);
    }
    static Ids window(bool crossing, Point3d a, Point3d b) { return get(crossing ? "_C" : "_W", &a, &b); }
    static Ids fence(std::vector<Point3d> points) { return get("_F", nullptr, nullptr, nullptr, &points); }

    TestDrawing d;
};

TEST_F(Selection, AllOfTheDrawingThroughAFilter) {
    const db::ObjectId line = d.line({0, 0, 0}, {1, 0, 0});
    const db::ObjectId hidden = d.line({0, 1, 0}, {1, 1, 0});
    d.change(hidden, [](db::Entity& e) { e.setVisible(false); });
    d.layer("Off", true);
    const db::ObjectId off = d.circle({5, 5, 0}, 1);
    d.change(off, [](db::Entity& e) { e.setLayer("Off"); });
    const db::ObjectId erased = d.line({0, 2, 0}, {1, 2, 0});
    d.erase(erased);
    // "_X" takes what does not show too: invisible entities and those on layers that are off.
    EXPECT_EQ(get("_X"), (Ids{line, hidden, off}));
    const db::ResBufList lines = {{0, "LINE"}};
    EXPECT_EQ(get("_X", nullptr, nullptr, &lines), (Ids{line, hidden}));
    // Nothing found: RTERROR and ERRNO 7.
    const db::ResBufList none = {{0, "SPLINE"}};
    db::EntityName set;
    EXPECT_EQ(ssGet("_X", nullptr, nullptr, &none, set), db::RTERROR);
    EXPECT_EQ(getShort("ERRNO"), 7);
    // A malformed filter fails.
    const db::ResBufList broken = {{-4, "<or"}, {0, "LINE"}};
    EXPECT_EQ(ssGet("_X", nullptr, nullptr, &broken, set), db::RTERROR);
    EXPECT_EQ(ssGet("_Q", nullptr, nullptr, nullptr, set), db::RTERROR);  // no such mode
}

TEST_F(Selection, WindowsAndCrossingWindows) {
    const db::ObjectId inside = d.line({1, 1, 0}, {2, 2, 0});
    const db::ObjectId across = d.line({5, 1, 0}, {15, 1, 0});
    const db::ObjectId around = d.circle({5, 5, 0}, 20);  // encloses the window without touching it
    const db::ObjectId arc = d.arc({5, 5, 0}, 2, 0, kPi);  // its top in the window, its ends below
    d.layer("Off", true);
    const db::ObjectId off = d.line({2, 2, 0}, {3, 3, 0});
    d.change(off, [](db::Entity& e) { e.setLayer("Off"); });
    EXPECT_EQ(window(false, {0, 0, 0}, {10, 10, 0}), (Ids{inside, arc}));
    EXPECT_EQ(window(true, {10, 10, 0}, {0, 0, 0}), (Ids{inside, across, arc}));
    EXPECT_EQ(window(true, {4, 6, 0}, {6, 8, 0}), (Ids{arc}));   // only the arc's top crosses
    EXPECT_EQ(window(false, {4, 6, 0}, {6, 8, 0}), Ids{});
    (void)around;
    // A crossing window of no size catches what passes through its point, and nothing else.
    EXPECT_EQ(window(true, {1.5, 1.5, 0}, {1.5, 1.5, 0}), (Ids{inside}));
    EXPECT_EQ(window(true, {5, 7, 0}, {5, 7, 0}), (Ids{arc}));
    EXPECT_EQ(window(true, {5, 25, 0}, {5, 25, 0}), (Ids{around}));
    EXPECT_EQ(window(true, {5, 1.000001, 0}, {5, 1.000001, 0}), Ids{});
    // Corners are needed.
    db::EntityName set;
    const Point3d p(0, 0, 0);
    EXPECT_EQ(ssGet("_C", &p, nullptr, nullptr, set), db::RTERROR);
}

TEST_F(Selection, FencesListEntitiesInTheOrderTheyAreMet) {
    const db::ObjectId x1 = d.line({1, 0, 0}, {1, 2, 0});
    const db::ObjectId x3 = d.line({3, 0, 0}, {3, 2, 0});
    const db::ObjectId x2 = d.line({2, 0, 0}, {2, 2, 0});
    const db::ObjectId circle = d.circle({10, 1, 0}, 1);
    EXPECT_EQ(fence({{0, 1, 0}, {4, 1, 0}}), (Ids{x1, x2, x3}));
    EXPECT_EQ(fence({{4, 1, 0}, {0, 1, 0}}), (Ids{x3, x2, x1}));
    // A fence of several legs: the first leg's entities first, whatever their position along the second.
    EXPECT_EQ(fence({{2.5, 1, 0}, {0, 1, 0}, {0, 0.5, 0}, {12, 0.5, 0}}), (Ids{x2, x1, x3, circle}));
    // The circle is met where the fence first reaches it; a tangent fence meets it too.
    EXPECT_EQ(fence({{9, 3, 0}, {9, -3, 0}}), (Ids{circle}));
    EXPECT_EQ(fence({{0, 5, 0}, {4, 5, 0}}), Ids{});
    db::EntityName set;
    const std::vector<Point3d> one = {{0, 0, 0}};
    EXPECT_EQ(ssGet("_F", nullptr, nullptr, nullptr, set, &one), db::RTERROR);
    // Two corners make a fence of one leg too.
    const Point3d a(0, 1, 0), b(1.5, 1, 0);
    EXPECT_EQ(get("_F", &a, &b), (Ids{x1}));
}

TEST_F(Selection, LastAndPrevious) {
    const db::ObjectId a = d.line({0, 0, 0}, {1, 0, 0});
    const db::ObjectId b = d.line({0, 1, 0}, {1, 1, 0});
    EXPECT_EQ(get("_L"), (Ids{b}));
    EXPECT_EQ(get("_P"), (Ids{b}));  // the previous selection is the last one
    EXPECT_EQ(window(false, {-1, -1, 0}, {2, 2, 0}), (Ids{a, b}));
    d.erase(a);
    EXPECT_EQ(get("_P"), (Ids{b}));  // erased members are left out
    EXPECT_EQ(get("_I"), Ids{});     // nothing is implied
}

TEST_F(Selection, SetFunctions) {
    const db::ObjectId a = d.line({0, 0, 0}, {1, 0, 0});
    const db::ObjectId b = d.line({0, 1, 0}, {1, 1, 0});
    const db::EntityName na = db::idToName(a), nb = db::idToName(b);
    db::EntityName set, again, member;
    std::int32_t length = -1;
    ASSERT_EQ(ssAdd(nullptr, nullptr, set), db::RTNORM);  // a new, empty set
    EXPECT_EQ(set.word[1], kSelectionSetTag);
    ASSERT_EQ(ssLength(set, length), db::RTNORM);
    EXPECT_EQ(length, 0);
    ASSERT_EQ(ssAdd(&na, &set, again), db::RTNORM);
    EXPECT_EQ(again, set);
    ASSERT_EQ(ssAdd(&nb, &set, again), db::RTNORM);
    ASSERT_EQ(ssAdd(&na, &set, again), db::RTNORM);  // already a member: kept once
    ASSERT_EQ(ssLength(set, length), db::RTNORM);
    EXPECT_EQ(length, 2);
    ASSERT_EQ(ssName(set, 1, member), db::RTNORM);
    EXPECT_EQ(member, nb);
    EXPECT_EQ(ssName(set, 2, member), db::RTERROR);
    EXPECT_EQ(ssName(set, -1, member), db::RTERROR);
    EXPECT_EQ(ssMemb(na, set), db::RTNORM);
    ASSERT_EQ(ssDel(na, set), db::RTNORM);
    EXPECT_EQ(ssMemb(na, set), db::RTERROR);
    EXPECT_EQ(ssDel(na, set), db::RTERROR);
    // An erased member stays counted but is no longer among the ids.
    d.erase(b);
    ASSERT_EQ(ssLength(set, length), db::RTNORM);
    EXPECT_EQ(length, 1);
    EXPECT_TRUE(selectionIds(set).empty());
    // A name of nothing cannot be added; a freed set is gone.
    const db::EntityName nothing;
    EXPECT_EQ(ssAdd(&nothing, &set, again), db::RTERROR);
    ASSERT_EQ(ssFree(set), db::RTNORM);
    EXPECT_EQ(ssFree(set), db::RTERROR);
    EXPECT_EQ(ssLength(set, length), db::RTERROR);
    EXPECT_EQ(ssAdd(&na, &set, again), db::RTERROR);
    // A new set with one entity.
    ASSERT_EQ(ssAdd(&na, nullptr, set), db::RTNORM);
    EXPECT_EQ(selectionIds(set), (Ids{a}));
    ssFree(set);
}

// A set keeps its members in the order they first came, each once: adding a member again changes nothing, a
// removed entity added again goes to the end. Checked against a plain list on a seeded run of adds and removals,
// starting from a set that ssGet made (whose members must count as members for ssAdd too).
TEST_F(Selection, SetsKeepFirstComeOrderThroughRepeatedAddsAndRemovals) {
    Ids lines;
    for (int k = 0; k < 400; ++k) lines.push_back(d.line({0, double(k), 0}, {1, double(k), 0}));
    db::EntityName set;
    const Point3d a(-1, -1, 0), b(2, 49.5, 0);
    ASSERT_EQ(ssGet("_W", &a, &b, nullptr, set), db::RTNORM);  // the first 50 lines
    std::vector<db::EntityName> model;
    for (int k = 0; k < 50; ++k) model.push_back(db::idToName(lines[std::size_t(k)]));

    std::mt19937 rng(7);
    std::uniform_int_distribution<std::size_t> pick(0, lines.size() - 1);
    for (int step = 0; step < 4000; ++step) {
        const db::EntityName name = db::idToName(lines[pick(rng)]);
        const auto at = std::find(model.begin(), model.end(), name);
        if (rng() % 3 == 0) {
            EXPECT_EQ(ssDel(name, set), at == model.end() ? db::RTERROR : db::RTNORM);
            if (at != model.end()) model.erase(at);
        } else {
            db::EntityName result;
            ASSERT_EQ(ssAdd(&name, &set, result), db::RTNORM);
            EXPECT_EQ(result, set);
            if (at == model.end()) model.push_back(name);
        }
    }
    std::int32_t length = -1;
    ASSERT_EQ(ssLength(set, length), db::RTNORM);
    ASSERT_EQ(std::size_t(length), model.size());
    for (std::int32_t i = 0; i < length; ++i) {
        db::EntityName member;
        ASSERT_EQ(ssName(set, i, member), db::RTNORM);
        EXPECT_EQ(member, model[std::size_t(i)]) << i;
        EXPECT_EQ(ssMemb(member, set), db::RTNORM);
    }
    // Every entity the model lacks is no member.
    for (db::ObjectId id : lines) {
        if (std::find(model.begin(), model.end(), db::idToName(id)) == model.end()) {
            EXPECT_EQ(ssMemb(db::idToName(id), set), db::RTERROR);
        }
    }
    // An erased entity cannot be added, and a set's members stay as they are when it is refused.
    const db::EntityName gone = db::idToName(lines.back());
    d.erase(lines.back());
    db::EntityName result;
    EXPECT_EQ(ssAdd(&gone, &set, result), db::RTERROR);
    ASSERT_EQ(ssLength(set, length), db::RTNORM);
    EXPECT_EQ(std::size_t(length), model.size());
    ssFree(set);
}

TEST_F(Selection, MembersOfAClosedDrawingAreGone) {
    db::EntityName set;
    {
        TestDrawing other;
        const db::ObjectId line = other.line({0, 0, 0}, {1, 0, 0});
        const db::EntityName name = db::idToName(line);
        ASSERT_EQ(ssAdd(&name, nullptr, set), db::RTNORM);
    }
    EXPECT_TRUE(selectionIds(set).empty());
    std::int32_t length = 0;
    EXPECT_EQ(ssLength(set, length), db::RTNORM);
    EXPECT_EQ(length, 1);
    ssFree(set);
}

TEST_F(Selection, TheUsersPromptTakesPicksWindowsAndWords) {
    const db::ObjectId a = d.line({0, 0, 0}, {10, 0, 0});
    const db::ObjectId b = d.line({0, 5, 0}, {10, 5, 0});
    const db::ObjectId c = d.circle({20, 0, 0}, 1);
    const db::ObjectId far = d.line({50, 50, 0}, {60, 50, 0});
    {
        db::ObjectId gid;
        db::ObjectPtr<db::Dictionary> groups(d.db().groupDictionaryId(), db::OpenMode::Write);
        ASSERT_EQ(groups->setAt("DOROZ_1", std::make_unique<db::Group>("path"), &gid), db::Status::Ok);
        groups.close();
        db::ObjectPtr<db::Group> group(gid, db::OpenMode::Write);
        ASSERT_EQ(group->append(far), db::Status::Ok);
    }
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        int status;
        Ids expected;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"a pick", {"5,0.1", ""}, db::RTNORM, {a}, "\n1 found"},
        {"window", {"W", "-1,-1", "11,6", ""}, db::RTNORM, {a, b}, "\n2 found"},
        {"crossing, typed as _C", {"_c", "5,-1", "6,1", ""}, db::RTNORM, {a}, "\n1 found"},
        {"fence", {"F", "25,1.36", "0,-0.64", "0,6", "", ""}, db::RTNORM, {c, a, b}, "\n3 found"},
        {"all, then remove one", {"ALL", "R", "20,1", ""}, db::RTNORM, {a, b, far}, "\n1 removed, 3 total"},
        {"remove, then add again", {"5,0", "r", "5,0", "a", "5,5", ""}, db::RTNORM, {b}, "\nRemove objects: "},
        {"group", {"G", "doroz_1", ""}, db::RTNORM, {far}, "\n1 found"},
        {"duplicates", {"5,0", "5,0", ""}, db::RTNORM, {a}, "(1 duplicate), 1 total"},
        {"undo", {"5,0", "5,5", "U", ""}, db::RTNORM, {a}, ""},
        {"a miss, then a pick", {"30,30", "5,5", ""}, db::RTNORM, {b}, "\n0 found"},
        {"last", {"L", ""}, db::RTNORM, {far}, "\n1 found"},
        {"an unknown word", {"QQ", "5,5", ""}, db::RTNORM, {b}, "*Invalid selection*"},
        {"an unknown group", {"G", "NOPE", "DOROZ_1", ""}, db::RTNORM, {far}, "has not been defined"},
        {"Enter with nothing", {""}, db::RTERROR, {}, "\nSelect objects: "},
        {"Esc", {"5,0", "^C"}, db::RTCAN, {}, "\n1 found"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        transcript().clear();
        typed(k.lines);
        db::EntityName set;
        const int status = ssGet("", nullptr, nullptr, nullptr, set);
        EXPECT_EQ(status, k.status);
        EXPECT_EQ(take(status, set), k.expected);
        EXPECT_TRUE(said(k.shown)) << transcript().text();
        EXPECT_TRUE(said("\nSelect objects: "));
        // The highlight of the selection is gone when it ends.
        EXPECT_TRUE(highlightedEntities(d.db()).empty());
    }
    // Enter with nothing chosen tells the caller's pick loop to stop (ERRNO is not 7).
    typed({"30,30", ""});
    db::EntityName set;
    EXPECT_EQ(ssGet("", nullptr, nullptr, nullptr, set), db::RTERROR);
    EXPECT_EQ(getShort("ERRNO"), 52);
}

TEST_F(Selection, TheUsersSelectionThroughAFilterAndWithHighlight) {
    const db::ObjectId a = d.line({0, 0, 0}, {10, 0, 0});
    const db::ObjectId c = d.circle({5, 0, 0}, 1);
    const db::ResBufList circles = {{0, "CIRCLE"}};
    typed({"C", "-1,-1", "11,1", ""});
    clearDisplayLog();
    db::EntityName set;
    ASSERT_EQ(ssGet("", nullptr, nullptr, &circles, set), db::RTNORM);
    EXPECT_EQ(take(db::RTNORM, set), (Ids{c}));
    std::vector<std::string> events;
    for (const DisplayEvent& e : displayLog()) events.push_back(describe(e));
    const std::string h = d.db().handleOf(c).text();
    EXPECT_EQ(events, (std::vector<std::string>{"highlight " + h, "unhighlight " + h}));
    (void)a;
}

TEST_F(Selection, AllAtTheUsersPromptLeavesOutOnlyFrozenLayers) {
    const db::ObjectId shown = d.line({0, 0, 0}, {1, 0, 0});
    const db::ObjectId hidden = d.line({0, 1, 0}, {1, 1, 0});
    d.change(hidden, [](db::Entity& e) { e.setVisible(false); });
    d.layer("Off", true);
    d.layer("Frozen", false, true);
    const db::ObjectId off = d.line({0, 2, 0}, {1, 2, 0});
    d.change(off, [](db::Entity& e) { e.setLayer("Off"); });
    const db::ObjectId frozen = d.line({0, 3, 0}, {1, 3, 0});
    d.change(frozen, [](db::Entity& e) { e.setLayer("Frozen"); });
    typed({"ALL", ""});
    db::EntityName set;
    EXPECT_EQ(take(ssGet("", nullptr, nullptr, nullptr, set), set), (Ids{shown, hidden, off}));
}

TEST_F(Selection, PickStyleOneSelectsTheWholeGroup) {
    const db::ObjectId a = d.line({0, 0, 0}, {10, 0, 0});
    const db::ObjectId b = d.line({0, 5, 0}, {10, 5, 0});
    const db::ObjectId c = d.line({0, 9, 0}, {10, 9, 0});
    db::ObjectId gid;
    {
        db::ObjectPtr<db::Dictionary> groups(d.db().groupDictionaryId(), db::OpenMode::Write);
        ASSERT_EQ(groups->setAt("PAIR", std::make_unique<db::Group>("a and c"), &gid), db::Status::Ok);
    }
    {
        db::ObjectPtr<db::Group> group(gid, db::OpenMode::Write);
        ASSERT_EQ(group->append({c, a}), db::Status::Ok);
    }
    db::EntityName set;
    typed({"5,0", ""});
    EXPECT_EQ(take(ssGet(nullptr, nullptr, nullptr, nullptr, set), set), (Ids{a, c}));  // PICKSTYLE 1
    ASSERT_EQ(setVar("PICKSTYLE", ResBuf(db::RTSHORT, 0)), db::RTNORM);
    typed({"5,0", ""});
    EXPECT_EQ(take(ssGet(nullptr, nullptr, nullptr, nullptr, set), set), (Ids{a}));
    // A group that is not selectable does not come along.
    ASSERT_EQ(setVar("PICKSTYLE", ResBuf(db::RTSHORT, 1)), db::RTNORM);
    {
        db::ObjectPtr<db::Group> group(gid, db::OpenMode::Write);
        ASSERT_EQ(group->setSelectable(false), db::Status::Ok);
    }
    typed({"5,5", "5,0", ""});
    EXPECT_EQ(take(ssGet(nullptr, nullptr, nullptr, nullptr, set), set), (Ids{b, a}));
}

// A command whose body selects, as host commands do; answers command()'s status and the members.
int selectInCommand(db::ResBufList answers, Ids& members) {
    CommandInfo info;
    info.group = "SELECTION_TEST";
    info.globalName = info.localName = "SELTEST";
    info.body = [&] {
        db::EntityName set;
        if (ssGet("", nullptr, nullptr, nullptr, set) == db::RTNORM) {
            members = selectionIds(set);
            ssFree(set);
        }
    };
    EXPECT_TRUE(commandStack().add(info));
    db::ResBufList args = {ResBuf(db::RTSTR, "SELTEST")};
    args.insert(args.end(), answers.begin(), answers.end());
    const int status = command(args);
    commandStack().removeGroup("SELECTION_TEST");
    return status;
}

TEST_F(Selection, SetsAndEntityNamesPassedToACommand) {
    const db::ObjectId a = d.line({0, 0, 0}, {10, 0, 0});
    const db::ObjectId b = d.line({0, 5, 0}, {10, 5, 0});
    const db::ObjectId c = d.circle({20, 0, 0}, 1);
    db::EntityName set;
    ASSERT_EQ(ssGet("_X", nullptr, nullptr, nullptr, set), db::RTNORM);
    Ids members;
    // A set, then Enter.
    EXPECT_EQ(selectInCommand({ResBuf(db::RTPICKS, set), ResBuf(db::RTSTR, "")}, members), db::RTNORM);
    EXPECT_EQ(members, (Ids{a, b, c}));
    ssFree(set);
    // Entity names with no closing "": the end of the list ends the selection.
    members.clear();
    EXPECT_EQ(selectInCommand({ResBuf(db::RTENAME, db::idToName(c)), ResBuf(db::RTENAME, db::idToName(a))}, members),
              db::RTNORM);
    EXPECT_EQ(members, (Ids{c, a}));
    // Words and points as a module writes them.
    members.clear();
    EXPECT_EQ(selectInCommand({ResBuf(db::RTSTR, "_W"), ResBuf(db::RTSTR, "-1,-1"),
                               ResBuf(db::RTPOINT, Point3d(11, 6, 0)),
                               ResBuf(db::RTSTR, "")},
                              members),
              db::RTNORM);
    EXPECT_EQ(members, (Ids{a, b}));
    // A wrong answer from a module fails the command instead of asking again.
    members.clear();
    EXPECT_EQ(selectInCommand({ResBuf(db::RTSTR, "QQ")}, members), db::RTERROR);
    EXPECT_TRUE(members.empty());
}

}  // namespace
}  // namespace host::ed
