// Picking and opening an entity with scripted picks, crossing selections with filters, and the diagnostic
// printouts of result-buffer lists, entity data and selection sets.
#include "cadlib/entity_selection.h"
#include "cadlib/messages.h"
#include "cadlib/resbuf_printing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/entities.h"
#include "host/ed/input.h"
#include "host/ed/selection.h"
#include "host/ed/sysvars.h"
#include "host/ed/tests/input_test_drawing.h"
#include "host/ed/transcript.h"

namespace {

using host::db::ObjectId;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::ResBufList;
using host::ge::Point3d;

class EntitySelection : public ::testing::Test {
protected:
    void SetUp() override {
        host::ed::resetSystemVariables();
        host::ed::transcript().clear();
    }
    void TearDown() override {
        host::ed::setInput(nullptr);
        SetLibraryLanguage(Language::English);
        host::ed::resetSystemVariables();
    }
    static void typed(std::vector<std::string> lines) {
        host::ed::setInput(host::ed::ScriptInput::fromLines(std::move(lines)));
    }
    static const std::string& said() { return host::ed::transcript().text(); }
    host::ed::testing::TestDrawing d;
};

TEST_F(EntitySelection, PickAndOpen) {
    const ObjectId line = d.line({0, 0, 0}, {10, 0, 0});
    typed({"5,0"});
    ObjectId id;
    {
        auto entity = SelectAndOpenEntity(id, OpenMode::Write);
        EXPECT_EQ(id, line);
        ASSERT_TRUE(entity);
        EXPECT_EQ(entity->setColorIndex(1), host::db::Status::Ok);
    }
    EXPECT_NE(said().find("Select an object: "), std::string::npos) << said();
    // Esc: nothing picked, nothing open.
    SetLibraryLanguage(Language::Russian);
    typed({"^C"});
    auto none = SelectAndOpenEntity(id, OpenMode::Read);
    EXPECT_TRUE(id.isNull());
    EXPECT_FALSE(none);
    EXPECT_NE(said().find("Выберите объект: "), std::string::npos) << said();
}

TEST_F(EntitySelection, CrossingWithFilter) {
    d.line({0, 0, 0}, {10, 0, 0});
    d.circle({5, 5, 0}, 1);
    const ResBufList lines = {ResBuf(0, "LINE")};
    const ResBufList arcs = {ResBuf(0, "ARC")};
    EXPECT_EQ(SelectCrossing({4, -1, 0}, {6, 6, 0}, lines), host::db::RTNORM);
    EXPECT_EQ(SelectCrossing({4, -1, 0}, {6, 6, 0}, arcs), host::db::RTERROR);
}

TEST_F(EntitySelection, ResbufListPrintout) {
    const ResBufList list = {
        ResBuf(host::db::RTLB),          ResBuf(host::db::RTREAL, 1.5),   ResBuf(host::db::RTSHORT, -3),
        ResBuf(host::db::RTSTR, "abc"),  ResBuf(host::db::RT3DPOINT, Point3d(1, 2, 3)),
        ResBuf(host::db::RTLE),          ResBuf(host::db::RTNONE),        ResBuf(host::db::RTLONG, 7),
    };
    PrintResbufList(list);
    EXPECT_EQ(said(),
              "RTLB=5016      (        - list begin\n"
              "RTREAL=5001    (5001 . 1.500)  - Real number\n"
              "RTSHORT=5003   (5003 . -3)   - Short integer\n"
              "RTSTR=5005     (5005 . \"abc\")   - String\n"
              "RT3DPOINT=5009 (5009 . 1.000 2.000 3.000)   - 3D point - X, Y, and Z\n"
              "RTLE=5017      )        - list end\n"
              "RTNONE=5000    (5000 . Unknown type)   - No result\n");
}

TEST_F(EntitySelection, EntityDataPrintoutByGroupType) {
    const ResBufList list = {
        ResBuf(0, "LINE"), ResBuf(8, "Cut"), ResBuf(10, Point3d(1, 2, 0)), ResBuf(40, 2.25),
        ResBuf(62, 3),     ResBuf(90, 77),   ResBuf(420, 255),               ResBuf(1071, 5),
    };
    PrintEntityData(list);
    EXPECT_EQ(said(),
              "(0 . \"LINE\")\n"
              "(8 . \"Cut\")\n"
              "(10 . 1.000 2.000 0.000)\n"
              "(40 . 2.250)\n"
              "(62 . 3)\n");
}

TEST_F(EntitySelection, SelectionSetPrintout) {
    d.line({0, 0, 0}, {10, 0, 0});
    d.line({0, 5, 0}, {10, 5, 0});
    host::db::EntityName set;
    ASSERT_EQ(host::ed::ssGet("_X", nullptr, nullptr, nullptr, set), host::db::RTNORM);
    PrintSelectionSetData(set);
    host::ed::ssFree(set);
    EXPECT_NE(said().find("index = 0\n(-1 . <Entity name:"), std::string::npos) << said();
    EXPECT_NE(said().find("index = 1\n"), std::string::npos) << said();
    EXPECT_NE(said().find("(0 . \"LINE\")\n"), std::string::npos) << said();
}

}  // namespace
