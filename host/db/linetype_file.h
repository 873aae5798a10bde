// Line-type files (.lin): reading one named definition and loading it into a drawing's line-type table.
//
// The format, one definition per pair of lines; ";;" starts a comment line, blank lines are ignored:
//
//   *HIDDEN,Hidden __ __ __ __
//   A,.25,-.125
//
// The header names the line type (compared without regard to case) and describes it. The pattern line starts
// with the alignment "A" and lists dashes (positive), gaps (negative) and dots (0), in drawing units; a line that
// ends with a comma continues on the next. An element in brackets, ["TEXT",STYLE,S=.1,...] or [SHAPE,file.shx],
// is a text or shape drawn into the gap before it: the host keeps its text but draws only the dashes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/ids.h"
#include "host/db/status.h"

namespace host::db {

class Database;

struct LinetypeDefinition {
    std::string name;         // as written in the file
    std::string description;
    std::vector<double> dashes;
    // Bracketed elements as written, with the index of the dash they follow; not drawn by the host.
    struct Element {
        std::size_t afterDash;
        std::string text;
    };
    std::vector<Element> complexElements;
};

// Reads the definition of `name` from a line-type file. The whole file is checked, so a damaged file is noticed
// whichever line type is asked for.
//   FileError     the file cannot be read (missing, unreadable, larger than the bound); `message` names it
//   InvalidInput  a malformed line; `message` names the file and the line number and says what is wrong
//   KeyNotFound   the file holds no definition of that name
// A name defined twice answers the first definition, as hosts load them.
Status readLinetypeDefinition(const std::filesystem::path& file, std::string_view name, LinetypeDefinition& out,
                              std::string* message = nullptr);

// Loads the line type `name` from `file` into the database's line-type table (the table is opened for write and
// closed here). Besides the statuses of readLinetypeDefinition: DuplicateKey when the drawing already has a line
// type of that name (it is left as it is), and the table's open failure. On success `message` is empty, or notes
// the bracketed elements that will not be drawn.
Status loadLinetype(Database& db, const std::filesystem::path& file, std::string_view name, ObjectId* id = nullptr,
                    std::string* message = nullptr);

}  // namespace host::db
