// The template interpreter: number formatting on the output grid, the keyword cases and the block writer.
#include "laser/post/template_runner.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "cadlib/number_text.h"
#include "cadlib/numbers.h"
#include "host/sys/number_text.h"
#include "host/sys/text_case.h"
#include "laser/job/drawing_slot.h"

namespace {

// How deep <TRIM-LINE> and <CLAMP> may nest: TrimLineStr may run <CLAMP> (and ClampStr <TRIM-LINE>), never
// both; the load refuses the cycles, and this bound keeps a runtime built some other way finite.
constexpr int kMaxTemplateNesting = 2;

// A text printed as "-0.000" is the value 0: the sign of a value that rounded away would mislead the machine
// operator and differ between the absolute and incremental forms of the same point.
void DropNegativeZero(std::string& text) {
    if (text.empty() || text.front() != '-') return;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] != '0' && text[i] != '.') return;
    }
    text.erase(0, 1);
}

// Grid steps per unit of the job: Precision, or for a job in inches written in millimetres Precision per
// millimetre (25.4 times as many per inch), so that the grid is never coarser than a printed step. A job in
// millimetres keeps its grid of millimetres whatever the postprocessor's unit.
double GridStepsPerJobUnit(const PostprocessorRuntime& runtime) {
    return static_cast<double>(runtime.Precision) *
           std::max(1.0, ConvertUnits(runtime.JobUnitCode, runtime.UnitCode, 1.0));
}

// v * scale on the output grid, in the job's unit: rounded half away from zero to one printed step. The grid
// count is kept in a double, exact up to 2^53, so no coordinate of a sheet wraps.
double OnGrid(const PostprocessorRuntime& runtime, double value) {
    const double k = GridStepsPerJobUnit(runtime);
    const double count = std::round(value * runtime.ScaleXYZ * k);
    return count == 0.0 ? 0.0 : count / k;
}

// A value of the job's unit in the postprocessor's: divided by 25.4 for an "inc" postprocessor and a job in
// millimetres, multiplied for one in "mm" and a job in inches.
double InOutputUnit(const PostprocessorRuntime& runtime, double value) {
    return ConvertUnits(runtime.JobUnitCode, runtime.UnitCode, value);
}

std::string FormatRadius(const PostprocessorRuntime& runtime, double radius) {
    std::string text = host::sys::formatFixed(InOutputUnit(runtime, radius * runtime.ScaleXYZ), runtime.Decimals);
    TrimTrailingZeros(text);
    DropNegativeZero(text);
    return text;
}

void TrimBlanks(std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(0, first);
    text.erase(text.find_last_not_of(" \t") + 1);
}

// The material name as a header shows it: cut before its first ".MAT" (or, without one, ".mat") unless that
// stands at the very beginning.
std::string MaterialHeader(const std::string& material) {
    std::size_t cut = material.find(".MAT");
    if (cut == std::string::npos) cut = material.find(".mat");
    if (cut == std::string::npos || cut == 0) return material;
    return material.substr(0, cut);
}

// The output file's name without folders and without everything from its first point, in capitals.
std::string ProgramFileHeader(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t point = name.find('.');
    if (point != std::string::npos) name.erase(point);
    return host::sys::upperCase(name);
}

// A number of printed steps as the absolute text of a coordinate ("-0.000" never).
std::string FormatSteps(const PostprocessorRuntime& runtime, double steps) {
    std::string text = host::sys::formatFixed(steps / static_cast<double>(runtime.Precision), runtime.Decimals);
    DropNegativeZero(text);
    return text;
}

// An increment of printed steps as incremental output writes it: with "+" before positive values when PlusSign.
std::string FormatStepIncrement(const PostprocessorRuntime& runtime, double steps) {
    std::string text = FormatSteps(runtime, steps);
    if (runtime.PlusSign == 1 && !text.empty() && text.front() != '-') text.insert(0, "+");
    return text;
}

// The written position of an axis, in printed steps: where the last block that wrote it took the machine, or
// (none written yet) where the program takes the machine to stand.
double WrittenSteps(const PostprocessorRuntime& runtime, const std::optional<double>& written, double current) {
    return written ? *written : NcPrintedSteps(runtime, current);
}

