// The hooks told after UNDO or REDO changed a drawing.
#include "host/ed/undo_hooks.h"

#include <utility>
#include <vector>

#include "host/ed/documents.h"

namespace host::ed {

namespace {

struct Registered {
    int id;
    UndoHook hook;
};

struct Hooks {
    std::vector<Registered> list;
    int lastId = 0;
};

Hooks& hooks() {
    static Hooks h;
    return h;
}

}  // namespace

int addUndoHook(UndoHook hook) {
    Hooks& h = hooks();
    h.list.push_back({++h.lastId, std::move(hook)});
    return h.lastId;
}

bool removeUndoHook(int id) {
    std::vector<Registered>& list = hooks().list;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->id != id) continue;
        list.erase(it);
        return true;
    }
    return false;
}

void tellUndoHooks(const UndoEvent& event) {
    if (event.steps <= 0) return;
    // A copy: a hook may add or remove hooks.
    const std::vector<Registered> list = hooks().list;
    DocumentManager& docs = documents();
    Document* previous = docs.current();
    for (const Registered& r : list) {
        if (event.document != nullptr && docs.current() != event.document) docs.setCurrent(*event.document);
        try {
            if (r.hook) r.hook(event);
        } catch (...) {
            // A module's failure must not stop the host nor the other modules' hooks.
        }
    }
    if (previous != nullptr && docs.current() != previous) docs.setCurrent(*previous);
}

}  // namespace host::ed
