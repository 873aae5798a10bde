// Test support for NC output: a new drawing, the module's settings from a registry file of the test binary, a
// small postprocessor whose blocks are easy to read, and path groups drawn member by member (lines of a chosen
// line type and role, and counter-clockwise arcs) with their descriptions written out as the path writer writes
// them.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cadlib/groups.h"
#include "cadlib/layers.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/ed/documents.h"
#include "host/ed/input.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/ui/message_box.h"
#include "laser/contours/contour_records.h"
#include "laser/job/drawing_slot.h"
#include "laser/nc/nc_emitters.h"
#include "laser/nc/nc_program_creation.h"
#include "laser/path/path_groups.h"
#include "laser/post/postprocessor_file.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/settings/laser_settings.h"

namespace nc_testing {

using host::db::ObjectId;
using host::ge::Point3d;

inline std::filesystem::path SourceDir() { return KESTRION_SOURCE_DIR; }

// A file's bytes as they are, line ends and all.
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
// The reference postprocessors the program tests are written against (laser/post/tests/fixtures/README.md).
inline std::filesystem::path ReferencePostprocessors() { return SourceDir() / "laser/post/tests/fixtures/reference"; }

// The shipped laser postprocessor with short templates: motion words and coordinates always written, arcs with
// I, J (from the start to the centre, a zero word left out) and a signed R, compensation words, one word per tool
// switch.
inline PostprocessorSettings ReadablePostprocessor() {
    PostprocessorSettings p;
    EXPECT_EQ(ReadPostprocessorFile(p, ReferencePostprocessors() / "FANUC.MXT"), 0);
    p.NCode = "";
    p.MoveRapidStr = "<MOTION-ALL><COMP><X-COORD-ALL><Y-COORD-ALL><EOB>";
    p.MoveLinearStr = "<MOTION-ALL><COMP><X-COORD-ALL><Y-COORD-ALL><FEED><EOB>";
    p.CircleStr = "<MOTION-ALL><X-COORD-ALL><Y-COORD-ALL><ARC-X><ARC-Y><ARC-R><EOB>";
    p.CutCompensation = 1;
    p.Output_IJ_Always = 1;
    p.CutOnStr = "CUT ON<EOB>";
    p.CutOffStr = "CUT OFF<EOB>";
    p.CutT2OnStr = "T2 ON<EOB>";
    p.CutT2OffStr = "T2 OFF<EOB>";
    p.EngraveOnStr = "ENGRAVE ON<EOB>";
    p.EngraveOffStr = "ENGRAVE OFF<EOB>";
    p.MarkOnStr = "MARK ON<EOB>";
    p.MarkOffStr = "MARK OFF<EOB>";
    p.ZSensorOn = "SENSOR ON<EOB>";
    p.ZSensorOff = "SENSOR OFF<EOB>";
    p.StartPrgStr = "START<EOB>";
    p.EndPrgStr = "END<EOB>";
    p.EndFileStr = "%<EOB>";
    p.UnloadOpenWinStr = "UNLOAD WINDOW<EOB>";
    p.UnloadStopPrgStr = "UNLOAD STOP<EOB>";
    return p;
}

// One member of a test group: a line of a line type and a role, or an arc (counter-clockwise from start to end
// angle).
struct TestMember {
    bool arc = false;
    Point3d a, b;            // line ends
    std::string linetype;    // line type of a line
    PathMemberRole role = PathMemberRole::Cut;  // what the description says of it
    Point3d centre;
    double radius = 0.0, startAngle = 0.0, endAngle = 0.0;
};

inline TestMember LineMember(Point3d a, Point3d b, const char* linetype, PathMemberRole role) {
    TestMember m;
    m.a = a;
    m.b = b;
    m.linetype = linetype;
    m.role = role;
    return m;
}
inline TestMember CutLine(Point3d a, Point3d b) { return LineMember(a, b, "Continuous", PathMemberRole::Cut); }
inline TestMember RapidLine(Point3d a, Point3d b) { return LineMember(a, b, "HIDDEN", PathMemberRole::Rapid); }
inline TestMember SensorOffLine(Point3d a, Point3d b) {
    return LineMember(a, b, "ZAxisTrackingSensorOFF", PathMemberRole::SensorOff);
}
inline TestMember ArcMember(Point3d centre, double r, double startDeg, double endDeg) {
    TestMember m;
    m.arc = true;
    m.centre = centre;
    m.radius = r;
    m.startAngle = startDeg * std::numbers::pi / 180.0;
    m.endAngle = endDeg * std::numbers::pi / 180.0;
    return m;
}

// What a test group's description says besides its members.
struct TestGroup {
    std::string typeWord = "Slice_Polyline";
    int kind = 0;
    int shape = kShapePolyline;
    int side = 0;
    int placement = kPlacementOuter;
    int closure = kClosureClosed;
    std::uint64_t contourHandle = 0x1F;
    bool rapid = true;     // the first member is the rapid line
    bool leadIn = true;    // the next one the lead-in
    bool leadOut = true;   // the last one the lead-out
    std::vector<TestMember> members;
};

class NcTest : public ::testing::Test {
protected:
    // This test process's registry: CTest runs every case as a process of its own, side by side, so a file shared
    // by the binary would let one case read what another wrote.
    static std::string RegistryFile() {
        return std::string(KESTRION_BINARY_DIR) + "/laser_nc_tests." + std::to_string(::getpid()) + ".reg";
    }
    void SetUp() override {
        host::reg::setMachineRegistryFile(RegistryFile());
        DestroyLaserSettings();
        SetLanguageFlag(0);
        host::ed::documents().closeAll();
        host::ed::transcript().clear();
        host::ui::clearMessageBoxLog();
        sink.blocks.clear();
        job = CuttingJob{};
        state = NcOutputState{};
        db_ = &host::ed::documents().newDocument()->database();
        const std::filesystem::path lin = SourceDir() / "data/Kestrion.lin";
        for (const char* name : {"HIDDEN", "ZAxisTrackingSensorOFF", "DASHED"}) ASSERT_TRUE(LoadLinetype(name, lin));
        CLaserSettings& s = LaserSettings();
        s.TypeLineMove = "HIDDEN";
        s.TypeLineSensorOff = "ZAxisTrackingSensorOFF";
        s.FeedCut = 3000;
        s.FeedCutT2 = 2500;
        s.EngraveCut = 800;
        s.MarkCut = 700;
        s.UnloadOption = 0;
        Prepare(ReadablePostprocessor());
    }
    void TearDown() override {
        state.Output = nullptr;
        host::ed::setInput(nullptr);
        host::ed::documents().closeAll();
        DestroyLaserSettings();
        SetLanguageFlag(0);
        std::filesystem::remove(RegistryFile());
    }

