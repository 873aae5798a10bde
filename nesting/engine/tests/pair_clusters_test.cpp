// Pairs of identical parts: the approach of one copy to the other, the eight ranked arrangements, and which types
// get them.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/ge/angle.h"
#include "nesting/engine/pair_clusters.h"
#include "nesting/geometry/contour_transforms.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/testing/job_builder.h"

namespace {

using host::ge::Point2d;

using host::ge::kPi;

// The corners of a contour of lines, as posed.
std::vector<Point2d> Corners(const Contour& contour) {
    std::vector<Point2d> points;
    for (const ContourElement& e : contour.Elements) {
        points.push_back(e.Start);
    }
    return points;
}

double Cross(Point2d o, Point2d a, Point2d b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// Whether segments p1-p2 and q1-q2 meet (touching included).
bool SegmentsMeet(Point2d p1, Point2d p2, Point2d q1, Point2d q2) {
    const double d1 = Cross(q1, q2, p1), d2 = Cross(q1, q2, p2), d3 = Cross(p1, p2, q1), d4 = Cross(p1, p2, q2);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
        return true;
    }
    auto on = [](Point2d a, Point2d b, Point2d p, double d) {
        return d == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
               p.y <= std::max(a.y, b.y);
    };
    return on(q1, q2, p1, d1) || on(q1, q2, p2, d2) || on(p1, p2, q1, d3) || on(p1, p2, q2, d4);
}

bool PointInPolygon(Point2d p, const std::vector<Point2d>& poly) {
    bool inside = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        if ((poly[i].y > p.y) != (poly[j].y > p.y) &&
            p.x < (poly[j].x - poly[i].x) * (p.y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x) {
            inside = !inside;
        }
    }
    return inside;
}

// Our own check, independent of the engine's relation code: two polygons overlap or touch.
bool PolygonsMeet(const std::vector<Point2d>& a, const std::vector<Point2d>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) {
            if (SegmentsMeet(a[i], a[(i + 1) % a.size()], b[j], b[(j + 1) % b.size()])) {
                return true;
            }
        }
    }
    return PointInPolygon(a[0], b) || PointInPolygon(b[0], a);
}

// A right triangle centred on its box: two of them, one turned half a turn, make a rectangle.
Contour Triangle() { return MakePolygon({{-50, -25}, {50, -25}, {-50, 25}}); }

class PairClusters : public ::testing::Test {
protected:
    int AddJob(const PartType& type, int quantity) {
        const int t = AddPartType(engine, type, quantity);
        AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
        EXPECT_TRUE(AddInstances(engine));
        return t;
    }
    PartInstance& Instance(int i) { return engine.PartInstances[static_cast<std::size_t>(i)]; }
    PartType& Type(int t) { return engine.PartTypes[static_cast<std::size_t>(t)]; }

    // The outline of instance i posed at (position, angle).
    std::vector<Point2d> Posed(int i, Point2d position, double angle) {
        ApplyOuterPose(Instance(i), 0, position, angle);
        return Corners(Instance(i).TrialPose->Outers[0]);
    }

    CNestingEngine engine;
};

