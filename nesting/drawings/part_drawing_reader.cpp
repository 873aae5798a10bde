// Reading a part or stock drawing's stored contours and copying their entities into the current drawing.
//
// Index of this file: the drawing and its marker; copying entities; ReadPartDrawing; the engraving texts; the
// size reader.
#include "nesting/drawings/part_drawing_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_set>

#include "cadlib/numbers.h"
#include "host/db/entity_data.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/commands/entity_copy.h"
#include "host/ge/matrix.h"
#include "host/sys/paths.h"
#include "host/ui/message_box.h"
#include "storedjob/stored_records.h"
#include "nesting/drawings/drawing_messages.h"
#include "nesting/drawings/drawing_read_cache.h"

using host::db::Database;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBufList;

namespace {

// ===================================================================== the drawing and its marker

void ShowError(const TwoLanguageText& text, const std::string& path) {
    host::ui::messageBox(FormatLocalized(text, path.c_str()), {}, host::ui::MB_OK | host::ui::MB_ICONERROR);
}

// The drawing at a stored path, read into a database of its own (or as the job's check read it); null when it
// cannot be read.
std::unique_ptr<Database> ReadDrawing(std::string_view storedPath) {
    if (std::unique_ptr<Database> kept = DrawingReadCache::Take(storedPath)) return kept;
    host::dxf::ReadResult read = host::dxf::readDxfFile(host::sys::resolveDrawingPath(storedPath));
    return std::move(read.database);
}

// The "Kstr" list of the drawing's first marker text that is live and carries data: a TEXT "Kstr_ST" on layer
// "NC_Laser" at the origin. nullopt when there is none.
std::optional<ResBufList> FindMarkerData(const Database& db) {
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    if (!ms) return std::nullopt;
    for (ObjectId id : ms->entityIds()) {
        const auto* text = dynamic_cast<const host::db::Text*>(db.peek(id));
        if (!text || text->isErased() || text->textString() != kJobSettingsText) continue;
        if (text->layer() != kJobLayer) continue;
        const host::ge::Point3d at = text->position();
        if (at.x != 0.0 || at.y != 0.0 || at.z != 0.0) continue;
        ResBufList data = text->xData(kJobXDataApp);
        if (!data.empty()) return data;
    }
    return std::nullopt;
}

// The "Kstr" list of the live text with this handle in the drawing.
std::optional<ResBufList> TextData(const Database& db, std::uint64_t handle) {
    if (handle == 0) return std::nullopt;
    const auto* text = dynamic_cast<const host::db::Text*>(db.peek(db.idFromHandle(host::db::Handle(handle))));
    if (!text || text->isErased()) return std::nullopt;
    return text->xData(kJobXDataApp);
}

// ===================================================================== copying entities

// Kinds of part entities that join the block without being contours: engraving, common lines, marking points,
// jumper points and heat treatment. A stock may hold none of them.
bool IsSpecialKind(ContourKind kind) {
    switch (kind) {
        case ContourKind::EngraveLine:
        case ContourKind::CommonLine:
        case ContourKind::MarkPoint:
        case ContourKind::KindJumperPoint:
        case ContourKind::HeatTreatmentLine:
            return true;
        default:
            return false;
    }
}

// Copies the drawing's live entity with this handle into model space of the current drawing. nullopt when the
// handle names nothing, an erased object, something that is no entity, or the copy cannot be made.
std::optional<host::db::EntityName> CopyEntity(const Database& source, std::uint64_t handle,
                                               host::ed::EntityCopier& copier, const host::ge::Matrix3d& transform) {
    const ObjectId id = source.idFromHandle(host::db::Handle(handle));
    const auto* entity = dynamic_cast<const host::db::Entity*>(source.peek(id));
    if (!entity || entity->isErased()) return std::nullopt;
    ObjectId copy;
    Database& target = copier.target();
    if (copier.copy(*entity, target.modelSpaceId(), transform, &copy) != host::db::Status::Ok) return std::nullopt;
    return host::db::idToName(copy);
}

// The contour as read of one kept entry: its shape, class, closure and kind, with the stored box and area.
// The stored header and the whole contour table of the drawing; nullopt when either is missing or ends early.
std::optional<std::vector<ContourRecord>> ReadContourTable(const Database& drawing, StoredJobHeader& header) {
    const std::optional<ResBufList> marker = FindMarkerData(drawing);
    if (!marker || ReadStoredJobHeader(*marker, header) != StoredHeaderProblem::None) return std::nullopt;
    const std::optional<ResBufList> directory = TextData(drawing, header.directoryHandle);
    if (!directory) return std::nullopt;
    return ReadStoredContourTable(*directory, header.lastIndex, header.version,
                                  [&](std::uint64_t h) { return TextData(drawing, h); });
}

Contour ContourOfEntry(const ContourRecord& r, std::uint8_t owner) {
    Contour c;
    c.GeometryKind = r.shape;
    c.Owner = owner;
    c.ContourClass = r.placement;
    c.Open = r.closure == kClosureOpen ? 1 : 0;
    c.KindCode = static_cast<std::uint8_t>(r.kind);
    c.Box = {r.minX, r.minY, r.maxX, r.maxY};
    c.Area = r.area;
    return c;
}

// The unit a part or stock drawing is drawn in: inches or millimetres as its $INSUNITS says, else the unit of the
// job stored in it.
int DrawingUnitOf(const Database& drawing, std::int32_t storedUnit) {
    return UnitOfDrawing(drawing.header().insUnits, storedUnit == 1 ? kUnitInches : kUnitMillimetres);
}

// The factor that brings a drawing of `drawingUnit` into the nesting job's unit: 1 when they agree.
double UnitScale(int drawingUnit, int jobUnit) { return ConvertUnits(drawingUnit, jobUnit, 1.0); }

const TwoLanguageText& UnitName(int unit) { return unit == kUnitInches ? kDrawingUnitInches : kDrawingUnitMillimetres; }

std::int32_t ClampedCount(std::int64_t n) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, 0, kMaxStoredContourCount));
}

}  // namespace

