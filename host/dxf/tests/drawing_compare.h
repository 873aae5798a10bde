// Compares two drawings object by object, by handle, through the objects' own getters (and, for an entity's
// kind-specific data, the entity codec), so a round trip through a file can be checked to the last bit.
#pragma once

#include <gtest/gtest.h>

#include <charconv>
#include <string>

#include "host/db/database.h"
#include "host/db/entity_groups.h"

namespace host::dxf::testing {

inline std::string num(double v) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}
inline std::string pt(const ge::Point3d& p) { return "(" + num(p.x) + "," + num(p.y) + "," + num(p.z) + ")"; }
inline std::string vec(const ge::Vector3d& p) { return pt({p.x, p.y, p.z}); }
inline std::string handleOf(db::ObjectId id) { return id.isNull() ? "-" : id.handle().text(); }

inline std::string resbufs(const db::ResBufList& list) {
    std::string out;
    for (const db::ResBuf& rb : list) {
        out += " " + std::to_string(rb.code) + "=";
        if (auto* s = std::get_if<std::string>(&rb.value)) out += "'" + *s + "'";
        else if (auto* d = std::get_if<double>(&rb.value)) out += num(*d);
        else if (auto* i = std::get_if<std::int64_t>(&rb.value)) out += std::to_string(*i);
        else if (auto* p = std::get_if<ge::Point3d>(&rb.value)) out += pt(*p);
        else if (auto* n = std::get_if<db::EntityName>(&rb.value)) out += handleOf(db::nameToId(*n));
        else if (auto* b = std::get_if<std::vector<std::uint8_t>>(&rb.value)) out += "bytes" + std::to_string(b->size());
    }
    return out;
}

inline std::string rawGroups(const db::RawGroups& g) {
    std::string out;
    for (const db::RawGroup& r : g) out += " " + std::to_string(r.code) + "='" + r.value + "'";
    return out;
}

// Collects an entity's groups as text; numbers exactly.
class TextSink : public db::GroupSink {
public:
    std::string out;
    void real(int c, double v) override { out += " " + std::to_string(c) + "=" + num(v); }
    void integer(int c, std::int64_t v) override { out += " " + std::to_string(c) + "=" + std::to_string(v); }
    void text(int c, std::string_view v) override { out += " " + std::to_string(c) + "='" + std::string(v) + "'"; }
    void point(int c, const ge::Point3d& p) override { out += " " + std::to_string(c) + "=" + pt(p); }
    void point2d(int c, const ge::Point2d& p) override { out += " " + std::to_string(c) + "=" + pt(ge::Point3d(p)); }
    void raw(const db::RawGroup& g) override { out += " raw" + std::to_string(g.code) + "='" + g.value + "'"; }
};

inline std::string describeEntity(const db::Entity& e) {
    std::string out = " layer=" + e.layer() + " lt=" + e.linetype() + " color=" + std::to_string(e.color().index) +
                      "/" + (e.color().rgb ? std::to_string(*e.color().rgb) : "-") + " lts=" + num(e.linetypeScale()) +
                      " vis=" + std::to_string(e.isVisible()) + " lw=" + std::to_string(e.lineWeight()) +
                      " paper=" + std::to_string(e.inPaperSpace());
    TextSink sink;
    db::writeEntityGroups(e, sink);
    out += " groups:" + sink.out;
    if (auto* p = dynamic_cast<const db::PolylineWithVertices*>(&e)) {
        out += " vertices:";
        for (db::ObjectId v : p->vertexIds()) out += " " + handleOf(v);
        out += " seqend=" + handleOf(p->sequenceEnd()) + " flags=" + std::to_string(p->flags());
    }
    if (auto* r = dynamic_cast<const db::BlockReference*>(&e)) {
        out += " block=" + r->blockName() + " attributes:";
        for (db::ObjectId a : r->attributeIds()) out += " " + handleOf(a);
        out += " seqend=" + handleOf(r->sequenceEnd());
    }
    if (auto* l = dynamic_cast<const db::LwPolyline*>(&e)) {
        for (const auto& v : l->vertices())
            out += " v" + pt(ge::Point3d(v.point)) + num(v.bulge) + "/" + num(v.startWidth) + "/" + num(v.endWidth);
    }
    if (auto* t = dynamic_cast<const db::Text*>(&e)) out += " string='" + t->textString() + "' h=" + num(t->height());
    if (auto* m = dynamic_cast<const db::MText*>(&e)) out += " contents='" + m->contents() + "'";
    if (auto* a = dynamic_cast<const db::Arc*>(&e)) out += " angles=" + num(a->startAngle()) + "," + num(a->endAngle());
    return out;
}

// What a first save adds or changes for other readers: layouts of the two layout blocks, the root dictionary's
// layout and multiline-style dictionaries, BLOCK and ENDBLK markers of blocks that had none, and the version
// (every file we write is R2000). A comparison after a first save leaves these out.
struct Compare {
    bool ignoreMadeByWriter = false;
};

