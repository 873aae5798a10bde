// The rotation rule of a part: at which angles a part may lie on a sheet. Every turn the placement makes (trial
// angles, pairs, holes, the turned run, the compaction's turn of a blocking part, manual placement) asks here
// and is not made when the answer is no.
//
// Angles are radians; the rule's grain, sector and delta are degrees in the part type. The grain angle of a part
// on a sheet is (sheet grain - part grain). "No Rotate" admits the grain angle only; "Sector" the sector
// [grain + SectorMin, grain + SectorMax]; "Sector+180" that sector and the one opposite it; "0-360" every angle,
// or with a delta from the job's delta list (not "Any", not "Inscribe") the angles grain + n * delta. A rule
// outside these four is kept at the grain angle like "No Rotate"; a clamp lies where it was put. Angles are
// compared within kRuleAngleTolerance, so that an angle reached by adding half turns is not refused for its
// rounding.
#pragma once

#include "nesting/model/nesting_engine.h"

// Indexes of the job's delta list: "Any", "1", "2", "5", "10", "15", "30", "45", "60", "90", "180", "Inscribe".
inline constexpr int kDeltaAny = 0;
inline constexpr int kDeltaQuarterTurn = 9;
inline constexpr int kDeltaInscribe = 11;
inline constexpr int kDeltaListLength = 12;

// The engine's rotation step in degrees for an index of the delta list (0.5 for "Any" and "Inscribe"); 0 for an
// index outside the list.
double DeltaStepDegrees(int deltaIndex);

// Whether a part of `type` turns only in steps of its delta: a "0-360" part whose delta is neither "Any" nor
// "Inscribe".
bool TurnsByDelta(const PartType& type);

// Radians by which an angle may miss the rule's bounds and still be admitted.
inline constexpr double kRuleAngleTolerance = 1e-9;

// The grain angle of a part of `type` on a sheet of `sheet` (no sheet: grain 0), radians in [0, 2*pi).
double GrainAngleOn(const PartType& type, const PartType* sheet);

// Whether the rule of `type` lets a part lie at `angle` where its grain angle is `grain`.
bool RuleAdmits(const PartType& type, double grain, double angle);

// Whether part instance i may lie at `angle` on the sheet being filled (false for an instance outside the job).
bool PartMayLieAt(const CNestingEngine& engine, int i, double angle);

// Whether every member of group g may lie at the angle that posing the group at `angle` gives it.
bool GroupMayLieAt(const CNestingEngine& engine, int g, double angle);
