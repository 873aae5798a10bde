// The indexed choice of the next contour against a plain scan of the listed candidates, contour for contour, over the
// table of a sheet of 2,000 parts cut one after another: plates with holes and a slot, rectangles, L-shapes,
// flanges, plates with many holes and parts lying in the hole of another, from the tool's point and from points
// between the parts where contours lie equally far.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "cadlib/entity_access.h"
#include "laser/contours/contour_records.h"
#include "laser/path/next_contour.h"
#include "laser/path/tests/contour_lookup_fixture.h"

namespace {

using host::ge::Point3d;

constexpr int kSheetParts = 2000, kPartsAcross = 50;
constexpr double kCellWidth = 110.0, kCellHeight = 70.0;

class IndexedChoice : public path_testing::ContourLookupTest {
protected:
    void SetUp() override {
        ContourLookupTest::SetUp();
        savedCorner_ = settings().UnloadZahodType;
    }
    void TearDown() override {
        settings().UnloadZahodType = savedCorner_;
        ContourLookupTest::TearDown();
    }

public:
    // The sheet's table as contour creation makes it: each entity a record with its box, holes and what lies in a
    // hole enclosed by the contour around them, outlines at the top level; the stock record last.
    void DrawSheet() {
        table_.clear();
        for (int k = 0; k < kSheetParts; ++k) {
            const double x = (k % kPartsAcross) * kCellWidth, y = (k / kPartsAcross) * kCellHeight;
            if (k % 97 == 13) {
                // A plate with twenty holes: its leaves are more than a short list.
                const int plate = Record(Rectangle(x, y, x + 100, y + 60), kShapePolyline, kNoContour);
                for (int i = 0; i < 5; ++i) {
                    for (int j = 0; j < 4; ++j) Record(Circle({x + 10 + 20 * i, y + 10 + 13 * j}, 3), kShapeCircle, plate);
                }
                continue;
            }
            if (k % 89 == 7) {
                // A frame whose opening holds a part with a hole.
                const int frame = Record(Rectangle(x, y, x + 100, y + 60), kShapePolyline, kNoContour);
                const int opening = Record(Rectangle(x + 10, y + 5, x + 90, y + 55), kShapePolyline, frame);
                const int part = Record(Rectangle(x + 20, y + 15, x + 80, y + 45), kShapePolyline, opening);
                Record(Circle({x + 50, y + 30}, 5), kShapeCircle, part);
                continue;
            }
            switch (k % 4) {
                case 0: {
                    const double corner = std::tan(std::numbers::pi / 8);
                    const int plate = Record(
                        Polyline({{x, y}, {x + 100, y}, {x + 100, y + 50, corner}, {x + 90, y + 60}, {x, y + 60}}, true),
                        kShapePolyline, kNoContour);
                    Record(Circle({x + 20, y + 20}, 8), kShapeCircle, plate);
                    Record(Circle({x + 20, y + 42}, 6), kShapeCircle, plate);
                    Record(Polyline({{x + 45, y + 25}, {x + 75, y + 25, 1.0}, {x + 75, y + 35}, {x + 45, y + 35, 1.0}},
                                    true),
                           kShapePolyline, plate);
                    break;
                }
                case 1: Record(Rectangle(x, y, x + 100, y + 60), kShapePolyline, kNoContour); break;
                case 2: {
                    const int ell = Record(
                        Polyline({{x, y}, {x + 100, y}, {x + 100, y + 25}, {x + 30, y + 25}, {x + 30, y + 60}, {x, y + 60}},
                                 true),
                        kShapePolyline, kNoContour);
                    Record(Circle({x + 15, y + 12}, 6), kShapeCircle, ell);
                    break;
                }
                default: {
                    const int flange = Record(Circle({x + 50, y + 30}, 29), kShapeCircle, kNoContour);
                    Record(Circle({x + 50, y + 30}, 10), kShapeCircle, flange);
                    for (int b = 0; b < 3; ++b) {
                        const double a = 2.0 * std::numbers::pi * b / 3.0;
                        Record(Circle({x + 50 + 20 * std::cos(a), y + 30 + 20 * std::sin(a)}, 3), kShapeCircle, flange);
                    }
                    break;
                }
            }
        }
        Job().contours = table_;
        Job().contours.push_back(EmptyStockRecord());
        Job().contourCount = static_cast<int>(table_.size());
        KeepGeometry();
    }

