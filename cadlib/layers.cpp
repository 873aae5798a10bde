// Layers and line types of the working drawing, the current layer, and the layer visibility cache.
#include "cadlib/layers.h"

#include <memory>

#include "cadlib/host_variables.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/layer_states.h"
#include "host/db/linetype_file.h"
#include "host/sys/folders.h"

using host::db::Color;
using host::db::Database;
using host::db::LayerTableRecord;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::Status;
using host::db::SymbolTable;
using host::db::TableKind;

namespace {

constexpr std::string_view kCurrentLayerVariable = "CLAYER";
constexpr int kLayerMissing = 1;
constexpr int kLayerFound = 0;

const TwoLanguageText kLinetypeMissing = {"\nUnable to find typeline %s. Use CONTINUOUS",
                                          "\nНе найден тип линии %s. Используется CONTINUOUS"};
const TwoLanguageText kTooManyLayers = {"\n\rError:  Too many layers on the drawing ",
                                        "\n\rОшибка:  Слишком много слоёв в чертеже "};
const TwoLanguageText kLinetypeNotLoaded = {"\n%s", "\n%s"};

// What a creation does with a layer that exists.
enum class ExistingLayer { Keep, Update };

// The line type of `name` in `db`, or after a message the fallback.
ObjectId LinetypeOrFallback(const Database& db, std::string_view name) {
    ObjectId id = db.recordId(TableKind::Linetype, name);
    if (id.isNull()) {
        PrintLocalized(kLinetypeMissing, std::string(name).c_str());
        id = db.recordId(TableKind::Linetype, kFallbackLinetype);
    }
    return id;
}

// A colour a layer takes: an index 1-255 or a true colour.
bool ValidLayerColor(const Color& c) {
    constexpr int kFirstIndex = 1, kLastIndex = 255;
    constexpr std::uint32_t kMaxRgb = 0xFFFFFF;
    return c.rgb ? *c.rgb <= kMaxRgb : c.index >= kFirstIndex && c.index <= kLastIndex;
}

Status SetLayerValues(LayerTableRecord& layer, const Database& db, const Color& color, std::string_view linetype,
                      bool off) {
    if (const Status s = layer.setIsOff(off); s != Status::Ok) return s;
    if (const Status s = layer.setColor(color); s != Status::Ok) return s;
    return layer.setLinetypeId(LinetypeOrFallback(db, linetype));
}

Status MakeLayer(std::string_view name, const Color& color, std::string_view linetype, bool off,
                 ExistingLayer existing) {
    Database* db = host::db::workingDatabase();
    if (!db) return Status::NotInDatabase;
    if (!ValidLayerColor(color)) return Status::InvalidInput;  // checked first: no half-made layer
    // a layer that is kept leaves the table unopened: an open for write is a change that UNDO would take back
    if (existing == ExistingLayer::Keep && !db->recordId(TableKind::Layer, name).isNull()) return Status::Ok;
    ObjectPtr<SymbolTable> table(db->tableId(TableKind::Layer), OpenMode::Write);
    if (!table) return table.status();
    ObjectId id = table->getAt(name);
    if (!id.isNull() && existing == ExistingLayer::Keep) return Status::Ok;
    if (id.isNull()) {
        if (const Status s = table->add(std::make_unique<LayerTableRecord>(std::string(name)), &id); s != Status::Ok)
            return s;
    }
    ObjectPtr<LayerTableRecord> layer(id, OpenMode::Write);
    if (!layer) return layer.status();
    return SetLayerValues(*layer, *db, color, linetype, off);
}

}  // namespace

bool LoadLinetype(std::string_view name, const std::filesystem::path& file) {
    Database* db = host::db::workingDatabase();
    if (!db) return false;
    if (!db->recordId(TableKind::Linetype, name).isNull()) return true;
    const std::filesystem::path path = file.is_absolute() ? file : host::sys::installFolder() / file;
    std::string message;
    const Status s = host::db::loadLinetype(*db, path, name, nullptr, &message);
    if (s != Status::Ok && !message.empty()) PrintLocalized(kLinetypeNotLoaded, message.c_str());
    return s == Status::Ok;
}

Status CreateLayer(std::string_view name, int colorIndex, std::string_view linetype, bool off) {
    return MakeLayer(name, Color::fromIndex(colorIndex), linetype, off, ExistingLayer::Keep);
}

Status CreateLayerWithColor(std::string_view name, const Color& color, std::string_view linetype, bool off) {
    return MakeLayer(name, color, linetype, off, ExistingLayer::Keep);
}

Status CreateOrUpdateLayer(std::string_view name, const Color& color, std::string_view linetype, bool off) {
    return MakeLayer(name, color, linetype, off, ExistingLayer::Update);
}

int SetCurrentLayer(std::string_view name) { return SetSysVarString(kCurrentLayerVariable, name); }

int GetCurrentLayer(std::string& name) { return GetSysVarString(kCurrentLayerVariable, name); }

host::db::Status RenameLayerState(std::string_view oldName, std::string_view newName) {
    host::db::Database* db = host::db::workingDatabase();
    return db ? host::db::renameLayerState(*db, oldName, newName) : host::db::Status::NotApplicable;
}

host::db::Status DeleteLayerState(std::string_view name) {
    host::db::Database* db = host::db::workingDatabase();
    return db ? host::db::deleteLayerState(*db, name) : host::db::Status::NotApplicable;
}

int IsLayerVisible(std::string_view name, int& visible) {
    visible = 0;
    const Database* db = host::db::workingDatabase();
    if (!db) return kLayerMissing;
    ObjectPtr<LayerTableRecord> layer(db->recordId(TableKind::Layer, name), OpenMode::Read);
    if (!layer) return kLayerMissing;
    visible = layer->isVisible() ? 1 : 0;
    return kLayerFound;
}

int LayerVisibilityCache::IsVisible(std::string_view name) {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == name) return visible_[i];
    }
    if (count() >= kCapacity) {
        PrintLocalized(kTooManyLayers);
        return 0;
    }
    int visible = 0;
    IsLayerVisible(name, visible);
    names_.emplace_back(name);
    visible_.push_back(static_cast<unsigned char>(visible));
    return visible;
}
