// cadhost run as a user runs it: open, save and render the sample; read the saved file back with our reader and
// with an independent one; the picture's rules on a fixture; every way a run can fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

namespace {

namespace fs = std::filesystem;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::UnwritableFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;
const fs::path kSample = kSource / "examples" / "plate.dxf";
const fs::path kFixtures = kSource / "tests" / "e2e" / "fixtures";

using e2e::cadhost;
using e2e::count;
using e2e::quoted;
using e2e::RunResult;
using e2e::runCommand;

// What ezdxf, an independent reader, sees in a file: the DXF types of model space, sorted, one per line.
RunResult ezdxfModelSpace(const fs::path& file, const ScratchFolder& folder) {
    const std::string script =
        "import sys, ezdxf\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "print('\\n'.join(sorted(e.dxftype() + ' ' + e.dxf.layer for e in doc.modelspace())))\n";
    return runCommand("/usr/bin/python3 -c " + quoted(script) + " " + quoted(file.string()), folder);
}

// Model-space entities of a drawing read by our reader, by DXF name, and their handles.
struct Contents {
    std::map<std::string, int> kinds;
    std::vector<std::string> handles;
};
Contents contentsOf(const host::db::Database& db) {
    Contents c;
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    if (!ms) return c;
    for (host::db::ObjectId id : ms->entityIds()) {
        const host::db::DbObject* e = db.peek(id);
        ++c.kinds[e->dxfName()];
        c.handles.push_back(e->handle().text());
    }
    return c;
}

// Drawings as other CAD programs write them (the DXF reader's fixtures of writer habits) opened in cadhost and
// saved: ezdxf finds every entity with its layer, colour, text and geometry, every layer and block, as before.
// Left out: the DOS866 file (ezdxf 0.18 does not know that code page), the file that reuses handles (ezdxf keeps
// only the last object of a handle) and the periodic splines of knots that do not fit (ezdxf's audit deletes them).
TEST(Cadhost, DrawingsOfOtherProgramsComeBackWhole) {
    ScratchFolder folder;
    const fs::path habits = kSource / "host" / "dxf" / "tests" / "fixtures" / "habits";
    std::string pairs;
    std::vector<std::string> expected;
    for (const auto& entry : fs::directory_iterator(habits)) {
        const fs::path file = entry.path();
        const std::string name = file.filename().string();
        if (file.extension() != ".dxf" || name == "codepage_dos866.dxf" || name == "reused_handle.dxf" ||
            name == "spline_periodic_n_plus_1.dxf" || name == "spline_periodic_other_knots.dxf")
            continue;
        const fs::path saved = folder / name;
        const RunResult r = cadhost({file.string(), "--save", saved.string()}, folder);
        ASSERT_EQ(r.status, 0) << name << r.err << r.out;
        pairs += " " + quoted(file.string()) + " " + quoted(saved.string());
        expected.push_back("same " + file.string() + "\n");
    }
    ASSERT_FALSE(expected.empty());
    const RunResult compare = runCommand(
        "/usr/bin/python3 " + quoted((kSource / "host" / "dxf" / "tests" / "ezdxf_compare.py").string()) + pairs,
        folder);
    EXPECT_EQ(compare.status, 0) << compare.out << compare.err;
    for (const std::string& line : expected) EXPECT_EQ(count(compare.out, line), 1u) << compare.out;
}

TEST(Cadhost, OpensSavesAndRendersTheSample) {
    ScratchFolder folder;
    const fs::path saved = folder / "plate.dxf", picture = folder / "plate.svg";
    const RunResult r = cadhost({kSample.string(), "--save", saved.string(), "--svg", picture.string()}, folder);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("saved " + saved.string()), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("rendered " + picture.string() + ": 9 entities drawn"), std::string::npos) << r.out;

    // Our reader: the same entities with the same handles as the sample.
    host::dxf::ReadResult original = host::dxf::readDxfFile(kSample);
    host::dxf::ReadResult reread = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(original) << original.error;
    ASSERT_TRUE(reread) << reread.error;
    const Contents before = contentsOf(*original.database), after = contentsOf(*reread.database);
    EXPECT_EQ(after.kinds, (std::map<std::string, int>{{"CIRCLE", 2}, {"LINE", 4}, {"LWPOLYLINE", 1},
                                                         {"POLYLINE", 1}, {"TEXT", 1}}));
    EXPECT_EQ(after.handles, before.handles);

