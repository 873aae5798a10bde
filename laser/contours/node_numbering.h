// Node numbering: where the ends of drawn pieces meet, with the exact and the joining tolerance, and the lists of
// pieces that touch one node.
#pragma once

#include <cstdint>
#include <vector>

#include "laser/contours/contour_records.h"

// Room of the node list beyond one entry per piece.
inline constexpr std::size_t kNodeListSpare = 5;
// Room of each list of near candidates (starts, ends) of one end.
inline constexpr std::size_t kNearCandidateCapacity = 52;
// The exact tolerance never exceeds this unless AutoConnect asks for the joining distance.
inline constexpr double kExactNodeTolerance = 1e-7;

// The distance within which ends form a listed (exact) node: the smaller of kExactNodeTolerance and `joinDist`,
// or `joinDist` itself when `autoConnect` is 1.
double ExactNodeTolerance(double joinDist, int autoConnect);

// Numbers the nodes of the table. Only lines, arcs and points take part, and only pieces of one kind meet.
// For each piece i in order, first its start then its end, when that end has no node yet, every later piece j of
// the same kind is looked at through its nearer end (its end when strictly nearer, else its start):
//   - within `exactTolerance` (inclusive) and without a node there: that end joins i's node (a new node id, from
//     1 up, is taken by the first one);
//   - else within `joinDist` (inclusive): j is a near candidate (in a list of starts or of ends, each holding at
//     most kNearCandidateCapacity; further ones are reported once and left out).
// A node with exact members is appended to `NodeList`. Without exact members the near candidates without a node
// at that end join one new node (starts first, then ends), which is not listed. Answers 0.
int NumberContourNodes(ContourEntityStage& stage, double joinDist, double exactTolerance);

// The simpler numbering of the basic stage: one tolerance (ends strictly closer than `joinDist` meet), no near
// candidates, circles take part (through their point at angle 0) and a circle's end takes its start's node; every
// node of more than one member is listed. Answers 0.
int NumberContourNodesBasic(ContourEntityStage& stage, double joinDist);

// The pieces of each node, so that a stage finds the members of a node without walking the whole table. Built
// from the node ids as they stand; nodes are only ever taken away from pieces afterwards (dropped pieces), so
// `FillNodeMembers` checks each candidate again.
class NodeMemberIndex {
public:
    explicit NodeMemberIndex(const ContourEntityStage& stage);
    // The indices of the pieces whose start or end node is `node` when the index was built, in index order.
    const std::vector<int>& Candidates(std::uint32_t node) const;

private:
    std::vector<std::vector<int>> byNode_;
};

// Which pieces of a node a stage looks at.
enum class NodeMemberFilter {
    All,           // every piece touching the node
    TripleCounted, // only the kinds that count at a node where three or more pieces meet
};

// Refills `NodeMembers` with the pieces whose start or end node is `node` (now), in index order, passing
// `filter`. At most kNodeMembersCapacity are listed: further pieces are reported on the command line and left
// out. Answers the number listed.
int FillNodeMembers(ContourEntityStage& stage, const NodeMemberIndex& index, std::uint32_t node,
                    NodeMemberFilter filter);

// Whether pieces of this kind are counted at a node where three or more pieces meet: not the engraving, marking,
// no-lead-in, common, inside-cut, heat-treatment and point kinds.
bool CountsAtTripleNode(ContourKind kind);