// An arc as it is written, in printed steps: from the machine's written position, about the printed centre, to
// an end whose distance from the centre agrees with the start's to half a step. A whole circle ends exactly where
// it starts.
struct ArcSteps {
    double start[2] = {0, 0};
    double centre[2] = {0, 0};
    double end[2] = {0, 0};
    bool wholeCircle = false;
    // An arc that is no whole circle but would print its end on its start: a controller would cut a whole circle.
    bool endsWhereItStarts() const { return !wholeCircle && end[0] == start[0] && end[1] == start[1]; }
};

// How far from the printed end an end that makes the radii agree is looked for, in steps per axis.
constexpr int kArcEndSearchSteps = 3;

ArcSteps PlanArc(const NcOutputState& s, const PostprocessorRuntime& r) {
    ArcSteps arc;
    arc.start[0] = WrittenSteps(r, s.Modal.WrittenX, s.Current.x);
    arc.start[1] = WrittenSteps(r, s.Modal.WrittenY, s.Current.y);
    arc.centre[0] = NcPrintedSteps(r, s.Centre.x);
    arc.centre[1] = NcPrintedSteps(r, s.Centre.y);
    arc.wholeCircle = IsWholeCircleMove(s, r);
    if (arc.wholeCircle) {
        arc.end[0] = arc.start[0];
        arc.end[1] = arc.start[1];
        return arc;
    }
    const double ex = NcPrintedSteps(r, s.Target.x), ey = NcPrintedSteps(r, s.Target.y);
    arc.end[0] = ex;
    arc.end[1] = ey;
    const double startRadius = std::hypot(arc.start[0] - arc.centre[0], arc.start[1] - arc.centre[1]);
    const auto misfit = [&](double x, double y) {
        return std::fabs(std::hypot(x - arc.centre[0], y - arc.centre[1]) - startRadius);
    };
    // The printed end when its radius agrees; else the nearest point of the grid around it that agrees, or failing
    // that (radii of a few steps) the one that agrees best.
    constexpr double kHalfStep = 0.5 + 1e-9;
    if (!(misfit(ex, ey) > kHalfStep)) return arc;
    double best = misfit(ex, ey), bestDistance = 0.0;
    for (int i = -kArcEndSearchSteps; i <= kArcEndSearchSteps; ++i) {
        for (int j = -kArcEndSearchSteps; j <= kArcEndSearchSteps; ++j) {
            const double x = ex + i, y = ey + j;
            const double m = misfit(x, y), distance = std::hypot(i, j);
            const bool fits = m <= kHalfStep, bestFits = best <= kHalfStep;
            if ((fits && !bestFits) || (fits && distance < bestDistance) || (!fits && !bestFits && m < best)) {
                best = m;
                bestDistance = distance;
                arc.end[0] = x;
                arc.end[1] = y;
            }
        }
    }
    return arc;
}

class TemplateRun {
public:
    TemplateRun(NcOutputState& state, const PostprocessorRuntime& runtime) : s_(state), r_(runtime) {}

    void Run(const CompiledTemplate& compiled, int motion, int blockMode, int depth) {
        if (compiled.empty()) return;
        s_.Previous = s_.Current;
        if (depth == 0) {
            arc_.reset();
            if (motion == kMotionClockwise || motion == kMotionCounterClockwise) arc_ = PlanArc(s_, r_);
        }
        bool changed = false;
        bool forced = false;
        for (const TemplateToken& token : compiled.tokens) {
            RunToken(token, motion, blockMode, depth, changed, forced);
        }
        s_.Current.x = s_.Target.x;
        s_.Current.y = s_.Target.y;
    }

private:
    void Append(std::string_view word) { s_.BlockWords += word; }

    // Marks the run when a number to be printed is not finite.
    void Guard(double printed) {
        if (!std::isfinite(printed)) s_.NonFinite = true;
    }

    void EndBlock(int blockMode, bool changed) {
        TrimBlanks(s_.BlockWords);
        // An arc block whose end is its start is a whole circle to a controller: an arc that is none is not written.
        const bool wanted = (blockMode != kBlockIfMoved || changed) && !(arc_ && arc_->endsWhereItStarts());
        if (s_.NonFinite) {
            // Never hand the machine a block with "inf" or "nan" in it: the writer discards the program.
        } else if (wanted && !s_.BlockWords.empty()) {
            if (s_.Output != nullptr) {
                if (s_.BlockNumberText.empty()) {
                    s_.Output->WriteBlock(s_.BlockWords);
                } else {
                    s_.BlockNumberText += s_.BlockWords;
                    s_.Output->WriteBlock(s_.BlockNumberText);
                }
            }
            s_.WrittenModal = s_.Modal;
        } else {
            TrimBlanks(s_.BlockNumberText);
            if (!s_.BlockNumberText.empty() && s_.BlockNumber > 0) s_.BlockNumber -= r_.NCodeInc;
            // The words of this block never reached the machine: the next block must write them again.
            s_.Modal = s_.WrittenModal;
        }
        s_.BlockNumberText.clear();
        s_.BlockWords.clear();
        s_.PendingDiamWord.clear();
    }

