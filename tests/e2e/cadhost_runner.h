// Running cadhost from the whole-program tests: a command line through the shell with its output streams caught,
// its standard input given (or empty), and the exit status.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"

namespace e2e {

// A word for the shell, quoted so that nothing in it is interpreted.
inline std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct RunResult {
    int status = -1;
    std::string out, err;
};

// Runs a command line through the shell with its output streams caught in files of `folder`. Standard input is
// `input` when given, else empty (so a program that reads the terminal never waits for a person).
inline RunResult runCommand(const std::string& command, const host::sys::testing::ScratchFolder& folder,
                            const std::optional<std::string>& input = std::nullopt) {
    const std::filesystem::path in = folder / "stdin.txt", out = folder / "stdout.txt", err = folder / "stderr.txt";
    host::sys::testing::writeBytes(in, input.value_or(""));
    const std::string redirected = command + " <" + quoted(in.string()) + " >" + quoted(out.string()) + " 2>" +
                                   quoted(err.string());
    const int raw = std::system(redirected.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = host::sys::testing::readBytes(out);
    r.err = host::sys::testing::readBytes(err);
    return r;
}

// LinuxCNC's interpreter run on `arguments` (after "rs274"). It maps its tool table into a file of the user's home
// ($HOME/.tool.mmap) that every run of one user shares, so tests that ran it at the same time read each other's
// tables ("Requested tool 1 not found in the tool table"): each run has the scratch folder as its home.
inline RunResult runInterpreter(const std::string& interpreter, const std::string& arguments,
                                const host::sys::testing::ScratchFolder& folder) {
    return runCommand("HOME=" + quoted(folder.path().string()) + " " + quoted(interpreter) + " " + arguments, folder);
}

inline RunResult cadhost(const std::vector<std::string>& args, const host::sys::testing::ScratchFolder& folder,
                         const std::optional<std::string>& input = std::nullopt) {
    std::string command = quoted(CADHOST_EXE);
    for (const std::string& a : args) command += " " + quoted(a);
    return runCommand(command, folder, input);
}

// Whether `text` (a transcript, a program, a message) holds `part`.
inline bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

inline std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace e2e
