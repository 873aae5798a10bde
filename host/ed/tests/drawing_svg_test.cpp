// The SVG picture of a drawing: elements per entity kind, arcs and their direction, colours, line types,
// visibility, blocks, texts, the view box, and writing the file.
#include "host/ed/drawing_svg.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/ge/angle.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::ed {
namespace {

using db::ObjectId;
using db::OpenMode;
using ge::Point3d;
using ge::kPi;

// A drawing built in code, with helpers for the tables the tests need and for finding an entity's element.
class Drawing {
public:
    Drawing() { db::setWorkingDatabase(&db_); }
    ~Drawing() { db::setWorkingDatabase(nullptr); }

    db::Database& db() { return db_; }

    // Appends an entity to a block (model space by default) and answers its handle text. An entity without a
    // layer is put on layer "0" first, so that it keeps the colour and line type the test gave it (appending
    // gives an entity without a layer the drawing's current ones).
    std::string add(std::unique_ptr<db::Entity> e, ObjectId block = {}) {
        if (e->layerId().isNull()) e->setLayer(db_.recordId(db::TableKind::Layer, "0"));
        db::ObjectPtr<db::BlockTableRecord> space(block.isNull() ? db_.modelSpaceId() : block, OpenMode::Write);
        EXPECT_TRUE(space) << "cannot open the block for write";
        ObjectId id;
        EXPECT_EQ(space->appendEntity(std::move(e), &id), db::Status::Ok);
        return id.handle().text();
    }
    ObjectId addLayer(const std::string& name, int color, ObjectId linetype = {}) {
        auto layer = std::make_unique<db::LayerTableRecord>(name);
        layer->setColor(db::Color::fromIndex(color));
        layer->setLinetypeId(linetype.isNull() ? db_.recordId(db::TableKind::Linetype, "Continuous") : linetype);
        return addRecord(db::TableKind::Layer, std::move(layer));
    }
    ObjectId addLinetype(const std::string& name, std::vector<double> dashes) {
        auto lt = std::make_unique<db::LinetypeTableRecord>(name);
        lt->setDashes(std::move(dashes));
        return addRecord(db::TableKind::Linetype, std::move(lt));
    }
    ObjectId addBlock(const std::string& name) {
        return addRecord(db::TableKind::Block, std::make_unique<db::BlockTableRecord>(name));
    }
    void setLayerState(ObjectId layer, bool off, bool frozen) {
        db::ObjectPtr<db::LayerTableRecord> l(layer, OpenMode::Write);
        l->setIsOff(off);
        l->setIsFrozen(frozen);
    }

    SvgPicture render(const SvgOptions& options = {}) { return renderSvg(db_, options); }

private:
    ObjectId addRecord(db::TableKind kind, std::unique_ptr<db::SymbolTableRecord> record) {
        db::ObjectPtr<db::SymbolTable> table(db_.tableId(kind), OpenMode::Write);
        ObjectId id;
        EXPECT_EQ(table->add(std::move(record), &id), db::Status::Ok);
        return id;
    }

