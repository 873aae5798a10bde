// The status line: the current drawing's job counters shown in the host's status bar.
#include "laser/frame/status_line.h"

void UpdateStatusLine() {}
