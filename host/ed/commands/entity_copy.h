// Copying entities as new objects, within one drawing or into another, with a transform, taking along the
// layers, line types, text styles and nested block definitions they name.
#pragma once

#include <map>
#include <set>
#include <string>

#include "host/db/database.h"
#include "host/ge/matrix.h"

namespace host::ed {

// One copier per pair of drawings (source entities may come from any database; records they name are looked up
// in the entity's own database). Records are matched by name without regard to case:
//   - a layer, line type or text style that the target lacks is made there as a copy of the source's record;
//   - a block definition that the target already has by name is used as it is, without a question (the rule of
//     inserting a drawing whose block exists); a missing one is copied, its own nested blocks likewise.
// A copy is a new object with a new handle. It keeps layer, colour, line type, line-type scale, lineweight,
// visibility and extended data (applications are registered in the target where needed); vertices of old-style
// polylines and attributes of block references are copied with their owner.
class EntityCopier {
public:
    explicit EntityCopier(db::Database& target) : target_(target) {}

    // Copies `source` into the block `block` of the target (model space, a block definition), transformed by
    // `xform`. Fails, leaving nothing behind, with:
    //   - NotApplicable when the entity cannot take the transform (a non-uniform scale of an arc or of a rotated
    //     block reference, any transform but the identity of an entity the host keeps as read);
    //   - the status of a record that cannot be made or a block that cannot be copied;
    //   - InvalidInput for an object that is not an entity or a block id of another drawing.
    db::Status copy(const db::Entity& source, db::ObjectId block, const ge::Matrix3d& xform,
                    db::ObjectId* newId = nullptr);

    // The target's record for a record of the source's drawing (made when missing, as above); the null id when it
    // cannot be made.
    db::ObjectId targetRecord(const db::Database& source, db::TableKind kind, std::string_view name);

    db::Database& target() { return target_; }

private:
    db::ObjectId copyBlockDefinition(const db::Database& source, const db::BlockTableRecord& block);
    db::ObjectId copyTableRecord(const db::Database& source, db::TableKind kind, db::ObjectId sourceId);
    db::Status copyExtendedData(const db::Entity& source, db::ObjectId copyId);

    db::Database& target_;
    // Block definitions being copied, so that a definition that reaches itself is refused, not followed.
    std::set<std::string> copyingBlocks_;
};

}  // namespace host::ed
