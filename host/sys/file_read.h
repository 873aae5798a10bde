// Reading a whole file into memory with a size bound.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace host::sys {

enum class FileReadStatus {
    Read,     // `bytes` holds the whole file
    Missing,  // there is no file of that name (not an error for readers that start empty)
    Failed,   // the file exists but could not be read, or is larger than the bound; `error` says which
};

struct FileBytes {
    FileReadStatus status = FileReadStatus::Failed;
    std::string bytes;
    std::string error;  // "cannot read <path>: <reason>" unless status is Read
};

// Reads the whole file `path` as bytes. A file (or anything not a regular file, such as a folder) larger than
// `maxBytes` is refused without reading it, since a bound that follows the file would let a damaged or wrong
// file exhaust memory.
FileBytes readFileBytes(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace host::sys
