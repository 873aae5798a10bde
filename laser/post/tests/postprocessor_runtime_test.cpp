// Preparing the postprocessor runtime: conversions, the postprocessors it refuses and loading the selected file.
#include <gtest/gtest.h>

#include "host/ed/transcript.h"
#include "laser/nc/nc_services.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/post/tests/post_test_support.h"

using namespace post_test;

namespace {

class PostprocessorRuntimeLoad : public ::testing::Test {
protected:
    void SetUp() override {
        SetLanguageFlag(0);
        host::ui::clearMessageBoxLog();
        ASSERT_EQ(ReadPostprocessorFile(shipped_, ShippedLaser()), 0);
    }
    PostprocessorSettings shipped_;
};

TEST_F(PostprocessorRuntimeLoad, ValuesAreConvertedAsTheOutputUsesThem) {
    PostprocessorRuntime runtime;
    ASSERT_EQ(PreparePostprocessorRuntime(shipped_, "FANUC.MXT", runtime), 0);
    EXPECT_EQ(runtime.MachineTypeCode, kMachineLaser);
    EXPECT_EQ(runtime.UnitCode, 0);
    EXPECT_EQ(runtime.Absolute, 1);
    EXPECT_EQ(runtime.Decimals, 3);
    EXPECT_EQ(runtime.Precision, 1000);
    EXPECT_EQ(runtime.FeedDecimals, 0);
    EXPECT_EQ(runtime.NCodeStart, 10);
    EXPECT_EQ(runtime.CenterArcAbsolute, 1);
    EXPECT_EQ(runtime.EXTFile, "nc");
    EXPECT_FALSE(runtime.CircleStr.empty());
    EXPECT_TRUE(runtime.ZSensorOn.empty());

    const struct {
        const char* machine;
        int code;
    } machines[] = {{"Laser", 1}, {"Flame", 2}, {"Waterjet", 3}, {"Diamond", 4}, {"waterjet", 0}, {"", 0}};
    for (const auto& m : machines) {
        PostprocessorSettings settings = shipped_;
        settings.MachineType = m.machine;
        ASSERT_EQ(PreparePostprocessorRuntime(settings, "x", runtime), 0);
        EXPECT_EQ(runtime.MachineTypeCode, m.code) << m.machine;
    }
    for (const auto& [unit, code] : {std::pair{"inc", 1}, {"mm", 0}, {"inc ", 1}}) {
        PostprocessorSettings settings = shipped_;
        settings.Unit = unit;
        ASSERT_EQ(PreparePostprocessorRuntime(settings, "x", runtime), 0);
        EXPECT_EQ(runtime.UnitCode, code) << unit;
    }
    EXPECT_EQ(DecimalsOfFormat("4.3"), 3);
    EXPECT_EQ(DecimalsOfFormat("+5.2"), 2);
    EXPECT_EQ(DecimalsOfFormat("5"), 0);
    EXPECT_EQ(DecimalsOfFormat(""), 0);
    EXPECT_EQ(DecimalsOfFormat("..4..2"), 2) << "empty pieces are skipped";
    EXPECT_EQ(DecimalsOfFormat("4.-3"), -3);
}

// Postprocessors that would write a wrong program, or none, are refused with the key named.
TEST_F(PostprocessorRuntimeLoad, RefusesWhatWouldWriteAWrongProgram) {
    const struct {
        void (*change)(PostprocessorSettings&);
        const char* key;
        const char* reason;
    } cases[] = {
        {[](PostprocessorSettings& s) { s.ScaleXYZ = ""; }, "ScaleXYZ", "must be a number greater than 0, at most 100000."},
        {[](PostprocessorSettings& s) { s.ScaleXYZ = "0"; }, "ScaleXYZ", "must be a number greater than 0"},
        {[](PostprocessorSettings& s) { s.ScaleXYZ = "-1"; }, "ScaleXYZ", "must be a number greater than 0"},
        {[](PostprocessorSettings& s) { s.ScaleXYZ = "1x"; }, "ScaleXYZ", "must be a number greater than 0"},
        {[](PostprocessorSettings& s) { s.ScaleXYZ = "1e20"; }, "ScaleXYZ", "at most 100000."},
        {[](PostprocessorSettings& s) { s.ScaleXYZ = "1e308"; }, "ScaleXYZ", "at most 100000."},
        {[](PostprocessorSettings& s) { s.ScaleXYZ = "inf"; }, "ScaleXYZ", "at most 100000."},
        {[](PostprocessorSettings& s) { s.Unit = "nan"; }, "Unit", "must be mm or inc."},
        {[](PostprocessorSettings& s) { s.Unit = ""; }, "Unit", "must be mm or inc."},
        {[](PostprocessorSettings& s) { s.Unit = "-1"; }, "Unit", "must be mm or inc."},
        {[](PostprocessorSettings& s) { s.Unit = "INC"; }, "Unit", "must be mm or inc."},
        {[](PostprocessorSettings& s) { s.NCodeInc = "-10"; }, "NCodeInc", "from 1 to 99999."},
        {[](PostprocessorSettings& s) { s.NCodeInc = "0"; }, "NCodeInc", "from 1 to 99999."},
        {[](PostprocessorSettings& s) { s.NCodeInc = ""; }, "NCodeInc", "from 1 to 99999."},
        {[](PostprocessorSettings& s) { s.NCodeInc = "2.5"; }, "NCodeInc", "from 1 to 99999."},
        {[](PostprocessorSettings& s) { s.NCodeStart = "-10"; }, "NCodeStart", "from 0 to 99999999."},
        {[](PostprocessorSettings& s) { s.NCodeStart = "1e9"; }, "NCodeStart", "from 0 to 99999999."},
        {[](PostprocessorSettings& s) { s.XFormat = "4.10"; }, "XFormat", "must give 0 to 9 decimals"},
        {[](PostprocessorSettings& s) { s.XFormat = "4.-3"; }, "XFormat", "must give 0 to 9 decimals"},
        {[](PostprocessorSettings& s) { s.FEEDFormat = "5.12"; }, "FEEDFormat", "must give 0 to 9 decimals"},
        {[](PostprocessorSettings& s) { s.NFormat = "s"; }, "NFormat", "may hold only the flags"},
        {[](PostprocessorSettings& s) { s.NFormat = "n"; }, "NFormat", "may hold only the flags"},
        {[](PostprocessorSettings& s) { s.NFormat = "4.2"; }, "NFormat", "may hold only the flags"},
        {[](PostprocessorSettings& s) { s.NFormat = "4-"; }, "NFormat", "may hold only the flags"},
        {[](PostprocessorSettings& s) { s.NFormat = "33"; }, "NFormat", "may hold only the flags"},
        {[](PostprocessorSettings& s) { s.TrimLineStr = "(T)<TRIM-LINE><EOB>"; }, "TrimLineStr", "runs itself"},
        {[](PostprocessorSettings& s) { s.ClampStr = "<CLAMP>"; }, "ClampStr", "runs itself"},
        {[](PostprocessorSettings& s) {
             s.TrimLineStr = "<CLAMP>";
             s.ClampStr = "<TRIM-LINE>";
         },
         "TrimLineStr", "runs itself"},
    };
    for (const auto& c : cases) {
        host::ui::clearMessageBoxLog();
        PostprocessorSettings settings = shipped_;
        c.change(settings);
        PostprocessorRuntime runtime;
        runtime.NamePostprocessor = "loaded before";
        EXPECT_EQ(PreparePostprocessorRuntime(settings, "BAD.MXT", runtime), -1) << c.key;
        EXPECT_EQ(runtime.NamePostprocessor, "loaded before") << "a refused postprocessor changes nothing";
        ASSERT_EQ(MessageBoxTexts().size(), 1u) << c.key;
        const std::string text = MessageBoxTexts()[0];
        EXPECT_EQ(text.rfind("\nERROR!!!\n\nThe postprocessor 'BAD.MXT' cannot be used: the key " + std::string(c.key) +
                                 " ",
                             0),
                  0u)
            << text;
        EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    }
    PostprocessorRuntime runtime;
    for (const char* fine : {"", "04", "-8", "+ 06"}) {
        PostprocessorSettings settings = shipped_;
        settings.NFormat = fine;
        EXPECT_EQ(PreparePostprocessorRuntime(settings, "x", runtime), 0) << "'" << fine << "'";
    }
    // A post that writes no block numbers needs no start or step.
    PostprocessorSettings unnumbered = shipped_;
    unnumbered.NCode.clear();
    unnumbered.NCodeStart.clear();
    unnumbered.NCodeInc.clear();
    EXPECT_EQ(PreparePostprocessorRuntime(unnumbered, "x", runtime), 0);
    PostprocessorSettings nested = shipped_;
    nested.TrimLineStr = "<CLAMP>(TRIM)<EOB>";
    EXPECT_EQ(PreparePostprocessorRuntime(nested, "x", runtime), 0) << "a trim line may run the clamps";
}

// A coordinate format without decimals ("43" typed for "4.3") writes whole millimetres: the post still loads (a
// scale may make whole numbers mean thousandths), but the command line says so, naming the key and its value.
// Before, nothing was said and the machine cut every point to the nearest millimetre.
TEST_F(PostprocessorRuntimeLoad, ACoordinateFormatWithoutDecimalsIsToldAtLoad) {
    const struct {
        const char* format;
        const char* scale;
        bool told;
    } cases[] = {
        {"43", "1", true}, {"4.0", "1", true}, {"5", "0.5", true}, {"4.3", "1", false}, {"7", "1000", false},
    };
    for (const auto& c : cases) {
        host::ed::transcript().clear();
        PostprocessorSettings settings = shipped_;
        settings.XFormat = c.format;
        settings.ScaleXYZ = c.scale;
        PostprocessorRuntime runtime;
        ASSERT_EQ(PreparePostprocessorRuntime(settings, "TYPO.MXT", runtime), 0) << c.format;
        const std::string note = "The postprocessor 'TYPO.MXT' writes X and Y in whole millimetres (whole inches for "
                                 "Unit inc): its key XFormat is \"" + std::string(c.format) + "\"";
        EXPECT_EQ(host::ed::transcript().text().find(note) != std::string::npos, c.told)
            << c.format << " " << c.scale << ": " << host::ed::transcript().text();
        EXPECT_TRUE(MessageBoxTexts().empty()) << "a note, not a box a script would have to answer";
    }
}

TEST_F(PostprocessorRuntimeLoad, AnyTemplateThatDoesNotCompileFailsTheLoad) {
    for (std::string PostprocessorSettings::*field :
         {&PostprocessorSettings::CutOnStr, &PostprocessorSettings::ProfCutUnlo, &PostprocessorSettings::ClampStr,
          &PostprocessorSettings::EndFileStr}) {
        host::ui::clearMessageBoxLog();
        PostprocessorSettings settings = shipped_;
        settings.*field = "<N-CODE><NOPE><EOB>";
        PostprocessorRuntime runtime;
        ASSERT_EQ(PreparePostprocessorRuntime(shipped_, "x", runtime), 0);
        const PostprocessorRuntime before = runtime;
        EXPECT_EQ(PreparePostprocessorRuntime(settings, "x", runtime), -1);
        // The message names the key too, so that the user finds the template.
        const PostKey* key = nullptr;
        for (const PostKey& k : PostKeys())
            if (k.text == field) key = &k;
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(MessageBoxTexts(),
                  std::vector<std::string>{"\nERROR!!!\n\nThe postprocessor 'x' cannot be used: the template " +
                                           std::string(PostSectionName(key->section)) + " " + key->name +
                                           " does not compile:\nan unknown keyword <NOPE> in the line "
                                           "<N-CODE><NOPE><EOB>\nChoose an other postprocessor."});
        EXPECT_EQ(runtime.CutOnStr.tokens, before.CutOnStr.tokens) << "no half-loaded runtime";
        EXPECT_EQ(runtime.MoveRapidStr.tokens, before.MoveRapidStr.tokens);
    }
}

TEST_F(PostprocessorRuntimeLoad, ShippedPostprocessorsLoadForTheirMachines) {
    const std::pair<const char*, int> shipped[] = {
        {"FANUC.MXT", kMachineLaser},
        {"LINUXCNC_PLASMA.MXT", kMachineFlame},
        {"LINUXCNC_WATERJET.MXT", kMachineWaterjet}};
    for (const auto& [name, machine] : shipped) {
        PostprocessorRuntime runtime;
        EXPECT_EQ(LoadPostprocessorRuntimeFrom(SourceDir() / "data/post" / name, runtime), 0) << name;
        EXPECT_EQ(runtime.MachineTypeCode, machine) << name;
    }
    EXPECT_TRUE(MessageBoxTexts().empty());
}

TEST_F(PostprocessorRuntimeLoad, SelectedFileIsLoadedOrReportedMissing) {
    PostprocessorRuntime runtime;
    runtime.LeadText = "kept";
    ASSERT_EQ(LoadSelectedPostprocessor(Fixture("reference").string(), "FANUC.MXT", runtime), 0);
    EXPECT_EQ(runtime.NamePostprocessor, "Generic G-code laser");
    EXPECT_EQ(runtime.LeadText, "kept") << "the texts set by the NC program creation stay";
    EXPECT_EQ(PostprocessorPathOf("", "FANUC.MXT"), ShippedPostprocessorFolder() / "FANUC.MXT");
    EXPECT_EQ(PostprocessorPathOf("C:\\Post\\", "A.MXT"), std::filesystem::path("C:/Post/A.MXT"));

    EXPECT_EQ(LoadSelectedPostprocessor(TempDir().string(), "NONE.MXT", runtime), -1);
    SetLanguageFlag(1);
    EXPECT_EQ(LoadSelectedPostprocessor(TempDir().string(), "NONE.MXT", runtime), -1);
    SetLanguageFlag(0);
    EXPECT_EQ(MessageBoxTexts(),
              (std::vector<std::string>{
                  "\nERROR!!!\n\nThe file of postprocessor 'NONE.MXT' is not found.    \nChoose an other postprocessor.",
                  "\nОШИБКА!!!\n\nФайл постпроцессора 'NONE.MXT' не найден.    \nВыбери другой постпроцессор"}));
    EXPECT_EQ(runtime.NamePostprocessor, "Generic G-code laser");

    // A damaged file: the reader's message, and the runtime stays.
    host::ui::clearMessageBoxLog();
    WriteBytes(TempDir() / "DAMAGED.MXT", "CFG POST\r\n4.2\r\n###General\r\n");
    EXPECT_EQ(LoadSelectedPostprocessor(TempDir().string(), "DAMAGED.MXT", runtime), -1);
    ASSERT_EQ(MessageBoxTexts().size(), 1u);
    EXPECT_NE(MessageBoxTexts()[0].find("is damaged at line 4"), std::string::npos) << MessageBoxTexts()[0];
    EXPECT_EQ(runtime.NamePostprocessor, "Generic G-code laser");
}

TEST_F(PostprocessorRuntimeLoad, ModuleLoadsThePostprocessorOfItsSettings) {
    CLaserSettings& settings = LaserSettings();
    const std::string folder = settings.DirPostprocessor, name = settings.Postprocessor;
    settings.DirPostprocessor = "";
    settings.Postprocessor = "FANUC.MXT";
    PostRuntime() = PostprocessorRuntime{};
    EXPECT_EQ(LoadPostprocessorRuntime(), 0) << "no folder: the shipped postprocessors";
    EXPECT_EQ(PostRuntime().MachineTypeCode, kMachineLaser);
    settings.Postprocessor = "NONE.MXT";
    EXPECT_NE(LoadPostprocessorRuntime(), 0);
    EXPECT_EQ(MessageBoxTexts().size(), 1u);
    settings.DirPostprocessor = folder;
    settings.Postprocessor = name;
}

}  // namespace
