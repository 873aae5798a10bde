// A drawing for the editor-input tests: the working database while it lives, with shortcuts for entities,
// layers and blocks, and for looking entities up by handle text.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"

namespace host::ed::testing {

class TestDrawing {
public:
    TestDrawing() : previous_(db::workingDatabase()) { db::setWorkingDatabase(&db_); }
    ~TestDrawing() { db::setWorkingDatabase(previous_); }
    TestDrawing(const TestDrawing&) = delete;
    TestDrawing& operator=(const TestDrawing&) = delete;

    db::Database& db() { return db_; }

    // Appends an entity to a block (model space by default) and answers its id.
    db::ObjectId add(std::unique_ptr<db::Entity> e, db::ObjectId block = {}) {
        db::ObjectPtr<db::BlockTableRecord> space(block.isNull() ? db_.modelSpaceId() : block, db::OpenMode::Write);
        EXPECT_TRUE(space) << "cannot open the block for write";
        db::ObjectId id;
        EXPECT_EQ(space->appendEntity(std::move(e), &id), db::Status::Ok);
        return id;
    }
    db::ObjectId line(ge::Point3d a, ge::Point3d b, db::ObjectId block = {}) {
        return add(std::make_unique<db::Line>(a, b), block);
    }
    db::ObjectId circle(ge::Point3d c, double r) { return add(std::make_unique<db::Circle>(c, r)); }
    db::ObjectId arc(ge::Point3d c, double r, double start, double end) {
        return add(std::make_unique<db::Arc>(c, r, start, end));
    }
    db::ObjectId point(ge::Point3d p) { return add(std::make_unique<db::PointEntity>(p)); }
    // An open or closed lightweight polyline through points (bulges all 0).
    db::ObjectId polyline(std::initializer_list<ge::Point2d> pts, bool closed = false) {
        auto pl = std::make_unique<db::LwPolyline>();
        unsigned i = 0;
        for (const ge::Point2d& p : pts) pl->addVertexAt(i++, p);
        pl->setClosed(closed);
        return add(std::move(pl));
    }

    db::ObjectId layer(const std::string& name, bool off = false, bool frozen = false) {
        db::ObjectId id = db_.recordId(db::TableKind::Layer, name);
        if (!id.isNull()) return id;
        auto rec = std::make_unique<db::LayerTableRecord>(name);
        rec->setIsOff(off);
        rec->setIsFrozen(frozen);
        db::ObjectPtr<db::SymbolTable> table(db_.tableId(db::TableKind::Layer), db::OpenMode::Write);
        EXPECT_EQ(table->add(std::move(rec), &id), db::Status::Ok);
        return id;
    }
    db::ObjectId linetype(const std::string& name) {
        db::ObjectId id;
        db::ObjectPtr<db::SymbolTable> table(db_.tableId(db::TableKind::Linetype), db::OpenMode::Write);
        EXPECT_EQ(table->add(std::make_unique<db::LinetypeTableRecord>(name), &id), db::Status::Ok);
        return id;
    }
    db::ObjectId block(const std::string& name, ge::Point3d base = {}) {
        db::ObjectId id;
        auto rec = std::make_unique<db::BlockTableRecord>(name);
        rec->setOrigin(base);
        db::ObjectPtr<db::SymbolTable> table(db_.tableId(db::TableKind::Block), db::OpenMode::Write);
        EXPECT_EQ(table->add(std::move(rec), &id), db::Status::Ok);
        return id;
    }
    db::ObjectId insert(db::ObjectId block, ge::Point3d at, double rotation = 0.0, double scale = 1.0) {
        auto ref = std::make_unique<db::BlockReference>(at, block);
        ref->setRotation(rotation);
        ref->setScaleFactors({scale, scale, scale});
        return add(std::move(ref));
    }

    // Changes an entity through a write open.
    template <class E = db::Entity, class F>
    void change(db::ObjectId id, F&& f) {
        db::ObjectPtr<E> e(id, db::OpenMode::Write);
        ASSERT_TRUE(e) << "cannot open the entity for write";
        f(*e);
    }
    void erase(db::ObjectId id) {
        db::ObjectPtr<db::DbObject> o(id, db::OpenMode::Write);
        ASSERT_TRUE(o);
        o->erase();
    }

private:
    db::Database db_;
    db::Database* previous_;
};

}  // namespace host::ed::testing
