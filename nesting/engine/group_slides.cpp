// Sliding a group until contact, and pushing a placed part before the group.
#include "nesting/engine/group_slides.h"

#include <cmath>

#include "nesting/engine/placement_access.h"
#include "nesting/engine/placement_collision.h"
#include "nesting/geometry/contour_transforms.h"

namespace {

// A slide ends its limited travel when the distance left is below this share of the limit (the shortened last
// step lands on the limit up to rounding).
constexpr double kLimitReached = 1e-12;

// Poses part i at (x, y, angle) in contour set 0 and makes that its committed pose.
void PoseAndCommit(CNestingEngine& engine, int i, double x, double y, double angle) {
    PartInstance& part = engine.PartInstances[static_cast<std::size_t>(i)];
    ApplyPartPose(part, 0, {x, y}, angle);
    engine.CommitPartPose(i);
}

}  // namespace

int SlideGroup(CNestingEngine& engine, int g, double dx, double dy, double minStep, double limit, int& blocker,
               int& member) {
    blocker = kNoBlocker;
    member = kNoBlocker;
    PartGroup* group = placement::At(engine.Groups, g);
    if (group == nullptr || engine.CurrentStockInstance == nullptr) {
        return kSlideNoMove;
    }
    const double startX = group->X;
    const double startY = group->Y;
    double lastX = startX;
    double lastY = startY;
    double length = std::hypot(dx, dy);
    double travelled = 0.0;
    bool contact = false;
    const int saved = engine.CurrentGroup;
    engine.CurrentGroup = g;
    for (int test = 0; test < kMaxSlideTests; ++test) {
        if (limit > 0.0 && travelled + length > limit && length > 0.0) {
            const double scale = (limit - travelled) / length;
            dx *= scale;
            dy *= scale;
            length = std::hypot(dx, dy);
        }
        engine.MoveGroupTo(g, lastX + dx, lastY + dy);
        int b = kNoBlocker;
        int m = member;
        if (TestGroupCollision(engine, *engine.CurrentStockInstance, b, m)) {
            lastX = group->X;
            lastY = group->Y;
            travelled += length;
            contact = false;
            if ((limit > 0.0 && travelled >= limit * (1.0 - kLimitReached)) || length <= minStep) {
                break;
            }
            continue;
        }
        blocker = b;
        member = m;
        contact = true;
        if (length <= minStep) {
            break;
        }
        dx /= 4.0;
        dy /= 4.0;
        length /= 4.0;
    }
    engine.MoveGroupTo(g, lastX, lastY);
    engine.CurrentGroup = saved;
    if (lastX == startX && lastY == startY) {
        return kSlideNoMove;
    }
    return contact ? kSlideEndedAtContact : kSlideEndedFree;
}

int SlidePart(CNestingEngine& engine, int i, double dx, double dy, int g, double gdx, double gdy, double minStep,
              int& blocker, int& member) {
    blocker = kNoBlocker;
    member = kNoBlocker;
    PartInstance* part = placement::At(engine.PartInstances, i);
    if (part == nullptr || !part->TrialPose || engine.CurrentStockInstance == nullptr) {
        return kPartStuck;
    }
    const PartInstance& stock = *engine.CurrentStockInstance;
    const double startX = part->TrialPose->X;
    const double startY = part->TrialPose->Y;
    const double angle = part->TrialPose->Angle;

    PoseAndCommit(engine, i, startX + dx, startY + dy, angle);
    int b = kNoBlocker;
    if (!TestPartCollision(engine, stock, i, b)) {
        PoseAndCommit(engine, i, startX, startY, angle);
        blocker = b;
        return kPartStuck;
    }
    double lastX = startX + dx;
    double lastY = startY + dy;
    for (int test = 0; test < kMaxSlideTests; ++test) {
        PoseAndCommit(engine, i, lastX + dx, lastY + dy, angle);
        if (TestPartCollision(engine, stock, i, b)) {
            lastX += dx;
            lastY += dy;
            continue;
        }
        PoseAndCommit(engine, i, lastX, lastY, angle);
        if (std::fabs(dx) > minStep && std::fabs(dy) > minStep) {
            dx /= 4.0;
            dy /= 4.0;
            continue;
        }
        break;
    }
    const int r = SlideGroup(engine, g, gdx, gdy, minStep, 0.0, blocker, member);
    if (r == kSlideNoMove) {
        PoseAndCommit(engine, i, startX, startY, angle);
    }
    return r;
}