    // The independent reader opens what we wrote and sees the same model space as in the sample.
    const RunResult mine = ezdxfModelSpace(saved, folder);
    const RunResult theirs = ezdxfModelSpace(kSample, folder);
    ASSERT_EQ(mine.status, 0) << mine.err;
    EXPECT_EQ(mine.out, theirs.out);
    EXPECT_NE(mine.out.find("LWPOLYLINE 0"), std::string::npos) << mine.out;

    // The picture: outline with its rounded corner, two holes, the slot's arcs, dashed centre lines, the note.
    const std::string svg = readBytes(picture);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("viewBox=\"-10 -130 220 140\""), std::string::npos) << "extents 200 x 120, 5 % margin";
    EXPECT_NE(svg.find("<path d=\"M 0 0 L 200 0 L 200 -100 A 20 20 0 0 0 180 -120 L 0 -120 L 0 0 Z\""),
              std::string::npos);
    EXPECT_EQ(count(svg, "<circle cx=\"35\" cy="), 2u);
    EXPECT_EQ(count(svg, " r=\"8\""), 2u);
    EXPECT_NE(svg.find("<path d=\"M 90 -52 L 150 -52 A 8 8 0 0 0 158 -60 A 8 8 0 0 0 150 -68 L 90 -68 "
                       "A 8 8 0 0 0 82 -60 A 8 8 0 0 0 90 -52 Z\""),
              std::string::npos);
    EXPECT_EQ(count(svg, "stroke=\"#ff0000\" stroke-dasharray=\"3.175 0.635 0.635 0.635\""), 4u)
        << "centre lines: layer CENTER, red, line type CENTER";
    EXPECT_NE(svg.find(">PLATE 200x120 S235 t=3</text>"), std::string::npos);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST(Cadhost, SavingTwiceGivesTheSameFile) {
    // Reading what we wrote and writing it again changes nothing: no value drifts, nothing is lost or added.
    ScratchFolder folder;
    const fs::path first = folder / "first.dxf", second = folder / "second.dxf";
    ASSERT_EQ(cadhost({kSample.string(), "--save", first.string()}, folder).status, 0);
    const RunResult r = cadhost({first.string(), "--save", second.string()}, folder);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(second), readBytes(first));
    // Saving a drawing over the file it was read from.
    const RunResult over = cadhost({second.string(), "--save", second.string()}, folder);
    ASSERT_EQ(over.status, 0) << over.err;
    EXPECT_EQ(readBytes(second), readBytes(first));
}

// A drawing kept in a shared folder and named by a symbolic link: saving used to replace the link by a plain
// file and leave the drawing it named old. The link stays, and the file it names holds the drawing saved.
TEST(Cadhost, SavingOntoALinkWritesTheFileItNames) {
    ScratchFolder folder;
    fs::create_directory(folder / "shared");
    const fs::path direct = folder / "direct.dxf", real = folder / "shared" / "plate.dxf", link = folder / "plate.dxf";
    writeBytes(real, "the old drawing");
    fs::create_symlink("shared/plate.dxf", link);
    ASSERT_EQ(cadhost({kSample.string(), "--save", direct.string()}, folder).status, 0);
    const RunResult r = cadhost({kSample.string(), "--save", link.string()}, folder);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(real), readBytes(direct));
}

TEST(Cadhost, PictureHidesInvisibleEntitiesAndLayersOffOrFrozen) {
    ScratchFolder folder;
    const fs::path picture = folder / "visibility.svg";
    const RunResult r = cadhost({(kFixtures / "visibility.dxf").string(), "--svg", picture.string()}, folder);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2 entities drawn, 3 hidden"), std::string::npos) << r.out;
    const std::string svg = readBytes(picture);
    EXPECT_EQ(count(svg, "stroke=\"#ff0000\""), 1u) << "the red line";
    EXPECT_EQ(count(svg, "#ff00ff"), 0u) << "the invisible magenta line";
    EXPECT_EQ(count(svg, "#0000ff"), 0u) << "the circle on the layer that is off";
    EXPECT_EQ(count(svg, "#00ffff"), 0u) << "the line on the frozen layer";
    // DASHED is 1.27 dash, 0.254 gap; the line's own scale of 2 doubles it.
    EXPECT_NE(svg.find("stroke=\"#00ff00\" stroke-dasharray=\"2.54 0.508\""), std::string::npos) << svg;
}

