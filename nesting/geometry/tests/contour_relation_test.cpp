// Relations of boxes and contours, and where a point lies relative to a contour.
#include "nesting/geometry/contour_relation.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <vector>

#include "host/ge/angle.h"
#include "nesting/testing/job_builder.h"

using host::ge::Point2d;

namespace {

using host::ge::kPi;

// A regular polygon of n sides around `centre`, counter-clockwise, its first vertex at `phase`.
Contour regularPolygon(int n, double radius, Point2d centre = {}, double phase = 0.0) {
    std::vector<Point2d> points;
    for (int i = 0; i < n; ++i) {
        const double a = phase + 2 * kPi * i / n;
        points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    return MakePolygon(points);
}

Contour moved(Contour c, double dx, double dy) {
    MoveContour(c, dx, dy);
    return c;
}

TEST(RelateBoxes, TableOfCases) {
    struct Case {
        const char* label;
        BoundingBox a, b;
        ContourRelation expected;
    };
    const Case cases[] = {
        {"equal", {0, 0, 10, 10}, {0, 0, 10, 10}, ContourRelation::Identical},
        {"inside on the left side", {0, 0, 10, 10}, {0, 2, 5, 8}, ContourRelation::ContainsTouching},
        {"inside on the left side, exchanged", {0, 2, 5, 8}, {0, 0, 10, 10}, ContourRelation::InsideTouching},
        {"strictly inside", {0, 0, 10, 10}, {2, 2, 5, 5}, ContourRelation::Contains},
        {"strictly inside, exchanged", {2, 2, 5, 5}, {0, 0, 10, 10}, ContourRelation::Inside},
        {"sharing the line x = 5", {0, 0, 5, 5}, {5, 0, 9, 5}, ContourRelation::Crossing},
        {"overlapping", {0, 0, 5, 5}, {3, 3, 9, 9}, ContourRelation::Crossing},
        {"apart in x", {0, 0, 5, 5}, {5.001, 0, 9, 5}, ContourRelation::Disjoint},
        {"apart in y", {0, 6, 5, 9}, {0, 0, 5, 5}, ContourRelation::Disjoint},
    };
    for (const Case& c : cases) EXPECT_EQ(RelateBoxes(c.a, c.b), c.expected) << c.label;
}

TEST(LocatePointInContour, TableOfCases) {
    const Contour square = MakeRectangle(10, 10);
    const Contour clockwise = ReverseContour(square);
    const Contour slot = MakeArcSlot(10, 4);  // round ends about (0, 0) and (10, 0), radius 2
    const Contour circle = MakeCircle(5, {1, 1});
    struct Case {
        const char* label;
        const Contour& contour;
        Point2d p;
        PointLocation expected;
    };
    const Case cases[] = {
        {"square centre", square, {5, 5}, PointLocation::Inside},
        {"square vertex", square, {10, 10}, PointLocation::OnBoundary},
        {"square vertex within 1e-4", square, {9.99995, 9.99995}, PointLocation::OnBoundary},
        {"just outside a vertex, no ray near it", square, {10.00005, 9.99995}, PointLocation::Outside},
        {"0.01 beyond a corner", square, {10.01, 10.01}, PointLocation::Outside},
        {"far away", square, {-50, 3}, PointLocation::Outside},
        {"clockwise square centre", clockwise, {5, 5}, PointLocation::Inside},
        {"clockwise square vertex", clockwise, {0, 10}, PointLocation::OnBoundary},
        {"slot middle", slot, {5, 0}, PointLocation::Inside},
        {"slot round end", slot, {-1.9, 0}, PointLocation::Inside},
        {"beside the round end", slot, {-1.9, 1.9}, PointLocation::Outside},
        {"slot joint of line and arc", slot, {0, 2}, PointLocation::OnBoundary},
        {"circle centre", circle, {1, 1}, PointLocation::Inside},
        {"on the circle counts as outside", circle, {6, 1}, PointLocation::Outside},
    };
    for (const Case& c : cases) EXPECT_EQ(LocatePointInContour(c.p, c.contour), c.expected) << c.label;
}

TEST(LocatePointInContour, StopsAfterOneTurnWhenEveryRayHitsAnEnd) {
    // Every element ends within 1e-4 of the point, so every ray is dropped: the search gives up after one full
    // turn of ray angles and takes the point as lying on the contour.
    const Contour tiny = MakeRectangle(4e-5, 4e-5, {-2e-5, -2e-5});
    EXPECT_EQ(LocatePointInContour({1e-5, 0}, tiny), PointLocation::OnBoundary);
}

TEST(RelateContours, TwoCircles) {
    struct Case {
        const char* label;
        Contour a, b;
        ContourRelation expected;
    };
    const Case cases[] = {
        {"small inside large, one centre", MakeCircle(1), MakeCircle(2), ContourRelation::Inside},
        {"large around small, one centre", MakeCircle(2), MakeCircle(1), ContourRelation::Contains},
        {"inside, touching", MakeCircle(2), MakeCircle(1, {1, 0}), ContourRelation::ContainsTouching},
        {"inside, touching, exchanged", MakeCircle(1, {1, 0}), MakeCircle(2), ContourRelation::InsideTouching},
        {"equal", MakeCircle(3, {1, 1}), MakeCircle(3, {1, 1}), ContourRelation::Identical},
        {"touching from outside", MakeCircle(1), MakeCircle(1, {2, 0}), ContourRelation::TouchingOutside},
        {"crossing", MakeCircle(1), MakeCircle(1, {1, 0}), ContourRelation::Crossing},
        {"apart", MakeCircle(1), MakeCircle(1, {3, 0}), ContourRelation::Disjoint},
    };
    for (const Case& c : cases) EXPECT_EQ(RelateContours(c.a, c.b), c.expected) << c.label;
}

TEST(RelateContours, ChainsArcsAndCircles) {
    const Contour square = MakeRectangle(10, 10);
    struct Case {
        const char* label;
        Contour a, b;
        ContourRelation expected;
    };
    const Case cases[] = {
        {"squares sharing a whole edge", square, MakeRectangle(10, 10, {10, 0}), ContourRelation::Crossing},
        {"square inside square", MakeRectangle(2, 2, {4, 4}), square, ContourRelation::Inside},
        {"square around square", square, MakeRectangle(2, 2, {4, 4}), ContourRelation::Contains},
        {"squares apart", square, MakeRectangle(10, 10, {30, 0}), ContourRelation::Disjoint},
        {"squares overlapping", square, MakeRectangle(10, 10, {5, 5}), ContourRelation::Crossing},
        {"circle inside square", MakeCircle(2, {5, 5}), square, ContourRelation::Inside},
        {"square around circle", square, MakeCircle(2, {5, 5}), ContourRelation::Contains},
        {"circle across a side", MakeCircle(2, {10, 5}), square, ContourRelation::Crossing},
        {"square side tangent to a circle", square, MakeCircle(2, {5, 12}), ContourRelation::Tangent},
        {"circle tangent to a square side", MakeCircle(2, {5, 12}), square, ContourRelation::Tangent},
        {"slots crossing", MakeArcSlot(10, 4), moved(MakeArcSlot(10, 4), 5, 1), ContourRelation::Crossing},
        {"slot inside square", moved(MakeArcSlot(4, 2), 3, 5), square, ContourRelation::Inside},
        {"slot arcs meeting at one point", MakeArcSlot(4, 2), moved(MakeArcSlot(4, 2), 7, 0),
         ContourRelation::Disjoint},
        {"slot arc touching a square side", moved(MakeArcSlot(4, 2), 11, 5), square, ContourRelation::Disjoint},
        {"square side touching a slot arc", square, moved(MakeArcSlot(4, 2), 11, 5), ContourRelation::Crossing},
        {"slot side lying on a square side", moved(MakeArcSlot(4, 2), 3, 11), square, ContourRelation::Crossing},
        {"circle crossing a slot arc", MakeCircle(1, {-1, 0}), MakeArcSlot(10, 4), ContourRelation::Crossing},
        {"slot around a circle", MakeArcSlot(10, 4), MakeCircle(1, {5, 0}), ContourRelation::Contains},
    };
    for (const Case& c : cases) EXPECT_EQ(RelateContours(c.a, c.b), c.expected) << c.label;
    EXPECT_EQ(RelateContours(square, square), ContourRelation::Disjoint);  // the same record
    EXPECT_EQ(RelateContours(square, Contour{}), ContourRelation::Disjoint);
}

TEST(RelateContours, ParallelScanGivesTheSerialAnswer) {
    // Large polygons whose boundaries meet at many pairs, with crossings and a tangency in different orders.
    const Contour big = regularPolygon(400, 10);
    struct Case {
        const char* label;
        Contour a, b;
    };
    const Case cases[] = {
        {"crossing polygons", big, regularPolygon(300, 10, {5, 0})},
        {"polygon inside polygon", regularPolygon(300, 5, {1, 0}), big},
        {"polygon around polygon", big, regularPolygon(300, 5, {1, 0})},
        {"polygons apart", big, regularPolygon(300, 5, {40, 0})},
        {"polygon vertex on a circle", big, MakeCircle(1, {10 + 1, 0})},
        {"circle against polygon", MakeCircle(3, {9, 0}), big},
    };
    for (const Case& c : cases) {
        const int serial = ScanElementPairs(c.a, c.b, ScanThreading::Serial);
        EXPECT_EQ(ScanElementPairs(c.a, c.b, ScanThreading::Parallel), serial) << c.label;
        EXPECT_EQ(ScanElementPairs(c.a, c.b, ScanThreading::Automatic), serial) << c.label;
        EXPECT_EQ(RelateContours(c.a, c.b, ScanThreading::Parallel), RelateContours(c.a, c.b, ScanThreading::Serial))
            << c.label;
    }
    EXPECT_EQ(RelateContours(big, regularPolygon(300, 5, {1, 0}), ScanThreading::Parallel),
              ContourRelation::Contains);
}

TEST(RelateContours, TheAutomaticScanOfContoursOfAFewThousandElementsRunsSerially) {
    // A thread team costs more than the whole serial scan of contours of up to some thousands of elements each on
    // a busy machine: the automatic scan forks only beyond that, and never inside a parallel region.
    const Contour a256 = regularPolygon(256, 10), b256 = regularPolygon(256, 5, {1, 0});
    const Contour a2048 = regularPolygon(2048, 10), b2048 = regularPolygon(2048, 5, {1, 0});
    EXPECT_FALSE(AutomaticScanForks(a256, b256));
    EXPECT_FALSE(AutomaticScanForks(a2048, b2048));
    const Contour a4096 = regularPolygon(4096, 10), b4096 = regularPolygon(4096, 5, {1, 0});
    if (omp_get_max_threads() > 1) {
        EXPECT_TRUE(AutomaticScanForks(a4096, b4096));
    }
    bool inside = true;
#pragma omp parallel num_threads(2)
    {
#pragma omp single
        inside = AutomaticScanForks(a4096, b4096);
    }
    EXPECT_FALSE(inside);
}

TEST(RelateContours, TheFirstPairInOrderDecidesBetweenCrossingAndTangent) {
    // The first side of the square is tangent to the circle on its bottom, a later one crosses the other circle;
    // the polygon-circle contour B holds both circles as elements of one chain.
    Contour b;
    b.GeometryKind = kGeometryChain;
    b.Elements = {MakeCircle(1, {5, -1}).Elements[0], MakeCircle(1, {10, 5}).Elements[0]};
    const Contour square = MakeRectangle(10, 10);
    for (ScanThreading threading : {ScanThreading::Serial, ScanThreading::Parallel}) {
        EXPECT_EQ(ScanElementPairs(square, b, threading), static_cast<int>(ContourRelation::Tangent));
        EXPECT_EQ(ScanElementPairs(ReverseContour(square), b, threading),
                  static_cast<int>(ContourRelation::Crossing));
    }
}

}  // namespace

namespace {

TEST(RelateContours, CallsFromAParallelLoopGiveTheSerialAnswers) {
    // The pair evaluation of the placement relates contours from several threads at once; each call's scan then
    // runs on its own thread. Every answer must be the one a single thread gives.
    std::vector<Contour> shapes;
    for (int i = 0; i < 12; ++i) {
        shapes.push_back(regularPolygon(8 + 40 * (i % 3), 4 + i % 4, {i * 1.5, (i % 5) * 1.0}, 0.05 * i));
    }
    shapes.push_back(MakeCircle(2, {3, 3}));
    shapes.push_back(MakeArcSlot(10, 4, {1, 2}));
    const int n = static_cast<int>(shapes.size());
    std::vector<ContourRelation> expected(static_cast<std::size_t>(n * n)), found(expected.size());
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            expected[static_cast<std::size_t>(i * n + j)] = RelateContours(shapes[i], shapes[j], ScanThreading::Serial);
        }
    }
#pragma omp parallel for schedule(dynamic)
    for (int k = 0; k < n * n; ++k) {
        found[static_cast<std::size_t>(k)] = RelateContours(shapes[k / n], shapes[k % n]);
    }
    EXPECT_EQ(found, expected);
}

}  // namespace
