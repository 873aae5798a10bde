// Drag jigs driven by scripted cursor samples: a block-reference jig that moves and turns its reference (as the
// part-placing commands use it), no-change samples, picks the sampler cannot use, Enter, Esc restoring the
// start, keywords and other input, user-input controls, the other acquire kinds, and append.
#include "host/ed/jig.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/display.h"
#include "host/ed/input.h"
#include "host/ed/prompts.h"
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

// Drags a block reference: to a new insertion point (move), or turns it about its insertion point (rotate).
// The sampler follows the rules the placing commands rely on: Esc puts back the start value; a sample equal to
// the current value (within the global tolerance when moving, exactly when turning) changes nothing; a cursor on
// the base point of a turn changes nothing even when picked.
class ReferenceJig : public Jig {
public:
    enum class Mode { Move, Rotate };
    explicit ReferenceJig(db::BlockReference& ref) : ref_(ref) {}

    DragStatus run(Mode mode) {
        mode_ = mode;
        start_ = current_ = ref_.position();
        startRotation_ = rotation_ = ref_.rotation();
        setDispPrompt(mode == Mode::Move ? "\nSpecify a point: " : "\nSpecify angle: ");
        return drag({0, 1});
    }

    DragStatus sampler() override {
        setUserInputControls(kNoZeroResponseAccepted | kNoNegativeResponseAccepted | kAccept3dCoordinates);
        ++samples;
        if (mode_ == Mode::Move) {
            Point3d p;
            const DragStatus s = acquirePoint(p);
            if (s == kCancel) {
                ref_.setPosition(start_);
                return kCancel;
            }
            if (s != kNormal) return s;
            if (p.isEqualTo(current_)) return kNoChange;
            current_ = p;
            return s;
        }
        Point3d p;
        const DragStatus s = acquirePoint(p, current_);
        if (s == kCancel) {
            ref_.setRotation(startRotation_);
            return kCancel;
        }
        if (s != kNormal) return s;
        if (p.x == current_.x && p.y == current_.y) return kNoChange;
        const double angle = ge::angleFromTo(current_, p);
        if (angle == rotation_) return kNoChange;
        rotation_ = angle;
        return s;
    }
    bool update() override {
        ++updates;
        if (mode_ == Mode::Move) ref_.setPosition(current_);
        else ref_.setRotation(rotation_);
        return true;
    }
    db::Entity* entity() const override { return &ref_; }

    int samples = 0, updates = 0;

private:
    db::BlockReference& ref_;
    Mode mode_ = Mode::Move;
    Point3d start_, current_;
    double startRotation_ = 0, rotation_ = 0;
};

class Jigs : public ::testing::Test {
protected:
    void SetUp() override {
        resetSystemVariables();
        transcript().clear();
        const db::ObjectId block = d.block("PART");
        d.line({0, 0, 0}, {10, 0, 0}, block);
        refId = d.insert(block, {1, 1, 0});
    }
    void TearDown() override {
        setInput(nullptr);
        resetSystemVariables();
    }
    static void typed(std::vector<std::string> lines) { setInput(ScriptInput::fromLines(std::move(lines))); }

    TestDrawing d;
    db::ObjectId refId;
};

TEST_F(Jigs, MoveDragFollowsSamplesAndEndsOnAPick) {
    typed({"drag 2,2", "drag 2,2", "DRAG 3,2", "5,5"});
    clearDisplayLog();
    db::ObjectPtr<db::BlockReference> ref(refId, db::OpenMode::Write);
    ReferenceJig jig(*ref);
    EXPECT_EQ(jig.run(ReferenceJig::Mode::Move), Jig::kNormal);
    EXPECT_EQ(ref->position(), Point3d(5, 5, 0));
    EXPECT_EQ(jig.samples, 4);
    EXPECT_EQ(jig.updates, 3);  // the repeated sample changed nothing
    // Each update redraws the entity; each answer shows after its prompt.
    int redraws = 0;
    for (const DisplayEvent& e : displayLog()) redraws += e.kind == DisplayEvent::Kind::EntityRedraw;
    EXPECT_EQ(redraws, 3);
    // A drag is no played motion: its redraws leave no frame for an animated picture (the dragged part showed
    // there as a disc jumping between the picked points, hiding the part).
    EXPECT_TRUE(animationFrames(*ref->database()).empty());
    EXPECT_EQ(transcript().text(),
              "\nSpecify a point: drag 2,2\nSpecify a point: drag 2,2"
              "\nSpecify a point: DRAG 3,2\nSpecify a point: 5,5");
    EXPECT_EQ(lastPoint(), Point3d(5, 5, 0));  // a pick is the last point; samples are not
    EXPECT_EQ(jig.dragStyle().dragged, 1);
}