TEST(Cadhost, WithoutADrawingSavesANewEmptyOne) {
    ScratchFolder folder;
    const fs::path saved = folder / "new.dxf";
    const RunResult r = cadhost({"--save=" + saved.string()}, folder);
    ASSERT_EQ(r.status, 0) << r.err;
    host::dxf::ReadResult reread = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(reread) << reread.error;
    EXPECT_TRUE(contentsOf(*reread.database).handles.empty());
    const RunResult ez = ezdxfModelSpace(saved, folder);
    EXPECT_EQ(ez.status, 0) << ez.err;
    EXPECT_EQ(ez.out, "\n");
}

TEST(Cadhost, MistakesAndFailuresAreToldWithAStatus) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int status;
        std::string message;  // a part of the error output
    };
    const std::string missing = (kFixtures / "no-such-drawing.dxf").string();
    const std::string malformed = (kFixtures / "malformed_number.dxf").string();
    const std::string truncated = (kFixtures / "truncated.dxf").string();
    const std::string badRegistry = (kFixtures / "malformed.reg").string();
    const Case cases[] = {
        {"missing drawing", {missing}, 1, "cadhost: cannot open " + missing + ": no such file"},
        {"folder for a drawing", {kFixtures.string()}, 1, "it is a folder, not a drawing"},
        {"malformed number", {malformed}, 1, "cadhost: cannot open drawing: " + malformed + ", line 10:"},
        {"truncated file", {truncated}, 1, "cadhost: cannot open drawing: " + truncated + ", line "},
        {"unknown option", {"--frobnicate"}, 2, "cadhost: unknown option --frobnicate\nTry 'cadhost --help'."},
        {"missing value", {kSample.string(), "--save"}, 2, "cadhost: --save needs a value"},
        {"empty value", {"--svg="}, 2, "cadhost: --svg needs a value"},
        {"option twice", {"--save", "a.dxf", "--save", "b.dxf"}, 2, "cadhost: --save is given twice"},
        {"empty module name", {"--load", "laser,,nesting"}, 2, "--load needs module names separated by commas"},
        {"missing script", {"--script", missing}, 1, "cadhost: cannot read " + missing + ": no such file"},
        {"missing module", {"--load", "nosuchmodule"}, 1, "cadhost: cannot load module \"nosuchmodule\": "},
        {"a drawing for a module", {"--load", kSample.string()}, 1, "cadhost: cannot load module \"plate\": "},
        {"module folder missing", {"--module-folder", missing}, 2,
         "cadhost: --module-folder: " + missing + " is not a folder"},
        {"open-with twice", {"--open-with", "a", "--open-with=b"}, 2, "cadhost: --open-with is given twice"},
        {"install folder missing", {"--install", missing}, 2, "cadhost: --install: " + missing + " is not a folder"},
        {"install folder is a file", {"--install", kSample.string()}, 2, " is not a folder"},
        {"malformed registry", {kSample.string(), "--registry", badRegistry}, 1,
         "cadhost: registry not read: " + badRegistry + ":4:"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        std::vector<std::string> args = c.args;
        const fs::path target = folder / "out.dxf";
        if (c.status == 1) args.insert(args.end(), {"--save", target.string()});
        const RunResult r = cadhost(args, folder);
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.what << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.what;
        EXPECT_FALSE(fs::exists(target)) << c.what << ": nothing is saved when a drawing fails to open";
    }
}

TEST(Cadhost, RegistryFileIsReadAndLeftAlone) {
    // A registry that reads well, or is not there yet, lets the run go on; neither is written by a run that
    // changes no setting, and the malformed one is not written over.
    ScratchFolder folder;
    const fs::path good = folder / "good.reg", absent = folder / "absent.reg";
    const std::string goodText =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
        "\"Unit\"=\"mm\"\r\n";
    writeBytes(good, goodText);
    const std::string badBefore = readBytes(kFixtures / "malformed.reg");
    EXPECT_EQ(cadhost({"--registry", good.string()}, folder).status, 0);
    EXPECT_EQ(cadhost({"--registry", absent.string()}, folder).status, 0);
    EXPECT_EQ(cadhost({"--registry", (kFixtures / "malformed.reg").string()}, folder).status, 1);
    EXPECT_EQ(readBytes(good), goodText);
    EXPECT_FALSE(fs::exists(absent));
    EXPECT_EQ(readBytes(kFixtures / "malformed.reg"), badBefore);
}

