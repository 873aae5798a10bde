// The crossing scan: which pieces cross away from their ends, which of a pair is first, the order and the limit
// of the table, the parallel scan against the single-threaded one, and the creation-mode report.
#include "laser/contours/line_intersection_check.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <string>
#include <vector>

#include "cadlib/angles.h"
#include "host/ui/message_box.h"
#include "laser/contours/contour_entity_table.h"
#include "laser/contours/tests/contour_stage_fixture.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"

namespace {

using cadlib::kHalfPi;
using cadlib::kPi;
using contour_testing::StageOf;
using host::ge::Point3d;

ContourEntity L(Point3d a, Point3d b, ContourKind kind = ContourKind::KindBase) {
    ContourEntity e;
    e.type = kEntityLine;
    e.startPoint = a;
    e.endPoint = b;
    e.kind = kind;
    return e;
}

ContourEntity A(Point3d c, double r, double start, double end) {
    ContourEntity e;
    e.type = kEntityArc;
    e.center = c;
    e.radius = r;
    e.startAngle = start;
    e.endAngle = end;
    e.startPoint = Point3d(c.x + r * std::cos(start), c.y + r * std::sin(start));
    e.endPoint = Point3d(c.x + r * std::cos(end), c.y + r * std::sin(end));
    e.kind = ContourKind::KindBase;
    return e;
}

ContourEntity C(Point3d c, double r, ContourKind kind = ContourKind::KindBase) {
    ContourEntity e;
    e.type = kEntityCircle;
    e.center = c;
    e.radius = r;
    e.startPoint = e.endPoint = Point3d(c.x + r, c.y);
    e.kind = kind;
    return e;
}

double R(double v) { return std::round(v * 1e6) / 1e6; }

struct Found {
    std::uint32_t first, second;
    double x, y;
    bool operator==(const Found&) const = default;
};

// The pairs with their crossings rounded to 1e-6.
std::vector<Found> Scan(const ContourEntityStage& stage) {
    IntersectionPairTable table;
    ScanEntityCrossings(stage, table);
    std::vector<Found> out;
    for (const IntersectionPair& p : table.pairs) {
        out.push_back({p.firstIndex, p.secondIndex, R(p.crossingX), R(p.crossingY)});
    }
    return out;
}

TEST(CrossingScan, WhatCrossesAndWhichPieceIsFirst) {
    const double s = std::sqrt(0.5) * 10;  // where a line at y = s meets the circle of radius 10
    struct Case {
        const char* what;
        std::vector<ContourEntity> pieces;
        std::vector<Found> pairs;
    } cases[] = {
        {"two lines crossing inside: the later line is first",
         {L({0, 0}, {10, 10}), L({0, 10}, {10, 0})}, {{1, 0, 5, 5}}},
        {"lines meeting at a common end", {L({0, 0}, {10, 0}), L({10, 0}, {10, 10})}, {}},
        {"a T: one line ends inside the other", {L({0, 0}, {10, 0}), L({5, 0}, {5, 10})}, {}},
        {"collinear lines that overlap", {L({0, 0}, {10, 0}), L({5, 0}, {15, 0})}, {}},
        {"a line tangent to an arc away from its ends", {A({5, 5}, 5, kPi, 2 * kPi), L({0, 0}, {10, 0})},
         {{1, 0, 5, 0}}},
        {"a line cutting a circle twice: two pairs of the same pieces",
         {C({0, 0}, 10), L({-20, s}, {20, s})}, {{1, 0, R(s), R(s)}, {1, 0, R(-s), R(s)}}},
        {"two arcs: the earlier is first", {A({0, 0}, 10, 0, kPi), A({10, 0}, 10, kHalfPi, kPi + kHalfPi)},
         {{0, 1, 5, R(std::sqrt(75.0))}}},
        {"an arc before a circle, whatever the order",
         {C({0, 0}, 10), A({10, 0}, 10, kHalfPi, kPi + kHalfPi)},
         {{1, 0, 5, R(-std::sqrt(75.0))}, {1, 0, 5, R(std::sqrt(75.0))}}},
        {"two circles", {C({0, 0}, 10), C({20, 0}, 10.5)}, {{0, 1, 9.74375, R(std::sqrt(100 - 9.74375 * 9.74375))}, {0, 1, 9.74375, R(-std::sqrt(100 - 9.74375 * 9.74375))}}},
        {"a crossing 0.00009 from an end in x and y is that end",
         {L({0, 0}, {10, 0}), L({0.00009, -5}, {0.00009, 5})}, {}},
        {"a crossing 0.00011 from an end counts",
         {L({0, 0}, {10, 0}), L({0.00011, -5}, {0.00011, 5})}, {{1, 0, 0.00011, 0}}},
        {"boxes apart: no pair", {L({0, 0}, {10, 0}), C({50, 50}, 1)}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Scan(StageOf(c.pieces)), c.pairs) << c.what;
}

TEST(CrossingScan, OnlyCutKindsTakePart) {
    using K = ContourKind;
    const K outside[] = {K::NoCloseLine, K::EngraveLine,  K::CommonLine, K::MarkPoint,          K::HeatTreatmentLine,
                         K::InsideCutLine, K::KindLayer1, K::KindLayer9, K::EngraveAndMarkLine, K::MarkLine};
    for (K kind : outside) {
        EXPECT_TRUE(Scan(StageOf({L({0, 0}, {10, 10}), L({0, 10}, {10, 0}, kind)})).empty()) << int(kind);
    }
    const K inside[] = {K::KindBase, K::NoLeadIn, K::JumperLine, K::CutT2Line, K::KindUnset};
    for (K kind : inside) {
        EXPECT_EQ(Scan(StageOf({L({0, 0}, {10, 10}), L({0, 10}, {10, 0}, kind)})).size(), 1u) << int(kind);
    }
    ContourEntity point = L({0, 10}, {10, 0});
    point.type = kEntityPoint;
    EXPECT_TRUE(Scan(StageOf({L({0, 0}, {10, 10}), point})).empty());
}

// A grid of horizontal and vertical lines: n x n crossings, in a table of 2n pieces.
ContourEntityStage Grid(int n) {
    std::vector<ContourEntity> pieces;
    for (int k = 0; k < n; ++k) pieces.push_back(L({-1, k + 0.5}, {n + 1.0, k + 0.5}));
    for (int k = 0; k < n; ++k) pieces.push_back(L({k + 0.5, -1}, {k + 0.5, n + 1.0}));
    return StageOf(pieces);
}

TEST(CrossingScan, ThePairTableKeepsItsLimitWithTheFirstPairsInScanOrder) {
    host::ed::transcript().clear();
    const ContourEntityStage stage = Grid(30);  // 900 crossings
    IntersectionPairTable table;
    ScanEntityCrossings(stage, table);
    ASSERT_EQ(table.pairs.size(), kIntersectionPairCapacity);
    EXPECT_TRUE(table.overflowed);
    // Horizontal line 0 meets vertical lines 30, 31, ... first; the 800th pair is horizontal 26 with vertical 49.
    EXPECT_EQ(table.pairs[0].firstIndex, 30u);
    EXPECT_EQ(table.pairs[0].secondIndex, 0u);
    EXPECT_EQ(table.pairs[799].secondIndex, 26u);
    EXPECT_EQ(table.pairs[799].firstIndex, 49u);
    EXPECT_NE(host::ed::transcript().text().find("More than 800 intersections were found; the first 800 are listed."),
              std::string::npos);
}

TEST(CrossingScan, TheParallelScanGivesTheSinglePassOrderAndRestoresTheThreadSettings) {
    // 520 + 520 lines: 1040 pieces, above the threshold; crossings only where short vertical strokes cut the
    // horizontals, so the table stays below its limit.
    std::vector<ContourEntity> pieces;
    for (int k = 0; k < 520; ++k) pieces.push_back(L({0, k * 2.0}, {1000, k * 2.0}));
    for (int k = 0; k < 520; ++k) pieces.push_back(L({k + 0.5, k * 2.0 - 1}, {k + 0.5, k * 2.0 + 1}));
    const ContourEntityStage stage = StageOf(pieces);
    ASSERT_GE(stage.ContourEntityCount, kParallelScanThreshold);

    std::vector<IntersectionPair> single;
    for (int i = 0; i < stage.ContourEntityCount; ++i) {
        const ContourEntity& e = stage.ContourEntityTable[i];
        FindEntityCrossings(stage, i, std::min(e.startPoint.x, e.endPoint.x), std::min(e.startPoint.y, e.endPoint.y),
                            std::max(e.startPoint.x, e.endPoint.x), std::max(e.startPoint.y, e.endPoint.y), single,
                            kIntersectionPairCapacity);
    }
    ASSERT_EQ(single.size(), 520u);

    omp_set_dynamic(1);
    IntersectionPairTable table;
    ScanEntityCrossings(stage, table);
    EXPECT_EQ(omp_get_dynamic(), 1) << "the caller's thread settings are given back";
    omp_set_dynamic(0);
    ASSERT_EQ(table.pairs.size(), single.size());
    for (std::size_t k = 0; k < single.size(); ++k) {
        EXPECT_EQ(table.pairs[k].firstIndex, single[k].firstIndex) << k;
        EXPECT_EQ(table.pairs[k].secondIndex, single[k].secondIndex) << k;
    }
}

// Every piece against every later one, as the scan is defined; the scan itself may skip what cannot overlap.
std::vector<IntersectionPair> PairwiseScan(const ContourEntityStage& stage) {
    std::vector<IntersectionPair> out;
    for (int i = 0; i < stage.ContourEntityCount; ++i) {
        const ContourEntity& e = stage.ContourEntityTable[i];
        if (!TakesPartInCrossingScan(e)) continue;
        double minX = e.center.x - e.radius, minY = e.center.y - e.radius;
        double maxX = e.center.x + e.radius, maxY = e.center.y + e.radius;
        if (e.type == kEntityLine) {
            minX = std::min(e.startPoint.x, e.endPoint.x), minY = std::min(e.startPoint.y, e.endPoint.y);
            maxX = std::max(e.startPoint.x, e.endPoint.x), maxY = std::max(e.startPoint.y, e.endPoint.y);
        }
        FindEntityCrossings(stage, i, minX, minY, maxX, maxY, out, 1u << 20);
    }
    return out;
}

TEST(CrossingScan, SkippingFarPiecesFindsExactlyThePairwisePairsInTheirOrder) {
    // Seeded random pieces of every shape and size over a sheet, a line across the whole sheet, a piece of a kind
    // that takes no part, and both sizes of table (one thread and several).
    for (int pieces : {300, 1200}) {
        std::uint32_t seed = 12345u + static_cast<std::uint32_t>(pieces);
        auto next = [&seed](double lo, double hi) {
            seed = seed * 1664525u + 1013904223u;
            return lo + (hi - lo) * (seed >> 8) / double(1u << 24);
        };
        std::vector<ContourEntity> table = {L({-10, 250}, {1010, 250})};
        for (int k = 0; k < pieces; ++k) {
            const Point3d at(next(0, 1000), next(0, 500));
            switch (k % 4) {
                case 0: table.push_back(L(at, {at.x + next(-30, 30), at.y + next(-30, 30)})); break;
                case 1: table.push_back(A(at, next(1, 25), next(0, 6.28), next(0, 6.28))); break;
                case 2: table.push_back(C(at, next(0.5, 15))); break;
                default: table.push_back(L(at, {at.x + next(-5, 5), at.y}, ContourKind::EngraveLine)); break;
            }
        }
        const ContourEntityStage stage = StageOf(table);
        const std::vector<IntersectionPair> expected = PairwiseScan(stage);
        ASSERT_LE(expected.size(), kIntersectionPairCapacity) << "keep the sheet below the table's limit";
        ASSERT_GT(expected.size(), 20u);
        IntersectionPairTable found;
        ScanEntityCrossings(stage, found);
        ASSERT_EQ(found.pairs.size(), expected.size()) << pieces;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            EXPECT_EQ(found.pairs[k].firstIndex, expected[k].firstIndex) << k;
            EXPECT_EQ(found.pairs[k].secondIndex, expected[k].secondIndex) << k;
            EXPECT_EQ(found.pairs[k].crossingX, expected[k].crossingX) << k;
            EXPECT_EQ(found.pairs[k].crossingY, expected[k].crossingY) << k;
        }
    }
}

class LineIntersectionCheck : public contour_testing::DrawingTest {};

TEST_F(LineIntersectionCheck, CrossingLinesStopCreationWithTheErrorBoxAndTheCounts) {
    // The plate with a line drawn last straight through it.
    Line({10, 10}, {210, 10});
    Line({210, 10}, {210, 110});
    Line({210, 110}, {10, 110});
    Line({10, 110}, {10, 10});
    Line({110, 0}, {110, 120});
    BuildContourEntities(ContourEntities());
    host::ed::setInput(host::ed::ScriptInput::fromLines({"msgbox OK"}, "answers.scr"));

    EXPECT_EQ(CheckLineIntersectionsOnCreation(), 2);
    ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
    EXPECT_EQ(host::ui::messageBoxLog()[0].text,
              "\nERROR!!!\nTHE LINES INTERSECT! \nCONTOURS NOT CREATED!\n\nCorrect the intersections and repeat the "
              "contour creation command.\nTo speed up the correction of intersection lines, use the command - Check "
              "Intersect contours");
    EXPECT_EQ(host::ui::messageBoxLog()[0].style & host::ui::MB_ICONMASK, host::ui::MB_ICONERROR);
    EXPECT_NE(host::ed::transcript().text().find("Checked drawn objects = 5, intersections = 2  "), std::string::npos);
    EXPECT_EQ(host::ed::transcript().text().find("Intersected contours are not present."), std::string::npos);

    const IntersectionPairTable& table = IntersectionPairs();
    ASSERT_EQ(table.pairs.size(), 2u);
    EXPECT_EQ(table.drawingSerial, db().serial());
    // The crossing with the bottom edge comes first; the line through the plate is the first piece of both.
    EXPECT_EQ(table.pairs[0].firstIndex, 4u);
    EXPECT_EQ(table.pairs[0].crossingX, 110.0);
    EXPECT_EQ(table.pairs[0].crossingY, 10.0);
    EXPECT_EQ(table.pairs[0].nearestEndDistance, 10.0);
    EXPECT_EQ(table.pairs[1].crossingY, 110.0);
    EXPECT_EQ(table.pairs[0].firstName, ContourEntities().ContourEntityTable[4].entityName);
}

TEST_F(LineIntersectionCheck, WithoutCrossingsTheJobCountsAChange) {
    ASSERT_EQ(OnLoadDrawing(settings()), 0);
    DrawingSlot* slot = CurrentSlot(settings());
    ASSERT_NE(slot, nullptr);
    InitCuttingJob(settings());
    const int before = slot->changeCounter;
    Line({10, 10}, {210, 10});
    Line({210, 10}, {210, 110});
    BuildContourEntities(ContourEntities());

    EXPECT_EQ(CheckLineIntersectionsOnCreation(), 0);
    EXPECT_TRUE(host::ui::messageBoxLog().empty());
    const std::string text = host::ed::transcript().text();
    EXPECT_NE(text.find("Checked drawn objects = 2, intersections = 0  "), std::string::npos) << text;
    EXPECT_NE(text.find("\n\rIntersected contours are not present.\n\r"), std::string::npos) << text;
    EXPECT_EQ(slot->changeCounter, before + 1);
    OnUnloadDrawing(settings());
}

}  // namespace
