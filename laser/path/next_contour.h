// The choice of the next contour of a cutting order: which contours may be cut now, which of them comes next and
// the point the approach aims at; and the check that no contour waiting for its path lost its entity.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "host/ge/point.h"
#include "laser/path/nearest_box_tree.h"

class CLaserSettings;
struct ContourRecord;
struct CuttingJob;

// The phases of an automatic order. Engraving and marking come first and heat treatment second only when
// CutEngraveType is on; otherwise everything is ordered in the cutting phase.
inline constexpr int kPhaseEngraveAndMark = 0;
inline constexpr int kPhaseHeatTreatment = 1;
inline constexpr int kPhaseCutting = 2;

// UnloadZahodType: 0 the nearest point; 1 to 4 the start corner (minX,minY), (minX,maxY), (maxX,maxY), (maxX,minY).
// UnloadZahod_CurentCutWinZona: 0 off; 1 to 4 the unloading zone. Values outside 0 to 4 count as 0.
int StartCornerSetting(const CLaserSettings& settings);
int ZoneModeSetting(const CLaserSettings& settings);
// The corner of the record's box that start corner `corner` (1 to 4; anything else counts as 4) names, at z 0.
host::ge::Point3d BoxCorner(const ContourRecord& r, int corner);

// Answer of SelectNextContour when nothing in the list can be chosen.
inline constexpr int kNoContour = -1;

// Looks through the contour table of one job (records 0 to contourCount-1; the stock record after them never
// takes part). Built once per order: the table keeps its records while the search lives, only their processed
// flags change, and every answer reads the flags as they are at the moment of the call.
//
// A candidate list holds record indices; its size is its count. Every operation that fills one replaces what it
// held.
class NextContourSearch {
public:
    NextContourSearch(const CuttingJob& job, const CLaserSettings& settings);
    NextContourSearch(const NextContourSearch&) = delete;
    NextContourSearch& operator=(const NextContourSearch&) = delete;

    // The contours that may be cut in `phase`: part contours without a path, of the phase's kinds (mark points
    // only when marking is on, jumper points never), and in the cutting phase only contours with nothing left to
    // cut inside them. With ModeCutInnerContoursFirst the outer contours are dropped while inner ones remain.
    // Answers the count.
    int CollectCutCandidates(std::vector<int>& indices, int phase) const;

    // Replaces the candidates of the cutting phase by the parts they belong to (an outer contour stands for itself,
    // any other contour for its enclosing contour while that has no path), each part once, in order of first
    // appearance. In the other phases the list is emptied. Answers the count.
    int GroupCandidatesByPart(std::vector<int>& indices, int phase) const;

    // The innermost contours without a path under the contour with handle `partHandle` (0: the top-level
    // contours of the sheet), in breadth-first order; when nothing is left under it, the contour itself (when it
    // is in the table). Answers the count.
    int CollectPartLeaves(std::vector<int>& indices, std::uint64_t partHandle) const;

    // The entry of `indices` to cut next from `current`, by the settings' start corner and zone mode; writes the
    // point the approach aims at into `targetPoint` (unchanged when nothing is found). Processed contours and
    // jumper points are passed over; on equal distances the earlier entry wins. Answers the record index or
    // kNoContour.
    int SelectNextContour(const host::ge::Point3d& current, const std::vector<int>& indices,
                          host::ge::Point3d& targetPoint) const;
    // The same with the zone mode given (0 for the plain nearest choice, whatever the settings say).
    int SelectNextContour(const host::ge::Point3d& current, const std::vector<int>& indices,
                          host::ge::Point3d& targetPoint, int zoneMode) const;

    // The record index of the contour with this handle, or kNoContour.
    int IndexOfHandle(std::uint64_t handle) const;

