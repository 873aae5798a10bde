// The path walkers of normal and profile cutting, and the unloading command after a contour.
//
// Index of this file:
//   members      reading a group's lines and arcs
//   capture      the mouse held by the focused window during a walk
//   normal       EmitContourPath
//   profile      EmitProfilePath, EmitProfileCut
//   unloading    EmitUnloadCommand
#include "laser/nc/path_walkers.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "cadlib/groups.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ui/desktop.h"
#include "laser/contours/contour_records.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::ge::Point3d;

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Type words of the contour groups that profile cutting writes.
constexpr std::string_view kPolylineGroupWord = "Slice_Polyline";
constexpr std::string_view kCircleGroupWord = "Slice_Circle";

// While a walker runs, the mouse belongs to the window with the keyboard focus, where the simulation reads its
// keys; the capture is released on every way out.
class WalkCapture {
public:
    WalkCapture() {
        host::ui::Desktop* desktop = host::ui::Desktop::current();
        if (desktop == nullptr || desktop->focus() == nullptr) return;
        desktop->setCapture(desktop->focus());
        desktop_ = desktop;
    }
    ~WalkCapture() {
        if (desktop_ != nullptr) desktop_->releaseCapture();
    }
    WalkCapture(const WalkCapture&) = delete;
    WalkCapture& operator=(const WalkCapture&) = delete;

private:
    host::ui::Desktop* desktop_ = nullptr;
};

// [SECTION] members

enum class MemberType { Line, Arc, Other };

// One member of a path group as the walkers need it. A member that cannot be read (a damaged group) is Other and
// is passed over like any entity that is neither a line nor an arc.
struct Member {
    MemberType type = MemberType::Other;
    Point3d start, end;
    Point3d centre;
    double radius = 0.0;
    double startAngle = 0.0, endAngle = 0.0;
    std::uint64_t handle = 0;

    double Sweep() const {
        double sweep = endAngle - startAngle;
        if (endAngle <= startAngle) sweep += kTwoPi;
        return sweep;
    }
    double Length() const { return type == MemberType::Arc ? Sweep() * radius : start.distanceTo(end); }
};

std::vector<Member> ReadMembers(unsigned n) {
    std::vector<host::db::ObjectId> ids;
    GetGroupEntityIds(FormatPathGroupName(n), ids);
    std::vector<Member> members(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        host::db::ObjectPtr<host::db::Entity> entity(ids[i], host::db::OpenMode::Read);
        if (!entity) continue;
        Member& m = members[i];
        m.handle = ids[i].handle().value;
        if (const auto* line = dynamic_cast<const host::db::Line*>(entity.get())) {
            m.type = MemberType::Line;
            m.start = line->start();
            m.end = line->end();
        } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(entity.get())) {
            m.type = MemberType::Arc;
            m.centre = arc->center();
            m.radius = arc->radius();
            m.startAngle = arc->startAngle();
            m.endAngle = arc->endAngle();
            m.start = arc->startPoint();
            m.end = arc->endPoint();
        }
    }
    return members;
}

// What the tool does along a member: the group's description says it, never the member's line type.
PathMemberRole RoleOf(const PathRecord& record, const Member& m) { return RoleOfPathMember(record, m.handle); }

bool SamePrintedPoint(const NcRun& run, const Point3d& a, const Point3d& b) {
    return IsSameOutputValue(run.runtime, a.x, b.x) && IsSameOutputValue(run.runtime, a.y, b.y);
}

// The first point of a run becomes the current point.
void TakeFirstPoint(NcRun& run, int& first, const Point3d& p) {
    if (first != 0) return;
    run.state.Current = ToNcPoint(p);
    first = 1;
}

// The compensation state of an offset side: '(' none, ')' left, '*' right.
char CompensationOf(int offsetSide) { return static_cast<char>(kCompOff + offsetSide); }

// On a waterjet machine the cut of a contour of kind 11 to 18 writes its own cutting mode, every other kind mode 3.
void SetWaterjetCuttingMode(NcRun& run, int contourKind) {
    if (run.runtime.MachineTypeCode != kMachineWaterjet) return;
    const auto& texts = run.runtime.CuttingModeTexts;
    run.state.CuttingModeText = (contourKind >= 11 && contourKind <= 18)
                                    ? texts[static_cast<std::size_t>(contourKind - 10)]
                                    : texts[3];
}

