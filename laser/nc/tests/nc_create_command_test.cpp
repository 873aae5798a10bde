// CreateNcProgram answered by script: the default file beside an unsaved drawing's last nesting folder, the
// header taken over, cancel at either dialog, a postprocessor that does not load, a typed file name that exists,
// a file that cannot be written, and a drawing without contours.
#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

#include "cadlib/host_variables.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/reg/machine_registry.h"
#include "host/sys/shell_open.h"
#include "host/ui/scripted_user.h"
#include "host/ui/tests/dialog_test_support.h"
#include "laser/job/job_life_cycle.h"
#include "laser/nc/nc_services.h"
#include "laser/nc/tests/nc_test_support.h"

using namespace nc_testing;

namespace {

namespace fs = std::filesystem;
using host::ui::testing::ScriptSession;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class NcCreateCommand : public NcTest {
protected:
    void SetUp() override {
        NcTest::SetUp();
        host::ed::registerHostCommands();
        CLaserSettings& s = LaserSettings();
        ASSERT_EQ(OnLoadDrawing(s), 0);
        ASSERT_EQ(PrepareDrawingJob(s), 0);
        ASSERT_NE(CurrentJob(s), nullptr);
        dir_ = fs::temp_directory_path() / ("kestrion_nccreate_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        // The drawing was never saved: the program goes to the folder of the last nesting.
        ASSERT_EQ(host::reg::productKey().setString("LastDirNestDWG", dir_.string()), host::reg::Status::Ok);
        s.DirPostprocessor = ReferencePostprocessors().string() + "/";
        s.Postprocessor = "FANUC.MXT";
        s.FeedCut = 3000;
        s.UnloadOption = 0;
        std::string name;
        GetSysVarString("DWGNAME", name);
        drawingStem_ = fs::path(name).stem().string();
        host::sys::clearOpenedForUser();
        host::ed::transcript().clear();
        host::ui::clearMessageBoxLog();
    }
    void TearDown() override {
        OnUnloadDrawing(LaserSettings());
        host::ed::commandStack().removeGroup(host::ed::kHostCommandGroup);
        host::reg::productKey().deleteValue("LastDirNestDWG");
        NcTest::TearDown();
        fs::remove_all(dir_);
    }

    CuttingJob& Job() { return *CurrentJob(LaserSettings()); }

    // One square with its path as group 1 of the job.
    void AddSquarePath() {
        TestGroup g;
        g.members = {RapidLine({0, 0}, {8, 10}),   CutLine({8, 10}, {10, 10}),  CutLine({10, 10}, {20, 10}),
                     CutLine({20, 10}, {20, 20}), CutLine({20, 20}, {10, 20}), CutLine({10, 20}, {10, 10}),
                     CutLine({10, 10}, {10, 8})};
        AddGroup(1, g);
        Job().pathGroupCount = 1;
    }

    // Runs the command with the script's answers; answers the transcript.
    std::string RunCommand(std::vector<std::string> lines) {
        ScriptSession script(std::move(lines));
        EXPECT_EQ(CreateNcProgram(), 0);
        EXPECT_EQ(script.linesLeft(), 0u) << script.transcript();
        return script.transcript();
    }

    fs::path Default(const char* ext) const { return dir_ / (drawingStem_ + "." + ext); }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : host::ui::messageBoxLog()) texts.push_back(box.text);
        return texts;
    }

    fs::path dir_;
    std::string drawingStem_;
    host::ui::ScriptedUser user_;
    host::ui::UseDialogUser answering_{&user_};
};

