// Test support for loading part and stock drawings: a current drawing with the host's commands, a nesting state
// with known line types and gaps, the fixture drawings whose contours NCCreateContour made, and copies of them
// changed the way the tests need (another data version, an entity gone, a batch cut short).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/input.h"
#include "host/ed/sysvars.h"
#include "host/ed/tests/input_test_drawing.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/ui/message_box.h"
#include "storedjob/stored_records.h"
#include "nesting/frame/nesting_state.h"

namespace drawing_testing {

namespace fs = std::filesystem;
using host::db::Database;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;

inline fs::path FixtureDir() {
    return fs::path(KESTRION_SOURCE_DIR) / "nesting" / "drawings" / "tests" / "fixtures";
}

// The first live "Kstr_ST" text of model space (the marker).
inline ObjectId MarkerOf(Database& db) {
    ObjectPtr<host::db::BlockTableRecord> ms(db.modelSpaceId(), OpenMode::Read);
    for (ObjectId id : ms->entityIds()) {
        ObjectPtr<host::db::Text> t(id, OpenMode::Read);
        if (t && t->textString() == "Kstr_ST" && !t->xData("Kstr").empty()) return id;
    }
    return {};
}

inline ResBufList XData(ObjectId id) {
    ObjectPtr<host::db::DbObject> o(id, OpenMode::Read);
    return o ? o->xData("Kstr") : ResBufList{};
}

inline void SetXData(ObjectId id, const ResBufList& list) {
    ObjectPtr<host::db::DbObject> o(id, OpenMode::Write);
    ASSERT_TRUE(o);
    ASSERT_EQ(o->setXData(list), host::db::Status::Ok);
}

// The stored contour table of a fixture drawing, read with the stored-data layout.
inline std::vector<ContourRecord> StoredTable(Database& db) {
    ResBufList marker = XData(MarkerOf(db));
    StoredJobHeader header;
    EXPECT_EQ(ReadStoredJobHeader(marker, header), StoredHeaderProblem::None);
    const auto lookup = [&](std::uint64_t h) -> std::optional<ResBufList> {
        return XData(db.idFromHandle(host::db::Handle(h)));
    };
    auto directory = lookup(header.directoryHandle);
    auto table = ReadStoredContourTable(*directory, header.lastIndex, header.version, lookup);
    EXPECT_TRUE(table.has_value());
    return table ? *table : std::vector<ContourRecord>{};
}

// The handle of the first stored batch text.
inline std::uint64_t FirstBatchHandle(Database& db) {
    StoredJobHeader header;
    ReadStoredJobHeader(XData(MarkerOf(db)), header);
    StoredList pairs(XData(db.idFromHandle(host::db::Handle(header.directoryHandle))));
    return pairs.HandlePair(1);
}

// Rewrites the drawing's stored data as data version 2005.0: the header items at their 2005.0 places and the
// contour flags in the 2005.0 bit order (which has no kinds).
inline void RewriteAs2005(Database& db) {
    const std::vector<ContourRecord> table = StoredTable(db);
    const ObjectId markerId = MarkerOf(db);
    StoredList m(XData(markerId));
    const JobSettingsPositions& from = PositionsOf(JobDataVersion::V200801);
    const JobSettingsPositions& to = PositionsOf(JobDataVersion::V2005);
    ResBufList items = m.items();
    ResBufList old = items;
    items[1] = ResBuf(kStoredCodeReal, 2005.0);
    items[to.extents] = old[from.extents];
    items[to.extents + 1] = old[from.extents + 1];
    items[to.area] = old[from.area];
    for (std::size_t k = 0; k < 4; ++k) items[to.contourCount + k] = old[from.contourCount + k];
    SetXData(markerId, items);

    ResBufList batch = {ResBuf(kStoredCodeApp, "Kstr")};
    for (const ContourRecord& r : table) {
        AppendStoredContour(batch, r);
        const auto flags = static_cast<std::int64_t>(r.processed | (r.shape << 3) | (r.closure << 6) |
                                                     (r.role << 9) | (r.placement << 12));
        batch[batch.size() - kStoredContourItems] = ResBuf(kStoredCodeLong, flags);
    }
    SetXData(db.idFromHandle(host::db::Handle(FirstBatchHandle(db))), batch);
}

// Sets the stored data version number of the drawing.
inline void SetVersion(Database& db, double version) {
    const ObjectId markerId = MarkerOf(db);
    ResBufList items = XData(markerId);
    items[1] = ResBuf(kStoredCodeReal, version);
    SetXData(markerId, items);
}

// Erases the entity of the first stored inner contour.
inline void EraseStoredHole(Database& db) {
    const std::vector<ContourRecord> table = StoredTable(db);
    std::size_t index = 0;
    while (index < table.size() && table[index].placement != kPlacementInner) ++index;
    ASSERT_LT(index, table.size());
    ObjectPtr<host::db::Entity> e(db.idFromHandle(host::db::Handle(table[index].handle)), OpenMode::Write);
    ASSERT_TRUE(e);
    ASSERT_EQ(e->erase(), host::db::Status::Ok);
}

// Redraws the entity of the first stored contour of class `placement` as an old-style 2D polyline with vertices
// (a lightweight polyline vertex by vertex, a circle as two half circles), erases it, and points its stored records
// at the new entity as a polyline contour: the drawing as another program leaves it when it saves an older format,
// or when an entity is replaced after the contours were made.
inline void RedrawStoredAsOldPolyline(Database& db, std::uint8_t placement) {
    const ObjectId batch = db.idFromHandle(host::db::Handle(FirstBatchHandle(db)));
    ResBufList items = XData(batch);
    std::uint64_t old = 0;
    for (std::size_t at = 1; at + kStoredContourItems <= items.size() && old == 0; at += kStoredContourItems) {
        ContourRecord r;
        ASSERT_TRUE(ReadStoredContour(items, at, JobDataVersion::V200801, r));
        if (r.placement == placement) old = r.handle;
    }
    ASSERT_NE(old, 0u);

    std::vector<std::pair<host::ge::Point3d, double>> vertices;
    std::string layer;
    {
        ObjectPtr<host::db::Entity> e(db.idFromHandle(host::db::Handle(old)), OpenMode::Write);
        ASSERT_TRUE(e);
        layer = e->layer();
        if (const auto* p = dynamic_cast<const host::db::LwPolyline*>(e.get())) {
            for (const auto& v : p->vertices()) vertices.push_back({{v.point.x, v.point.y, 0.0}, v.bulge});
        } else if (const auto* c = dynamic_cast<const host::db::Circle*>(e.get())) {
            const host::ge::Point3d m = c->center();
            vertices = {{{m.x - c->radius(), m.y, 0.0}, 1.0}, {{m.x + c->radius(), m.y, 0.0}, 1.0}};
        }
        ASSERT_FALSE(vertices.empty()) << e->dxfName();
        ASSERT_EQ(e->erase(), host::db::Status::Ok);
    }
    ObjectId added;
    {
        ObjectPtr<host::db::BlockTableRecord> ms(db.modelSpaceId(), OpenMode::Write);
        ASSERT_EQ(ms->appendEntity(std::make_unique<host::db::Polyline2d>(), &added), host::db::Status::Ok);
    }
    {
        ObjectPtr<host::db::Polyline2d> p(added, OpenMode::Write);
        ASSERT_TRUE(p);
        p->setLayer(layer);
        for (const auto& [point, bulge] : vertices)
            ASSERT_EQ(p->appendVertex(std::make_unique<host::db::PolylineVertex>(point, bulge)), host::db::Status::Ok);
        p->setClosed(true);
    }

    // the stock outline is stored twice: every record of the entity follows it
    for (std::size_t at = 1; at + kStoredContourItems <= items.size(); at += kStoredContourItems) {
        ContourRecord r;
        ASSERT_TRUE(ReadStoredContour(items, at, JobDataVersion::V200801, r));
        if (r.handle != old) continue;
        r.handle = db.handleOf(added).value;
        r.shape = kShapePolyline;
        ResBufList one;
        AppendStoredContour(one, r);
        std::copy(one.begin(), one.end(), items.begin() + static_cast<std::ptrdiff_t>(at));
    }
    SetXData(batch, items);
}

// A current drawing with the host's commands, and a nesting state with the module's default line types.
class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               (std::string("nesting_drawings_") + info->test_suite_name() + "_" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        host::reg::setMachineRegistryFile(dir_ / "registry.reg");
        host::ed::resetSystemVariables();
        host::ed::registerHostCommands();
        host::ed::transcript().clear();
        host::ui::clearMessageBoxLog();
        SetLibraryLanguage(Language::English);
        drawing_ = std::make_unique<host::ed::testing::TestDrawing>();
        drawing_->linetype("PHANTOM");
        state_ = std::make_unique<CNestingState>();
        state_->TypeLineStock = "PHANTOM";
        state_->TypeLinePart = "Continuous";
        state_->PrepareNestDrawing();
    }
    void TearDown() override {
        state_.reset();
        drawing_.reset();
        host::ed::setInput(nullptr);
        host::ed::commandStack().removeGroup(host::ed::kHostCommandGroup);
        host::ed::resetSystemVariables();
        fs::remove_all(dir_);
    }

