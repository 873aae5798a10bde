// Hooks told after UNDO (or REDO) has changed a drawing, so that a module that keeps state beside a drawing (a job
// read from it) can read it again from what the drawing now holds, as it does when the drawing is opened.
#pragma once

#include <functional>

namespace host::ed {

class Document;

enum class UndoDirection {
    Undo,  // steps were undone
    Redo,  // undone steps were done again
};

// What was done: the direction, how many steps (at least 1), the drawing (current while the hooks run), and whether
// a running command undid what it had done so far itself (it knows what it took back; a hook may leave it be).
struct UndoEvent {
    UndoDirection direction = UndoDirection::Undo;
    int steps = 0;
    Document* document = nullptr;
    bool withinCommand = false;
};

using UndoHook = std::function<void(const UndoEvent&)>;

// Registers `hook` and answers its id (never 0). A module registers when it is loaded and removes its hook when it
// is unloaded: a hook left behind would call into an unloaded module.
int addUndoHook(UndoHook hook);
// Removes the hook of `id`; false when there is none.
bool removeUndoHook(int id);
// Calls every hook, in the order they were added, with the event's document current. A hook added or removed by a
// hook takes effect from the next event; an exception out of a hook is caught and stops no other hook. Called by
// the host's commands that undo or redo steps, only when at least one step was undone or redone.
void tellUndoHooks(const UndoEvent& event);

}  // namespace host::ed
