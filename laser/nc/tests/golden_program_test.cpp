// Whole NC programs of small drawings compared with the programs kept in tests/golden: each drawing read from DXF,
// its contours made, its path laid out automatically and its program written through a shipped postprocessor,
// with one setting changed per case. KESTRION_WRITE_GOLDEN=1 writes the programs as the golden files instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <unistd.h>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/input.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/ui/message_box.h"
#include "laser/contours/clamps_trim_lines.h"
#include "laser/contours/contour_creation.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/nc/nc_program_creation.h"
#include "laser/nc/tests/nc_test_support.h"
#include "laser/path/automatic_cutting_order.h"
#include "laser/path/home_rapid.h"
#include "laser/post/postprocessor_file.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/settings/laser_settings.h"

namespace {

namespace fs = std::filesystem;
using nc_testing::ReadBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;
const fs::path kFixtures = kSource / "laser/nc/tests/fixtures";
const fs::path kGolden = kSource / "laser/nc/tests/golden";

// The three drawings (see fixtures/make_fixtures.py).
constexpr const char* kCutKinds = "plate_cut_kinds.dxf";
constexpr const char* kMarkingKinds = "plate_marking_kinds.dxf";
constexpr const char* kJointKinds = "plate_joint_kinds.dxf";

// The program with LF line ends, as the golden files keep it; false when a line does not end in CR LF.
bool WithLineFeeds(const std::string& program, std::string& text) {
    text.clear();
    for (std::size_t i = 0; i < program.size(); ++i) {
        if (program[i] == '\n') return false;
        if (program[i] == '\r') {
            if (i + 1 >= program.size() || program[i + 1] != '\n') return false;
            text += '\n';
            ++i;
        } else {
            text += program[i];
        }
    }
    return true;
}

// A clamp below the plate, drawn as a reference of the block "Clamp" at (60, -20), and a vertical trim line at
// x 130 on its layer, right of the plate.
void DrawClampAndTrimLine(host::db::Database& db) {
    host::db::ObjectId block;
    {
        host::db::ObjectPtr<host::db::SymbolTable> blocks(db.tableId(host::db::TableKind::Block),
                                                          host::db::OpenMode::Write);
        ASSERT_EQ(blocks->add(std::make_unique<host::db::BlockTableRecord>(kClampBlockName), &block),
                  host::db::Status::Ok);
    }
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> def(block, host::db::OpenMode::Write);
        auto mark = std::make_unique<host::db::Line>(host::ge::Point3d(-10, 0), host::ge::Point3d(10, 0));
        mark->setLayer(db.recordId(host::db::TableKind::Layer, "0"));
        ASSERT_EQ(def->appendEntity(std::move(mark)), host::db::Status::Ok);
    }
    host::db::ObjectId layer;
    {
        host::db::ObjectPtr<host::db::SymbolTable> layers(db.tableId(host::db::TableKind::Layer),
                                                          host::db::OpenMode::Write);
        ASSERT_EQ(layers->add(std::make_unique<host::db::LayerTableRecord>(kTrimLineLayer), &layer),
                  host::db::Status::Ok);
    }
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
    auto clamp = std::make_unique<host::db::BlockReference>(host::ge::Point3d(60, -20), block);
    clamp->setLayer(db.recordId(host::db::TableKind::Layer, "0"));
    ASSERT_EQ(space->appendEntity(std::move(clamp)), host::db::Status::Ok);
    auto trim = std::make_unique<host::db::Line>(host::ge::Point3d(130, -5), host::ge::Point3d(130, 90));
    trim->setLayer(layer);
    ASSERT_EQ(space->appendEntity(std::move(trim)), host::db::Status::Ok);
}

// One program: the drawing, the postprocessor, and what the case changes in the settings (before the drawing's
// job is made, so the job takes them over), in the postprocessor and in the drawing.
struct GoldenCase {
    const char* golden;  // file name in tests/golden
    const char* drawing;
    const char* postprocessor;
    std::function<void(CLaserSettings&)> settings;
    std::function<void(PostprocessorSettings&)> post;
    std::function<void(host::db::Database&)> draw;
};

// A failing case is named by its golden file.
void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.golden; }

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// The postprocessor without block numbers: <N-CODE> taken out of every template.
void WithoutBlockNumbers(PostprocessorSettings& p) {
    for (const PostKey& key : PostKeys()) {
        if (key.text != nullptr && (key.kind == PostValueKind::Template || key.kind == PostValueKind::Block)) {
            ReplaceAll(p.*key.text, "<N-CODE>", "");
        }
    }
}

