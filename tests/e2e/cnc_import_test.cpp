// The CNC program import in a cadhost session: programs chosen in the open dialog become drawings beside them
// (ImportCNCDWG) with a log of every file, or are drawn into the current drawing (ImportCNCACAD); hand-written
// programs in the common G-code forms give their geometry; bad programs are told with their line, never drawn
// with a point that is not finite, and the next program is still imported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"
#include "tests/e2e/nested_sheet_session.h"
#include "tests/e2e/path_visits.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace cnc_import_session {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

using host::ge::Point3d;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Runs `script` with the nesting module loaded in English; the current drawing is saved as `saved`.
RunResult RunImport(const ScratchFolder& folder, const std::string& script, const fs::path& saved) {
    const fs::path registry = e2e::writeLanguageRegistry(folder);
    writeBytes(folder / "run.scr", script);
    return cadhost({"--load", NESTING_MODULE, "--registry", registry.string(), "--script",
                    (folder / "run.scr").string(), "--save", saved.string()},
                   folder);
}

// The file dialog's answer for several programs of the folder.
std::string Chosen(const ScratchFolder& folder, const std::vector<std::string>& names) {
    std::string line = "file";
    for (const std::string& name : names) line += " \"" + (folder / name).string() + "\"";
    return line + "\n";
}

std::string Point(const host::ge::Point3d& p) {
    char text[80];
    std::snprintf(text, sizeof text, "%.3f,%.3f", std::round(p.x * 1000) / 1000 + 0.0,
                  std::round(p.y * 1000) / 1000 + 0.0);
    return text;
}

// The drawing's entities in order as "c<colour> L start-end", "c<colour> A centre r start-end" (stored counter-
// clockwise) and "c<colour> C centre r". Every coordinate must be finite.
std::vector<std::string> Entities(const fs::path& drawing) {
    host::dxf::ReadResult read = host::dxf::readDxfFile(drawing);
    EXPECT_TRUE(read) << read.error;
    if (!read) return {};
    const host::db::Database& db = *read.database;
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    std::vector<std::string> out;
    for (host::db::ObjectId id : ms->entityIds()) {
        const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(id));
        const std::string colour = "c" + std::to_string(e->colorIndex()) + " ";
        char radius[40];
        if (const auto* line = dynamic_cast<const host::db::Line*>(e)) {
            EXPECT_TRUE(std::isfinite(line->start().x + line->start().y + line->end().x + line->end().y));
            out.push_back(colour + "L " + Point(line->start()) + "-" + Point(line->end()));
        } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(e)) {
            std::snprintf(radius, sizeof radius, " r%.3f ", arc->radius());
            out.push_back(colour + "A " + Point(arc->center()) + radius + Point(arc->startPoint()) + "-" +
                          Point(arc->endPoint()));
        } else if (const auto* circle = dynamic_cast<const host::db::Circle*>(e)) {
            std::snprintf(radius, sizeof radius, " r%.3f", circle->radius());
            out.push_back(colour + "C " + Point(circle->center()) + radius);
        } else {
            out.push_back(colour + e->className());
        }
    }
    return out;
}

constexpr const char* kSquare =
    "%\r\nO0001\r\nN10 G90 G00 X0 Y0\r\nN20 G00 X10 Y10 ; to start\r\nN30 G01 X20 Y10 F2000\r\nN40 X20 Y20\r\n"
    "N50 X10 Y20\r\nN60 X10 Y10\r\nN70 G00 X60 Y15\r\nN80 G02 X60 Y15 I5 J0\r\nN90 G00 X0 Y0\r\nN100 M30\r\n%\r\n";
constexpr const char* kLeads = "G90\nG00 X5 Y15\nG01 X10 Y15\nG01 X10 Y10\nX20 Y10\nX20 Y20\nX10 Y20\nX10 Y15\n"
                               "X12 Y15\nG00 X0 Y0\n";
constexpr const char* kBrackets = "[HEAD] JOB 7\n[MAT] STEEL\n[PCS] 1\n[UNDO] X10000 Y10000\n[LEAD] X12000 Y10000\n"
                                  "[CUT] X20000 Y10000\nX20000 Y20000\nX10000 Y20000\nX10000 Y10000\n[UNDO] X0 Y0\n";