    const std::string* MotionWord(int motion) const {
        switch (motion) {
            case kMotionRapid: return &r_.RapidStr;
            case kMotionLinear: return &r_.LinearStr;
            case kMotionClockwise: return &r_.CircCWStr;
            case kMotionCounterClockwise: return &r_.CircCCWStr;
            default: return nullptr;
        }
    }

    std::optional<double>& Written(double NcPoint::*axis) {
        return axis == &NcPoint::x ? s_.Modal.WrittenX : s_.Modal.WrittenY;
    }
    static int AxisIndex(double NcPoint::*axis) { return axis == &NcPoint::x ? 0 : 1; }

    // X-COORD and its kin for one axis. `all` writes even an unchanged value, `absolute` the absolute form in
    // either mode. An arc writes the end of its plan; its coordinate counts as unchanged only when it is the
    // start's. Increments count from where the written blocks took the machine.
    void Coordinate(double NcPoint::*axis, const std::string& code, bool all, bool absolute, bool forced,
                    bool& changed) {
        s_.Previous.*axis = s_.Current.*axis;
        std::optional<double>& written = Written(axis);
        double target = 0.0;
        bool same = false;
        if (arc_) {
            target = arc_->end[AxisIndex(axis)];
            same = target == arc_->start[AxisIndex(axis)];
        } else {
            target = NcPrintedSteps(r_, s_.Target.*axis);
            same = IsSameOutputValue(r_, s_.Current.*axis, s_.Target.*axis);
        }
        if (r_.Absolute == 1 || absolute) {
            if (!same || forced || all) {
                Guard(target);
                s_.Current.*axis = s_.Target.*axis;
                Append(code);
                Append(FormatSteps(r_, target));
                written = target;
            }
        } else {
            const double d = target - WrittenSteps(r_, written, s_.Current.*axis);
            Guard(d);
            if (d != 0.0 || forced || all) {
                Append(code);
                Append(FormatStepIncrement(r_, d));
            }
            written = target;
        }
        if (!same) changed = true;
    }

    // ARC-X and ARC-Y: the centre, or its offset from the arc's start as the machine knows it, in printed steps.
    void ArcCentre(double NcPoint::*axis, const std::string& code, std::optional<double>& last) {
        const int mode = r_.Absolute == 1 ? r_.CenterArcAbsolute : r_.CenterArcIncremental;
        const double centre = arc_ ? arc_->centre[AxisIndex(axis)] : NcPrintedSteps(r_, s_.Centre.*axis);
        const double start =
            arc_ ? arc_->start[AxisIndex(axis)] : WrittenSteps(r_, Written(axis), s_.Previous.*axis);
        if (mode == kCenterArcAbsoluteCentre) {
            if (last && *last == centre && r_.Output_IJ_Always != 1) return;
            Guard(centre);
            last = centre;
            Append(code);
            Append(FormatSteps(r_, centre));
        } else if (mode == kCenterArcStartToCentre || mode == kCenterArcCentreToStart) {
            const double d = mode == kCenterArcStartToCentre ? centre - start : start - centre;
            Guard(d);
            last = d;
            if (d != 0.0) {
                Append(code);
                Append(FormatStepIncrement(r_, d));
            }
        }
    }

    void CompensationWord() {
        switch (s_.WantedComp) {
            case kCompOff: Append(r_.CompOffStr); break;
            case kCompLeft:
                Append(r_.CompLeftStr);
                s_.PendingDiamWord = r_.CompDiamStr;
                break;
            case kCompRight:
                Append(r_.CompRightStr);
                s_.PendingDiamWord = r_.CompDiamStr;
                break;
            default: break;
        }
        s_.Modal.PrintedComp = s_.WantedComp;
    }

