// One nested sheet in the drawing: the sheet's stock, the result marker, the inserts of a sheet and the progress
// view of the run.
#include "nesting/result/sheet_drawing.h"

#include <algorithm>
#include <map>
#include <memory>
#include <numbers>

#include "cadlib/entity_access.h"
#include "cadlib/layers.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/db/tables.h"
#include "host/ed/command.h"
#include "host/ed/documents.h"
#include "host/sys/number_text.h"
#include "host/ui/message_box.h"
#include "nesting/result/result_messages.h"

namespace {

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;
using host::db::RTSTR;
using host::db::Status;

// Extended-data group codes of the marker's record.
constexpr int kCodeApp = 1001;
constexpr int kCodeText = 1000;
constexpr int kCodeReal = 1040;
constexpr int kCodeLong = 1071;

// Colour index of the marker's layer when it has to be made.
constexpr int kMarkerLayerColour = 1;

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

ResBuf Text(std::string text) { return ResBuf(RTSTR, std::move(text)); }

// The block of stock instance `stock`; empty when the instance has no type.
std::string StockBlock(const CNestingEngine& engine, int stock) {
    const PartType* type = engine.StockInstances[static_cast<std::size_t>(stock)].Type;
    return type ? type->BlockName : std::string();
}

double RecoveryPercent(double partArea, double stockArea) {
    // a drawing stock whose stored area is 0 has no recovery to show
    return stockArea > 0.0 ? 100.0 * partArea / stockArea : 0.0;
}

Status RegisterMarkerApp(host::db::Database& db) {
    if (!db.recordId(host::db::TableKind::RegApp, kResultMarkerApp).isNull()) return Status::Ok;
    ObjectPtr<host::db::SymbolTable> apps(db.tableId(host::db::TableKind::RegApp), OpenMode::Write);
    if (!apps) return apps.status();
    return apps->add(std::make_unique<host::db::RegAppTableRecord>(kResultMarkerApp));
}

// Inserts the clamps standing on stock instance `stock`: clamp c is the block of part instance
// PartInstanceCount - clamps + c, the clamp instances being the last entries of PartInstances. A clamp whose
// instance is not a clamp (a job whose clamp type was dropped) is left out.
void InsertClamps(const CNestingEngine& engine, const PartInstance& stock) {
    if (stock.ClampFlag != 1) return;
    const int clamps = std::min(stock.ClampCount, kMaxClamps);
    for (int c = 0; c < clamps; ++c) {
        const int instance = engine.PartInstanceCount - clamps + c;
        if (instance < 0 || instance >= static_cast<int>(engine.PartInstances.size())) continue;
        const PartType* type = engine.PartInstances[static_cast<std::size_t>(instance)].Type;
        if (!type || type->Kind != kKindClamp) continue;
        const std::size_t at = static_cast<std::size_t>(c);
        if (InsertBlock(type->BlockName, stock.ClampX[at], stock.ClampY[at], 0.0) != host::db::RTNORM) {
            PrintLocalized(kBlockNotInserted, type->BlockName.c_str());
        }
    }
}

}  // namespace

std::optional<int> StockOfSheet(const CNestingEngine& engine, int sheet) {
    std::optional<int> first;
    int placed = 0;
    const int count = std::min(engine.StockInstanceCount, static_cast<int>(engine.StockInstances.size()));
    for (int i = 0; i < count; ++i) {
        if (engine.StockInstances[static_cast<std::size_t>(i)].Placed != 1) continue;
        if (!first) first = i;
        if (placed++ == sheet) return i;
    }
    return first;
}

int PartCountWithoutClamps(const CNestingEngine& engine) {
    const int clamps = engine.ClampUse == 1 ? engine.ClampQuantity : 0;
    return std::max(engine.PartInstanceCount - clamps, 0);
}

int InsertBlock(const std::string& block, double x, double y, double degrees) {
    return host::ed::command({Text("_.-INSERT"), Text(block), Text(host::sys::formatC("%.16e,%.16e", x, y)),
                              Text("1"), Text("1"), Text(host::sys::formatC("%.16e", degrees))});
}

int WriteResultMarker(const CNestingState& state, const std::string& jobPath, int sheet) {
    host::db::Database* db = host::db::workingDatabase();
    if (!db) return -1;
    if (db->recordId(host::db::TableKind::Layer, kResultMarkerLayer).isNull()) {
        CreateLayer(kResultMarkerLayer, kMarkerLayerColour, kFallbackLinetype, false);
    }
    auto text = std::make_unique<host::db::Text>(host::ge::Point3d{0.0, 0.0, 0.0}, kResultMarkerText, 0.0, 0.0);
    text->setVisible(false);
    if (!db->currentTextStyle().isNull()) text->setTextStyle(db->currentTextStyle());
    text->setLayer(kResultMarkerLayer);
    ObjectId id;
    {
        ObjectPtr<host::db::BlockTableRecord> model(db->modelSpaceId(), OpenMode::Write);
        if (!model || model->appendEntity(std::move(text), &id) != Status::Ok) return -1;
    }
    const ResBufList record = {
        ResBuf(kCodeApp, kResultMarkerApp),
        ResBuf(kCodeReal, kResultMarkerVersion),
        ResBuf(kCodeLong, kResultMarkerStatus),
        ResBuf(kCodeLong, sheet),
        ResBuf(kCodeText, jobPath),
        ResBuf(kCodeText, state.MaterialName),
        ResBuf(kCodeText, state.MaterialNumber),
        ResBuf(kCodeReal, state.MaterialDensity),
        ResBuf(kCodeReal, state.MaterialThickness),
    };
    ObjectPtr<host::db::Text> marker(id, OpenMode::Write);
    if (!marker) return -1;
    Status s = marker->setXData(record);
    // a drawing that never held stored job data lacks the application; without it the cutting-path module could
    // not take the sheet over
    if (s == Status::RegAppNotFound && RegisterMarkerApp(*db) == Status::Ok) s = marker->setXData(record);
    if (s == Status::RegAppNotFound) PrintText(kMarkerAppNotRegistered);
    return 0;
}

