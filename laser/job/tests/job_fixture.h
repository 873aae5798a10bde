// Test support for the job state: the module's settings from a registry file of the test, the host's documents
// telling this module's drawing handlers, and stored job texts written item by item in each record version.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/ui/message_box.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/job/job_records.h"
#include "laser/settings/laser_settings.h"

namespace job_testing {

using host::db::Database;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;
using host::ge::Point3d;

inline std::filesystem::path FixtureDir() {
    return std::filesystem::path(KESTRION_SOURCE_DIR) / "laser" / "job" / "tests" / "fixtures";
}

// Settings of the test's own (from a registry file of the binary), a fresh editor whose documents tell this
// module's drawing handlers, an empty transcript and message-box log.
class JobTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("laser_job_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        host::reg::setMachineRegistryFile(dir_ / "registry.reg");
        host::ed::documents().closeAll();
        settings_ = std::make_unique<CLaserSettings>();
        SetLanguageFlag(0);
        host::ed::registerHostCommands();
        host::ed::documents().setListener([this](host::ed::DocumentEvent event, host::ed::Document&) {
            if (!settings_) return;
            switch (event) {
                case host::ed::DocumentEvent::Loaded: OnLoadDrawing(*settings_); break;
                case host::ed::DocumentEvent::Unloading: OnUnloadDrawing(*settings_); break;
                case host::ed::DocumentEvent::Saving: OnSaveDrawing(*settings_); break;
            }
        });
        host::ed::transcript().clear();
        host::ui::clearMessageBoxLog();
    }
    void TearDown() override {
        host::ed::documents().closeAll();
        host::ed::documents().setListener(nullptr);
        host::ed::commandStack().removeGroup(host::ed::kHostCommandGroup);
        settings_.reset();
        SetLanguageFlag(0);
        std::filesystem::remove_all(dir_);
    }

    CLaserSettings& settings() { return *settings_; }
    std::filesystem::path TempDir() const { return dir_; }
    Database& Working() { return *host::db::workingDatabase(); }
    DrawingSlot& Slot() {
        DrawingSlot* slot = CurrentSlot(*settings_);
        EXPECT_NE(slot, nullptr);
        return *slot;
    }
    CuttingJob& Job() {
        CuttingJob* job = CurrentJob(*settings_);
        EXPECT_NE(job, nullptr);
        return *job;
    }

    // A new drawing, current and told to the module.
    host::ed::Document* NewDrawing() { return host::ed::documents().newDocument(); }
    // A drawing file opened and told to the module; fails the test when it cannot be read.
    host::ed::Document* Open(const std::filesystem::path& path) {
        std::string error;
        host::ed::Document* doc = host::ed::documents().open(path, &error);
        EXPECT_NE(doc, nullptr) << error;
        return doc;
    }
    host::ed::Document* OpenFixture(const std::string& name) { return Open(FixtureDir() / name); }

    static std::string ProjectName() { return host::db::workingDatabase()->header().projectName; }
    static std::string Transcript() { return host::ed::transcript().text(); }
    static std::vector<std::string> MessageBoxTexts() {
        std::vector<std::string> texts;
        for (const auto& box : host::ui::messageBoxLog()) texts.push_back(box.text);
        return texts;
    }

    // The "Kstr" list of the object with this handle in the working drawing (empty when there is none).
    static ResBufList XDataOf(std::uint64_t handle) {
        ObjectId id = host::db::workingDatabase()->idFromHandle(host::db::Handle(handle));
        ObjectPtr<host::db::DbObject> object(id, OpenMode::Read);
        return object ? object->xData("Kstr") : ResBufList{};
    }
    // The live texts of model space whose string is `text`.
    static std::vector<ObjectId> TextsNamed(const std::string& text) {
        Database* db = host::db::workingDatabase();
        ObjectPtr<host::db::BlockTableRecord> ms(db->modelSpaceId(), OpenMode::Read);
        std::vector<ObjectId> found;
        for (ObjectId id : ms->entityIds()) {
            ObjectPtr<host::db::Text> t(id, OpenMode::Read);
            if (t && t->textString() == text) found.push_back(id);
        }
        return found;
    }

private:
    std::filesystem::path dir_;
    std::unique_ptr<CLaserSettings> settings_;
};

// ---- stored job texts written item by item, as each record version lays them out