    void Header(TemplateKeyword keyword) {
        CuttingJob* job = s_.Job;
        if (job == nullptr) return;
        const double width = job->extentsMax.x - job->extentsMin.x;
        const double height = job->extentsMax.y - job->extentsMin.y;
        const auto formatFixed = [this](double value, int decimals) {
            Guard(value);
            return host::sys::formatFixed(value, decimals);
        };
        switch (keyword) {
            case TemplateKeyword::MaterialNum: Append(job->materialNumber); break;
            case TemplateKeyword::NameProgram:
                job->programName = host::sys::upperCase(job->programName);
                Append(job->programName);
                break;
            case TemplateKeyword::Material: Append(MaterialHeader(job->material)); break;
            // The thickness in the program's unit: "T=1.000" in a G20 program reads as an inch.
            case TemplateKeyword::Thin: Append(formatFixed(InOutputUnit(r_, job->thickness), 3)); break;
            case TemplateKeyword::Format: Append(formatFixed(width, 3) + " X " + formatFixed(height, 3)); break;
            case TemplateKeyword::ListSizeX: Append(formatFixed(width, 2)); break;
            case TemplateKeyword::ListSizeY: Append(formatFixed(height, 2)); break;
            case TemplateKeyword::Thin0: Append(formatFixed(InOutputUnit(r_, job->thickness), 0)); break;
            case TemplateKeyword::Thin10: Append(formatFixed(InOutputUnit(r_, job->thickness) * 10.0, 0)); break;
            case TemplateKeyword::ListSizeX0: Append(formatFixed(width, 0)); break;
            case TemplateKeyword::ListSizeY0: Append(formatFixed(height, 0)); break;
            case TemplateKeyword::Time: {
                const double t = job->totalSeconds;
                // Beyond int's minutes the time is no number a header can show (and the cast would be undefined).
                if (!(std::fabs(t) / 60.0 < static_cast<double>(INT_MAX))) {
                    s_.NonFinite = true;
                    break;
                }
                const int minutes = static_cast<int>(t / 60.0);
                Append(host::sys::formatC("%i MIN %.1f SEC", minutes, t - 60.0 * minutes));
                break;
            }
            case TemplateKeyword::TrimLineX1: Append(formatFixed(job->verticalTrimStart.x, 0)); break;
            case TemplateKeyword::TrimLineY1: Append(formatFixed(job->verticalTrimStart.y, 0)); break;
            case TemplateKeyword::TrimLineX2: Append(formatFixed(job->verticalTrimEnd.x, 0)); break;
            case TemplateKeyword::TrimLineY2: Append(formatFixed(job->verticalTrimEnd.y, 0)); break;
            case TemplateKeyword::Clamp1X: Append(formatFixed(job->clampPoints[0].x, 0)); break;
            case TemplateKeyword::Clamp2X: Append(formatFixed(job->clampPoints[1].x, 0)); break;
            case TemplateKeyword::Clamp3X: Append(formatFixed(job->clampPoints[2].x, 0)); break;
            default: break;
        }
    }

