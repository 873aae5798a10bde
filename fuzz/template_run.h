// Runs compiled templates as an NC output does: a job with a trim line and clamps, so that the header keywords
// and the templates TRIM-LINE and CLAMP run too, a rapid move, a cut line and a full circle.
#pragma once

#include "laser/job/drawing_slot.h"
#include "laser/post/template_runner.h"

namespace fuzzing {

inline void RunTemplateAsMoves(const PostprocessorRuntime& runtime, const CompiledTemplate& compiled) {
    CuttingJob job;
    job.programName = "part1";
    job.material = "STEEL.MAT";
    job.thickness = 2;
    job.trimLineBits = kTrimLineVertical;
    job.verticalTrimStart = {1500.4, 0, 0};
    job.verticalTrimEnd = {1500.4, 1250.6, 0};
    job.clampPoints[0] = {400, 0, 0};
    NcBlockList blocks;
    NcOutputState state;
    state.Output = &blocks;
    state.Job = &job;
    state.ClampUse = 1;
    StartNcProgramState(state, runtime);
    state.CuttingModeText = "MODE1";
    state.Target = {10, 10, 0};
    RunTemplate(state, runtime, compiled, kMotionRapid, kBlockAlways);
    state.Feed = 3000;
    state.WantedComp = kCompLeft;
    state.Target = {65, 10, 0};
    RunTemplate(state, runtime, compiled, kMotionLinear, kBlockIfMoved);
    state.Centre = {60, 10, 0};
    state.Radius = 5;
    state.Sweep = 6.283185307179586;
    RunTemplate(state, runtime, compiled, kMotionCounterClockwise, 0);
}

}  // namespace fuzzing
