// Placing parts into the holes of placed parts: the hole collision test and the seven-phase slide of each
// variant group inside the hole's window.
#include "nesting/engine/hole_filling.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "nesting/engine/hole_messages.h"
#include "nesting/engine/part_placement.h"
#include "nesting/engine/placement_access.h"
#include "nesting/engine/start_positions.h"
#include "nesting/geometry/contour_relation.h"
#include "nesting/geometry/outline_sets.h"

namespace {

using placement::At;

// Quarter of a step at each refinement.
constexpr double kStepDivisor = 4.0;

bool IsInside(ContourRelation r) { return r == ContourRelation::Inside; }

// Whether outer contour k of member m may share its place with q's outer contour `outer` (their boxes and
// contours met): only inside a hole of q within `outer` at least as large as that contour, and only when q is of
// another type.
bool LiesInHoleOf(const PartInstance& m, std::size_t k, const PartInstance& q, const Contour& outer,
                  ContourRelation r) {
    if (!IsInside(r) || !q.TrialPose || q.TrialPose->Holes.empty() || q.Type == nullptr || m.Type == nullptr ||
        q.Type->TypeIndex == m.Type->TypeIndex || m.Type->Outers[0].empty() || k >= m.TrialPose->Outers.size()) {
        return false;
    }
    const std::vector<Contour>& typeOuters = m.Type->Outers[0];
    const double partArea = std::abs((k < typeOuters.size() ? typeOuters[k] : typeOuters.front()).Area);
    const Contour& mOuter = m.TrialPose->Outers[k];
    const std::vector<Contour>& typeHoles = q.Type->Holes[0];
    const std::vector<Contour>& posedHoles = q.TrialPose->Holes;
    for (std::size_t h = 0; h < posedHoles.size() && h < typeHoles.size(); ++h) {
        if (std::abs(typeHoles[h].Area) >= partArea && IsInside(RelateContours(mOuter, posedHoles[h])) &&
            HoleWithin(posedHoles[h], outer)) {
            return true;
        }
    }
    return false;
}

// Whether every outer contour of the member lies inside the hole (and there is one).
bool AllInsideHole(const PartInstance& m, const Contour& hole) {
    if (!m.TrialPose || m.TrialPose->Outers.empty()) {
        return false;
    }
    for (const Contour& outer : m.TrialPose->Outers) {
        if (!IsInside(RelateContours(outer, hole))) {
            return false;
        }
    }
    return true;
}

// The hole collision test; `reported` keeps the neighbour-limit message to one per placement call.
bool HoleFree(CNestingEngine& engine, bool& reported) {
    if (engine.RectMode || !engine.HoleMode) {
        return false;
    }
    const PartGroup* group = placement::CurrentGroup(engine);
    const PartInstance* host = At(engine.PartInstances, engine.HoleHost);
    if (group == nullptr || host == nullptr || !host->TrialPose) {
        return false;
    }
    const Contour* hole = At(host->TrialPose->Holes, engine.HoleIndex);
    if (hole == nullptr) {
        return false;
    }
    const int members = std::clamp(group->MemberCount, 0, kGroupMemberCapacity);
    for (int n = 0; n < members; ++n) {
        const PartInstance* m = At(engine.PartInstances, group->Members[static_cast<std::size_t>(n)].Instance);
        if (m == nullptr || !m->TrialPose || m->TrialPose->Outers.empty() ||
            !IsInside(RelateBoxes(m->TrialPose->Box, engine.HoleWindow)) || !AllInsideHole(*m, *hole)) {
            return false;
        }
    }

    std::vector<const PartInstance*> neighbours;
    neighbours.reserve(kMaxHoleNeighbours);
    const int placedCount = std::clamp(engine.PlacedPartCount, 0, static_cast<int>(engine.PlacedParts.size()));
    for (int n = 0; n < members; ++n) {
        const int mi = group->Members[static_cast<std::size_t>(n)].Instance;
        const PartInstance& m = engine.PartInstances[static_cast<std::size_t>(mi)];
        neighbours.clear();
        for (int p = 0; p < placedCount; ++p) {
            const int qi = engine.PlacedParts[static_cast<std::size_t>(p)];
            const PartInstance* q = At(engine.PartInstances, qi);
            if (qi == mi || q == nullptr || !q->TrialPose || !q->TrialPose->Valid || q->Stock != engine.CurrentStock ||
                RelateBoxes(m.TrialPose->Box, q->TrialPose->Box) == ContourRelation::Disjoint) {
                continue;
            }
            if (static_cast<int>(neighbours.size()) >= kMaxHoleNeighbours) {
                // Testing only some of the neighbours could let the part overlap the others: the place is refused.
                if (!reported) {
                    PrintLocalized(kTooManyHoleNeighbours, kMaxHoleNeighbours);
                    reported = true;
                }
                return false;
            }
            neighbours.push_back(q);
        }
        for (const PartInstance* q : neighbours) {
            if (q->TrialPose->Outers.empty()) {
                continue;
            }
            const ContourRelation r =
                RelateOuterSets(m.TrialPose->Outers, q->TrialPose->Outers,
                                [&](std::size_t k, const Contour& outer, ContourRelation rel) {
                                    return LiesInHoleOf(m, k, *q, outer, rel);
                                });
            if (r != ContourRelation::Disjoint) {
                return false;
            }
        }
    }
    return true;
}

// The state of one placement call.
struct HoleCall {
    CNestingEngine& engine;
    int tests = 0;
    bool reported = false;

