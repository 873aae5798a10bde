// Nesting quality and run time: the ESICUP strip-packing instances (shortest strip that takes every item, found by
// bisection on the stock length) and a fixed-sheet job set of our own, every layout checked by a polygon test that
// shares no code with the engine. Prints one table row per run; bench/README.md keeps the latest table.
//
// Usage: see kUsage below (nesting_bench --help).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/layout_files.h"
#include "host/ed/transcript.h"
#include "host/sys/random.h"
#include "nesting/engine/nesting_run.h"
#include "nesting/engine/rotation_rules.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/testing/job_builder.h"

namespace {

using host::ge::Point2d;
using Polygon = std::vector<Point2d>;
using Clock = std::chrono::steady_clock;

// Instance files are small; anything larger is not one of them.
constexpr std::uintmax_t kMaxInstanceBytes = 4 * 1024 * 1024;
constexpr int kMaxJsonDepth = 32;
// Instances are scaled so that the strip is at least this high: the engine's slide steps (0.1 in millimetres)
// are then small against the parts.
constexpr double kLeastStripHeight = 1000.0;
// Bisection ends when the bounds are this close (share of the lower bound).
constexpr double kLengthResolution = 0.002;
// The first strip is this much longer than the area bound; a strip too short for every item grows by the second.
constexpr double kFirstLengthFactor = 1.25;
constexpr double kGrowthFactor = 1.3;
constexpr double kSheetWidth = 2500.0;
constexpr double kSheetHeight = 1250.0;

constexpr const char* kUsage =
    "Usage: nesting_bench [--data DIR] [--budget SECONDS] [--quality 3,6,9] [--instances a,b,...] [--seed N]\n"
    "                     [--out DIR] [--strip-only | --fixed-only] [--scale 100,250,...] [--help]\n"
    "\n"
    "Measures the nesting engine: the ESICUP strip-packing instances of DIR (default bench/data/esicup; the\n"
    "shortest strip that takes every item, searched for SECONDS per instance and level, default 20) and our own\n"
    "fixed-sheet jobs, at the quality levels given (default 3,6,9). Prints one table row per instance or job and\n"
    "level; every layout is checked for overlaps by a polygon test of its own.\n"
    "\n"
    "  --instances a,b   only these strip instances (file names without .json)\n"
    "  --seed N          the engine's random sequence (default 1)\n"
    "  --out DIR         writes every reported layout as DIR/<name>-q<level>.svg (a picture) and .json (each\n"
    "                    placed part's type, instance, sheet, angle, position, outline and holes in sheet\n"
    "                    coordinates as vertices [x, y, bulge])\n"
    "  --strip-only      only the strip instances; --fixed-only: only the fixed-sheet jobs\n"
    "  --scale N,...     instead: shop-scale jobs of N plates and of N flanges on 3000 x 1500 sheets, part gap 5\n"
    "  --scale-jobs a,b  only these scale jobs (plates, flanges)\n"
    "  --help            this text\n"
    "\n"
    "OMP_NUM_THREADS sets the threads of the engine's parallel loops; NESTING_BENCH_VERBOSE=1 names the parts of\n"
    "every overlap found and traces every run of the strip search (stock length, parts placed, used length);\n"
    "NESTING_BENCH_VERBOSE=2 adds the engine's own pass traces of every run. NESTING_BENCH_DIGEST=1 prints a\n"
    "digest of the committed poses (stock, position and angle of every part, to the bit) after every run, for\n"
    "comparing the layouts of two builds.\n";

// FNV-1a over the bytes of the committed poses of every part (placed or not), in instance order.
std::uint64_t LayoutDigest(const CNestingEngine& engine) {
    std::uint64_t h = 1469598103934665603ULL;
    auto add = [&h](const void* data, std::size_t n) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t k = 0; k < n; ++k) {
            h = (h ^ bytes[k]) * 1099511628211ULL;
        }
    };
    for (int i = 0; i < engine.PartInstanceCount; ++i) {
        const PartInstance& instance = engine.PartInstances[static_cast<std::size_t>(i)];
        add(&instance.Placed, sizeof instance.Placed);
        add(&instance.Stock, sizeof instance.Stock);
        if (instance.CommittedPose) {
            add(&instance.CommittedPose->X, sizeof(double));
            add(&instance.CommittedPose->Y, sizeof(double));
            add(&instance.CommittedPose->Angle, sizeof(double));
        }
    }
    return h;
}

// With NESTING_BENCH_DIGEST set, prints the run's layout digest to the standard error.
void PrintDigest(const CNestingEngine& engine, const std::string& name, int quality, double length) {
    if (std::getenv("NESTING_BENCH_DIGEST") != nullptr) {
        std::fprintf(stderr, "digest %s q%d %.17g %016llx\n", name.c_str(), quality, length,
                     static_cast<unsigned long long>(LayoutDigest(engine)));
    }
}

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// [JSON] A strict reader of the small JSON subset of the instance files: objects, arrays, numbers, strings
// (escapes kept as read), true, false, null. Fails on anything else, on trailing text and on deep nesting.
struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    double number = 0.0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json* Field(const std::string& name) const {
        auto it = fields.find(name);
        return it == fields.end() ? nullptr : &it->second;
    }
};

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : text_(text) {}

    std::optional<Json> Read() {
        Json value;
        if (!Value(value, 0)) {
            return std::nullopt;
        }
        Skip();
        if (pos_ != text_.size()) {
            return std::nullopt;
        }
        return value;
    }

