// The automatic cutting order: the loop that picks one contour after another, finds each one's start point
// knowing the contour that follows, and has its path written; and the NCSliceAuto command around it.
#include "laser/path/automatic_cutting_order.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "cadlib/command_frame.h"
#include "cadlib/host_commands.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entity.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/contour_path.h"
#include "laser/path/cutting_order_messages.h"
#include "laser/path/cutting_order_support.h"
#include "laser/path/home_rapid.h"
#include "laser/path/lead_plan.h"
#include "laser/path/next_contour.h"
#include "laser/path/path_deletion.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

namespace {

// How far beside its start corner a contour's following point lies: 1.0 while more contours follow, 10.0 after
// the last one (below the corner for corners at the top of the box, above it for corners at the bottom).
constexpr double kCornerFollowStep = 1.0;
constexpr double kCornerFollowLast = 10.0;

// Zone modes keep a part's leaves in the list and take entries out as they are chosen.
enum class PartMode {
    Normal,       // candidates by nearness (part leaves follow the contour chosen last)
    InsidePart,   // among the leaves of one part, or among inner contours: plain nearest point
    OuterByZone,  // among outer contours: the zone strategy
};

// One run of the order. The pending contour P is chosen and marked processed, but its path is written only when
// the contour after it is known, so that its start point can weigh the way on as well as the way in.
class CuttingOrderRun {
public:
    CuttingOrderRun(CLaserSettings& settings, CuttingJob& job)
        : s_(settings), job_(job), search_(job, settings), writer_(job), corner_(StartCornerSetting(settings)),
          zone_(ZoneModeSetting(settings)),
          named_(zone_ == 0 && !(corner_ != 0 && settings.ModeCutInnerContoursFirst == 1)) {}

    void Run();
    // Puts back the contours whose writer drew nothing and lists every contour that could be cut and has no
    // path.
    void ReportLeftContours();

private:
    ContourRecord& Rec(int i) { return job_.contours[static_cast<std::size_t>(i)]; }
    // Step "collect afresh": fills L by the zone setting. Answers false when nothing is left in this phase.
    bool CollectAfresh();
    // Where L is only ever chosen from by nearness it is not listed: it is named (the leaves of a part, or the
    // candidates of the phase) and each choice from it asks the search, which finds the same contour through its
    // index. The choice made when L is named is kept for the choice that follows at once.
    bool NameLeaves(std::uint64_t partHandle);
    bool NameCandidates();
    int ChooseFromNamed();
    // Chooses N from L (and Q); answers N.
    int ChooseNext();
    // The start point of P into R, weighing the way in from T (or P's start corner) against the way on to Q (or
    // a point beside the corner); answers FindStartPoint's answer.
    int StartPointOfPending(bool lastContour);

    CLaserSettings& s_;
    CuttingJob& job_;
    NextContourSearch search_;
    OrderedPathWriter writer_;        // holds the contours whose writer drew nothing until the run ends
    const int corner_;
    const int zone_;
    // L is named rather than listed: without zones, except where a start corner and inner contours first have
    // L collected afresh when it begins with an outer contour.
    const bool named_;

    std::vector<int> list_;           // L
    int phase_ = kPhaseCutting;
    int started_ = 0;
    int last_ = kNoContour;
    PartMode partMode_ = PartMode::Normal;
    int pending_ = kNoContour;        // P
    int next_ = kNoContour;           // N
    Point3d reference_;               // R
    Point3d tool_;                    // T
    Point3d target_;                  // Q
    bool fresh_ = false;              // L was collected afresh in this step

