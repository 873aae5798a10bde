// Tracing the valid pieces of a raw offset into closed result contours.
#include <algorithm>
#include <span>

#include "nesting/geometry/contour_kernel.h"
#include "nesting/geometry/element_intersections.h"
#include "nesting/geometry/geometry_messages.h"
#include "nesting/geometry/offset_steps.h"

using host::ge::Point2d;

namespace {

bool takesPart(const ContourElement& e) { return e.Type >= kElementCircle && e.Type <= kElementArc; }

bool isStartRecord(const OffsetCrossing& r) { return r.Available == 1 && r.BeforeValid == 0 && r.AfterValid == 1; }
bool isEndRecord(const OffsetCrossing& r) { return r.Available == 1 && r.BeforeValid == 1 && r.AfterValid == 0; }

// Without crossings: the raw offset as it is, when its first point keeps the distance from the source.
int keepWholeRawOffset(OffsetWorkspace& state, const Contour& raw, const Contour& sourceCopy, double distance) {
    const auto first = std::find_if(raw.Elements.begin(), raw.Elements.end(), takesPart);
    if (first == raw.Elements.end()) return 0;
    for (const ContourElement& e : sourceCopy.Elements) {
        if (IsElementClearOfCircle(e, first->Start, distance - kOffsetWholeClearance) == 0) return 0;
    }
    Contour& entry = state.OffsetContours[0];
    entry = Contour{};
    entry.GeometryKind = raw.GeometryKind;
    std::copy_if(raw.Elements.begin(), raw.Elements.end(), std::back_inserter(entry.Elements), takesPart);
    state.OffsetContourCount = 1;
    return 1;
}

// The next raw element after `e` that takes part, wrapping to the first.
std::size_t nextTakingPart(const Contour& raw, std::size_t e) {
    const std::size_t count = raw.Elements.size();
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t candidate = (e + step) % count;
        if (takesPart(raw.Elements[candidate])) return candidate;
    }
    return e;
}

// How the search for the end of a stretch ended.
enum class EndSearch { Found, Abandoned, None };

// The end candidate after the start record s: the first available record, in sorted order and wrapping, with
// exactly one valid side; a record with no valid side abandons the start. A used record with one valid side is
// passed over (and only it: the record after it is looked at as any other).
EndSearch findEndCandidate(std::span<const OffsetCrossing> records, std::size_t s, std::size_t& j) {
    const std::size_t n = records.size();
    for (std::size_t step = 1; step <= n; ++step) {
        const std::size_t idx = (s + step) % n;
        const OffsetCrossing& r = records[idx];
        if (r.BeforeValid == 0 && r.AfterValid == 0) return EndSearch::Abandoned;
        if (r.BeforeValid == 1 && r.AfterValid == 1) continue;
        if (r.Available == 1) {
            j = idx;
            return EndSearch::Found;
        }
    }
    return EndSearch::None;
}

// How one trace from a start record ended.
enum class TraceEnd { Closed, Dropped, Stopped };

// Traces from start record s with end candidate j into `entry`. Its room bounds the trace: a trace whose branches
// never lead back to its start (an end candidate that is itself a start) is dropped instead of running on.
TraceEnd trace(std::span<OffsetCrossing> records, std::size_t s, std::size_t j, const Contour& raw,
               const Contour& src, Contour& entry) {
    const std::size_t n = records.size();
    const std::size_t room = std::max(n, raw.Elements.size()) + 1;
    const Point2d start = records[s].Point;
    std::size_t k = s;
    std::size_t e = static_cast<std::size_t>(records[k].ElementIndex);
    Point2d last = start;
    while (true) {
        if (entry.Elements.size() >= room) return TraceEnd::Dropped;
        ContourElement copy = raw.Elements[e];
        bool stretchEnds = false;
        if (e == static_cast<std::size_t>(records[k].ElementIndex) && records[k].BeforeValid == 0) {
            SetLogicalStart(copy, records[k].Point);
            records[k].Available = 0;
            last = records[k].Point;
        }
        if (e == static_cast<std::size_t>(records[j].ElementIndex) && records[j].BeforeValid == 1 &&
            records[j].AfterValid == 0) {
            SetLogicalEnd(copy, records[j].Point);
            records[j].Available = 0;
            last = records[j].Point;
            stretchEnds = true;
        }
        if (ContourHitsElement(src, copy) == 1) return TraceEnd::Dropped;
        entry.Elements.push_back(copy);
        if (!stretchEnds) {
            e = nextTakingPart(raw, e);
            continue;
        }
        if (PointsDiffer(last, start, kOffsetCloseGrid) == 0) return TraceEnd::Closed;
        // Jump at the crossing onto its other branch, and look for that branch's end.
        const auto branch = std::find_if(records.begin(), records.end(), [&](const OffsetCrossing& r) {
            return isStartRecord(r) && PointsDiffer(r.Point, last, kOffsetCloseGrid) == 0;
        });
        if (branch == records.end()) return TraceEnd::Stopped;
        k = static_cast<std::size_t>(branch - records.begin());
        e = static_cast<std::size_t>(records[k].ElementIndex);
        bool found = false;
        for (std::size_t step = 1; step <= n && !found; ++step) {
            const std::size_t idx = (k + step) % n;
            if (isEndRecord(records[idx])) {
                j = idx;
                found = true;
            }
        }
        if (!found) return TraceEnd::Stopped;
    }
}

}  // namespace

int BuildOffsetContours(OffsetWorkspace& state, const Contour& raw, const Contour& sourceCopy, const Contour& src,
                        double distance) {
    state.OffsetContourCount = 0;
    const std::size_t n = static_cast<std::size_t>(state.OffsetPieceCount);
    if (n == 0) return keepWholeRawOffset(state, raw, sourceCopy, distance);
    const std::span<OffsetCrossing> records(state.OffsetPieces.data(), n);
    Contour entry;
    while (true) {
        const auto first = std::find_if(records.begin(), records.end(), isStartRecord);
        if (first == records.end()) {
            if (state.OffsetContourCount == 0) return keepWholeRawOffset(state, raw, sourceCopy, distance);
            return state.OffsetContourCount;
        }
        const std::size_t s = static_cast<std::size_t>(first - records.begin());
        records[s].Available = 0;
        std::size_t j = 0;
        const EndSearch search = findEndCandidate(records, s, j);
        if (search == EndSearch::Abandoned) continue;
        if (search == EndSearch::None) return state.OffsetContourCount;

        entry = Contour{};
        entry.GeometryKind = raw.GeometryKind;
        const TraceEnd end = trace(records, s, j, raw, src, entry);
        if (end == TraceEnd::Stopped) return state.OffsetContourCount;
        if (end == TraceEnd::Dropped) continue;
        if (state.OffsetContourCount >= kOffsetContourCapacity) {
            PrintLocalized(kOffsetTooManyContours, kOffsetContourCapacity, kOffsetContourCapacity);
            return state.OffsetContourCount;
        }
        state.OffsetContours[static_cast<std::size_t>(state.OffsetContourCount++)] = std::move(entry);
    }
}