private:
    void Skip() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r' ||
                                       text_[pos_] == '\t')) {
            ++pos_;
        }
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (text_.compare(pos_, w.size(), w) != 0) {
            return false;
        }
        pos_ += w.size();
        return true;
    }
    bool String(std::string& out) {
        if (pos_ >= text_.size() || text_[pos_] != '"') {
            return false;
        }
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            if (text_[pos_] == '\\') {
                ++pos_;
            }
            if (pos_ < text_.size()) {
                out += text_[pos_++];
            }
        }
        if (pos_ >= text_.size()) {
            return false;
        }
        ++pos_;
        return true;
    }
    bool Value(Json& out, int depth) {
        if (depth > kMaxJsonDepth) {
            return false;
        }
        Skip();
        if (pos_ >= text_.size()) {
            return false;
        }
        const char c = text_[pos_];
        if (c == '{') {
            out.kind = Json::Kind::Object;
            ++pos_;
            Skip();
            if (pos_ < text_.size() && text_[pos_] == '}') {
                ++pos_;
                return true;
            }
            for (;;) {
                Skip();
                std::string name;
                if (!String(name)) {
                    return false;
                }
                Skip();
                if (pos_ >= text_.size() || text_[pos_] != ':') {
                    return false;
                }
                ++pos_;
                Json field;
                if (!Value(field, depth + 1)) {
                    return false;
                }
                out.fields[name] = std::move(field);
                Skip();
                if (pos_ < text_.size() && text_[pos_] == ',') {
                    ++pos_;
                    continue;
                }
                if (pos_ < text_.size() && text_[pos_] == '}') {
                    ++pos_;
                    return true;
                }
                return false;
            }
        }
        if (c == '[') {
            out.kind = Json::Kind::Array;
            ++pos_;
            Skip();
            if (pos_ < text_.size() && text_[pos_] == ']') {
                ++pos_;
                return true;
            }
            for (;;) {
                Json item;
                if (!Value(item, depth + 1)) {
                    return false;
                }
                out.items.push_back(std::move(item));
                Skip();
                if (pos_ < text_.size() && text_[pos_] == ',') {
                    ++pos_;
                    continue;
                }
                if (pos_ < text_.size() && text_[pos_] == ']') {
                    ++pos_;
                    return true;
                }
                return false;
            }
        }
        if (c == '"') {
            out.kind = Json::Kind::String;
            return String(out.text);
        }
        if (Literal("true") || Literal("false")) {
            out.kind = Json::Kind::Bool;
            return true;
        }
        if (Literal("null")) {
            return true;
        }
        const char* begin = text_.c_str() + pos_;
        char* end = nullptr;
        out.number = std::strtod(begin, &end);
        if (end == begin || !std::isfinite(out.number)) {
            return false;
        }
        out.kind = Json::Kind::Number;
        pos_ += static_cast<std::size_t>(end - begin);
        return true;
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

// [Instances] One strip-packing instance as read.
struct Item {
    int demand = 0;
    std::vector<double> orientations;  // degrees
    Polygon shape;
};
struct StripInstance {
    std::string name;
    double stripHeight = 0.0;
    std::vector<Item> items;
};

double SignedArea(const Polygon& p) {
    double a = 0.0;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        a += p[j].x * p[i].y - p[i].x * p[j].y;
    }
    return a / 2.0;
}

std::optional<StripInstance> ReadInstance(const std::filesystem::path& path, std::string& error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxInstanceBytes) {
        error = ec ? "cannot read the file" : "the file is larger than an instance can be";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    const std::optional<Json> root = JsonReader(text).Read();
    if (!root || root->kind != Json::Kind::Object) {
        error = "not a JSON object (malformed or cut short)";
        return std::nullopt;
    }
    StripInstance instance;
    const Json* name = root->Field("name");
    instance.name = name != nullptr && name->kind == Json::Kind::String ? name->text : path.stem().string();
    const Json* height = root->Field("strip_height");
    const Json* items = root->Field("items");
    if (height == nullptr || height->kind != Json::Kind::Number || !(height->number > 0.0) || items == nullptr ||
        items->kind != Json::Kind::Array) {
        error = "no positive strip_height or no items";
        return std::nullopt;
    }
    instance.stripHeight = height->number;
    for (const Json& entry : items->items) {
        Item item;
        const Json* demand = entry.Field("demand");
        const Json* orientations = entry.Field("allowed_orientations");
        const Json* shape = entry.Field("shape");
        const Json* data = shape != nullptr ? shape->Field("data") : nullptr;
        if (demand == nullptr || demand->kind != Json::Kind::Number || demand->number < 1 ||
            demand->number > kMaxPartInstances || data == nullptr || data->kind != Json::Kind::Array ||
            data->items.size() < 3) {
            error = "an item without a demand or a polygon";
            return std::nullopt;
        }
        item.demand = static_cast<int>(demand->number);
        if (orientations != nullptr) {
            for (const Json& o : orientations->items) {
                if (o.kind != Json::Kind::Number) {
                    error = "an allowed orientation that is not a number";
                    return std::nullopt;
                }
                item.orientations.push_back(o.number);
            }
        }
        for (const Json& point : data->items) {
            if (point.kind != Json::Kind::Array || point.items.size() != 2 ||
                point.items[0].kind != Json::Kind::Number || point.items[1].kind != Json::Kind::Number) {
                error = "a polygon point that is not [x, y]";
                return std::nullopt;
            }
            item.shape.push_back({point.items[0].number, point.items[1].number});
        }
        // A closing point that repeats the first is dropped; the contours are counter-clockwise.
        if (item.shape.front().x == item.shape.back().x && item.shape.front().y == item.shape.back().y) {
            item.shape.pop_back();
        }
        if (SignedArea(item.shape) < 0) {
            std::reverse(item.shape.begin(), item.shape.end());
        }
        instance.items.push_back(std::move(item));
    }
    return instance;
}

