// One codec between an entity and its DXF groups.
//
// Index of this file:
//   [SECTION] Group codes and subclass markers
//   [SECTION] Object coordinates
//   [SECTION] Reading values out of result buffers
//   [SECTION] Writing: common groups, then one function per entity kind
//   [SECTION] Applying: common groups, then one function per entity kind
//   [SECTION] Making entities for DXF record names
//   [SECTION] ResBufSink
#include "host/db/entity_groups.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "host/db/database.h"
#include "host/db/entity_geometry.h"
#include "host/ge/angle.h"
#include "host/sys/text_case.h"

namespace host::db {

namespace {

// ============================================================================================================
// [SECTION] Group codes and subclass markers
// ============================================================================================================

namespace code {
constexpr int kXDataSentinel = -3;
constexpr int kText = 1;
constexpr int kName2 = 2;   // block name, attribute tag
constexpr int kText3 = 3;   // prompt, text chunks
constexpr int kLinetype = 6;
constexpr int kStyle = 7;
constexpr int kLayer = 8;
constexpr int kPoint = 10;
constexpr int kPoint2 = 11;
constexpr int kPoint3 = 12;
constexpr int kPoint4 = 13;
constexpr int kElevation = 38;
constexpr int kThickness = 39;
constexpr int kReal40 = 40, kReal41 = 41, kReal42 = 42, kReal43 = 43, kReal44 = 44, kReal45 = 45;
constexpr int kLinetypeScale = 48;
constexpr int kAngle = 50, kAngle2 = 51;
constexpr int kVisibility = 60;
constexpr int kColor = 62;
constexpr int kFollows = 66;
constexpr int kPaperSpace = 67;
constexpr int kInt70 = 70, kInt71 = 71, kInt72 = 72, kInt73 = 73, kInt74 = 74;
constexpr int kCount90 = 90;
constexpr int kSubclass = 100;
constexpr int kEmbeddedObject = 101;
constexpr int kNormal = 210;
constexpr int kLineWeight = 370;
constexpr int kTrueColor = 420;
constexpr int kXDataApp = 1001;
}  // namespace code

constexpr std::string_view kEntityMarker = "AcDbEntity";
constexpr int kColorByLayer = Color::kByLayer;
constexpr int kColorByEntity = 257;
constexpr int kLineWeightByLayer = -1;
constexpr int kLwPolylineClosed = 1;
constexpr int kLwPolylinePlinegen = 128;
constexpr int kVertex3d = 32;
constexpr int kPolylineMeshFlags = 16 | 64;  // polygon mesh, polyface mesh
// How far the sweep of an ellipse read from groups may be from a full turn and still be one (radians). Writers
// give its parameters with five decimals or more (6.28319 is 2*pi + 3.5e-6); a gap of 1e-5 on an ellipse of
// one metre is 0.01 mm, below anything cut.
constexpr double kFullTurnTolerance = 1e-5;
// MTEXT contents go in chunks of at most this many bytes: all but the last as group 3, the last as group 1.
constexpr std::size_t kMTextChunkBytes = 250;

const ge::Vector3d kZAxis = ge::Vector3d::kZAxis();

}  // namespace

// ============================================================================================================
// [SECTION] Object coordinates
// ============================================================================================================
//
// Which points of a record are object coordinates (in the plane of its normal, group 210, by the arbitrary-axis
// rule) and what the entity classes hold for them:
//
//   DXF record        object coordinates in the file         held by the class as
//   CIRCLE, ARC       10 centre                              world point: converted here
//   TEXT, ATTRIB,     10 position, 11 alignment point        world points: converted here
//   ATTDEF
//   INSERT            10 insertion point                     world point: converted here
//   LWPOLYLINE        10 vertices, 38 elevation              plane coordinates, as in the file
//   POLYLINE (2D)     10 (its z is the elevation)            plane coordinates, as in the file
//   VERTEX (2D)       10                                     plane coordinates, as in the file
//
// World points in the file whatever the normal: LINE, POINT, MTEXT (10 and its direction 11), ELLIPSE, SPLINE,
// 3D POLYLINE and its VERTEX records. Angles (50, 51) are always measured in the plane of the normal.
// Data lists (entGet, entMod) hold the same values as the file.

namespace {
// True when object and world coordinates are one: the normal (0,0,1) at any length, or no usable normal (taken as
// (0,0,1), as Matrix3d::planeToWorld takes it). Points are then kept bit for bit, -0.0 included.
bool isWorldPlane(const ge::Vector3d& normal) {
    const auto u = detail::unitNormal(normal);
    return !u || *u == kZAxis;
}
}  // namespace

ge::Point3d objectToWorld(const ge::Vector3d& normal, const ge::Point3d& p) {
    return isWorldPlane(normal) ? p : detail::planeToWorld(normal, p);
}

ge::Point3d worldToObject(const ge::Vector3d& normal, const ge::Point3d& p) {
    return isWorldPlane(normal) ? p : detail::worldToPlane(normal, p);
}

namespace {

// A point of group `code` read in object coordinates of `plane`: its world point, with the coordinates kept on the
// entity so that saving it unchanged gives them back (see Entity::rememberObjectPoint).
ge::Point3d objectPointRead(Entity& e, int code, const ge::Vector3d& plane, const ge::Point3d& p) {
    const ge::Point3d world = objectToWorld(plane, p);
    if (!isWorldPlane(plane)) e.rememberObjectPoint(code, plane, p, world);
    return world;
}

// The object coordinates to write for the entity's world point of group `code`: as read while unchanged.
ge::Point3d objectPointToWrite(const Entity& e, int code, const ge::Vector3d& normal, const ge::Point3d& world) {
    if (isWorldPlane(normal)) return world;
    if (auto kept = e.rememberedObjectPoint(code, normal, world)) return *kept;
    return detail::worldToPlane(normal, world);
}

// ============================================================================================================
// [SECTION] Reading values out of result buffers
// ============================================================================================================

// Collects the first fault and the group it belongs to.
struct Faults {
    GroupError* out;
    bool failed = false;
    Status status = Status::Ok;

    Status fail(std::size_t index, std::string what, Status s = Status::InvalidInput) {
        if (!failed) {
            failed = true;
            status = s;
            if (out) *out = {index, std::move(what)};
        }
        return s;
    }
};

std::optional<double> realOf(const ResBuf& rb) {
    if (const double* v = std::get_if<double>(&rb.value)) return std::isfinite(*v) ? std::optional(*v) : std::nullopt;
    if (const std::int64_t* v = std::get_if<std::int64_t>(&rb.value)) return double(*v);
    return std::nullopt;
}

std::optional<std::int64_t> integerOf(const ResBuf& rb) {
    if (const std::int64_t* v = std::get_if<std::int64_t>(&rb.value)) return *v;
    return std::nullopt;
}

const std::string* textOf(const ResBuf& rb) { return std::get_if<std::string>(&rb.value); }

std::optional<ge::Point3d> pointOf(const ResBuf& rb) {
    const ge::Point3d* p = std::get_if<ge::Point3d>(&rb.value);
    if (!p || !std::isfinite(p->x) || !std::isfinite(p->y) || !std::isfinite(p->z)) return std::nullopt;
    return *p;
}

ge::Vector3d asVector(const ge::Point3d& p) { return {p.x, p.y, p.z}; }
ge::Point3d asPoint(const ge::Vector3d& v) { return {v.x, v.y, v.z}; }

// Walks the groups of one entity, giving each one to a kind's handler. The handlers read the value with the
// typed getters, which record a fault for a value of the wrong type.
class GroupWalk {
public:
    GroupWalk(std::span<const ResBuf> groups, Faults& faults) : groups_(groups), faults_(faults) {}

