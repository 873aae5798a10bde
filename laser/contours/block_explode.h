// The first geometry stage of contour creation: every block reference and polyline of a selection exploded one
// level deep into loose pieces, clamps recorded instead of exploded.
#pragma once

#include "host/db/ids.h"

struct CuttingJob;

// For each entity of `set`, in order: a reference of the block "Clamp" (exact name) is recorded as a clamp and
// stays; a 3D polyline is replaced by a lightweight one first; a lightweight polyline is corrected (the settings'
// AutoDelSement values, nothing printed); then the entity is exploded with the host's EXPLODE. Block references
// and polylines that come out of an exploded block stay as they are. An entity that cannot be opened for write
// (a locked layer) or whose explode fails is reported on the command line and left as it is.
// Answers the number of entities exploded.
int ExplodeBlocksAndPolylines(CuttingJob& job, const host::db::EntityName& set);

// Explodes the block references that came out of exploded blocks (clamps recorded instead) until none is left, at
// most kMaxBlockNesting rounds, so that geometry nested in blocks reaches the later stages. The entities of
// `handled` (the set ExplodeBlocksAndPolylines worked on, still held) are not tried again, and no reference is
// tried twice. Answers the number of entities exploded.
inline constexpr int kMaxBlockNesting = 16;
int ExplodeNestedBlocks(CuttingJob& job, const host::db::EntityName& handled);
