// Placement of one part or pair: start poses, the phases of the slide, compaction, the turned run, the choice
// between the results and between the variant groups, the fallbacks of the template and the recording.
//
// Index of this file:
//   [the run]            Placement::Test, FreeMove, Refine, Transition, Bursts, EndOfRun, Phases
//   [variant groups]     Placement::FindStart, TurnedRun, VariantGroup
//   [templates]          Placement::LoadTemplate, Place
//   [choice of variant]  ChooseGroupVariant
#include "nesting/engine/part_placement.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "cadlib/angles.h"
#include "nesting/engine/group_compaction.h"
#include "nesting/engine/group_slides.h"
#include "nesting/engine/placement_access.h"
#include "nesting/engine/placement_collision.h"
#include "nesting/engine/start_positions.h"
#include "nesting/engine/trial_rotations.h"
#include "nesting/geometry/contour_kernel.h"
#include "nesting/model/model_messages.h"

namespace {

using cadlib::kPi;
using cadlib::kRadiansPerDegree;

// A part (or pair) is refused when its area reaches this share of the pass area.
constexpr double kAreaLimitShare = 0.98;
// A run restarts while it made more fine moves than this.
constexpr int kFineMoveLimit = 6;
// Collision tests of one run (phases, restarts and all): a bound that the phase rules never reach; it keeps a
// run of a degenerate part (a zero-sized box gives zero steps) finite.
constexpr int kMaxRunTests = 200000;
// Templates tried by one call: pair, single, then both with the opposite landscape wish.
constexpr int kMaxTemplateTries = 4;
// The turned run's probes: moves along x in steps of 0.05 w, then offsets in search steps.
constexpr int kTurnedXProbes = 4;
constexpr std::array<std::array<double, 2>, 7> kTurnedOffsets{
    {{-20, 0}, {0, -20}, {0, 20}, {20, 20}, {-20, 20}, {-20, -20}, {10, -10}}};
// A group lies to the left of a slot holder when the direction from the holder's max corner to its own lies
// within these angles.
constexpr double kLeftFromDeg = 89.7;
constexpr double kLeftToDeg = 270.3;

double Normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

class Placement {
public:
    Placement(CNestingEngine& engine, int j, double x, double y, double angle)
        : e_(engine), j_(j), manual_(angle != kAutomaticPlacement), manualX_(x), manualY_(y), manualAngle_(angle) {}

    int Place();

private:
    PartGroup& Group() { return e_.Groups[static_cast<std::size_t>(e_.CurrentGroup)]; }
    PartInstance& Instance() { return e_.PartInstances[static_cast<std::size_t>(instance_)]; }

    // [the run]
    bool Test();
    void MoveFromLast(double dx, double dy) { e_.MoveGroupTo(e_.CurrentGroup, lastX_ + dx, lastY_ + dy); }
    void FreeMove();
    bool Refine();
    void Transition();
    void Bursts();
    bool EndOfRun();
    void Phases(bool free);

    // [variant groups]
    bool FindStart();
    bool TurnedRun();
    void VariantGroup();

    // [templates]
    bool LoadTemplate();
    bool CommitManual();
    void RestoreManual();
    void Record();

    CNestingEngine& e_;
    const int j_;
    const bool manual_;
    const double manualX_;
    const double manualY_;
    const double manualAngle_;
    int instance_ = -1;
    bool firstManualAttempt_ = false;
    PartPose remembered_;
    bool emptySheet_ = false;
    int testCounter_ = 0;
    int finished_ = 0;
    VariantLayouts layouts_;

