// Compaction of a group to the left and downwards, pushing or turning the part that blocks it.
#include "nesting/engine/group_compaction.h"

#include <array>

#include "cadlib/angles.h"
#include "nesting/engine/group_slides.h"
#include "nesting/engine/placement_access.h"
#include "nesting/engine/placement_collision.h"
#include "nesting/engine/rotation_rules.h"
#include "nesting/geometry/contour_transforms.h"

namespace {

// Steps of the compaction, as shares of the group's and the blocking part's box sizes.
constexpr double kStepShare = 0.01;
// Moves of a blocking part that cannot make its first push step, each by one of its steps.
constexpr int kMaxPushRetries = 20;
// The fallback slides use ten search steps as their least step.
constexpr double kFallbackMinSteps = 10.0;

struct Pose {
    double x = 0.0;
    double y = 0.0;
    double angle = 0.0;
};

// Where a pass of the compaction left the group and the blocking part.
struct Record {
    double x = 0.0;
    double y = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
    Pose blocker;
};

enum class Direction { Left, Down };

class Compaction {
public:
    Compaction(CNestingEngine& engine, int g, Direction direction)
        : engine_(engine), g_(g), direction_(direction), group_(engine.Groups[static_cast<std::size_t>(g)]) {}

    int Run();

private:
    Pose PartPoseOf(int i) const {
        const PartPose& pose = *engine_.PartInstances[static_cast<std::size_t>(i)].TrialPose;
        return {pose.X, pose.Y, pose.Angle};
    }
    void PoseBlocker(const Pose& pose) {
        ApplyPartPose(engine_.PartInstances[static_cast<std::size_t>(b_)], 0, {pose.x, pose.y}, pose.angle);
        engine_.CommitPartPose(b_);
    }
    int Slide(double dx, double dy, double minStep = -1.0, double limit = 0.0) {
        return SlideGroup(engine_, g_, dx, dy, minStep < 0.0 ? minStep_ : minStep, limit, blocker_, member_);
    }
    int Push(double dx, double dy, double gdx, double gdy) {
        return SlidePart(engine_, b_, dx, dy, g_, gdx, gdy, minStep_, blocker_, member_);
    }
    bool BlockerFree() {
        int b = kNoBlocker;
        return TestPartCollision(engine_, *engine_.CurrentStockInstance, b_, b);
    }
    Record Current() const { return {group_.X, group_.Y, group_.Box.maxX, group_.Box.maxY, PartPoseOf(b_)}; }
    void Keep(const Record& record) {
        engine_.MoveGroupTo(g_, record.x, record.y);
        PoseBlocker(record.blocker);
    }
    void BackToContact() {
        engine_.MoveGroupTo(g_, contactX_, contactY_);
        PoseBlocker(p0_);
    }
    // The staircase of one pass: false when the blocking part is not free at its end.
    bool Staircase(Record& record);
    // The push of the turned blocking part before the second staircase: false when the second pass fails.
    bool PushTurned();
    bool Worse(const Record& second, const Record& first) const;

