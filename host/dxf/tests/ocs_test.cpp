// Object coordinates in drawing files: circles, arcs, texts, attributes and block references whose normal is not
// (0,0,1) have their points in the plane of the normal in a file, and at world points in the drawing; polyline
// vertices stay plane coordinates; lines, points, multi-line texts, ellipses and splines are world points in both.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entity_groups.h"
#include "host/dxf/dxf_file.h"
#include "host/dxf/tests/sample_drawing.h"

namespace host::dxf {
namespace {

using ge::Point3d;
using ge::Vector3d;
using testing::kPython;

const std::filesystem::path kFixture = KESTRION_SOURCE_DIR "/host/dxf/tests/fixtures/ezdxf_ocs.dxf";
// Points converted between planes come back within rounding; 1e-9 is far above it and far below any drawing unit.
constexpr double kNear = 1e-9;
const Point3d kNoPoint(std::numeric_limits<double>::quiet_NaN(), 0, 0);

// The entity on `layer` (each entity of the fixtures has a layer of its own), or nullptr.
const db::Entity* entityOnLayer(const db::Database& d, std::string_view layer) {
    for (db::ObjectId id : d.allObjectIds()) {
        const auto* e = dynamic_cast<const db::Entity*>(d.peek(id));
        if (e && e->layer() == layer) return e;
    }
    return nullptr;
}

// The points a case looks at; kNoPoint for an entity of another kind, so that the case fails and says so.
template <class T>
const T* as(const db::Entity& e) {
    return dynamic_cast<const T*>(&e);
}
Point3d circleCentre(const db::Entity& e) { return as<db::Circle>(e) ? as<db::Circle>(e)->center() : kNoPoint; }
Point3d arcCentre(const db::Entity& e) { return as<db::Arc>(e) ? as<db::Arc>(e)->center() : kNoPoint; }
Point3d arcStart(const db::Entity& e) { return as<db::Arc>(e) ? as<db::Arc>(e)->startPoint() : kNoPoint; }
Point3d arcEnd(const db::Entity& e) { return as<db::Arc>(e) ? as<db::Arc>(e)->endPoint() : kNoPoint; }
Point3d textPosition(const db::Entity& e) { return as<db::Text>(e) ? as<db::Text>(e)->position() : kNoPoint; }
Point3d textAlignment(const db::Entity& e) { return as<db::Text>(e) ? as<db::Text>(e)->alignmentPoint() : kNoPoint; }
Point3d insertPosition(const db::Entity& e) {
    return as<db::BlockReference>(e) ? as<db::BlockReference>(e)->position() : kNoPoint;
}
Point3d lwVertex0(const db::Entity& e) {
    const auto* p = as<db::LwPolyline>(e);
    if (!p || p->numVerts() == 0) return kNoPoint;
    return {p->vertices()[0].point.x, p->vertices()[0].point.y, p->elevation()};
}
Point3d polylineVertex0(const db::Entity& e) {
    const auto* p = as<db::PolylineWithVertices>(e);
    if (!p || p->vertexIds().empty()) return kNoPoint;
    const auto* v = dynamic_cast<const db::PolylineVertex*>(e.database()->peek(p->vertexIds()[0]));
    return v ? v->position() : kNoPoint;
}
Point3d polylineElevation(const db::Entity& e) {
    const auto* p = as<db::PolylineWithVertices>(e);
    return p ? Point3d(0, 0, p->elevation()) : kNoPoint;
}
Point3d lineStart(const db::Entity& e) { return as<db::Line>(e) ? as<db::Line>(e)->start() : kNoPoint; }
Point3d lineEnd(const db::Entity& e) { return as<db::Line>(e) ? as<db::Line>(e)->end() : kNoPoint; }
Point3d pointPosition(const db::Entity& e) {
    return as<db::PointEntity>(e) ? as<db::PointEntity>(e)->position() : kNoPoint;
}
Point3d mtextLocation(const db::Entity& e) { return as<db::MText>(e) ? as<db::MText>(e)->location() : kNoPoint; }
Point3d ellipseCentre(const db::Entity& e) { return as<db::Ellipse>(e) ? as<db::Ellipse>(e)->center() : kNoPoint; }
Point3d splineControl1(const db::Entity& e) {
    const auto* s = as<db::Spline>(e);
    return s && s->controlPoints().size() > 1 ? s->controlPoints()[1] : kNoPoint;
}

void expectNear(const Point3d& actual, const Point3d& expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, kNear) << what;
    EXPECT_NEAR(actual.y, expected.y, kNear) << what;
    EXPECT_NEAR(actual.z, expected.z, kNear) << what;
}

// The fixture was drawn by ezdxf in a plane whose normal points down and in a plane tilted to (1,-2,2): each
// entity's world points are the ones make_ocs_fixture.py chose, whatever the file holds for them.
TEST(ObjectCoordinates, FileOfAnotherProgramOpensAtWorldPoints) {
    const ReadResult read = readDxfFile(kFixture);
    ASSERT_TRUE(read) << read.error;
    // The tilted plane's axes by the arbitrary-axis rule: x = (0,0,1) x n, y = n x x, for n = (1,-2,2) / 3.
    const double s5 = std::sqrt(5.0);
    const Vector3d tiltX(2 / s5, 1 / s5, 0), tiltY(-2 / (3 * s5), 4 / (3 * s5), 5 / (3 * s5));
    struct Case {
        const char* layer;
        const char* what;
        Point3d (*get)(const db::Entity&);
        Point3d expected;
    };
    const Case cases[] = {
        // Object coordinates in the file, world points in the drawing.
        {"CIRCLE_DOWN", "centre (the file has -10,5)", circleCentre, {10, 5, 0}},
        {"CIRCLE_TILTED", "centre", circleCentre, {10, 5, 0}},
        {"ARC_DOWN", "centre", arcCentre, {20, 5, 0}},
        {"ARC_DOWN", "start at 0 degrees, along the plane's x axis (-1,0,0)", arcStart, {18, 5, 0}},
        {"ARC_DOWN", "end at 90 degrees", arcEnd, {20, 7, 0}},
        {"ARC_TILTED", "centre", arcCentre, {20, 5, 0}},
        {"ARC_TILTED", "start", arcStart, Point3d(20, 5, 0) + tiltX * 2},
        {"ARC_TILTED", "end", arcEnd, Point3d(20, 5, 0) + tiltY * 2},
        {"TEXT_DOWN", "position", textPosition, {30, 5, 1}},
        {"TEXT_DOWN", "alignment point", textAlignment, {40, 5, 1}},
        {"TEXT_TILTED", "position", textPosition, {30, 5, 1}},
        {"TEXT_TILTED", "alignment point", textAlignment, {40, 5, 1}},
        {"ATTDEF_DOWN", "position in the block", textPosition, {1, 2, 3}},
        {"ATTDEF_TILTED", "position in the block", textPosition, {1, 2, 3}},
        {"INSERT_DOWN", "insertion point", insertPosition, {50, 5, 2}},
        {"INSERT_TILTED", "insertion point", insertPosition, {50, 5, 2}},
        {"ATTRIB_DOWN", "position", textPosition, {51, 6, 2}},
        {"ATTRIB_TILTED", "position", textPosition, {51, 6, 2}},
        // Plane coordinates in the file and in the drawing.
        {"LWPOLYLINE_DOWN", "first vertex at the elevation", lwVertex0, {1, 2, 7}},
        {"LWPOLYLINE_TILTED", "first vertex at the elevation", lwVertex0, {1, 2, 7}},
        {"POLYLINE_DOWN", "first vertex", polylineVertex0, {5, 6, 0}},
        {"POLYLINE_DOWN", "elevation", polylineElevation, {0, 0, 9}},
        {"POLYLINE_TILTED", "first vertex", polylineVertex0, {5, 6, 0}},
        {"POLYLINE_TILTED", "elevation", polylineElevation, {0, 0, 9}},
        // World points in the file whatever the normal.
        {"LINE_DOWN", "start", lineStart, {1, 2, 3}},
        {"LINE_TILTED", "end", lineEnd, {4, 5, 6}},
        {"POINT_DOWN", "position", pointPosition, {7, 8, 9}},
        {"POINT_TILTED", "position", pointPosition, {7, 8, 9}},
        {"MTEXT_DOWN", "location", mtextLocation, {11, 12, 13}},
        {"MTEXT_TILTED", "location", mtextLocation, {11, 12, 13}},
        {"ELLIPSE_DOWN", "centre", ellipseCentre, {14, 15, 16}},
        {"ELLIPSE_TILTED", "centre", ellipseCentre, {14, 15, 16}},
        {"SPLINE_DOWN", "second control point", splineControl1, {10, 10, 1}},
        {"SPLINE_TILTED", "second control point", splineControl1, {10, 10, 1}},
        {"POLYLINE3D", "first vertex", polylineVertex0, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.layer) + " " + c.what;
        const db::Entity* e = entityOnLayer(*read.database, c.layer);
        if (!e) {
            ADD_FAILURE() << "no entity on layer " << c.layer;
            continue;
        }
        expectNear(c.get(*e), c.expected, what);
    }
}

// A circle at world (10,5) that another program saved with the normal (0,0,-1) has its centre at (-10,5) in the
// file. It opened at (-10,5): drawn on the wrong side of the part, and the drawing's extents went with it.
TEST(ObjectCoordinates, CircleWithNormalDownIsDrawnWhereItWasSaved) {
    const ReadResult read = readDxfFile(kFixture);
    ASSERT_TRUE(read) << read.error;
    const auto* circle = dynamic_cast<const db::Circle*>(entityOnLayer(*read.database, "CIRCLE_DOWN"));
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->center(), Point3d(10, 5, 0));
    EXPECT_EQ(circle->normal(), Vector3d(0, 0, -1));
    const auto box = circle->geomExtents();
    ASSERT_TRUE(box);
    expectNear(box->min, {9, 4, 0}, "extents min");
    expectNear(box->max, {11, 6, 0}, "extents max");
}

