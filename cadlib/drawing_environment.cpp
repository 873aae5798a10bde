// Save and restore of the host variables a command depends on while it draws.
#include "cadlib/drawing_environment.h"

#include "cadlib/host_variables.h"

namespace {

// The values the environment forces while a command draws.
constexpr short kForcedPickStyle = 0;
constexpr short kForcedCmdEcho = 0;
constexpr short kForcedOsMode = 0;
constexpr short kForcedDrawOrderCtl = 0;
constexpr short kForcedSelectionCycling = -2;
constexpr short kForcedPlineType = 2;
constexpr short kForcedDynMode = 0;
constexpr short kForcedDynPrompt = 0;

DrawingEnvironment& record() {
    static DrawingEnvironment environment;
    return environment;
}

}  // namespace

const DrawingEnvironment& SavedDrawingEnvironment() { return record(); }

int SaveDrawingEnvironment() {
    DrawingEnvironment& e = record();
    GetSysVarInt("FILEDIA", e.FILEDIA);
    GetSysVarInt("CMDECHO", e.CMDECHO);
    GetSysVarInt("OSMODE", e.OSMODE);
    GetSysVarString("CECOLOR", e.CECOLOR);
    GetSysVarString("CLAYER", e.CLAYER);
    GetSysVarString("CELTYPE", e.CELTYPE);
    GetSysVarInt("GRIDMODE", e.GRIDMODE);
    GetSysVarInt("PICKSTYLE", e.PICKSTYLE);
    SetSysVarInt("PICKSTYLE", kForcedPickStyle);
    SetSysVarInt("CMDECHO", kForcedCmdEcho);
    SetSysVarInt("OSMODE", kForcedOsMode);
    GetSysVarInt("DRAWORDERCTL", e.DRAWORDERCTL);
    SetSysVarInt("DRAWORDERCTL", kForcedDrawOrderCtl);
    GetSysVarInt("SELECTIONCYCLING", e.SELECTIONCYCLING);
    SetSysVarInt("SELECTIONCYCLING", kForcedSelectionCycling);
    GetSysVarInt("PLINETYPE", e.PLINETYPE);
    SetSysVarInt("PLINETYPE", kForcedPlineType);
    GetSysVarInt("DYNMODE", e.DYNMODE);
    GetSysVarInt("DYNPROMPT", e.DYNPROMPT);
    SetSysVarInt("DYNMODE", kForcedDynMode);
    return SetSysVarInt("DYNPROMPT", kForcedDynPrompt);
}

int RestoreDrawingEnvironment() {
    const DrawingEnvironment& e = record();
    SetSysVarInt("FILEDIA", static_cast<short>(e.FILEDIA));
    SetSysVarInt("CMDECHO", static_cast<short>(e.CMDECHO));
    SetSysVarInt("OSMODE", static_cast<short>(e.OSMODE));
    SetSysVarString("CECOLOR", e.CECOLOR);
    SetSysVarString("CLayer", e.CLAYER);
    SetSysVarString("CELTYPE", e.CELTYPE);
    SetSysVarInt("GRIDMODE", static_cast<short>(e.GRIDMODE));
    SetSysVarInt("PLINETYPE", static_cast<short>(e.PLINETYPE));
    SetSysVarInt("PICKSTYLE", static_cast<short>(e.PICKSTYLE));
    SetSysVarInt("DRAWORDERCTL", static_cast<short>(e.DRAWORDERCTL));
    SetSysVarInt("SELECTIONCYCLING", static_cast<short>(e.SELECTIONCYCLING));
    SetSysVarInt("DYNMODE", static_cast<short>(e.DYNMODE));
    return SetSysVarInt("DYNPROMPT", static_cast<short>(e.DYNPROMPT));
}
