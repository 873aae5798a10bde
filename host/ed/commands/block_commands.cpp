// EXPLODE, -INSERT, -BLOCK and -PURGE: the host's block commands.
#include <string>

#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/block_edit.h"
#include "host/ed/commands/command_bodies.h"
#include "host/ed/commands/command_support.h"
#include "host/ed/commands/explode.h"
#include "host/ed/prompts.h"
#include "host/ed/transcript.h"
#include "host/ge/angle.h"

namespace host::ed::commands {

namespace {

using db::ObjectId;

// A name longer than this is no block name nor a file path of any file system we run on.
constexpr std::size_t kMaxNameChars = 4096;
// The prefix of -INSERT's name that inserts the block exploded.
constexpr char kExplodedInsert = '*';

// EXPLODE: every entity of the selection, one level. The command fails when nothing could be exploded.
void explodeCommand() {
    const auto ids = selectObjects();
    if (!ids) return;
    std::size_t exploded = 0, refused = 0;
    for (ObjectId id : *ids) {
        const db::Status s = explodeEntity(id);
        if (s == db::Status::Ok) ++exploded;
        else ++refused;
    }
    if (refused == 0) return;
    const std::string message = counted(refused, "object", "objects") + " could not be exploded.";
    if (exploded == 0) fail(message);
    else print("\n" + message);
}

// A factor of -INSERT: Enter answers `fallback`; zero is refused by the prompt.
std::optional<double> askScale(std::string_view prompt, double fallback) {
    double value = fallback;
    initGet(RSG_NOZERO);
    const int status = getReal(prompt, value);
    if (status == db::RTNONE) return fallback;
    if (status != db::RTNORM) return std::nullopt;
    return value;
}

// -INSERT: a block or drawing file, insertion point, scales and rotation. A drawing whose block name exists is
// inserted as the existing definition, without a question.
void insertCommand() {
    db::Database* db = drawing();
    if (!db) return;
    std::string name;
    if (!answered(getString(true, "\nEnter block name or [?]: ", name, kMaxNameChars))) return;
    if (name.empty()) return;
    const bool exploded = name.front() == kExplodedInsert;
    if (exploded) name.erase(0, 1);
    std::string error;
    const ObjectId block = blockForInsert(*db, name, &error);
    if (block.isNull()) {
        fail(error);
        return;
    }
    ge::Point3d at;
    if (!answered(getPoint(nullptr, "\nSpecify insertion point: ", at))) return;
    const auto xScale = askScale("\nEnter X scale factor <1>: ", 1.0);
    if (!xScale) return;
    const auto yScale = exploded ? xScale : askScale("\nEnter Y scale factor <use X scale factor>: ", *xScale);
    if (!yScale) return;
    double rotation = 0.0;
    const int status = getAngle(&at, "\nSpecify rotation angle <0>: ", rotation);
    if (status == db::RTNONE) rotation = 0.0;
    else if (status != db::RTNORM) return;
    ObjectId ref;
    const db::Status s = insertBlock(*db, block, at, {*xScale, *yScale, *xScale}, rotation, &ref);
    if (s != db::Status::Ok) {
        fail(std::string("The block could not be inserted: ") + db::statusText(s) + ".");
        return;
    }
    if (exploded && explodeEntity(ref) != db::Status::Ok) fail("The inserted block could not be exploded.");
}

// -BLOCK: name, redefinition, base point and the entities.
void blockCommand() {
    db::Database* db = drawing();
    if (!db) return;
    std::string name;
    if (!answered(getString(true, "\nEnter block name or [?]: ", name, kMaxNameChars)) || name.empty()) return;
    bool redefine = false;
    if (!db->recordId(db::TableKind::Block, name).isNull()) {
        const auto yes = askYesNo("\nBlock \"" + name + "\" already exists. Redefine it? [Yes/No] <N>: ", false);
        if (!yes || !*yes) return;
        redefine = true;
    }
    ge::Point3d base;
    if (!answered(getPoint(nullptr, "\nSpecify insertion base point: ", base))) return;
    const auto ids = selectObjects();
    if (!ids) {
        fail("No objects selected: the block is not defined.");
        return;
    }
    switch (defineBlock(*db, name, base, *ids, redefine)) {
    case DefineBlockOutcome::Defined:
    case DefineBlockOutcome::Redefined: break;
    case DefineBlockOutcome::Exists: fail("Block \"" + name + "\" already exists."); break;
    case DefineBlockOutcome::InvalidName: fail("Invalid block name \"" + name + "\"."); break;
    case DefineBlockOutcome::SelfReference: fail("Block \"" + name + "\" references itself."); break;
    case DefineBlockOutcome::NothingToAdd: fail("No objects selected: the block is not defined."); break;
    case DefineBlockOutcome::Failed: fail("The block could not be defined."); break;
    }
}

// -PURGE: unused block definitions (this host purges blocks only; "All" purges every unused block).
void purgeCommand() {
    db::Database* db = drawing();
    if (!db) return;
    const auto kind = askKeyword("\nEnter type of unused objects to purge [Blocks/All]: ", "Blocks All _Blocks All",
                                 "");
    if (!kind) return;
    if (kind->empty()) {
        fail("Requires a type of objects to purge.");
        return;
    }
    std::string names;
    if (!answered(getString(false, "\nEnter name(s) to purge <*>: ", names, kMaxNameChars))) return;
    if (names.empty()) names = "*";
    const auto verify = askYesNo("\nVerify each name to be purged? [Yes/No] <Y>: ", true);
    if (!verify) return;
    std::vector<std::string> chosen = unusedBlocks(*db, names);
    if (*verify) {
        std::vector<std::string> yes;
        for (const std::string& candidate : chosen) {
            const auto answer = askYesNo("\nPurge block \"" + candidate + "\"? <N>: ", false);
            if (!answer) return;
            if (*answer) yes.push_back(candidate);
        }
        chosen = yes;
    }
    const std::vector<std::string> purged = purgeBlocks(*db, chosen);
    // Run quietly by a module (a job load clears the drawing so), the purge keeps its routine report to itself.
    if (isQuietCommand()) return;
    for (const std::string& n : purged) print("\nDeleting block \"" + n + "\".");
    print(purged.empty() ? "\nNo unreferenced blocks found." : "\n" + counted(purged.size(), "block", "blocks") +
                                                                     " deleted.");
}

}  // namespace

void registerBlockCommands() {
    addHostCommand("EXPLODE", 0, explodeCommand);
    addHostCommand("-INSERT", 0, insertCommand);
    addHostCommand("-BLOCK", 0, blockCommand);
    addHostCommand("-PURGE", 0, purgeCommand);
}

}  // namespace host::ed::commands