    // State of one run.
    double lastX_ = 0.0;
    double lastY_ = 0.0;
    double stepX_ = 0.0;
    double stepY_ = 0.0;
    double w_ = 0.0;
    double h_ = 0.0;
    int phase_ = 1;
    int moves_ = 0;
    int fineMoves_ = 0;
    int restarts_ = 0;
};

// [the run] -----------------------------------------------------------------------------------------------------

bool Placement::Test() {
    ++testCounter_;
    if (!placement::BoxStrictlyWithin(Group().Box, e_.UsableArea)) {
        return false;
    }
    int blocker = kNoBlocker;
    int member = kNoBlocker;
    return TestGroupCollision(e_, *e_.CurrentStockInstance, blocker, member);
}

void Placement::FreeMove() {
    switch (phase_) {
    case 2:
    case 9: MoveFromLast(0, -stepY_); break;
    case 4:
    case 5:
    case 7: MoveFromLast(-stepX_, -stepY_); break;
    default: MoveFromLast(-stepX_, 0); break;
    }
}

bool Placement::Refine() {
    const double sx = e_.SearchStep.x;
    const double sy = e_.SearchStep.y;
    const double cx = e_.CoarseStep.x;
    const double cy = e_.CoarseStep.y;
    switch (phase_) {
    case 1:
    case 3:
        if (stepX_ <= cx) return false;
        stepX_ /= 4.0;
        MoveFromLast(-stepX_, 0);
        return true;
    case 2:
        if (stepY_ <= cy) return false;
        stepY_ /= 4.0;
        MoveFromLast(0, -stepY_);
        return true;
    case 4:
        if (stepX_ <= sx) return false;
        stepX_ /= 4.0;
        stepY_ /= 4.0;
        MoveFromLast(-stepX_, -stepY_);
        return true;
    case 5:
        if (stepY_ <= sy) return false;
        stepX_ /= 4.0;
        stepY_ /= 4.0;
        MoveFromLast(-stepX_, stepY_);
        return true;
    case 6:
    case 8:
        if (stepX_ <= sx) return false;
        stepX_ /= 4.0;
        MoveFromLast(-stepX_, 0);
        return true;
    case 7:
        if (stepX_ <= sx) return false;
        stepX_ /= 4.0;
        stepY_ /= 4.0;
        MoveFromLast(-stepX_, stepY_);
        return true;
    default:
        if (stepY_ <= sy) return false;
        stepY_ /= 4.0;
        MoveFromLast(0, -stepY_);
        return true;
    }
}

void Placement::Bursts() {
    const double cy = e_.CoarseStep.y;
    const std::array<std::array<double, 2>, 4> bursts{
        {{-0.3 * w_, 0}, {0.3 * w_, -w_}, {0, -w_}, {-0.3 * w_, -0.3 * w_}}};
    for (const auto& burst : bursts) {
        int blocker = kNoBlocker;
        int member = kNoBlocker;
        const int r = SlideGroup(e_, e_.CurrentGroup, burst[0], burst[1], cy, 0.0, blocker, member);
        if (r == kSlideEndedFree || r == kSlideEndedAtContact) {
            lastX_ = Group().X;
            lastY_ = Group().Y;
        }
    }
}

void Placement::Transition() {
    switch (phase_) {
    case 1:
        stepX_ = 0;
        stepY_ = h_;
        MoveFromLast(0, -h_);
        break;
    case 2:
        Bursts();
        stepX_ = 0.3 * std::min(w_, h_);
        stepY_ = 0;
        MoveFromLast(-stepX_, 0);
        break;
    case 3:
        stepX_ = 0.2 * w_;
        stepY_ = 0.1 * w_;
        MoveFromLast(-stepX_, -stepY_);
        break;
    case 4:
        stepX_ = 0.06 * h_;
        stepY_ = 0.3 * h_;
        MoveFromLast(-stepX_, stepY_);
        break;
    case 5:
        fineMoves_ = moves_;
        stepX_ = 0.2 * std::min(w_, h_);
        stepY_ = 0;
        MoveFromLast(-stepX_, 0);
        break;
    case 6:
        fineMoves_ += moves_;
        stepX_ = 0.2 * w_;
        stepY_ = 0.24 * w_;
        MoveFromLast(-stepX_, stepY_);
        break;
    case 7:
        fineMoves_ += moves_;
        stepX_ = 0.2 * w_;
        stepY_ = 0;
        MoveFromLast(-stepX_, 0);
        break;
    default:
        fineMoves_ += moves_;
        stepX_ = 0;
        stepY_ = 0.2 * h_;
        MoveFromLast(0, -stepY_);
        break;
    }
    ++phase_;
    moves_ = 0;
}

// The end of a run: compaction, then either a restart from phase 4 (true) or the end (false).
bool Placement::EndOfRun() {
    const int g = e_.CurrentGroup;
    e_.MoveGroupTo(g, lastX_, lastY_);
    for (int cycle = 0; cycle < kMaxCompactionCycles; ++cycle) {
        bool improved = false;
        if (CompactGroupLeft(e_, g) == kCompactionImproved) {
            lastX_ = Group().X;
            lastY_ = Group().Y;
            improved = true;
        }
        if (CompactGroupDown(e_, g) == kCompactionImproved) {
            lastX_ = Group().X;
            lastY_ = Group().Y;
            improved = true;
        }
        if (!improved) {
            break;
        }
    }
    e_.SetGroupPose(g, {lastX_, lastY_}, Group().Angle);
    fineMoves_ += moves_;
    if (fineMoves_ > kFineMoveLimit && restarts_ < kMaxRunRestarts) {
        ++restarts_;
        phase_ = 4;
        stepX_ = 0.05 * w_;
        stepY_ = 0;
        moves_ = 0;
        MoveFromLast(-stepX_, 0);
        return true;
    }
    return false;
}

// Phases 1 to 9 from a tested pose (free: the start of a run; not free: entering at phase 1's collision rule).
void Placement::Phases(bool free) {
    for (int test = 0; test < kMaxRunTests; ++test) {
        if (free) {
            lastX_ = Group().X;
            lastY_ = Group().Y;
            if (testCounter_ < kRunTestCycle) {
                FreeMove();
                ++moves_;
                free = Test();
                continue;
            }
            // A run that keeps finding free poses is cut here and refines as after a collision.
            testCounter_ = 0;
            e_.SetStepsForUnit();
        }
        if (Refine()) {
            free = Test();
            continue;
        }
        if (phase_ == 9) {
            if (!EndOfRun()) {
                return;
            }
        } else {
            Transition();
        }
        free = Test();
    }
    // The bound was met: the group stands at its last free position.
    e_.SetGroupPose(e_.CurrentGroup, {lastX_, lastY_}, Group().Angle);
}

// [variant groups] ----------------------------------------------------------------------------------------------

// Poses the current group at successive start poses until one is free; false when none is left.
bool Placement::FindStart() {
    int k = 0;
    PartInstance& part = Instance();
    for (;;) {
        if (firstManualAttempt_ && e_.CurrentGroup == 0) {
            firstManualAttempt_ = false;
            e_.SetGroupPose(0, {manualX_, manualY_}, manualAngle_);
            e_.GroupCount = 1;
            part.Placed = 0;
            part.TrialPose->Valid = 0;
            part.CommittedPose->Valid = 0;
            e_.PassPlacedCount = std::max(0, e_.PassPlacedCount - 1);
            if (!IsAngleAllowed(e_, manualAngle_)) {
                continue;  // an angle the part's rule refuses is not kept: the automatic start poses follow
            }
        } else if (!ChooseStartPosition(e_, emptySheet_, k, e_.LandscapeWanted != 0)) {
            return false;
        }
        if (Test()) {
            return true;
        }
        ++k;  // ChooseStartPosition refuses once k passes the attempt limit
    }
}

// The turned run after the first run; true when it ran (its result is then in the group).
bool Placement::TurnedRun() {
    PartGroup& group = Group();
    const PartType* type = placement::GroupType(e_, group);
    const double turned = Normalized(group.Angle + kPi);
    if (e_.RectMode != 0 || type == nullptr || type->RotationMode == kRotateNone || !IsAngleAllowed(e_, turned)) {
        return false;
    }
    const double x = group.X;
    const double y = group.Y;
    const double angle = group.Angle;
    const double tx = group.Box.minX + group.Box.maxX - x;
    const double ty = group.Box.minY + group.Box.maxY - y;
    const int g = e_.CurrentGroup;
    e_.SetGroupPose(g, {tx, ty}, turned);
    bool free = Test();
    for (int i = 1; i <= kTurnedXProbes && !free; ++i) {
        e_.MoveGroupTo(g, x + i * 0.05 * w_, y);
        free = Test();
    }
    for (std::size_t o = 0; o < kTurnedOffsets.size() && !free; ++o) {
        e_.SetGroupPose(g, {tx + kTurnedOffsets[o][0] * e_.SearchStep.x, ty + kTurnedOffsets[o][1] * e_.SearchStep.y},
                        turned);
        free = Test();
    }
    if (!free) {
        e_.SetGroupPose(g, {x, y}, angle);
        return false;
    }
    lastX_ = group.X;
    lastY_ = group.Y;
    stepX_ = 0.05 * w_;
    stepY_ = 0;
    phase_ = 1;
    moves_ = 0;
    fineMoves_ = 0;
    restarts_ = 0;
    Phases(false);
    return true;
}

void Placement::VariantGroup() {
    const int g = e_.CurrentGroup;
    if (!FindStart()) {
        return;
    }
    PartGroup& group = Group();
    w_ = group.Box.Width();
    h_ = group.Box.Height();
    lastX_ = group.X;
    lastY_ = group.Y;
    stepX_ = w_;
    stepY_ = 0;
    phase_ = 1;
    moves_ = 0;
    fineMoves_ = 0;
    restarts_ = 0;
    Phases(true);
    const PartGroup first = group;
    e_.SavePoseSnapshot(e_.PartInstances, e_.OrderCount);

    bool keepFirst = true;
    PartGroup turned;
    const bool turnedRan = TurnedRun();
    if (turnedRan) {
        turned = group;
        keepFirst = PreferFirstResult(first, turned, e_.SearchStep.x);
    }
    if (keepFirst) {
        group = first;
        if (turnedRan) {  // undo what the turned run's compaction moved
            e_.RestorePoseSnapshot(e_.PartInstances, e_.OrderCount, e_.CurrentStock);
        }
        e_.SetGroupPose(g, {first.X, first.Y}, first.Angle);
    } else {
        group = turned;
    }
    e_.SavePoseSnapshot(e_.PartInstances, e_.OrderCount);
    group.Valid = 1;
    ++finished_;
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(e_.OrderCount, 0)), e_.PoseSnapshots.size());
    layouts_[static_cast<std::size_t>(g)].assign(e_.PoseSnapshots.begin(),
                                                 e_.PoseSnapshots.begin() + static_cast<std::ptrdiff_t>(count));
}