TEST_F(NcCreateCommand, WritesTheProgramIntoTheProposedFileAndOpensIt) {
    AddSquarePath();
    const std::string transcript =
        RunCommand({"dlg ok", "dlg set 249 Plate 7", "dlg set 232 4500", "dlg press OK"});
    const fs::path path = Default("nc");
    ASSERT_TRUE(fs::exists(path)) << transcript;
    const std::string text = ReadBytes(path);
    EXPECT_TRUE(Has(text, "M07\r\n")) << text;
    EXPECT_TRUE(Has(text, "F4500\r\n")) << text;
    EXPECT_TRUE(Has(text, "M08\r\n")) << text;
    EXPECT_TRUE(Has(transcript, "\n\rFile " + path.string() + " is successfully created")) << transcript;
    ASSERT_EQ(host::sys::openedForUser().size(), 1u);
    EXPECT_EQ(host::sys::openedForUser()[0], path);
    EXPECT_EQ(Job().programName, "PLATE 7") << "the header's NAME-PROGRAM writes it in capitals";
    EXPECT_DOUBLE_EQ(LaserSettings().FeedCut, 4500.0);
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(NcCreateCommand, CancelInEitherDialogWritesNothing) {
    AddSquarePath();
    for (const std::vector<std::string>& lines :
         {std::vector<std::string>{"file cancel"}, std::vector<std::string>{"dlg ok", "dlg cancel"}}) {
        const std::string transcript = RunCommand(lines);
        EXPECT_FALSE(fs::exists(Default("nc"))) << lines.back();
        EXPECT_FALSE(Has(transcript, "successfully created")) << lines.back();
        EXPECT_TRUE(host::sys::openedForUser().empty());
    }
}

TEST_F(NcCreateCommand, PostprocessorThatDoesNotLoadIsRefusedUntilAnotherIsChosen) {
    AddSquarePath();
    LaserSettings().Postprocessor = "missing.MXT";
    const std::string transcript = RunCommand({
        "msgbox ok",  // not found
        "dlg ok",     // the proposed name has the extension "cnc"
        "dlg press OK",
        "msgbox ok",  // the same postprocessor again: refused
        "dlg set 225 FANUC.MXT",
        "dlg press OK",
    });
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 2u) << transcript;
    EXPECT_TRUE(Has(boxes[0], "missing.MXT")) << boxes[0];
    const std::string missing = LaserSettings().DirPostprocessor + "missing.MXT";
    EXPECT_EQ(boxes[1], "\nERROR!!!\n\nThe file of the postprocessor  '" + missing +
                            "'  has been loaded with a mistake!!!  \nChoose an other postprocessor\n");
    EXPECT_EQ(LaserSettings().Postprocessor, "FANUC.MXT");
    const fs::path path = Default("cnc");
    ASSERT_TRUE(fs::exists(path)) << transcript;
    EXPECT_TRUE(Has(ReadBytes(path), "M07\r\n"));
}

TEST_F(NcCreateCommand, TypedNameOfAnExistingFileBringsTheFileDialogBack) {
    AddSquarePath();
    const fs::path existing = dir_ / "existing.nc";
    std::ofstream(existing) << "old program\n";
    const std::string transcript = RunCommand({
        "dlg ok",
        "dlg set 255 " + existing.string(),
        "dlg press OK",
        "dlg ok",      // the file dialog again, on that name
        "msgbox yes",  // replace it
        "dlg press OK",
    });
    EXPECT_FALSE(fs::exists(Default("nc")));
    EXPECT_TRUE(Has(ReadBytes(existing), "M07\r\n")) << transcript;
}

TEST_F(NcCreateCommand, FileThatCannotBeWrittenIsReportedWithoutSuccess) {
    AddSquarePath();
    const fs::path path = dir_ / "no such folder" / "part.nc";
    const std::string transcript = RunCommand({"dlg ok", "dlg set 255 " + path.string(), "dlg press OK", "msgbox ok"});
    EXPECT_FALSE(fs::exists(path.parent_path()));
    EXPECT_FALSE(Has(transcript, "successfully created")) << transcript;
    EXPECT_TRUE(host::sys::openedForUser().empty());
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(Has(boxes[0], path.string())) << boxes[0];
}

// Before: a drawing without a path got a program of header and end only, reported as "successfully created".
TEST_F(NcCreateCommand, ADrawingWithoutACuttingPathIsToldSoAndNothingIsWritten) {
    const struct {
        const char* what;
        int status;
        bool path;
    } cases[] = {{"no contours", kSlotNoJob, true}, {"contours, no path", kSlotJob, false}};
    for (const auto& c : cases) {
        SetUp();
        if (c.path) AddSquarePath();
        CurrentSlot(LaserSettings())->status = c.status;
        const std::string transcript = RunCommand({});
        EXPECT_TRUE(Has(transcript, "The drawing has no cutting path: no NC program is written.")) << c.what;
        EXPECT_FALSE(Has(transcript, "successfully created")) << c.what;
        EXPECT_FALSE(fs::exists(Default("nc"))) << c.what;
        EXPECT_TRUE(host::sys::openedForUser().empty()) << c.what;
        TearDown();
    }
}

}  // namespace
