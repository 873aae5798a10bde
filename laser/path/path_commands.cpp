// NCRegen and NCRapidHome: their cores, run inside the command frame.
#include "laser/path/path_commands.h"

#include "laser/path/home_rapid.h"
#include "laser/path/path_totals.h"

void CommandNCRegen() { RegenPathTotals(); }

void CommandNCRapidHome() { AddHomeRapid(); }
