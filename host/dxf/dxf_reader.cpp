// Reading an ASCII DXF file into a new database, all or nothing.
//
// Index of this file:
//   [SECTION] Reader state, records and failures
//   [SECTION] Records of the tables, made on demand (RecordResolver)
//   [SECTION] HEADER and CLASSES
//   [SECTION] TABLES
//   [SECTION] Entities (BLOCKS and ENTITIES)
//   [SECTION] OBJECTS
//   [SECTION] Links resolved by handle, defaults, current values
//   [SECTION] Front door
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/db/database.h"
#include "host/db/entity_groups.h"
#include "host/dxf/binary_dxf.h"
#include "host/dxf/dxf_file.h"
#include "host/dxf/dxf_limits.h"
#include "host/dxf/dxf_numbers.h"
#include "host/dxf/dxf_record.h"
#include "host/dxf/header_vars.h"
#include "host/dxf/object_codec.h"
#include "host/dxf/record_repairs.h"
#include "host/dxf/table_codec.h"
#include "host/ge/angle.h"
#include "host/sys/text_case.h"

namespace host::dxf {

namespace {

using db::ObjectId;
using db::TableKind;

constexpr int kRecordStart = 0;
constexpr int kName = 2;
constexpr int kVariableName = 9;
constexpr int kFlags = 70;
constexpr int kSubclass = 100;
constexpr int kComment = 999;
constexpr int kColor = 62;
constexpr int kTrueColor = 420;
constexpr int kColorByLayer = 256;
constexpr int kColorByEntity = 257;
constexpr std::string_view kModelSpace = "*Model_Space";
constexpr std::string_view kPaperSpace = "*Paper_Space";
constexpr std::string_view kEntityMarker = "AcDbEntity";

// Where a section may appear: each at most once, in this order.
enum class Section { Start, Header, Classes, Tables, Blocks, Entities, Objects, Other };

// ============================================================================================================
// [SECTION] Reader state, records and failures
// ============================================================================================================

// Habits of other writers that the reader repairs, as CAD programs' audit does, each told once per file.
enum class Repair {
    LoneCr, RecordName, StrayEndsec, HeaderVariable, EmptyReference, EmptyHandle, PointOrder, EllipseRatio, XData,
    AfterEof, InsertZScale, InsertFlat, MTextDirection, LayerColor, HeaderEndsec, EntitiesAgain, SecondRecord, PeriodicSpline, LooseVariables, LinetypeScale, SectionAgain, TableAgain, SecondBlock, Count
};

// The complex entity whose sub-entities (VERTEX, ATTRIB, SEQEND) follow it.
enum class ParentKind { None, Polyline, Insert, OpaquePolyline, OpaqueInsert };

class Reader : public db::RecordResolver {
public:
    Reader(std::string_view text, std::string source) : tok_(text, std::move(source)) {}
    ReadResult run();

    ObjectId record(TableKind kind, std::string_view name) override;

private:
    // Records
    bool readRecord(std::vector<Group>& out);
    template <class Fn>
    void forEachRecordOfSection(std::string_view section, Fn&& fn);

    // Sections
    void readSection(const std::vector<Group>& sectionRecord);
    std::string_view trimmedName(const Group& g);
    void readHeader(const std::vector<Group>& sectionRecord);
    void takeHeaderFacts();
    void readLooseVariables(const std::vector<Group>& endsec);
    void readClasses();
    void readTables();
    void resolveLayerLinetypes();
    void readTable(const std::vector<Group>& tableRecord);
    void readBlocks();
    ObjectId readBlockBegin(const SplitRecord& r);
    void readEntitiesSection();
    void readObjects();
    void skipSection(std::string_view name);

    // Objects of every kind
    ObjectId add(std::unique_ptr<db::DbObject> object, ObjectId owner, const SplitRecord& rec);
    void keepLinks(db::DbObject* object, const SplitRecord& rec);
    void setXData(db::DbObject& object, const SplitRecord& rec);
    void applyXData(db::DbObject& object, std::string_view recordName, const std::vector<Group>& xdata);
    void readColorsAsFound(std::size_t recordLine);
    void readLinetypeScalesAsFound(std::string_view recordName, std::size_t recordLine);
    void note(std::size_t line, std::string what) { notes_.push_back(tok_.message(line, what)); }
    // A habit of another writer the reader repaired: told once per file, at its first line, with how often.
    template <class What>
    void repaired(Repair kind, std::size_t line, What&& what) {
        RepairNote& r = repairs_[std::size_t(kind)];
        if (r.count++ == 0) r = {1, line, what()};
    }
    void noteRepairs();
    bool tryXData(db::DbObject& object, const std::vector<Group>& xdata);
    void told(Repair kind, const std::optional<RecordRepair>& r) {
        if (r) repaired(kind, r->line, [&] { return r->what; });
    }
    void readEntity(const std::vector<Group>& groups, ObjectId block);
    std::unique_ptr<db::Entity> makeEntity(const SplitRecord& rec, bool keepAsRead);
    void applyGroups(db::Entity& e, const SplitRecord& rec);
    ObjectId tableOf(TableKind kind);

    void checkBlockReferences() const;
    void finish();
    template <class T>
    T* mutableObject(ObjectId id);
    [[noreturn]] void failRecord(const SplitRecord& rec, const std::string& what) { failAt(rec.line, std::string(rec.name) + ": " + what); }

    Tokenizer tok_;
    std::unique_ptr<db::Database> db_;
    // What was read other than the file says, for the user: "<source>, line <n>: <what>".
    std::vector<std::string> notes_;
    struct RepairNote {
        std::size_t count = 0;
        std::size_t line = 0;
        std::string what;
    };
    std::array<RepairNote, std::size_t(Repair::Count)> repairs_;
    // Objects that came with a handle an earlier object holds: they get new handles, reported once at the end.
    struct ReusedHandles {
        std::size_t count = 0;
        std::size_t firstLine = 0;
        db::Handle first;
    } reusedHandles_;
    // Objects the reader made itself (tables and records the file names but does not hold), by index.
    std::unordered_set<std::uint32_t> made_;
    // Extended data of the tables and their records is set once the TABLES section is read: it may name
    // applications whose APPID records come later in the section.
    bool deferXData_ = false;
    struct PendingXData {
        db::DbObject* object;
        std::string_view recordName;
        std::vector<Group> xdata;
    };
    std::vector<PendingXData> xdata_;
    // DIMSTYLE records whose references hold names, resolved once every table is read.
    struct PendingNames {
        ObjectId record;
        std::vector<RecordLinks::NamedReference> names;
    };
    std::vector<PendingNames> dimStyleNames_;
    void resolveDimStyleNames();
    HeaderFacts facts_;
    Section lastSection_ = Section::Start;
    bool entitiesRead_ = false;
    bool blocksRead_ = false;
    bool blockAgain_ = false;  // the block being read was defined before
    std::vector<Group> rec_;
    std::vector<Group> pending_;  // a record read ahead, which readRecord answers next
    SplitRecord split_;
    db::ResBufList bufs_;
    std::vector<std::size_t> bufLines_;

    // Records by kind and upper-cased name, and the last one asked for (most entities share a layer).
    std::unordered_map<std::string, ObjectId> recordCache_;
    struct LastLookup {
        std::string name;
        ObjectId id;
    };
    static constexpr std::size_t kTableKinds = 9;  // TableKind::Block ... TableKind::DimStyle
    LastLookup last_[kTableKinds];
    ObjectId layer0_, byLayer_, modelSpace_, paperSpace_;

    // The line of each block definition, for messages about the block.
    std::unordered_map<std::uint32_t, std::size_t> blockLines_;

    // The complex entity being read.
    ParentKind parentKind_ = ParentKind::None;
    ObjectId parent_;

