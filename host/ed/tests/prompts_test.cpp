// Prompts: typed answers of every kind, the complaints that ask again, initGet flags and keywords, answers from a
// module's argument list (which fail instead of asking again), and entity picks with the pick box and ERRNO.
#include "host/ed/prompts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/display.h"
#include "host/ed/input.h"
#include "host/ed/prompt_parse.h"
#include "host/ed/sysvars.h"
#include "host/ed/tests/input_test_drawing.h"
#include "host/ed/transcript.h"
#include "host/ge/angle.h"

namespace host::ed {
namespace {

using db::ResBuf;
using ge::Point3d;
using testing::TestDrawing;
using ge::kPi;

class Prompts : public ::testing::Test {
protected:
    void SetUp() override {
        resetSystemVariables();
        transcript().clear();
        initGet(0);
        detail::takePromptSettings();
    }
    void TearDown() override {
        setInput(nullptr);
        resetSystemVariables();
    }
    static void typed(std::vector<std::string> lines) { setInput(ScriptInput::fromLines(std::move(lines))); }
    static bool said(const std::string& text) { return transcript().text().find(text) != std::string::npos; }
    static int count(const std::string& text) {
        int n = 0;
        for (std::size_t at = transcript().text().find(text); at != std::string::npos;
             at = transcript().text().find(text, at + 1))
            ++n;
        return n;
    }

