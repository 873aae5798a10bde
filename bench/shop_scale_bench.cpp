// The cutting path at shop scale, in CPU seconds: contour creation and the automatic cutting order of mixed sheets
// of 2,500 to 20,000 parts with the growth between sizes, of a sheet of 100,000 small circles, and of a drawing
// whose contours are polylines of many small segments (some 222,000 segments in some 800 contours), as drawings of
// converted splines are.
//
//   shop_scale_bench [mixed PARTS ...] [circles COUNT] [segments PARTS]
//                    (default: mixed 2500 5000 10000 20000, circles 100000, segments 20)
//
// The mixed sheet holds four kinds of part in turn, rows of 100 parts 110 x 70 apart: a plate with a rounded
// corner, two holes and a slot (four contours), a plain rectangle (one), an L-shape with a hole (two), and a
// flange with a bore and three bolt holes (five): three contours a part. The segment drawing holds parts of a
// wavy outline of 5,900 segments with 40 wavy holes of 130 segments each.
//
// Goals: the 20,000-part sheet's contours and path under 5 s, growing by less than n^1.25 from 2,500 to 20,000
// parts; 100,000 circles under 10 s; the segment drawing's path under 10 s.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "bench/plate_sheet.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ed/documents.h"
#include "host/ed/transcript.h"
#include "laser/contours/contour_creation.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/automatic_cutting_order.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::ge::Point2d;
using host::ge::Point3d;
using bench_sheet::Append;

// Segments of a part's outline and of each of its 40 holes in the segment drawing.
constexpr int kOutlineSegments = 5900, kHoleSegments = 130;

// CPU seconds of the process so far (every thread).
double CpuSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return seconds(use.ru_utime) + seconds(use.ru_stime);
}

void Polygon(host::db::BlockTableRecord& space, const std::vector<Point2d>& points) {
    auto outline = std::make_unique<host::db::LwPolyline>();
    for (std::size_t k = 0; k < points.size(); ++k) outline->addVertexAt(static_cast<unsigned>(k), points[k], 0.0);
    outline->setClosed(true);
    Append(space, std::move(outline));
}

void CircleAt(host::db::BlockTableRecord& space, double x, double y, double r) {
    Append(space, std::make_unique<host::db::Circle>(Point3d(x, y, 0.0), r));
}

// The k-th part of the mixed sheet with its lower left corner at (x, y).
void DrawMixedPart(host::db::BlockTableRecord& space, double x, double y, int k) {
    switch (k % 4) {
        case 0: bench_sheet::DrawPart(space, x, y); break;
        case 1: Polygon(space, {{x, y}, {x + 100, y}, {x + 100, y + 60}, {x, y + 60}}); break;
        case 2:
            Polygon(space, {{x, y}, {x + 100, y}, {x + 100, y + 25}, {x + 30, y + 25}, {x + 30, y + 60}, {x, y + 60}});
            CircleAt(space, x + 15, y + 12, 6);
            break;
        default: {
            const double cx = x + 50, cy = y + 30;
            CircleAt(space, cx, cy, 29);
            CircleAt(space, cx, cy, 10);
            for (int b = 0; b < 3; ++b) {
                const double a = 2.0 * std::numbers::pi * b / 3.0;
                CircleAt(space, cx + 20 * std::cos(a), cy + 20 * std::sin(a), 3);
            }
            break;
        }
    }
}

// A closed outline about (cx, cy) of `segments` straight segments whose radius waves by 3 % about `r`.
std::vector<Point2d> WavyOutline(double cx, double cy, double r, int segments) {
    std::vector<Point2d> points;
    points.reserve(static_cast<std::size_t>(segments));
    for (int k = 0; k < segments; ++k) {
        const double a = 2.0 * std::numbers::pi * k / segments;
        const double rr = r * (1.0 + 0.03 * std::sin(37.0 * a));
        points.push_back({cx + rr * std::cos(a), cy + rr * std::sin(a)});
    }
    return points;
}

// Parts of the segment drawing: a wavy outline of radius 200 with 40 wavy holes of radius 12 in a 7-by-7 grid
// less its middle and corners, 480 apart.
void DrawSegmentParts(host::db::Database& db, int parts) {
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
    for (int p = 0; p < parts; ++p) {
        const double cx = (p % 5) * 480.0, cy = (p / 5) * 480.0;
        Polygon(*space, WavyOutline(cx, cy, 200.0, kOutlineSegments));
        int holes = 0;
        for (int i = -3; i <= 3 && holes < 40; ++i) {
            for (int j = -3; j <= 3 && holes < 40; ++j) {
                if ((i == 0 && j == 0) || (std::abs(i) == 3 && std::abs(j) == 3)) continue;
                Polygon(*space, WavyOutline(cx + 40.0 * i, cy + 40.0 * j, 12.0, kHoleSegments));
                ++holes;
            }
        }
    }
}

