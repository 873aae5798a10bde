// Reversing the cut direction of contour paths.
#include "laser/path/path_reverse.h"

#include <algorithm>
#include <vector>

#include "cadlib/entity_access.h"
#include "cadlib/groups.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ge/angle.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/path_editing_messages.h"
#include "laser/path/path_relink.h"
#include "laser/path/path_totals.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

namespace {

constexpr std::string_view kPolylinePathWord = "Slice_Polyline";
constexpr std::string_view kCirclePathWord = "Slice_Circle";
// Token places in a contour group's description.
constexpr std::size_t kOffsetToken = 2;
constexpr std::size_t kOffsetSideToken = 6;
constexpr std::size_t kFirstCoordinateToken = 12;

std::vector<std::string> Split(std::string_view text) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) tokens.emplace_back(text.substr(start, i - start));
    }
    return tokens;
}

bool IsReversible(std::string_view description) {
    return description.starts_with(kPolylinePathWord) || description.starts_with(kCirclePathWord);
}

void SetLine(std::uint64_t handle, const Point3d& start, const Point3d& end) {
    ObjectPtr<host::db::Line> line(IdOfHandle(handle), OpenMode::Write);
    if (!line) return;
    line->setStart(start);
    line->setEnd(end);
}

void ReverseLine(ObjectId id) {
    ObjectPtr<host::db::Line> line(id, OpenMode::Write);
    if (!line) return;
    const Point3d start = line->start();
    line->setStart(line->end());
    line->setEnd(start);
}

double Length(const Point3d& a, const Point3d& b) { return std::hypot(b.x - a.x, b.y - a.y); }

}  // namespace

std::string ReversedPathDescription(std::string_view description) {
    if (!IsReversible(description)) return {};
    std::vector<std::string> tokens = Split(description);
    if (tokens.size() <= kOffsetToken) return std::string(description);
    std::string& offset = tokens[kOffsetToken];
    if (offset.ends_with("=NL")) {
        offset.replace(offset.size() - 2, 2, "NR");
    } else if (offset.ends_with("=NR")) {
        offset.replace(offset.size() - 2, 2, "NL");
    }
    if (tokens.size() > kOffsetSideToken) {
        std::string& side = tokens[kOffsetSideToken];
        if (side == "1") {
            side = "2";
        } else if (side == "2") {
            side = "1";
        }
    }
    if (tokens.size() >= kFirstCoordinateToken + 4) {
        std::swap(tokens[kFirstCoordinateToken], tokens[kFirstCoordinateToken + 2]);
        std::swap(tokens[kFirstCoordinateToken + 1], tokens[kFirstCoordinateToken + 3]);
    }
    std::string text;
    for (const std::string& token : tokens) {
        if (!text.empty()) text += ' ';
        text += token;
    }
    return text;
}

bool ReversePathGroup(unsigned n) {
    CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr) return false;
    PathRecord a;
    ReadPathRecord(n, a);
    if (!IsReversible(a.description)) return false;
    const std::string name = FormatPathGroupName(n);
    std::vector<ObjectId> members;
    if (GetGroupEntityIds(name, members) == 0) return false;

    // The old ends of the contour and its leads.
    const Point3d s = a.contourStart, e = a.contourEnd;
    const bool hasIn = a.leadInHandle != 0, hasOut = a.leadOutHandle != 0;
    const double dIn = hasIn ? Length(s, a.leadInStart) : 0.0;
    const double aIn = hasIn ? host::ge::angleFromTo(s, a.leadInStart) : 0.0;
    const double dOut = hasOut ? Length(e, a.leadOutEnd) : 0.0;
    const double aOut = hasOut ? host::ge::angleFromTo(e, a.leadOutEnd) : 0.0;
    const Point3d newLeadInStart = host::ge::polarPoint(e, hasOut ? aOut : aIn, dIn);
    const Point3d newLeadOutEnd = host::ge::polarPoint(s, hasIn ? aIn : aOut, dOut);

    // Rapid, lead-in, the contour backwards, lead-out: each lead line keeps its role and is laid at the other end.
    std::vector<ObjectId> contour;
    ObjectId rapid, leadIn, leadOut;
    for (ObjectId id : members) {
        const std::uint64_t h = id.handle().value;
        if (h == a.rapidHandle) {
            rapid = id;
        } else if (hasIn && h == a.leadInHandle) {
            leadIn = id;
        } else if (hasOut && h == a.leadOutHandle) {
            leadOut = id;
        } else {
            contour.push_back(id);
        }
    }
    std::reverse(contour.begin(), contour.end());
    std::vector<ObjectId> order;
    if (!rapid.isNull()) order.push_back(rapid);
    if (!leadIn.isNull()) order.push_back(leadIn);
    order.insert(order.end(), contour.begin(), contour.end());
    if (!leadOut.isNull()) order.push_back(leadOut);
    ClearGroup(name);
    for (ObjectId id : order) AppendToGroup(name, id);

    for (ObjectId id : contour) ReverseLine(id);
    if (hasIn) SetLine(a.leadInHandle, newLeadInStart, e);
    if (hasOut) SetLine(a.leadOutHandle, s, newLeadOutEnd);
    if (a.rapidHandle != 0) {
        ObjectPtr<host::db::Line> line(rapid, OpenMode::Write);
        if (line) line->setEnd(hasIn ? newLeadInStart : e);
    }
    // The lead handles keep their roles: the line that was the lead-in is the lead-in again.
    SetGroupDescription(name, ReversedPathDescription(a.description));

    const Point3d pathEnd = hasOut ? newLeadOutEnd : s;
    if (static_cast<int>(n) < job->pathGroupCount) {
        RelinkPathGroupStart(n + 1, pathEnd);
    } else {
        job->currentPoint = pathEnd;
    }
    return true;
}

int CommandNCChangeCutDirection() {
    CLaserSettings& settings = LaserSettings();
    PrepareDrawingJob(settings);
    for (;;) {
        const int n = PickContourGroup(Localized(kReversePrompt));
        if (n < 1) break;
        if (!ReversePathGroup(static_cast<unsigned>(n))) {
            PrintLocalized(kNotReversibleText);
            continue;
        }
        RegenPathTotals();
        UpdateStatusLine();
    }
    WriteJobData(settings);
    return 0;
}
