// Objects of the OBJECTS section in DXF: dictionaries and groups read into their classes, every other object kept
// as read.
#include "host/dxf/object_codec.h"

namespace host::dxf {

namespace {

constexpr int kEntryName = 3;
constexpr int kSubclass = 100;
constexpr int kHardOwnerFlag = 280;
constexpr int kCloning = 281;
constexpr int kSoftEntry = 350;
constexpr int kHardEntry = 360;
constexpr int kDescription = 300;
constexpr int kUnnamed = 70;
constexpr int kSelectable = 71;
constexpr int kMember = 340;

std::unique_ptr<db::DbObject> readDictionary(const SplitRecord& r, const TextEncoding& enc, ObjectLinks& links) {
    auto dict = std::make_unique<db::Dictionary>();
    const std::vector<Group>& b = r.body;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const Group& g = b[i];
        switch (g.code) {
        case kHardOwnerFlag: dict->setHardOwner(g.integer != 0); break;
        case kCloning: dict->setCloningFlag(int(g.integer)); break;
        case kEntryName:
            if (i + 1 >= b.size() || (b[i + 1].code != kSoftEntry && b[i + 1].code != kHardEntry))
                failAt(g.line, "dictionary entry \"" + textOf(g, enc) + "\" has no object (group 350 or 360)");
            links.entries.emplace_back(textOf(g, enc), handleOf(b[i + 1]));
            ++i;
            break;
        default: break;
        }
    }
    return dict;
}

std::unique_ptr<db::DbObject> readGroup(const SplitRecord& r, const TextEncoding& enc, ObjectLinks& links) {
    std::string description;
    bool selectable = true, unnamed = false;
    for (const Group& g : r.body) {
        switch (g.code) {
        case kDescription: description = textOf(g, enc); break;
        case kUnnamed: unnamed = g.integer != 0; break;
        case kSelectable: selectable = g.integer != 0; break;
        case kMember: links.members.push_back(handleOf(g)); break;
        default: break;
        }
    }
    auto group = std::make_unique<db::Group>(std::move(description), selectable);
    group->setAnonymous(unnamed);
    return group;
}

}  // namespace

std::unique_ptr<db::DbObject> readObject(const SplitRecord& r, const TextEncoding& enc, ObjectLinks& links) {
    links.line = r.line;
    if (r.name == "DICTIONARY") return readDictionary(r, enc, links);
    if (r.name == "GROUP") return readGroup(r, enc, links);
    db::RawGroups groups;
    groups.reserve(r.appGroups.size() + r.body.size());
    for (const Group& g : r.appGroups) groups.push_back(toRawGroup(g, enc));
    for (const Group& g : r.body) groups.push_back(toRawGroup(g, enc));
    return std::make_unique<db::OpaqueObject>(std::string(r.name), std::move(groups));
}

void writeObjectBody(const db::DbObject& object, DxfOutput& out) {
    if (auto* d = dynamic_cast<const db::Dictionary*>(&object)) {
        out.plain(kSubclass, "AcDbDictionary");
        if (d->hardOwner()) out.integer(kHardOwnerFlag, 1);
        out.integer(kCloning, d->cloningFlag());
        const int entryCode = d->hardOwner() ? kHardEntry : kSoftEntry;
        for (const auto& [name, id] : d->entries()) {
            out.text(kEntryName, name);
            out.handle(entryCode, id);
        }
        return;
    }
    if (auto* g = dynamic_cast<const db::Group*>(&object)) {
        out.plain(kSubclass, "AcDbGroup");
        out.text(kDescription, g->description());
        out.integer(kUnnamed, g->isAnonymous() ? 1 : 0);
        out.integer(kSelectable, g->isSelectable() ? 1 : 0);
        for (db::ObjectId id : g->allEntityIds()) out.handle(kMember, id);
        return;
    }
    if (auto* o = dynamic_cast<const db::OpaqueObject*>(&object)) {
        for (const db::RawGroup& g : o->groups()) out.raw(g);
    }
}

}  // namespace host::dxf