    void Prepare(const PostprocessorSettings& p) {
        ASSERT_EQ(PreparePostprocessorRuntime(p, "test.MXT", runtime), 0)
            << (host::ui::messageBoxLog().empty() ? "" : host::ui::messageBoxLog()[0].text);
        SetCuttingModeTexts(runtime);
    }

    // A run in NC output with the blocks kept in `sink`, started as a program starts.
    NcRun Run() {
        NcRun run{state, runtime, LaserSettings(), &job, nullptr};
        state.Output = &sink;
        StartNcProgram(run);
        return run;
    }

    ObjectId AddEntity(std::unique_ptr<host::db::Entity> e, const std::string& linetype = {}) {
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db_->modelSpaceId(), host::db::OpenMode::Write);
        ObjectId id;
        EXPECT_EQ(space->appendEntity(std::move(e), &id), host::db::Status::Ok);
        if (!linetype.empty()) {
            host::db::ObjectPtr<host::db::Entity> entity(id, host::db::OpenMode::Write);
            EXPECT_EQ(entity->setLinetype(linetype), host::db::Status::Ok) << linetype;
        }
        return id;
    }

    // Draws the group's members and makes it path group n ("DOROZ_n") with its description.
    void AddGroup(unsigned n, const TestGroup& g) {
        std::vector<ObjectId> ids;
        for (const TestMember& m : g.members) {
            if (m.arc) {
                ids.push_back(AddEntity(std::make_unique<host::db::Arc>(m.centre, m.radius, m.startAngle,
                                                                        m.endAngle)));
            } else {
                ids.push_back(AddEntity(std::make_unique<host::db::Line>(m.a, m.b), m.linetype));
            }
        }
        auto handleOf = [&](bool present, std::size_t index) {
            return present && index < ids.size() ? FormatPathHandle(ids[index].handle().value) : std::string("N");
        };
        // The members the description names by role: rapids (but a contour group's rapid line, which has its own
        // token) and sensor-off cuts.
        std::string roles;
        for (std::size_t i = 0; i < g.members.size(); ++i) {
            const TestMember& m = g.members[i];
            const bool ownToken = g.typeWord != kHomeGroupWord && g.rapid && i == 0;
            if (m.arc || ownToken || m.role == PathMemberRole::Cut) continue;
            roles += ' ';
            roles += m.role == PathMemberRole::Rapid ? kRapidMemberMark : kSensorOffMemberMark;
            roles += FormatPathHandle(ids[i].handle().value);
        }
        std::string d;
        if (g.typeWord == kHomeGroupWord) {
            d = std::string(kHomeGroupWord) + " " + handleOf(true, ids.size() - 1);
        } else {
            char head[160];
            std::snprintf(head, sizeof head, "%s T%d Offset=N%c HP= %s %d %d %d %d ", g.typeWord.c_str(), g.kind,
                          g.side == 1 ? 'L' : g.side == 2 ? 'R' : 'O', FormatPathHandle(g.contourHandle).c_str(),
                          g.shape, g.side, g.placement, g.closure);
            d = head;
            d += handleOf(g.rapid, 0) + " " + handleOf(g.leadIn, g.rapid ? 1 : 0) + " " +
                 handleOf(g.leadOut, ids.size() - 1);
            const std::size_t contourStart = (g.rapid ? 1u : 0u) + (g.leadIn ? 1u : 0u);
            Point3d start = g.members[contourStart].a;
            if (g.members[contourStart].arc) start = ContourStartOfArcs(g, contourStart);
            char tail[96];
            std::snprintf(tail, sizeof tail, " %.4f %.4f %.4f %.4f", start.x, start.y, start.x, start.y);
            d += tail;
        }
        d += roles;
        ASSERT_EQ(CreateGroupWithMembers(FormatPathGroupName(n), ids, d), kGroupDone);
    }

    // Where the cut of a contour that begins with an arc starts: the lead-in's end, or the arc's start.
    static Point3d ContourStartOfArcs(const TestGroup& g, std::size_t index) {
        if (g.leadIn) return g.members[index - 1].b;
        const TestMember& m = g.members[index];
        return {m.centre.x + m.radius * std::cos(m.startAngle), m.centre.y + m.radius * std::sin(m.startAngle)};
    }

    std::vector<std::string>& Written() { return sink.blocks; }

    PostprocessorRuntime runtime;
    NcOutputState state;
    NcBlockList sink;
    CuttingJob job;

private:
    host::db::Database* db_ = nullptr;
};

}  // namespace nc_testing
