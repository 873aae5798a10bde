// Test support for contour creation: the drawing fixture of the contour stages with polylines, blocks and the
// working drawing's own job slot.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/ed/transcript.h"
#include "host/ui/message_box.h"
#include "laser/contours/tests/contour_stage_fixture.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"

namespace contour_testing {

// One vertex of a test polyline: its point and the bulge of the segment that starts there.
struct Vertex {
    double x, y, bulge = 0.0;
};

class CreationTest : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        ASSERT_EQ(OnLoadDrawing(settings()), 0);
        ASSERT_NE(CurrentSlot(settings()), nullptr);
        PrepareDrawingJob(settings());
        ASSERT_NE(CurrentJob(settings()), nullptr);
        host::ui::clearMessageBoxLog();
        host::ed::transcript().clear();
    }
    void TearDown() override {
        OnUnloadDrawing(settings());
        DrawingTest::TearDown();
    }

public:
    host::db::ObjectId Polyline(const std::vector<Vertex>& vertices, bool closed, const std::string& layer = "0") {
        auto polyline = std::make_unique<host::db::LwPolyline>();
        for (const Vertex& v : vertices) {
            polyline->addVertexAt(polyline->numVerts(), host::ge::Point2d(v.x, v.y), v.bulge);
        }
        polyline->setClosed(closed);
        return Add(std::move(polyline), layer);
    }
    // A closed axis-parallel rectangle polyline, counter-clockwise unless `clockwise`.
    host::db::ObjectId Rectangle(double x0, double y0, double x1, double y1, const std::string& layer = "0",
                                 bool clockwise = false) {
        if (clockwise) return Polyline({{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}}, true, layer);
        return Polyline({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, true, layer);
    }
    // Defines block `name` holding `entities` (each on layer "0" unless it has a layer) and answers the id of a
    // reference to it at `at` in model space on `layer`.
    host::db::ObjectId Block(const std::string& name, std::vector<std::unique_ptr<host::db::Entity>> entities,
                             host::ge::Point3d at, const std::string& layer = "0") {
        host::db::ObjectId block;
        {
            host::db::ObjectPtr<host::db::SymbolTable> blocks(db().tableId(host::db::TableKind::Block),
                                                              host::db::OpenMode::Write);
            EXPECT_EQ(blocks->add(std::make_unique<host::db::BlockTableRecord>(name), &block), host::db::Status::Ok);
        }
        {
            host::db::ObjectPtr<host::db::BlockTableRecord> def(block, host::db::OpenMode::Write);
            for (auto& e : entities) {
                if (e->layerId().isNull()) e->setLayer(db().recordId(host::db::TableKind::Layer, "0"));
                EXPECT_EQ(def->appendEntity(std::move(e)), host::db::Status::Ok);
            }
        }
        return Add(std::make_unique<host::db::BlockReference>(at, block), layer);
    }
    CuttingJob& Job() { return *CurrentJob(settings()); }
    std::string Transcript() { return host::ed::transcript().text(); }
    std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (const auto& box : host::ui::messageBoxLog()) texts.push_back(box.text);
        return texts;
    }
    template <class T>
    host::db::ObjectPtr<T> Open(host::db::ObjectId id) {
        return host::db::ObjectPtr<T>(id, host::db::OpenMode::Read);
    }
};

}  // namespace contour_testing