// ===================================================================== ReadPartDrawing

void EraseCopiedEntities(CNestingState& state) {
    for (const EntityNameList* list : {&state.CopiedEntities, &state.SpecialEntities}) {
        for (const host::db::EntityName& name : list->Names()) {
            ObjectPtr<host::db::Entity> entity(host::db::nameToId(name), OpenMode::Write);
            if (entity) entity->erase();
        }
    }
    state.CopiedEntities.Reset(state.CopiedEntities.Capacity());
    state.SpecialEntities.Reset(state.SpecialEntities.Capacity());
}

int ReadPartDrawing(CNestingState& state, PartType& type) {
    state.CopiedEntities.Reset(state.CopiedEntities.Capacity());
    state.SpecialEntities.Reset(state.SpecialEntities.Capacity());
    Database* current = host::db::workingDatabase();

    std::unique_ptr<Database> drawing = ReadDrawing(type.Path);
    if (!drawing || !current) {
        ShowError(kDrawingNotFound, type.Path);
        return kDrawingUnusable;
    }

    // the header and the whole table are read before anything is copied: a drawing whose stored data ends early
    // counts as holding none
    StoredJobHeader header;
    std::optional<std::vector<ContourRecord>> table = ReadContourTable(*drawing, header);
    if (!table) {
        ShowError(kDrawingWithoutContours, type.Path);
        return kDrawingUnusable;
    }

    // A drawing in other units than the job's is brought into the job's unit as it is copied, and the user is told.
    const int drawingUnit = DrawingUnitOf(*drawing, header.unit);
    const double scale = UnitScale(drawingUnit, state.Unit);
    const host::ge::Matrix3d transform =
        scale == 1.0 ? host::ge::Matrix3d::identity() : host::ge::Matrix3d::scaling(scale);
    if (scale != 1.0) {
        PrintLocalized(kDrawingScaledToJobUnit, type.Path.c_str(), Localized(UnitName(drawingUnit)),
                       Localized(UnitName(state.Unit)));
        for (ContourRecord& r : *table) {
            r.minX *= scale;
            r.minY *= scale;
            r.maxX *= scale;
            r.maxY *= scale;
            r.area *= scale * scale;
        }
        header.extentsMin = transform * header.extentsMin;
        header.extentsMax = transform * header.extentsMax;
        header.area *= scale * scale;
    }

    const bool stock = type.Kind == kKindStock;
    const std::uint8_t owner = stock ? kOwnerStock : kOwnerPart;
    type.DrawingContours.clear();
    type.DrawingContours.reserve(table->size());
    host::ed::EntityCopier copier(*current);
    std::unordered_set<std::uint64_t> copied;
    int result = kDrawingRead;
    for (ContourRecord& r : *table) {
        if (header.version == JobDataVersion::V2005) r.kind = ContourKind::KindBase;   // that data has no kinds
        // handle 0 is the empty stock record every table ends with when the drawing has no stock outline; the
        // stock outline itself is listed twice (as a contour and as the stock record)
        if (r.handle == 0 || !copied.insert(r.handle).second) continue;
        if (stock && IsSpecialKind(r.kind)) {
            result = kDrawingIllegalStockContours;
            break;
        }
        const std::optional<host::db::EntityName> name = CopyEntity(*drawing, r.handle, copier, transform);
        if (!name) {
            if (header.version != JobDataVersion::V200801) continue;
            result = kDrawingUnusable;
            break;
        }
        if (!stock && IsSpecialKind(r.kind)) {
            state.AppendSpecialEntity(*name);
            continue;
        }
        state.AppendCopiedEntity(*name);
        type.DrawingContours.push_back(ContourOfEntry(r, owner));
    }
    if (result == kDrawingRead && header.version == JobDataVersion::V200801) CopyEngraveTexts(state, *drawing, transform);
    if (result != kDrawingRead) {
        EraseCopiedEntities(state);
        type.DrawingContours.clear();
        return result;
    }

    type.DrawingBox = {header.extentsMin.x, header.extentsMin.y, header.extentsMax.x, header.extentsMax.y};
    type.Area = header.area;
    const double w = type.DrawingBox.Width(), h = type.DrawingBox.Height();
    type.Aspect = w <= 0.0 || h <= 0.0 ? 1.0 : std::max(w, h) / std::min(w, h);
    type.BasePoint = stock ? host::ge::Point2d{type.DrawingBox.minX, type.DrawingBox.minY}
                           : host::ge::Point2d{(type.DrawingBox.minX + type.DrawingBox.maxX) / 2.0,
                                               (type.DrawingBox.minY + type.DrawingBox.maxY) / 2.0};
    // the stored counts only size the lists; they grow as needed
    const std::int32_t kinds = ClampedCount(header.kindCountSum);
    for (int set = 0; set < kContourSetCount; ++set) {
        type.Holes[set].clear();
        type.Outers[set].clear();
        type.Defects[set].clear();
    }
    type.Holes[0].reserve(static_cast<std::size_t>(ClampedCount(std::int64_t{header.innerCount} + kinds + 4)));
    type.Outers[0].reserve(static_cast<std::size_t>(ClampedCount(std::int64_t{header.outerCount} + kinds + 1)));
    type.Defects[0].reserve(static_cast<std::size_t>(ClampedCount(std::int64_t{header.openCount} + kinds)));
    return kDrawingRead;
}