// [templates] ---------------------------------------------------------------------------------------------------

// Step 2: the template of this try. False when the part is too large for the pass.
bool Placement::LoadTemplate() {
    const PartType& type = *Instance().Type;
    const double areaLimit = kAreaLimitShare * e_.PassSize.x * e_.PassSize.y;
    if (type.Area >= areaLimit) {
        return false;
    }
    const bool roomForPair = e_.PlacedPartCount + 2 <= static_cast<int>(e_.PlacedParts.size());
    if (2.0 * type.Area >= areaLimit || !roomForPair) {
        e_.PairWanted = 0;
        e_.LoadGroupTemplate(j_, 1);
    } else if (e_.PairWanted != 0) {
        if (e_.LoadGroupTemplate(j_, 2) != 2) {
            e_.PairWanted = 0;
        } else if (!type.PairTemplates[0].Valid) {
            // A type whose pairs all need a turn its rule forbids has no pair template: loading one would put
            // the partner on top of the part.
            e_.PairWanted = 0;
            e_.LoadGroupTemplate(j_, 1);
        }
    } else {
        e_.LoadGroupTemplate(j_, 1);
    }
    for (int g = 0; g < e_.GroupCount; ++g) {
        e_.Groups[static_cast<std::size_t>(g)].Valid = 0;
    }
    emptySheet_ = e_.PassPlacedCount == 0;
    testCounter_ = 0;
    finished_ = 0;
    layouts_.assign(static_cast<std::size_t>(e_.GroupCount), {});
    return true;
}