    const ResBuf& group() const { return groups_[index_]; }
    std::size_t index() const { return index_; }
    Faults& faults() { return faults_; }

    std::optional<double> real() {
        auto v = realOf(group());
        if (!v) wrongType("a real number");
        return v;
    }
    std::optional<std::int64_t> integer() {
        auto v = integerOf(group());
        if (!v) wrongType("an integer");
        return v;
    }
    std::optional<int> int16() {
        auto v = integerOf(group());
        if (!v || *v < -32768 || *v > 32767) {
            wrongType("a 16-bit integer");
            return std::nullopt;
        }
        return int(*v);
    }
    const std::string* text() {
        const std::string* v = textOf(group());
        if (!v) wrongType("text");
        return v;
    }
    std::optional<ge::Point3d> point() {
        auto v = pointOf(group());
        if (!v) wrongType("a point");
        return v;
    }
    // Records a refusal of the entity for the current group.
    void check(Status s, std::string_view what) {
        if (s != Status::Ok)
            faults_.fail(index_, std::string(what) + " " + describe() + " is refused (" + statusText(s) + ")", s);
    }
    // The same for a group walked earlier: a value made of several groups is checked once the walk is over.
    void checkAt(std::size_t index, Status s, std::string_view what) {
        index_ = index;
        check(s, what);
    }

    // Calls handle(code) for each body group, in order; stops at extended data, at embedded object data (a 101
    // group: in newer files an MTEXT carries its columns there, with codes of its own data again) or at the
    // first fault.
    template <class Handler>
    void forEach(Handler&& handle) {
        for (index_ = 0; index_ < groups_.size() && !faults_.failed; ++index_) {
            const int c = groups_[index_].code;
            if (c == code::kXDataSentinel || c == code::kXDataApp || c == code::kEmbeddedObject) break;
            handle(c);
        }
    }

private:
    void wrongType(const char* what) {
        faults_.fail(index_, "group " + std::to_string(group().code) + " must be " + what);
    }
    std::string describe() const {
        // Past the end of the list (a check after the walk) there is no group to name: reading one there once
        // read past the list, and named a group the entity does not have.
        if (index_ >= groups_.size()) return "the list";
        const ResBuf& rb = group();
        std::string out = "group " + std::to_string(rb.code);
        if (const double* d = std::get_if<double>(&rb.value)) {
            char buf[32];
            auto r = std::to_chars(buf, buf + sizeof buf, *d);
            out += " value " + std::string(buf, r.ptr);
        } else if (const std::int64_t* i = std::get_if<std::int64_t>(&rb.value)) {
            out += " value " + std::to_string(*i);
        } else if (const std::string* s = std::get_if<std::string>(&rb.value)) {
            out += " value \"" + *s + "\"";
        }
        return out;
    }

