// The polyline path writer: the group of one polyline contour with its jumper gaps and corner loops.
#include "laser/path/polyline_path.h"

#include <algorithm>
#include <cmath>

#include "cadlib/angles.h"
#include "cadlib/circle_intersections.h"
#include "cadlib/corner_loops.h"
#include "cadlib/entity_creation.h"
#include "cadlib/host_variables.h"
#include "cadlib/line_intersections.h"
#include "cadlib/point_equality.h"
#include "cadlib/point_in_contour.h"
#include "cadlib/segment_box.h"
#include "host/db/database.h"
#include "host/ge/curve.h"
#include "host/sys/number_text.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/contour_path_messages.h"
#include "laser/path/contour_writer_support.h"
#include "laser/path/lead_plan.h"
#include "laser/path/path_groups.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

namespace {

// A jumper point lies on a line piece when the piece crosses this short cross line through it.
constexpr double kOnLineReach = 0.001;
// A jumper point lies on an arc piece when the arc crosses this short radial line through it.
constexpr double kOnArcReach = 0.01;
// The probe that finds the scrap side of a gap lies this far off the contour.
constexpr double kScrapProbe = 0.01;
// The current point is the arc's start when they agree on this grid.
constexpr int kArcStartPrecision = 100000;

host::db::ObjectId IdOfHandle(std::uint64_t handle) {
    host::db::Database* db = host::db::workingDatabase();
    return db != nullptr ? db->idFromHandle(host::db::Handle(handle)) : host::db::ObjectId{};
}

// Whether a probe lies in the scrap of the contour: outside an outer contour, inside an inner one.
bool InScrap(const Point3d& probe, const GapContour& contour) {
    const int outside = IsPointOutsideContourByHandle(probe, contour.shape, host::db::Handle(contour.handle));
    if (outside < 0) return true;
    return contour.placement == kPlacementInner ? outside == 0 : outside == 1;
}

void KeepAtMost(std::vector<JumperGap>& gaps) {
    if (gaps.size() <= kMaxJumperGapsPerPiece) return;
    PrintLocalized(kTooManyJumperGapsText, unsigned(kMaxJumperGapsPerPiece), unsigned(gaps.size()));
    gaps.resize(kMaxJumperGapsPerPiece);
}

// The angle travelled from `from` to `to` about a centre: counter-clockwise or clockwise, in [0, 2 pi).
double Travelled(double from, double to, bool counterClockwise) {
    double d = counterClockwise ? to - from : from - to;
    NormalizeAngle(d);
    return d;
}

// The state of one polyline group being written.
class PolylineGroupWriter {
public:
    PolylineGroupWriter(CuttingJob& job, CLaserSettings& settings, const LeadInPlan& plan,
                        const host::db::LwPolyline& polyline, const ContourRecord& record)
        : job_(job), settings_(settings), plan_(plan), polyline_(polyline), record_(record) {
        jumpers_ = CollectJumperPoints(job, settings, plan.contourIndex);
        contour_ = {record.handle, record.shape, record.placement};
        if (settings.UseJamper == 1) {
            sizes_ = {SettingLength(settings, settings.JamperWidth), SettingLength(settings, settings.JamperLenOut),
                      SettingLength(settings, settings.JamperLenIn)};
        }
    }

