// The moves of NC output and of the cut simulation: tool on and off by tool kind, rapid, linear and arc moves.
#include "laser/nc/nc_emitters.h"

#include "laser/contours/contour_records.h"
#include "laser/settings/laser_settings.h"

namespace {

// The On and Off templates and the feed of one tool kind.
struct ToolTemplates {
    const CompiledTemplate* on = nullptr;
    const CompiledTemplate* off = nullptr;
    double feed = 0.0;
};

// Kinds 7 to 9 have no templates: they switch nothing.
ToolTemplates TemplatesOf(const NcRun& run, int toolKind) {
    const PostprocessorRuntime& r = run.runtime;
    const CLaserSettings& s = run.settings;
    switch (toolKind) {
        case kToolCut:
        case kToolSensorOff: return {&r.CutOnStr, &r.CutOffStr, s.FeedCut};
        case kToolEngrave: return {&r.EngraveOnStr, &r.EngraveOffStr, s.EngraveCut};
        case kToolHeatTreatment: return {&r.HeatTreatmentOnStr, &r.HeatTreatmentOffStr, s.HeatTreatmentCut};
        case kToolCutT2: return {&r.CutT2OnStr, &r.CutT2OffStr, s.FeedCutT2};
        case kToolEngraveAndMark: return {&r.EngraveAndMarkOnStr, &r.EngraveAndMarkOffStr, s.EngraveAndMarkCut};
        case kToolMark: return {&r.MarkOnStr, &r.MarkOffStr, s.MarkCut};
        default: return {};
    }
}

bool PrintsAsCurrent(const NcRun& run, const host::ge::Point3d& p) {
    return IsSameOutputValue(run.runtime, p.x, run.state.Current.x) &&
           IsSameOutputValue(run.runtime, p.y, run.state.Current.y);
}

// A number the templates could not print stops the run as Esc stops the simulation: the walkers end the group.
void StopOnNonFinite(NcRun& run) {
    if (run.state.NonFinite) run.state.StopFlag = true;
}

// Runs a move's template (NC output) or moves the marker (simulation); the current point follows either way,
// also for an empty template.
void RunMove(NcRun& run, const CompiledTemplate& compiled, int motion, int blockMode) {
    NcOutputState& s = run.state;
    const host::ge::Point3d from = ToDrawingPoint(s.Current);
    const host::ge::Point3d to = ToDrawingPoint(s.Target);
    if (run.Output()) {
        RunTemplate(s, run.runtime, compiled, motion, blockMode);
        StopOnNonFinite(run);
    } else if (run.marker != nullptr) {
        if (motion == kMotionClockwise || motion == kMotionCounterClockwise) {
            run.marker->MoveAlongArc(ToDrawingPoint(s.Centre), from, to, motion == kMotionClockwise);
        } else {
            run.marker->MoveAlongLine(from, to);
        }
    }
    s.Current.x = s.Target.x;
    s.Current.y = s.Target.y;
}

}  // namespace

int ToolKindOfContour(int contourKind) {
    switch (static_cast<ContourKind>(contourKind)) {
        case ContourKind::EngraveLine: return kToolEngrave;
        case ContourKind::HeatTreatmentLine: return kToolHeatTreatment;
        case ContourKind::CutT2Line: return kToolCutT2;
        case ContourKind::EngraveAndMarkLine: return kToolEngraveAndMark;
        case ContourKind::MarkLine: return kToolMark;
        default: return kToolCut;
    }
}

host::ge::Point3d ToDrawingPoint(const NcPoint& p) { return {p.x, p.y, 0.0}; }
NcPoint ToNcPoint(const host::ge::Point3d& p) { return {p.x, p.y, 0.0}; }

void RunEventTemplate(NcRun& run, const CompiledTemplate& compiled) {
    if (!run.Output()) return;
    RunTemplate(run.state, run.runtime, compiled, kMotionNone, kBlockAlways);
    StopOnNonFinite(run);
}

void ToolOn(NcRun& run) {
    NcOutputState& s = run.state;
    if (!run.Output()) {
        if (run.marker != nullptr) run.marker->ShowToolOn(true);
        return;
    }
    if (s.ToolIsOn != kToolOn) {
        s.ToolIsOn = kToolOn;
        const ToolTemplates tool = TemplatesOf(run, s.ToolKind);
        if (s.ToolKind >= kToolCut && s.ToolKind <= kToolMark) {
            if (s.PreviousToolKind == kToolSensorOff) RunEventTemplate(run, run.runtime.ZSensorOn);
            RunEventTemplate(run, *tool.on);
            s.Feed = tool.feed;
        } else if (s.ToolKind == kToolSensorOff) {
            RunEventTemplate(run, *tool.on);
            s.Feed = tool.feed;
        }
        s.PreviousToolKind = s.ToolKind;
    }
    if (s.ToolKind == kToolSensorOff) {
        RunEventTemplate(run, run.runtime.ZSensorOff);
        s.PreviousToolKind = kToolSensorOff;
    }
}

