// The HEADER section: the variables the host keeps by name, and every other variable kept as read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/database.h"
#include "host/dxf/dxf_output.h"
#include "host/dxf/dxf_text.h"
#include "host/dxf/dxf_tokenizer.h"

namespace host::dxf {

// One variable as read: "$NAME" (group 9) and the groups that follow it.
struct HeaderVariable {
    std::string_view name;
    std::size_t line = 0;
    std::vector<Group> groups;
};

// What the header says that is not a header value of the database: the file's version and code page (how its
// text is stored), the next handle, and the current layer, line type and text style by name (set once the tables
// are read).
struct HeaderFacts {
    std::string acadVersion;    // "" when the file has no $ACADVER
    std::string codePage;
    std::optional<db::Handle> handSeed;
    std::string currentLayer, currentLinetype, currentTextStyle;
    TextEncoding encoding;
    // Known variables left out because they are malformed (an AutoCAD 2.10 file gives $TEXTSTYLE in group 8):
    // the line of the variable and what is wrong.
    struct Skipped {
        std::size_t line;
        std::string what;
    };
    std::vector<Skipped> skipped;
};

// Reads the variables into `header` (known ones into their fields, the rest into header.others in order) and
// answers the facts. The code page goes into header.codePage (ANSI_1252 for a file that names none or one we
// do not know). $EXTMIN and $EXTMAX are left out (the database computes its extents) and so is $HANDLING
// (every file we write has handles). A known variable without the group of its code, or with a value it cannot
// take, is skipped (the drawing keeps its default) and answered in `skipped`, as CAD programs' audit does.
// With `earlier`, the variables are more of a header already read (an old program wrote some outside the HEADER
// section): its version, code page and encoding stay, and its facts are kept where these say nothing.
HeaderFacts readHeaderVariables(const std::vector<HeaderVariable>& vars, db::Header& header,
                                const HeaderFacts* earlier = nullptr);

// Writes the HEADER section: $ACADVER AC1015, $HANDSEED, $DWGCODEPAGE (the drawing's), $INSBASE, $EXTMIN, $EXTMAX,
// $INSUNITS, $PDMODE, $PDSIZE, $LTSCALE, $CELTSCALE, $CECOLOR, $CLAYER, $CELTYPE, $TEXTSTYLE, $PROJECTNAME,
// $MEASUREMENT, then the kept others in their order.
void writeHeaderSection(const db::Database& db, db::Handle handSeed, DxfOutput& out);

}  // namespace host::dxf
