// Picking part references on a drawn sheet and matching them to the part instances they stand for.
#include "nesting/manual/part_references.h"

#include <algorithm>
#include <cstdint>

#include "cadlib/host_variables.h"
#include "cadlib/point_equality.h"
#include "cadlib/resbuf_lists.h"
#include "host/db/entity_data.h"
#include "host/db/resbuf.h"
#include "host/ed/prompts.h"

namespace {

// ERRNO after a pick that hit nothing.
constexpr int kPickMissed = 7;

constexpr int kCodeType = 0;
constexpr int kCodeBlockName = 2;
constexpr int kCodeInsertionPoint = 10;
constexpr int kCodeRotation = 50;

// The angle in whole hundred-thousandths, as the committed angle and a reference's rotation are compared.
std::int32_t AngleAtFiveDecimals(double angle) { return static_cast<std::int32_t>(angle * 100000.0 + 0.5); }

int InstanceCount(const CNestingState& state) {
    return std::min(state.PartInstanceCount, static_cast<int>(state.PartInstances.size()));
}

// Whether instance `part` lies on `stock` with a valid committed pose and a type of block `blockName`.
bool OnSheetWithBlock(const PartInstance& part, int stock, std::string_view blockName) {
    return part.Stock == stock && part.CommittedPose && part.CommittedPose->Valid == 1 && part.Type &&
           part.Type->BlockName == blockName;
}

}  // namespace

std::optional<PartReference> ReadPartReference(const host::db::EntityName& entity) {
    const host::db::ResBufList data = host::db::entGet(entity);
    std::string type;
    PartReference reference;
    if (FindResbufString(data, kCodeType, type) != 0 || type != "INSERT") return std::nullopt;
    if (FindResbufString(data, kCodeBlockName, reference.blockName) != 0) return std::nullopt;
    reference.entity = entity;
    for (const host::db::ResBuf& item : data) {
        if (item.code == kCodeInsertionPoint) reference.position = item.point();
        if (item.code == kCodeRotation) reference.rotation = item.real();
    }
    return reference;
}

std::optional<PartReference> PickPartReference(std::string_view prompt, bool refuseClamp) {
    while (true) {
        host::db::EntityName entity;
        host::ge::Point3d picked;
        if (host::ed::entSel(prompt, entity, picked) != host::db::RTNORM) {
            int error = 0;
            GetSysVarInt("ERRNO", error);
            if (error == kPickMissed) continue;
            return std::nullopt;
        }
        std::optional<PartReference> reference = ReadPartReference(entity);
        if (!reference) continue;
        if (refuseClamp && reference->blockName == kClampBlockName) continue;
        return reference;
    }
}

bool SameRotation(double a, double b) { return AngleAtFiveDecimals(a) == AngleAtFiveDecimals(b); }

int FindInstanceOfReference(const CNestingState& state, int stock, const PartReference& reference) {
    const int count = InstanceCount(state);
    for (int i = 0; i < count; ++i) {
        const PartInstance& part = state.PartInstances[static_cast<std::size_t>(i)];
        if (!OnSheetWithBlock(part, stock, reference.blockName)) continue;
        const PartPose& pose = *part.CommittedPose;
        if (CoordinatesDifferAtPrecision(pose.X, pose.Y, reference.position.x, reference.position.y,
                                         kPathPointPrecision) != 0) {
            continue;
        }
        if (SameRotation(pose.Angle, reference.rotation)) return i;
    }
    return -1;
}

int FindInstanceOfType(const CNestingState& state, int stock, std::string_view blockName) {
    const int count = InstanceCount(state);
    for (int i = 0; i < count; ++i) {
        if (OnSheetWithBlock(state.PartInstances[static_cast<std::size_t>(i)], stock, blockName)) return i;
    }
    return -1;
}