void Placement::Record() {
    const PartGroup& group = Group();
    e_.PassPlacedCount += group.MemberCount;
    e_.LastPlacedInstance = group.Members[0].Instance;
    e_.PlacedExtent.Include(group.Box);
    for (int m = 0; m < group.MemberCount; ++m) {
        e_.AppendPlacedPart(group.Members[static_cast<std::size_t>(m)].Instance);
    }
}

bool Placement::CommitManual() {
    e_.CurrentGroup = 0;
    PartGroup& group = Group();
    if (!group.Valid) {
        return false;
    }
    e_.ApplyGroupPose(0, {group.X, group.Y}, group.Angle);
    for (int m = 0; m < group.MemberCount; ++m) {
        e_.CommitPartPose(group.Members[static_cast<std::size_t>(m)].Instance);
    }
    return true;
}

void Placement::RestoreManual() {
    e_.CurrentGroup = 0;
    PartGroup& group = Group();
    e_.SetGroupPose(0, {remembered_.X, remembered_.Y}, remembered_.Angle);
    e_.ApplyGroupPose(0, {remembered_.X, remembered_.Y}, remembered_.Angle);
    for (int m = 0; m < group.MemberCount; ++m) {
        e_.CommitPartPose(group.Members[static_cast<std::size_t>(m)].Instance);
    }
}

