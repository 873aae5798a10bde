// The NC programs of every shipped postprocessor, run through LinuxCNC's own G-code interpreter (rs274 from
// Debian's linuxcnc-uspace, installed by scripts/setup): the program must run without an error, and the canonical
// moves the interpreter makes of it must trace the drawing's path groups. Before, the laser postprocessor switched
// the beam with M07/M08 (mist and flood coolant to such a controller) and left the kerf uncompensated.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/nested_sheet_session.h"
#include "tests/e2e/path_visits.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace rs274_program_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using e2e::Visit;
using host::ge::Point3d;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;
const fs::path kInterpreter = "/usr/bin/rs274";

// The kerf of the interpreter's tool 1 (D01 in the programs): 0.2 mm, written in inches as its tool table wants.
constexpr double kKerf = 0.2;
constexpr const char* kToolTable = "T1 P1 D0.007874 ;kerf 0.2 mm\n";
// A compensated point lies half a kerf off the drawn path; an outside corner is rounded within that, and an inside
// corner (a lead-in meeting its hole at a right angle) moves the point by half a kerf over the sine of half the
// angle: a whole kerf covers corners down to 60 degrees.
constexpr double kTraceTolerance = kKerf;

// The end points of the interpreter's canonical moves, in order: STRAIGHT_TRAVERSE a rapid, STRAIGHT_FEED and
// ARC_FEED a cut (their first two arguments are X and Y of the end).
std::vector<Visit> canonicalMoves(const std::string& text) {
    std::vector<Visit> moves;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        for (const char* call : {"STRAIGHT_TRAVERSE(", "STRAIGHT_FEED(", "ARC_FEED("}) {
            const std::size_t at = line.find(call);
            if (at == std::string::npos) continue;
            const char* p = line.c_str() + at + std::string(call).size();
            char* end = nullptr;
            const double x = std::strtod(p, &end);
            const double y = std::strtod(end + 1, nullptr);
            moves.push_back({Point3d(x, y, 0), std::string(call) != "STRAIGHT_TRAVERSE("});
        }
    }
    return moves;
}

// Every point of the path is reached in order by a move of the same kind, within the tolerance; moves between
// them (the rounded corners of the compensated path) are allowed. Answers the first point not reached, or "".
std::string traceFault(const std::vector<Visit>& path, const std::vector<Visit>& moves) {
    std::size_t m = 0;
    for (std::size_t k = 0; k < path.size(); ++k) {
        while (m < moves.size() &&
               !(moves[m].cutting == path[k].cutting && e2e::near(moves[m].at, path[k].at, kTraceTolerance)))
            ++m;
        if (m == moves.size()) {
            std::ostringstream why;
            why << "path point " << k + 1 << " (" << path[k].at.x << "," << path[k].at.y
                << (path[k].cutting ? ", cut" : ", rapid") << ") is not reached in order";
            return why.str();
        }
        ++m;
    }
    return {};
}

// Runs `program` through the interpreter and checks its canonical moves against the path groups of the drawing
// saved as `drawing`: no error, the kerf compensated, the beam switched with M03/M05 and not as coolant, and every
// point of the path reached in order.
void ExpectRunsAndTracesThePath(const ScratchFolder& folder, const fs::path& program, const fs::path& drawing) {
    writeBytes(folder / "tool.tbl", kToolTable);
    const std::string canonical = (folder / "canonical.txt").string();
    const RunResult run = e2e::runInterpreter(kInterpreter.string(),
                                              "-g -t " + e2e::quoted((folder / "tool.tbl").string()) + " " +
                                                  e2e::quoted(program.string()) + " " + e2e::quoted(canonical),
                                              folder);
    const std::string moves = readBytes(canonical);
    ASSERT_EQ(run.status, 0) << run.out << run.err << moves << readBytes(program);
    EXPECT_NE(moves.find("cutter radius compensation on"), std::string::npos) << "the kerf is compensated";
    EXPECT_NE(moves.find("START_SPINDLE_CLOCKWISE"), std::string::npos) << "the beam goes on with M03";
    EXPECT_EQ(moves.find("MIST_ON"), std::string::npos) << moves;
    EXPECT_EQ(moves.find("FLOOD_ON"), std::string::npos) << moves;

    host::dxf::ReadResult read = host::dxf::readDxfFile(drawing);
    ASSERT_TRUE(read) << read.error;
    int circles = 0;
    const std::vector<Visit> path = e2e::pathVisits(*read.database, circles, true);
    ASSERT_GT(path.size(), 10u);
    EXPECT_EQ(traceFault(path, canonicalMoves(moves)), "") << moves;
}

