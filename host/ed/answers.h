// The next answer to a prompt: from the argument list of a command a module runs, else from the run's input.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/db/resbuf.h"

namespace host::ed {

struct Answer {
    enum class Kind {
        Value,            // `value` holds the answer (RTSTR text as typed, or a typed item from a module)
        Enter,            // an empty answer
        Cancel,           // Esc
        EndOfArguments,   // a module's argument list ran out (selection prompts end; other prompts cancel)
        EndOfInput,       // the run's input ended (the prompt cancels; the run stops with a message)
    };
    Kind kind = Kind::Cancel;
    db::ResBuf value;
    bool fromArguments = false;  // came from a module's argument list (a wrong one fails instead of asking again)
};

// What the end of a module's argument list means at a prompt. At most prompts the command cannot go on, so the
// command run by command() is cancelled (it answers RTCAN). At a selection prompt the list's entity names were
// the whole selection: the selection ends and the command goes on ("_.EXPLODE" e1 e2 with no closing "").
enum class WhenArgumentsEnd { CancelCommand, EndSelection };

// Shows the prompt (on the transcript) and answers the next answer. An argument "\" (the pause token) takes that
// answer from the input. Text from the input is echoed to the transcript after the prompt, as a user's typing is.
//   - An argument RTSTR "" answers Enter, as does an RTSTR of spaces only (a space bar press); RTNONE ends the
//     list. Other items answer Value as they are (RTSTR, RTREAL, RTSHORT, RTLONG, RTPOINT, RT3DPOINT, RTENAME,
//     RTPICKS). Answers from the list are shown after their prompt only while CMDECHO is not 0.
//   - From the input: an empty line answers Enter, a cancel token (input.h) Cancel, the end of the input
//     EndOfInput; every other line Value with an RTSTR of the line as typed. A line "'NAME" runs the transparent
//     command NAME there and then (a command without the transparent flag is refused with the host's message)
//     and the prompt is shown again.
//   - Cancel, EndOfInput, and EndOfArguments with CancelCommand mark the command being answered as cancelled:
//     command() answers RTCAN for it.
// A prompt that refuses an answer that came from the argument list answers RTERROR and calls
// setCommandResult(RTERROR) (command.h), so command() reports the failure to the module.
Answer nextAnswer(std::string_view prompt, WhenArgumentsEnd whenEnd = WhenArgumentsEnd::CancelCommand);

// A prompt that refuses an answer that came from the input (it prints its complaint and asks again) calls this
// before asking again, so the new answer comes from the input too, even when the refused one was typed for a pause
// token of an argument list (the list's next item is not the retry's answer).
void retryFromInput();

// True while a module's argument list is being answered.
bool answeringFromArguments();

// Reads one line from the run's input for a reader other than a prompt (a dialog, a message box, a file dialog):
// shows `prompt`, echoes the line to the transcript, and answers it; nullopt when the input has ended (then, as for
// a prompt, the waiting command is cancelled and the run stops with a message naming the script line). Cancel
// tokens and "'" lines are passed through as they are: the reader decides what they mean.
std::optional<std::string> readInputLine(std::string_view prompt);

// A reader that cannot take the line a script gave it (a dialog's answer naming a control the dialog does not
// have, a line that answers nothing the dialog shows) stops the script there: `why` (with the line's place, as
// "run.scr, line 7: ...") is kept for the run's message, the rest of the script is left unread, so every reader
// after it meets the end of the input (the dialog waiting is cancelled, the command with it), and the run stops
// early: nothing is saved. The first stop is kept. At a terminal it does nothing: the person reads the complaint
// and types again.
void stopScript(std::string why);
// True once stopScript has stopped the script of this run.
bool scriptStopped();

// Gives a line read with readInputLine back to the input: the next reader gets it first, as if typed again. For a
// reader that took a line meant for another (a message box that a line for the dialog beneath it closes).
void giveBackInputLine(std::string line);

}  // namespace host::ed