    // Links resolved after the whole file is read.
    struct PendingLinetype { ObjectId layer; std::string name; };
    struct PendingLayout { db::BlockTableRecord* record; db::Handle layout; };
    struct PendingOwner { db::DbObject* object; db::Handle owner; };
    struct PendingHead { db::DbObject* object; RecordHead head; };
    struct PendingDictionary { db::Dictionary* dict; ObjectLinks links; };
    struct PendingGroup { ObjectId group; ObjectLinks links; };
    std::vector<PendingLinetype> linetypes_;
    std::vector<PendingLayout> layouts_;
    std::vector<PendingOwner> owners_;
    std::vector<PendingHead> heads_;
    std::vector<PendingDictionary> dicts_;
    std::vector<PendingGroup> groups_;

    // Handles of records left out for an earlier record of their name, and the record references to them lead to
    // (with its handle as file text, which the groups that named the left-out one take instead).
    struct Alias {
        ObjectId record;
        std::string handle;
    };
    std::unordered_map<std::uint64_t, Alias> aliases_;
    ObjectId byHandle(db::Handle h) const;
    void redirectToKeptRecords(SplitRecord& rec);
};

template <class T>
T* Reader::mutableObject(ObjectId id) {
    // The reader fills in objects it made itself, through the "used by the file reader" attach functions; no one
    // else can see this database until the read is over.
    return const_cast<T*>(dynamic_cast<const T*>(db_->peek(id)));
}

// Reads one record: its 0 group and every group up to the next 0 group. False at a clean end of the text.
bool Reader::readRecord(std::vector<Group>& out) {
    out.clear();
    if (!pending_.empty()) {
        out.swap(pending_);
        pending_.clear();
        return true;
    }
    Group g;
    for (;;) {
        const TokenResult r = tok_.next(g);
        if (r == TokenResult::Error) throw ReadFailure{0, tok_.error()};
        if (r == TokenResult::End) return !out.empty();
        if (g.code == kComment) continue;  // a comment may stand anywhere, also before the first record
        if (g.code == kRecordStart && !out.empty()) {
            tok_.pushBack(g);
            return true;
        }
        if (out.empty() && g.code != kRecordStart)
            failAt(g.line, "expected group 0 (the start of a record), found group " + std::to_string(g.code));
        if (out.empty()) {
            // A name with spaces around it ("SECTION ") names the record without them.
            const std::string_view name = trimSpaces(g.text);
            if (name.size() != g.text.size() && !name.empty())
                repaired(Repair::RecordName, g.line, [&] {
                    return "the record name \"" + std::string(g.text.substr(0, 40)) + "\" has spaces around it; read as " +
                           std::string(name.substr(0, 40));
                });
            g.text = name;
            if (g.text.empty()) failAt(g.line, "a record without a name (group 0 is empty)");
        }
        // An empty reference (LibreCAD leaves DIMSTYLE's 341 empty) refers to nothing: it is left out. An empty
        // own handle (group 5) is left to splitRecord, which knows the record's handle code.
        if (g.code != 5 && isEmptyHandle(g)) {
            repaired(Repair::EmptyReference, g.line, [&] {
                return std::string(out.front().text.substr(0, 40)) + ": group " + std::to_string(g.code) +
                       " holds no handle (its value is empty); it is left out";
            });
            continue;
        }
        if (out.size() >= limits::kMaxRecordGroups)
            failAt(out.front().line, "record " + std::string(out.front().text) + " has more than " +
                                         std::to_string(limits::kMaxRecordGroups) + " groups");
        out.push_back(g);
        // Nothing after EOF is read: some writers end the file with a Ctrl-Z, a NUL or other bytes.
        if (out.size() == 1 && g.text == "EOF") return true;
    }
}

// Calls fn for each record of a section up to its ENDSEC.
template <class Fn>
void Reader::forEachRecordOfSection(std::string_view section, Fn&& fn) {
    for (;;) {
        if (!readRecord(rec_))
            failAt(tok_.line(), "the file ends inside the " + std::string(section) + " section (is it truncated?)");
        const std::string_view name = rec_.front().text;
        if (name == "ENDSEC") {
            if (rec_.size() > 1 && rec_[1].code == kVariableName) readLooseVariables(rec_);
            return;
        }
        if (name == "EOF" || name == "SECTION")
            failAt(rec_.front().line, std::string(name) + " inside the " + std::string(section) + " section (ENDSEC missing)");
        fn(rec_);
    }
}

ObjectId Reader::add(std::unique_ptr<db::DbObject> object, ObjectId owner, const SplitRecord& rec) {
    db::DbObject* raw = object.get();
    if (rec.emptyHandleLine != 0)
        repaired(Repair::EmptyHandle, rec.emptyHandleLine, [&] {
            return std::string(rec.name.substr(0, 40)) + ": its handle (group 5) is empty; it got a new one";
        });
    ObjectId id;
    db::Handle h = rec.head.handle.value_or(db::Handle());
    if (const ObjectId holder = h.isNull() ? ObjectId() : db_->idFromHandle(h); !holder.isNull()) {
        if (made_.count(holder.index())) {
            // A record the reader made for a name: it steps aside, the handle is the file's.
            const db::Status moved = db_->moveToNextHandle(holder);
            if (moved != db::Status::Ok) failRecord(rec, std::string("cannot be added (") + db::statusText(moved) + ")");
        } else {
            // A handle an earlier object of the file holds: the later object gets a new one, as CAD programs'
            // audit repairs it, and references by handle keep leading to the earlier object.
            if (reusedHandles_.count++ == 0) reusedHandles_ = {1, rec.line, h};
            h = db::Handle();
        }
    }
    const db::Status s = db_->addObject(std::move(object), owner, &id, h);
    if (s != db::Status::Ok) failRecord(rec, std::string("cannot be added (") + db::statusText(s) + ")");
    keepLinks(raw, rec);
    return id;
}

// Reactors and the extension dictionary name objects that may come later in the file.
void Reader::keepLinks(db::DbObject* object, const SplitRecord& rec) {
    if (!rec.head.reactors.empty() || rec.head.extensionDictionary) heads_.push_back({object, rec.head});
}

// Extended data is checked against the registered applications of the object's database, or of the working
// database for an object not yet in one: the drawing being read is made the working database for that check.
void Reader::setXData(db::DbObject& object, const SplitRecord& rec) {
    if (rec.xdata.empty()) return;
    if (deferXData_) xdata_.push_back({&object, rec.name, rec.xdata});
    else applyXData(object, rec.name, rec.xdata);
}

// Sets the extended data of `xdata` (one or more applications); false, with the object's data unchanged, when
// the data is malformed or refused.
bool Reader::tryXData(db::DbObject& object, const std::vector<Group>& xdata) {
    try {
        toResBufs(xdata, facts_.encoding, false, bufs_);
    } catch (const ReadFailure&) {
        return false;
    }
    for (const db::ResBuf& rb : bufs_)
        if (rb.code == 1001) record(TableKind::RegApp, rb.str());
    db::Database* previous = db::workingDatabase();
    db::setWorkingDatabase(db_.get());
    const db::Status s = object.setXData(bufs_);
    db::setWorkingDatabase(previous);
    return s == db::Status::Ok;
}

// The parts of a point a writer put down without the rest of it (an R12 writer gives a 1021 without its 1011):
// each left out.
std::vector<Group> withoutStrayPointParts(const std::vector<Group>& xdata) {
    std::vector<Group> kept;
    kept.reserve(xdata.size());
    const std::size_t n = xdata.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int c = xdata[i].code;
        if (db::isPointGroup(c) && c >= 1010) {
            if (i + 1 >= n || xdata[i + 1].code != c + 10) continue;  // an x without its y
            kept.push_back(xdata[i]);
            kept.push_back(xdata[++i]);
            if (i + 1 < n && xdata[i + 1].code == c + 20) kept.push_back(xdata[++i]);
            continue;
        }
        if (db::isPointGroup(c - 10) || db::isPointGroup(c - 20)) continue;  // a y or z without its x
        kept.push_back(xdata[i]);
    }
    return kept;
}

// Extended data an application cannot take is repaired as CAD programs' audit does: a point's stray parts are
// left out, and an application whose data is still refused loses that data; the rest of the object's data, and
// the drawing, are kept.
void Reader::applyXData(db::DbObject& object, std::string_view recordName, const std::vector<Group>& xdata) {
    if (tryXData(object, xdata)) return;
    std::size_t start = 0;
    while (start < xdata.size()) {
        std::size_t end = start + 1;
        while (end < xdata.size() && xdata[end].code != 1001) ++end;
        const std::vector<Group> app(xdata.begin() + std::ptrdiff_t(start), xdata.begin() + std::ptrdiff_t(end));
        const std::string name(app.front().text.substr(0, 40));
        if (!tryXData(object, app)) {
            const std::vector<Group> kept = withoutStrayPointParts(app);
            if (kept.size() != app.size() && tryXData(object, kept)) {
                repaired(Repair::XData, app.front().line, [&] {
                    return std::string(recordName) + ": extended data of \"" + name +
                           "\" holds part of a point without the rest of it (a y or z without its x, or an x "
                           "without its y); that part is left out";
                });
            } else {
                repaired(Repair::XData, app.front().line, [&] {
                    return std::string(recordName) + ": extended data of \"" + name +
                           "\" is malformed; that application's data is left out";
                });
            }
        }
        start = end;
    }
}

// The object a handle of the file names: a record left out for an earlier one of its name stands for that one.
ObjectId Reader::byHandle(db::Handle h) const {
    if (h.isNull()) return {};
    if (const auto a = aliases_.find(h.value); a != aliases_.end()) return a->second.record;
    return db_->idFromHandle(h);
}

// References by handle to a record left out for an earlier one of its name lead to that one.
void Reader::redirectToKeptRecords(SplitRecord& rec) {
    if (aliases_.empty()) return;
    for (std::vector<Group>* groups : {&rec.body, &rec.appGroups, &rec.xdata})
        for (Group& g : *groups) {
            if (g.kind != GroupKind::Handle || g.code == 5) continue;
            const auto a = aliases_.find(std::uint64_t(g.integer));
            if (a == aliases_.end()) continue;
            g.text = a->second.handle;
            g.integer = std::int64_t(a->second.record.handle().value);
        }
}

// ============================================================================================================
// [SECTION] Records of the tables, made on demand (RecordResolver)
// ============================================================================================================

ObjectId Reader::tableOf(TableKind kind) {
    ObjectId t = db_->tableId(kind);
    if (!t.isNull()) return t;
    db_->addObject(std::make_unique<db::SymbolTable>(kind), {}, &t);
    db_->setTableId(kind, t);
    made_.insert(t.index());
    return t;
}

// Files name records their tables do not hold (R12 files leave out BYLAYER, and many writers leave out layers):
// such records are made, as CAD programs do, so that every name in the file keeps its meaning. An empty name
// names nothing (a record without a name could not be told from another).
ObjectId Reader::record(TableKind kind, std::string_view name) {
    if (name.empty()) return {};
    LastLookup& last = last_[int(kind)];
    if (!last.id.isNull() && last.name == name) return last.id;
    std::string canonical(name);
    if (kind == TableKind::Block) {
        if (sys::equalsNoCase(name, "$MODEL_SPACE")) canonical = kModelSpace;
        else if (sys::equalsNoCase(name, "$PAPER_SPACE")) canonical = kPaperSpace;
    } else if (kind == TableKind::Linetype) {
        if (sys::equalsNoCase(name, "BYLAYER")) canonical = "ByLayer";
        else if (sys::equalsNoCase(name, "BYBLOCK")) canonical = "ByBlock";
    }
    std::string key = std::to_string(int(kind)) + ':' + sys::upperCase(canonical);
    auto it = recordCache_.find(key);
    ObjectId id;
    if (it != recordCache_.end()) {
        id = it->second;
    } else {
        auto* table = mutableObject<db::SymbolTable>(tableOf(kind));
        std::unique_ptr<db::SymbolTableRecord> rec;
        switch (kind) {
        case TableKind::Layer: {
            auto layer = std::make_unique<db::LayerTableRecord>(canonical);
            layer->setLinetypeId(record(TableKind::Linetype, "Continuous"));
            rec = std::move(layer);
            break;
        }
        case TableKind::Linetype: rec = std::make_unique<db::LinetypeTableRecord>(canonical); break;
        case TableKind::TextStyle: rec = std::make_unique<db::TextStyleTableRecord>(canonical); break;
        case TableKind::Block: rec = std::make_unique<db::BlockTableRecord>(canonical); break;
        case TableKind::RegApp: rec = std::make_unique<db::RegAppTableRecord>(canonical); break;
        default: return {};
        }
        db_->addObject(std::move(rec), table->objectId(), &id);
        table->attachRecord(id);
        made_.insert(id.index());
        recordCache_.emplace(std::move(key), id);
    }
    last = {std::string(name), id};
    return id;
}

// ============================================================================================================
// [SECTION] HEADER and CLASSES
// ============================================================================================================

void Reader::readHeader(const std::vector<Group>& section) {
    std::vector<HeaderVariable> vars;
    auto take = [&](const std::vector<Group>& groups, std::size_t from) {
        for (std::size_t i = from; i < groups.size(); ++i) {
            const Group& g = groups[i];
            if (g.code == kVariableName) {
                vars.push_back({g.text, g.line, {}});
                continue;
            }
            if (vars.empty()) failAt(g.line, "header value (group " + std::to_string(g.code) + ") without a $NAME (group 9)");
            vars.back().groups.push_back(g);
        }
    };
    take(section, 2);
    // The section's variables hold no 0 group, so the ENDSEC that ends them is the next record. One followed by
    // more variables is a stray end inside the section (an old writer's): skipped, and the variables after it
    // read to the section's real end. Left there, they were dropped unsaid ($INSUNITS among them).
    // When no second ENDSEC follows them, the variables were after the section's end: read all the same, and the
    // record after them is read as the next.
    for (bool afterEnd = false;; afterEnd = true) {
        if (!readRecord(rec_)) failAt(tok_.line(), "the file ends inside the HEADER section (is it truncated?)");
        if (rec_.front().text != "ENDSEC") {
            if (!afterEnd)
                failAt(rec_.front().line, "expected ENDSEC of the HEADER section, found " + std::string(rec_.front().text));
            pending_ = std::move(rec_);
            break;
        }
        if (rec_.size() < 2 || rec_[1].code != kVariableName) break;
        repaired(Repair::HeaderEndsec, rec_.front().line, [] {
            return std::string("ENDSEC inside the HEADER section, with header variables after it; it is skipped and "
                               "the variables read");
        });
        take(rec_, 1);
    }
    facts_ = readHeaderVariables(vars, db_->header());
    takeHeaderFacts();
    if (!facts_.encoding.isKnown()) {
        for (const HeaderVariable& v : vars)
            if (v.name == "$DWGCODEPAGE")
                note(v.line, "code page \"" + facts_.codePage.substr(0, 40) + "\" is not known: text outside ASCII is "
                             "read as ANSI_1252");
    }
}

void Reader::takeHeaderFacts() {
    for (const HeaderFacts::Skipped& v : facts_.skipped)
        repaired(Repair::HeaderVariable, v.line, [&] { return v.what + "; the variable is skipped"; });
    if (facts_.handSeed) db_->raiseHandSeed(*facts_.handSeed);
}

// Header variables after the ENDSEC of a section other than the HEADER (an old program's file has them between
// two ENTITIES sections): more of the header, read as such. Passed over, they were dropped unsaid.
void Reader::readLooseVariables(const std::vector<Group>& endsec) {
    std::vector<HeaderVariable> vars;
    for (std::size_t i = 1; i < endsec.size(); ++i) {
        const Group& g = endsec[i];
        if (g.code == kVariableName) vars.push_back({g.text, g.line, {}});
        else if (!vars.empty()) vars.back().groups.push_back(g);
    }
    repaired(Repair::LooseVariables, endsec.front().line, [] {
        return std::string("header variables after ENDSEC, outside the HEADER section; read as the header's");
    });
    facts_ = readHeaderVariables(vars, db_->header(), &facts_);
    takeHeaderFacts();
}

void Reader::readClasses() {
    forEachRecordOfSection("CLASSES", [&](const std::vector<Group>& rec) {
        if (rec.front().text != "CLASS") failAt(rec.front().line, "expected CLASS, found " + std::string(rec.front().text));
        db::RawGroups groups;
        for (std::size_t i = 1; i < rec.size(); ++i) groups.push_back(toRawGroup(rec[i], facts_.encoding));
        db_->header().classes.push_back(std::move(groups));
    });
}

// ============================================================================================================
// [SECTION] TABLES
// ============================================================================================================

void Reader::readTables() {
    // Extended data on a table or record may come before the APPID table that registers its application (as
    // AutoCAD writes it): registering the name then would make that table early and refuse the file's own.
    deferXData_ = true;
    forEachRecordOfSection("TABLES", [&](const std::vector<Group>& rec) {
        if (rec.front().text != "TABLE") failAt(rec.front().line, "expected TABLE, found " + std::string(rec.front().text));
        readTable(rec);
    });
    deferXData_ = false;
    for (const PendingXData& p : xdata_) {
        db::ObjectPtr<db::DbObject> object(p.object->objectId(), db::OpenMode::Write);
        if (!object) failAt(p.xdata.front().line, std::string(p.recordName) + ": cannot be opened (" +
                                                     db::statusText(object.status()) + ")");
        applyXData(*object, p.recordName, p.xdata);
    }
    xdata_.clear();
    resolveDimStyleNames();
    // A layer's line type may be in a table that came after the layers, or in a later TABLES section.
    if (!db_->tableId(TableKind::Linetype).isNull()) resolveLayerLinetypes();
}

void Reader::resolveLayerLinetypes() {
    for (PendingLinetype& p : linetypes_) {
        const ObjectId lt = record(TableKind::Linetype, p.name);
        db::ObjectPtr<db::LayerTableRecord> layer(p.layer, db::OpenMode::Write);
        if (layer) layer->setLinetypeId(lt);
    }
    linetypes_.clear();
}

void Reader::readTable(const std::vector<Group>& tableRecord) {
    SplitRecord head;
    splitRecord(tableRecord, 5, head);
    std::string_view name;
    for (const Group& g : head.body)
        if (g.code == kName) name = trimmedName(g);
    const auto kind = tableKindOf(name);
    if (!kind) {
        // A table the format does not define: its records are passed over.
        for (;;) {
            if (!readRecord(rec_)) failAt(tok_.line(), "the file ends inside the TABLES section (is it truncated?)");
            if (rec_.front().text == "ENDTAB") return;
            if (rec_.front().text == "ENDSEC" || rec_.front().text == "EOF")
                failAt(rec_.front().line, "table " + std::string(name) + " has no ENDTAB");
        }
    }
    ObjectId tableId = db_->tableId(*kind);
    db::SymbolTable* tablePtr = nullptr;
    if (!tableId.isNull()) {
        // A second table of a kind (in a repeated TABLES section): its records join the first's, and references
        // to its handle lead to the first.
        repaired(Repair::TableAgain, head.line, [&] {
            return "a second " + std::string(name) + " table; its records join the first's";
        });
        tablePtr = mutableObject<db::SymbolTable>(tableId);
        const std::optional<db::Handle> h = head.head.handle;
        if (h && !h->isNull() && db_->idFromHandle(*h).isNull())
            aliases_.try_emplace(h->value, Alias{tableId, tableId.handle().text()});
    } else {
        auto table = std::make_unique<db::SymbolTable>(*kind);
        tablePtr = table.get();
        setXData(*table, head);
        tableId = add(std::move(table), {}, head);
        db_->setTableId(*kind, tableId);
    }

    const int handleCode = recordHandleCode(*kind);
    for (;;) {
        if (!readRecord(rec_)) failAt(tok_.line(), "the file ends inside the " + std::string(name) + " table (is it truncated?)");
        const std::string_view recName = rec_.front().text;
        if (recName == "ENDTAB") return;
        if (recName != name)
            failAt(rec_.front().line, "expected a " + std::string(name) + " record or ENDTAB, found " + std::string(recName));
        splitRecord(rec_, handleCode, split_);
        redirectToKeptRecords(split_);
        if (*kind == TableKind::Layer) told(Repair::LayerColor, repairLayerColor(split_, facts_.encoding));
        RecordLinks links;
        std::unique_ptr<db::SymbolTableRecord> r = readTableRecord(*kind, split_, facts_.encoding, links);
        if (!r->name().empty()) {
            std::string key = std::to_string(int(*kind)) + ':' + sys::upperCase(r->name());
            // A saved viewport configuration is several VPORT records of one name ("*Active" for each viewport).
            // Any other second record of a name (an R2000 file holds two layers "0") is left out, as CAD programs'
            // audit does: names lead to the first, and so do references to the second's handle.
            if (const auto first = recordCache_.find(key); first != recordCache_.end() && *kind != TableKind::Viewport) {
                repaired(Repair::SecondRecord, split_.line, [&] {
                    return std::string(name) + ": a second record named \"" + r->name().substr(0, 40) +
                           "\"; the first is kept, and references to the second lead to it";
                });
                const std::optional<db::Handle> h = split_.head.handle;
                if (h && !h->isNull() && db_->idFromHandle(*h).isNull())
                    aliases_.try_emplace(h->value, Alias{first->second, first->second.handle().text()});
                continue;
            }
        }
        // A layer that names no line type draws with "Continuous", as the format's default. Left without one,
        // the writer wrote "Continuous" while the drawing's record was "CONTINUOUS", and the next read took the
        // record's own spelling, so a second save differed from the first.
        if (*kind == TableKind::Layer && links.linetypeName.empty()) links.linetypeName = "Continuous";
        if (!links.linetypeName.empty()) {
            // Set now when the line type is known, else once the tables are read.
            auto* layer = static_cast<db::LayerTableRecord*>(r.get());
            const ObjectId lt = db_->tableId(TableKind::Linetype).isNull()
                                    ? ObjectId()
                                    : record(TableKind::Linetype, links.linetypeName);
            if (!lt.isNull()) layer->setLinetypeId(lt);
        }
        setXData(*r, split_);
        db::SymbolTableRecord* raw = r.get();
        const ObjectId id = add(std::move(r), tableId, split_);
        tablePtr->attachRecord(id);
        if (!raw->name().empty()) recordCache_.emplace(std::to_string(int(*kind)) + ':' + sys::upperCase(raw->name()), id);
        if (links.layout) layouts_.push_back({static_cast<db::BlockTableRecord*>(raw), *links.layout});
        if (!links.names.empty()) dimStyleNames_.push_back({id, std::move(links.names)});
        if (!links.linetypeName.empty() && static_cast<db::LayerTableRecord*>(raw)->linetypeId().isNull())
            linetypes_.push_back({id, links.linetypeName});
    }
}

// A DIMSTYLE reference that holds a record's name where its handle belongs (LibreCAD writes the text style's name
// in 340) takes the handle of the record of that name; a name the drawing does not hold drops the reference,
// with a note. Refusing the file for it lost the whole drawing over a dimension setting.
void Reader::resolveDimStyleNames() {
    for (const PendingNames& p : dimStyleNames_) {
        db::ObjectPtr<db::OpaqueTableRecord> rec(p.record, db::OpenMode::Write);
        if (!rec) continue;
        db::RawGroups groups = rec->groups();
        std::vector<bool> drop(groups.size(), false);
        for (const RecordLinks::NamedReference& n : p.names) {
            const TableKind kind = *tableOfDimStyleReference(n.code);
            const ObjectId target = db_->recordId(kind, n.name);
            if (!target.isNull()) {
                groups[n.group].value = target.handle().text();
            } else {
                drop[n.group] = true;
                note(n.line, "DIMSTYLE \"" + rec->name() + "\": group " + std::to_string(n.code) + " names \"" +
                                 n.name.substr(0, 40) + "\", which is no " + tableName(kind) +
                                 " record of the drawing; the reference is dropped");
            }
        }
        db::RawGroups kept;
        for (std::size_t i = 0; i < groups.size(); ++i)
            if (!drop[i]) kept.push_back(std::move(groups[i]));
        rec->setGroups(std::move(kept));
    }
    dimStyleNames_.clear();
}

// ============================================================================================================
// [SECTION] Entities (BLOCKS and ENTITIES)
// ============================================================================================================

// The entity a record describes: a modelled kind, or (always with `keepAsRead`) an OpaqueEntity holding the
// groups after the common ones of its AcDbEntity part, which it holds itself.
// Which groups of an entity's body are its common ones: those of the AcDbEntity part, and those that follow the
// kind's subclass markers before any of its own data (some writers put layer and colour there). Deeper in the
// record the codes may be the kind's own data (a table's cell colours).
std::vector<bool> commonGroupsOf(const std::vector<Group>& body) {
    std::vector<bool> common(body.size(), false);
    bool entityPart = true, leadingRun = true;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const Group& g = body[i];
        if (g.code == kSubclass) {
            if (g.text != kEntityMarker) entityPart = false;
            continue;
        }
        const bool isCommon = db::isCommonEntityGroup(g.code);
        if (!entityPart && !isCommon) leadingRun = false;
        common[i] = isCommon && (entityPart || leadingRun);
    }
    return common;
}

