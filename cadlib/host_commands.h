// Drawing work done by the host's own commands, and the reset of the coordinate system to the world system.
#pragma once

#include "host/db/ids.h"

// Purges every unused block of the working drawing without asking ("-PURGE" Blocks "*" No); referenced blocks stay.
// Answers the host's status (RTNORM on success).
int PurgeAllBlocks();
// Regenerates every viewport; the host's status.
int RegenAll();
// Explodes every block reference of the working drawing (one EXPLODE run with all of them). Answers the explode's
// status, or RTNORM without running a command when the drawing has no block reference.
int ExplodeAllBlockReferences();
// Sets the UCS of the active viewport of the working drawing to the world system. Answers RTNORM, or RTERROR when
// there is no drawing or its "*Active" viewport cannot be changed.
int SetUcsToWorld();
// MOVE of one entity from the base point 0,0; the user gives the second point (the pause token). The host's status.
int StartMove(const host::db::EntityName& entity);
// ROTATE of one entity about 0,0; the user gives the angle. The host's status.
int StartRotate(const host::db::EntityName& entity);
