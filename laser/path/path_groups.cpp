// The path group writer: group names, handle texts, the pens, opening and closing a group, its lines and arcs,
// and the rapid and lead-in of a contour.
#include "laser/path/path_groups.h"

#include <charconv>

#include "cadlib/entity_creation.h"
#include "cadlib/groups.h"
#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "host/db/database.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/path_group_commands.h"
#include "laser/path/path_messages.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::ge::Point3d;

namespace {

constexpr std::string_view kContinuousLinetype = "CONTINUOUS";

// Texts printed when a left-over group cannot be erased before its name is used again.
const PathGroupCommandTexts kStaleGroupTexts{&kStaleGroupEraseError, &kStaleGroupDeleteError, nullptr};

CuttingJob* Job() { return CurrentJob(LaserSettings()); }

// Notes the role of member `id` by the pen it was drawn with (the job's penState): the description will name it.
void NoteMemberRole(ObjectId id) {
    const CuttingJob* job = Job();
    if (job == nullptr || id.isNull()) return;
    std::string_view mark;
    switch (job->penState) {
        case kPenCut: return;
        case kPenSensorOff: mark = kSensorOffMemberMark; break;
        default: mark = kRapidMemberMark; break;  // the rapid pen, and any pen that is not a cut's
    }
    std::string& tokens = PathWriter().MemberRoleTokens;
    tokens += ' ';
    tokens += mark;
    tokens += FormatPathHandle(id.handle().value);
}

// Puts `id` into the group being written: the group is made with it as first member and the description as it
// stands, or it is appended. With `noteRole` its role is noted for the description.
void PutIntoGroup(ObjectId id, bool noteRole = true) {
    PathWriterState& w = PathWriter();
    if (noteRole) NoteMemberRole(id);
    if (w.PathGroupCreated == 0) {
        if (CreateGroup(w.PathGroupName, id, w.PathDescriptionText) == kGroupDone ||
            AppendToGroup(w.PathGroupName, id) == kGroupDone) {
            w.PathGroupCreated = 1;
        }
        return;
    }
    AppendToGroup(w.PathGroupName, id);
}

bool SameXY(const Point3d& a, const Point3d& b) { return a.x == b.x && a.y == b.y; }

// AddPathLine; with `noteRole` false the line's role is left for another token to tell.
ObjectId DrawPathLine(const Point3d& a, const Point3d& b, bool noteRole) {
    CuttingJob* job = Job();
    if (job == nullptr || SameXY(a, b)) return {};
    ObjectId id;
    AddLine(id, a, b);
    if (id.isNull()) return {};
    PathWriter().LastPathEntity = id;
    job->currentPoint = b;
    PutIntoGroup(id, noteRole);
    return id;
}

// An arc about `centre` counter-clockwise from `from` to `to` into the group; `to` becomes the current point.
ObjectId AddArcIntoGroup(const Point3d& centre, const Point3d& from, const Point3d& to, const Point3d& current) {
    CuttingJob* job = Job();
    if (job == nullptr || SameXY(from, to)) return {};
    ObjectId id;
    AddArcByPoints(id, centre, from, to);
    if (id.isNull()) return {};
    PathWriter().LastPathEntity = id;
    job->currentPoint = current;
    PutIntoGroup(id);
    return id;
}

}  // namespace

PathWriterState& PathWriter() {
    static PathWriterState state;
    return state;
}

std::string FormatPathGroupName(unsigned n) { return std::string(kPathGroupPrefix) + std::to_string(n); }

unsigned PathGroupNumber(std::string_view name) {
    if (!name.starts_with(kPathGroupPrefix)) return 0;
    const std::string_view digits = name.substr(kPathGroupPrefix.size());
    unsigned n = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty() || digits.front() == '0') {
        return 0;
    }
    return n;
}

std::string FormatPathHandle(std::uint64_t handle) { return host::db::Handle(handle).text(); }

std::uint64_t ParsePathHandle(std::string_view text) {
    const auto h = host::db::Handle::parse(text);
    return h ? h->value : 0;
}

