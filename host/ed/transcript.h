// The command line's output: everything printed goes to one transcript that tests read and the terminal shows.
#pragma once

#include <string>
#include <string_view>

namespace host::ed {

// Prints on the command line. Texts keep the modules' "\n\r" line starts; the terminal shows "\r" as nothing.
void print(std::string_view text);
// printf-style, formatted in the C locale whatever the process locale.
void printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

class Transcript {
public:
    // All text printed since the last clear, exactly as printed (prompts and echoed answers included).
    const std::string& text() const { return text_; }
    void clear() { text_.clear(); }
    // Whether printed text is also written to standard output (cadhost on; tests off).
    void setEcho(bool on) { echo_ = on; }
    bool echo() const { return echo_; }
    void append(std::string_view s);

private:
    std::string text_;
    bool echo_ = false;
};

Transcript& transcript();

}  // namespace host::ed
