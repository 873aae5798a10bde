// An exclusive lock between processes, held on a lock file beside the file it guards.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace host::reg {

// How long a writer waits for another process's write to finish before it gives up. A registry write takes
// milliseconds; a lock held longer means a stuck program, and the user is better told than kept waiting.
inline constexpr std::chrono::milliseconds kLockWait{10000};

// flock on "<guarded>.lock" (the guarded file itself is replaced by every write, so its own inode cannot carry
// the lock). A guarded file reached through a symbolic link is locked beside the file the link names, where it is
// written, so that programs naming it by the link and by its own name take the same lock. The lock file stays;
// it holds nothing.
class FileLock {
public:
    // Waits up to `wait` for the lock. When the lock file cannot be created (a read-only folder), the lock is
    // not taken and held() says so: the write that follows fails on its own with a clearer message.
    explicit FileLock(const std::filesystem::path& guarded, std::chrono::milliseconds wait = kLockWait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }
    // True when another process held the lock for the whole wait.
    bool timedOut() const { return timedOut_; }
    std::string lockFileName() const { return path_.string(); }

private:
    std::filesystem::path path_;
    int fd_ = -1;
    bool held_ = false;
    bool timedOut_ = false;
};

}  // namespace host::reg
