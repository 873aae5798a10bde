// AtomicFile: a temporary file beside the target, synced and renamed over it on commit.
#include "host/sys/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <vector>

namespace host::sys {

namespace {

constexpr mode_t kDefaultUmask = 022;
// The links followed before a chain counts as a loop: the kernel's own bound for a path (ELOOP).
constexpr int kMaxLinkHops = 40;
constexpr mode_t kNewFileMode = 0666;
// The temporary file's name: "." + the written file's name + this + mkostemp's six letters and digits.
constexpr std::string_view kTempInfix = ".tmp-";
constexpr std::size_t kTempUniqueChars = 6;

// The process's umask, read without changing it (umask() itself would race with other threads).
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return kDefaultUmask;
}

std::string describe(const std::filesystem::path& path, const char* what, int error) {
    return "cannot " + std::string(what) + " " + path.string() + ": " + std::strerror(error);
}

// Makes the rename durable: without syncing the folder, a crash right after the rename may bring back the old
// name. Failure here is not reported: the new content is already in place and synced.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A write beyond the process's file size limit (ulimit -f) raises SIGXFSZ, whose default ends the process at
// once: a save then vanished without a word, leaving its temporary file. Ignored, the write fails with EFBIG,
// which the save reports, keeping the old file. A handler the program set itself is left alone.
void failWritesBeyondTheSizeLimit() {
    struct sigaction old {};
    if (::sigaction(SIGXFSZ, nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL) return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

bool isTempNameOf(std::string_view entry, std::string_view prefix) {
    if (entry.size() != prefix.size() + kTempUniqueChars || !entry.starts_with(prefix)) return false;
    for (char c : entry.substr(prefix.size()))
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
    return true;
}

// Removes temporary files of `written` that a save killed on the way left behind (kill -9, a power cut): plain
// files of exactly our temporary name for that file, which no save holds locked. A save in progress holds a lock
// on its temporary file until it ends, and the system lets go of the lock of a process that died.
void removeStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTempNameOf(entry->d_name, prefix)) continue;
        const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace

std::optional<std::filesystem::path> resolveWriteTarget(const std::filesystem::path& path, std::string* error) {
    std::filesystem::path current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st {};
        // Absent, or not to be looked at: the path is written as it is, and opening it tells what is wrong.
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
        if (ec) return current;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    if (error) *error = describe(path, "write", ELOOP);
    return std::nullopt;
}

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
        ::unlink(temp_.c_str());
    }
}

bool AtomicFile::open(std::string* error) {
    if (file_ != nullptr) {
        if (error) *error = "cannot write " + target_.string() + ": the file is already open";
        return false;
    }
    failed_ = false;
    savedErrno_ = 0;
    const std::optional<std::filesystem::path> written = resolveWriteTarget(target_, error);
    if (!written) return false;
    written_ = *written;
    failWritesBeyondTheSizeLimit();
    // A hidden name in the written file's own folder, so the rename stays within one file system.
    const std::filesystem::path folder = written_.parent_path().empty() ? "." : written_.parent_path();
    const std::string prefix = "." + written_.filename().string() + std::string(kTempInfix);
    removeStaleTemporaries(folder, prefix);
    std::string pattern = (folder / (prefix + std::string(kTempUniqueChars, 'X'))).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = describe(shownName(), "create a temporary file to write", errno);
        return false;
    }
    temp_ = name.data();
    // Held until the file is closed: the mark of a save in progress (see removeStaleTemporaries).
    ::flock(fd, LOCK_EX | LOCK_NB);
    // mkostemp makes the file private (0600); give it the mode the old file had, or the one a new file gets.
    struct stat old {};
    const mode_t mode = ::stat(written_.c_str(), &old) == 0 ? (old.st_mode & 07777) : (kNewFileMode & ~currentUmask());
    ::fchmod(fd, mode);
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        const int e = errno;
        ::close(fd);
        ::unlink(temp_.c_str());
        if (error) *error = describe(shownName(), "write", e);
        return false;
    }
    return true;
}

std::filesystem::path AtomicFile::shownName() const {
    if (written_.empty() || written_ == target_) return target_;
    return target_.string() + " (a link to " + written_.string() + ")";
}

bool AtomicFile::write(std::string_view data) {
    if (file_ == nullptr) {
        if (!failed_) savedErrno_ = EBADF;
        failed_ = true;
        return false;
    }
    if (failed_) return false;
    if (!data.empty() && std::fwrite(data.data(), 1, data.size(), file_) != data.size()) {
        failed_ = true;
        savedErrno_ = errno;
    }
    return !failed_;
}

bool AtomicFile::commit(std::string* error) {
    if (file_ == nullptr) {
        if (error) *error = "cannot write " + target_.string() + ": the file was not opened (or is already committed)";
        return false;
    }
    if (!failed_ && std::fflush(file_) != 0) failed_ = true, savedErrno_ = errno;
    if (!failed_ && ::fsync(::fileno(file_)) != 0) failed_ = true, savedErrno_ = errno;
    if (std::fclose(file_) != 0 && !failed_) failed_ = true, savedErrno_ = errno;
    file_ = nullptr;
    if (!failed_ && ::rename(temp_.c_str(), written_.c_str()) != 0) {
        failed_ = true;
        savedErrno_ = errno;
    }
    if (failed_) {
        ::unlink(temp_.c_str());
        if (error) *error = describe(shownName(), "write", savedErrno_);
        return false;
    }
    syncFolder(written_.parent_path());
    return true;
}

}  // namespace host::sys