TEST_F(PairClusters, ApproachStopsWithinOnePairGapOfContact) {
    struct Case {
        const char* what;
        std::int32_t unit;
        PairSide side;
        double gap;
    };
    const Case cases[] = {
        {"right, millimetres", kUnitMillimetres, PairSide::Right, 0.1},
        {"left, millimetres", kUnitMillimetres, PairSide::Left, 0.1},
        {"above, millimetres", kUnitMillimetres, PairSide::Above, 0.1},
        {"below, millimetres", kUnitMillimetres, PairSide::Below, 0.1},
        {"right, inches", kUnitInches, PairSide::Right, 0.01},
        {"below, inches", kUnitInches, PairSide::Below, 0.01},
    };
    AddJob(MakeRectangleType(kKindPart, 100, 50), 2);
    for (const Case& c : cases) {
        engine.Unit = c.unit;
        ApplyOuterPose(Instance(0), 0, {0, 0}, 0.0);
        Point2d position{0, 0};
        double score = 0;
        ASSERT_EQ(TryPairArrangement(engine, 0, 1, 0, 0.0, c.side, position, score), kPairTrialDone) << c.what;
        const BoundingBox& a = Instance(0).TrialPose->Box;
        const BoundingBox& b = Instance(1).TrialPose->Box;
        double clearance = 0;
        switch (c.side) {
            case PairSide::Right: clearance = b.minX - a.maxX; break;
            case PairSide::Left: clearance = a.minX - b.maxX; break;
            case PairSide::Above: clearance = b.minY - a.maxY; break;
            case PairSide::Below: clearance = a.minY - b.maxY; break;
        }
        EXPECT_GT(clearance, 0.0) << c.what;
        EXPECT_LE(clearance, c.gap + 1e-9) << c.what;
        EXPECT_DOUBLE_EQ(position.x, Instance(1).TrialPose->X) << c.what;
        EXPECT_DOUBLE_EQ(position.y, Instance(1).TrialPose->Y) << c.what;
        const double boxArea = (std::max(a.maxX, b.maxX) - std::min(a.minX, b.minX)) *
                               (std::max(a.maxY, b.maxY) - std::min(a.minY, b.minY));
        EXPECT_DOUBLE_EQ(score, boxArea) << c.what;
    }
}

TEST_F(PairClusters, TrialKeepsTheOffsetAlongTheSide) {
    AddJob(MakeRectangleType(kKindPart, 100, 50), 2);
    ApplyOuterPose(Instance(0), 0, {0, 0}, 0.0);
    Point2d position{0, 3 * 50.0 / 24};
    double score = 0;
    ASSERT_EQ(TryPairArrangement(engine, 0, 1, 0, 0.0, PairSide::Right, position, score), kPairTrialDone);
    EXPECT_DOUBLE_EQ(position.y, 3 * 50.0 / 24);
    position = {-5 * 100.0 / 24, 0};
    ASSERT_EQ(TryPairArrangement(engine, 0, 1, 0, kPi, PairSide::Above, position, score), kPairTrialDone);
    EXPECT_DOUBLE_EQ(position.x, -5 * 100.0 / 24);
}

TEST_F(PairClusters, ApproachThatJumpsOverThePartEndsAsAFailedTrial) {
    // A thin diagonal bar and its copy 45.8 higher: moving left in steps of 10 the copy overlaps the bar only
    // between x = 44 and 48, which no step lands in. It passes the bar and would go on for ever; it stops once it
    // is beyond the bar's box.
    AddJob(MakeType(kKindPart, MakePolygon({{-50, -50}, {-49, -50}, {50, 49}, {50, 50}, {49, 50}, {-50, -49}})), 2);
    ApplyOuterPose(Instance(0), 0, {0, 0}, 0.0);
    Point2d position{0, 11 * 100.0 / 24};
    double score = 0;
    EXPECT_EQ(TryPairArrangement(engine, 0, 1, 0, 0.0, PairSide::Right, position, score), kPairTrialFailed);
    EXPECT_EQ(score, kPairTrialNoScore);
    EXPECT_DOUBLE_EQ(position.x, 0.0);
    EXPECT_DOUBLE_EQ(position.y, 11 * 100.0 / 24);
}

TEST_F(PairClusters, TrianglesPairIntoTheirRectangle) {
    const int t = AddJob(MakeType(kKindPart, Triangle()), 2);
    engine.UseCluster = 1;
    ASSERT_EQ(EvaluatePair(engine, 0, 1), 0);
    const PartType& type = Type(t);
    EXPECT_EQ(type.HasPairs, 1);
    EXPECT_EQ(type.PairVariantCount, 8);
    const PairVariant& best = type.PairVariants[0];
    EXPECT_EQ(best.Used, 1);
    EXPECT_DOUBLE_EQ(best.Rotation, kPi);
    EXPECT_GT(best.Quality, 0.49f);
    EXPECT_LT(best.Quality, 0.5f);
    // The pair's box hardly exceeds the 100 x 50 rectangle the two halves make.
    EXPECT_LT(best.Score, 100.0f * 50.0f * 1.003f);

    for (int v = 0; v < type.PairVariantCount; ++v) {
        const PairVariant& variant = type.PairVariants[static_cast<std::size_t>(v)];
        if (v > 0) {
            EXPECT_GE(variant.Score, type.PairVariants[static_cast<std::size_t>(v - 1)].Score) << v;
        }
        // Radius and polar angle describe the position seen from the first part at the origin.
        EXPECT_NEAR(variant.Radius * std::cos(variant.PolarAngle), variant.Position.x, 1e-9) << v;
        EXPECT_NEAR(variant.Radius * std::sin(variant.PolarAngle), variant.Position.y, 1e-9) << v;
        // The two parts never overlap or touch, by our own polygon test.
        EXPECT_FALSE(PolygonsMeet(Posed(0, {0, 0}, 0.0), Posed(1, variant.Position, variant.Rotation))) << v;
    }
}

