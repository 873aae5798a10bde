// Trim lines of the shown sheet.
#include "nesting/result/trim_lines.h"

#include <algorithm>
#include <optional>
#include <string>

#include "cadlib/entity_access.h"
#include "cadlib/entity_creation.h"
#include "cadlib/layers.h"
#include "host/db/database.h"
#include "host/db/tables.h"
#include "host/ui/message_box.h"
#include "nesting/result/result_messages.h"
#include "nesting/result/sheet_drawing.h"

int DrawTrimLine(CNestingState& state, bool xy) {
    const std::optional<int> stockIndex = StockOfSheet(state, state.ShownSheet);
    const PartType* stock =
        stockIndex ? state.StockInstances[static_cast<std::size_t>(*stockIndex)].Type : nullptr;
    if (!stock || state.UsedStockCount == 0) {
        host::ui::messageBox(Localized(kNoPlacedDetails), {}, host::ui::MB_OK | host::ui::MB_ICONINFORMATION);
        return -1;
    }
    EraseEntitiesOnLayersContaining(kTrimLineLayer);

    const BoundingBox& sheet = stock->DrawingBox;
    double right = sheet.minX;
    double top = sheet.minY;
    const int count = std::min(state.PartInstanceCount, static_cast<int>(state.PartInstances.size()));
    for (int i = 0; i < count; ++i) {
        const PartInstance& part = state.PartInstances[static_cast<std::size_t>(i)];
        if (!part.Type || part.Type->Kind == kKindClamp || part.Stock != *stockIndex) continue;
        if (!part.CommittedPose || part.CommittedPose->Valid != 1) continue;
        right = std::max(right, part.CommittedPose->Box.maxX);
        top = std::max(top, part.CommittedPose->Box.maxY);
    }

    std::string previousLayer;
    GetCurrentLayer(previousLayer);
    host::db::Database* db = host::db::workingDatabase();
    if (db && db->recordId(host::db::TableKind::Layer, kTrimLineLayer).isNull()) {
        CreateLayer(kTrimLineLayer, kTrimLineColour, kFallbackLinetype, false);
    }
    SetCurrentLayer(kTrimLineLayer);

    const bool drawnStock = stock->JobFileType == kJobFileDrawing;
    const double x = right - state.HalfPartGap * 0.5 + state.EdgeGap;
    const double dy = drawnStock ? state.StockPointOrigin.y : 0.0;
    host::db::ObjectId id;
    AddLine(id, {x, sheet.minY + dy, 0.0}, {x, sheet.maxY + dy, 0.0});
    if (xy) {
        const double y = top - state.HalfPartGap * 0.5 + state.EdgeGap;
        const double left = sheet.minX + (drawnStock ? state.StockPointOrigin.x : 0.0);
        AddLine(id, {left, y, 0.0}, {x, y, 0.0});
    }
    if (!previousLayer.empty()) SetCurrentLayer(previousLayer);
    return 0;
}
