// Reversing the travel direction of contour paths in place (NCChangeCutDirection): the members in reverse order,
// the lead-in and lead-out rebuilt at the other end of the contour, the offset side exchanged and the path re-linked
// to the group after it.
#pragma once

#include <string>
#include <string_view>

#include "laser/path/path_groups.h"

// The description of a contour group reversed: offset side and offsetSide exchanged (left and right), the start
// and end coordinates exchanged, everything else as it was. Empty when `description` is not that of a polyline or
// circle path.
std::string ReversedPathDescription(std::string_view description);

// Reverses path group n of the current job. Answers false (nothing changed) for a group that is no polyline or
// circle path.
bool ReversePathGroup(unsigned n);

// The command: reverses the groups the user picks until Enter or Esc. Answers 0.
int CommandNCChangeCutDirection();
