// The simple nearest-first order, the cheapest-insertion order, and the contours waiting inside a contour.
#include "laser/path/cutting_order_variants.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cadlib/numbers.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/contour_path.h"
#include "laser/path/cutting_order_messages.h"
#include "laser/path/cutting_order_support.h"
#include "laser/path/lead_plan.h"
#include "laser/path/next_contour.h"
#include "laser/path/start_point.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

namespace {

// The contours both orders take: those of the heat-treatment phase.
constexpr int kOrderPhase = kPhaseHeatTreatment;

// The seed of a start point found again in the insertion order: so far away that any vertex of the contour beats
// it, so the answer depends on the neighbours alone.
const Point3d kFarSeed(9999999.9, 9999999.9, 0.0);

// The bound of an order's loop: every turn makes a contour pending or writes one, so twice the table and a few more
// turns are enough; the bound guards against a fault only.
long MaxTurns(const CuttingJob& job) { return 4L * (std::max(job.contourCount, 0) + 4); }

// The simple order's loop. The pending contour P is chosen and marked processed; its path is written once the
// contour after it is known, so its start point weighs the way on as well as the way in.
void RunSimpleOrder(CLaserSettings& settings, CuttingJob& job) {
    const NextContourSearch search(job, settings);
    OrderedPathWriter writer(job);
    Point3d tool = job.currentPoint;        // where the tool stands before P
    Point3d reference = tool;               // the point on P the next contour is sought from; P's start point
    Point3d target = tool;                  // the point the approach to the next contour aims at
    int pending = kNoContour;               // P
    for (long turn = 0; turn < MaxTurns(job); ++turn) {
        // The candidates are asked for afresh every turn.
        const NextContourSearch::Choice choice = search.NearestCandidate(reference, kOrderPhase, target);
        if (!choice.listed) break;
        int next = choice.contour;
        if (pending == kNoContour) {
            if (next == kNoContour) break;
            reference = target;
            pending = next;
            job.contours[static_cast<std::size_t>(next)].processed = 1;
            continue;
        }
        const int answer = FindStartPoint(tool, reference, target, pending);
        if (answer == kStartPointOpenLine) {
            // An open line ends away from its start, so the contour chosen after it was chosen from the wrong
            // place: the line is cut at once and the next contour is sought from where its cut ended.
            writer.Write(reference, pending);
            tool = reference = job.currentPoint;
            pending = kNoContour;
            continue;
        }
        if (answer == kStartPointChosen) {
            // The cut of a closed contour ends where it starts: seek the next contour from there.
            const int again = search.NearestCandidate(reference, kOrderPhase, target).contour;
            if (again != kNoContour) next = again;
        }
        writer.Write(reference, pending);
        tool = job.currentPoint;
        reference = target;
        pending = next;
        if (next == kNoContour) break;
        job.contours[static_cast<std::size_t>(next)].processed = 1;
    }
    // The last contour: nothing follows it, so only the way in counts.
    if (pending != kNoContour) {
        FindStartPoint(tool, reference, target, pending);
        writer.Write(reference, pending);
    }
    writer.ReleaseHeld();
}

// One stop of the insertion tour: a contour and the point its cut starts at.
struct TourStop {
    int contour;
    Point3d start;
};

// Finds again the start point of tour[k], knowing the stop before it (`from` for the first) and the one after it
// (none for the last: then the way in alone counts). A contour that gives no start point keeps the one it had.
void FindTourStart(const CuttingJob& job, const CLaserSettings& settings, const Point3d& from,
                   std::vector<TourStop>& tour, std::size_t k) {
    const Point3d a = k == 0 ? from : tour[k - 1].start;
    const Point3d b = k + 1 < tour.size() ? tour[k + 1].start : a;
    Point3d start = kFarSeed;
    FindStartPointInJob(job, settings, a, start, b, tour[k].contour);
    if (start != kFarSeed) tour[k].start = start;
}

std::vector<TourStop> BuildInsertionTour(const CuttingJob& job, const CLaserSettings& settings) {
    const NextContourSearch search(job, settings);
    std::vector<int> candidates;
    search.CollectCutCandidates(candidates, kOrderPhase);
    const Point3d from = job.currentPoint;
    std::vector<TourStop> entries;   // every candidate with its entry point nearest the tool
    for (const int i : candidates) {
        Point3d entry;
        if (NearestEntryPoint(job, from, entry, i) == 0) entries.push_back({i, entry});
    }
    if (entries.empty()) return {};
    std::size_t first = 0;
    for (std::size_t k = 1; k < entries.size(); ++k) {
        if (Distance2d(from, entries[k].start) < Distance2d(from, entries[first].start)) first = k;
    }
    std::vector<TourStop> tour{entries[first]};
    FindTourStart(job, settings, from, tour, 0);
    std::vector<Point3d> starts;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (k == first) continue;
        starts.clear();
        for (const TourStop& stop : tour) starts.push_back(stop.start);
        const std::size_t at = CheapestInsertionPosition(from, starts, entries[k].start);
        tour.insert(tour.begin() + static_cast<std::ptrdiff_t>(at), entries[k]);
        FindTourStart(job, settings, from, tour, at);
        if (at > 0) FindTourStart(job, settings, from, tour, at - 1);
        if (at + 1 < tour.size()) FindTourStart(job, settings, from, tour, at + 1);
    }
    return tour;
}

}  // namespace

