// Symbol tables and their records (layers, line types, text styles, applications, viewports, kept tables).
// Block records are in block_table_record.cpp.
#include "host/db/tables.h"

#include <cmath>
#include <string_view>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/sys/text_case.h"

namespace host::db {

namespace {

// Longest record name we accept; a resource bound well above any name a drawing uses.
constexpr std::size_t kMaxRecordName = 255;
// Characters a symbol name may not hold: they separate fields in commands and files.
constexpr std::string_view kForbiddenNameChars = "<>/\\\":;?,=`";

bool validRecordName(std::string_view name) {
    if (name.empty() || name.size() > kMaxRecordName) return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || kForbiddenNameChars.find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

TableKind kindOf(const SymbolTableRecord& r) {
    if (auto* o = dynamic_cast<const OpaqueTableRecord*>(&r)) return o->kind();
    if (dynamic_cast<const LayerTableRecord*>(&r)) return TableKind::Layer;
    if (dynamic_cast<const LinetypeTableRecord*>(&r)) return TableKind::Linetype;
    if (dynamic_cast<const TextStyleTableRecord*>(&r)) return TableKind::TextStyle;
    if (dynamic_cast<const RegAppTableRecord*>(&r)) return TableKind::RegApp;
    if (dynamic_cast<const ViewportTableRecord*>(&r)) return TableKind::Viewport;
    return TableKind::Block;
}

// Records every drawing must have keep their names: layer "0", the line types "ByLayer", "ByBlock" and
// "Continuous", and the layout blocks.
bool hasFixedName(const SymbolTableRecord& r) {
    if (dynamic_cast<const LayerTableRecord*>(&r)) return r.name() == "0";
    if (dynamic_cast<const LinetypeTableRecord*>(&r))
        return sys::equalsNoCase(r.name(), "ByLayer") || sys::equalsNoCase(r.name(), "ByBlock") ||
               sys::equalsNoCase(r.name(), "Continuous");
    if (auto* b = dynamic_cast<const BlockTableRecord*>(&r)) return b->isLayout();
    return false;
}

bool finite(double v) {
    return std::isfinite(v);
}

// Every block definition opens with a BLOCK and closes with an ENDBLK record on layer "0". The block has just
// been added (its creation is what undo records), so the markers are attached without opening it.
void addBlockMarkers(Database& db, BlockTableRecord& block) {
    const ObjectId layer0 = db.recordId(TableKind::Layer, "0");
    auto add = [&](std::unique_ptr<Entity> marker) {
        if (!layer0.isNull()) marker->setLayer(layer0);
        ObjectId id;
        db.addObject(std::move(marker), block.objectId(), &id);
        return id;
    };
    if (block.blockBegin().isNull()) block.attachBlockBegin(add(std::make_unique<BlockBegin>()));
    if (block.blockEnd().isNull()) block.attachBlockEnd(add(std::make_unique<BlockEnd>()));
}

}  // namespace

// ---- SymbolTableRecord

Status SymbolTableRecord::setName(std::string name) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (!validRecordName(name)) return Status::InvalidInput;
    if (Database* db = database()) {
        if (hasFixedName(*this) && !sys::equalsNoCase(name, name_)) return Status::NotApplicable;
        if (const auto* table = dynamic_cast<const SymbolTable*>(db->peek(ownerId()))) {
            const ObjectId other = table->getAt(name);
            if (!other.isNull() && other != objectId()) return Status::DuplicateKey;
        }
    }
    name_ = std::move(name);
    return Status::Ok;
}

Status SymbolTableRecord::setFlags(int f) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    flags_ = f;
    return Status::Ok;
}

// ---- SymbolTable

const char* SymbolTable::className() const {
    switch (kind_) {
    case TableKind::Block: return "AcDbBlockTable";
    case TableKind::Layer: return "AcDbLayerTable";
    case TableKind::Linetype: return "AcDbLinetypeTable";
    case TableKind::TextStyle: return "AcDbTextStyleTable";
    case TableKind::RegApp: return "AcDbRegAppTable";
    case TableKind::Viewport: return "AcDbViewportTable";
    case TableKind::View: return "AcDbViewTable";
    case TableKind::Ucs: return "AcDbUCSTable";
    case TableKind::DimStyle: return "AcDbDimStyleTable";
    }
    return "AcDbSymbolTable";
}

