// Tests of tracing a profile along the drawn entities and of slicing the drawn geometry at a picked point.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "host/db/entities.h"
#include "host/ed/input.h"
#include "host/ui/message_box.h"
#include "laser/path/path_groups.h"
#include "laser/path/raw_geometry_path.h"
#include "laser/path/tests/leads_fixture.h"

namespace {

using host::db::ObjectId;
using host::ge::Point3d;
using leads_testing::LeadsTest;
using leads_testing::Near;

class RawGeometry : public LeadsTest {
protected:
    void SetUp() override {
        LeadsTest::SetUp();
        CuttingJob& job = Job();
        job.pathGroupCount = 0;
        job.currentPoint = Point3d(-50, -50, 0);
        job.startAtHome = 1;
        job.leadInSpan = 4.0;
        job.leadOutSpan = 2.0;
        job.leadAngleRad = 0.0;
    }

public:
    ObjectId DrawLine(Point3d a, Point3d b) { return Add(std::make_unique<host::db::Line>(a, b)); }
    void Answers(std::vector<std::string> lines) {
        host::ed::setInput(host::ed::ScriptInput::fromLines(std::move(lines), "answers.scr"));
    }
    // Traces from `start` (a line) with the side point `side` into one group; answers the trace's answer.
    int Trace(ObjectId start, const Point3d& a, const Point3d& b, const Point3d& side) {
        SideLeadPoints leads;
        const int code = LineLeadPoints(a, b, side, leads);
        PathWriter().PathDescriptionText = "Slice";
        BeginPathGroup();
        const int answer = TraceProfileInteractively(start, leads, code);
        EndPathGroup();
        return answer;
    }
    // The members of group 1 that follow the rapid and the lead-in, end to end.
    std::vector<Member> Cuts() {
        std::vector<Member> members = MemberShapes(1);
        return std::vector<Member>(members.begin() + std::min<std::size_t>(2, members.size()), members.end());
    }
};

TEST_F(RawGeometry, AClosedProfileIsTracedWhateverWayItsEntitiesAreDrawn) {
    const ObjectId first = DrawLine({0, 0, 0}, {10, 0, 0});
    DrawLine({0, 10, 0}, {10, 0, 0});  // drawn against the travel
    DrawLine({0, 10, 0}, {0, 0, 0});
    ASSERT_EQ(Trace(first, {0, 0, 0}, {10, 0, 0}, {5, -1, 0}), kTraceClosed);
    ASSERT_EQ(Job().pathGroupCount, 1);
    const std::vector<Member> shapes = MemberShapes(1);
    ASSERT_EQ(shapes.size(), 6u);  // rapid, lead-in, three sides, lead-out
    EXPECT_TRUE(Near(shapes[0].a, {-50, -50}));
    EXPECT_TRUE(Near(shapes[1].b, {0, 0}));
    const Point3d chain[] = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {0, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Near(shapes[2 + i].a, chain[i])) << i;
        EXPECT_TRUE(Near(shapes[2 + i].b, chain[i + 1])) << i;
    }
    EXPECT_TRUE(Near(shapes[5].a, {0, 0}));
}

TEST_F(RawGeometry, AnOpenProfileEndsAtItsFreeEndWithoutALeadOut) {
    const ObjectId first = DrawLine({0, 0, 0}, {10, 0, 0});
    const auto arc = Add(std::make_unique<host::db::Arc>(Point3d(10, 5, 0), 5.0, -std::numbers::pi / 2.0, 0.0));
    ASSERT_FALSE(arc.isNull());
    EXPECT_EQ(Trace(first, {0, 0, 0}, {10, 0, 0}, {5, -1, 0}), kTraceOpen);
    const std::vector<Member> cuts = Cuts();
    ASSERT_EQ(cuts.size(), 2u);
    EXPECT_TRUE(cuts[1].arc);
    EXPECT_TRUE(Near(Job().currentPoint, {15, 5}));
}

TEST_F(RawGeometry, MoreThanTwoEntitiesAtAnEndStopTheTrace) {
    const ObjectId first = DrawLine({0, 0, 0}, {10, 0, 0});
    DrawLine({10, 0, 0}, {10, 10, 0});
    DrawLine({10, 0, 0}, {20, 0, 0});
    EXPECT_EQ(Trace(first, {0, 0, 0}, {10, 0, 0}, {5, -1, 0}), kTraceJunction);
    EXPECT_NE(Transcript().find("(10.0000,0.0000) - 3 of the object.\nIt is admitted no more than 2 objects"),
              std::string::npos)
        << Transcript();
    EXPECT_EQ(Cuts().size(), 1u);
}

TEST_F(RawGeometry, APickOnALineTracesItsProfileIntoOneGroup) {
    DrawLine({0, 0, 0}, {10, 0, 0});
    DrawLine({10, 0, 0}, {0, 10, 0});
    DrawLine({0, 10, 0}, {0, 0, 0});
    Answers({"5,0", "5,-1"});
    EXPECT_EQ(SliceRawGeometryAtPoint(), 0);
    ASSERT_EQ(Job().pathGroupCount, 1);
    EXPECT_EQ(Description(1).rfind("Slice Offset=N", 0), 0u) << Description(1);
    EXPECT_EQ(MemberShapes(1).size(), 6u);
}

TEST_F(RawGeometry, APickedCircleIsCutWholeFromThePointTowardsTheSide) {
    Add(std::make_unique<host::db::Circle>(Point3d(0, 0, 0), 10.0));
    Answers({"0,-10", "0,-12"});
    SliceRawGeometryAtPoint();
    ASSERT_EQ(Job().pathGroupCount, 1);
    const std::vector<Member> shapes = MemberShapes(1);
    ASSERT_EQ(shapes.size(), 5u);  // rapid, lead-in, two half circles, lead-out
    EXPECT_TRUE(Near(shapes[1].b, {0, -10}));
    EXPECT_TRUE(shapes[2].arc && shapes[3].arc);
    EXPECT_TRUE(Near(shapes[4].a, {0, -10}));
    EXPECT_GT(leads_testing::Tokens(Description(1)).size(), 1u);
}

TEST_F(RawGeometry, AtACornerTheEntityNearerTheSidePointIsTraced) {
    DrawLine({0, 0, 0}, {10, 0, 0});
    DrawLine({10, 0, 0}, {10, 10, 0});
    Answers({"10,0", "12,5"});
    SliceRawGeometryAtPoint();
    ASSERT_EQ(Job().pathGroupCount, 1);
    const std::vector<Member> cuts = Cuts();
    ASSERT_FALSE(cuts.empty());
    EXPECT_TRUE(Near(cuts[0].a, {10, 0}));
    EXPECT_TRUE(Near(cuts[0].b, {10, 10}));
}

TEST_F(RawGeometry, APolylineIsExplodedAndThePointAskedAgain) {
    Polyline({{0, 0}, {10, 0}, {10, 10}}, false);
    Answers({"5,0", "5,0", "5,-1"});
    SliceRawGeometryAtPoint();
    ASSERT_EQ(Job().pathGroupCount, 1);
    EXPECT_EQ(Cuts().size(), 2u);
}

TEST_F(RawGeometry, ManyLinesAtThePointAreRefusedWithoutAGroup) {
    DrawLine({0, 0, 0}, {10, 0, 0});
    DrawLine({5, -5, 0}, {5, 5, 0});
    DrawLine({0, -5, 0}, {10, 5, 0});
    Answers({"5,0"});
    SliceRawGeometryAtPoint();
    EXPECT_EQ(Job().pathGroupCount, 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("In the specified point there are many geometrical lines."), std::string::npos);
}

}  // namespace
