// ERASE, MOVE, ROTATE, BREAK, UNDO, REDO and DELCONSTRAINT: the host's editing commands.
#include <cmath>

#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/documents.h"
#include "host/ed/undo_hooks.h"
#include "host/ed/commands/break_curve.h"
#include "host/ed/commands/command_bodies.h"
#include "host/ed/commands/command_support.h"
#include "host/ed/commands/entity_copy.h"
#include "host/ed/commands/entity_edit.h"
#include "host/ed/prompts.h"
#include "host/ed/transcript.h"
#include "host/ge/angle.h"
#include "host/sys/text_case.h"

namespace host::ed::commands {

namespace {

using db::ObjectId;

// Says how many entities a change could not reach (on a locked layer, or unable to take a transform).
void reportRefused(const EditCount& count, std::string_view what) {
    if (count.refused > 0) print("\n" + counted(std::size_t(count.refused), "object", "objects") + " could not be " +
                                 std::string(what) + ".");
}

void eraseCommand() {
    const auto ids = selectObjects();
    if (!ids) return;
    reportRefused(eraseEntities(*ids), "erased");
}

// MOVE: a base point and a second point, or a displacement.
void moveCommand() {
    const auto ids = selectObjects();
    if (!ids) return;
    initGet(0, "Displacement _Displacement");
    ge::Point3d base;
    int status = getPoint(nullptr, "\nSpecify base point or [Displacement] <Displacement>: ", base);
    ge::Vector3d shift;
    if (status == db::RTNORM) {
        ge::Point3d second;
        status = getPoint(&base, "\nSpecify second point or <use first point as displacement>: ", second);
        if (status == db::RTNONE) shift = base - ge::Point3d::kOrigin();
        else if (status == db::RTNORM) shift = second - base;
        else return;
    } else if (status == db::RTNONE || status == db::RTKWORD) {
        ge::Point3d d;
        status = getPoint(nullptr, "\nSpecify displacement <0.0000, 0.0000, 0.0000>: ", d);
        if (status != db::RTNORM && status != db::RTNONE) return;
        shift = d - ge::Point3d::kOrigin();
    } else {
        return;
    }
    reportRefused(transformEntities(*ids, ge::Matrix3d::translation(shift)), "moved");
}

// ROTATE: a base point and an angle, a reference angle and a new one, or a rotated copy.
void rotateCommand() {
    print("\nCurrent positive angle in UCS:  ANGDIR=counterclockwise  ANGBASE=0");
    const auto ids = selectObjects();
    if (!ids) return;
    ge::Point3d base;
    if (!answered(getPoint(nullptr, "\nSpecify base point: ", base))) return;
    bool copy = false;
    double angle = 0.0;
    while (true) {
        initGet(0, "Copy Reference _Copy Reference");
        const int status = getAngle(&base, "\nSpecify rotation angle or [Copy/Reference] <0>: ", angle);
        if (status == db::RTNONE) angle = 0.0;
        else if (status != db::RTNORM && status != db::RTKWORD) return;
        if (status != db::RTKWORD) break;
        std::string keyword;
        getInput(keyword);
        if (keyword == "Copy") {
            copy = true;
            print("\nRotating a copy of the selected objects.");
            continue;
        }
        double from = 0.0, to = 0.0;
        int s = getAngle(&base, "\nSpecify the reference angle <0>: ", from);
        if (s != db::RTNORM && s != db::RTNONE) return;
        s = getAngle(&base, "\nSpecify the new angle <0>: ", to);
        if (s != db::RTNORM && s != db::RTNONE) return;
        angle = to - from;
        break;
    }
    const ge::Matrix3d turn = ge::Matrix3d::rotation(angle, ge::Vector3d::kZAxis(), base);
    if (!copy) {
        reportRefused(transformEntities(*ids, turn), "rotated");
        return;
    }
    EditCount count;
    for (ObjectId id : *ids) {
        const auto* e = dynamic_cast<const db::Entity*>(id.database()->peek(id));
        if (!e) continue;
        EntityCopier copier(*id.database());
        if (copier.copy(*e, e->ownerId(), turn) == db::Status::Ok) ++count.done;
        else ++count.refused;
    }
    reportRefused(count, "copied");
}

// BREAK: the object (its pick point is the first break point), then the second point, or "First" and both.
void breakCommand() {
    db::EntityName name;
    ge::Point3d first;
    if (!answered(entSel("\nSelect object: ", name, first))) return;
    const ObjectId id = db::nameToId(name);
    ge::Point3d second;
    initGet(0, "First _First");
    int status = getPoint(nullptr, "\nSpecify second break point or [First point]: ", second);
    if (status == db::RTKWORD) {
        if (!answered(getPoint(nullptr, "\nSpecify first break point: ", first))) return;
        status = getPoint(&first, "\nSpecify second break point: ", second);
    }
    if (status != db::RTNORM) return;
    switch (breakEntity(id, first, second)) {
    case db::Status::Ok: break;
    case db::Status::InvalidInput: fail("Arc cannot be full 360 degrees."); break;
    case db::Status::NotApplicable: fail("Cannot break this object."); break;
    default: fail("The object could not be broken."); break;
    }
}

// UNDO: a number of steps. Inside a running command it first undoes what that command has done so far.
void undoCommand() {
    print("\nCurrent settings: Auto = On, Control = All, Combine = Yes, Layer = Yes");
    db::Database* db = drawing();
    if (!db) return;
    int count = 1;
    initGet(RSG_NOZERO | RSG_NONEG);
    const int status = getInt("\nEnter the number of operations to undo <1>: ", count);
    if (status == db::RTNONE) count = 1;
    else if (status != db::RTNORM) return;
    int undone = 0;
    const db::Status s = db->undo(count, &undone);
    if (s != db::Status::Ok) {
        fail("Cannot undo now: an object is still open.");
        return;
    }
    if (undone == 0) print("\nEverything has been undone.");
    else print("\n" + counted(std::size_t(undone), "step", "steps") + " undone.");
    // The modules that keep state beside the drawing follow it.
    const bool withinCommand = runningCommandNames().find('\'') != std::string::npos;
    tellUndoHooks({UndoDirection::Undo, undone, documents().documentOf(db), withinCommand});
}

// DELCONSTRAINT: the host keeps no geometric constraints, so there is never one to remove. "All", or a selection
// ended by Enter (or by the end of a module's arguments), is taken and nothing changes.
void delConstraintCommand() {
    for (bool first = true;; first = false) {
        const Answer answer = nextAnswer("\nSelect objects or [All]: ", WhenArgumentsEnd::EndSelection);
        if (answer.kind == Answer::Kind::Cancel || answer.kind == Answer::Kind::EndOfInput) return;
        if (answer.kind != Answer::Kind::Value) break;
        const std::string text = sys::upperCase(answer.value.str());
        if (first && (text == "ALL" || text == "_ALL" || text == "A" || text == "_A")) break;
    }
    if (!isQuietCommand()) print("\nNo constraints to remove.");
}

// REDO: does again what the last UNDO took back, while nothing has been done since.
void redoCommand() {
    db::Database* db = drawing();
    if (!db) return;
    int redone = 0;
    const int steps = db->lastUndoneGroup();
    if (steps == 0 || db->redo(steps, &redone) != db::Status::Ok) {
        print("\nNothing to redo: REDO does again what the UNDO just before it took back.");
        return;
    }
    print("\n" + counted(std::size_t(redone), "step", "steps") + " redone.");
    // The modules that keep state beside the drawing follow it, as after UNDO.
    tellUndoHooks({UndoDirection::Redo, redone, documents().documentOf(db), false});
}

}  // namespace

void registerEditCommands() {
    addHostCommand("ERASE", 0, eraseCommand);
    addHostCommand("MOVE", 0, moveCommand);
    addHostCommand("ROTATE", 0, rotateCommand);
    addHostCommand("BREAK", 0, breakCommand);
    // UNDO makes no undo step of its own: at the command prompt it undoes the commands before it, inside a
    // running command what that command has done so far.
    addHostCommand("UNDO", CMD_NOUNDOMARKER, undoCommand);
    addHostCommand("REDO", CMD_NOUNDOMARKER, redoCommand);
    addHostCommand("DELCONSTRAINT", 0, delConstraintCommand);
}

}  // namespace host::ed::commands