// The entity a record describes: a modelled kind, or (always with `keepAsRead`) an OpaqueEntity holding the
// groups after its common ones (commonGroupsOf), which it holds itself.
std::unique_ptr<db::Entity> Reader::makeEntity(const SplitRecord& rec, bool keepAsRead) {
    if (!keepAsRead) {
        db::ResBufList flags;
        if (rec.name == "POLYLINE")
            for (const Group& g : rec.body)
                if (g.code == kFlags) {
                    flags.emplace_back(kFlags, g.integer);
                    break;
                }
        if (std::unique_ptr<db::Entity> e = db::newEntityForDxf(rec.name, flags)) return e;
    }
    db::RawGroups raw;
    raw.reserve(rec.appGroups.size() + rec.body.size() + 2);
    for (const Group& g : rec.appGroups) raw.push_back(toRawGroup(g, facts_.encoding));
    const std::vector<bool> common = commonGroupsOf(rec.body);
    // A block reference kept as read from an R12 file (one that draws nothing, with its attributes) has no
    // subclass markers, and is written to an R2000 file: it gets the markers that say which groups are whose, or
    // readers take an attribute's value (group 1) for nothing.
    const bool marked = std::any_of(rec.body.begin(), rec.body.end(), [](const Group& g) {
        return g.code == kSubclass && g.text != kEntityMarker;
    });
    auto marker = [&](std::string_view name) {
        Group g;
        g.code = kSubclass;
        g.text = name;
        g.line = rec.line;
        raw.push_back(toRawGroup(g, facts_.encoding));
    };
    const bool attribute = !marked && rec.name == "ATTRIB";
    auto attributeOwn = [](int code) { return code == 2 || code == 70 || code == 73 || code == 74 || code == 280; };
    if (!marked && rec.name == "INSERT") {
        bool array = false;
        for (const Group& g : rec.body) array = array || ((g.code == 70 || g.code == 71) && g.integer > 1);
        marker(array ? "AcDbMInsertBlock" : "AcDbBlockReference");
    }
    if (attribute) marker("AcDbText");
    for (std::size_t i = 0; i < rec.body.size(); ++i) {
        const Group& g = rec.body[i];
        if (common[i] || (g.code == kSubclass && g.text == kEntityMarker)) continue;
        if (attribute && attributeOwn(g.code)) continue;
        raw.push_back(toRawGroup(g, facts_.encoding));
    }
    if (attribute) {
        marker("AcDbAttribute");
        for (std::size_t i = 0; i < rec.body.size(); ++i)
            if (!common[i] && attributeOwn(rec.body[i].code)) raw.push_back(toRawGroup(rec.body[i], facts_.encoding));
    }
    return std::make_unique<db::OpaqueEntity>(std::string(rec.name), std::move(raw));
}