bool sameBits(const Point3d& a, const Point3d& b) {
    return std::bit_cast<std::uint64_t>(a.x) == std::bit_cast<std::uint64_t>(b.x) &&
           std::bit_cast<std::uint64_t>(a.y) == std::bit_cast<std::uint64_t>(b.y) &&
           std::bit_cast<std::uint64_t>(a.z) == std::bit_cast<std::uint64_t>(b.z);
}

// Our own file read back: with the normal (0,0,1) every point is the same double, bit for bit (-0.0 included);
// with a normal down or tilted, within rounding of the two conversions.
TEST(ObjectCoordinates, OwnSaveAndReadKeepWorldPoints) {
    using namespace db;
    Database d;
    const ObjectId block = testing::addRecord(d, TableKind::Block, std::make_unique<BlockTableRecord>("Mark"));
    testing::appendTo(block, std::make_unique<Line>(Point3d(0, 0, 0), Point3d(1, 0, 0)));
    const Point3d a(-0.0, 1.0 / 3.0, 0.1), c(123.456, 789.012, 0.0);
    struct Plane {
        const char* name;
        Vector3d normal;
        bool exact;
    };
    const Plane planes[] = {
        {"UP", {0, 0, 1}, true}, {"DOWN", {0, 0, -1}, false}, {"TILTED", {0.48, -0.6, 0.64}, false}};
    for (const Plane& p : planes) {
        const std::string n = p.name;
        // A coordinate as large as a double holds to half a unit only has to come back exactly; turned into
        // another plane it keeps 16 digits, not 1e-9.
        const Point3d b(p.exact ? 1e15 + 0.5 : 4321.5, -2e-17, -7.25);
        auto addLayer = [&](const std::string& layer) {
            return testing::addRecord(d, TableKind::Layer, std::make_unique<LayerTableRecord>(layer));
        };
        auto circle = std::make_unique<Circle>(a, 2.0);
        circle->setLayer(addLayer("CIRCLE_" + n));
        circle->setNormal(p.normal);
        testing::appendTo(d.modelSpaceId(), std::move(circle));
        auto arc = std::make_unique<Arc>(b, 3.0, 0.5, 2.0);
        arc->setLayer(addLayer("ARC_" + n));
        arc->setNormal(p.normal);
        testing::appendTo(d.modelSpaceId(), std::move(arc));
        auto text = std::make_unique<Text>(c, "Plate", 2.5, 0.25);
        text->setLayer(addLayer("TEXT_" + n));
        text->setHorizontalMode(2);
        text->setAlignmentPoint(a);
        text->setNormal(p.normal);
        testing::appendTo(d.modelSpaceId(), std::move(text));
        auto ref = std::make_unique<BlockReference>(b, block);
        ref->setLayer(addLayer("INSERT_" + n));
        ref->setNormal(p.normal);
        const ObjectId refId = testing::appendTo(d.modelSpaceId(), std::move(ref));
        ObjectPtr<BlockReference> open(refId, OpenMode::Write);
        auto attribute = std::make_unique<Attribute>();
        attribute->setLayer(addLayer("ATTRIB_" + n));
        attribute->setTag("NO");
        attribute->setTextString("7");
        attribute->setHeight(1.0);
        attribute->setPosition(c);
        attribute->setNormal(p.normal);
        ASSERT_EQ(open->appendAttribute(std::move(attribute)), Status::Ok);
    }

    const ReadResult back = readDxfText(writeDxfText(d), "ocs.dxf");
    ASSERT_TRUE(back) << back.error;
    struct Case {
        const char* kind;
        Point3d (*get)(const Entity&);
    };
    const Case cases[] = {{"CIRCLE", circleCentre}, {"ARC", arcCentre},         {"TEXT", textPosition},
                          {"TEXT", textAlignment},  {"INSERT", insertPosition}, {"ATTRIB", textPosition}};
    for (const Plane& p : planes) {
        for (const Case& k : cases) {
            const std::string layer = std::string(k.kind) + "_" + p.name;
            const Entity* before = entityOnLayer(d, layer);
            const Entity* after = entityOnLayer(*back.database, layer);
            ASSERT_TRUE(before && after) << layer;
            const Point3d want = k.get(*before), got = k.get(*after);
            if (p.exact)
                EXPECT_TRUE(sameBits(got, want)) << layer << ": " << got.x << "," << got.y << "," << got.z;
            else
                expectNear(got, want, layer);
        }
    }
}