    CNestingEngine& engine_;
    const int g_;
    const Direction direction_;
    PartGroup& group_;
    int blocker_ = kNoBlocker;
    int member_ = kNoBlocker;
    int b_ = -1;
    double wStep_ = 0.0;
    double hStep_ = 0.0;
    double minStep_ = 0.0;
    double bw_ = 0.0;
    double bh_ = 0.0;
    double contactX_ = 0.0;
    double contactY_ = 0.0;
    Pose p0_;
};

bool Compaction::Staircase(Record& record) {
    record = Current();
    const bool left = direction_ == Direction::Left;
    const std::array<std::array<double, 2>, 4> steps =
        left ? std::array<std::array<double, 2>, 4>{{{-wStep_, hStep_}, {-wStep_, 0}, {0, -hStep_}, {-wStep_, 0}}}
             : std::array<std::array<double, 2>, 4>{{{wStep_, -hStep_}, {0, -hStep_}, {-wStep_, 0}, {0, -hStep_}}};
    for (const auto& step : steps) {
        const int r = Slide(step[0], step[1]);
        if (r == kSlideEndedFree || r == kSlideEndedAtContact) {
            record = Current();
        }
    }
    if (!BlockerFree()) {
        return false;
    }
    const int r = left ? Slide(0, -hStep_) : Slide(-wStep_, 0);
    if (r == kSlideEndedFree || r == kSlideEndedAtContact) {
        record = Current();
    }
    return true;
}

bool Compaction::PushTurned() {
    const bool left = direction_ == Direction::Left;
    const double fallbackMin = kFallbackMinSteps * engine_.SearchStep.x;
    int r = left ? Push(-bw_, 0, -wStep_, 0) : Push(0, -bh_, 0, -hStep_);
    if (r >= 0) {
        r = left ? Push(0, -bh_ / 4.0, -wStep_, 0) : Push(-bw_ / 4.0, 0, -wStep_, 0);
    } else if (r == kSlideNoMove) {
        if (left) {
            r = Slide(0, 0.1 * bh_, fallbackMin, 0.2 * bh_);
            if (r == kSlideNoMove) {
                r = Slide(0, -0.1 * bh_, fallbackMin, 0.2 * bh_);
            }
        } else {
            r = Slide(0.05 * bw_, 0, fallbackMin, 0.1 * bw_);
        }
    }
    if (r == kPartStuck) {
        bool moved = false;
        for (int retry = 0; retry < kMaxPushRetries && !moved; ++retry) {
            Pose pose = PartPoseOf(b_);
            (left ? pose.x : pose.y) += left ? bw_ : bh_;
            PoseBlocker(pose);
            if (BlockerFree()) {
                r = left ? Push(-bw_, 0, -wStep_, 0) : Push(0, -bh_, 0, -hStep_);
                moved = r >= 0;
            }
        }
        if (!moved) {
            return false;
        }
    }
    return r != kSlideNoMove;
}

// Whether the second pass's end is worse than the first's: farther right (left compaction) or higher (down
// compaction) first, the other coordinate on a tie.
bool Compaction::Worse(const Record& second, const Record& first) const {
    if (direction_ == Direction::Left) {
        return second.maxX > first.maxX || (second.maxX == first.maxX && second.maxY > first.maxY);
    }
    return second.maxY > first.maxY || (second.maxY == first.maxY && second.maxX > first.maxX);
}

int Compaction::Run() {
    if (engine_.CurrentStockInstance == nullptr) {
        return kCompactionUnchanged;
    }
    const bool left = direction_ == Direction::Left;
    wStep_ = kStepShare * group_.Box.Width();
    hStep_ = kStepShare * group_.Box.Height();
    minStep_ = engine_.SearchStep.x;
    const double startX = group_.X;
    const double startY = group_.Y;
    auto giveUp = [&] {
        engine_.MoveGroupTo(g_, startX, startY);
        return kCompactionUnchanged;
    };

    int r = left ? Slide(-wStep_, 0) : Slide(0, -hStep_);
    if (r == kSlideNoMove && blocker_ == kSheetBlocker) {
        const BoundingBox& area = engine_.UsableArea;
        if (left ? area.minY >= group_.Box.minY : area.minX >= group_.Box.minX) {
            r = left ? Slide(0, hStep_, -1.0, 2.0 * hStep_) : Slide(wStep_, 0, -1.0, 2.0 * wStep_);
        } else if (left ? group_.Box.maxY >= area.maxY : group_.Box.maxX >= area.maxX) {
            r = left ? Slide(0, -hStep_) : Slide(-wStep_, 0);
        } else {
            return giveUp();
        }
        if (r == kSlideNoMove) {
            return giveUp();
        }
    }
    if (blocker_ < 0 || placement::At(engine_.PartInstances, blocker_) == nullptr ||
        !engine_.PartInstances[static_cast<std::size_t>(blocker_)].TrialPose) {
        return giveUp();
    }

    b_ = blocker_;
    contactX_ = group_.X;
    contactY_ = group_.Y;
    p0_ = PartPoseOf(b_);
    const BoundingBox bBox = engine_.PartInstances[static_cast<std::size_t>(b_)].TrialPose->Box;
    bw_ = kStepShare * bBox.Width();
    bh_ = kStepShare * bBox.Height();
    const double centreX = (bBox.minX + bBox.maxX) / 2.0;
    const double centreY = (bBox.minY + bBox.maxY) / 2.0;

    Record first;
    const bool firstOk = Staircase(first);
    if (!firstOk) {
        BackToContact();
    }

    // Second pass: the blocking part turned half a turn about its box centre and pushed away, when its rotation
    // rule lets it lie turned.
    double turned = p0_.angle + cadlib::kPi;
    NormalizeAngle(turned);
    Record second;
    bool secondOk = PartMayLieAt(engine_, b_, turned);
    if (secondOk) {
        PoseBlocker({centreX, centreY, turned});
        engine_.MoveGroupTo(g_, contactX_, contactY_);
        secondOk = PushTurned();
    }
    if (secondOk) {
        secondOk = Staircase(second);
        if (!secondOk) {
            if (firstOk) {
                Keep(first);
            } else {
                BackToContact();
            }
            return kCompactionImproved;
        }
    }

    if (!secondOk) {
        if (firstOk) {
            Keep(first);
            return kCompactionImproved;
        }
        BackToContact();
        return kCompactionUnchanged;
    }
    if (!firstOk) {
        Keep(second);
        return kCompactionImproved;
    }
    if (second.maxX == first.maxX && second.maxY == first.maxY) {
        BackToContact();
        return kCompactionUnchanged;
    }
    Keep(Worse(second, first) ? first : second);
    return kCompactionImproved;
}

}  // namespace

int CompactGroupLeft(CNestingEngine& engine, int g) {
    if (placement::At(engine.Groups, g) == nullptr) {
        return kCompactionUnchanged;
    }
    return Compaction(engine, g, Direction::Left).Run();
}

int CompactGroupDown(CNestingEngine& engine, int g) {
    if (placement::At(engine.Groups, g) == nullptr) {
        return kCompactionUnchanged;
    }
    return Compaction(engine, g, Direction::Down).Run();
}