const std::vector<std::string> kSquareEntities = {
    "c3 L 0.000,0.000-10.000,10.000", "c3 L 10.000,10.000-60.000,15.000", "c5 L 10.000,10.000-20.000,10.000",
    "c5 L 20.000,10.000-20.000,20.000", "c5 L 20.000,20.000-10.000,20.000", "c5 L 10.000,20.000-10.000,10.000",
    "c3 L 60.000,15.000-0.000,0.000", "c5 C 65.000,15.000 r5.000"};
// A rapid move is drawn before the contour it finishes.
const std::vector<std::string> kLeadsEntities = {
    "c3 L 0.000,0.000-5.000,15.000",    "c3 L 12.000,15.000-0.000,0.000",   "c5 L 5.000,15.000-10.000,15.000",
    "c5 L 10.000,15.000-10.000,10.000", "c5 L 10.000,10.000-20.000,10.000", "c5 L 20.000,10.000-20.000,20.000",
    "c5 L 20.000,20.000-10.000,20.000", "c5 L 10.000,20.000-10.000,15.000", "c5 L 10.000,15.000-12.000,15.000"};

TEST(CncImportSession, ProgramsBecomeDrawingsBesideThemWithALogOfEveryFile) {
    ScratchFolder folder;
    writeBytes(folder / "square.iso", kSquare);
    writeBytes(folder / "leads.cnc", kLeads);
    writeBytes(folder / "bad.tap", std::string("\x7f" "ELF\x02\x01\x01\0\0\0garbage", 17));
    const RunResult r = RunImport(folder,
                                  "ImportCNCDWG\n" + Chosen(folder, {"square.iso", "leads.cnc", "bad.tap"}) +
                                      "N\n1\n1.0\nmsgbox OK\n",
                                  folder / "current.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(Has(r.out, "Import CNC programs in DWG")) << r.out;
    EXPECT_TRUE(Has(r.out, "File create - " + (folder / "square.dxf").string())) << r.out;
    EXPECT_TRUE(Has(r.out, "Error open file - " + (folder / "bad.tap").string())) << r.out;
    EXPECT_EQ(Entities(folder / "square.dxf"), kSquareEntities);
    EXPECT_EQ(Entities(folder / "leads.dxf"), kLeadsEntities);
    EXPECT_FALSE(fs::exists(folder / "bad.dxf"));
    // The program that could not be read left the drawing of the one before.
    EXPECT_EQ(Entities(folder / "current.dxf"), kLeadsEntities);
    const std::string log = readBytes(folder / "Import_ISO_DWG.log");
    EXPECT_TRUE(Has(log, "+   FileCreate " + (folder / "square.iso").string() + "\r\n")) << log;
    EXPECT_TRUE(Has(log, "+   FileCreate " + (folder / "leads.cnc").string() + "\r\n")) << log;
    EXPECT_TRUE(Has(log, "-    ErrorOpen " + (folder / "bad.tap").string() + " (")) << log;
    EXPECT_TRUE(Has(log, "\r\n           End !!!\r\n")) << log;
}

TEST(CncImportSession, LeadsDroppedAndAProgramDrawnIntoTheCurrentDrawing) {
    ScratchFolder folder;
    writeBytes(folder / "leads.cnc", kLeads);
    writeBytes(folder / "brackets.tap", kBrackets);
    // A scale of 0 or below is refused at its prompt, and asked again.
    const RunResult r = RunImport(folder,
                                  "ImportCNCDWG\n" + Chosen(folder, {"leads.cnc"}) + "Y\n1\n\n" +
                                      "ImportCNCACAD\n" + Chosen(folder, {"brackets.tap"}) + "N\n0\n0\n-5\n1000\n",
                                  folder / "current.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(Entities(folder / "leads.dxf"),
              (std::vector<std::string>{"c5 L 10.000,15.000-10.000,10.000", "c5 L 10.000,10.000-20.000,10.000",
                                        "c5 L 20.000,10.000-20.000,20.000", "c5 L 20.000,20.000-10.000,20.000",
                                        "c5 L 10.000,20.000-10.000,15.000"}));
    EXPECT_TRUE(Has(r.out, "Value must be positive and not zero")) << r.out;
    EXPECT_EQ(Entities(folder / "current.dxf"),
              (std::vector<std::string>{"c3 L 0.000,0.000-10.000,10.000", "c3 L 10.000,10.000-0.000,0.000",
                                        "c5 L 10.000,10.000-12.000,10.000", "c5 L 12.000,10.000-20.000,10.000",
                                        "c5 L 20.000,10.000-20.000,20.000", "c5 L 20.000,20.000-10.000,20.000",
                                        "c5 L 10.000,20.000-10.000,10.000"}));
    EXPECT_FALSE(fs::exists(folder / "brackets.dxf")) << "ImportCNCACAD saves nothing";
}

// Before: the programs were drawn in the drawing the user had open, which kept its file name: CLOSE with Enter
// then wrote the last program's geometry over the user's part, and unsaved changes to it were erased. The import
// now works in a drawing of its own that belongs to the last program's drawing file (QSAVE right after the import
// writes that file again, never the user's).
TEST(CncImportSession, TheDrawingOpenBeforeTheImportKeepsItsContentAndItsFile) {
    const fs::path plate = fs::path(KESTRION_SOURCE_DIR) / "examples" / "plate.dxf";
    struct Case {
        const char* what;
        std::string before;  // lines run on the user's drawing before the import
        std::string closing;  // the answers that close both drawings
        std::size_t entities; // the user's drawing as saved at the end
    };
    const std::size_t all = Entities(plate).size();
    const std::vector<Case> cases{
        {"untouched", "", "CLOSE\noptional No\nCLOSE\n", all},
        {"with an unsaved change", "ERASE\n60,100\n\n", "CLOSE\noptional No\nCLOSE\n\n", all - 1},
        {"saved with QSAVE after the import", "ERASE\n60,100\n\n", "QSAVE\nCLOSE\noptional No\nQSAVE\n", all - 1},
        // ImportCNCACAD draws the program in place of the drawing's content: the drawing then belongs to no file.
        {"a program drawn into it, CLOSE and Enter", "ImportCNCACAD\nCHOSEN\nN\n1\n\n",
         "CLOSE\noptional No\nCLOSE\n\nDIR/drawn.dxf\n", all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        fs::copy_file(plate, folder / "plate.dxf");
        writeBytes(folder / "square.iso", kSquare);
        const fs::path registry = e2e::writeLanguageRegistry(folder);
        std::string script = c.before + "ImportCNCDWG\nCHOSEN\nN\n1\n\n" + c.closing;
        for (const auto& [mark, text] : {std::pair<std::string, std::string>{"CHOSEN\n", Chosen(folder, {"square.iso"})},
                                         {"DIR", folder.path().string()}})
            for (std::size_t at = script.find(mark); at != std::string::npos; at = script.find(mark, at + text.size()))
                script.replace(at, mark.size(), text);
        writeBytes(folder / "run.scr", script);
        const RunResult r = cadhost({(folder / "plate.dxf").string(), "--load", NESTING_MODULE, "--registry",
                                     registry.string(), "--script", (folder / "run.scr").string()},
                                    folder);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_FALSE(Has(r.out, "Save changes to plate.dxf? [Yes/No] <Yes>: optional No")) << r.out;
        EXPECT_EQ(Entities(folder / "square.dxf"), kSquareEntities);
        const std::vector<std::string> mine = Entities(folder / "plate.dxf");
        EXPECT_EQ(mine.size(), c.entities) << r.out;
        EXPECT_EQ(std::count(mine.begin(), mine.end(), kSquareEntities.back()), 0) << r.out;
    }
}

TEST(CncImportSession, HandWrittenProgramsGiveTheirGeometry) {
    struct Program {
        const char* name;
        const char* text;
        std::vector<std::string> entities;
    };
    const Program programs[] = {
        {"slot_ij.nc",
         "%\nO100 (SLOT 10 X 10)\nN1 G21 G90 G40\nN2 G0 X0 Y0\nN3 G1 X10 Y0 F1000 (bottom edge)\nN4 G2 X10 Y-10 I0 J-5\n"
         "N5 G1 X0\nN6 G2 X0 Y0 I0 J5\nN7 M30\n%\n",
         {"c5 L 0.000,0.000-10.000,0.000", "c5 A 10.000,-5.000 r5.000 10.000,-10.000-10.000,0.000",
          "c5 L 10.000,-10.000-0.000,-10.000", "c5 A 0.000,-5.000 r5.000 0.000,0.000-0.000,-10.000"}},
        {"arcs_r.nc", "G0 X0 Y0\nG1 X10 Y0\nG3 X20 Y10 R10\nG2 X30 Y0 R-10\nG0 X0 Y0\n",
         {"c3 L 30.000,0.000-0.000,0.000", "c5 L 0.000,0.000-10.000,0.000",
          "c5 A 10.000,10.000 r10.000 10.000,0.000-20.000,10.000",
          "c5 A 30.000,10.000 r10.000 30.000,0.000-20.000,10.000"}},
        // G91 holds until G90, as RS274 controllers read it; lower-case letters are addresses.
        {"modal.tap", "G0 X0 Y0\nG1 X5 Y5\nX10\nG91 Y5\nX=-10 Y=0\ng90 x0 y0\nF500\nM30\n",
         {"c5 L 0.000,0.000-5.000,5.000", "c5 L 5.000,5.000-10.000,5.000", "c5 L 10.000,5.000-10.000,10.000",
          "c5 L 10.000,10.000-0.000,10.000", "c5 L 0.000,10.000-0.000,0.000"}},
        // Forms the import does not know are told with their line and not drawn: an arc without a centre, and a
        // G92 after which the position is unknown until a line gives both axes again.
        {"unknown.iso", "G0 X0 Y0\nG1 X10 Y0\nG2 X20 Y0\nG1 X30 Y0\nG92 X0 Y0\nG1 X40 Y0\nG1 X40 Y10\n",
         {"c5 L 0.000,0.000-10.000,0.000", "c5 L 20.000,0.000-30.000,0.000", "c5 L 40.000,0.000-40.000,10.000"}},
    };
    ScratchFolder folder;
    std::vector<std::string> names;
    for (const Program& p : programs) {
        writeBytes(folder / p.name, p.text);
        names.push_back(p.name);
    }
    const RunResult r = RunImport(folder, "ImportCNCDWG\n" + Chosen(folder, names) + "N\n1\n\n", folder / "last.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    for (const Program& p : programs) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(Entities(folder / (fs::path(p.name).stem().string() + ".dxf")), p.entities);
    }
    const std::string unknown = (folder / "unknown.iso").string();
    EXPECT_TRUE(Has(r.out, "Line 3 of " + unknown + " is not read: the arc has no centre")) << r.out;
    EXPECT_TRUE(Has(r.out, "Line 5 of " + unknown + " is not read: G92 is not known to the import")) << r.out;
}

TEST(CncImportSession, BadProgramsAreToldAndTheNextIsStillImported) {
    ScratchFolder folder;
    writeBytes(folder / "cut_short.iso", "G0 X0 Y0\nG1 X10 Y0\nG1 X10 Y10\nG2 X");
    writeBytes(folder / "long_line.iso",
               "G0 X0 Y0\nG1 X10 Y0\nG1 X" + std::string(100000, '5') + "\nG1 X10 Y10\nG1 X0 Y10\n");
    writeBytes(folder / "huge.iso", "G0 X0 Y0\nG1 X10 Y0\nG1 X1e300 Y0\nG1 X10 Y10\nG1 Xnan Y5\nG1 X0 Y10\n"
                                    "G1 X0 Y0\n");
    std::mt19937 random(26);
    std::string binary, noise;
    for (int i = 0; i < 4000; ++i) binary += static_cast<char>(random() % 256);
    binary[100] = '\0';
    for (int i = 0; i < 4000; ++i) noise += static_cast<char>(1 + random() % 255);
    writeBytes(folder / "garbage.bin", binary);
    writeBytes(folder / "noise.tap", noise);
    writeBytes(folder / "good.iso", "G0 X0 Y0\nG1 X5 Y0\n");
    const std::vector<std::string> names = {"cut_short.iso", "long_line.iso", "huge.iso",
                                            "garbage.bin",   "noise.tap",     "good.iso"};
    const RunResult r =
        RunImport(folder, "ImportCNCDWG\n" + Chosen(folder, names) + "N\n1\n\nmsgbox OK\n", folder / "last.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const auto told = [&](const char* name, int line, const std::string& why) {
        return Has(r.out, "Line " + std::to_string(line) + " of " + (folder / name).string() + " is not read: " + why);
    };
    EXPECT_TRUE(told("cut_short.iso", 4, "an address has no number")) << r.out;
    EXPECT_TRUE(told("long_line.iso", 3, "it is longer than 1024 characters")) << r.out;
    EXPECT_TRUE(told("huge.iso", 3, "a coordinate lies beyond 1e9 drawing units")) << r.out;
    EXPECT_TRUE(told("huge.iso", 5, "an address has no number, or one that is no finite number")) << r.out;
    EXPECT_TRUE(Has(r.out, "Error open file - " + (folder / "garbage.bin").string())) << r.out;
    EXPECT_TRUE(Has(r.out, "it holds a NUL byte, so it is no text file")) << r.out;

    EXPECT_EQ(Entities(folder / "cut_short.dxf"),
              (std::vector<std::string>{"c5 L 0.000,0.000-10.000,0.000", "c5 L 10.000,0.000-10.000,10.000"}));
    // Nothing is drawn from a point the line not read left unknown.
    EXPECT_EQ(Entities(folder / "long_line.dxf"),
              (std::vector<std::string>{"c5 L 0.000,0.000-10.000,0.000", "c5 L 10.000,10.000-0.000,10.000"}));
    EXPECT_EQ(Entities(folder / "huge.dxf"),
              (std::vector<std::string>{"c5 L 0.000,0.000-10.000,0.000", "c5 L 0.000,10.000-0.000,0.000"}));
    EXPECT_EQ(Entities(folder / "good.dxf"), std::vector<std::string>{"c5 L 0.000,0.000-5.000,0.000"});
    EXPECT_FALSE(fs::exists(folder / "garbage.dxf"));
    // Every drawing written holds finite points within the import's bound (Entities checks them finite).
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        if (entry.path().extension() != ".dxf") continue;
        host::dxf::ReadResult read = host::dxf::readDxfFile(entry.path());
        ASSERT_TRUE(read) << read.error;
        const Point3d low = read.database->extMin(), high = read.database->extMax();
        EXPECT_LE(std::max({std::abs(low.x), std::abs(low.y), std::abs(high.x), std::abs(high.y)}), 4e9)
            << entry.path();
    }
    const std::string log = readBytes(folder / "Import_ISO_DWG.log");
    for (const std::string& name : names) {
        EXPECT_TRUE(Has(log, " " + (folder / name).string())) << name << "\n" << log;
    }
    EXPECT_TRUE(Has(log, "+   FileCreate " + (folder / "good.iso").string() + "\r\n")) << log;
    EXPECT_TRUE(Has(log, "+   FileCreate " + (folder / "huge.iso").string() + " (2 lines not read)\r\n")) << log;
}

TEST(CncImportSession, SharedDrawingNamesAndProgramsWithoutCuttingMoves) {
    ScratchFolder folder;
    fs::create_directories(folder / "v1.2");
    writeBytes(folder / "v1.2" / "a.iso", "G0 X0 Y0\nG1 X1 Y0\n");
    writeBytes(folder / "v1.2" / "a.cnc", "G0 X0 Y0\nG1 X2 Y0\n");
    writeBytes(folder / "v1.2" / "prog", "G0 X0 Y0\nG1 X3 Y0\n");
    writeBytes(folder / "v1.2" / "rapids.tap", "G0 X10 Y10\nG0 X20 Y0\n");
    const fs::path dir = folder / "v1.2";
    const RunResult r = RunImport(folder,
                                  "ImportCNCDWG\nfile \"" + (dir / "a.iso").string() + "\" \"" +
                                      (dir / "a.cnc").string() + "\" \"" + (dir / "prog").string() + "\" \"" +
                                      (dir / "rapids.tap").string() + "\"\nN\n1\n\n",
                                  folder / "last.dxf");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(Entities(dir / "a.dxf"), std::vector<std::string>{"c5 L 0.000,0.000-1.000,0.000"});
    EXPECT_EQ(Entities(dir / "a_2.dxf"), std::vector<std::string>{"c5 L 0.000,0.000-2.000,0.000"});
    // A program without an extension in a folder with a point: the drawing stays in its folder.
    EXPECT_EQ(Entities(dir / "prog.dxf"), std::vector<std::string>{"c5 L 0.000,0.000-3.000,0.000"});
    EXPECT_FALSE(fs::exists(folder / "v1.dxf"));
    EXPECT_FALSE(fs::exists(dir / "rapids.dxf"));
    EXPECT_TRUE(Has(r.out, "saved as " + (dir / "a_2.dxf").string())) << r.out;
    EXPECT_TRUE(Has(r.out, "Nothing to save - " + (dir / "rapids.tap").string() + " has no cutting move")) << r.out;
    const std::string log = readBytes(dir / "Import_ISO_DWG.log");
    EXPECT_TRUE(Has(log, "+   FileCreate " + (dir / "a.cnc").string() + " (saved as " + (dir / "a_2.dxf").string()))
        << log;
    EXPECT_TRUE(Has(log, "- NothingToSave " + (dir / "rapids.tap").string() + "\r\n")) << log;
}

// [SECTION] Round trip: the programs our NCCreate writes, imported back.

// A line or an arc (counter-clockwise from start to end about its centre), or a circle (centre and radius).
struct Piece {
    char kind = 'L';
    Point3d start, end, centre;
    double radius = 0.0;
};

bool SameLine(const Piece& a, const Piece& b) {
    return (e2e::near(a.start, b.start) && e2e::near(a.end, b.end)) ||
           (e2e::near(a.start, b.end) && e2e::near(a.end, b.start));
}
bool SameCircle(const Piece& a, const Piece& b) {
    return e2e::near(a.centre, b.centre) && std::abs(a.radius - b.radius) < 2e-3;
}
bool SameArc(const Piece& a, const Piece& b) {
    return SameCircle(a, b) && e2e::near(a.start, b.start) && e2e::near(a.end, b.end);
}

Piece Of(const host::db::Entity* e) {
    Piece p;
    if (const auto* line = dynamic_cast<const host::db::Line*>(e)) {
        p.start = line->start();
        p.end = line->end();
    } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(e)) {
        p = {'A', arc->startPoint(), arc->endPoint(), arc->center(), arc->radius()};
    } else if (const auto* circle = dynamic_cast<const host::db::Circle*>(e)) {
        p = {'C', {}, {}, circle->center(), circle->radius()};
    } else {
        p.kind = '?';
    }
    return p;
}