std::string fileText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The values of the point groups (10-39) of the first record on `layer` in DXF text.
std::vector<double> pointGroupsOnLayer(const std::string& text, std::string_view layer) {
    std::istringstream lines(text);
    std::string code, value;
    std::vector<double> record;
    bool onLayer = false;
    while (std::getline(lines, code) && std::getline(lines, value)) {
        const int c = std::stoi(code);
        if (!value.empty() && value.back() == '\r') value.pop_back();
        value.erase(0, std::min(value.find_first_not_of(' '), value.size()));
        if (c == 0) {
            if (onLayer) return record;
            record.clear();
        } else if (c == 8) {
            onLayer = value == layer;
        } else if (c >= 10 && c <= 39) {
            record.push_back(std::stod(value));
        }
    }
    return onLayer ? record : std::vector<double>{};
}

// Saving again what was read gives the same file byte for byte: object coordinates go out as they came in, where
// turning them into world points and back would change the last digits on every save. A point moved after reading
// is converted afresh.
TEST(ObjectCoordinates, SaveOfWhatWasReadIsStable) {
    const ReadResult read = readDxfFile(kFixture);
    ASSERT_TRUE(read) << read.error;
    const std::string first = writeDxfText(*read.database);
    const ReadResult again = readDxfText(first, "first.dxf");
    ASSERT_TRUE(again) << again.error;
    EXPECT_EQ(writeDxfText(*again.database), first);

    // The centre and text points in the tilted plane are the values ezdxf wrote, to the last bit.
    const std::string fixture = fileText(kFixture);
    for (const char* layer : {"ARC_TILTED", "TEXT_TILTED", "INSERT_TILTED"}) {
        const std::vector<double> theirs = pointGroupsOnLayer(fixture, layer), ours = pointGroupsOnLayer(first, layer);
        EXPECT_GE(theirs.size(), 3u) << layer;
        EXPECT_EQ(ours, theirs) << layer;
    }

    // Moved: the new centre is written, not the one read.
    const db::ObjectId arcId = entityOnLayer(*read.database, "ARC_TILTED")->objectId();
    {
        db::ObjectPtr<db::Arc> open(arcId, db::OpenMode::Write);
        ASSERT_EQ(open->setCenter(Point3d(21, 5, 0)), db::Status::Ok);
    }
    const ReadResult moved = readDxfText(writeDxfText(*read.database), "moved.dxf");
    ASSERT_TRUE(moved) << moved.error;
    expectNear(arcCentre(*entityOnLayer(*moved.database, "ARC_TILTED")), {21, 5, 0}, "moved centre");
}

