// One codec between an entity and its DXF groups: the DXF writer and the entity data lists (entGet) take an
// entity's groups from it, the DXF reader and entMod apply groups to an entity through it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/db/tables.h"

namespace host::db {

// Receives an entity's groups in DXF order.
class GroupSink {
public:
    virtual ~GroupSink() = default;
    // Reals; the angle groups (isAngleGroup) in radians.
    virtual void real(int code, double value) = 0;
    virtual void integer(int code, std::int64_t value) = 0;
    virtual void text(int code, std::string_view value) = 0;
    // A point whose y and z follow as code + 10 and code + 20 in a file.
    virtual void point(int code, const ge::Point3d& p) = 0;
    // A point of a lightweight polyline: x and y only.
    virtual void point2d(int code, const ge::Point2d& p) = 0;
    // A group of an entity the host does not model, as it was read.
    virtual void raw(const RawGroup& group) = 0;
};

// True for the group codes that carry the x of a point: in a file y follows as code + 10 and z (where there is
// one) as code + 20; in a data list the point is one group.
constexpr bool isPointGroup(int code) {
    return (code >= 10 && code <= 18) || (code >= 110 && code <= 112) || code == 210 || (code >= 1010 && code <= 1013);
}

// In the entities we model every group 50-58 is an angle: radians in memory and in data lists, degrees in files.
constexpr bool isAngleGroup(int code) { return code >= 50 && code <= 58; }

// Object coordinates: the points a file and a data list give in the plane of the entity's normal (group 210, by
// the arbitrary-axis rule of Matrix3d::planeToWorld) where our classes hold world points: the centre (10) of a
// CIRCLE or ARC, the position (10) and alignment point (11) of a TEXT, ATTRIB or ATTDEF, the insertion point (10)
// of an INSERT. The codec converts them both ways. Lightweight and 2D polyline vertices are object coordinates in
// the file and in our classes alike; LINE, POINT, MTEXT, ELLIPSE, SPLINE and 3D polyline points are world points
// in both. With the normal (0,0,1) the two systems are one and a point is kept bit for bit; for other normals a
// point written and read back comes within a few units in the last place of where it was. Applying groups keeps
// the object coordinates on the entity, and writing gives them back while the point and normal are unchanged
// (Entity::rememberObjectPoint), so a drawing read and saved again is saved the same each time.
ge::Point3d objectToWorld(const ge::Vector3d& normal, const ge::Point3d& objectPoint);
ge::Point3d worldToObject(const ge::Vector3d& normal, const ge::Point3d& worldPoint);

// The groups every entity has, in the AcDbEntity part of its record: 67 paper space, 8 layer, 6 line type,
// 62 colour, 420 true colour, 370 lineweight, 48 line-type scale, 60 visibility.
bool isCommonEntityGroup(int code);

// Writes an entity's groups after its head (type, handle, reactors and owner are the caller's) and before its
// extended data:
//   100 AcDbEntity, 67 1 (paper space only), 8 layer, 6 line type (unless ByLayer), 62 colour (unless BYLAYER or
//   only a true colour), 420 true colour, 370 lineweight (unless by layer), 48 (unless 1), 60 1 (invisible only),
//   then each subclass marker with its data, values at their defaults left out where the DXF reference allows it.
// Points are as the DXF reference has them: object coordinates where it says so (see objectToWorld).
// Old-style polylines and block references write their own record only; vertices, attributes and end markers are
// entities of their own. BLOCK and ENDBLK write their marker; the block's name, flags and base point are the
// block record's, written by the DXF writer.
void writeEntityGroups(const Entity& entity, GroupSink& sink);

// Finds (and, where the caller allows, creates) the records that groups name: layers (8), line types (6), text
// styles (7), blocks (2 of an INSERT).
class RecordResolver {
public:
    virtual ~RecordResolver() = default;
    // The record, or the null id when there is none and none may be made.
    virtual ObjectId record(TableKind kind, std::string_view name) = 0;
};

// Where applying groups failed: the index of the group at fault (groups.size() for a fault of the whole list,
// such as spline data that does not fit together) and what is wrong, in words for a message.
struct GroupError {
    std::size_t index = 0;
    std::string what;
};

// Applies groups, as a data list or the DXF reader holds them (a point is one group; angles are radians), to an
// entity of the kind they describe. Object-coordinate points (see objectToWorld) are in the plane of the list's
// normal (210, wherever it stands in the list), or of the entity's own normal when the list has none; a list that
// changes the normal but gives no point keeps the entity's world points where they are. Groups not given leave
// their values as they are; vertices (10 of a lightweight polyline), spline data (10, 11, 40, 41) and multi-line
// text (3 and 1) are replaced whole when any of their groups is given.
//   - Ignored: -1, 0, 5, 100, 102, 330 and other head groups, groups the kind does not have, and everything from
//     the first -3 or 1001 (extended data is the caller's).
//   - The common groups count wherever they stand, also after the kind's subclass marker (some writers put layer
//     and colour there), except where the kind's own data uses the code (an MTEXT's 48 is its column width).
//     For an opaque entity they count only in the AcDbEntity part (before the first subclass marker that is not
//     "AcDbEntity"; anywhere when the list has no marker, as in R12 files): what follows is its own data.
//   - An ELLIPSE whose sweep is within 1e-5 of a full turn is whole (writers round 2*pi).
//   - Fails (InvalidInput, with `error` filled) for a value of the wrong type, a value the entity refuses (a
//     radius of 0, an unknown lineweight), or a name the resolver does not find (KeyNotFound). The entity may
//     then be partly changed: callers that must not change it apply to a copy first.
// An opaque entity takes its common groups only (its other groups are fixed when it is made).
Status applyEntityGroups(Entity& entity, std::span<const ResBuf> groups, RecordResolver& resolver,
                         GroupError* error = nullptr);

// A new, empty entity for a DXF record name, or nullptr when the host does not model the kind (the caller keeps
// such a record as an OpaqueEntity). POLYLINE looks at group 70 in `groups`: 3D polylines (flag 8) and 2D ones
// are modelled, polygon and polyface meshes (flags 16 and 64) are not. BLOCK and ENDBLK answer their markers.
std::unique_ptr<Entity> newEntityForDxf(std::string_view dxfName, std::span<const ResBuf> groups);

// A sink that collects the groups as result buffers (angles in radians, raw groups typed by valueKindOf; raw
// references become entity names through the entity's database).
class ResBufSink : public GroupSink {
public:
    explicit ResBufSink(ResBufList& out, const Database* database = nullptr) : out_(out), db_(database) {}
    void real(int code, double value) override { out_.emplace_back(code, value); }
    void integer(int code, std::int64_t value) override { out_.emplace_back(code, value); }
    void text(int code, std::string_view value) override { out_.emplace_back(code, std::string(value)); }
    void point(int code, const ge::Point3d& p) override { out_.emplace_back(code, p); }
    void point2d(int code, const ge::Point2d& p) override { out_.emplace_back(code, ge::Point3d(p)); }
    void raw(const RawGroup& group) override;

private:
    ResBufList& out_;
    const Database* db_;
};

}  // namespace host::db