// How the interpreter's canonical calls switch the tools: the marks (feed moves with the scribe's output 0 on) and
// what is wrong: a mark with the torch or jet on, a cut with the scribe on, or a feed move after the torch went on
// before a dwell let it pierce. Answers "" when nothing is wrong.
std::string toolFault(const std::string& canonical, int& marks) {
    std::istringstream in(canonical);
    bool tool = false, scribe = false, pierced = true;
    marks = 0;
    for (std::string line; std::getline(in, line);) {
        const auto has = [&](const char* call) { return line.find(call) != std::string::npos; };
        if (has("START_SPINDLE_CLOCKWISE")) {
            tool = true;
            pierced = false;
        }
        if (has("STOP_SPINDLE_TURNING")) tool = false;
        if (has("SET_AUX_OUTPUT_BIT(0)")) scribe = true;
        if (has("CLEAR_AUX_OUTPUT_BIT(0)")) scribe = false;
        if (has("DWELL(")) pierced = true;
        if (!has("STRAIGHT_FEED(") && !has("ARC_FEED(")) continue;
        if (tool && scribe) return "the scribe marks with the tool on: " + line;
        if (tool && !pierced) return "a cut before the pierce dwell: " + line;
        if (scribe) ++marks;
    }
    return {};
}

std::string Registry(const std::string& postprocessor) {
    return std::string("Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                       "\"LangMenu\"=\"EN\"\r\n\"Postprocessor\"=\"") +
           postprocessor + "\"\r\n";
}

TEST(Rs274Programs, EveryShippedPostprocessorRunsInLinuxCncAndTracesThePath) {
    if (!fs::exists(kInterpreter)) GTEST_SKIP() << "rs274 (linuxcnc-uspace) is not installed; scripts/setup installs it";
    for (const char* post : {"FANUC.MXT", "LINUXCNC_PLASMA.MXT", "LINUXCNC_WATERJET.MXT"}) {
        SCOPED_TRACE(post);
        ScratchFolder folder;
        fs::copy_file(kSource / "examples/plate.dxf", folder / "plate.dxf");
        writeBytes(folder / "registry.reg", Registry(post));
        writeBytes(folder / "run.scr", readBytes(kSource / "examples/plate_path.scr"));
        const RunResult r = cadhost({(folder / "plate.dxf").string(), "--load", "laser", "--install",
                                     (kSource / "data").string(), "--registry", (folder / "registry.reg").string(),
                                     "--script", (folder / "run.scr").string(), "--save",
                                     (folder / "saved.dxf").string()},
                                    folder);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        fs::path program;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            if (entry.path().stem() == "plate" && entry.path().extension() != ".dxf") program = entry.path();
        }
        ASSERT_FALSE(program.empty()) << r.out;
        ExpectRunsAndTracesThePath(folder, program, folder / "saved.dxf");
        if (std::string(post) != "FANUC.MXT") {
            // The plate's engraved name is marked with the scribe's output, never with the torch or jet (which
            // would cut the letters through), and every cut waits for its pierce. Before, both marked with M03 and
            // nothing waited.
            int marks = 0;
            EXPECT_EQ(toolFault(readBytes(folder / "canonical.txt"), marks), "");
            EXPECT_GT(marks, 10);
        }
    }
}

// A nested sheet: a job of part drawings made by NCCreateContour is nested, the first sheet drawn, and the
// cutting-path module cuts it as a nesting start and writes its program through each shipped postprocessor.
TEST(Rs274Programs, ANestedSheetsProgramRunsInLinuxCncAndTracesThePath) {
    if (!fs::exists(kInterpreter)) GTEST_SKIP() << "rs274 (linuxcnc-uspace) is not installed; scripts/setup installs it";
    for (const char* post : {"FANUC.MXT", "LINUXCNC_PLASMA.MXT", "LINUXCNC_WATERJET.MXT"}) {
        SCOPED_TRACE(post);
        ScratchFolder folder;
        const RunResult r = e2e::cutNestedSheet(folder, Registry(post), folder / "sheet.dxf");
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        ASSERT_NE(r.out.find("is successfully created"), std::string::npos) << r.out;
        ExpectRunsAndTracesThePath(folder, folder / "sheet.nc", folder / "sheet.dxf");
    }
}

}  // namespace rs274_program_test