// An entity colour outside 0..256 (old files hold them; 257 says a true colour follows) is read as BYLAYER, with
// a note: refusing the file for it would lose the drawing over a colour.
void Reader::readColorsAsFound(std::size_t recordLine) {
    bool trueColor = false;
    for (const db::ResBuf& rb : bufs_) trueColor = trueColor || rb.code == kTrueColor;
    for (std::size_t i = 0; i < bufs_.size(); ++i) {
        db::ResBuf& rb = bufs_[i];
        if (rb.code != kColor) continue;
        const auto* v = std::get_if<std::int64_t>(&rb.value);
        if (!v) continue;
        const std::int64_t index = *v < 0 ? -*v : *v;
        if (index <= kColorByLayer || (index == kColorByEntity && trueColor)) continue;
        note(i < bufLines_.size() ? bufLines_[i] : recordLine,
             std::to_string(*v) + " is not a colour (group 62); read as BYLAYER");
        rb.value = std::int64_t(kColorByLayer);
    }
}

// An entity's line-type scale is above 0. Drawings saved while the header held a current scale of -1 gave it to
// the entities made then, and did not open again: such a scale is read as 1.
void Reader::readLinetypeScalesAsFound(std::string_view recordName, std::size_t recordLine) {
    constexpr int kLinetypeScale = 48;
    for (std::size_t i = 0; i < bufs_.size(); ++i) {
        db::ResBuf& rb = bufs_[i];
        const auto* v = rb.code == kLinetypeScale ? std::get_if<double>(&rb.value) : nullptr;
        if (!v || *v > 0.0) continue;
        repaired(Repair::LinetypeScale, i < bufLines_.size() ? bufLines_[i] : recordLine, [&] {
            char value[32];
            std::snprintf(value, sizeof value, "%g", *v);
            return std::string(recordName.substr(0, 40)) + ": line-type scale (group 48) " + value +
                   " is not above 0; read as 1";
        });
        rb.value = 1.0;
    }
}

