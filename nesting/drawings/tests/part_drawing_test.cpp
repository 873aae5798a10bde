// Loading part and stock drawings whose contours NCCreateContour made: the class lists, the gaps, the blocks, the
// stored data versions, and the drawings that are refused with a message and leave the current drawing as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cadlib/numbers.h"
#include "host/ed/transcript.h"
#include "host/sys/number_text.h"
#include "host/ui/message_box.h"
#include "nesting/drawings/drawing_entry.h"
#include "nesting/drawings/drawing_read_cache.h"
#include "nesting/drawings/entity_contours.h"
#include "nesting/drawings/part_drawing_reader.h"
#include "nesting/drawings/part_geometry.h"
#include "nesting/drawings/tests/drawing_fixture.h"

namespace drawing_testing {
namespace {

constexpr double kTol = 1e-6;

bool AnyContains(const std::vector<std::string>& texts, const std::string& part) {
    for (const std::string& t : texts)
        if (t.find(part) != std::string::npos) return true;
    return false;
}

std::vector<double> CircleRadii(const ContourList& list) {
    std::vector<double> radii;
    for (const Contour& c : list) {
        EXPECT_EQ(c.Elements.size(), 1u);
        if (!c.Elements.empty()) radii.push_back(std::round(c.Elements[0].Radius * 1000.0) / 1000.0);
    }
    std::sort(radii.begin(), radii.end());
    return radii;
}

using PartDrawing = DrawingTest;

TEST_F(PartDrawing, FlangeLoadsItsCirclesAboutTheBoxCentreIntoItsBlock) {
    // the table ends with the empty stock record (handle 0) of a drawing without a stock outline
    PartType type = TypeFor(FixtureDir() / "flange.dxf", kKindPart, "FLANGE");
    ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << ::testing::PrintToString(MessageBoxTexts());
    EXPECT_TRUE(MessageBoxTexts().empty());
    EXPECT_EQ(type.DrawingBox, (BoundingBox{0, 0, 100, 100}));
    EXPECT_DOUBLE_EQ(type.Aspect, 1.0);
    EXPECT_NEAR(type.BasePoint.x, 50.0, kTol);
    EXPECT_NEAR(type.BasePoint.y, 50.0, kTol);
    EXPECT_EQ(CircleRadii(type.Outers[0]), (std::vector<double>{50.0}));
    EXPECT_EQ(CircleRadii(type.Holes[0]), (std::vector<double>{5.0, 5.0, 5.0, 5.0, 12.0}));
    EXPECT_TRUE(type.Defects[0].empty());
    EXPECT_NEAR(type.OuterBox.minX, -50.0, kTol);
    EXPECT_NEAR(type.OuterBox.maxY, 50.0, kTol);
    EXPECT_EQ(type.Quantity, 1);
    // the copies left the drawing for the block
    EXPECT_EQ(ModelSpaceCount(), 0u);
    EXPECT_EQ(BlockEntities("FLANGE").size(), 6u);
}

TEST_F(PartDrawing, GapsGrowAPartAndShrinkItsHoles) {
    State().HalfPartGap = 2.0;
    PartType type = TypeFor(FixtureDir() / "flange.dxf", kKindPart, "FLANGE");
    ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded);
    EXPECT_EQ(CircleRadii(type.Outers[0]), (std::vector<double>{52.0}));
    EXPECT_EQ(CircleRadii(type.Holes[0]), (std::vector<double>{3.0, 3.0, 3.0, 3.0, 10.0}));
    // areas follow the offset circles
    EXPECT_NEAR(type.Outers[0][0].Area, std::numbers::pi * 52.0 * 52.0, 1e-6);
}

TEST_F(PartDrawing, OpenCutsGoToTheOpenListAndEngravingJoinsTheBlockOnly) {
    PartType type = TypeFor(FixtureDir() / "lshape.dxf", kKindPart, "LSHAPE");
    ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << ::testing::PrintToString(MessageBoxTexts());
    ASSERT_EQ(type.Outers[0].size(), 1u);
    // the outline keeps its rounded inside corner as an arc
    int arcs = 0;
    for (const ContourElement& e : type.Outers[0][0].Elements) arcs += e.Type == kElementArc ? 1 : 0;
    EXPECT_EQ(arcs, 1);
    // the square hole and the closed hole drawn without leads keep all four sides
    ASSERT_EQ(type.Holes[0].size(), 2u);
    for (const Contour& hole : type.Holes[0]) EXPECT_EQ(hole.Elements.size(), 4u);
    // the open cut is placed with the part but is no outline
    ASSERT_EQ(type.Defects[0].size(), 1u);
    EXPECT_EQ(type.Defects[0][0].Open, 1);
    EXPECT_EQ(type.Defects[0][0].Elements.size(), 2u);
    EXPECT_EQ(type.Defects[0][0].LineType, "ByLayer");
    EXPECT_EQ(type.Defects[0][0].Colour, 256);
    // the engraving line and text are in the block, not among the contours
    const std::vector<std::string> block = BlockEntities("LSHAPE");
    EXPECT_NE(std::find(block.begin(), block.end(), "TEXT:EngraveLine"), block.end())
        << ::testing::PrintToString(block);
    EXPECT_EQ(block.size(), 6u) << ::testing::PrintToString(block);
    EXPECT_EQ(ModelSpaceCount(), 0u);
}

TEST_F(PartDrawing, ClosedContourStoredWithoutLeadsKeepsItsLastSide) {
    // once a path is made, contours cut without leads are stored with closure 2; the polyline itself is closed
    const fs::path path = Changed("lshape.dxf", [](Database& db) {
        const ObjectId batch = db.idFromHandle(host::db::Handle(FirstBatchHandle(db)));
        ResBufList items = XData(batch);
        for (std::size_t at = 1; at + kStoredContourItems <= items.size(); at += kStoredContourItems) {
            ContourRecord r;
            ASSERT_TRUE(ReadStoredContour(items, at, JobDataVersion::V200801, r));
            if (r.placement != kPlacementInner) continue;
            r.closure = kClosureNoLeads;
            items[at] = ResBuf(kStoredCodeLong, std::int64_t{PackContourFlags(r)});
        }
        SetXData(batch, items);
    });
    PartType type = TypeFor(path, kKindPart, "LSHAPE");
    ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << ::testing::PrintToString(MessageBoxTexts());
    ASSERT_EQ(type.Holes[0].size(), 2u);
    for (const Contour& hole : type.Holes[0]) {
        EXPECT_EQ(hole.Elements.size(), 4u);
        EXPECT_EQ(hole.Open, 0);
    }
}

TEST_F(PartDrawing, LoadingAgainRedefinesTheBlock) {
    for (int pass = 0; pass < 2; ++pass) {
        PartType type = TypeFor(FixtureDir() / "flange.dxf", kKindPart, "FLANGE");
        ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << pass;
    }
    EXPECT_EQ(BlockEntities("FLANGE").size(), 6u);
    EXPECT_EQ(ModelSpaceCount(), 0u);
}

TEST_F(PartDrawing, RectangleTypeKeepsItsMadeContourOffsetAboutItsCentre) {
    // a rectangle type brings the contour made from its size; only the gap and the reference point apply
    State().HalfPartGap = 1.0;
    PartType type = TypeFor("Part_100x50", kKindPart, "Part_100x50");
    type.JobFileType = kJobFileRectangle;
    type.BasePoint = {50.0, 25.0};
    Contour rectangle;
    rectangle.ContourClass = kClassOuter;
    rectangle.GeometryKind = kGeometryChain;
    auto pl = host::db::LwPolyline();
    const host::ge::Point2d corners[] = {{0, 0}, {100, 0}, {100, 50}, {0, 50}};
    for (unsigned i = 0; i < 4; ++i) pl.addVertexAt(i, corners[i]);
    pl.setClosed(true);
    PolylineToContour(pl, rectangle);
    type.DrawingContours = {rectangle};
    ASSERT_EQ(BuildPartGeometry(State(), type), 0);
    ASSERT_EQ(type.Outers[0].size(), 1u);
    EXPECT_NEAR(type.OuterBox.minX, -51.0, 1e-6);
    EXPECT_NEAR(type.OuterBox.minY, -26.0, 1e-6);
    EXPECT_NEAR(type.OuterBox.maxX, 51.0, 1e-6);
    EXPECT_NEAR(type.OuterBox.maxY, 26.0, 1e-6);
    EXPECT_NEAR(type.Outers[0][0].Area, 5000.0, 1e-6);
}

// A stock-edge offset that takes the whole sheet (up to its allowed maximum) is told as such, not as a drawing to
// make contours for again; the stock is left out.
TEST_F(PartDrawing, AStockTooSmallForItsEdgeOffsetIsToldSo) {
    struct Case {
        double edge;
        bool loads;
    };
    for (const Case& c : {Case{124.0, true}, Case{125.0, false}, Case{10000.0, false}}) {
        SCOPED_TRACE(c.edge);
        host::ui::clearMessageBoxLog();
        State().EdgeGap = c.edge;
        PartType type = TypeFor("Stosk_400x250", kKindStock, "Stosk_400x250");
        type.JobFileType = kJobFileRectangle;
        type.Quantity = 2;
        type.BasePoint = {0.0, 0.0};
        Contour rectangle;
        rectangle.ContourClass = kClassOuter;
        rectangle.GeometryKind = kGeometryChain;
        auto pl = host::db::LwPolyline();
        const host::ge::Point2d corners[] = {{0, 0}, {400, 0}, {400, 250}, {0, 250}};
        for (unsigned i = 0; i < 4; ++i) pl.addVertexAt(i, corners[i]);
        pl.setClosed(true);
        PolylineToContour(pl, rectangle);
        type.DrawingContours = {rectangle};
        EXPECT_EQ(BuildPartGeometry(State(), type) == 0, c.loads);
        EXPECT_EQ(type.Quantity, c.loads ? 2 : 0);
        if (c.loads) {
            EXPECT_TRUE(MessageBoxTexts().empty()) << ::testing::PrintToString(MessageBoxTexts());
            continue;
        }
        EXPECT_TRUE(AnyContains(MessageBoxTexts(), "The stock 'Stosk_400x250' is too small for the offsets: a "
                                                   "stock-edge offset of " +
                                                       host::sys::formatShortest(c.edge) + " leaves no room on it."))
            << ::testing::PrintToString(MessageBoxTexts());
        EXPECT_FALSE(AnyContains(MessageBoxTexts(), "Recreate contours"));
    }
}

TEST_F(PartDrawing, MarkingPointJoinsTheBlockButIsNoContour) {
    PartType type = TypeFor(FixtureDir() / "rect_holes.dxf", kKindPart, "RECT");
    ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << ::testing::PrintToString(MessageBoxTexts());
    EXPECT_EQ(type.Outers[0].size(), 1u);
    EXPECT_EQ(type.Holes[0].size(), 2u);
    EXPECT_EQ(type.DrawingContourCount(), 3);
    const std::vector<std::string> block = BlockEntities("RECT");
    EXPECT_NE(std::find(block.begin(), block.end(), "POINT:MarkPoint"), block.end())
        << ::testing::PrintToString(block);
}

TEST_F(PartDrawing, StockOutlineIsCopiedOnceShrunkByTheEdgeGapAndMovedToTheOrigin) {
    // the remnant's outline is stored twice (as a contour and as the stock record)
    State().EdgeGap = 5.0;
    State().StockPointOrigin = {10.0, 20.0, 0.0};
    PartType type = TypeFor(FixtureDir() / "stock_remnant.dxf", kKindStock, "REMNANT");
    ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << ::testing::PrintToString(MessageBoxTexts());
    EXPECT_EQ(type.DrawingContourCount(), 2);
    ASSERT_EQ(type.Outers[0].size(), 1u);
    const BoundingBox& sheet = type.Outers[0][0].Box;
    EXPECT_NEAR(sheet.minX, 15.0, 1e-3);
    EXPECT_NEAR(sheet.minY, 25.0, 1e-3);
    EXPECT_NEAR(sheet.maxX, 1005.0, 1e-3);
    EXPECT_NEAR(sheet.maxY, 515.0, 1e-3);
    EXPECT_EQ(CircleRadii(type.Holes[0]), (std::vector<double>{45.0}));
    EXPECT_EQ(type.Holes[0][0].Colour, 241);
    EXPECT_EQ(type.Outers[0][0].LineType, "PHANTOM");
    EXPECT_EQ(BlockEntities("REMNANT").size(), 2u);
}

TEST_F(PartDrawing, StoredDwgNameReadsTheDxfBesideIt) {
    fs::copy_file(FixtureDir() / "flange.dxf", TempDir() / "flange.dxf");
    PartType type = TypeFor(TempDir() / "flange.dwg", kKindPart, "FLANGE");
    EXPECT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << ::testing::PrintToString(MessageBoxTexts());
}

TEST_F(PartDrawing, OlderDataVersionsLoadAlike) {
    struct Case {
        const char* what;
        std::function<void(Database&)> change;
        std::size_t holes;
    };
    const Case cases[] = {
        {"2008.0", [](Database& db) { SetVersion(db, 2008.0); }, 5},
        // in the older versions an entity that has gone is passed over
        {"2008.0, a bore erased", [](Database& db) { SetVersion(db, 2008.0), EraseStoredHole(db); }, 4},
        {"2005.0", [](Database& db) { RewriteAs2005(db); }, 5},
        {"2005.0, a bore erased", [](Database& db) { RewriteAs2005(db), EraseStoredHole(db); }, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path path = Changed("flange.dxf", c.change);
        PartType type = TypeFor(path, kKindPart, "FLANGE");
        ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << ::testing::PrintToString(MessageBoxTexts());
        EXPECT_EQ(type.Outers[0].size(), 1u);
        EXPECT_EQ(type.Holes[0].size(), c.holes);
        EXPECT_EQ(type.DrawingBox, (BoundingBox{0, 0, 100, 100}));
    }
}

TEST_F(PartDrawing, OpenCutsLoadAlikeInData2005) {
    // 2005.0 data stores no kinds: the engraving line is one more open contour there, and no text is copied
    const fs::path path = Changed("lshape.dxf", [](Database& db) { RewriteAs2005(db); });
    PartType type = TypeFor(path, kKindPart, "LSHAPE");
    ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << ::testing::PrintToString(MessageBoxTexts());
    EXPECT_EQ(type.Outers[0].size(), 1u);
    EXPECT_EQ(type.Holes[0].size(), 2u);
    EXPECT_EQ(type.Defects[0].size(), 2u);
    EXPECT_EQ(BlockEntities("LSHAPE").size(), 5u);
}

TEST_F(PartDrawing, RefusedDrawingsAreToldAndLeaveTheDrawingAsItWas) {
    struct Case {
        const char* what;
        fs::path path;
        std::uint8_t kind;
        std::vector<std::string> messages;
    };
    const std::string changed = "The file was changed without creating contours.";
    const std::string noContours = "does not contain contours.";
    const Case cases[] = {
        {"a missing file", TempDir() / "missing.dxf", kKindPart, {"Not find file  ", changed}},
        {"contours never made", FixtureDir() / "no_contours.dxf", kKindPart, {noContours, changed}},
        {"a stock with engraving", FixtureDir() / "stock_engraved.dxf", kKindStock,
         {"contains illegal types of contours"}},
        {"an old stock with engraving",
         Changed("stock_engraved.dxf", [](Database& db) { SetVersion(db, 2008.0); }), kKindStock,
         {"contains illegal types of contours"}},
        {"engraving only", FixtureDir() / "engrave_only.dxf", kKindPart, {"has no closed outer contour"}},
        {"an entity erased after its contours were made",
         Changed("flange.dxf", [](Database& db) { EraseStoredHole(db); }), kKindPart, {changed}},
        {"an unknown data version", Changed("flange.dxf", [](Database& db) { SetVersion(db, 2007.0); }),
         kKindPart, {noContours, changed}},
        {"a nested sheet's marker",
         Changed("flange.dxf",
                 [](Database& db) {
                     const ObjectId marker = MarkerOf(db);
                     ResBufList items = XData(marker);
                     items[2] = ResBuf(kStoredCodeLong, std::int64_t{2});
                     SetXData(marker, items);
                 }),
         kKindPart, {noContours, changed}},
        {"a batch cut short",
         Changed("flange.dxf",
                 [](Database& db) {
                     const ObjectId batch = db.idFromHandle(host::db::Handle(FirstBatchHandle(db)));
                     ResBufList items = XData(batch);
                     items.resize(items.size() - 3);
                     SetXData(batch, items);
                 }),
         kKindPart, {noContours, changed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host::ui::clearMessageBoxLog();
        PartType type = TypeFor(c.path, c.kind, "REFUSED");
        EXPECT_EQ(LoadDrawingEntry(State(), type), kEntryFailed);
        const std::vector<std::string> texts = MessageBoxTexts();
        ASSERT_EQ(texts.size(), c.messages.size()) << ::testing::PrintToString(texts);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_NE(texts[i].find(c.messages[i]), std::string::npos) << texts[i];
            EXPECT_NE(texts[i].find(c.path.string()), std::string::npos) << texts[i];
        }
        EXPECT_EQ(ModelSpaceCount(), 0u);
        EXPECT_TRUE(Current().recordId(host::db::TableKind::Block, "REFUSED").isNull());
        EXPECT_TRUE(type.Outers[0].empty() && type.Holes[0].empty() && type.Defects[0].empty());
        EXPECT_EQ(State().CopiedEntities.Count(), 0);
    }
}

TEST_F(PartDrawing, CheckingADrawingCopiesNothingAndRefusesAsTheLoadWould) {
    struct Case {
        const char* what;
        fs::path path;
        std::uint8_t kind;
        int answer;
        const char* message;  // empty: no message box
    };
    const Case cases[] = {
        {"a part with contours", FixtureDir() / "flange.dxf", kKindPart, kDrawingRead, ""},
        {"a remnant stock", FixtureDir() / "stock_remnant.dxf", kKindStock, kDrawingRead, ""},
        {"engraving on a part", FixtureDir() / "stock_engraved.dxf", kKindPart, kDrawingRead, ""},
        {"a missing file", TempDir() / "missing.dxf", kKindPart, kDrawingUnusable, "Not find file  "},
        {"contours never made", FixtureDir() / "no_contours.dxf", kKindPart, kDrawingUnusable,
         "does not contain contours."},
        {"a stock with engraving", FixtureDir() / "stock_engraved.dxf", kKindStock, kDrawingIllegalStockContours,
         "contains illegal types of contours"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host::ui::clearMessageBoxLog();
        const PartType type = TypeFor(c.path, c.kind, "CHECKED");
        EXPECT_EQ(CheckPartDrawing(type), c.answer);
        const std::vector<std::string> texts = MessageBoxTexts();
        if (*c.message == '\0') {
            EXPECT_TRUE(texts.empty()) << ::testing::PrintToString(texts);
        } else {
            ASSERT_EQ(texts.size(), 1u) << ::testing::PrintToString(texts);
            EXPECT_NE(texts[0].find(c.message), std::string::npos) << texts[0];
        }
        EXPECT_EQ(ModelSpaceCount(), 0u);
        EXPECT_EQ(State().CopiedEntities.Count(), 0);
    }
}

TEST_F(PartDrawing, WhileACacheIsOpenTheLoadTakesTheDrawingTheCheckRead) {
    // A copy of the drawing that is gone after the check: only what the check kept can be loaded.
    const fs::path copy = TempDir() / "kept_flange.dxf";
    fs::copy_file(FixtureDir() / "flange.dxf", copy, fs::copy_options::overwrite_existing);
    PartType type = TypeFor(copy, kKindPart, "KEPT");
    {
        DrawingReadCache cache;
        ASSERT_EQ(CheckPartDrawing(type), kDrawingRead);
        fs::remove(copy);
        EXPECT_EQ(ReadPartDrawing(State(), type), kDrawingRead);
        EXPECT_GT(State().CopiedEntities.Count(), 0);
        EraseCopiedEntities(State());
        // taken once: a second load reads the file, which is gone
        EXPECT_EQ(ReadPartDrawing(State(), type), kDrawingUnusable);
    }
    // Without a cache the check keeps nothing.
    fs::copy_file(FixtureDir() / "flange.dxf", copy);
    ASSERT_EQ(CheckPartDrawing(type), kDrawingRead);
    fs::remove(copy);
    EXPECT_EQ(ReadPartDrawing(State(), type), kDrawingUnusable);
}

TEST_F(PartDrawing, RefusalMessagesHaveTheirRussianForm) {
    SetLibraryLanguage(Language::Russian);
    PartType type = TypeFor(FixtureDir() / "stock_engraved.dxf", kKindStock, "REFUSED");
    EXPECT_EQ(LoadDrawingEntry(State(), type), kEntryFailed);
    EXPECT_TRUE(AnyContains(MessageBoxTexts(), "содержит недопустимые типы контуров"))
        << ::testing::PrintToString(MessageBoxTexts());
}

TEST_F(PartDrawing, ContourThatCannotBeReadExcludesItsPart) {
    // a polyline copy that has gone before its contour is built: the part is excluded, not nested without it
    PartType type = TypeFor(FixtureDir() / "rect_holes.dxf", kKindPart, "RECT", 4);
    ASSERT_EQ(ReadPartDrawing(State(), type), kDrawingRead);
    for (std::size_t i = 0; i < type.DrawingContours.size(); ++i) {
        if (type.DrawingContours[i].GeometryKind != kGeometryChain) continue;
        ObjectPtr<host::db::Entity> e(host::db::nameToId(State().CopiedEntities.Names()[i]), OpenMode::Write);
        ASSERT_TRUE(e);
        e->erase();
    }
    EXPECT_NE(BuildPartGeometry(State(), type), 0);
    EXPECT_EQ(type.Quantity, 0);
    EXPECT_TRUE(AnyContains(MessageBoxTexts(), "Part will be excluded from placement!!!"));
    EraseCopiedEntities(State());
}

TEST_F(PartDrawing, PolylineThatIsNoLongerOneLosesAHoleButExcludesAnOutline) {
    // A contour made on a lightweight polyline whose entity is now something else (an older format's polyline
    // with vertices, an entity replaced after the contours were made). A part without one of its holes is still
    // safe to nest; without its outline it would be placed over its neighbours, and a stock without its cut-out
    // would have parts placed over the gap: those two are excluded.
    const std::string excluded = "Part will be excluded from placement!!!";
    struct Case {
        const char* what;
        const char* fixture;
        std::uint8_t kind;
        std::uint8_t replaced;
        Language language;
        std::string message;   // after the path
        int quantity;   // 0: excluded
    };
    const Case cases[] = {
        {"part hole", "lshape.dxf", kKindPart, kPlacementInner, Language::English,
         "\n\rRecreate contours this part and repeat command nesting", 3},
        {"part hole, Russian", "lshape.dxf", kKindPart, kPlacementInner, Language::Russian,
         "\n\rПересоздайте контуры этой детали и повторите команду раскроя", 3},
        {"part outline", "lshape.dxf", kKindPart, kPlacementOuter, Language::English, excluded, 0},
        {"stock cut-out", "stock_remnant.dxf", kKindStock, kPlacementInner, Language::English, excluded, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host::ui::clearMessageBoxLog();
        SetLibraryLanguage(c.language);
        const fs::path path =
            Changed(c.fixture, [&](Database& db) { RedrawStoredAsOldPolyline(db, c.replaced); });
        PartType type = TypeFor(path, c.kind, "CHANGED", 3);
        ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << ::testing::PrintToString(MessageBoxTexts());
        EXPECT_EQ(type.Quantity, c.quantity);
        const auto& boxes = host::ui::messageBoxLog();
        ASSERT_EQ(boxes.size(), 1u) << ::testing::PrintToString(MessageBoxTexts());
        EXPECT_NE(boxes[0].text.find(path.string()), std::string::npos) << boxes[0].text;
        EXPECT_NE(boxes[0].text.find(c.message), std::string::npos) << boxes[0].text;
        if (c.quantity > 0) {
            // nested with its outline and the other hole
            EXPECT_EQ(type.Outers[0].size(), 1u);
            EXPECT_EQ(type.Holes[0].size(), 1u);
            // the Part's own text, shown as the reader's errors are; the hole's entity still draws in the block
            const std::string start = c.language == Language::English ? "Error reading file " : "Ошибка чтения файла ";
            EXPECT_EQ(boxes[0].text, start + path.string() + c.message);
            EXPECT_EQ(boxes[0].style, host::ui::MB_OK | host::ui::MB_ICONERROR);
            const std::vector<std::string> block = BlockEntities("CHANGED");
            EXPECT_TRUE(std::any_of(block.begin(), block.end(),
                                    [](const std::string& e) { return e.starts_with("POLYLINE:"); }))
                << ::testing::PrintToString(block);
        }
    }
}

TEST_F(PartDrawing, SizeOfAStoredDrawing) {
    struct Case {
        const char* what;
        fs::path path;
        int result;
        double width, height;
        const char* message;
    };
    const Case cases[] = {
        {"flange", FixtureDir() / "flange.dxf", kSizeRead, 100, 100, nullptr},
        {"remnant", FixtureDir() / "stock_remnant.dxf", kSizeRead, 1000, 500, nullptr},
        {"missing", TempDir() / "missing.dxf", kSizeFileUnreadable, -1, -1, "The file  "},
        {"no contours", FixtureDir() / "no_contours.dxf", kSizeNoContours, -1, -1, "does not contain contours"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool show : {false, true}) {
            host::ui::clearMessageBoxLog();
            double w = -1, h = -1;
            EXPECT_EQ(ReadPartDrawingSize(c.path.string(), w, h, show), c.result);
            EXPECT_NEAR(w, c.width, kTol);
            EXPECT_NEAR(h, c.height, kTol);
            EXPECT_EQ(MessageBoxTexts().size(), show && c.message ? 1u : 0u);
            if (show && c.message) {
                EXPECT_TRUE(AnyContains(MessageBoxTexts(), c.message));
            }
        }
    }
}

// A customer's part drawn in inches came into a millimetre job 25.4 times too small: listed as 100 x 100 beside
// millimetre parts and nested so. A drawing in the other unit is brought into the job's unit as it is read, and
// the user is told which drawing was scaled; the size the job dialog lists agrees.
TEST_F(PartDrawing, ADrawingInTheOtherUnitIsBroughtIntoTheJobsUnit) {
    const fs::path inches = Changed("flange.dxf", [](Database& db) { db.header().insUnits = 1; });
    struct Case {
        const char* what;
        fs::path path;
        int jobUnit;
        double size, outer;
        std::vector<double> holes;
        const char* note;  // the unit words of the line printed, nullptr when nothing is scaled
    };
    const Case cases[] = {
        {"inches into millimetres", inches, kUnitMillimetres, 2540.0, 1270.0, {127, 127, 127, 127, 304.8},
         "is drawn in inches: it is scaled into millimetres, the unit of the job."},
        {"inches in an inch job", inches, kUnitInches, 100.0, 50.0, {5, 5, 5, 5, 12}, nullptr},
        {"millimetres into inches", FixtureDir() / "flange.dxf", kUnitInches, 100.0 / 25.4, 1.969,
         {0.197, 0.197, 0.197, 0.197, 0.472}, "is drawn in millimetres: it is scaled into inches, the unit of the job."},
    };
    PartType reference = TypeFor(FixtureDir() / "flange.dxf", kKindPart, "REFERENCE");
    ASSERT_EQ(LoadDrawingEntry(State(), reference), kEntryLoaded);
    const double referenceArea = reference.Area;
    ASSERT_GT(referenceArea, 0.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host::ed::transcript().clear();
        State().Unit = c.jobUnit;
        PartType type = TypeFor(c.path, kKindPart, "FLANGE");
        ASSERT_EQ(LoadDrawingEntry(State(), type), kEntryLoaded) << ::testing::PrintToString(MessageBoxTexts());
        EXPECT_NEAR(type.DrawingBox.maxX, c.size, kTol);
        EXPECT_NEAR(type.DrawingBox.maxY, c.size, kTol);
        EXPECT_NEAR(type.BasePoint.x, c.size / 2.0, kTol);
        EXPECT_EQ(CircleRadii(type.Outers[0]), (std::vector<double>{c.outer}));
        EXPECT_EQ(CircleRadii(type.Holes[0]), c.holes);
        EXPECT_NEAR(type.Area, referenceArea * (c.size / 100.0) * (c.size / 100.0), 1e-6 * referenceArea);
        const std::string text = host::ed::transcript().text();
        if (c.note != nullptr) {
            EXPECT_NE(text.find("The drawing " + c.path.string() + " " + c.note), std::string::npos) << text;
        } else {
            EXPECT_EQ(text.find("is scaled into"), std::string::npos) << text;
        }
        double w = -1, h = -1;
        EXPECT_EQ(ReadPartDrawingSize(c.path.string(), w, h, false, c.jobUnit), kSizeRead);
        EXPECT_NEAR(w, c.size, kTol);
        EXPECT_NEAR(h, c.size, kTol);
    }
}

}  // namespace
}  // namespace drawing_testing