// [Check] Our own polygon test: no code of the engine's geometry.
struct Shape {
    Polygon outer;
    std::vector<Polygon> holes;
};

double Cross(Point2d o, Point2d a, Point2d b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// Whether the segments cross properly, each end strictly on its own side of the other (by more than eps).
bool SegmentsCross(Point2d p1, Point2d p2, Point2d q1, Point2d q2, double eps) {
    const double l1 = std::hypot(q2.x - q1.x, q2.y - q1.y), l2 = std::hypot(p2.x - p1.x, p2.y - p1.y);
    const double d1 = Cross(q1, q2, p1) / l1, d2 = Cross(q1, q2, p2) / l1;
    const double d3 = Cross(p1, p2, q1) / l2, d4 = Cross(p1, p2, q2) / l2;
    return ((d1 > eps && d2 < -eps) || (d1 < -eps && d2 > eps)) && ((d3 > eps && d4 < -eps) || (d3 < -eps && d4 > eps));
}

double DistanceToSegment(Point2d p, Point2d a, Point2d b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Inside by more than eps (a point on or near the boundary is not inside).
bool StrictlyInside(Point2d p, const Polygon& poly, double eps) {
    bool inside = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        if (DistanceToSegment(p, poly[j], poly[i]) <= eps) {
            return false;
        }
        if ((poly[i].y > p.y) != (poly[j].y > p.y) &&
            p.x < (poly[j].x - poly[i].x) * (p.y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x) {
            inside = !inside;
        }
    }
    return inside;
}

bool InMaterial(Point2d p, const Shape& s, double eps) {
    if (!StrictlyInside(p, s.outer, eps)) {
        return false;
    }
    for (const Polygon& hole : s.holes) {
        if (StrictlyInside(p, hole, -eps)) {
            return false;
        }
    }
    return true;
}

bool BoundariesCross(const Polygon& a, const Polygon& b, double eps) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) {
            if (SegmentsCross(a[i], a[(i + 1) % a.size()], b[j], b[(j + 1) % b.size()], eps)) {
                return true;
            }
        }
    }
    return false;
}

// A point of the shape's own material, just inside one of its outer edges (left of a counter-clockwise edge); the
// centroid will not do, as it can lie in a notch or a hole.
std::optional<Point2d> MaterialPoint(const Shape& s, double eps) {
    const double inset = 20.0 * eps;
    for (std::size_t i = 0; i < s.outer.size(); ++i) {
        const Point2d a = s.outer[i], b = s.outer[(i + 1) % s.outer.size()];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len <= 4.0 * inset) {
            continue;
        }
        const Point2d p{(a.x + b.x) / 2 - (b.y - a.y) / len * inset, (a.y + b.y) / 2 + (b.x - a.x) / len * inset};
        if (InMaterial(p, s, eps)) {
            return p;
        }
    }
    return std::nullopt;
}

// Two parts overlap when their boundaries cross, or a vertex or a material point of one lies in the other's
// material.
bool ShapesOverlap(const Shape& a, const Shape& b, double eps) {
    auto rings = [](const Shape& s) {
        std::vector<const Polygon*> r{&s.outer};
        for (const Polygon& h : s.holes) r.push_back(&h);
        return r;
    };
    for (const Polygon* ra : rings(a)) {
        for (const Polygon* rb : rings(b)) {
            if (BoundariesCross(*ra, *rb, eps)) {
                return true;
            }
        }
    }
    for (const Point2d& p : a.outer) {
        if (InMaterial(p, b, eps)) return true;
    }
    for (const Point2d& p : b.outer) {
        if (InMaterial(p, a, eps)) return true;
    }
    // Boundaries that do not cross and vertices that all lie on the other's boundary or outside: the shapes are
    // apart, or lie exactly on each other, which a point of one's material inside the other's tells.
    const std::optional<Point2d> pa = MaterialPoint(a, eps), pb = MaterialPoint(b, eps);
    return (pa && InMaterial(*pa, b, eps)) || (pb && InMaterial(*pb, a, eps));
}

