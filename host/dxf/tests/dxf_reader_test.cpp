// The DXF reader: files of other programs (R12 without handles, R2000 to R2018), what it keeps as read, and a
// clear message naming the line for malformed input, with nothing half-read.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "host/dxf/dxf_file.h"
#include "host/dxf/dxf_limits.h"
#include "host/dxf/tests/drawing_compare.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::dxf {
namespace {

using db::ObjectId;
using db::TableKind;

const std::filesystem::path kFixtures = KESTRION_SOURCE_DIR "/host/dxf/tests/fixtures";

template <class T>
const T* get(const db::Database& d, ObjectId id) {
    return dynamic_cast<const T*>(d.peek(id));
}

std::vector<const db::Entity*> modelEntities(const db::Database& d) {
    std::vector<const db::Entity*> out;
    for (ObjectId id = d.firstEntity(); !id.isNull(); id = d.nextEntity(id)) {
        const auto* e = get<db::Entity>(d, id);
        if (!e->inPaperSpace()) out.push_back(e);
    }
    return out;
}

template <class T>
const T* firstOf(const db::Database& d) {
    for (const db::Entity* e : modelEntities(d))
        if (auto* t = dynamic_cast<const T*>(e)) return t;
    return nullptr;
}

const db::Entity* firstNamed(const db::Database& d, std::string_view dxfName) {
    for (const db::Entity* e : modelEntities(d))
        if (e->dxfName() == dxfName) return e;
    return nullptr;
}

// Saves, reads back and saves again: the same drawing, and the second file equal to the first.
void expectStableThroughSave(const db::Database& d) {
    const std::string first = writeDxfText(d);
    const ReadResult back = readDxfText(first, "saved.dxf");
    ASSERT_TRUE(back) << back.error;
    testing::expectSameDrawing(d, *back.database, {.ignoreMadeByWriter = true});
    EXPECT_EQ(writeDxfText(*back.database), first);
}

// R12: no handles, no subclass markers, CP1251 text, $MODEL_SPACE, BYLAYER without its record, a name in group 5
// of a dimension style, vertices and attributes closed by SEQEND, a 3DFACE the host keeps as read.
TEST(DxfReader, ReadsAnR12FileWithoutHandles) {
    const ReadResult r = readDxfFile(kFixtures / "r12_no_handles.dxf");
    ASSERT_TRUE(r) << r.error;
    const db::Database& d = *r.database;
    EXPECT_EQ(d.header().acadVersion, "AC1009");
    EXPECT_EQ(d.recordName(d.currentLayer()), "КОНТУР");
    // An R12 file says nothing of its units: it is unitless (0), not taken for millimetres, so that a job made of
    // it follows the user's unit setting.
    EXPECT_EQ(d.header().insUnits, 0);

    const auto* layer = get<db::LayerTableRecord>(d, d.recordId(TableKind::Layer, "КОНТУР"));
    ASSERT_TRUE(layer);
    EXPECT_TRUE(layer->isOff());
    EXPECT_EQ(layer->color().index, 1);
    EXPECT_EQ(d.recordName(layer->linetypeId()), "DASHED");
    const auto* dashed = get<db::LinetypeTableRecord>(d, d.recordId(TableKind::Linetype, "DASHED"));
    ASSERT_TRUE(dashed);
    EXPECT_EQ(dashed->dashes(), (std::vector<double>{0.5, -0.25}));
    const auto* dimstyle = get<db::OpaqueTableRecord>(d, d.recordId(TableKind::DimStyle, "STANDARD"));
    ASSERT_TRUE(dimstyle);
    EXPECT_EQ(dimstyle->groups()[3], (db::RawGroup{5, ""}));

    const auto entities = modelEntities(d);
    ASSERT_EQ(entities.size(), 7u);
    EXPECT_EQ(entities[0]->layer(), "КОНТУР");
    EXPECT_EQ(entities[0]->linetype(), "ByLayer");
    const auto* arc = dynamic_cast<const db::Arc*>(entities[2]);
    ASSERT_TRUE(arc);
    EXPECT_EQ(arc->endAngle(), M_PI / 2);
    const auto* polyline = dynamic_cast<const db::Polyline2d*>(entities[3]);
    ASSERT_TRUE(polyline);
    EXPECT_TRUE(polyline->isClosed());
    EXPECT_EQ(polyline->vertexBulges(), (std::vector<double>{0.5, 0.0, 0.0}));
    EXPECT_FALSE(polyline->sequenceEnd().isNull());
    const auto* text = dynamic_cast<const db::Text*>(entities[4]);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->textString(), "Деталь №1");
    EXPECT_EQ(text->rotation(), M_PI / 4);
    const auto* insert = dynamic_cast<const db::BlockReference*>(entities[5]);
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->blockName(), "МЕТКА");
    ASSERT_EQ(insert->attributeIds().size(), 1u);
    EXPECT_EQ(get<db::Attribute>(d, insert->attributeIds()[0])->textString(), "7");
    const auto* block = get<db::BlockTableRecord>(d, insert->blockTableRecord());
    EXPECT_EQ(block->origin(), ge::Point3d(1, 2, 0));
    EXPECT_EQ(block->entityIds().size(), 2u);
    EXPECT_EQ(std::string(entities[6]->dxfName()), "3DFACE");
    const auto* paper = get<db::BlockTableRecord>(d, d.paperSpaceId());
    ASSERT_EQ(paper->entityIds().size(), 1u);
    EXPECT_EQ(get<db::Text>(d, paper->entityIds()[0])->textString(), "paper");

    // Every object got a handle of its own, and new objects come after them.
    std::set<std::uint64_t> handles;
    for (ObjectId id : d.allObjectIds()) {
        EXPECT_FALSE(id.handle().isNull());
        EXPECT_TRUE(handles.insert(id.handle().value).second);
        EXPECT_LT(id.handle(), d.handSeed());
    }
    expectStableThroughSave(d);
}

// Files that another program wrote in each version from R2000 to R2018: what the host models is read, and what
// it does not (HATCH, DIMENSION, classes, layouts, other objects, header values) passes through a save unchanged.
TEST(DxfReader, ReadsFilesOfOtherProgramsFromR2000ToR2018) {
    const char* versions[] = {"r2000", "r2004", "r2007", "r2010", "r2013", "r2018"};
    for (const char* v : versions) {
        SCOPED_TRACE(v);
        const ReadResult r = readDxfFile(kFixtures / (std::string("ezdxf_") + v + ".dxf"));
        ASSERT_TRUE(r) << r.error;
        const db::Database& d = *r.database;
        EXPECT_EQ(d.header().insUnits, 4);
        const auto* lw = firstOf<db::LwPolyline>(d);
        ASSERT_TRUE(lw);
        EXPECT_EQ(lw->layer(), "CUT");
        EXPECT_TRUE(lw->isClosed());
        ASSERT_EQ(lw->numVerts(), 4u);
        EXPECT_EQ(lw->vertices()[1].bulge, 0.5);
        const auto* arc = firstOf<db::Arc>(d);
        ASSERT_TRUE(arc);
        EXPECT_EQ(arc->colorIndex(), 2);
        EXPECT_NEAR(arc->startAngle(), M_PI / 6, 1e-15);
        const auto* line = firstOf<db::Line>(d);
        ASSERT_TRUE(line);
        EXPECT_EQ(line->layer(), "Разметка");
        const db::ResBufList x = line->xData("Kstr");
        ASSERT_EQ(x.size(), 5u);
        EXPECT_EQ(x[1].str(), "Kstr_ST");
        EXPECT_EQ(x[4].point(), ge::Point3d(1, 2, 3));
        EXPECT_EQ(firstOf<db::Text>(d)->textString(), "Деталь 1");
        EXPECT_EQ(firstOf<db::MText>(d)->contents(), "Строка 1\\PLine 2");
        EXPECT_TRUE(firstOf<db::Ellipse>(d));
        EXPECT_TRUE(firstOf<db::Spline>(d));
        EXPECT_TRUE(firstOf<db::PointEntity>(d));
        EXPECT_EQ(firstOf<db::BlockReference>(d)->blockName(), "Hole");
        ASSERT_TRUE(firstNamed(d, "HATCH"));
        EXPECT_EQ(firstNamed(d, "HATCH")->colorIndex(), 5);
        EXPECT_TRUE(dynamic_cast<const db::OpaqueEntity*>(firstNamed(d, "DIMENSION")));
        const auto* groups = get<db::Dictionary>(d, d.groupDictionaryId());
        const auto* path = get<db::Group>(d, groups->getAt("PATH1"));
        ASSERT_TRUE(path);
        EXPECT_EQ(path->description(), "Kstr path");
        EXPECT_EQ(path->allEntityIds(), std::vector<ObjectId>{line->objectId()});
        EXPECT_FALSE(d.header().classes.empty());
        expectStableThroughSave(d);
    }
}

