// Entity properties: layer and line type by name, colour, line-type scale, lineweight, and the write-enable
// contract of every setter.
#include <gtest/gtest.h>

#include "db_test_support.h"
#include "host/db/database.h"

namespace host::db {
namespace {

using testing::addLayer;
using testing::addToModelSpace;

// Makes `db` the working database for one test and puts the previous one back.
class WorkingDatabase {
public:
    explicit WorkingDatabase(Database* db) : previous_(workingDatabase()) { setWorkingDatabase(db); }
    ~WorkingDatabase() { setWorkingDatabase(previous_); }

private:
    Database* previous_;
};

TEST(EntityProperties, LayerByNameIgnoresCaseAndAnswersTheStoredName) {
    Database db;
    addLayer(db, "Contour");
    const ObjectId id = addToModelSpace(db, std::make_unique<Line>(ge::Point3d{0, 0}, ge::Point3d{1, 0}));
    ObjectPtr<Line> line(id, OpenMode::Write);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->setLayer("CONTOUR"), Status::Ok);
    EXPECT_EQ(line->layer(), "Contour");
    EXPECT_EQ(line->layerId(), db.recordId(TableKind::Layer, "contour"));
    // An unknown name changes nothing.
    EXPECT_EQ(line->setLayer("NoSuchLayer"), Status::KeyNotFound);
    EXPECT_EQ(line->layer(), "Contour");
}

TEST(EntityProperties, LinetypesThatAlwaysExist) {
    Database db;
    const ObjectId id = addToModelSpace(db, std::make_unique<Line>(ge::Point3d{0, 0}, ge::Point3d{1, 0}));
    ObjectPtr<Line> line(id, OpenMode::Write);
    struct Case {
        const char* given;
        const char* stored;
    };
    const Case cases[] = {{"CONTINUOUS", "Continuous"}, {"bylayer", "ByLayer"}, {"ByBlock", "ByBlock"}};
    for (const Case& c : cases) {
        EXPECT_EQ(line->setLinetype(c.given), Status::Ok) << c.given;
        EXPECT_EQ(line->linetype(), c.stored) << c.given;
    }
    EXPECT_EQ(line->setLinetype("HIDDEN"), Status::KeyNotFound);  // not loaded
    EXPECT_EQ(line->linetype(), "ByBlock");
    // A layer id given where a line type is wanted.
    EXPECT_EQ(line->setLinetype(db.recordId(TableKind::Layer, "0")), Status::WrongObjectType);
}

TEST(EntityProperties, NewEntityLooksNamesUpInTheWorkingDatabase) {
    Line line({0, 0}, {1, 0});
    EXPECT_EQ(line.layer(), "0");  // none set yet
    EXPECT_EQ(line.linetype(), "ByLayer");
    {
        WorkingDatabase none(nullptr);
        EXPECT_EQ(line.setLayer("0"), Status::NotInDatabase);
    }
    Database db;
    addLayer(db, "Marks");
    WorkingDatabase working(&db);
    EXPECT_EQ(line.setLayer("marks"), Status::Ok);
    EXPECT_EQ(line.layer(), "Marks");
    EXPECT_EQ(line.setLinetype("continuous"), Status::Ok);
    EXPECT_EQ(line.linetype(), "Continuous");
}

TEST(EntityProperties, LayerOfAnotherDrawingIsRefused) {
    Database a, b;
    const ObjectId id = addToModelSpace(a, std::make_unique<Circle>(ge::Point3d{0, 0}, 1.0));
    ObjectPtr<Circle> circle(id, OpenMode::Write);
    EXPECT_EQ(circle->setLayer(addLayer(b, "Other")), Status::WrongDatabase);
    EXPECT_EQ(circle->setLayer(ObjectId()), Status::NullObjectId);
}

TEST(EntityProperties, ValuesAreCheckedBeforeTheyAreStored) {
    PointEntity p({1, 2, 3});
    struct ColorCase {
        Color color;
        Status status;
    };
    const ColorCase colors[] = {
        {Color::fromIndex(0), Status::Ok},     {Color::fromIndex(7), Status::Ok},
        {Color::fromIndex(256), Status::Ok},   {Color::fromIndex(257), Status::InvalidInput},
        {Color::fromIndex(-1), Status::InvalidInput},
        {Color{257, 0x00FF8000u}, Status::Ok}, {Color{257, 0x01000000u}, Status::InvalidInput},
    };
    for (const ColorCase& c : colors) EXPECT_EQ(p.setColor(c.color), c.status) << c.color.index;
    EXPECT_EQ(p.color(), (Color{257, 0x00FF8000u}));
    EXPECT_EQ(p.setColorIndex(3), Status::Ok);
    EXPECT_EQ(p.color(), Color::fromIndex(3));  // the true colour is gone
    EXPECT_EQ(p.setColorIndex(257), Status::InvalidInput);

    EXPECT_EQ(p.setLinetypeScale(0.0), Status::InvalidInput);
    EXPECT_EQ(p.setLinetypeScale(-2.0), Status::InvalidInput);
    EXPECT_EQ(p.setLinetypeScale(2.5), Status::Ok);
    EXPECT_DOUBLE_EQ(p.linetypeScale(), 2.5);

    for (int w : {-3, -2, -1, 0, 25, 211}) EXPECT_EQ(p.setLineWeight(w), Status::Ok) << w;
    for (int w : {-4, 1, 24, 212}) EXPECT_EQ(p.setLineWeight(w), Status::InvalidInput) << w;
    EXPECT_EQ(p.lineWeight(), 211);

    EXPECT_EQ(p.setVisible(false), Status::Ok);
    EXPECT_FALSE(p.isVisible());
}

TEST(EntityProperties, NewEntitiesTakeTheCurrentProperties) {
    Database db;
    const ObjectId layer = addLayer(db, "Cut");
    ASSERT_EQ(db.setCurrentLayer(layer), Status::Ok);
    db.header().ceColor = Color::fromIndex(5);
    db.header().celtScale = 3.0;
    const ObjectId id = addToModelSpace(db, std::make_unique<Line>(ge::Point3d{0, 0}, ge::Point3d{1, 0}));
    ObjectPtr<Line> line(id, OpenMode::Read);
    EXPECT_EQ(line->layer(), "Cut");
    EXPECT_EQ(line->colorIndex(), 5);
    EXPECT_DOUBLE_EQ(line->linetypeScale(), 3.0);
}

using EntityPropertiesDeathTest = ::testing::Test;

TEST_F(EntityPropertiesDeathTest, ChangingAReadOpenEntityStopsWithAMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Database db;
    const ObjectId id = addToModelSpace(db, std::make_unique<Line>(ge::Point3d{0, 0}, ge::Point3d{1, 0}));
    ObjectPtr<Line> line(id, OpenMode::Read);
    ASSERT_TRUE(line);
    EXPECT_DEATH(line->setStart({5, 5}), "not open for write");
    EXPECT_DEATH(line->setColorIndex(1), "not open for write");
    EXPECT_DEATH(line->transformBy(ge::Matrix3d::translation({1, 0, 0})), "not open for write");
}

}  // namespace
}  // namespace host::db