Polygon Square(double x, double y, double side) {
    return {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
}

// The overlap test on cases whose answer is known; the benchmark runs only when it gives every answer.
bool OverlapTestAnswersKnownCases() {
    const Shape ring{Square(0, 0, 100), {Square(20, 20, 60)}};
    const Shape ell{{{0, 0}, {100, 0}, {100, 30}, {30, 30}, {30, 100}, {0, 100}}, {}};
    struct Case {
        Shape a, b;
        bool overlap;
    };
    const Case cases[] = {
        {{Square(0, 0, 10), {}}, {Square(5, 5, 10), {}}, true},      // corners crossing
        {{Square(0, 0, 10), {}}, {Square(0, 0, 10), {}}, true},      // one on the other exactly
        {{Square(0, 0, 10), {}}, {Square(2, 2, 6), {}}, true},       // one inside the other
        {{Square(0, 0, 10), {}}, {Square(10.01, 0, 10), {}}, false},  // side by side
        {ring, {Square(30, 30, 40), {}}, false},                     // in the ring's hole
        {ring, {Square(10, 10, 40), {}}, true},                      // across the hole's edge
        {ring, {Square(30, 30, 40), {Square(35, 35, 30)}}, false},    // a ring in the ring's hole
        {ell, {Square(40, 40, 50), {}}, false},                      // in the L's notch
        {ell, {Square(20, 40, 50), {}}, true},                       // across the L's arm
    };
    for (const Case& c : cases) {
        if (ShapesOverlap(c.a, c.b, 1e-6) != c.overlap || ShapesOverlap(c.b, c.a, 1e-6) != c.overlap) {
            return false;
        }
    }
    return true;
}

Polygon Posed(const Polygon& p, double x, double y, double angle) {
    Polygon out;
    const double c = std::cos(angle), s = std::sin(angle);
    for (const Point2d& q : p) {
        out.push_back({x + c * q.x - s * q.y, y + s * q.x + c * q.y});
    }
    return out;
}

struct LayoutCheck {
    int placed = 0;
    int overlaps = 0;
    int outside = 0;
    double usedLength = 0.0;
    double placedArea = 0.0;
};

// The geometry each part type was built from (the type's own coordinates), by type index in PartTypes.
using TypeShapes = std::vector<Shape>;

// Checks the parts placed on sheet `stock` against each other and against the sheet box [0, w] x [0, h].
// With `layout`, the sheet and its parts (posed as checked) are added to it.
LayoutCheck CheckSheet(const CNestingEngine& engine, const TypeShapes& shapes, int stock, double w, double h,
                       layout_files::Layout* layout = nullptr) {
    LayoutCheck check;
    std::vector<Shape> placed;
    std::vector<int> which;
    std::vector<std::array<double, 4>> boxes;
    const double eps = 1e-6 * std::max(w, h);
    for (int i = 0; i < engine.PartInstanceCount; ++i) {
        const PartInstance& instance = engine.PartInstances[static_cast<std::size_t>(i)];
        if (!instance.Placed || instance.Stock != stock || !instance.CommittedPose || instance.Type == nullptr ||
            instance.Type->Kind == kKindClamp) {
            continue;
        }
        const PartPose& pose = *instance.CommittedPose;
        const std::size_t t = static_cast<std::size_t>(instance.Type - engine.PartTypes.data());
        Shape s;
        s.outer = Posed(shapes[t].outer, pose.X, pose.Y, pose.Angle);
        for (const Polygon& hole : shapes[t].holes) {
            s.holes.push_back(Posed(hole, pose.X, pose.Y, pose.Angle));
        }
        std::array<double, 4> box{1e300, 1e300, -1e300, -1e300};
        for (const Point2d& p : s.outer) {
            box = {std::min(box[0], p.x), std::min(box[1], p.y), std::max(box[2], p.x), std::max(box[3], p.y)};
        }
        if (box[0] < -eps || box[1] < -eps || box[2] > w + eps || box[3] > h + eps) {
            ++check.outside;
        }
        check.usedLength = std::max(check.usedLength, box[2]);
        check.placedArea += instance.Type->Area;
        ++check.placed;
        if (layout != nullptr) {
            layout->parts.push_back({static_cast<int>(t), i, stock, pose.Angle * 180.0 / std::numbers::pi,
                                     {pose.X, pose.Y}, s.outer, s.holes});
        }
        placed.push_back(std::move(s));
        which.push_back(i);
        boxes.push_back(box);
    }
    if (layout != nullptr) {
        layout->sheets.push_back({stock, w, h, check.usedLength});
    }
    for (std::size_t i = 0; i < placed.size(); ++i) {
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            if (boxes[i][0] >= boxes[j][2] || boxes[j][0] >= boxes[i][2] || boxes[i][1] >= boxes[j][3] ||
                boxes[j][1] >= boxes[i][3]) {
                continue;
            }
            if (ShapesOverlap(placed[i], placed[j], eps)) {
                ++check.overlaps;
                if (std::getenv("NESTING_BENCH_VERBOSE") != nullptr) {
                    for (int n : {which[i], which[j]}) {
                        const PartInstance& p = engine.PartInstances[static_cast<std::size_t>(n)];
                        std::fprintf(stderr, "  overlap: instance %d type %d at (%.4f, %.4f) angle %.6f\n", n,
                                     p.Type->TypeIndex, p.CommittedPose->X, p.CommittedPose->Y,
                                     p.CommittedPose->Angle);
                    }
                }
            }
        }
    }
    return check;
}