    // Draws every piece of the contour from the start in the cut direction.
    void WritePieces() {
        const unsigned n = polyline_.numVerts();
        const int segments = static_cast<int>(polyline_.isClosed() ? n : n - 1);
        if (segments <= 0) return;
        const bool startInside = plan_.startOnVertex == 0;
        const int pieces = segments + (startInside ? 1 : 0);
        const bool forward = plan_.direction == kCutForward;
        const bool loops = settings_.UseLoop == 1 && record_.closure != kClosureOpen &&
                           (record_.kind == ContourKind::KindBase || record_.kind == ContourKind::NoLeadIn ||
                            record_.kind == ContourKind::CutT2Line);
        for (int k = 0; k < pieces; ++k) {
            const int seg = forward ? (plan_.startSegment + k) % segments
                                    : ((plan_.startSegment - k) % segments + segments) % segments;
            if (loops) CornerLoop(seg);
            const bool lastPiece = k == pieces - 1;
            const Point3d far = PlanarVertex(polyline_, forward ? static_cast<unsigned>((seg + 1) % n)
                                                          : static_cast<unsigned>(seg));
            const Point3d end = startInside && lastPiece ? plan_.startPoint : far;
            double bulge = 0.0;
            polyline_.getBulgeAt(static_cast<unsigned>(seg), bulge);
            if (bulge == 0.0) {
                const bool lastOfInsideCut = record_.kind == ContourKind::InsideCutLine &&
                                             seg == (forward ? segments - 1 : 0);
                if (lastOfInsideCut) {
                    AddPathLine(Point3d(job_.currentPoint), plan_.leadOutEnd);
                } else if (startInside && lastPiece) {
                    AddPathLine(Point3d(job_.currentPoint), end);
                } else {
                    LinePiece(job_.currentPoint, end);
                }
            } else {
                ArcPiece(seg, forward ? bulge : -bulge, end);
            }
        }
    }

private:
    void CornerLoop(int seg) {
        double radiusUsed = 0.0;
        Point3d corner, overshoot, centre1, arc1First, arc1Second, straightStart, straightEnd, centre2, arc2First,
            arc2Second, back, cornerAgain;
        const int startIndex = plan_.startOnVertex ? plan_.startSegment : -1;
        if (BuildCornerLoop(polyline_, plan_.startPoint, job_.currentPoint, record_.placement, startIndex, seg,
                            plan_.direction, settings_.LoopAngle, SettingLength(settings_, settings_.LoopLength),
                            SettingLength(settings_, settings_.LoopRadius),
                            radiusUsed, corner, overshoot, centre1, arc1First, arc1Second, straightStart,
                            straightEnd, centre2, arc2First, arc2Second, back, cornerAgain) != 1) {
            return;
        }
        AddPathLine(corner, overshoot);
        if (radiusUsed != 0.0) LoopArc(centre1, arc1First, arc1Second, straightStart);
        AddPathLine(straightStart, straightEnd);
        if (radiusUsed != 0.0) LoopArc(centre2, arc2First, arc2Second, back);
        AddPathLine(back, cornerAgain);
    }

    // An arc of a loop, drawn counter-clockwise from its first to its second point; the travel ends at `travelEnd`.
    void LoopArc(const Point3d& centre, const Point3d& first, const Point3d& second, const Point3d& travelEnd) {
        if (!PointsDifferAtPrecision(first, second, kPathPointPrecision)) return;
        host::db::ObjectId id;
        AddArcByPoints(id, centre, first, second);
        AddEntityToPathGroup(id);
        job_.currentPoint = travelEnd;
    }

    // The gap's short cut out, the rapid across, and the short cut back onto the contour.
    void CrossGap(const JumperGap& gap) {
        AddPathLine(Point3d(job_.currentPoint), gap.gapLeadOutEnd);
        SetPen(kPenRapid);
        AddPathLine(Point3d(job_.currentPoint), gap.gapLeadInStart);
        SetPen(kPenCut);
        AddPathLine(Point3d(job_.currentPoint), gap.gapEnd);
    }

    void LinePiece(Point3d from, const Point3d& to) {
        for (const JumperGap& gap : JumperGapsOnLine(from, to, jumpers_, contour_, sizes_)) {
            AddPathLine(Point3d(job_.currentPoint), gap.gapStart);
            CrossGap(gap);
        }
        AddPathLine(Point3d(job_.currentPoint), to);
    }

    // Arc piece of segment `seg` travelled with `bulge` (its sign the travel sense) from the current point to
    // `to`.
    void ArcPiece(int seg, double bulge, const Point3d& to) {
        host::ge::CircArc2d arc;
        if (polyline_.getArcSegAt(static_cast<unsigned>(seg), arc) != host::db::Status::Ok) {
            AddPathLine(Point3d(job_.currentPoint), to);
            return;
        }
        const Point3d centre{arc.center.x, arc.center.y, 0.0};
        const Point3d from = job_.currentPoint;
        const auto arcTo = [&](const Point3d& target) {
            if (!PointsDifferAtPrecision(job_.currentPoint, target, kArcStartPrecision)) return;
            if (bulge > 0.0) AddPathArcCCW(centre, Point3d(job_.currentPoint), target);
            else AddPathArcCW(centre, Point3d(job_.currentPoint), target);
        };
        for (const JumperGap& gap : JumperGapsOnArc(from, to, centre, bulge, jumpers_, contour_, sizes_)) {
            arcTo(gap.gapStart);
            CrossGap(gap);
        }
        arcTo(to);
    }