void Reader::applyGroups(db::Entity& e, const SplitRecord& rec) {
    // Layer "0" and line type ByLayer unless the groups say otherwise.
    e.setLayer(layer0_);
    e.setLinetype(byLayer_);
    bufLines_.clear();
    if (dynamic_cast<db::OpaqueEntity*>(&e)) {
        // Only the common groups: the rest is the entity's kept groups.
        std::vector<Group> common;
        const std::vector<bool> isCommon = commonGroupsOf(rec.body);
        for (std::size_t i = 0; i < rec.body.size(); ++i)
            if (isCommon[i]) common.push_back(rec.body[i]);
        toResBufs(common, facts_.encoding, true, bufs_);
        for (const Group& g : common) bufLines_.push_back(g.line);
    } else {
        try {
            toResBufs(rec.body, facts_.encoding, true, bufs_);
        } catch (ReadFailure& f) {
            f.what = std::string(rec.name) + ": " + f.what;
            throw;
        }
        // The line of each converted group: a point's group stands for its x line.
        for (std::size_t i = 0; i < rec.body.size(); ++i) {
            bufLines_.push_back(rec.body[i].line);
            const int c = rec.body[i].code;
            if (db::isPointGroup(c)) {
                if (i + 1 < rec.body.size() && rec.body[i + 1].code == c + 10) ++i;
                if (i + 1 < rec.body.size() && rec.body[i + 1].code == c + 20) ++i;
            }
        }
    }
    readColorsAsFound(rec.line);
    readLinetypeScalesAsFound(rec.name, rec.line);
    db::GroupError err;
    const db::Status s = db::applyEntityGroups(e, bufs_, *this, &err);
    if (s != db::Status::Ok) {
        const std::size_t line = err.index < bufLines_.size() ? bufLines_[err.index] : rec.line;
        failAt(line, std::string(rec.name) + ": " + err.what);
    }
}

