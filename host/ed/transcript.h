// The command line's output: everything printed goes to one transcript that tests read and the terminal shows.
#pragma once

#include <string>
#include <string_view>

namespace host::ed {

// Prints on the command line. Texts keep the modules' "\n\r" line starts; the terminal shows "\r" as nothing, or
// as a line end where it ends a line of text.
void print(std::string_view text);
// printf-style, formatted in the C locale whatever the process locale.
void printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The transcript keeps every text as printed. Two rules make it read like a command line:
//   - a typed answer is written after its prompt, and the line it ends is ended by the next text: when that text
//     does not start with "\n" (a prompt such as "Select objects: "), a "\n" is put before it;
//   - on the terminal (echo on), "\r" is not shown (one that ends a line of text, as a progress line does, ends
//     the line there before anything more is shown), and when the person's own Enter has just ended the line, the
//     "\n" a text starts with is not shown either (no blank line after each answer).
class Transcript {
public:
    // All text printed since the last clear, exactly as printed (prompts and echoed answers included).
    const std::string& text() const { return text_; }
    void clear();
    // Whether printed text is also written to standard output (cadhost on; tests off).
    void setEcho(bool on) { echo_ = on; }
    bool echo() const { return echo_; }
    void append(std::string_view s);
    // An answer the user gave, after its prompt. `onScreenAlready`: a person typed it at a terminal, which showed
    // it and the Enter that ended it, so it is not written to standard output again.
    void appendTyped(std::string_view answer, bool onScreenAlready);
    // Ends the terminal's current line when something is on it (before the program writes lines of its own).
    void endTerminalLine();

private:
    void show(std::string_view s);

    std::string text_;
    bool echo_ = false;
    bool lineOpenAfterTyping_ = false;  // a typed answer ended the text; its line end is still to come
    bool terminalAtLineStart_ = true;   // the terminal's cursor is at the start of a line
    bool pendingLineEnd_ = false;       // a "\r" ended the text shown: the next text starts a new line
    bool swallowNewline_ = true;        // the person's Enter ended the line (or nothing is shown yet): drop the
                                        // next leading "\n"
};

Transcript& transcript();

}  // namespace host::ed
