// ZOOM, REGEN, REGENALL, POINT, RECTANGLE, -BOUNDARY, the clipboard commands, -GROUP, MENULOAD and MENUUNLOAD,
// WSCURRENT, as modules and scripts run them.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/ed/commands/clipboard.h"
#include "host/ed/commands/group_edit.h"
#include "host/ed/commands/menu_model.h"
#include "host/ed/display.h"
#include "host/sys/folders.h"
#include "host/sys/number_text.h"
#include "host/sys/tests/scratch_folder.h"
#include "host_command_support.h"

namespace host::ed::testing {
namespace {

using db::ObjectId;
using db::RTERROR;
using db::RTNORM;

using ViewCommands = HostCommandTest;
using DrawCommands = HostCommandTest;
using ClipboardCommands = HostCommandTest;
using GroupCommand = HostCommandTest;
using SessionCommands = HostCommandTest;

TEST_F(ViewCommands, ZoomExtentsCentreWindowAndScale) {
    line({0, 0}, {100, 50});
    EXPECT_EQ(run({str("_.zoom"), str("_E")}), RTNORM);
    View v = viewOf(db());
    EXPECT_NEAR(v.center.x, 50, 1e-9);
    EXPECT_NEAR(v.center.y, 25, 1e-9);
    EXPECT_EQ(run({str("_.zoom"), str("_C"), str("10.000000,20.000000"), str("4.000000")}), RTNORM);
    v = viewOf(db());
    EXPECT_NEAR(v.center.x, 10, 1e-9);
    EXPECT_NEAR(v.height, 4, 1e-9);
    EXPECT_EQ(run({str("_.zoom"), str("_C"), str("10,20"), str("2x")}), RTNORM);
    EXPECT_NEAR(viewOf(db()).height, 2, 1e-9);
    EXPECT_EQ(run({str("_.ZOOM"), str("-50,-50"), str("1250,950")}), RTNORM);
    v = viewOf(db());
    EXPECT_NEAR(v.center.x, 600, 1e-9);
    EXPECT_NEAR(v.center.y, 450, 1e-9);
    EXPECT_EQ(run({str("ZOOM"), str("2X")}), RTNORM);
    EXPECT_NEAR(viewOf(db()).center.x, 600, 1e-9);
    EXPECT_NEAR(viewOf(db()).height, v.height / 2, 1e-9);
    EXPECT_EQ(run({str("ZOOM"), str("_W"), str("0,0"), str("10,10")}), RTNORM);
    EXPECT_NEAR(viewOf(db()).center.x, 5, 1e-9);
    EXPECT_EQ(run({str("ZOOM"), str("sideways")}), RTERROR);
    EXPECT_EQ(run({str("ZOOM"), str("_C"), str("0,0"), str("-3")}), RTERROR);
}

TEST_F(ViewCommands, ZoomRunsInsideACommandAndRegenCounts) {
    const int before = regenCount(db());
    EXPECT_EQ(run({str("_.regen")}), RTNORM);
    EXPECT_EQ(run({str("_.regenall")}), RTNORM);
    EXPECT_EQ(regenCount(db()), before + 2);
    // ZOOM typed with "'" at another command's prompt runs there and then; the command goes on.
    const ObjectId a = line({0, 0}, {4, 4});
    script({"'ZOOM", "_E", "0,0"});
    EXPECT_EQ(run({str("MOVE"), name(a), str(""), str("\\"), str("1,1")}), RTNORM);
    EXPECT_NEAR(viewOf(db()).center.x, 2, 1e-9);  // the extents before the move
    EXPECT_EQ(get<db::Line>(a)->start(), ge::Point3d(1, 1, 0));
}

TEST_F(DrawCommands, PointAndRectangleTakeTheCurrentProperties) {
    ASSERT_EQ(setVar("PDMODE", db::ResBuf(db::RTSHORT, 3)), RTNORM);
    EXPECT_EQ(run({str("_.POINT"), str(sys::formatC("%f,%f", 12.5, -3.0))}), RTNORM);
    EXPECT_NE(said().find("PDMODE=3"), std::string::npos) << said();
    EXPECT_EQ(run({str("_.rectangle"), str("0,0"), str("1200,900")}), RTNORM);
    ASSERT_EQ(kinds(), "POINT LWPOLYLINE");
    EXPECT_EQ(get<db::PointEntity>(entities()[0])->position(), ge::Point3d(12.5, -3, 0));
    const auto* r = get<db::LwPolyline>(entities()[1]);
    EXPECT_TRUE(r->isClosed());
    ASSERT_EQ(r->numVerts(), 4u);
    EXPECT_EQ(r->vertices()[1].point, ge::Point2d(1200, 0));
    EXPECT_EQ(r->vertices()[2].point, ge::Point2d(1200, 900));
    EXPECT_EQ(r->layer(), "0");
    // Corners that make no rectangle: refused from arguments, asked again when typed.
    EXPECT_EQ(run({str("_.rectangle"), str("0,0"), str("5,0")}), RTERROR);
    script({"5,0", "5,5"});
    EXPECT_EQ(run({str("RECTANG"), str("0,0"), str("\\")}), RTNORM);
    EXPECT_NE(said().find("The corners make no rectangle"), std::string::npos) << said();
    EXPECT_EQ(entities().size(), 3u);
}

TEST_F(DrawCommands, BoundaryAroundAPointAndNoneFound) {
    square(0, 0, 10, 10);
    EXPECT_EQ(run({str("_.-BOUNDARY"), str(sys::formatC("%.4e,%.4e", 5.0, 5.0)), str("")}), RTNORM);
    EXPECT_EQ(kinds(), "LINE LINE LINE LINE LWPOLYLINE");
    EXPECT_NE(said().find("BOUNDARY created 1 polyline"), std::string::npos) << said();
    EXPECT_EQ(run({str("_.-BOUNDARY"), str("50,50"), str("")}), RTERROR);
    EXPECT_NE(said().find("Valid boundary not found."), std::string::npos) << said();
    EXPECT_EQ(entities().size(), 5u);
}

TEST_F(ClipboardCommands, CutAndPasteMovesTheDrawingWithNewHandles) {
    const ObjectId a = line({10, 10}, {20, 10});
    const ObjectId b = circle({15, 15}, 5);
    const db::Handle ha = a.handle();
    db::EntityName set;
    ASSERT_EQ(ssGet("_X", nullptr, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(run({str("_.CUTCLIP"), {db::RTPICKS, set}, str("")}), RTNORM);
    ssFree(set);
    EXPECT_TRUE(entities().empty());
    EXPECT_EQ(run({str("_.PASTECLIP"), point(0, 0)}), RTNORM);
    ASSERT_EQ(kinds(), "LINE CIRCLE");
    EXPECT_EQ(get<db::Line>(entities()[0])->start(), ge::Point3d(0, 0, 0));  // the lower-left corner lands on 0,0
    EXPECT_EQ(get<db::Circle>(entities()[1])->center(), ge::Point3d(5, 5, 0));
    EXPECT_NE(entities()[0].handle(), ha);
    EXPECT_FALSE(b.isErased() && entities()[1] == b);
    // COPYCLIP leaves the entities where they are.
    EXPECT_EQ(run({str("COPYCLIP"), str("_ALL"), str("")}), RTNORM);
    EXPECT_EQ(entities().size(), 2u);
    clipboard().clear();
    EXPECT_EQ(run({str("_.PASTECLIP"), point(0, 0)}), RTERROR);
}

TEST_F(GroupCommand, ExplodeRenameCreateAndRefusals) {
    const ObjectId a = line({0, 0}, {1, 0});
    EXPECT_EQ(run({str("_.-group"), str("_C"), str("DOROZ_1"), str("path"), name(a), str("")}), RTNORM);
    EXPECT_FALSE(findGroup(db(), "DOROZ_1").isNull());
    EXPECT_EQ(run({str("_.-group"), str("_REN"), str("DOROZ_1"), str("DOROZ_2")}), RTNORM);
    EXPECT_FALSE(findGroup(db(), "DOROZ_2").isNull());
    EXPECT_EQ(run({str("_.-group"), str("_REN"), str("DOROZ_9"), str("DOROZ_3")}), RTERROR);
    EXPECT_NE(said().find("Group \"DOROZ_9\" not found."), std::string::npos) << said();
    EXPECT_EQ(run({str("_.-group"), str("_E"), str("DOROZ_2")}), RTNORM);
    EXPECT_TRUE(findGroup(db(), "DOROZ_2").isNull());
    EXPECT_FALSE(a.isErased());
    EXPECT_EQ(run({str("_.-group"), str("_E"), str("DOROZ_2")}), RTERROR);
}

class SessionCommandsInInstall : public HostCommandTest {
protected:
    void SetUp() override {
        HostCommandTest::SetUp();
        std::filesystem::create_directories(folder / "menus");
        std::filesystem::copy_file(std::filesystem::path(KESTRION_SOURCE_DIR) /
                                       "host/ed/commands/tests/fixtures/kestrion_test.menu",
                                   folder / "menus" / "kestrion.menu");
        sys::setInstallFolder(folder.path());
        menuApplication()->clear();
    }
    void TearDown() override {
        menuApplication()->clear();
        sys::setInstallFolder({});
        HostCommandTest::TearDown();
    }
    sys::testing::ScratchFolder folder;
};

TEST_F(SessionCommandsInInstall, MenuLoadAndUnload) {
    EXPECT_EQ(run({str("_.MENULOAD"), str("kestrion")}), RTNORM);
    ASSERT_NE(menuApplication()->find("KestrionTest"), nullptr);
    EXPECT_EQ(run({str("_.MENULOAD"), str("kestrion")}), RTERROR);  // loaded already
    EXPECT_EQ(run({str("_.MENUUNLOAD"), str("KestrionTest")}), RTNORM);
    EXPECT_EQ(menuApplication()->groupCount(), 0u);
    EXPECT_EQ(run({str("_.MENUUNLOAD"), str("KestrionTest")}), RTERROR);
    EXPECT_EQ(run({str("_.MENULOAD"), str("kestrion_ru")}), RTERROR);
    EXPECT_NE(said().find("Cannot find the menu file \"kestrion_ru\"."), std::string::npos) << said();
    setMenuApplicationAvailable(false);
    EXPECT_EQ(run({str("_.MENULOAD"), str("kestrion")}), RTERROR);
    setMenuApplicationAvailable(true);
}

TEST_F(SessionCommands, WsCurrentKeepsOrSetsTheWorkspace) {
    // What the menu loader sends from its load-drawing handler: one blank, then an empty answer.
    EXPECT_EQ(run({str("_.wscurrent"), str(" "), str("")}), RTNORM);
    EXPECT_EQ(currentWorkspace(), "Drafting");
    EXPECT_EQ(run({str("WSCURRENT"), str("Kestrion Cutting")}), RTNORM);
    EXPECT_EQ(currentWorkspace(), "Kestrion Cutting");
    EXPECT_EQ(run({str("WSCURRENT"), str("Drafting")}), RTNORM);
}

}  // namespace
}  // namespace host::ed::testing
