// The indexed choices of the next contour: the nearest leaf of a part or of the sheet, and the nearest candidate of
// a phase, found through a box tree of the contours without a path instead of a list of every one of them.
#include <algorithm>
#include <climits>
#include <limits>

#include "laser/job/drawing_slot.h"
#include "laser/path/nearest_box_tree.h"
#include "laser/path/next_contour.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

namespace {

// A part whose leaves are asked for is looked through by its list while it holds fewer contours than this; the
// tree pays for the leaves of larger ones (a sheet with thousands of holes cut as one part).
constexpr std::size_t kIndexedLeavesFrom = 16;

// As in the listed choice: a box distance is only a lower bound of the distances it prunes, and this much slack
// keeps a rounding difference between the two from hiding a contour that is in fact nearer.
constexpr double kIndexPruneSlack = 1e-9;

}  // namespace

void NextContourSearch::NoteForest() {
    forest_ = false;
    breadthRank_.assign(static_cast<std::size_t>(count_), -1);
    // Every handle once and none of them 0, every enclosing handle naming a record.
    if (byHandle_.size() != static_cast<std::size_t>(count_) || byHandle_.count(0) != 0 || !orphans_.empty()) return;
    // A breadth-first walk from the top level, each contour's children in table order: it reaches every record
    // when no enclosing links run in a circle.
    std::vector<int> order(topLevel_.begin(), topLevel_.end());
    order.reserve(static_cast<std::size_t>(count_));
    for (std::size_t k = 0; k < order.size(); ++k) {
        const auto v = static_cast<std::size_t>(order[k]);
        for (int c = childStart_[v]; c < childStart_[v + 1]; ++c) order.push_back(childList_[static_cast<std::size_t>(c)]);
        if (order.size() > static_cast<std::size_t>(count_)) return;
    }
    if (order.size() != static_cast<std::size_t>(count_)) return;
    for (std::size_t k = 0; k < order.size(); ++k) breadthRank_[static_cast<std::size_t>(order[k])] = static_cast<int>(k);
    forest_ = true;
}

NearestBoxTree& NextContourSearch::Tree() const {
    if (!tree_) {
        std::vector<int> members;
        for (int i = 0; i < count_; ++i) {
            if (MayBeCut(i)) members.push_back(i);
        }
        tree_.emplace(job_.contours.data(), members);
        doneInside_.assign(static_cast<std::size_t>(count_), 0);
    }
    return *tree_;
}

bool NextContourSearch::HasWorkInsideIndexed(int index) const {
    // Contours only gain their paths while the search lives, so one that cannot be cut stays so and is passed
    // over once.
    Tree();
    const auto i = static_cast<std::size_t>(index);
    int& done = doneInside_[i];
    const int first = childStart_[i], count = childStart_[i + 1] - first;
    while (done < count && !MayBeCut(childList_[static_cast<std::size_t>(first + done)])) ++done;
    return done < count;
}

bool NextContourSearch::IsLeafUnder(int index, int top) const {
    if (!MayBeCut(index) || HasWorkInsideIndexed(index)) return false;
    // The walk of CollectPartLeaves goes down from `top` only through contours that may be cut.
    for (int u = enclosing_[static_cast<std::size_t>(index)]; u != top; u = enclosing_[static_cast<std::size_t>(u)]) {
        if (u == kNoContour || !MayBeCut(u)) return false;
    }
    return true;
}

template <class Member, class Rank>
NextContourSearch::Choice NextContourSearch::NearestIndexed(const Point3d& current, Member member, Rank rank,
                                                            Point3d& targetPoint) const {
    NearestBoxTree& tree = Tree();
    const int corner = StartCornerSetting(settings_);
    Choice choice;
    double best = std::numeric_limits<double>::infinity();
    int bestRank = INT_MAX;
    double limit = std::numeric_limits<double>::infinity();
    Point3d aim;
    // Every aim point lies in its contour's box, so the walk, nearest box first, ends once the boxes lie farther
    // than the best aim. Of equally near contours the one the list would have held first wins.
    tree.Walk(current, [&](int i, double) {
        if (job_.contours[static_cast<std::size_t>(i)].processed != 0) {
            tree.Drop(i);
            return limit;
        }
        if (!member(i)) return limit;
        choice.listed = true;
        Point3d a;
        if (!MayBeChosen(i) || !AimOf(i, current, corner, a)) return limit;
        const double d = current.distanceTo(a);
        const int k = rank(i);
        if (d < best || (d == best && k < bestRank)) {
            best = d;
            bestRank = k;
            choice.contour = i;
            aim = a;
            const double reach = best * (1.0 + kIndexPruneSlack) + kIndexPruneSlack;
            limit = reach * reach;
        }
        return limit;
    });
    if (choice.contour != kNoContour) targetPoint = aim;
    return choice;
}

NextContourSearch::Choice NextContourSearch::NearestLeaf(const Point3d& current, std::uint64_t partHandle,
                                                         Point3d& targetPoint) const {
    int top = kNoContour;
    bool listed = !forest_;
    if (forest_ && partHandle != 0) {
        top = IndexOfHandle(partHandle);
        // A small part, a handle of no record, or a part with nothing left inside it (its list is itself).
        listed = top == kNoContour || ChildrenOfRecord(top).size() < kIndexedLeavesFrom || !HasWorkInsideIndexed(top);
    }
    if (listed) {
        Choice choice;
        choice.listed = CollectPartLeaves(scratch_, partHandle) != 0;
        if (choice.listed) choice.contour = SelectNextContour(current, scratch_, targetPoint, 0);
        return choice;
    }
    return NearestIndexed(
        current, [&](int i) { return IsLeafUnder(i, top); },
        [&](int i) { return breadthRank_[static_cast<std::size_t>(i)]; }, targetPoint);
}

NextContourSearch::Choice NextContourSearch::NearestCandidate(const Point3d& current, int phase,
                                                              Point3d& targetPoint) const {
    if (!forest_ || settings_.ModeCutInnerContoursFirst == 1) {
        Choice choice;
        choice.listed = CollectCutCandidates(scratch_, phase) != 0;
        if (choice.listed) choice.contour = SelectNextContour(current, scratch_, targetPoint, 0);
        return choice;
    }
    return NearestIndexed(
        current, [&](int i) { return IsCandidate(i, phase); }, [](int i) { return i; }, targetPoint);
}
