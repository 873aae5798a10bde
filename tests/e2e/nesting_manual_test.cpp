// The manual part commands in a whole cadhost session, as a user corrects a nested sheet by hand: parts of a job
// of ten 100 x 50 plates on a 1000 x 500 sheet are turned by every fixed angle, erased, counted, inserted again
// through the insert dialog, moved exactly and by the engine; picks on empty space, on clamps and Esc ask again or
// end the command cleanly; and an automatic insert onto a full sheet is refused. The sheets are checked by the
// independent overlap test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/number_text.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"
#include "tests/e2e/sheet_overlap.h"

namespace {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::count;
using e2e::RunResult;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

constexpr double kPi = std::numbers::pi;
const std::string kPart = "Part_100x50";

// A job of rectangles as the job dialog writes it (part gap 4, edge offset 10), without rotation rules.
std::string RectangleJob(const std::string& stock, int parts, int sheets = 1) {
    std::vector<std::string> lines{"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10",
                                   "4", "4", "", "", "1", "0", stock, stock, std::to_string(sheets), "0", "1", "", "",
                                   "", "", "",
                                   "1", "0", kPart, kPart, std::to_string(parts), "0", "0", "0", "0", "0", "1",
                                   "0", "", "", "", "", "", "0"};
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

struct Placed {
    std::string block;
    double x = 0.0;
    double y = 0.0;
    double rotation = 0.0;  // radians
};

std::vector<Placed> ReadInserts(const fs::path& saved) {
    std::vector<Placed> out;
    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    if (!read) {
        ADD_FAILURE() << read.error;
        return out;
    }
    const host::db::Database& db = *read.database;
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    for (host::db::ObjectId id : ms->entityIds()) {
        const auto* ref = dynamic_cast<const host::db::BlockReference*>(db.peek(id));
        if (ref == nullptr || ref->isErased()) continue;
        out.push_back({ref->blockName(), ref->position().x, ref->position().y, ref->rotation()});
    }
    return out;
}

std::vector<Placed> PartsOf(const std::vector<Placed>& inserts) {
    std::vector<Placed> parts;
    for (const Placed& p : inserts)
        if (p.block == kPart) parts.push_back(p);
    return parts;
}

// A point on the middle of the plate's own left edge (its 50-long side at x = -50 of the block), where a pick
// hits this plate and nothing nearer.
std::string PickPoint(const Placed& p) {
    return host::sys::formatC("%.6f,%.6f", p.x - 50.0 * std::cos(p.rotation), p.y - 50.0 * std::sin(p.rotation));
}
std::string PickPoint(double x, double y, double degrees) { return PickPoint({kPart, x, y, degrees * kPi / 180.0}); }

class ManualParts : public ::testing::Test {
protected:
    // Runs OpenFileNesting and StartNestingAdv on the job (without `nest` only OpenFileNesting), then `script`;
    // saves the drawing as `saved`.
    RunResult Run(const std::string& job, const std::string& script, const fs::path& saved, bool clamps = false,
                  bool nest = true) {
        writeBytes(folder / "job.nst", job);
        const fs::path registry = e2e::writeLanguageRegistry(folder);
        if (clamps) {
            writeBytes(registry, host::sys::testing::readBytes(registry) +
                                     "\"Nesing_ClampUse\"=\"1\"\r\n\"Nesing_ClampQuantity\"=\"2\"\r\n"
                                     "\"Nesing_ClampWidth\"=\"20\"\r\n\"Nesing_ClampHeight\"=\"10\"\r\n");
        }
        // The job dialog opens on the last job file, and OK takes it.
        std::string lastJob = (folder / "job.nst").string();
        for (std::size_t at = lastJob.find('\\'); at != std::string::npos; at = lastJob.find('\\', at + 2))
            lastJob.insert(at, "\\");
        writeBytes(registry, host::sys::testing::readBytes(registry) + "\"LastFileNesting\"=\"" + lastJob + "\"\r\n");
        writeBytes(folder / "run.scr",
                   std::string("OpenFileNesting\ndlg ok\n") + (nest ? "StartNestingAdv\ndlg ok\n" : "") + script);
        return cadhost({"--load", NESTING_MODULE, "--registry", registry.string(), "--script",
                        (folder / "run.scr").string(), "--save", saved.string()},
                       folder);
    }
    // The plates of the nested sheet as the run leaves it (the run is repeatable: its random numbers start the
    // same in every session), the leftmost lowest first.
    std::vector<Placed> NestedPlates(const std::string& job, bool clamps = false) {
        const RunResult r = Run(job, "", folder / "nested.dxf", clamps);
        EXPECT_EQ(r.status, 0) << r.err << r.out;
        std::vector<Placed> parts = PartsOf(ReadInserts(folder / "nested.dxf"));
        std::sort(parts.begin(), parts.end(), [](const Placed& a, const Placed& b) {
            return std::round(a.x) != std::round(b.x) ? a.x < b.x : a.y < b.y;
        });
        return parts;
    }

    ScratchFolder folder;
};

TEST_F(ManualParts, EveryFixedTurnTurnsThePickedPlateAboutItsInsertionPoint) {
    const std::string job = RectangleJob("Stosk_1000x500", 10);
    const std::vector<Placed> plates = NestedPlates(job);
    ASSERT_EQ(plates.size(), 10u);
    const Placed first = plates[0];
    ASSERT_NEAR(first.rotation, 0.0, 1e-9);

    // Each command turns the plate from where the one before left it; the next pick is on its turned edge, so a
    // wrong angle makes the next pick miss and the chain ends with the plate elsewhere.
    struct Turn {
        const char* command;
        double degrees;
    };
    const Turn turns[] = {{"RotatePart90R", 270}, {"RotatePart90L", 0},  {"RotatePart45L", 45}, {"RotatePart45R", 0},
                          {"RotatePart30L", 30},  {"RotatePart30R", 0},  {"RotatePart10R", 350}, {"RotatePart10L", 0},
                          {"RotatePart5L", 5},    {"RotatePart5R", 0},   {"RotatePart1R", 359},  {"RotatePart1L", 0},
                          {"RotatePart180", 180}, {"RotatePart90L", 270}};
    std::string script;
    double at = 0.0;
    for (const Turn& t : turns) {
        script += std::string(t.command) + "\n" + PickPoint(first.x, first.y, at) + "\n\n";
        at = t.degrees;
    }
    // Four quarter turns to the left bring another plate back to where it was.
    const Placed second = plates[1];
    for (int q = 0; q < 4; ++q) script += "RotatePart90L\n" + PickPoint(second.x, second.y, 90.0 * q) + "\n\n";
    script += "NestInfo\ndlg show\ndlg ok\n";

    const fs::path saved = folder / "turned.dxf";
    const RunResult r = Run(job, script, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    std::vector<Placed> after = PartsOf(ReadInserts(saved));
    ASSERT_EQ(after.size(), 10u) << r.out;
    int turned = 0;
    int back = 0;
    for (const Placed& p : after) {
        if (std::abs(p.x - first.x) < 1e-6 && std::abs(p.y - first.y) < 1e-6) {
            EXPECT_NEAR(p.rotation, 3.0 * kPi / 2.0, 1e-9);
            ++turned;
        }
        if (std::abs(p.x - second.x) < 1e-6 && std::abs(p.y - second.y) < 1e-6) {
            EXPECT_NEAR(std::fmod(p.rotation, 2.0 * kPi), 0.0, 1e-9);
            ++back;
        }
    }
    EXPECT_EQ(turned, 1) << r.out;
    EXPECT_EQ(back, 1) << r.out;
    // An exact turn makes no collision test: the plate turned upright now overlaps its neighbours, and the
    // report still counts all ten on the sheet.
    EXPECT_FALSE(e2e::SheetOverlaps(saved, "Stosk_1000x500").empty());
    EXPECT_NE(r.out.find("Nesting Parts = 10/10"), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "Message box"), 0u) << r.out;
}

TEST_F(ManualParts, EraseQueryInsertAndMoveKeepTheSheetAndTheJobInStep) {
    const std::string job = RectangleJob("Stosk_1000x500", 10);
    const std::vector<Placed> plates = NestedPlates(job);
    ASSERT_EQ(plates.size(), 10u);
    const std::string p0 = PickPoint(plates[0]);
    const std::string p1 = PickPoint(plates[1]);
    const std::string script =
        // Counted, erased, and the second pick on the same place finds nothing there any more.
        "QueryPart\n" + p0 + "\n\nErasePart\n" + p0 + "\n" + p0 + "\n\n" +
        // An insert whose drag is cancelled takes its copy out again.
        "InsertPart\ndlg press 242\n^C\n" + "QueryPart\n" + p1 + "\n\n" +
        "NestInfo\ndlg show\ndlg ok\n"
        // Inserted again by hand, turned by dragging: placed at the origin, dragged to (600, 300), turned to 90
        // degrees about it and dragged on to (650, 300).
        "InsertPart\ndlg ok\n600,300\n600,400\n650,300\n" +
        "QueryPart\n" + PickPoint(650, 300, 90) + "\n\n"
        // All copies placed: the dialog refuses the type and stays open until cancelled.
        "InsertPart\ndlg press 242\nmsgbox OK\ndlg cancel\n"
        // Moved exactly onto a free place, then handed to the engine from there.
        "MovePart\n" + PickPoint(650, 300, 90) + "\n800,400\n\n" +
        "MovePartAutoInPoint\n" + PickPoint(800, 400, 90) + "\n\n" +
        "NestInfo\ndlg show\ndlg ok\n";
    const fs::path saved = folder / "edited.dxf";
    const RunResult r = Run(job, script, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;

    EXPECT_EQ(count(r.out, "Part_100x50=10/10"), 2u) << r.out;
    EXPECT_EQ(count(r.out, "Part_100x50=9/10"), 1u) << r.out;
    const std::size_t erased = r.out.find("Nesting Parts = 9/10");
    EXPECT_NE(erased, std::string::npos) << r.out;
    EXPECT_NE(r.out.find("All details 'Part_100x50' are placed"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Nesting Parts = 10/10", erased), std::string::npos) << r.out;
    // The engine's placement redrew the sheet: ten plates, none at the dropped place any more, none overlapping.
    const std::vector<Placed> after = PartsOf(ReadInserts(saved));
    EXPECT_EQ(after.size(), 10u);
    EXPECT_EQ(count(r.out, "Specify a point: *Cancel*"), 1u) << r.out;
    for (const Placed& p : after) EXPECT_FALSE(std::abs(p.x - 800) < 1e-6 && std::abs(p.y - 400) < 1e-6);
    EXPECT_EQ(e2e::SheetOverlaps(saved, "Stosk_1000x500"), std::vector<std::string>{});
}

TEST_F(ManualParts, DraggedTurnsAndMovesPoseThePlateOrHandItToTheEngine) {
    const std::string job = RectangleJob("Stosk_1000x500", 10);
    const std::vector<Placed> plates = NestedPlates(job);
    ASSERT_EQ(plates.size(), 10u);
    const Placed turned = plates[1];
    const Placed pushed = plates[2];
    const Placed kept = plates[3];
    const std::string script =
        // Turned upright about its insertion point (the angle's point straight above it), then dragged to a free
        // place: posed exactly there.
        "RotatePart\n" + PickPoint(turned) + "\n" + host::sys::formatC("%.6f,%.6f", turned.x, turned.y + 100) +
        "\n700,250\n\n" +
        // Dropped onto another plate: the engine slides it from there to a free place.
        "MovePartAuto\n" + PickPoint(pushed) + "\n" + host::sys::formatC("%.6f,%.6f", plates[0].x, plates[0].y) +
        "\n\n" +
        // Esc at the angle ends the command; the plate keeps its pose.
        "RotatePart\n" + PickPoint(kept) + "\n^C\n" + "NestInfo\ndlg show\ndlg ok\n";
    const fs::path saved = folder / "dragged.dxf";
    const RunResult r = Run(job, script, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const std::vector<Placed> after = PartsOf(ReadInserts(saved));
    ASSERT_EQ(after.size(), 10u) << r.out;
    int upright = 0;
    int stayed = 0;
    for (const Placed& p : after) {
        if (std::abs(p.x - 700) < 1e-6 && std::abs(p.y - 250) < 1e-6) {
            EXPECT_NEAR(p.rotation, kPi / 2, 1e-6);
            ++upright;
        }
        if (std::abs(p.x - kept.x) < 1e-9 && std::abs(p.y - kept.y) < 1e-9 && p.rotation == kept.rotation) ++stayed;
        // nothing lies where the pushed plate was dropped but the plate that was there
        EXPECT_FALSE(std::abs(p.x - plates[0].x) < 1.0 && std::abs(p.y - plates[0].y) < 1.0 &&
                     std::abs(p.x - plates[0].x) + std::abs(p.y - plates[0].y) > 1e-9);
    }
    EXPECT_EQ(upright, 1) << r.out;
    EXPECT_EQ(stayed, 1) << r.out;
    EXPECT_NE(r.out.find("Nesting Parts = 10/10"), std::string::npos) << r.out;
    EXPECT_EQ(e2e::SheetOverlaps(saved, "Stosk_1000x500"), std::vector<std::string>{});
}

TEST_F(ManualParts, MissedPicksClampsAndEscAskAgainOrEndCleanly) {
    const std::string job = RectangleJob("Stosk_1000x500", 10);
    const std::vector<Placed> plates = NestedPlates(job, true);
    ASSERT_EQ(plates.size(), 10u);
    const std::vector<Placed> nested = ReadInserts(folder / "nested.dxf");
    std::vector<Placed> clamps;
    for (const Placed& p : nested)
        if (p.block == "Clamp") clamps.push_back(p);
    ASSERT_EQ(clamps.size(), 2u);
    // A clamp's block stands on its bottom edge's middle: its top edge is 10 above the insertion point.
    const std::string clamp = host::sys::formatC("%.6f,%.6f", clamps[0].x, clamps[0].y + 10.0);
    const std::string p0 = PickPoint(plates[0]);
    const std::string script =
        // Empty space, the stock's edge far from any part, a clamp: each asks again; Esc ends the command.
        "RotatePart90L\n900,450\n" + clamp + "\n^C\n" +
        "MovePart\n" + clamp + "\n\n" +
        // A missed pick followed by Enter ends the command.
        "ErasePart\n900,450\n\n" +
        // Erase and query do not refuse a clamp; a plate picked after it is counted.
        "ErasePart\n" + clamp + "\n\nQueryPart\n" + clamp + "\n" + p0 + "\n\n" + "NestInfo\ndlg show\ndlg ok\n";
    const fs::path saved = folder / "picks.dxf";
    const RunResult r = Run(job, script, saved, true);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("Part_100x50=10/10"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Nesting Parts = 10/10"), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "Message box"), 0u) << r.out;
    // No plate moved or went; ErasePart took the picked clamp's reference off (a clamp stands for an instance
    // too, and the next drawing of the sheet shows it again from the sheet's clamp list).
    const std::vector<Placed> after = ReadInserts(saved);
    EXPECT_EQ(after.size(), nested.size() - 1);
    const std::vector<Placed> platesAfter = PartsOf(after);
    const std::vector<Placed> platesBefore = PartsOf(nested);
    ASSERT_EQ(platesAfter.size(), platesBefore.size());
    for (std::size_t i = 0; i < platesAfter.size(); ++i) {
        EXPECT_NEAR(platesAfter[i].x, platesBefore[i].x, 1e-9);
        EXPECT_NEAR(platesAfter[i].y, platesBefore[i].y, 1e-9);
        EXPECT_NEAR(platesAfter[i].rotation, platesBefore[i].rotation, 1e-9);
    }
    EXPECT_EQ(e2e::SheetOverlaps(saved, "Stosk_1000x500"), std::vector<std::string>{});
}

// Every command that works on the shown sheet, with what it would ask first.
const char* const kSheetCommands[] = {
    "MovePart",      "RotatePart",    "MovePartAuto",  "MovePartAutoInPoint", "RotatePartAuto", "RotatePart180",
    "RotatePart90R", "RotatePart90L", "RotatePart45R", "RotatePart45L",       "RotatePart30R",  "RotatePart30L",
    "RotatePart10R", "RotatePart10L", "RotatePart5R",  "RotatePart5L",        "RotatePart1R",   "RotatePart1L",
    "ErasePart",     "InsertPart",    "QueryPart",     "NestInfo"};

// Before: on a sheet opened in a new session only InsertPart said that no job was loaded; the turns took the pick
// and did nothing, QueryPart printed nothing, NestInfo said there were no placed parts, and the automatic move and
// turn asked for the pick and the point first. Each now says so at once: the script's next line answers the box,
// and a command that asked for a pick instead would take "msgbox OK" for one and stop the script.
TEST_F(ManualParts, EveryManualCommandOnASheetOpenedInANewSessionSaysAtOnceThatNoJobIsLoaded) {
    const std::vector<Placed> plates = NestedPlates(RectangleJob("Stosk_1000x500", 10));
    ASSERT_EQ(plates.size(), 10u);
    std::string script;
    for (const char* command : kSheetCommands) script += std::string(command) + "\nmsgbox OK\n";
    writeBytes(folder / "reopen.scr", script);
    const fs::path registry = e2e::writeLanguageRegistry(folder);
    const RunResult r = cadhost({(folder / "nested.dxf").string(), "--load", NESTING_MODULE, "--registry",
                                 registry.string(), "--script", (folder / "reopen.scr").string(), "--save",
                                 (folder / "reopened.dxf").string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(count(r.out, "No nesting job is loaded in this session, so the parts of this sheet are not known."),
              std::size(kSheetCommands))
        << r.out;
    for (const char* command : kSheetCommands) {
        const std::string named = std::string(command) == "InsertPart" ? "Insert Part" : command;
        EXPECT_NE(r.out.find("then repeat the command '" + named + "'"), std::string::npos) << command;
    }
    EXPECT_EQ(count(r.out, "Select Part"), 0u) << r.out;
    EXPECT_EQ(count(r.out, "There are no placed details"), 0u) << r.out;
    EXPECT_EQ(count(r.out + r.err, "nknown command"), 0u) << r.out << r.err;
    // nothing of the sheet changed
    const std::vector<Placed> after = PartsOf(ReadInserts(folder / "reopened.dxf"));
    ASSERT_EQ(after.size(), plates.size());
}

// The same commands where a job is loaded but not nested say so, and on a drawing that holds no sheet of the
// nested job (the run was undone) they say that; NestInfo of a loaded job without a run keeps its report.
TEST_F(ManualParts, ManualCommandsWithoutASheetOfTheNestedJobSayWhatIsMissing) {
    const std::string job = RectangleJob("Stosk_1000x500", 10);
    struct Case {
        std::string name;
        std::string before;    // what the session does after loading the job
        std::string expected;  // the box each command shows
    };
    const Case cases[] = {
        {"loaded, not nested", "", "Execute the command 'Start Nesting'."},
        {"nested, run undone", "StartNestingAdv\ndlg ok\nUNDO\n\n", "The drawing holds no sheet of the nested job"},
        {"another job nested, its load and run undone",
         "StartNestingAdv\ndlg ok\nOpenFileNesting\ndlg press Load\nfile " + (folder / "other.nst").string() +
             "\ndlg press OK\nStartNestingAdv\ndlg ok\nUNDO\n2\n",
         "The sheet in the drawing was nested from the job"},
    };
    writeBytes(folder / "other.nst", job);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string script = c.before;
        std::size_t boxes = 0;
        for (const char* command : kSheetCommands) {
            if (std::string(command) == "NestInfo" && c.before.empty()) continue;
            script += std::string(command) + "\nmsgbox OK\n";
            ++boxes;
        }
        if (c.before.empty()) script += "NestInfo\ndlg show\ndlg ok\n";
        const RunResult r = Run(job, script, folder / "out.dxf", false, false);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_EQ(count(r.out, c.expected), boxes) << r.out;
        EXPECT_EQ(count(r.out, "Select Part"), 0u) << r.out;
        if (c.before.empty()) {
            EXPECT_NE(r.out.find("There are no placed details."), std::string::npos) << r.out;
        }
    }
}

TEST_F(ManualParts, AnAutomaticInsertOntoAFullSheetIsTakenOutAgain) {
    const std::string job = RectangleJob("Stosk_250x150", 10);
    const std::vector<Placed> plates = NestedPlates(job);
    ASSERT_GE(plates.size(), 1u);
    ASSERT_LT(plates.size(), 10u);
    const std::string counted = kPart + "=" + std::to_string(plates.size()) + "/10";
    const std::string script = "InsertPart\ndlg show\ndlg press 238\n125,75\nmsgbox OK\nQueryPart\n" +
                               PickPoint(plates[0]) + "\n\n";
    const fs::path saved = folder / "full.dxf";
    const RunResult r = Run(job, script, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("I can not place this detail"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(counted), std::string::npos) << r.out;
    EXPECT_EQ(PartsOf(ReadInserts(saved)).size(), plates.size());
    EXPECT_EQ(e2e::SheetOverlaps(saved, "Stosk_250x150"), std::vector<std::string>{});
}

// The plates as a sorted list of poses, for comparing two sheets.
std::vector<std::string> Poses(std::vector<Placed> plates) {
    std::vector<std::string> out;
    for (const Placed& p : plates) {
        out.push_back(host::sys::formatC("%.6f,%.6f@%.6f", p.x, p.y, std::fmod(p.rotation + 2 * kPi, 2 * kPi)));
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The count NestInfo reported last ("Nesting Parts = N/10"); -1 when it reported none.
int LastReportedCount(const std::string& out) {
    const std::string head = "Nesting Parts = ";
    const std::size_t at = out.rfind(head);
    if (at == std::string::npos) return -1;
    return std::atoi(out.c_str() + at + head.size());
}

// Before: Esc at RotatePartAuto's position left the plate turned in the drawing while the job kept its pose, and
// Esc at MovePartAuto's position let the engine slide the plate from where it was. A cancel at any prompt of a
// manual command leaves the sheet as it was (an insert takes its copy out again).
TEST_F(ManualParts, ACancelAtAnyPromptOfAManualCommandLeavesTheSheetAsItWas) {
    const std::string job = RectangleJob("Stosk_1000x500", 10);
    const std::vector<Placed> plates = NestedPlates(job);
    ASSERT_EQ(plates.size(), 10u);
    const Placed plate = plates[3];
    const std::string pick = PickPoint(plate);
    const std::string upright = host::sys::formatC("%.6f,%.6f", plate.x, plate.y + 100);
    const std::string erase = "ErasePart\n" + pick + "\n\n";
    struct Case {
        std::string name;
        std::string script;
        bool erased;  // the plate was erased first (for an insert)
    };
    const Case cases[] = {
        {"RotatePartAuto at the angle", "RotatePartAuto\n" + pick + "\n^C\n", false},
        {"RotatePartAuto at the position", "RotatePartAuto\n" + pick + "\n" + upright + "\n^C\n", false},
        {"RotatePart at the position", "RotatePart\n" + pick + "\n" + upright + "\n^C\n", false},
        {"MovePart at the position", "MovePart\n" + pick + "\n^C\n\n", false},
        {"MovePartAuto at the position", "MovePartAuto\n" + pick + "\n^C\n\n", false},
        {"RotatePart90L at the pick", "RotatePart90L\n^C\n", false},
        {"ErasePart at the pick", "ErasePart\n^C\n", false},
        {"InsertPart in the dialog", erase + "InsertPart\ndlg cancel\n", true},
        {"InsertPart at the position", erase + "InsertPart\ndlg ok\n^C\n", true},
        {"InsertPart at the angle", erase + "InsertPart\ndlg ok\n700,250\n^C\n", true},
        {"InsertPart at the second position", erase + "InsertPart\ndlg ok\n700,250\n700,350\n^C\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path saved = folder / "cancelled.dxf";
        const RunResult r = Run(job, c.script + "NestInfo\ndlg show\ndlg ok\n", saved);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        std::vector<Placed> expected = plates;
        if (c.erased) expected.erase(expected.begin() + 3);
        EXPECT_EQ(Poses(PartsOf(ReadInserts(saved))), Poses(expected)) << r.out;
        EXPECT_EQ(LastReportedCount(r.out), static_cast<int>(expected.size())) << r.out;
    }
}

// Before: UNDO took the drawing back and left the job as the command had made it (and there was no REDO): after ErasePart, InsertPart and
// UNDO the sheet showed 9 plates while NestInfo said 10/10 and InsertPart refused the type; after ErasePart and
// UNDO the restored plate could not be erased; after UNDO of a turn the plate could not be turned again. The job
// now follows the sheet: after every sequence the count NestInfo reports is the plates on the sheet, and the
// commands after the UNDO find the parts the drawing shows.
TEST_F(ManualParts, AfterUndoTheJobCountsWhatTheSheetShows) {
    const std::string job = RectangleJob("Stosk_1000x500", 10);
    const std::vector<Placed> plates = NestedPlates(job);
    ASSERT_EQ(plates.size(), 10u);
    const std::string p0 = PickPoint(plates[0]);
    const std::string p1 = PickPoint(plates[1]);
    const std::string erase0 = "ErasePart\n" + p0 + "\n\n";
    const std::string insertAuto = "InsertPart\ndlg press 238\n700,250\n";
    struct Case {
        std::string name;
        std::string script;
        int plates;
        std::string at;  // a pose "x,y@angle" that must be on the sheet ("" for none)
    };
    const std::string home = host::sys::formatC("%.6f,%.6f", plates[0].x, plates[0].y);
    const Case cases[] = {
        {"erase, undo", erase0 + "UNDO\n\n", 10, home + "@0.000000"},
        {"erase, undo, erase the restored plate", erase0 + "UNDO\n\n" + erase0, 9, ""},
        {"erase, automatic insert, undo", erase0 + insertAuto + "UNDO\n\n", 9, ""},
        {"erase, automatic insert, undo, insert again", erase0 + insertAuto + "UNDO\n\n" + insertAuto, 10, ""},
        {"two erases, undo both", erase0 + "ErasePart\n" + p1 + "\n\nUNDO\n2\n", 10, home + "@0.000000"},
        {"turn, undo, turn again", "RotatePart90L\n" + p0 + "\n\nUNDO\n\nRotatePart90L\n" + p0 + "\n\n", 10,
         home + "@1.570796"},
        {"move, undo, move elsewhere", "MovePart\n" + p0 + "\n700,250\n\nUNDO\n\nMovePart\n" + p0 + "\n800,400\n\n",
         10, "800.000000,400.000000@0.000000"},
        {"automatic move, undo", "MovePartAuto\n" + p1 + "\n700,250\n\nUNDO\n\n", 10, ""},
        {"host erase", "ERASE\n" + p0 + "\n\n", 9, ""},
        {"host erase, undo, erase", "ERASE\n" + p0 + "\n\nUNDO\n\n" + erase0, 9, ""},
        {"host move, then a turn where it lies",
         "MOVE\n" + p0 + "\n\n0,0\n600,0\nRotatePart90L\n" + PickPoint(plates[0].x + 600, plates[0].y, 0) + "\n\n", 10,
         host::sys::formatC("%.6f,%.6f", plates[0].x + 600, plates[0].y) + "@1.570796"},
        {"nested again, undo", "StartNestingAdv\ndlg ok\nUNDO\n\n", 10, home + "@0.000000"},
        {"two plates stacked, one erased, undo, both erased",
         "MovePart\n" + p1 + "\n" + home + "\n\n" + erase0 + "UNDO\n\nErasePart\n" + p0 + "\n" + p0 + "\n\n", 8, ""},
        {"erase, undo, redo", erase0 + "UNDO\n\nREDO\n", 9, ""},
        {"erase, automatic insert, undo, redo", erase0 + insertAuto + "UNDO\n\nREDO\n", 10, ""},
        {"erase, automatic insert, undo 2, redo, erase", erase0 + insertAuto + "UNDO\n2\nREDO\n" + "ErasePart\n" + p1 +
                                                             "\n\n",
         9, ""},
        {"turn, undo, redo, turn back", "RotatePart90L\n" + p0 + "\n\nUNDO\n\nREDO\nRotatePart90R\n" +
                                            PickPoint(plates[0].x, plates[0].y, 90) + "\n\n",
         10, home + "@0.000000"},
        {"move, undo, redo, move on", "MovePart\n" + p0 + "\n700,250\n\nUNDO\n\nREDO\nMovePart\n" +
                                          PickPoint(700, 250, 0) + "\n800,400\n\n",
         10, "800.000000,400.000000@0.000000"},
        {"nested run undone and redone", "UNDO\n\nREDO\n", 10, home + "@0.000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path saved = folder / "undone.dxf";
        const RunResult r = Run(job, c.script + "NestInfo\ndlg show\ndlg ok\n", saved);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        const std::vector<Placed> after = PartsOf(ReadInserts(saved));
        EXPECT_EQ(after.size(), static_cast<std::size_t>(c.plates)) << r.out;
        EXPECT_EQ(LastReportedCount(r.out), c.plates) << r.out;
        EXPECT_EQ(r.out.find("are placed"), std::string::npos) << r.out;
        if (!c.at.empty()) {
            const std::vector<std::string> poses = Poses(after);
            EXPECT_NE(std::find(poses.begin(), poses.end(), c.at), poses.end()) << c.at << "\n" << r.out;
        }
    }
}

// Before: UNDO of NextListNesting showed the first sheet again while the job took the second for the shown one, so
// ErasePart on a plate of the first sheet found nothing and NestInfo reported the second; the next NextListNesting
// skipped a sheet. The shown sheet is the one the drawing holds.
TEST_F(ManualParts, AfterUndoOfAPageTheCommandsWorkOnTheSheetTheDrawingShows) {
    const std::string job = RectangleJob("Stosk_250x150", 10, 2);
    const std::vector<Placed> first = NestedPlates(job);
    ASSERT_GE(first.size(), 2u);
    const int onFirst = static_cast<int>(first.size());
    const std::string script = "NextListNesting\nUNDO\n\nErasePart\n" + PickPoint(first[0]) + "\n\n" +
                               "NestInfo\ndlg show\ndlg ok\n";
    const fs::path saved = folder / "paged.dxf";
    const RunResult r = Run(job, script, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(PartsOf(ReadInserts(saved)).size(), first.size() - 1);
    EXPECT_NE(r.out.find(host::sys::formatC("Current Stock 1 : Stosk_250x150\\nPart = %d/10", onFirst - 1)),
              std::string::npos)
        << r.out;
    // paging on from the undone page shows the second sheet, drawn from the job
    const RunResult paged = Run(job, "NextListNesting\nUNDO\n\nNextListNesting\n", saved);
    ASSERT_EQ(paged.status, 0) << paged.err << paged.out;
    EXPECT_EQ(count(paged.out, "Stock=2/2"), 2u) << paged.out;
    EXPECT_EQ(count(paged.out, "Stock=1/2"), 1u) << paged.out;
}

// A job of three rectangle types, one copy each (part gap 4, edge offset 10).
std::string ThreeTypeJob() {
    std::vector<std::string> lines{"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10",
                                   "4", "4", "", "", "1", "0", "Stosk_1000x500", "Stosk_1000x500", "1", "0", "1",
                                   "", "", "", "", "", "3"};
    for (const char* part : {"Part_100x50", "Part_80x40", "Part_60x30"}) {
        for (const std::string& field : {std::string("0"), std::string(part), std::string(part), std::string("1"),
                                         std::string("0"), std::string("0"), std::string("0"), std::string("0"),
                                         std::string("0"), std::string("1"), std::string("0"), std::string(),
                                         std::string(), std::string()})
            lines.push_back(field);
    }
    for (const char* footer : {"", "", "0"}) lines.push_back(footer);
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// Before: the insert dialog's grid took no line ("cannot be set"), so only the type of its first row could be
// inserted. A row is picked by its number or by the part's name, as in the job dialog's tables.
TEST_F(ManualParts, TheInsertDialogTakesTheSecondAndTheLastTypeByNumberAndByName) {
    const RunResult nested = Run(ThreeTypeJob(), "", folder / "nested.dxf");
    ASSERT_EQ(nested.status, 0) << nested.err << nested.out;
    const std::vector<Placed> placed = ReadInserts(folder / "nested.dxf");
    auto find = [&](const std::string& block) {
        for (const Placed& p : placed)
            if (p.block == block) return p;
        ADD_FAILURE() << block << " was not placed";
        return Placed{};
    };
    const Placed second = find("Part_80x40");
    const Placed last = find("Part_60x30");
    // The middle of each plate's left edge: the blocks stand on their centres.
    auto pick = [](const Placed& p, double halfWidth) {
        return host::sys::formatC("%.6f,%.6f", p.x - halfWidth * std::cos(p.rotation),
                                  p.y - halfWidth * std::sin(p.rotation));
    };
    auto at = [](const Placed& p) { return host::sys::formatC("%.6f,%.6f", p.x, p.y); };
    const std::string script = "ErasePart\n" + pick(second, 40) + "\n" + pick(last, 30) + "\n\n" +
                               "InsertPart\ndlg show\ndlg set 234 2\ndlg press 238\n" + at(second) + "\n" +
                               "InsertPart\ndlg set 234 part_60x30\ndlg press 238\n" + at(last) + "\n" +
                               "NestInfo\ndlg show\ndlg ok\n";
    const fs::path saved = folder / "inserted.dxf";
    const RunResult r = Run(ThreeTypeJob(), script, saved);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    // The grid as the dialog shows it: headings with the columns' numbers, a row per type, hidden columns left out;
    // its buttons named by their groups.
    EXPECT_NE(r.out.find("| 3:File Name | 4:Width"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2 | Part_80x40  | 80.00"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[Insert +0 (Insert Automatic)] [Insert +90 (Insert Automatic)]"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("data/block"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Stock=1/1 Parts=2/3"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" 2) Part_80x40  1/1\\n 3) Part_60x30  1/1"), std::string::npos) << r.out;
    int seconds = 0, lasts = 0;
    for (const Placed& p : ReadInserts(saved)) {
        seconds += p.block == "Part_80x40";
        lasts += p.block == "Part_60x30";
    }
    EXPECT_EQ(seconds, 1) << r.out;
    EXPECT_EQ(lasts, 1) << r.out;
    EXPECT_EQ(e2e::SheetOverlaps(saved, "Stosk_1000x500"), std::vector<std::string>{});
}

// The animated picture of a session that placed parts by hand: the drags of InsertPart and MovePart showed in it
// as a black disc of the part's size jumping between the picked points, over the moved part. A drag is no played
// motion: the picture holds no animation at all.
TEST_F(ManualParts, DragsOfInsertAndMoveLeaveNoMarkerInThePlayedPicture) {
    const std::string job = RectangleJob("Stosk_1000x500", 10);
    const std::vector<Placed> plates = NestedPlates(job);
    ASSERT_EQ(plates.size(), 10u);
    writeBytes(folder / "job.nst", job);
    const std::string script = "ErasePart\n" + PickPoint(plates[0]) + "\n\n" +
                               "InsertPart\ndlg ok\n600,300\n600,400\n650,300\n" + "MovePart\n" +
                               PickPoint(650, 300, 90) + "\ndrag 700,350\n800,400\n\n";
    writeBytes(folder / "run.scr", "OpenFileNesting\ndlg ok\nStartNestingAdv\ndlg ok\n" + script);
    const fs::path registry = folder / "registry.reg";
    const fs::path picture = folder / "played.svg";
    const RunResult r = cadhost({"--load", NESTING_MODULE, "--registry", registry.string(), "--script",
                                 (folder / "run.scr").string(), "--play-svg", picture.string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(e2e::has(r.out, "(animated, 0 frames)")) << r.out;
    const std::string svg = host::sys::testing::readBytes(picture);
    EXPECT_EQ(svg.find("<animateMotion"), std::string::npos);
}

}  // namespace