const GoldenCase kCases[] = {
    // Every contour kind through the laser postprocessor.
    {"laser_cut_kinds.nc", kCutKinds, "FANUC.MXT", {}, {}, {}},
    {"laser_marking_kinds.nc", kMarkingKinds, "FANUC.MXT", {}, {}, {}},
    {"laser_joint_kinds.nc", kJointKinds, "FANUC.MXT", {}, {}, {}},
    // The other machines.
    {"flame_cut_kinds.nc", kCutKinds, "FLAME.MXT", {}, {}, {}},
    {"waterjet_cut_kinds.nc", kCutKinds, "WATERJET.MXT", {}, {}, {}},
    {"waterjet_joint_kinds.nc", kJointKinds, "WATERJET.MXT", {}, {}, {}},
    // Settings of the postprocessor.
    // Inches: coordinates converted with four decimals; feeds are written as the settings hold them, so they are
    // given in inches per minute.
    {"laser_inch.nc", kCutKinds, "FANUC.MXT",
     [](CLaserSettings& s) {
         s.FeedCut = 11.8;
         s.FeedCutT2 = 12.6;
     },
     [](PostprocessorSettings& p) {
         p.Unit = "inc";
         ReplaceAll(p.StartPrgStr, "G21", "G20");
         p.XFormat = p.YFormat = p.IFormat = p.JFormat = "4.4";
         p.FEEDFormat = "5.1";
     },
     {}},
    {"laser_incremental.nc", kCutKinds, "FANUC.MXT", {},
     [](PostprocessorSettings& p) {
         p.DefaultAbsolute = 0;
         ReplaceAll(p.StartPrgStr, "G90", "G91");
     },
     {}},
    {"laser_no_block_numbers.nc", kMarkingKinds, "FANUC.MXT", {}, WithoutBlockNumbers, {}},
    {"laser_block_numbers_from_100_by_5.nc", kMarkingKinds, "FANUC.MXT", {},
     [](PostprocessorSettings& p) {
         p.NFormat = "04";
         p.NCodeStart = "100";
         p.NCodeInc = "5";
     },
     {}},
    // Profile cutting: every move through the profile templates, which switch the beam themselves: off and on
    // around the rapid to each contour, a slower cut over the last 2 mm of a contour, the beam off 1 mm into the
    // lead-out.
    {"laser_profile_cut.nc", kCutKinds, "FANUC.MXT", {},
     [](PostprocessorSettings& p) {
         p.UseProfilesCut = 1;
         p.ProfLead = "<N-CODE>M08<EOB><N-CODE><MOTION><X-COORD><Y-COORD><EOB><N-CODE>M07<EOB>";
         p.ProfCutStr = "<N-CODE><MOTION><X-COORD><Y-COORD><ARC-R2><FEED><EOB>";
         p.ProfCutSm1 = "<N-CODE><MOTION><X-COORD><Y-COORD><ARC-R2> (SLOW DOWN)<EOB>";
         p.ProfCutSm2 = "<N-CODE><MOTION><X-COORD><Y-COORD><EOB><N-CODE>M08<EOB>";
         p.ProfCutSm3 = "<N-CODE>G00<X-COORD><Y-COORD><EOB>";
         p.ProfCutDist1 = "2";
         p.ProfCutDist2 = "1";
     },
     {}},
    // Settings of the path.
    {"laser_no_jumpers.nc", kJointKinds, "FANUC.MXT", [](CLaserSettings& s) { s.UseJamper = 0; }, {}, {}},
    {"laser_corner_loops.nc", kCutKinds, "FANUC.MXT", [](CLaserSettings& s) { s.UseLoop = 1; }, {}, {}},
    {"laser_long_lead_in_no_lead_out.nc", kCutKinds, "FANUC.MXT",
     [](CLaserSettings& s) {
         s.LeadInSpan = 10.0;
         s.LeadOutSpan = 0.0;
         s.Angle = 90.0;
         s.ZahodTypePoint = 0;
     },
     {}, {}},
    {"laser_no_home_rapid.nc", kCutKinds, "FANUC.MXT", [](CLaserSettings& s) { s.ModeEndPoint = 0; }, {}, {}},
    {"laser_engraving_phase_first.nc", kMarkingKinds, "FANUC.MXT", [](CLaserSettings& s) { s.CutEngraveType = 1; },
     {}, {}},
    {"laser_trim_line_and_clamp.nc", kCutKinds, "FANUC.MXT",
     [](CLaserSettings& s) {
         s.TrimLineUse = 1;
         s.Nesing_ClampUse = 1;
     },
     [](PostprocessorSettings& p) { p.StartPrgStr += "\r\n<CLAMP><TRIM-LINE>"; }, DrawClampAndTrimLine},
    {"laser_unloading.nc", kCutKinds, "FANUC.MXT", [](CLaserSettings& s) { s.UnloadOption = 1; },
     [](PostprocessorSettings& p) {
         // Holes up to 20 x 20 fall through the window; smaller than 13 x 13 need nothing; larger stop the program.
         p.UnloadWinMaxSizeXStr = "20";
         p.UnloadWinMaxSizeYStr = "20";
         p.UnloadWinMinSizeXStr = "13";
         p.UnloadWinMinSizeYStr = "13";
     },
     {}},
};