    // Runs `body` as a command whose answers are `answers`, as a module runs a command; answers command()'s status.
    static int runWithArguments(db::ResBufList answers, std::function<void()> body) {
        CommandInfo info;
        info.group = "PROMPTS_TEST";
        info.globalName = info.localName = "PTEST";
        info.body = std::move(body);
        EXPECT_TRUE(commandStack().add(info));
        db::ResBufList args = {ResBuf(db::RTSTR, "PTEST")};
        args.insert(args.end(), answers.begin(), answers.end());
        const int status = command(args);
        commandStack().removeGroup("PROMPTS_TEST");
        return status;
    }
};

TEST_F(Prompts, IntegersAndRealsAskAgainAfterAComplaint) {
    struct Case {
        const char* what;
        int flags;
        std::vector<std::string> lines;
        int status;
        int value;
        const char* complaint;  // printed once, or "" for none
    };
    const Case cases[] = {
        {"plain", 0, {"12"}, db::RTNORM, 12, ""},
        {"spaces around", 0, {"  -7 "}, db::RTNORM, -7, ""},
        {"text, then a number", 0, {"abc", "7"}, db::RTNORM, 7, "\nRequires an integer value."},
        {"a real is no integer", 0, {"1.5", "3"}, db::RTNORM, 3, "\nRequires an integer value."},
        {"out of range", 0, {"40000", "1"}, db::RTNORM, 1, "\nRequires an integer between -32768 and 32767."},
        {"Enter", 0, {""}, db::RTNONE, 0, ""},
        {"Enter refused", RSG_NONULL, {"", "5"}, db::RTNORM, 5, "\nAn answer is required."},
        {"zero refused", RSG_NOZERO, {"0", "2"}, db::RTNORM, 2, "\nValue must not be zero."},
        {"negative refused", RSG_NONEG, {"-1", "0"}, db::RTNORM, 0, "\nValue must not be negative."},
        {"both", RSG_NOZERO | RSG_NONEG, {"0", "4"}, db::RTNORM, 4, "\nValue must be positive and not zero."},
        {"Esc", 0, {"^C"}, db::RTCAN, 0, ""},
        {"the input ends", 0, {}, db::RTCAN, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        transcript().clear();
        typed(c.lines);
        initGet(c.flags);
        int value = 0;
        EXPECT_EQ(getInt("\nNumber: ", value), c.status);
        if (c.status == db::RTNORM) {
            EXPECT_EQ(value, c.value);
        }
        if (*c.complaint) {
            EXPECT_EQ(count(c.complaint), 1) << transcript().text();
            EXPECT_EQ(count("\nNumber: "), 2);  // asked again
        }
    }

    // A prompt that begins no line of its own is asked again on a new line, and so is an empty one: the answer's
    // echo no longer follows the complaint.
    for (const char* prompt : {"Number: ", ""}) {
        transcript().clear();
        typed({"ALL", "7"});
        int value = 0;
        EXPECT_EQ(getInt(prompt, value), db::RTNORM);
        EXPECT_TRUE(said(std::string("\nRequires an integer value.\n") + prompt)) << transcript().text();
        EXPECT_FALSE(said("value.ALL")) << transcript().text();
    }

    typed({"1e3"});
    double real = 0;
    EXPECT_EQ(getReal("Real: ", real), db::RTNORM);
    EXPECT_EQ(real, 1000.0);
    typed({"1,5", "0.25"});
    EXPECT_EQ(getReal("Real: ", real), db::RTNORM);
    EXPECT_EQ(real, 0.25);
    EXPECT_TRUE(said("\nRequires a number."));
}

// A typed number is the whole answer: a text of a number's characters that is not one number is refused and the
// prompt asked again, at every prompt that takes a number (and in a point's coordinates).
TEST_F(Prompts, ATextThatIsNotOneNumberIsRefusedAndAskedAgain) {
    const Point3d origin(0, 0, 0);
    struct Prompt {
        const char* name;
        std::function<int(double&)> ask;
        const char* complaint;
    };
    const std::vector<Prompt> prompts{
        {"getReal", [](double& v) { return getReal("\nValue: ", v); }, "\nRequires a number."},
        {"getInt",
         [](double& v) {
             int i = 0;
             const int status = getInt("\nValue: ", i);
             v = i;
             return status;
         },
         "\nRequires an integer value."},
        {"getDist", [&](double& v) { return getDist(&origin, "\nValue: ", v); }, "\nRequires a distance or two points."},
        {"getAngle",
         [&](double& v) {
             const int status = getAngle(&origin, "\nValue: ", v);
             v = v * 180.0 / kPi;
             return status;
         },
         "\nRequires an angle or a second point."},
        {"getPoint's x",
         [&](double& v) {
             Point3d p;
             const int status = getPoint(nullptr, "\nValue: ", p);
             v = p.x;
             return status;
         },
         "\nInvalid point."},
    };
    for (const Prompt& prompt : prompts) {
        const bool point = std::string(prompt.name) == "getPoint's x";
        for (const char* text : {"42.0.0", "2..", ".", "2.5.1", "3OO", "abc", "1e", "--2", "1 2"}) {
            SCOPED_TRACE(std::string(prompt.name) + " \"" + text + "\"");
            transcript().clear();
            typed({point ? std::string(text) + ",0" : std::string(text), point ? "5,0" : "5"});
            double value = -1;
            EXPECT_EQ(prompt.ask(value), db::RTNORM);
            EXPECT_NEAR(value, 5.0, 1e-9);
            EXPECT_EQ(count(prompt.complaint), 1) << transcript().text();
            EXPECT_EQ(count("\nValue: "), 2) << transcript().text();
        }
    }
}

TEST_F(Prompts, FlagsHoldForOnePromptOnly) {
    typed({"", ""});
    initGet(RSG_NONULL);
    int value = 0;
    EXPECT_EQ(getInt("A: ", value), db::RTCAN);  // "" refused, then the input ends
    typed({""});
    EXPECT_EQ(getInt("B: ", value), db::RTNONE);
}

TEST_F(Prompts, DistancesAndAnglesFromNumbersOrPoints) {
    const Point3d origin(0, 0, 0), base(1, 1, 0);
    struct Case {
        const char* what;
        bool angle;
        const Point3d* base;
        std::vector<std::string> lines;
        double expected;
    };
    const Case cases[] = {
        {"distance typed", false, &origin, {"7.5"}, 7.5},
        {"distance to a point", false, &origin, {"3,4"}, 5.0},
        {"distance by two points", false, nullptr, {"1,1", "4,5"}, 5.0},
        {"second point relative to the first", false, nullptr, {"1,1", "@0,2"}, 2.0},
        {"angle typed in degrees", true, nullptr, {"90"}, kPi / 2},
        {"negative degrees", true, nullptr, {"-90"}, 3 * kPi / 2},
        {"full turn is zero", true, nullptr, {"360"}, 0.0},
        {"angle to a point", true, &base, {"1,2"}, kPi / 2},
        {"angle by two points", true, nullptr, {"0,0", "-1,0"}, kPi},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        transcript().clear();
        typed(c.lines);
        double out = -1;
        const int status = c.angle ? getAngle(c.base, "\nAngle: ", out) : getDist(c.base, "\nDistance: ", out);
        EXPECT_EQ(status, db::RTNORM);
        EXPECT_NEAR(out, c.expected, 1e-12);
        EXPECT_EQ(said("\nSpecify second point: "), c.lines.size() == 2);
    }
    typed({"far", "2"});
    double d = 0;
    EXPECT_EQ(getDist(&origin, "D: ", d), db::RTNORM);
    EXPECT_TRUE(said("\nRequires a distance or two points."));
    initGet(RSG_NONEG);
    typed({"-2", "2"});
    EXPECT_EQ(getDist(&origin, "D: ", d), db::RTNORM);
    EXPECT_TRUE(said("\nValue must not be negative."));
    // Distances between points count z unless RSG_2D.
    typed({"3,4,12"});
    EXPECT_EQ(getDist(&origin, "D: ", d), db::RTNORM);
    EXPECT_DOUBLE_EQ(d, 13.0);
    initGet(RSG_2D);
    typed({"3,4,12"});
    EXPECT_EQ(getDist(&origin, "D: ", d), db::RTNORM);
    EXPECT_DOUBLE_EQ(d, 5.0);
    // Esc at the second point cancels the whole answer.
    typed({"0,0", "^C"});
    EXPECT_EQ(getDist(nullptr, "D: ", d), db::RTCAN);
}

TEST_F(Prompts, PointsAbsoluteRelativeAndPolar) {
    const Point3d base(5, 5, 1);
    struct Case {
        const char* text;
        const Point3d* base;
        Point3d expected;
    };
    const Case cases[] = {
        {"1,2", nullptr, {1, 2, 0}},
        {"1,2,3", nullptr, {1, 2, 3}},
        {" 1.5 , -2 ", nullptr, {1.5, -2, 0}},
        {"@1,1", &base, {6, 6, 1}},
        {"@", &base, {5, 5, 1}},
        {"10<90", nullptr, {0, 10, 0}},
        {"@2<180", &base, {3, 5, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        typed({c.text});
        Point3d p;
        ASSERT_EQ(getPoint(c.base, "Point: ", p), db::RTNORM);
        EXPECT_NEAR(p.x, c.expected.x, 1e-12);
        EXPECT_NEAR(p.y, c.expected.y, 1e-12);
        EXPECT_NEAR(p.z, c.expected.z, 1e-12);
        EXPECT_EQ(lastPoint(), p);  // every point given becomes LASTPOINT
    }
    // Relative without a base: from the last point.
    typed({"10,10", "@1,0"});
    Point3d p;
    ASSERT_EQ(getPoint(nullptr, "P: ", p), db::RTNORM);
    ASSERT_EQ(getPoint(nullptr, "P: ", p), db::RTNORM);
    EXPECT_EQ(p, Point3d(11, 10, 0));
    for (const char* bad : {"1", "1,2,3,4", "a,b", "1;2", "@x", "1<"}) {
        SCOPED_TRACE(bad);
        transcript().clear();
        typed({bad, "0,0"});
        ASSERT_EQ(getPoint(nullptr, "P: ", p), db::RTNORM);
        EXPECT_EQ(count("\nInvalid point."), 1);
    }
    typed({"0,0"});
    ASSERT_EQ(getCorner(base, "Other corner: ", p), db::RTNORM);
    EXPECT_EQ(p, Point3d(0, 0, 0));
}

TEST_F(Prompts, StringsWithAndWithoutSpacesAndTheirLimit) {
    struct Case {
        const char* what;
        bool spaces;
        std::size_t max;
        const char* line;
        int status;
        const char* expected;
    };
    const Case cases[] = {
        {"a space ends it", false, 132, "abc def", db::RTNORM, "abc"},
        {"spaces kept", true, 132, "abc def", db::RTNORM, "abc def"},
        {"Enter is an empty text", true, 132, "", db::RTNORM, ""},
        {"cut at the limit", true, 3, "abcdef", db::RTINPUTTRUNCATED, "abc"},
        {"limit in characters", true, 2, "жук", db::RTINPUTTRUNCATED, "жу"},
        {"exactly the limit", true, 3, "abc", db::RTNORM, "abc"},
        {"Esc", true, 132, "<esc>", db::RTCAN, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        typed({c.line});
        std::string out = "x";
        EXPECT_EQ(getString(c.spaces, "", out, c.max), c.status);
        if (c.status != db::RTCAN) {
            EXPECT_EQ(out, c.expected);
        }
    }
}

TEST_F(Prompts, KeywordsLocalGlobalAndAbbreviated) {
    const detail::Keywords k = detail::parseKeywords("LType eXit yes Contour1 _LT X Y");
    struct Case {
        const char* typed;
        const char* global;  // nullptr: no keyword
    };
    const Case cases[] = {
        {"LType", "LT"}, {"lt", "LT"},   {"LTY", "LT"},  {"L", nullptr}, {"LTYPES", nullptr},
        {"x", "X"},      {"EXIT", "X"},  {"e", nullptr}, {"yes", "Y"},   {"ye", nullptr},
        {"_x", "X"},     {"_exit", nullptr}, {"C1", "Contour1"}, {"_Contour1", "Contour1"}, {"_C1", "Contour1"},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const auto m = k.match(c.typed);
        if (c.global) {
            ASSERT_TRUE(m) << c.typed;
            EXPECT_EQ(*m, c.global) << c.typed;
        } else {
            EXPECT_FALSE(m) << c.typed << " matched " << *m;
        }
    }

    // Global keywords abbreviate by their capitals too.
    const detail::Keywords zoom = detail::parseKeywords("All Center Extents _All Center Extents");
    EXPECT_EQ(zoom.match("_E").value_or(""), "Extents");
    EXPECT_EQ(zoom.match("_extents").value_or(""), "Extents");
    EXPECT_EQ(zoom.match("c").value_or(""), "Center");

    typed({"maybe", "no"});
    initGet(0, "Yes No _Y N");
    std::string kw;
    EXPECT_EQ(getKeyword("\nSure? [Yes/No]: ", kw), db::RTNORM);
    EXPECT_EQ(kw, "N");
    EXPECT_TRUE(said("\nInvalid option keyword."));

    // A keyword at a prompt of another kind answers RTKWORD; getInput tells which.
    typed({"a"});
    initGet(0, "All Last");
    int n = 0;
    EXPECT_EQ(getInt("Count or [All/Last]: ", n), db::RTKWORD);
    EXPECT_EQ(getInput(kw), db::RTNORM);
    EXPECT_EQ(kw, "All");
    typed({"q", "2"});
    initGet(0, "All");
    EXPECT_EQ(getInt("Count or [All]: ", n), db::RTNORM);
    EXPECT_TRUE(said("\nRequires an integer value or option keyword."));
    // Any text under RSG_OTHER.
    typed({"hello there"});
    initGet(RSG_OTHER);
    Point3d p;
    EXPECT_EQ(getPoint(nullptr, "P: ", p), db::RTKWORD);
    EXPECT_EQ(getInput(kw), db::RTNORM);
    EXPECT_EQ(kw, "hello there");
}

TEST_F(Prompts, ArgumentsOfAModuleFailInsteadOfAskingAgain) {
    TestDrawing d;
    int n = 0;
    double angle = 0;
    Point3d p;
    int status = 0;
    // Typed items of the right kind are taken as they are; a number at an angle prompt is degrees.
    EXPECT_EQ(runWithArguments({ResBuf(db::RTSHORT, 5), ResBuf(db::RTREAL, 90.0),
                                ResBuf(db::RTPOINT, Point3d(1, 2, 9))},
                               [&] {
                                   status = getInt("N: ", n);
                                   getAngle(nullptr, "A: ", angle);
                                   getPoint(nullptr, "P: ", p);
                               }),
              db::RTNORM);
    EXPECT_EQ(n, 5);
    EXPECT_DOUBLE_EQ(angle, kPi / 2);
    EXPECT_EQ(p, Point3d(1, 2, 0));

    // A wrong one fails the prompt and the command; nothing is asked again.
    typed({"99"});
    EXPECT_EQ(runWithArguments({ResBuf(db::RTSTR, "abc")}, [&] { status = getInt("N: ", n); }), db::RTERROR);
    EXPECT_EQ(status, db::RTERROR);
    EXPECT_TRUE(said("\nRequires an integer value."));
    EXPECT_EQ(input().position().find("line 1"), std::string::npos);  // the typed line was not read

    // The end of the list cancels; the pause token takes the answer from the input.
    EXPECT_EQ(runWithArguments({}, [&] { status = getInt("N: ", n); }), db::RTCAN);
    EXPECT_EQ(status, db::RTCAN);
    typed({"42"});
    EXPECT_EQ(runWithArguments({ResBuf(db::RTSTR, "\\")}, [&] { status = getInt("N: ", n); }), db::RTNORM);
    EXPECT_EQ(n, 42);
}

// A drawing for picks: a view 100 units high (a pixel is 0.1 units, PICKBOX 3 reaches 0.3).
class Picks : public Prompts {
protected:
    void SetUp() override {
        Prompts::SetUp();
        ASSERT_TRUE(zoomCenter(d.db(), {0, 0}, 100));
    }
    int pick(const std::string& answer, db::ObjectId& hit, Point3d* at = nullptr) {
        typed({answer});
        db::EntityName name;
        Point3d point;
        const int status = entSel("\nSelect object: ", name, point);
        hit = status == db::RTNORM ? db::nameToId(name) : db::ObjectId();
        if (at) *at = point;
        return status;
    }
    TestDrawing d;
};

TEST_F(Picks, TheNearestEntityWithinThePickBoxLastDrawnAmongEquals) {
    const db::ObjectId a = d.line({0, 0, 0}, {10, 0, 0});
    const db::ObjectId b = d.line({0, 0.2, 0}, {10, 0.2, 0});
    const db::ObjectId c = d.line({0, 0.2, 0}, {10, 0.2, 0});  // drawn over b
    const db::ObjectId circle = d.circle({20, 0, 0}, 5);
    struct Case {
        const char* point;
        db::ObjectId expected;  // null: a miss
    };
    const Case cases[] = {
        {"5,0.05", a},   // nearer to a
        {"5,0.15", c},   // nearer to b and c, which are equal: the last drawn
        {"5,0.45", c},   // 0.25 from c: inside the box
        {"5,0.55", {}},  // 0.35 from c: outside
        {"20,5.2", circle},
        {"20,0", {}},    // the centre of a circle is not on it
        {"-0.25,0", a},  // past the end, within the box of the end point
    };
    Point3d at;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point);
        db::ObjectId hit;
        EXPECT_EQ(pick(c.point, hit, &at), c.expected.isNull() ? db::RTERROR : db::RTNORM);
        EXPECT_EQ(hit, c.expected);
        EXPECT_EQ(getShort("ERRNO"), c.expected.isNull() ? 7 : 0);
    }
    (void)b;
    // The pick point is the point given.
    db::ObjectId hit;
    ASSERT_EQ(pick("5,0.05", hit, &at), db::RTNORM);
    EXPECT_EQ(at, Point3d(5, 0.05, 0));
    // The box follows the view: zoomed out ten times, a pixel is 1 unit and 0.35 is inside.
    ASSERT_TRUE(zoomCenter(d.db(), {0, 0}, 1000));
    EXPECT_EQ(pick("5,0.55", hit), db::RTNORM);
}

TEST_F(Picks, EnterEscAndMissesSetErrnoSoPickLoopsEnd) {
    d.line({0, 0, 0}, {10, 0, 0});
    db::ObjectId hit;
    EXPECT_EQ(pick("50,50", hit), db::RTERROR);
    EXPECT_EQ(getShort("ERRNO"), 7);
    EXPECT_EQ(pick("", hit), db::RTNONE);
    EXPECT_EQ(getShort("ERRNO"), 52);
    EXPECT_EQ(pick("50,50", hit), db::RTERROR);
    EXPECT_EQ(pick("^C", hit), db::RTCAN);
    EXPECT_NE(getShort("ERRNO"), 7);
    // Text that is no point: the host's complaint, then the next answer.
    typed({"here", "5,0"});
    db::EntityName name;
    Point3d at;
    EXPECT_EQ(entSel("\nSelect object: ", name, at), db::RTNORM);
    EXPECT_TRUE(said("\nInvalid selection. Expects a point."));
}

TEST_F(Picks, OnlyWhatShowsCanBePicked) {
    const db::ObjectId hidden = d.line({0, 0, 0}, {10, 0, 0});
    d.change(hidden, [](db::Entity& e) { e.setVisible(false); });
    const db::ObjectId off = d.line({0, 1, 0}, {10, 1, 0});
    d.layer("Off", true);
    d.change(off, [](db::Entity& e) { e.setLayer("Off"); });
    const db::ObjectId erased = d.line({0, 2, 0}, {10, 2, 0});
    d.erase(erased);
    auto text = std::make_unique<db::Text>(Point3d(0, 5, 0), "HELLO", 2.0);
    const db::ObjectId t = d.add(std::move(text));
    db::ObjectId hit;
    EXPECT_EQ(pick("5,0", hit), db::RTERROR);
    EXPECT_EQ(pick("5,1", hit), db::RTERROR);
    EXPECT_EQ(pick("5,2", hit), db::RTERROR);
    EXPECT_EQ(pick("1,6", hit), db::RTNORM);  // inside the text's box
    EXPECT_EQ(hit, t);
}

TEST_F(Picks, BlockReferencesAndNestedPicks) {
    const db::ObjectId block = d.block("B");
    const db::ObjectId inner = d.line({0, 0, 0}, {10, 0, 0}, block);
    const db::ObjectId ref = d.insert(block, {100, 0, 0}, kPi / 2);  // the line runs from 100,0 to 100,10
    db::ObjectId hit;
    ASSERT_EQ(pick("100.1,5", hit), db::RTNORM);
    EXPECT_EQ(hit, ref);
    EXPECT_EQ(pick("105,0", hit), db::RTERROR);  // where the line would be unturned

    typed({"100.1,5"});
    db::EntityName name;
    Point3d at;
    ge::Matrix3d toWorld;
    std::vector<db::EntityName> containers;
    ASSERT_EQ(nentSel("\nSelect: ", name, at, &toWorld, &containers), db::RTNORM);
    EXPECT_EQ(db::nameToId(name), inner);
    ASSERT_EQ(containers.size(), 1u);
    EXPECT_EQ(db::nameToId(containers[0]), ref);
    const Point3d end = toWorld * Point3d(10, 0, 0);
    EXPECT_NEAR(end.x, 100, 1e-9);
    EXPECT_NEAR(end.y, 10, 1e-9);

    // An entity outside blocks is its own innermost entity.
    const db::ObjectId plain = d.line({0, 50, 0}, {10, 50, 0});
    typed({"5,50"});
    ASSERT_EQ(nentSel("\nSelect: ", name, at, &toWorld, &containers), db::RTNORM);
    EXPECT_EQ(db::nameToId(name), plain);
    EXPECT_TRUE(containers.empty());
    EXPECT_EQ(toWorld, ge::Matrix3d::identity());
}

TEST_F(Picks, AnEntityNameFromAModuleIsThePick) {
    const db::ObjectId a = d.line({0, 0, 0}, {10, 0, 0});
    db::EntityName name;
    Point3d at;
    int status = 0;
    setVar("LASTPOINT", ResBuf(db::RT3DPOINT, Point3d(3, 4, 0)));
    EXPECT_EQ(runWithArguments({ResBuf(db::RTENAME, db::idToName(a))},
                               [&] { status = entSel("\nSelect: ", name, at); }),
              db::RTNORM);
    EXPECT_EQ(status, db::RTNORM);
    EXPECT_EQ(db::nameToId(name), a);
    EXPECT_EQ(at, Point3d(3, 0, 0));  // the entity's nearest point to the last point
}

}  // namespace
}  // namespace host::ed