// [Jobs] Making a job from polygons and running it.
Contour ContourOf(const Polygon& p) { return MakePolygon(p); }

// Moves the polygon so that its box centre is the origin, as the loader places a part's geometry.
Polygon Centred(const Polygon& p, double scale) {
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const Point2d& q : p) {
        minX = std::min(minX, q.x), minY = std::min(minY, q.y), maxX = std::max(maxX, q.x), maxY = std::max(maxY, q.y);
    }
    Polygon out;
    for (const Point2d& q : p) {
        out.push_back({(q.x - (minX + maxX) / 2) * scale, (q.y - (minY + maxY) / 2) * scale});
    }
    return out;
}

std::uint8_t RotationModeOf(const std::vector<double>& orientations) {
    if (orientations.size() <= 1) return kRotateNone;
    if (orientations.size() == 2) return kRotateSectorAnd180;
    return kRotateFull;
}

struct JobPart {
    Shape shape;
    double area = 0.0;
    int quantity = 0;
    std::vector<double> orientations;
};

// Fills a fresh engine with the parts and `sheets` rectangle sheets of w x h; answers the shapes by type index.
TypeShapes MakeJob(CNestingEngine& engine, const std::vector<JobPart>& parts, double w, double h, int sheets,
                   int quality) {
    TypeShapes shapes;
    for (const JobPart& part : parts) {
        PartType type = MakeType(kKindPart, ContourOf(part.shape.outer));
        for (const Polygon& hole : part.shape.holes) {
            AddHole(type, ContourOf(hole));
        }
        const std::uint8_t mode = RotationModeOf(part.orientations);
        if (part.orientations.size() > 2) {
            type.DeltaIndex = kDeltaQuarterTurn;
            type.RotationStep = DeltaStepDegrees(kDeltaQuarterTurn);
        }
        AddPartType(engine, type, part.quantity, 0, mode);
        shapes.push_back(part.shape);
    }
    AddStockType(engine, MakeRectangleType(kKindStock, w, h), sheets);
    AddInstances(engine);
    engine.QualityLevel = quality;
    engine.UseHole = 1;
    engine.HoleMode = 1;
    engine.UseCluster = 1;
    engine.RectMode = 0;
    engine.HalfPartGap = 0.0;
    engine.EdgeGap = 0.0;
    return shapes;
}

struct Options {
    std::filesystem::path data = "bench/data/esicup";
    double budget = 20.0;
    std::vector<int> qualities{3, 6, 9};
    std::vector<std::string> instances;
    std::uint32_t seed = 1;
    std::filesystem::path out;  // empty: no layout files
    bool help = false;
    bool strip = true;
    bool fixed = true;
    std::vector<int> scale;  // part counts of the scale jobs; empty: none
    std::vector<std::string> scaleJobs{"plates", "flanges"};
};

// Writes the layout's files when the options ask for them; a failure is told and the benchmark goes on.
void WriteLayoutFiles(const layout_files::Layout& layout, const Options& options) {
    if (options.out.empty()) {
        return;
    }
    std::string error;
    if (!layout_files::WriteLayout(layout, options.out, layout.job + "-q" + std::to_string(layout.quality), error)) {
        std::fprintf(stderr, "nesting_bench: %s\n", error.c_str());
    }
}