    CuttingJob& job_;
    CLaserSettings& settings_;
    const LeadInPlan& plan_;
    const host::db::LwPolyline& polyline_;
    const ContourRecord& record_;
    std::vector<Point3d> jumpers_;
    GapContour contour_;
    GapSizes sizes_;
};

}  // namespace

std::vector<Point3d> CollectJumperPoints(const CuttingJob& job, const CLaserSettings& settings, int contourIndex) {
    std::vector<Point3d> points;
    if (settings.UseJamper != 1) return points;
    if (contourIndex < 0 || contourIndex >= static_cast<int>(job.contours.size())) return points;
    const std::uint64_t handle = job.contours[static_cast<std::size_t>(contourIndex)].handle;
    std::size_t found = 0;
    auto take = [&](int i) {
        const ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
        if (r.kind != ContourKind::KindJumperPoint || r.parentHandle != handle) return;
        ++found;
        if (points.size() < kMaxJumperPointsPerContour) points.push_back({r.minX, r.minY, 0.0});
    };
    std::vector<int> indexed;
    if (IndexedJumperPoints(job, handle, indexed)) {
        for (int i : indexed) take(i);
    } else {
        for (int i = 0; i < job.contourCount && i < static_cast<int>(job.contours.size()); ++i) take(i);
    }
    if (found > points.size()) {
        PrintLocalized(kTooManyJumperPointsText, unsigned(points.size()), unsigned(found));
    }
    return points;
}

bool CompareJumperGaps(const JumperGap& a, const JumperGap& b) {
    return a.distanceAlong < b.distanceAlong;
}

std::vector<JumperGap> JumperGapsOnLine(const Point3d& p0, const Point3d& p1, const std::vector<Point3d>& jumperPoints,
                                        const GapContour& contour, const GapSizes& sizes) {
    std::vector<JumperGap> gaps;
    if (sizes.width == 0.0 || jumperPoints.empty()) return gaps;
    const double length = PlanarDistance(p0, p1);
    const double a = PlanarDirection(p0, p1);
    double n = a + cadlib::kHalfPi;
    for (const Point3d& p : jumperPoints) {
        if (!IsPointInSegmentBox(p0, p1, p)) continue;
        Point3d end = p1, crossEnd = PointAtAngle(p, n, kOnLineReach), crossing;
        if (IntersectSegments(p0, end, PointAtAngle(p, n + cadlib::kPi, kOnLineReach), crossEnd, crossing) !=
            kIntersectOne) {
            continue;
        }
        JumperGap gap;
        gap.jumperPoint = p;
        gap.distanceAlong = PlanarDistance(p0, p);
        gaps.push_back(gap);
    }
    if (gaps.empty()) return gaps;
    if (!InScrap(PointAtAngle(gaps.front().jumperPoint, n, kScrapProbe), contour)) n += cadlib::kPi;
    std::stable_sort(gaps.begin(), gaps.end(), CompareJumperGaps);
    KeepAtMost(gaps);
    const double w = sizes.width;
    for (JumperGap& gap : gaps) {
        double d = gap.distanceAlong;
        if (d + w > length) d = length - w;
        gap.gapStart = PointAtAngle(p0, a, d - w / 2.0);
        gap.gapEnd = PointAtAngle(p0, a, d + w / 2.0);
        gap.gapLeadOutEnd = sizes.leadOut > 0.0 ? PointAtAngle(gap.gapStart, n, sizes.leadOut) : gap.gapStart;
        gap.gapLeadInStart = sizes.leadIn > 0.0 ? PointAtAngle(gap.gapEnd, n, sizes.leadIn) : gap.gapEnd;
    }
    return gaps;
}

