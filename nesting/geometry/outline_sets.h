// Relation of the material of two posed parts: a part is all its outer contours with what lies inside them, so
// two parts are apart only when every outer contour of one is apart from every outer contour of the other (a
// frame with a part inside its window, or two plates drawn side by side, has several outer contours).
#pragma once

#include <cstddef>
#include <vector>

#include "nesting/geometry/contour_relation.h"
#include "nesting/model/contour.h"

// Relates every outer contour of A to every outer contour of B whose box meets its own, in the order (A's index,
// B's index), and answers the first relation that is not Disjoint and that `accept(k, other, r)` (A's index k,
// B's contour, relation r of A's contour k to it) does not take; Disjoint when there is none. With one contour
// each this is RelateContours after the box test.
template <class Accept>
ContourRelation RelateOuterSets(const std::vector<Contour>& a, const std::vector<Contour>& b, Accept accept) {
    for (std::size_t k = 0; k < a.size(); ++k) {
        for (const Contour& other : b) {
            if (RelateBoxes(a[k].Box, other.Box) == ContourRelation::Disjoint) {
                continue;
            }
            const ContourRelation r = RelateContours(a[k], other);
            if (r != ContourRelation::Disjoint && !accept(k, other, r)) {
                return r;
            }
        }
    }
    return ContourRelation::Disjoint;
}

// Whether `hole` is a hole of the part's outer contour `outer` or of one inside it: a contour that lies wholly
// inside one of those holes lies outside that outline's material. A hole that holds the outline (the window of
// a frame around it) does not count.
inline bool HoleWithin(const Contour& hole, const Contour& outer) {
    return RelateBoxes(hole.Box, outer.Box) != ContourRelation::Disjoint &&
           RelateContours(hole, outer) == ContourRelation::Inside;
}

inline ContourRelation RelateOuterSets(const std::vector<Contour>& a, const std::vector<Contour>& b) {
    return RelateOuterSets(a, b, [](std::size_t, const Contour&, ContourRelation) { return false; });
}
