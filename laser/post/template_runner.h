// Running compiled templates: the state of one NC output run, the number formatting of coordinates and the
// interpreter that builds blocks and hands finished ones to a sink.
//
// A run appends words to the block being built (BlockWords; the block number goes to BlockNumberText); <EOB>
// writes the block as one line, the block number first. Nothing is separated automatically: letters such as
// " X" carry their own blanks. Words of a template without <EOB> stay for the next template's block.
//
// Block mode 1 (moves that may not move): a block is written only when a coordinate changed by 1.5 grid steps or
// more. A block that is not written takes its block number back, and the modal words it held (motion word, feed,
// compensation, arc centre, cutting mode) count as never written: the next block writes them again.
//
// The machine stands where the written blocks took it, as printed, which may be a grid step or so from the drawn
// point (a coordinate within 1.5 steps is not written again). An arc is written from there: its centre offsets are
// measured from that start, a whole circle ends exactly at it, and any other arc ends at its printed end or at the
// grid point beside it where its radius agrees with the start's to half a step. Incremental moves count from there
// too.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "laser/post/postprocessor_runtime.h"

struct CuttingJob;

// Where finished blocks go: the NC program file, or a list in the simulation and the tests.
class NcBlockSink {
public:
    virtual ~NcBlockSink() = default;
    // One block without its line end.
    virtual void WriteBlock(std::string_view line) = 0;
};

// A sink that keeps the blocks.
class NcBlockList : public NcBlockSink {
public:
    void WriteBlock(std::string_view line) override { blocks.emplace_back(line); }
    std::vector<std::string> blocks;
};

// Motions of RunTemplate.
inline constexpr int kMotionNone = -1;
inline constexpr int kMotionRapid = 0;
inline constexpr int kMotionLinear = 1;
inline constexpr int kMotionClockwise = 2;
inline constexpr int kMotionCounterClockwise = 3;

// Block mode 1: write a block only when a coordinate changed.
inline constexpr int kBlockIfMoved = 1;
inline constexpr int kBlockAlways = -1;

// Compensation states of WantedComp and PrintedComp.
inline constexpr char kCompOff = '(';
inline constexpr char kCompLeft = ')';
inline constexpr char kCompRight = '*';
inline constexpr char kCompNotWritten = '\0';

// States of NcOutputState::ToolIsOn. A program starts with neither, so its first switch-off writes nothing.
inline constexpr int kToolOff = 0;
inline constexpr int kToolOn = 1;
inline constexpr int kToolNeither = 3;

// The motion word remembered before a program's first motion word: no motion word equals it.
inline constexpr const char* kNoMotionWord = "NEWCMD";

struct NcPoint {
    double x = 0, y = 0, z = 0;
};

// The words whose output depends on what was written before. A block that is not written brings them back.
struct NcModalWords {
    int LastMotion = kMotionNone;
    std::string LastMotionWord = kNoMotionWord;
    double LastFeed = 0;
    char PrintedComp = kCompNotWritten;
    std::optional<double> LastI, LastJ;  // none: no arc centre written yet in this program
    std::string LastCuttingMode;
    // Where the written blocks have taken the machine, per axis, in printed steps (NcPrintedSteps): none until a
    // block wrote the axis. Arcs are written from there, and incremental moves count from there.
    std::optional<double> WrittenX, WrittenY;
};

