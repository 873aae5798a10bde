// The pairwise crossing scan of drawn lines, arcs and circles (parallel for large tables), and the creation-mode
// check that reports what it found.
#include "laser/contours/line_intersection_check.h"

#include <omp.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <string>

#include "cadlib/circle_intersections.h"
#include "cadlib/line_intersections.h"
#include "cadlib/messages.h"
#include "cadlib/point_equality.h"
#include "cadlib/segment_box.h"
#include "host/db/database.h"
#include "host/ui/message_box.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

namespace {

const TwoLanguageText kLinesIntersect = {
    "\nERROR!!!\nTHE LINES INTERSECT! \nCONTOURS NOT CREATED!",
    "\nОШИБКА!!!\nЛИНИИ ПЕРЕСЕКАЮТСЯ! \nКОНТУРЫ НЕ СОЗДАНЫ!",
};
const TwoLanguageText kCorrectIntersections = {
    "\n\nCorrect the intersections and repeat the contour creation command.",
    "\n\nИсправьте пересечения и повторите команду создания контуров.",
};
const TwoLanguageText kUseCheckCommand = {
    "\nTo speed up the correction of intersection lines, use the command - Check Intersect contours",
    "\nДля быстрого исправления пересечений используйте команду - Проверка пересечений контуров",
};
// The pieces checked are the drawn objects (lines, arcs, circles) before they are joined: many more than the
// contours that creation counts later ("All contours = ..."), so the line names them as objects.
const TwoLanguageText kCheckedCount = {
    "\r\nChecked drawn objects = %i, intersections = %i  ",
    "\r\nПроверено объектов чертежа = %i, пересечений = %i  ",
};
// The count line when the scan found more pairs than the table holds: the table's count would understate them.
const TwoLanguageText kCheckedCountOverflow = {
    "\r\nChecked drawn objects = %i, intersections = more than %i  ",
    "\r\nПроверено объектов чертежа = %i, пересечений = больше %i  ",
};
const TwoLanguageText kNoIntersections = {
    "\n\rIntersected contours are not present.\n\r",
    "\n\rПересекающихся контуров нет.\n\r",
};
const TwoLanguageText kTooManyPairs = {
    "\n\rMore than %i intersections were found; the first %i are listed.",
    "\n\rНайдено больше %i пересечений; в списке первые %i.",
};

struct Box {
    double minX, minY, maxX, maxY;
};

// A line's box is that of its ends; an arc's and a circle's that of the full circle.
Box BoxOf(const ContourEntity& e) {
    if (e.type == kEntityLine) {
        return {std::min(e.startPoint.x, e.endPoint.x), std::min(e.startPoint.y, e.endPoint.y),
                std::max(e.startPoint.x, e.endPoint.x), std::max(e.startPoint.y, e.endPoint.y)};
    }
    return {e.center.x - e.radius, e.center.y - e.radius, e.center.x + e.radius, e.center.y + e.radius};
}

// The crossing points of two pieces in first/second order: 0, 1 or 2 of them.
int CrossingPoints(const ContourEntity& first, const ContourEntity& second, Point3d& p1, Point3d& p2) {
    auto oneOrTwo = [](int result) {
        if (result == kIntersectOne || result == kIntersectTouch) return 1;
        if (result == kIntersectTwo) return 2;
        return 0;
    };
    Point3d a2 = first.endPoint;  // the segment routines may snap a nearly vertical segment's second end
    if (first.type == kEntityLine && second.type == kEntityLine) {
        Point3d b2 = second.endPoint;
        return IntersectSegments(first.startPoint, a2, second.startPoint, b2, p1) == kIntersectOne ? 1 : 0;
    }
    if (first.type == kEntityLine && second.type == kEntityArc) {
        return oneOrTwo(IntersectSegmentArc(first.startPoint, a2, second.center, second.radius, second.startPoint,
                                            second.endPoint, p1, p2));
    }
    if (first.type == kEntityLine) {
        return oneOrTwo(IntersectSegmentCircle(first.startPoint, a2, second.center, second.radius, p1, p2));
    }
    if (first.type == kEntityArc && second.type == kEntityArc) {
        return oneOrTwo(IntersectArcs(first.center, first.radius, first.startAngle, first.endAngle, second.center,
                                      second.radius, second.startAngle, second.endAngle, p1, p2));
    }
    if (first.type == kEntityArc) {
        return oneOrTwo(IntersectArcCircle(first.center, first.radius, first.startAngle, first.endAngle,
                                           second.center, second.radius, p1, p2));
    }
    return oneOrTwo(IntersectCircles(first.center, first.radius, second.center, second.radius, p1, p2));
}

// Which of two pieces is first: a line before an arc before a circle; of two lines the later one, of two arcs or
// two circles the earlier one.
bool IsFirst(const ContourEntity& a, int ia, const ContourEntity& b, int ib) {
    auto rank = [](std::uint8_t type) { return type == kEntityLine ? 0 : type == kEntityArc ? 1 : 2; };
    if (rank(a.type) != rank(b.type)) return rank(a.type) < rank(b.type);
    return a.type == kEntityLine ? ia > ib : ia < ib;
}

// Appends the crossings of i and j (i < j) to `out`, up to `limit`. Answers false when one was left out.
bool AppendCrossings(const ContourEntityStage& stage, int i, int j, std::vector<IntersectionPair>& out,
                     std::size_t limit) {
    const ContourEntity& pi = stage.ContourEntityTable[static_cast<std::size_t>(i)];
    const ContourEntity& pj = stage.ContourEntityTable[static_cast<std::size_t>(j)];
    const bool iFirst = IsFirst(pi, i, pj, j);
    const ContourEntity& first = iFirst ? pi : pj;
    const ContourEntity& second = iFirst ? pj : pi;
    Point3d points[2];
    const int n = CrossingPoints(first, second, points[0], points[1]);
    bool complete = true;
    for (int k = 0; k < n; ++k) {
        const Point3d& p = points[k];
        const Point3d ends[4] = {first.startPoint, first.endPoint, second.startPoint, second.endPoint};
        bool atAnEnd = false;
        double nearest = 0.0;
        for (int e = 0; e < 4; ++e) {
            if (PointsDifferAtPrecision(p, ends[e], kCrossingEndPrecision) == 0) atAnEnd = true;
            const double d = p.distanceTo(ends[e]);
            if (e == 0 || d < nearest) nearest = d;
        }
        if (atAnEnd) continue;
        if (out.size() >= limit) {
            complete = false;
            continue;
        }
        IntersectionPair pair;
        pair.firstIndex = static_cast<std::uint32_t>(iFirst ? i : j);
        pair.secondIndex = static_cast<std::uint32_t>(iFirst ? j : i);
        pair.firstName = first.entityName;
        pair.secondName = second.entityName;
        pair.crossingX = p.x;
        pair.crossingY = p.y;
        pair.nearestEndDistance = nearest;
        out.push_back(pair);
    }
    return complete;
}

// The boxes of the taking-part pieces in a grid of square cells, so that each piece meets only the pieces whose
// boxes share a cell with its own instead of every later piece. Boxes that would cover very many cells (a stock
// outline across the sheet) and boxes that are not finite are kept apart and are candidates for every piece, so
// the candidates are always a superset of the overlapping boxes; they are taken in index order, so the scan finds
// the same pairs in the same order as the pairwise walk.
class BoxGrid {
public:
    explicit BoxGrid(const ContourEntityStage& stage) {
        const int count = stage.ContourEntityCount;
        boxes_.resize(static_cast<std::size_t>(count));
        takes_.resize(static_cast<std::size_t>(count), 0);
        std::vector<double> sizes;
        double minX = 0, minY = 0, maxX = 0, maxY = 0;
        bool any = false;
        for (int i = 0; i < count; ++i) {
            const ContourEntity& e = stage.ContourEntityTable[static_cast<std::size_t>(i)];
            if (!TakesPartInCrossingScan(e)) continue;
            const Box b = BoxOf(e);
            boxes_[static_cast<std::size_t>(i)] = b;
            takes_[static_cast<std::size_t>(i)] = 1;
            if (!Finite(b)) continue;
            sizes.push_back(std::max(b.maxX - b.minX, b.maxY - b.minY));
            if (!any) minX = b.minX, minY = b.minY, maxX = b.maxX, maxY = b.maxY;
            minX = std::min(minX, b.minX), minY = std::min(minY, b.minY);
            maxX = std::max(maxX, b.maxX), maxY = std::max(maxY, b.maxY);
            any = true;
        }
        if (!sizes.empty()) {
            std::nth_element(sizes.begin(), sizes.begin() + sizes.size() / 2, sizes.end());
            const double spread = std::sqrt((maxX - minX) * (maxY - minY) / static_cast<double>(sizes.size()));
            cell_ = std::max({sizes[sizes.size() / 2], spread, 1e-9});
        }
        originX_ = minX, originY_ = minY;
        for (int i = 0; i < count; ++i) {
            if (!takes_[static_cast<std::size_t>(i)]) continue;
            const Box& b = boxes_[static_cast<std::size_t>(i)];
            long long x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            if (!CellRange(b, x0, y0, x1, y1) || (x1 - x0 + 1) * (y1 - y0 + 1) > kMostCellsPerBox) {
                everywhere_.push_back(i);
                continue;
            }
            for (long long x = x0; x <= x1; ++x) {
                for (long long y = y0; y <= y1; ++y) cells_[Key(x, y)].push_back(i);
            }
        }
    }

