// The cut simulation in a cadhost session: NCPlay and NCPlay1 run by a script, and the marker's steps read back
// from the animated picture that --play-svg writes. The marker goes where the NC program of the same drawing goes,
// in the same order; the script's "+", "-" and "^C" lines are the keys pressed while it plays.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"
#include "tests/e2e/path_visits.h"

namespace cut_simulation_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::near;
using e2e::RunResult;
using host::ge::Point3d;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;
const std::string kMakePath = "NCCreateContour\nNCSliceAuto\n";
const std::string kMakeProgram = "NCCreate\ndlg ok\ndlg set 249 Plate\ndlg press OK\n";

// The value of the attribute `name` in the first element of `svg` after `from`.
std::string attribute(const std::string& svg, const std::string& name, std::size_t from = 0) {
    const std::size_t at = svg.find(" " + name + "=\"", from);
    if (at == std::string::npos) return {};
    const std::size_t start = at + name.size() + 3;
    return svg.substr(start, svg.find('"', start) - start);
}

// The marker's steps as the picture plays them: positions in drawing coordinates and times in milliseconds.
struct Played {
    std::vector<Point3d> at;
    std::vector<long> times;
};

Played readPlayed(const std::string& svg) {
    Played p;
    const std::size_t group = svg.find("class=\"animation\"");
    if (group == std::string::npos) return p;
    std::istringstream values(attribute(svg, "values", group));
    for (std::string pair; std::getline(values, pair, ';');) {
        double x = 0, y = 0;
        if (std::sscanf(pair.c_str(), "%lf,%lf", &x, &y) == 2) p.at.emplace_back(x, -y, 0);
    }
    std::istringstream times(attribute(svg, "data-times", group));
    for (long t = 0; times >> t;) p.times.push_back(t);
    return p;
}

// The points an NC program of the shipped laser postprocessor moves to, in order (X and Y words are modal).
std::vector<Point3d> programPoints(const std::string& text) {
    std::vector<Point3d> points;
    std::istringstream in(text);
    Point3d at;
    for (std::string block; std::getline(in, block);) {
        if (!block.empty() && block[0] == '(') continue;  // a comment
        double x = at.x, y = at.y;
        bool moved = false;
        for (const char letter : {'X', 'Y'}) {
            const std::size_t i = block.find(letter);
            if (i == std::string::npos) continue;
            (letter == 'X' ? x : y) = std::strtod(block.c_str() + i + 1, nullptr);
            moved = true;
        }
        if (!moved) continue;
        at = Point3d(x, y, 0);
        points.push_back(at);
    }
    return points;
}

// The index in `played` from `from` on where the marker stands at `p`, or npos.
std::size_t findFrom(const std::vector<Point3d>& played, const Point3d& p, std::size_t from) {
    for (std::size_t i = from; i < played.size(); ++i)
        if (near(played[i], p)) return i;
    return std::string::npos;
}

RunResult runPlay(const ScratchFolder& folder, const fs::path& drawing, const std::string& script,
                  const fs::path& picture, const fs::path& saved = {}) {
    writeBytes(folder / "run.scr", script);
    std::vector<std::string> args = {drawing.string(), "--load", "laser", "--install", (kSource / "data").string(),
                                     "--registry", e2e::writeLanguageRegistry(folder).string(), "--script",
                                     (folder / "run.scr").string(), "--play-svg", picture.string()};
    if (!saved.empty()) {
        args.push_back("--save");
        args.push_back(saved.string());
    }
    return cadhost(args, folder);
}

fs::path copyPlate(const ScratchFolder& folder) {
    const fs::path drawing = folder / "plate.dxf";
    fs::copy_file(kSource / "laser/contours/tests/fixtures/plate_two_holes.dxf", drawing);
    return drawing;
}

TEST(CutSimulation, TheMarkerGoesWhereTheProgramGoesGroupByGroup) {
    ScratchFolder folder;
    const fs::path drawing = copyPlate(folder), picture = folder / "play.svg";
    const RunResult r = runPlay(folder, drawing, kMakePath + kMakeProgram + "NCPlay\n", picture);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("To change the speed use  '+' or '-', 'Esc'- cancel"), std::string::npos) << r.out;
    const std::string svg = readBytes(picture);
    const Played played = readPlayed(svg);
    const std::vector<Point3d> program = programPoints(readBytes(folder / "plate.nc"));
    ASSERT_GT(program.size(), 4u);
    // The marker stops at every point of the program in the program's order, with steps between them.
    std::size_t at = 0;
    for (std::size_t k = 0; k < program.size(); ++k) {
        const std::size_t found = findFrom(played.at, program[k], at);
        ASSERT_NE(found, std::string::npos) << "the marker never reaches the program's point " << k + 1 << ": "
                                            << program[k].x << "," << program[k].y;
        at = found;
    }
    EXPECT_GT(played.at.size(), 2 * program.size());
    // Each step waits the start delay of 20 ticks; the picture plays at that speed.
    ASSERT_EQ(played.times.size(), played.at.size());
    for (std::size_t i = 1; i < played.times.size(); ++i) ASSERT_EQ(played.times[i] - played.times[i - 1], 20) << i;
    // The marker is gone from the drawing at the end.
    EXPECT_NE(r.out.find("(animated, "), std::string::npos) << r.out;
}