// The cutting pieces of a drawing's path groups (lines drawn CONTINUOUS, and arcs).
std::vector<Piece> PathCuts(const host::db::Database& db) {
    std::vector<Piece> cuts;
    const auto* groups = dynamic_cast<const host::db::Dictionary*>(db.peek(db.groupDictionaryId()));
    for (int n = 1; groups != nullptr; ++n) {
        const host::db::ObjectId id = groups->getAt("DOROZ_" + std::to_string(n));
        if (id.isNull()) break;
        for (host::db::ObjectId m : dynamic_cast<const host::db::Group*>(db.peek(id))->allEntityIds()) {
            const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(m));
            const Piece p = Of(e);
            if (p.kind == 'A' || (p.kind == 'L' && host::sys::equalsNoCase(e->linetype(), "CONTINUOUS"))) {
                cuts.push_back(p);
            }
        }
    }
    return cuts;
}

// The imported drawing's cutting pieces (colour 5).
std::vector<Piece> ImportedCuts(const host::db::Database& db, int& rapids) {
    std::vector<Piece> cuts;
    rapids = 0;
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    for (host::db::ObjectId id : ms->entityIds()) {
        const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(id));
        if (e->colorIndex() == 5) cuts.push_back(Of(e));
        rapids += e->colorIndex() == 3 ? 1 : 0;
    }
    return cuts;
}

