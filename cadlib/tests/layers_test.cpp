// Layers, line types from the installed .lin files, the current layer and the layer visibility cache.
#include <gtest/gtest.h>

#include <string>

#include "cadlib/layers.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/layer_states.h"
#include "host/db/resbuf.h"
#include "host/ed/transcript.h"

using host::db::Color;
using host::db::Database;
using host::db::LayerTableRecord;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::Status;
using host::db::TableKind;

namespace {

const std::filesystem::path kDataFolder = std::filesystem::path(KESTRION_SOURCE_DIR) / "data";

// Every line type the system's settings and commands name.
const char* const kSystemLinetypes[] = {"HIDDEN",  "HIDDEN2", "PHANTOM", "PHANTOM2", "CENTER",
                                        "CENTER2", "DASHED",  "DASHED2", "DASHDOT",  "DOT",
                                        "BORDER",  "DIVIDE",  "JumperLine", "ZAxisTrackingSensorOFF",
                                        "NC_MOVE1_ARROW"};

class Layers : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = host::db::workingDatabase();
        host::db::setWorkingDatabase(&db_);
        host::ed::transcript().clear();
    }
    void TearDown() override { host::db::setWorkingDatabase(previous_); }

    ObjectPtr<LayerTableRecord> Layer(std::string_view name, OpenMode mode = OpenMode::Read) {
        return ObjectPtr<LayerTableRecord>(db_.recordId(TableKind::Layer, name), mode);
    }
    std::string LinetypeOf(std::string_view layer) { return db_.recordName(Layer(layer)->linetypeId()); }

    Database db_;
    Database* previous_ = nullptr;
};

TEST_F(Layers, BothLineTypeFilesDefineEverySystemLineType) {
    for (const char* file : {"Kestrion.lin", "Kestrion_iso.lin"}) {
        Database db;
        host::db::setWorkingDatabase(&db);
        for (const char* name : kSystemLinetypes) {
            EXPECT_TRUE(LoadLinetype(name, kDataFolder / file)) << file << ": " << name;
            EXPECT_FALSE(db.recordId(TableKind::Linetype, name).isNull()) << file << ": " << name;
        }
        host::db::setWorkingDatabase(&db_);
    }
    EXPECT_TRUE(host::ed::transcript().text().empty()) << host::ed::transcript().text();
}

TEST_F(Layers, LoadLinetypeAnswers) {
    EXPECT_TRUE(LoadLinetype("Continuous", "no-such.lin"));  // the drawing has it: the file is not read
    EXPECT_FALSE(LoadLinetype("NoSuchType", kDataFolder / "Kestrion_iso.lin"));
    EXPECT_FALSE(LoadLinetype("HIDDEN", kDataFolder / "no-such.lin"));
    EXPECT_NE(host::ed::transcript().text().find("no-such.lin"), std::string::npos) << host::ed::transcript().text();
    EXPECT_TRUE(db_.recordId(TableKind::Linetype, "HIDDEN").isNull());
    host::db::setWorkingDatabase(nullptr);
    EXPECT_FALSE(LoadLinetype("HIDDEN", kDataFolder / "Kestrion_iso.lin"));
}

TEST_F(Layers, CreateKeepsAnExistingLayerAndUpdateChangesIt) {
    ASSERT_TRUE(LoadLinetype("HIDDEN", kDataFolder / "Kestrion_iso.lin"));
    ASSERT_EQ(CreateLayer("NC_Laser", 3, "HIDDEN", false), Status::Ok);
    EXPECT_EQ(Layer("NC_Laser")->color(), Color::fromIndex(3));
    EXPECT_EQ(LinetypeOf("NC_Laser"), "HIDDEN");

    EXPECT_EQ(CreateLayer("nc_laser", 5, "Continuous", true), Status::Ok);
    EXPECT_EQ(CreateLayerWithColor("NC_Laser", Color{7, 0x102030}, "Continuous", true), Status::Ok);
    EXPECT_EQ(Layer("NC_Laser")->color(), Color::fromIndex(3));
    EXPECT_EQ(LinetypeOf("NC_Laser"), "HIDDEN");
    EXPECT_FALSE(Layer("NC_Laser")->isOff());

    EXPECT_EQ(CreateOrUpdateLayer("NC_Laser", Color{7, 0x102030}, "Continuous", true), Status::Ok);
    EXPECT_EQ(Layer("NC_Laser")->color(), (Color{7, 0x102030}));
    EXPECT_EQ(LinetypeOf("NC_Laser"), "Continuous");
    EXPECT_TRUE(Layer("NC_Laser")->isOff());
    EXPECT_EQ(CreateOrUpdateLayer("Clamps", Color::fromIndex(2), "Continuous", false), Status::Ok);
    EXPECT_EQ(Layer("Clamps")->color(), Color::fromIndex(2));
}

TEST_F(Layers, AMissingLineTypeFallsBackToContinuous) {
    ASSERT_EQ(CreateLayer("Stock", 1, "PHANTOM", false), Status::Ok);
    EXPECT_EQ(LinetypeOf("Stock"), "Continuous");
    EXPECT_EQ(host::ed::transcript().text(), "\nUnable to find typeline PHANTOM. Use CONTINUOUS");

    host::ed::transcript().clear();
    SetLibraryLanguage(Language::Russian);
    EXPECT_EQ(CreateLayer("Stock2", 1, "PHANTOM", false), Status::Ok);
    SetLibraryLanguage(Language::English);
    EXPECT_EQ(host::ed::transcript().text(), "\nНе найден тип линии PHANTOM. Используется CONTINUOUS");
}

