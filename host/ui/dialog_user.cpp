// Who answers a modal dialog: the installed user, else the run's user.
#include "host/ui/dialog_user.h"

#include "host/ed/input.h"
#include "host/ui/console_user.h"
#include "host/ui/scripted_user.h"

namespace host::ui {

namespace {

struct Installed {
    DialogUser* user = nullptr;
    bool set = false;  // a guard is in force (its user may be nobody)
};

Installed& installed() {
    static Installed current;
    return current;
}

}  // namespace

UseDialogUser::UseDialogUser(DialogUser* user) : previous_(installed().user), previousSet_(installed().set) {
    installed() = {user, true};
}

UseDialogUser::~UseDialogUser() {
    installed() = {previous_, previousSet_};
}

DialogUser* currentDialogUser() {
    const Installed& now = installed();
    return now.set ? now.user : &runDialogUser();
}

DialogUser& runDialogUser() {
    static ScriptedUser scripted;
    static ConsoleUser console;
    if (ed::input().isInteractive()) return console;
    return scripted;
}

}  // namespace host::ui