    void RunToken(const TemplateToken& token, int motion, int blockMode, int depth, bool& changed, bool& forced) {
        NcModalWords& modal = s_.Modal;
        switch (token.keyword) {
            case TemplateKeyword::EOB: EndBlock(blockMode, changed); break;
            case TemplateKeyword::Literal: Append(token.text); break;
            case TemplateKeyword::NCode:
                s_.BlockNumberText += FormatBlockNumber(r_, s_.BlockNumber);
                s_.BlockNumber += r_.NCodeInc;
                s_.PendingDiamWord.clear();
                break;
            case TemplateKeyword::Motion:
                if (motion == modal.LastMotion) break;
                if (const std::string* word = MotionWord(motion); word != nullptr && *word != modal.LastMotionWord) {
                    Append(*word);
                    modal.LastMotionWord = *word;
                }
                modal.LastMotion = motion;
                break;
            case TemplateKeyword::MotionAll:
                forced = true;
                if (const std::string* word = MotionWord(motion)) {
                    Append(*word);
                    modal.LastMotionWord = *word;
                }
                modal.LastMotion = motion;
                break;
            case TemplateKeyword::XCoord: Coordinate(&NcPoint::x, r_.XCode, false, false, forced, changed); break;
            case TemplateKeyword::YCoord: Coordinate(&NcPoint::y, r_.YCode, false, false, forced, changed); break;
            case TemplateKeyword::XCoordAll: Coordinate(&NcPoint::x, r_.XCode, true, false, forced, changed); break;
            case TemplateKeyword::YCoordAll: Coordinate(&NcPoint::y, r_.YCode, true, false, forced, changed); break;
            case TemplateKeyword::XCoordAbsoluteAll:
                Coordinate(&NcPoint::x, r_.XCode, true, true, forced, changed);
                break;
            case TemplateKeyword::YCoordAbsoluteAll:
                Coordinate(&NcPoint::y, r_.YCode, true, true, forced, changed);
                break;
            case TemplateKeyword::ArcX: ArcCentre(&NcPoint::x, r_.ICode, modal.LastI); break;
            case TemplateKeyword::ArcY: ArcCentre(&NcPoint::y, r_.JCode, modal.LastJ); break;
            case TemplateKeyword::ArcR:
                Guard(s_.Radius * r_.ScaleXYZ);
                Append(r_.RCode + FormatRadius(r_, s_.Radius));
                break;
            case TemplateKeyword::ArcR2: {
                // Beyond half a turn the radius is written negative (a full circle counts).
                double radius = std::fabs(s_.Radius);
                if (std::floor(s_.Sweep * 1e6 + 0.5) > std::floor(std::numbers::pi * 1e6 + 0.5)) radius = -radius;
                Guard(radius * r_.ScaleXYZ);
                Append(r_.RCode + FormatRadius(r_, radius));
                break;
            }
            case TemplateKeyword::Feed:
                if (s_.Feed != modal.LastFeed) {
                    Guard(s_.Feed);
                    modal.LastFeed = s_.Feed;
                    Append(r_.FEEDCode);
                    Append(host::sys::formatFixed(s_.Feed, r_.FeedDecimals));
                }
                break;
            case TemplateKeyword::CompOff:
                s_.WantedComp = kCompOff;
                modal.PrintedComp = kCompOff;
                Append(r_.CompOffStr);
                break;
            case TemplateKeyword::Comp:
                if (r_.CutCompensation == 1 && s_.WantedComp != modal.PrintedComp) CompensationWord();
                break;
            case TemplateKeyword::CompAll:
                if (r_.CutCompensation == 1) CompensationWord();
                break;
            case TemplateKeyword::DComp:
                if (!s_.PendingDiamWord.empty()) {
                    Append(s_.PendingDiamWord);
                    s_.PendingDiamWord.clear();
                }
                break;
            case TemplateKeyword::NameFileProgram: Append(ProgramFileHeader(s_.OutputPath)); break;
            case TemplateKeyword::NamePostprocessor: Append(r_.NamePostprocessor); break;
            case TemplateKeyword::TrimLine:
                if (s_.Job != nullptr && s_.Job->trimLineBits != 0 && depth < kMaxTemplateNesting) {
                    Run(r_.TrimLineStr, motion, kBlockAlways, depth + 1);
                }
                break;
            case TemplateKeyword::Clamp:
                if (((s_.Job != nullptr && s_.Job->clampCount > 0) || s_.ClampUse != 0) &&
                    depth < kMaxTemplateNesting) {
                    Run(r_.ClampStr, kMotionNone, kBlockAlways, depth + 1);
                }
                break;
            case TemplateKeyword::CuttingModeText: Append(s_.CuttingModeText); break;
            case TemplateKeyword::SetCuttingMode:
                if (token.text != modal.LastCuttingMode) {
                    modal.LastCuttingMode = token.text;
                    Append(token.text);
                }
                break;
            case TemplateKeyword::CutOn:
            case TemplateKeyword::CutOff:
            case TemplateKeyword::Data: break;
            default: Header(token.keyword); break;
        }
    }

    NcOutputState& s_;
    const PostprocessorRuntime& r_;
    std::optional<ArcSteps> arc_;  // the arc being written, planned when its template starts
};

}  // namespace

void StartNcProgramState(NcOutputState& state, const PostprocessorRuntime& runtime) {
    state.Modal = NcModalWords{};
    state.WrittenModal = NcModalWords{};
    state.BlockNumber = runtime.NCodeStart;
    state.BlockNumberText.clear();
    state.BlockWords.clear();
    state.PendingDiamWord.clear();
    state.WantedComp = kCompOff;
    state.CuttingModeText.clear();
    state.ToolIsOn = kToolNeither;
    state.StopFlag = false;
    state.NonFinite = false;
}

std::string FormatAbsoluteValue(const PostprocessorRuntime& runtime, double value) {
    std::string text = host::sys::formatFixed(InOutputUnit(runtime, OnGrid(runtime, value)), runtime.Decimals);
    DropNegativeZero(text);
    return text;
}

