// One record of a DXF file (a 0 group and the groups up to the next 0 group), split into the parts every object
// has, and its values turned into the forms the database holds.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/ids.h"
#include "host/db/object.h"
#include "host/db/resbuf.h"
#include "host/dxf/dxf_text.h"
#include "host/dxf/dxf_tokenizer.h"

namespace host::dxf {

// A malformed file, found while reading: the line and what is wrong. Thrown inside the reader only and turned
// into ReadResult::error at its front door.
struct ReadFailure {
    std::size_t line;
    std::string what;
};

[[noreturn]] inline void failAt(std::size_t line, std::string what) { throw ReadFailure{line, std::move(what)}; }

// The identity and links a record carries before its own data.
struct RecordHead {
    std::optional<db::Handle> handle;     // 5, or 105 in DIMSTYLE records
    std::optional<db::Handle> owner;      // the 330 before the first subclass marker, outside 102 groups
    std::vector<db::Handle> reactors;     // 330s of 102 {ACAD_REACTORS
    std::optional<db::Handle> extensionDictionary;  // 360 of 102 {ACAD_XDICTIONARY
};

// A record split into its parts. The groups are views into the file text, which outlives the record.
struct SplitRecord {
    std::string_view name;    // the value of the 0 group
    std::size_t line = 0;     // line of the 0 group
    RecordHead head;
    std::vector<Group> body;  // everything else up to the extended data, in order (subclass markers included)
    // 102 groups of applications other than the two above ("{ACAD_..." to "}"), kept for records held as read.
    std::vector<Group> appGroups;
    std::vector<Group> xdata; // from the first 1001 on
    // The line of an own handle group left empty (some writers put an empty group 5 on every entity), 0 when
    // none: the object gets a new handle.
    std::size_t emptyHandleLine = 0;
};

// Splits the groups of one record (groups[0] is its 0 group). `handleCode` is 5, or 105 for DIMSTYLE records,
// whose group 5 is a block name. A missing "}" of a 102 group, a 5 that is not a handle (an empty one is left
// out: see emptyHandleLine), or a 330/360 in the head that is not a handle fails with the line.
void splitRecord(const std::vector<Group>& groups, int handleCode, SplitRecord& out);

// Converts groups to result buffers as entity data lists hold them: a point's x, y and z groups become one
// point (z may be left out; y may not), strings are decoded, handles stay hexadecimal text, and with
// `anglesInDegrees` the angle groups 50-58 become radians.
void toResBufs(const std::vector<Group>& groups, const TextEncoding& encoding, bool anglesInDegrees, db::ResBufList& out);

// The text of a String group as UTF-8 (decodeDxfText by the file's encoding); a text longer than
// limits::kMaxTextBytes once decoded fails naming its line.
std::string textOf(const Group& g, const TextEncoding& encoding);

// Groups kept as read: text decoded to UTF-8, numbers and handles as written in the file.
db::RawGroup toRawGroup(const Group& g, const TextEncoding& encoding);

// The handle of a group of kind Handle; fails naming the line for a group that held a name instead.
db::Handle handleOf(const Group& g);
// True for a group of a handle code (other than 5) whose value is text; toResBufs and toRawGroup refuse it.
bool isTextWhereHandleBelongs(const Group& g);
// True for a group of a handle code whose value is empty: a reference to nothing, or an own handle not given.
bool isEmptyHandle(const Group& g);

// Puts the y and z of each point right after its x when a writer put them elsewhere in the record (an old
// writer gives 10, 11, 20, 21, 30, 31): each x takes the first y (and z) of its code that follows it before the
// next x of that code. The line of the first point moved, 0 when none was.
std::size_t pairPointGroups(std::vector<Group>& body);

}  // namespace host::dxf
