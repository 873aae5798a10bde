// The manual part commands on the shown sheet: move, turn, erase, insert and count parts, each on the block
// reference in the drawing and on the part instance it stands for.
#include "nesting/manual/manual_commands.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "cadlib/angles.h"
#include "cadlib/block_drag_jig.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/entity_data.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ui/message_box.h"
#include "nesting/engine/manual_placement.h"
#include "nesting/geometry/contour_transforms.h"
#include "nesting/manual/insert_part_dialog.h"
#include "nesting/manual/manual_messages.h"
#include "nesting/manual/part_references.h"
#include "nesting/result/sheet_drawing.h"

namespace {

using host::db::ObjectPtr;
using host::db::OpenMode;

constexpr int kDragCancelled = -1;
constexpr double kDegree = cadlib::kRadiansPerDegree;

host::db::ResBuf Text(std::string text) { return host::db::ResBuf(host::db::RTSTR, std::move(text)); }

int InstanceCount(const CNestingState& state) {
    return std::min(state.PartInstanceCount, static_cast<int>(state.PartInstances.size()));
}

PartInstance& Instance(CNestingState& state, int i) { return state.PartInstances[static_cast<std::size_t>(i)]; }

// The stock instance of the sheet in the drawing, made the current stock; -1 when no sheet was nested.
int TakeShownStock(CNestingState& state) {
    const int stock = StockOfSheet(state, state.ShownSheet).value_or(-1);
    if (stock >= 0) state.CurrentStock = stock;
    return stock;
}

// Takes an instance off its sheet: both poses invalid, not placed; its Stock stays.
void Unplace(PartInstance& part) {
    if (part.TrialPose) part.TrialPose->Valid = 0;
    if (part.CommittedPose) part.CommittedPose->Valid = 0;
    part.Placed = 0;
}

// Poses instance i exactly at `position` turned by `angle`, without a collision test, on the current stock.
void PoseExactly(CNestingState& state, int i, const host::ge::Point3d& position, double angle) {
    ApplyPartPose(Instance(state, i), 0, {position.x, position.y}, angle);
    state.CommitPartPose(i);
}

// The engine places instance i on `stock` from (position, angle); answers its result.
int PlaceByEngine(CNestingState& state, int stock, int i, const host::ge::Point3d& position, double angle) {
    double x = position.x;
    double y = position.y;
    int instance = i;
    const int placed = PlacePartManually(state, stock, instance, x, y, angle);
    // the engine leaves the current stock on the sheet it worked on; keep it on the shown one
    state.CurrentStock = stock;
    return placed;
}

// The reference's insertion point and rotation as the drawing holds them now.
void ReadBack(PartReference& reference) {
    if (const std::optional<PartReference> now = ReadPartReference(reference.entity)) {
        reference.position = now->position;
        reference.rotation = now->rotation;
    }
}

// Drags the reference: its position, or first its rotation and then its position. A cancel at either drag puts
// the reference back as it was picked, turned and placed, since the part keeps its pose.
enum class DragResult { Done, NotOpened, Cancelled };
DragResult DragReference(const PartReference& reference, bool rotationFirst) {
    ObjectPtr<host::db::BlockReference> block(host::db::nameToId(reference.entity), OpenMode::Write);
    if (!block) return DragResult::NotOpened;
    CBlockDragJig jig(block.get());
    if ((rotationFirst && jig.DragRotation() == kDragCancelled) || jig.DragPosition() == kDragCancelled) {
        block->setPosition(reference.position);
        block->setRotation(reference.rotation);
        return DragResult::Cancelled;
    }
    return DragResult::Done;
}

// The first unplaced instance of the type of block `blockName`, on any sheet; -1 when none.
int FirstUnplacedOfBlock(CNestingState& state, const std::string& blockName) {
    const int count = InstanceCount(state);
    for (int i = 0; i < count; ++i) {
        const PartInstance& part = Instance(state, i);
        if (part.Placed == 0 && part.Type && part.Type->BlockName == blockName) return i;
    }
    return -1;
}

// Places the copy InsertPart has just inserted: the drawing's last entity, a part reference other than a clamp.
void PlaceInsertedCopy(CNestingState& state, int stock, bool automatic) {
    host::db::EntityName last;
    if (host::db::entLast(last) != host::db::RTNORM) return;
    const std::optional<PartReference> reference = ReadPartReference(last);
    if (!reference || reference->blockName == kClampBlockName) return;
    const int i = FirstUnplacedOfBlock(state, reference->blockName);
    if (i < 0 || stock < 0) return;
    if (!automatic) {
        PoseExactly(state, i, reference->position, reference->rotation);
        return;
    }
    if (PlaceByEngine(state, stock, i, reference->position, reference->rotation) >= 0) {
        DrawNest(state, state.ShownSheet, false);
        return;
    }
    Unplace(Instance(state, i));
    host::db::entDel(reference->entity);
    host::ui::messageBox(Localized(kCannotPlaceDetail), {}, host::ui::MB_OK | host::ui::MB_ICONERROR);
}

}  // namespace