// The state of one NC output or simulation run. The walkers set the move (Target, Centre, Radius, Sweep, Feed,
// WantedComp, CuttingModeText) and run the move's template.
struct NcOutputState {
    NcPoint Current, Previous, Target, Centre;
    double Radius = 0;  // negative for clockwise arcs, 0 for lines
    double Sweep = 0;   // radians
    double Feed = 0;
    char WantedComp = kCompOff;
    NcModalWords Modal;          // as the block being built leaves them
    NcModalWords WrittenModal;   // as the last written block left them
    int BlockNumber = 0;
    std::string BlockNumberText, BlockWords, PendingDiamWord;
    std::string CuttingModeText;
    std::string OutputPath;      // the NC program file (NAME-FILE-PROGRAM)
    int OutputMode = 0;          // 1 NC output, 0 simulation
    NcBlockSink* Output = nullptr;  // finished blocks; none: they are dropped
    // Header values: the job (null: the header keywords write nothing) and the clamps-in-use setting.
    CuttingJob* Job = nullptr;
    int ClampUse = 0;
    // For the emitters.
    int ToolIsOn = 0;               // kToolOff, kToolOn or kToolNeither (a program's start)
    int ToolKind = 0;
    int PreviousToolKind = 0;
    bool StopFlag = false;
    // A number a template was to print was not finite ("X-inf", "Xnan": a coordinate, increment, arc value,
    // radius, feed or header value, after scale, grid and unit). No block is written from then on; the program
    // writer stops and keeps no file.
    bool NonFinite = false;
};

// Gives `state` the start values of a program: block number NCodeStart, empty block, no motion word, feed 0,
// compensation not written, no arc centre, no cutting mode, no number that was not finite. The position, job, sink and output path stay.
void StartNcProgramState(NcOutputState& state, const PostprocessorRuntime& runtime);

// The absolute output text of a coordinate: v * scale rounded half away from zero to the grid of 10^-D, then
// converted to inches for "inc", printed with D decimals ("-0.000" never: a value that rounds to 0 is "0.000").
std::string FormatAbsoluteValue(const PostprocessorRuntime& runtime, double value);

// The increment from `from` to `to` after both were put on the grid; `text` gets it printed (with "+" for
// positive values when PlusSign). Answers the increment before the inch conversion; exactly 0 when both lie on
// the same grid step.
double FormatIncrementalValue(const PostprocessorRuntime& runtime, double from, double to, std::string& text);

// True when a and b print the same: |a - b| * scale is below 1.5 grid steps.
bool IsSameOutputValue(const PostprocessorRuntime& runtime, double a, double b);

// The number the machine reads from the absolute text of `value`, counted in steps of the last printed decimal
// (10^-D of the output unit): "5856.280" with 3 decimals is 5856280. Not finite when the text is no number.
double NcPrintedSteps(const PostprocessorRuntime& runtime, double value);

// True when the arc of `state` (from the machine's written position about Centre to Target, over Sweep) is a
// whole circle: a sweep of a full turn, or more than half a turn whose end prints as its start. A whole circle is
// written back to the point it starts from as written.
bool IsWholeCircleMove(const NcOutputState& state, const PostprocessorRuntime& runtime);
// True when the arc of `state` sweeps at most half a turn and its end prints within kShortArcChordSteps steps of
// where the machine stands: such an arc is cut as a straight move. Written as an arc, its rounded ends could swap
// and make a controller cut nearly a whole circle; the straight cut lies within half a chord of the arc.
bool IsShortArcMove(const NcOutputState& state, const PostprocessorRuntime& runtime);
// True when the arc of `state` is no whole circle, sweeps more than half a turn and its end prints within
// kShortArcChordSteps steps of where the machine stands (a hole drawn as an arc of 359.99 degrees): one block
// from there to there could be read as a sliver, so it is written as two blocks through the arc's middle
// (ArcMiddle), each of them plainly the arc it is.
bool IsNearlyClosedArcMove(const NcOutputState& state, const PostprocessorRuntime& runtime);
inline constexpr double kShortArcChordSteps = 10.0;
// The point halfway along the arc of `state` from Current about Centre over Sweep, clockwise for a negative
// Radius.
NcPoint ArcMiddle(const NcOutputState& state);

// The block number as N-CODE writes it: NCode and the number formatted by the block-number format, every blank
// removed ("N" and "04": 10 gives "N0010").
std::string FormatBlockNumber(const PostprocessorRuntime& runtime, int number);

// Runs `compiled` for one move or event: `motion` kMotionNone or 0 to 3, `blockMode` kBlockIfMoved or any other
// value (every non-empty block is written). Current becomes Target afterwards.
void RunTemplate(NcOutputState& state, const PostprocessorRuntime& runtime, const CompiledTemplate& compiled,
                 int motion, int blockMode);

// The module's one output state.
NcOutputState& NcState();