// Registers "Kstr" in the drawing.
inline void RegisterKstr(Database& db) {
    if (!db.recordId(host::db::TableKind::RegApp, "Kstr").isNull()) return;
    ObjectPtr<host::db::SymbolTable> apps(db.tableId(host::db::TableKind::RegApp), OpenMode::Write);
    apps->add(std::make_unique<host::db::RegAppTableRecord>("Kstr"));
}

inline ObjectId EnsureLayer(Database& db, const std::string& name) {
    ObjectId id = db.recordId(host::db::TableKind::Layer, name);
    if (!id.isNull()) return id;
    ObjectPtr<host::db::SymbolTable> table(db.tableId(host::db::TableKind::Layer), OpenMode::Write);
    table->add(std::make_unique<host::db::LayerTableRecord>(name), &id);
    return id;
}

// An invisible text at `at` on `layer` carrying `items` (after the 1001 item) as "Kstr" data; answers its id.
inline ObjectId AddKstrText(Database& db, const std::string& string, const ResBufList& items,
                            const std::string& layer = "NC_Laser", Point3d at = {0, 0, 0}) {
    RegisterKstr(db);
    auto text = std::make_unique<host::db::Text>(at, string, 0.0, 0.0);
    text->setVisible(false);
    text->setLayer(EnsureLayer(db, layer));
    ObjectId id;
    {
        ObjectPtr<host::db::BlockTableRecord> ms(db.modelSpaceId(), OpenMode::Write);
        EXPECT_EQ(ms->appendEntity(std::move(text), &id), host::db::Status::Ok);
    }
    ResBufList list = {ResBuf(1001, "Kstr")};
    list.insert(list.end(), items.begin(), items.end());
    ObjectPtr<host::db::Text> t(id, OpenMode::Write);
    EXPECT_EQ(t->setXData(list), host::db::Status::Ok);
    return id;
}

inline ResBuf L(std::int64_t v) { return ResBuf(1071, v); }
inline ResBuf R(double v) { return ResBuf(1040, v); }
inline ResBuf S(const std::string& v) { return ResBuf(1000, v); }
inline ResBuf P(double x, double y, double z = 0.0) { return ResBuf(1010, Point3d{x, y, z}); }
inline ResBuf H(std::uint64_t handle) { return S(host::db::Handle(handle).text()); }

// The values every stored job fixture carries; tests compare against them.
struct StoredJobValues {
    static constexpr int kContourCount = 3;
    static constexpr int kJobId = 115;
    static constexpr int kChangeCounter = 7;
    static constexpr double kStoredThickness = 5000.0;   // beyond 1000 x the settings' 1.0: ignored
    static constexpr double kStoredDensity = 7.9e-06;     // within range of the settings' 7.85e-06: taken
    static constexpr double kFillRatio = 0.75;
    static constexpr std::uint64_t kContourHandle = 0x2A;
    static constexpr std::uint64_t kParentHandle = 0x100000001ull;  // needs both halves
};

// The packed flags of the first stored contour: kind 27, shape 1, placement 2, closure 0, role 1, processed 1.
inline std::int64_t FirstContourFlags(JobDataVersion v) {
    if (v == JobDataVersion::V2005) return 1 | (1 << 3) | (0 << 6) | (1 << 9) | (2 << 12);
    return 1774601;
}

