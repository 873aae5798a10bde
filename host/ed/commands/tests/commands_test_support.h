// Test helpers for the host commands: a drawing that is the working database, and shortcuts to add and read
// entities.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "host/db/database.h"

namespace host::ed::testing {

// A new drawing, the working database while the fixture lives.
struct Drawing {
    db::Database db;
    db::Database* previous = db::workingDatabase();
    Drawing() { db::setWorkingDatabase(&db); }
    ~Drawing() { db::setWorkingDatabase(previous); }

    template <class E>
    db::ObjectId add(std::unique_ptr<E> entity, db::ObjectId block = {}) {
        db::ObjectPtr<db::BlockTableRecord> space(block.isNull() ? db.modelSpaceId() : block, db::OpenMode::Write);
        EXPECT_TRUE(space.isOpen());
        db::ObjectId id;
        EXPECT_EQ(space->appendEntity(std::move(entity), &id), db::Status::Ok);
        return id;
    }
    db::ObjectId line(ge::Point3d a, ge::Point3d b, db::ObjectId block = {}) {
        return add(std::make_unique<db::Line>(a, b), block);
    }
    db::ObjectId arc(ge::Point3d c, double r, double startDeg, double endDeg, db::ObjectId block = {}) {
        return add(std::make_unique<db::Arc>(c, r, startDeg * std::numbers::pi / 180,
                                                endDeg * std::numbers::pi / 180), block);
    }
    db::ObjectId circle(ge::Point3d c, double r, db::ObjectId block = {}) {
        return add(std::make_unique<db::Circle>(c, r), block);
    }
    // A lightweight polyline through (x, y, bulge) triples.
    db::ObjectId pline(std::vector<std::array<double, 3>> vertices, bool closed = false, db::ObjectId block = {}) {
        auto p = std::make_unique<db::LwPolyline>();
        for (const auto& v : vertices) p->addVertexAt(p->numVerts(), {v[0], v[1]}, v[2]);
        p->setClosed(closed);
        return add(std::move(p), block);
    }
    db::ObjectId layer(const std::string& name, int color = 7) {
        db::ObjectId id = db.recordId(db::TableKind::Layer, name);
        if (!id.isNull()) return id;
        auto rec = std::make_unique<db::LayerTableRecord>(name);
        rec->setColor(db::Color::fromIndex(color));
        db::ObjectPtr<db::SymbolTable> table(db.tableId(db::TableKind::Layer), db::OpenMode::Write);
        EXPECT_EQ(table->add(std::move(rec), &id), db::Status::Ok);
        return id;
    }
    // A block definition with its base point; entities are added with add(..., block).
    db::ObjectId block(const std::string& name, ge::Point3d base = {}) {
        auto rec = std::make_unique<db::BlockTableRecord>(name);
        rec->setOrigin(base);
        db::ObjectPtr<db::SymbolTable> table(db.tableId(db::TableKind::Block), db::OpenMode::Write);
        db::ObjectId id;
        EXPECT_EQ(table->add(std::move(rec), &id), db::Status::Ok);
        return id;
    }
    // The live model-space entities in order.
    std::vector<db::ObjectId> entities() const {
        const auto* ms = dynamic_cast<const db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
        return ms->entityIds();
    }
    template <class E = db::Entity>
    const E* get(db::ObjectId id) const {
        return dynamic_cast<const E*>(db.peek(id));
    }
    // DXF names of the live model-space entities: "LINE ARC".
    std::string kinds() const {
        std::string s;
        for (db::ObjectId id : entities()) s += (s.empty() ? "" : " ") + std::string(get(id)->dxfName());
        return s;
    }
};

// Points compared within a small distance, printed on failure.
inline ::testing::AssertionResult near(const ge::Point3d& a, const ge::Point3d& b, double tol = 1e-9) {
    if (a.distanceTo(b) <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << "," << a.y << "," << a.z << ") != (" << b.x << ","
                                         << b.y << "," << b.z << ")";
}

}  // namespace host::ed::testing
