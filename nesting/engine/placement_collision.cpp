// Collision of a posed part, or of the members of the current group, with the sheet and the parts on it.
#include "nesting/engine/placement_collision.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "nesting/engine/placement_access.h"
#include "nesting/geometry/contour_relation.h"
#include "nesting/geometry/outline_sets.h"

namespace {

// Whether a sheet outline is its own box: four axis-parallel lines enclosing the box's area. A part whose box is
// strictly inside that box is inside the outline, so the contour relation can be left out (it would answer
// Inside); drawn sheets with other outlines are related as they are.
bool OutlineIsBox(const Contour& outline, const BoundingBox& box) {
    if (outline.GeometryKind != kGeometryChain || outline.Elements.size() != 4) {
        return false;
    }
    for (const ContourElement& e : outline.Elements) {
        if (e.Type != kElementLine || (e.Start.x != e.End.x && e.Start.y != e.End.y)) {
            return false;
        }
        if ((e.Start.x != box.minX && e.Start.x != box.maxX) || (e.Start.y != box.minY && e.Start.y != box.maxY)) {
            return false;
        }
    }
    return outline.Box == box;
}

// Steps 2 and 3: inside the sheet (box lowered to the usable area's right and top sides when they are checked)
// and clear of the sheet's cut-outs, with every outer contour of the part.
bool InsideSheet(const CNestingEngine& engine, const PartType& sheet, const PartPose& pose) {
    BoundingBox bounds = sheet.OuterBox;
    if (engine.UsableAreaCheck != 0) {
        bounds.maxX = std::min(engine.UsableArea.maxX, sheet.OuterBox.maxX);
        bounds.maxY = std::min(engine.UsableArea.maxY, sheet.OuterBox.maxY);
    }
    if (RelateBoxes(pose.Box, bounds) != ContourRelation::Inside) {
        return false;
    }
    if (!sheet.Outers[0].empty() && !OutlineIsBox(sheet.Outers[0].front(), sheet.OuterBox)) {
        for (const Contour& outline : pose.Outers) {
            if (RelateContours(outline, sheet.Outers[0].front()) != ContourRelation::Inside) {
                return false;
            }
        }
    }
    for (const Contour& cutOut : sheet.Holes[0]) {
        if (RelateBoxes(pose.Box, cutOut.Box) == ContourRelation::Disjoint) {
            continue;
        }
        if (pose.Outers.empty()) {
            return false;
        }
        for (const Contour& outline : pose.Outers) {
            if (RelateBoxes(outline.Box, cutOut.Box) != ContourRelation::Disjoint &&
                RelateContours(outline, cutOut) != ContourRelation::Disjoint) {
                return false;
            }
        }
    }
    return true;
}

// The area by which outer contour k of a part is compared with a hole.
double OuterArea(const PartType& type, std::size_t k) {
    const ContourList& outers = type.Outers[0];
    return k < outers.size() ? outers[k].Area : outers.front().Area;
}

// Whether outer contour k of P (relation r to Q's outer contour `outer`) may lie in a hole of Q: only when placing
// by hand with holes in use, in a hole of another type's part within `outer` that is at least as large as that
// contour and holds it.
bool LiesInHole(const CNestingEngine& engine, const PartInstance& p, std::size_t k, const PartInstance& q,
                const Contour& outer, ContourRelation r) {
    const PartPose& qPose = *q.TrialPose;
    if (engine.HoleMode == 0 || qPose.Holes.empty() || r != ContourRelation::Inside || p.Type == nullptr ||
        q.Type == nullptr || p.Type->TypeIndex == q.Type->TypeIndex || p.Type->Outers[0].empty() ||
        k >= p.TrialPose->Outers.size()) {
        return false;
    }
    const Contour& outline = p.TrialPose->Outers[k];
    const double partArea = OuterArea(*p.Type, k);
    const std::size_t holes = std::min(qPose.Holes.size(), q.Type->Holes[0].size());
    for (std::size_t h = 0; h < holes; ++h) {
        if (q.Type->Holes[0][h].Area >= partArea &&
            RelateContours(outline, qPose.Holes[h]) == ContourRelation::Inside && HoleWithin(qPose.Holes[h], outer)) {
            return true;
        }
    }
    return false;
}

// Step 4 for one candidate Q: true when P collides with it; blocker set as the rules say. Every outer contour
// of P is related to every outer contour of Q.
bool MeetsPlacedPart(const CNestingEngine& engine, const PartInstance& p, int qIndex, int& blocker) {
    const PartInstance* q = placement::At(engine.PartInstances, qIndex);
    if (q == nullptr || !q->TrialPose || q->TrialPose->Valid == 0 || q->Stock != engine.CurrentStock) {
        return false;
    }
    const PartPose& pPose = *p.TrialPose;
    const PartPose& qPose = *q->TrialPose;
    if (RelateBoxes(pPose.Box, qPose.Box) == ContourRelation::Disjoint) {
        return false;
    }
    if (engine.RectMode != 0 || pPose.Outers.empty() || qPose.Outers.empty()) {
        blocker = qIndex;
        return true;
    }
    const bool manual = engine.ManualPlacement != 0;
    const ContourRelation r =
        RelateOuterSets(pPose.Outers, qPose.Outers, [&](std::size_t k, const Contour& outer, ContourRelation rel) {
            return manual && rel != ContourRelation::Crossing && LiesInHole(engine, p, k, *q, outer, rel);
        });
    if (r == ContourRelation::Disjoint) {
        return false;
    }
    if (r != ContourRelation::Crossing && !manual) {
        return true;  // reported without a blocker
    }
    blocker = qIndex;
    return true;
}

// Unoptimised builds (the tests') check every answer of the index against the whole candidate list.
#if !defined(NDEBUG) && !defined(__OPTIMIZE__)
#define KESTRION_CHECK_PLACED_INDEX 1
#endif

#ifdef KESTRION_CHECK_PLACED_INDEX
// Whether the index gave every candidate that the whole list gives, in the list's order: the instances on the
// current sheet whose boxes meet `box`, each at its first position. Extra instances off the sheet or apart are
// left out of the comparison (the tests drop them).
bool IndexAgreesWithList(const CNestingEngine& engine, const std::vector<std::int32_t>& candidates, int count,
                         const std::vector<std::int32_t>& near, const BoundingBox& box) {
    auto meets = [&](int q) {
        const PartInstance* instance = placement::At(engine.PartInstances, q);
        return instance != nullptr && instance->TrialPose && instance->TrialPose->Valid != 0 &&
               instance->Stock == engine.CurrentStock &&
               RelateBoxes(box, instance->TrialPose->Box) != ContourRelation::Disjoint;
    };
    thread_local std::vector<std::int32_t> expected;
    thread_local std::vector<std::int32_t> given;
    expected.clear();
    given.clear();
    const int n = std::min(count, static_cast<int>(candidates.size()));
    for (int c = 0; c < n; ++c) {
        const int q = candidates[static_cast<std::size_t>(c)];
        if (meets(q) && std::find(expected.begin(), expected.end(), q) == expected.end()) {
            expected.push_back(q);
        }
    }
    for (const std::int32_t q : near) {
        if (meets(q)) {
            given.push_back(q);
        }
    }
    return given == expected;
}
#endif

// Steps 2 to 4 for instance i against the candidates: the placed parts near it, in the candidates' order.
bool PoseIsFree(CNestingEngine& engine, const PartType& sheet, int i, const std::vector<std::int32_t>& candidates,
                int count, int& blocker) {
    const PartInstance& p = engine.PartInstances[static_cast<std::size_t>(i)];
    if (!InsideSheet(engine, sheet, *p.TrialPose)) {
        blocker = kSheetBlocker;
        return false;
    }
    const BoundingBox box = p.TrialPose->Box;
    const std::vector<std::int32_t>& near = engine.PlacedIndex.Near(engine, candidates, count, box);
#ifdef KESTRION_CHECK_PLACED_INDEX
    if (!IndexAgreesWithList(engine, candidates, count, near, box)) {
        std::fprintf(stderr, "placed part index: a pose test missed a placed part\n");
        std::abort();
    }
#endif
    for (const std::int32_t q : near) {
        if (q != i && MeetsPlacedPart(engine, p, q, blocker)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool TestPartCollision(CNestingEngine& engine, const PartInstance& stock, int i, int& blocker) {
    blocker = kNoBlocker;
    const PartInstance* p = placement::At(engine.PartInstances, i);
    if (p == nullptr || !p->TrialPose || stock.Type == nullptr) {
        blocker = kSheetBlocker;
        return false;
    }
    const PartType& sheet = *stock.Type;
    const BoundingBox& box = p->TrialPose->Box;
    if (engine.UsableAreaCheck != 0) {
        if (box.maxX >= std::min(engine.UsableArea.maxX, sheet.OuterBox.maxX) ||
            box.maxY >= std::min(engine.UsableArea.maxY, sheet.OuterBox.maxY) || sheet.OuterBox.minX >= box.minX ||
            sheet.OuterBox.minY >= box.minY) {
            blocker = kSheetBlocker;
            return false;
        }
    }
    return PoseIsFree(engine, sheet, i, engine.PlacedParts, engine.PlacedPartCount, blocker);
}

bool TestGroupCollision(CNestingEngine& engine, const PartInstance& stock, int& blocker, int& member) {
    blocker = kNoBlocker;
    const PartGroup* group = placement::CurrentGroup(engine);
    if (group == nullptr || stock.Type == nullptr) {
        blocker = kSheetBlocker;
        return false;
    }
    const PartType& sheet = *stock.Type;
    if (engine.UsableAreaCheck != 0 &&
        (group->Box.maxX > std::min(engine.UsableArea.maxX, sheet.OuterBox.maxX) ||
         group->Box.maxY > std::min(engine.UsableArea.maxY, sheet.OuterBox.maxY))) {
        blocker = kSheetBlocker;
        return false;
    }
    const int members = std::clamp(group->MemberCount, 0, kGroupMemberCapacity);
    for (int m = 0; m < members; ++m) {
        const int i = group->Members[static_cast<std::size_t>(m)].Instance;
        const PartInstance* p = placement::At(engine.PartInstances, i);
        if (p == nullptr || !p->TrialPose) {
            blocker = kSheetBlocker;
            return false;
        }
        if (!PoseIsFree(engine, sheet, i, engine.PartOrder, engine.OrderCount, blocker)) {
            if (blocker >= 0) {
                member = i;
            }
            return false;
        }
    }
    return true;
}
