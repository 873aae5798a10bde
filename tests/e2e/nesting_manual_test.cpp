// The manual part commands in a whole cadhost session, as a user corrects a nested sheet by hand: parts of a job
// of ten 100 x 50 plates on a 1000 x 500 sheet are turned by every fixed angle, erased, counted, inserted again
// through the insert dialog, moved exactly and by the engine; picks on empty space, on clamps and Esc ask again or
// end the command cleanly; and an automatic insert onto a full sheet is refused. The sheets are checked by the
// independent overlap test.
#include <gtest/gtest.h>

#include <cmath>
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
std::string RectangleJob(const std::string& stock, int parts) {
    std::vector<std::string> lines{"Kestrion Nesting TQ450", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10",
                                   "4", "4", "", "", "1", "0", stock, stock, "1", "0", "1", "", "", "", "", "",
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
    // Runs OpenFileNesting and StartNestingAdv on the job, then `script`; saves the drawing as `saved`.
    RunResult Run(const std::string& job, const std::string& script, const fs::path& saved, bool clamps = false) {
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
        writeBytes(folder / "run.scr", "OpenFileNesting\ndlg ok\nStartNestingAdv\ndlg ok\n" + script);
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

TEST_F(ManualParts, InsertPartOnASheetOpenedInANewSessionSaysTheJobIsNotLoaded) {
    const std::vector<Placed> plates = NestedPlates(RectangleJob("Stosk_1000x500", 10));
    ASSERT_EQ(plates.size(), 10u);
    // A new session opens the saved sheet: the job is not in memory. InsertPart says so, and the script's next
    // line answers that message instead of being taken for a command.
    writeBytes(folder / "reopen.scr", "InsertPart\nmsgbox OK\nErasePart\n" + PickPoint(plates[0]) + "\n\n");
    const fs::path registry = e2e::writeLanguageRegistry(folder);
    const RunResult r = cadhost({(folder / "nested.dxf").string(), "--load", NESTING_MODULE, "--registry",
                                 registry.string(), "--script", (folder / "reopen.scr").string(), "--save",
                                 (folder / "reopened.dxf").string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("No nesting job is loaded in this session, so the parts of this sheet are not known."),
              std::string::npos)
        << r.out;
    EXPECT_EQ(count(r.out + r.err, "nknown command"), 0u) << r.out << r.err;
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
