// A drawing built in code that holds every entity kind, table, group, kind of extended data and header value the
// host keeps, for the round-trip and interoperability tests of the DXF reader and writer.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/db/database.h"

namespace host::dxf::testing {

// The interpreter Debian installs python3-ezdxf for; the machine's default python3 may be another one.
inline constexpr const char* kPython = "/usr/bin/python3";

inline constexpr double kQuarterTurn = 1.5707963267948966;

// The names tests look things up by.
struct SampleIds {
    db::ObjectId line, circle, arc, point, lwpolyline, polyline2d, polyline3d, text, mtext, spline, ellipse, insert,
        opaque, paperText, clampBlock, group, xrecord;
};

template <class T>
db::ObjectId appendTo(db::ObjectId block, std::unique_ptr<T> entity) {
    db::ObjectPtr<db::BlockTableRecord> b(block, db::OpenMode::Write);
    EXPECT_TRUE(b);
    db::ObjectId id;
    EXPECT_EQ(b->appendEntity(std::move(entity), &id), db::Status::Ok);
    return id;
}

inline db::ObjectId addRecord(db::Database& d, db::TableKind kind, std::unique_ptr<db::SymbolTableRecord> r) {
    db::ObjectPtr<db::SymbolTable> t(d.tableId(kind), db::OpenMode::Write);
    EXPECT_TRUE(t);
    db::ObjectId id;
    EXPECT_EQ(t->add(std::move(r), &id), db::Status::Ok);
    return id;
}

// Extended data of "Kstr" with every item kind, `count` items long.
inline db::ResBufList sampleXData(int count, const std::string& handle) {
    db::ResBufList x;
    x.emplace_back(1001, "Kstr");
    x.emplace_back(1000, "Kstr_ST Ѐ-Ӿ \\U+0041 ^J");
    x.emplace_back(1002, "{");
    x.emplace_back(1003, "0");
    x.emplace_back(1005, handle);
    x.emplace_back(1010, ge::Point3d(1.0 / 3.0, -2e-17, 1e20));
    x.emplace_back(1011, ge::Point3d(4, 5, 6));
    x.emplace_back(1040, 0.1);
    x.emplace_back(1041, 2.5);
    x.emplace_back(1042, -1.0);
    x.emplace_back(1070, 32767);
    x.emplace_back(1071, -2147483647 - 1);
    db::ResBuf bin(1004);
    bin.value = std::vector<std::uint8_t>{0x00, 0x7F, 0xFF, 0x10};
    x.push_back(bin);
    x.emplace_back(1002, "}");
    for (int i = int(x.size()) - 1; i < count; ++i) x.emplace_back(1040, i * 0.001);
    return x;
}

inline void setXData(db::ObjectId id, const db::ResBufList& x) {
    db::ObjectPtr<db::DbObject> o(id, db::OpenMode::Write);
    ASSERT_TRUE(o);
    ASSERT_EQ(o->setXData(x), db::Status::Ok);
}

inline std::unique_ptr<db::Database> buildSampleDrawing(SampleIds* idsOut = nullptr) {
    using namespace db;
    SampleIds ids;
    auto d = std::make_unique<Database>();
    Database& db = *d;
    // New entities look their layers and line types up in the working drawing.
    Database* previousWorking = workingDatabase();
    setWorkingDatabase(&db);

    // ---- header
    Header& h = db.header();
    h.insBase = {10, 20, 0.5};
    h.insUnits = 1;
    h.pdMode = 35;
    h.pdSize = -2.5;
    h.ltScale = 0.5;
    h.celtScale = 2.0;
    h.ceColor = Color::fromIndex(3);
    h.projectName = "Kstr_7 Проект 3";
    h.measurement = 0;
    h.others.push_back({"$DIMSCALE", {{40, "2.5"}}});
    h.others.push_back({"$MENU", {{1, "acad — меню"}}});

    // ---- tables
    auto hidden = std::make_unique<LinetypeTableRecord>("HIDDEN");
    hidden->setDescription("Hidden __ __ __ скрытая");
    hidden->setDashes({0.25, -0.125});
    const ObjectId hiddenId = addRecord(db, TableKind::Linetype, std::move(hidden));
    auto complex = std::make_unique<LinetypeTableRecord>("GAS");
    complex->setDashes({0.5, -0.2, -0.1});
    complex->setComplexElements({{74, "0"}, {74, "2"}, {75, "0"}, {340, "F"}, {46, "0.1"}, {50, "0.0"},
                                 {44, "-0.1"}, {45, "-0.05"}, {9, "GAS"}, {74, "0"}});
    addRecord(db, TableKind::Linetype, std::move(complex));

    auto cut = std::make_unique<LayerTableRecord>("NC_Laser");
    cut->setColor(Color::fromIndex(1));
    cut->setLinetypeId(hiddenId);
    cut->setLineWeight(35);
    addRecord(db, TableKind::Layer, std::move(cut));
    auto off = std::make_unique<LayerTableRecord>("NC_Laser_Off");
    off->setColor(Color{30, 0x123456});
    off->setIsOff(true);
    off->setIsFrozen(true);
    off->setIsLocked(true);
    off->setIsPlottable(false);
    addRecord(db, TableKind::Layer, std::move(off));
    addRecord(db, TableKind::Layer, std::make_unique<LayerTableRecord>("Слой €"));

    auto style = std::make_unique<TextStyleTableRecord>("Simplex");
    style->setFontFile("simplex.shx");
    style->setBigFontFile("bigfont.shx");
    style->setTextSize(2.5);
    style->setWidthFactor(0.8);
    style->setObliquingAngle(0.2617993877991494);
    style->setGenerationFlags(2);
    style->setPriorSize(3.5);
    const ObjectId simplexId = addRecord(db, TableKind::TextStyle, std::move(style));
    addRecord(db, TableKind::RegApp, std::make_unique<RegAppTableRecord>("Kstr"));
    addRecord(db, TableKind::View, std::make_unique<OpaqueTableRecord>(
                                       TableKind::View, "Front",
                                       RawGroups{{70, "0"}, {40, "100.0"}, {10, "5.0"}, {20, "6.0"}, {41, "2.0"}}));
    addRecord(db, TableKind::Ucs, std::make_unique<OpaqueTableRecord>(
                                      TableKind::Ucs, "Tilted",
                                      RawGroups{{70, "0"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {11, "1.0"},
                                                {21, "0.0"}, {31, "0.0"}, {12, "0.0"}, {22, "1.0"}, {32, "0.0"}}));
    addRecord(db, TableKind::DimStyle,
              std::make_unique<OpaqueTableRecord>(TableKind::DimStyle, "ISO-25",
                                                  RawGroups{{70, "0"}, {3, ""}, {40, "1.0"}, {41, "2.5"}, {140, "2.5"}}));
    {
        ObjectPtr<ViewportTableRecord> vp(db.recordId(TableKind::Viewport, "*Active"), OpenMode::Write);
        EXPECT_TRUE(vp);
        vp->setView({50, 40}, 120, 1.5);
        vp->setOtherGroups({{10, "0.0"}, {20, "0.0"}, {11, "1.0"}, {21, "1.0"}, {76, "1"}});
    }

    // ---- a block with an attribute definition, used by an INSERT with an attribute
    auto clamp = std::make_unique<BlockTableRecord>("Clamp");
    clamp->setOrigin({1, 1, 0});
    clamp->setDescription("Прижим");
    clamp->setInsertUnits(4);
    ids.clampBlock = addRecord(db, TableKind::Block, std::move(clamp));
    appendTo(ids.clampBlock, std::make_unique<Line>(ge::Point3d(0, 0, 0), ge::Point3d(10, 0, 0)));
    auto attdef = std::make_unique<AttributeDefinition>();
    attdef->setPropertiesFrom(db);
    attdef->setTag("NUMBER");
    attdef->setPrompt("Номер?");
    attdef->setTextString("1");
    attdef->setHeight(2.0);
    attdef->setAttributeFlags(8);
    attdef->setVerticalMode(2);
    attdef->setHorizontalMode(1);
    attdef->setAlignmentPoint({5, 5, 0});
    appendTo(ids.clampBlock, std::move(attdef));

    const ObjectId model = db.modelSpaceId();

    // ---- every entity kind, with the common properties varied. Each takes the drawing's current properties
    // first (as appending would), so that what is set afterwards is what it keeps.
    auto line = std::make_unique<Line>(ge::Point3d(0.1, 0.2, 0.3), ge::Point3d(1e15 + 0.5, -1.0 / 3.0, 0));
    line->setPropertiesFrom(db);
    line->setLayer("NC_Laser");
    line->setLinetype("HIDDEN");
    line->setColorIndex(1);
    line->setLinetypeScale(0.25);
    line->setLineWeight(50);
    line->setThickness(2.0);
    ids.line = appendTo(model, std::move(line));

    auto circle = std::make_unique<Circle>(ge::Point3d(5, 5, 0), 2.5);
    circle->setPropertiesFrom(db);
    circle->setColor(Color{257, 0xFF8000});
    circle->setNormal({0, 0, -1});
    ids.circle = appendTo(model, std::move(circle));

    auto arc = std::make_unique<Arc>(ge::Point3d(0, 0, 0), 10.0, 0.1, 4.0);
    arc->setPropertiesFrom(db);
    arc->setColor(Color{5, 0x0000FF});
    arc->setVisible(false);
    ids.arc = appendTo(model, std::move(arc));

    auto point = std::make_unique<PointEntity>(ge::Point3d(7, 8, 9));
    point->setPropertiesFrom(db);
    point->setXAxisAngle(0.7);
    point->setColorIndex(0);
    point->setLinetype("ByBlock");
    ids.point = appendTo(model, std::move(point));

    auto lw = std::make_unique<LwPolyline>();
    lw->setPropertiesFrom(db);
    lw->addVertexAt(0, {0, 0}, 0.0);
    lw->addVertexAt(1, {100, 0}, 0.41421356237309503, 0.5, 1.0);
    lw->addVertexAt(2, {100, 50}, -1.0);
    lw->addVertexAt(3, {0, 50}, 0.0);
    lw->setClosed(true);
    lw->setElevation(1.25);
    lw->setPlinegen(true);
    ids.lwpolyline = appendTo(model, std::move(lw));

    ids.polyline2d = appendTo(model, std::make_unique<Polyline2d>());
    {
        ObjectPtr<Polyline2d> p(ids.polyline2d, OpenMode::Write);
        EXPECT_TRUE(p);
        p->setClosed(true);
        p->setElevation(3.0);
        p->setDefaultWidths(0.5, 0.5);
        p->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d(0, 0, 3), 0.5));
        p->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d(10, 0, 3), 0.0));
        p->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d(10, 10, 3), -0.25));
    }
    ids.polyline3d = appendTo(model, std::make_unique<Polyline3d>());
    {
        ObjectPtr<Polyline3d> p(ids.polyline3d, OpenMode::Write);
        EXPECT_TRUE(p);
        p->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d(0, 0, 0)));
        p->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d(1, 2, 3)));
    }

    // A job text: invisible, height 0, at the origin, with a long list of extended data.
    auto text = std::make_unique<Text>(ge::Point3d(0, 0, 0), "Kstr_ST Привет", 0.0, 0.0);
    text->setPropertiesFrom(db);
    text->setVisible(false);
    text->setTextStyle(simplexId);
    text->setLayer("NC_Laser");
    ids.text = appendTo(model, std::move(text));

    auto mtext = std::make_unique<MText>();
    mtext->setPropertiesFrom(db);
    std::string contents = "{\\fArial|b1;Заголовок}\\P";
    for (int i = 0; i < 40; ++i) contents += "строка " + std::to_string(i) + " line\\P";
    mtext->setContents(contents);
    mtext->setLocation({3, 4, 0});
    mtext->setTextHeight(3.5);
    mtext->setWidth(80);
    mtext->setAttachment(5);
    mtext->setRotation(kQuarterTurn);
    mtext->setLineSpacingFactor(1.5);
    ids.mtext = appendTo(model, std::move(mtext));

    auto spline = std::make_unique<Spline>();
    spline->setPropertiesFrom(db);
    EXPECT_EQ(spline->setNurbsData(2, 8 | 4, {0, 0, 0, 0.5, 1, 1, 1}, {{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}},
                                   {1.0, 0.5, 2.0, 1.0}),
              Status::Ok);
    EXPECT_EQ(spline->setFitData({{0, 0, 0}, {2, 1.5, 0}, {4, 0, 0}}, {1, 1, 0}, {1, -1, 0}), Status::Ok);
    EXPECT_EQ(spline->setTolerances(1e-9, 1e-8, 1e-7), Status::Ok);
    ids.spline = appendTo(model, std::move(spline));

    auto ellipse = std::make_unique<Ellipse>();
    ellipse->setPropertiesFrom(db);
    EXPECT_EQ(ellipse->set({1, 2, 0}, {0, 0, 1}, {3, 4, 0}, 0.5, 0.25, 5.0), Status::Ok);
    ids.ellipse = appendTo(model, std::move(ellipse));

    auto insert = std::make_unique<BlockReference>(ge::Point3d(50, 60, 0), ids.clampBlock);
    insert->setPropertiesFrom(db);
    insert->setScaleFactors({2, 2, 1});
    insert->setRotation(kQuarterTurn / 3);
    ids.insert = appendTo(model, std::move(insert));
    {
        ObjectPtr<BlockReference> ref(ids.insert, OpenMode::Write);
        EXPECT_TRUE(ref);
        auto attr = std::make_unique<Attribute>();
        attr->setTag("NUMBER");
        attr->setTextString("42");
        attr->setHeight(2.0);
        attr->setPosition({52, 62, 0});
        attr->setVerticalMode(1);
        attr->setAttributeFlags(0);
        ref->appendAttribute(std::move(attr));
    }

    auto solid = std::make_unique<OpaqueEntity>(
        "SOLID", RawGroups{{100, "AcDbTrace"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {11, "1.0"}, {21, "0.0"},
                           {31, "0.0"}, {12, "0.0"}, {22, "1.0"}, {32, "0.0"}, {13, "1.0"}, {23, "1.0"}, {33, "0.0"}});
    solid->setPropertiesFrom(db);
    solid->setColorIndex(4);
    ids.opaque = appendTo(model, std::move(solid));

    ids.paperText = appendTo(db.paperSpaceId(), std::make_unique<Text>(ge::Point3d(10, 10, 0), "Лист", 5.0, 0.0));

    // ---- extended data: a long job record, and every item kind on a circle
    setXData(ids.text, sampleXData(2011, ids.line.handle().text()));
    setXData(ids.circle, sampleXData(14, ids.arc.handle().text()));

    // ---- groups: a named path group in order, and an anonymous one
    {
        ObjectPtr<Dictionary> groups(db.groupDictionaryId(), OpenMode::Write);
        EXPECT_TRUE(groups);
        std::string description = "Kstr path 1A2B:";
        for (int i = 0; i < 20; ++i) description += " " + std::to_string(1000 + i);
        EXPECT_EQ(groups->setAt("1", std::make_unique<db::Group>(description), &ids.group), Status::Ok);
        ObjectId anonymous;
        auto anon = std::make_unique<db::Group>("", false);
        anon->setAnonymous(true);
        EXPECT_EQ(groups->setAt("*A1", std::move(anon), &anonymous), Status::Ok);
        groups.close();
        ObjectPtr<db::Group> g(ids.group, OpenMode::Write);
        EXPECT_TRUE(g);
        EXPECT_EQ(g->append({ids.arc, ids.line, ids.lwpolyline}), Status::Ok);
        ObjectPtr<db::Group> a(anonymous, OpenMode::Write);
        EXPECT_EQ(a->append(ids.circle), Status::Ok);
    }

    // ---- objects the host keeps as read: an XRECORD in the root dictionary, an extension dictionary on a line
    {
        ObjectPtr<Dictionary> nod(db.namedObjectsDictionaryId(), OpenMode::Write);
        EXPECT_TRUE(nod);
        EXPECT_EQ(nod->setAt("KSTR_DATA", std::make_unique<OpaqueObject>(
                                             "XRECORD", RawGroups{{100, "AcDbXrecord"}, {280, "1"}, {1, "значение"},
                                                                  {40, "0.1"}, {90, "7"}}),
                             &ids.xrecord),
                  Status::Ok);
        ObjectId ext;
        EXPECT_EQ(db.addObject(std::make_unique<Dictionary>(), ids.line, &ext), Status::Ok);
        ObjectPtr<Dictionary> extDict(ext, OpenMode::Write);
        extDict->setHardOwner(true);
        EXPECT_EQ(extDict->setAt("NOTE", std::make_unique<OpaqueObject>(
                                             "XRECORD", RawGroups{{100, "AcDbXrecord"}, {280, "1"}, {300, "x"}})),
                  Status::Ok);
        ObjectPtr<Line> l(ids.line, OpenMode::Write);
        l->setExtensionDictionary(ext);
        l->addReactor(ids.group);
    }
    setWorkingDatabase(previousWorking);
    if (idsOut) *idsOut = ids;
    return d;
}

}  // namespace host::dxf::testing
