// The nesting run on small jobs: sheets filled and left over, priorities, clamps, rotation rules through the run,
// the kept best pass, repeatability, and the placement order, templates and pass comparison it is built from.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "nesting/engine/nesting_run.h"
#include "nesting/engine/rotation_rules.h"
#include "nesting/engine/stock_optimization.h"
#include "nesting/engine/tests/layout_check.h"
#include "nesting/engine/tests/placement_job.h"
#include "nesting/geometry/contour_relation.h"

namespace {

using namespace nesting_engine_testing;

class NestingRun : public PlacementJob {
protected:
    void SetUp() override {
        PlacementJob::SetUp();
        host::sys::seedRandom(3);
    }

    int Run() {
        sheets_.clear();
        traces_.clear();
        engine.PassTrace = [this](const std::string& line) { traces_ += line; };
        return RunNesting(engine, [this](int sheet) {
            sheets_.push_back(sheet);
            // Each finished sheet is handed over as the run leaves it: already free of overlaps.
            EXPECT_EQ(layout_check::CheckLayout(engine), "") << "sheet " << sheet;
        });
    }

    int PlacedOn(int sheet) const {
        int count = 0;
        for (const PartInstance& part : engine.PartInstances) {
            count += (part.Stock == sheet && part.Placed == 1 && part.Type->Kind == kKindPart) ? 1 : 0;
        }
        return count;
    }

    std::vector<int> sheets_;
    std::string traces_;
};

TEST_F(NestingRun, AJobWithoutStocksOrPartsReturnsAtOnce) {
    for (bool stocks : {false, true}) {
        NewEngine();
        host::ed::transcript().clear();
        if (stocks) {
            AddStockType(engine, MakeRectangleType(kKindStock, 100, 100), 1);
        } else {
            AddPartType(engine, MakeRectangleType(kKindPart, 10, 10), 2);
        }
        ASSERT_TRUE(AddInstances(engine));
        EXPECT_EQ(Run(), 0);
        EXPECT_TRUE(sheets_.empty());
        EXPECT_EQ(engine.UsedStockCount, 0);
        EXPECT_EQ(Transcript().find("Stock"), std::string::npos);
    }
}

TEST_F(NestingRun, AJobBeyondTheClampLimitIsRefusedWithItsMessage) {
    AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 1);
    AddPartType(engine, MakeRectangleType(kKindPart, 100, 50), 2);
    AddClampType(engine, 40, 30, 6);
    ASSERT_TRUE(AddInstances(engine));
    engine.ClampUse = 1;
    engine.ClampQuantity = 6;
    host::ed::transcript().clear();
    EXPECT_EQ(Run(), 0);
    EXPECT_NE(Transcript().find("The job asks for 6 clamps per sheet; at most 5 fit."), std::string::npos);
    EXPECT_EQ(Transcript().find("Stock 1"), std::string::npos);
    EXPECT_EQ(Part(0).Placed, 0);
}