struct Timing {
    int contours = 0;
    int segments = 0;
    double creation = 0.0, order = 0.0;   // CPU seconds
    double wall = 0.0;
};

template <class Draw>
Timing Run(Draw draw) {
    host::ed::documents().closeAll();
    host::ed::transcript().clear();
    host::db::Database& db = host::ed::documents().newDocument()->database();
    CLaserSettings& settings = LaserSettings();
    OnLoadDrawing(settings);
    draw(db);
    Timing t;
    const auto wallStart = std::chrono::steady_clock::now();
    double cpu = CpuSeconds();
    CreateContours();
    t.creation = CpuSeconds() - cpu;
    const CuttingJob* job = CurrentJob(settings);
    t.contours = job != nullptr ? job->contourCount : 0;
    cpu = CpuSeconds();
    SliceAuto();
    t.order = CpuSeconds() - cpu;
    t.wall = bench_sheet::SecondsSince(wallStart);
    OnUnloadDrawing(settings);
    return t;
}

void PrintRow(const char* what, long count, const Timing& t) {
    std::printf("%-10s %8ld %9d %12.3f %12.3f %12.3f %10.3f\n", what, count, t.contours, t.creation, t.order,
                t.creation + t.order, t.wall);
}

double Exponent(double t1, double t2, double n1, double n2) { return std::log(t2 / t1) / std::log(n2 / n1); }

}  // namespace

int main(int argc, char** argv) {
    const bench_sheet::Session session("shop_scale_bench.reg");
    std::vector<int> mixed;
    int circles = -1, segmentParts = -1;
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "circles") == 0 && k + 1 < argc) {
            circles = std::atoi(argv[++k]);
        } else if (std::strcmp(argv[k], "segments") == 0 && k + 1 < argc) {
            segmentParts = std::atoi(argv[++k]);
        } else if (std::strcmp(argv[k], "mixed") == 0) {
            while (k + 1 < argc && std::atoi(argv[k + 1]) > 0) mixed.push_back(std::atoi(argv[++k]));
        }
    }
    if (argc <= 1) {
        mixed = {2500, 5000, 10000, 20000};
        circles = 100000;
        segmentParts = 20;
    }

    std::printf("%-10s %8s %9s %12s %12s %12s %10s\n", "drawing", "parts", "contours", "contours s", "order s",
                "CPU s", "wall s");
    std::vector<std::pair<int, Timing>> sheets;
    for (const int parts : mixed) {
        const Timing t = Run([&](host::db::Database& db) { bench_sheet::DrawRows(db, parts, DrawMixedPart); });
        PrintRow("mixed", parts, t);
        sheets.emplace_back(parts, t);
    }
    if (sheets.size() >= 2) {
        std::printf("growth of the mixed sheet's CPU time, t ~ n^k:\n");
        for (std::size_t k = 1; k < sheets.size(); ++k) {
            const auto& [n1, a] = sheets[k - 1];
            const auto& [n2, b] = sheets[k];
            std::printf("  %6d to %6d parts: k = %.2f (contours %.2f, order %.2f)\n", n1, n2,
                        Exponent(a.creation + a.order, b.creation + b.order, n1, n2),
                        Exponent(a.creation, b.creation, n1, n2), Exponent(a.order, b.order, n1, n2));
        }
        const auto& [n1, a] = sheets.front();
        const auto& [n2, b] = sheets.back();
        const double k = Exponent(a.creation + a.order, b.creation + b.order, n1, n2);
        std::printf("  %6d to %6d parts: k = %.2f (goal: below 1.25)\n", n1, n2, k);
        if (n2 >= 20000 && b.creation + b.order >= 5.0) std::printf("  the %d-part sheet takes 5 s or more\n", n2);
    }
    if (circles > 0) {
        const int perRow = static_cast<int>(std::ceil(std::sqrt(double(circles))));
        const Timing t = Run([&](host::db::Database& db) {
            host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
            for (int k = 0; k < circles; ++k) CircleAt(*space, (k % perRow) * 8.0, (k / perRow) * 8.0, 2.0);
        });
        PrintRow("circles", circles, t);
        if (t.creation + t.order >= 10.0) std::printf("  %d circles take 10 s or more\n", circles);
    }
    if (segmentParts > 0) {
        const Timing t = Run([&](host::db::Database& db) { DrawSegmentParts(db, segmentParts); });
        std::printf("(segment drawing: %d segments)\n", segmentParts * (kOutlineSegments + 40 * kHoleSegments));
        PrintRow("segments", segmentParts, t);
        if (t.order >= 10.0) std::printf("  the segment drawing's path takes 10 s or more\n");
    }
    return 0;
}
