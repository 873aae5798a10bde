// The final path group: the cuts of the sheet's trim lines and the rapid move back to the home point.
#pragma once

// Adds the home group after the last contour group (once: nothing while one exists, or without any contour
// group): the trim-line cuts when TrimLineUse is on, then the rapid to the home point when ModeEndPoint is on. Its
// description is "Rapid_Home" and the handle of its last line. When it got a line, its measurement joins the job's
// totals, homeGroupPresent becomes 1, the status line is rewritten and the job stored.
void AddHomeRapid();

// The trim-line strokes into the group being written (horizontal line first, from its right end leftwards; then
// the vertical one from the top down), with the sensor-off pen near the line ends; the current point follows.
// Nothing unless TrimLineUse is on and the job holds a trim line. Answers 0.
int DrawTrimLineCuts();