// [Strip] Shortest stock length that takes every item, by bisection within the budget.
void RunStrip(const StripInstance& instance, int quality, const Options& options) {
    const double scale = std::max(1.0, kLeastStripHeight / instance.stripHeight);
    const double height = instance.stripHeight * scale;
    std::vector<JobPart> parts;
    double totalArea = 0.0, longest = 0.0, sumLength = 0.0;
    int count = 0;
    for (const Item& item : instance.items) {
        JobPart part;
        part.shape.outer = Centred(item.shape, scale);
        part.area = SignedArea(part.shape.outer);
        part.quantity = item.demand;
        part.orientations = item.orientations;
        double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
        for (const Point2d& p : part.shape.outer) {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x), minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
        longest = std::max(longest, std::min(maxX - minX, maxY - minY));
        sumLength += std::max(maxX - minX, maxY - minY) * item.demand;
        totalArea += part.area * item.demand;
        count += item.demand;
        parts.push_back(std::move(part));
    }
    // No strip shorter than the items' area over its height (nor than the longest least side) can take them;
    // the sum of the items' long sides always can. The search starts a little above the lower bound and grows
    // until a run takes every item, then halves the interval between the longest failure and the shortest used
    // length of a success.
    const double bound = std::max(totalArea / height, longest);
    double low = bound;
    const double ceiling = std::max(sumLength, low);
    double high = 0.0;  // 0: no success yet
    double bestLength = 0.0;
    LayoutCheck best;
    layout_files::Layout bestLayout;
    bool searchedFromBound = false;
    int runs = 0, overlaps = 0, outside = 0;
    const Clock::time_point start = Clock::now();
    host::sys::seedRandom(options.seed);
    double length = std::min(kFirstLengthFactor * low, ceiling);
    while (true) {
        CNestingEngine engine;
        const TypeShapes shapes = MakeJob(engine, parts, length, height, 1, quality);
        RunNesting(engine);
        PrintDigest(engine, instance.name, quality, length);
        if (const char* v = std::getenv("NESTING_BENCH_VERBOSE"); v != nullptr && std::string(v) == "2") {
            std::fprintf(stderr, "  stock %.2f:\n%s\n", length / scale, host::ed::transcript().text().c_str());
        }
        host::ed::transcript().clear();  // the run's traces are not kept otherwise
        ++runs;
        layout_files::Layout layout{instance.name, quality, {}, {}};
        const LayoutCheck check = CheckSheet(engine, shapes, 0, length, height, &layout);
        overlaps += check.overlaps;
        outside += check.outside;
        if (std::getenv("NESTING_BENCH_VERBOSE") != nullptr) {
            std::fprintf(stderr, "  %s q%d run %d: stock %.2f, %d/%d placed, used length %.2f\n",
                         instance.name.c_str(), quality, runs, length / scale, check.placed, count,
                         check.usedLength / scale);
        }
        if (check.placed == count) {
            high = high == 0.0 ? check.usedLength : std::min(high, check.usedLength);
            if (bestLength == 0.0 || check.usedLength < bestLength) {
                searchedFromBound = false;
                bestLength = check.usedLength;
                best = check;
                bestLayout = std::move(layout);
            }
        } else {
            low = std::max(low, length);
            if (bestLength == 0.0 && check.placed > best.placed) {
                best = check;
                bestLayout = std::move(layout);
            }
        }
        if (Seconds(start) >= options.budget) {
            break;
        }
        if (high == 0.0) {
            if (length >= ceiling) {
                break;
            }
            length = std::min(length * kGrowthFactor, ceiling);
            continue;
        }
        // The engine is not monotone in the stock length: a longer stock may have failed where a success used
        // less, and a shorter one may succeed below a failure. The search then goes on below that success, from
        // the area bound: at once when the success used less than a failed stock, and once more when the
        // interval has closed on a failure, unless that was already done since the last better success.
        if (low >= high) {
            low = bound;
        }
        if (high - low <= kLengthResolution * low) {
            if (searchedFromBound || low <= bound) {
                break;
            }
            searchedFromBound = true;
            low = bound;
        }
        length = (low + high) / 2.0;
    }
    const double density = bestLength > 0 ? 100.0 * totalArea / (height * bestLength) : 0.0;
    std::printf("| %s | %d | %.2f | %.2f | %.1f | %d/%d | %d | %d | %d |\n", instance.name.c_str(), quality, density,
                bestLength / scale, Seconds(start), best.placed, count, overlaps, outside, runs);
    std::fflush(stdout);
    WriteLayoutFiles(bestLayout, options);
}

// [Fixed] Our own shop-like jobs on 2500 x 1250 sheets.
Polygon Rectangle(double w, double h) { return {{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}}; }
Polygon Ell(double w, double h, double t) {
    return Centred({{0, 0}, {w, 0}, {w, t}, {t, t}, {t, h}, {0, h}}, 1.0);
}
Polygon RegularPolygon(double r, int n, Point2d c = {}) {
    Polygon p;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        p.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    return p;
}
JobPart Flange(double r, double bore, double bolt, int quantity) {
    JobPart part;
    part.shape.outer = RegularPolygon(r, 32);
    part.shape.holes.push_back(RegularPolygon(bore, 32));
    for (int k = 0; k < 4; ++k) {
        const double a = std::numbers::pi / 4 + k * std::numbers::pi / 2;
        part.shape.holes.push_back(RegularPolygon(bolt, 12, {0.8 * r * std::cos(a), 0.8 * r * std::sin(a)}));
    }
    part.quantity = quantity;
    part.orientations = {0, 90, 180, 270};
    return part;
}
JobPart Plain(Polygon outer, int quantity, std::vector<double> orientations) {
    JobPart part;
    part.shape.outer = std::move(outer);
    part.quantity = quantity;
    part.orientations = std::move(orientations);
    return part;
}

struct FixedJob {
    std::string name;
    std::vector<JobPart> parts;
    int sheets;
};

std::vector<FixedJob> FixedJobs() {
    const std::vector<double> free{0, 90, 180, 270};
    return {
        {"rectangles", {Plain(Rectangle(600, 400), 12, free), Plain(Rectangle(300, 200), 30, free),
                        Plain(Rectangle(1200, 150), 6, free)}, 4},
        {"L-shapes", {Plain(Ell(500, 400, 120), 20, free), Plain(Ell(300, 300, 80), 25, free),
                      Plain(Rectangle(250, 120), 20, free)}, 4},
        {"flanges", {Flange(300, 160, 20, 10), Flange(150, 60, 12, 16), Plain(Rectangle(100, 60), 30, free)}, 4},
        {"mixed", {Flange(250, 140, 16, 6), Plain(Ell(600, 300, 100), 10, free), Plain(Rectangle(400, 400), 8, free),
                   Plain(Rectangle(150, 90), 40, free)}, 5},
    };
}