void SetPen(int penState) {
    CuttingJob* job = Job();
    if (job == nullptr) return;
    const CLaserSettings& s = LaserSettings();
    switch (penState) {
        case kPenRapid:
        case kPenNoPath:
            SetSysVarString("CECOLOR", s.ColorMove);
            SetSysVarString("CELTYPE", s.TypeLineMove);
            break;
        case kPenCut:
            SetSysVarString("CECOLOR", s.ColorFeed);
            SetSysVarString("CELTYPE", kContinuousLinetype);
            break;
        case kPenSensorOff:
            SetSysVarString("CECOLOR", s.ColorSensorOff);
            SetSysVarString("CELTYPE", s.TypeLineSensorOff);
            break;
        default: break;
    }
    job->penState = penState;
}

std::string_view SetCutColourForSide(int offsetSide) {
    CLaserSettings& s = LaserSettings();
    switch (offsetSide) {
        case 1: s.ColorFeed = s.ColorFeed_G41; return " Offset=NL";
        case 2: s.ColorFeed = s.ColorFeed_G42; return " Offset=NR";
        default: s.ColorFeed = s.ColorFeed_G40; return " Offset=NO";
    }
}

void BeginPathGroup() {
    CuttingJob* job = Job();
    if (job == nullptr) return;
    PathWriterState& w = PathWriter();
    w.SavedPen = job->penState;
    w.PathGroupCreated = 0;
    w.LastPathEntity = {};
    w.MemberRoleTokens.clear();
    job->pathGroupCount += 1;
    w.PathGroupName = FormatPathGroupName(static_cast<unsigned>(job->pathGroupCount));
    SetCurrentLayer(kPathLayer);
    // A group of this name can only be a left-over: its members would mix with the new path.
    if (PathGroupExists(w.PathGroupName) && !ErasePathGroup(w.PathGroupName, kStaleGroupTexts)) {
        PrintLocalized(kStalePathGroupText, w.PathGroupName.c_str());
    }
}

void EndPathGroup() {
    CuttingJob* job = Job();
    if (job == nullptr) return;
    PathWriterState& w = PathWriter();
    if (w.PathGroupCreated != 0) return;
    job->pathGroupCount -= 1;
    SetPen(w.SavedPen);
}

ObjectId AddPathLine(const Point3d& a, const Point3d& b) { return DrawPathLine(a, b, true); }

ObjectId AddPathArcCW(const Point3d& centre, const Point3d& from, const Point3d& to) {
    return AddArcIntoGroup(centre, to, from, to);
}

ObjectId AddPathArcCCW(const Point3d& centre, const Point3d& from, const Point3d& to) {
    return AddArcIntoGroup(centre, from, to, to);
}

void AddEntityToPathGroup(ObjectId id) {
    if (id.isNull() || Job() == nullptr) return;
    PathWriter().LastPathEntity = id;
    PutIntoGroup(id);
}

void AddLastEntityToPathGroup() { AddEntityToPathGroup(PathWriter().LastPathEntity); }

void AppendPathHandleToken(ObjectId id) {
    std::string& text = PathWriter().PathDescriptionText;
    text += ' ';
    text += id.isNull() ? std::string(kAbsentLineToken) : FormatPathHandle(id.handle().value);
}

void AppendMemberRoleTokens() {
    PathWriterState& w = PathWriter();
    w.PathDescriptionText += w.MemberRoleTokens;
}

void AddRapidAndLeadIn(const Point3d& contourStart, double leadInLength, const Point3d& leadInStart) {
    CuttingJob* job = Job();
    if (job == nullptr) return;
    Point3d target = leadInLength != 0.0 ? leadInStart : contourStart;
    if (job->pathGroupCount != 1) {
        SetPen(kPenRapid);
        AppendPathHandleToken(DrawPathLine(job->currentPoint, target, false));
    } else if (job->startAtHome != 1) {
        AppendPathHandleToken({});
        job->currentPoint = target;
    } else {
        SetPen(kPenRapid);
        AppendPathHandleToken(DrawPathLine(job->homePoint, target, false));
    }
    SetPen(kPenCut);
    AppendPathHandleToken(leadInLength > 0.0 ? AddPathLine(target, contourStart) : ObjectId{});
}

void StorePathDescription() {
    const PathWriterState& w = PathWriter();
    if (w.PathGroupCreated != 0) SetGroupDescription(w.PathGroupName, w.PathDescriptionText);
}
