// Symbol tables and their records: blocks, layers, line types, text styles, registered applications, viewports,
// and the tables the host only keeps (views, UCSs, dimension styles).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/db/entity.h"

namespace host::db {

enum class TableKind { Block, Layer, Linetype, TextStyle, RegApp, Viewport, View, Ucs, DimStyle };

class SymbolTableRecord : public DbObject {
public:
    const std::string& name() const { return name_; }
    // Renames the record. DuplicateKey when another record of the table has the name (case-insensitive),
    // InvalidInput for an empty name, one over 255 bytes or one holding a control character or any of <>/\":;?,=`,
    // NotApplicable for the records every drawing has (layer "0", "ByLayer", "ByBlock", "Continuous", layouts).
    Status setName(std::string name);
    int flags() const { return flags_; }  // DXF group 70 (bit 1 frozen for layers, 4 locked, ...)
    Status setFlags(int f);
    // True for records that come from an external reference (name contains '|').
    bool isDependent() const { return name_.find('|') != std::string::npos; }

protected:
    SymbolTableRecord() = default;
    explicit SymbolTableRecord(std::string name) : name_(std::move(name)) {}

private:
    std::string name_;
    int flags_ = 0;
};

// A table: records in the order they were added, looked up by name without regard to case.
class SymbolTable : public Cloneable<SymbolTable, DbObject> {
public:
    explicit SymbolTable(TableKind kind) : kind_(kind) {}
    const char* className() const override;
    const char* dxfName() const override { return "TABLE"; }
    TableKind kind() const { return kind_; }

    // The record of that name, or the null id. Erased records are not found.
    ObjectId getAt(std::string_view name) const;
    bool has(std::string_view name) const { return !getAt(name).isNull(); }
    // Adds a record of this table's kind. DuplicateKey when the name is taken, InvalidInput for a name setName
    // refuses or a record of another kind. The table must be open for write. A layer added without a line type
    // draws with "Continuous".
    Status add(std::unique_ptr<SymbolTableRecord> record, ObjectId* id = nullptr);
    // Record ids in order; erased ones only when asked.
    std::vector<ObjectId> recordIds(bool includeErased = false) const;

    // Used by the file reader: attaches a record already added to the database.
    void attachRecord(ObjectId id) { records_.push_back(id); }

private:
    TableKind kind_;
    std::vector<ObjectId> records_;
};

class LayerTableRecord : public Cloneable<LayerTableRecord, SymbolTableRecord> {
public:
    LayerTableRecord() = default;
    explicit LayerTableRecord(std::string name) : Cloneable(std::move(name)) {}
    const char* className() const override { return "AcDbLayerTableRecord"; }
    const char* dxfName() const override { return "LAYER"; }

    Color color() const { return color_; }  // an index 1-255 or a true colour
    Status setColor(const Color& c);        // InvalidInput for 0 (BYBLOCK), 256 (BYLAYER) or rgb over 0xFFFFFF
    ObjectId linetypeId() const { return linetype_; }
    // A live line type of the layer's database other than "ByLayer" and "ByBlock" (InvalidInput for those,
    // WrongObjectType, WrongDatabase, WasErased, NullObjectId otherwise).
    Status setLinetypeId(ObjectId lt);
    bool isOff() const { return off_; }  // stored as a negative colour in files
    Status setIsOff(bool off);
    bool isFrozen() const { return (flags() & 1) != 0; }
    Status setIsFrozen(bool frozen);
    bool isLocked() const { return (flags() & 4) != 0; }
    Status setIsLocked(bool locked);
    bool isPlottable() const { return plottable_; }
    Status setIsPlottable(bool on);
    int lineWeight() const { return lineweight_; }
    Status setLineWeight(int w);
    // True when the layer shows: on and thawed.
    bool isVisible() const { return !off_ && !isFrozen(); }

private:
    Color color_ = Color::fromIndex(7);
    ObjectId linetype_;
    bool off_ = false;
    bool plottable_ = true;
    int lineweight_ = -3;
};

class LinetypeTableRecord : public Cloneable<LinetypeTableRecord, SymbolTableRecord> {
public:
    LinetypeTableRecord() = default;
    explicit LinetypeTableRecord(std::string name) : Cloneable(std::move(name)) {}
    const char* className() const override { return "AcDbLinetypeTableRecord"; }
    const char* dxfName() const override { return "LTYPE"; }

