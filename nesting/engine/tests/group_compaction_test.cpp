// Compaction of a group against the part that stops it: nothing changes against the sheet or a cut-out, and a
// compaction that reports a gain never moves the group back and never leaves it on a placed part.
#include <gtest/gtest.h>

#include "nesting/engine/group_compaction.h"
#include "nesting/engine/tests/layout_check.h"
#include "nesting/engine/tests/placement_job.h"

namespace {

using namespace nesting_engine_testing;

class GroupCompaction : public PlacementJob {
protected:
    // Part 0 is the group's member; part 1 (an L lying on its back) is placed on the sheet.
    void SetUp() override {
        PlacementJob::SetUp();
        NewEngine();
        AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
        AddPartType(engine, MakeRectangleType(kKindPart, 60, 40), 1);
        AddPartType(engine, MakeType(kKindPart, MakePolygon({{0, 0}, {120, 0}, {120, 30}, {30, 30}, {30, 90}, {0, 90}})), 1);
        ASSERT_TRUE(AddInstances(engine));
        OrderAsAdded();  // parts 0 and 1
        StartPass();
        engine.LoadGroupTemplate(0, 1);
        engine.StockTypes[0].Holes[0].push_back(MakeRectangle(50, 300, {500, 100}));
    }

    bool GroupMeetsThePlacedPart() {
        return layout_check::Overlap(layout_check::Outline(Part(0).TrialPose->Outers[0]),
                                     layout_check::Outline(Part(1).TrialPose->Outers[0]));
    }
};

TEST_F(GroupCompaction, NothingChangesAgainstTheSheetOrACutOut) {
    struct Case {
        const char* what;
        double x;
        double y;
    };
    const Case cases[] = {
        {"at the sheet's left side", 30.05, 250},
        {"right of the cut-out", 580.05, 250},
    };
    for (const Case& c : cases) {
        for (int down = 0; down < 2; ++down) {
            const double x = down ? 250 : c.x;
            const double y = down ? (c.x < 100 ? 20.05 : 420.05) : c.y;  // on the bottom side, or on the cut-out
            engine.SetGroupPose(0, {x, y}, 0.0);
            const int r = down ? CompactGroupDown(engine, 0) : CompactGroupLeft(engine, 0);
            EXPECT_EQ(r, kCompactionUnchanged) << c.what << (down ? " (down)" : " (left)");
            EXPECT_EQ(Group().X, x) << c.what;
            EXPECT_EQ(Group().Y, y) << c.what;
        }
    }
}

// Against a placed L the compaction may push or turn it; whatever it reports, the group never ends farther
// right (left compaction) or higher (down compaction), never on the L, and an unchanged answer leaves both
// where they were.
TEST_F(GroupCompaction, AGainNeverMovesTheGroupBackOrOntoTheBlockingPart) {
    struct Case {
        double lx, ly, gx, gy;
        bool down;
    };
    const Case cases[] = {
        {200, 100, 360, 160, false}, {200, 100, 360, 125, false}, {200, 100, 260, 215, true},
        {200, 100, 300, 160, true},  {100, 300, 260, 320, false}, {100, 300, 130, 420, true},
    };
    for (const Case& c : cases) {
        PlaceAt(1, c.lx, c.ly);
        engine.SetGroupPose(0, {c.gx, c.gy}, 0.0);
        ASSERT_FALSE(GroupMeetsThePlacedPart());
        const BoundingBox before = Group().Box;
        const PartPose blocker = *Part(1).CommittedPose;
        const int r = c.down ? CompactGroupDown(engine, 0) : CompactGroupLeft(engine, 0);
        SCOPED_TRACE(testing::Message() << "group at " << c.gx << ", " << c.gy << (c.down ? " down" : " left"));
        if (r == kCompactionUnchanged) {
            EXPECT_EQ(Group().X, c.gx);
            EXPECT_EQ(Group().Y, c.gy);
            EXPECT_EQ(Part(1).CommittedPose->X, blocker.X);
            EXPECT_EQ(Part(1).CommittedPose->Y, blocker.Y);
            EXPECT_EQ(Part(1).CommittedPose->Angle, blocker.Angle);
        } else if (c.down) {
            EXPECT_LE(Group().Box.maxY, before.maxY);
        } else {
            EXPECT_LE(Group().Box.maxX, before.maxX);
        }
        EXPECT_FALSE(GroupMeetsThePlacedPart());
        EXPECT_EQ(layout_check::CheckLayout(engine), "");
        // The next case starts from a fresh sheet.
        engine.PlacedPartCount = 0;
        Part(1).Stock = -1;
        Part(1).Placed = 0;
        Part(1).TrialPose->Valid = 0;
        Part(1).CommittedPose->Valid = 0;
    }
}

}  // namespace