    // L when it is named.
    enum class Named { Leaves, Candidates };
    Named name_ = Named::Candidates;
    std::uint64_t namedPart_ = 0;     // the part whose leaves L is
    NextContourSearch::Choice kept_;  // the choice made when L was named, until it is taken
    bool haveKept_ = false;
    Point3d keptTarget_;
};

bool CuttingOrderRun::NameLeaves(std::uint64_t partHandle) {
    name_ = Named::Leaves;
    namedPart_ = partHandle;
    keptTarget_ = target_;
    kept_ = search_.NearestLeaf(reference_, partHandle, keptTarget_);
    haveKept_ = true;
    return kept_.listed;
}

bool CuttingOrderRun::NameCandidates() {
    name_ = Named::Candidates;
    keptTarget_ = target_;
    kept_ = search_.NearestCandidate(reference_, phase_, keptTarget_);
    haveKept_ = true;
    return kept_.listed;
}

int CuttingOrderRun::ChooseFromNamed() {
    if (haveKept_) {
        haveKept_ = false;
        target_ = keptTarget_;
        return kept_.contour;
    }
    return name_ == Named::Leaves ? search_.NearestLeaf(reference_, namedPart_, target_).contour
                                  : search_.NearestCandidate(reference_, phase_, target_).contour;
}

bool CuttingOrderRun::CollectAfresh() {
    fresh_ = true;
    if (named_) {
        partMode_ = PartMode::Normal;
        return NameCandidates();
    }
    if (zone_ == 0) {
        search_.CollectCutCandidates(list_, phase_);
        partMode_ = PartMode::Normal;
    } else if (s_.ModeCutInnerContoursFirst == 1) {
        search_.CollectCutCandidates(list_, phase_);
        if (!list_.empty()) {
            partMode_ = Rec(list_.front()).placement == kPlacementOuter ? PartMode::OuterByZone
                                                                        : PartMode::InsidePart;
        }
    } else {
        // One part at a time: the zone strategy picks the part, then its innermost contours are cut nearest first.
        search_.CollectCutCandidates(list_, phase_);
        if (list_.empty()) return false;
        std::vector<int> parts = list_;
        search_.GroupCandidatesByPart(parts, phase_);
        Point3d partTarget;
        const int part = parts.empty() ? kNoContour : search_.SelectNextContour(reference_, parts, partTarget, zone_);
        if (part == kNoContour) {
            // No part to take (holes of parts already cut, or other phases): the plain candidates.
            search_.CollectCutCandidates(list_, phase_);
            partMode_ = PartMode::Normal;
        } else {
            partMode_ = PartMode::InsidePart;
            if (search_.CollectPartLeaves(list_, Rec(part).handle) == 0) {
                list_ = {part};
                next_ = part;
                target_ = partTarget;
            }
        }
    }
    return !list_.empty();
}

int CuttingOrderRun::ChooseNext() {
    int n = kNoContour;
    if (named_) {
        n = ChooseFromNamed();
    } else if (zone_ == 0) {
        if (corner_ != 0 && s_.ModeCutInnerContoursFirst == 1 && !list_.empty() &&
            Rec(list_.front()).placement == kPlacementOuter) {
            search_.CollectCutCandidates(list_, phase_);
        }
        n = search_.SelectNextContour(reference_, list_, target_, 0);
    } else {
        n = search_.SelectNextContour(reference_, list_, target_, partMode_ == PartMode::InsidePart ? 0 : zone_);
        // A zone never takes a mark point; the nearest choice does, so no candidate is left behind for it.
        if (n == kNoContour) n = search_.SelectNextContour(reference_, list_, target_, 0);
        if (n != kNoContour) {
            const auto it = std::find(list_.begin(), list_.end(), n);
            *it = list_.back();
            list_.pop_back();
        }
    }
    return n;
}

int CuttingOrderRun::StartPointOfPending(bool lastContour) {
    if (corner_ == 0) return FindStartPoint(tool_, reference_, target_, pending_);
    const Point3d k = BoxCorner(Rec(pending_), corner_);
    // While contours follow, the tool leaves towards a point just below the corner; after the last one it leaves
    // away from the box: upwards from the bottom corners (1 and 4), downwards from the top ones.
    double dy = -kCornerFollowStep;
    if (lastContour) dy = (corner_ == 1 || corner_ == 4) ? kCornerFollowLast : -kCornerFollowLast;
    return FindStartPoint(k, reference_, Point3d(k.x, k.y + dy, 0.0), pending_);
}

void CuttingOrderRun::Run() {
    tool_ = reference_ = job_.currentPoint;
    phase_ = s_.CutEngraveType != 0 ? kPhaseEngraveAndMark : kPhaseCutting;
    // Every turn of the loop either moves to the next phase or takes one more contour out of the candidates, so
    // this many turns are more than enough; the bound only guards against a fault.
    const long maxTurns = 4L * (job_.contourCount + 4);
    for (long turn = 0; turn < maxTurns; ++turn) {
        // Candidates.
        fresh_ = false;
        bool haveList = false;
        if (phase_ != kPhaseCutting) {
            last_ = kNoContour;
        } else if (last_ != kNoContour && partMode_ == PartMode::Normal) {
            haveList = named_ ? NameLeaves(Rec(last_).parentHandle)
                              : search_.CollectPartLeaves(list_, Rec(last_).parentHandle) != 0;
        } else if (partMode_ != PartMode::Normal && last_ != kNoContour) {
            haveList = !list_.empty();
        }
        if (!haveList && !CollectAfresh()) {
            if (phase_ != kPhaseCutting) {
                ++phase_;
                continue;
            }
            break;   // the last contour
        }

        next_ = ChooseNext();
        if (next_ == kNoContour && !fresh_ && phase_ == kPhaseCutting) {
            // The part's leaves held only a contour already cut (by hand, say): go on with all that is left.
            if (CollectAfresh()) next_ = ChooseNext();
        }
        last_ = next_;

        if (started_ == 0) {
            if (next_ == kNoContour) return;
            reference_ = target_;
            pending_ = next_;
            Rec(next_).processed = 1;
            started_ = 1;
            continue;
        }
        const int answer = StartPointOfPending(false);
        if (answer != kStartPointKept && corner_ == 0 && zone_ == 0) {
            // The cut of a closed contour ends where it starts: seek the next contour from there.
            // (The order is named here: no zones, and no start corner.)
            const int again = ChooseFromNamed();
            if (again != kNoContour) next_ = last_ = again;
        }
        writer_.Write(reference_, pending_);
        tool_ = job_.currentPoint;
        reference_ = target_;
        if (next_ == kNoContour) return;
        pending_ = next_;
        Rec(next_).processed = 1;
        ++started_;
    }
    // The last contour: nothing follows it.
    if (started_ > 0 && Rec(pending_).role == kRolePart) {
        Rec(pending_).processed = 0;
        StartPointOfPending(true);
        writer_.Write(reference_, pending_);
    }
}

void CuttingOrderRun::ReportLeftContours() {
    writer_.ReleaseHeld();
    std::vector<int> left;
    const int count = std::clamp(job_.contourCount, 0, static_cast<int>(job_.contours.size()));
    for (int i = 0; i < count; ++i) {
        const ContourRecord& r = Rec(i);
        if (r.role != kRolePart || r.processed != 0 || r.kind == ContourKind::KindJumperPoint) continue;
        if (r.kind == ContourKind::MarkPoint && s_.UseMarkPoint != 1) continue;
        left.push_back(i);
    }
    if (left.empty()) return;
    PrintLocalized(kContoursLeftHead, static_cast<int>(left.size()));
    host::db::Database* db = host::db::workingDatabase();
    for (const int i : left) {
        const ContourRecord& r = Rec(i);
        std::string layer;
        if (db != nullptr) {
            host::db::ObjectPtr<host::db::Entity> e(db->idFromHandle(host::db::Handle(r.handle)),
                                                    host::db::OpenMode::Read);
            if (e) layer = e->layer();
        }
        PrintLocalized(kContourLeftLine, i, layer.c_str(), r.minX, r.minY, r.maxX, r.maxY);
    }
}

}  // namespace

int SliceAuto() {
    CLaserSettings& settings = LaserSettings();
    bool erased = false;
    CuttingJob* job = BeginCuttingOrder(settings, &kProfilesErasedText, erased);
    if (job == nullptr) return erased ? -1 : 0;
    // The order does not change the contour table, so the lead tests and the jumper lookups of the whole run use
    // one index of it.
    const LeadObstacleIndexScope index(*job);
    CuttingOrderRun run(settings, *job);
    run.Run();
    run.ReportLeftContours();
    EndCuttingOrder(settings);
    return 0;
}

void CommandNCSliceAuto() {
    if (const CuttingJob* job = CurrentJob(LaserSettings()); job != nullptr && job->homeGroupPresent != 0) {
        CommandDelLast();
    }
    const std::int64_t start = ElapsedClockMilliseconds();
    SliceAuto();
    AddHomeRapid();
    RegenAll();
    std::string elapsed;
    FormatElapsedTime(start, elapsed);
    PrintLocalized(kSliceAutoTimeLine, elapsed.c_str());
}