ObjectId SymbolTable::getAt(std::string_view name) const {
    for (ObjectId id : records_) {
        const auto* r = dynamic_cast<const SymbolTableRecord*>(id.database()->peek(id));
        if (r && !r->isErased() && sys::equalsNoCase(r->name(), name)) return id;
    }
    return {};
}

Status SymbolTable::add(std::unique_ptr<SymbolTableRecord> record, ObjectId* id) {
    if (!record) return Status::InvalidInput;
    Database* db = database();
    if (!db) return Status::NotInDatabase;
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (!record->isNewObject()) return Status::AlreadyInDb;
    if (kindOf(*record) != kind_ || !validRecordName(record->name())) return Status::InvalidInput;
    if (has(record->name())) return Status::DuplicateKey;
    if (auto* layer = dynamic_cast<LayerTableRecord*>(record.get()); layer && layer->linetypeId().isNull()) {
        const ObjectId continuous = db->recordId(TableKind::Linetype, "Continuous");
        if (!continuous.isNull()) layer->setLinetypeId(continuous);
    }
    auto* block = dynamic_cast<BlockTableRecord*>(record.get());
    ObjectId added;
    const Status s = db->addObject(std::move(record), objectId(), &added);
    if (s != Status::Ok) return s;
    records_.push_back(added);
    if (block) addBlockMarkers(*db, *block);
    if (id) *id = added;
    return Status::Ok;
}

std::vector<ObjectId> SymbolTable::recordIds(bool includeErased) const {
    if (includeErased) return records_;
    std::vector<ObjectId> out;
    for (ObjectId id : records_) {
        if (!id.isErased()) out.push_back(id);
    }
    return out;
}

// ---- LayerTableRecord

Status LayerTableRecord::setColor(const Color& c) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    constexpr std::uint32_t kMaxRgb = 0xFFFFFF;
    if (c.rgb ? *c.rgb > kMaxRgb : (c.index < 1 || c.index > 255)) return Status::InvalidInput;
    color_ = c;
    return Status::Ok;
}

// A layer draws with a real line type: not "ByLayer" or "ByBlock", and one of the layer's own database.
Status LayerTableRecord::setLinetypeId(ObjectId lt) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (lt.isNull()) return Status::NullObjectId;
    if (database() && lt.database() != database()) return Status::WrongDatabase;
    const auto* record = dynamic_cast<const LinetypeTableRecord*>(lt.database()->peek(lt));
    if (!record) return Status::WrongObjectType;
    if (record->isErased()) return Status::WasErased;
    if (sys::equalsNoCase(record->name(), "ByLayer") || sys::equalsNoCase(record->name(), "ByBlock"))
        return Status::InvalidInput;
    linetype_ = lt;
    return Status::Ok;
}

Status LayerTableRecord::setIsOff(bool off) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    off_ = off;
    return Status::Ok;
}

Status LayerTableRecord::setIsFrozen(bool frozen) {
    return setFlags(frozen ? (flags() | 1) : (flags() & ~1));
}

Status LayerTableRecord::setIsLocked(bool locked) {
    return setFlags(locked ? (flags() | 4) : (flags() & ~4));
}

Status LayerTableRecord::setIsPlottable(bool on) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    plottable_ = on;
    return Status::Ok;
}

// -3 default, -2 by block, -1 by layer, or hundredths of a millimetre up to 2.11 mm.
Status LayerTableRecord::setLineWeight(int w) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    constexpr int kMinWeight = -3, kMaxWeight = 211;
    if (w < kMinWeight || w > kMaxWeight) return Status::InvalidInput;
    lineweight_ = w;
    return Status::Ok;
}

// ---- LinetypeTableRecord