std::vector<JumperGap> JumperGapsOnArc(const Point3d& start, const Point3d& end, const Point3d& centre, double bulge,
                                       const std::vector<Point3d>& jumperPoints, const GapContour& contour,
                                       const GapSizes& sizes) {
    std::vector<JumperGap> gaps;
    if (sizes.width == 0.0 || jumperPoints.empty()) return gaps;
    const bool ccw = bulge > 0.0;
    const double radius = PlanarDistance(centre, start);
    if (!(radius > 0.0)) return gaps;
    const double startAngle = PlanarDirection(centre, start);
    const double endAngle = PlanarDirection(centre, end);
    const double sweep = Travelled(startAngle, endAngle, ccw);
    const double h = 2.0 * std::asin(std::clamp(sizes.width / (4.0 * radius), -1.0, 1.0));
    const double sense = ccw ? 1.0 : -1.0;
    // The arc as IntersectSegmentArc takes it: counter-clockwise from its first to its second point.
    const Point3d& arcFirst = ccw ? start : end;
    const Point3d& arcSecond = ccw ? end : start;
    for (const Point3d& p : jumperPoints) {
        const double angle = PlanarDirection(centre, p);
        Point3d inner = PointAtAngle(centre, angle, PlanarDistance(centre, p) - kOnArcReach);
        Point3d outer = PointAtAngle(centre, angle, PlanarDistance(centre, p) + kOnArcReach);
        Point3d out1, out2;
        if (IntersectSegmentArc(inner, outer, centre, radius, arcFirst, arcSecond, out1, out2) != kIntersectOne) {
            continue;
        }
        double along = Travelled(startAngle, angle, ccw);
        double gapAngle = angle;
        if (along + 2.0 * h > sweep) {
            gapAngle -= sense * 2.0 * h;
            along -= 2.0 * h;
        }
        JumperGap gap;
        gap.jumperPoint = p;
        gap.jumperAngle = gapAngle;
        gap.distanceAlong = radius * along;
        gaps.push_back(gap);
    }
    if (gaps.empty()) return gaps;
    std::stable_sort(gaps.begin(), gaps.end(), CompareJumperGaps);
    KeepAtMost(gaps);
    double leadOut = sizes.leadOut, leadIn = sizes.leadIn;
    if (!InScrap(PointAtAngle(centre, gaps.front().jumperAngle, radius + kScrapProbe), contour)) {
        // The scrap lies toward the centre: the short cuts point inward.
        leadOut = -leadOut;
        leadIn = -leadIn;
    }
    for (JumperGap& gap : gaps) {
        gap.gapStart = PointAtAngle(centre, gap.jumperAngle - sense * h, radius);
        gap.gapEnd = PointAtAngle(centre, gap.jumperAngle + sense * h, radius);
        gap.gapLeadOutEnd = leadOut != 0.0 ? PointAtAngle(gap.gapStart, gap.jumperAngle, leadOut) : gap.gapStart;
        gap.gapLeadInStart = leadIn != 0.0 ? PointAtAngle(gap.gapEnd, gap.jumperAngle, leadIn) : gap.gapEnd;
    }
    return gaps;
}

int WritePolylinePath(CuttingJob& job, CLaserSettings& settings, const LeadInPlan& plan) {
    if (plan.contourIndex < 0 || plan.contourIndex >= static_cast<int>(job.contours.size())) return 0;
    ContourRecord& record = job.contours[static_cast<std::size_t>(plan.contourIndex)];
    if (!KindHasPath(record.kind)) return 0;
    host::db::ObjectPtr<host::db::LwPolyline> polyline(IdOfHandle(record.handle), host::db::OpenMode::Read);
    if (!polyline || polyline->numVerts() < 2) return 0;
    PathWriter().PathDescriptionText = host::sys::formatC("Slice_Polyline T%i", int(record.kind));
    const int side = KindCutsWithoutOffset(record.kind) ? kOffsetNone : plan.offsetSide;
    BeginPathGroup();
    AppendContourHead(record, side);
    SetSysVarInt("OSMODE", 0);
    AddRapidAndLeadIn(plan.startPoint, plan.leadInLength, plan.leadInStart);
    PolylineGroupWriter writer(job, settings, plan, *polyline, record);
    writer.WritePieces();
    const Point3d contourEnd = job.currentPoint;
    if (plan.leadOutLength > 0.0) {
        AppendPathHandleToken(AddPathLine(contourEnd, plan.leadOutEnd));
    } else {
        PathWriter().PathDescriptionText += " N";
    }
    AppendPathTail(plan.startPoint, contourEnd);
    FinishContourGroup(record);
    return 0;
}