    db::Database db_;
};

// The element line drawn for an entity handle, or "" when the picture has none.
std::string elementOf(const std::string& svg, const std::string& handle) {
    const std::string key = "data-handle=\"" + handle + "\"";
    std::size_t at = svg.find(key);
    if (at == std::string::npos) return {};
    std::size_t begin = svg.rfind('\n', at);
    begin = begin == std::string::npos ? 0 : begin + 1;
    return svg.substr(begin, svg.find('\n', at) - begin);
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

std::unique_ptr<db::Line> line(Point3d a, Point3d b) { return std::make_unique<db::Line>(a, b); }

template <class T>
std::unique_ptr<T> colored(std::unique_ptr<T> e, int aci) {
    e->setColorIndex(aci);
    return e;
}

std::unique_ptr<db::LwPolyline> polyline(std::vector<db::LwPolyline::Vertex> vertices, bool closed = false) {
    auto p = std::make_unique<db::LwPolyline>();
    for (unsigned i = 0; i < vertices.size(); ++i) p->addVertexAt(i, vertices[i].point, vertices[i].bulge);
    p->setClosed(closed);
    return p;
}

TEST(DrawingSvg, EachEntityKindGivesItsElement) {
    Drawing d;
    const std::string hLine = d.add(line({0, 0}, {10, 5}));
    const std::string hCircle = d.add(std::make_unique<db::Circle>(Point3d(5, 5), 2.0));
    const std::string hArc = d.add(std::make_unique<db::Arc>(Point3d(0, 0), 10.0, 0.0, kPi / 2));
    const std::string hPoint = d.add(std::make_unique<db::PointEntity>(Point3d(3, 4)));
    const std::string svg = d.render().text;

    EXPECT_EQ(elementOf(svg, hLine), "<path d=\"M 0 0 L 10 -5\" stroke=\"#000000\" data-handle=\"" + hLine + "\"/>");
    EXPECT_EQ(elementOf(svg, hCircle),
              "<circle cx=\"5\" cy=\"-5\" r=\"2\" stroke=\"#000000\" data-handle=\"" + hCircle + "\"/>");
    EXPECT_EQ(elementOf(svg, hArc),
              "<path d=\"M 10 0 A 10 10 0 0 0 0 -10\" stroke=\"#000000\" data-handle=\"" + hArc + "\"/>");
    EXPECT_NE(elementOf(svg, hPoint).find("<circle cx=\"3\" cy=\"-4\""), std::string::npos) << svg;
    EXPECT_NE(elementOf(svg, hPoint).find("fill=\"#000000\" stroke=\"none\""), std::string::npos) << svg;
}

TEST(DrawingSvg, PolylineBulgesBecomeArcsTurningTheRightWay) {
    // Counter-clockwise in the drawing is SVG's sweep flag 0 once the picture flips y; a half turn is written as
    // two quarter-turn pieces so the large-arc flag never decides anything.
    struct Case {
        const char* what;
        std::vector<db::LwPolyline::Vertex> vertices;
        bool closed;
        std::string d;
    };
    const double quarter = std::tan(kPi / 8);
    const Case cases[] = {
        {"straight", {{{0, 0}}, {{10, 0}}, {{10, 10}}}, false, "M 0 0 L 10 0 L 10 -10"},
        {"half turn left", {{{0, 0}}, {{10, 0}, 1.0}, {{10, 10}}}, false,
         "M 0 0 L 10 0 A 5 5 0 0 0 15 -5 A 5 5 0 0 0 10 -10"},
        {"half turn right", {{{0, 0}}, {{10, 0}, -1.0}, {{10, 10}}}, false,
         "M 0 0 L 10 0 A 5 5 0 0 1 5 -5 A 5 5 0 0 1 10 -10"},
        {"rounded corner, closed", {{{0, 0}}, {{20, 0}}, {{20, 10}, quarter}, {{10, 20}}, {{0, 20}}}, true,
         "M 0 0 L 20 0 L 20 -10 A 10 10 0 0 0 10 -20 L 0 -20 L 0 0 Z"},
        {"closing segment with a bulge", {{{0, 0}}, {{10, 0}, 0.0}, {{10, 10}, 0.0}, {{0, 10}, 1.0}}, true,
         "M 0 0 L 10 0 L 10 -10 L 0 -10 A 5 5 0 0 0 -5 -5 A 5 5 0 0 0 0 0 Z"},
    };
    for (const Case& c : cases) {
        Drawing d;
        const std::string h = d.add(polyline(c.vertices, c.closed));
        EXPECT_EQ(elementOf(d.render().text, h),
                  "<path d=\"" + c.d + "\" stroke=\"#000000\" data-handle=\"" + h + "\"/>")
            << c.what;
    }
}

// Appends an old-style polyline with its vertices to model space; answers its handle text.
template <class Polyline>
std::string addVertexPolyline(Drawing& d, const std::vector<std::pair<Point3d, double>>& vertices, bool closed) {
    ObjectId id;
    {
        db::ObjectPtr<db::BlockTableRecord> ms(d.db().modelSpaceId(), OpenMode::Write);
        auto p = std::make_unique<Polyline>();
        p->setLayer(d.db().recordId(db::TableKind::Layer, "0"));
        EXPECT_EQ(ms->appendEntity(std::move(p), &id), db::Status::Ok);
    }
    db::ObjectPtr<Polyline> p(id, OpenMode::Write);
    for (const auto& [point, bulge] : vertices) p->appendVertex(std::make_unique<db::PolylineVertex>(point, bulge));
    p->setClosed(closed);
    return id.handle().text();
}

TEST(DrawingSvg, OldStylePolylinesWithBulgesAnd3dPolylines) {
    Drawing d;
    const std::string h2 = addVertexPolyline<db::Polyline2d>(d, {{{0, 0}, 0.0}, {{10, 0}, 1.0}, {{10, 10}, 0.0}}, true);
    // A 3D polyline is drawn in plan view: its heights do not show, and it has no arcs.
    const std::string h3 =
        addVertexPolyline<db::Polyline3d>(d, {{{0, 0, 0}, 0.0}, {{10, 0, 5}, 0.0}, {{10, 10, -3}, 0.0}}, false);
    const std::string svg = d.render().text;
    EXPECT_EQ(elementOf(svg, h2), "<path d=\"M 0 0 L 10 0 A 5 5 0 0 0 15 -5 A 5 5 0 0 0 10 -10 L 0 0 Z\" "
                                  "stroke=\"#000000\" data-handle=\"" + h2 + "\"/>");
    EXPECT_EQ(elementOf(svg, h3), "<path d=\"M 0 0 L 10 0 L 10 -10\" stroke=\"#000000\" data-handle=\"" + h3 + "\"/>");
}

TEST(DrawingSvg, EllipsesAndSplinesAreDrawnAsChords) {
    Drawing d;
    auto whole = std::make_unique<db::Ellipse>();
    ASSERT_EQ(whole->set({0, 0}, ge::Vector3d::kZAxis(), {2, 0, 0}, 0.5), db::Status::Ok);
    auto half = std::make_unique<db::Ellipse>();
    ASSERT_EQ(half->set({0, 0}, ge::Vector3d::kZAxis(), {2, 0, 0}, 0.5, 0.0, kPi), db::Status::Ok);
    auto spline = std::make_unique<db::Spline>();
    ASSERT_EQ(spline->setNurbsData(1, 8, {0, 0, 1, 2, 2}, {{0, 0}, {10, 0}, {10, 10}}), db::Status::Ok);
    const std::string hWhole = d.add(std::move(whole)), hHalf = d.add(std::move(half)),
                      hSpline = d.add(std::move(spline));
    const std::string svg = d.render().text;

    const std::string w = elementOf(svg, hWhole);
    EXPECT_EQ(w.rfind("<path d=\"M 2 0 L ", 0), 0u) << w;
    EXPECT_NE(w.find(" L 0 -1 "), std::string::npos) << "the end of the minor axis, 0.5 x 2 up in the drawing";
    EXPECT_NE(w.find(" L 2 0 Z\""), std::string::npos) << w;
    EXPECT_EQ(count(w, " L "), 64u);
    const std::string h = elementOf(svg, hHalf);
    EXPECT_NE(h.find(" L -2 0\""), std::string::npos) << h;
    EXPECT_EQ(count(h, " L "), 32u);
    const std::string s = elementOf(svg, hSpline);
    EXPECT_EQ(s.rfind("<path d=\"M 0 0 L ", 0), 0u) << s;
    EXPECT_NE(s.find(" L 10 0 "), std::string::npos) << s;
    EXPECT_NE(s.find(" L 10 -10\""), std::string::npos) << s;
}

// A spline stored by fit points alone was drawn as the polygon through them. It is drawn along its curve: seven
// points of a quarter circle of radius 100 give a path whose every point lies on the circle.
TEST(DrawingSvg, ASplineGivenByFitPointsIsDrawnAlongItsCurve) {
    Drawing d;
    std::vector<Point3d> fit;
    for (int i = 0; i <= 6; ++i) fit.emplace_back(100.0 * std::cos(kPi / 12 * i), 100.0 * std::sin(kPi / 12 * i));
    auto spline = std::make_unique<db::Spline>();
    ASSERT_EQ(spline->setFitData(fit), db::Status::Ok);
    const std::string h = d.add(std::move(spline));
    const std::string path = elementOf(d.render().text, h);
    ASSERT_EQ(path.rfind("<path d=\"M 100 0 L ", 0), 0u) << path;
    std::istringstream words(path.substr(std::string("<path d=\"").size(), path.find('"', 9) - 9));
    std::string command;
    double x = 0, y = 0, worst = 0;
    std::size_t points = 0;
    while (words >> command >> x >> y) {
        worst = std::max(worst, std::abs(std::hypot(x, y) - 100.0));  // the picture's y runs down: no matter here
        ++points;
    }
    EXPECT_GT(points, 6u * 8u) << path;
    EXPECT_LT(worst, 0.02) << path;
}

TEST(DrawingSvg, NormalDownTurnsCirclesAndPolylinesOver) {
    // Mirrored parts often come with the normal (0, 0, -1): angles and polyline coordinates are then measured
    // in a plane whose x axis points to -x, so arcs run clockwise as seen from above.
    Drawing d;
    const ge::Vector3d down(0, 0, -1);
    auto arc = std::make_unique<db::Arc>(Point3d(10, 5), 2.0, 0.0, kPi / 2);
    arc->setNormal(down);
    auto circle = std::make_unique<db::Circle>(Point3d(10, 5), 1.0);
    circle->setNormal(down);
    auto pl = polyline({{{20, 0}}, {{30, 0}, 1.0}, {{30, 10}}});
    pl->setNormal(down);
    const std::string hArc = d.add(std::move(arc)), hCircle = d.add(std::move(circle)), hPl = d.add(std::move(pl));
    const std::string svg = d.render().text;
    EXPECT_EQ(elementOf(svg, hArc),
              "<path d=\"M 8 -5 A 2 2 0 0 1 10 -7\" stroke=\"#000000\" data-handle=\"" + hArc + "\"/>");
    EXPECT_EQ(elementOf(svg, hCircle).rfind("<circle cx=\"10\" cy=\"-5\" r=\"1\"", 0), 0u);
    EXPECT_EQ(elementOf(svg, hPl), "<path d=\"M -20 0 L -30 0 A 5 5 0 0 1 -35 -5 A 5 5 0 0 1 -30 -10\" "
                                   "stroke=\"#000000\" data-handle=\"" + hPl + "\"/>");
}

TEST(DrawingSvg, ColourComesFromEntityLayerOrBlock) {
    Drawing d;
    const ObjectId blue = d.addLayer("Blue", 5);
    const ObjectId white = d.addLayer("White", 7);
    auto onLayer = [&](ObjectId layer, int aci) {
        auto l = line({0, 0}, {1, 1});
        l->setLayer(layer);
        if (aci >= 0) l->setColorIndex(aci);
        return l;
    };
    struct Case {
        const char* what;
        std::string handle;
        const char* stroke;
    };
    auto trueColour = line({0, 0}, {1, 1});
    trueColour->setColor(db::Color{db::Color::kByLayer, 0x123456});
    const Case cases[] = {
        {"index 1", d.add(onLayer(blue, 1)), "#ff0000"},
        {"by layer", d.add(onLayer(blue, -1)), "#0000ff"},
        {"layer colour 7 on white", d.add(onLayer(white, -1)), "#000000"},
        {"index 7 on white", d.add(onLayer(blue, 7)), "#000000"},
        {"index 40", d.add(onLayer(blue, 40)), "#ffbf00"},
        {"by block at the top", d.add(onLayer(blue, 0)), "#000000"},
        {"true colour", d.add(std::move(trueColour)), "#123456"},
    };
    const std::string svg = d.render().text;
    for (const Case& c : cases)
        EXPECT_NE(elementOf(svg, c.handle).find(std::string("stroke=\"") + c.stroke + "\""), std::string::npos)
            << c.what << ": " << elementOf(svg, c.handle);
}

TEST(DrawingSvg, LineTypesBecomeDashArrays) {
    Drawing d;
    d.db().header().ltScale = 2.0;
    struct Case {
        const char* what;
        std::vector<double> dashes;
        double entityScale;
        std::string attributes;  // "" for a continuous line
    };
    const Case cases[] = {
        {"dash and gap, times LTSCALE and the entity's scale", {0.5, -0.25}, 3.0, " stroke-dasharray=\"3 1.5\""},
        {"starts with a gap: turned, with an offset", {-0.25, 0.5}, 1.0,
         " stroke-dasharray=\"1 0.5\" stroke-dashoffset=\"1\""},
        {"a dot is a zero-length dash", {0.5, -0.25, 0.0, -0.25}, 1.0, " stroke-dasharray=\"1 0.5 0 0.5\""},
        {"two dashes in a row merge", {0.5, 0.5, -0.25}, 1.0, " stroke-dasharray=\"2 0.5\""},
        {"dash at both ends merges around the cycle", {0.25, -0.5, 0.25}, 1.0, " stroke-dasharray=\"1 1\""},
        {"only dashes: continuous", {0.5}, 1.0, ""},
        {"no elements: continuous", {}, 1.0, ""},
        {"no length: continuous", {0.0, -0.0}, 1.0, ""},
    };
    int n = 0;
    std::vector<std::string> handles;
    for (const Case& c : cases) {
        const ObjectId lt = d.addLinetype("LT" + std::to_string(n++), c.dashes);
        auto l = line({0, 0}, {100, 0});
        l->setLinetype(lt);
        l->setLinetypeScale(c.entityScale);
        handles.push_back(d.add(std::move(l)));
    }
    const std::string svg = d.render().text;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(elementOf(svg, handles[i]), "<path d=\"M 0 0 L 100 0\" stroke=\"#000000\"" + cases[i].attributes +
                                                  " data-handle=\"" + handles[i] + "\"/>")
            << cases[i].what;
    }
}

TEST(DrawingSvg, ByLayerLineTypeResolvesThroughTheLayer) {
    Drawing d;
    const ObjectId dashed = d.addLinetype("DASHED", {0.5, -0.25});
    const ObjectId center = d.addLayer("CENTER", 1, dashed);
    auto l = line({0, 0}, {10, 0});
    l->setLayer(center);
    const std::string h = d.add(std::move(l));
    EXPECT_EQ(elementOf(d.render().text, h),
              "<path d=\"M 0 0 L 10 0\" stroke=\"#ff0000\" stroke-dasharray=\"0.5 0.25\" data-handle=\"" + h + "\"/>");
}

TEST(DrawingSvg, InvisibleEntitiesAndLayersOffOrFrozenAreHidden) {
    Drawing d;
    const ObjectId off = d.addLayer("Off", 1);
    const ObjectId frozen = d.addLayer("Frozen", 2);
    d.setLayerState(off, true, false);
    d.setLayerState(frozen, false, true);
    auto invisible = line({0, 0}, {1, 0});
    invisible->setVisible(false);
    auto onOff = line({0, 0}, {1, 0});
    onOff->setLayer(off);
    auto onFrozen = std::make_unique<db::Circle>(Point3d(0, 0), 1.0);
    onFrozen->setLayer(frozen);
    auto hiddenText = std::make_unique<db::Text>(Point3d(0, 0), "hidden", 1.0);
    hiddenText->setVisible(false);
    const std::string shown = d.add(line({0, 0}, {2, 0}));
    const std::string hidden[] = {d.add(std::move(invisible)), d.add(std::move(onOff)), d.add(std::move(onFrozen)),
                                  d.add(std::move(hiddenText))};
    const SvgPicture pic = d.render();
    EXPECT_FALSE(elementOf(pic.text, shown).empty());
    for (const std::string& h : hidden) EXPECT_EQ(elementOf(pic.text, h), "") << h;
    EXPECT_EQ(pic.report.drawn, 1u);
    EXPECT_EQ(pic.report.hidden, 4u);
}

TEST(DrawingSvg, BlockReferenceDrawsItsBlockThroughTheTransform) {
    Drawing d;
    const ObjectId block = d.addBlock("B");
    auto inner = line({0, 0}, {1, 0});
    inner->setColorIndex(db::Color::kByBlock);
    const std::string hInner = d.add(std::move(inner), block);
    auto ref = std::make_unique<db::BlockReference>(Point3d(10, 10), block);
    ref->setRotation(kPi / 2);
    ref->setScaleFactors({2, 2, 2});
    ref->setColorIndex(3);
    const std::string hRef = d.add(std::move(ref));
    const SvgPicture pic = d.render();
    EXPECT_EQ(elementOf(pic.text, hInner),
              "<path d=\"M 10 -10 L 10 -12\" stroke=\"#00ff00\" data-handle=\"" + hInner + "\"/>");
    EXPECT_NE(pic.text.find("<g data-block=\"B\" data-handle=\"" + hRef + "\">"), std::string::npos);
    EXPECT_EQ(pic.report.drawn, 1u);
}

TEST(DrawingSvg, MirroredAndUnevenBlocksKeepArcsRight) {
    Drawing d;
    const ObjectId block = d.addBlock("Arcs");
    const std::string hArc = d.add(std::make_unique<db::Arc>(Point3d(0, 0), 1.0, 0.0, kPi / 2), block);
    const std::string hCircle = d.add(std::make_unique<db::Circle>(Point3d(0, 0), 1.0), block);
    auto mirrored = std::make_unique<db::BlockReference>(Point3d(0, 0), block);
    mirrored->setScaleFactors({-1, 1, 1});
    d.add(std::move(mirrored));
    SvgPicture pic = d.render();
    // Mirrored, the counter-clockwise arc runs clockwise in the drawing: sweep flag 1.
    EXPECT_EQ(elementOf(pic.text, hArc),
              "<path d=\"M -1 0 A 1 1 0 0 1 0 -1\" stroke=\"#000000\" data-handle=\"" + hArc + "\"/>");
    EXPECT_EQ(elementOf(pic.text, hCircle).rfind("<circle cx=\"0\" cy=\"0\" r=\"1\"", 0), 0u);

    Drawing e;
    const ObjectId block2 = e.addBlock("Circle");
    const std::string hCircle2 = e.add(std::make_unique<db::Circle>(Point3d(0, 0), 1.0), block2);
    auto stretched = std::make_unique<db::BlockReference>(Point3d(0, 0), block2);
    stretched->setScaleFactors({2, 1, 1});
    e.add(std::move(stretched));
    const std::string element = elementOf(e.render().text, hCircle2);
    // Stretched, the circle is an ellipse of chords through (2, 0) and (0, 1).
    EXPECT_EQ(element.rfind("<path d=\"M 2 0 L ", 0), 0u) << element;
    EXPECT_EQ(element.find(" A "), std::string::npos) << element;
    EXPECT_NE(element.find(" L 0 -1 "), std::string::npos) << element;
    EXPECT_NE(element.find(" Z\""), std::string::npos) << element;
}

TEST(DrawingSvg, LayerZeroInsideABlockTakesTheReferencesLayer) {
    // A reference on a layer that is off hides what its block draws on layer "0" (which takes the reference's
    // layer) but still shows what the block draws on its own layers; a frozen layer hides the whole block.
    Drawing d;
    const ObjectId refLayer = d.addLayer("Parts", 4);
    const ObjectId other = d.addLayer("Other", 1);
    const ObjectId block = d.addBlock("B");
    const std::string onZero = d.add(line({0, 0}, {1, 0}), block);
    auto own = line({0, 0}, {0, 1});
    own->setLayer(other);
    const std::string onOther = d.add(std::move(own), block);
    auto ref = std::make_unique<db::BlockReference>(Point3d(0, 0), block);
    ref->setLayer(refLayer);
    d.add(std::move(ref));

    std::string svg = d.render().text;
    EXPECT_NE(elementOf(svg, onZero).find("stroke=\"#00ffff\""), std::string::npos) << "takes the layer's colour";
    d.setLayerState(refLayer, true, false);
    svg = d.render().text;
    EXPECT_EQ(elementOf(svg, onZero), "");
    EXPECT_NE(elementOf(svg, onOther), "");
    d.setLayerState(refLayer, false, true);
    svg = d.render().text;
    EXPECT_EQ(elementOf(svg, onZero), "");
    EXPECT_EQ(elementOf(svg, onOther), "");
}

TEST(DrawingSvg, ByBlockLineTypeScalesWithTheReference) {
    Drawing d;
    const ObjectId dashed = d.addLinetype("DASHED", {0.5, -0.25});
    const ObjectId block = d.addBlock("B");
    auto inner = line({0, 0}, {10, 0});
    inner->setLinetype(d.db().recordId(db::TableKind::Linetype, "ByBlock"));
    const std::string h = d.add(std::move(inner), block);
    auto ref = std::make_unique<db::BlockReference>(Point3d(0, 0), block);
    ref->setLinetype(dashed);
    ref->setScaleFactors({2, 2, 2});
    d.add(std::move(ref));
    EXPECT_NE(elementOf(d.render().text, h).find("stroke-dasharray=\"1 0.5\""), std::string::npos);
}

TEST(DrawingSvg, NestingIsBoundedAndArraysRepeat) {
    Drawing d;
    const ObjectId self = d.addBlock("Self");
    d.add(line({0, 0}, {1, 0}), self);
    d.add(std::make_unique<db::BlockReference>(Point3d(0, 2), self), self);  // a block that contains itself
    d.add(std::make_unique<db::BlockReference>(Point3d(0, 0), self));
    SvgOptions options;
    options.maxBlockDepth = 3;
    SvgPicture pic = d.render(options);
    EXPECT_EQ(pic.report.drawn, 3u);
    EXPECT_EQ(pic.report.tooDeep, 1u);
    EXPECT_NE(pic.text.find("<!-- not drawn: 1 block references nested deeper than 3 -->"), std::string::npos);

    Drawing e;
    const ObjectId cell = e.addBlock("Cell");
    e.add(line({0, 0}, {1, 0}), cell);
    auto array = std::make_unique<db::BlockReference>(Point3d(0, 0), cell);
    array->setArray(3, 2, 10.0, 5.0);
    e.add(std::move(array));
    pic = e.render();
    EXPECT_EQ(pic.report.drawn, 6u);
    EXPECT_NE(pic.text.find("M 20 -5 L 21 -5"), std::string::npos) << "the last copy: column 3, row 2";

    options.maxWork = 4;
    pic = e.render(options);
    EXPECT_TRUE(pic.report.cutOff);
    EXPECT_NE(pic.text.find("picture cut off"), std::string::npos);
}

TEST(DrawingSvg, OpaqueEntitiesAreCountedInAComment) {
    Drawing d;
    d.add(std::make_unique<db::OpaqueEntity>("HATCH", db::RawGroups{}));
    d.add(std::make_unique<db::OpaqueEntity>("HATCH", db::RawGroups{}));
    d.add(std::make_unique<db::OpaqueEntity>("DIMENSION", db::RawGroups{}));
    const SvgPicture pic = d.render();
    EXPECT_NE(pic.text.find("<!-- not drawn: 3 entities (1 DIMENSION, 2 HATCH) -->\n</svg>"), std::string::npos)
        << pic.text;
    EXPECT_EQ(pic.report.notDrawn.at("HATCH"), 2u);
}

TEST(DrawingSvg, TextsWithHeightRotationAndSpecialCharacters) {
    Drawing d;
    const std::string hText = d.add(std::make_unique<db::Text>(Point3d(1, 2), "A&B <%%c10> %%d", 2.5, kPi / 2));
    auto centred = std::make_unique<db::Text>(Point3d(0, 0), "mid", 1.0);
    centred->setHorizontalMode(1);
    centred->setAlignmentPoint({5, 5});
    const std::string hCentred = d.add(std::move(centred));
    auto mtext = std::make_unique<db::MText>();
    mtext->setLocation({0, 10});
    mtext->setTextHeight(2.0);
    mtext->setContents("First\\PSecond {\\fArial|b1;bold} \\{x\\}");
    const std::string hMText = d.add(std::move(mtext));
    const std::string svg = d.render().text;

    // Font size is the height over the capital height of 0.73 em: 2.5 / 0.73 = 3.4247.
    EXPECT_EQ(elementOf(svg, hText),
              "<text x=\"1\" y=\"-2\" transform=\"rotate(-90 1 -2)\" font-family=\"sans-serif\" font-size=\"3.4247\" "
              "fill=\"#000000\" stroke=\"none\" data-handle=\"" + hText +
                  "\">A&amp;B &lt;\xC3\x98" "10&gt; \xC2\xB0</text>");
    EXPECT_NE(elementOf(svg, hCentred).find("<text x=\"5\" y=\"-5\""), std::string::npos);
    EXPECT_NE(elementOf(svg, hCentred).find("text-anchor=\"middle\""), std::string::npos);
    EXPECT_NE(elementOf(svg, hMText).find("<tspan x=\"0\" dy=\"2\">First</tspan>"
                                          "<tspan x=\"0\" dy=\"3.3333\">Second bold {x}</tspan></text>"),
              std::string::npos)
        << elementOf(svg, hMText);
}

TEST(DrawingSvg, ViewBoxIsTheExtentsWithAMarginAndYUp) {
    Drawing d;
    d.add(line({0, 0}, {200, 100}));
    const std::string svg = d.render().text;
    EXPECT_NE(svg.find("width=\"1000\" height=\"545\" viewBox=\"-10 -110 220 120\""), std::string::npos) << svg;

    Drawing empty;
    EXPECT_NE(empty.render().text.find("viewBox=\"-5 -105 110 110\""), std::string::npos);
}

// A C++ locale whose numbers use a decimal comma and group thousands, as many users' locales do.
struct CommaNumbers : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(DrawingSvg, SameDrawingSameTextWhateverTheLocale) {
    Drawing d;
    d.add(std::make_unique<db::Arc>(Point3d(1.5, 2.25), 3.125, 0.1, 2.9));
    d.add(std::make_unique<db::Text>(Point3d(1234.5, 0.5), "x", 1.75));
    const std::string first = d.render().text;
    EXPECT_EQ(d.render().text, first);
    EXPECT_NE(first.find("x=\"1234.5\""), std::string::npos);

    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaNumbers));
    const std::string underComma = d.render().text;
    std::locale::global(previous);
    EXPECT_EQ(underComma, first) << "the C++ global locale reached the numbers";

    // The C library's locale too, where a locale with a decimal comma is installed.
    for (const char* name : {"de_DE.UTF-8", "ru_RU.UTF-8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            const std::string again = d.render().text;
            std::setlocale(LC_ALL, "C");
            EXPECT_EQ(again, first) << name;
            break;
        }
    }
}

TEST(DrawingSvg, WritingKeepsTheOldFileWhenTheFolderRefuses) {
    Drawing d;
    d.add(line({0, 0}, {1, 1}));
    sys::testing::ScratchFolder folder;
    const auto target = folder / "picture.svg";
    std::string error;
    ASSERT_TRUE(writeSvgFile(d.db(), target, &error)) << error;
    EXPECT_EQ(sys::testing::readBytes(target), d.render().text);

    sys::testing::writeBytes(target, "old picture");
    {
        sys::testing::UnwritableFolder guard(folder.path());
        if (!guard.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
        error.clear();
        EXPECT_FALSE(writeSvgFile(d.db(), target, &error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(sys::testing::readBytes(target), "old picture");
    EXPECT_FALSE(writeSvgFile(d.db(), folder / "missing-folder" / "x.svg", &error));
    EXPECT_NE(error.find("missing-folder"), std::string::npos) << error;
}

}  // namespace
}  // namespace host::ed
