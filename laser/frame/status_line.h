// The status line: the current drawing's job counters shown in the host's status bar.
#pragma once

#include <string>

#include "cadlib/messages.h"

struct CuttingJob;

// The status line of `job` in `language`: the contours of each class, how many have a cutting path (path groups
// less the final home group), and the machining time in whole minutes and seconds (both cut down, never rounded).
// The text is whole whatever the counts. A time that is negative or not a number shows as 0.
std::string FormatStatusLine(const CuttingJob& job, Language language);

// Shows the counters of the current drawing's job (or an empty job) on the host's status line, the host variable
// MODEMACRO. Answers the host's status of that write; callers need not look at it.
int UpdateStatusLine();