int CheckPartDrawing(const PartType& type) {
    std::unique_ptr<Database> drawing = ReadDrawing(type.Path);
    if (!drawing) {
        ShowError(kDrawingNotFound, type.Path);
        return kDrawingUnusable;
    }
    StoredJobHeader header;
    const std::optional<std::vector<ContourRecord>> table = ReadContourTable(*drawing, header);
    if (!table) {
        ShowError(kDrawingWithoutContours, type.Path);
        return kDrawingUnusable;
    }
    if (type.Kind == kKindStock && header.version != JobDataVersion::V2005) {  // 2005.0: no kinds
        for (const ContourRecord& r : *table) {
            if (r.handle != 0 && IsSpecialKind(r.kind)) {
                ShowError(kStockIllegalContours, type.Path);
                return kDrawingIllegalStockContours;
            }
        }
    }
    DrawingReadCache::Keep(type.Path, std::move(drawing));  // for the load that follows
    return kDrawingRead;
}

// ===================================================================== the engraving texts

void CopyEngraveTexts(CNestingState& state, const Database& drawing, const host::ge::Matrix3d& transform) {
    Database* current = host::db::workingDatabase();
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(drawing.peek(drawing.modelSpaceId()));
    if (!current || !ms) return;
    host::ed::EntityCopier copier(*current);
    for (ObjectId id : ms->entityIds()) {
        const auto* text = dynamic_cast<const host::db::Text*>(drawing.peek(id));
        if (!text || text->isErased()) continue;
        std::string layer = text->layer();
        std::transform(layer.begin(), layer.end(), layer.begin(), [](unsigned char ch) { return std::tolower(ch); });
        if (layer != "engraveline") continue;
        ObjectId copy;
        // the copy keeps its own layer, "EngraveLine", which is made in the current drawing when it lacks it
        if (copier.copy(*text, current->modelSpaceId(), transform, &copy) == host::db::Status::Ok)
            state.AppendCopiedEntity(host::db::idToName(copy));
    }
}

// ===================================================================== the size reader

int ReadPartDrawingSize(std::string_view path, double& width, double& height, bool showMessages,
                        std::optional<int> jobUnit) {
    const std::string shown(path);
    std::unique_ptr<Database> drawing = ReadDrawing(path);
    if (!drawing) {
        if (showMessages) ShowError(kDrawingSizeNotFound, shown);
        return kSizeFileUnreadable;
    }
    const std::optional<ResBufList> marker = FindMarkerData(*drawing);
    if (!marker) {
        if (showMessages) ShowError(kDrawingWithoutContours, shown);
        return kSizeNoContours;
    }
    StoredList items(*marker);
    const double number = items.Real(kSettingsVersionItem);
    const std::int32_t status = items.Long(kSettingsStatusItem);
    if (!items.ok() || status != 1) {
        if (showMessages) ShowError(kDrawingSizeWithoutContours, shown);
        return kSizeNoContours;
    }
    const std::optional<JobDataVersion> version = JobDataVersionOf(static_cast<float>(number));
    if (!version) return kSizeRead;
    const std::size_t at = PositionsOf(*version).extents;
    const host::ge::Point3d lo = items.Point(at), hi = items.Point(at + 1);
    if (!items.ok()) {
        if (showMessages) ShowError(kDrawingSizeWithoutContours, shown);
        return kSizeNoContours;
    }
    // listed in the job's unit, as the load will bring the drawing
    const double scale =
        UnitScale(DrawingUnitOf(*drawing, items.Long(kSettingsUnitItem)), jobUnit ? *jobUnit : NestingState().Unit);
    width = (hi.x - lo.x) * (items.ok() ? scale : 1.0);
    height = (hi.y - lo.y) * (items.ok() ? scale : 1.0);
    return kSizeRead;
}
