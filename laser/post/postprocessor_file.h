// The postprocessor file (*.MXT): reading both of its layouts into a PostprocessorSettings and writing the keyed
// one.
//
// The keyed layout, which the writer produces:
//   CFG POST                 (read with 20; the line must contain "CFG POST")
//   4.2                      (read with 200; exactly "4.1" selects the positional layout instead)
//   ###General               a section header; the nine sections in any order
//   ####MachineType          a key line: "####" + the key, the whole line
//   Laser                    its value: one line, or a count line and that many lines (a block)
//   ...
//   ###EndFile
// Lines other than headers and the keys of the section are passed over (unknown keys, blank lines, the value
// line after an unknown key). The positional layout "4.1" holds the values alone, in a fixed order.
//
// Reading is strict: the nine sections must all be there (the count rule: the headers read plus one for
// "###EndFile" make 10), General must hold each of its 12 keys once, a value line must follow its key, a block
// may not claim more lines than the file holds, and flags, modes and numbers must be numbers. Anything else is
// reported in a message box naming the file, the line and the fault, and the settings are left exactly as they
// were. A line longer than its key's room is cut there, and its rest is read as the line that follows.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "laser/post/postprocessor_settings.h"

class TextLineReader;

// The mark of the first line, and the version the writer writes; "4.1" selects the positional layout.
inline constexpr const char* kPostFileMark = "CFG POST";
inline constexpr const char* kPostFileVersion = "4.2";
inline constexpr const char* kPostFileVersionPositional = "4.1";
inline constexpr const char* kPostEndFileLine = "###EndFile";
inline constexpr int kPostMarkLineSize = 20;
inline constexpr int kPostKeyLineSize = 200;

// Reads the file at `path` into `settings`: 0 when read, -1 after a message box (error icon) saying why: the file
// is not found, its first line lacks "CFG POST", or it is damaged (file, line and fault named). On -1 the
// settings are unchanged. The path, file-name and folder fields are never touched (the caller sets them).
// A damaged file's read, for the editor that lets the user mend it: `refusal`, when given, receives the values
// read up to the fault and the key whose value was refused (null when the fault is no key's: a missing section,
// no "###EndFile").
struct PostReadRefusal {
    const PostKey* key = nullptr;
    PostprocessorSettings readSoFar;
};
int ReadPostprocessorFile(PostprocessorSettings& settings, const std::filesystem::path& path,
                          PostReadRefusal* refusal = nullptr);

// Writes `settings` to `path` in the keyed layout, version "4.2": 0 when written. -1 after a message box (error
// icon) when a value would not read back as it is (see CheckStorablePostValue) or the file cannot be written;
// the old file is then untouched.
int WritePostprocessorFile(const PostprocessorSettings& settings, const std::filesystem::path& path);

// Whether `value` can be stored as the value of `key` and read back unchanged. Empty when it can; otherwise the
// reason in the module's language, e.g. "holds a line break." (a single-line value with CR or LF), "is longer
// than 18 characters.", "holds a line longer than ..." (a block), or "is not a number" for numbers and integers.
// The editor calls it on every entry; the writer refuses a record that fails it.
std::string CheckStorablePostValue(const PostKey& key, std::string_view value);