void ToolOff(NcRun& run) {
    NcOutputState& s = run.state;
    if (!run.Output()) {
        if (run.marker != nullptr) run.marker->ShowToolOn(false);
        return;
    }
    if (s.ToolIsOn == kToolOff) return;
    if (s.ToolIsOn == kToolOn) {
        const ToolTemplates tool = TemplatesOf(run, s.ToolKind);
        if (tool.off != nullptr) RunEventTemplate(run, *tool.off);
    }
    if (s.PreviousToolKind == kToolSensorOff) RunEventTemplate(run, run.runtime.ZSensorOn);
    s.ToolIsOn = kToolOff;
    s.PreviousToolKind = 0;
}

void RapidMove(NcRun& run, const host::ge::Point3d& p) {
    if (PrintsAsCurrent(run, p)) return;
    ToolOff(run);
    run.state.Target = ToNcPoint(p);
    RunMove(run, run.runtime.MoveRapidStr, kMotionRapid, kBlockAlways);
}

void PositioningRapid(NcRun& run, const host::ge::Point3d& p) { PositioningMove(run, p, run.runtime.MoveRapidStr); }

void PositioningMove(NcRun& run, const host::ge::Point3d& p, const CompiledTemplate& move) {
    NcOutputState& s = run.state;
    s.Current = ToNcPoint(p);
    if (!run.Output() || run.runtime.Absolute != 1) return;
    ToolOff(run);
    s.Target = ToNcPoint(p);
    // A current point far off in both axes makes the coordinate words print: equal values would be left out.
    // 10 is more than the 1.5 grid steps that count as equal at any number of decimals.
    constexpr double kFarOff = 10.0;
    s.Current.x = p.x + kFarOff;
    s.Current.y = p.y + kFarOff;
    RunMove(run, move, kMotionRapid, kBlockAlways);
}

void LinearMove(NcRun& run, const host::ge::Point3d& p) {
    if (PrintsAsCurrent(run, p)) return;
    ToolOn(run);
    run.state.Target = ToNcPoint(p);
    RunMove(run, run.runtime.MoveLinearStr, kMotionLinear, kBlockIfMoved);
}

namespace {

// An arc cut: as written the arc starts where the blocks took the machine (see RunTemplate); an arc too short to
// be told from a whole circle by its printed ends is cut as the straight move it nearly is, and an arc of nearly a
// whole turn is cut in two halves (one block would be read as a sliver: a hole drawn as an arc of 359.99 degrees
// was cut as a 0.002 mm stub).
void ArcMove(NcRun& run, const host::ge::Point3d& c, const host::ge::Point3d& p, int blockMode, int motion) {
    ToolOn(run);
    run.state.Centre = ToNcPoint(c);
    run.state.Target = ToNcPoint(p);
    if (run.Output() && IsShortArcMove(run.state, run.runtime)) {
        RunMove(run, run.runtime.MoveLinearStr, kMotionLinear, kBlockIfMoved);
        return;
    }
    if (run.Output() && IsNearlyClosedArcMove(run.state, run.runtime)) {
        const double sweep = run.state.Sweep;
        run.state.Sweep = sweep / 2;
        run.state.Target = ArcMiddle(run.state);
        RunMove(run, run.runtime.CircleStr, motion, blockMode);
        run.state.Target = ToNcPoint(p);
        RunMove(run, run.runtime.CircleStr, motion, blockMode);
        run.state.Sweep = sweep;
        return;
    }
    // An arc of nearly a whole turn whose ends print as one point is the whole circle as written: its block ends
    // where it starts and must be written all the same (a polyline's arc is otherwise left out when it does not
    // move the machine, and a hole of 359.999 degrees was not cut at all).
    if (run.Output() && IsWholeCircleMove(run.state, run.runtime)) blockMode = kBlockAlways;
    RunMove(run, run.runtime.CircleStr, motion, blockMode);
}

}  // namespace

void ArcMoveCW(NcRun& run, const host::ge::Point3d& c, const host::ge::Point3d& p, int blockMode) {
    ArcMove(run, c, p, blockMode, kMotionClockwise);
}

void ArcMoveCCW(NcRun& run, const host::ge::Point3d& c, const host::ge::Point3d& p, int blockMode) {
    ArcMove(run, c, p, blockMode, kMotionCounterClockwise);
}
