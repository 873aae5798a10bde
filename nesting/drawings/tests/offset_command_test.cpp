// The developer commands TTO and TTI: a picked circle or polyline offset and drawn, the distance's sign turning
// the direction, other picks asking again.
#include <gtest/gtest.h>

#include <cmath>

#include "nesting/drawings/offset_test_command.h"
#include "nesting/drawings/tests/drawing_fixture.h"
#include "nesting/geometry/contour_offset.h"

namespace drawing_testing {
namespace {

class OffsetCommand : public DrawingTest {
protected:
    void Answers(std::vector<std::string> lines) {
        host::ed::setInput(host::ed::ScriptInput::fromLines(std::move(lines), "answers.scr"));
    }
    ObjectId Add(std::unique_ptr<host::db::Entity> e) {
        ObjectPtr<host::db::BlockTableRecord> ms(Current().modelSpaceId(), OpenMode::Write);
        ObjectId id;
        EXPECT_EQ(ms->appendEntity(std::move(e), &id), host::db::Status::Ok);
        return id;
    }
    // The circles of model space drawn after `after`, as (radius, colour).
    std::vector<std::pair<double, int>> CirclesAfter(ObjectId after) {
        std::vector<std::pair<double, int>> found;
        ObjectPtr<host::db::BlockTableRecord> ms(Current().modelSpaceId(), OpenMode::Read);
        bool past = false;
        for (ObjectId id : ms->entityIds()) {
            if (past) {
                ObjectPtr<host::db::Circle> c(id, OpenMode::Read);
                if (c) found.emplace_back(std::round(c->radius() * 1000) / 1000, c->colorIndex());
            }
            past = past || id == after;
        }
        return found;
    }
};

TEST_F(OffsetCommand, CircleOffsetBothWaysWithTheSignOfTheDistance) {
    struct Case {
        const char* what;
        int mode;
        std::string distance;
        double radius;
        int colour;
    };
    const Case cases[] = {
        {"TTO outward", kOffsetOutward, "5", 15.0, 6},
        {"TTO with a negative distance goes inward", kOffsetOutward, "-5", 5.0, 3},
        {"TTI inward", kOffsetInward, "5", 5.0, 3},
        {"TTI with a negative distance goes outward", kOffsetInward, "-5", 15.0, 6},
        {"Enter gives 10", kOffsetOutward, "", 20.0, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ObjectId circle = Add(std::make_unique<host::db::Circle>(host::ge::Point3d{0, 0, 0}, 10.0));
        Answers({c.distance, "10,0", ""});
        TestContourOffset(State(), c.mode);
        EXPECT_EQ(CirclesAfter(circle), (std::vector<std::pair<double, int>>{{c.radius, c.colour}}));
        ObjectPtr<host::db::BlockTableRecord> ms(Current().modelSpaceId(), OpenMode::Read);
        for (ObjectId id : ms->entityIds()) {
            ObjectPtr<host::db::Entity> e(id, OpenMode::Write);
            e->erase();
        }
    }
}

TEST_F(OffsetCommand, SquareGrowsWithRoundCornersAndOtherPicksAskAgain) {
    // a line is no contour: the prompt comes again, and the square picked next is offset
    Add(std::make_unique<host::db::Line>(host::ge::Point3d{100, 0, 0}, host::ge::Point3d{200, 0, 0}));
    auto square = std::make_unique<host::db::LwPolyline>();
    const host::ge::Point2d corners[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    for (unsigned i = 0; i < 4; ++i) square->addVertexAt(i, corners[i]);
    square->setClosed(true);
    const ObjectId picked = Add(std::move(square));
    Answers({"1", "150,0", "5,0", ""});
    TestContourOffset(State(), kOffsetOutward);
    int lines = 0, arcs = 0;
    ObjectPtr<host::db::BlockTableRecord> ms(Current().modelSpaceId(), OpenMode::Read);
    bool past = false;
    for (ObjectId id : ms->entityIds()) {
        if (past) {
            ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
            lines += std::string(e->dxfName()) == "LINE" ? 1 : 0;
            arcs += std::string(e->dxfName()) == "ARC" ? 1 : 0;
            EXPECT_EQ(e->colorIndex(), 6);
        }
        past = past || id == picked;
    }
    EXPECT_EQ(lines, 4);
    EXPECT_EQ(arcs, 4);
    const std::string text = host::ed::transcript().text();
    std::size_t prompts = 0;
    for (std::size_t at = text.find("Select an object: "); at != std::string::npos;
         at = text.find("Select an object: ", at + 1))
        ++prompts;
    EXPECT_EQ(prompts, 3u) << text;
}

}  // namespace
}  // namespace drawing_testing
