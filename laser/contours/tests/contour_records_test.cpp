// Contour kinds from layer names, entity type codes from data lists, and the records' starting values.
#include <gtest/gtest.h>

#include <memory>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/entity_data.h"
#include "laser/contours/contour_records.h"

namespace {

using host::db::ResBuf;
using host::db::ResBufList;

TEST(ContourKinds, DrawnPiecesTakeTheExactLayerName) {
    struct Case {
        const char* layer;
        int type;
        ContourKind kind;
    };
    const Case cases[] = {
        {"0", kEntityLine, ContourKind::KindBase},
        {"JumperLine", kEntityPoint, ContourKind::KindJumperPoint},
        {"JumperLine", kEntityLine, ContourKind::JumperLine},
        {"NoLeadIn", kEntityArc, ContourKind::NoLeadIn},
        {"noleadin", kEntityLine, ContourKind::KindUnset},
        {"MarkPoint", kEntityPoint, ContourKind::MarkPoint},
        {"CutT2Line", kEntityCircle, ContourKind::CutT2Line},
        {"EngraveAndMarkLine", kEntityLine, ContourKind::EngraveAndMarkLine},
        {"MarkLine", kEntityLine, ContourKind::MarkLine},
        {"InsideCutLine", kEntityLine, ContourKind::InsideCutLine},
        {"1", kEntityLine, ContourKind::KindLayer1},
        {"9", kEntityLine, ContourKind::KindLayer9},
        {"10", kEntityLine, ContourKind::KindUnset},
        {"Parts", kEntityLine, ContourKind::KindUnset},
    };
    for (const Case& c : cases) EXPECT_EQ(KindFromLayerName(c.layer, c.type), c.kind) << c.layer;
}

TEST(ContourKinds, FinishedContoursIgnoreCaseAndPointsNeedTheirLayer) {
    struct Case {
        const char* layer;
        bool point;
        ContourKind kind;
    };
    const Case cases[] = {
        {"noleadin", false, ContourKind::NoLeadIn},
        {"JUMPERLINE", false, ContourKind::JumperLine},
        {"0", false, ContourKind::KindBase},
        {"Parts", false, ContourKind::KindBase},
        {"heattreatmentline", false, ContourKind::HeatTreatmentLine},
        {"5", false, ContourKind::KindLayer5},
        {"MarkPoint", true, ContourKind::MarkPoint},
        {"JumperLine", true, ContourKind::KindJumperPoint},
        {"markpoint", true, ContourKind::KindUnset},
        {"Parts", true, ContourKind::KindUnset},
    };
    for (const Case& c : cases) EXPECT_EQ(ContourTableKind(c.layer, c.point), c.kind) << c.layer;
}

TEST(EntityTypeCodes, FromDataLists) {
    struct Case {
        const char* type;
        const char* layer;
        int code;
        int codeWithLayer;
    };
    const Case cases[] = {
        {"LINE", "0", kEntityLine, kEntityLine},
        {"ARC", "0", kEntityArc, kEntityArc},
        {"LWPOLYLINE", "0", kEntityPolyline, kEntityPolyline},
        {"POLYLINE", "0", kEntityOther, kEntityPolyline},
        {"CIRCLE", "0", kEntityCircle, kEntityCircle},
        {"POINT", "0", kEntityPoint, kEntityPoint},
        {"TEXT", "0", kEntityOther, kEntityText},
        {"TEXT", "NC_Laser", kEntityOther, kEntityOnJobLayer},
        {"LINE", "NC_Laser_Off", kEntityLine, kEntityOnJobLayer},
        {"line", "0", kEntityOther, kEntityOther},
        {"SPLINE", "0", kEntityOther, kEntityOther},
    };
    for (const Case& c : cases) {
        const ResBufList data = {ResBuf(0, c.type), ResBuf(8, c.layer)};
        EXPECT_EQ(GetEntityTypeCode(data), c.code) << c.type;
        std::string layer = "old";
        EXPECT_EQ(GetEntityTypeAndLayer(data, layer), c.codeWithLayer) << c.type << " on " << c.layer;
        EXPECT_EQ(layer, c.layer);
    }
}

TEST(EntityTypeCodes, MissingListsAndLayers) {
    std::string layer = "kept";
    EXPECT_EQ(GetEntityTypeCode({}), kEntityOther);
    EXPECT_EQ(GetEntityTypeAndLayer({}, layer), kEntityOther);
    EXPECT_EQ(layer, "kept");
    EXPECT_EQ(GetEntityTypeAndLayer({ResBuf(0, "CIRCLE")}, layer), kEntityCircle);
    EXPECT_EQ(layer, "");
    EXPECT_EQ(GetEntityTypeCodeByName(host::db::EntityName{}), kEntityOther);
}

TEST(EntityTypeCodes, ByEntityName) {
    host::db::Database db;
    host::db::Database* before = host::db::workingDatabase();
    host::db::setWorkingDatabase(&db);
    host::db::ObjectId id;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> ms(db.modelSpaceId(), host::db::OpenMode::Write);
        ASSERT_EQ(ms->appendEntity(std::make_unique<host::db::Circle>(host::ge::Point3d{0, 0, 0}, 2.0), &id),
                  host::db::Status::Ok);
    }
    EXPECT_EQ(GetEntityTypeCodeByName(host::db::idToName(id)), kEntityCircle);
    host::db::setWorkingDatabase(before);
}

TEST(ContourRecords, StartValuesAndTheEmptyStock) {
    const ContourRecord fresh;
    EXPECT_EQ(fresh.kind, ContourKind::KindUnset);
    EXPECT_EQ(fresh.handle, 0u);
    EXPECT_EQ(fresh.closure, kClosureClosed);
    const ContourRecord stock = EmptyStockRecord();
    EXPECT_EQ(stock.role, kRoleStock);
    EXPECT_EQ(stock.shape, kShapePolyline);
    EXPECT_EQ(stock.placement, kPlacementNone);
    EXPECT_EQ(stock.handle, 0u);
    EXPECT_DOUBLE_EQ(stock.area, 0.0);
    const ContourEntity piece;
    EXPECT_EQ(piece.type, kEntityDropped);
    EXPECT_EQ(piece.kind, ContourKind::KindUnset);
}

TEST(ContourEntityStage, ReleaseEmptiesTheTables) {
    ContourEntityStage stage;
    stage.ContourEntityTable.resize(4);
    stage.ContourEntityCount = 3;
    stage.NodeList = {1, 2};
    stage.NodeMembers = {0, 1};
    stage.ReleaseEntityTables();
    EXPECT_TRUE(stage.ContourEntityTable.empty());
    EXPECT_EQ(stage.ContourEntityCount, 0);
    EXPECT_TRUE(stage.NodeList.empty());
    EXPECT_TRUE(stage.NodeMembers.empty());
}

}  // namespace
