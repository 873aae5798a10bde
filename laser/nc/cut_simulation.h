// The cut simulation: the path groups walked as for NC output, but every move slides a round marker along the
// path in the drawing, step by step, while the keypad keys change the speed and Esc stops.
#pragma once

#include "laser/nc/nc_emitters.h"

// Bounds of the wait between two steps of the marker, in clock ticks (milliseconds): a run starts at
// kStartStepDelay; keypad plus lowers it by one down to kMinStepDelay, keypad minus raises it by one up to
// kMaxStepDelay (a second a step is already slower than anyone watches).
inline constexpr int kStartStepDelay = 20;
inline constexpr int kMinStepDelay = 1;
inline constexpr int kMaxStepDelay = 1000;

// Resource bound on the steps of one move: a view far smaller than the drawing would otherwise cut a long line
// into millions of steps. A longer move takes larger steps.
inline constexpr int kMaxStepsPerMove = 10000;

// The marker's size and step as shares of the view's height (VIEWSIZE): half size, width of its two half circles,
// and the length of one step.
inline constexpr double kMarkerHalfShare = 0.0025;
inline constexpr double kMarkerWidthShare = 0.005;
inline constexpr double kMarkerStepShare = 0.0085;

// The number of whole steps of `length` in a move (0 for a move shorter than one step), at most
// kMaxStepsPerMove; 0 when the step is not a usable length.
int StepsOfMove(double length, double step);

// NCPlay1: the path group the user picks, played alone; nothing when the pick ends without one.
void CommandNCPlay1();
