// A postprocessor as the user edits it: every value of a *.MXT file, and the table of its file keys that drives
// the file's readers and writer.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The arc-centre output modes, stored as these integers.
inline constexpr int kCenterArcAbsoluteCentre = 0;   // absolute coordinates of the centre
inline constexpr int kCenterArcStartToCentre = 1;    // centre minus start point
inline constexpr int kCenterArcCentreToStart = 2;    // start point minus centre

// The texts of the three modes, in mode order (the same in both languages).
inline constexpr std::array<const char*, 3> kCenterArcModeNames = {
    "Absolute coordinates of center",
    "Distance from start point to center (signed)",
    "Distance from center to start point (signed)",
};

// One postprocessor. Every field that the file stores bears its key's name; the two keys that occur in two
// sections are the Code words RapidStr and LinearStr, and the Move templates MoveRapidStr and MoveLinearStr (keys
// "RapidStr" and "LinearStr" of the section Move). Multi-line values (blocks) hold their lines joined by CR LF.
// A new record has every text empty, every flag 0 except ReturnToHomePoint, and both arc-centre modes 0 with
// their shown texts empty.
struct PostprocessorSettings {
    // Not stored in the file: where the editor saves it, and the file-name and folder parts of that path.
    std::string PostprocessorPath;
    std::string PostprocessorFileName;
    std::string PostprocessorFolder;

    // General.
    std::string MachineType;  // "Laser", "Flame", "Waterjet" or "Diamond"
    std::string Unit;         // "mm" or "inc"
    std::string EXTFile;
    std::string RapidFeed;
    int DefaultAbsolute = 0;
    int CutCompensation = 0;
    int ReturnToHomePoint = 1;
    int UseProfilesCut = 0;
    std::string NamePostprocessor;
    std::string HomeX, HomeY, HomeZ;

    // Code.
    std::string InchStr, MetricStr, AbsoluteStr, IncrementalStr;
    std::string RapidStr, LinearStr, CircCWStr, CircCCWStr;  // motion words
    std::string CompOffStr, CompLeftStr, CompRightStr, CompDiamStr;
    std::string ClampStr, TrimLineStr, UnloadOpenWinStr, UnloadStopPrgStr;  // templates
    std::string UnloadWinMaxSizeXStr, UnloadWinMaxSizeYStr, UnloadWinMinSizeXStr, UnloadWinMinSizeYStr;

    // Format.
    std::string NCode, NFormat, XCode, XFormat, YCode, YFormat, ZCode, ZFormat, ICode, IFormat, JCode, JFormat,
        RCode, RFormat, FEEDCode, FEEDFormat;
    std::string NCodeStart, NCodeInc;
    std::string EOBStr, ScaleXYZ, StartComment, EndComment;

    // Move.
    std::string MoveRapidStr, MoveLinearStr, CircleStr;

    // CutCommand.
    std::string CutOnStr, CutOffStr, CutT2OnStr, CutT2OffStr, EngraveOnStr, EngraveOffStr, EngraveAndMarkOnStr,
        EngraveAndMarkOffStr, MarkOnStr, MarkOffStr, HeatTreatmentOnStr, HeatTreatmentOffStr;

    // ChangePower.
    std::string CPW_Edit_B10, CPW_Edit_L10, CPW_Edit_B20, CPW_Edit_L20, CPW_Edit_100, CPW_Edit_90, CPW_Edit_80;
    std::string PiercingMode, ZSensorOn, ZSensorOff;

    // Circular: the stored modes, and the texts that the editor's two combo boxes show.
    int CenterArcAbsolute = 0;
    int CenterArcIncremental = 0;
    int Output_IJ_Always = 0;
    std::string CenterArcAbsoluteText, CenterArcIncrementalText;

    // StartEnd (blocks).
    std::string StartPrgStr, EndPrgStr, EndFileStr;

    // Profile.
    std::string ProfLead, ProfCutStr, ProfCutSm1, ProfCutSm2, ProfCutSm3;
    std::string ProfCutDist1, ProfCutDist2, ProfCutDist3;
    std::string ProfCutUnlo, ProfMinHoleDiam;
};

// The nine sections of the file, in the order the writer writes them.
enum class PostSection {
    General,
    Code,
    Format,
    Move,
    CutCommand,
    ChangePower,
    Circular,
    StartEnd,
    Profile,
};
inline constexpr int kPostSectionCount = 9;

// The section's name as its header line carries it after "###".
const char* PostSectionName(PostSection section);

// What a key's value is, which decides how it is read, written and checked.
enum class PostValueKind {
    Text,      // one line, free text
    Template,  // one line, a template of the NC output
    Number,    // one line, empty or a decimal number
    Integer,   // one line, empty or a whole number
    Block,     // a count line and that many lines: a multi-line template
    Flag,      // one line, an integer: 1 when not 0; written "1" or "0"
    Mode,      // one line, an integer arc-centre mode; written "%i" from the shown combo text
};

// One key of the file: its section, its name, its kind, the reader's line size (a line holds at most limit - 2
// characters before its line end) and the field (text or integer) that holds its value.
struct PostKey {
    PostSection section;
    const char* name;
    PostValueKind kind;
    int limit;
    std::string PostprocessorSettings::*text = nullptr;
    int PostprocessorSettings::*integer = nullptr;
};

// Every key of the file in writer order (section by section).
inline constexpr std::size_t kPostKeyCount = 95;
const std::array<PostKey, kPostKeyCount>& PostKeys();

// The key of `section` named `name`, or null.
const PostKey* FindPostKey(PostSection section, std::string_view name);

// The General section's number of keys: a section that matches another number of key lines fails the read.
inline constexpr int kGeneralKeyCount = 12;

// 2 when `text` is the third mode text, else 1 when it is the second, else 0 (the first, an empty text and any
// typed text all give 0).
int CenterArcModeFromText(std::string_view text);