int Placement::Place() {
    if (j_ < 0 || static_cast<std::size_t>(j_) >= e_.PartOrder.size() || e_.CurrentStockInstance == nullptr) {
        e_.ManualPlacement = 0;
        return kNotPlaced;
    }
    instance_ = e_.PartOrder[static_cast<std::size_t>(j_)];
    PartInstance* part = placement::At(e_.PartInstances, instance_);
    if (part == nullptr || part->Type == nullptr || !part->TrialPose || !part->CommittedPose) {
        e_.ManualPlacement = 0;
        return kNotPlaced;
    }
    if (e_.PlacedPartCount >= static_cast<int>(e_.PlacedParts.size())) {
        PrintLocalized(kSheetFull, static_cast<int>(e_.PlacedParts.size()));
        e_.ManualPlacement = 0;
        return kNotPlaced;
    }
    e_.CurrentGroup = 0;
    e_.SavePoseSnapshot(e_.PartInstances, e_.OrderCount);
    e_.Groups[0].X = 0.0;
    e_.Groups[0].Y = 0.0;
    if (manual_) {
        e_.PairWanted = 0;
        e_.ManualPlacement = 1;
        remembered_ = *part->CommittedPose;
        firstManualAttempt_ = true;
    } else {
        e_.ManualPlacement = 0;
    }

    for (int attempt = 0; attempt < kMaxTemplateTries; ++attempt) {
        if (!LoadTemplate()) {
            break;
        }
        for (int g = 0; g < e_.GroupCount; ++g) {
            e_.CurrentGroup = g;
            VariantGroup();
        }
        if (manual_) {
            if (finished_ > 0 && CommitManual()) {
                Record();
                e_.ManualPlacement = 0;
                return kPlaced;
            }
            RestoreManual();
            break;
        }
        int placementClass = 0;
        const int kept = ChooseGroupVariant(e_, placementClass, &layouts_);
        if (kept >= 0 && finished_ > 0) {
            e_.CurrentGroup = kept;
            e_.ReferencePoint = {Group().Box.maxX, Group().Box.maxY};
            Record();
            e_.ManualPlacement = 0;
            return kPlaced;
        }
        e_.CurrentGroup = 0;
        if (e_.PairWanted != 0) {
            e_.PairWanted = 0;
        } else if (e_.LandscapeWanted != e_.UseLandscape) {
            break;
        } else {
            e_.LandscapeWanted = e_.UseLandscape == 0 ? 1 : 0;
            e_.PairWanted = e_.UseCluster;
        }
    }
    e_.ManualPlacement = 0;
    return kNotPlaced;
}

// [choice of variant] -------------------------------------------------------------------------------------------

bool SameSnapshot(const PoseSnapshot& a, const PoseSnapshot& b) {
    return a.Valid == b.Valid && a.Stock == b.Stock && (a.Valid == 0 || (a.X == b.X && a.Y == b.Y && a.Angle == b.Angle));
}

// Whether the layout is the one the sheet holds now: the last saved snapshot, which every variant group leaves
// behind it (a group that finds no start pose moves nothing).
bool IsCurrentLayout(const CNestingEngine& engine, const std::vector<PoseSnapshot>& layout) {
    return layout.size() <= engine.PoseSnapshots.size() &&
           std::equal(layout.begin(), layout.end(), engine.PoseSnapshots.begin(), SameSnapshot);
}

