// Where the user's answers come from: one source per run, a script or the terminal.
//
// Everything that waits for the user reads from this one source: the command prompt, the prompts of commands
// (answers.h), and the dialogs, file dialogs and message boxes of the user interface, which read their lines
// through readInputLine() (answers.h) in the order a user would act (the dialog layer defines its line syntax:
// the control and value, then the button). So one script drives a whole session, and the end of the script
// stops whatever waits.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host::ed {

// A line that holds only this (either spelling, any case; spaces around are ignored) is Esc; so is a line that
// holds only the Esc character itself (Esc then Enter at a terminal without line editing).
inline constexpr std::string_view kCancelToken = "^C";
inline constexpr std::string_view kCancelTokenAlt = "<Esc>";

// The prompt of the command line, where commands are typed.
inline constexpr std::string_view kCommandPrompt = "\nCommand: ";

// A script file larger than this is refused unread; a script is typed text, not data.
inline constexpr std::size_t kMaxScriptBytes = 64u << 20;

class InputSource {
public:
    virtual ~InputSource() = default;
    // The next line the user gives, after showing `prompt`; nullopt when the input has ended (the end of a script,
    // end of file on the terminal). An empty line is Enter.
    virtual std::optional<std::string> readLine(std::string_view prompt) = 0;
    // True for a person at a terminal (prompts may be repeated, history kept).
    virtual bool isInteractive() const { return false; }
    // True for a person at a real terminal (not piped input): the session may ask before it ends.
    virtual bool isTerminal() const { return false; }
    // True when the last line given stands for Ctrl-C (a cancel token the person did not type).
    virtual bool lastWasInterrupt() const { return false; }
    // True when what the user types is already on the screen (a terminal echoes typing), so the transcript does
    // not show it again.
    virtual bool showsTyping() const { return false; }
    // Where the last line came from, for messages: "run.scr, line 12".
    virtual std::string position() const { return {}; }
    // A key pressed while a command runs without asking anything (the keys of the cut simulation): the next
    // line when it is a key line ("+", "-", or Esc as isCancelToken), taken; otherwise nothing, and nothing is
    // taken. It never waits: at a terminal only a line already typed counts.
    virtual std::optional<std::string> takeTypedKey() { return std::nullopt; }
    // Leaves the lines not yet given unread: from now on the input has ended. A script does so when it stops
    // early (answers.h, stopScript); a person's terminal is never abandoned.
    virtual void abandonRest() {}
};

// Whether a line is a key line for takeTypedKey: "+", "-", or a cancel token (spaces around ignored).
bool isTypedKeyLine(std::string_view line);

// Lines of a script file or of a text in memory. Lines starting with ";;" are comments and skipped. Line ends may
// be LF or CR LF. position() names the script and the line number in it of the last line given (comments count).
class ScriptInput : public InputSource {
public:
    // nullptr with "cannot read <path>: <why>" in `error` for a missing or unreadable file, one larger than
    // kMaxScriptBytes, or one that is not UTF-8 text (a NUL byte, malformed UTF-8: "<path>, line 3: ...").
    static std::unique_ptr<ScriptInput> fromFile(const std::string& path, std::string* error);
    static std::unique_ptr<ScriptInput> fromLines(std::vector<std::string> lines, std::string name = "<script>");
    std::optional<std::string> readLine(std::string_view prompt) override;
    std::string position() const override;
    std::optional<std::string> takeTypedKey() override;
    void abandonRest() override { next_ = lines_.size(); }
    // The line number (1-based, in the file) of the last line given; 0 before the first.
    std::size_t lineNumber() const { return lastLine_; }
    // Lines not yet given, comments excluded.
    std::size_t remaining() const;

private:
    struct Line {
        std::string text;
        std::size_t number = 0;  // 1-based, in the file
    };
    std::vector<Line> lines_;    // comments already left out
    std::size_t next_ = 0;
    std::size_t lastLine_ = 0;
    std::string name_;
};

// A person at a terminal: the prompt is shown by the transcript; lines are read from a stream (standard input) as
// they are typed, with the terminal's own line editing. Every line read is kept in a history, newest last.
class TerminalInput : public InputSource {
public:
    // Reads `in`; `showsTyping`: the stream is a terminal that echoes what is typed (isatty on standard input).
    TerminalInput(std::istream& in, bool showsTyping);
    // Standard input, showing typing when it is a terminal.
    static std::unique_ptr<TerminalInput> standardInput();
    std::optional<std::string> readLine(std::string_view prompt) override;
    bool isInteractive() const override { return true; }
    bool showsTyping() const override { return showsTyping_; }
    bool isTerminal() const override { return showsTyping_; }
    std::string position() const override;
    // A line the person typed ahead is taken when it waits whole in the stream's buffer; a line that is no key
    // is kept for the next readLine.
    std::optional<std::string> takeTypedKey() override;
    const std::vector<std::string>& history() const { return history_; }

private:
    std::istream& in_;
    bool showsTyping_;
    std::vector<std::string> history_;
    std::size_t linesRead_ = 0;
    std::optional<std::string> typedAhead_;  // a line taken by takeTypedKey that was no key
};

// The run's input source; a ScriptInput with no lines until one is set.
InputSource& input();
void setInput(std::unique_ptr<InputSource> source);

bool isCancelToken(std::string_view line);

// An answer given only if something asks for it: "optional <answer>" (the word in any case). A script writes it
// where a question may or may not come, as a box shown only the first time or a question whether to replace a
// file that a second run finds there:
//   optional msgbox <answer>   answers a message box when one shows; passed over by anything else
//   optional <answer>          answers a question of a command (a prompt other than "Command: ") or a message
//                              box; passed over at the "Command: " prompt and by a dialog or file dialog
// A line passed over changes nothing and the next line is read. An optional answer that does not fit the box or
// question that shows is refused as the same answer without "optional" would be.
// The answer of an optional line (spaces around it trimmed), or nullopt for a line of another form.
std::optional<std::string_view> optionalAnswer(std::string_view line);
// True for an optional line that answers only a message box ("optional msgbox ...").
bool isOptionalBoxAnswer(std::string_view line);

}  // namespace host::ed