// A tilted entity made here rather than read is stable from its second save on.
TEST(ObjectCoordinates, SaveOfNewTiltedEntitiesIsStable) {
    using namespace db;
    Database d;
    for (const Vector3d& normal : {Vector3d(1, -2, 2), Vector3d(0.3, 0.1, -0.7), Vector3d(1e-3, 0, 1)}) {
        auto circle = std::make_unique<Circle>(Point3d(10.1, 1.0 / 3.0, 0.7), 2.0);
        circle->setNormal(normal);
        testing::appendTo(d.modelSpaceId(), std::move(circle));
        auto text = std::make_unique<Text>(Point3d(-7.3, 1e5 / 7, 2.2), "Plate", 2.5, 0.25);
        text->setHorizontalMode(2);
        text->setAlignmentPoint(Point3d(1.1, 2.2, 3.3));
        text->setNormal(normal);
        testing::appendTo(d.modelSpaceId(), std::move(text));
    }
    const ReadResult once = readDxfText(writeDxfText(d), "once.dxf");
    ASSERT_TRUE(once) << once.error;
    const std::string second = writeDxfText(*once.database);
    const ReadResult twice = readDxfText(second, "twice.dxf");
    ASSERT_TRUE(twice) << twice.error;
    EXPECT_EQ(writeDxfText(*twice.database), second);
}

