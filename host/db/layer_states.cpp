// Named layer states kept as records of their own dictionary.
#include "host/db/layer_states.h"

#include <cstdlib>
#include <memory>

namespace host::db {
namespace {

// One record per layer: 8 layer name, 90 flags (1 off, 2 frozen, 4 locked), 62 colour index.
constexpr int kOff = 1, kFrozen = 2, kLocked = 4;

ObjectId statesDictionary(const Database& db) {
    const auto* nod = dynamic_cast<const Dictionary*>(db.peek(db.namedObjectsDictionaryId()));
    return nod ? nod->getAt(kLayerStatesDictionary) : ObjectId();
}

// The states dictionary, made when asked and missing.
ObjectId statesDictionaryForWrite(Database& db) {
    if (ObjectId id = statesDictionary(db)) return id;
    ObjectPtr<Dictionary> nod(db.namedObjectsDictionaryId(), OpenMode::Write);
    if (!nod) return {};
    ObjectId id;
    if (nod->setAt(kLayerStatesDictionary, std::make_unique<Dictionary>(), &id) != Status::Ok) return {};
    return id;
}

RawGroups snapshotLayers(const Database& db) {
    RawGroups groups;
    const auto* table = dynamic_cast<const SymbolTable*>(db.peek(db.tableId(TableKind::Layer)));
    if (!table) return groups;
    for (ObjectId id : table->recordIds()) {
        const auto* layer = dynamic_cast<const LayerTableRecord*>(db.peek(id));
        if (!layer) continue;
        const int flags = (layer->isOff() ? kOff : 0) | (layer->isFrozen() ? kFrozen : 0) |
                          (layer->isLocked() ? kLocked : 0);
        groups.push_back({8, layer->name()});
        groups.push_back({90, std::to_string(flags)});
        groups.push_back({62, std::to_string(layer->color().index)});
    }
    return groups;
}

}  // namespace

Status saveLayerState(Database& db, std::string_view name) {
    if (name.empty()) return Status::InvalidInput;
    const ObjectId dictId = statesDictionaryForWrite(db);
    if (!dictId) return Status::NotApplicable;
    ObjectPtr<Dictionary> dict(dictId, OpenMode::Write);
    if (!dict) return dict.status();
    if (dict->has(name)) return Status::DuplicateKey;
    return dict->setAt(name, std::make_unique<OpaqueObject>("XRECORD", snapshotLayers(db)));
}

Status restoreLayerState(Database& db, std::string_view name) {
    const auto* dict = dynamic_cast<const Dictionary*>(db.peek(statesDictionary(db)));
    const auto* state = dict ? dynamic_cast<const OpaqueObject*>(db.peek(dict->getAt(name))) : nullptr;
    if (!state) return Status::KeyNotFound;
    const RawGroups& g = state->groups();
    for (std::size_t i = 0; i + 2 < g.size(); i += 3) {
        if (g[i].code != 8 || g[i + 1].code != 90 || g[i + 2].code != 62) return Status::InvalidInput;
        ObjectPtr<LayerTableRecord> layer(db.recordId(TableKind::Layer, g[i].value), OpenMode::Write);
        if (!layer) continue;  // a layer deleted since the state was saved
        const int flags = std::atoi(g[i + 1].value.c_str());
        layer->setIsOff((flags & kOff) != 0);
        layer->setIsFrozen((flags & kFrozen) != 0);
        layer->setIsLocked((flags & kLocked) != 0);
        const int aci = std::atoi(g[i + 2].value.c_str());
        if (aci >= 1 && aci <= 255) layer->setColor(Color::fromIndex(aci));
    }
    return Status::Ok;
}

Status renameLayerState(Database& db, std::string_view oldName, std::string_view newName) {
    if (newName.empty()) return Status::InvalidInput;
    const ObjectId dictId = statesDictionary(db);
    if (!dictId) return Status::KeyNotFound;
    ObjectPtr<Dictionary> dict(dictId, OpenMode::Write);
    if (!dict) return dict.status();
    if (!dict->has(oldName)) return Status::KeyNotFound;
    return dict->rename(oldName, std::string(newName));
}

Status deleteLayerState(Database& db, std::string_view name) {
    const ObjectId dictId = statesDictionary(db);
    if (!dictId) return Status::KeyNotFound;
    ObjectPtr<Dictionary> dict(dictId, OpenMode::Write);
    if (!dict) return dict.status();
    return dict->remove(name);
}

std::vector<std::string> layerStateNames(const Database& db) {
    std::vector<std::string> names;
    if (const auto* dict = dynamic_cast<const Dictionary*>(db.peek(statesDictionary(db))))
        for (const auto& [name, id] : dict->entries()) names.push_back(name);
    return names;
}

}  // namespace host::db
