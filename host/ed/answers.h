// The next answer to a prompt: from the argument list of a command a module runs, else from the run's input.
#pragma once

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

// Shows the prompt (on the transcript) and answers the next answer. An argument "\" (the pause token) takes that
// answer from the input. Text from the input is echoed to the transcript after the prompt, as a user's typing is.
Answer nextAnswer(std::string_view prompt);

// True while a module's argument list is being answered.
bool answeringFromArguments();

}  // namespace host::ed
