// A person at a terminal, with line editing: the input source cadhost reads when its standard input and output are
// a terminal. Lines are edited with libedit (arrows, Home/End, the emacs keys, ~/.editrc), the history of earlier
// sessions is kept in the user's configuration folder, Tab completes command names, and the keys a CAD command
// line has are there:
//   Ctrl-C         cancels the prompt (or the command running now, at its next prompt) like Esc; a second
//                  Ctrl-C at an idle command prompt leaves (the QUIT command asks about unsaved drawings)
//   Esc, Enter     cancels the prompt
//   F1             HELP
// Piped input and scripts never come here: they are read as they are (input.h).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/ed/input.h"

namespace host::ed {

// Lines kept in the history file; older ones are dropped when it is written.
inline constexpr int kMaxHistoryLines = 1000;

class LineEditorInput : public InputSource {
public:
    // Reads the terminal on standard input; the history is read from and written to `historyFile` (not written
    // when empty).
    explicit LineEditorInput(std::filesystem::path historyFile);
    ~LineEditorInput() override;
    LineEditorInput(const LineEditorInput&) = delete;
    LineEditorInput& operator=(const LineEditorInput&) = delete;

    std::optional<std::string> readLine(std::string_view prompt) override;
    bool isInteractive() const override { return true; }
    bool showsTyping() const override { return true; }
    bool isTerminal() const override { return true; }
    bool lastWasInterrupt() const override { return lastWasInterrupt_; }
    std::string position() const override;

    struct State;  // libedit's editor and history, and the prompt it redraws

private:
    std::unique_ptr<State> state_;
    bool lastWasInterrupt_ = false;
    std::size_t linesRead_ = 0;
};

// The run's input when nothing else is named: the line editor when standard input and output are a terminal
// (with the history file "history" in the user's configuration folder), else the plain reading of standard
// input (TerminalInput).
std::unique_ptr<InputSource> standardInputSource();

// Ctrl-C while no line is being read (a command computing) is kept, and cancels the next prompt. This tells
// whether one is waiting, and takes it.
bool takePendingInterrupt();

// The user's break for a long computation, asked between its steps: true once when Ctrl-C was pressed at the
// terminal since the last prompt. The break is taken (it cancels no later prompt) and what was typed ahead with it
// is dropped, so no queued key answers a later question. Always false when no terminal is read.
bool takeUserBreak();

}  // namespace host::ed
