// The status line: the current drawing's job counters shown in the host's status bar.
#pragma once

// Shows the counters of the current drawing's job (or an empty job) on the host's status line.
void UpdateStatusLine();
