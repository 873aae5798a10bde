// The headless display: zooms and the view they leave, regens and redraws clearing temporary vectors,
// highlight as entity state, entity redraw modes, and the event log.
#include "host/ed/display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "host/ed/drawing_svg.h"
#include "host/ed/tests/input_test_drawing.h"

namespace host::ed {
namespace {

using ge::Point2d;
using ge::Point3d;
using testing::TestDrawing;

// The view with an aspect the tests choose (a new drawing's viewport is square).
void setAspect(db::Database& db, double aspect) {
    db::ObjectPtr<db::ViewportTableRecord> vp(db.recordId(db::TableKind::Viewport, "*Active"), db::OpenMode::Write);
    ASSERT_TRUE(vp);
    ASSERT_EQ(vp->setView(vp->center(), vp->height(), aspect), db::Status::Ok);
}

std::vector<std::string> logLines() {
    std::vector<std::string> out;
    for (const DisplayEvent& e : displayLog()) out.push_back(describe(e));
    return out;
}

TEST(Display, ZoomsSetTheViewKeptInTheViewportRecord) {
    TestDrawing d;
    setAspect(d.db(), 2.0);
    struct Case {
        const char* what;
        bool (*zoom)(db::Database&);
        Point2d center;
        double height;
    };
    const Case cases[] = {
        // A window twice as wide as high fits exactly at aspect 2.
        {"window 0,0 40,20", [](db::Database& db) { return zoomWindow(db, {40, 20}, {0, 0}); }, {20, 10}, 20},
        // A tall window sets the height; a wide one sets it through the aspect.
        {"tall window", [](db::Database& db) { return zoomWindow(db, {0, 0}, {10, 30}); }, {5, 15}, 30},
        {"wide window", [](db::Database& db) { return zoomWindow(db, {0, 0}, {100, 10}); }, {50, 5}, 50},
        {"center", [](db::Database& db) { return zoomCenter(db, {7, -3}, 12.5); }, {7, -3}, 12.5},
        {"scale 2x", [](db::Database& db) { return zoomScale(db, 2.0); }, {7, -3}, 6.25},
        // A window of no size only moves the centre.
        {"point window", [](db::Database& db) { return zoomWindow(db, {1, 1}, {1, 1}); }, {1, 1}, 6.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.zoom(d.db()));
        const View v = viewOf(d.db());
        EXPECT_DOUBLE_EQ(v.center.x, c.center.x);
        EXPECT_DOUBLE_EQ(v.center.y, c.center.y);
        EXPECT_DOUBLE_EQ(v.height, c.height);
        EXPECT_DOUBLE_EQ(v.aspect, 2.0);
    }
    // The record holds it, so a saved drawing keeps its view.
    const auto* vp = dynamic_cast<const db::ViewportTableRecord*>(
        d.db().peek(d.db().recordId(db::TableKind::Viewport, "*Active")));
    ASSERT_NE(vp, nullptr);
    EXPECT_DOUBLE_EQ(vp->height(), 6.25);
}

TEST(Display, RefusedZoomsChangeNothing) {
    TestDrawing d;
    ASSERT_TRUE(zoomCenter(d.db(), {1, 2}, 3));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(zoomCenter(d.db(), {0, 0}, 0));
    EXPECT_FALSE(zoomCenter(d.db(), {0, 0}, -5));
    EXPECT_FALSE(zoomCenter(d.db(), {nan, 0}, 5));
    EXPECT_FALSE(zoomScale(d.db(), 0));
    EXPECT_FALSE(zoomScale(d.db(), std::numeric_limits<double>::infinity()));
    const View v = viewOf(d.db());
    EXPECT_EQ(v.center, Point2d(1, 2));
    EXPECT_EQ(v.height, 3);
}

TEST(Display, ZoomExtentsFitsTheDrawingAndKeepsTheViewOfAnEmptyOne) {
    TestDrawing d;
    ASSERT_TRUE(zoomCenter(d.db(), {5, 5}, 8));
    EXPECT_TRUE(zoomExtents(d.db()));  // nothing drawn: the view stays
    EXPECT_EQ(viewOf(d.db()).height, 8);

    d.line({-10, 0, 0}, {30, 10, 0});
    ASSERT_TRUE(zoomExtents(d.db()));
    View v = viewOf(d.db());
    EXPECT_EQ(v.center, Point2d(10, 5));
    EXPECT_DOUBLE_EQ(v.height, 40);  // square view: the width decides

    // One point is centred at the height the view had.
    TestDrawing p;
    ASSERT_TRUE(zoomCenter(p.db(), {0, 0}, 4));
    p.point({3, 3, 0});
    ASSERT_TRUE(zoomExtents(p.db()));
    v = viewOf(p.db());
    EXPECT_EQ(v.center, Point2d(3, 3));
    EXPECT_EQ(v.height, 4);
}

TEST(Display, PixelsBecomeUnitsAtTheViewScale) {
    TestDrawing d;
    ASSERT_TRUE(zoomCenter(d.db(), {0, 0}, 250));
    EXPECT_DOUBLE_EQ(unitsPerPixel(d.db()), 0.25);
    EXPECT_DOUBLE_EQ(pixelsToUnits(d.db(), 3), 0.75);
}

TEST(Display, RegenAndRedrawClearTemporaryVectorsAndAreCounted) {
    TestDrawing d;
    clearDisplayLog();
    drawTemporaryVector(d.db(), {{0, 0, 0}, {10, 0, 0}, 1, false});
    drawTemporaryVector(d.db(), {{0, 0, 0}, {0, 10, 0}, -3, true});
    ASSERT_EQ(temporaryVectors(d.db()).size(), 2u);
    EXPECT_EQ(temporaryVectors(d.db())[1].color, -3);

    redraw(d.db());
    EXPECT_TRUE(temporaryVectors(d.db()).empty());
    drawTemporaryVector(d.db(), {{1, 1, 0}, {2, 2, 0}, 7, false});
    regen(d.db());
    EXPECT_TRUE(temporaryVectors(d.db()).empty());
    // A zoom redraws too.
    drawTemporaryVector(d.db(), {{1, 1, 0}, {2, 2, 0}, 7, false});
    ASSERT_TRUE(zoomCenter(d.db(), {0, 0}, 10));
    EXPECT_TRUE(temporaryVectors(d.db()).empty());

    EXPECT_EQ(regenCount(d.db()), 1);
    EXPECT_EQ(redrawCount(d.db()), 2);
    const std::vector<std::string> expected = {
        "vector: 0,0 to 10,0 color 1", "vector: 0,0 to 0,10 color -3 highlighted", "redraw",
        "vector: 1,1 to 2,2 color 7",  "regen",
        "vector: 1,1 to 2,2 color 7",  "zoom center: center 0,0 height 10", "redraw",
    };
    EXPECT_EQ(logLines(), expected);

    // A closed drawing's state is forgotten; its counts start again.
    forgetDisplay(d.db());
    EXPECT_EQ(regenCount(d.db()), 0);
}

TEST(Display, HighlightIsEntityStateThatStaysThroughRegen) {
    TestDrawing d;
    const db::ObjectId a = d.line({0, 0, 0}, {1, 0, 0});
    const db::ObjectId b = d.line({0, 1, 0}, {1, 1, 0});
    const db::ObjectId c = d.line({0, 2, 0}, {1, 2, 0});
    clearDisplayLog();
    ASSERT_TRUE(highlight(c, true));
    ASSERT_TRUE(highlight(a, true));
    regen(d.db());
    EXPECT_EQ(highlightedEntities(d.db()), (std::vector<db::ObjectId>{a, c}));  // drawing order
    ASSERT_TRUE(redrawEntity(a, RedrawMode::Unhighlight));
    EXPECT_EQ(highlightedEntities(d.db()), (std::vector<db::ObjectId>{c}));
    // Highlighting changes nothing in the drawing: no undo, not modified.
    d.db().clearModified();
    ASSERT_TRUE(highlight(b, true));
    EXPECT_FALSE(d.db().isModified());

    // An entity its caller holds open for write (a jig's) can be highlighted too.
    {
        db::ObjectPtr<db::Entity> open(c, db::OpenMode::Write);
        ASSERT_TRUE(redrawEntity(c, RedrawMode::Unhighlight));
        EXPECT_FALSE(open->isHighlighted());
        ASSERT_TRUE(highlight(c, true));
    }
    // Refusals: nothing, an erased entity, an object that is not an entity.
    d.erase(b);
    EXPECT_FALSE(highlight(b, false));
    EXPECT_FALSE(highlight({}, true));
    EXPECT_FALSE(highlight(d.db().recordId(db::TableKind::Layer, "0"), true));

    const std::string ha = d.db().handleOf(a).text(), hc = d.db().handleOf(c).text();
    const std::vector<std::string> expected = {"highlight " + hc,   "highlight " + ha,
                                               "regen",              "unhighlight " + ha,
                                               "highlight " + d.db().handleOf(b).text(), "unhighlight " + hc,
                                               "highlight " + hc};
    EXPECT_EQ(logLines(), expected);
}

TEST(Display, UndrawnEntitiesComeBackAtTheNextRedraw) {
    TestDrawing d;
    const db::ObjectId a = d.line({0, 0, 0}, {1, 0, 0});
    ASSERT_TRUE(redrawEntity(a, RedrawMode::Undraw));
    EXPECT_TRUE(isUndrawn(a));
    ASSERT_TRUE(redrawEntity(a, RedrawMode::Draw));
    EXPECT_FALSE(isUndrawn(a));
    ASSERT_TRUE(redrawEntity(a, RedrawMode::Undraw));
    redraw(d.db());
    EXPECT_FALSE(isUndrawn(a));
}

TEST(Display, TheLogKeepsItsNewestEvents) {
    clearDisplayLog();
    for (std::size_t i = 0; i < kDisplayLogLimit + 5; ++i) updateDisplay();
    EXPECT_LE(displayLog().size(), kDisplayLogLimit);
    EXPECT_EQ(displayLog().size() + displayLogDropped(), kDisplayLogLimit + 5);
    clearDisplayLog();
    EXPECT_TRUE(displayLog().empty());
    EXPECT_EQ(displayLogDropped(), 0u);
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(DisplayPicture, HighlightsShowDashedOverAHalo) {
    TestDrawing d;
    const db::ObjectId a = d.line({0, 0, 0}, {10, 0, 0});
    d.line({0, 5, 0}, {10, 5, 0});
    ASSERT_TRUE(highlight(a, true));
    const SvgPicture picture = renderSvg(d.db());
    const std::string& svg = picture.text;
    const std::string handle = "data-handle=\"" + d.db().handleOf(a).text() + "\"";
    EXPECT_EQ(picture.report.highlighted, 1u);
    EXPECT_EQ(occurrences(svg, "<g class=\"highlight-halo\">"), 1u);
    EXPECT_EQ(occurrences(svg, "<g class=\"highlighted\" " + handle + ">"), 1u);
    EXPECT_EQ(occurrences(svg, "<style>"), 1u);
    EXPECT_EQ(occurrences(svg, "<path "), 3u);  // the highlighted line twice, the other once
    // The style sheet comes before the elements it styles.
    EXPECT_LT(svg.find("<style>"), svg.find("<path "));

    // Without the display, or once the highlight is off, the picture is the drawing alone.
    SvgOptions plain;
    plain.showDisplay = false;
    EXPECT_EQ(renderSvg(d.db(), plain).text.find("highlight"), std::string::npos);
    ASSERT_TRUE(highlight(a, false));
    EXPECT_EQ(renderSvg(d.db()).text.find("<style>"), std::string::npos);
}

TEST(DisplayPicture, TemporaryVectorsShowUntilTheNextRegen) {
    TestDrawing d;
    d.line({0, 0, 0}, {10, 10, 0});
    drawTemporaryVector(d.db(), {{0, 0, 0}, {100, 0, 0}, 1, false});
    drawTemporaryVector(d.db(), {{0, 0, 0}, {0, 10, 0}, -5, true});
    std::string svg = renderSvg(d.db()).text;
    EXPECT_NE(svg.find("<g class=\"temporary-vectors\">"), std::string::npos);
    EXPECT_NE(svg.find("<line x1=\"0\" y1=\"0\" x2=\"100\" y2=\"0\" stroke=\"#ff0000\"/>"), std::string::npos);
    EXPECT_NE(svg.find("x2=\"0\" y2=\"-10\" stroke=\"#0000ff\" stroke-dasharray="), std::string::npos);
    // The view box takes the vector that reaches past the drawing (x to 100, with the 5 % margin).
    EXPECT_NE(svg.find("viewBox=\"-5 -15 110 20\""), std::string::npos) << svg.substr(0, 300);
    regen(d.db());
    svg = renderSvg(d.db()).text;
    EXPECT_EQ(svg.find("temporary-vectors"), std::string::npos);
}

}  // namespace
}  // namespace host::ed
