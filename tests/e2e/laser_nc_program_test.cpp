// The whole main road in a cadhost session: a drawing read from DXF, NCCreateContour, NCSliceAuto and NCCreate run
// by a script that answers the save dialog and the program dialog, and the NC program read back: its moves trace
// the saved path groups point by point and in order, the beam is on only while cutting, and each hole is one
// whole-circle block.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "host/sys/text_case.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"
#include "tests/e2e/nested_sheet_session.h"
#include "tests/e2e/path_visits.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace laser_nc_program_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using host::db::ObjectId;
using host::ge::Point3d;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;
using e2e::near;
using e2e::pathVisits;
using e2e::visit;
using e2e::Visit;

const fs::path kSource = KESTRION_SOURCE_DIR;

// The value of the word `letter` in an NC block ("X12.5" in "N40G01 X12.5 Y3"), if the block has one.
bool word(const std::string& block, char letter, double& value) {
    for (std::size_t i = 0; i < block.size(); ++i) {
        if (block[i] != letter) continue;
        char* end = nullptr;
        const double v = std::strtod(block.c_str() + i + 1, &end);
        if (end != block.c_str() + i + 1) {
            value = v;
            return true;
        }
    }
    return false;
}

struct ProgramReading {
    std::vector<Visit> visits;
    int wholeCircles = 0;
    std::vector<std::string> faults;  // moves that contradict the beam state
};

// Reads the moves of a program of the shipped laser postprocessor: modal G00 to G03 and X, Y; M03 the beam on,
// M05 off; a G02 or G03 block that ends where it began is a whole circle.
ProgramReading readProgram(const std::string& text) {
    ProgramReading r;
    std::istringstream in(text);
    std::string block;
    Point3d at;
    int motion = -1;
    bool beam = false;
    while (std::getline(in, block)) {
        if (!block.empty() && block.back() == '\r') block.pop_back();
        if (block.find("M03") != std::string::npos) beam = true;
        if (block.find("M05") != std::string::npos) beam = false;
        double g = 0;
        for (std::size_t i = block.find('G'); i != std::string::npos; i = block.find('G', i + 1)) {
            if (word(block.substr(i), 'G', g) && g >= 0 && g <= 3) motion = static_cast<int>(g);
        }
        double x = at.x, y = at.y;
        const bool hasX = word(block, 'X', x), hasY = word(block, 'Y', y);
        const bool arc = motion == 2 || motion == 3;
        if (!hasX && !hasY && !(arc && block.find('I') != std::string::npos)) continue;
        if (motion == 0 && beam) r.faults.push_back("rapid with the beam on: " + block);
        if (motion >= 1 && !beam) r.faults.push_back("cut with the beam off: " + block);
        const Point3d to(x, y, 0);
        if (arc && near(to, at)) ++r.wholeCircles;
        visit(r.visits, {to, motion >= 1});
        at = to;
    }
    return r;
}

// A drawing of entities only, as plain R12 DXF text: LINE, CIRCLE and POINT entities on their layers.
struct Drawing {
    std::string entities;
    Drawing& line(const char* layer, double x1, double y1, double x2, double y2) {
        entities += "0\nLINE\n8\n" + std::string(layer) + "\n10\n" + num(x1) + "\n20\n" + num(y1) + "\n30\n0\n11\n" +
                    num(x2) + "\n21\n" + num(y2) + "\n31\n0\n";
        return *this;
    }
    // The closed outline through the points, one LINE per side.
    Drawing& outline(const char* layer, const std::vector<Point3d>& points) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Point3d& a = points[i];
            const Point3d& b = points[(i + 1) % points.size()];
            line(layer, a.x, a.y, b.x, b.y);
        }
        return *this;
    }
    Drawing& circle(const char* layer, double x, double y, double r) {
        entities += "0\nCIRCLE\n8\n" + std::string(layer) + "\n10\n" + num(x) + "\n20\n" + num(y) + "\n30\n0\n40\n" +
                    num(r) + "\n";
        return *this;
    }
    Drawing& point(const char* layer, double x, double y) {
        entities += "0\nPOINT\n8\n" + std::string(layer) + "\n10\n" + num(x) + "\n20\n" + num(y) + "\n30\n0\n";
        return *this;
    }
    void write(const fs::path& path) const {
        writeBytes(path, "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n");
    }
    static std::string num(double v) {
        std::ostringstream out;
        out << v;
        return out.str();
    }
};

