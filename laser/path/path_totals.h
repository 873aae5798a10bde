// The job's path totals: the measurement of one path group and the totals over every group.
#pragma once

#include <cstdint>

// What one path group costs: lengths by process (drawing units), the beam switches and the time.
struct PathGroupMeasure {
    double cut = 0.0;
    double cutT2 = 0.0;
    double engrave = 0.0;
    double engraveMark = 0.0;
    double mark = 0.0;
    double heat = 0.0;
    double rapid = 0.0;
    std::uint8_t pierceCount = 0;
    double seconds = 0.0;
};

// Measures path group n of the current job from its description and members; changes nothing.
// Contour groups: the rapid line and the rapid lines across jumper gaps are rapid length; the lead-in, the contour
// (a circle as its full circumference) and the lead-out are booked by the contour's kind (engraving, heat
// treatment, second tool, engrave-and-mark, marking, else cut); every cut begun after a rapid is one more pierce.
// A marking point's group measures only its rapid and one pierce. The home group books its trim-line strokes
// (cut and sensor-off pens) as cut and its rapid lines as rapid, one pierce per trim-line cut.
// seconds = 60 x (engrave / feedEngrave + cut / feedCut + heat / feedHeatTreatment + rapid / feedRapid)
//           + 2 x pierces x timeLaserOnOff, a term whose feed is not above 0 counting 0.
// Answers 0 (a missing group measures as nothing).
int MeasurePathGroup(unsigned n, PathGroupMeasure& measure);

// Adds a measurement to the job's eight totals.
struct CuttingJob;
void AddToPathTotals(CuttingJob& job, const PathGroupMeasure& measure);

// Recomputes the current job's totals over groups 1..pathGroupCount (all 0 without groups). Answers 0.
int RegenPathTotals();
