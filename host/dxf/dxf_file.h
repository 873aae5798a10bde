// Reading and writing drawing files (ASCII DXF) into and from a database.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/database.h"

namespace host::dxf {

struct ReadResult {
    std::unique_ptr<db::Database> database;  // null on failure
    std::string error;                       // on failure: "<file>, line <n>: <what is wrong>"
    // On success, what was read other than the file says (a colour out of range read as BYLAYER, a reused handle
    // given a new one), each "<file>, line <n>: <what>", for the user to be told.
    std::vector<std::string> notes;
    explicit operator bool() const { return database != nullptr; }
};

// Reads a DXF file (R12 without handles, R2000 to R2018; ASCII or binary) into a new database whose file name is
// the path. A truncated or malformed file gives an error naming the line (the byte of the group in a binary
// file); nothing is half-read.
//   - Kept as read and written back: entities, objects, table records, header variables, classes and extended data
//     the host does not model (an OpaqueEntity, OpaqueObject, OpaqueTableRecord, Header::others, Header::classes).
//   - Handles are kept; objects without one (R12) get new handles, and $HANDSEED is raised past every handle.
//   - Text is UTF-8 in the database: files before AC1021 are decoded by the code page $DWGCODEPAGE names (any
//     ANSI, DOS, ISO 8859 or Macintosh page; ANSI_1252 when none), later ones are UTF-8; \U+XXXX escapes are
//     decoded in all. A page we do not know is read as ANSI_1252, with a note.
//   - Names of layers, line types, text styles and blocks that the tables lack get records, as CAD programs make
//     them; an empty name names nothing and is refused.
//   - Slips of other writers are repaired as CAD programs' audit repairs them, each told once per file in `notes`:
//     an empty reference is left out and an empty own handle replaced, an ellipse ratio above 1 swaps the axes,
//     points whose y and z stand apart from their x are paired by code, stray parts of a point in extended data
//     are left out (an application whose data is still refused loses that data), a malformed known header
//     variable is skipped, a stray ENDSEC is skipped, record and section names lose spaces around them, lone CR
//     line ends are read as line ends, and nothing after EOF is read (told unless blank or a Ctrl-Z).
//   - Refused besides malformed groups (with the bounds of dxf_limits.h): blocks that contain themselves, block
//     nesting that expands beyond limits::kMaxExpandedEntities, values an entity or record refuses (a radius of 0).
ReadResult readDxfFile(const std::filesystem::path& path);
// The same from text in memory; `sourceName` is the name used in messages.
ReadResult readDxfText(std::string_view text, std::string_view sourceName = "<memory>");

// Writes the database as a complete R2000 DXF file (temporary file beside the target, then rename). On failure the
// old file stays and `error` says why. The database's file name is not changed.
//   - Text is in $DWGCODEPAGE as the drawing was read (ANSI_1251 for a new one): a character the page has in its
//     bytes, every other one as \U+XXXX (which every page reads back), control characters as ^J-style escapes.
//   - Reals are written in their shortest round-trip form, angles in degrees that read back to the same radians:
//     a drawing read back from the file is equal to the one written, handles included.
//   - Objects other readers need that the database lacks (layouts, the Standard multiline style, BLOCK/ENDBLK and
//     SEQEND markers) are written with new handles above the database's $HANDSEED, and $HANDSEED past them.
//   - A drawing holding a number that is not finite is not saved (a DXF file cannot hold it).
bool writeDxfFile(const db::Database& database, const std::filesystem::path& path, std::string* error);
std::string writeDxfText(const db::Database& database);

}  // namespace host::dxf