// "<layer> <name>" -> point, as ocs_dump.py prints what ezdxf finds in a file.
using Dump = std::map<std::string, Point3d>;

Dump ezdxfDump(const std::filesystem::path& file, std::string& problems) {
    const std::string cmd = std::string(kPython) + " " + KESTRION_SOURCE_DIR "/host/dxf/tests/ocs_dump.py '" +
                            file.string() + "' 2>&1";
    Dump out;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe) {
        problems += "cannot run " + cmd + "\n";
        return out;
    }
    char buf[4096];
    while (std::fgets(buf, sizeof buf, pipe)) {
        std::istringstream line(buf);
        std::string layer, name;
        Point3d p;
        if (line >> layer >> name >> p.x >> p.y >> p.z)
            out[layer + " " + name] = p;
        else
            problems += buf;
    }
    if (const int status = pclose(pipe); status != 0)
        problems += "ocs_dump.py failed with status " + std::to_string(status);
    return out;
}

// ezdxf finds in the file we write the same object coordinates, normals and angles it wrote itself: the points
// go back into the plane of their normal on the way out.
TEST(ObjectCoordinates, IndependentReaderFindsTheObjectCoordinatesItWrote) {
    if (!std::filesystem::exists(kPython)) GTEST_SKIP() << kPython << " is missing (scripts/setup installs it)";
    const ReadResult read = readDxfFile(kFixture);
    ASSERT_TRUE(read) << read.error;
    const auto dir = std::filesystem::temp_directory_path() / "kestrion-dxf-ocs";
    std::filesystem::create_directories(dir);
    const auto ours = dir / "ocs.dxf";
    std::string error;
    ASSERT_TRUE(writeDxfFile(*read.database, ours, &error)) << error;

    std::string problems;
    const Dump theirs = ezdxfDump(kFixture, problems), again = ezdxfDump(ours, problems);
    EXPECT_EQ(problems, "");
    ASSERT_GT(theirs.size(), 50u) << "the fixture has over 50 points";
    for (const auto& [key, point] : theirs) {
        auto it = again.find(key);
        if (it == again.end()) {
            ADD_FAILURE() << "ezdxf does not find " << key << " in our file";
            continue;
        }
        expectNear(it->second, point, key);
    }
    EXPECT_EQ(again.size(), theirs.size());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace host::dxf