Point3d PointOnCircle(const Point3d& centre, double radius, double angle) {
    return {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle), 0.0};
}

// Where a group's rapid line and lead-in stand among its members.
struct Leads {
    bool rapid = false;
    bool leadIn = false;
    bool leadOut = false;
};

Leads LeadsOf(const PathRecord& record, bool homeGroup) {
    return {record.rapidHandle != 0, record.leadInHandle != 0, !homeGroup && record.leadOutHandle != 0};
}

// [SECTION] normal

// A line member of normal cutting.
void EmitLine(NcRun& run, const Member& line, int& first, int contourTool, int side, const PathRecord& record) {
    TakeFirstPoint(run, first, line.start);
    run.state.Radius = 0.0;
    switch (RoleOf(record, line)) {
        case PathMemberRole::Cut:
            run.state.ToolKind = contourTool;
            run.state.WantedComp = CompensationOf(side);
            LinearMove(run, line.end);
            break;
        case PathMemberRole::Rapid:
            RapidMove(run, line.end);
            // The rapid switched compensation off in the machine's eyes: the next COMP writes its state again.
            run.state.Modal.PrintedComp = kCompNotWritten;
            run.state.WrittenModal.PrintedComp = kCompNotWritten;
            break;
        case PathMemberRole::SensorOff:
            run.state.ToolKind = kToolSensorOff;
            LinearMove(run, line.end);
            break;
    }
}

// An arc member of normal cutting: counter-clockwise when it starts where the tool stands, else clockwise from its
// end back to its start.
void EmitArc(NcRun& run, const Member& arc, int& first, const PathRecord& record) {
    run.state.Radius = arc.radius;
    run.state.Sweep = arc.Sweep();
    const Point3d p = first == 0 ? record.contourStart : ToDrawingPoint(run.state.Current);
    if (SamePrintedPoint(run, arc.start, p)) {
        TakeFirstPoint(run, first, arc.start);
        ArcMoveCCW(run, arc.centre, arc.end, kBlockIfMoved);
    } else {
        TakeFirstPoint(run, first, arc.end);
        run.state.Radius = -arc.radius;
        ArcMoveCW(run, arc.centre, arc.start, kBlockIfMoved);
    }
}

// The whole circle as one arc block from and back to the contour's start point. `arc` is the first of its two
// half arcs.
void EmitCircle(NcRun& run, const Member& arc, int& first, const PathRecord& record) {
    run.state.Radius = arc.radius;
    run.state.Sweep = kTwoPi;
    Point3d p = record.contourStart;
    constexpr int kWholeCircleBlock = 0;
    if (SamePrintedPoint(run, arc.start, p)) {
        TakeFirstPoint(run, first, arc.start);
        ArcMoveCCW(run, arc.centre, p, kWholeCircleBlock);
    } else {
        if (first == 0) {
            p = arc.end;
            TakeFirstPoint(run, first, p);
        }
        run.state.Radius = -arc.radius;
        ArcMoveCW(run, arc.centre, p, kWholeCircleBlock);
    }
}

// [SECTION] profile

// A Prof* template, with the move it stands for: written in NC output, the current point follows in both modes.
// An arc too short to be told from a whole circle by its printed ends is written as the straight move it nearly is;
// an arc of nearly a whole turn is written in two halves (see ArcMove).
void RunProfileTemplate(NcRun& run, const CompiledTemplate& compiled, int motion, const Point3d& target) {
    run.state.Target = ToNcPoint(target);
    const bool arc = motion == kMotionClockwise || motion == kMotionCounterClockwise;
    if (run.Output() && arc && IsShortArcMove(run.state, run.runtime)) motion = kMotionLinear;
    if (run.Output() && arc && IsNearlyClosedArcMove(run.state, run.runtime)) {
        const double sweep = run.state.Sweep;
        run.state.Sweep = sweep / 2;
        run.state.Target = ArcMiddle(run.state);
        RunTemplate(run.state, run.runtime, compiled, motion, kBlockAlways);
        run.state.Target = ToNcPoint(target);
        RunTemplate(run.state, run.runtime, compiled, motion, kBlockAlways);
        run.state.Sweep = sweep;
    } else if (run.Output()) {
        RunTemplate(run.state, run.runtime, compiled, motion, kBlockAlways);
    }
    run.state.Current.x = run.state.Target.x;
    run.state.Current.y = run.state.Target.y;
}

