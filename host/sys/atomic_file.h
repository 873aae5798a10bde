// Writing a file so that a failure never leaves a half-written file in place of the old one.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace host::sys {

// The file that writing `path` replaces: `path` itself, or, when `path` is a symbolic link, the file at the end of
// its chain of links (relative links count from the folder of the link), whether or not that file exists yet.
// Renaming a new file over the link itself would turn the link into a plain file and leave the file it named
// old. Nothing, with `error` naming `path`, for a loop of links (or a chain longer than the system follows).
std::optional<std::filesystem::path> resolveWriteTarget(const std::filesystem::path& path, std::string* error);

// Writes into a temporary file beside the target; commit() flushes, syncs and renames it over the target. Until
// commit() succeeds the target is untouched; a file not committed is removed when the object goes. A target that
// is a symbolic link is written through: the temporary file is made beside the file the link names and renamed
// over that, so the link stays and now names the new content.
//
// The temporary file is ".NAME.tmp-XXXXXX" beside the file; open() removes those of the same file that a save
// killed on the way left behind (none that a save in progress holds). A write beyond the process's file size limit
// fails with EFBIG (open() makes the system's SIGXFSZ, which would end the process, be ignored).
//
//   AtomicFile f(path);
//   if (!f.open(&err)) ...;  f.write(text); ...;  if (!f.commit(&err)) ...
class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file. On failure `error` says why, naming the file.
    bool open(std::string* error);
    // Buffered; a failure is remembered and reported by commit().
    bool write(std::string_view data);
    bool commit(std::string* error);
    const std::filesystem::path& target() const { return target_; }

private:
    std::filesystem::path shownName() const;

    std::filesystem::path target_, written_, temp_;  // as given; the file replaced (see resolveWriteTarget)
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    int savedErrno_ = 0;
};

}  // namespace host::sys
