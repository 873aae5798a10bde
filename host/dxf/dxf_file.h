// Reading and writing drawing files (ASCII DXF) into and from a database.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "host/db/database.h"

namespace host::dxf {

struct ReadResult {
    std::unique_ptr<db::Database> database;  // null on failure
    std::string error;                       // on failure: "<file>, line <n>: <what is wrong>"
    explicit operator bool() const { return database != nullptr; }
};

// Reads a DXF file (R12 without handles, R2000 to R2018) into a new database whose file name is the path.
// Binary DXF, a truncated or malformed file gives an error naming the line; nothing is half-read.
ReadResult readDxfFile(const std::filesystem::path& path);
// The same from text in memory; `sourceName` is the name used in messages.
ReadResult readDxfText(std::string_view text, std::string_view sourceName = "<memory>");

// Writes the database as a complete R2000 DXF file (temporary file beside the target, then rename). On failure the
// old file stays and `error` says why. The database's file name is not changed.
bool writeDxfFile(const db::Database& database, const std::filesystem::path& path, std::string* error);
std::string writeDxfText(const db::Database& database);

}  // namespace host::dxf