// What other programs write that is unusual but sound: each habit has a small file (fixtures/habits, README.md
// there says which program writes it), which reads with what it holds, tells the user what was repaired, and
// comes back the same through a save.
struct WriterHabit {
    const char* file;                      // under fixtures/
    std::vector<std::string> notes;        // each note after "<file>, "
    std::function<void(const db::Database&)> check;
};

const db::SymbolTableRecord* recordOf(const db::Database& d, TableKind kind, std::string_view name) {
    return get<db::SymbolTableRecord>(d, d.recordId(kind, std::string(name)));
}

std::vector<std::string> textsOf(const db::Database& d) {
    std::vector<std::string> out;
    for (const db::Entity* e : modelEntities(d))
        if (const auto* t = dynamic_cast<const db::Text*>(e)) out.push_back(t->layer() + ": " + t->textString());
    return out;
}

const std::vector<WriterHabit>& writerHabits() {
    static const std::vector<WriterHabit> habits = {
        {"habits/comment_at_top.dxf", {}, [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 2u);
             EXPECT_EQ(entities[0]->layer(), "CUT");
             EXPECT_EQ(dynamic_cast<const db::Circle*>(entities[1])->radius(), 10.0);
         }},
        {"habits/xdata_before_appid.dxf", {}, [](const db::Database& d) {
             EXPECT_EQ(d.tableId(TableKind::RegApp).handle().text(), "9");
             for (const char* app : {"ACAD", "AcAecLayerStandard", "ACAD_NAV_VCDISPLAY", "ACAD_XREC_ROUNDTRIP"})
                 EXPECT_TRUE(recordOf(d, TableKind::RegApp, app)) << app;
             EXPECT_EQ(recordOf(d, TableKind::Layer, "CUT")->xData("AcAecLayerStandard").size(), 3u);
             EXPECT_EQ(recordOf(d, TableKind::Viewport, "*Active")->xData("ACAD_NAV_VCDISPLAY").size(), 2u);
             EXPECT_EQ(d.peek(d.tableId(TableKind::Linetype))->xData("ACAD_XREC_ROUNDTRIP").size(), 2u);
             EXPECT_EQ(recordOf(d, TableKind::TextStyle, "Standard")->xData("ACAD").size(), 2u);
         }},
        {"habits/vport_configuration.dxf", {}, [](const db::Database& d) {
             const auto* table = get<db::SymbolTable>(d, d.tableId(TableKind::Viewport));
             std::vector<std::string> names;
             for (ObjectId id : table->recordIds()) names.push_back(get<db::SymbolTableRecord>(d, id)->name());
             EXPECT_EQ(names, (std::vector<std::string>{"*ACTIVE", "*ACTIVE"}));
         }},
        {"habits/codepage_ansi_1250.dxf", {}, [](const db::Database& d) {
             EXPECT_EQ(textsOf(d), std::vector<std::string>{"ŁÓDŹ: żółć Łódź"});
             EXPECT_TRUE(recordOf(d, TableKind::Layer, "ŁÓDŹ"));
             EXPECT_EQ(d.header().codePage, "ANSI_1250");
         }},
        // Once read as CP1251: "WERKSTЬCK".
        {"habits/codepage_none.dxf", {}, [](const db::Database& d) {
             EXPECT_EQ(textsOf(d), std::vector<std::string>{"TEILE: WERKSTÜCK Maß 3°"});
             EXPECT_EQ(d.header().codePage, "ANSI_1252");
         }},
        {"habits/codepage_dos866.dxf", {}, [](const db::Database& d) {
             EXPECT_EQ(textsOf(d), std::vector<std::string>{"КОНТУР: Деталь №1"});
         }},
        {"habits/codepage_ansi_932.dxf", {}, [](const db::Database& d) {
             EXPECT_EQ(textsOf(d), (std::vector<std::string>{"外形: 部品 ｱ", "外形: Ø 10"}));
         }},
        {"habits/codepage_utf8_r2018.dxf", {}, [](const db::Database& d) {
             EXPECT_EQ(textsOf(d), std::vector<std::string>{"Разметка: Ø 10 — żółć"});
         }},
        {"habits/common_after_subclass.dxf", {}, [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 3u);
             EXPECT_EQ(entities[0]->layer(), "CUT");
             EXPECT_EQ(entities[0]->colorIndex(), 1);
             EXPECT_EQ(entities[0]->linetype(), "DASHED");
             EXPECT_EQ(entities[0]->lineWeight(), 25);
             EXPECT_EQ(entities[1]->layer(), "MARK");
             EXPECT_EQ(entities[1]->colorIndex(), 3);
             // A kind kept as read takes them too, and keeps only its own data.
             EXPECT_EQ(entities[2]->layer(), "FILL");
             EXPECT_EQ(entities[2]->colorIndex(), 5);
             for (const db::RawGroup& g : dynamic_cast<const db::OpaqueEntity*>(entities[2])->groups())
                 EXPECT_FALSE(g.code == 8 || g.code == 62) << g.code;
         }},
        {"habits/ellipse_rounded_end.dxf", {}, [](const db::Database& d) {
             const auto* e = firstOf<db::Ellipse>(d);
             ASSERT_TRUE(e);
             EXPECT_TRUE(e->isClosed());
             EXPECT_EQ(e->endParam() - e->startParam(), 2 * M_PI);
         }},
        {"habits/xrecord_with_102.dxf", {}, [](const db::Database& d) {
             const auto* root = get<db::Dictionary>(d, d.namedObjectsDictionaryId());
             const auto* x = get<db::OpaqueObject>(d, root->getAt("KSTR_ATTRIBUTES"));
             ASSERT_TRUE(x);
             std::string data;
             for (const db::RawGroup& g : x->groups()) data += std::to_string(g.code) + "=" + g.value + " ";
             EXPECT_EQ(data, "100=AcDbXrecord 280=1 102={ATTRDEF_DATA 1=first 102={ 40=2.5 102=} 102={MTEXT_DATA "
                             "1=last ");
         }},
        {"habits/dimstyle_name_reference.dxf",
         {"line 114: DIMSTYLE \"ISO-25\": group 340 names \"NoSuchStyle\", which is no STYLE record of the drawing; the "
          "reference is dropped"},
         [](const db::Database& d) {
             const std::string standard = d.recordId(TableKind::TextStyle, "Standard").handle().text();
             const auto* s = get<db::OpaqueTableRecord>(d, d.recordId(TableKind::DimStyle, "Standard"));
             ASSERT_TRUE(s);
             EXPECT_EQ(s->groups().back(), (db::RawGroup{340, standard}));
             for (const db::RawGroup& g : get<db::OpaqueTableRecord>(d, d.recordId(TableKind::DimStyle, "ISO-25"))->groups())
                 EXPECT_NE(g.code, 340);
         }},
        {"habits/reused_handle.dxf",
         {"line 59: handle 90 is used by more than one object (and 1 more reused handles): the later objects got new "
          "handles, and references by handle lead to the first"},
         [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 4u);
             EXPECT_EQ(d.idFromHandle(db::Handle(0x90)), entities[0]->objectId());
             EXPECT_EQ(d.idFromHandle(db::Handle(0x91)), entities[1]->objectId());
             EXPECT_EQ(entities[2]->layer(), "MARK");
             EXPECT_GE(entities[2]->handle().value, 0x100u);
             EXPECT_GE(entities[3]->handle().value, 0x100u);
         }},
        // The attribute's kind after its subclass marker is not the text's generation flags (1 was refused, 4 read as
        // upside down); an embedded MTEXT's groups do not replace the attribute's own.
        {"habits/attributes_r2018.dxf", {}, [](const db::Database& d) {
             const auto* note = firstOf<db::AttributeDefinition>(d);
             ASSERT_TRUE(note);
             EXPECT_EQ(note->tag(), "NOTE");
             EXPECT_EQ(note->textString(), "one");
             EXPECT_EQ(note->generationFlags(), 2);
             EXPECT_EQ(note->horizontalMode(), 0);
             EXPECT_EQ(note->position(), ge::Point3d(1.0, 5.0, 0.0));
             const auto* insert = firstOf<db::BlockReference>(d);
             ASSERT_TRUE(insert);
             EXPECT_EQ(insert->blockName(), "TAGGED");
         }},
        // Habits the reader repairs, as CAD programs' audit does: told once per file, the drawing kept. Each was
        // refused whole, and the user lost the drawing.
        {"habits/empty_reference.dxf",
         {"line 53: DIMSTYLE: group 341 holds no handle (its value is empty); it is left out (2 times in the file)"},
         [](const db::Database& d) {
             const auto* s = get<db::OpaqueTableRecord>(d, d.recordId(TableKind::DimStyle, "Standard"));
             ASSERT_TRUE(s);
             EXPECT_EQ(s->handle().text(), "27");
             for (const db::RawGroup& g : s->groups()) EXPECT_TRUE(g.code != 341 && g.code != 342) << g.code;
             EXPECT_EQ(s->groups().back(), (db::RawGroup{41, "2.5"}));
         }},
        {"habits/empty_own_handle.dxf", {"line 17: LINE: its handle (group 5) is empty; it got a new one (2 times in the file)"},
         [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 3u);
             EXPECT_EQ(entities[2]->handle().text(), "2A");
             std::set<std::uint64_t> handles;
             for (const db::Entity* e : entities) EXPECT_TRUE(handles.insert(e->handle().value).second);
             EXPECT_FALSE(handles.count(0));
             EXPECT_EQ(dynamic_cast<const db::Circle*>(entities[1])->radius(), 2.0);
         }},
        // The same curve with its axes the right way round: every point where it was.
        {"habits/ellipse_ratio_above_one.dxf",
         {"line 47: ELLIPSE: the ratio of its minor to its major axis is 1.0095, above 1: the minor axis is taken as "
          "the major one (2 times in the file)"},
         [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 2u);
             const auto* arc = dynamic_cast<const db::Ellipse*>(entities[0]);
             ASSERT_TRUE(arc);
             EXPECT_NEAR(arc->radiusRatio(), 1 / 1.0095, 1e-15);
             EXPECT_LT((arc->majorAxis() - ge::Vector3d(0, 20 * 1.0095, 0)).length(), 1e-12);
             const auto was = [](double t) {
                 return ge::Point3d(10 + 20 * std::cos(t), 20 + 20 * 1.0095 * std::sin(t), 0);
             };
             EXPECT_LT(arc->startPoint().distanceTo(was(0.5)), 1e-9);
             EXPECT_LT(arc->endPoint().distanceTo(was(2.5)), 1e-9);
             EXPECT_LT(arc->pointAtParam(arc->startParam() + 1).distanceTo(was(1.5)), 1e-9);
             const auto* whole = dynamic_cast<const db::Ellipse*>(entities[1]);
             ASSERT_TRUE(whole);
             EXPECT_TRUE(whole->isClosed());
             EXPECT_EQ(whole->startParam(), 0.0);
             EXPECT_LT((whole->majorAxis() - ge::Vector3d(-12, 0, 0)).length(), 1e-12);
             EXPECT_NEAR(whole->radiusRatio(), 8.0 / 12.0, 1e-15);
         }},
        {"habits/r12_xdata_point_part.dxf",
         {"line 49: POLYLINE: extended data of \"KSTR\" holds part of a point without the rest of it (a y or z "
          "without its x, or an x without its y); that part is left out"},
         [](const db::Database& d) {
             const auto* polyline = firstOf<db::Polyline2d>(d);
             ASSERT_TRUE(polyline);
             EXPECT_EQ(polyline->vertexBulges().size(), 3u);
             const db::ResBufList x = polyline->xData("KSTR");
             ASSERT_EQ(x.size(), 4u);
             EXPECT_EQ(x[1].str(), "contour");
             EXPECT_EQ(x[2].code, 1040);
             EXPECT_EQ(x[3].point(), ge::Point3d(1, 2, 0));
         }},
        {"habits/point_groups_apart.dxf",
         {"line 19: LINE: the x, y and z of its points stand apart (10, 11, 20, 21); paired by their group codes (2 "
          "times in the file)"},
         [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 3u);
             const auto* first = dynamic_cast<const db::Line*>(entities[0]);
             const auto* second = dynamic_cast<const db::Line*>(entities[1]);
             ASSERT_TRUE(first && second);
             EXPECT_EQ(first->start(), ge::Point3d(1, 2, 0));
             EXPECT_EQ(first->end(), ge::Point3d(9, 8, 0));
             EXPECT_EQ(second->start(), ge::Point3d(3, 4, 0));
             EXPECT_EQ(second->end(), ge::Point3d(5, 4, 0));
         }},
        // The variables after it are read.
        {"habits/header_variable_odd_group.dxf",
         {"line 13: header variable $TEXTSTYLE has no group 7 (it holds group 8); the variable is skipped"},
         [](const db::Database& d) {
             EXPECT_EQ(d.header().insUnits, 4);
             EXPECT_EQ(d.recordName(d.currentLayer()), "CUT");
             EXPECT_EQ(textsOf(d), std::vector<std::string>{"CUT: note"});
         }},
        {"habits/bytes_after_eof.dxf", {"line 29: 28 bytes after EOF are not read"}, [](const db::Database& d) {
             ASSERT_TRUE(firstOf<db::PointEntity>(d));
             EXPECT_EQ(firstOf<db::PointEntity>(d)->position(), ge::Point3d(1, 2, 0));
         }},
        {"habits/lone_cr_line_ends.dxf", {"line 1: lines end with a lone CR (an old Macintosh file); read so"},
         [](const db::Database& d) {
             ASSERT_TRUE(firstOf<db::Line>(d));
             EXPECT_EQ(firstOf<db::Line>(d)->end(), ge::Point3d(4, 3, 0));
             EXPECT_EQ(textsOf(d), std::vector<std::string>{"CUT: Mac"});
         }},
        {"habits/stray_endsec.dxf",
         {"line 11: ENDSEC where a SECTION should begin (an end without its section); it is skipped (2 times in the "
          "file)"},
         [](const db::Database& d) { EXPECT_EQ(modelEntities(d).size(), 1u); }},
        // Told as "expected SECTION or EOF, found SECTION ", which named no fault the user could see.
        {"habits/record_name_spaces.dxf",
         {"line 1: the record name \"SECTION \" has spaces around it; read as SECTION (5 times in the file)"},
         [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 2u);
             EXPECT_EQ(std::string(entities[0]->dxfName()), "LINE");
         }},
        // Handles over the whole 64-bit range were refused above 2^60; references by them resolve.
        {"habits/handles_64bit.dxf", {}, [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 2u);
             EXPECT_EQ(entities[0]->handle().text(), "D9B071D01A0CB6A2");
             EXPECT_EQ(entities[1]->handle().text(), "FFFFFFFFFFFFFFF0");
             EXPECT_EQ(entities[0]->layer(), "CUT");
             const auto* root = get<db::Dictionary>(d, d.namedObjectsDictionaryId());
             ASSERT_TRUE(root);
             EXPECT_EQ(root->getAt("KSTR_NOTE").handle().text(), "D9B071D01A0CB6A5");
             EXPECT_GT(d.handSeed().value, 0xFFFFFFFFFFFFFFF0u);
         }},
        // A z of 0 is read as 1; a reference with an x or y of 0 is kept as read with its attribute, and the one
        // after it is read again as a block reference.
        {"habits/insert_zero_scale.dxf",
         {"line 131: INSERT: a z scale factor of 0 (group 43), which changes nothing in the plane; read as 1 (2 times "
          "in the file)",
          "line 153: INSERT: a scale factor of 0 in x or y (group 41 or 42) draws nothing; the reference is kept as "
          "read (2 times in the file)"},
         [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 6u);
             const auto* first = dynamic_cast<const db::BlockReference*>(entities[0]);
             ASSERT_TRUE(first);
             EXPECT_EQ(first->scaleFactors(), ge::Vector3d(1, 1, 1));
             const char* kept[] = {"INSERT", "INSERT", "ATTRIB", "SEQEND"};
             for (std::size_t i = 1; i < 5; ++i) {
                 EXPECT_TRUE(dynamic_cast<const db::OpaqueEntity*>(entities[i])) << i;
                 EXPECT_EQ(std::string(entities[i]->dxfName()), kept[i - 1]);
             }
             EXPECT_EQ(entities[1]->layer(), "TABLE");
             const auto* last = dynamic_cast<const db::BlockReference*>(entities[5]);
             ASSERT_TRUE(last);
             EXPECT_EQ(last->position(), ge::Point3d(40, 0, 0));
         }},
        {"habits/mtext_direction_out_of_range.dxf",
         {"line 41: MTEXT: drawing direction (group 72) 4 is none the format has; read as 1 (left to right) (4 "
          "times in the file)"},
         [](const db::Database& d) {
             std::vector<int> directions;
             for (const db::Entity* e : modelEntities(d))
                 if (const auto* m = dynamic_cast<const db::MText*>(e)) directions.push_back(m->drawingDirection());
             EXPECT_EQ(directions, (std::vector<int>{1, 5, 1, 1, 1}));
         }},
        {"habits/mtext_direction_0_2.dxf",
         {"line 41: MTEXT: drawing direction (group 72) 0 is none the format has; read as 1 (left to right) (2 "
          "times in the file)"},
         [](const db::Database& d) {
             std::vector<int> directions;
             for (const db::Entity* e : modelEntities(d))
                 if (const auto* m = dynamic_cast<const db::MText*>(e)) directions.push_back(m->drawingDirection());
             EXPECT_EQ(directions, (std::vector<int>{1, 1, 3}));
         }},
        {"habits/layer_colour_byblock.dxf",
         {"line 27: LAYER \"HATCH\": colour 0 is no layer colour; read as 7 (white) (2 times in the file)"},
         [](const db::Database& d) {
             const auto colour = [&](const char* name) {
                 const auto* l = get<db::LayerTableRecord>(d, d.recordId(TableKind::Layer, name));
                 return l ? std::to_string(l->color().index) + (l->isOff() ? " off" : " on") : std::string("none");
             };
             EXPECT_EQ(colour("HATCH"), "7 on");
             EXPECT_EQ(colour("OFF"), "7 off");
             EXPECT_EQ(colour("CUT"), "1 on");
         }},
        // A drawing whose header held a line-type scale of -1 gave it to every entity a command made, and its save
        // did not open again.
        {"habits/header_values_out_of_range.dxf",
         {"line 17: header variable $CELTSCALE: -1.0 is out of range (above 0); the variable is skipped (3 times in "
          "the file)"},
         [](const db::Database& d) {
             const db::Header& h = d.header();
             EXPECT_EQ(h.celtScale, 1.0);
             EXPECT_EQ(h.ltScale, 1.0);
             EXPECT_EQ(h.insUnits, 0);  // unsaid, as in a file without it
             EXPECT_EQ(h.measurement, 0);
             EXPECT_EQ(h.pdSize, -5.0);
             std::vector<std::string> others;
             for (const db::Header::Other& o : h.others) others.push_back(o.name);
             EXPECT_EQ(others, std::vector<std::string>{"$LIMMIN"});
             EXPECT_EQ(firstOf<db::Line>(d)->linetypeScale(), 2.0);
             db::Line made;
             made.setPropertiesFrom(d);
             EXPECT_EQ(made.linetypeScale(), 1.0);
         }},
        // The variables after a stray ENDSEC in the header were dropped: $INSUNITS 4 became 0, and a part in inches
        // was cut 25.4 times large.
        {"habits/header_endsec_entities_twice.dxf",
         {"line 13: ENDSEC inside the HEADER section, with header variables after it; it is skipped and the "
          "variables read",
          "line 47: a second ENTITIES section; the entities of every such section are read in their order"},
         [](const db::Database& d) {
             EXPECT_EQ(d.header().insUnits, 4);
             EXPECT_EQ(d.header().pdMode, 3);
             EXPECT_EQ(d.recordName(d.currentLayer()), "CUT");
             std::vector<std::string> kinds;
             for (const db::Entity* e : modelEntities(d)) kinds.push_back(std::string(e->dxfName()));
             EXPECT_EQ(kinds, (std::vector<std::string>{"LINE", "CIRCLE", "TEXT"}));
         }},
        {"habits/insert_zero_scale_r12_attributes.dxf",
         {"line 91: INSERT: a scale factor of 0 in x or y (group 41 or 42) draws nothing; the reference is kept as "
          "read (3 times in the file)"},
         [](const db::Database& d) {
             EXPECT_EQ(modelEntities(d).size(), 9u);  // each with its attribute and SEQEND, kept as read
             // Saved in R2000, the value of each attribute stands after its text's marker, its tag after the
             // attribute's, and each reference has its own marker.
             const std::string saved = writeDxfText(d);
             for (const char* x : {"0", "10", "20"})
                 EXPECT_NE(saved.find(std::string("AcDbText\r\n 10\r\n") + x + ".0\r\n 20\r\n0.0\r\n 30\r\n0.0\r\n"
                                      " 40\r\n2.0\r\n  1\r\nVALUE " + x + "\r\n100\r\nAcDbAttribute\r\n  2\r\nNAME\r\n"),
                           std::string::npos) << x << saved;
             EXPECT_NE(saved.find("AcDbBlockReference\r\n 66\r\n1\r\n  2\r\nTAGGED"), std::string::npos);
             EXPECT_NE(saved.find("AcDbMInsertBlock\r\n 66\r\n1\r\n  2\r\nTAGGED"), std::string::npos);
         }},
        {"habits/sections_repeated.dxf",
         {"line 35: section TABLES out of order or repeated; read where it stands (3 times in the file)",
          "line 39: a second LAYER table; its records join the first's",
          "line 193: BLOCK: a second definition of block \"SQUARE\"; its entities join the first's"},
         [](const db::Database& d) {
             const auto* mark = get<db::LayerTableRecord>(d, d.recordId(TableKind::Layer, "MARK"));
             ASSERT_TRUE(mark);
             EXPECT_EQ(mark->color().index, 3);
             EXPECT_EQ(d.recordName(mark->linetypeId()), "DASHED");
             EXPECT_EQ(get<db::LinetypeTableRecord>(d, mark->linetypeId())->description(), "Dashed __ __");
             EXPECT_EQ(get<db::LayerTableRecord>(d, d.recordId(TableKind::Layer, "CUT"))->color().index, 1);
             EXPECT_EQ(modelEntities(d).size(), 2u);
             for (const auto& [name, kinds] : std::vector<std::pair<std::string, std::vector<std::string>>>{
                      {"SQUARE", {"LINE", "CIRCLE"}}, {"HOLE", {"CIRCLE"}}}) {
                 const auto* block = get<db::BlockTableRecord>(d, d.recordId(TableKind::Block, name));
                 ASSERT_TRUE(block) << name;
                 std::vector<std::string> got;
                 for (ObjectId id : block->entityIds()) got.push_back(std::string(get<db::Entity>(d, id)->dxfName()));
                 EXPECT_EQ(got, kinds) << name;
             }
         }},
        {"habits/layer_named_twice.dxf",
         {"line 71: LAYER: a second record named \"0\"; the first is kept, and references to the second lead to it "
          "(2 times in the file)"},
         [](const db::Database& d) {
             const auto* zero = get<db::LayerTableRecord>(d, d.recordId(TableKind::Layer, "0"));
             const auto* outline = get<db::LayerTableRecord>(d, d.recordId(TableKind::Layer, "外形"));
             ASSERT_TRUE(zero && outline);
             EXPECT_EQ(zero->handle().text(), "10");
             EXPECT_EQ(zero->color().index, 7);
             EXPECT_EQ(outline->color().index, 1);
             EXPECT_TRUE(d.idFromHandle(db::Handle(0x12)).isNull());
             const auto* root = get<db::Dictionary>(d, d.namedObjectsDictionaryId());
             const auto* x = get<db::OpaqueObject>(d, root->getAt("KSTR_LAYER"));
             ASSERT_TRUE(x);
             EXPECT_EQ(x->groups().back(), (db::RawGroup{340, "10"}));
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 2u);
             EXPECT_EQ(entities[0]->layerId(), zero->objectId());
             EXPECT_EQ(entities[1]->layerId(), outline->objectId());
         }},
        // Each the closed curve of its one period: it starts where it ends, and the cubic one starts where a
        // uniform cubic B-spline does, at (P0 + 4 P1 + P2) / 6.
        {"habits/spline_periodic_other_knots.dxf",
         {"line 39: SPLINE: a closed periodic spline of 4 control points has 6 knots, which do not fit its degree 3; "
          "read as the closed curve with knots of one period unwrapped (4 times in the file)"},
         [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 4u);
             const std::vector<double> cubic{-3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7};
             const std::vector<std::vector<double>> knots{cubic, cubic, {-2, -1, 0, 1, 2, 3, 4, 5, 6}, cubic};
             for (std::size_t i = 0; i < entities.size(); ++i) {
                 SCOPED_TRACE(i);
                 const auto* s = dynamic_cast<const db::Spline*>(entities[i]);
                 ASSERT_TRUE(s);
                 EXPECT_EQ(s->knots(), knots[i]);
                 EXPECT_EQ(s->controlPoints().size(), knots[i].size() - 4 + (i == 2 ? 1 : 0));
                 if (i != 2) {  // the third is flagged periodic alone
                     EXPECT_TRUE(s->isClosed());
                 }
                 EXPECT_EQ(s->startParam(), 0.0);
                 EXPECT_EQ(s->endParam(), 4.0);
             }
             EXPECT_EQ(dynamic_cast<const db::Spline*>(entities[1])->weights(), (std::vector<double>{1, 2, 1, 2, 1, 2, 1}));
         }},
        {"habits/spline_periodic_n_plus_1.dxf",
         {"line 49: SPLINE: a closed periodic spline of 4 control points has 5 knots (one period); read with its "
          "knot vector unwrapped (2 times in the file)"},
         [](const db::Database& d) {
             const auto entities = modelEntities(d);
             ASSERT_EQ(entities.size(), 2u);
             const auto* cubic = dynamic_cast<const db::Spline*>(entities[0]);
             const auto* quadratic = dynamic_cast<const db::Spline*>(entities[1]);
             ASSERT_TRUE(cubic && quadratic);
             EXPECT_EQ(cubic->knots(), (std::vector<double>{-3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7}));
             EXPECT_EQ(cubic->controlPoints().size(), 7u);
             EXPECT_EQ(cubic->weights().size(), 7u);
             EXPECT_TRUE(cubic->isClosed());
             EXPECT_EQ(cubic->startParam(), 0.0);
             EXPECT_EQ(cubic->endParam(), 4.0);
             EXPECT_LT(cubic->evaluate(0.0).distanceTo(ge::Point3d(50.0 / 6, 10.0 / 6, 0)), 1e-9);
             EXPECT_EQ(quadratic->knots(), (std::vector<double>{-3, -1, 0, 1, 3, 4, 6, 7, 8, 10}));
             EXPECT_EQ(quadratic->controlPoints().size(), 7u);
             for (const db::Spline* spline : {cubic, quadratic})
                 EXPECT_LT(spline->evaluate(spline->startParam()).distanceTo(spline->evaluate(spline->endParam())),
                           1e-9);
         }},
        // Saved in the page's bytes (the writer's own test), and read back the same.
        {"habits/codepage_names_ansi_1252.dxf", {}, [](const db::Database& d) {
             EXPECT_FALSE(d.recordId(TableKind::Layer, "BEMAßUNG").isNull());
             EXPECT_FALSE(d.recordId(TableKind::Block, "TEIL-Ø").isNull());
             EXPECT_EQ(textsOf(d), std::vector<std::string>{"BEMAßUNG: Maß 3° ż"});
             EXPECT_NE(writeDxfText(d).find("\r\nBEMA\xDFUNG\r\n"), std::string::npos);
         }},
        {"habits/codepage_bytes_like_utf8_ansi_1250.dxf", {}, [](const db::Database& d) {
             EXPECT_FALSE(d.recordId(TableKind::Layer, "ŘŽ").isNull());
             EXPECT_FALSE(d.recordId(TableKind::Block, "BŘŽ").isNull());
             EXPECT_EQ(textsOf(d), std::vector<std::string>{"ŘŽ: ŘŽ"});
             EXPECT_NE(writeDxfText(d).find("\r\n\xD8\x8E\r\n"), std::string::npos);
         }},
        {"habits/codepage_bytes_like_utf8_ansi_932.dxf", {}, [](const db::Database& d) {
             EXPECT_FALSE(d.recordId(TableKind::Layer, "ﾃｽ").isNull());
             EXPECT_FALSE(d.recordId(TableKind::Block, "Bﾃｽ").isNull());
             EXPECT_EQ(textsOf(d), std::vector<std::string>{"ﾃｽ: ﾃｽ"});
             EXPECT_NE(writeDxfText(d).find("\r\n\xC3\xBD\r\n"), std::string::npos);
         }},
        {"habits/codepage_bytes_like_utf8_ansi_1251.dxf", {}, [](const db::Database& d) {
             EXPECT_FALSE(d.recordId(TableKind::Layer, "ЛЁ").isNull());
             EXPECT_FALSE(d.recordId(TableKind::Block, "BЛЁ").isNull());
             EXPECT_EQ(textsOf(d), std::vector<std::string>{"ЛЁ: ЛЁ"});
             EXPECT_NE(writeDxfText(d).find("\r\n\xCB\xA8\r\n"), std::string::npos);
         }},
        // Saved with "330 0", which readers take for an object owned by nothing and delete.
        {"habits/plotsettings_without_owner.dxf", {}, [](const db::Database& d) {
             const std::string saved = writeDxfText(d);
             EXPECT_NE(saved.find("PLOTSETTINGS\r\n  5\r\n50\r\n100\r\nAcDbPlotSettings\r\n"), std::string::npos);
         }},
        // Variables after the ENDSEC of another section, or after the HEADER's own, were dropped unsaid.
        {"habits/variables_between_entities.dxf",
         {"line 31: header variables after ENDSEC, outside the HEADER section; read as the header's",
          "line 41: ENDSEC where a SECTION should begin (an end without its section); it is skipped",
          "line 43: a second ENTITIES section; the entities of every such section are read in their order"},
         [](const db::Database& d) {
             EXPECT_EQ(d.header().insUnits, 1);
             EXPECT_EQ(d.recordName(d.currentLayer()), "CUT");
             EXPECT_EQ(modelEntities(d).size(), 2u);
         }},
        {"habits/variables_after_header_end.dxf",
         {"line 9: ENDSEC inside the HEADER section, with header variables after it; it is skipped and the "
          "variables read"},
         [](const db::Database& d) {
             EXPECT_EQ(d.header().insUnits, 4);
             ASSERT_TRUE(firstOf<db::PointEntity>(d));
         }},
        // An entity colour outside 0..256 once made the reader read past the end of the entity's groups.
        {"fuzz/colour_300.dxf", {"line 9: 300 is not a colour (group 62); read as BYLAYER"},
         [](const db::Database& d) { EXPECT_EQ(firstOf<db::Line>(d)->colorIndex(), 256); }},
    };
    return habits;
}

