// The line editor at the terminal: libedit with the session's history, command-name completion, and Ctrl-C, Esc and
// F1 as a CAD command line has them.
#include "host/ed/line_editor.h"

#include <histedit.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <clocale>
#include <cstdio>
#include <iostream>
#include <system_error>
#include <vector>

#include "host/ed/command_stack.h"
#include "host/ed/transcript.h"
#include "host/sys/encoding.h"
#include "host/sys/folders.h"
#include "host/sys/text_case.h"

namespace host::ed {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int) {
    g_interrupted = 1;
}

// Ctrl-C is blocked while the program works and let through only while a key is awaited (ppoll with this mask), so
// one that comes between two reads is never lost: it waits, and cancels the next prompt.
sigset_t g_waitMask;

// libedit's reading of one key: a character of UTF-8 input, decoded here. Answers 1 with the character, 0 at the
// end of the input, -1 with errno EINTR for Ctrl-C.
extern "C" int readKey(EditLine*, wchar_t* out) {
    char32_t code = 0;
    int pending = 0;  // continuation bytes still to come
    while (true) {
        if (g_interrupted) {
            errno = EINTR;
            return -1;
        }
        pollfd p{STDIN_FILENO, POLLIN, 0};
        if (::ppoll(&p, 1, nullptr, &g_waitMask) < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        unsigned char byte = 0;
        const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
        if (n == 0) return 0;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return -1;
        }
        if (pending > 0 && (byte & 0xC0) == 0x80) {
            code = (code << 6) | (byte & 0x3F);
            if (--pending > 0) continue;
        } else if (byte < 0x80) {
            code = byte;
        } else if ((byte & 0xE0) == 0xC0) {
            code = byte & 0x1F;
            pending = 1;
            continue;
        } else if ((byte & 0xF0) == 0xE0) {
            code = byte & 0x0F;
            pending = 2;
            continue;
        } else if ((byte & 0xF8) == 0xF0) {
            code = byte & 0x07;
            pending = 3;
            continue;
        } else {
            code = 0xFFFD;  // not UTF-8: the replacement character, as the rest of the input is repaired
            pending = 0;
        }
        *out = static_cast<wchar_t>(code);
        return 1;
    }
}

// The line a key stands for is put in the edit buffer and taken at once.
unsigned char acceptAs(EditLine* el, const char* line) {
    const LineInfo* li = el_line(el);
    el_cursor(el, static_cast<int>(li->lastchar - li->cursor));
    el_deletestr(el, static_cast<int>(li->lastchar - li->buffer));
    el_insertstr(el, line);
    return CC_NEWLINE;
}

extern "C" unsigned char onHelpKey(EditLine* el, int) {
    return acceptAs(el, "'HELP");
}

extern "C" unsigned char onEscapeEnter(EditLine* el, int) {
    return acceptAs(el, std::string(kCancelToken).c_str());
}

// Tab: the command names that begin with the word before the cursor. One completes the word; several complete
// their common beginning, and are listed when nothing more can be added.
extern "C" unsigned char onComplete(EditLine* el, int) {
    const LineInfo* li = el_line(el);
    std::string_view before(li->buffer, static_cast<std::size_t>(li->cursor - li->buffer));
    const std::size_t start = before.find_last_of(" \t'") == std::string_view::npos ? 0
                                                                                     : before.find_last_of(" \t'") + 1;
    if (before.find_first_not_of(" \t'") < start) return CC_ERROR;  // only the command's own name is completed
    const std::string word(before.substr(start));
    std::vector<std::string> names;
    const CommandStack& stack = commandStack();
    for (const std::string& group : stack.groups()) {
        for (const CommandInfo* c : stack.commands(group)) {
            if (sys::upperCase(c->localName).starts_with(sys::upperCase(word))) names.push_back(c->localName);
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    if (names.empty()) return CC_ERROR;
    std::size_t common = names.front().size();
    for (const std::string& n : names) {
        std::size_t i = 0;
        while (i < common && i < n.size() && std::toupper(static_cast<unsigned char>(n[i])) ==
                                                 std::toupper(static_cast<unsigned char>(names.front()[i])))
            ++i;
        common = i;
    }
    if (common > word.size() || names.size() == 1) {
        el_deletestr(el, static_cast<int>(word.size()));
        std::string completed = names.front().substr(0, common);
        if (names.size() == 1) completed += ' ';
        el_insertstr(el, completed.c_str());
        return CC_REFRESH;
    }
    std::string list = "\n";
    for (const std::string& n : names) list += n + "  ";
    std::fputs((list + "\n").c_str(), stdout);
    return CC_REDISPLAY;
}

}  // namespace

struct LineEditorInput::State {
    EditLine* el = nullptr;
    History* history = nullptr;
    std::filesystem::path historyFile;
    std::string prompt;  // what stands on the terminal's line before the cursor, shown again when it is redrawn
    struct sigaction previous {};
    sigset_t previousMask{};
    std::string previousCtype;  // the character type locale before the editor's UTF-8 one
};

namespace {

char* promptOf(EditLine* el) {
    void* data = nullptr;
    el_get(el, EL_CLIENTDATA, &data);
    return const_cast<char*>(static_cast<LineEditorInput::State*>(data)->prompt.c_str());
}

// The text after the transcript's last line end: what the terminal shows on the line being typed.
std::string currentScreenLine() {
    const std::string& text = transcript().text();
    std::string line = text.substr(text.find_last_of('\n') == std::string::npos ? 0 : text.find_last_of('\n') + 1);
    line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
    return line;
}

}  // namespace

LineEditorInput::LineEditorInput(std::filesystem::path historyFile) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.historyFile = std::move(historyFile);
    s.history = history_init();
    HistEvent ev;
    history(s.history, &ev, H_SETSIZE, kMaxHistoryLines);
    history(s.history, &ev, H_SETUNIQUE, 1);
    if (!s.historyFile.empty()) history(s.history, &ev, H_LOAD, s.historyFile.c_str());

    // libedit turns its wide characters into the text it answers by the character type locale: UTF-8 here.
    if (const char* ctype = std::setlocale(LC_CTYPE, nullptr)) s.previousCtype = ctype;
    std::setlocale(LC_CTYPE, "C.UTF-8");

    s.el = el_init("cadhost", stdin, stdout, stderr);
    el_set(s.el, EL_CLIENTDATA, &s);
    el_set(s.el, EL_EDITOR, "emacs");
    el_set(s.el, EL_SIGNAL, 0);  // Ctrl-C is ours: it cancels, it does not end the program
    el_set(s.el, EL_PROMPT, promptOf);
    el_set(s.el, EL_HIST, history, s.history);
    // The wide form keeps our static names; the narrow one copies them and never frees the copies.
    el_wset(s.el, EL_ADDFN, L"kestrion-complete", L"Complete a command name", onComplete);
    el_wset(s.el, EL_ADDFN, L"kestrion-help", L"HELP", onHelpKey);
    el_wset(s.el, EL_ADDFN, L"kestrion-cancel", L"Cancel the prompt", onEscapeEnter);
    el_set(s.el, EL_BIND, "^I", "kestrion-complete", nullptr);
    for (const char* f1 : {"\\eOP", "\\e[11~", "\\e[[A"}) el_set(s.el, EL_BIND, f1, "kestrion-help", nullptr);
    for (const char* escEnter : {"\\e^M", "\\e^J"}) el_set(s.el, EL_BIND, escEnter, "kestrion-cancel", nullptr);
    el_set(s.el, EL_GETCFN, readKey);
    el_source(s.el, nullptr);  // the user's ~/.editrc, if any

    struct sigaction onCtrlC {};
    onCtrlC.sa_handler = onInterrupt;
    sigemptyset(&onCtrlC.sa_mask);
    onCtrlC.sa_flags = 0;
    sigaction(SIGINT, &onCtrlC, &s.previous);
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, &s.previousMask);
    g_waitMask = s.previousMask;
    sigdelset(&g_waitMask, SIGINT);
}

