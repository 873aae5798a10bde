// Test support for the path groups: one new drawing with its own job slot, the module's settings from a registry
// file of the test binary, contour records made by hand, and contour paths written through the group writer the
// way the contour writers write them.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cadlib/groups.h"
#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/input.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/ui/message_box.h"
#include "laser/contours/contour_records.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/path_groups.h"
#include "laser/settings/laser_settings.h"

namespace path_testing {

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

// One contour path as a contour writer lays it: the contour's record, where the lead-in starts, the contour's
// points from its start point on (the cut runs through them in order), and where the lead-out ends.
struct TestPath {
    int contour = 0;                   // index of the ContourRecord
    std::vector<Point3d> cut;          // the contour start first
    double leadInLength = 0.0;
    Point3d leadInStart;
    bool leadOut = false;
    Point3d leadOutEnd;
    int offsetSide = 0;
};

class PathTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::reg::setMachineRegistryFile(registryFile_);
        DestroyLaserSettings();
        SetLanguageFlag(0);
        host::ed::documents().closeAll();
        host::ed::transcript().clear();
        host::ui::clearMessageBoxLog();
        host::ed::registerHostCommands();
        db_ = &host::ed::documents().newDocument()->database();
        CLaserSettings& s = LaserSettings();
        s.DirInstall = std::string(KESTRION_SOURCE_DIR) + "/data";
        ASSERT_EQ(OnLoadDrawing(s), 0);
        ASSERT_EQ(PrepareDrawingJob(s), 0);
        ASSERT_NE(CurrentJob(s), nullptr);
        Job().contours = {EmptyStockRecord()};
        Job().contourCount = 0;
        Job().pathGroupCount = 0;
        Job().currentPoint = Point3d();
        Job().startAtHome = 0;
        Job().homePoint = Point3d();
        host::ui::clearMessageBoxLog();
        host::ed::transcript().clear();
    }
    void TearDown() override {
        OnUnloadDrawing(LaserSettings());
        host::ed::setInput(nullptr);
        host::ed::commandStack().removeGroup(host::ed::kHostCommandGroup);
        host::ed::documents().closeAll();
        DestroyLaserSettings();
        SetLanguageFlag(0);
        std::filesystem::remove(registryFile_);
    }

    // This test process's registry: CTest runs every case as a process of its own, side by side, so a file shared
    // by the binary would let one case read what another wrote.
    const std::string registryFile_ =
        std::string(KESTRION_BINARY_DIR) + "/laser_path_groups_tests." + std::to_string(::getpid()) + ".reg";