    const std::string& description() const { return description_; }
    Status setDescription(std::string d);
    // Dash lengths in drawing units: positive a dash, negative a gap, zero a dot. Empty: continuous.
    const std::vector<double>& dashes() const { return dashes_; }
    Status setDashes(std::vector<double> dashes);
    double patternLength() const;
    // Shape and text elements of complex line types, kept as read (DXF groups 74, 75, 340, 46, 50, 44, 45, 9).
    const RawGroups& complexElements() const { return complex_; }
    Status setComplexElements(RawGroups g);

private:
    std::string description_;
    std::vector<double> dashes_;
    RawGroups complex_;
};

class TextStyleTableRecord : public Cloneable<TextStyleTableRecord, SymbolTableRecord> {
public:
    TextStyleTableRecord() = default;
    explicit TextStyleTableRecord(std::string name) : Cloneable(std::move(name)) {}
    const char* className() const override { return "AcDbTextStyleTableRecord"; }
    const char* dxfName() const override { return "STYLE"; }

    const std::string& fontFile() const { return font_; }
    Status setFontFile(std::string f);
    const std::string& bigFontFile() const { return bigFont_; }
    Status setBigFontFile(std::string f);
    double textSize() const { return size_; }  // fixed height, 0 when not fixed
    Status setTextSize(double h);
    double widthFactor() const { return width_; }
    Status setWidthFactor(double w);
    double obliquingAngle() const { return oblique_; }
    Status setObliquingAngle(double a);
    double priorSize() const { return prior_; }
    Status setPriorSize(double h);
    int generationFlags() const { return gen_; }
    Status setGenerationFlags(int f);

private:
    std::string font_ = "txt", bigFont_;
    double size_ = 0.0, width_ = 1.0, oblique_ = 0.0, prior_ = 2.5;
    int gen_ = 0;
};

class RegAppTableRecord : public Cloneable<RegAppTableRecord, SymbolTableRecord> {
public:
    RegAppTableRecord() = default;
    explicit RegAppTableRecord(std::string name) : Cloneable(std::move(name)) {}
    const char* className() const override { return "AcDbRegAppTableRecord"; }
    const char* dxfName() const override { return "APPID"; }
};

// A model-space viewport ("*Active" is the current one). The host has no screen: these values are the view
// state that zoom and regen change, and what a file carries.
class ViewportTableRecord : public Cloneable<ViewportTableRecord, SymbolTableRecord> {
public:
    ViewportTableRecord() = default;
    explicit ViewportTableRecord(std::string name) : Cloneable(std::move(name)) {}
    const char* className() const override { return "AcDbViewportTableRecord"; }
    const char* dxfName() const override { return "VPORT"; }

