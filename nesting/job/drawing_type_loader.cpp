// The job loader's drawing types read by the part and stock drawing reader, which shows its own messages.
#include "nesting/job/drawing_type_loader.h"

#include "nesting/drawings/drawing_entry.h"

int LoadDrawingType(CNestingState& state, PartType& type) {
    return LoadDrawingEntry(state, type) == kEntryLoaded ? kDrawingTypeLoaded : kDrawingTypeStopped;
}