// The valid variant group chosen by location class and orientation, or -1.
int PickVariant(const CNestingEngine& engine, int& placementClass) {
    placementClass = 0;
    if (engine.GroupCount == 1 && engine.Groups[0].Valid != 0) {
        return 0;
    }
    constexpr int kLandscape = 0;
    constexpr int kPortrait = 1;
    std::array<std::array<int, 2>, 5> slots{};
    for (auto& slot : slots) {
        slot = {-1, -1};
    }
    const double sx = engine.SearchStep.x;
    const double sy = engine.SearchStep.y;
    const int groups = std::min(engine.GroupCount, static_cast<int>(engine.Groups.size()));
    for (int g = 0; g < groups; ++g) {
        const PartGroup& group = engine.Groups[static_cast<std::size_t>(g)];
        if (group.Valid == 0) {
            continue;
        }
        const bool beyondX = group.Box.maxX - sx > engine.PlacedExtent.maxX;
        const bool beyondY = group.Box.maxY - sy > engine.PlacedExtent.maxY;
        const int c = beyondX ? (beyondY ? 4 : 3) : (beyondY ? 2 : 1);
        const int orientation = group.Box.Width() < group.Box.Height() ? kPortrait : kLandscape;
        int& holder = slots[static_cast<std::size_t>(c)][static_cast<std::size_t>(orientation)];
        if (holder < 0) {
            holder = g;
            continue;
        }
        const PartGroup& held = engine.Groups[static_cast<std::size_t>(holder)];
        if (c == 2 && !(group.Box.maxX - sx > held.Box.maxX)) {
            if (group.Box.maxY < held.Box.maxY) {
                holder = g;
            }
            continue;
        }
        const double direction =
            GetDirectionAngle({held.Box.maxX, held.Box.maxY}, {group.Box.maxX, group.Box.maxY});
        if (direction >= kLeftFromDeg * kRadiansPerDegree && direction <= kLeftToDeg * kRadiansPerDegree) {
            holder = g;
        }
    }
    const int firstOrientation = engine.LandscapeWanted != 0 ? kLandscape : kPortrait;
    for (int pass = 0; pass < 2; ++pass) {
        const int orientation = pass == 0 ? firstOrientation : 1 - firstOrientation;
        for (int c = 1; c <= 4; ++c) {
            const int g = slots[static_cast<std::size_t>(c)][static_cast<std::size_t>(orientation)];
            if (g >= 0) {
                placementClass = c;
                return g;
            }
        }
    }
    return -1;
}

}  // namespace

bool PreferFirstResult(const PartGroup& first, const PartGroup& turned, double searchStepX) {
    // A variant group whose start pose was found at its first attempt never had its size recorded.
    const double aw = first.GroupWidth > 0.0 && first.GroupWidth < kEmptyBoxLimit ? first.GroupWidth
                                                                                    : first.Box.Width();
    const double ah = first.GroupHeight > 0.0 && first.GroupHeight < kEmptyBoxLimit ? first.GroupHeight
                                                                                      : first.Box.Height();
    const double d = (first.Box.maxX - turned.Box.maxX) * ah + (first.Box.maxY - turned.Box.maxY) * aw +
                     2.0 * searchStepX * (aw + ah);
    return d < 0.0 || (d == 0.0 && (turned.Box.maxX > first.Box.maxX || turned.Box.maxY > first.Box.maxY));
}

int PlacePart(CNestingEngine& engine, int j, double x, double y, double angle) {
    return Placement(engine, j, x, y, angle).Place();
}

int ChooseGroupVariant(CNestingEngine& engine, int& placementClass, const VariantLayouts* layouts) {
    const int groups = std::min(engine.GroupCount, static_cast<int>(engine.Groups.size()));
    // Each failed retest drops one group, so the loop ends after at most one round per group.
    for (int round = 0; round <= groups; ++round) {
        const int g = PickVariant(engine, placementClass);
        if (g < 0) {
            placementClass = 0;
            return -1;
        }
        PartGroup& group = engine.Groups[static_cast<std::size_t>(g)];
        if (layouts != nullptr && static_cast<std::size_t>(g) < layouts->size() &&
            !(*layouts)[static_cast<std::size_t>(g)].empty()) {
            const std::vector<PoseSnapshot>& layout = (*layouts)[static_cast<std::size_t>(g)];
            if (!IsCurrentLayout(engine, layout)) {
                std::copy(layout.begin(), layout.end(), engine.PoseSnapshots.begin());
                engine.RestorePoseSnapshot(engine.PartInstances, static_cast<int>(layout.size()), engine.CurrentStock);
            }
        }
        engine.ApplyGroupPose(g, {group.X, group.Y}, group.Angle);
        if (layouts != nullptr && engine.CurrentStockInstance != nullptr) {
            const int saved = engine.CurrentGroup;
            engine.CurrentGroup = g;
            int blocker = kNoBlocker;
            int member = kNoBlocker;
            const bool free = TestGroupCollision(engine, *engine.CurrentStockInstance, blocker, member);
            engine.CurrentGroup = saved;
            if (!free) {
                group.Valid = 0;
                continue;
            }
        }
        for (int m = 0; m < std::clamp(group.MemberCount, 0, kGroupMemberCapacity); ++m) {
            engine.CommitPartPose(group.Members[static_cast<std::size_t>(m)].Instance);
        }
        return g;
    }
    placementClass = 0;
    return -1;
}