void MovePlacedPart(CNestingState& state, bool automatic, bool fromInsert, bool drag) {
    const int stock = TakeShownStock(state);
    if (fromInsert) {
        PlaceInsertedCopy(state, stock, automatic);
        return;
    }
    while (std::optional<PartReference> reference = PickPartReference(Localized(kSelectPartPrompt), true)) {
        const PartReference picked = *reference;
        if (drag) {
            const DragResult dragged = DragReference(*reference, false);
            if (dragged == DragResult::NotOpened) continue;
            // a cancelled drag leaves the part where it was, untouched: not even the engine slides it from there
            if (dragged == DragResult::Cancelled) continue;
        }
        ReadBack(*reference);
        const int i = FindInstanceOfReference(state, stock, picked);
        if (i >= 0 && automatic) {
            PlaceByEngine(state, stock, i, reference->position, Instance(state, i).CommittedPose->Angle);
        } else if (i >= 0) {
            PoseExactly(state, i, reference->position, picked.rotation);
        }
        if (automatic) DrawNest(state, state.ShownSheet, false);
    }
}

void RotatePlacedPart(CNestingState& state, bool automatic, double degrees) {
    const int stock = TakeShownStock(state);
    while (std::optional<PartReference> reference = PickPartReference(Localized(kSelectPartPrompt), true)) {
        const PartReference picked = *reference;
        double turned = picked.rotation;
        if (!automatic && degrees != 0.0) {
            turned += degrees * kDegree;
            NormalizeAngle(turned);
        } else {
            const DragResult dragged = DragReference(*reference, true);
            if (dragged == DragResult::NotOpened) continue;
            if (dragged == DragResult::Cancelled) return;
            ReadBack(*reference);
            turned = reference->rotation;
        }
        const int i = FindInstanceOfReference(state, stock, picked);
        if (automatic) {
            // redrawn whether or not the reference stood for a part: the engine may have pushed others, and a
            // dragged reference of no part goes back to what the sheet holds
            if (i >= 0) PlaceByEngine(state, stock, i, reference->position, turned);
            DrawNest(state, state.ShownSheet, false);
            continue;
        }
        if (i < 0) continue;
        PoseExactly(state, i, reference->position, turned);
        host::db::entDel(picked.entity);
        const PartPose& pose = *Instance(state, i).CommittedPose;
        InsertBlock(Instance(state, i).Type->BlockName, pose.X, pose.Y, pose.Angle / kDegree);
    }
}

void ErasePlacedPart(CNestingState& state) {
    const int stock = TakeShownStock(state);
    while (std::optional<PartReference> reference = PickPartReference(Localized(kSelectPartPrompt), false)) {
        if (state.PartInstanceCount < 1) continue;
        const int i = FindInstanceOfReference(state, stock, *reference);
        if (i < 0) continue;
        host::db::entDel(reference->entity);
        Unplace(Instance(state, i));
    }
}