TEST_F(Jigs, APickTheSamplerCannotUseLetsTheDragGoOn) {
    db::ObjectPtr<db::BlockReference> ref(refId, db::OpenMode::Write);
    ReferenceJig jig(*ref);
    // A pick where the last sample already put the reference changes nothing: the drag waits for more.
    typed({"drag 4,4", "4,4", "6,6"});
    EXPECT_EQ(jig.run(ReferenceJig::Mode::Move), Jig::kNormal);
    EXPECT_EQ(ref->position(), Point3d(6, 6, 0));
    // Turning: a cursor on the base point is no direction, even when picked.
    typed({"drag 6,6", "6,6", "6,9"});
    EXPECT_EQ(jig.run(ReferenceJig::Mode::Rotate), Jig::kNormal);
    EXPECT_DOUBLE_EQ(ref->rotation(), kPi / 2);
    EXPECT_EQ(ref->position(), Point3d(6, 6, 0));
}

TEST_F(Jigs, EnterAndEscEndTheDrag) {
    db::ObjectPtr<db::BlockReference> ref(refId, db::OpenMode::Write);
    ReferenceJig jig(*ref);
    // Enter at the first prompt: the reference stays where it was.
    typed({""});
    EXPECT_EQ(jig.run(ReferenceJig::Mode::Move), Jig::kNull);
    EXPECT_EQ(ref->position(), Point3d(1, 1, 0));
    // Enter after samples: the last sample stays applied.
    typed({"drag 3,3", ""});
    EXPECT_EQ(jig.run(ReferenceJig::Mode::Move), Jig::kNull);
    EXPECT_EQ(ref->position(), Point3d(3, 3, 0));
    // Esc during a turn after a move: the turn goes back, the move stays.
    typed({"7,7"});
    ASSERT_EQ(jig.run(ReferenceJig::Mode::Move), Jig::kNormal);
    typed({"drag 7,10", "drag 4,7", "^C"});
    EXPECT_EQ(jig.run(ReferenceJig::Mode::Rotate), Jig::kCancel);
    EXPECT_EQ(ref->rotation(), 0.0);
    EXPECT_EQ(ref->position(), Point3d(7, 7, 0));
    // The end of the input is Esc too.
    typed({"drag 9,9"});
    EXPECT_EQ(jig.run(ReferenceJig::Mode::Move), Jig::kCancel);
    EXPECT_EQ(ref->position(), Point3d(7, 7, 0));
}

TEST_F(Jigs, TypedInputThatIsNoPointAndTheControls) {
    db::ObjectPtr<db::BlockReference> ref(refId, db::OpenMode::Write);
    ReferenceJig jig(*ref);
    // Text that is nothing the jig takes: the complaint, the prompt again, the next answer.
    typed({"somewhere", "drag 1,2,3", "2,2"});
    EXPECT_EQ(jig.run(ReferenceJig::Mode::Move), Jig::kNormal);
    EXPECT_NE(transcript().text().find("\nInvalid point."), std::string::npos);
    // A keyword of the jig.
    jig.setKeywordList("Base Copy _B C");
    typed({"drag 3,3", "c"});
    EXPECT_EQ(jig.run(ReferenceJig::Mode::Move), Jig::kKW2);
    EXPECT_EQ(jig.lastInputText(), "C");
    EXPECT_EQ(ref->position(), Point3d(3, 3, 0));
}

// A jig that measures: distances or angles, with controls the test sets.
class MeasureJig : public Jig {
public:
    enum class Kind { Dist, Angle, DistFromBase };
    MeasureJig(Kind kind, int controls) : kind_(kind) { setUserInputControls(controls); }
    DragStatus sampler() override {
        const Point3d base(1, 1, 0);
        switch (kind_) {
        case Kind::Dist: return acquireDist(value);
        case Kind::Angle: return acquireAngle(value, base);
        case Kind::DistFromBase: return acquireDist(value, base);
        }
        return kCancel;
    }
    bool update() override { return true; }
    db::Entity* entity() const override { return nullptr; }
    double value = -1;

private:
    Kind kind_;
};

