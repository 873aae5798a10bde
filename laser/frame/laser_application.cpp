// The module's application: the host's messages and what each does.
#include "laser/frame/laser_application.h"

#include "cadlib/host_variables.h"
#include "host/ed/undo_hooks.h"
#include "laser/frame/command_table.h"
#include "laser/job/job_life_cycle.h"
#include "laser/settings/laser_settings.h"

namespace {

// The host's message numbers this application acts on, and the highest it knows.
constexpr int kInitAppMsg = 1;
constexpr int kUnloadAppMsg = 2;
constexpr int kLoadDwgMsg = 3;
constexpr int kUnloadDwgMsg = 4;
constexpr int kSaveMsg = 9;
constexpr int kHighestMessage = 15;

// The host variable of the automatic-save interval, in minutes; 0 saves nothing automatically.
constexpr const char* kSaveTimeVariable = "SAVETIME";

// The id of the hook that makes the job follow its drawing through UNDO; 0 while none is registered.
int g_undoHook = 0;

}  // namespace

int CLaserApp::DispatchMessage(int message) {
    if (message < 0 || message > kHighestMessage) return 0;
    switch (message) {
        case kInitAppMsg: return On_kInitAppMsg();
        case kUnloadAppMsg: return On_kUnloadAppMsg();
        case kLoadDwgMsg: return On_kLoadDwgMsg();
        case kUnloadDwgMsg: return On_kUnloadDwgMsg();
        case kSaveMsg: return On_kSaveMsg();
        default: return 0;
    }
}

int CLaserApp::On_kInitAppMsg() {
    CLaserSettings& settings = LaserSettings();
    RegisterLaserCommands();
    // A failed read keeps the interval the settings hold (0 in new settings), which unload then gives back.
    GetSysVarInt(kSaveTimeVariable, settings.SavedSaveTime);
    SetSysVarInt(kSaveTimeVariable, 0);
    // After UNDO the job is read again from what the drawing holds, as when the drawing is opened. A command that
    // undoes its own work inside itself keeps its job as it is.
    if (g_undoHook == 0) {
        g_undoHook = host::ed::addUndoHook([](const host::ed::UndoEvent& event) {
            if (!event.withinCommand) OnDrawingUndone(LaserSettings());
        });
    }
    return 0;
}

int CLaserApp::On_kUnloadAppMsg() {
    if (g_undoHook != 0) host::ed::removeUndoHook(g_undoHook);
    g_undoHook = 0;
    RemoveLaserCommands();
    SetSysVarInt(kSaveTimeVariable, static_cast<short>(LaserSettings().SavedSaveTime));
    DestroyLaserSettings();
    return 0;
}

int CLaserApp::On_kLoadDwgMsg() {
    OnLoadDrawing(LaserSettings());
    return 0;
}

int CLaserApp::On_kUnloadDwgMsg() {
    OnUnloadDrawing(LaserSettings());
    return 0;
}

int CLaserApp::On_kSaveMsg() {
    OnSaveDrawing(LaserSettings());
    return 0;
}

CLaserApp& LaserApp() {
    static CLaserApp app;
    return app;
}