TEST(DxfReader, ReadsWhatOtherProgramsWrite) {
    for (const WriterHabit& h : writerHabits()) {
        SCOPED_TRACE(h.file);
        const ReadResult r = readDxfFile(kFixtures / h.file);
        ASSERT_TRUE(r) << r.error;
        std::vector<std::string> expected;
        for (const std::string& n : h.notes) expected.push_back((kFixtures / h.file).string() + ", " + n);
        EXPECT_EQ(r.notes, expected);
        h.check(*r.database);
        expectStableThroughSave(*r.database);
        // What we wrote needs no repair. A block reference that draws nothing is kept as read, and told again.
        std::vector<std::string> again;
        for (const std::string& n : readDxfText(writeDxfText(*r.database), "saved.dxf").notes)
            if (n.find("draws nothing; the reference is kept as read") == std::string::npos) again.push_back(n);
        EXPECT_EQ(again, std::vector<std::string>{});
    }
}

struct Malformed {
    const char* name;
    std::string text;
    const char* message;  // after "bad.dxf, "
};

std::string body(std::string_view entities) {
    return "0\nSECTION\n2\nENTITIES\n" + std::string(entities) + "0\nENDSEC\n0\nEOF\n";
}

// A file whose handles reach the top of the 64-bit range: the records the reader makes and the objects the writer
// makes take the lowest handles no object holds, and the save reads back without a repair.
TEST(DxfReader, HandlesAtTheTopOfTheRangeLeaveRoomForNewObjects) {
    const ReadResult r = readDxfText(
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\nFFFFFFFFFFFFFFFF\n0\nENDSEC\n" +
            body("0\nLINE\n5\nFFFFFFFFFFFFFFFF\n8\nCUT\n10\n0\n20\n0\n11\n1\n21\n1\n"
                 "0\nCIRCLE\n8\nMARK\n10\n0\n20\n0\n40\n1\n"),
        "top.dxf");
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(r.notes, std::vector<std::string>{});
    const auto entities = modelEntities(*r.database);
    ASSERT_EQ(entities.size(), 2u);
    EXPECT_EQ(entities[0]->handle().text(), "FFFFFFFFFFFFFFFF");
    EXPECT_FALSE(entities[1]->handle().isNull());
    EXPECT_FALSE(r.database->recordId(TableKind::Layer, "MARK").handle().isNull());
    const ReadResult back = readDxfText(writeDxfText(*r.database), "saved.dxf");
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(back.notes, std::vector<std::string>{});
    expectStableThroughSave(*r.database);
}