TEST_F(PairClusters, OffsetsAreWholeStepsAlongTheTouchingSide) {
    // An L of 100 x 50 (a bottom bar 20 high, a left column 20 wide): its copy to the right fits over the bar into
    // the L's corner only when lifted by more than 20, which the tenth step of 50/24 (20.83) is.
    const Contour ell = MakePolygon({{-50, -25}, {50, -25}, {50, -5}, {-30, -5}, {-30, 25}, {-50, 25}});
    const int t = AddJob(MakeType(kKindPart, ell), 2);
    ASSERT_EQ(EvaluatePair(engine, 0, 1), 0);
    bool lifted = false;
    for (const PairVariant& variant : Type(t).PairVariants) {
        auto wholeSteps = [](double along, double step) {
            const double steps = along / step;
            return std::abs(steps - std::round(steps)) < 1e-9 && std::abs(std::round(steps)) <= 11.0;
        };
        // Left and right move along y in steps of h/24, above and below along x in steps of w/24.
        EXPECT_TRUE(wholeSteps(variant.Position.y, 50.0 / 24) || wholeSteps(variant.Position.x, 100.0 / 24))
            << variant.Position.x << ", " << variant.Position.y;
        EXPECT_FALSE(PolygonsMeet(Posed(0, {0, 0}, 0.0), Posed(1, variant.Position, variant.Rotation)));
        if (variant.Rotation == 0.0 && variant.Position.x > 0 && std::abs(variant.Position.y - 500.0 / 24) < 1e-9) {
            lifted = true;
            // Over the bar and against the column: 120 x 70.83 instead of 200 x 50.
            EXPECT_NEAR(variant.Position.x, 20.0, 0.1);
            EXPECT_NEAR(variant.Quality, 1.0 - 120.0 * (50 + 500.0 / 24) / 10000.0, 0.002);
        }
    }
    EXPECT_TRUE(lifted);
}

TEST_F(PairClusters, EqualScoresKeepTheArrangementOrder) {
    const int t = AddJob(MakeRectangleType(kKindPart, 50, 50), 2);
    ASSERT_EQ(EvaluatePair(engine, 0, 1), 0);
    const PartType& type = Type(t);
    ASSERT_EQ(type.PairVariantCount, 8);
    // right, right turned, left, left turned, above, above turned, below, below turned
    const double rotations[] = {0, kPi, 0, kPi, 0, kPi, 0, kPi};
    for (int v = 0; v < 8; ++v) {
        const PairVariant& variant = type.PairVariants[static_cast<std::size_t>(v)];
        EXPECT_DOUBLE_EQ(variant.Rotation, rotations[v]) << v;
        EXPECT_EQ(variant.Score, type.PairVariants[0].Score) << v;
        const Point2d p = variant.Position;
        switch (v / 2) {
            case 0: EXPECT_GT(p.x, 50.0) << v; break;
            case 1: EXPECT_LT(p.x, -50.0) << v; break;
            case 2: EXPECT_GT(p.y, 50.0) << v; break;
            case 3: EXPECT_LT(p.y, -50.0) << v; break;
        }
        // Side by side two squares fill at least twice one square's box: no pair is worth placing.
        EXPECT_EQ(variant.Quality, 0.0f) << v;
    }
}