    const Box& BoxAt(int i) const { return boxes_[static_cast<std::size_t>(i)]; }

    // The taking-part pieces after i whose boxes may meet i's, ascending, each once.
    void Candidates(int i, std::vector<int>& out) const {
        out.clear();
        for (int j : everywhere_) {
            if (j > i) out.push_back(j);
        }
        long long x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        if (!CellRange(BoxAt(i), x0, y0, x1, y1) || (x1 - x0 + 1) * (y1 - y0 + 1) > kMostCellsPerBox) {
            // A box across much of the sheet: every later piece is a candidate.
            out.clear();
            for (int j = i + 1; j < static_cast<int>(boxes_.size()); ++j) {
                if (takes_[static_cast<std::size_t>(j)]) out.push_back(j);
            }
            return;
        }
        for (long long x = x0; x <= x1; ++x) {
            for (long long y = y0; y <= y1; ++y) {
                const auto it = cells_.find(Key(x, y));
                if (it == cells_.end()) continue;
                for (int j : it->second) {
                    if (j > i) out.push_back(j);
                }
            }
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }

private:
    static constexpr long long kMostCellsPerBox = 64;
    static constexpr double kCellIndexLimit = 1e15;

    static bool Finite(const Box& b) {
        return std::isfinite(b.minX) && std::isfinite(b.minY) && std::isfinite(b.maxX) && std::isfinite(b.maxY);
    }
    // The cells a box covers; false for a box that has no place in the grid.
    bool CellRange(const Box& b, long long& x0, long long& y0, long long& x1, long long& y1) const {
        if (!Finite(b)) return false;
        const double fx0 = std::floor((b.minX - originX_) / cell_), fy0 = std::floor((b.minY - originY_) / cell_);
        const double fx1 = std::floor((b.maxX - originX_) / cell_), fy1 = std::floor((b.maxY - originY_) / cell_);
        for (double f : {fx0, fy0, fx1, fy1}) {
            if (!(std::fabs(f) < kCellIndexLimit)) return false;
        }
        x0 = static_cast<long long>(fx0), y0 = static_cast<long long>(fy0);
        x1 = static_cast<long long>(fx1), y1 = static_cast<long long>(fy1);
        return true;
    }
    static std::uint64_t Key(long long x, long long y) {
        return static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(y);
    }

    std::vector<Box> boxes_;
    std::vector<char> takes_;  // the piece takes part in the scan
    std::unordered_map<std::uint64_t, std::vector<int>> cells_;
    std::vector<int> everywhere_;
    double cell_ = 1.0, originX_ = 0.0, originY_ = 0.0;
};

// The crossings of piece i with the later pieces the grid offers, as FindEntityCrossings finds them.
bool FindGridCrossings(const ContourEntityStage& stage, const BoxGrid& grid, int i, std::vector<int>& candidates,
                       std::vector<IntersectionPair>& out) {
    grid.Candidates(i, candidates);
    const Box& bi = grid.BoxAt(i);
    bool complete = true;
    for (int j : candidates) {
        const Box& bj = grid.BoxAt(j);
        if (!BoxesOverlap(bi.minX, bi.minY, bi.maxX, bi.maxY, bj.minX, bj.minY, bj.maxX, bj.maxY)) continue;
        if (!AppendCrossings(stage, i, j, out, kIntersectionPairCapacity)) complete = false;
    }
    return complete;
}

// Keeps the thread settings of the calling thread and gives them back when the scan ends.
class ThreadSettingsGuard {
public:
    ThreadSettingsGuard() : dynamic_(omp_get_dynamic()) { omp_set_dynamic(0); }
    ~ThreadSettingsGuard() { omp_set_dynamic(dynamic_); }
    ThreadSettingsGuard(const ThreadSettingsGuard&) = delete;
    ThreadSettingsGuard& operator=(const ThreadSettingsGuard&) = delete;

private:
    int dynamic_;
};

}  // namespace

IntersectionPairTable& IntersectionPairs() {
    static IntersectionPairTable table;
    return table;
}

bool TakesPartInCrossingScan(const ContourEntity& piece) {
    if (piece.type != kEntityLine && piece.type != kEntityArc && piece.type != kEntityCircle) return false;
    const int kind = static_cast<int>(piece.kind);
    if (kind == 1 || kind == 2 || kind == 26 || kind == 27) return false;
    return kind < 5 || kind > 21;
}

bool FindEntityCrossings(const ContourEntityStage& stage, int i, double minX, double minY, double maxX, double maxY,
                         std::vector<IntersectionPair>& out, std::size_t limit) {
    bool complete = true;
    for (int j = i + 1; j < stage.ContourEntityCount; ++j) {
        const ContourEntity& pj = stage.ContourEntityTable[static_cast<std::size_t>(j)];
        if (!TakesPartInCrossingScan(pj)) continue;
        const Box b = BoxOf(pj);
        if (!BoxesOverlap(minX, minY, maxX, maxY, b.minX, b.minY, b.maxX, b.maxY)) continue;
        if (!AppendCrossings(stage, i, j, out, limit)) complete = false;
    }
    return complete;
}

void ScanEntityCrossings(const ContourEntityStage& stage, IntersectionPairTable& table) {
    table.pairs.clear();
    table.overflowed = false;
    const host::db::Database* db = host::db::workingDatabase();
    table.drawingSerial = db ? db->serial() : 0;
    const int count = stage.ContourEntityCount;

    const BoxGrid grid(stage);
    auto scanRange = [&stage, &grid](int from, int to, std::vector<IntersectionPair>& out) {
        bool complete = true;
        std::vector<int> candidates;
        for (int i = from; i < to; ++i) {
            if (!TakesPartInCrossingScan(stage.ContourEntityTable[static_cast<std::size_t>(i)])) continue;
            if (!FindGridCrossings(stage, grid, i, candidates, out)) complete = false;
        }
        return complete;
    };

    if (count < kParallelScanThreshold) {
        table.overflowed = !scanRange(0, count, table.pairs);
    } else {
        // Each thread scans one contiguous block of pieces into its own list; the lists joined in block order
        // give exactly the order of a single-threaded scan. A block's list needs no more than the table holds:
        // whatever lies beyond that could never be among the first pairs of the whole scan.
        ThreadSettingsGuard guard;
        const int threads = omp_get_max_threads();
        std::vector<std::vector<IntersectionPair>> found(static_cast<std::size_t>(threads));
        std::vector<char> complete(static_cast<std::size_t>(threads), 1);
#pragma omp parallel num_threads(threads)
        {
            const int t = omp_get_thread_num();
            const int n = omp_get_num_threads();
            const int from = static_cast<int>(static_cast<long long>(count) * t / n);
            const int to = static_cast<int>(static_cast<long long>(count) * (t + 1) / n);
            complete[static_cast<std::size_t>(t)] = scanRange(from, to, found[static_cast<std::size_t>(t)]) ? 1 : 0;
        }
        for (std::size_t t = 0; t < found.size(); ++t) {
            for (const IntersectionPair& pair : found[t]) {
                if (table.pairs.size() < kIntersectionPairCapacity) {
                    table.pairs.push_back(pair);
                } else {
                    table.overflowed = true;
                }
            }
            if (!complete[t]) table.overflowed = true;
        }
    }
    if (table.overflowed) {
        const int capacity = static_cast<int>(kIntersectionPairCapacity);
        PrintLocalized(kTooManyPairs, capacity, capacity);
    }
}

int CheckLineIntersectionsOnCreation(ContourEntityStage& stage, IntersectionPairTable& table) {
    ScanEntityCrossings(stage, table);
    const int found = static_cast<int>(table.pairs.size());
    if (found > 0) {
        host::ui::messageBox(std::string(Localized(kLinesIntersect)) + Localized(kCorrectIntersections) +
                                 Localized(kUseCheckCommand),
                             "", host::ui::MB_OK | host::ui::MB_ICONERROR);
    }
    if (table.overflowed) {
        PrintLocalized(kCheckedCountOverflow, stage.ContourEntityCount, static_cast<int>(kIntersectionPairCapacity));
    } else {
        PrintLocalized(kCheckedCount, stage.ContourEntityCount, found);
    }
    if (found > 0) return found;
    PrintLocalized(kNoIntersections);
    CLaserSettings& settings = LaserSettings();
    if (DrawingSlot* slot = CurrentSlot(settings)) ++slot->changeCounter;
    WriteJobData(settings);
    return 0;
}