double FormatIncrementalValue(const PostprocessorRuntime& runtime, double from, double to, std::string& text) {
    const double d = OnGrid(runtime, to) - OnGrid(runtime, from);
    text = host::sys::formatFixed(InOutputUnit(runtime, d), runtime.Decimals);
    DropNegativeZero(text);
    if (runtime.PlusSign == 1 && !text.empty() && text.front() != '-') text.insert(0, "+");
    return d;
}

bool IsSameOutputValue(const PostprocessorRuntime& runtime, double a, double b) {
    return std::fabs(a - b) * runtime.ScaleXYZ * GridStepsPerJobUnit(runtime) < 1.5;
}

double NcPrintedSteps(const PostprocessorRuntime& runtime, double value) {
    const host::sys::Parsed<double> printed = host::sys::parseReal(FormatAbsoluteValue(runtime, value));
    if (!printed.ok()) return std::numeric_limits<double>::quiet_NaN();
    return std::round(printed.value * static_cast<double>(runtime.Precision));
}

bool IsWholeCircleMove(const NcOutputState& state, const PostprocessorRuntime& runtime) {
    constexpr double kFullTurn = 2.0 * std::numbers::pi - 1e-9;
    if (state.Sweep >= kFullTurn) return true;
    return state.Sweep > std::numbers::pi && IsSameOutputValue(runtime, state.Current.x, state.Target.x) &&
           IsSameOutputValue(runtime, state.Current.y, state.Target.y);
}

namespace {

// The end of the arc of `state` prints within kShortArcChordSteps steps of where the machine stands.
bool EndPrintsNearStart(const NcOutputState& state, const PostprocessorRuntime& runtime) {
    const double dx = NcPrintedSteps(runtime, state.Target.x) -
                      WrittenSteps(runtime, state.Modal.WrittenX, state.Current.x);
    const double dy = NcPrintedSteps(runtime, state.Target.y) -
                      WrittenSteps(runtime, state.Modal.WrittenY, state.Current.y);
    return std::hypot(dx, dy) < kShortArcChordSteps;
}

}  // namespace

bool IsShortArcMove(const NcOutputState& state, const PostprocessorRuntime& runtime) {
    if (state.Sweep > std::numbers::pi || IsWholeCircleMove(state, runtime)) return false;
    return EndPrintsNearStart(state, runtime);
}

bool IsNearlyClosedArcMove(const NcOutputState& state, const PostprocessorRuntime& runtime) {
    if (state.Sweep <= std::numbers::pi || IsWholeCircleMove(state, runtime)) return false;
    return EndPrintsNearStart(state, runtime);
}

NcPoint ArcMiddle(const NcOutputState& state) {
    const double half = (state.Radius < 0 ? -0.5 : 0.5) * state.Sweep;
    const double dx = state.Current.x - state.Centre.x, dy = state.Current.y - state.Centre.y;
    const double c = std::cos(half), s = std::sin(half);
    return {state.Centre.x + dx * c - dy * s, state.Centre.y + dx * s + dy * c, 0.0};
}

std::string FormatBlockNumber(const PostprocessorRuntime& runtime, int number) {
    const BlockNumberFormat& f = runtime.BlockFormat;
    if (f.width == 0 && !f.plusSign && !f.blankSign && runtime.NCode.find(' ') == std::string::npos) {
        // The usual format: the code and the plain number, with no blank to remove.
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        std::string text;
        text.reserve(runtime.NCode.size() + static_cast<std::size_t>(end - digits));
        text += runtime.NCode;
        text.append(digits, end);
        return text;
    }
    const long long value = number;
    std::string digits = std::to_string(value < 0 ? -value : value);
    std::string sign = value < 0 ? "-" : f.plusSign ? "+" : f.blankSign ? " " : "";
    std::string body;
    const std::size_t width = static_cast<std::size_t>(f.width);
    const std::size_t length = sign.size() + digits.size();
    if (length >= width) {
        body = sign + digits;
    } else if (f.leftAlign) {
        body = sign + digits + std::string(width - length, ' ');
    } else if (f.zeroPad) {
        body = sign + std::string(width - length, '0') + digits;
    } else {
        body = std::string(width - length, ' ') + sign + digits;
    }
    std::string text = runtime.NCode + body;
    RemoveSpaces(text);
    return text;
}

void RunTemplate(NcOutputState& state, const PostprocessorRuntime& runtime, const CompiledTemplate& compiled,
                 int motion, int blockMode) {
    TemplateRun(state, runtime).Run(compiled, motion, blockMode, 0);
}

NcOutputState& NcState() {
    static NcOutputState state;
    return state;
}