    std::span<const ResBuf> groups_;
    Faults& faults_;
    std::size_t index_ = 0;
};

// The end of the AcDbEntity part: the first subclass marker that is not AcDbEntity, or the end of the list when
// there is none (then every group is both common and the kind's own: their codes never meet).
std::size_t commonPartEnd(std::span<const ResBuf> groups) {
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const ResBuf& rb = groups[i];
        if (rb.code == code::kXDataSentinel || rb.code == code::kXDataApp) break;
        if (rb.code != code::kSubclass) continue;
        const std::string* t = textOf(rb);
        if (!t || *t != kEntityMarker) return i;
    }
    return groups.size();
}

// ============================================================================================================
// [SECTION] Writing: common groups, then one function per entity kind
// ============================================================================================================

void writeIfNonZero(GroupSink& s, int c, double v) {
    if (v != 0.0) s.real(c, v);
}
void writeNormal(GroupSink& s, const ge::Vector3d& n) {
    if (!(n == kZAxis)) s.point(code::kNormal, asPoint(n));
}
void writeStyle(GroupSink& s, ObjectId style) {
    if (!style.isNull()) s.text(code::kStyle, style.database()->recordName(style));
}

bool isByLayerLinetype(const Entity& e) {
    if (e.linetypeId().isNull()) return true;
    return sys::equalsNoCase(e.linetype(), "ByLayer");
}

void writeCommon(const Entity& e, GroupSink& s) {
    s.text(code::kSubclass, kEntityMarker);
    if (e.inPaperSpace()) s.integer(code::kPaperSpace, 1);
    s.text(code::kLayer, e.layer());
    if (!isByLayerLinetype(e)) s.text(code::kLinetype, e.linetype());
    const Color c = e.color();
    if (c.index != kColorByLayer && c.index != kColorByEntity) s.integer(code::kColor, c.index);
    if (c.rgb) s.integer(code::kTrueColor, std::int64_t(*c.rgb));
    if (e.lineWeight() != kLineWeightByLayer) s.integer(code::kLineWeight, e.lineWeight());
    if (e.linetypeScale() != 1.0) s.real(code::kLinetypeScale, e.linetypeScale());
    if (!e.isVisible()) s.integer(code::kVisibility, 1);
}

void writeLine(const Line& e, GroupSink& s) {
    s.text(code::kSubclass, "AcDbLine");
    writeIfNonZero(s, code::kThickness, e.thickness());
    s.point(code::kPoint, e.start());
    s.point(code::kPoint2, e.end());
    writeNormal(s, e.normal());
}

void writeCircle(const Circle& e, GroupSink& s) {
    s.text(code::kSubclass, "AcDbCircle");
    writeIfNonZero(s, code::kThickness, e.thickness());
    s.point(code::kPoint, objectPointToWrite(e, code::kPoint, e.normal(), e.center()));
    s.real(code::kReal40, e.radius());
    writeNormal(s, e.normal());
}

void writeArc(const Arc& e, GroupSink& s) {
    s.text(code::kSubclass, "AcDbCircle");
    writeIfNonZero(s, code::kThickness, e.thickness());
    s.point(code::kPoint, objectPointToWrite(e, code::kPoint, e.normal(), e.center()));
    s.real(code::kReal40, e.radius());
    writeNormal(s, e.normal());
    s.text(code::kSubclass, "AcDbArc");
    s.real(code::kAngle, e.startAngle());
    s.real(code::kAngle2, e.endAngle());
}

void writePoint(const PointEntity& e, GroupSink& s) {
    s.text(code::kSubclass, "AcDbPoint");
    s.point(code::kPoint, e.position());
    writeIfNonZero(s, code::kThickness, e.thickness());
    writeNormal(s, e.normal());
    writeIfNonZero(s, code::kAngle, e.xAxisAngle());
}

void writeLwPolyline(const LwPolyline& e, GroupSink& s) {
    s.text(code::kSubclass, "AcDbPolyline");
    s.integer(code::kCount90, e.numVerts());
    s.integer(code::kInt70, (e.isClosed() ? kLwPolylineClosed : 0) | (e.plinegen() ? kLwPolylinePlinegen : 0));
    const double cw = e.constantWidth();
    writeIfNonZero(s, code::kReal43, cw);
    writeIfNonZero(s, code::kElevation, e.elevation());
    writeIfNonZero(s, code::kThickness, e.thickness());
    for (const LwPolyline::Vertex& v : e.vertices()) {
        s.point2d(code::kPoint, v.point);
        // A vertex whose widths are the constant width leaves them out; a reader gives it the constant width.
        if (v.startWidth != cw || v.endWidth != cw) {
            s.real(code::kReal40, v.startWidth);
            s.real(code::kReal41, v.endWidth);
        }
        writeIfNonZero(s, code::kReal42, v.bulge);
    }
    writeNormal(s, e.normal());
}

void writePolyline(const PolylineWithVertices& e, GroupSink& s) {
    const bool is3d = dynamic_cast<const Polyline3d*>(&e) != nullptr;
    s.text(code::kSubclass, is3d ? "AcDb3dPolyline" : "AcDb2dPolyline");
    s.integer(code::kFollows, 1);
    s.point(code::kPoint, {0.0, 0.0, e.elevation()});
    s.integer(code::kInt70, e.flags() | (is3d ? PolylineWithVertices::kFlag3d : 0));
    writeIfNonZero(s, code::kReal40, e.defaultStartWidth());
    writeIfNonZero(s, code::kReal41, e.defaultEndWidth());
    writeNormal(s, e.normal());
}

bool isVertexOf3d(const PolylineVertex& v) {
    if (v.is3d() || (v.flags() & kVertex3d)) return true;
    const Database* db = v.database();
    return db && dynamic_cast<const Polyline3d*>(db->peek(v.ownerId())) != nullptr;
}

void writeVertex(const PolylineVertex& e, GroupSink& s) {
    const bool is3d = isVertexOf3d(e);
    s.text(code::kSubclass, "AcDbVertex");
    s.text(code::kSubclass, is3d ? "AcDb3dPolylineVertex" : "AcDb2dVertex");
    s.point(code::kPoint, e.position());
    if (!is3d) {
        writeIfNonZero(s, code::kReal40, e.startWidth());
        writeIfNonZero(s, code::kReal41, e.endWidth());
        writeIfNonZero(s, code::kReal42, e.bulge());
    }
    s.integer(code::kInt70, e.flags() | (is3d ? kVertex3d : 0));
}

// The groups TEXT, ATTRIB and ATTDEF share, up to the second AcDbText marker of a TEXT.
void writeTextBody(const Text& e, GroupSink& s) {
    s.text(code::kSubclass, "AcDbText");
    writeIfNonZero(s, code::kThickness, e.thickness());
    s.point(code::kPoint, objectPointToWrite(e, code::kPoint, e.normal(), e.position()));
    s.real(code::kReal40, e.height());
    s.text(code::kText, e.textString());
    writeIfNonZero(s, code::kAngle, e.rotation());
    if (e.widthFactor() != 1.0) s.real(code::kReal41, e.widthFactor());
    writeIfNonZero(s, code::kAngle2, e.oblique());
    writeStyle(s, e.textStyle());
    if (e.generationFlags() != 0) s.integer(code::kInt71, e.generationFlags());
    if (e.horizontalMode() != 0) s.integer(code::kInt72, e.horizontalMode());
    // The world origin is the origin of every plane: the test is the same in either system.
    if (e.horizontalMode() != 0 || e.verticalMode() != 0 || !(e.alignmentPoint() == ge::Point3d()))
        s.point(code::kPoint2, objectPointToWrite(e, code::kPoint2, e.normal(), e.alignmentPoint()));
    writeNormal(s, e.normal());
}

void writeText(const Text& e, GroupSink& s) {
    writeTextBody(e, s);
    s.text(code::kSubclass, "AcDbText");
    if (e.verticalMode() != 0) s.integer(code::kInt73, e.verticalMode());
}

void writeAttribute(const Attribute& e, GroupSink& s) {
    writeTextBody(e, s);
    s.text(code::kSubclass, "AcDbAttribute");
    s.text(code::kName2, e.tag());
    s.integer(code::kInt70, e.attributeFlags());
    if (e.verticalMode() != 0) s.integer(code::kInt74, e.verticalMode());
}

void writeAttributeDefinition(const AttributeDefinition& e, GroupSink& s) {
    writeTextBody(e, s);
    s.text(code::kSubclass, "AcDbAttributeDefinition");
    s.text(code::kText3, e.prompt());
    s.text(code::kName2, e.tag());
    s.integer(code::kInt70, e.attributeFlags());
    if (e.verticalMode() != 0) s.integer(code::kInt74, e.verticalMode());
}

// Chunks end on a character boundary, so that each decodes alone.
std::size_t chunkEnd(std::string_view text, std::size_t from) {
    std::size_t end = std::min(text.size(), from + kMTextChunkBytes);
    if (end == text.size()) return end;
    while (end > from && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return end > from ? end : std::min(text.size(), from + kMTextChunkBytes);
}

void writeMText(const MText& e, GroupSink& s) {
    s.text(code::kSubclass, "AcDbMText");
    s.point(code::kPoint, e.location());
    s.real(code::kReal40, e.textHeight());
    s.real(code::kReal41, e.width());
    s.integer(code::kInt71, e.attachment());
    s.integer(code::kInt72, e.drawingDirection());
    const std::string_view text = e.contents();
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = chunkEnd(text, from);
        if (end >= text.size()) {
            s.text(code::kText, text.substr(from));
            break;
        }
        s.text(code::kText3, text.substr(from, end - from));
        from = end;
    }
    writeStyle(s, e.textStyle());
    writeNormal(s, e.normal());
    writeIfNonZero(s, code::kAngle, e.rotation());
    if (e.lineSpacingFactor() != 1.0) s.real(code::kReal44, e.lineSpacingFactor());
}

void writeSpline(const Spline& e, GroupSink& s) {
    s.text(code::kSubclass, "AcDbSpline");
    writeNormal(s, e.normal());
    s.integer(code::kInt70, e.flags());
    s.integer(code::kInt71, e.degree());
    s.integer(code::kInt72, std::int64_t(e.knots().size()));
    s.integer(code::kInt73, std::int64_t(e.controlPoints().size()));
    s.integer(code::kInt74, std::int64_t(e.fitPoints().size()));
    s.real(code::kReal42, e.knotTolerance());
    s.real(code::kReal43, e.controlTolerance());
    if (!e.fitPoints().empty()) s.real(code::kReal44, e.fitTolerance());
    if (!(e.startTangent() == ge::Vector3d())) s.point(code::kPoint3, asPoint(e.startTangent()));
    if (!(e.endTangent() == ge::Vector3d())) s.point(code::kPoint4, asPoint(e.endTangent()));
    for (double k : e.knots()) s.real(code::kReal40, k);
    for (double w : e.weights()) s.real(code::kReal41, w);
    for (const ge::Point3d& p : e.controlPoints()) s.point(code::kPoint, p);
    for (const ge::Point3d& p : e.fitPoints()) s.point(code::kPoint2, p);
}

void writeEllipse(const Ellipse& e, GroupSink& s) {
    s.text(code::kSubclass, "AcDbEllipse");
    s.point(code::kPoint, e.center());
    s.point(code::kPoint2, asPoint(e.majorAxis()));
    writeNormal(s, e.normal());
    s.real(code::kReal40, e.radiusRatio());
    s.real(code::kReal41, e.startParam());
    s.real(code::kReal42, e.endParam());
}

void writeBlockReference(const BlockReference& e, GroupSink& s) {
    s.text(code::kSubclass, "AcDbBlockReference");
    if (!e.attributeIds().empty()) s.integer(code::kFollows, 1);
    s.text(code::kName2, e.blockName());
    s.point(code::kPoint, objectPointToWrite(e, code::kPoint, e.normal(), e.position()));
    const ge::Vector3d sc = e.scaleFactors();
    if (sc.x != 1.0) s.real(code::kReal41, sc.x);
    if (sc.y != 1.0) s.real(code::kReal42, sc.y);
    if (sc.z != 1.0) s.real(code::kReal43, sc.z);
    writeIfNonZero(s, code::kAngle, e.rotation());
    if (e.columnCount() != 1) s.integer(code::kInt70, e.columnCount());
    if (e.rowCount() != 1) s.integer(code::kInt71, e.rowCount());
    writeIfNonZero(s, code::kReal44, e.columnSpacing());
    writeIfNonZero(s, code::kReal45, e.rowSpacing());
    writeNormal(s, e.normal());
}

// ============================================================================================================
// [SECTION] Applying: common groups, then one function per entity kind
// ============================================================================================================

// Applies a record resolved by name; a missing one is KeyNotFound.
ObjectId resolveName(GroupWalk& w, RecordResolver& r, TableKind kind, const char* what) {
    const std::string* name = w.text();
    if (!name) return {};
    const ObjectId id = r.record(kind, *name);
    if (id.isNull()) w.faults().fail(w.index(), std::string(what) + " \"" + *name + "\" does not exist", Status::KeyNotFound);
    return id;
}

// The kind's own groups whose codes are also common ones: an MTEXT's column width (48).
bool ownsCommonCode(const Entity& e, int c) { return c == code::kLinetypeScale && dynamic_cast<const MText*>(&e); }

// The common groups are read wherever they stand: CAD programs write them in the AcDbEntity part, but some
// writers put layer and colour after the kind's subclass marker, and an entity read without its layer lands on
// layer 0, which here changes what is cut. An opaque entity's groups after the AcDbEntity part are its own data
// and may reuse the codes (a table's cell colours), so for it only the AcDbEntity part counts.
void applyCommon(Entity& e, std::span<const ResBuf> groups, RecordResolver& r, Faults& faults) {
    const bool opaque = dynamic_cast<const OpaqueEntity*>(&e) != nullptr;
    const std::size_t ownFrom = commonPartEnd(groups);
    GroupWalk w(groups, faults);
    std::optional<int> index;
    std::optional<std::uint32_t> rgb;
    std::size_t colorAt = 0;
    w.forEach([&](int c) {
        if (w.index() >= ownFrom && (opaque || ownsCommonCode(e, c))) return;
        switch (c) {
        case code::kLayer:
            if (ObjectId id = resolveName(w, r, TableKind::Layer, "layer"); !id.isNull()) w.check(e.setLayer(id), "layer");
            break;
        case code::kLinetype:
            if (ObjectId id = resolveName(w, r, TableKind::Linetype, "line type"); !id.isNull())
                w.check(e.setLinetype(id), "line type");
            break;
        case code::kColor:
            if (auto v = w.int16()) index = *v, colorAt = w.index();
            break;
        case code::kTrueColor:
            if (auto v = w.integer()) {
                if (*v < 0 || *v > 0xFFFFFF) w.check(Status::InvalidInput, "true colour");
                else rgb = std::uint32_t(*v);
                if (!index) colorAt = w.index();
            }
            break;
        case code::kLineWeight:
            if (auto v = w.int16()) w.check(e.setLineWeight(*v), "lineweight");
            break;
        case code::kLinetypeScale:
            if (auto v = w.real()) w.check(e.setLinetypeScale(*v), "line-type scale");
            break;
        case code::kVisibility:
            if (auto v = w.int16()) w.check(e.setVisible(*v == 0), "visibility");
            break;
        case code::kPaperSpace:
            if (auto v = w.int16()) e.setPaperSpace(*v != 0);
            break;
        default: break;
        }
    });
    if (faults.failed || (!index && !rgb)) return;
    // 62 alone replaces a true colour with the index; 420 alone is a true colour "by entity".
    Color c{index ? *index : kColorByEntity, rgb};
    if (c.index < 0) c.index = -c.index;  // a negative colour means "layer off" and only belongs to layers
    // A refused colour names the group that gave it (the 62, else the 420).
    w.checkAt(colorAt, e.setColor(c), "colour");
}

// The groups of one kind, walked once with the common part left out.
template <class Handler>
void applyBody(std::span<const ResBuf> groups, Faults& faults, Handler&& handle) {
    const std::size_t end = commonPartEnd(groups);
    const std::size_t from = end == groups.size() ? 0 : end;
    GroupWalk w(groups, faults);
    w.forEach([&](int c) {
        if (w.index() < from) return;
        handle(w, c);
    });
}

// The normal the object coordinates of a list are in: the last 210 of its body, else the entity's own normal. A
// file gives 210 after the points that lie in its plane, so the list is looked through before a point is applied.
// A 210 the entity will refuse does not matter: applying the list fails at it.
ge::Vector3d normalOfGroups(std::span<const ResBuf> groups, const ge::Vector3d& current) {
    ge::Vector3d normal = current;
    Faults none{nullptr};
    applyBody(groups, none, [&](GroupWalk& w, int c) {
        if (c != code::kNormal) return;
        if (auto p = pointOf(w.group())) normal = asVector(*p);
    });
    return normal;
}

void applyLine(Line& e, std::span<const ResBuf> g, Faults& f) {
    applyBody(g, f, [&](GroupWalk& w, int c) {
        switch (c) {
        case code::kPoint: if (auto p = w.point()) w.check(e.setStart(*p), "start point"); break;
        case code::kPoint2: if (auto p = w.point()) w.check(e.setEnd(*p), "end point"); break;
        case code::kThickness: if (auto v = w.real()) w.check(e.setThickness(*v), "thickness"); break;
        case code::kNormal: if (auto p = w.point()) w.check(e.setNormal(asVector(*p)), "normal"); break;
        default: break;
        }
    });
}

// `plane` is the normal of the centre's object coordinates (normalOfGroups).
template <class CircleLike>
bool applyCircleGroup(CircleLike& e, GroupWalk& w, int c, const ge::Vector3d& plane) {
    switch (c) {
    case code::kPoint:
        if (auto p = w.point()) w.check(e.setCenter(objectPointRead(e, code::kPoint, plane, *p)), "centre");
        return true;
    case code::kReal40: if (auto v = w.real()) w.check(e.setRadius(*v), "radius"); return true;
    case code::kThickness: if (auto v = w.real()) w.check(e.setThickness(*v), "thickness"); return true;
    case code::kNormal: if (auto p = w.point()) w.check(e.setNormal(asVector(*p)), "normal"); return true;
    default: return false;
    }
}

void applyCircle(Circle& e, std::span<const ResBuf> g, Faults& f) {
    const ge::Vector3d plane = normalOfGroups(g, e.normal());
    applyBody(g, f, [&](GroupWalk& w, int c) { applyCircleGroup(e, w, c, plane); });
}

void applyArc(Arc& e, std::span<const ResBuf> g, Faults& f) {
    const ge::Vector3d plane = normalOfGroups(g, e.normal());
    applyBody(g, f, [&](GroupWalk& w, int c) {
        if (applyCircleGroup(e, w, c, plane)) return;
        if (c == code::kAngle) {
            if (auto v = w.real()) w.check(e.setStartAngle(*v), "start angle");
        } else if (c == code::kAngle2) {
            if (auto v = w.real()) w.check(e.setEndAngle(*v), "end angle");
        }
    });
}

void applyPoint(PointEntity& e, std::span<const ResBuf> g, Faults& f) {
    applyBody(g, f, [&](GroupWalk& w, int c) {
        switch (c) {
        case code::kPoint: if (auto p = w.point()) w.check(e.setPosition(*p), "position"); break;
        case code::kThickness: if (auto v = w.real()) w.check(e.setThickness(*v), "thickness"); break;
        case code::kNormal: if (auto p = w.point()) w.check(e.setNormal(asVector(*p)), "normal"); break;
        case code::kAngle: if (auto v = w.real()) w.check(e.setXAxisAngle(*v), "x-axis angle"); break;
        default: break;
        }
    });
}

void applyLwPolyline(LwPolyline& e, std::span<const ResBuf> g, Faults& f) {
    // A width left out is -1: the vertex takes the constant width, as a file means it.
    struct NewVertex {
        ge::Point2d point;
        double bulge = 0.0, startWidth = -1.0, endWidth = -1.0;
    };
    std::vector<NewVertex> verts;
    bool anyVertex = false;
    std::size_t firstVertexGroup = 0;
    applyBody(g, f, [&](GroupWalk& w, int c) {
        switch (c) {
        case code::kInt70:
            if (auto v = w.int16()) {
                w.check(e.setClosed((*v & kLwPolylineClosed) != 0), "closed flag");
                w.check(e.setPlinegen((*v & kLwPolylinePlinegen) != 0), "line-type generation flag");
            }
            break;
        case code::kReal43: if (auto v = w.real()) w.check(e.setConstantWidth(*v), "constant width"); break;
        case code::kElevation: if (auto v = w.real()) w.check(e.setElevation(*v), "elevation"); break;
        case code::kThickness: if (auto v = w.real()) w.check(e.setThickness(*v), "thickness"); break;
        case code::kNormal: if (auto p = w.point()) w.check(e.setNormal(asVector(*p)), "normal"); break;
        case code::kPoint:
            if (auto p = w.point()) {
                if (!anyVertex) firstVertexGroup = w.index();
                anyVertex = true;
                verts.push_back({p->to2d()});
            }
            break;
        case code::kReal40:
        case code::kReal41:
        case code::kReal42:
            if (verts.empty()) {
                w.faults().fail(w.index(), "group " + std::to_string(c) + " before the first vertex (group 10)");
                break;
            }
            if (auto v = w.real()) {
                NewVertex& nv = verts.back();
                (c == code::kReal40 ? nv.startWidth : c == code::kReal41 ? nv.endWidth : nv.bulge) = *v;
            }
            break;
        default: break;
        }
    });
    if (f.failed || !anyVertex) return;
    e.clearVertices();
    for (const NewVertex& v : verts) {
        const Status s = e.addVertexAt(e.numVerts(), v.point, v.bulge, v.startWidth, v.endWidth);
        if (s != Status::Ok) {
            f.fail(firstVertexGroup, std::string("vertex ") + std::to_string(e.numVerts()) + " is refused (" +
                                         statusText(s) + ")", s);
            return;
        }
    }
}

void applyPolyline(PolylineWithVertices& e, std::span<const ResBuf> g, Faults& f) {
    std::optional<double> startWidth, endWidth;
    applyBody(g, f, [&](GroupWalk& w, int c) {
        switch (c) {
        case code::kPoint: if (auto p = w.point()) w.check(e.setElevation(p->z), "elevation"); break;
        case code::kInt70: if (auto v = w.int16()) w.check(e.setFlags(*v), "flags"); break;
        case code::kReal40: if (auto v = w.real()) startWidth = *v; break;
        case code::kReal41: if (auto v = w.real()) endWidth = *v; break;
        case code::kNormal: if (auto p = w.point()) w.check(e.setNormal(asVector(*p)), "normal"); break;
        default: break;
        }
    });
    if (f.failed || (!startWidth && !endWidth)) return;
    const Status s = e.setDefaultWidths(startWidth.value_or(e.defaultStartWidth()), endWidth.value_or(e.defaultEndWidth()));
    if (s != Status::Ok) f.fail(g.size(), std::string("default widths are refused (") + statusText(s) + ")", s);
}

void applyVertex(PolylineVertex& e, std::span<const ResBuf> g, Faults& f) {
    std::optional<double> startWidth, endWidth;
    applyBody(g, f, [&](GroupWalk& w, int c) {
        switch (c) {
        case code::kPoint: if (auto p = w.point()) w.check(e.setPosition(*p), "position"); break;
        case code::kReal40: if (auto v = w.real()) startWidth = *v; break;
        case code::kReal41: if (auto v = w.real()) endWidth = *v; break;
        case code::kReal42: if (auto v = w.real()) w.check(e.setBulge(*v), "bulge"); break;
        case code::kInt70: if (auto v = w.int16()) w.check(e.setFlags(*v), "flags"); break;
        default: break;
        }
    });
    if (f.failed || (!startWidth && !endWidth)) return;
    const Status s = e.setWidths(startWidth.value_or(e.startWidth()), endWidth.value_or(e.endWidth()));
    if (s != Status::Ok) f.fail(g.size(), std::string("vertex widths are refused (") + statusText(s) + ")", s);
}

// TEXT, ATTRIB and ATTDEF. In attributes 73 is a field length and 74 the vertical mode. `plane` is the normal of
// the points' object coordinates (normalOfGroups).
bool applyTextGroup(Text& e, GroupWalk& w, int c, RecordResolver& r, bool isAttribute, const ge::Vector3d& plane) {
    switch (c) {
    case code::kText: if (auto t = w.text()) w.check(e.setTextString(*t), "text"); return true;
    case code::kPoint:
        if (auto p = w.point()) w.check(e.setPosition(objectPointRead(e, code::kPoint, plane, *p)), "position");
        return true;
    case code::kPoint2:
        if (auto p = w.point())
            w.check(e.setAlignmentPoint(objectPointRead(e, code::kPoint2, plane, *p)), "alignment point");
        return true;
    case code::kReal40: if (auto v = w.real()) w.check(e.setHeight(*v), "height"); return true;
    case code::kReal41: if (auto v = w.real()) w.check(e.setWidthFactor(*v), "width factor"); return true;
    case code::kAngle: if (auto v = w.real()) w.check(e.setRotation(*v), "rotation"); return true;
    case code::kAngle2: if (auto v = w.real()) w.check(e.setOblique(*v), "oblique angle"); return true;
    case code::kThickness: if (auto v = w.real()) w.check(e.setThickness(*v), "thickness"); return true;
    case code::kNormal: if (auto p = w.point()) w.check(e.setNormal(asVector(*p)), "normal"); return true;
    case code::kStyle:
        if (ObjectId id = resolveName(w, r, TableKind::TextStyle, "text style"); !id.isNull())
            w.check(e.setTextStyle(id), "text style");
        return true;
    case code::kInt71: if (auto v = w.int16()) w.check(e.setGenerationFlags(*v), "generation flags"); return true;
    case code::kInt72: if (auto v = w.int16()) w.check(e.setHorizontalMode(*v), "horizontal mode"); return true;
    case code::kInt73:
        if (!isAttribute)
            if (auto v = w.int16()) w.check(e.setVerticalMode(*v), "vertical mode");
        return true;
    case code::kInt74:
        if (isAttribute)
            if (auto v = w.int16()) w.check(e.setVerticalMode(*v), "vertical mode");
        return true;
    default: return false;
    }
}

void applyText(Text& e, std::span<const ResBuf> g, RecordResolver& r, Faults& f) {
    const ge::Vector3d plane = normalOfGroups(g, e.normal());
    applyBody(g, f, [&](GroupWalk& w, int c) { applyTextGroup(e, w, c, r, false, plane); });
}

// Past the attribute's own subclass marker, files of 2018 and later put the attribute's kind in 71 (1 one line,
// 2 and 4 several) and a group 72 of no known use: there they are not the text's generation flags and alignment.
bool isAttributeKindGroup(GroupWalk& w, int c, bool& inAttributePart, std::string_view marker) {
    if (c == code::kSubclass) {
        if (const std::string* t = textOf(w.group())) inAttributePart = *t == marker;
        return false;
    }
    return inAttributePart && (c == code::kInt71 || c == code::kInt72);
}

void applyAttribute(Attribute& e, std::span<const ResBuf> g, RecordResolver& r, Faults& f) {
    const ge::Vector3d plane = normalOfGroups(g, e.normal());
    bool inAttributePart = false;
    applyBody(g, f, [&](GroupWalk& w, int c) {
        if (isAttributeKindGroup(w, c, inAttributePart, "AcDbAttribute")) return;
        if (applyTextGroup(e, w, c, r, true, plane)) return;
        if (c == code::kName2) {
            if (auto t = w.text()) w.check(e.setTag(*t), "tag");
        } else if (c == code::kInt70) {
            if (auto v = w.int16()) w.check(e.setAttributeFlags(*v), "attribute flags");
        }
    });
}

void applyAttributeDefinition(AttributeDefinition& e, std::span<const ResBuf> g, RecordResolver& r, Faults& f) {
    const ge::Vector3d plane = normalOfGroups(g, e.normal());
    bool inAttributePart = false;
    applyBody(g, f, [&](GroupWalk& w, int c) {
        if (isAttributeKindGroup(w, c, inAttributePart, "AcDbAttributeDefinition")) return;
        if (applyTextGroup(e, w, c, r, true, plane)) return;
        if (c == code::kName2) {
            if (auto t = w.text()) w.check(e.setTag(*t), "tag");
        } else if (c == code::kText3) {
            if (auto t = w.text()) w.check(e.setPrompt(*t), "prompt");
        } else if (c == code::kInt70) {
            if (auto v = w.int16()) w.check(e.setAttributeFlags(*v), "attribute flags");
        }
    });
}

void applyMText(MText& e, std::span<const ResBuf> g, RecordResolver& r, Faults& f) {
    std::string contents;
    bool anyText = false, rotationGiven = false;
    std::optional<ge::Point3d> direction;
    applyBody(g, f, [&](GroupWalk& w, int c) {
        switch (c) {
        // Other programs give the text's direction as a vector instead of a rotation.
        case code::kPoint2: if (auto p = w.point()) direction = *p; break;
        case code::kText:
        case code::kText3:
            if (auto t = w.text()) {
                contents += *t;
                anyText = true;
            }
            break;
        case code::kPoint: if (auto p = w.point()) w.check(e.setLocation(*p), "location"); break;
        case code::kReal40: if (auto v = w.real()) w.check(e.setTextHeight(*v), "text height"); break;
        case code::kReal41: if (auto v = w.real()) w.check(e.setWidth(*v), "width"); break;
        case code::kReal44: if (auto v = w.real()) w.check(e.setLineSpacingFactor(*v), "line spacing"); break;
        case code::kInt71: if (auto v = w.int16()) w.check(e.setAttachment(*v), "attachment"); break;
        case code::kInt72: if (auto v = w.int16()) w.check(e.setDrawingDirection(*v), "drawing direction"); break;
        case code::kAngle:
            if (auto v = w.real()) w.check(e.setRotation(*v), "rotation"), rotationGiven = true;
            break;
        case code::kNormal: if (auto p = w.point()) w.check(e.setNormal(asVector(*p)), "normal"); break;
        case code::kStyle:
            if (ObjectId id = resolveName(w, r, TableKind::TextStyle, "text style"); !id.isNull())
                w.check(e.setTextStyle(id), "text style");
            break;
        default: break;
        }
    });
    if (!f.failed && direction && !rotationGiven && (direction->x != 0.0 || direction->y != 0.0)) {
        double angle = std::atan2(direction->y, direction->x);
        if (angle < 0.0) angle += 2.0 * 3.141592653589793;
        const Status s = e.setRotation(angle);
        if (s != Status::Ok) f.fail(g.size(), std::string("the text direction is refused (") + statusText(s) + ")", s);
    }
    if (!f.failed && anyText) {
        const Status s = e.setContents(std::move(contents));
        if (s != Status::Ok) f.fail(g.size(), std::string("contents are refused (") + statusText(s) + ")", s);
    }
}

void applySpline(Spline& e, std::span<const ResBuf> g, Faults& f) {
    std::optional<int> degree, flags;
    std::vector<double> knots, weights;
    std::vector<ge::Point3d> ctrl, fit;
    std::optional<ge::Point3d> startTan, endTan;
    std::optional<double> knotTol, ctrlTol, fitTol;
    bool nurbsGiven = false, fitGiven = false;
    applyBody(g, f, [&](GroupWalk& w, int c) {
        switch (c) {
        case code::kInt70: if (auto v = w.int16()) flags = *v; break;
        case code::kInt71: if (auto v = w.int16()) degree = *v; break;
        case code::kReal40: if (auto v = w.real()) knots.push_back(*v), nurbsGiven = true; break;
        case code::kReal41: if (auto v = w.real()) weights.push_back(*v), nurbsGiven = true; break;
        case code::kPoint: if (auto p = w.point()) ctrl.push_back(*p), nurbsGiven = true; break;
        case code::kPoint2: if (auto p = w.point()) fit.push_back(*p), fitGiven = true; break;
        case code::kPoint3: if (auto p = w.point()) startTan = *p, fitGiven = true; break;
        case code::kPoint4: if (auto p = w.point()) endTan = *p, fitGiven = true; break;
        case code::kReal42: if (auto v = w.real()) knotTol = *v; break;
        case code::kReal43: if (auto v = w.real()) ctrlTol = *v; break;
        case code::kReal44: if (auto v = w.real()) fitTol = *v; break;
        case code::kNormal: if (auto p = w.point()) w.check(e.setNormal(asVector(*p)), "normal"); break;
        default: break;
        }
    });
    if (f.failed) return;
    if (nurbsGiven || ((degree || flags) && !e.controlPoints().empty())) {
        if (!nurbsGiven) {
            knots = e.knots();
            ctrl = e.controlPoints();
            weights = e.weights();
        }
        // Weights all 1 on a curve that is not rational say nothing: some writers put them there anyway.
        const int fl = flags.value_or(e.flags());
        if (!(fl & 4) && !weights.empty() &&
            std::all_of(weights.begin(), weights.end(), [](double w) { return w == 1.0; }))
            weights.clear();
        const Status s = e.setNurbsData(degree.value_or(e.degree()), fl, std::move(knots), std::move(ctrl),
                                        std::move(weights));
        if (s != Status::Ok) {
            f.fail(g.size(), std::string("the spline's degree, knots, control points and weights do not fit "
                                         "together (") + statusText(s) + ")", s);
            return;
        }
    }
    // A spline given by fit points alone keeps its flags (closed, planar) too: before, its closed flag was lost
    // and a closed spline whose first point was not repeated came out open.
    if (!nurbsGiven && flags) {
        const Status s = e.setFlags(*flags);
        if (s != Status::Ok) {
            f.fail(g.size(), std::string("the spline's flags are refused (") + statusText(s) + ")", s);
            return;
        }
    }
    if (fitGiven) {
        const Status s = e.setFitData(std::move(fit), startTan ? asVector(*startTan) : e.startTangent(),
                                      endTan ? asVector(*endTan) : e.endTangent());
        if (s != Status::Ok) {
            f.fail(g.size(), std::string("the spline's fit data is refused (") + statusText(s) + ")", s);
            return;
        }
    }
    if (knotTol || ctrlTol || fitTol) {
        const Status s = e.setTolerances(knotTol.value_or(e.knotTolerance()), ctrlTol.value_or(e.controlTolerance()),
                                         fitTol.value_or(e.fitTolerance()));
        if (s != Status::Ok) f.fail(g.size(), std::string("the spline's tolerances are refused (") + statusText(s) + ")", s);
    }
}

void applyEllipse(Ellipse& e, std::span<const ResBuf> g, Faults& f) {
    ge::Point3d center = e.center();
    ge::Vector3d major = e.majorAxis(), normal = e.normal();
    double ratio = e.radiusRatio(), start = e.startParam(), end = e.endParam();
    bool any = false;
    applyBody(g, f, [&](GroupWalk& w, int c) {
        switch (c) {
        case code::kPoint: if (auto p = w.point()) center = *p, any = true; break;
        case code::kPoint2: if (auto p = w.point()) major = asVector(*p), any = true; break;
        case code::kNormal: if (auto p = w.point()) normal = asVector(*p), any = true; break;
        case code::kReal40: if (auto v = w.real()) ratio = *v, any = true; break;
        case code::kReal41: if (auto v = w.real()) start = *v, any = true; break;
        case code::kReal42: if (auto v = w.real()) end = *v, any = true; break;
        default: break;
        }
    });
    if (f.failed || !any) return;
    // Writers round the end parameter of a whole ellipse (6.283185308 for 2*pi): a sweep that short of a full
    // turn, or that far past one, is a full turn; taken as written it became an arc of almost no length.
    const double sweep = ge::ccwSweep(start, end);
    if (std::isfinite(sweep) && (sweep < kFullTurnTolerance || sweep > ge::kTwoPi - kFullTurnTolerance)) end = start;
    const Status s = e.set(center, normal, major, ratio, start, end);
    if (s != Status::Ok)
        f.fail(g.size(), std::string("the ellipse's axes and ratio are refused (") + statusText(s) + ")", s);
}

void applyBlockReference(BlockReference& e, std::span<const ResBuf> g, RecordResolver& r, Faults& f) {
    ge::Vector3d scale = e.scaleFactors();
    int columns = e.columnCount(), rows = e.rowCount();
    double colSpacing = e.columnSpacing(), rowSpacing = e.rowSpacing();
    bool scaleGiven = false, arrayGiven = false;
    const ge::Vector3d plane = normalOfGroups(g, e.normal());
    applyBody(g, f, [&](GroupWalk& w, int c) {
        switch (c) {
        case code::kName2:
            if (ObjectId id = resolveName(w, r, TableKind::Block, "block"); !id.isNull())
                w.check(e.setBlockTableRecord(id), "block");
            break;
        case code::kPoint:
            if (auto p = w.point())
                w.check(e.setPosition(objectPointRead(e, code::kPoint, plane, *p)), "insertion point");
            break;
        case code::kReal41: if (auto v = w.real()) scale.x = *v, scaleGiven = true; break;
        case code::kReal42: if (auto v = w.real()) scale.y = *v, scaleGiven = true; break;
        case code::kReal43: if (auto v = w.real()) scale.z = *v, scaleGiven = true; break;
        case code::kAngle: if (auto v = w.real()) w.check(e.setRotation(*v), "rotation"); break;
        case code::kInt70: if (auto v = w.int16()) columns = *v, arrayGiven = true; break;
        case code::kInt71: if (auto v = w.int16()) rows = *v, arrayGiven = true; break;
        case code::kReal44: if (auto v = w.real()) colSpacing = *v, arrayGiven = true; break;
        case code::kReal45: if (auto v = w.real()) rowSpacing = *v, arrayGiven = true; break;
        case code::kNormal: if (auto p = w.point()) w.check(e.setNormal(asVector(*p)), "normal"); break;
        default: break;
        }
    });
    if (f.failed) return;
    if (scaleGiven) {
        const Status s = e.setScaleFactors(scale);
        if (s != Status::Ok) f.fail(g.size(), std::string("the scale factors are refused (") + statusText(s) + ")", s);
    }
    if (!f.failed && arrayGiven) {
        const Status s = e.setArray(columns, rows, colSpacing, rowSpacing);
        if (s != Status::Ok) f.fail(g.size(), std::string("the array counts are refused (") + statusText(s) + ")", s);
    }
}

// ============================================================================================================
// [SECTION] Making entities for DXF record names
// ============================================================================================================

std::optional<std::int64_t> firstInteger(std::span<const ResBuf> groups, int c) {
    for (const ResBuf& rb : groups) {
        if (rb.code == code::kXDataSentinel || rb.code == code::kXDataApp) break;
        if (rb.code == c) return integerOf(rb);
    }
    return std::nullopt;
}

}  // namespace