int SliceAutoSimple() {
    CLaserSettings& settings = LaserSettings();
    bool erased = false;
    CuttingJob* job = BeginCuttingOrder(settings, &kSimpleOrderProfilesErasedText, erased);
    if (job == nullptr) return erased ? -1 : 0;
    {
        const LeadObstacleIndexScope index(*job);
        RunSimpleOrder(settings, *job);
    }
    EndCuttingOrder(settings);
    return 0;
}

int SliceAutoByInsertion() {
    CLaserSettings& settings = LaserSettings();
    bool erased = false;
    CuttingJob* job = BeginCuttingOrder(settings, nullptr, erased);
    if (job == nullptr) return 0;
    {
        const LeadObstacleIndexScope index(*job);
        const std::vector<TourStop> tour = BuildInsertionTour(*job, settings);
        OrderedPathWriter writer(*job);
        for (const TourStop& stop : tour) writer.Write(stop.start, stop.contour);
        writer.ReleaseHeld();
    }
    EndCuttingOrder(settings);
    return 0;
}

std::size_t CheapestInsertionPosition(const Point3d& from, std::span<const Point3d> stops, const Point3d& p) {
    std::size_t best = stops.size();
    double bestDetour = 0.0;
    for (std::size_t k = 0; k <= stops.size(); ++k) {
        const Point3d& a = k == 0 ? from : stops[k - 1];
        const double detour = k < stops.size()
                                  ? Distance2d(a, p) + Distance2d(p, stops[k]) - Distance2d(a, stops[k])
                                  : Distance2d(a, p);
        if (k == 0 || detour < bestDetour) {   // strictly smaller: of equal detours the earlier position wins
            best = k;
            bestDetour = detour;
        }
    }
    return best;
}

int CollectUnprocessedChildren(std::vector<int>& indices, int contourIndex) {
    indices.clear();
    const CuttingJob* job = CurrentJob(LaserSettings());
    if (job == nullptr) return 0;
    // The table's own count is trusted only as far as the records it holds; an index outside it names no contour.
    const int count = std::clamp(job->contourCount, 0, static_cast<int>(job->contours.size()));
    if (contourIndex < -1 || contourIndex >= count) return 0;
    const std::uint64_t handle =
        contourIndex == -1 ? 0 : job->contours[static_cast<std::size_t>(contourIndex)].handle;
    for (int j = 0; j < count; ++j) {
        const ContourRecord& r = job->contours[static_cast<std::size_t>(j)];
        if (j != contourIndex && r.processed == 0 && r.parentHandle == handle) indices.push_back(j);
    }
    return static_cast<int>(indices.size());
}

void ProbeUnprocessedChildren() {
    std::vector<int> indices;
    CollectUnprocessedChildren(indices, -1);
}
