// The drawing environment a command works in: the host variables it records at its start, forces to fixed
// values while it draws, and writes back when it ends.
//
// The module has one record (a static of this library, so each module has its own). It holds one saved state:
// a second save before the restore overwrites the first.
#pragma once

#include <string>

struct DrawingEnvironment {
    int FILEDIA = 0;
    int CMDECHO = 0;
    int OSMODE = 0;
    int DRAWORDERCTL = 0;
    int SELECTIONCYCLING = 0;
    std::string CECOLOR;
    std::string CLAYER;
    std::string CELTYPE;
    int PLINETYPE = 0;
    int DYNMODE = 0;
    int DYNPROMPT = 0;
    int PICKSTYLE = 0;
    int GRIDMODE = 0;
};

// The module's record (read by tests; commands go through Save/Restore).
const DrawingEnvironment& SavedDrawingEnvironment();

// Records FILEDIA, CMDECHO, OSMODE, CECOLOR, CLAYER, CELTYPE, GRIDMODE, PICKSTYLE, DRAWORDERCTL,
// SELECTIONCYCLING, PLINETYPE, DYNMODE and DYNPROMPT, and forces PICKSTYLE, CMDECHO, OSMODE, DRAWORDERCTL,
// DYNMODE and DYNPROMPT to 0, SELECTIONCYCLING to -2 and PLINETYPE to 2. A variable that cannot be read keeps
// its field. Answers the status of the last set.
int SaveDrawingEnvironment();

// Writes every field back, whether or not it was read. Answers the status of the last set.
int RestoreDrawingEnvironment();

// Saves the environment when made and restores it when it goes out of scope, on every way out of a command.
class DrawingEnvironmentGuard {
public:
    DrawingEnvironmentGuard() { SaveDrawingEnvironment(); }
    ~DrawingEnvironmentGuard() { RestoreDrawingEnvironment(); }
    DrawingEnvironmentGuard(const DrawingEnvironmentGuard&) = delete;
    DrawingEnvironmentGuard& operator=(const DrawingEnvironmentGuard&) = delete;
};