class GoldenProgram : public ::testing::TestWithParam<GoldenCase> {
protected:
    void SetUp() override {
        scratch_ = fs::temp_directory_path() / ("kestrion_golden_" + std::to_string(::getpid()));
        fs::remove_all(scratch_);
        fs::create_directories(scratch_);
        // Fresh settings: the defaults of a new installation, not what other tests of this binary stored.
        host::reg::setMachineRegistryFile((scratch_ / "golden.reg").string());
        DestroyLaserSettings();
        SetLanguageFlag(0);
        host::ed::documents().closeAll();
        host::ed::transcript().clear();
        host::ui::clearMessageBoxLog();
        host::ed::registerHostCommands();
    }
    void TearDown() override {
        OnUnloadDrawing(LaserSettings());
        host::ed::setInput(nullptr);
        host::ed::commandStack().removeGroup(host::ed::kHostCommandGroup);
        host::ed::documents().closeAll();
        DestroyLaserSettings();
        fs::remove_all(scratch_);
    }

    // The program of the case, written as NCCreate writes it.
    std::string Program(const GoldenCase& c) {
        CLaserSettings& s = LaserSettings();
        s.DirInstall = (kSource / "data").string();
        s.PointHome = {0.0, 0.0, 0.0};
        if (c.settings) c.settings(s);
        std::string error;
        // A copy under a fixed name, so the program does not depend on where the sources are.
        const fs::path drawing = scratch_ / "part.dxf";
        fs::copy_file(kFixtures / c.drawing, drawing);
        host::ed::Document* document = host::ed::documents().open(drawing, &error);
        if (document == nullptr) {
            ADD_FAILURE() << error;
            return {};
        }
        if (c.draw) c.draw(document->database());
        EXPECT_EQ(OnLoadDrawing(s), 0);
        PrepareDrawingJob(s);
        CuttingJob* job = CurrentJob(s);
        if (job == nullptr) {
            ADD_FAILURE() << "no job";
            return {};
        }
        EXPECT_EQ(CreateContours(), 0) << host::ed::transcript().text();
        EXPECT_EQ(SliceAuto(), 0) << host::ed::transcript().text();
        AddHomeRapid();
        ReadClampsAndTrimLines();

        PostprocessorSettings post;
        EXPECT_EQ(ReadPostprocessorFile(post, kSource / "laser/post/tests/fixtures/reference" / c.postprocessor), 0);
        if (c.post) c.post(post);
        PostprocessorRuntime runtime;
        SetCuttingModeTexts(runtime);
        EXPECT_EQ(PreparePostprocessorRuntime(post, c.postprocessor, runtime), 0);
        NcOutputState state;
        state.Job = job;
        state.ClampUse = s.Nesing_ClampUse;
        NcRun run{state, runtime, s, job, nullptr};
        const fs::path output = scratch_ / "part.nc";
        EXPECT_TRUE(WriteNcProgramFile(output, run, true, job->pathGroupCount, error)) << error;
        std::string text;
        EXPECT_TRUE(WithLineFeeds(ReadBytes(output), text)) << "every block ends in CR LF";
        return text;
    }

    fs::path scratch_;
};

TEST_P(GoldenProgram, MatchesTheKeptProgram) {
    const GoldenCase& c = GetParam();
    const std::string program = Program(c);
    ASSERT_FALSE(program.empty());
    const fs::path golden = kGolden / c.golden;
    const char* write = std::getenv("KESTRION_WRITE_GOLDEN");
    if (write != nullptr && std::string(write) == "1") {
        std::ofstream out(golden, std::ios::binary);
        out << program;
        ASSERT_TRUE(out.good()) << golden;
        return;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden << " is missing; KESTRION_WRITE_GOLDEN=1 writes it";
    EXPECT_EQ(program, ReadBytes(golden)) << golden;
}

std::string CaseName(const ::testing::TestParamInfo<GoldenCase>& info) {
    std::string name = fs::path(info.param.golden).stem().string();
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Programs, GoldenProgram, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