void RunFixed(const FixedJob& job, int quality, const Options& options) {
    host::sys::seedRandom(options.seed);
    CNestingEngine engine;
    int count = 0;
    for (const JobPart& part : job.parts) {
        count += part.quantity;
    }
    const TypeShapes shapes = MakeJob(engine, job.parts, kSheetWidth, kSheetHeight, job.sheets, quality);
    const Clock::time_point start = Clock::now();
    RunNesting(engine);
    const double seconds = Seconds(start);
    PrintDigest(engine, job.name, quality, 0.0);
    host::ed::transcript().clear();
    int placed = 0, overlaps = 0, outside = 0, used = 0;
    std::string use;
    layout_files::Layout layout{job.name, quality, {}, {}};
    for (int k = 0; k < engine.StockInstanceCount; ++k) {
        layout_files::Layout sheet{job.name, quality, {}, {}};
        const LayoutCheck check = CheckSheet(engine, shapes, k, kSheetWidth, kSheetHeight, &sheet);
        placed += check.placed;
        overlaps += check.overlaps;
        outside += check.outside;
        if (check.placed > 0) {
            layout.sheets.insert(layout.sheets.end(), sheet.sheets.begin(), sheet.sheets.end());
            layout.parts.insert(layout.parts.end(), sheet.parts.begin(), sheet.parts.end());
            ++used;
            char cell[32];
            std::snprintf(cell, sizeof cell, "%s%.1f", use.empty() ? "" : ", ",
                          100.0 * check.placedArea / (kSheetWidth * kSheetHeight));
            use += cell;
        }
    }
    std::printf("| %s | %d | %d | %s | %.1f | %d/%d | %d | %d |\n", job.name.c_str(), quality, used, use.c_str(),
                seconds, placed, count, overlaps, outside);
    std::fflush(stdout);
    WriteLayoutFiles(layout, options);
}

// [Scale] Many copies of one part on 3000 x 1500 sheets, part gap 5 (each outline grown by half the gap, as the
// loader offsets a drawing's contours): plates of 100 x 60 and flanges of radius 50 with a bore and four bolt
// holes, turning in steps of 90 degrees, pairs and hole filling on.
constexpr double kScaleSheetWidth = 3000.0;
constexpr double kScaleSheetHeight = 1500.0;
constexpr double kScaleHalfGap = 2.5;

