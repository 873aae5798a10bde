// Named layer states: saved, restored, renamed and deleted through the database.
#include "host/db/layer_states.h"

#include <gtest/gtest.h>

#include <memory>

namespace host::db {
namespace {

ObjectId addLayer(Database& db, const std::string& name, int aci) {
    ObjectPtr<SymbolTable> table(db.tableId(TableKind::Layer), OpenMode::Write);
    auto layer = std::make_unique<LayerTableRecord>(name);
    layer->setColor(Color::fromIndex(aci));
    ObjectId id;
    EXPECT_EQ(table->add(std::move(layer), &id), Status::Ok);
    return id;
}

TEST(LayerStates, RestorePutsBackFlagsAndColours) {
    Database db;
    const ObjectId cut = addLayer(db, "CUT", 1);
    ASSERT_EQ(saveLayerState(db, "Plot"), Status::Ok);
    {
        ObjectPtr<LayerTableRecord> layer(cut, OpenMode::Write);
        layer->setIsOff(true);
        layer->setIsLocked(true);
        layer->setColor(Color::fromIndex(5));
    }
    ASSERT_EQ(restoreLayerState(db, "Plot"), Status::Ok);
    ObjectPtr<LayerTableRecord> layer(cut, OpenMode::Read);
    EXPECT_FALSE(layer->isOff());
    EXPECT_FALSE(layer->isLocked());
    EXPECT_EQ(layer->color().index, 1);
}

TEST(LayerStates, RenameAndDeleteAnswerTheManagersStatus) {
    Database db;
    EXPECT_EQ(renameLayerState(db, "A", "B"), Status::KeyNotFound);  // no state saved yet
    EXPECT_EQ(deleteLayerState(db, "A"), Status::KeyNotFound);
    ASSERT_EQ(saveLayerState(db, "A"), Status::Ok);
    ASSERT_EQ(saveLayerState(db, "B"), Status::Ok);
    EXPECT_EQ(saveLayerState(db, "a"), Status::DuplicateKey);  // names compare without regard to case
    EXPECT_EQ(saveLayerState(db, ""), Status::InvalidInput);
    EXPECT_EQ(renameLayerState(db, "A", "B"), Status::DuplicateKey);
    EXPECT_EQ(renameLayerState(db, "A", ""), Status::InvalidInput);
    EXPECT_EQ(renameLayerState(db, "A", "C"), Status::Ok);
    EXPECT_EQ(layerStateNames(db), (std::vector<std::string>{"C", "B"}));
    EXPECT_EQ(deleteLayerState(db, "B"), Status::Ok);
    EXPECT_EQ(deleteLayerState(db, "B"), Status::KeyNotFound);
    EXPECT_EQ(layerStateNames(db), (std::vector<std::string>{"C"}));
    EXPECT_EQ(restoreLayerState(db, "B"), Status::KeyNotFound);
}

TEST(LayerStates, ALayerDeletedSinceTheSaveIsPassedOver) {
    Database db;
    const ObjectId gone = addLayer(db, "GONE", 3);
    ASSERT_EQ(saveLayerState(db, "S"), Status::Ok);
    {
        ObjectPtr<LayerTableRecord> layer(gone, OpenMode::Write);
        layer->erase();
    }
    EXPECT_EQ(restoreLayerState(db, "S"), Status::Ok);
}

}  // namespace
}  // namespace host::db
