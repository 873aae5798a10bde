// The test job builder's shapes (areas, boxes, element conventions), types and instances.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/ge/angle.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/testing/job_builder.h"

namespace {

using host::ge::Point2d;

using host::ge::kPi;
constexpr double kShapeTolerance = 1e-9;

void ExpectShapeBox(const BoundingBox& box, const BoundingBox& expected, const char* what) {
    EXPECT_NEAR(box.minX, expected.minX, kShapeTolerance) << what;
    EXPECT_NEAR(box.minY, expected.minY, kShapeTolerance) << what;
    EXPECT_NEAR(box.maxX, expected.maxX, kShapeTolerance) << what;
    EXPECT_NEAR(box.maxY, expected.maxY, kShapeTolerance) << what;
}

Point2d OnCircle(Point2d centre, double radius, double angle) {
    return {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
}

// Every element starts where the one before it ends (by the way the chain runs through arcs), and every stored
// arc's end points lie on it at its angles.
void ExpectChainIsClosedAndConsistent(const Contour& contour, const char* what) {
    const auto logicalStart = [](const ContourElement& e) { return e.Type == kElementArc && e.Reversed ? e.End : e.Start; };
    const auto logicalEnd = [](const ContourElement& e) { return e.Type == kElementArc && e.Reversed ? e.Start : e.End; };
    const std::size_t n = contour.Elements.size();
    for (std::size_t i = 0; i < n; ++i) {
        const ContourElement& e = contour.Elements[i];
        const Point2d next = logicalStart(contour.Elements[(i + 1) % n]);
        EXPECT_NEAR(logicalEnd(e).distanceTo(next), 0.0, kShapeTolerance) << what << ", element " << i;
        if (e.Type == kElementArc) {
            EXPECT_NEAR(OnCircle(e.Centre, e.Radius, e.StartAngle).distanceTo(e.Start), 0.0, kShapeTolerance) << what;
            EXPECT_NEAR(OnCircle(e.Centre, e.Radius, e.EndAngle).distanceTo(e.End), 0.0, kShapeTolerance) << what;
        } else if (e.Type == kElementLine) {
            EXPECT_NEAR(std::remainder(std::atan2(e.End.y - e.Start.y, e.End.x - e.Start.x) - e.StartAngle, 2 * kPi),
                        0.0, kShapeTolerance) << what;
            EXPECT_NEAR(std::remainder(e.EndAngle - e.StartAngle - kPi, 2 * kPi), 0.0, kShapeTolerance) << what;
        }
        EXPECT_GE(e.StartAngle, 0.0) << what;
        EXPECT_LT(e.StartAngle, 2 * kPi) << what;
        EXPECT_GE(e.EndAngle, 0.0) << what;
        EXPECT_LT(e.EndAngle, 2 * kPi) << what;
    }
}

TEST(JobBuilderShapes, AreasBoxesAndElements) {
    struct Case {
        const char* what;
        Contour contour;
        double area;
        BoundingBox box;
        int elements;
    };
    const Case cases[] = {
        {"rectangle", MakeRectangle(30, 20, {5, -2}), 600, {5, -2, 35, 18}, 4},
        {"L-shaped polygon", MakePolygon({{0, 0}, {20, 0}, {20, 5}, {5, 5}, {5, 15}, {0, 15}}), 150, {0, 0, 20, 15}, 6},
        {"circle", MakeCircle(5, {1, 2}), 25 * kPi, {-4, -3, 6, 7}, 1},
        {"slot with round ends", MakeArcSlot(40, 10), 400 + 25 * kPi, {-5, -5, 45, 5}, 4},
        // A 20 x 20 square whose top edge is a half circle bulging out: the arc passes its top point.
        {"square with a round top", MakeChain({{{0, 0}, 0}, {{20, 0}, 0}, {{20, 20}, 1}, {{0, 20}, 0}}),
         400 + 50 * kPi, {0, 0, 20, 30}, 4},
        // The same top bent inward: the arc runs clockwise and the box stays the square's.
        {"square with a hollow top", MakeChain({{{0, 0}, 0}, {{20, 0}, 0}, {{20, 20}, -1}, {{0, 20}, 0}}),
         400 - 50 * kPi, {0, 0, 20, 20}, 4},
        // A quarter arc (bulge tan(pi/8)) from (10, 0) to (0, 10) about the origin closes a quarter disc.
        {"quarter disc", MakeChain({{{0, 0}, 0}, {{10, 0}, std::tan(kPi / 8)}, {{0, 10}, 0}}), 25 * kPi,
         {0, 0, 10, 10}, 3},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(c.contour.Area, c.area, 1e-9) << c.what;
        ExpectShapeBox(c.contour.Box, c.box, c.what);
        EXPECT_EQ(c.contour.ElementCount(), c.elements) << c.what;
        EXPECT_EQ(c.contour.Open, 0) << c.what;
        if (c.contour.GeometryKind == kGeometryChain) {
            ExpectChainIsClosedAndConsistent(c.contour, c.what);
        }
    }
}

TEST(JobBuilderShapes, ArcsAreStoredCounterClockwiseWhicheverWayTheChainRuns) {
    const Contour hollow = MakeChain({{{0, 0}, 0}, {{20, 0}, 0}, {{20, 20}, -1}, {{0, 20}, 0}});
    const ContourElement& arc = hollow.Elements[2];
    ASSERT_EQ(arc.Type, kElementArc);
    EXPECT_EQ(arc.Reversed, 1);
    // Stored from (0, 20) to (20, 20) counter-clockwise about (10, 20): through (10, 10), below the top edge.
    EXPECT_NEAR(arc.Start.distanceTo({0, 20}), 0.0, kShapeTolerance);
    EXPECT_NEAR(arc.End.distanceTo({20, 20}), 0.0, kShapeTolerance);
    EXPECT_NEAR(arc.Centre.distanceTo({10, 20}), 0.0, kShapeTolerance);
    EXPECT_NEAR(arc.Radius, 10.0, kShapeTolerance);
    EXPECT_NEAR(arc.StartAngle, kPi, kShapeTolerance);
    EXPECT_NEAR(arc.EndAngle, 0.0, kShapeTolerance);

    const Contour slot = MakeArcSlot(40, 10);
    EXPECT_EQ(slot.Elements[1].Reversed, 0);
    EXPECT_NEAR(slot.Elements[1].StartAngle, 3 * kPi / 2, kShapeTolerance);
    EXPECT_NEAR(slot.Elements[1].EndAngle, kPi / 2, kShapeTolerance);
}

TEST(JobBuilderShapes, ReversedContourKeepsItsOutlineAndTurnsItsArcs) {
    const Contour slot = MakeArcSlot(40, 10, {3, 4});
    const Contour reversed = ReverseContour(slot);
    EXPECT_EQ(reversed.Area, slot.Area);
    EXPECT_EQ(reversed.Box, slot.Box);
    ASSERT_EQ(reversed.ElementCount(), 4);
    ExpectChainIsClosedAndConsistent(reversed, "reversed slot");
    for (const ContourElement& e : reversed.Elements) {
        if (e.Type == kElementArc) {
            EXPECT_EQ(e.Reversed, 1);
        }
    }
    Contour moved = slot;
    MoveContour(moved, -3, -4);
    ExpectShapeBox(moved.Box, {-5, -5, 45, 5}, "moved slot");
    EXPECT_NEAR(moved.Elements[1].Centre.distanceTo({40, 0}), 0.0, kShapeTolerance);
}

TEST(JobBuilderTypes, RectangleTypesLieAsTheLoaderPutsThem) {
    const PartType stock = MakeRectangleType(kKindStock, 3000, 1500);
    EXPECT_EQ(stock.Path, "Stosk_3000x1500");
    ExpectShapeBox(stock.OuterBox, {0, 0, 3000, 1500}, "stock");
    EXPECT_EQ(stock.Outers[0][0].Owner, kOwnerStock);
    EXPECT_EQ(stock.Outers[0][0].Colour, 191);

    const PartType part = MakeRectangleType(kKindPart, 200, 100);
    EXPECT_EQ(part.Path, "Part_200x100");
    ExpectShapeBox(part.OuterBox, {-100, -50, 100, 50}, "part");
    EXPECT_EQ(part.BasePoint, (Point2d{100, 50}));
    EXPECT_EQ(part.Area, 20000);
    EXPECT_EQ(part.Aspect, 2.0);
    EXPECT_EQ(part.JobFileType, kJobFileRectangle);

    const PartType clamp = MakeRectangleType(kKindClamp, 40, 80);
    ExpectShapeBox(clamp.OuterBox, {-20, -0.01, 20, 79.99}, "clamp");
    EXPECT_EQ(clamp.Outers[0][0].Colour, 12);
}

TEST(JobBuilderTypes, HolesTakeTheirAreaFromTheType) {
    PartType plate = MakeType(kKindPart, MakeRectangle(100, 50), "plate.dxf");
    AddHole(plate, MakeCircle(10, {25, 25}));
    AddHole(plate, MakeRectangle(20, 10, {60, 20}));
    EXPECT_NEAR(plate.Area, 5000 - 100 * kPi - 200, 1e-9);
    EXPECT_EQ(plate.HoleCount(0), 2);
    EXPECT_EQ(plate.OuterCount(0), 1);
    EXPECT_EQ(plate.HoleCount(1), 0);
    EXPECT_EQ(plate.Holes[0][0].ContourClass, kClassInner);
    EXPECT_EQ(plate.Holes[0][0].Colour, 30);
    EXPECT_EQ(plate.Outers[0][0].ContourClass, kClassOuter);
}

TEST(JobBuilderJobs, TypesAndInstancesKeepASpareRecordAndClampsComeLast) {
    CNestingEngine engine;
    EXPECT_EQ(AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 2), 0);
    EXPECT_EQ(AddPartType(engine, MakeRectangleType(kKindPart, 100, 50), 3, 4), 0);
    PartType ring = MakeType(kKindPart, MakeCircle(30));
    AddHole(ring, MakeCircle(10));
    EXPECT_EQ(AddPartType(engine, ring, 1, 0, kRotateNone), 1);
    EXPECT_EQ(AddClampType(engine, 40, 80, 2), 2);
    ASSERT_TRUE(AddInstances(engine));

    EXPECT_EQ(engine.StockTypeCount, 1);
    EXPECT_EQ(engine.PartTypeCount, 3);
    EXPECT_EQ(engine.StockTypes.size(), 2u);
    EXPECT_EQ(engine.PartTypes.size(), 4u);
    EXPECT_EQ(engine.StockTypes[0].TypeIndex, 0);
    EXPECT_EQ(engine.PartTypes[0].TypeIndex, 1);
    EXPECT_EQ(engine.PartTypes[0].Priority, 4);
    EXPECT_EQ(engine.PartTypes[1].RotationMode, kRotateNone);
    EXPECT_EQ(engine.PartTypes[2].Kind, kKindClamp);
    EXPECT_EQ(engine.PartTypes[2].BlockName, "Clamp");

    EXPECT_EQ(engine.StockInstanceCount, 2);
    EXPECT_EQ(engine.PartInstanceCount, 6);
    ASSERT_EQ(engine.StockInstances.size(), 3u);
    ASSERT_EQ(engine.PartInstances.size(), 7u);
    const int expectedType[] = {0, 0, 0, 1, 2, 2};
    for (int i = 0; i < 6; ++i) {
        const PartInstance& instance = engine.PartInstances[static_cast<std::size_t>(i)];
        EXPECT_EQ(instance.Type, &engine.PartTypes[static_cast<std::size_t>(expectedType[i])]) << i;
        EXPECT_EQ(instance.Placed, 0);
        EXPECT_EQ(instance.Stock, -1);
        ASSERT_TRUE(instance.TrialPose && instance.CommittedPose);
        EXPECT_EQ(instance.CommittedPose->Outers.size(), 0u);
    }
    // The trial pose owns copies of the type's lists.
    PartPose& ringPose = *engine.PartInstances[3].TrialPose;
    EXPECT_EQ(ringPose.OuterCount, 1);
    EXPECT_EQ(ringPose.HoleCount, 1);
    ringPose.Holes[0].Elements[0].Radius = 11;
    EXPECT_EQ(engine.PartTypes[1].Holes[0][0].Elements[0].Radius, 10);
    EXPECT_EQ(engine.StockInstances[1].Type, &engine.StockTypes[0]);
}

}  // namespace