void RunScale(const std::string& kind, int count, int quality, const Options& options) {
    const std::vector<double> free{0, 90, 180, 270};
    JobPart part;
    if (kind == "plates") {
        part = Plain(Rectangle(100 + 2 * kScaleHalfGap, 60 + 2 * kScaleHalfGap), count, free);
    } else {
        part = Flange(50 + kScaleHalfGap, 20 - kScaleHalfGap, 6 - kScaleHalfGap, count);
    }
    const double partArea = std::abs(SignedArea(part.shape.outer));
    // Enough sheets at a use of a half.
    const int sheets = static_cast<int>(std::ceil(count * partArea / (0.5 * kScaleSheetWidth * kScaleSheetHeight))) + 1;
    host::sys::seedRandom(options.seed);
    CNestingEngine engine;
    const TypeShapes shapes =
        MakeJob(engine, {part}, kScaleSheetWidth, kScaleSheetHeight, sheets, quality);
    const std::clock_t cpuStart = std::clock();
    const Clock::time_point start = Clock::now();
    RunNesting(engine);
    const double seconds = Seconds(start);
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const std::string name = kind + "-" + std::to_string(count);
    PrintDigest(engine, name, quality, 0.0);
    host::ed::transcript().clear();
    int placed = 0, overlaps = 0, outside = 0, used = 0;
    layout_files::Layout layout{name, quality, {}, {}};
    for (int k = 0; k < engine.StockInstanceCount; ++k) {
        layout_files::Layout sheet{name, quality, {}, {}};
        const LayoutCheck check = CheckSheet(engine, shapes, k, kScaleSheetWidth, kScaleSheetHeight, &sheet);
        placed += check.placed;
        overlaps += check.overlaps;
        outside += check.outside;
        if (check.placed > 0) {
            layout.sheets.insert(layout.sheets.end(), sheet.sheets.begin(), sheet.sheets.end());
            layout.parts.insert(layout.parts.end(), sheet.parts.begin(), sheet.parts.end());
            ++used;
        }
    }
    std::printf("| %s | %d | %d | %d | %.1f | %.1f | %d/%d | %d | %d | %016llx |\n", kind.c_str(), count, quality, used,
                seconds, cpu, placed, count, overlaps, outside,
                static_cast<unsigned long long>(LayoutDigest(engine)));
    std::fflush(stdout);
    WriteLayoutFiles(layout, options);
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (!item.empty()) out.push_back(item);
    }
    return out;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string(argv[++i]);
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--strip-only") {
            options.fixed = false;
        } else if (arg == "--fixed-only") {
            options.strip = false;
        } else if (arg == "--scale-jobs") {
            const std::optional<std::string> v = value();
            options.scaleJobs = v ? SplitList(*v) : std::vector<std::string>{};
            for (const std::string& job : options.scaleJobs) {
                if (job != "plates" && job != "flanges") {
                    std::fprintf(stderr, "nesting_bench: the scale jobs are plates and flanges, not '%s'\n", job.c_str());
                    return false;
                }
            }
        } else if (arg == "--scale") {
            const std::optional<std::string> v = value();
            if (!v) {
                std::fprintf(stderr, "nesting_bench: --scale needs a list of part counts\n");
                return false;
            }
            for (const std::string& n : SplitList(*v)) {
                char* end = nullptr;
                const long count = std::strtol(n.c_str(), &end, 10);
                if (*end != '\0' || count < 1 || count > 100000) {
                    std::fprintf(stderr, "nesting_bench: --scale takes part counts from 1 to 100000, not '%s'\n",
                                 n.c_str());
                    return false;
                }
                options.scale.push_back(static_cast<int>(count));
            }
            options.strip = false;
            options.fixed = false;
        } else if (arg == "--data" || arg == "--budget" || arg == "--quality" || arg == "--instances" ||
                   arg == "--seed" || arg == "--out") {
            const std::optional<std::string> v = value();
            if (!v) {
                std::fprintf(stderr, "nesting_bench: %s needs a value\n", arg.c_str());
                return false;
            }
            char* end = nullptr;
            if (arg == "--data") {
                options.data = *v;
            } else if (arg == "--out") {
                options.out = *v;
            } else if (arg == "--instances") {
                options.instances = SplitList(*v);
            } else if (arg == "--budget") {
                options.budget = std::strtod(v->c_str(), &end);
                if (*end != '\0' || !(options.budget > 0)) {
                    std::fprintf(stderr, "nesting_bench: --budget takes seconds above 0, not '%s'\n", v->c_str());
                    return false;
                }
            } else if (arg == "--seed") {
                options.seed = static_cast<std::uint32_t>(std::strtoul(v->c_str(), &end, 10));
                if (*end != '\0') {
                    std::fprintf(stderr, "nesting_bench: --seed takes a whole number, not '%s'\n", v->c_str());
                    return false;
                }
            } else {
                options.qualities.clear();
                for (const std::string& q : SplitList(*v)) {
                    const long level = std::strtol(q.c_str(), &end, 10);
                    if (*end != '\0' || level < kMinQualityLevel || level > kMaxQualityLevel) {
                        std::fprintf(stderr, "nesting_bench: quality levels run from %d to %d, not '%s'\n",
                                     kMinQualityLevel, kMaxQualityLevel, q.c_str());
                        return false;
                    }
                    options.qualities.push_back(static_cast<int>(level));
                }
            }
        } else {
            std::fprintf(stderr, "nesting_bench: unknown argument '%s' (--help lists the options)\n", arg.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!OverlapTestAnswersKnownCases()) {
        std::fprintf(stderr, "nesting_bench: the overlap test gives a wrong answer on a known case\n");
        return 1;
    }
    if (options.strip) {
        std::vector<std::filesystem::path> files;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(options.data, ec)) {
            if (entry.path().extension() == ".json") files.push_back(entry.path());
        }
        if (ec) {
            std::fprintf(stderr, "nesting_bench: cannot read the instance folder %s\n", options.data.c_str());
            return 1;
        }
        std::sort(files.begin(), files.end());
        std::printf("Strip packing, budget %.0f s per instance and level, seed %u\n\n", options.budget, options.seed);
        std::printf("| instance | quality | density %% | used length | time s | parts placed | overlaps | outside | runs |\n");
        std::printf("|---|---|---|---|---|---|---|---|---|\n");
        for (const auto& file : files) {
            if (!options.instances.empty() &&
                std::find(options.instances.begin(), options.instances.end(), file.stem().string()) ==
                    options.instances.end()) {
                continue;
            }
            std::string error;
            const std::optional<StripInstance> instance = ReadInstance(file, error);
            if (!instance) {
                std::fprintf(stderr, "nesting_bench: %s: %s; instance skipped\n", file.c_str(), error.c_str());
                continue;
            }
            for (int q : options.qualities) {
                RunStrip(*instance, q, options);
            }
        }
    }
    if (!options.scale.empty()) {
        std::printf("Scale jobs on %.0f x %.0f sheets, part gap 5, seed %u\n\n", kScaleSheetWidth, kScaleSheetHeight,
                    options.seed);
        std::printf("| job | parts | quality | sheets used | time s | CPU s | parts placed | overlaps | outside | digest |\n");
        std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
        for (const std::string& kind : options.scaleJobs) {
            for (int n : options.scale) {
                for (int q : options.qualities) {
                    RunScale(kind, n, q, options);
                }
            }
        }
    }
    if (options.fixed) {
        std::printf("\nFixed sheets of %.0f x %.0f, seed %u\n\n", kSheetWidth, kSheetHeight, options.seed);
        std::printf("| job | quality | sheets used | utilisation per sheet %% | time s | parts placed | overlaps | outside |\n");
        std::printf("|---|---|---|---|---|---|---|---|\n");
        for (const FixedJob& job : FixedJobs()) {
            for (int q : options.qualities) {
                RunFixed(job, q, options);
            }
        }
    }
    return 0;
}