bool isCommonEntityGroup(int c) {
    switch (c) {
    case code::kPaperSpace:
    case code::kLayer:
    case code::kLinetype:
    case code::kColor:
    case code::kTrueColor:
    case code::kLineWeight:
    case code::kLinetypeScale:
    case code::kVisibility: return true;
    default: return false;
    }
}

void writeEntityGroups(const Entity& entity, GroupSink& s) {
    writeCommon(entity, s);
    const Entity* e = &entity;
    // Derived kinds first: attributes are texts, the 2D and 3D polylines share a base.
    if (auto* x = dynamic_cast<const Line*>(e)) return writeLine(*x, s);
    if (auto* x = dynamic_cast<const Arc*>(e)) return writeArc(*x, s);
    if (auto* x = dynamic_cast<const Circle*>(e)) return writeCircle(*x, s);
    if (auto* x = dynamic_cast<const LwPolyline*>(e)) return writeLwPolyline(*x, s);
    if (auto* x = dynamic_cast<const PointEntity*>(e)) return writePoint(*x, s);
    if (auto* x = dynamic_cast<const Attribute*>(e)) return writeAttribute(*x, s);
    if (auto* x = dynamic_cast<const AttributeDefinition*>(e)) return writeAttributeDefinition(*x, s);
    if (auto* x = dynamic_cast<const Text*>(e)) return writeText(*x, s);
    if (auto* x = dynamic_cast<const MText*>(e)) return writeMText(*x, s);
    if (auto* x = dynamic_cast<const PolylineWithVertices*>(e)) return writePolyline(*x, s);
    if (auto* x = dynamic_cast<const PolylineVertex*>(e)) return writeVertex(*x, s);
    if (auto* x = dynamic_cast<const Spline*>(e)) return writeSpline(*x, s);
    if (auto* x = dynamic_cast<const Ellipse*>(e)) return writeEllipse(*x, s);
    if (auto* x = dynamic_cast<const BlockReference*>(e)) return writeBlockReference(*x, s);
    if (dynamic_cast<const BlockBegin*>(e)) return s.text(code::kSubclass, "AcDbBlockBegin");
    if (dynamic_cast<const BlockEnd*>(e)) return s.text(code::kSubclass, "AcDbBlockEnd");
    if (auto* x = dynamic_cast<const OpaqueEntity*>(e)) {
        for (const RawGroup& g : x->groups()) s.raw(g);
    }
    // SEQEND has nothing beyond the common groups.
}