// The hole of a profile cut: quarter arcs from the start point round to it again, with a ProfCutSm1 move that ends
// ProfCutDist1 before the start point. When that distance reaches half the circumference the hole is cut without
// the profile: a longer one would start the slow part behind the half already cut and cut part of the hole a
// second time.
void EmitProfileCircle(NcRun& run, const Member& arc, int& first, const PathRecord& record) {
    const double r = arc.radius;
    const Point3d centre = arc.centre;
    const bool ccw = SamePrintedPoint(run, arc.start, record.contourStart);
    const int motion = ccw ? kMotionCounterClockwise : kMotionClockwise;
    const double s = ccw ? 1.0 : -1.0;
    const Point3d start = ccw ? record.contourStart : arc.end;
    run.state.Radius = ccw ? r : -r;
    run.state.Centre = ToNcPoint(centre);
    const double a = std::atan2(start.y - centre.y, start.x - centre.x);
    const double distance = std::abs(run.runtime.ProfCutDist1);
    double z = r > 0.0 ? distance / r : 0.0;
    const bool profile = distance != 0.0 && z < std::numbers::pi;
    if (!profile) z = 0.0;
    const double quarter = std::numbers::pi / 2.0;
    const Point3d q1 = PointOnCircle(centre, r, a + s * quarter);
    const Point3d q2 = PointOnCircle(centre, r, a + s * std::numbers::pi);
    const Point3d q3 = PointOnCircle(centre, r, a + s * 3.0 * quarter);
    const Point3d q4 = PointOnCircle(centre, r, a - s * z);
    TakeFirstPoint(run, first, start);
    const PostprocessorRuntime& rt = run.runtime;
    run.state.Sweep = quarter;
    RunProfileTemplate(run, rt.ProfCutStr, motion, q1);
    RunProfileTemplate(run, rt.ProfCutStr, motion, q2);
    if (z < quarter) RunProfileTemplate(run, rt.ProfCutStr, motion, q3);
    if (profile) {
        run.state.Sweep = std::numbers::pi - z;
        RunProfileTemplate(run, rt.ProfCutSm1, motion, q4);
    }
    if (z > quarter) RunProfileTemplate(run, rt.ProfCutStr, motion, q3);
    run.state.Sweep = quarter;
    RunProfileTemplate(run, rt.ProfCutStr, motion, start);
}

// The cut member where ProfCutDist1 before the end of the contour falls, and how far before that member's end:
// members are walked back from `last` (the lead-out excluded) adding up their lengths until the sum passes the
// distance. None (npos) when the distance is 0 or the contour is shorter.
struct SplitPoint {
    std::size_t member = std::string::npos;
    double distanceBeforeEnd = 0.0;
};

SplitPoint FindSplitMember(const NcRun& run, const PathRecord& record, const std::vector<Member>& members,
                           std::size_t from, std::size_t end) {
    SplitPoint split;
    const double distance = std::abs(run.runtime.ProfCutDist1);
    if (distance == 0.0) return split;
    double after = 0.0;
    for (std::size_t i = end; i-- > from;) {
        const Member& m = members[i];
        const bool cut =
            m.type == MemberType::Arc || (m.type == MemberType::Line && RoleOf(record, m) == PathMemberRole::Cut);
        if (!cut) continue;
        const double length = m.Length();
        if (after + length > distance) {
            split.member = i;
            split.distanceBeforeEnd = distance - after;
            return split;
        }
        after += length;
    }
    return split;
}