TEST_F(NestingRun, PartsThatFitTheFirstSheetKeepItsBestPass) {
    AddStockType(engine, MakeRectangleType(kKindStock, 1000, 500), 2);
    AddPartType(engine, MakeRectangleType(kKindPart, 100, 50), 8);
    ASSERT_TRUE(AddInstances(engine));
    Run();
    EXPECT_EQ(PlacedOn(0), 8);
    EXPECT_EQ(engine.PlacedTotal, 8);
    EXPECT_EQ(engine.UsedStockCount, 1);
    EXPECT_EQ(sheets_, std::vector<int>{0});
    const std::string transcript = Transcript();
    EXPECT_NE(transcript.find("Stock 1  Metal recovery=8.00%  NestParts=8\n\r"), std::string::npos);
    EXPECT_EQ(transcript.find("Stock 2"), std::string::npos) << "the loop stops once every part is placed";
    // The pass traces go to the engine's trace, never to the user's command line.
    EXPECT_NE(traces_.find("+++ PASS OPTIM"), std::string::npos);
    EXPECT_NE(traces_.find("> PASS OPTIM - STV\n\r"), std::string::npos);
    EXPECT_EQ(transcript.find("PASS"), std::string::npos) << transcript;

    // The sheet's layout is the kept pass.
    const PartInstance& sheet = engine.StockInstances[0];
    EXPECT_EQ(sheet.Placed, 1);
    EXPECT_EQ(sheet.PlacedCount, 8);
    EXPECT_NEAR(sheet.KIsp, 0.08, kExact);
    ASSERT_EQ(engine.Best.Count(), 8);
    for (const BestLayoutEntry& entry : engine.Best.Entries) {
        const PartPose& pose = *Part(entry.Instance).CommittedPose;
        EXPECT_EQ(pose.X, entry.X);
        EXPECT_EQ(pose.Y, entry.Y);
        EXPECT_EQ(pose.Angle, entry.Angle);
        EXPECT_LE(pose.Box.maxX, sheet.XE);
        EXPECT_LE(pose.Box.maxY, sheet.YE);
    }
    EXPECT_EQ(engine.StockInstances[1].Placed, 0);
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

TEST_F(NestingRun, PartsOverflowToTheNextSheetsAndAnUnfitPartStaysUnplaced) {
    AddStockType(engine, MakeRectangleType(kKindStock, 300, 300), 3);
    AddPartType(engine, MakeRectangleType(kKindPart, 140, 140), 5);
    AddPartType(engine, MakeRectangleType(kKindPart, 400, 50), 1);
    ASSERT_TRUE(AddInstances(engine));
    Run();
    EXPECT_EQ(PlacedOn(0), 4);
    EXPECT_EQ(PlacedOn(1), 1);
    EXPECT_EQ(PlacedOn(2), 0);
    EXPECT_EQ(Part(5).Placed, 0) << "400 long never fits a 300 square sheet";
    EXPECT_EQ(engine.UsedStockCount, 2);
    EXPECT_EQ(sheets_, (std::vector<int>{0, 1}));
    EXPECT_NE(Transcript().find("Stock 3  Metal recovery=0.00%  NestParts=0"), std::string::npos);
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

TEST_F(NestingRun, AHigherPriorityIsPlacedFirstWhateverItsArea) {
    struct Case {
        int priorityLarge;
        int prioritySmall;
        bool largePlaced;
    };
    for (const Case& c : {Case{1, 8, false}, Case{8, 1, true}}) {
        NewEngine();
        AddStockType(engine, MakeRectangleType(kKindStock, 100, 100), 1);
        AddPartType(engine, MakeRectangleType(kKindPart, 90, 90), 1, c.priorityLarge);
        AddPartType(engine, MakeRectangleType(kKindPart, 60, 60), 1, c.prioritySmall);
        ASSERT_TRUE(AddInstances(engine));
        Run();
        EXPECT_EQ(Part(0).Placed == 1, c.largePlaced) << c.priorityLarge;
        EXPECT_EQ(Part(1).Placed == 1, !c.largePlaced) << c.priorityLarge;
        EXPECT_EQ(layout_check::CheckLayout(engine), "");
    }
}

TEST_F(NestingRun, ClampsStandInTheirRowAndPartsKeepClearOfThem) {
    engine.ClampUse = 1;
    engine.ClampQuantity = 2;
    engine.ClampCenterList = 1;
    engine.ClampingDistance = 400;
    AddStockType(engine, MakeRectangleType(kKindStock, 1000, 300), 1);
    AddPartType(engine, MakeRectangleType(kKindPart, 100, 60), 6);
    AddClampType(engine, 40, 30, 2);
    ASSERT_TRUE(AddInstances(engine));
    Run();
    EXPECT_EQ(PlacedOn(0), 6);
    EXPECT_EQ(engine.PlacedTotal, 6) << "clamps are not counted";
    const PartInstance& sheet = engine.StockInstances[0];
    EXPECT_EQ(sheet.ClampFlag, 1);
    EXPECT_EQ(sheet.PlacedCount, 8);
    for (int c = 0; c < 2; ++c) {
        const PartInstance& clamp = Part(6 + c);
        EXPECT_EQ(clamp.Stock, 0);
        EXPECT_NEAR(clamp.CommittedPose->X, 300 + 400 * c, kExact);
        EXPECT_NEAR(clamp.CommittedPose->Y, 0.001, kExact);
    }
    EXPECT_NE(Transcript().find("NestParts=6"), std::string::npos);
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

TEST_F(NestingRun, ASheetWithOnlyClampsIsNeitherCountedNorShown) {
    engine.ClampUse = 1;
    engine.ClampQuantity = 1;
    engine.Clamp1PozX = 50;
    AddStockType(engine, MakeRectangleType(kKindStock, 300, 200), 2);
    AddPartType(engine, MakeRectangleType(kKindPart, 299, 199), 1);  // larger than 0.98 of the sheet
    AddClampType(engine, 40, 30, 1);
    ASSERT_TRUE(AddInstances(engine));
    Run();
    EXPECT_EQ(Part(0).Placed, 0);
    EXPECT_EQ(engine.UsedStockCount, 0);
    EXPECT_TRUE(sheets_.empty());
    for (const PartInstance& sheet : engine.StockInstances) {
        EXPECT_EQ(sheet.Placed, 0);
    }
    EXPECT_EQ(engine.StockInstances[1].PlacedCount, 1) << "the clamp stands on the last sheet run";
    EXPECT_NE(Transcript().find("Stock 2  Metal recovery=0.00%  NestParts=0"), std::string::npos);
}

TEST_F(NestingRun, TheSheetLinesFollowTheModuleLanguage) {
    SetLibraryLanguage(Language::Russian);
    AddStockType(engine, MakeRectangleType(kKindStock, 300, 200), 1);
    AddPartType(engine, MakeRectangleType(kKindPart, 299, 199), 1);
    ASSERT_TRUE(AddInstances(engine));
    Run();
    const std::string transcript = Transcript();
    EXPECT_EQ(transcript.find("Заготовка 1\r"), 0u);
    EXPECT_NE(transcript.find("Заготовка 1  Использование металла=0.00%  Размещено деталей=0\n\r"), std::string::npos);
    EXPECT_NE(traces_.find("> PASS_F KIsp="), std::string::npos) << "the pass traces stay in English";
    EXPECT_EQ(transcript.find("PASS_F"), std::string::npos);
}

TEST_F(NestingRun, AStopAskedForEndsTheRunAtTheNextPlacementAndKeepsWhatIsPlaced) {
    AddStockType(engine, MakeRectangleType(kKindStock, 400, 200), 2);
    AddPartType(engine, MakeRectangleType(kKindPart, 100, 50), 6, 0, kRotateNone);
    ASSERT_TRUE(AddInstances(engine));
    // The user breaks while the first pass of the first sheet places its parts.
    int asked = 0;
    engine.StopRequested = [&asked] { return ++asked == 5; };
    Run();
    EXPECT_TRUE(engine.RunStopped);
    EXPECT_EQ(asked, 5) << "once stopped, the break is not asked again";
    const int placed = PlacedOn(0);
    EXPECT_GT(placed, 0);
    EXPECT_LT(placed, 6);
    EXPECT_EQ(PlacedOn(1), 0);
    EXPECT_EQ(engine.PlacedTotal, placed);
    EXPECT_EQ(engine.UsedStockCount, 1);
    EXPECT_EQ(sheets_, std::vector<int>{0}) << "the sheet placed so far is shown";
    const std::string transcript = Transcript();
    EXPECT_NE(transcript.find("Stock 1  Metal recovery="), std::string::npos) << transcript;
    const std::string stopped = "Nesting stopped by the user: " + std::to_string(placed) +
                                " part(s) placed on 1 sheet(s), " + std::to_string(6 - placed) + " not placed.";
    EXPECT_NE(transcript.find(stopped), std::string::npos) << transcript;
    EXPECT_EQ(transcript.find("Stock 2"), std::string::npos);

    // A stop in a later pass keeps the best whole pass; the run after a stopped one starts afresh.
    asked = 0;
    engine.StopRequested = [&asked] { return ++asked == 30; };
    host::ed::transcript().clear();
    Run();
    EXPECT_EQ(asked, 30);
    EXPECT_TRUE(engine.RunStopped);
    EXPECT_EQ(PlacedOn(0), 6);
    EXPECT_NE(Transcript().find("Nesting stopped by the user: 6 part(s) placed on 1 sheet(s), 0 not placed."),
              std::string::npos)
        << Transcript();
}

TEST_F(NestingRun, EveryRotationRuleHoldsThroughTheRun) {
    struct Case {
        const char* what;
        std::uint8_t mode;
        double sheetGrain;
        double sectorMin;
        double sectorMax;
        double deltaIndex;
        double step;
        std::function<bool(double)> admitted;
    };
    const Case cases[] = {
        {"no rotate at a grain of 30", kRotateNone, 30, 0, 0, 0, 0.5,
         [](double a) { return AngleGap(a, 30 * kDeg) < kExact; }},
        {"sector of +-15 around a grain of 90", kRotateSector, 90, -15, 15, 0, 0.5,
         [](double a) { return AngleGap(a, 90 * kDeg) <= 15 * kDeg + kExact; }},
        {"sector and opposite", kRotateSectorAnd180, 90, -15, 15, 0, 0.5,
         [](double a) { return AngleGap(a, 90 * kDeg) <= 15 * kDeg + kExact || AngleGap(a, 270 * kDeg) <= 15 * kDeg + kExact; }},
        {"free with a delta of 90", kRotateFull, 0, 0, 0, 9, 90,
         [](double a) { return std::fmod(a + kExact, 90 * kDeg) < 2 * kExact; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewEngine();
        PartType sheet = MakeRectangleType(kKindStock, 600, 400);
        sheet.Grain = c.sheetGrain;
        AddStockType(engine, sheet, 1);
        // An L whose least box is not at a right angle to the sheet.
        PartType part = MakeType(kKindPart, MakePolygon({{0, 0}, {90, 20}, {85, 45}, {25, 35}, {15, 80}, {-10, 70}}));
        part.SectorMin = c.sectorMin;
        part.SectorMax = c.sectorMax;
        part.DeltaIndex = c.deltaIndex;
        part.RotationStep = c.step;
        AddPartType(engine, part, 4, 0, c.mode);
        ASSERT_TRUE(AddInstances(engine));
        Run();
        for (int i = 0; i < 4; ++i) {
            ASSERT_EQ(Part(i).Placed, 1) << i;
            EXPECT_TRUE(c.admitted(Part(i).CommittedPose->Angle)) << i << ": " << Part(i).CommittedPose->Angle / kDeg;
        }
        EXPECT_EQ(layout_check::CheckLayout(engine), "");
    }
}

// Rectangles of 600 x 400 with no gap fill a 2500 x 1250 sheet twelve to a sheet (2400 x 1200, four by three or six by two):
// every slide ends within one search step of its contact, so each row and column of parts is longer than its
// parts by less than a search step per contact. (A row whose parts add up to the sheet's side exactly cannot be
// placed: every contact and the sheet's sides need a gap above the kernel's grid of 1e-6.)
TEST_F(NestingRun, RectanglesTouchWithinASearchStepAndTwelveFillASheet) {
    AddStockType(engine, MakeRectangleType(kKindStock, 2500, 1250), 2);
    PartType part = MakeRectangleType(kKindPart, 600, 400);
    part.DeltaIndex = kDeltaQuarterTurn;
    part.RotationStep = DeltaStepDegrees(kDeltaQuarterTurn);
    AddPartType(engine, part, 13);
    ASSERT_TRUE(AddInstances(engine));
    Run();
    EXPECT_EQ(PlacedOn(0), 12);
    EXPECT_EQ(PlacedOn(1), 1);
    BoundingBox extent = BoundingBox::Empty();
    for (int i = 0; i < 13; ++i) {
        if (Part(i).Stock == 0) {
            extent.Include(Part(i).CommittedPose->Box);
        }
    }
    const double slack = 7 * engine.SearchStep.x;  // the sheet's side and at most six contacts in a row
    EXPECT_GT(extent.minX, 0.0);
    EXPECT_GT(extent.minY, 0.0);
    EXPECT_LT(extent.minX, engine.SearchStep.x);
    EXPECT_LT(extent.minY, engine.SearchStep.x);
    EXPECT_LT(extent.Width(), 2400 + slack) << extent.Width();
    EXPECT_LT(extent.Height(), 1200 + slack) << extent.Height();
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

// A part longer than the sheet is high (and shorter than it is wide) that turns freely is tried at quarter turns
// only; its own delta is given back afterwards.
TEST_F(NestingRun, ALongFreePartTurnsByQuarterTurnsOnly) {
    AddStockType(engine, MakeRectangleType(kKindStock, 800, 100), 1);
    PartType part = MakeRectangleType(kKindPart, 300, 30);
    part.DeltaIndex = 0;
    part.RotationStep = 0.5;
    AddPartType(engine, part, 3);
    ASSERT_TRUE(AddInstances(engine));
    Run();
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Part(i).Placed, 1) << i;
        EXPECT_LT(std::fmod(Part(i).CommittedPose->Angle + kExact, 90 * kDeg), 2 * kExact) << i;
    }
    EXPECT_EQ(engine.PartTypes[0].DeltaIndex, 0);
    EXPECT_EQ(engine.PartTypes[0].RotationStep, 0.5);
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

// A drawn sheet: an L-shaped outline with a cut-out. Parts keep inside the outline (not just its box) and clear
// of the cut-out.
TEST_F(NestingRun, ADrawnSheetKeepsPartsInsideItsOutlineAndOutOfItsCutOut) {
    PartType sheet = MakeType(kKindStock, MakePolygon({{0, 0}, {600, 0}, {600, 150}, {200, 150}, {200, 400}, {0, 400}}));
    AddHole(sheet, MakeCircle(40, {100, 200}));
    AddStockType(engine, sheet, 1);
    AddPartType(engine, MakeRectangleType(kKindPart, 90, 60), 10);
    ASSERT_TRUE(AddInstances(engine));
    Run();
    EXPECT_GE(PlacedOn(0), 8);
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

// Rectangular nesting: only the two template angles, and boxes that never meet.
TEST_F(NestingRun, RectangularNestingKeepsBoxesApart) {
    AddStockType(engine, MakeRectangleType(kKindStock, 600, 300), 1);
    AddPartType(engine, MakeType(kKindPart, MakePolygon({{0, 0}, {100, 0}, {100, 50}, {50, 20}, {0, 50}})), 8);
    ASSERT_TRUE(AddInstances(engine));
    engine.RectMode = 1;
    Run();
    for (int a = 0; a < 8; ++a) {
        ASSERT_EQ(Part(a).Placed, 1) << a;
        const double angle = Part(a).CommittedPose->Angle;
        EXPECT_TRUE(std::fabs(angle) < kExact || std::fabs(angle - std::numbers::pi / 2) < kExact) << angle;
        for (int b = a + 1; b < 8; ++b) {
            EXPECT_EQ(RelateBoxes(Part(a).CommittedPose->Box, Part(b).CommittedPose->Box), ContourRelation::Disjoint);
        }
    }
    EXPECT_EQ(layout_check::CheckLayout(engine), "");
}

// The usable rectangle of every pass, read back from the pass traces: SSG and SSV are the free areas right of
// and above the used extent within it, so its right side is SSV / (height - YE) and its top SSG / (width - XE).
// A wide sheet shrinks its right side first, a tall one its top.
TEST_F(NestingRun, AWideSheetShrinksItsRightSideFirstATallOneItsTop) {
    struct Case {
        const char* what;
        double width;
        double height;
    };
    for (const Case& c : {Case{"wide", 1000, 500}, Case{"tall", 500, 1000}}) {
        NewEngine();
        host::ed::transcript().clear();
        AddStockType(engine, MakeRectangleType(kKindStock, c.width, c.height), 1);
        AddPartType(engine, MakeRectangleType(kKindPart, 100, 50), 6);
        ASSERT_TRUE(AddInstances(engine));
        Run();
        const std::string transcript = traces_;
        std::size_t at = 0;
        bool shrunk = false;
        while (!shrunk && (at = transcript.find("> PASS_F", at)) != std::string::npos) {
            double kisp = 0, skisp = 0, xe = 0, ye = 0, ss = 0, ssg = 0, ssv = 0, ks = 0;
            int count = 0;
            ASSERT_EQ(std::sscanf(transcript.c_str() + at, "> PASS_F KIsp=%lf SKIsp=%lf XE=%lf YE=%lf KolPart=%d",
                                  &kisp, &skisp, &xe, &ye, &count), 5);
            const std::size_t areas = transcript.find("* SS=", at);
            ASSERT_NE(areas, std::string::npos);
            ASSERT_EQ(std::sscanf(transcript.c_str() + areas, "* SS=%lf SSG=%lf SSV=%lf  KS=%lf", &ss, &ssg, &ssv, &ks),
                      4);
            const double right = ssv / (c.height - ye);
            const double top = ssg / (c.width - xe);
            if (right < c.width - 1 || top < c.height - 1) {
                shrunk = true;
                const bool wide = c.width > c.height;
                EXPECT_EQ(right < c.width - 1, wide) << c.what << ": right side " << right;
                EXPECT_EQ(top < c.height - 1, !wide) << c.what << ": top " << top;
            }
            ++at;
        }
        EXPECT_TRUE(shrunk) << c.what;
    }
}

TEST_F(NestingRun, TheSameSeedGivesTheSameLayout) {
    std::vector<std::array<double, 4>> layouts[2];
    for (int run = 0; run < 2; ++run) {
        NewEngine();
        AddStockType(engine, MakeRectangleType(kKindStock, 400, 300), 2);
        AddPartType(engine, MakeType(kKindPart, MakePolygon({{0, 0}, {80, 0}, {80, 20}, {20, 20}, {20, 60}, {0, 60}})),
                    6);
        ASSERT_TRUE(AddInstances(engine));
        host::sys::seedRandom(21);
        Run();
        for (const PartInstance& part : engine.PartInstances) {
            layouts[run].push_back({double(part.Stock), part.CommittedPose->X, part.CommittedPose->Y,
                                    part.CommittedPose->Angle});
        }
    }
    EXPECT_EQ(layouts[0], layouts[1]);
}

TEST_F(NestingRun, OrderPutsPriorityFirstThenTheWeightedArea) {
    AddStockType(engine, MakeRectangleType(kKindStock, 1000, 1000), 1);
    AddPartType(engine, MakeRectangleType(kKindPart, 100, 100), 2, 7);  // instances 0, 1: key 10000
    AddPartType(engine, MakeRectangleType(kKindPart, 10, 10), 1, 8);    // instance 2: key 100, priority 8
    AddPartType(engine, MakeRectangleType(kKindPart, 200, 20), 1, 7);   // instance 3: 4000 x 10 / 3
    AddPartType(engine, MakeRectangleType(kKindPart, 150, 60), 1, 7);   // instance 4: 9000 (aspect 2.5)
    ASSERT_TRUE(AddInstances(engine));
    ResetNestingRun(engine);
    EXPECT_EQ(OrderPartInstances(engine), 5);
    EXPECT_EQ(engine.PartOrder, (std::vector<std::int32_t>{2, 3, 0, 1, 4}));
}

TEST_F(NestingRun, RotationTemplatesFindTheBestLandscapeAndPortraitAngles) {
    struct Case {
        const char* what;
        Contour outline;
        double landscape;
        double portrait;
    };
    // A 100 x 10 bar drawn at 30 degrees: upright (portrait) at 60; its least landscape box (at 0) is more than
    // 2% larger, so the landscape angle becomes the portrait one plus 90.
    Contour slanted = MakePolygon({{0, 0}, {86.60254037844386, 50}, {81.60254037844386, 58.66025403784439},
                                   {-5, 8.660254037844386}});
    const Case cases[] = {
        {"a 100 x 50 rectangle", MakeRectangle(100, 50), 0, 90},
        {"a bar at 30 degrees", slanted, 150, 60},
    };
    for (const Case& c : cases) {
        NewEngine();
        AddStockType(engine, MakeRectangleType(kKindStock, 1000, 1000), 1);
        AddPartType(engine, MakeType(kKindPart, c.outline), 1);
        ASSERT_TRUE(AddInstances(engine));
        ResetNestingRun(engine);
        BuildRotationTemplates(engine, 0);
        const PartType& type = engine.PartTypes[0];
        for (const PartGroup& t : type.SingleTemplates) {
            EXPECT_EQ(t.Valid, 1) << c.what;
            EXPECT_EQ(t.BestLandscapeDeg, c.landscape) << c.what;
            EXPECT_EQ(t.BestPortraitDeg, c.portrait) << c.what;
        }
        EXPECT_EQ(type.PairTemplates[0].Valid, 0) << "one copy makes no pair";
    }
}

TEST_F(NestingRun, PassComparisonByOptimisationOption) {
    engine.Best.PlacedArea = 100;
    engine.Best.SKIsp = 0.5;
    engine.Best.SS = 200;
    engine.Best.SSG = 30;
    engine.Best.SSV = 40;
    struct Case {
        int option;
        double area, skisp, ssg, ssv, ss;
        int result;
    };
    const Case cases[] = {
        {0, 101, 0.1, 0, 0, 999, 0},  {3, 99, 0.9, 99, 99, 1, 1},  // area decides first
        {0, 100, 0.6, 0, 0, 999, 0},  {0, 100, 0.5, 99, 99, 1, 1},
        {1, 100, 0.0, 0, 0, 199, 0},  {1, 100, 0.9, 99, 99, 200, 1},
        {2, 100, 0.0, 31, 0, 999, 0}, {2, 100, 0.0, 30, 41, 999, 0}, {2, 100, 0.0, 30, 40, 0, 1},
        {3, 100, 0.0, 0, 41, 999, 0}, {3, 100, 0.0, 31, 40, 999, 0}, {3, 100, 0.0, 29, 40, 0, 1},
    };
    for (const Case& c : cases) {
        engine.NestingOptimizationOption = c.option;
        EXPECT_EQ(CompareWithBestLayout(engine, c.area, c.skisp, c.ssg, c.ssv, c.ss), c.result)
            << "option " << c.option << " area " << c.area;
    }
}

}  // namespace

namespace {

using namespace nesting_engine_testing;

// With hole nesting a small part of another type goes into the hole of a placed frame; without it the small
// part keeps clear of the frame's box.
TEST_F(NestingRun, HoleNestingPutsASmallPartIntoAFramesHole) {
    for (std::uint8_t holeMode : {1, 0}) {
        NewEngine();
        PartType frame = MakeRectangleType(kKindPart, 200, 200);
        AddHole(frame, MakeCircle(80));
        AddStockType(engine, MakeRectangleType(kKindStock, 1000, 1000), 1);
        AddPartType(engine, frame, 1);
        AddPartType(engine, MakeType(kKindPart, MakeCircle(30)), 1);
        ASSERT_TRUE(AddInstances(engine));
        engine.HoleMode = holeMode;
        Run();
        ASSERT_EQ(Part(0).Placed, 1);
        ASSERT_EQ(Part(1).Placed, 1);
        const PartPose& a = *Part(0).CommittedPose;
        const PartPose& b = *Part(1).CommittedPose;
        if (holeMode == 1) {
            EXPECT_LT(std::hypot(a.X - b.X, a.Y - b.Y), 50) << "the circle lies in the frame's hole";
        } else {
            EXPECT_EQ(RelateBoxes(a.Box, b.Box), ContourRelation::Disjoint);
            EXPECT_EQ(layout_check::CheckLayout(engine), "");
        }
    }
}

}  // namespace
