// Test support for the drawing commands: a new drawing with its job slot, the user's answers given as script
// lines, a command of the module run by name in its frame, and looks at the drawing afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ed/input.h"
#include "host/ed/transcript.h"
#include "laser/contours/tests/creation_drawing_fixture.h"
#include "laser/frame/command_table.h"

namespace drawing_testing {

inline std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// A drawing as the module finds it just after it was opened: its slot exists, but no command has prepared it, so
// the CAM layers are not there yet.
class OpenedDrawingTest : public contour_testing::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        stockOrigin_ = {settings().StockPointOriginX, settings().StockPointOriginY, settings().StockPointOriginZ};
        ASSERT_EQ(OnLoadDrawing(settings()), 0);
        host::ed::transcript().clear();
    }
    void TearDown() override {
        OnUnloadDrawing(settings());
        settings().StockPointOriginX = stockOrigin_.x;
        settings().StockPointOriginY = stockOrigin_.y;
        settings().StockPointOriginZ = stockOrigin_.z;
        DrawingTest::TearDown();
    }

private:
    host::ge::Point3d stockOrigin_;

public:
    // The user's answers to the prompts of the next commands, one line each ("" is Enter, "^C" Esc).
    void Answer(std::vector<std::string> lines) {
        host::ed::setInput(host::ed::ScriptInput::fromLines(std::move(lines), "answers.scr"));
    }
    // Runs the command the user types as `localName`, in its frame.
    void Run(const std::string& localName) {
        for (const LaserCommand& command : LaserCommandTable()) {
            if (localName == command.localName) {
                RunLaserCommand(command);
                return;
            }
        }
        ADD_FAILURE() << "no command " << localName;
    }
    // Changes an entity through a write open.
    template <class E = host::db::Entity, class F>
    void Change(host::db::ObjectId id, F&& change) {
        host::db::ObjectPtr<E> e(id, host::db::OpenMode::Write);
        ASSERT_TRUE(e) << "cannot open the entity for write";
        change(*e);
    }
    // A closed axis-parallel rectangle polyline.
    host::db::ObjectId Rectangle(double x0, double y0, double x1, double y1, const std::string& layer = "0") {
        auto polyline = std::make_unique<host::db::LwPolyline>();
        for (const host::ge::Point2d& p : {host::ge::Point2d(x0, y0), host::ge::Point2d(x1, y0),
                                           host::ge::Point2d(x1, y1), host::ge::Point2d(x0, y1)}) {
            polyline->addVertexAt(polyline->numVerts(), p);
        }
        polyline->setClosed(true);
        return Add(std::move(polyline), layer);
    }
    // A block `name` holding one circle of radius 5 about its origin, referenced at `at` on `layer`.
    host::db::ObjectId CircleBlock(const std::string& name, host::ge::Point3d at, const std::string& layer) {
        host::db::ObjectId block;
        {
            host::db::ObjectPtr<host::db::SymbolTable> blocks(db().tableId(host::db::TableKind::Block),
                                                              host::db::OpenMode::Write);
            EXPECT_EQ(blocks->add(std::make_unique<host::db::BlockTableRecord>(name), &block), host::db::Status::Ok);
        }
        {
            host::db::ObjectPtr<host::db::BlockTableRecord> def(block, host::db::OpenMode::Write);
            auto circle = std::make_unique<host::db::Circle>(host::ge::Point3d(0, 0, 0), 5.0);
            circle->setLayer(db().recordId(host::db::TableKind::Layer, "0"));
            EXPECT_EQ(def->appendEntity(std::move(circle)), host::db::Status::Ok);
        }
        return Add(std::make_unique<host::db::BlockReference>(at, block), layer);
    }
    bool HasLayer(const std::string& name) {
        return !db().recordId(host::db::TableKind::Layer, name).isNull();
    }
    std::string Transcript() { return host::ed::transcript().text(); }
    template <class T>
    host::db::ObjectPtr<T> Open(host::db::ObjectId id) {
        return host::db::ObjectPtr<T>(id, host::db::OpenMode::Read);
    }
    // The live entities of model space of class `dxfName` on `layer`.
    std::vector<host::db::ObjectId> Entities(const std::string& dxfName, const std::string& layer) {
        std::vector<host::db::ObjectId> found;
        for (const host::db::ObjectId id : ModelSpace()) {
            host::db::ObjectPtr<host::db::Entity> e(id, host::db::OpenMode::Read);
            if (e && dxfName == e->dxfName() && e->layer() == layer) found.push_back(id);
        }
        return found;
    }
    // The box of the live entities of model space on `layer`.
    std::optional<host::db::Extents> BoxOfLayer(const std::string& layer) {
        std::optional<host::db::Extents> box;
        for (const host::db::ObjectId id : ModelSpace()) {
            host::db::ObjectPtr<host::db::Entity> e(id, host::db::OpenMode::Read);
            if (!e || e->layer() != layer) continue;
            if (const auto ext = e->geomExtents()) {
                if (box) box->add(*ext);
                else box = ext;
            }
        }
        return box;
    }
};

// The same drawing after a prepared command: slot, job, CAM layers and line types.
class PreparedDrawingTest : public OpenedDrawingTest {
protected:
    void SetUp() override {
        OpenedDrawingTest::SetUp();
        ASSERT_EQ(PrepareDrawingJob(settings()), 0);
        host::ed::transcript().clear();
    }
};

}  // namespace drawing_testing