void QueryPlacedPart(CNestingState& state) {
    const int stock = TakeShownStock(state);
    PrintLocalized(kSelectPartPrompt);
    while (std::optional<PartReference> reference = PickPartReference("", false)) {
        if (state.PartInstanceCount < 1) continue;
        const int i = FindInstanceOfType(state, stock, reference->blockName);
        if (i < 0) continue;
        const PartType& type = *Instance(state, i).Type;
        int onSheet = 0;
        const int count = InstanceCount(state);
        for (int k = 0; k < count; ++k) {
            const PartInstance& part = Instance(state, k);
            if (part.Placed != 0 && part.Stock == stock && part.Type && part.Type->TypeIndex == type.TypeIndex) {
                ++onSheet;
            }
        }
        PrintLocalized(kPartCountOnSheet, type.BlockName.c_str(), onSheet, type.Quantity);
    }
}

void InsertNestPart(CNestingState& state) {
    if (state.LastFileNesting.empty() || state.PartTypeCount <= 0) {
        host::ui::messageBox(FormatLocalized(kNoJobInMemory, Localized(kInsertPartTitle)), {},
                             host::ui::MB_OK | host::ui::MB_ICONERROR);
        return;
    }
    const int count = InstanceCount(state);
    const auto placed = [&state](int i) { return Instance(state, i).Placed != 0; };
    bool anyPlaced = false;
    for (int i = 0; i < count && !anyPlaced; ++i) anyPlaced = placed(i);
    if (!anyPlaced) {
        host::ui::messageBox(FormatLocalized(kStartNestingFirst, Localized(kInsertPartTitle)), {},
                             host::ui::MB_OK | host::ui::MB_ICONERROR);
        return;
    }

    CDialogInsertPart dialog;
    dialog.InstallFolder = state.DirInstall;
    std::vector<int> typeOfRow{-1};  // row 0 is the heading row
    const int types = std::min(state.PartTypeCount, static_cast<int>(state.PartTypes.size()));
    dialog.FillRows = [&](CDialogInsertPart& d) {
        for (int t = 0; t < types; ++t) {
            const PartType& type = state.PartTypes[static_cast<std::size_t>(t)];
            if (type.BlockName == kClampBlockName) continue;
            // a type the dialog refuses gets no row: rows are numbered by what was added, so that the chosen
            // row always names its own type
            if (d.AddInsertRow(t + 1, type.JobFileType, type.Path, type.BlockName) != kInsertRowAdded) continue;
            const int row = static_cast<int>(typeOfRow.size());
            typeOfRow.push_back(t);
            int copies = 0;
            for (int i = 0; i < count; ++i) copies += placed(i) && Instance(state, i).Type == &type ? 1 : 0;
            d.ShowPlacedCounts(row, copies, type.Quantity, type.Grain, type.RotationMode,
                               static_cast<int>(type.DeltaIndex), type.SectorMax - type.SectorMin, type.Priority);
        }
    };
    if (dialog.doModal() != host::ui::IDOK) return;
    const int row = dialog.ChosenRow();
    if (row < 1 || row >= static_cast<int>(typeOfRow.size())) return;
    const PartType& type = state.PartTypes[static_cast<std::size_t>(typeOfRow[static_cast<std::size_t>(row)])];
    const bool dragAngle = dialog.InsertAngleText == kDragAngleText;
    // at the origin, turned by the chosen angle (0 when the user turns it by dragging)
    const std::string angle = dragAngle ? std::string("0") : dialog.InsertAngleText;
    if (host::ed::command({Text("_.-insert"), Text(type.BlockName), Text("0,0"), Text("1"), Text("1"), Text(angle)}) !=
        host::db::RTNORM) {
        return;
    }
    host::db::EntityName last;
    if (host::db::entLast(last) != host::db::RTNORM) return;
    {
        ObjectPtr<host::db::BlockReference> block(host::db::nameToId(last), OpenMode::Write);
        if (!block) return;
        CBlockDragJig jig(block.get());
        bool cancelled = jig.DragPosition() == kDragCancelled;
        if (!cancelled && dragAngle) {
            cancelled = jig.DragRotation() == kDragCancelled || jig.DragPosition() == kDragCancelled;
        }
        if (cancelled) {
            block->erase();
            return;
        }
    }
    MovePlacedPart(state, dialog.AutomaticInsert != 0, true, false);
}
