// Recording open requests and starting the user's viewer with posix_spawn (no shell in between).
#include "host/sys/shell_open.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <thread>

extern char** environ;

namespace host::sys {

namespace {

std::mutex g_shellMutex;
std::string g_openCommand;
std::vector<std::filesystem::path> g_opened;
std::vector<pid_t> g_started;

constexpr auto kWaitPollInterval = std::chrono::milliseconds(5);

// Collects the programs that have ended. Caller holds g_shellMutex.
void reapEndedLocked() {
    std::erase_if(g_started, [](pid_t pid) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        return r == pid || r < 0;  // ended, or not our child any more
    });
}

}  // namespace

void setOpenCommand(std::string command) {
    std::lock_guard lock(g_shellMutex);
    g_openCommand = std::move(command);
}

std::string openCommand() {
    std::lock_guard lock(g_shellMutex);
    return g_openCommand;
}

std::vector<std::string> splitCommandWords(std::string_view command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = '\0';
    for (char c : command) {
        if (quote != '\0') {
            if (c == quote) {
                quote = '\0';
            } else {
                word.push_back(c);
            }
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word.push_back(c);
            inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

OpenResult openForUser(const std::filesystem::path& path, std::string* error) {
    std::lock_guard lock(g_shellMutex);
    g_opened.push_back(path);
    reapEndedLocked();
    std::vector<std::string> words = splitCommandWords(g_openCommand);
    if (words.empty()) return OpenResult::Recorded;
    words.push_back(path.string());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int rc = ::posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        if (error) *error = "cannot start " + words.front() + " to open " + path.string() + ": " + std::strerror(rc);
        return OpenResult::StartFailed;
    }
    g_started.push_back(pid);
    return OpenResult::Started;
}

std::vector<std::filesystem::path> openedForUser() {
    std::lock_guard lock(g_shellMutex);
    return g_opened;
}

void clearOpenedForUser() {
    std::lock_guard lock(g_shellMutex);
    g_opened.clear();
}

std::size_t waitForStartedPrograms(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        {
            std::lock_guard lock(g_shellMutex);
            reapEndedLocked();
            if (g_started.empty() || std::chrono::steady_clock::now() >= deadline) return g_started.size();
        }
        std::this_thread::sleep_for(kWaitPollInterval);
    }
}

}  // namespace host::sys
