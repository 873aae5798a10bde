// Entity access through the real database: geometry readers by name, operations by handle, erasing and
// highlighting, the primary point, clearing a drawing and erasing by layer name; the result-buffer list helpers.
#include "cadlib/entity_access.h"
#include "cadlib/resbuf_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/ed/display.h"
#include "host/ed/tests/input_test_drawing.h"

namespace {

using host::db::EntityName;
using host::db::idToName;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;
using host::ge::Point3d;

class EntityAccess : public ::testing::Test {
protected:
    std::uint64_t handleOf(ObjectId id) { return id.handle().value; }
    std::size_t liveEntities() {
        ObjectPtr<host::db::BlockTableRecord> ms(d.db().modelSpaceId(), OpenMode::Read);
        return ms->entityIds().size();
    }
    host::ed::testing::TestDrawing d;
};

TEST_F(EntityAccess, ReadersByNameAnswerTheirKindOnly) {
    const EntityName line = idToName(d.line({1, 2, 3}, {4, 5, 6}));
    const EntityName circle = idToName(d.circle({7, 8, 0}, 2));
    const EntityName arc = idToName(d.arc({1, 1, 0}, 3, 0.5, 1.5));
    const EntityName point = idToName(d.point({9, 9, 1}));

    Point3d s, e, c;
    double r = 0, a0 = 0, a1 = 0;
    double s3[3] = {}, e3[3] = {};
    EXPECT_EQ(GetLineData(line, s, e), 0);
    EXPECT_EQ(s, Point3d(1, 2, 3));
    EXPECT_EQ(e, Point3d(4, 5, 6));
    EXPECT_EQ(GetLineDataAds(line, s3, e3), 0);
    EXPECT_EQ(e3[2], 6.0);
    EXPECT_EQ(GetCircleData(circle, c, r), 0);
    EXPECT_EQ(c, Point3d(7, 8, 0));
    EXPECT_EQ(r, 2.0);
    EXPECT_EQ(GetArcDataAds(arc, s3, r, a0, a1), 0);
    EXPECT_EQ(r, 3.0);
    EXPECT_EQ(a0, 0.5);
    EXPECT_EQ(a1, 1.5);
    EXPECT_EQ(GetPointDataAds(point, s3), 0);
    EXPECT_EQ(s3[0], 9.0);

    // The wrong kind and a name of nothing: -1, outputs kept.
    c = Point3d(-1, -1, -1);
    r = -1;
    EXPECT_EQ(GetCircleData(line, c, r), -1);
    EXPECT_EQ(GetArcData(circle, c, r, a0, a1), -1);
    EXPECT_EQ(GetLineData(EntityName{}, s, e), -1);
    EXPECT_EQ(GetCircleDataAds(point, s3, r), -1);
    EXPECT_EQ(c, Point3d(-1, -1, -1));
    EXPECT_EQ(r, -1.0);
}

TEST_F(EntityAccess, OperationsByHandle) {
    const ObjectId line = d.line({0, 0, 0}, {5, 0, 0});
    const ObjectId circle = d.circle({0, 0, 0}, 1);
    Point3d s(7, 7, 7), e(7, 7, 7);
    EXPECT_EQ(GetLineEndpointsByHandle(handleOf(circle), s, e), 1);
    EXPECT_EQ(GetLineEndpointsByHandle(0xFFFFFF, s, e), 1);
    EXPECT_EQ(s, Point3d(7, 7, 7));
    EXPECT_EQ(SetLineStartPointByHandle(handleOf(line), {1, 1, 0}), 0);
    EXPECT_EQ(SetLineStartPointByHandle(0xFFFFFF, {1, 1, 0}), 0);
    EXPECT_EQ(GetLineEndpointsByHandle(handleOf(line), s, e), 0);
    EXPECT_EQ(s, Point3d(1, 1, 0));
    EXPECT_EQ(e, Point3d(5, 0, 0));

    EXPECT_EQ(HighlightEntityByHandle(handleOf(line)), 0);
    EXPECT_EQ(host::ed::highlightedEntities(d.db()), std::vector<ObjectId>{line});
    EXPECT_EQ(UnhighlightEntityByHandle(handleOf(line)), 0);
    EXPECT_TRUE(host::ed::highlightedEntities(d.db()).empty());
    EXPECT_EQ(EraseEntityByHandle(handleOf(line)), 0);
    EXPECT_EQ(EraseEntityByHandle(0xFFFFFF), 0);
    EXPECT_EQ(liveEntities(), 1u);
}

TEST_F(EntityAccess, OperationsByName) {
    const ObjectId circle = d.circle({0, 0, 0}, 1);
    EXPECT_EQ(HighlightEntity(idToName(circle)), 0);
    EXPECT_EQ(host::ed::highlightedEntities(d.db()), std::vector<ObjectId>{circle});
    EXPECT_EQ(UnhighlightEntity(idToName(circle)), 0);
    EXPECT_EQ(HighlightEntity(EntityName{}), -1);
    EXPECT_EQ(EraseEntity(EntityName{}), -1);
    EXPECT_EQ(EraseEntity(idToName(circle)), 0);
    EXPECT_EQ(liveEntities(), 0u);
}

TEST_F(EntityAccess, PrimaryPointOfEachKind) {
    const ObjectId line = d.line({0, 0, 0}, {5, 0, 0});
    const ObjectId circle = d.circle({0, 0, 0}, 1);
    const ObjectId point = d.point({0, 0, 0});
    for (ObjectId id : {line, circle, point}) EXPECT_EQ(SetEntityPrimaryPoint(id, {2, 3, 0}), 0);
    EXPECT_EQ(ObjectPtr<host::db::Line>(line, OpenMode::Read)->start(), Point3d(2, 3, 0));
    EXPECT_EQ(ObjectPtr<host::db::Line>(line, OpenMode::Read)->end(), Point3d(5, 0, 0));
    EXPECT_EQ(ObjectPtr<host::db::Circle>(circle, OpenMode::Read)->center(), Point3d(2, 3, 0));
    EXPECT_EQ(ObjectPtr<host::db::PointEntity>(point, OpenMode::Read)->position(), Point3d(2, 3, 0));
}

TEST_F(EntityAccess, EraseByLayerNameIsCaseSensitive) {
    d.layer("NC_Laser");
    d.layer("NC_Laser_Off");
    d.layer("nc_laser_lower");
    std::vector<ObjectId> ids;
    for (const char* layer : {"NC_Laser", "0", "NC_Laser_Off", "nc_laser_lower", "NC_Laser"}) {
        const ObjectId id = d.line({0, 0, 0}, {1, 0, 0});
        d.change(id, [&](host::db::Entity& e) { e.setLayer(layer); });
        ids.push_back(id);
    }
    EXPECT_EQ(EraseEntitiesOnLayersContaining("NC"), 3);
    EXPECT_EQ(liveEntities(), 2u);
    EXPECT_EQ(EraseEntitiesOnLayersContaining("NC"), 0);
}

TEST_F(EntityAccess, EraseAllEntities) {
    EraseAllEntities();  // an empty drawing: nothing happens
    EXPECT_EQ(liveEntities(), 0u);
    for (int i = 0; i < 4; ++i) d.line({0, 0, 0}, {double(i + 1), 0, 0});
    EraseAllEntities();
    EXPECT_EQ(liveEntities(), 0u);

    // A line on a locked layer cannot be deleted: the clearing stops there, the lines before it stay.
    const ObjectId locked = d.layer("Locked");
    d.line({0, 0, 0}, {1, 0, 0});
    const ObjectId held = d.line({0, 0, 0}, {2, 0, 0});
    d.change(held, [](host::db::Entity& e) { e.setLayer("Locked"); });
    d.line({0, 0, 0}, {3, 0, 0});
    {
        ObjectPtr<host::db::LayerTableRecord> layer(locked, OpenMode::Write);
        layer->setIsLocked(true);
    }
    EraseAllEntities();
    EXPECT_EQ(liveEntities(), 2u);
}

TEST(ResbufLists, FindSetAndAppend) {
    ResBufList list;
    std::string text = "kept";
    int i = 5;
    std::int64_t big = 5;
    EXPECT_EQ(FindResbufString(list, 8, text), 1);
    EXPECT_EQ(text, "kept");

    EXPECT_EQ(&AppendResbuf(list, ResBuf(8, "Cut")), &list);
    ASSERT_EQ(list.size(), 1u);  // an empty list answers the element itself
    AppendResbuf(list, ResBuf(70, 3));
    AppendResbuf(list, ResBuf(8, "Second"));
    AppendResbuf(list, ResBuf(160, std::int64_t(1) << 40));
    AppendResbuf(list, ResBuf(10, Point3d(1, 2, 3)));
    EXPECT_EQ(FindResbufString(list, 8, text), 0);
    EXPECT_EQ(text, "Cut");
    EXPECT_EQ(FindResbufInt(list, 70, i), 0);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(FindResbufInt(list, 71, i), 1);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(FindResbufInt64(list, 160, big), 0);
    EXPECT_EQ(big, std::int64_t(1) << 40);
    EXPECT_EQ(SetResbufPoint(list, 10, {4, 5, 6}), 0);
    EXPECT_EQ(list.back().point(), Point3d(4, 5, 6));

    ResBufList empty;
    AppendEntityName(empty, EntityName{{1, 2}});
    EXPECT_TRUE(empty.empty());
    AppendEntityName(list, EntityName{{1, 2}});
    EXPECT_EQ(list.back().code, host::db::RTENAME);
    EXPECT_EQ(list.back().name(), (EntityName{{1, 2}}));
}

TEST_F(EntityAccess, EntityStringOfTheLayerGroup) {
    d.layer("Marks");
    const ObjectId id = d.line({0, 0, 0}, {1, 0, 0});
    d.change(id, [](host::db::Entity& e) { e.setLayer("Marks"); });
    std::string layer;
    EXPECT_EQ(GetEntityString(idToName(id), 8, layer), 0);
    EXPECT_EQ(layer, "Marks");
    std::string none = "kept";
    EXPECT_EQ(GetEntityString(idToName(id), 1, none), 1);
    EXPECT_EQ(GetEntityString(EntityName{}, 8, none), 1);
    EXPECT_EQ(none, "kept");
}

}  // namespace