    // The indexed choices: the answer of filling a list and choosing from it with zone mode 0, without the list.
    // `contour` is what SelectNextContour would answer (kNoContour for none; the target point is written only
    // when a contour is found) and `listed` whether the list would have held anything. Where the table's
    // enclosing links form a plain forest (every handle once, every enclosing handle naming a record, no circle)
    // the contours are found through a box tree nearest first, ties going to the earlier entry of the list as the
    // list would have been ordered; other tables, and ModeCutInnerContoursFirst (which reorders the list), fill
    // the list. The tree is built at the first indexed choice from the contours without a path then; it assumes
    // that while the search lives contours only gain their paths (a contour put back is not seen again).
    struct Choice {
        int contour = kNoContour;
        bool listed = false;
    };
    // CollectPartLeaves(partHandle) and then SelectNextContour(current, leaves, target, 0).
    Choice NearestLeaf(const host::ge::Point3d& current, std::uint64_t partHandle,
                       host::ge::Point3d& targetPoint) const;
    // CollectCutCandidates(phase) and then SelectNextContour(current, candidates, target, 0).
    Choice NearestCandidate(const host::ge::Point3d& current, int phase, host::ge::Point3d& targetPoint) const;

private:
    bool MayBeCut(int index) const;        // a part contour without a path that marking rules let through
    bool HasWorkInside(int index) const;   // some contour inside it still waits for its path
    bool MayBeChosen(int index) const;     // in the table, without a path, not a jumper point, of a shape with an aim
    // The point on contour i the approach aims at from `current` (start corner `corner`, 0 none); false when its
    // entity cannot be read.
    bool AimOf(int index, const host::ge::Point3d& current, int corner, host::ge::Point3d& aim) const;
    int SelectNearest(const host::ge::Point3d& current, const std::vector<int>& indices,
                      host::ge::Point3d& targetPoint) const;
    int SelectByZone(const host::ge::Point3d& current, const std::vector<int>& indices,
                     host::ge::Point3d& targetPoint, int zoneMode) const;

    const CuttingJob& job_;
    const CLaserSettings& settings_;
    int count_ = 0;
    // The records inside a given one: those of record i, topLevel_ for enclosing handle 0, and for an enclosing
    // handle of no record (a table built by hand) the records by that handle.
    std::span<const int> ChildrenOfHandle(std::uint64_t handle) const;
    // The same for the handle of record i, without a look-up.
    std::span<const int> ChildrenOfRecord(int i) const;

    std::unordered_map<std::uint64_t, int> byHandle_;                  // first record of each handle
    // Records by enclosing record, in one array: those inside record i are childList_[childStart_[i]] up to
    // childList_[childStart_[i + 1]], in table order (one block, so a walk over the sheet stays in the cache).
    std::vector<int> childStart_;
    std::vector<int> childList_;
    std::vector<int> topLevel_;                                        // records with enclosing handle 0
    std::vector<int> handleOwner_;                                     // per record: first record of its handle
    std::unordered_map<std::uint64_t, std::vector<int>> orphans_;      // records whose enclosing handle names none
    // Records met in the current walk of CollectPartLeaves (those marked with the walk's number), so that enclosing
    // links that run in a circle (a damaged table) cannot make the walk endless.
    mutable std::vector<unsigned> walkMark_;
    mutable unsigned walk_ = 0;
    mutable std::vector<int> walkList_;   // the walk's work list, kept between calls so it is not grown each time
    // The candidates of the current nearest choice with the squared distance of their boxes from the tool.
    struct BoxReach {
        int index;
        double squaredDistance;
    };
    mutable std::vector<BoxReach> boxReach_;

    // The indexed choices (next_contour_index.cpp).
    bool forest_ = false;                    // the enclosing links form a plain forest
    std::vector<int> breadthRank_;           // per record: its place in a breadth-first walk of the forest
    std::vector<int> enclosing_;             // per record: its enclosing record, kNoContour at the top level
    // The contours that could be cut when the first indexed choice was made, less those found cut since.
    mutable std::optional<NearestBoxTree> tree_;
    // Per record: how many of the contours inside it, in the order of its child list, are known to be beyond
    // cutting for the rest of the search (cut, or never to be cut).
    mutable std::vector<int> doneInside_;
    mutable std::vector<int> scratch_;       // the list of a choice that is not indexed
    void NoteForest();
    NearestBoxTree& Tree() const;
    // Whether some contour inside record i may still be cut, as HasWorkInside answers, in time that does not
    // grow with the number of contours inside it over a run.
    bool HasWorkInsideIndexed(int index) const;
    // Whether record i is one of the leaves CollectPartLeaves lists under record `top` (kNoContour: the sheet).
    bool IsLeafUnder(int index, int top) const;
    bool IsCandidate(int index, int phase) const;
    template <class Member, class Rank>
    Choice NearestIndexed(const host::ge::Point3d& current, Member member, Rank rank,
                          host::ge::Point3d& targetPoint) const;
};

// -1 when some contour of the current drawing's job that has no path yet cannot be found by its handle, has no
// entity name or is erased; 0 otherwise (also without a job or contours).
int CheckContoursErased(const CuttingJob& job);