void EmitProfileLine(NcRun& run, const Member& line, int& first, bool split, double zl, int contourTool, int side,
                     const PathRecord& record) {
    TakeFirstPoint(run, first, line.start);
    run.state.Radius = 0.0;
    const PostprocessorRuntime& rt = run.runtime;
    if (split) {
        const double length = line.start.distanceTo(line.end);
        const double t = length > 0.0 ? (length - zl) / length : 0.0;
        const Point3d at(line.start.x + (line.end.x - line.start.x) * t,
                         line.start.y + (line.end.y - line.start.y) * t);
        RunProfileTemplate(run, rt.ProfCutSm1, kMotionLinear, at);
    }
    if (RoleOf(record, line) == PathMemberRole::Cut) {
        run.state.ToolKind = contourTool;
        run.state.WantedComp = CompensationOf(side);
        RunProfileTemplate(run, rt.ProfCutStr, kMotionLinear, line.end);
    } else if (rt.ReturnToHomePoint == 1) {
        run.state.WantedComp = kCompOff;
        RapidMove(run, line.end);
    }
}

void EmitProfileArc(NcRun& run, const Member& arc, int& first, bool split, double zl, const PathRecord& record) {
    const PostprocessorRuntime& rt = run.runtime;
    const double r = arc.radius;
    const Point3d p = first == 0 ? record.contourStart : ToDrawingPoint(run.state.Current);
    run.state.Centre = ToNcPoint(arc.centre);
    run.state.Sweep = arc.Sweep();
    if (SamePrintedPoint(run, arc.start, p)) {
        TakeFirstPoint(run, first, arc.start);
        run.state.Radius = r;
        if (split) RunProfileTemplate(run, rt.ProfCutSm1, kMotionCounterClockwise,
                                      PointOnCircle(arc.centre, r, arc.endAngle - zl / r));
        RunProfileTemplate(run, rt.ProfCutStr, kMotionCounterClockwise, arc.end);
    } else {
        TakeFirstPoint(run, first, arc.end);
        run.state.Radius = -r;
        if (split) RunProfileTemplate(run, rt.ProfCutSm1, kMotionClockwise,
                                      PointOnCircle(arc.centre, r, arc.startAngle + zl / r));
        RunProfileTemplate(run, rt.ProfCutStr, kMotionClockwise, arc.start);
    }
}

// The lead-out of a profile cut: ProfCutSm2 to the point ProfCutDist2 along it (never past its end), ProfCutSm3
// for the rest.
void EmitProfileLeadOut(NcRun& run, const Member& line, int& first, int contourTool, int side,
                        const PathRecord& record) {
    const PostprocessorRuntime& rt = run.runtime;
    TakeFirstPoint(run, first, line.start);
    run.state.Radius = 0.0;
    if (line.type == MemberType::Line && RoleOf(record, line) == PathMemberRole::Cut) {
        Point3d t = line.start;
        const double length = line.start.distanceTo(line.end);
        if (rt.ProfCutDist2 > 0.0 && length > 0.0) {
            const double f = std::min(rt.ProfCutDist2, length) / length;
            t = Point3d(line.start.x + (line.end.x - line.start.x) * f, line.start.y + (line.end.y - line.start.y) * f);
        }
        run.state.ToolKind = contourTool;
        run.state.WantedComp = CompensationOf(side);
        RunProfileTemplate(run, rt.ProfCutSm2, kMotionLinear, t);
        RunProfileTemplate(run, rt.ProfCutSm3, kMotionLinear, line.end);
    } else if (rt.ReturnToHomePoint == 1) {
        run.state.WantedComp = kCompOff;
        RapidMove(run, line.end);
    }
}

}  // namespace