TEST(DxfReader, MalformedFilesGiveAClearMessageNamingTheLine) {
    const std::string line = "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n";
    const Malformed cases[] = {
        {"empty", "", "line 1: the file is empty"},
        {"plain text", "hello world\n", "line 1: group code 'hello world' is not a whole number"},
        {"binary, the sentinel only", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22),
         "byte 22: nothing follows the binary DXF sentinel (is the file truncated?)"},
        {"truncated inside a section", "0\nSECTION\n2\nENTITIES\n" + line, "line 17: the file ends inside the ENTITIES section (is it truncated?)"},
        {"truncated after a code", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n", "line 7: the file ends after group code 10 (its value is missing)"},
        {"no EOF", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n", "line 7: the file ends without EOF (is it truncated?)"},
        {"first group not 0", "2\nHEADER\n", "line 1: expected group 0 (the start of a record), found group 2"},
        {"record without a name", body("0\n\n8\n0\n"), "line 5: a record without a name (group 0 is empty)"},
        {"empty line-type name", body("0\nLINE\n6\n\n"), "line 7: LINE: line type \"\" does not exist"},
        {"text too long", body("0\nTEXT\n1\n" + std::string(limits::kMaxTextBytes + 1, 'x') + "\n"), "line 8: TEXT: a text longer than 131072 bytes (value of group code 1)"},
        {"record outside a section", "0\nLINE\n0\nEOF\n", "line 1: expected SECTION or EOF, found LINE"},
        {"section without name", "0\nSECTION\n0\nEOF\n", "line 1: SECTION without a name (group 2)"},
        {"ENDSEC missing", "0\nSECTION\n2\nENTITIES\n" + line + "0\nSECTION\n2\nOBJECTS\n0\nENDSEC\n0\nEOF\n", "line 17: SECTION inside the ENTITIES section (ENDSEC missing)"},
        {"sections out of order", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nENDSEC\n0\nEOF\n", "line 7: section TABLES out of order or repeated"},
        {"not a number", body("0\nLINE\n10\n1.5.2\n20\n0\n"), "line 8: '1.5.2' is not a real number (value of group code 10)"},
        {"point without y", body("0\nLINE\n10\n1\n11\n2\n21\n3\n"), "line 7: LINE: the x of a point (group 10) is not followed by its y (group 20)"},
        {"radius refused", body("0\nCIRCLE\n10\n0\n20\n0\n40\n0\n"), "line 11: CIRCLE: radius group 40 value 0 is refused (eInvalidInput)"},
        {"lineweight refused", body("0\nLINE\n370\n33\n"), "line 7: LINE: lineweight group 370 value 33 is refused (eInvalidInput)"},
        {"vertex without polyline", body("0\nVERTEX\n10\n0\n20\n0\n"), "line 5: VERTEX: a vertex without its POLYLINE"},
        {"attribute without insert", body(line + "0\nATTRIB\n2\nA\n"), "line 17: ATTRIB: an attribute without its INSERT"},
        {"insert without block", body("0\nINSERT\n10\n0\n20\n0\n"), "line 5: INSERT: no block name (group 2)"},
        {"block in entities", body("0\nBLOCK\n2\nA\n"), "line 5: BLOCK: outside the BLOCKS section, or a block inside a block"},
        {"name where a handle must be", body("0\nLINE\n5\nxyz\n"), "line 8: 'xyz' is not a handle (value of group code 5)"},
        {"name in a reference of a modelled kind", body("0\nLINE\n100\nAcDbEntity\n100\nAcDbLine\n330\nxyz\n"), "line 12: LINE: 'xyz' is not a handle (value of group code 330)"},
        {"name in a reference of a kept kind", body("0\nHATCH\n100\nAcDbEntity\n100\nAcDbHatch\n340\nxyz\n"), "line 12: 'xyz' is not a handle (value of group code 340)"},
        {"102 group not closed", body("0\nLINE\n5\n1A\n102\n{ACAD_REACTORS\n330\n1\n"), "line 9: 102 group \"{ACAD_REACTORS\" has no closing \"}\""},
        {"header value without name", "0\nSECTION\n2\nHEADER\n1\nAC1015\n0\nENDSEC\n0\nEOF\n", "line 5: header value (group 1) without a $NAME (group 9)"},
        {"block without ENDBLK", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nA\n" + line + "0\nENDSEC\n0\nEOF\n", "line 25: block \"A\" has no ENDBLK"},
        {"table without ENDTAB", "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nA\n0\nENDSEC\n0\nEOF\n", "line 13: expected a LAYER record or ENDTAB, found ENDSEC"},
        {"record of another table", "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLTYPE\n2\nA\n0\nENDTAB\n0\nENDSEC\n0\nEOF\n", "line 9: expected a LAYER record or ENDTAB, found LTYPE"},
        {"block inserting itself", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nA\n0\nINSERT\n2\nA\n0\nENDBLK\n0\nENDSEC\n0\nEOF\n", "line 5: block \"A\" contains itself"},
        {"blocks inserting each other", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nA\n0\nINSERT\n2\nB\n0\nENDBLK\n0\nBLOCK\n2\nB\n0\nINSERT\n2\nA\n0\nENDBLK\n0\nENDSEC\n0\nEOF\n", "line 5: block \"A\" contains itself (through block \"B\")"},
        {"dictionary entry without object", "0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n3\nA\n0\nENDSEC\n0\nEOF\n", "line 7: dictionary entry \"A\" has no object (group 350 or 360)"},
    };
    for (const Malformed& c : cases) {
        const ReadResult r = readDxfText(c.text, "bad.dxf");
        EXPECT_FALSE(r) << c.name;
        EXPECT_EQ(r.error, std::string("bad.dxf, ") + c.message) << c.name;
    }
}

// Smaller slips of other writers, repaired as CAD programs' audit repairs them: the rest of the drawing is read and
// the user is told once. Each of these refused the whole file.
TEST(DxfReader, SlipsOfOtherWritersAreRepairedWithANote) {
    struct Slip {
        const char* name;
        std::string text;
        std::vector<std::string> notes;  // each after "slip.dxf, "
        std::size_t entities;
    };
    const std::string line = "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n";
    const Slip slips[] = {
        {"header variable in another group", "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n40\n4.0\n0\nENDSEC\n" + body(line),
         {"line 5: header variable $INSUNITS has no group 70 (it holds group 40); the variable is skipped"}, 1},
        // Kept, it was saved without its y, which an entity's point is refused for.
        {"header point without its y", "0\nSECTION\n2\nHEADER\n9\n$LIMMAX\n10\n420\n9\n$INSUNITS\n70\n4\n0\nENDSEC\n" + body(line),
         {"line 5: header variable $LIMMAX: the x of a point (group 10) is not followed by its y (group 20); the "
          "variable is skipped"}, 1},
        {"header point without its x", "0\nSECTION\n2\nHEADER\n9\n$LIMMIN\n20\n5\n9\n$INSUNITS\n70\n4\n0\nENDSEC\n" + body(line),
         {"line 5: header variable $LIMMIN: group 20 of a point does not follow its group 10; the variable is skipped"}, 1},
        {"header point of a z alone", "0\nSECTION\n2\nHEADER\n9\n$UCSORG\n30\n2\n9\n$INSUNITS\n70\n4\n0\nENDSEC\n" + body(line),
         {"line 5: header variable $UCSORG: group 30 of a point does not follow its group 20; the variable is skipped"}, 1},
        // Names differ in case only: one name.
        {"two line types of one name", "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLTYPE\n0\nLTYPE\n2\nDASH\n0\nLTYPE\n2\n"
         "dash\n0\nENDTAB\n0\nENDSEC\n" + body(line),
         {"line 13: LTYPE: a second record named \"dash\"; the first is kept, and references to the second lead to it"}, 1},
        // What a drawing saved while the header held a current line-type scale of -1 holds: it did not open again.
        {"line-type scales not above 0", body("0\nTEXT\n48\n-1\n1\na\n0\nLINE\n48\n0\n11\n1\n21\n1\n0\nSOLID\n48\n-1\n"),
         {"line 7: TEXT: line-type scale (group 48) -1 is not above 0; read as 1 (3 times in the file)"}, 3},
        {"current colour out of range", "0\nSECTION\n2\nHEADER\n9\n$CECOLOR\n62\n-1\n0\nENDSEC\n" + body(line),
         {"line 5: header variable $CECOLOR: -1 is not a colour; the variable is skipped"}, 1},
        {"extended data not closed", body("0\nLINE\n11\n1\n21\n1\n1001\nKstr\n1002\n{\n"),
         {"line 11: LINE: extended data of \"Kstr\" is malformed; that application's data is left out"}, 1},
        // Only the application that is malformed loses its data.
        {"two applications, one malformed", body("0\nLINE\n11\n1\n21\n1\n1001\nA\n1000\nkept\n1001\nB\n1002\n}\n"),
         {"line 15: LINE: extended data of \"B\" is malformed; that application's data is left out"}, 1},
        {"empty handle in extended data", body("0\nLINE\n11\n1\n21\n1\n1001\nA\n1005\n\n1000\nkept\n"),
         {"line 13: LINE: group 1005 holds no handle (its value is empty); it is left out"}, 1},
        // A section whose name has a space after it was passed over as unknown: its entities were lost unsaid.
        {"section name with a space", "0\nSECTION\n2\nENTITIES \n" + line + "0\nENDSEC\n0\nEOF\n",
         {"line 3: the name \"ENTITIES \" has spaces around it; read as ENTITIES"}, 1},
        // What DOS writers leave after EOF is not worth a word.
        {"Ctrl-Z and blank lines after EOF", body(line) + "\x1a\n\n", {}, 1},
        {"lone CR line ends with a CR in the last line", "0\rSECTION\r2\rENTITIES\r0\rENDSEC\r0\rEOF\r",
         {"line 1: lines end with a lone CR (an old Macintosh file); read so"}, 0},
    };
    for (const Slip& c : slips) {
        SCOPED_TRACE(c.name);
        const ReadResult r = readDxfText(c.text, "slip.dxf");
        ASSERT_TRUE(r) << r.error;
        std::vector<std::string> expected;
        for (const std::string& n : c.notes) expected.push_back("slip.dxf, " + n);
        EXPECT_EQ(r.notes, expected);
        EXPECT_EQ(modelEntities(*r.database).size(), c.entities);
        expectStableThroughSave(*r.database);
    }
    // Where the slip is part of the data, the drawing is still refused: a NUL before EOF, a point without its y.
    EXPECT_EQ(readDxfText(body(line + std::string("0\nTEXT\n1\na\0b\n", 13)), "bad.dxf").error,
              "bad.dxf, line 20: NUL byte in the file (is it a binary file?)");
    EXPECT_EQ(readDxfText(body("0\nLINE\n10\n1\n11\n2\n21\n3\n"), "bad.dxf").error,
              "bad.dxf, line 7: LINE: the x of a point (group 10) is not followed by its y (group 20)");
}

// A code page we cannot read loses nothing: its bytes are read as ANSI_1252 and the user is told, and the save
// declares the page the text was read as.
TEST(DxfReader, UnknownCodePageIsReadAsAnsi1252WithANote) {
    const ReadResult r = readDxfText("0\nSECTION\n2\nHEADER\n9\n$DWGCODEPAGE\n3\nKLINGON\n0\nENDSEC\n" +
                                         body("0\nTEXT\n1\nCaf\xE9\n"),
                                     "page.dxf");
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(r.notes, std::vector<std::string>{"page.dxf, line 5: code page \"KLINGON\" is not known: text outside "
                                                "ASCII is read as ANSI_1252"});
    EXPECT_EQ(firstOf<db::Text>(*r.database)->textString(), "Café");
    EXPECT_NE(writeDxfText(*r.database).find("$DWGCODEPAGE\r\n  3\r\nANSI_1252\r\n"), std::string::npos);
}

// Blocks of four references to the next block, eleven deep, are a drawing of two and a half million entities in
// a few hundred lines: refused at once rather than measured for seconds or, a few levels deeper, for hours.
TEST(DxfReader, BlockReferencesExpandingBeyondTheBoundAreRefused) {
    std::string blocks = "0\nSECTION\n2\nBLOCKS\n";
    const int depth = 11;
    for (int b = 0; b < depth; ++b) {
        blocks += "0\nBLOCK\n2\nB" + std::to_string(b) + "\n";
        for (int i = 0; b + 1 < depth && i < 4; ++i) blocks += "0\nINSERT\n2\nB" + std::to_string(b + 1) + "\n";
        if (b + 1 == depth) blocks += "0\nPOINT\n10\n0\n20\n0\n";
        blocks += "0\nENDBLK\n";
    }
    blocks += "0\nENDSEC\n";
    const ReadResult deep = readDxfText(blocks + body("0\nINSERT\n2\nB0\n"), "bomb.dxf");
    EXPECT_EQ(deep.error, "bomb.dxf, line 1: the drawing's block references expand to more than 2000000 entities, "
                          "more than a drawing can show");
    // Nine levels (six hundred thousand entities) are a drawing.
    const ReadResult shallower = readDxfText(blocks + body("0\nINSERT\n2\nB1\n"), "deep.dxf");
    EXPECT_TRUE(shallower) << shallower.error;
}

// Counts in the file are never used to size anything: a count of two billion vertices reads as the vertices
// that are there.
TEST(DxfReader, AbsurdCountsAllocateNothing) {
    const ReadResult r = readDxfText(body("0\nLWPOLYLINE\n90\n2147483647\n70\n1\n10\n0\n20\n0\n10\n1\n20\n0\n"
                                          "0\nSPLINE\n72\n32767\n73\n32767\n74\n32767\n"),
                                     "counts.dxf");
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(firstOf<db::LwPolyline>(*r.database)->numVerts(), 2u);
}

// A failed read leaves the working drawing as it was, and answers no drawing at all.
TEST(DxfReader, FailedReadChangesNothing) {
    db::Database open;
    db::setWorkingDatabase(&open);
    const std::size_t objects = open.objectCount();
    open.clearModified();
    const ReadResult r = readDxfText(body("0\nLINE\n1001\nNEWAPP\n1000\nx\n0\nCIRCLE\n40\n-1\n"), "bad.dxf");
    EXPECT_FALSE(r.database);
    EXPECT_NE(r.error, "");
    EXPECT_EQ(db::workingDatabase(), &open);
    EXPECT_EQ(open.objectCount(), objects);
    EXPECT_TRUE(open.recordId(TableKind::RegApp, "NEWAPP").isNull());
    EXPECT_FALSE(open.isModified());
    db::setWorkingDatabase(nullptr);
}

TEST(DxfReader, MissingOrOversizedFileIsReported) {
    const ReadResult missing = readDxfFile("/nonexistent/drawing.dxf");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.error.rfind("/nonexistent/drawing.dxf: cannot read the file (", 0), 0u) << missing.error;
    sys::testing::ScratchFolder dir;
    const ReadResult folder = readDxfFile(dir.path());
    EXPECT_FALSE(folder);
    EXPECT_NE(folder.error.find(dir.path().string()), std::string::npos);
}

// Polygon and polyface meshes are old-style polylines the host does not model: the polyline, its vertices (with
// their face indices) and its end marker are kept as read, in order, and written back the same.
TEST(DxfReader, MeshPolylinesStayAsRead) {
    const std::string mesh =
        "0\nPOLYLINE\n8\n0\n66\n1\n10\n0\n20\n0\n30\n0\n70\n64\n71\n3\n72\n1\n"
        "0\nVERTEX\n8\n0\n10\n0\n20\n0\n30\n0\n70\n192\n"
        "0\nVERTEX\n8\n0\n10\n1\n20\n0\n30\n0\n70\n192\n"
        "0\nVERTEX\n8\n0\n10\n0\n20\n1\n30\n0\n70\n192\n"
        "0\nVERTEX\n8\n0\n10\n0\n20\n0\n30\n0\n70\n128\n71\n1\n72\n2\n73\n3\n"
        "0\nSEQEND\n8\n0\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n";
    const ReadResult r = readDxfText(body(mesh), "mesh.dxf");
    ASSERT_TRUE(r) << r.error;
    const auto entities = modelEntities(*r.database);
    ASSERT_EQ(entities.size(), 7u);
    const char* names[] = {"POLYLINE", "VERTEX", "VERTEX", "VERTEX", "VERTEX", "SEQEND", "LINE"};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(std::string(entities[i]->dxfName()), names[i]);
        EXPECT_TRUE(dynamic_cast<const db::OpaqueEntity*>(entities[i]));
    }
    const auto* face = dynamic_cast<const db::OpaqueEntity*>(entities[4]);
    EXPECT_EQ(face->groups().back(), (db::RawGroup{73, "3"}));
    EXPECT_TRUE(dynamic_cast<const db::Line*>(entities[6]));
    expectStableThroughSave(*r.database);
}

