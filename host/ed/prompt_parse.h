// Inside the editor: what prompts share. Keyword lists and their matching, the settings initGet leaves for the
// next prompt, and reading numbers, points and angles from typed text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/ge/point.h"

namespace host::ed::detail {

// Keywords of a prompt: "Yes No _Y N" holds the local keywords Yes and No and, after "_", their global forms Y
// and N (by position; a local keyword without a global one is its own global form).
struct Keywords {
    std::vector<std::string> local, global;

    bool empty() const { return local.empty() && global.empty(); }
    // The global form of the keyword a typed answer names, or nullopt. A word names a keyword when it is the whole
    // keyword, or the capital letters of it ("eXit" is "X", "LType" is "LT"), or a longer start of it that begins
    // with all of its leading capitals ("LTY" for "LType"); a keyword in lower case only must be typed whole.
    // Case does not matter. A word after "_" is matched so against the global forms ("_E" names "Extents"), any
    // other word against the local keywords. A whole keyword wins over an abbreviation; then the first in the
    // list.
    std::optional<std::string> match(std::string_view typed) const;
};
Keywords parseKeywords(std::string_view list);

// What initGet set for the next prompt; taking it clears it (it holds for one prompt only).
struct PromptSettings {
    int flags = 0;
    Keywords keywords;
};
void setPromptSettings(PromptSettings settings);
PromptSettings takePromptSettings();
// The keyword of the last RTKWORD answer, for getInput.
void setLastKeyword(std::string keyword);
const std::string& lastKeyword();

// A number as typed: strict decimal ("12", "-0.5", "1e3"), spaces around it ignored.
std::optional<double> parseNumber(std::string_view text);
// A point as typed: "x,y" or "x,y,z" (z 0 when left out); "@dx,dy[,dz]" relative to `relativeTo`, and "@" alone
// for that point itself; "d<a" and "@d<a" polar, with the angle in degrees counter-clockwise from +x. Spaces
// around the numbers are ignored.
std::optional<ge::Point3d> parsePoint(std::string_view text, const ge::Point3d& relativeTo);

std::string_view trimSpaces(std::string_view s);

}  // namespace host::ed::detail