    // The reference: every listed contour's aim, looked at in the order of the list; the first of the nearest wins.
    int PlainScan(const Point3d& current, const std::vector<int>& list, int corner, Point3d& target) {
        double best = 1e99;
        int winner = kNoContour;
        const CuttingJob& job = Job();
        for (const int i : list) {
            const ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
            if (r.processed != 0 || r.kind == ContourKind::KindJumperPoint) continue;
            const Point3d aim = AimOf(r, i, current, corner);
            if (const double d = current.distanceTo(aim); d < best) {
                best = d;
                winner = i;
                target = aim;
            }
        }
        return winner;
    }

    // Cuts the sheet as the order does without zones: the leaves of the part of the contour cut last, else the
    // candidates of the sheet; every choice made both ways, for `turns` turns (0: until every contour is cut).
    // Every `probeEvery` turns the sheet's candidates and leaves are also chosen from points between two parts.
    void CutSheetBothWays(int corner, int probeEvery, int turnsWanted = 0) {
        settings().UnloadZahodType = static_cast<std::int8_t>(corner);
        for (int i = 0; i < Job().contourCount; ++i) Rec(i).processed = 0;
        const NextContourSearch search(Job(), settings());
        std::vector<int> list;
        Point3d current(-7.0, -7.0, 0.0);
        int last = kNoContour, turns = 0;
        for (; turns <= 2 * Job().contourCount + 2 && (turnsWanted == 0 || turns < turnsWanted); ++turns) {
            Point3d indexedTarget, plainTarget;
            NextContourSearch::Choice choice;
            int listed = 0;
            if (last != kNoContour) {
                choice = search.NearestLeaf(current, Rec(last).parentHandle, indexedTarget);
                listed = search.CollectPartLeaves(list, Rec(last).parentHandle);
            } else {
                choice = search.NearestCandidate(current, kPhaseCutting, indexedTarget);
                listed = search.CollectCutCandidates(list, kPhaseCutting);
            }
            const int plain = listed != 0 ? PlainScan(current, list, corner, plainTarget) : kNoContour;
            ASSERT_EQ(choice.listed, listed != 0) << "turn " << turns;
            ASSERT_EQ(choice.contour, plain) << "turn " << turns << " from " << current.x << "," << current.y;
            if (plain != kNoContour) {
                ASSERT_EQ(indexedTarget, plainTarget) << "turn " << turns;
            }
            if (probeEvery > 0 && turns % probeEvery == 0) ProbeBetweenParts(search, turns, corner);
            if (HasFatalFailure()) return;
            if (plain == kNoContour) {
                if (last == kNoContour) break;
                last = kNoContour;   // nothing left in the part: the sheet's candidates
                continue;
            }
            Rec(plain).processed = 1;
            current = plainTarget;
            last = plain;
        }
        if (turnsWanted != 0) return;
        for (int i = 0; i < Job().contourCount; ++i) {
            EXPECT_NE(Rec(i).processed, 0) << "contour " << i << " was never chosen";
        }
    }

private:
    // A part contour for `entity` inside record `enclosing` (kNoContour: at the top level); answers its index.
    int Record(host::db::ObjectId entity, std::uint8_t shape, int enclosing) {
        ContourRecord r;
        r.handle = entity.handle().value;
        r.shape = shape;
        r.kind = ContourKind::KindBase;
        r.role = kRolePart;
        r.placement = enclosing == kNoContour ? kPlacementOuter : kPlacementInner;
        r.parentHandle = enclosing == kNoContour ? 0 : table_[static_cast<std::size_t>(enclosing)].handle;
        const auto box = Open<host::db::Entity>(entity)->geomExtents();
        EXPECT_TRUE(box);
        if (box) {
            r.minX = box->min.x;
            r.minY = box->min.y;
            r.maxX = box->max.x;
            r.maxY = box->max.y;
        }
        table_.push_back(r);
        return static_cast<int>(table_.size()) - 1;
    }