public:
    host::db::Database& db() { return *db_; }
    CuttingJob& Job() { return *CurrentJob(LaserSettings()); }
    CLaserSettings& Settings() { return LaserSettings(); }
    DrawingSlot& Slot() { return *CurrentSlot(LaserSettings()); }

    ObjectId Add(std::unique_ptr<host::db::Entity> e, const std::string& layer = "0") {
        e->setLayer(db_->recordId(host::db::TableKind::Layer, layer));
        ObjectPtr<host::db::BlockTableRecord> space(db_->modelSpaceId(), OpenMode::Write);
        ObjectId id;
        EXPECT_EQ(space->appendEntity(std::move(e), &id), host::db::Status::Ok);
        return id;
    }

    // A contour record for `entity` (its handle), before the stock record. Answers its index.
    int AddContour(ObjectId entity, std::uint8_t shape, ContourKind kind = ContourKind::KindBase,
                   std::uint8_t placement = kPlacementOuter, std::uint8_t closure = kClosureClosed) {
        ContourRecord r;
        r.handle = entity.handle().value;
        r.shape = shape;
        r.kind = kind;
        r.placement = placement;
        r.closure = closure;
        r.role = kRolePart;
        CuttingJob& job = Job();
        job.contours.insert(job.contours.end() - 1, r);
        job.contourCount += 1;
        return job.contourCount - 1;
    }
    // A square contour polyline with its record; answers the record index.
    int SquareContour(double x, double y, double side, ContourKind kind = ContourKind::KindBase) {
        auto pl = std::make_unique<host::db::LwPolyline>();
        pl->addVertexAt(0, host::ge::Point2d(x, y), 0.0);
        pl->addVertexAt(1, host::ge::Point2d(x + side, y), 0.0);
        pl->addVertexAt(2, host::ge::Point2d(x + side, y + side), 0.0);
        pl->addVertexAt(3, host::ge::Point2d(x, y + side), 0.0);
        pl->setClosed(true);
        return AddContour(Add(std::move(pl)), kShapePolyline, kind);
    }
    // The path of a square contour of SquareContour, started at its lower-left corner, with a lead-in from
    // `lead` to the left and a lead-out of `lead` below.
    TestPath SquarePath(int contour, double x, double y, double side, double lead = 2.0) {
        TestPath p;
        p.contour = contour;
        p.cut = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
        p.leadInLength = lead;
        p.leadInStart = Point3d(x - lead, y);
        p.leadOut = lead > 0.0;
        p.leadOutEnd = Point3d(x, y - lead);
        return p;
    }

    // Writes one contour group as the polyline writer does. Answers the group number (0 when none was made).
    unsigned WritePath(const TestPath& p, const char* typeWord = "Slice_Polyline") {
        CuttingJob& job = Job();
        ContourRecord& r = job.contours[static_cast<std::size_t>(p.contour)];
        PathWriterState& w = PathWriter();
        w.PathDescriptionText = std::string(typeWord) + " T" + std::to_string(static_cast<int>(r.kind));
        BeginPathGroup();
        w.PathDescriptionText += SetCutColourForSide(p.offsetSide);
        char head[96];
        std::snprintf(head, sizeof head, " HP= %s %i %i %i %i", FormatPathHandle(r.handle).c_str(), r.shape,
                      p.offsetSide, r.placement, r.closure);
        w.PathDescriptionText += head;
        AddRapidAndLeadIn(p.cut.front(), p.leadInLength, p.leadInStart);
        for (std::size_t i = 1; i < p.cut.size(); ++i) AddPathLine(job.currentPoint, p.cut[i]);
        ObjectId leadOut;
        if (p.leadOut) leadOut = AddPathLine(job.currentPoint, p.leadOutEnd);
        AppendPathHandleToken(leadOut);
        char tail[96];
        std::snprintf(tail, sizeof tail, " %.4f %.4f %.4f %.4f", p.cut.front().x, p.cut.front().y,
                      p.cut.back().x, p.cut.back().y);
        w.PathDescriptionText += tail;
        r.processed = 1;
        StorePathDescription();
        const bool made = w.PathGroupCreated != 0;
        EndPathGroup();
        return made ? static_cast<unsigned>(job.pathGroupCount) : 0u;
    }

    // Squares of side 10 at x = 0, 20, 40, ... (y 0), each with its path written in that order.
    void SquaresWithPaths(int count) {
        for (int i = 0; i < count; ++i) {
            const double x = 20.0 * i;
            ASSERT_EQ(WritePath(SquarePath(SquareContour(x, 0.0, 10.0), x, 0.0, 10.0)),
                      static_cast<unsigned>(i + 1));
        }
    }

    std::string Description(unsigned n) {
        std::string d;
        GetGroupDescription(FormatPathGroupName(n), d);
        return d;
    }
    std::vector<ObjectId> Members(unsigned n) {
        std::vector<ObjectId> ids;
        GetGroupEntityIds(FormatPathGroupName(n), ids);
        return ids;
    }
    bool GroupExists(unsigned n) {
        ObjectPtr<host::db::Dictionary> groups(db_->groupDictionaryId(), OpenMode::Read);
        return groups->has(FormatPathGroupName(n));
    }
    // The start and end of a line.
    std::pair<Point3d, Point3d> LineEnds(ObjectId id) {
        ObjectPtr<host::db::Line> line(id, OpenMode::Read);
        if (!line) return {};
        return {line->start(), line->end()};
    }
    std::pair<Point3d, Point3d> LineEnds(std::uint64_t handle) {
        return LineEnds(db_->idFromHandle(host::db::Handle(handle)));
    }
    std::string Linetype(ObjectId id) {
        ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
        return e ? e->linetype() : std::string();
    }
    int ColorIndex(ObjectId id) {
        ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
        return e ? e->colorIndex() : -1;
    }
    std::string Transcript() { return host::ed::transcript().text(); }
    void Answers(std::vector<std::string> lines) {
        host::ed::setInput(host::ed::ScriptInput::fromLines(std::move(lines), "answers.scr"));
    }

private:
    host::db::Database* db_ = nullptr;
};

// The blank-separated words of a description.
inline std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

inline bool SameXY(const Point3d& a, const Point3d& b, double tol = 1e-9) {
    return std::abs(a.x - b.x) <= tol && std::abs(a.y - b.y) <= tol;
}

}  // namespace path_testing
