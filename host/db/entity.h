// The base of every drawing entity: layer, colour, line type, line-type scale, visibility, and the geometric
// services every entity answers (extents, transformation, intersection).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/db/object.h"
#include "host/ge/matrix.h"
#include "host/ge/point.h"

namespace host::db {

// An entity colour: an ACI index (1-255; 0 BYBLOCK, 256 BYLAYER, 257 "by entity" when a true colour is set) and an
// optional true colour 0xRRGGBB.
struct Color {
    static constexpr int kByBlock = 0;
    static constexpr int kByLayer = 256;

    int index = kByLayer;
    std::optional<std::uint32_t> rgb;

    static Color fromIndex(int aci) { return Color{aci, std::nullopt}; }
    bool isByLayer() const { return index == kByLayer && !rgb; }
    bool isByBlock() const { return index == kByBlock && !rgb; }
    bool operator==(const Color&) const = default;
};

// An axis-parallel box. A box starts from a point (Extents{p, p}); add() grows it.
struct Extents {
    ge::Point3d min, max;
    void add(const ge::Point3d& p);
    void add(const Extents& e);
    bool operator==(const Extents&) const = default;
};

// Which intersection points intersectWith answers.
enum class Intersect {
    OnBothOperands,   // points on both entities as drawn
    ExtendThis,       // this entity extended (lines become infinite, arcs full circles)
    ExtendArgument,   // the argument extended
    ExtendBoth,
};

class Entity : public DbObject {
public:
    const Entity* asEntity() const final { return this; }
    // Layer: by id, or by name (KeyNotFound when the layer does not exist in the entity's database, or in the
    // working database for a new entity; NotInDatabase when there is neither). Names are compared without regard
    // to case. layer() answers the layer's name as stored, "0" for a new entity that has none yet. Every setter
    // of an entity stops the program with a message when the entity is in a database and not open for write.
    ObjectId layerId() const { return layer_; }
    std::string layer() const;
    Status setLayer(ObjectId layer);
    Status setLayer(std::string_view name);

    Color color() const { return color_; }
    int colorIndex() const { return color_.index; }
    // InvalidInput for an index outside 0-257, a true colour above 0xFFFFFF, or 257 without a true colour.
    Status setColor(const Color& c);
    // An ACI index 0-256 (clears a true colour); InvalidInput otherwise.
    Status setColorIndex(int aci);

    // Line type: by id or name; "ByLayer", "ByBlock" and "Continuous" always exist. linetype() answers the
    // table record's name as stored (e.g. "Continuous" even when set as "CONTINUOUS"), "ByLayer" when none is
    // set.
    ObjectId linetypeId() const { return linetype_; }
    std::string linetype() const;
    Status setLinetype(ObjectId linetype);
    Status setLinetype(std::string_view name);

    double linetypeScale() const { return ltscale_; }
    Status setLinetypeScale(double s);  // InvalidInput unless s > 0

    // Visibility: DXF group 60 (0 visible, 1 invisible).
    bool isVisible() const { return visible_; }
    Status setVisible(bool visible);

    int lineWeight() const { return lineweight_; }  // -1 by layer, -2 by block, -3 default, else 1/100 mm
    Status setLineWeight(int weight);  // InvalidInput for a value that is not one of the standard lineweights

    // True for entities drawn in paper space (group 67).
    bool inPaperSpace() const { return paperSpace_; }
    void setPaperSpace(bool ps) { paperSpace_ = ps; }

    // Takes layer, colour, line type and line-type scale from the database's current values (CLAYER, CECOLOR,
    // CELTYPE, CELTSCALE). Appending a new entity to a block does this unless the entity already has a layer.
    void setPropertiesFrom(const Database& db);

    // Geometric extents; nullopt for entities without geometry (an empty text, an opaque record).
    virtual std::optional<Extents> geomExtents() const = 0;
    // Moves, rotates, scales or mirrors the entity. NotApplicable where the entity cannot take the transform (a
    // non-uniform scale of an arc).
    virtual Status transformBy(const ge::Matrix3d& m) = 0;
    // Intersection points of this entity with another (which may belong to no database), found in plan view, in
    // the order documented in intersect.cpp: along this entity from its start. Tangent contact gives one point;
    // overlapping pieces give none; a point entity meets a curve it lies on within the global tolerance.
    std::vector<ge::Point3d> intersectWith(const Entity& other, Intersect mode = Intersect::OnBothOperands) const;

    // Highlight state (a display property kept by the host; nothing is stored in the drawing).
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool on) { highlighted_ = on; }

    // A point a file or a data list gave in object coordinates (group `code`, in the plane of `plane`) and the
    // world point it became. rememberedObjectPoint answers it back while the entity holds that world point and the
    // normal of that plane: a drawing saved again then writes the coordinates it was read with, where converting
    // back would round differently each time. Nothing else depends on it; any change makes it unused.
    void rememberObjectPoint(int code, const ge::Vector3d& plane, const ge::Point3d& object,
                             const ge::Point3d& world);
    std::optional<ge::Point3d> rememberedObjectPoint(int code, const ge::Vector3d& normal,
                                                     const ge::Point3d& world) const;

protected:
    Entity() = default;

private:
    ObjectId layer_;
    ObjectId linetype_;
    Color color_;
    double ltscale_ = 1.0;
    bool visible_ = true;
    bool paperSpace_ = false;
    bool highlighted_ = false;
    int lineweight_ = -1;
    struct ObjectPoint {
        int code;
        ge::Vector3d normal;  // the unit normal the entity had from the plane
        ge::Point3d object, world;
    };
    std::vector<ObjectPoint> objectPoints_;
};

}  // namespace host::db
