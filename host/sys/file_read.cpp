// Bounded whole-file reading with messages that name the file.
#include "host/sys/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace host::sys {

namespace {

FileBytes failure(const std::filesystem::path& path, const std::string& reason) {
    FileBytes result;
    result.status = FileReadStatus::Failed;
    result.error = "cannot read " + path.string() + ": " + reason;
    return result;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

FileBytes readFileBytes(const std::filesystem::path& path, std::size_t maxBytes) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) {
            FileBytes missing;
            missing.status = FileReadStatus::Missing;
            missing.error = "cannot read " + path.string() + ": no such file";
            return missing;
        }
        return failure(path, std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return failure(path, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) return failure(path, "it is a folder, not a file");
    if (S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        return failure(path, "the file is larger than " + std::to_string(maxBytes) + " bytes");
    }
    FileBytes result;
    // One byte more than the file holds, so that the read that finds its end needs no larger buffer.
    result.bytes.resize(S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) + 1 : 0);
    std::size_t used = 0;
    // Read until end of file: the size may change while reading, and a pipe has no size. One byte past the bound
    // is read so that a file grown beyond it is noticed.
    for (;;) {
        if (used == result.bytes.size()) {
            if (used > maxBytes) return failure(path, "the file is larger than " + std::to_string(maxBytes) + " bytes");
            result.bytes.resize(std::min(maxBytes + 1, std::max<std::size_t>(used * 2, 4096)));
        }
        const ssize_t n = ::read(fd.get(), result.bytes.data() + used, result.bytes.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            return failure(path, std::strerror(errno));
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    if (used > maxBytes) return failure(path, "the file is larger than " + std::to_string(maxBytes) + " bytes");
    result.bytes.resize(used);
    result.status = FileReadStatus::Read;
    return result;
}

}  // namespace host::sys