int EmitContourPath(NcRun& run, unsigned n, int& first) {
    const WalkCapture capture;
    PathRecord record;
    ReadPathRecord(n, record);
    NcOutputState& s = run.state;
    const int contourTool = ToolKindOfContour(record.kind);
    s.ToolKind = contourTool;
    const bool home = record.typeWord == kHomeGroupWord;
    const Leads leads = LeadsOf(record, home);
    const int side = home ? 0 : record.offsetSide;
    const std::vector<Member> members = ReadMembers(n);
    const auto& modeTexts = run.runtime.CuttingModeTexts;
    std::size_t next = 0;
    bool leadInMoves = false;

    if (home) {
        s.WantedComp = kCompOff;
    } else {
        if (!leads.rapid && first == 0 && !members.empty()) {
            // The first path of a program that does not start at home has no rapid line: the head is brought
            // over the first lead-in's start before the beam goes on, never pierced wherever it stands.
            TakeFirstPoint(run, first, record.rapidStart);
            s.CuttingModeText = modeTexts[0];
            s.WantedComp = kCompOff;
            PositioningRapid(run, record.rapidStart);
        }
        if (leads.rapid && next < members.size()) {
            const Member& rapid = members[next++];
            TakeFirstPoint(run, first, rapid.start);
            s.CuttingModeText = modeTexts[0];
            s.WantedComp = kCompOff;
            RapidMove(run, rapid.end);
        }
        if (leads.leadIn && next < members.size()) {
            const Member& leadIn = members[next++];
            // A lead-in that prints as one point moves nothing: compensation cannot come on along it (it would
            // come on in the contour's first arc block, which a controller refuses).
            leadInMoves = !SamePrintedPoint(run, leadIn.start, leadIn.end);
            if (leads.leadOut && leadInMoves) s.WantedComp = CompensationOf(side);
            TakeFirstPoint(run, first, leadIn.start);
            s.CuttingModeText = run.runtime.LeadText;
            LinearMove(run, leadIn.end);
        }
        if (record.shape == kShapeCircle && next < members.size()) {
            const Member& arc = members[next];
            next += 2;  // both half arcs are the one circle
            // The circle is the contour: a circle without a lead-in switches the tool on in the contour's mode,
            // not in the rapid's.
            SetWaterjetCuttingMode(run, record.kind);
            if (arc.type == MemberType::Arc) EmitCircle(run, arc, first, record);
        }
    }

    if (next < members.size()) {
        SetWaterjetCuttingMode(run, record.kind);
        // A cut that begins on an arc without a lead-in that moves begins without compensation (an arc block
        // cannot switch it on), and so it stays to the contour's end: as a circle without a lead-in is cut.
        // Before, the first straight piece switched it on in the middle of the contour, and a controller refused
        // the program or cut the rest of the contour a kerf aside.
        const bool uncompensated = !leadInMoves && members[next].type == MemberType::Arc;
        const int cutSide = uncompensated ? 0 : side;
        for (std::size_t i = next; i < members.size(); ++i) {
            if (s.StopFlag) return 0;
            if (leads.leadOut && i + 1 == members.size()) {
                s.WantedComp = kCompOff;
                s.CuttingModeText = run.runtime.LeadText;
            }
            const Member& m = members[i];
            if (m.type == MemberType::Line) {
                EmitLine(run, m, first, contourTool, cutSide, record);
            } else if (m.type == MemberType::Arc) {
                EmitArc(run, m, first, record);
            }
        }
    }
    ToolOff(run);
    EmitUnloadCommand(run, record);
    return 0;
}

int EmitProfilePath(NcRun& run, unsigned n, int& first) {
    const WalkCapture capture;
    PathRecord record;
    ReadPathRecord(n, record);
    if (record.typeWord == kPolylineGroupWord || record.typeWord == kCircleGroupWord) {
        EmitProfileCut(run, n, first, record);
    }
    return 0;
}

