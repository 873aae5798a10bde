// Test helpers for the database tests: a minimal non-entity object and shortcuts for adding things.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "host/db/database.h"
#include "host/ge/tests/test_support.h"

namespace host::db::testing {

// The smallest object a database can hold: one number, changed only while open for write.
class Probe : public Cloneable<Probe, DbObject> {
public:
    explicit Probe(int value = 0) : value_(value) {}
    const char* className() const override { return "KsProbe"; }
    const char* dxfName() const override { return "PROBE"; }
    int value() const { return value_; }
    Status setValue(int v) {
        if (!isWriteEnabled()) return Status::NotOpenForWrite;
        value_ = v;
        return Status::Ok;
    }

private:
    int value_;
};

inline ObjectId addProbe(Database& db, int value = 0) {
    ObjectId id;
    EXPECT_EQ(db.addObject(std::make_unique<Probe>(value), {}, &id), Status::Ok);
    return id;
}

inline int probeValue(ObjectId id) {
    ObjectPtr<Probe> p(id, OpenMode::Read, true);
    return p ? p->value() : -1;
}

inline Status setProbe(ObjectId id, int value) {
    ObjectPtr<Probe> p(id, OpenMode::Write);
    return p ? p->setValue(value) : p.status();
}

// Appends an entity to model space and answers its id.
template <class E>
ObjectId addToModelSpace(Database& db, std::unique_ptr<E> entity) {
    ObjectPtr<BlockTableRecord> ms(db.modelSpaceId(), OpenMode::Write);
    EXPECT_TRUE(ms.isOpen());
    ObjectId id;
    EXPECT_EQ(ms->appendEntity(std::move(entity), &id), Status::Ok);
    return id;
}

inline ObjectId addLine(Database& db, ge::Point3d a, ge::Point3d b) {
    return addToModelSpace(db, std::make_unique<Line>(a, b));
}

// An entity's extents against the expected corners, each within eps.
inline ::testing::AssertionResult BoxNear(const std::optional<Extents>& box, ge::Point3d lo, ge::Point3d hi,
                                          double eps = 1e-9) {
    if (!box) return ::testing::AssertionFailure() << "no extents";
    if (auto r = ge::testing::PointNear(box->min, lo, eps); !r) return r << " (min)";
    if (auto r = ge::testing::PointNear(box->max, hi, eps); !r) return r << " (max)";
    return ::testing::AssertionSuccess();
}

// Adds a layer (or finds it) and answers its id.
inline ObjectId addLayer(Database& db, const std::string& name, bool off = false, bool frozen = false,
                         bool locked = false) {
    ObjectId id = db.recordId(TableKind::Layer, name);
    if (!id.isNull()) return id;
    auto layer = std::make_unique<LayerTableRecord>(name);
    layer->setIsOff(off);
    layer->setIsFrozen(frozen);
    layer->setIsLocked(locked);
    ObjectPtr<SymbolTable> table(db.tableId(TableKind::Layer), OpenMode::Write);
    EXPECT_EQ(table->add(std::move(layer), &id), Status::Ok);
    return id;
}

inline Status eraseObject(ObjectId id, bool erasing = true) {
    ObjectPtr<DbObject> o(id, OpenMode::Write, true);
    return o ? o->erase(erasing) : o.status();
}

inline Status registerApp(Database& db, const std::string& name) {
    ObjectPtr<SymbolTable> table(db.tableId(TableKind::RegApp), OpenMode::Write);
    return table ? table->add(std::make_unique<RegAppTableRecord>(name)) : table.status();
}

}  // namespace host::db::testing