Status applyEntityGroups(Entity& entity, std::span<const ResBuf> groups, RecordResolver& r, GroupError* error) {
    Faults f{error};
    applyCommon(entity, groups, r, f);
    if (f.failed) return f.status;
    Entity* e = &entity;
    if (auto* x = dynamic_cast<Line*>(e)) applyLine(*x, groups, f);
    else if (auto* x = dynamic_cast<Arc*>(e)) applyArc(*x, groups, f);
    else if (auto* x = dynamic_cast<Circle*>(e)) applyCircle(*x, groups, f);
    else if (auto* x = dynamic_cast<LwPolyline*>(e)) applyLwPolyline(*x, groups, f);
    else if (auto* x = dynamic_cast<PointEntity*>(e)) applyPoint(*x, groups, f);
    else if (auto* x = dynamic_cast<Attribute*>(e)) applyAttribute(*x, groups, r, f);
    else if (auto* x = dynamic_cast<AttributeDefinition*>(e)) applyAttributeDefinition(*x, groups, r, f);
    else if (auto* x = dynamic_cast<Text*>(e)) applyText(*x, groups, r, f);
    else if (auto* x = dynamic_cast<MText*>(e)) applyMText(*x, groups, r, f);
    else if (auto* x = dynamic_cast<PolylineWithVertices*>(e)) applyPolyline(*x, groups, f);
    else if (auto* x = dynamic_cast<PolylineVertex*>(e)) applyVertex(*x, groups, f);
    else if (auto* x = dynamic_cast<Spline*>(e)) applySpline(*x, groups, f);
    else if (auto* x = dynamic_cast<Ellipse*>(e)) applyEllipse(*x, groups, f);
    else if (auto* x = dynamic_cast<BlockReference*>(e)) applyBlockReference(*x, groups, r, f);
    return f.failed ? f.status : Status::Ok;
}

