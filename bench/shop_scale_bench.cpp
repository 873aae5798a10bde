// The cutting path at shop scale, in CPU seconds: contour creation and the automatic cutting order of mixed sheets
// of 2,500 to 20,000 parts with the growth between sizes, of a sheet of 100,000 small circles, and of a drawing
// whose contours are polylines of many small segments (some 222,000 segments in some 800 contours), as drawings of
// converted splines are.
//
//   shop_scale_bench [mixed PARTS ...] [random PARTS ...] [circles COUNT] [segments PARTS] [dense PARTS]
//                    [nc DIR]
//                    (default: mixed 2500 5000 10000 20000, random 20000, circles 100000, segments 20, dense 20)
//
// `nc DIR` writes each drawing's program, after the timed run, through data/post/FANUC.MXT (run from the
// repository's root) as DIR/<drawing>-<parts>.nc, and its entities with their geometry to the last bit as
// DIR/<drawing>-<parts>.entities, so that two builds can be compared byte for byte.
//
// The mixed sheet holds four kinds of part in turn, rows of 100 parts 110 x 70 apart: a plate with a rounded
// corner, two holes and a slot (four contours), a plain rectangle (one), an L-shape with a hole (two), and a
// flange with a bore and three bolt holes (five): three contours a part. The segment drawing holds parts of a
// wavy outline of 5,900 segments with 40 wavy holes of 130 segments each.
//
// The random sheet holds the same four kinds as a nest leaves them: in a random order (fixed seed), four in five
// turned by a random angle and the others upright, each put as low as it goes on a 15,000 mm wide sheet, left to
// right in turn, with its box 5 mm clear of the boxes below and beside it. The dense drawing is the segment drawing
// shrunk to fit within 35 x 40 mm (a drawing of converted splines whose units were left out), cut with the leads
// of millimetre settings, so that every lead reaches over many holes.
//
// Goals: the 20,000-part sheet's contours and path under 5 s, growing by less than n^1.25 from 2,500 to 20,000
// parts, and the random 20,000-part sheet's under 5 s; 100,000 circles under 10 s; the segment drawing's path
// under 10 s, and the dense drawing's contours and path under 10 s.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numbers>
#include <random>
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
#include "laser/nc/nc_program_creation.h"
#include "laser/path/automatic_cutting_order.h"
#include "laser/post/postprocessor_file.h"
#include "laser/post/postprocessor_runtime.h"
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