TEST_F(Jigs, DistancesAndAngles) {
    struct Case {
        const char* what;
        MeasureJig::Kind kind;
        int controls;
        std::vector<std::string> lines;
        Jig::DragStatus status;
        double value;
    };
    const Case cases[] = {
        {"typed distance", MeasureJig::Kind::Dist, 0, {"12.5"}, Jig::kNormal, 12.5},
        {"distance from the last point", MeasureJig::Kind::Dist, 0, {"3,4"}, Jig::kNormal, 5.0},
        {"distance from a base", MeasureJig::Kind::DistFromBase, 0, {"drag 1,5", "4,5"}, Jig::kNormal, 5.0},
        {"typed angle in degrees", MeasureJig::Kind::Angle, 0, {"90"}, Jig::kNormal, kPi / 2},
        {"angle to a point", MeasureJig::Kind::Angle, 0, {"0,1"}, Jig::kNormal, kPi},
        {"zero refused", MeasureJig::Kind::Dist, Jig::kNoZeroResponseAccepted, {"0", "2"}, Jig::kNormal, 2.0},
        {"negative refused", MeasureJig::Kind::Dist, Jig::kNoNegativeResponseAccepted, {"-2", "2"}, Jig::kNormal, 2.0},
        {"other input", MeasureJig::Kind::Dist, Jig::kAcceptOtherInputString, {"far away"}, Jig::kOther, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setVar("LASTPOINT", ResBuf(db::RT3DPOINT, Point3d(0, 0, 0)));
        typed(c.lines);
        MeasureJig jig(c.kind, c.controls);
        EXPECT_EQ(jig.drag(), c.status);
        EXPECT_NEAR(jig.value, c.value, 1e-12);
    }
    MeasureJig other(MeasureJig::Kind::Dist, Jig::kAcceptOtherInputString);
    typed({"far away"});
    ASSERT_EQ(other.drag(), Jig::kOther);
    EXPECT_EQ(other.lastInputText(), "far away");
}

TEST_F(Jigs, AnswersFromAModulesArguments) {
    db::ObjectPtr<db::BlockReference> ref(refId, db::OpenMode::Write);
    ReferenceJig jig(*ref);
    Jig::DragStatus status = Jig::kCancel;
    CommandInfo info;
    info.group = "JIG_TEST";
    info.globalName = info.localName = "JIGTEST";
    info.body = [&] { status = jig.run(ReferenceJig::Mode::Move); };
    ASSERT_TRUE(commandStack().add(info));
    EXPECT_EQ(command({ResBuf(db::RTSTR, "JIGTEST"), ResBuf(db::RTSTR, "drag 2,2"),
                       ResBuf(db::RTPOINT, Point3d(8, 8, 0))}),
              db::RTNORM);
    commandStack().removeGroup("JIG_TEST");
    EXPECT_EQ(status, Jig::kNormal);
    EXPECT_EQ(ref->position(), Point3d(8, 8, 0));
}

TEST_F(Jigs, AppendAddsANewEntityAndQuietlyRefusesOneInTheDrawing) {
    class LineJig : public Jig {
    public:
        explicit LineJig(db::Entity* e) : e_(e) {}
        DragStatus sampler() override { return kNormal; }
        bool update() override { return true; }
        db::Entity* entity() const override { return e_; }

    private:
        db::Entity* e_;
    };
    db::Line fresh({0, 0, 0}, {1, 1, 0});
    LineJig newOne(&fresh);
    db::ObjectId id;
    ASSERT_EQ(newOne.append(&id), db::Status::Ok);
    EXPECT_EQ(d.db().lastEntity(), id);
    {
        db::ObjectPtr<db::BlockReference> ref(refId, db::OpenMode::Write);
        LineJig existing(ref.get());
        transcript().clear();
        EXPECT_EQ(existing.append(), db::Status::AlreadyInDb);
        EXPECT_EQ(transcript().text(), "");
    }
    EXPECT_EQ(d.db().lastEntity(), id);
    // A sampler that acquires nothing ends the drag with its own status.
    EXPECT_EQ(newOne.drag(), Jig::kNormal);
}

}  // namespace
}  // namespace host::ed