    ge::Point2d center() const { return center_; }
    double height() const { return height_; }
    double aspectRatio() const { return aspect_; }
    Status setView(const ge::Point2d& center, double height, double aspectRatio);
    // The UCS of the viewport; the host works in the world UCS only.
    ge::Point3d ucsOrigin() const { return ucsOrigin_; }
    ge::Vector3d ucsXAxis() const { return ucsX_; }
    ge::Vector3d ucsYAxis() const { return ucsY_; }
    Status setUcs(const ge::Point3d& origin, const ge::Vector3d& x, const ge::Vector3d& y);
    Status setUcsToWorld() { return setUcs({0, 0, 0}, {1, 0, 0}, {0, 1, 0}); }
    // Other groups of the record, kept as read.
    const RawGroups& otherGroups() const { return other_; }
    Status setOtherGroups(RawGroups g);

private:
    // A new drawing shows 297 units (the short side of an A3 sheet) from the origin up, so that a pick box of a
    // few pixels is a few tenths of a unit until the first zoom, as in a CAD program's default template.
    ge::Point2d center_{148.5, 148.5};
    double height_ = 297.0, aspect_ = 1.0;
    ge::Point3d ucsOrigin_;
    ge::Vector3d ucsX_ = {1, 0, 0}, ucsY_ = {0, 1, 0};
    RawGroups other_;
};

// A record of a table the host does not model (VIEW, UCS, DIMSTYLE): its groups after the name, kept as read.
class OpaqueTableRecord : public Cloneable<OpaqueTableRecord, SymbolTableRecord> {
public:
    OpaqueTableRecord(TableKind kind, std::string name, RawGroups groups)
        : Cloneable(std::move(name)), kind_(kind), groups_(std::move(groups)) {}
    const char* className() const override;
    const char* dxfName() const override;
    TableKind kind() const { return kind_; }
    const RawGroups& groups() const { return groups_; }
    Status setGroups(RawGroups groups);

private:
    TableKind kind_;
    RawGroups groups_;
};

// A block definition: its entities in order, its base point, and the BLOCK/ENDBLK markers a file carries.
// "*Model_Space" and "*Paper_Space" are the two layout blocks.
class BlockTableRecord : public Cloneable<BlockTableRecord, SymbolTableRecord> {
public:
    BlockTableRecord() = default;
    explicit BlockTableRecord(std::string name) : Cloneable(std::move(name)) {}
    const char* className() const override { return "AcDbBlockTableRecord"; }
    const char* dxfName() const override { return "BLOCK_RECORD"; }

    // Appends an entity to this block (which must be in a database and open for write). The entity becomes the
    // database's; a new entity without a layer takes the database's current layer, colour, line type and scale.
    // Its paper-space flag follows the block. AlreadyInDb for an entity that already belongs to a database (the
    // caller keeps it), NotOpenForWrite, NotInDatabase.
    Status appendEntity(std::unique_ptr<Entity> entity, ObjectId* id = nullptr);
    // Entity ids in order; erased ones only when asked.
    std::vector<ObjectId> entityIds(bool includeErased = false) const;
    std::size_t entityCount() const { return entities_.size(); }
    // The entity ids in order, erased ones included, without a copy (for walkers).
    const std::vector<ObjectId>& entityList() const { return entities_; }

    ge::Point3d origin() const { return origin_; }
    Status setOrigin(const ge::Point3d& p);
    bool isLayout() const;  // *Model_Space or *Paper_Space (any "*Paper_Space" name)
    bool isAnonymous() const { return (flags() & 1) != 0; }
    int insertUnits() const { return insUnits_; }  // DXF INSUNITS codes: 0 unitless, 1 inches, 4 millimetres ...
    Status setInsertUnits(int u);
    const std::string& description() const { return description_; }
    Status setDescription(std::string d);
    ObjectId layoutId() const { return layout_; }
    void setLayoutId(ObjectId l) { layout_ = l; }
    const std::string& xrefPath() const { return xref_; }
    Status setXrefPath(std::string p);

    ObjectId blockBegin() const { return begin_; }
    ObjectId blockEnd() const { return end_; }
    // Used by the file reader: attaches already added entities and markers.
    void attachEntity(ObjectId id) { entities_.push_back(id); }
    void attachBlockBegin(ObjectId id) { begin_ = id; }
    void attachBlockEnd(ObjectId id) { end_ = id; }

private:
    friend class Database;  // undo records a block by the length of its list (undo.cpp)
    std::vector<ObjectId> entities_;
    ge::Point3d origin_;
    int insUnits_ = 0;
    std::string description_, xref_;
    ObjectId layout_, begin_, end_;
};

}  // namespace host::db