// The random sheet (see the opening comment): `parts` parts of the mixed kinds, each turned about the middle of
// its 100 x 60 footprint and put as low as it goes, left to right in turn, its box 5 mm clear of the others.
void DrawRandomSheet(host::db::Database& db, int parts) {
    constexpr double kSheetWidth = 15000.0, kClear = 5.0, kWidth = 100.0, kHeight = 60.0;
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
    std::mt19937 rng(20261211u);
    const auto uniform = [&rng] { return double(rng()) / 4294967296.0; };   // in [0, 1)
    // The top of the placed boxes over each millimetre of the sheet's width (-kClear where nothing lies yet).
    std::vector<double> skyline(static_cast<std::size_t>(kSheetWidth), -kClear);
    double cursor = 0.0;
    for (int k = 0; k < parts; ++k) {
        const int kind = static_cast<int>(rng() % 4u);
        const double angle = uniform() < 0.8 ? 2.0 * std::numbers::pi * uniform() : 0.0;
        const double c = std::abs(std::cos(angle)), s = std::abs(std::sin(angle));
        const double w = kWidth * c + kHeight * s, h = kWidth * s + kHeight * c;
        if (cursor + w > kSheetWidth) cursor = 0.0;
        const std::size_t from = static_cast<std::size_t>(cursor);
        const std::size_t to = std::min(skyline.size(), static_cast<std::size_t>(std::ceil(cursor + w)) + 1);
        double bottom = 0.0;
        for (std::size_t x = from; x < to; ++x) bottom = std::max(bottom, skyline[x] + kClear);
        for (std::size_t x = from; x < to; ++x) skyline[x] = bottom + h;
        // The footprint's middle goes to the middle of the box.
        const host::ge::Matrix3d place =
            host::ge::Matrix3d::translation({cursor + w / 2 - kWidth / 2, bottom + h / 2 - kHeight / 2, 0.0}) *
            host::ge::Matrix3d::rotation(angle, host::ge::Vector3d::kZAxis(), Point3d(kWidth / 2, kHeight / 2, 0.0));
        const std::size_t first = space->entityCount();
        DrawMixedPart(*space, 0.0, 0.0, kind);
        const std::vector<host::db::ObjectId>& ids = space->entityList();
        for (std::size_t i = first; i < ids.size(); ++i) {
            host::db::ObjectPtr<host::db::Entity> e(ids[i], host::db::OpenMode::Write);
            if (e) e->transformBy(place);
        }
        cursor += w + kClear;
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
// less its middle and corners, 480 apart; every length times `scale`.
void DrawSegmentParts(host::db::Database& db, int parts, double scale = 1.0) {
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
    const double pitch = 480.0 * scale, r = 200.0 * scale, holePitch = 40.0 * scale, holeR = 12.0 * scale;
    for (int p = 0; p < parts; ++p) {
        const double cx = (p % 5) * pitch, cy = (p / 5) * pitch;
        Polygon(*space, WavyOutline(cx, cy, r, kOutlineSegments));
        int holes = 0;
        for (int i = -3; i <= 3 && holes < 40; ++i) {
            for (int j = -3; j <= 3 && holes < 40; ++j) {
                if ((i == 0 && j == 0) || (std::abs(i) == 3 && std::abs(j) == 3)) continue;
                Polygon(*space, WavyOutline(cx + holePitch * i, cy + holePitch * j, holeR, kHoleSegments));
                ++holes;
            }
        }
    }
}

// The scale that shrinks the segment drawing of `parts` parts to fit within 35 x 40.
double DenseScale(int parts) {
    const int columns = std::min(parts, 5), rows = (parts + 4) / 5;
    const double reach = 200.0 * 1.03;   // the outline's largest radius
    const double width = (columns - 1) * 480.0 + 2 * reach, height = (rows - 1) * 480.0 + 2 * reach;
    return std::min(35.0 / width, 40.0 / height);
}

struct Timing {
    int contours = 0;
    int segments = 0;
    double creation = 0.0, order = 0.0;   // CPU seconds
    double wall = 0.0;
};

// Writes the program of the current job to `path` through data/post/FANUC.MXT; false with a message when it
// cannot.
bool WriteProgram(const std::filesystem::path& path) {
    CLaserSettings& settings = LaserSettings();
    CuttingJob* job = CurrentJob(settings);
    const std::filesystem::path postFile = "data/post/FANUC.MXT";
    PostprocessorSettings post;
    PostprocessorRuntime runtime;
    SetCuttingModeTexts(runtime);
    if (job == nullptr || ReadPostprocessorFile(post, postFile) != 0 ||
        PreparePostprocessorRuntime(post, postFile.filename().string(), runtime) != 0) {
        std::fprintf(stderr, "%s not written: no job, or %s does not load (run from the repository root)\n",
                     path.c_str(), postFile.c_str());
        return false;
    }
    NcOutputState state;
    state.Job = job;
    NcRun run{state, runtime, settings, job, nullptr};
    std::string error;
    if (!WriteNcProgramFile(path, run, true, job->pathGroupCount, error)) {
        std::fprintf(stderr, "%s not written: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

// Writes every entity of the drawing's model space in its order to `path`, with its layer and its geometry to
// the last bit: the contours and the path (lines, arcs, rapids), so that two builds' paths can be compared
// exactly where the program rounds to its decimals.
bool WriteEntities(const std::filesystem::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (f == nullptr) return false;
    host::db::Database& db = host::ed::documents().current()->database();
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Read);
    for (const host::db::ObjectId id : space->entityIds()) {
        host::db::ObjectPtr<host::db::Entity> e(id, host::db::OpenMode::Read);
        if (!e) continue;
        std::fprintf(f, "%s %s", e->className(), e->layer().c_str());
        if (const auto* line = dynamic_cast<const host::db::Line*>(e.get())) {
            std::fprintf(f, " %a %a %a %a", line->start().x, line->start().y, line->end().x, line->end().y);
        } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(e.get())) {
            std::fprintf(f, " %a %a %a %a %a", arc->center().x, arc->center().y, arc->radius(), arc->startAngle(),
                         arc->endAngle());
        } else if (const auto* circle = dynamic_cast<const host::db::Circle*>(e.get())) {
            std::fprintf(f, " %a %a %a", circle->center().x, circle->center().y, circle->radius());
        } else if (const auto* polyline = dynamic_cast<const host::db::LwPolyline*>(e.get())) {
            for (const auto& v : polyline->vertices()) std::fprintf(f, " %a %a %a", v.point.x, v.point.y, v.bulge);
        }
        std::fputc('\n', f);
    }
    std::fclose(f);
    return true;
}

// Where `nc DIR` writes the programs; empty: nowhere.
std::filesystem::path programFolder;

template <class Draw>
Timing Run(const char* what, long count, Draw draw) {
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
    if (!programFolder.empty()) {
        const std::string name = std::string(what) + "-" + std::to_string(count);
        WriteProgram(programFolder / (name + ".nc"));
        WriteEntities(programFolder / (name + ".entities"));
    }
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
    std::vector<int> mixed, randomSheets;
    int circles = -1, segmentParts = -1, denseParts = -1;
    bool sizes = false;
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "nc") == 0 && k + 1 < argc) {
            programFolder = argv[++k];
            std::filesystem::create_directories(programFolder);
            continue;
        }
        sizes = true;
        if (std::strcmp(argv[k], "circles") == 0 && k + 1 < argc) {
            circles = std::atoi(argv[++k]);
        } else if (std::strcmp(argv[k], "segments") == 0 && k + 1 < argc) {
            segmentParts = std::atoi(argv[++k]);
        } else if (std::strcmp(argv[k], "dense") == 0 && k + 1 < argc) {
            denseParts = std::atoi(argv[++k]);
        } else if (std::strcmp(argv[k], "mixed") == 0) {
            while (k + 1 < argc && std::atoi(argv[k + 1]) > 0) mixed.push_back(std::atoi(argv[++k]));
        } else if (std::strcmp(argv[k], "random") == 0) {
            while (k + 1 < argc && std::atoi(argv[k + 1]) > 0) randomSheets.push_back(std::atoi(argv[++k]));
        }
    }
    if (!sizes) {
        mixed = {2500, 5000, 10000, 20000};
        randomSheets = {20000};
        circles = 100000;
        segmentParts = 20;
        denseParts = 20;
    }

    std::printf("%-10s %8s %9s %12s %12s %12s %10s\n", "drawing", "parts", "contours", "contours s", "order s",
                "CPU s", "wall s");
    std::vector<std::pair<int, Timing>> sheets;
    for (const int parts : mixed) {
        const Timing t = Run("mixed", parts, [&](host::db::Database& db) { bench_sheet::DrawRows(db, parts, DrawMixedPart); });
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
    for (const int parts : randomSheets) {
        const Timing t = Run("random", parts, [&](host::db::Database& db) { DrawRandomSheet(db, parts); });
        PrintRow("random", parts, t);
        if (parts >= 20000 && t.creation + t.order >= 5.0) std::printf("  the random %d-part sheet takes 5 s or more\n", parts);
    }
    if (circles > 0) {
        const int perRow = static_cast<int>(std::ceil(std::sqrt(double(circles))));
        const Timing t = Run("circles", circles, [&](host::db::Database& db) {
            host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
            for (int k = 0; k < circles; ++k) CircleAt(*space, (k % perRow) * 8.0, (k / perRow) * 8.0, 2.0);
        });
        PrintRow("circles", circles, t);
        if (t.creation + t.order >= 10.0) std::printf("  %d circles take 10 s or more\n", circles);
    }
    if (segmentParts > 0) {
        const Timing t = Run("segments", segmentParts, [&](host::db::Database& db) { DrawSegmentParts(db, segmentParts); });
        std::printf("(segment drawing: %d segments)\n", segmentParts * (kOutlineSegments + 40 * kHoleSegments));
        PrintRow("segments", segmentParts, t);
        if (t.order >= 10.0) std::printf("  the segment drawing's path takes 10 s or more\n");
    }
    if (denseParts > 0) {
        const double scale = DenseScale(denseParts);
        const Timing t = Run("dense", denseParts, [&](host::db::Database& db) { DrawSegmentParts(db, denseParts, scale); });
        std::printf("(dense drawing: the segment drawing times %.5f)\n", scale);
        PrintRow("dense", denseParts, t);
        if (t.creation + t.order >= 10.0) std::printf("  the dense drawing takes 10 s or more\n");
    }
    return 0;
}
