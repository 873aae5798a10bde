// Test support for the contour-creation stages: the module's settings read from a registry file of this test
// binary, the settings the stages read put back after each test, and a fresh editor with one new drawing and the
// host's commands for the stages that run them, and a stage built from a list of pieces.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/input.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/ui/message_box.h"
#include "laser/contours/contour_records.h"
#include "laser/settings/laser_settings.h"

namespace contour_testing {

// A stage whose entity table holds `pieces` and the empty record the table always ends with.
inline ContourEntityStage StageOf(std::vector<ContourEntity> pieces) {
    ContourEntityStage stage;
    stage.ContourEntityCount = static_cast<int>(pieces.size());
    stage.ContourEntityTable = std::move(pieces);
    stage.ContourEntityTable.emplace_back();
    return stage;
}

// The settings the stages read, as they stood before a test changed them.
struct StageSettings {
    double autoConnectDist;
    int autoConnect;
    int autoConnectGrid;
    int autoDelCopy;
    int warn3Point;
    int checkIntersect;
    std::int8_t autoDelSementStatus;
    double autoDelSementMinSize;
    double autoDelSementMinChord;

    static StageSettings Take(const CLaserSettings& s) {
        return {s.AutoConnectDist,     s.AutoConnect,          s.AutoConnectGrid,
                s.AutoDelCopy,         s.Warn3Point,           s.CheckIntersect,
                s.AutoDelSementStatus, s.AutoDelSementMinSize, s.AutoDelSementMinChord};
    }
    void Restore(CLaserSettings& s) const {
        s.AutoConnectDist = autoConnectDist;
        s.AutoConnect = autoConnect;
        s.AutoConnectGrid = autoConnectGrid;
        s.AutoDelCopy = autoDelCopy;
        s.Warn3Point = warn3Point;
        s.CheckIntersect = checkIntersect;
        s.AutoDelSementStatus = autoDelSementStatus;
        s.AutoDelSementMinSize = autoDelSementMinSize;
        s.AutoDelSementMinChord = autoDelSementMinChord;
    }
};

// The module's settings from this binary's own registry file, restored after each test.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::reg::setMachineRegistryFile(registryFile_);
        // A test that starts over (SetUp again inside a table of cases) keeps what it found at its start.
        if (!saved_) saved_ = StageSettings::Take(LaserSettings());
        SetLanguageFlag(0);
    }
    void TearDown() override {
        if (saved_) saved_->Restore(LaserSettings());
        SetLanguageFlag(0);
        std::filesystem::remove(registryFile_);
    }

    // This test process's registry: CTest runs every case as a process of its own, side by side.
    const std::string registryFile_ =
        std::string(KESTRION_BINARY_DIR) + "/laser_contours_stage_tests." + std::to_string(::getpid()) + ".reg";
    CLaserSettings& settings() { return LaserSettings(); }

private:
    std::optional<StageSettings> saved_;
};

// Settings plus a fresh editor: one new drawing (the working database), the host's commands, an empty transcript
// and message-box log, and the module's entity stage emptied.
class DrawingTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        host::ed::documents().closeAll();
        host::ed::transcript().clear();
        host::ui::clearMessageBoxLog();
        host::ed::registerHostCommands();
        db_ = &host::ed::documents().newDocument()->database();
        ContourEntities() = ContourEntityStage{};
    }
    void TearDown() override {
        ContourEntities() = ContourEntityStage{};
        host::ed::setInput(nullptr);
        host::ed::commandStack().removeGroup(host::ed::kHostCommandGroup);
        host::ed::documents().closeAll();
        SettingsTest::TearDown();
    }

public:
    // The drawing helpers are public so that a table of cases can draw through the fixture.
    host::db::Database& db() { return *db_; }

    host::db::ObjectId Layer(const std::string& name, bool off = false, bool frozen = false, bool locked = false) {
        host::db::ObjectId id = db_->recordId(host::db::TableKind::Layer, name);
        if (id.isNull()) {
            auto rec = std::make_unique<host::db::LayerTableRecord>(name);
            host::db::ObjectPtr<host::db::SymbolTable> table(db_->tableId(host::db::TableKind::Layer),
                                                             host::db::OpenMode::Write);
            EXPECT_EQ(table->add(std::move(rec), &id), host::db::Status::Ok);
        }
        host::db::ObjectPtr<host::db::LayerTableRecord> rec(id, host::db::OpenMode::Write);
        rec->setIsOff(off);
        rec->setIsFrozen(frozen);
        rec->setIsLocked(locked);
        return id;
    }
    // Appends an entity to model space on `layer` (made when missing) and answers its id.
    host::db::ObjectId Add(std::unique_ptr<host::db::Entity> e, const std::string& layer = "0") {
        if (layer != "0" && db_->recordId(host::db::TableKind::Layer, layer).isNull()) Layer(layer);
        e->setLayer(db_->recordId(host::db::TableKind::Layer, layer));
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db_->modelSpaceId(), host::db::OpenMode::Write);
        host::db::ObjectId id;
        EXPECT_EQ(space->appendEntity(std::move(e), &id), host::db::Status::Ok);
        return id;
    }
    host::db::ObjectId Line(host::ge::Point3d a, host::ge::Point3d b, const std::string& layer = "0") {
        return Add(std::make_unique<host::db::Line>(a, b), layer);
    }
    host::db::ObjectId Arc(host::ge::Point3d c, double r, double start, double end, const std::string& layer = "0") {
        return Add(std::make_unique<host::db::Arc>(c, r, start, end), layer);
    }
    host::db::ObjectId Circle(host::ge::Point3d c, double r, const std::string& layer = "0") {
        return Add(std::make_unique<host::db::Circle>(c, r), layer);
    }
    host::db::ObjectId Point(host::ge::Point3d p, const std::string& layer = "0") {
        return Add(std::make_unique<host::db::PointEntity>(p), layer);
    }
    // The live entities of model space.
    std::vector<host::db::ObjectId> ModelSpace() {
        host::db::ObjectPtr<host::db::BlockTableRecord> ms(db_->modelSpaceId(), host::db::OpenMode::Read);
        std::vector<host::db::ObjectId> live;
        for (host::db::ObjectId id : ms->entityIds()) {
            if (!id.isErased()) live.push_back(id);
        }
        return live;
    }

private:
    host::db::Database* db_ = nullptr;
};

}  // namespace contour_testing