std::string Describe(const Piece& p) {
    return std::string(1, p.kind) + " " + Point(p.start) + "-" + Point(p.end) + " c" + Point(p.centre) + " r" +
           std::to_string(p.radius);
}

// Every cutting piece of the imported drawing lies on the path the program was written from, within the program's
// precision (a full circle on the path's two half circles), and every piece of the path is imported.
void ExpectImportFollowsThePath(const fs::path& imported, const fs::path& pathDrawing) {
    host::dxf::ReadResult path = host::dxf::readDxfFile(pathDrawing);
    host::dxf::ReadResult back = host::dxf::readDxfFile(imported);
    ASSERT_TRUE(path) << path.error;
    ASSERT_TRUE(back) << back.error;
    const std::vector<Piece> cuts = PathCuts(*path.database);
    int rapids = 0;
    const std::vector<Piece> got = ImportedCuts(*back.database, rapids);
    ASSERT_GT(cuts.size(), 10u);
    EXPECT_GT(rapids, 0);
    for (const Piece& p : got) {
        bool found = false;
        for (const Piece& c : cuts) {
            found = found || (p.kind == 'L' && c.kind == 'L' && SameLine(p, c)) ||
                    (p.kind == 'A' && c.kind == 'A' && SameArc(p, c)) ||
                    (p.kind == 'C' && c.kind == 'A' && SameCircle(p, c));
        }
        EXPECT_TRUE(found) << "imported " << Describe(p) << " is not on the path";
    }
    for (const Piece& c : cuts) {
        bool found = false;
        for (const Piece& p : got) {
            found = found || (p.kind == 'L' && c.kind == 'L' && SameLine(p, c)) ||
                    (p.kind == 'A' && c.kind == 'A' && SameArc(p, c)) ||
                    (p.kind == 'C' && c.kind == 'A' && SameCircle(p, c));
        }
        EXPECT_TRUE(found) << "the path's " << Describe(c) << " was not imported";
    }
}