inline std::string describeRecord(const db::SymbolTableRecord& r, Compare cmp) {
    std::string out = " name='" + r.name() + "' flags=" + std::to_string(r.flags());
    const db::Database& d = *r.database();
    if (auto* l = dynamic_cast<const db::LayerTableRecord*>(&r))
        out += " color=" + std::to_string(l->color().index) + "/" + (l->color().rgb ? std::to_string(*l->color().rgb) : "-") +
               " lt=" + d.recordName(l->linetypeId()) + " off=" + std::to_string(l->isOff()) +
               " plot=" + std::to_string(l->isPlottable()) + " lw=" + std::to_string(l->lineWeight());
    if (auto* l = dynamic_cast<const db::LinetypeTableRecord*>(&r)) {
        out += " desc='" + l->description() + "' dashes:";
        for (double x : l->dashes()) out += " " + num(x);
        out += " complex:" + rawGroups(l->complexElements());
    }
    if (auto* s = dynamic_cast<const db::TextStyleTableRecord*>(&r))
        out += " font=" + s->fontFile() + " big=" + s->bigFontFile() + " size=" + num(s->textSize()) +
               " width=" + num(s->widthFactor()) + " oblique=" + num(s->obliquingAngle()) +
               " gen=" + std::to_string(s->generationFlags()) + " prior=" + num(s->priorSize());
    if (auto* v = dynamic_cast<const db::ViewportTableRecord*>(&r))
        out += " view=" + pt(ge::Point3d(v->center())) + num(v->height()) + "/" + num(v->aspectRatio()) +
               " ucs=" + pt(v->ucsOrigin()) + vec(v->ucsXAxis()) + vec(v->ucsYAxis()) + " other:" + rawGroups(v->otherGroups());
    if (auto* o = dynamic_cast<const db::OpaqueTableRecord*>(&r)) out += " groups:" + rawGroups(o->groups());
    if (auto* b = dynamic_cast<const db::BlockTableRecord*>(&r)) {
        out += " origin=" + pt(b->origin()) + " units=" + std::to_string(b->insertUnits()) + " desc='" + b->description() +
               "' xref='" + b->xrefPath() + "' layout=" + (cmp.ignoreMadeByWriter ? "?" : handleOf(b->layoutId())) +
               " begin=" + (cmp.ignoreMadeByWriter ? "?" : handleOf(b->blockBegin())) +
               " end=" + (cmp.ignoreMadeByWriter ? "?" : handleOf(b->blockEnd())) + " entities:";
        for (db::ObjectId e : b->entityIds()) out += " " + handleOf(e);
    }
    return out;
}

// Everything the host keeps of an object, as text.
inline std::string describeObject(const db::DbObject& o, Compare cmp = {}) {
    std::string out = std::string(o.dxfName()) + " " + o.className() + " h=" + o.handle().text() +
                      " owner=" + handleOf(o.ownerId()) + " erased=" + std::to_string(o.isErased()) +
                      " xdict=" + handleOf(o.extensionDictionary()) + " reactors:";
    for (db::ObjectId r : o.reactors()) out += " " + handleOf(r);
    out += " xdata:" + resbufs(o.xData());
    if (auto* e = dynamic_cast<const db::Entity*>(&o)) out += describeEntity(*e);
    if (auto* r = dynamic_cast<const db::SymbolTableRecord*>(&o)) out += describeRecord(*r, cmp);
    if (auto* t = dynamic_cast<const db::SymbolTable*>(&o)) {
        out += " records:";
        for (db::ObjectId r : t->recordIds()) out += " " + handleOf(r);
    }
    if (auto* d = dynamic_cast<const db::Dictionary*>(&o)) {
        out += " hard=" + std::to_string(d->hardOwner()) + " cloning=" + std::to_string(d->cloningFlag()) + " entries:";
        for (const auto& [name, id] : d->entries()) {
            if (cmp.ignoreMadeByWriter && (name == "ACAD_LAYOUT" || name == "ACAD_MLINESTYLE")) continue;
            out += " " + name + "=" + handleOf(id);
        }
    }
    if (auto* g = dynamic_cast<const db::Group*>(&o)) {
        out += " name='" + g->name() + "' desc='" + g->description() + "' sel=" + std::to_string(g->isSelectable()) +
               " anon=" + std::to_string(g->isAnonymous()) + " members:";
        for (db::ObjectId m : g->allEntityIds()) out += " " + handleOf(m);
    }
    if (auto* x = dynamic_cast<const db::OpaqueObject*>(&o)) out += " groups:" + rawGroups(x->groups());
    return out;
}

// Every object of `a` is in `b` with the same handle and the same state; the header and current values match.
inline void expectSameDrawing(const db::Database& a, const db::Database& b, Compare cmp = {}) {
    for (db::ObjectId id : a.allObjectIds()) {
        const db::ObjectId other = b.idFromHandle(id.handle());
        ASSERT_FALSE(other.isNull()) << "missing: " << describeObject(*a.peek(id));
        EXPECT_EQ(describeObject(*a.peek(id), cmp), describeObject(*b.peek(other), cmp));
    }
    if (!cmp.ignoreMadeByWriter) {
        EXPECT_EQ(a.objectCount(), b.objectCount());
    }
    db::Header ha = a.header(), hb = b.header();
    ha.classes.clear(), hb.classes.clear();  // the writer adds the classes of the objects it makes
    if (cmp.ignoreMadeByWriter) ha.acadVersion = hb.acadVersion;
    EXPECT_TRUE(ha == hb);
    EXPECT_EQ(ha.projectName, hb.projectName);
    EXPECT_EQ(a.recordName(a.currentLayer()), b.recordName(b.currentLayer()));
    EXPECT_EQ(a.recordName(a.currentLinetype()), b.recordName(b.currentLinetype()));
    EXPECT_EQ(a.recordName(a.currentTextStyle()), b.recordName(b.currentTextStyle()));
    EXPECT_EQ(handleOf(a.namedObjectsDictionaryId()), handleOf(b.namedObjectsDictionaryId()));
    EXPECT_EQ(handleOf(a.modelSpaceId()), handleOf(b.modelSpaceId()));
    EXPECT_EQ(handleOf(a.paperSpaceId()), handleOf(b.paperSpaceId()));
    EXPECT_EQ(handleOf(a.groupDictionaryId()), handleOf(b.groupDictionaryId()));
}

}  // namespace host::dxf::testing
