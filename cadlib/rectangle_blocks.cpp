// Rectangle blocks, the marker block, block lookups, and the temporary rectangle drawing.
#include "cadlib/rectangle_blocks.h"

#include <array>
#include <memory>
#include <string>

#include "cadlib/messages.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/folders.h"

using host::db::BlockTableRecord;
using host::db::Database;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::Status;
using host::db::SymbolTable;
using host::db::TableKind;
using host::ge::Point3d;

namespace {

constexpr int kMaxColorIndex = 256;  // BYLAYER, the last index an entity takes
// Block contents live on layer "0", so that a reference shows them on its own layer. An entity appended with a
// layer also keeps its colour and line type instead of taking the drawing's current ones.
constexpr std::string_view kBlockLayer = "0";
constexpr double kMarkerInnerRadius = 2.0;
constexpr double kMarkerOuterRadius = 10.0;
constexpr int kMarkerInnerColor = 1;  // red
constexpr int kMarkerOuterColor = 5;  // blue

constexpr double kTempRectangleWidth = 1200.0;
constexpr double kTempRectangleHeight = 900.0;
constexpr double kTempViewMargin = 50.0;

const TwoLanguageText kTempDrawingNotSaved = {
    "\nCannot save the temporary drawing: %s",
    "\nНе удалось сохранить временный чертёж: %s",
};

// Adds an empty block record named `name` with base point `origin` to the block table of `db`.
Status AddBlockRecord(Database& db, std::string_view name, const Point3d& origin, ObjectId& id) {
    ObjectPtr<SymbolTable> table(db.tableId(TableKind::Block), OpenMode::Write);
    if (!table) return table.status();
    auto record = std::make_unique<BlockTableRecord>(std::string(name));
    if (origin != Point3d{}) {
        // A record outside a database takes its values without being opened.
        const Status s = record->setOrigin(origin);
        if (s != Status::Ok) return s;
    }
    return table->add(std::move(record), &id);
}

}  // namespace

Status DefineRectangleBlock(std::string_view name, double width, double height, int anchor,
                            std::string_view linetype, int colorIndex) {
    return DefineRectangleBlockAt(name, width, height, anchor, linetype, colorIndex, 0.0, 0.0);
}

Status DefineRectangleBlockAt(std::string_view name, double width, double height, int anchor,
                              std::string_view linetype, int colorIndex, double xOffset, double yOffset) {
    Database* db = host::db::workingDatabase();
    if (!db) return Status::NotInDatabase;
    if (colorIndex < 0 || colorIndex > kMaxColorIndex) return Status::InvalidInput;
    double x0 = xOffset, y0 = yOffset, x1 = xOffset + width, y1 = yOffset + height;
    if (anchor == kAnchorCentre) {
        x0 = -width / 2, y0 = -height / 2, x1 = width / 2, y1 = height / 2;
    } else if (anchor == kAnchorBottomCentre) {
        x0 = -width / 2, y0 = 0.0, x1 = width / 2, y1 = height;
    }
    ObjectId blockId;
    if (const Status s = AddBlockRecord(*db, name, Point3d{}, blockId); s != Status::Ok) return s;
    ObjectPtr<BlockTableRecord> block(blockId, OpenMode::Write);
    if (!block) return block.status();
    const std::array<Point3d, 4> corners = {Point3d{x0, y0, 0}, Point3d{x1, y0, 0}, Point3d{x1, y1, 0},
                                            Point3d{x0, y1, 0}};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        auto line = std::make_unique<host::db::Line>(corners[i], corners[(i + 1) % corners.size()]);
        line->setLayer(kBlockLayer);
        line->setColorIndex(colorIndex);
        line->setLinetype(linetype);  // a missing line type leaves the line ByLayer
        if (const Status s = block->appendEntity(std::move(line)); s != Status::Ok) return s;
    }
    return block->setInsertUnits(db->header().insUnits);
}

int BlockExists(std::string_view name) {
    const Database* db = host::db::workingDatabase();
    return db && !db->recordId(TableKind::Block, name).isNull() ? 1 : 0;
}

int DefineMarkerBlock(std::string_view name, const Point3d& origin, bool replace) {
    Database* db = host::db::workingDatabase();
    if (!db) return static_cast<int>(Status::NotInDatabase);
    const ObjectId old = db->recordId(TableKind::Block, name);
    if (!old.isNull()) {
        if (!replace) return kMarkerBlockExists;
        ObjectPtr<BlockTableRecord> oldBlock(old, OpenMode::Write);
        if (!oldBlock) return static_cast<int>(oldBlock.status());
        if (const Status s = oldBlock->erase(); s != Status::Ok) return static_cast<int>(s);
    }
    ObjectId blockId;
    if (const Status s = AddBlockRecord(*db, name, origin, blockId); s != Status::Ok) return static_cast<int>(s);
    ObjectPtr<BlockTableRecord> block(blockId, OpenMode::Write);
    if (!block) return static_cast<int>(block.status());
    const struct {
        double radius;
        int color;
    } circles[] = {{kMarkerInnerRadius, kMarkerInnerColor}, {kMarkerOuterRadius, kMarkerOuterColor}};
    for (const auto& c : circles) {
        auto circle = std::make_unique<host::db::Circle>(Point3d{0, 0, 0}, c.radius);
        circle->setLayer(kBlockLayer);
        circle->setColorIndex(c.color);
        if (const Status s = block->appendEntity(std::move(circle)); s != Status::Ok) {
            block->erase();
            return static_cast<int>(s);
        }
    }
    return 0;
}

Status OpenBlockRecord(std::string_view name, ObjectPtr<BlockTableRecord>& record, OpenMode mode, Database* db) {
    record.close();
    if (!db) return Status::NullObjectId;
    ObjectPtr<SymbolTable> table(db->tableId(TableKind::Block), OpenMode::Read);
    if (!table) return table.status();
    const ObjectId id = table->getAt(name);
    if (id.isNull()) return Status::KeyNotFound;
    return record.open(id, mode);
}

int SaveTempRectangleDrawing(std::string_view name) {
    Database side;
    {
        ObjectPtr<BlockTableRecord> model(side.modelSpaceId(), OpenMode::Write);
        auto outline = std::make_unique<host::db::LwPolyline>();
        const std::array<host::ge::Point2d, 4> corners = {host::ge::Point2d{0, 0},
                                                          host::ge::Point2d{kTempRectangleWidth, 0},
                                                          host::ge::Point2d{kTempRectangleWidth, kTempRectangleHeight},
                                                          host::ge::Point2d{0, kTempRectangleHeight}};
        for (const auto& p : corners) outline->addVertexAt(outline->numVerts(), p);
        outline->setClosed(true);
        model->appendEntity(std::move(outline));
    }
    {
        ObjectPtr<host::db::ViewportTableRecord> view(side.recordId(TableKind::Viewport, "*Active"), OpenMode::Write);
        if (view) {
            const double w = kTempRectangleWidth + 2 * kTempViewMargin;
            const double h = kTempRectangleHeight + 2 * kTempViewMargin;
            view->setView({kTempRectangleWidth / 2, kTempRectangleHeight / 2}, h, w / h);
        }
    }
    const std::filesystem::path file = host::sys::tempFolder() / (std::string(name) + ".dxf");
    std::string error;
    if (!host::dxf::writeDxfFile(side, file, &error)) {
        PrintLocalized(kTempDrawingNotSaved, error.c_str());
        return 1;
    }
    return 0;
}