LineEditorInput::~LineEditorInput() {
    State& s = *state_;
    // A Ctrl-C still waiting is dropped, not handed to the handler the program had before (which would end it).
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGINT, &ignore, nullptr);
    pthread_sigmask(SIG_SETMASK, &s.previousMask, nullptr);
    sigaction(SIGINT, &s.previous, nullptr);
    g_interrupted = 0;
    if (!s.historyFile.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(s.historyFile.parent_path(), ec);
        HistEvent ev;
        history(s.history, &ev, H_SAVE, s.historyFile.c_str());
    }
    el_end(s.el);
    history_end(s.history);
    std::setlocale(LC_CTYPE, s.previousCtype.empty() ? "C" : s.previousCtype.c_str());
}

std::optional<std::string> LineEditorInput::readLine(std::string_view prompt) {
    State& s = *state_;
    lastWasInterrupt_ = false;
    if (takePendingInterrupt()) {
        lastWasInterrupt_ = true;
        ++linesRead_;
        return std::string(kCancelToken);
    }
    // The transcript has put the prompt on the screen; the editor draws it again over itself, so it knows where
    // the typing starts when it redraws the line.
    s.prompt = currentScreenLine();
    std::cout.flush();
    std::fputs("\r", stdout);
    int count = 0;
    const char* got = el_gets(s.el, &count);
    if (!got) {
        if (count == -1 && takePendingInterrupt()) {
            std::fputs("\n", stdout);
            std::fflush(stdout);
            lastWasInterrupt_ = true;
            ++linesRead_;
            return std::string(kCancelToken);
        }
        std::fputs("\n", stdout);  // Ctrl-D: the end of the input
        std::fflush(stdout);
        return std::nullopt;
    }
    std::string line(got, static_cast<std::size_t>(count));
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (!sys::isValidUtf8(line)) line = sys::repairUtf8(line);
    // The history holds the commands typed at the command prompt (the up arrow brings back commands, not the
    // points and answers given to them).
    const std::string_view typed = std::string_view(line).substr(0, line.find_last_not_of(' ') + 1);
    if (prompt == kCommandPrompt && !typed.empty() && !isCancelToken(typed)) {
        HistEvent ev;
        history(s.history, &ev, H_ENTER, std::string(typed).c_str());
    }
    ++linesRead_;
    return line;
}

std::string LineEditorInput::position() const {
    return "the terminal, line " + std::to_string(linesRead_);
}

bool takePendingInterrupt() {
    if (!g_interrupted) return false;
    g_interrupted = 0;
    return true;
}

bool takeUserBreak() {
    // While the program computes, Ctrl-C is blocked and waits at the process: take it from there without a handler.
    sigset_t pending;
    if (!g_interrupted && ::sigpending(&pending) == 0 && ::sigismember(&pending, SIGINT) == 1) {
        sigset_t interrupt;
        sigemptyset(&interrupt);
        sigaddset(&interrupt, SIGINT);
        const timespec now{0, 0};
        if (::sigtimedwait(&interrupt, nullptr, &now) == SIGINT) g_interrupted = 1;
    }
    if (!takePendingInterrupt()) return false;
    if (::isatty(STDIN_FILENO) == 1) ::tcflush(STDIN_FILENO, TCIFLUSH);
    return true;
}

std::unique_ptr<InputSource> standardInputSource() {
    if (::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1)
        return std::make_unique<LineEditorInput>(sys::userConfigFolder() / "history");
    return TerminalInput::standardInput();
}

}  // namespace host::ed
