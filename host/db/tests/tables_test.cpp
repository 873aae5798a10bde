// Symbol tables: what every drawing has, names without regard to case, records' rules, current values, and
// appending entities to blocks.
#include <gtest/gtest.h>

#include <functional>

#include "db_test_support.h"

namespace host::db {
namespace {

using testing::addLayer;
using testing::addProbe;
using testing::eraseObject;

TEST(DrawingDefaults, EveryDrawingHasTheRecordsCommandsExpect) {
    Database db;
    const struct {
        TableKind kind;
        const char* name;
    } records[] = {
        {TableKind::Layer, "0"},           {TableKind::Linetype, "ByBlock"},     {TableKind::Linetype, "ByLayer"},
        {TableKind::Linetype, "Continuous"}, {TableKind::TextStyle, "Standard"}, {TableKind::RegApp, "ACAD"},
        {TableKind::Viewport, "*Active"},  {TableKind::Block, "*Model_Space"},   {TableKind::Block, "*Paper_Space"},
    };
    for (const auto& r : records) EXPECT_FALSE(db.recordId(r.kind, r.name).isNull()) << r.name;

    const auto* layer0 = dynamic_cast<const LayerTableRecord*>(db.peek(db.recordId(TableKind::Layer, "0")));
    ASSERT_NE(layer0, nullptr);
    EXPECT_EQ(layer0->color(), Color::fromIndex(7));
    EXPECT_EQ(db.recordName(layer0->linetypeId()), "Continuous");
    EXPECT_EQ(db.recordName(db.currentLayer()), "0");
    EXPECT_EQ(db.recordName(db.currentLinetype()), "ByLayer");
    EXPECT_EQ(db.recordName(db.currentTextStyle()), "Standard");

    for (ObjectId space : {db.modelSpaceId(), db.paperSpaceId()}) {
        const auto* block = dynamic_cast<const BlockTableRecord*>(db.peek(space));
        ASSERT_NE(block, nullptr);
        EXPECT_TRUE(block->isLayout());
        ASSERT_NE(dynamic_cast<const BlockBegin*>(db.peek(block->blockBegin())), nullptr);
        ASSERT_NE(dynamic_cast<const BlockEnd*>(db.peek(block->blockEnd())), nullptr);
        EXPECT_EQ(db.peek(block->blockBegin())->ownerId(), space);
        EXPECT_EQ(block->entityCount(), 0u);
    }
    const auto* groups = dynamic_cast<const Dictionary*>(db.peek(db.groupDictionaryId()));
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(groups->ownerId(), db.namedObjectsDictionaryId());
    EXPECT_FALSE(db.isModified());
}

TEST(DrawingDefaults, AnEmptyDatabaseIsFilledOnceOnly) {
    Database db(true);
    EXPECT_EQ(db.objectCount(), 0u);
    EXPECT_TRUE(db.modelSpaceId().isNull());
    db.ensureDefaults();
    const std::size_t filled = db.objectCount();
    EXPECT_GT(filled, 0u);
    db.ensureDefaults();
    EXPECT_EQ(db.objectCount(), filled);
}

TEST(SymbolTables, NamesAreFoundWithoutRegardToCase) {
    Database db;
    const ObjectId laser = addLayer(db, "NC_Laser");
    const ObjectId cyrillic = addLayer(db, "Контур");
    const struct {
        const char* asked;
        ObjectId expected;
    } cases[] = {
        {"NC_Laser", laser}, {"nc_laser", laser}, {"NC_LASER", laser}, {"контур", cyrillic},
        {"КОНТУР", cyrillic}, {"NC_Laser ", {}},  {"NC_Lase", {}},     {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(db.recordId(TableKind::Layer, c.asked), c.expected) << c.asked;
    EXPECT_FALSE(db.recordId(TableKind::Linetype, "CONTINUOUS").isNull());
    EXPECT_EQ(db.recordName(db.recordId(TableKind::Linetype, "CONTINUOUS")), "Continuous");
}

TEST(SymbolTables, AddRefusesDuplicatesBadNamesAndOtherKinds) {
    Database db;
    addLayer(db, "NC_Laser");
    ObjectPtr<SymbolTable> layers(db.tableId(TableKind::Layer), OpenMode::Write);
    using Make = std::function<std::unique_ptr<SymbolTableRecord>()>;
    auto layer = [](std::string name) -> Make {
        return [name] { return std::make_unique<LayerTableRecord>(name); };
    };
    const struct {
        const char* what;
        Make make;
        Status expected;
    } cases[] = {
        {"the same name in other case", layer("nc_LASER"), Status::DuplicateKey},
        {"an empty name", layer(""), Status::InvalidInput},
        {"a name with a colon", layer("a:b"), Status::InvalidInput},
        {"a name with a line end", layer("a\nb"), Status::InvalidInput},
        {"a name of 256 characters", layer(std::string(256, 'x')), Status::InvalidInput},
        {"a record of another table", [] { return std::make_unique<LinetypeTableRecord>("Dashed"); },
         Status::InvalidInput},
        {"nothing", [] { return std::unique_ptr<SymbolTableRecord>(); }, Status::InvalidInput},
    };
    for (const auto& c : cases) EXPECT_EQ(layers->add(c.make()), c.expected) << c.what;
    EXPECT_EQ(layers->add(std::make_unique<LayerTableRecord>(std::string(255, 'x'))), Status::Ok);
    layers.close();

    ObjectPtr<SymbolTable> readOnly(db.tableId(TableKind::Layer), OpenMode::Read);
    EXPECT_EQ(readOnly->add(std::make_unique<LayerTableRecord>("New")), Status::NotOpenForWrite);
    EXPECT_FALSE(readOnly->has("New"));
}

TEST(SymbolTables, ErasedRecordsAreNotFoundAndFreeTheirName) {
    Database db;
    const ObjectId old = addLayer(db, "Temp");
    ASSERT_EQ(eraseObject(old), Status::Ok);
    EXPECT_TRUE(db.recordId(TableKind::Layer, "Temp").isNull());
    const ObjectId fresh = addLayer(db, "TEMP");
    EXPECT_NE(fresh, old);
    const auto* table = dynamic_cast<const SymbolTable*>(db.peek(db.tableId(TableKind::Layer)));
    EXPECT_EQ(table->recordIds().size() + 1, table->recordIds(true).size());
}

TEST(SymbolTables, RenamingKeepsNamesUniqueAndTheFixedOnesFixed) {
    Database db;
    const ObjectId a = addLayer(db, "A");
    addLayer(db, "B");
    {
        ObjectPtr<LayerTableRecord> layer(a, OpenMode::Write);
        EXPECT_EQ(layer->setName("b"), Status::DuplicateKey);
        EXPECT_EQ(layer->setName("a"), Status::Ok);  // its own name in another case
        EXPECT_EQ(layer->setName("C"), Status::Ok);
    }
    EXPECT_EQ(db.recordId(TableKind::Layer, "c"), a);
    ObjectPtr<LayerTableRecord> zero(db.recordId(TableKind::Layer, "0"), OpenMode::Write);
    EXPECT_EQ(zero->setName("Zero"), Status::NotApplicable);
    ObjectPtr<BlockTableRecord> model(db.modelSpaceId(), OpenMode::Write);
    EXPECT_EQ(model->setName("Model"), Status::NotApplicable);
    ObjectPtr<LinetypeTableRecord> cont(db.recordId(TableKind::Linetype, "Continuous"), OpenMode::Write);
    EXPECT_EQ(cont->setName("Solid"), Status::NotApplicable);
}

TEST(LayerRecords, DrawWithARealLineTypeOfTheirDrawing) {
    Database db, other;
    ObjectPtr<LayerTableRecord> layer(addLayer(db, "L"), OpenMode::Write);
    EXPECT_EQ(db.recordName(layer->linetypeId()), "Continuous");  // given when added
    EXPECT_EQ(layer->setLinetypeId(db.recordId(TableKind::Linetype, "ByLayer")), Status::InvalidInput);
    EXPECT_EQ(layer->setLinetypeId(db.recordId(TableKind::Layer, "0")), Status::WrongObjectType);
    EXPECT_EQ(layer->setLinetypeId(other.recordId(TableKind::Linetype, "Continuous")), Status::WrongDatabase);
    EXPECT_EQ(layer->setLinetypeId({}), Status::NullObjectId);
    EXPECT_EQ(db.recordName(layer->linetypeId()), "Continuous");

    EXPECT_EQ(layer->setColor(Color::fromIndex(256)), Status::InvalidInput);
    EXPECT_EQ(layer->setColor(Color::fromIndex(0)), Status::InvalidInput);
    EXPECT_EQ(layer->setColor(Color{3, 0xFF8000}), Status::Ok);
    EXPECT_EQ(layer->setColor(Color{3, 0x1000000}), Status::InvalidInput);
    EXPECT_TRUE(layer->isVisible());
    layer->setIsOff(true);
    EXPECT_FALSE(layer->isVisible());
    layer->setIsOff(false);
    layer->setIsFrozen(true);
    EXPECT_FALSE(layer->isVisible());
    EXPECT_EQ(layer->flags() & 1, 1);
}

TEST(LinetypeRecords, PatternLengthCountsDashesGapsAndDots) {
    LinetypeTableRecord lt("Dashdot");
    EXPECT_EQ(lt.patternLength(), 0.0);
    ASSERT_EQ(lt.setDashes({0.5, -0.25, 0.0, -0.25}), Status::Ok);
    EXPECT_DOUBLE_EQ(lt.patternLength(), 1.0);
    EXPECT_EQ(lt.setDashes({1.0, std::nan("")}), Status::InvalidInput);
    EXPECT_EQ(lt.dashes().size(), 4u);
}

TEST(CurrentValues, OnlyLiveRecordsOfTheRightTable) {
    Database db, other;
    const ObjectId layer = addLayer(db, "Cut");
    const ObjectId frozen = addLayer(db, "Frozen", false, true);
    const ObjectId erased = addLayer(db, "Gone");
    eraseObject(erased);
    const struct {
        const char* what;
        ObjectId id;
        Status expected;
    } cases[] = {
        {"a layer", layer, Status::Ok},
        {"a line type", db.recordId(TableKind::Linetype, "Continuous"), Status::KeyNotFound},
        {"some other object", addProbe(db), Status::KeyNotFound},
        {"a frozen layer", frozen, Status::NotApplicable},
        {"an erased layer", erased, Status::WasErased},
        {"a layer of another drawing", other.recordId(TableKind::Layer, "0"), Status::WrongDatabase},
        {"nothing", {}, Status::NullObjectId},
    };
    for (const auto& c : cases) EXPECT_EQ(db.setCurrentLayer(c.id), c.expected) << c.what;
    EXPECT_EQ(db.currentLayer(), layer);

    EXPECT_EQ(db.setCurrentLinetype(layer), Status::KeyNotFound);
    EXPECT_EQ(db.setCurrentLinetype(db.recordId(TableKind::Linetype, "Continuous")), Status::Ok);
    EXPECT_EQ(db.setCurrentTextStyle(layer), Status::KeyNotFound);
    EXPECT_EQ(db.setCurrentTextStyle(db.recordId(TableKind::TextStyle, "Standard")), Status::Ok);
}

TEST(AppendEntity, NewEntityTakesTheCurrentProperties) {
    Database db;
    const ObjectId cut = addLayer(db, "Cut");
    ASSERT_EQ(db.setCurrentLayer(cut), Status::Ok);
    ASSERT_EQ(db.setCurrentLinetype(db.recordId(TableKind::Linetype, "Continuous")), Status::Ok);
    db.header().ceColor = Color::fromIndex(3);
    db.header().celtScale = 2.0;

    const ObjectId line = testing::addLine(db, {0, 0}, {1, 0});
    const auto* e = dynamic_cast<const Entity*>(db.peek(line));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->layerId(), cut);
    EXPECT_EQ(e->colorIndex(), 3);
    EXPECT_EQ(e->linetype(), "Continuous");
    EXPECT_EQ(e->linetypeScale(), 2.0);
    EXPECT_EQ(e->ownerId(), db.modelSpaceId());
    EXPECT_FALSE(e->inPaperSpace());

    // An entity that comes with a layer (a copy, a piece of an explode) keeps its own properties.
    auto own = std::make_unique<Line>(ge::Point3d(0, 0), ge::Point3d(0, 1));
    own->setLayer(db.recordId(TableKind::Layer, "0"));
    own->setColorIndex(5);
    const ObjectId kept = testing::addToModelSpace(db, std::move(own));
    EXPECT_EQ(dynamic_cast<const Entity*>(db.peek(kept))->layer(), "0");
    EXPECT_EQ(dynamic_cast<const Entity*>(db.peek(kept))->colorIndex(), 5);
}

TEST(AppendEntity, RefusalsLeaveTheBlockAsItWas) {
    Database db;
    const ObjectId existing = testing::addLine(db, {0, 0}, {1, 0});
    ObjectPtr<BlockTableRecord> readOnly(db.modelSpaceId(), OpenMode::Read);
    EXPECT_EQ(readOnly->appendEntity(std::make_unique<Line>()), Status::NotOpenForWrite);
    readOnly.close();

    ObjectPtr<BlockTableRecord> ms(db.modelSpaceId(), OpenMode::Write);
    auto copy = db.peek(existing)->clone();
    std::unique_ptr<Entity> again(static_cast<Entity*>(copy.release()));
    EXPECT_EQ(ms->appendEntity(std::move(again)), Status::AlreadyInDb);
    EXPECT_EQ(ms->appendEntity(nullptr), Status::InvalidInput);
    EXPECT_EQ(ms->entityIds(), std::vector<ObjectId>{existing});

    BlockTableRecord loose("Loose");
    EXPECT_EQ(loose.appendEntity(std::make_unique<Line>()), Status::NotInDatabase);
}

TEST(BlockRecords, ANewBlockOpensAndClosesWithItsMarkers) {
    Database db;
    ObjectId id;
    {
        ObjectPtr<SymbolTable> blocks(db.tableId(TableKind::Block), OpenMode::Write);
        auto block = std::make_unique<BlockTableRecord>("Rect_1200x900");
        block->setOrigin({10, 20});
        block->setInsertUnits(4);
        ASSERT_EQ(blocks->add(std::move(block), &id), Status::Ok);
        EXPECT_EQ(blocks->add(std::make_unique<BlockTableRecord>("RECT_1200X900")), Status::DuplicateKey);
    }
    ObjectPtr<BlockTableRecord> block(id, OpenMode::Write);
    EXPECT_FALSE(block->isLayout());
    EXPECT_EQ(block->origin(), ge::Point3d(10, 20));
    for (ObjectId marker : {block->blockBegin(), block->blockEnd()}) {
        ObjectPtr<Entity> e(marker, OpenMode::Read);
        ASSERT_TRUE(e.isOpen());
        EXPECT_EQ(e->ownerId(), id);
        EXPECT_EQ(e->layer(), "0");
    }
    EXPECT_EQ(block->setInsertUnits(25), Status::InvalidInput);
    ASSERT_EQ(block->appendEntity(std::make_unique<Line>()), Status::Ok);
    EXPECT_EQ(block->entityCount(), 1u);
    EXPECT_TRUE(db.firstEntity().isNull());  // block contents are not drawing entities
}

TEST(AppendEntity, PaperSpaceEntitiesKnowWhereTheyAre) {
    Database db;
    ObjectPtr<BlockTableRecord> ps(db.paperSpaceId(), OpenMode::Write);
    ObjectId id;
    ASSERT_EQ(ps->appendEntity(std::make_unique<Line>(), &id), Status::Ok);
    EXPECT_TRUE(dynamic_cast<const Entity*>(db.peek(id))->inPaperSpace());
}

}  // namespace
}  // namespace host::db
