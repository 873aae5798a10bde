// Test helpers for running the host commands through command() and scripts, in a fresh editor with one drawing.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "host/db/entity_data.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/selection.h"
#include "host/ed/sysvars.h"
#include "host/ed/tests/command_test_support.h"

namespace host::ed::testing {

// The editor with the host commands registered; `db()` is the current drawing.
class HostCommandTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        resetSystemVariables();
        registerHostCommands();
    }
    void TearDown() override {
        commandStack().removeGroup(kHostCommandGroup);
        EditorTest::TearDown();
    }
    db::Database& db() { return doc->database(); }

    template <class E>
    db::ObjectId add(std::unique_ptr<E> entity, db::ObjectId block = {}) {
        db::ObjectPtr<db::BlockTableRecord> space(block.isNull() ? db().modelSpaceId() : block, db::OpenMode::Write);
        db::ObjectId id;
        EXPECT_EQ(space->appendEntity(std::move(entity), &id), db::Status::Ok);
        return id;
    }
    db::ObjectId line(ge::Point3d a, ge::Point3d b, db::ObjectId block = {}) {
        return add(std::make_unique<db::Line>(a, b), block);
    }
    db::ObjectId circle(ge::Point3d c, double r) { return add(std::make_unique<db::Circle>(c, r)); }
    db::ObjectId pline(std::vector<std::array<double, 3>> vertices, bool closed = false) {
        auto p = std::make_unique<db::LwPolyline>();
        for (const auto& v : vertices) p->addVertexAt(p->numVerts(), {v[0], v[1]}, v[2]);
        p->setClosed(closed);
        return add(std::move(p));
    }
    // A square of four lines from (x0,y0) to (x1,y1).
    std::vector<db::ObjectId> square(double x0, double y0, double x1, double y1) {
        return {line({x0, y0}, {x1, y0}), line({x1, y0}, {x1, y1}), line({x1, y1}, {x0, y1}),
                line({x0, y1}, {x0, y0})};
    }
    std::vector<db::ObjectId> entities() {
        const auto* ms = dynamic_cast<const db::BlockTableRecord*>(db().peek(db().modelSpaceId()));
        return ms->entityIds();
    }
    std::string kinds() {
        std::string s;
        for (db::ObjectId id : entities()) s += (s.empty() ? "" : " ") + std::string(db().peek(id)->dxfName());
        return s;
    }
    template <class E = db::Entity>
    const E* get(db::ObjectId id) {
        return dynamic_cast<const E*>(db().peek(id));
    }
    static db::ResBuf str(const char* s) { return {db::RTSTR, s}; }
    static db::ResBuf str(const std::string& s) { return {db::RTSTR, s}; }
    static db::ResBuf name(db::ObjectId id) { return {db::RTENAME, db::idToName(id)}; }
    static db::ResBuf point(double x, double y) { return {db::RTPOINT, ge::Point3d(x, y, 0)}; }
    static int run(std::initializer_list<db::ResBuf> items) { return command(db::ResBufList(items)); }
    static int run(const db::ResBufList& items) { return command(items); }
    static void setShort(const char* name, int value) {
        ASSERT_EQ(setVar(name, db::ResBuf(db::RTSHORT, value)), db::RTNORM);
    }
};

}  // namespace host::ed::testing