std::string PostRegistry(const std::string& postprocessor) {
    return std::string("Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                       "\"LangMenu\"=\"EN\"\r\n\"Postprocessor\"=\"") +
           postprocessor + "\"\r\n";
}

const fs::path kSource = KESTRION_SOURCE_DIR;
constexpr const char* kPostprocessors[] = {"FANUC.MXT", "LINUXCNC_PLASMA.MXT", "LINUXCNC_WATERJET.MXT"};

// Imports `program` (mode 1: our postprocessors give the centre from the start) beside itself; answers the run.
RunResult ImportBack(const ScratchFolder& folder, const fs::path& program) {
    writeBytes(folder / "import.scr", "ImportCNCDWG\nfile \"" + program.string() + "\"\nN\n1\n\n");
    return cadhost({"--load", NESTING_MODULE, "--registry", (folder / "registry.reg").string(), "--script",
                    (folder / "import.scr").string()},
                   folder);
}

// One run for every shipped postprocessor.
class CncImportRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(CncImportRoundTrip, TheSamplePlatesProgramImportsOntoItsPath) {
    const char* post = GetParam();
    {
        ScratchFolder folder;
        fs::copy_file(kSource / "examples/plate.dxf", folder / "plate.dxf");
        writeBytes(folder / "registry.reg", PostRegistry(post));
        writeBytes(folder / "run.scr", readBytes(kSource / "examples/plate_path.scr"));
        const RunResult made = cadhost({(folder / "plate.dxf").string(), "--load", "laser", "--install",
                                        (kSource / "data").string(), "--registry", (folder / "registry.reg").string(),
                                        "--script", (folder / "run.scr").string(), "--save",
                                        (folder / "saved.dxf").string()},
                                       folder);
        ASSERT_EQ(made.status, 0) << made.err << made.out;
        fs::path program;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            if (entry.path().stem() == "plate" && entry.path().extension() != ".dxf") program = entry.path();
        }
        ASSERT_FALSE(program.empty()) << made.out;
        const RunResult r = ImportBack(folder, program);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_FALSE(Has(r.out, "is not read")) << r.out;
        // The program "plate.nc" is saved as "plate.dxf", beside the drawing it was made from (kept as .bak).
        EXPECT_TRUE(fs::exists(folder / "plate.bak"));
        ExpectImportFollowsThePath(folder / "plate.dxf", folder / "saved.dxf");
    }
}

TEST_P(CncImportRoundTrip, ANestedSheetsProgramImportsOntoItsPath) {
    ScratchFolder folder;
    const RunResult made = e2e::cutNestedSheet(folder, PostRegistry(GetParam()), folder / "path.dxf");
    ASSERT_EQ(made.status, 0) << made.err << made.out;
    const RunResult r = ImportBack(folder, folder / "sheet.nc");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_FALSE(Has(r.out, "is not read")) << r.out;
    ExpectImportFollowsThePath(folder / "sheet.dxf", folder / "path.dxf");
}

INSTANTIATE_TEST_SUITE_P(EveryPostprocessor, CncImportRoundTrip, ::testing::ValuesIn(kPostprocessors),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace cnc_import_session
