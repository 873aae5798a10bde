// The command-line transcript: printing in the C locale, and showing the text on the terminal.
#include "host/ed/transcript.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>
#include <string>

namespace host::ed {
namespace {

// A printf into a string under the C locale, so "%.2f" writes a '.' whatever locale the process runs in.
std::string formatInCLocale(const char* format, va_list args) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const locale_t previous = uselocale(cLocale);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    uselocale(previous);
    return text;
}

}  // namespace

Transcript& transcript() {
    static Transcript t;
    return t;
}

void print(std::string_view text) {
    transcript().append(text);
}

void printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = formatInCLocale(format, args);
    va_end(args);
    transcript().append(text);
}

void Transcript::clear() {
    text_.clear();
    lineOpenAfterTyping_ = false;
}

void Transcript::append(std::string_view s) {
    if (s.empty()) return;
    if (lineOpenAfterTyping_) {
        lineOpenAfterTyping_ = false;
        if (s.front() != '\n') {
            text_ += '\n';
            show("\n");
        }
    }
    text_ += s;
    show(s);
}

void Transcript::appendTyped(std::string_view answer, bool onScreenAlready) {
    lineOpenAfterTyping_ = false;
    text_ += answer;
    lineOpenAfterTyping_ = true;
    if (onScreenAlready) {
        // The person's Enter has already moved the cursor to a new line.
        terminalAtLineStart_ = true;
        swallowNewline_ = true;
    } else {
        show(answer);
    }
}

void Transcript::endTerminalLine() {
    pendingLineEnd_ = false;
    if (echo_ && !terminalAtLineStart_) {
        std::fputc('\n', stdout);
        std::fflush(stdout);
        terminalAtLineStart_ = true;
    }
    // The cursor is at the start of a line: a text that starts with a line break would leave a blank line.
    swallowNewline_ = true;
}

// Writes text to standard output as a terminal should see it: without "\r", and without the line end the
// person's own Enter already made.
void Transcript::show(std::string_view s) {
    if (!echo_) {
        swallowNewline_ = false;
        return;
    }
    if (swallowNewline_ && !s.empty()) {
        swallowNewline_ = false;
        if (s.front() == '\n') s.remove_prefix(1);
    }
    std::string out;
    out.reserve(s.size() + 1);
    // A "\r" that ends a line of its own (a progress line, "Stock 1\r", that the next line would overwrite)
    // ends it on the terminal, so what follows starts on a line of its own; "\r" beside a "\n" shows as nothing.
    for (char c : s) {
        if (c == '\r') {
            const bool atLineStart = out.empty() ? terminalAtLineStart_ : out.back() == '\n';
            if (!atLineStart) pendingLineEnd_ = true;
            continue;
        }
        if (pendingLineEnd_) {
            pendingLineEnd_ = false;
            if (c != '\n') out += '\n';
        }
        out += c;
    }
    if (out.empty()) return;
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    terminalAtLineStart_ = out.back() == '\n';
}

}  // namespace host::ed
