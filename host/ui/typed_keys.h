// Keys typed while a command runs without asking anything: the run's input (a script line "+", "-" or "^C", or
// a line typed ahead at the terminal) becomes a key press in the desktop's input queue, as a keyboard would put
// it there. "+" and "-" are the keypad's plus and minus keys, "^C" (or "<Esc>") is Esc.
#pragma once

#include <string_view>

namespace host::ui {

class Desktop;

// The virtual key a key line stands for (VK_ADD, VK_SUBTRACT, VK_ESCAPE), 0 for a line that is no key line.
unsigned virtualKeyOfLine(std::string_view line);

// Takes at most one key line from the run's input and queues its key-down and key-up on `desktop`: true when it
// did. A command that polls once per step thus sees the script's key lines one step after another.
bool queueTypedKey(Desktop& desktop);

}  // namespace host::ui