TEST_F(Layers, RefusedValuesAddNoLayer) {
    EXPECT_EQ(CreateLayer("Bad", 0, "Continuous", false), Status::InvalidInput);
    EXPECT_EQ(CreateLayer("Bad", 256, "Continuous", false), Status::InvalidInput);
    EXPECT_EQ(CreateLayer("Bad<name", 1, "Continuous", false), Status::InvalidInput);
    EXPECT_TRUE(db_.recordId(TableKind::Layer, "Bad").isNull());
    host::db::setWorkingDatabase(nullptr);
    EXPECT_EQ(CreateLayer("X", 1, "Continuous", false), Status::NotInDatabase);
}

TEST_F(Layers, CurrentLayerGoesThroughTheHostVariable) {
    ASSERT_EQ(CreateLayer("Contour", 1, "Continuous", false), Status::Ok);
    EXPECT_EQ(SetCurrentLayer("Contour"), host::db::RTNORM);
    EXPECT_EQ(db_.recordName(db_.currentLayer()), "Contour");
    std::string name;
    EXPECT_EQ(GetCurrentLayer(name), host::db::RTNORM);
    EXPECT_EQ(name, "Contour");
    EXPECT_NE(SetCurrentLayer("Missing"), host::db::RTNORM);
    EXPECT_EQ(db_.recordName(db_.currentLayer()), "Contour");
}

TEST_F(Layers, IsLayerVisible) {
    ASSERT_EQ(CreateLayer("On", 1, "Continuous", false), Status::Ok);
    ASSERT_EQ(CreateLayer("Off", 1, "Continuous", true), Status::Ok);
    ASSERT_EQ(CreateLayer("Frozen", 1, "Continuous", false), Status::Ok);
    Layer("Frozen", OpenMode::Write)->setIsFrozen(true);
    const struct {
        const char* name;
        int result, visible;
    } cases[] = {{"On", 0, 1}, {"on", 0, 1}, {"Off", 0, 0}, {"Frozen", 0, 0}, {"Missing", 1, 0}};
    for (const auto& c : cases) {
        int visible = -1;
        EXPECT_EQ(IsLayerVisible(c.name, visible), c.result) << c.name;
        EXPECT_EQ(visible, c.visible) << c.name;
    }
}

TEST_F(Layers, CacheAnswersOncePerName) {
    ASSERT_EQ(CreateLayer("Cut", 1, "Continuous", false), Status::Ok);
    LayerVisibilityCache cache;
    EXPECT_EQ(cache.IsVisible("Cut"), 1);
    Layer("Cut", OpenMode::Write)->setIsOff(true);
    EXPECT_EQ(cache.IsVisible("Cut"), 1);   // answered from the cache: the table is not asked again
    EXPECT_EQ(cache.IsVisible("CUT"), 0);   // another entry, asked now: the same layer, off by now
    EXPECT_EQ(cache.IsVisible("Missing"), 0);
    EXPECT_EQ(cache.count(), 3);
}

TEST_F(Layers, CacheHoldsAtMostItsCapacity) {
    LayerVisibilityCache cache;
    for (int i = 0; i < LayerVisibilityCache::kCapacity; ++i) {
        const std::string name = "L" + std::to_string(i);
        ASSERT_EQ(CreateLayer(name, 1, "Continuous", i % 2 == 1), Status::Ok);
        ASSERT_EQ(cache.IsVisible(name), i % 2 == 0 ? 1 : 0) << name;
    }
    ASSERT_EQ(CreateLayer("Extra", 1, "Continuous", false), Status::Ok);
    EXPECT_TRUE(host::ed::transcript().text().empty());
    for (int round = 1; round <= 2; ++round) {
        EXPECT_EQ(cache.IsVisible("Extra"), 0);
        EXPECT_EQ(host::ed::transcript().text().size(),
                  round * std::string("\n\rError:  Too many layers on the drawing ").size());
    }
    EXPECT_EQ(cache.IsVisible("L0"), 1);  // cached layers keep their answers
    EXPECT_EQ(cache.count(), LayerVisibilityCache::kCapacity);
}

}  // namespace

namespace {

TEST_F(Layers, LayerStatesAreRenamedAndDeletedInTheWorkingDrawing) {
    ASSERT_EQ(host::db::saveLayerState(db_, "Plot"), Status::Ok);
    EXPECT_EQ(RenameLayerState("Missing", "Other"), Status::KeyNotFound);
    EXPECT_EQ(RenameLayerState("Plot", "Cut"), Status::Ok);
    EXPECT_EQ(host::db::layerStateNames(db_), (std::vector<std::string>{"Cut"}));
    EXPECT_EQ(DeleteLayerState("Cut"), Status::Ok);
    EXPECT_EQ(DeleteLayerState("Cut"), Status::KeyNotFound);

    host::db::setWorkingDatabase(nullptr);
    EXPECT_EQ(DeleteLayerState("Cut"), Status::NotApplicable);  // no drawing to act on
}

}  // namespace