std::unique_ptr<Entity> newEntityForDxf(std::string_view name, std::span<const ResBuf> groups) {
    if (name == "LINE") return std::make_unique<Line>();
    if (name == "CIRCLE") return std::make_unique<Circle>();
    if (name == "ARC") return std::make_unique<Arc>();
    if (name == "POINT") return std::make_unique<PointEntity>();
    if (name == "LWPOLYLINE") return std::make_unique<LwPolyline>();
    if (name == "TEXT") return std::make_unique<Text>();
    if (name == "ATTRIB") return std::make_unique<Attribute>();
    if (name == "ATTDEF") return std::make_unique<AttributeDefinition>();
    if (name == "MTEXT") return std::make_unique<MText>();
    if (name == "SPLINE") return std::make_unique<Spline>();
    if (name == "ELLIPSE") return std::make_unique<Ellipse>();
    if (name == "INSERT") return std::make_unique<BlockReference>();
    if (name == "VERTEX") return std::make_unique<PolylineVertex>();
    if (name == "SEQEND") return std::make_unique<SequenceEnd>();
    if (name == "BLOCK") return std::make_unique<BlockBegin>();
    if (name == "ENDBLK") return std::make_unique<BlockEnd>();
    if (name == "POLYLINE") {
        const std::int64_t flags = firstInteger(groups, code::kInt70).value_or(0);
        if (flags & kPolylineMeshFlags) return nullptr;
        if (flags & PolylineWithVertices::kFlag3d) return std::make_unique<Polyline3d>();
        return std::make_unique<Polyline2d>();
    }
    return nullptr;
}