    PartGroup& Group(int g) { return engine.Groups[static_cast<std::size_t>(g)]; }

    // Window first, then the collision test (only the latter counts towards the test limit).
    bool Free(int g) {
        if (!placement::BoxStrictlyWithin(Group(g).Box, engine.HoleWindow)) {
            return false;
        }
        ++tests;
        return HoleFree(engine, reported);
    }

    // One run of variant group g from its free start pose, ending with the group posed in full at the last free
    // position (valid flag set).
    void Run(int g);
};

void HoleCall::Run(int g) {
    PartGroup& group = Group(g);
    const PartInstance& first = engine.PartInstances[static_cast<std::size_t>(group.Members[0].Instance)];
    const double w = first.TrialPose->Box.Width();
    const double h = first.TrialPose->Box.Height();
    host::ge::Point2d lastFree{group.X, group.Y};
    auto moveTo = [&](double dx, double dy) { engine.MoveGroupTo(g, lastFree.x + dx, lastFree.y + dy); };

    int phase = 1;
    double stepX = w, stepY = 0.0;
    int moves = 0, fine = 0, restarts = 0;
    bool free = true;
    bool ended = false;
    for (int runTests = 0; runTests < kMaxHoleRunTests && !ended; ++runTests) {
        if (free) {
            lastFree = {group.X, group.Y};
            if (tests < kHoleRunTestLimit) {
                engine.TranslateGroup(g, -stepX, -stepY);
                ++moves;
                free = Free(g);
                continue;
            }
            tests = 0;
            engine.SetStepsForUnit();
        }
        const double sx = engine.SearchStep.x, cx = engine.CoarseStep.x, cy = engine.CoarseStep.y;
        switch (phase) {
            case 1:
                if (stepX > cx) {
                    stepX /= kStepDivisor;
                    moveTo(-stepX, 0.0);
                } else {
                    phase = 2, stepX = 0.0, stepY = h, moves = 0;
                    moveTo(0.0, -h);
                }
                break;
            case 2:
                if (stepY > cy) {
                    stepY /= kStepDivisor;
                    moveTo(0.0, -stepY);
                } else {
                    phase = 3, stepX = 0.2 * w, stepY = 0.0, moves = 0;
                    moveTo(-stepX, 0.0);
                }
                break;
            case 3:
                if (stepX > sx) {
                    stepX /= kStepDivisor;
                    moveTo(-stepX, 0.0);
                } else {
                    // Down and to the right, from the pose that collided.
                    fine = moves;
                    phase = 4, stepX = -0.2 * w, stepY = 0.18 * w, moves = 0;
                    engine.TranslateGroup(g, 0.2 * w, -0.18 * w);
                }
                break;
            case 4:
            case 5:
                if ((phase == 4 ? -stepX > sx : stepX > 0.5 * sx)) {
                    stepX /= kStepDivisor, stepY /= kStepDivisor;
                    moveTo(-stepX, -stepY);
                } else if (phase == 4) {
                    fine += moves;
                    phase = 5, stepX = 0.2 * w, stepY = 0.16 * w, moves = 0;
                    moveTo(-stepX, -stepY);
                } else {
                    fine += moves;
                    phase = 6, stepX = 0.2 * w, stepY = -0.08 * w, moves = 0;
                    moveTo(-stepX, -stepY);
                }
                break;
            default:
                if (stepX > 0.5 * sx) {
                    stepX /= kStepDivisor, stepY /= kStepDivisor;
                    moveTo(-stepX, -stepY);
                } else {
                    ended = true;
                }
                break;
        }
        if (!ended) {
            free = Free(g);
            continue;
        }
        // End of the run: stay here only when this pose is free.
        stepX = 0.0;
        if (!Free(g)) {
            moveTo(0.0, 0.0);
        }
        fine += moves;
        if (fine > kHoleRestartMoves && restarts < kMaxHoleRestarts) {
            ++restarts;
            phase = 3, stepX = 0.05 * w, stepY = 0.0, moves = 0, fine = 0;
            lastFree = {group.X, group.Y};
            moveTo(-stepX, 0.0);
            ended = false;
            free = Free(g);
        }
    }
    // A run cut off by the test bound may stand on a pose that collided.
    if (!ended && !Free(g)) {
        moveTo(0.0, 0.0);
    }
    engine.ApplyGroupPose(g, {group.X, group.Y}, group.Angle);
    group.Valid = 1;
}

// Takes the members out of the sheet again (a kept group that cannot be recorded).
void Unplace(CNestingEngine& engine, const PartGroup& group) {
    for (int n = 0; n < std::clamp(group.MemberCount, 0, kGroupMemberCapacity); ++n) {
        PartInstance* m = At(engine.PartInstances, group.Members[static_cast<std::size_t>(n)].Instance);
        if (m == nullptr) {
            continue;
        }
        m->Placed = 0;
        m->Stock = -1;
        if (m->TrialPose) m->TrialPose->Valid = 0;
        if (m->CommittedPose) m->CommittedPose->Valid = 0;
    }
}

// Whether the part at `j` of the placement order has a pair template of its rotation rule.
bool PairTemplateBuilt(const CNestingEngine& engine, int j) {
    if (j < 0 || j >= static_cast<int>(engine.PartOrder.size())) return false;
    const PartInstance* part = At(engine.PartInstances, engine.PartOrder[static_cast<std::size_t>(j)]);
    return part != nullptr && part->Type != nullptr && part->Type->PairTemplates[0].Valid;
}

int PlaceInHole(CNestingEngine& engine, int j) {
    HoleCall call{engine};
    for (int attempt = 0; attempt < kMaxHoleTemplateTries; ++attempt) {
        int members = 0;
        if (engine.PairWanted) {
            members = engine.LoadGroupTemplate(j, 2);
            if (members != 2) {
                engine.PairWanted = 0;
            } else if (!PairTemplateBuilt(engine, j)) {
                // A type whose pairs all need a turn its rule forbids has no pair template: loading one would put
                // the partner on top of the part.
                engine.PairWanted = 0;
                members = engine.LoadGroupTemplate(j, 1);
            }
        } else {
            members = engine.LoadGroupTemplate(j, 1);
        }
        if (members < 1) {
            return -1;
        }
        for (int g = 0; g < engine.GroupCount; ++g) {
            call.Group(g).Valid = 0;
        }
        engine.CurrentGroup = 0;
        const bool emptyHole = engine.HolePlacedCount == 0;
        call.tests = 0;
        int finished = 0;
        for (int g = 0; g < engine.GroupCount; ++g) {
            engine.CurrentGroup = g;
            int k = 0;
            bool started = false;
            while (ChooseHoleStartPosition(engine, emptyHole, k, engine.LandscapeWanted != 0)) {
                if (call.Free(g)) {
                    started = true;
                    break;
                }
                ++k;
            }
            // A variant group without a start pose has no result; the results of the earlier ones still count.
            if (!started) {
                continue;
            }
            call.Run(g);
            ++finished;
        }

        int cls = 0;
        const int kept = finished > 0 ? ChooseGroupVariant(engine, cls) : -1;
        if (kept >= 0) {
            engine.CurrentGroup = kept;
            PartGroup& group = call.Group(kept);
            engine.ReferencePoint = {group.Box.maxX, group.Box.maxY};
            const int count = std::clamp(group.MemberCount, 0, kGroupMemberCapacity);
            if (engine.PlacedPartCount + count > static_cast<int>(engine.PlacedParts.size())) {
                engine.AppendPlacedPart(group.Members[0].Instance);  // prints that the sheet is full
                Unplace(engine, group);
                return -1;
            }
            engine.PassPlacedCount += count;
            engine.LastPlacedInstance = group.Members[0].Instance;
            for (int n = 0; n < count; ++n) {
                engine.PlacedExtent.Include(group.Box);
                engine.AppendPlacedPart(group.Members[static_cast<std::size_t>(n)].Instance);
            }
            engine.SetGroupPose(kept, {group.X, group.Y}, group.Angle);
            return 0;
        }
        if (engine.PairWanted) {
            engine.PairWanted = 0;
            continue;
        }
        if (engine.LandscapeWanted != engine.UseLandscape) {
            return -1;
        }
        engine.LandscapeWanted = engine.UseLandscape ? 0 : 1;
        engine.PairWanted = engine.UseCluster;
    }
    return -1;
}

}  // namespace

bool TestHoleCollision(CNestingEngine& engine) {
    bool reported = false;
    return HoleFree(engine, reported);
}

int PlacePartInHole(CNestingEngine& engine, int j, double /*x*/, double /*y*/, double /*angle*/) {
    const int before = engine.PassPlacedCount;
    const int result = PlaceInHole(engine, j);
    engine.HolePlacedCount += engine.PassPlacedCount - before;
    return result;
}