    // What a contour's aim is computed from: a circle's centre and radius, a polyline's entry vertices.
    struct Geometry {
        Point3d centre;
        double radius = 0.0;
        std::vector<Point3d> vertices;
    };

    void KeepGeometry() {
        geometry_.assign(static_cast<std::size_t>(Job().contourCount), {});
        for (int i = 0; i < Job().contourCount; ++i) {
            const ContourRecord& r = Rec(i);
            Geometry& g = geometry_[static_cast<std::size_t>(i)];
            const host::db::ObjectId id = IdOfHandle(r.handle);
            if (r.shape == kShapeCircle) {
                auto circle = Open<host::db::Circle>(id);
                ASSERT_TRUE(circle);
                g.centre = circle->center();
                g.radius = circle->radius();
            } else if (r.shape == kShapePolyline) {
                auto pl = Open<host::db::LwPolyline>(id);
                ASSERT_TRUE(pl);
                const unsigned n = pl->numVerts();
                for (unsigned v = 0; v < n; ++v) {
                    if (!pl->isClosed() && v != 0 && v + 1 != n) continue;
                    Point3d p;
                    pl->getPointAt(v, p);
                    g.vertices.push_back(p);
                }
            }
        }
    }

    Point3d AimOf(const ContourRecord& r, int i, const Point3d& current, int corner) const {
        static constexpr double kCornerDegrees[5] = {0.0, 225.0, 135.0, 45.0, 315.0};
        const Geometry& g = geometry_[static_cast<std::size_t>(i)];
        if (r.shape == kShapeCircle) {
            const Point3d& c = g.centre;
            const double angle = corner == 0 ? std::atan2(current.y - c.y, current.x - c.x)
                                             : kCornerDegrees[corner] * std::numbers::pi / 180.0;
            return Point3d(c.x + g.radius * std::cos(angle), c.y + g.radius * std::sin(angle), c.z);
        }
        const Point3d from = corner == 0 ? current : BoxCorner(r, corner);
        std::size_t nearest = 0;
        for (std::size_t v = 1; v < g.vertices.size(); ++v) {
            if (from.distanceTo(g.vertices[v]) < from.distanceTo(g.vertices[nearest])) nearest = v;
        }
        return g.vertices[nearest];
    }

    // From the middle of the gap between the part cut last's cell and the next one, and from the corner where four
    // cells meet: there the parts on either side lie equally far.
    void ProbeBetweenParts(const NextContourSearch& search, int turn, int corner) {
        const int cell = (turn / 3) % kSheetParts;
        const double x = (cell % kPartsAcross) * kCellWidth, y = (cell / kPartsAcross) * kCellHeight;
        std::vector<int> list;
        for (const Point3d& p : {Point3d(x + 105, y + 30, 0), Point3d(x + 105, y + 65, 0), Point3d(x + 50, y + 65, 0)}) {
            Point3d indexedTarget, plainTarget;
            const NextContourSearch::Choice leaf = search.NearestLeaf(p, 0, indexedTarget);
            const int leaves = search.CollectPartLeaves(list, 0);
            const int plainLeaf = leaves != 0 ? PlainScan(p, list, corner, plainTarget) : kNoContour;
            ASSERT_EQ(leaf.contour, plainLeaf) << "the sheet's leaves from " << p.x << "," << p.y;
            const NextContourSearch::Choice candidate = search.NearestCandidate(p, kPhaseCutting, indexedTarget);
            const int candidates = search.CollectCutCandidates(list, kPhaseCutting);
            const int plainCandidate = candidates != 0 ? PlainScan(p, list, corner, plainTarget) : kNoContour;
            ASSERT_EQ(candidate.contour, plainCandidate) << "the sheet's candidates from " << p.x << "," << p.y;
        }
    }

    std::vector<ContourRecord> table_;
    std::vector<Geometry> geometry_;
    std::int8_t savedCorner_ = 0;
};

TEST_F(IndexedChoice, ChoosesAsAPlainScanOfTheListContourForContour) {
    DrawSheet();
    if (HasFatalFailure()) return;
    CutSheetBothWays(0, 120);
    if (HasFatalFailure()) return;
    // With a start corner every contour aims at its own point: the one nearest the corner of its box.
    CutSheetBothWays(3, 0, 1000);
}

}  // namespace