void Reader::readEntity(const std::vector<Group>& groups, ObjectId block) {
    splitRecord(groups, 5, split_);
    redirectToKeptRecords(split_);
    SplitRecord& rec = split_;
    const std::string_view name = rec.name;
    if (name == "BLOCK" || name == "ENDBLK") failRecord(rec, "outside the BLOCKS section, or a block inside a block");

    const bool isVertex = name == "VERTEX", isAttrib = name == "ATTRIB", isSeqEnd = name == "SEQEND";
    if (!isVertex && !isAttrib && !isSeqEnd) parentKind_ = ParentKind::None;  // a file that left out SEQEND
    if (isVertex && parentKind_ != ParentKind::Polyline && parentKind_ != ParentKind::OpaquePolyline)
        failRecord(rec, "a vertex without its POLYLINE");
    if (isAttrib && parentKind_ != ParentKind::Insert && parentKind_ != ParentKind::OpaqueInsert)
        failRecord(rec, "an attribute without its INSERT");
    if (isSeqEnd && parentKind_ == ParentKind::None) failRecord(rec, "an end of sequence without its POLYLINE or INSERT");

    // The vertices of a mesh stay as read, beside their polyline in the block; so do the attributes of a block
    // reference that draws nothing.
    const bool opaqueChild = parentKind_ == ParentKind::OpaquePolyline || parentKind_ == ParentKind::OpaqueInsert;
    bool flatInsert = false;
    if (name == "INSERT") {
        const std::optional<RecordRepair> nothing = insertDrawingNothing(rec);
        flatInsert = nothing.has_value();
        told(Repair::InsertFlat, nothing);
        if (!flatInsert) told(Repair::InsertZScale, repairInsertZScale(rec));
    }
    std::unique_ptr<db::Entity> e = makeEntity(rec, opaqueChild || flatInsert);
    if (!dynamic_cast<db::OpaqueEntity*>(e.get())) {
        if (const std::size_t line = pairPointGroups(rec.body))
            repaired(Repair::PointOrder, line, [&] {
                return std::string(name) + ": the x, y and z of its points stand apart (10, 11, 20, 21); paired by "
                                           "their group codes";
            });
        if (name == "ELLIPSE") told(Repair::EllipseRatio, repairEllipseRatio(rec));
        else if (name == "MTEXT") told(Repair::MTextDirection, repairMTextDirection(rec));
        else if (name == "SPLINE") told(Repair::PeriodicSpline, repairPeriodicSpline(rec));
    }
    if (auto* vertex = dynamic_cast<db::PolylineVertex*>(e.get()); vertex && parentKind_ == ParentKind::Polyline)
        vertex->setIs3d(dynamic_cast<const db::Polyline3d*>(db_->peek(parent_)) != nullptr);
    applyGroups(*e, rec);
    setXData(*e, rec);
    db::Entity* raw = e.get();

    // Where the entity goes: its complex entity, its block, or (in the ENTITIES section) model or paper space.
    const bool child = (isVertex || isAttrib || isSeqEnd) && !opaqueChild;
    ObjectId owner = child ? parent_ : block;
    if (!child && block.isNull()) owner = raw->inPaperSpace() ? paperSpace_ : modelSpace_;
    const ObjectId id = add(std::move(e), owner, rec);
    if (child) {
        if (isVertex) mutableObject<db::PolylineWithVertices>(parent_)->attachVertex(id);
        else if (isAttrib) mutableObject<db::BlockReference>(parent_)->attachAttribute(id);
        else {
            if (parentKind_ == ParentKind::Polyline) mutableObject<db::PolylineWithVertices>(parent_)->attachSequenceEnd(id);
            else mutableObject<db::BlockReference>(parent_)->attachSequenceEnd(id);
        }
    } else {
        mutableObject<db::BlockTableRecord>(owner)->attachEntity(id);
    }
    if (isSeqEnd) {
        parentKind_ = ParentKind::None;
        return;
    }
    if (child) return;
    if (name == "POLYLINE") {
        parentKind_ = dynamic_cast<db::PolylineWithVertices*>(raw) ? ParentKind::Polyline : ParentKind::OpaquePolyline;
        parent_ = id;
    } else if (flatInsert) {
        parentKind_ = ParentKind::OpaqueInsert;
        parent_ = id;
    } else if (auto* ref = dynamic_cast<db::BlockReference*>(raw)) {
        if (ref->blockTableRecord().isNull()) failRecord(rec, "no block name (group 2)");
        parentKind_ = ParentKind::Insert;
        parent_ = id;
    }
}

// BLOCK: the block record it opens (made when the tables lack it, as R12 files do), its marker, and the record's
// base point, flags, external reference path and description, which the file keeps here.
ObjectId Reader::readBlockBegin(const SplitRecord& r) {
    ge::Point3d base;
    int flags = 0;
    std::string name, xref, description;
    for (const Group& g : r.body) {
        switch (g.code) {
        case kName: name = textOf(g, facts_.encoding); break;
        case kFlags: flags = int(g.integer); break;
        case 10: base.x = g.real; break;
        case 20: base.y = g.real; break;
        case 30: base.z = g.real; break;
        case 1: xref = textOf(g, facts_.encoding); break;
        case 4: description = textOf(g, facts_.encoding); break;
        default: break;
        }
    }
    const ObjectId block = record(TableKind::Block, name);
    if (block.isNull()) failRecord(r, "no block name (group 2)");
    // A second definition of a name (two records of one name made one, or a BLOCKS section repeated): its
    // entities join the first's, whose base point and flags are kept, so nothing the file holds is lost.
    blockAgain_ = false;
    if (const auto* defined = mutableObject<db::BlockTableRecord>(block); defined && !defined->blockBegin().isNull()) {
        repaired(Repair::SecondBlock, r.line, [&] {
            return "BLOCK: a second definition of block \"" + name.substr(0, 40) + "\"; its entities join the first's";
        });
        blockAgain_ = true;
        return block;
    }
    auto begin = std::make_unique<db::BlockBegin>();
    applyGroups(*begin, r);
    setXData(*begin, r);
    const ObjectId beginId = add(std::move(begin), block, r);
    blockLines_.emplace(block.index(), r.line);
    db::ObjectPtr<db::BlockTableRecord> blockRecord(block, db::OpenMode::Write);
    if (!blockRecord) failRecord(r, std::string("block record cannot be opened (") + db::statusText(blockRecord.status()) + ")");
    if (!blockRecord->blockBegin().isNull()) failRecord(r, "a second definition of block \"" + name + "\"");
    blockRecord->attachBlockBegin(beginId);
    const db::Status set[] = {blockRecord->setOrigin(base), blockRecord->setFlags(flags), blockRecord->setXrefPath(xref),
                              blockRecord->setDescription(description)};
    for (db::Status st : set)
        if (st != db::Status::Ok) failRecord(r, "block \"" + name + "\" is refused (" + db::statusText(st) + ")");
    return block;
}

void Reader::readBlocks() {
    ObjectId block;  // the block being read, between BLOCK and ENDBLK
    forEachRecordOfSection("BLOCKS", [&](const std::vector<Group>& rec) {
        const std::string_view name = rec.front().text;
        if (name == "BLOCK") {
            if (!block.isNull()) failAt(rec.front().line, "block \"" + db_->recordName(block) + "\" has no ENDBLK");
            splitRecord(rec, 5, split_);
            block = readBlockBegin(split_);
            parentKind_ = ParentKind::None;
            return;
        }
        if (block.isNull()) failAt(rec.front().line, std::string(name) + " outside a BLOCK ... ENDBLK definition");
        if (name == "ENDBLK" && blockAgain_) {
            block = {};
            parentKind_ = ParentKind::None;
            return;
        }
        if (name == "ENDBLK") {
            splitRecord(rec, 5, split_);
            auto end = std::make_unique<db::BlockEnd>();
            applyGroups(*end, split_);
            setXData(*end, split_);
            const ObjectId endId = add(std::move(end), block, split_);
            mutableObject<db::BlockTableRecord>(block)->attachBlockEnd(endId);
            block = {};
            parentKind_ = ParentKind::None;
            return;
        }
        readEntity(rec, block);
    });
    if (!block.isNull()) failAt(tok_.line(), "block \"" + db_->recordName(block) + "\" has no ENDBLK");
}

void Reader::readEntitiesSection() {
    parentKind_ = ParentKind::None;
    forEachRecordOfSection("ENTITIES", [&](const std::vector<Group>& rec) { readEntity(rec, {}); });
}

