// PEDIT run as contour creation and the spline conversion run it: multiple join, spline to polyline, options.
#include <gtest/gtest.h>

#include <cmath>

#include "host/ge/angle.h"
#include "host_command_support.h"

namespace host::ed::testing {
namespace {

using db::ObjectId;
using db::RTERROR;
using db::RTNORM;

using PeditCommand = HostCommandTest;

TEST_F(PeditCommand, MultipleConvertAndJoinMakesClosedOutlines) {
    // Two outlines drawn as loose lines and arcs, their pieces given in a mixed order.
    const std::vector<ObjectId> left = {line({0, 0}, {10, 0}), line({10, 10}, {0, 10}), line({0, 10}, {0, 0})};
    const ObjectId arc = add(std::make_unique<db::Arc>(ge::Point3d{10, 5}, 5.0, -ge::kHalfPi, ge::kHalfPi));
    const ObjectId open = line({20, 0}, {30, 0});
    db::ResBufList args{str("_.pedit"), str("_M"), name(left[0]), name(open), name(left[1]), name(arc),
                        name(left[2]), str(""), str("_Y"), str("_J"), str("0.0"), str("")};
    EXPECT_EQ(run(args), RTNORM);
    ASSERT_EQ(kinds(), "LWPOLYLINE LWPOLYLINE");
    const auto* outline = get<db::LwPolyline>(entities()[0]);
    EXPECT_TRUE(outline->isClosed());
    EXPECT_EQ(outline->numVerts(), 4u);
    EXPECT_EQ(outline->startPoint(), ge::Point3d(0, 0, 0));  // the first line given leads the chain
    EXPECT_NEAR(outline->area(), 100 + ge::kPi * 25 / 2, 1e-9);
    EXPECT_FALSE(get<db::LwPolyline>(entities()[1])->isClosed());
    for (ObjectId id : left) EXPECT_TRUE(id.isErased());
    EXPECT_NE(said().find("segments added to"), std::string::npos) << said();
}

TEST_F(PeditCommand, UndoBringsBackTheJoinedPolylines) {
    const ObjectId a = pline({{0, 0, 0}, {1, 0, 0}});
    const ObjectId b = pline({{1, 0, 0}, {1, 1, 0}});
    script({"PEDIT", "_M", "_ALL", "", "_J", "", "", "UNDO", "1"});
    std::string reason;
    ASSERT_TRUE(runCommandLoop(&reason)) << reason;
    EXPECT_NE(said().find("1 segment added to 1 polyline"), std::string::npos) << said();
    EXPECT_FALSE(b.isErased());
    EXPECT_EQ(get<db::LwPolyline>(a)->numVerts(), 2u);
    EXPECT_EQ(get<db::LwPolyline>(b)->numVerts(), 2u);
}

TEST_F(PeditCommand, PeditAcceptSkipsTheQuestion) {
    setShort("PEDITACCEPT", 1);
    const ObjectId a = line({0, 0}, {1, 0});
    const ObjectId b = line({1, 0}, {1, 1});
    EXPECT_EQ(run({str("_.pedit"), str("_M"), name(a), name(b), str(""), str("_J"), str("0"), str("")}), RTNORM);
    EXPECT_EQ(kinds(), "LWPOLYLINE");
}

TEST_F(PeditCommand, DecliningTheConversionChangesNothing) {
    const ObjectId a = line({0, 0}, {1, 0});
    EXPECT_EQ(run({str("_.pedit"), name(a), str("_N")}), RTNORM);
    EXPECT_EQ(kinds(), "LINE");
    EXPECT_FALSE(a.isErased());
}

// A quarter circle as a rational quadratic spline.
db::ResBufList splineArgs(ObjectId spline, const char* precision) {
    return {{db::RTSTR, "_.PEDIT"}, {db::RTENAME, db::idToName(spline)}, {db::RTSTR, "_Y"},
            {db::RTSTR, precision}, {db::RTSTR, ""}};
}

ObjectId quarterSpline(HostCommandTest& t, db::Database& db) {
    (void)t;
    auto s = std::make_unique<db::Spline>();
    const double w = std::sqrt(0.5);
    s->setNurbsData(2, 8, {0, 0, 0, 1, 1, 1}, {{1, 0}, {1, 1}, {0, 1}}, {1, w, 1});
    db::ObjectPtr<db::BlockTableRecord> ms(db.modelSpaceId(), db::OpenMode::Write);
    ObjectId id;
    ms->appendEntity(std::move(s), &id);
    return id;
}

TEST_F(PeditCommand, SplinesFollowPlineConvertMode) {
    for (const int mode : {0, 1}) {
        setShort("PLINECONVERTMODE", mode);
        const ObjectId s = quarterSpline(*this, db());
        EXPECT_EQ(run(splineArgs(s, "4")), RTNORM);
        EXPECT_TRUE(s.isErased());
        const auto* pl = get<db::LwPolyline>(entities().back());
        ASSERT_NE(pl, nullptr);
        EXPECT_EQ(pl->numVerts(), mode == 1 ? 6u : 11u) << mode;
        bool arcs = false;
        for (const auto& v : pl->vertices()) arcs = arcs || v.bulge != 0.0;
        EXPECT_EQ(arcs, mode == 1);
    }
}

TEST_F(PeditCommand, PrecisionOutOfRangeFailsFromArguments) {
    const ObjectId s = quarterSpline(*this, db());
    EXPECT_EQ(run(splineArgs(s, "100")), RTERROR);
    EXPECT_FALSE(s.isErased());
    EXPECT_NE(said().find("Requires an integer between 0 and 99."), std::string::npos) << said();
}

TEST_F(PeditCommand, TypedPrecisionOutOfRangeIsAskedAgain) {
    const ObjectId s = quarterSpline(*this, db());
    // The answers come from the user through pause tokens; a precision out of range is told and asked again.
    script({"Y", "120", "3", ""});
    EXPECT_EQ(run({str("_.PEDIT"), name(s), str("\\"), str("\\"), str("\\")}), RTNORM);
    EXPECT_TRUE(s.isErased());
    EXPECT_NE(said().find("Requires an integer between 0 and 99."), std::string::npos) << said();
    // Precision 3 and PLINECONVERTMODE 0: eight straight segments.
    EXPECT_EQ(get<db::LwPolyline>(entities().back())->numVerts(), 9u);
}

TEST_F(PeditCommand, OptionsOnOnePolyline) {
    const ObjectId pl = pline({{0, 0, 1}, {2, 0, 0}, {2, 2, 0}});
    EXPECT_EQ(run({str("PEDIT"), name(pl), str("_C"), str("_D"), str("_W"), str("0.5"), str("_R"), str("_L"),
                   str("_ON"), str("")}),
              RTNORM);
    const auto* p = get<db::LwPolyline>(pl);
    EXPECT_TRUE(p->isClosed());
    for (const auto& v : p->vertices()) EXPECT_EQ(v.bulge, 0.0);
    EXPECT_EQ(p->constantWidth(), 0.5);
    EXPECT_TRUE(p->plinegen());
    EXPECT_EQ(p->vertices()[0].point, ge::Point2d(2, 2));  // reversed
    EXPECT_EQ(run({str("PEDIT"), name(pl), str("_O"), str("_F"), str("")}), RTERROR);  // no curve fitting here
    EXPECT_FALSE(p->isClosed());
}

}  // namespace
}  // namespace host::ed::testing
