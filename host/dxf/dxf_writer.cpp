// Writing a database as a complete R2000 DXF file (ASCII groups, text in its code page) that other CAD programs open.
//
// Index of this file:
//   [SECTION] Writer state and handles of made objects
//   [SECTION] Record heads
//   [SECTION] CLASSES and TABLES
//   [SECTION] Entities (BLOCKS and ENTITIES)
//   [SECTION] OBJECTS, with the layouts and multiline style readers require
//   [SECTION] Front door
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entity_groups.h"
#include "host/dxf/dxf_file.h"
#include "host/dxf/dxf_output.h"
#include "host/dxf/header_vars.h"
#include "host/dxf/object_codec.h"
#include "host/dxf/table_codec.h"
#include "host/sys/atomic_file.h"
#include "host/sys/text_case.h"

namespace host::dxf {

namespace {

using db::Handle;
using db::ObjectId;
using db::TableKind;
using PaperSpace = DxfEntitySink::PaperSpace;

constexpr int kHandle = 5;
constexpr int kControl = 102;
constexpr int kOwner = 330;
constexpr int kHardOwner = 360;
constexpr int kSubclass = 100;
constexpr int kName = 2;
constexpr int kFlags = 70;
constexpr std::string_view kLayoutDictionary = "ACAD_LAYOUT";
constexpr std::string_view kMlineStyleDictionary = "ACAD_MLINESTYLE";

// ============================================================================================================
// [SECTION] Writer state and handles of made objects
// ============================================================================================================

// Objects a complete file needs that the database may lack (layouts, block markers, sequence ends) are made in
// the file only, with handles above the database's $HANDSEED; the file's $HANDSEED is raised past them, so a
// drawing read back from the file holds them with those handles.
class Writer {
public:
    explicit Writer(const db::Database& db) : db_(db), nextHandle_(db.handSeed().value) {}
    std::string run();
    bool allFinite() const { return allFinite_; }

private:
    // Above the seed; past the top of the 64-bit range (a file's handles may reach it), the lowest the drawing
    // does not hold.
    Handle newHandle() {
        if (nextHandle_ != std::numeric_limits<std::uint64_t>::max()) return Handle(nextHandle_++);
        while (!db_.idFromHandle(Handle(freeBelowSeed_)).isNull()) ++freeBelowSeed_;
        return Handle(freeBelowSeed_++);
    }
    template <class T>
    const T* live(ObjectId id) const {
        const db::DbObject* o = db_.peek(id);
        return (o && !o->isErased()) ? dynamic_cast<const T*>(o) : nullptr;
    }

    // `owner` empty writes no owner group (330).
    void writeHead(std::string_view name, int handleCode, Handle h, const db::DbObject* obj,
                   std::optional<Handle> owner);
    void writeClasses();
    void writeTables();
    void writeBlocks();
    void writeEntitiesSection();
    void writeEntity(const db::Entity& e, Handle owner, PaperSpace paper);
    void writeSequenceEnd(ObjectId seqEnd, const db::Entity& parent, PaperSpace paper);
    void writeObjects();
    void writeObject(ObjectId id, std::vector<bool>& written);
    void writeMadeLayouts();
    void writeMadeMlineStyle();

    const db::Database& db_;
    std::uint64_t nextHandle_;
    std::uint64_t freeBelowSeed_ = 1;
    DxfOutput out_;
    bool allFinite_ = true;