TEST(Cadhost, InstallFolderIsTaken) {
    ScratchFolder folder;
    const RunResult r = cadhost({"--install", folder.path().string(), kSample.string()}, folder);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

TEST(Cadhost, HelpPrintsTheUsage) {
    ScratchFolder folder;
    const RunResult r = cadhost({"--help"}, folder);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: cadhost [DRAWING.dxf ...]", 0), 0u) << r.out;
    // The modules that are built are named, and the way to the command list is told.
    for (const char* module : {"laser", "nesting", "panelboot"}) EXPECT_NE(r.out.find(module), std::string::npos);
    EXPECT_NE(r.out.find("HELP"), std::string::npos) << r.out;
    const RunResult version = cadhost({"--version"}, folder);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("cadhost Kestrion ", 0), 0u) << version.out;
}

// A DWG drawing was refused as "NUL byte in the file (is it a binary file?)", which sent users looking for damage.
TEST(Cadhost, ADwgDrawingIsToldToBeSavedAsDxf) {
    ScratchFolder folder;
    host::sys::testing::writeBytes(folder / "part.dwg", std::string("AC1032\0\0\0\0\0\x01", 13));
    const RunResult r = cadhost({(folder / "part.dwg").string()}, folder);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("this is a DWG drawing, and DWG is not read here: save it as DXF"), std::string::npos)
        << r.err;
}

// A save beyond the file size limit (ulimit -f) ended cadhost by SIGXFSZ without a word, leaving a hidden
// temporary file beside the drawing; so did a save killed on the way. The save now fails with a message and keeps
// the old file, and the next save removes the leftovers of its own drawing.
TEST(Cadhost, ASaveBeyondTheSizeLimitIsToldAndLeavesNothingBehind) {
    ScratchFolder folder;
    const fs::path target = folder / "plate.dxf";
    writeBytes(target, "the old drawing");
    std::string command = "ulimit -f 1; exec " + quoted(CADHOST_EXE);
    for (const std::string& a : {kSample.string(), std::string("--save"), target.string()}) command += " " + quoted(a);
    const RunResult r = runCommand(command, folder);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("cadhost: cannot save " + target.string() + ": "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
    EXPECT_EQ(readBytes(target), "the old drawing");

    // What a save killed by kill -9 leaves: removed by the next save of that drawing, and only that.
    writeBytes(folder / ".plate.dxf.tmp-k9Zq0X", std::string(100000, 'x'));
    writeBytes(folder / ".other.dxf.tmp-k9Zq0X", "another drawing's");
    ASSERT_EQ(cadhost({kSample.string(), "--save", target.string()}, folder).status, 0);
    EXPECT_FALSE(fs::exists(folder / ".plate.dxf.tmp-k9Zq0X"));
    EXPECT_TRUE(fs::exists(folder / ".other.dxf.tmp-k9Zq0X"));
    EXPECT_TRUE(host::dxf::readDxfFile(target));
}

TEST(Cadhost, AFailedSaveLeavesTheOldFile) {
    ScratchFolder folder;
    const fs::path locked = folder / "locked";
    fs::create_directory(locked);
    const fs::path target = locked / "plate.dxf";
    writeBytes(target, "the old drawing");
    RunResult r;
    {
        UnwritableFolder guard(locked);
        if (!guard.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
        r = cadhost({kSample.string(), "--save", target.string()}, folder);
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cadhost: cannot save " + target.string() + ": "), std::string::npos) << r.err;
    EXPECT_EQ(readBytes(target), "the old drawing");
    EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 1)
        << "no temporary file is left beside it";

    // A picture that cannot be written fails the same way.
    const RunResult svg = cadhost({kSample.string(), "--svg", (folder / "no-folder" / "x.svg").string()}, folder);
    EXPECT_EQ(svg.status, 1);
    EXPECT_NE(svg.err.find("cadhost: cannot write "), std::string::npos) << svg.err;
}

}  // namespace