void LeaveDrawingFile() {
    host::ed::DocumentManager& documents = host::ed::documents();
    host::ed::Document* doc = documents.current();
    if (doc == nullptr || doc->fileName().empty()) return;
    const std::string file = doc->fileName().string();
    documents.detachFromFile(*doc);
    PrintLocalized(kDrawingLeavesItsFile, file.c_str(), doc->title().c_str());
}

int DrawNest(CNestingState& state, int sheet, bool zoom) {
    const std::optional<int> stockIndex = StockOfSheet(state, sheet);
    if (!stockIndex) {
        host::ui::messageBox(Localized(kNoPlacedDetails), {}, host::ui::MB_OK | host::ui::MB_ICONINFORMATION);
        return -1;
    }
    state.ShownSheet = sheet;
    LeaveDrawingFile();
    EraseAllEntities();
    WriteResultMarker(state, state.CurrentJobPath, sheet);

    const PartInstance& stock = state.StockInstances[static_cast<std::size_t>(*stockIndex)];
    InsertClamps(state, stock);
    const std::string stockBlock = StockBlock(state, *stockIndex);
    if (host::ed::command({Text("_.-INSERT"), Text(stockBlock), Text("0,0"), Text("1"), Text("1"), Text("0")}) !=
        host::db::RTNORM) {
        PrintLocalized(kBlockNotInserted, stockBlock.c_str());
    }
    if (zoom) host::ed::command({Text("_.ZOOM"), Text("_E")});

    int drawn = 0;
    double area = 0.0;
    std::map<std::string, int> refused;  // block name -> parts not drawn
    const int count = std::min(state.PartInstanceCount, static_cast<int>(state.PartInstances.size()));
    for (int i = 0; i < count; ++i) {
        const PartInstance& part = state.PartInstances[static_cast<std::size_t>(i)];
        if (!part.Type || part.Type->Kind == kKindClamp || part.Stock != *stockIndex || part.Placed != 1) continue;
        if (!part.CommittedPose) continue;
        const PartPose& pose = *part.CommittedPose;
        if (InsertBlock(part.Type->BlockName, pose.X, pose.Y, pose.Angle * kDegreesPerRadian) != host::db::RTNORM) {
            ++refused[part.Type->BlockName];
            continue;
        }
        ++drawn;
        area += part.Type->Area;
    }
    for (const auto& [block, parts] : refused) PrintLocalized(kPartsNotInserted, block.c_str(), parts);

    const PartType* stockType = stock.Type;
    PrintLocalized(kSheetSummary, sheet + 1, state.UsedStockCount, drawn, PartCountWithoutClamps(state),
                   RecoveryPercent(area, stockType ? stockType->Area : 0.0));
    return 0;
}

int ShowNextSheet(CNestingState& state) {
    state.ShownSheet = state.ShownSheet + 1 < state.UsedStockCount ? state.ShownSheet + 1 : 0;
    return DrawNest(state, state.ShownSheet, true);
}

int ShowPreviousSheet(CNestingState& state) {
    state.ShownSheet = state.ShownSheet - 1 >= 0 ? state.ShownSheet - 1 : state.UsedStockCount - 1;
    return DrawNest(state, state.ShownSheet, true);
}

void ShowSheetProgress(CNestingState& state, int stock) {
    if (stock < 0 || stock >= static_cast<int>(state.StockInstances.size()) ||
        !state.StockInstances[static_cast<std::size_t>(stock)].Type) {
        return;
    }
    LeaveDrawingFile();
    EraseAllEntities();
    host::ed::command(
        {Text("_.-INSERT"), Text(StockBlock(state, stock)), Text("0,0"), Text("1"), Text("1"), Text("0")});
    const int ordered = std::min(state.OrderCount, static_cast<int>(state.PartOrder.size()));
    for (int j = 0; j < ordered; ++j) {
        const std::int32_t i = state.PartOrder[static_cast<std::size_t>(j)];
        if (i < 0 || i >= static_cast<int>(state.PartInstances.size())) continue;
        const PartInstance& part = state.PartInstances[static_cast<std::size_t>(i)];
        if (!part.Type || part.Stock != stock || !part.CommittedPose || part.CommittedPose->Valid != 1) continue;
        const PartPose& pose = *part.CommittedPose;
        InsertBlock(part.Type->BlockName, pose.X, pose.Y, pose.Angle * kDegreesPerRadian);
    }
    host::ed::command({Text("_.ZOOM"), Text("_E")});
}
