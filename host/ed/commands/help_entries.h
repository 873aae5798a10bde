// The help of each command: the entries of the installed help file (help/Help.md, help/Help_RU.md), which HELP NAME
// prints.
//
// An entry is a heading "### NAME" (several names of one entry apart by ", ": "### NCDelAll, NCDelLast") and the
// text under it up to the next heading of any level. Names are matched without regard to case; a leading "_" or
// "." (the global and the undefinable prefixes a script may type) is not part of the name.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host::ed {

// The help file HELP reads: Help_RU.md when the product's language (LangMenu) is RU, else Help.md, in the
// installation folder's "help" folder.
std::filesystem::path helpFile();

// The entry of `name` in the text of a help file: its heading line and text, trailing blank lines taken off;
// nullopt when the file has none.
std::optional<std::string> helpEntry(std::string_view helpText, std::string_view name);

// Every name that has an entry in the text of a help file, in the order they stand.
std::vector<std::string> helpEntryNames(std::string_view helpText);

}  // namespace host::ed
