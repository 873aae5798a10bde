// Part library insertion: a template part lands as plain geometry at its own coordinates, an item is dragged and
// turned into place, and FILEDIA comes back whatever happens.
#include "laser/drawing/part_library_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cadlib/host_variables.h"
#include "host/ed/sysvars.h"
#include "host/sys/folders.h"
#include "laser/drawing/tests/drawing_commands_fixture.h"

namespace {

namespace fs = std::filesystem;
using host::db::ObjectId;
using host::ge::Point3d;

class PartLibraryTest : public drawing_testing::OpenedDrawingTest {
protected:
    void SetUp() override {
        OpenedDrawingTest::SetUp();
        installFolder_ = settings().DirInstall;
        settings().DirInstall = host::sys::installFolder().string();
        SetSysVarInt("FILEDIA", 1);
        SetSysVarInt("CONSTRAINTBARMODE", 1);
    }
    void TearDown() override {
        settings().DirInstall = installFolder_;
        OpenedDrawingTest::TearDown();
    }

public:
    std::string Template(const std::string& name) {
        return (host::sys::installFolder() / "Templates" / name).string();
    }
    std::size_t Live(const std::string& dxfName) {
        std::size_t n = 0;
        for (const ObjectId id : ModelSpace()) n += Open<host::db::Entity>(id)->dxfName() == dxfName;
        return n;
    }

private:
    std::string installFolder_;
};

TEST_F(PartLibraryTest, TemplatePartLandsExplodedAtItsOwnCoordinates) {
    Answer({"file " + Template("Flange.dxf")});
    Run("InsertPartLib");
    EXPECT_EQ(Live("INSERT"), 0u) << Transcript();
    // The flange: its rim, its bore and six bolt holes, the rim's lower-left corner on 0,0.
    EXPECT_EQ(Live("CIRCLE"), 8u) << Transcript();
    const auto box = BoxOfLayer("0");
    ASSERT_TRUE(box);
    EXPECT_NEAR(box->min.x, 0.0, 1e-9);
    EXPECT_NEAR(box->min.y, 0.0, 1e-9);
    EXPECT_NEAR(box->max.x, 120.0, 1e-9);
    EXPECT_EQ(host::ed::getShort("FILEDIA"), 1);
    EXPECT_EQ(host::ed::getShort("CONSTRAINTBARMODE"), 0);
    EXPECT_EQ(drawing_testing::Count(Transcript(), "Load template part"), 1u);
}

TEST_F(PartLibraryTest, CancelOrAFileTheHostCannotInsertChangesNothing) {
    const fs::path broken = fs::temp_directory_path() / "part_library_broken.dxf";
    {
        std::ofstream out(broken);
        out << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n";
    }
    for (const std::string& answer : {std::string("file cancel"), "file " + broken.string()}) {
        Answer({answer});
        Run("InsertPartLib");
        Answer({answer});
        Run("InsertItemLib");
        EXPECT_TRUE(ModelSpace().empty()) << answer;
        EXPECT_EQ(host::ed::getShort("FILEDIA"), 1) << answer;
        EXPECT_EQ(host::ed::getShort("CONSTRAINTBARMODE"), 1) << answer;
    }
    fs::remove(broken);
}

TEST_F(PartLibraryTest, ItemIsDraggedTurnedAndExploded) {
    // The groove is a slot 40 long along x about its base point; turned by 90 degrees at 50,60 it stands upright.
    Answer({"file " + (host::sys::installFolder() / "Templates" / "Items" / "Groove.dxf").string(), "50,60",
            "50,70"});
    Run("InsertItemLib");
    EXPECT_EQ(Live("INSERT"), 0u) << Transcript();
    const auto box = BoxOfLayer("0");
    ASSERT_TRUE(box) << Transcript();
    EXPECT_NEAR(box->min.x, 45.0, 1e-9);
    EXPECT_NEAR(box->max.x, 55.0, 1e-9);
    EXPECT_NEAR(box->min.y, 40.0, 1e-9);
    EXPECT_NEAR(box->max.y, 80.0, 1e-9);
    EXPECT_EQ(host::ed::getShort("FILEDIA"), 1);
    EXPECT_EQ(host::ed::getShort("CONSTRAINTBARMODE"), 0);
}

TEST_F(PartLibraryTest, EscDuringTheTurnLeavesNoTraceOfTheItem) {
    Answer({"file " + (host::sys::installFolder() / "Templates" / "Items" / "Hole.dxf").string(), "50,60", "^C"});
    Run("InsertItemLib");
    EXPECT_TRUE(ModelSpace().empty()) << Transcript();
    EXPECT_EQ(host::ed::getShort("FILEDIA"), 1);
    EXPECT_EQ(host::ed::getShort("CONSTRAINTBARMODE"), 1) << "nothing was placed";
}

}  // namespace
