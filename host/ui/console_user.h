// The console user: a person at cadhost's terminal answering dialogs. Each time a modal dialog waits, the person
// sees it as text on the command line (its fields numbered, with their values and choices, then its buttons;
// a message box's text and buttons; a file dialog's folder, files and filter) and types a line, read from the
// run's input (the terminal):
//   set <field> <value>    a field by its number in the listing or its label ("#1001" for a control id)
//   press <button>         a button by its label
//   tab <title | number>   another page of a property sheet
//   ok, cancel             Enter, Esc
//   show (or Enter)        the dialog again; help: these lines
//   Yes, No, OK, ...       a message box's answer; Enter presses its default button
//   <file name>, cancel    a file dialog's answer; Enter takes the name it proposes, a button's label presses it
// A line for the dialog (set, press, tab, show) while a box that only informs (OK alone) stands over it answers
// the box OK and goes on to the dialog.
// The scripted user's lines (scripted_user.h) work too. A line that does not fit is answered with what went
// wrong, and the dialog waits for the next. After each action the dialog is shown again. The end of the input
// (Ctrl-D) cancels the dialog.
#pragma once

#include <cstdint>
#include <string>

#include "host/ui/dialog_user.h"

namespace host::ui {

class Dialog;

// The dialog as the console user sees it.
std::string describeForConsole(Dialog& dialog);

class ConsoleUser : public DialogUser {
public:
    bool act(Dialog& dialog) override;

private:
    std::uint64_t shown_ = 0;    // the showing of the dialog last written out, as it was then
    std::uint64_t endedOn_ = 0;  // the showing of the dialog that waited when the input ended
};

}  // namespace host::ui
