// Counting pairs of finished contours that meet: which records take part, and records whose entity is gone.
#include "laser/contours/contour_pair_intersections.h"

#include <gtest/gtest.h>

#include "laser/contours/tests/contour_stage_fixture.h"

namespace {

using host::db::ObjectId;

class ContourPairIntersections : public contour_testing::DrawingTest {
protected:
    // A closed square polyline from (x, y) with side `side`, and its record.
    ObjectId Square(double x, double y, double side, ContourKind kind) {
        auto pl = std::make_unique<host::db::LwPolyline>();
        pl->addVertexAt(0, {x, y});
        pl->addVertexAt(1, {x + side, y});
        pl->addVertexAt(2, {x + side, y + side});
        pl->addVertexAt(3, {x, y + side});
        pl->setClosed(true);
        const ObjectId id = Add(std::move(pl));
        ContourRecord r;
        r.kind = kind;
        r.shape = kShapePolyline;
        r.handle = id.handle().value;
        r.minX = x, r.minY = y, r.maxX = x + side, r.maxY = y + side;
        job.contours.push_back(r);
        job.contourCount = static_cast<int>(job.contours.size());
        return id;
    }
    CuttingJob job;
};

TEST_F(ContourPairIntersections, CountsMeetingPairsOfCutContoursOnly) {
    Square(0, 0, 10, ContourKind::KindBase);
    Square(5, 5, 10, ContourKind::KindBase);        // crosses the first
    Square(10, -10, 10, ContourKind::NoLeadIn);     // touches the first at one corner
    Square(2, 2, 2, ContourKind::KindBase);         // inside the first, meets nothing
    Square(-5, 5, 10, ContourKind::EngraveLine);    // crosses the first, but engravings take no part
    EXPECT_EQ(CheckContourPairIntersections(kContourPairCountMode, job), 2);
    EXPECT_EQ(CheckContourPairIntersections(0, job), 0) << "only the counting mode counts";
}

TEST_F(ContourPairIntersections, AContourWhoseEntityIsGoneIsLeftOut) {
    const ObjectId first = Square(0, 0, 10, ContourKind::KindBase);
    Square(5, 5, 10, ContourKind::KindBase);
    {
        host::db::ObjectPtr<host::db::Entity> e(first, host::db::OpenMode::Write);
        e->erase();
    }
    EXPECT_EQ(CheckContourPairIntersections(kContourPairCountMode, job), 0);
}

}  // namespace
