// Collision tests, slides and the placement of one part: against the sheet's edge, its cut-outs and placed parts,
// in holes of placed parts, under rectangular nesting, and the results PlacePart records.
#include <gtest/gtest.h>

#include "nesting/engine/group_slides.h"
#include "nesting/engine/nesting_run.h"
#include "nesting/engine/part_placement.h"
#include "nesting/engine/placement_collision.h"
#include "nesting/engine/tests/layout_check.h"
#include "nesting/engine/tests/placement_job.h"

namespace {

using namespace nesting_engine_testing;

class PartPlacement : public PlacementJob {
protected:
    // Tests instance 0 posed at (x, y, angle) both as a single part and as the member of group 0.
    void ExpectCollision(double x, double y, bool free, int blocker, const char* what) {
        engine.SetGroupPose(0, {x, y}, 0.0);
        int groupBlocker = 99;
        int member = 99;
        EXPECT_EQ(TestGroupCollision(engine, engine.StockInstances[0], groupBlocker, member), free) << what;
        EXPECT_EQ(groupBlocker, blocker) << what;
        if (blocker >= 0) {
            EXPECT_EQ(member, 0) << what;
        }
        ApplyPartPose(Part(0), 0, {x, y}, 0.0);
        int partBlocker = 99;
        EXPECT_EQ(TestPartCollision(engine, engine.StockInstances[0], 0, partBlocker), free) << what;
        EXPECT_EQ(partBlocker, blocker) << what;
    }
};

// The independent check that every layout test relies on finds what it is meant to find.
TEST_F(PartPlacement, TheLayoutCheckFindsOverlapsAndPartsOffTheSheet) {
    struct Case {
        const char* what;
        double x1, y1, x2, y2;
        bool fault;
    };
    const Case cases[] = {
        {"apart", 100, 100, 300, 100, false},
        {"overlapping", 100, 100, 150, 120, true},
        {"one on the other", 100, 100, 100, 100, true},
        {"off the sheet", 20, 100, 300, 100, true},
        {"in the cut-out", 100, 100, 750, 350, true},
    };
    for (const Case& c : cases) {
        NewEngine();
        MakeJob(MakeType(kKindPart, MakePolygon({{-50, -25}, {50, -25}, {50, 25}, {0, 0}, {-50, 25}})), 2,
                kRotateFull);
        engine.StockTypes[0].Holes[0].push_back(MakeRectangle(100, 100, {700, 300}));
        PlaceAt(0, c.x1, c.y1);
        PlaceAt(1, c.x2, c.y2);
        EXPECT_EQ(!layout_check::CheckLayout(engine).empty(), c.fault) << c.what;
    }
}

TEST_F(PartPlacement, CollisionWithTheSheetItsCutOutsAndPlacedParts) {
    MakeJob(MakeRectangleType(kKindPart, 100, 50), 2, kRotateFull);
    engine.StockTypes[0].Holes[0].push_back(MakeRectangle(100, 100, {700, 300}));
    PlaceAt(1, 300, 200);  // box 250..350 x 175..225
    struct Case {
        const char* what;
        double x;
        double y;
        bool free;
        int blocker;
    };
    const Case cases[] = {
        {"far from everything", 100, 100, true, kNoBlocker},
        {"0.2 left of the placed part", 199.8, 200, true, kNoBlocker},
        {"touching the placed part", 200, 200, false, 1},
        {"overlapping the placed part", 260, 210, false, 1},
        {"touching the sheet's left side", 50, 100, false, kSheetBlocker},
        {"beyond the sheet's left side", 20, 100, false, kSheetBlocker},
        {"inside the cut-out", 750, 350, false, kSheetBlocker},
        {"across the cut-out's side", 690, 320, false, kSheetBlocker},
        {"touching the cut-out", 650, 350, false, kSheetBlocker},
    };
    for (const Case& c : cases) {
        ExpectCollision(c.x, c.y, c.free, c.blocker, c.what);
    }

    // With the usable area checked, its right side counts as the sheet's.
    engine.UsableAreaCheck = 1;
    engine.UsableArea.maxX = 600;
    ExpectCollision(560, 100, false, kSheetBlocker, "beyond the usable area's right side");
    ExpectCollision(540, 100, true, kNoBlocker, "inside the usable area");
}

// A part drawn with several outlines is all of them: two 50 x 30 plates side by side, and a 200 x 150 frame whose
// 50 x 30 inner part (listed first, as a drawing may list it) lies in its window.
TEST_F(PartPlacement, EveryOutlineOfAPartCollides) {
    PartType twins = MakeType(kKindPart, MakeRectangle(50, 30, {-55, -15}));
    AddOuter(twins, MakeRectangle(50, 30, {5, -15}));
    PartType frame = MakeType(kKindPart, MakeRectangle(50, 30, {-25, -15}));
    AddOuter(frame, MakeRectangle(200, 150, {-100, -75}));
    AddHole(frame, MakeRectangle(120, 80, {-60, -40}));
    struct Case {
        const char* what;
        const PartType* type;
        double x, y, angle;
        bool free;
    };
    const Case cases[] = {
        {"twins: the left plate on the placed right one", &twins, 360, 200, 0, false},
        {"twins: the right plate on the placed left one", &twins, 240, 200, 0, false},
        {"twins: turned half a turn in the same place", &twins, 300, 200, std::numbers::pi, false},
        {"twins: clear above", &twins, 300, 240, 0, true},
        {"frames: the frames overlap, the inner parts apart", &frame, 400, 200, 0, false},
        {"frames: side by side", &frame, 505, 200, 0, true},
    };
    for (const Case& c : cases) {
        NewEngine();
        MakeJob(*c.type, 2, kRotateFull);
        PlaceAt(1, 300, 200);
        engine.SetGroupPose(0, {c.x, c.y}, c.angle);
        int blocker = 99;
        int member = 99;
        EXPECT_EQ(TestGroupCollision(engine, engine.StockInstances[0], blocker, member), c.free) << c.what;
        EXPECT_EQ(blocker, c.free ? kNoBlocker : 1) << c.what;
        ApplyPartPose(Part(0), 0, {c.x, c.y}, c.angle);
        EXPECT_EQ(TestPartCollision(engine, engine.StockInstances[0], 0, blocker), c.free) << c.what;
    }
}

TEST_F(PartPlacement, RectangularNestingCollidesOnBoxesThatMeet) {
    // Two triangles whose boxes overlap while their outlines stay apart.
    PartType lower = MakeType(kKindPart, MakePolygon({{0, 0}, {80, 0}, {0, 80}}));
    MakeJob(lower, 1, kRotateFull);
    NewEngine();
    AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
    AddPartType(engine, lower, 1);
    AddPartType(engine, MakeType(kKindPart, MakePolygon({{100, 100}, {20, 100}, {100, 20}})), 1);
    ASSERT_TRUE(AddInstances(engine));
    OrderAsAdded();  // parts 0 and 1
    StartPass();
    engine.LoadGroupTemplate(0, 1);
    PlaceAt(1, 100, 100);
    for (std::uint8_t rect : {0, 1}) {
        engine.RectMode = rect;
        engine.SetGroupPose(0, {100, 100}, 0.0);
        int blocker = 99;
        int member = 99;
        EXPECT_EQ(TestGroupCollision(engine, engine.StockInstances[0], blocker, member), rect == 0) << int(rect);
    }
}

// A part may lie in a hole of a placed part only when the user places it by hand with hole nesting on; an
// automatic placement reports such a pose as taken, without a blocker.
TEST_F(PartPlacement, APartInAHoleOfAPlacedPart) {
    NewEngine();
    PartType frame = MakeRectangleType(kKindPart, 200, 200);
    AddHole(frame, MakeCircle(80));
    AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
    AddPartType(engine, MakeType(kKindPart, MakeCircle(20)), 1);
    AddPartType(engine, frame, 1);
    ASSERT_TRUE(AddInstances(engine));
    OrderAsAdded();  // parts 0 and 1
    StartPass();
    engine.LoadGroupTemplate(0, 1);
    PlaceAt(1, 300, 250);
    struct Case {
        const char* what;
        std::uint8_t manual;
        std::uint8_t holeMode;
        bool free;
        int blocker;
    };
    const Case cases[] = {
        {"automatic", 0, 1, false, kNoBlocker},
        {"by hand with hole nesting", 1, 1, true, kNoBlocker},
        {"by hand without hole nesting", 1, 0, false, 1},
    };
    for (const Case& c : cases) {
        engine.ManualPlacement = c.manual;
        engine.HoleMode = c.holeMode;
        engine.SetGroupPose(0, {310, 240}, 0.0);
        int blocker = 99;
        int member = 99;
        EXPECT_EQ(TestGroupCollision(engine, engine.StockInstances[0], blocker, member), c.free) << c.what;
        EXPECT_EQ(blocker, c.blocker) << c.what;
    }
}

TEST_F(PartPlacement, SlideGroupStopsAtContactAndWithinItsLimit) {
    MakeJob(MakeRectangleType(kKindPart, 100, 50), 2, kRotateFull);
    PlaceAt(1, 300, 200);  // box 250..350 x 175..225
    const double minStep = engine.SearchStep.x;
    int blocker = 0;
    int member = 0;

    engine.SetGroupPose(0, {700, 200}, 0.0);
    // The last quartered step may still be free: the slide then ends free, with the blocker of its last contact.
    EXPECT_NE(SlideGroup(engine, 0, -10, 0, minStep, 0.0, blocker, member), kSlideNoMove);
    EXPECT_EQ(blocker, 1);
    EXPECT_EQ(member, 0);
    const double gap = Group().Box.minX - 350;
    EXPECT_GT(gap, 0.0);
    EXPECT_LE(gap, 4 * minStep);
    EXPECT_TRUE(layout_check::Overlap(layout_check::Outline(Part(0).TrialPose->Outers[0]),
                                      layout_check::Outline(Part(1).TrialPose->Outers[0])) == false);

    // A step that collides at once, down to the least step: no move.
    engine.SetGroupPose(0, {400.01, 200}, 0.0);
    EXPECT_EQ(SlideGroup(engine, 0, -10, 0, minStep, 0.0, blocker, member), kSlideNoMove);
    EXPECT_NEAR(Group().X, 400.01, kExact);

    // A limited slide in free space travels exactly its limit.
    engine.SetGroupPose(0, {700, 400}, 0.0);
    EXPECT_EQ(SlideGroup(engine, 0, -10, 0, minStep, 25.0, blocker, member), kSlideEndedFree);
    EXPECT_NEAR(Group().X, 675, 1e-6);
    EXPECT_EQ(blocker, kNoBlocker);
}

TEST_F(PartPlacement, PlacePartGoesToTheLowerLeftAndRecordsThePlacement) {
    MakeJob(MakeRectangleType(kKindPart, 100, 50), 6, kRotateFull);
    ASSERT_EQ(PlacePart(engine, 0, 0, 0, kAutomaticPlacement), kPlaced);
    const PartInstance& first = Part(0);
    EXPECT_EQ(first.Placed, 1);
    EXPECT_EQ(first.Stock, 0);
    ASSERT_EQ(first.CommittedPose->Valid, 1);
    const BoundingBox box = first.CommittedPose->Box;
    EXPECT_LT(box.minX, 1.0);
    EXPECT_LT(box.minY, 1.0);
    EXPECT_GT(box.minX, 0.0);
    EXPECT_GT(box.minY, 0.0);
    EXPECT_EQ(engine.PlacedPartCount, 1);
    EXPECT_EQ(engine.PlacedParts[0], 0);
    EXPECT_EQ(engine.PassPlacedCount, 1);
    EXPECT_EQ(engine.LastPlacedInstance, 0);
    EXPECT_NEAR(engine.PlacedExtent.maxX, box.maxX, kExact);
    EXPECT_NEAR(engine.PlacedExtent.maxY, box.maxY, kExact);
    EXPECT_NEAR(engine.ReferencePoint.x, box.maxX, kExact);
    EXPECT_NEAR(engine.ReferencePoint.y, box.maxY, kExact);

    for (int j = 1; j < 6; ++j) {
        ASSERT_EQ(PlacePart(engine, j, 0, 0, kAutomaticPlacement), kPlaced) << j;
    }
    EXPECT_EQ(engine.PlacedPartCount, 6);
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
    // Six parts of 100 x 50 packed from the corner stay well inside a 400 x 200 corner of the sheet.
    EXPECT_LT(engine.PlacedExtent.maxX * engine.PlacedExtent.maxY, 400.0 * 200.0);
}

TEST_F(PartPlacement, APartOfAlmostThePassAreaIsRefusedAtOnce) {
    struct Case {
        double width;
        int result;
    };
    // 0.98 of the 100 x 100 pass is 9800: 99 x 99 reaches it, 98 x 99 does not.
    for (const Case& c : {Case{99, kNotPlaced}, Case{98, kPlaced}}) {
        NewEngine();
        MakeJob(MakeRectangleType(kKindPart, c.width, 99), 1, kRotateFull, 100, 100);
        EXPECT_EQ(PlacePart(engine, 0, 0, 0, kAutomaticPlacement), c.result) << c.width;
        EXPECT_EQ(engine.PlacedPartCount, c.result == kPlaced ? 1 : 0);
        EXPECT_EQ(Part(0).Placed, c.result == kPlaced ? 1 : 0);
    }
}

TEST_F(PartPlacement, AFullSheetRefusesTheNextPartWithItsMessage) {
    MakeJob(MakeRectangleType(kKindPart, 100, 50), 1, kRotateFull);
    engine.PlacedPartCount = kMaxPlacedParts;
    host::ed::transcript().clear();
    EXPECT_EQ(PlacePart(engine, 0, 0, 0, kAutomaticPlacement), kNotPlaced);
    EXPECT_NE(Transcript().find("The sheet already carries 9000 parts and clamps"), std::string::npos);
    EXPECT_EQ(Part(0).Placed, 0);
    EXPECT_EQ(engine.PlacedPartCount, kMaxPlacedParts);
}

// A sector part whose only pair arrangement turns the partner by half a turn gets no pair template; asked for a
// pair it is placed as a single part (the partner was put on top of it before).
TEST_F(PartPlacement, APairWithoutATemplateIsPlacedAsSingleParts) {
    MakeJob(MakeRectangleType(kKindPart, 100, 50), 2, kRotateSector);
    PartType& type = engine.PartTypes[0];
    type.PairVariantCount = 1;
    type.PairVariants[0] = PairVariant{1, 0, {100, 0}, std::numbers::pi, 100.0, 0.0, 1.0f, 0.5f};
    engine.UseCluster = 1;
    BuildRotationTemplates(engine, 0);
    ASSERT_EQ(type.PairTemplates[0].Valid, 0);
    engine.PairWanted = 1;
    ASSERT_EQ(PlacePart(engine, 0, 0, 0, kAutomaticPlacement), kPlaced);
    EXPECT_EQ(engine.PlacedPartCount, 1);
    EXPECT_EQ(Part(1).Placed, 0);
    EXPECT_EQ(engine.PairWanted, 0);
    ASSERT_EQ(PlacePart(engine, 1, 0, 0, kAutomaticPlacement), kPlaced);
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

TEST_F(PartPlacement, ANoRotatePartStaysAtItsGrainAngle) {
    // The sheet's grain of 30 degrees turns every part by 30 degrees and no further, not even by half a turn.
    MakeJob(MakeRectangleType(kKindPart, 100, 40), 4, kRotateNone, 1000, 500, 30);
    for (int j = 0; j < 4; ++j) {
        ASSERT_EQ(PlacePart(engine, j, 0, 0, kAutomaticPlacement), kPlaced) << j;
        EXPECT_NEAR(Part(j).CommittedPose->Angle, 30 * kDeg, kExact) << j;
    }
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

// The second variant group of a crowded sheet draws random start poses that all land on the placed part, while
// group 0 finds the free pocket at its first fixed place. The part is placed where group 0 found room (before,
// the whole template failed because the last group found no start, and every retry failed the same way).
TEST_F(PartPlacement, AVariantGroupWithoutAStartKeepsTheEarlierResult) {
    NewEngine();
    AddStockType(engine, MakeRectangleType(kKindStock, 300, 100), 1);
    AddPartType(engine, MakeRectangleType(kKindPart, 50, 50), 1, 0, kRotateNone);
    AddPartType(engine, MakeRectangleType(kKindPart, 228, 98), 1);
    ASSERT_TRUE(AddInstances(engine));
    OrderAsAdded();  // parts 0 and 1
    StartPass();
    host::sys::seedRandom(1);  // the one random draw of group 1 lands mid-sheet
    PlaceAt(1, 185, 50);       // box 71..299 x 1..99: the pocket 0..71 stays free
    engine.ReferencePoint = {71, 0};
    engine.QualityTable[3][0] = 0;  // one start attempt per variant group
    ASSERT_EQ(engine.QualityTable[3][8], 2);
    ASSERT_EQ(PlacePart(engine, 0, 0, 0, kAutomaticPlacement), kPlaced);
    EXPECT_EQ(Group(1).Valid, 0) << "group 1 found no start pose";
    EXPECT_LT(Part(0).CommittedPose->Box.maxX, 71);
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

TEST_F(PartPlacement, AManualPlacementOnAnOccupiedSpotGoesOnWithAutomaticStarts) {
    MakeJob(MakeRectangleType(kKindPart, 100, 50), 3, kRotateFull);
    for (int j = 0; j < 3; ++j) {
        ASSERT_EQ(PlacePart(engine, j, 0, 0, kAutomaticPlacement), kPlaced);
    }
    // The user drops part 2 onto part 0.
    const PartPose& onto = *Part(0).CommittedPose;
    ASSERT_EQ(PlacePart(engine, 2, onto.X, onto.Y, onto.Angle), kPlaced);
    EXPECT_EQ(engine.ManualPlacement, 0);
    EXPECT_EQ(Part(2).Placed, 1);
    EXPECT_EQ(Part(2).CommittedPose->Valid, 1);
    EXPECT_EQ(layout_check::CheckLayout(engine), "");

    // Dropped on a free spot it stays on the sheet too.
    ASSERT_EQ(PlacePart(engine, 2, 700, 300, 0.0), kPlaced);
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

TEST(TurnedResult, TheTurnedResultWinsUnlessTheFirstIsClearlyBetter) {
    // First result A: box up to (100, 50), recorded size 100 x 50. With a search step of 0.125 (exact in binary,
    // so that d = 0 can be met exactly) the margin is 2 * 0.125 * (100 + 50) = 37.5.
    const auto group = [](double maxX, double maxY) {
        PartGroup g;
        g.Box = {maxX - 100, maxY - 50, maxX, maxY};
        g.GroupWidth = 100;
        g.GroupHeight = 50;
        return g;
    };
    struct Case {
        const char* what;
        double turnedMaxX;
        double turnedMaxY;
        bool keepFirst;
    };
    const Case cases[] = {
        {"turned clearly better", 90, 50, false},
        {"equal: the turned one wins", 100, 50, false},
        {"turned 0.5 farther right: d = -25 + 37.5", 100.5, 50, false},
        {"turned 1 farther right: d = -50 + 37.5", 101, 50, true},
        {"turned 0.25 higher: d = -25 + 37.5", 100, 50.25, false},
        {"turned 0.5 higher: d = -50 + 37.5", 100, 50.5, true},
        {"d = 0 with the turned one farther right", 100.75, 50, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PreferFirstResult(group(100, 50), group(c.turnedMaxX, c.turnedMaxY), 0.125), c.keepFirst) << c.what;
    }
}

TEST_F(PartPlacement, TheSameSeedGivesTheSameLayout) {
    std::vector<std::array<double, 3>> poses[2];
    for (int run = 0; run < 2; ++run) {
        NewEngine();
        MakeJob(MakeType(kKindPart, MakePolygon({{0, 0}, {80, 0}, {80, 20}, {20, 20}, {20, 60}, {0, 60}})), 5,
                kRotateFull);
        host::sys::seedRandom(11);
        for (int j = 0; j < 5; ++j) {
            ASSERT_EQ(PlacePart(engine, j, 0, 0, kAutomaticPlacement), kPlaced);
            const PartPose& pose = *Part(j).CommittedPose;
            poses[run].push_back({pose.X, pose.Y, pose.Angle});
        }
        EXPECT_EQ(layout_check::CheckLayout(engine), "");
    }
    EXPECT_EQ(poses[0], poses[1]);
}

}  // namespace
