// The work of the path commands NCRegen and NCRapidHome as the command table runs them.
#pragma once

// NCRegen: the path totals recomputed.
void CommandNCRegen();
// NCRapidHome: the home group added.
void CommandNCRapidHome();
