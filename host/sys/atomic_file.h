// Writing a file so that a failure never leaves a half-written file in place of the old one.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace host::sys {

// Writes into a temporary file beside the target; commit() flushes, syncs and renames it over the target. Until
// commit() succeeds the target is untouched; a file not committed is removed when the object goes.
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
    std::filesystem::path target_, temp_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    int savedErrno_ = 0;
};

}  // namespace host::sys
