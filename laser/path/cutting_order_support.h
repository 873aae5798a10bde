// What every automatic cutting order does around its loop: readies the job (and refuses to start when a contour
// lost its entity), writes the paths of the contours it chose, and brings the drawing's counters, totals, status
// line and stored job up to date at the end.
#pragma once

#include <vector>

#include "cadlib/messages.h"
#include "host/ge/point.h"

class CLaserSettings;
struct CuttingJob;

// The current drawing's job, prepared, for an automatic order; nullptr without one. When `erasedText` is given and
// a contour without path has lost its entity, the user is told in a message box (error icon), `erased` is set and
// nullptr answered: nothing may be cut. A job without paths starts at the home point.
CuttingJob* BeginCuttingOrder(CLaserSettings& settings, const TwoLanguageText* erasedText, bool& erased);

// The end of every automatic order, also when it wrote nothing: the drawing's change counter raised, the path totals
// regenerated, the status line and the stored job brought up to date.
void EndCuttingOrder(CLaserSettings& settings);

// Writes the paths of the contours an order chose. A chosen contour is marked processed while it waits, so that no
// later choice takes it; its flag is cleared just before its writer runs, which sets it again once the path is
// written. A contour whose writer drew nothing is held processed until the order ends, so that the loop cannot take
// it again and again; ReleaseHeld then puts the held ones back among the contours without path.
class OrderedPathWriter {
public:
    explicit OrderedPathWriter(CuttingJob& job) : job_(job) {}

    // Writes the path of contour `contour` from `start`; false when its writer drew nothing.
    bool Write(const host::ge::Point3d& start, int contour);
    void ReleaseHeld();

private:
    CuttingJob& job_;
    std::vector<int> held_;
};