Status LinetypeTableRecord::setDescription(std::string d) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    description_ = std::move(d);
    return Status::Ok;
}

Status LinetypeTableRecord::setDashes(std::vector<double> dashes) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    for (double d : dashes) {
        if (!finite(d)) return Status::InvalidInput;
    }
    dashes_ = std::move(dashes);
    return Status::Ok;
}

// The length of one repeat of the pattern: dashes, gaps and dots together.
double LinetypeTableRecord::patternLength() const {
    double sum = 0.0;
    for (double d : dashes_) sum += std::fabs(d);
    return sum;
}

Status LinetypeTableRecord::setComplexElements(RawGroups g) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    complex_ = std::move(g);
    return Status::Ok;
}

// ---- TextStyleTableRecord

Status TextStyleTableRecord::setFontFile(std::string f) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    font_ = std::move(f);
    return Status::Ok;
}

Status TextStyleTableRecord::setBigFontFile(std::string f) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    bigFont_ = std::move(f);
    return Status::Ok;
}

Status TextStyleTableRecord::setTextSize(double h) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (!finite(h) || h < 0.0) return Status::InvalidInput;
    size_ = h;
    return Status::Ok;
}

Status TextStyleTableRecord::setWidthFactor(double w) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (!finite(w) || w <= 0.0) return Status::InvalidInput;
    width_ = w;
    return Status::Ok;
}

Status TextStyleTableRecord::setObliquingAngle(double a) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (!finite(a)) return Status::InvalidInput;
    oblique_ = a;
    return Status::Ok;
}

Status TextStyleTableRecord::setPriorSize(double h) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (!finite(h) || h < 0.0) return Status::InvalidInput;
    prior_ = h;
    return Status::Ok;
}

Status TextStyleTableRecord::setGenerationFlags(int f) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    gen_ = f;
    return Status::Ok;
}

// ---- ViewportTableRecord

Status ViewportTableRecord::setView(const ge::Point2d& center, double height, double aspectRatio) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (!finite(center.x) || !finite(center.y) || !finite(height) || !finite(aspectRatio) || height <= 0.0 ||
        aspectRatio <= 0.0)
        return Status::InvalidInput;
    center_ = center;
    height_ = height;
    aspect_ = aspectRatio;
    return Status::Ok;
}

Status ViewportTableRecord::setUcs(const ge::Point3d& origin, const ge::Vector3d& x, const ge::Vector3d& y) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    const double lx = x.length(), ly = y.length();
    if (!finite(origin.x) || !finite(origin.y) || !finite(origin.z) || !finite(lx) || !finite(ly) || lx == 0.0 ||
        ly == 0.0)
        return Status::InvalidInput;
    ucsOrigin_ = origin;
    ucsX_ = x;
    ucsY_ = y;
    return Status::Ok;
}

Status ViewportTableRecord::setOtherGroups(RawGroups g) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    other_ = std::move(g);
    return Status::Ok;
}

// ---- OpaqueTableRecord

Status OpaqueTableRecord::setGroups(RawGroups g) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    groups_ = std::move(g);
    return Status::Ok;
}

const char* OpaqueTableRecord::className() const {
    switch (kind_) {
    case TableKind::View: return "AcDbViewTableRecord";
    case TableKind::Ucs: return "AcDbUCSTableRecord";
    case TableKind::DimStyle: return "AcDbDimStyleTableRecord";
    default: return "AcDbSymbolTableRecord";
    }
}

const char* OpaqueTableRecord::dxfName() const {
    switch (kind_) {
    case TableKind::View: return "VIEW";
    case TableKind::Ucs: return "UCS";
    case TableKind::DimStyle: return "DIMSTYLE";
    case TableKind::Block: return "BLOCK_RECORD";
    case TableKind::Layer: return "LAYER";
    case TableKind::Linetype: return "LTYPE";
    case TableKind::TextStyle: return "STYLE";
    case TableKind::RegApp: return "APPID";
    case TableKind::Viewport: return "VPORT";
    }
    return "UNKNOWN";
}

}  // namespace host::db
