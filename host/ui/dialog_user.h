// Who answers a modal dialog when the program waits for it: the user the modal loops ask when nothing else acts.
//
// A modal loop (Dialog::doModal) pumps the desktop. When nothing is left to do, it first runs the desktop's idle
// handlers (a test's robot steps); when none of them acts, it asks the dialog user. The user in charge is the
// innermost one installed by a UseDialogUser guard; with none installed, it is the run's user, chosen by the
// run's input (host/ed/input.h): the console user for a person at a terminal, the scripted user for a script.
// When no user acts either, nobody can answer: the dialog is cancelled as Esc would cancel it, and the loop
// ends (see Dialog::doModal).
#pragma once

namespace host::ui {

class Dialog;

class DialogUser {
public:
    virtual ~DialogUser() = default;
    // Asked when the modal loop of `dialog` (the innermost modal dialog) is idle: do one thing to it, as a person
    // would (set a field, press a button, answer a message box), and answer whether anything was done. Answering
    // false leaves the dialog to be cancelled. May be asked again before it returns, for a dialog its own action
    // opened (a message box from a check), so it keeps no state of one action across the call.
    virtual bool act(Dialog& dialog) = 0;
};

// Puts `user` in charge while it lives; nullptr installs "nobody" (every dialog nobody else answers is
// cancelled), which is what tests of an unanswered dialog want. Guards nest; the innermost wins.
class UseDialogUser {
public:
    explicit UseDialogUser(DialogUser* user);
    ~UseDialogUser();
    UseDialogUser(const UseDialogUser&) = delete;
    UseDialogUser& operator=(const UseDialogUser&) = delete;

private:
    DialogUser* previous_ = nullptr;
    bool previousSet_ = false;
};

// The user in charge now: the innermost installed one (possibly nobody, nullptr), else the run's user.
DialogUser* currentDialogUser();

// The run's user: the console user when the run's input is a person at a terminal, else the scripted user
// reading the run's input.
DialogUser& runDialogUser();

}  // namespace host::ui