// ============================================================================================================
// [SECTION] OBJECTS
// ============================================================================================================

void Reader::readObjects() {
    bool first = true;
    forEachRecordOfSection("OBJECTS", [&](const std::vector<Group>& rec) {
        splitRecord(rec, 5, split_);
        redirectToKeptRecords(split_);
        ObjectLinks links;
        std::unique_ptr<db::DbObject> obj = readObject(split_, facts_.encoding, links);
        db::DbObject* raw = obj.get();
        setXData(*obj, split_);
        // The owner, when it has been read already; else once the file is read.
        ObjectId owner;
        if (split_.head.owner && !split_.head.owner->isNull()) owner = byHandle(*split_.head.owner);
        const ObjectId id = add(std::move(obj), owner, split_);
        if (owner.isNull() && split_.head.owner && !split_.head.owner->isNull()) owners_.push_back({raw, *split_.head.owner});
        // The first object is the root dictionary, which owns everything else.
        if (first && split_.name == "DICTIONARY" && db_->namedObjectsDictionaryId().isNull())
            db_->setNamedObjectsDictionaryId(id);
        first = false;
        if (auto* d = dynamic_cast<db::Dictionary*>(raw)) {
            if (!links.entries.empty()) dicts_.push_back({d, std::move(links)});
        } else if (dynamic_cast<db::Group*>(raw)) {
            if (!links.members.empty()) groups_.push_back({id, std::move(links)});
        }
    });
}

void Reader::skipSection(std::string_view name) {
    forEachRecordOfSection(name, [](const std::vector<Group>&) {});
}

// ============================================================================================================
// [SECTION] Links resolved by handle, defaults, current values
// ============================================================================================================

// A block that inserts itself, directly or through other blocks, has no end: CAD programs refuse such a file, and
// so does the reader. Blocks inside blocks also multiply: the entities a drawing shows once its references are
// expanded are counted, each block once (an iterative depth-first walk of the references), and a drawing beyond
// limits::kMaxExpandedEntities is refused before anything walks it.
void Reader::checkBlockReferences() const {
    const auto* table = dynamic_cast<const db::SymbolTable*>(db_->peek(db_->tableId(TableKind::Block)));
    if (!table) return;
    constexpr std::uint64_t kOver = limits::kMaxExpandedEntities + 1;
    auto capped = [&](std::uint64_t a, std::uint64_t b) { return std::min(kOver, a + b); };
    auto times = [&](std::uint64_t a, std::uint64_t b) { return b != 0 && a > kOver / b ? kOver : std::min(kOver, a * b); };
    struct Reference {
        ObjectId block;
        std::uint64_t copies;
    };
    // What a block holds: its own entities and attributes, and its references with their array counts.
    auto contentsOf = [&](ObjectId block, std::uint64_t& own) {
        std::vector<Reference> refs;
        own = 0;
        if (const auto* b = dynamic_cast<const db::BlockTableRecord*>(db_->peek(block))) {
            for (ObjectId e : b->entityList()) {
                own = capped(own, 1);
                if (const auto* ref = dynamic_cast<const db::BlockReference*>(db_->peek(e))) {
                    own = capped(own, ref->attributeIds().size());
                    refs.push_back({ref->blockTableRecord(),
                                    times(std::uint64_t(std::max(1, ref->columnCount())), std::uint64_t(std::max(1, ref->rowCount())))});
                }
            }
        }
        return refs;
    };
    enum class Mark : unsigned char { New, OnPath, Done };
    std::unordered_map<std::uint32_t, Mark> marks;
    std::unordered_map<std::uint32_t, std::uint64_t> expanded;  // of the blocks walked
    struct Frame {
        ObjectId block;
        std::vector<Reference> refs;
        std::size_t pos = 0;
        std::uint64_t total = 0;
    };
    for (ObjectId root : table->recordIds()) {
        if (marks[root.index()] != Mark::New) continue;
        std::vector<Frame> path;
        auto enter = [&](ObjectId block) {
            marks[block.index()] = Mark::OnPath;
            Frame f{block, {}, 0, 0};
            f.refs = contentsOf(block, f.total);
            path.push_back(std::move(f));
        };
        enter(root);
        while (!path.empty()) {
            Frame& top = path.back();
            if (top.pos == top.refs.size()) {
                marks[top.block.index()] = Mark::Done;
                expanded[top.block.index()] = top.total;
                const std::uint64_t total = top.total;
                path.pop_back();
                if (!path.empty()) {
                    Frame& parent = path.back();
                    parent.total = capped(parent.total, times(total, parent.refs[parent.pos - 1].copies));
                }
                continue;
            }
            const Reference ref = top.refs[top.pos++];
            Mark& m = marks[ref.block.index()];
            if (m == Mark::OnPath) {
                const auto line = blockLines_.find(ref.block.index());
                failAt(line == blockLines_.end() ? 1 : line->second,
                       "block \"" + db_->recordName(ref.block) + "\" contains itself" +
                           (top.block == ref.block ? "" : " (through block \"" + db_->recordName(top.block) + "\")"));
            }
            if (m == Mark::Done) {
                top.total = capped(top.total, times(expanded[ref.block.index()], ref.copies));
                continue;
            }
            enter(ref.block);
        }
    }
    for (ObjectId space : {modelSpace_, paperSpace_}) {
        if (space.isNull()) continue;
        const auto it = expanded.find(space.index());
        if (it != expanded.end() && it->second > limits::kMaxExpandedEntities)
            failAt(1, "the drawing's block references expand to more than " +
                          std::to_string(limits::kMaxExpandedEntities) + " entities, more than a drawing can show");
    }
}

void Reader::finish() {
    resolveLayerLinetypes();
    checkBlockReferences();
    for (const PendingLayout& p : layouts_) p.record->setLayoutId(byHandle(p.layout));
    for (const PendingOwner& p : owners_) p.object->setOwnerId(byHandle(p.owner));
    for (const PendingHead& p : heads_) {
        for (db::Handle h : p.head.reactors)
            if (ObjectId id = byHandle(h); !id.isNull()) p.object->addReactor(id);
        if (p.head.extensionDictionary) p.object->setExtensionDictionary(byHandle(*p.head.extensionDictionary));
    }
    // Entries that name objects the file does not hold are left out.
    for (const PendingDictionary& p : dicts_)
        for (const auto& [name, h] : p.links.entries)
            if (ObjectId id = byHandle(h); !id.isNull()) p.dict->attachEntry(name, id);
    for (const PendingGroup& p : groups_) {
        db::ObjectPtr<db::Group> group(p.group, db::OpenMode::Write);
        if (!group) continue;
        for (db::Handle h : p.links.members) {
            const ObjectId id = byHandle(h);
            if (id.isNull()) continue;
            const db::Status s = group->append(id);
            if (s != db::Status::Ok && s != db::Status::DuplicateKey && s != db::Status::WrongDatabase &&
                s != db::Status::WrongObjectType)
                failAt(p.links.line, "GROUP: member " + h.text() + " is refused (" + db::statusText(s) + ")");
        }
    }

    db_->ensureDefaults();
    if (facts_.handSeed) db_->raiseHandSeed(*facts_.handSeed);
    auto current = [&](TableKind kind, const std::string& name) {
        return name.empty() ? ObjectId() : db_->recordId(kind, name);
    };
    if (ObjectId id = current(TableKind::Layer, facts_.currentLayer); !id.isNull()) db_->setCurrentLayer(id);
    if (ObjectId id = current(TableKind::Linetype, facts_.currentLinetype); !id.isNull()) db_->setCurrentLinetype(id);
    if (ObjectId id = current(TableKind::TextStyle, facts_.currentTextStyle); !id.isNull()) db_->setCurrentTextStyle(id);
    db_->clearUndo();
    db_->clearModified();
}

// ============================================================================================================
// [SECTION] Front door
// ============================================================================================================

