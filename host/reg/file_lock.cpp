// The lock file: open, flock with a bounded wait, release.
#include "host/reg/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "host/sys/atomic_file.h"

namespace host::reg {

namespace {
constexpr std::chrono::milliseconds kLockPollInterval{2};
constexpr mode_t kLockFileMode = 0666;

// A loop of links is locked by its own name: the write that follows fails and says why.
std::filesystem::path lockFileOf(const std::filesystem::path& guarded) {
    return sys::resolveWriteTarget(guarded, nullptr).value_or(guarded).string() + ".lock";
}

}  // namespace

FileLock::FileLock(const std::filesystem::path& guarded, std::chrono::milliseconds wait)
    : path_(lockFileOf(guarded)) {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kLockFileMode);
    if (fd_ < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return;
        if (std::chrono::steady_clock::now() >= deadline) {
            timedOut_ = true;
            return;
        }
        std::this_thread::sleep_for(kLockPollInterval);
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace host::reg
