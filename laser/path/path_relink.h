// Keeping the path continuous after its groups were moved, replaced or reshaped: every group's first move starts
// where the group before it ended, and the job's start point and current point follow the first and last group.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/ge/point.h"
#include "laser/path/path_group_commands.h"

// Where the path of group n ends (the far end of its last member); the origin for a group without members.
host::ge::Point3d PathGroupEnd(unsigned n);

// Moves the start of group n's first move to `from`: a contour group's rapid line (a group without one is left as it
// is), or the home group's first line (its first trim stroke or the rapid home).
void RelinkPathGroupStart(unsigned n, const host::ge::Point3d& from);

// Gives group 1 a rapid line from the home point when it has none, so that it can be linked when it moves away
// from the first place.
void GiveFirstGroupARapid();

// Makes the whole path continuous: group 1 follows the start-at-home setting, every later group starts where the
// one before it ends, the job's pathStartPoint is where group 1 starts and its currentPoint where the last group
// ends. Then the totals and the status line are brought up to date.
void RelinkPath();

// Gives groups `from` (their present numbers) the numbers `to`, one for one, through temporary names so that no
// two groups ever share a name. Every rename failure is printed with `renameError` and passed by.
void RenumberPathGroups(const std::vector<unsigned>& from, const std::vector<unsigned>& to,
                        const TwoLanguageText& renameError);

// True when group n is the move home.
bool IsHomeGroup(unsigned n);

// The number of the contour group the user picks with `prompt`: 0 on Enter, kPickCancelled on Esc; a pick of the
// home group says that it is no contour path and asks again.
inline constexpr int kPickCancelled = -1;
int PickContourGroup(std::string_view prompt);