// Newer writers give an MTEXT's direction as a vector (11) and append its columns as embedded object data after
// a 101 group, with codes of the text's own data again: the direction becomes the rotation, and the embedded
// data does not overwrite the location.
TEST(DxfReader, MTextDirectionVectorAndEmbeddedData) {
    const ReadResult r = readDxfText(
        body("0\nMTEXT\n100\nAcDbEntity\n8\n0\n100\nAcDbMText\n10\n5\n20\n6\n30\n0\n40\n2.5\n1\nAbc\n"
             "11\n0\n21\n1\n31\n0\n101\nEmbedded Object\n70\n1\n10\n1\n20\n0\n30\n0\n11\n99\n21\n99\n31\n0\n"),
        "mtext.dxf");
    ASSERT_TRUE(r) << r.error;
    const auto* m = firstOf<db::MText>(*r.database);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->location(), ge::Point3d(5, 6, 0));
    EXPECT_DOUBLE_EQ(m->rotation(), M_PI / 2);
    EXPECT_EQ(m->contents(), "Abc");
}

// Entities of files that name layers, line types, styles and blocks their tables do not hold get those records,
// as CAD programs make them; a file of entities only is a whole drawing.
TEST(DxfReader, NamesWithoutRecordsGetRecords) {
    const ReadResult r =
        readDxfText(body("0\nLINE\n8\nNEW\n6\nDASHDOT\n10\n0\n20\n0\n11\n1\n21\n1\n0\nTEXT\n7\nROMANS\n1\nx\n"
                         "0\nINSERT\n2\nLATER\n10\n0\n20\n0\n"),
                    "names.dxf");
    ASSERT_TRUE(r) << r.error;
    const db::Database& d = *r.database;
    EXPECT_FALSE(d.recordId(TableKind::Layer, "NEW").isNull());
    EXPECT_FALSE(d.recordId(TableKind::Linetype, "DASHDOT").isNull());
    EXPECT_FALSE(d.recordId(TableKind::TextStyle, "ROMANS").isNull());
    EXPECT_FALSE(d.recordId(TableKind::Block, "LATER").isNull());
    EXPECT_EQ(firstOf<db::Line>(d)->linetype(), "DASHDOT");
    expectStableThroughSave(d);
}

}  // namespace
}  // namespace host::dxf