// Writes a stored job of the version into the drawing: settings, summary, directory and one batch.
inline void WriteStoredJob(Database& db, JobDataVersion v, double versionNumber) {
    using V = StoredJobValues;
    // batch and head texts first, so that their handles go into the settings record
    ResBufList batch;
    for (int i = 0; i <= V::kContourCount; ++i) {
        const bool first = i == 0;
        batch.push_back(L(first ? FirstContourFlags(v) : (v == JobDataVersion::V2005 ? (1 << 3) : (1 << 12))));
        const std::uint64_t handle = first ? V::kContourHandle : 0x30u + static_cast<unsigned>(i);
        const std::uint64_t parent = first ? V::kParentHandle : 0;
        batch.push_back(L(static_cast<std::int32_t>(handle >> 32)));
        batch.push_back(L(static_cast<std::int32_t>(handle & 0xFFFFFFFF)));
        batch.push_back(L(static_cast<std::int32_t>(parent >> 32)));
        batch.push_back(L(static_cast<std::int32_t>(parent & 0xFFFFFFFF)));
        batch.push_back(R(1.0 + i));
        batch.push_back(R(2.0 + i));
        batch.push_back(R(3.0 + i));
        batch.push_back(R(4.0 + i));
        batch.push_back(R(5.5 + i));
    }
    ObjectId batchText = AddKstrText(db, "Kstr_TC", batch, "0");
    const std::uint64_t bh = batchText.handle().value;
    ObjectId head =
        AddKstrText(db, "Kstr_TC", {L(static_cast<std::int32_t>(bh >> 32)), L(static_cast<std::int32_t>(bh))});

    ResBufList summary = {L(V::kJobId), L(4), P(1, 1), P(2, 2), L(2), L(0), P(5, 6)};
    if (v == JobDataVersion::V2005) {
        for (double t : {10.0, 16.0, 17.0}) summary.push_back(R(t));
    } else {
        for (double t = 10.0; t < 18.0; t += 1.0) summary.push_back(R(t));
    }
    summary.push_back(L(V::kChangeCounter));
    ObjectId summaryText = AddKstrText(db, "Kstr_0", summary);

    // the settings text is made now; its own handle is item 3
    ObjectId st = AddKstrText(db, "Kstr_ST", {});
    ResBufList s = {R(versionNumber), L(1), H(st.handle().value), H(summaryText.handle().value),
                    H(head.handle().value), L(0), S("ALU.MAT")};
    if (v == JobDataVersion::V2005) {
        s.push_back(S("skipped"));
        s.push_back(S("PRG1"));
        s.push_back(S("Plasma"));
        s.push_back(S("unused"));
        for (int i = 0; i < 8; ++i) s.push_back(R(999.0));
        s.push_back(P(-1, -2));
        s.push_back(P(100, 200));
        s.push_back(R(V::kStoredThickness));
        s.push_back(R(V::kStoredDensity));
        s.push_back(R(0.0));   // reservedReal1
        s.push_back(R(50.0));  // netArea
        s.push_back(R(60.0));  // partArea
        s.push_back(R(70.0));  // stockArea
        s.push_back(L(0));     // reservedCounter
        s.push_back(L(V::kContourCount));
        for (int c : {1, 2, 5, 6, 7, 8}) s.push_back(L(c));   // base in/out, unclosed, stock count/in/out
        s.push_back(L(1));     // homeGroupPresent
        s.push_back(R(V::kFillRatio));
    } else {
        s.push_back(S("42"));
        s.push_back(S("C:\\Mat\\"));
        s.push_back(S("PRG1"));
        s.push_back(S("Plasma"));
        s.push_back(S("OLD.MXT"));
        s.push_back(S("C:\\Post\\"));
        for (int i = 0; i < 9; ++i) s.push_back(R(999.0));   // feeds and leads: never taken
        s.push_back(P(-1, -2));
        s.push_back(P(100, 200));
        s.push_back(R(V::kStoredThickness));
        s.push_back(R(V::kStoredDensity));
        for (double r : {0.0, 0.0, 0.0, 50.0, 60.0, 70.0}) s.push_back(R(r));
        s.push_back(L(0));
        s.push_back(L(V::kContourCount));
        for (int c = 1; c <= 14; ++c) s.push_back(L(c));   // baseInner .. commonCount
        if (v == JobDataVersion::V200801) s.push_back(L(15));   // insideCutCount
        for (int c = 16; c <= 21; ++c) s.push_back(L(c));  // jumperLineOuter .. markPointCount
        for (int i = 0; i < 3; ++i) s.push_back(L(0));
        s.push_back(L(1));     // homeGroupPresent
        s.push_back(R(V::kFillRatio));
    }
    ResBufList full = {ResBuf(1001, "Kstr")};
    full.insert(full.end(), s.begin(), s.end());
    ObjectPtr<host::db::Text> t(st, OpenMode::Write);
    EXPECT_EQ(t->setXData(full), host::db::Status::Ok);
}

// A nesting-result marker: data version, status 2, sheet index, job file, then the material items.
inline ObjectId WriteNestMarker(Database& db, double versionNumber, const ResBufList& material) {
    ResBufList items = {R(versionNumber), L(2), L(0), S("C:\\Nest\\job.nst")};
    items.insert(items.end(), material.begin(), material.end());
    return AddKstrText(db, "Kstr_ST", items);
}

}  // namespace job_testing
