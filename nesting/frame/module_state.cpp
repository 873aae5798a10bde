// The module's one state object, of static storage: built at module load, destroyed at unload.
#include "nesting/frame/nesting_state.h"

namespace {

CNestingState g_nestingState;

}  // namespace

CNestingState& NestingState() { return g_nestingState; }