// Writes `folder`/registry.reg: the module in English, and the settings given as (name, text).
fs::path writeRegistry(const ScratchFolder& folder, const std::vector<std::pair<std::string, std::string>>& values) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                       "\"LangMenu\"=\"EN\"\r\n";
    for (const auto& [name, value] : values) text += "\"" + name + "\"=\"" + value + "\"\r\n";
    const fs::path registry = folder / "registry.reg";
    writeBytes(registry, text);
    return registry;
}

// A cadhost session on `drawing` in `folder` with the laser module, the installation's data, the registry given and
// the script; the drawing is saved as out.dxf.
RunResult runSession(const ScratchFolder& folder, const fs::path& drawing, const fs::path& registry,
                     const std::string& script) {
    writeBytes(folder / "run.scr", script);
    return cadhost({drawing.string(), "--load", "laser", "--install", (kSource / "data").string(), "--registry",
                    registry.string(), "--script", (folder / "run.scr").string(), "--save",
                    (folder / "out.dxf").string()},
                   folder);
}

// The lines of the session's output that hold `what`.
std::vector<std::string> linesWith(const std::string& out, const std::string& what) {
    std::vector<std::string> found;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.find(what) != std::string::npos) found.push_back(line);
    }
    return found;
}

TEST(LaserNcProgram, PlateWithTwoHolesBecomesAProgramThatTracesItsPath) {
    ScratchFolder folder;
    const fs::path drawing = folder / "plate.dxf", saved = folder / "out.dxf";
    fs::copy_file(kSource / "laser/contours/tests/fixtures/plate_two_holes.dxf", drawing);
    // The save dialog proposes plate.nc beside the drawing: Enter takes it. The program dialog gets a name.
    writeBytes(folder / "run.scr", "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set 249 Plate 1\n"
                                   "dlg press OK\n");
    const RunResult r = cadhost({drawing.string(), "--load", "laser", "--install", (kSource / "data").string(),
                                 "--registry", e2e::writeLanguageRegistry(folder).string(), "--script",
                                 (folder / "run.scr").string(), "--save", saved.string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const fs::path program = folder / "plate.nc";
    EXPECT_NE(r.out.find("File " + program.string() + " is successfully created"), std::string::npos) << r.out;
    ASSERT_TRUE(fs::exists(program)) << r.out;
    const std::string text = readBytes(program);
    EXPECT_EQ(text.rfind("%\r\n(PLATE 1 ", 0), 0u) << text;
    EXPECT_NE(text.find("M30\r\n%\r\n"), std::string::npos) << text;

    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(read) << read.error;
    int circles = 0;
    const std::vector<Visit> path = pathVisits(*read.database, circles);
    const ProgramReading nc = readProgram(text);
    EXPECT_TRUE(nc.faults.empty()) << nc.faults.front();
    EXPECT_EQ(circles, 2);
    EXPECT_EQ(nc.wholeCircles, circles) << text;
    ASSERT_EQ(nc.visits.size(), path.size()) << text;
    for (std::size_t k = 0; k < path.size(); ++k) {
        EXPECT_TRUE(near(nc.visits[k].at, path[k].at))
            << "move " << k + 1 << ": the program goes to " << nc.visits[k].at.x << "," << nc.visits[k].at.y
            << ", the path to " << path[k].at.x << "," << path[k].at.y;
        EXPECT_EQ(nc.visits[k].cutting, path[k].cutting) << "move " << k + 1;
    }
}

}  // namespace laser_nc_program_test

namespace laser_nc_program_test {

// A 40 x 30 part with a jumper point in its lower edge: the path crosses the jumper gap and goes home as rapids.
void writeJumperSquare(const fs::path& path) {
    Drawing().outline("0", {{0, 0}, {40, 0}, {40, 30}, {0, 30}}).point("JumperLine", 20, 0).write(path);
}

// Before: a rapid line type that could not be loaded (the setting named one the line-type file lacks) drew the
// rapids Continuous, the program writer took them for cuts, and the jumper gap and the way home were cut with the
// beam on; the time counted them as cuts too; one printed line was the only warning. Now the path itself says
// which moves are rapids: the program and the time are the same as with the line type, and one message box, to be
// answered, names the line type that is missing.
TEST(LaserNcProgram, AMissingRapidLineTypeChangesNeitherTheProgramNorTheTime) {
    struct Run {
        std::string program, statusLine;
        std::vector<std::string> boxes;
    };
    const auto run = [](const std::vector<std::pair<std::string, std::string>>& settings, const std::string& answer) {
        ScratchFolder folder;
        const fs::path drawing = folder / "part.dxf";
        writeJumperSquare(drawing);
        const std::string script = "NCCreateContour\n" + answer + "NCSliceAuto\nMODEMACRO\n\nNCCreate\ndlg ok\n"
                                   "dlg set 249 Part\ndlg press OK\n";
        const RunResult r = runSession(folder, drawing, writeRegistry(folder, settings), script);
        EXPECT_EQ(r.status, 0) << r.err << r.out;
        Run result{readBytes(folder / "part.nc"), {}, linesWith(r.out, "Message box")};
        const std::vector<std::string> status = linesWith(r.out, "Time=");
        if (!status.empty()) result.statusLine = status.back();
        return result;
    };
    const Run good = run({}, "");
    const Run missing = run({{"TypeLineMove", "NoSuchLinetype"}}, "msgbox OK\n");

    EXPECT_TRUE(good.boxes.empty()) << good.boxes.front();
    ASSERT_EQ(missing.boxes.size(), 1u);
    EXPECT_NE(missing.boxes[0].find("NoSuchLinetype"), std::string::npos) << missing.boxes[0];

    ASSERT_FALSE(good.program.empty());
    const ProgramReading nc = readProgram(good.program);
    EXPECT_TRUE(nc.faults.empty()) << nc.faults.front();
    // To the lead-in, across the gap, and home: three rapids.
    EXPECT_EQ(e2e::count(good.program, "G00"), 3u) << good.program;
    EXPECT_EQ(missing.program, good.program);
    EXPECT_FALSE(good.statusLine.empty());
    EXPECT_EQ(missing.statusLine, good.statusLine);
}

// Before: with cutting not starting at home the program began "M03 / G01 ..." and pierced wherever the head
// stood. Now the first block that moves is a rapid to the first lead-in's start, before the beam goes on.
TEST(LaserNcProgram, CuttingThatDoesNotStartAtHomeMovesToTheFirstLeadInBeforeTheBeamGoesOn) {
    ScratchFolder folder;
    const fs::path drawing = folder / "part.dxf";
    writeJumperSquare(drawing);
    const RunResult r = runSession(folder, drawing, writeRegistry(folder, {{"ModeStartPoint", "0"}}),
                                   "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set 249 Part\ndlg press OK\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::string program = readBytes(folder / "part.nc");
    const std::size_t beamOn = program.find("M03");
    ASSERT_NE(beamOn, std::string::npos) << program;
    const std::string before = program.substr(0, beamOn);
    const std::size_t rapid = before.find("G00");
    ASSERT_NE(rapid, std::string::npos) << program;
    const std::string block = before.substr(rapid, before.find('\n', rapid) - rapid);
    double x = 0, y = 0;
    EXPECT_TRUE(word(block, 'X', x) && word(block, 'Y', y)) << block;
    // The beam goes on where the first cut starts: the lead-in's start in the saved path.
    host::dxf::ReadResult read = host::dxf::readDxfFile(folder / "out.dxf");
    ASSERT_TRUE(read) << read.error;
    const auto* groups = dynamic_cast<const host::db::Dictionary*>(read.database->peek(read.database->groupDictionaryId()));
    ASSERT_NE(groups, nullptr);
    const auto* first = dynamic_cast<const host::db::Group*>(read.database->peek(groups->getAt("DOROZ_1")));
    ASSERT_NE(first, nullptr);
    const auto* leadIn = dynamic_cast<const host::db::Line*>(read.database->peek(first->allEntityIds().front()));
    ASSERT_NE(leadIn, nullptr);
    EXPECT_TRUE(near(Point3d(x, y, 0), leadIn->start())) << block;
    const ProgramReading nc = readProgram(program);
    EXPECT_TRUE(nc.faults.empty()) << nc.faults.front();
}

// Before: a heat-treatment line inside a part was given no part around it, so the order reached it only once the
// part had been cut free (group 15 after group 8 in a drawing of every kind). Now, one phase for all, it is done
// before the part's outline, like everything inside a part.
TEST(LaserNcProgram, AHeatTreatmentInsideAPartIsDoneBeforeThePartIsCutFree) {
    ScratchFolder folder;
    const fs::path drawing = folder / "part.dxf";
    Drawing()
        .outline("0", {{0, 0}, {100, 0}, {100, 60}, {0, 60}})
        .line("HeatTreatmentLine", 60, 10, 90, 10)
        .write(drawing);
    const RunResult r = runSession(folder, drawing, writeRegistry(folder, {{"CutEngraveType", "0"}}),
                                   "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set 249 Part\ndlg press OK\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::string program = readBytes(folder / "part.nc");
    const std::size_t heat = program.find("(HEAT TREATMENT)");
    ASSERT_NE(heat, std::string::npos) << program;
    // The beam goes on twice: for the heat treatment first, then for the outline.
    const std::size_t firstOn = program.find("M03");
    EXPECT_EQ(firstOn, heat - 4) << program;
    EXPECT_NE(program.find("M03\r\n", heat), std::string::npos) << program;
    const ProgramReading nc = readProgram(program);
    EXPECT_TRUE(nc.faults.empty()) << nc.faults.front();
}

// Before: a postprocessor whose literal text held ">" (a comment "(T>0)") was refused at load, and no program could
// be written with it. Outside a keyword's brackets ">" is text now, and the comment reaches the program.
TEST(LaserNcProgram, APostprocessorWithAGreaterThanSignInItsTextWritesIt) {
    ScratchFolder folder;
    std::string post = readBytes(kSource / "data/post/FANUC.MXT");
    const std::string on = "<N-CODE>M03<EOB>";
    const std::size_t at = post.find(on);
    ASSERT_NE(at, std::string::npos);
    post.replace(at, on.size(), "<N-CODE>M03 (T>0)<EOB>");
    writeBytes(folder / "COMMENT.MXT", post);
    const fs::path drawing = folder / "part.dxf";
    writeJumperSquare(drawing);
    const RunResult r =
        runSession(folder, drawing,
                   writeRegistry(folder, {{"DirPostprocessor", folder.path().string() + "/"}, {"Postprocessor", "COMMENT.MXT"}}),
                   "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set 249 Part\ndlg press OK\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(r.out.find("Message box"), std::string::npos) << r.out;
    const std::string program = readBytes(folder / "part.nc");
    EXPECT_NE(program.find("M03 (T>0)\r\n"), std::string::npos) << program;
}

// Before: NCCreate on contours without a path asked for a file, wrote a program of header and end only and said it
// was "successfully created". Now it says there is no cutting path, asks nothing and writes nothing.
TEST(LaserNcProgram, NcCreateWithoutACuttingPathWritesNothingAndSaysWhy) {
    ScratchFolder folder;
    const fs::path drawing = folder / "part.dxf";
    writeJumperSquare(drawing);
    const RunResult r = runSession(folder, drawing, writeRegistry(folder, {}), "NCCreateContour\nNCCreate\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("The drawing has no cutting path: no NC program is written."), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("successfully created"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("File dialog"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(folder / "part.nc"));
}

// Before: a feed of 0 typed in the program dialog was taken, and the program had no F word (a controller stops at
// the first cut: "Cannot do g1 with zero feed rate"). Now OK refuses it with the field's message, and the dialog
// stays open for a feed that is.
TEST(LaserNcProgram, AFeedOfZeroIsRefusedByTheProgramDialog) {
    ScratchFolder folder;
    const fs::path drawing = folder / "part.dxf";
    writeJumperSquare(drawing);
    const RunResult r = runSession(folder, drawing, writeRegistry(folder, {}),
                                   "NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\ndlg set \"Cutting feed\" 0\n"
                                   "dlg press OK\nmsgbox OK\ndlg set \"Cutting feed\" 500\ndlg press OK\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("Cutting feed must be greater than 0."), std::string::npos) << r.out;
    const std::string program = readBytes(folder / "part.nc");
    EXPECT_NE(program.find(" F500"), std::string::npos) << program;
    EXPECT_EQ(program.find(" F0"), std::string::npos) << program;
}

// Before: "42.0.0" typed for the cutting feed gave F42 in the program and FeedCut=42 in the registry. A feed whose
// whole text is not one number is refused on OK, the field gets its value back, and a script answers the box.
TEST(LaserNcProgram, AFeedThatIsNotOneWholeNumberIsRefusedByTheProgramDialog) {
    for (const char* typed : {"42.0.0", "", "."}) {
        SCOPED_TRACE(std::string("\"") + typed + "\"");
        ScratchFolder folder;
        const fs::path drawing = folder / "part.dxf";
        writeJumperSquare(drawing);
        const fs::path registry = writeRegistry(folder, {});
        const RunResult r = runSession(folder, drawing, registry,
                                       std::string("NCCreateContour\nNCSliceAuto\nNCCreate\ndlg ok\n"
                                                   "dlg set \"Cutting feed\" \"") + typed +
                                           "\"\ndlg press OK\nmsgbox OK\ndlg set \"Cutting feed\" 500\ndlg press OK\n");
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_NE(r.out.find(std::string("Cutting feed: \"") + typed + "\" is not a number. The field keeps "),
                  std::string::npos)
            << r.out;
        const std::string program = readBytes(folder / "part.nc");
        EXPECT_NE(program.find(" F500"), std::string::npos) << program;
        EXPECT_EQ(program.find(" F42"), std::string::npos) << program;
        EXPECT_EQ(program.find(" F0"), std::string::npos) << program;
    }
}

// Before: a feed typed in the program dialog changed neither the time (the recompute compared the job's feeds, which
// the dialog did not change) nor outlived the next NCSliceAuto (which read the stored settings again). Now the
// time after the dialog is that of the program's feeds, and the feed stays for the next path and program.
TEST(LaserNcProgram, AFeedTypedInTheProgramDialogSetsTheTimeAndStays) {
    ScratchFolder folder;
    const fs::path drawing = folder / "part.dxf";
    writeJumperSquare(drawing);
    const RunResult r = runSession(folder, drawing, writeRegistry(folder, {{"FeedCut", "300"}}),
                                   "NCCreateContour\nNCSliceAuto\nMODEMACRO\n\n"
                                   "NCCreate\ndlg ok\ndlg set \"Cutting feed\" 150\ndlg press OK\nMODEMACRO\n\n"
                                   "NCSliceAuto\nMODEMACRO\n\nNCCreate\ndlg ok\nmsgbox Yes\ndlg press OK\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::vector<std::string> status = linesWith(r.out, "Time=");
    ASSERT_EQ(status.size(), 3u) << r.out;
    const auto seconds = [](const std::string& line) {
        int minutes = 0, rest = 0;
        std::sscanf(line.c_str() + line.find("Time=") + 5, "%dmin%dsec", &minutes, &rest);
        return 60 * minutes + rest;
    };
    // Half the cutting feed: the cutting takes twice as long, the rapids and pierces as before.
    EXPECT_GT(seconds(status[1]), seconds(status[0]) + 20) << status[0] << "\n" << status[1];
    EXPECT_EQ(seconds(status[2]), seconds(status[1])) << "a new path keeps the feed";
    const std::string program = readBytes(folder / "part.nc");
    EXPECT_NE(program.find(" F150"), std::string::npos) << "the second program's dialog proposed it\n" << program;
}

}  // namespace laser_nc_program_test

namespace laser_nc_program_test {

// A job of St37, 3 mm, nested and its first sheet cut at once in the same session (NCCreateContour, NCSliceAuto,
// NCCreate on the sheet just drawn). Before, the program was made for the settings' material: "(SHEET 1 STEEL
// T=1.000)", and only a redraw or a reopen of the sheet gave St37 3 mm.
TEST(LaserNcProgram, ANestedSheetIsCutAsTheJobsMaterial) {
    ScratchFolder folder;
    const RunResult r = e2e::cutNestedSheet(folder,
                                            "Windows Registry Editor Version 5.00\r\n\r\n"
                                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"LangMenu\"=\"EN\"\r\n",
                                            folder / "sheet.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::string program = readBytes(folder / "sheet.nc");
    EXPECT_NE(program.find("(SHEET 1 St37 T=3.000)\r\n"), std::string::npos) << program.substr(0, 200);
}

}  // namespace laser_nc_program_test