TEST(CutSimulation, PlusAndMinusChangeTheDelayWithinItsBoundsAndEscStops) {
    struct Case {
        std::string keys;
        std::vector<long> firstDelays;  // between the first frames
        bool stopped;
    };
    const Case cases[] = {
        {"+\n+\n+\n-\n", {19, 18, 17, 18, 18}, false},
        // Twenty-five "+": the delay comes down to one tick and stays there.
        {[] {
             std::string s;
             for (int i = 0; i < 25; ++i) s += "+\n";
             return s;
         }(),
         {19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1, 1, 1},
         false},
        {"-\n^C\n", {21}, true},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const fs::path drawing = copyPlate(folder), picture = folder / "play.svg";
        const RunResult r = runPlay(folder, drawing, kMakePath + "NCPlay\n" + c.keys, picture);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        const Played played = readPlayed(readBytes(picture));
        ASSERT_GT(played.times.size(), c.firstDelays.size()) << c.keys;
        for (std::size_t i = 0; i < c.firstDelays.size(); ++i)
            EXPECT_EQ(played.times[i + 1] - played.times[i], c.firstDelays[i]) << c.keys << " step " << i + 1;
        if (c.stopped) {
            // Esc at the second step: the marker jumps to the end of its move, the group ends there, and no
            // other group plays.
            EXPECT_LE(played.at.size(), 8u) << c.keys;
        } else {
            EXPECT_GT(played.at.size(), 40u) << c.keys;
        }
    }
}

// The ends of the lines of path group n, in member order.
std::vector<Point3d> groupLineEnds(const host::db::Database& db, int n) {
    std::vector<Point3d> ends;
    const auto* groups = dynamic_cast<const host::db::Dictionary*>(db.peek(db.groupDictionaryId()));
    const auto* group = dynamic_cast<const host::db::Group*>(db.peek(groups->getAt("DOROZ_" + std::to_string(n))));
    if (group == nullptr) return ends;
    for (host::db::ObjectId m : group->allEntityIds())
        if (const auto* line = dynamic_cast<const host::db::Line*>(db.peek(m))) {
            ends.push_back(line->start());
            ends.push_back(line->end());
        }
    return ends;
}

TEST(CutSimulation, NcPlay1PlaysThePickedGroupAlone) {
    ScratchFolder folder;
    const fs::path drawing = copyPlate(folder), saved = folder / "out.dxf";
    ASSERT_EQ(runPlay(folder, drawing, kMakePath, folder / "first.svg", saved).status, 0);
    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(read) << read.error;
    const std::vector<Point3d> second = groupLineEnds(*read.database, 2);
    const std::vector<Point3d> first = groupLineEnds(*read.database, 1);
    ASSERT_GE(second.size(), 2u);
    ASSERT_GE(first.size(), 2u);
    // A point in the middle of the group's first line picks it.
    const Point3d pick((second[0].x + second[1].x) / 2, (second[0].y + second[1].y) / 2, 0);
    const fs::path picture = folder / "play1.svg";
    const RunResult r = runPlay(folder, saved, "NCPlay1\n" + std::to_string(pick.x) + "," + std::to_string(pick.y) + "\n",
                                picture);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("Choose a processed contour"), std::string::npos) << r.out;
    const Played played = readPlayed(readBytes(picture));
    ASSERT_FALSE(played.at.empty()) << r.out;
    std::size_t at = 0;
    for (const Point3d& p : second) {
        const std::size_t found = findFrom(played.at, p, at);
        ASSERT_NE(found, std::string::npos) << p.x << "," << p.y;
        at = found;
    }
    EXPECT_TRUE(near(played.at.back(), second.back()));
    // Group 1's cut (its lines' far ends) is not played.
    EXPECT_EQ(findFrom(played.at, first[1], 0), std::string::npos);
}

}  // namespace cut_simulation_test
