// The scripted user: answers dialogs, message boxes and file dialogs from the lines of the run's input
// (host/ed/input.h), the same script that types the commands, so one script drives a session through its
// dialogs. Each time a modal dialog waits, it shows a prompt naming the dialog on the transcript, reads one line
// and does what the line says, through the dialog driver (dialog_driver.h), as a person would.
//
// Lines (words are not case-sensitive; <control> is a control's id or label, as dialog_driver.h says, in double
// quotes when it has spaces; a value in double quotes has them taken off, so "" is an empty value):
//   dlg set <control> <value>   sets the control: the rest of the line is the value; a table takes
//                               <row> [<column> [<text>]], a row by number or by a name in it, a column by
//                               number or heading (dialog_driver.h)
//   dlg press <button>          clicks the button the rest of the line names (OK, Cancel, Save As..., 1001);
//                               the click moves the focus first, so the kill-focus checks of the field left run
//   dlg tab <title | number>    opens a tab of the property sheet (or of the dialog's tab control); a number
//                               counts the tabs from 1
//   dlg ok                      the dialog's OK: Enter, the default button (clicked when the focus is on another
//                               button, which Enter would press)
//   dlg cancel                  Esc: the dialog is cancelled without a click, so no field is checked
//   dlg show                    writes what the dialog shows to the transcript
//   dlg picture <file.png>      writes a picture of the dialog as a screen would show it (a PNG file)
//   msgbox <answer>             presses the message box's button: OK, Cancel, Yes, No, Abort, Retry, Ignore,
//                               Try Again, Continue; an empty line (Enter) presses its default button. A dlg,
//                               file or folder line while a box that only informs (OK alone) stands over a
//                               dialog answers the box OK and goes on to the dialog beneath
//   file <button>               a button's label (Save, Open) presses it: the name the dialog proposes is taken
//   file <name>                 the file dialog takes the name (relative to the folder it shows, or absolute;
//                               several in double quotes where it allows several, or apart by spaces when each
//                               is a file) and OK is pressed
//   file cancel                 the file dialog is cancelled
//   folder <path>, folder cancel   the folder chooser, likewise
//   ^C or <Esc>                 Esc, whatever shows
// A line that does not fit (a control the dialog does not show, a msgbox line while no message box shows or a
// box shows that the script does not answer, a word that is none of these) changes nothing: it is reported on
// the transcript with its place in the script, and the script stops there (host/ed/answers.h, stopScript): the
// rest is not read, so the dialog waiting is cancelled as at the end of the input, and the run stops early with
// the line named (cadhost saves nothing). A line that fits but that the dialog declines after telling why in a
// message box of its own (a page that refuses to be left; the script answers that box) is told, and the next
// line is read. When the input ends, the dialog waiting is cancelled as Esc would, and
// one that does not end then is left unanswered (its cancel answer, see Dialog::doModal).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/ui/dialog_user.h"

namespace host::ui {

class Dialog;

// How lenient the reading of an answer line is.
enum class AnswerSyntax {
    Script,   // the lines above, exactly
    Console,  // also without "dlg", a bare answer to a message box, a bare name to a file dialog, "help", an
              // empty line to show the dialog again, and field numbers (as the console user lists them) for
              // controls, "#<id>" then naming an id
};

struct AnswerOutcome {
    std::string complaint;  // why the line changed nothing (empty when it was done)
    std::string shown;      // text the line asked to see (dlg show, help)
    // The line was a fitting action that the dialog declined after telling the user why (DriveResult::declined):
    // a script goes on. Any other complaint means the line does not fit what shows, and a script stops there.
    bool declined = false;
};

// Does what one answer line says to `dialog`.
AnswerOutcome applyAnswerLine(Dialog& dialog, std::string_view line, AnswerSyntax syntax);

// The prompt a dialog shows while it waits for an answer line: `Dialog "Options": `, `Message box "Save":
// Replace it? [Yes/No]: `, `File dialog "Save As" in /data, name "plate.nc": ` (the name its box holds).
std::string answerPrompt(Dialog& dialog);

class ScriptedUser : public DialogUser {
public:
    bool act(Dialog& dialog) override;

private:
    std::uint64_t endedOn_ = 0;  // the showing of the dialog that waited when the input ended
};

}  // namespace host::ui