    // Made in the file when the database has none.
    bool makeLayouts_ = false, makeMlineStyle_ = false;
    Handle layoutDict_, modelLayout_, paperLayout_, mlineDict_, mlineStandard_;
};

// ============================================================================================================
// [SECTION] Record heads
// ============================================================================================================

void Writer::writeHead(std::string_view name, int handleCode, Handle h, const db::DbObject* obj,
                       std::optional<Handle> owner) {
    out_.plain(0, name);
    out_.handle(handleCode, h);
    if (obj) {
        bool open = false;
        for (ObjectId r : obj->reactors()) {
            if (!live<db::DbObject>(r)) continue;
            if (!open) out_.plain(kControl, "{ACAD_REACTORS"), open = true;
            out_.handle(kOwner, r);
        }
        if (open) out_.plain(kControl, "}");
        if (live<db::DbObject>(obj->extensionDictionary())) {
            out_.plain(kControl, "{ACAD_XDICTIONARY");
            out_.handle(kHardOwner, obj->extensionDictionary());
            out_.plain(kControl, "}");
        }
    }
    if (owner) out_.handle(kOwner, *owner);
}

// ============================================================================================================
// [SECTION] CLASSES and TABLES
// ============================================================================================================

void Writer::writeClasses() {
    out_.plain(0, "SECTION");
    out_.plain(kName, "CLASSES");
    bool hasLayoutClass = false;
    for (const db::RawGroups& c : db_.header().classes) {
        out_.plain(0, "CLASS");
        for (const db::RawGroup& g : c) {
            out_.raw(g);
            if (g.code == 1 && g.value == "LAYOUT") hasLayoutClass = true;
        }
    }
    if (makeLayouts_ && !hasLayoutClass) {
        out_.plain(0, "CLASS");
        out_.plain(1, "LAYOUT");
        out_.plain(2, "AcDbLayout");
        out_.plain(3, "ObjectDBX Classes");
        out_.integer(90, 0);
        out_.integer(280, 0);
        out_.integer(281, 0);
    }
    out_.plain(0, "ENDSEC");
}

void Writer::writeTables() {
    out_.plain(0, "SECTION");
    out_.plain(kName, "TABLES");
    for (TableKind kind : kTableOrder) {
        const ObjectId tableId = db_.tableId(kind);
        const auto* table = live<db::SymbolTable>(tableId);
        const Handle tableHandle = table ? tableId.handle() : newHandle();
        std::vector<const db::SymbolTableRecord*> records;
        if (table)
            for (ObjectId id : table->recordIds())
                if (const auto* r = live<db::SymbolTableRecord>(id)) records.push_back(r);

        out_.plain(0, "TABLE");
        out_.plain(kName, tableName(kind));
        out_.handle(kHandle, tableHandle);
        if (table && live<db::DbObject>(table->extensionDictionary())) {
            out_.plain(kControl, "{ACAD_XDICTIONARY");
            out_.handle(kHardOwner, table->extensionDictionary());
            out_.plain(kControl, "}");
        }
        out_.handle(kOwner, Handle());
        out_.plain(kSubclass, "AcDbSymbolTable");
        out_.integer(kFlags, std::int64_t(records.size()));
        if (kind == TableKind::DimStyle) {
            out_.plain(kSubclass, "AcDbDimStyleTable");
            out_.integer(71, std::int64_t(records.size()));
            for (const db::SymbolTableRecord* r : records) out_.handle(340, r->handle());
        }
        if (table) out_.xdata(table->xData());

        for (const db::SymbolTableRecord* r : records) {
            writeHead(tableName(kind), recordHandleCode(kind), r->handle(), r, tableHandle);
            Handle layout;
            if (const auto* b = dynamic_cast<const db::BlockTableRecord*>(r)) {
                if (live<db::DbObject>(b->layoutId())) layout = b->layoutId().handle();
                else if (makeLayouts_ && r->objectId() == db_.modelSpaceId()) layout = modelLayout_;
                else if (makeLayouts_ && r->objectId() == db_.paperSpaceId()) layout = paperLayout_;
            }
            writeTableRecord(*r, out_, layout);
            out_.xdata(r->xData());
        }
        out_.plain(0, "ENDTAB");
    }
    out_.plain(0, "ENDSEC");
}

// ============================================================================================================
// [SECTION] Entities (BLOCKS and ENTITIES)
// ============================================================================================================

void Writer::writeEntity(const db::Entity& e, Handle owner, PaperSpace paper) {
    writeHead(e.dxfName(), kHandle, e.handle(), &e, owner);
    DxfEntitySink sink(out_, paper);
    db::writeEntityGroups(e, sink);
    out_.xdata(e.xData());
    if (const auto* p = dynamic_cast<const db::PolylineWithVertices*>(&e)) {
        for (ObjectId v : p->vertexIds())
            if (const auto* vertex = live<db::Entity>(v)) writeEntity(*vertex, e.handle(), paper);
        writeSequenceEnd(p->sequenceEnd(), e, paper);
    } else if (const auto* ref = dynamic_cast<const db::BlockReference*>(&e)) {
        bool any = false;
        for (ObjectId a : ref->attributeIds())
            if (const auto* attribute = live<db::Entity>(a)) writeEntity(*attribute, e.handle(), paper), any = true;
        if (any) writeSequenceEnd(ref->sequenceEnd(), e, paper);
    }
}

// The end of a vertex or attribute list: the database's own, or one made in the file on the parent's layer.
void Writer::writeSequenceEnd(ObjectId seqEnd, const db::Entity& parent, PaperSpace paper) {
    if (const auto* end = live<db::Entity>(seqEnd)) return writeEntity(*end, parent.handle(), paper);
    writeHead("SEQEND", kHandle, newHandle(), nullptr, parent.handle());
    out_.plain(kSubclass, "AcDbEntity");
    if (paper == PaperSpace::Force || (paper == PaperSpace::AsEntity && parent.inPaperSpace())) out_.integer(67, 1);
    out_.text(8, parent.layer());
}

void Writer::writeBlocks() {
    out_.plain(0, "SECTION");
    out_.plain(kName, "BLOCKS");
    const auto* table = live<db::SymbolTable>(db_.tableId(TableKind::Block));
    const ObjectId model = db_.modelSpaceId(), paper = db_.paperSpaceId();
    if (table) {
        for (ObjectId id : table->recordIds()) {
            const auto* b = live<db::BlockTableRecord>(id);
            if (!b) continue;
            // The markers say what they say: a paper-space flag on them means nothing to a reader.
            const PaperSpace mode = PaperSpace::AsEntity;
            auto marker = [&](ObjectId markerId, std::string_view name, std::string_view subclass) {
                if (const auto* m = live<db::Entity>(markerId)) {
                    writeHead(name, kHandle, m->handle(), m, b->handle());
                    DxfEntitySink sink(out_, mode);
                    db::writeEntityGroups(*m, sink);
                    return m;
                }
                writeHead(name, kHandle, newHandle(), nullptr, b->handle());
                out_.plain(kSubclass, "AcDbEntity");
                out_.plain(8, "0");
                out_.plain(kSubclass, subclass);
                return static_cast<const db::Entity*>(nullptr);
            };
            const db::Entity* begin = marker(b->blockBegin(), "BLOCK", "AcDbBlockBegin");
            out_.text(kName, b->name());
            out_.integer(kFlags, b->flags());
            out_.point(10, b->origin());
            out_.text(3, b->name());
            out_.text(1, b->xrefPath());
            if (!b->description().empty()) out_.text(4, b->description());
            if (begin) out_.xdata(begin->xData());
            // The two layout blocks keep their entities in the ENTITIES section.
            if (id != model && id != paper) {
                for (ObjectId e : b->entityList())
                    if (const auto* entity = live<db::Entity>(e)) writeEntity(*entity, b->handle(), PaperSpace::AsEntity);
            }
            if (const db::Entity* end = marker(b->blockEnd(), "ENDBLK", "AcDbBlockEnd")) out_.xdata(end->xData());
        }
    }
    out_.plain(0, "ENDSEC");
}

void Writer::writeEntitiesSection() {
    out_.plain(0, "SECTION");
    out_.plain(kName, "ENTITIES");
    const std::pair<ObjectId, PaperSpace> spaces[] = {{db_.modelSpaceId(), PaperSpace::Suppress},
                                                      {db_.paperSpaceId(), PaperSpace::Force}};
    for (const auto& [id, mode] : spaces) {
        const auto* b = live<db::BlockTableRecord>(id);
        if (!b) continue;
        for (ObjectId e : b->entityList())
            if (const auto* entity = live<db::Entity>(e)) writeEntity(*entity, b->handle(), mode);
    }
    out_.plain(0, "ENDSEC");
}

// ============================================================================================================
// [SECTION] OBJECTS, with the layouts and multiline style readers require
// ============================================================================================================

// An object and, depth first, the objects its dictionary owns. Tables, records and entities are written in their
// own sections.
void Writer::writeObject(ObjectId start, std::vector<bool>& written) {
    std::vector<ObjectId> stack{start};
    while (!stack.empty()) {
        const ObjectId id = stack.back();
        stack.pop_back();
        const db::DbObject* o = live<db::DbObject>(id);
        if (!o || id.index() >= written.size() || written[id.index()]) continue;
        if (dynamic_cast<const db::Entity*>(o) || dynamic_cast<const db::SymbolTable*>(o) ||
            dynamic_cast<const db::SymbolTableRecord*>(o))
            continue;
        written[id.index()] = true;
        const bool isRoot = id == db_.namedObjectsDictionaryId();
        // The root's owner is 0. Another object has the owner it has: none for one that came without (LibreCAD
        // writes PLOTSETTINGS so; "330 0" there made readers delete it as owned by nothing), and none for one
        // whose owner was erased, as the drawing read back from the file has it.
        std::optional<Handle> owner;
        if (isRoot) owner = Handle();
        else if (live<db::DbObject>(o->ownerId())) owner = o->ownerId().handle();
        writeHead(o->dxfName(), kHandle, o->handle(), o, owner);
        writeObjectBody(*o, out_);
        if (isRoot) {
            // Entries of the objects made in the file: the root dictionary's entries are its last groups. They
            // take the group of the dictionary's own entries: a hard-owner root read back with soft entries
            // turned them hard, so a second save differed from the first.
            const auto* root = dynamic_cast<const db::Dictionary*>(o);
            const int entryCode = root && root->hardOwner() ? kHardOwner : 350;
            if (makeLayouts_) out_.text(3, kLayoutDictionary), out_.handle(entryCode, layoutDict_);
            if (makeMlineStyle_) out_.text(3, kMlineStyleDictionary), out_.handle(entryCode, mlineDict_);
        }
        out_.xdata(o->xData());
        if (const auto* d = dynamic_cast<const db::Dictionary*>(o)) {
            const auto entries = d->entries();
            for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
                const db::DbObject* child = live<db::DbObject>(it->second);
                if (child && child->ownerId() == id) stack.push_back(it->second);
            }
        }
    }
}

void Writer::writeMadeLayouts() {
    const Handle root = db_.namedObjectsDictionaryId().handle();
    writeHead("DICTIONARY", kHandle, layoutDict_, nullptr, root);
    out_.plain(kSubclass, "AcDbDictionary");
    out_.integer(281, 1);
    out_.text(3, "Model");
    out_.handle(350, modelLayout_);
    out_.text(3, "Layout1");
    out_.handle(350, paperLayout_);
    struct Layout {
        Handle handle;
        const char* name;
        int flags, tabOrder;
        ObjectId block;
    };
    const Layout layouts[] = {{modelLayout_, "Model", 1, 0, db_.modelSpaceId()},
                              {paperLayout_, "Layout1", 0, 1, db_.paperSpaceId()}};
    for (const Layout& l : layouts) {
        out_.plain(0, "LAYOUT");
        out_.handle(kHandle, l.handle);
        out_.plain(kControl, "{ACAD_REACTORS");
        out_.handle(kOwner, layoutDict_);
        out_.plain(kControl, "}");
        out_.handle(kOwner, layoutDict_);
        out_.plain(kSubclass, "AcDbPlotSettings");
        out_.plain(1, "");
        out_.plain(2, "none_device");
        out_.plain(4, "");
        out_.plain(6, "");
        for (int code = 40; code <= 49; ++code) out_.real(code, 0.0);
        out_.real(140, 0.0);
        out_.real(141, 0.0);
        out_.real(142, 1.0);
        out_.real(143, 1.0);
        out_.integer(70, 688);
        out_.integer(72, 0);
        out_.integer(73, 0);
        out_.integer(74, 5);
        out_.plain(7, "");
        out_.integer(75, 16);
        out_.real(147, 1.0);
        out_.real(148, 0.0);
        out_.real(149, 0.0);
        out_.plain(kSubclass, "AcDbLayout");
        out_.plain(1, l.name);
        out_.integer(70, l.flags);
        out_.integer(71, l.tabOrder);
        out_.point2d(10, {0.0, 0.0});
        out_.point2d(11, {420.0, 297.0});
        out_.point(12, {0.0, 0.0, 0.0});
        out_.point(14, {0.0, 0.0, 0.0});
        out_.point(15, {0.0, 0.0, 0.0});
        out_.real(146, 0.0);
        out_.point(13, {0.0, 0.0, 0.0});
        out_.point(16, {1.0, 0.0, 0.0});
        out_.point(17, {0.0, 1.0, 0.0});
        out_.integer(76, 0);
        out_.handle(kOwner, l.block);
    }
}

void Writer::writeMadeMlineStyle() {
    const Handle root = db_.namedObjectsDictionaryId().handle();
    writeHead("DICTIONARY", kHandle, mlineDict_, nullptr, root);
    out_.plain(kSubclass, "AcDbDictionary");
    out_.integer(281, 1);
    out_.text(3, "Standard");
    out_.handle(350, mlineStandard_);
    out_.plain(0, "MLINESTYLE");
    out_.handle(kHandle, mlineStandard_);
    out_.plain(kControl, "{ACAD_REACTORS");
    out_.handle(kOwner, mlineDict_);
    out_.plain(kControl, "}");
    out_.handle(kOwner, mlineDict_);
    out_.plain(kSubclass, "AcDbMlineStyle");
    out_.plain(2, "Standard");
    out_.integer(70, 0);
    out_.plain(3, "");
    out_.integer(62, 256);
    out_.real(51, 90.0);
    out_.real(52, 90.0);
    out_.integer(71, 2);
    for (double offset : {0.5, -0.5}) {
        out_.real(49, offset);
        out_.integer(62, 256);
        out_.plain(6, "BYLAYER");
    }
}

void Writer::writeObjects() {
    out_.plain(0, "SECTION");
    out_.plain(kName, "OBJECTS");
    const std::vector<ObjectId> all = db_.allObjectIds();
    std::uint32_t maxIndex = 0;
    for (ObjectId id : all) maxIndex = std::max(maxIndex, id.index());
    std::vector<bool> written(std::size_t(maxIndex) + 1, false);
    writeObject(db_.namedObjectsDictionaryId(), written);
    if (makeLayouts_) writeMadeLayouts();
    if (makeMlineStyle_) writeMadeMlineStyle();
    for (ObjectId id : all) writeObject(id, written);
    out_.plain(0, "ENDSEC");
}

std::string Writer::run() {
    // What the file must have that the database lacks, decided before anything refers to it.
    if (const auto* root = live<db::Dictionary>(db_.namedObjectsDictionaryId())) {
        makeLayouts_ = !root->has(kLayoutDictionary);
        makeMlineStyle_ = !root->has(kMlineStyleDictionary);
    }
    if (makeLayouts_) layoutDict_ = newHandle(), modelLayout_ = newHandle(), paperLayout_ = newHandle();
    if (makeMlineStyle_) mlineDict_ = newHandle(), mlineStandard_ = newHandle();

    // The file is R2000 in the drawing's code page.
    const TextEncoding page = TextEncoding::of("AC1015", db_.header().codePage);
    out_.setCodePage(page);
    out_.buffer().reserve(1 << 20);
    writeClasses();
    writeTables();
    writeBlocks();
    writeEntitiesSection();
    writeObjects();
    out_.plain(0, "EOF");
    allFinite_ = out_.allFinite();

    // The header goes first but is written last: its $HANDSEED must be past every handle made above.
    DxfOutput header;
    header.setCodePage(page);
    writeHeaderSection(db_, Handle(nextHandle_), header);
    std::string text = std::move(header.buffer());
    text.append(out_.buffer());
    allFinite_ = allFinite_ && header.allFinite();
    return text;
}

}  // namespace

std::string writeDxfText(const db::Database& database) {
    Writer writer(database);
    return writer.run();
}

bool writeDxfFile(const db::Database& database, const std::filesystem::path& path, std::string* error) {
    auto fail = [&](std::string message) {
        if (error) *error = std::move(message);
        return false;
    };
    std::string text;
    try {
        Writer writer(database);
        text = writer.run();
        if (!writer.allFinite())
            return fail(path.string() + ": not saved: the drawing holds a number that is not finite (a NaN or an "
                                        "infinity), which a DXF file cannot hold");
    } catch (const std::bad_alloc&) {
        return fail(path.string() + ": not saved: not enough memory to write the drawing");
    }
    sys::AtomicFile file(path);
    std::string err;
    if (!file.open(&err)) return fail(err);
    file.write(text);
    if (!file.commit(&err)) return fail(err);
    return true;
}

}  // namespace host::dxf
