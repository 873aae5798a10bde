// The moves of NC output and of the cut simulation: switching the tool on and off by the kind of the contour,
// rapid, linear and arc moves. In NC output a move runs the postprocessor's template; in the simulation it moves
// the marker. Which one happens depends only on the output state's OutputMode.
#pragma once

#include <cstdint>

#include "host/ge/point.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/post/template_runner.h"

class CLaserSettings;
struct CuttingJob;

// Tool kinds of NcOutputState::ToolKind: which On and Off templates and which feed a cut uses.
inline constexpr int kToolCut = 1;             // CutOnStr / CutOffStr, FeedCut
inline constexpr int kToolEngrave = 2;         // EngraveOnStr / EngraveOffStr, EngraveCut
inline constexpr int kToolHeatTreatment = 3;   // HeatTreatmentOnStr / HeatTreatmentOffStr, HeatTreatmentCut
inline constexpr int kToolCutT2 = 4;           // CutT2OnStr / CutT2OffStr, FeedCutT2
inline constexpr int kToolEngraveAndMark = 5;  // EngraveAndMarkOnStr / EngraveAndMarkOffStr, EngraveAndMarkCut
inline constexpr int kToolMark = 6;            // MarkOnStr / MarkOffStr, MarkCut
inline constexpr int kToolSensorOff = 10;      // a cut with the Z-axis tracking sensor off: CutOnStr, FeedCut

// The tool kind of a contour of kind `contourKind` (the number after "T" in a path description): engraving 2,
// heat treatment 8, second tool 25, engrave-and-mark 26 and marking 27 have their own; every other kind cuts.
int ToolKindOfContour(int contourKind);

// What the simulation shows of the moves. The simulation installs one; NC output needs none.
class SimulationMarker {
public:
    virtual ~SimulationMarker() = default;
    // The marker's colour: the feed colour while the tool is on, the rapid colour while it is off.
    virtual void ShowToolOn(bool on) = 0;
    // Moves the marker from `from` to `to`: along a line, or along the arc about `centre` (clockwise or not).
    virtual void MoveAlongLine(const host::ge::Point3d& from, const host::ge::Point3d& to) = 0;
    virtual void MoveAlongArc(const host::ge::Point3d& centre, const host::ge::Point3d& from,
                              const host::ge::Point3d& to, bool clockwise) = 0;
};

// One run of the walkers: the output state, the postprocessor, the settings (feeds, line types, unloading), the
// job (its contour table, for the unloading commands) and, in the simulation, the marker.
struct NcRun {
    NcOutputState& state;
    const PostprocessorRuntime& runtime;
    const CLaserSettings& settings;
    const CuttingJob* job = nullptr;
    SimulationMarker* marker = nullptr;
    // The path group in which NC output met a number it could not print (state.NonFinite); set by
    // WriteNcProgramBody, 0 before the first group.
    int nonFiniteGroup = 0;

    bool Output() const { return state.OutputMode == 1; }
};

// The point of NcOutputState as a drawing point, and back (Z 0).
host::ge::Point3d ToDrawingPoint(const NcPoint& p);
NcPoint ToNcPoint(const host::ge::Point3d& p);

// Switches the tool on for state.ToolKind (once; a sensor-off cut switches the sensor off on every call).
void ToolOn(NcRun& run);
// Switches the tool off. From a program's start state (neither on nor off) nothing is written.
void ToolOff(NcRun& run);
// A rapid move to p: nothing when p prints as the current point; else the tool off and the rapid template.
void RapidMove(NcRun& run, const host::ge::Point3d& p);
// The rapid that opens a program whose cutting does not start at home, to p where its first path begins: no one
// knows where the head stands, so it is never left out as "already there". The current point becomes p. In
// absolute output the block names both coordinates; incremental output can only take the head to be at p already
// (a move from an unknown place has no increment) and writes nothing.
void PositioningRapid(NcRun& run, const host::ge::Point3d& p);
// The same positioning move through another move template (profile cutting's lead move).
void PositioningMove(NcRun& run, const host::ge::Point3d& p, const CompiledTemplate& move);
// A cut along a line to p: nothing when p prints as the current point; else the tool on and the linear template.
void LinearMove(NcRun& run, const host::ge::Point3d& p);
// Arc cuts about c to p, always written; the caller sets Radius (negative clockwise) and Sweep first.
// `blockMode` is the template's block mode (0 for a whole circle, kBlockIfMoved for a polyline's arc).
void ArcMoveCW(NcRun& run, const host::ge::Point3d& c, const host::ge::Point3d& p, int blockMode);
void ArcMoveCCW(NcRun& run, const host::ge::Point3d& c, const host::ge::Point3d& p, int blockMode);
// Runs a template that is no move (tool, header, unloading), in NC output only.
void RunEventTemplate(NcRun& run, const CompiledTemplate& compiled);
