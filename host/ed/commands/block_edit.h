// Block definitions: purging the ones nothing uses, defining one from entities, inserting a drawing file as one,
// and adding references.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/database.h"

namespace host::ed {

// The block definitions whose names match `pattern` (wildcards, without regard to case) that no live reference
// uses, in the order of the block table. A definition is used when a live reference in model or paper space
// reaches it, directly or through the definitions it uses; so a definition used only by unused ones is unused
// too. Layouts, anonymous definitions ("*U1", dimension blocks "*D1") and external-reference definitions are never
// listed.
std::vector<std::string> unusedBlocks(const db::Database& database, std::string_view pattern = "*");

// Purges the unused definitions of these names (compared exactly, without regard to case): each definition and
// its entities are erased. A definition that a definition staying behind still refers to stays too (so a
// reference is never left without its block). Answers the names purged, in the order of the block table.
std::vector<std::string> purgeBlocks(db::Database& database, const std::vector<std::string>& names);

// purgeBlocks of every unusedBlocks name.
std::vector<std::string> purgeUnusedBlocks(db::Database& database, std::string_view pattern = "*");

// True when a live reference in model or paper space uses the definition, directly or through definitions that
// such references use.
bool isBlockReferenced(const db::Database& database, db::ObjectId block);

enum class DefineBlockOutcome {
    Defined,        // a new definition
    Redefined,      // an existing definition now holds the new entities (its references show them)
    Exists,         // a definition of that name exists and `redefine` was not given: nothing changed
    InvalidName,    // not a name a block may have (empty, too long, a character the host refuses, a layout name)
    SelfReference,  // an entity is a reference to the definition itself, or to one that holds it
    NothingToAdd,   // no live entity of the drawing among those given
    Failed,         // the definition could not be written (an entity that cannot be copied)
};

// Defines block `name` with base point `base` from entities of the drawing: their copies become the definition's
// entities (in the order given) and the entities themselves are erased, as the host's -BLOCK does. With
// `redefine`, an existing definition loses its old entities first.
DefineBlockOutcome defineBlock(db::Database& database, std::string_view name, const ge::Point3d& base,
                               const std::vector<db::ObjectId>& entities, bool redefine,
                               db::ObjectId* block = nullptr);

// The drawing file a name given to -INSERT stands for: ".dxf" is added to a name without an extension, a name
// ending in ".dwg" is looked up as ".dxf" when that file does not exist, and a relative name is looked for in the
// working folder, then in the folder of `current`'s file. nullopt when there is no such file.
std::optional<std::filesystem::path> findDrawingFile(std::string_view name, const db::Database& current);

// The definition -INSERT uses for `name` (a block name, or a drawing file path whose file name without its
// extension is the block name):
//   - an existing block of the name as given is used as it is (a block name may hold dots);
//   - an existing definition of that name is used as it is, without reading any file;
//   - otherwise the drawing file is read and its model-space entities become a new definition of that name,
//     with the file's INSBASE as base point; layers, line types, text styles and nested blocks it names are
//     made in the drawing where missing (existing ones stay as they are).
// The null id with a message in `error` when the file cannot be found or read, or the name cannot be a block
// name.
db::ObjectId blockForInsert(db::Database& database, std::string_view name, std::string* error);

// Appends a reference to `block` in model space at `position` with the scale factors and rotation (radians),
// with the drawing's current layer, colour and line type.
db::Status insertBlock(db::Database& database, db::ObjectId block, const ge::Point3d& position,
                       const ge::Vector3d& scale, double rotation, db::ObjectId* reference = nullptr);

}  // namespace host::ed
