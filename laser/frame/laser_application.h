// The module's application: what it does on each of the host's application messages.
#pragma once

// The module's one application object. Every operation answers 0 (success), whatever happened inside it.
class CLaserApp {
public:
    // Hands a message to its operation: messages 1, 2, 3, 4 and 9 have one here; every other message from 0 to
    // 15 is answered with 0, and so is any number above 15, which reaches no operation.
    int DispatchMessage(int message);

    // Initialise: the settings are read, the command group is registered, then the host's automatic save is
    // switched off (SAVETIME 0) with its interval kept in the settings.
    int On_kInitAppMsg();
    // Unload: the commands are removed, the automatic-save interval is given back, the module's state freed.
    int On_kUnloadAppMsg();
    // Load drawing: the working drawing gets its slot with what it stores.
    int On_kLoadDwgMsg();
    // Unload drawing: the closing drawing's slot is freed.
    int On_kUnloadDwgMsg();
    // Save: the job is written into the drawing before the host writes the file; the job stays as it is.
    int On_kSaveMsg();
};

// The module's application object.
CLaserApp& LaserApp();