// The name of a section or table; one with spaces around it ("ENTITIES ") names it without them.
std::string_view Reader::trimmedName(const Group& g) {
    const std::string_view name = trimSpaces(g.text);
    if (name.size() != g.text.size() && !name.empty())
        repaired(Repair::RecordName, g.line, [&] {
            return "the name \"" + std::string(g.text.substr(0, 40)) + "\" has spaces around it; read as " +
                   std::string(name.substr(0, 40));
        });
    return name;
}

void Reader::readSection(const std::vector<Group>& sectionRecord) {
    std::string_view name;
    if (sectionRecord.size() >= 2 && sectionRecord[1].code == kName) name = trimmedName(sectionRecord[1]);
    if (name.empty()) failAt(sectionRecord.front().line, "SECTION without a name (group 2)");
    static constexpr std::pair<std::string_view, Section> kSections[] = {
        {"HEADER", Section::Header},     {"CLASSES", Section::Classes},   {"TABLES", Section::Tables},
        {"BLOCKS", Section::Blocks},     {"ENTITIES", Section::Entities}, {"OBJECTS", Section::Objects},
    };
    Section section = Section::Other;
    for (const auto& [n, s] : kSections)
        if (n == name) section = s;
    if (section == Section::Entities && entitiesRead_) {
        // An old program wrote its entities in several sections: each is read, in the file's order.
        repaired(Repair::EntitiesAgain, sectionRecord.front().line, [] {
            return std::string("a second ENTITIES section; the entities of every such section are read in their "
                               "order");
        });
    } else if (section != Section::Other) {
        // Tables after the blocks or entities that name their records would find those records made already.
        if (section == Section::Tables && (blocksRead_ || entitiesRead_))
            failAt(sectionRecord.front().line, "section " + std::string(name) + " out of order or repeated");
        // Any other section out of order or repeated (a TABLES section for each table, BLOCKS after ENTITIES) is
        // read where it stands, as a second ENTITIES section is.
        if (section <= lastSection_)
            repaired(Repair::SectionAgain, sectionRecord.front().line, [&] {
                return "section " + std::string(name) + " out of order or repeated; read where it stands";
            });
        lastSection_ = std::max(lastSection_, section);
    }
    if (section == Section::Blocks) blocksRead_ = true;
    if (section == Section::Entities) entitiesRead_ = true;
    // Entities need layer 0, ByLayer and the two layout blocks; a file with no TABLES section gets them here.
    if (section == Section::Blocks || section == Section::Entities) {
        if (layer0_.isNull()) {
            layer0_ = record(TableKind::Layer, "0");
            byLayer_ = record(TableKind::Linetype, "ByLayer");
            modelSpace_ = record(TableKind::Block, kModelSpace);
            paperSpace_ = record(TableKind::Block, kPaperSpace);
        }
    }
    switch (section) {
    case Section::Header: return readHeader(sectionRecord);
    case Section::Classes: return readClasses();
    case Section::Tables: return readTables();
    case Section::Blocks: return readBlocks();
    case Section::Entities: return readEntitiesSection();
    case Section::Objects: return readObjects();
    default: return skipSection(name);
    }
}

ReadResult Reader::run() {
    ReadResult result;
    try {
        db_ = std::make_unique<db::Database>(true);
        // A file that does not say its units ($INSUNITS came with R2000; older writers never wrote it) is unitless,
        // not millimetres: a new drawing's default would make an R12 drawing in inches a drawing in millimetres.
        db_->header().insUnits = 0;
        bool any = false;
        for (;;) {
            std::vector<Group> rec;
            if (!readRecord(rec)) {
                if (!any) failAt(1, "the file is empty");
                failAt(tok_.line(), "the file ends without EOF (is it truncated?)");
            }
            any = true;
            const std::string_view name = rec.front().text;
            if (name == "EOF") break;
            if (name == "ENDSEC" && (rec.size() == 1 || rec[1].code == kVariableName)) {
                repaired(Repair::StrayEndsec, rec.front().line, [] {
                    return std::string("ENDSEC where a SECTION should begin (an end without its section); it is skipped");
                });
                if (rec.size() > 1) readLooseVariables(rec);
                continue;
            }
            if (name != "SECTION") failAt(rec.front().line, "expected SECTION or EOF, found " + std::string(name));
            readSection(rec);
        }
        if (tok_.crLineEnds())
            repaired(Repair::LoneCr, 1, [] { return std::string("lines end with a lone CR (an old Macintosh file); read so"); });
        // A Ctrl-Z and blank lines after EOF are what DOS writers leave; anything else is told.
        const std::string_view rest = tok_.rest();
        if (rest.find_first_not_of(" \t\r\n\x1a") != std::string_view::npos)
            repaired(Repair::AfterEof, tok_.line(), [&] {
                return std::to_string(rest.size()) + " bytes after EOF are not read";
            });
        finish();
        if (reusedHandles_.count > 0) {
            const std::size_t more = reusedHandles_.count - 1;
            note(reusedHandles_.firstLine,
                 "handle " + reusedHandles_.first.text() + " is used by more than one object" +
                     (more ? " (and " + std::to_string(more) + " more reused handles)" : std::string()) +
                     ": the later " + (more ? "objects got new handles" : "object got a new handle") +
                     ", and references by handle lead to the first");
        }
        noteRepairs();
        result.database = std::move(db_);
        result.notes = std::move(notes_);
    } catch (const ReadFailure& f) {
        result.error = f.line == 0 ? f.what : tok_.message(f.line, f.what);
    } catch (const std::bad_alloc&) {
        result.error = tok_.source() + ": not enough memory to read the drawing";
    } catch (const std::exception& e) {
        result.error = tok_.source() + ": cannot be read (" + e.what() + ")";
    }
    return result;
}

void Reader::noteRepairs() {
    std::vector<const RepairNote*> told;
    for (const RepairNote& r : repairs_)
        if (r.count > 0) told.push_back(&r);
    std::stable_sort(told.begin(), told.end(), [](const RepairNote* a, const RepairNote* b) { return a->line < b->line; });
    for (const RepairNote* r : told)
        note(r->line, r->what + (r->count > 1 ? " (" + std::to_string(r->count) + " times in the file)" : std::string()));
}

// True for the start of a DWG file: its version string, "AC1015" for a 2000 drawing, "AC1.50" and "AC2.10" for the
// oldest. A DWG given for a DXF used to be refused as "NUL byte in the file", which sent users looking for a
// damaged file.
bool looksLikeDwg(std::string_view text) {
    auto digit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    if (!text.starts_with("AC")) return false;
    if (text.substr(2, 2) == "10" && digit(4) && digit(5)) return true;
    return (text.substr(2, 2) == "1." || text.substr(2, 2) == "2.") && digit(4);
}

}  // namespace

ReadResult readDxfText(std::string_view text, std::string_view sourceName) {
    if (isBinaryDxf(text)) return readBinaryDxf(text, sourceName);
    if (looksLikeDwg(text)) {
        ReadResult result;
        result.error = std::string(sourceName) +
                       ": this is a DWG drawing, and DWG is not read here: save it as DXF in the CAD program "
                       "that made it (Save As, file type DXF), then open the .dxf file";
        return result;
    }
    Reader reader(text, std::string(sourceName));
    return reader.run();
}

ReadResult readDxfFile(const std::filesystem::path& path) {
    ReadResult result;
    const std::string name = path.string();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        result.error = name + ": cannot read the file (" + ec.message() + ")";
        return result;
    }
    if (size > limits::kMaxFileBytes) {
        result.error = name + ": the file is larger than " + std::to_string(limits::kMaxFileBytes >> 20) +
                       " MB, more than a drawing can be";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = name + ": cannot open the file";
        return result;
    }
    std::string text;
    try {
        text.resize(std::size_t(size));
        in.read(text.data(), std::streamsize(size));
        if (in.gcount() != std::streamsize(size)) {
            result.error = name + ": the file could not be read whole";
            return result;
        }
    } catch (const std::bad_alloc&) {
        result.error = name + ": not enough memory to read the file";
        return result;
    }
    result = readDxfText(text, name);
    if (result.database) result.database->setFileName(path);
    return result;
}

}  // namespace host::dxf