void EmitProfileCut(NcRun& run, unsigned n, int& first, const PathRecord& record) {
    NcOutputState& s = run.state;
    const PostprocessorRuntime& rt = run.runtime;
    const std::vector<Member> members = ReadMembers(n);
    const Leads leads = LeadsOf(record, false);
    const std::size_t firstContourMember = (leads.rapid ? 1u : 0u) + (leads.leadIn ? 1u : 0u);
    if (record.shape == kShapeCircle && firstContourMember < members.size()) {
        const Member& arc = members[firstContourMember];
        if (arc.type == MemberType::Arc && 2.0 * arc.radius < rt.ProfMinHoleDiam) return;
    }
    const int contourTool = ToolKindOfContour(record.kind);
    const int side = record.offsetSide;
    s.ToolKind = contourTool;
    s.WantedComp = CompensationOf(side);
    std::size_t next = 0;

    if (!leads.rapid && first == 0 && !members.empty()) {
        // The first path of a program that does not start at home has no rapid line: the profile's lead move
        // brings the head over the first cut's start, never cutting from wherever it stands.
        TakeFirstPoint(run, first, record.rapidStart);
        s.CuttingModeText = rt.CuttingModeTexts[0];
        s.Modal.LastMotion = kMotionNone;
        s.Radius = 0.0;
        PositioningMove(run, record.rapidStart, rt.ProfLead);
    }
    if (leads.rapid && next < members.size()) {
        const Member& rapid = members[next++];
        TakeFirstPoint(run, first, rapid.start);
        s.CuttingModeText = rt.CuttingModeTexts[0];
        s.Modal.LastMotion = kMotionNone;
        s.Radius = 0.0;  // a straight move: no radius of the arc before it
        RunProfileTemplate(run, rt.ProfLead, kMotionRapid, rapid.end);
    }
    if (leads.leadIn && next < members.size()) {
        const Member& leadIn = members[next++];
        TakeFirstPoint(run, first, leadIn.start);
        s.CuttingModeText = rt.LeadText;
        s.Radius = 0.0;
        RunProfileTemplate(run, rt.ProfCutStr, kMotionLinear, leadIn.end);
    }
    if (record.shape == kShapeCircle && next < members.size()) {
        const Member& arc = members[next];
        next += 2;
        if (arc.type == MemberType::Arc) EmitProfileCircle(run, arc, first, record);
    }
    SetWaterjetCuttingMode(run, record.kind);

    const std::size_t contourEnd = leads.leadOut && !members.empty() ? members.size() - 1 : members.size();
    const SplitPoint split = next < contourEnd ? FindSplitMember(run, record, members, next, contourEnd)
                                               : SplitPoint{};
    bool leadOutReached = false;
    for (std::size_t i = next; i < members.size(); ++i) {
        if (s.StopFlag) return;
        if (leads.leadOut && i + 1 == members.size()) {
            s.WantedComp = kCompOff;
            s.CuttingModeText = rt.LeadText;
            leadOutReached = true;
            break;
        }
        const Member& m = members[i];
        const bool isSplit = i == split.member;
        if (m.type == MemberType::Line) {
            EmitProfileLine(run, m, first, isSplit, split.distanceBeforeEnd, contourTool, side, record);
        } else if (m.type == MemberType::Arc) {
            EmitProfileArc(run, m, first, isSplit, split.distanceBeforeEnd, record);
        }
    }
    if (leadOutReached) EmitProfileLeadOut(run, members.back(), first, contourTool, side, record);
    EmitUnloadCommand(run, record);
}

// [SECTION] unloading

int EmitUnloadCommand(NcRun& run, const PathRecord& record) {
    if (!run.Output() || run.job == nullptr) return 0;
    const PostprocessorRuntime& rt = run.runtime;
    const int option = run.settings.UnloadOption;
    if (option == 0 || rt.UnloadWinMaxSizeX == 0.0 || rt.UnloadWinMaxSizeY == 0.0) return 0;
    if (record.shape == kShapePoint || record.contourHandle == 0) return 0;
    if (record.kind != static_cast<int>(ContourKind::KindBase) || record.closure != kClosureClosed) return 0;
    if (option == 3 && record.placement == kPlacementOuter) return 0;
    if (option == 2 && record.placement == kPlacementInner) return 0;
    const ContourRecord* contour = nullptr;
    for (const ContourRecord& c : run.job->contours) {
        if (c.handle == record.contourHandle) {
            contour = &c;
            break;
        }
    }
    if (contour == nullptr) return 0;
    const double w = contour->maxX - contour->minX;
    const double h = contour->maxY - contour->minY;
    if (w <= rt.UnloadWinMinSizeX && h <= rt.UnloadWinMinSizeY) return 0;
    if (w <= rt.UnloadWinMaxSizeX && h <= rt.UnloadWinMaxSizeY) {
        RunEventTemplate(run, rt.UnloadOpenWinStr);
    } else {
        RunEventTemplate(run, rt.UnloadStopPrgStr);
    }
    return 0;
}
