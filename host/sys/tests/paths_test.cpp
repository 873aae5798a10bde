// Path texts with either separator, the drawing lookup rule, and the install and temp folders.
#include "host/sys/paths.h"

#include <gtest/gtest.h>

#include "host/sys/folders.h"
#include "host/sys/tests/scoped_environment.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::sys {
namespace {

TEST(Paths, SplitAtEitherSeparator) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
        const char* stem;
        const char* extension;
    };
    const Case cases[] = {
        {"C:\\Parts\\plate.dwg", "C:\\Parts\\", "plate.dwg", "plate", ".dwg"},
        {"/home/a/plate.DXF", "/home/a/", "plate.DXF", "plate", ".DXF"},
        {"jobs\\2026/sheet.v2.nst", "jobs\\2026/", "sheet.v2.nst", "sheet.v2", ".nst"},
        {"plate", "", "plate", "plate", ""},
        {"C:\\Post\\", "C:\\Post\\", "", "", ""},
        {"a.b\\noext", "a.b\\", "noext", "noext", ""},
        {"/x/.profile", "/x/", ".profile", ".profile", ""},
        {"arc.", "", "arc.", "arc", "."},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(folderOf(c.path), c.folder);
        EXPECT_EQ(fileNameOf(c.path), c.name);
        EXPECT_EQ(stemOf(c.path), c.stem);
        EXPECT_EQ(extensionOf(c.path), c.extension);
    }
}

TEST(Paths, JoinKeepsTheFoldersSeparator) {
    EXPECT_EQ(joinPath("C:\\Jobs", "a.nst"), "C:\\Jobs\\a.nst");
    EXPECT_EQ(joinPath("C:\\Jobs\\", "\\a.nst"), "C:\\Jobs\\a.nst");
    EXPECT_EQ(joinPath("/tmp", "a.nst"), "/tmp/a.nst");
    EXPECT_EQ(joinPath("data", "block/10x5.dxf"), "data/block/10x5.dxf");
    EXPECT_EQ(joinPath("", "a.nst"), "a.nst");
    EXPECT_EQ(withTrailingSeparator("C:\\Post"), "C:\\Post\\");
    EXPECT_EQ(withTrailingSeparator("/opt/k/"), "/opt/k/");
    EXPECT_EQ(withTrailingSeparator(""), "");
    EXPECT_EQ(replaceExtension("a\\b.dwg", ".dxf"), "a\\b.dxf");
    EXPECT_EQ(replaceExtension("a/b", ".nc"), "a/b.nc");
    EXPECT_EQ(replaceExtension("a.b/c.MXT", ""), "a.b/c");
    EXPECT_EQ(toNativePath("data\\block\\10x5.dxf"), std::filesystem::path("data/block/10x5.dxf"));
}

TEST(Paths, DrawingLookupFallsBackFromDwgToDxf) {
    testing::ScratchFolder dir;
    const std::string folder = dir.path().string();
    testing::writeBytes(dir / "plate.dxf", "");
    testing::writeBytes(dir / "both.dwg", "");
    testing::writeBytes(dir / "both.dxf", "");
    testing::writeBytes(dir / "UPPER.DXF", "");
    struct Case {
        std::string stored;
        std::filesystem::path expected;
    };
    const Case cases[] = {
        {folder + "\\plate.dwg", dir / "plate.dxf"},  // backslashes and the fallback together
        {folder + "/plate.DWG", dir / "plate.dxf"},   // any case of the stored extension
        {folder + "/both.dwg", dir / "both.dwg"},     // the .dwg file exists: it is used
        {folder + "/UPPER.DWG", dir / "UPPER.DXF"},   // only the upper-case .DXF exists
        {folder + "/gone.dwg", dir / "gone.dxf"},     // neither: the .dxf name, for the caller's message
        {folder + "/part.dxf", dir / "part.dxf"},     // other names are returned as they are
        {folder + "/notes.txt", dir / "notes.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(resolveDrawingPath(c.stored), c.expected) << c.stored;
}

using testing::ScopedEnvironment;

TEST(Folders, InstallFolderPrecedence) {
    ScopedEnvironment noVariable(kInstallFolderVariable, nullptr);
    setInstallFolder({});
    EXPECT_EQ(installFolder(), std::filesystem::path(KESTRION_SOURCE_DIR) / "data");
    {
        ScopedEnvironment variable(kInstallFolderVariable, "/opt/kestrion/");
        EXPECT_EQ(installFolder(), "/opt/kestrion");
        setInstallFolder("/from/command/line");  // cadhost --install beats the environment
        EXPECT_EQ(installFolder(), "/from/command/line");
        setInstallFolder({});
        EXPECT_EQ(installFolder(), "/opt/kestrion");
    }
    ScopedEnvironment empty(kInstallFolderVariable, "");
    EXPECT_EQ(installFolder(), std::filesystem::path(KESTRION_SOURCE_DIR) / "data");
}

TEST(Folders, TempFolderPrecedence) {
    ScopedEnvironment temp("TEMP", "/t1/");
    ScopedEnvironment tmpdir("TMPDIR", "/t2");
    EXPECT_EQ(tempFolder(), "/t1");
    {
        ScopedEnvironment emptyTemp("TEMP", "");
        EXPECT_EQ(tempFolder(), "/t2");
        ScopedEnvironment noTmpdir("TMPDIR", nullptr);
        EXPECT_EQ(tempFolder(), "/tmp");
    }
}

}  // namespace
}  // namespace host::sys