TEST_F(PairClusters, ClampsGetEightEmptyArrangements) {
    AddPartType(engine, MakeRectangleType(kKindPart, 10, 10), 1);
    AddClampType(engine, 30, 20, 2);
    AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
    ASSERT_TRUE(AddInstances(engine));
    ASSERT_EQ(EvaluatePair(engine, 1, 2), 0);
    const PartType& clamp = *Instance(1).Type;
    ASSERT_EQ(clamp.Kind, kKindClamp);
    EXPECT_EQ(clamp.PairVariantCount, 8);
    for (const PairVariant& variant : clamp.PairVariants) {
        EXPECT_EQ(variant.Used, 1);
        EXPECT_EQ(variant.Score, 0.0f);
        EXPECT_EQ(variant.Quality, 1.0f);
        EXPECT_EQ(variant.Position.x, 0.0);
        EXPECT_EQ(variant.Position.y, 0.0);
    }
}

TEST_F(PairClusters, OnlyTypesWithTwoCopiesAreEvaluatedAndOnlyWithClustersOn) {
    const int twice = AddPartType(engine, MakeType(kKindPart, Triangle()), 2);
    const int once = AddPartType(engine, MakeRectangleType(kKindPart, 40, 20), 1);
    const int thrice = AddPartType(engine, MakeRectangleType(kKindPart, 30, 30), 3);
    AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
    ASSERT_TRUE(AddInstances(engine));
    for (PartType& type : engine.PartTypes) {
        type.PairVariantCount = 5;
        type.HasPairs = 1;
        type.PairVariants[0].Used = 1;
    }

    engine.UseCluster = 0;
    ASSERT_EQ(ClearPairVariants(engine, -1), 0);
    ASSERT_EQ(BuildPairVariants(engine), 0);
    for (int t : {twice, once, thrice}) {
        EXPECT_EQ(Type(t).HasPairs, 0) << t;
        EXPECT_EQ(Type(t).PairVariants[0].Used, 0) << t;
        EXPECT_EQ(Type(t).PairVariantCount, 5) << t;
    }
    ASSERT_EQ(EvaluatePair(engine, 0, 1), 0);
    EXPECT_EQ(Type(twice).PairVariantCount, 0);
    EXPECT_EQ(Type(twice).PairVariants[0].Used, 0);

    engine.UseCluster = 1;
    ASSERT_EQ(BuildPairVariants(engine), 0);
    EXPECT_EQ(Type(twice).PairVariantCount, 8);
    EXPECT_EQ(Type(thrice).PairVariantCount, 8);
    EXPECT_EQ(Type(once).HasPairs, 0);
    EXPECT_EQ(Type(once).PairVariants[0].Used, 0);
    EXPECT_EQ(Type(once).PairVariantCount, 5);

    // The parallel evaluation gives what one evaluation on its own gives.
    const PairVariant parallel = Type(twice).PairVariants[0];
    ASSERT_EQ(EvaluatePair(engine, 0, 1), 0);
    EXPECT_EQ(Type(twice).PairVariants[0].Score, parallel.Score);
    EXPECT_EQ(Type(twice).PairVariants[0].Position.x, parallel.Position.x);
}

TEST_F(PairClusters, ClearingOneTypeLeavesTheOthers) {
    AddPartType(engine, MakeRectangleType(kKindPart, 40, 20), 2);
    AddPartType(engine, MakeRectangleType(kKindPart, 30, 30), 2);
    AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
    ASSERT_TRUE(AddInstances(engine));
    ASSERT_EQ(BuildPairVariants(engine), 0);
    ASSERT_EQ(ClearPairVariants(engine, 1), 0);
    EXPECT_EQ(Type(0).HasPairs, 1);
    EXPECT_EQ(Type(0).PairVariants[7].Used, 1);
    EXPECT_EQ(Type(1).HasPairs, 0);
    EXPECT_EQ(Type(1).PairVariants[0].Used, 0);
    EXPECT_EQ(Type(1).PairVariantCount, 8);
    EXPECT_EQ(ClearPairVariants(engine, 2), -1);
    EXPECT_EQ(ClearPairVariants(engine, -2), -1);
    EXPECT_EQ(Type(0).HasPairs, 1);
}

}  // namespace