    CNestingState& State() { return *state_; }
    Database& Current() { return drawing_->db(); }
    fs::path TempDir() const { return dir_; }

    // A type of the job for a drawing.
    static PartType TypeFor(const fs::path& path, std::uint8_t kind, const std::string& block, int quantity = 1) {
        PartType t;
        t.Path = path.string();
        t.Kind = kind;
        t.BlockName = block;
        t.Quantity = quantity;
        t.JobFileType = kJobFileDrawing;
        return t;
    }

    // A fixture drawing read, changed by `change` and written under the test's folder by a name of its own; answers
    // the new path.
    fs::path Changed(const std::string& fixture, const std::function<void(Database&)>& change) {
        host::dxf::ReadResult read = host::dxf::readDxfFile(FixtureDir() / fixture);
        EXPECT_TRUE(read) << read.error;
        if (!read) return {};
        change(*read.database);
        const fs::path out = dir_ / (std::to_string(++changed_) + "_" + fixture);
        std::string error;
        EXPECT_TRUE(host::dxf::writeDxfFile(*read.database, out, &error)) << error;
        return out;
    }

    // Live entities of the current drawing's model space.
    std::size_t ModelSpaceCount() {
        ObjectPtr<host::db::BlockTableRecord> ms(Current().modelSpaceId(), OpenMode::Read);
        return ms->entityIds().size();
    }
    // Entity types of a block of the current drawing, in order ("" when there is no such block).
    std::vector<std::string> BlockEntities(const std::string& name) {
        std::vector<std::string> types;
        ObjectPtr<host::db::BlockTableRecord> block(Current().recordId(host::db::TableKind::Block, name),
                                                    OpenMode::Read);
        if (!block) return types;
        for (ObjectId id : block->entityIds()) {
            ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
            if (e) types.push_back(e->dxfName() + std::string(":") + e->layer());
        }
        return types;
    }
    static std::vector<std::string> MessageBoxTexts() {
        std::vector<std::string> texts;
        for (const auto& box : host::ui::messageBoxLog()) texts.push_back(box.text);
        return texts;
    }

private:
    fs::path dir_;
    int changed_ = 0;
    std::unique_ptr<host::ed::testing::TestDrawing> drawing_;
    std::unique_ptr<CNestingState> state_;
};

}  // namespace drawing_testing
