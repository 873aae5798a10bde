// The command-line browser over the drawn pieces that meet at one node: highlight, zoom, and delete pieces until
// at most two remain.
#pragma once

#include <cstdint>

#include "laser/contours/contour_records.h"

// How the user left the node browser.
enum NodeBrowserExit : int {
    kNodeBrowserReduced = 0,  // deletions left two pieces or fewer
    kNodeBrowserNext = 1,       // Next: go on to the next node, this one unchanged
    kNodeBrowserCancelled = 2,  // the prompt cancelled (Esc, end of input): the browser closes, nothing more
    kNodeBrowserExit = 3,       // Exit
};

// Lets the user step through the pieces listed in `NodeMembers` (all of them touching `node`): the top menu
// Zoom/Next/Modify/Exit, and under Modify the pieces one by one with Zoom/Next/Previous/Delete/Exit. A deleted
// piece is erased from the drawing, marked dropped in the table and taken out of the list; a piece whose erase
// fails is reported, marked dropped and stays listed. `exitCode` is always set: kNodeBrowserExit for Exit,
// kNodeBrowserCancelled for a cancelled prompt (a cancel is not Exit), kNodeBrowserNext for Next, kNodeBrowserReduced when two pieces or fewer are left. Answers the
// number of pieces still listed.
int BrowseNodeObjects(std::uint32_t node, int& exitCode, ContourEntityStage& stage = ContourEntities());