// ============================================================================================================
// [SECTION] ResBufSink
// ============================================================================================================

void ResBufSink::raw(const RawGroup& g) {
    // The y and z of a point join the point before them, as data lists hold points.
    const bool isY = isPointGroup(g.code - 10), isZ = isPointGroup(g.code - 20);
    if ((isY || isZ) && !out_.empty()) {
        ResBuf& last = out_.back();
        const int x = g.code - (isY ? 10 : 20);
        if (last.code == x && std::holds_alternative<ge::Point3d>(last.value)) {
            double v = 0.0;
            std::from_chars(g.value.data(), g.value.data() + g.value.size(), v);
            ge::Point3d p = last.point();
            (isY ? p.y : p.z) = v;
            last.value = p;
            return;
        }
    }
    if (isPointGroup(g.code)) {
        double v = 0.0;
        std::from_chars(g.value.data(), g.value.data() + g.value.size(), v);
        out_.emplace_back(g.code, ge::Point3d(v, 0.0, 0.0));
        return;
    }
    switch (valueKindOf(g.code)) {
    case ValueKind::Real: {
        double v = 0.0;
        std::from_chars(g.value.data(), g.value.data() + g.value.size(), v);
        out_.emplace_back(g.code, v);
        return;
    }
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Int64:
    case ValueKind::Bool: {
        std::int64_t v = 0;
        std::from_chars(g.value.data(), g.value.data() + g.value.size(), v);
        out_.emplace_back(g.code, v);
        return;
    }
    case ValueKind::Name: {
        const auto h = Handle::parse(g.value);
        const ObjectId id = (db_ && h) ? db_->idFromHandle(*h) : ObjectId();
        out_.emplace_back(g.code, idToName(id));
        return;
    }
    case ValueKind::Binary: {
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i + 1 < g.value.size(); i += 2) {
            unsigned v = 0;
            std::from_chars(g.value.data() + i, g.value.data() + i + 2, v, 16);
            bytes.push_back(std::uint8_t(v));
        }
        ResBuf rb(g.code);
        rb.value = std::move(bytes);
        out_.push_back(std::move(rb));
        return;
    }
    default: out_.emplace_back(g.code, g.value); return;
    }
}

}  // namespace host::db
