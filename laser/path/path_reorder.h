// Changing the cut order of an existing path by hand: moving groups (NCOrder), cutting another contour in the
// place of one (NCReplace), and cutting new contours after a picked group (NCInsert, NCInsertFence). Each leaves
// the groups numbered 1..n without gaps, the move home last, and every group starting where the one before ended.
#pragma once

int CommandNCOrder();
int CommandNCReplace();
int CommandNCInsert();
int CommandNCInsertFence();
