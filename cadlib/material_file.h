// The material file (*.MAT): a three-line text file that names a material by its density and its material
// number, read by the material choice of both drawing modules and written by the material page.
//
//   line 1   MATERIAL                     must contain "MATERIAL" (case-sensitive, anywhere); read with 40
//   line 2   DENSITY=<density text>       the text after the first "=" (the whole line without one); read with 80
//   line 3   MATERIAL_NUM=<number text>   likewise
//
// The keys before "=" are not checked and further lines are ignored. A line longer than its reader's room is cut
// there, and the rest of that line is passed over, so a long first line never stands in for the density. A value
// has the room its line leaves after the writer's key (71 characters for the density, 66 for the number): a longer
// one, from a line without its key, is cut to it when read and refused when written, so that what is read can be
// saved and reads back the same.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "cadlib/messages.h"

// Reader sizes of the three lines (room for 39 and 79 characters).
inline constexpr int kMaterialHeaderLineSize = 40;
inline constexpr int kMaterialValueLineSize = 80;

// The largest density a material (and a job holding it) may have: far above any unit of mass per volume a shop
// uses (the dialogs offer kilograms per cubic millimetre, 7.85e-06 for steel).
inline constexpr double kMaxMaterialDensity = 100000.0;

inline constexpr const char* kMaterialHeaderWord = "MATERIAL";
inline constexpr const char* kMaterialDensityKey = "DENSITY=";
inline constexpr const char* kMaterialNumberKey = "MATERIAL_NUM=";
inline constexpr const char* kMaterialDefaultExtension = "MAT";

// The filter of the material dialogs.
inline constexpr TwoLanguageText kMaterialFileFilter = {
    "*.MAT|*.MAT|All Files (*.*)|*.*||",
    "*.MAT|*.MAT|Все файлы (*.*)|*.*||",
};

// The installation's material folder (host::sys::installFolder() / "material"), which ships STEEL.MAT and
// STAINLESS.MAT: where the material dialogs start while no folder of the user's is remembered.
std::filesystem::path InstalledMaterialFolder();

// Reads the material file at `path`: 0 with the density and number texts, or -1 (both unchanged, and `error`
// saying what is wrong and on which line, in the user's language) when the file cannot be read, is empty, its
// first line lacks "MATERIAL", it ends before its third line (a file cut short is no material file: its missing
// value would otherwise be taken from another line), a value line holds a carriage return that does not end it,
// or the density is not a decimal number above 0 and at most kMaxMaterialDensity (spaces around it allowed).
int ReadMaterialFile(const std::filesystem::path& path, std::string& density, std::string& number,
                     std::string* error = nullptr);

// Writes the material file: "MATERIAL", "DENSITY=" + density, "MATERIAL_NUM=" + number, the values as given.
// True when written; false, with `error` naming the file and the reason, when it cannot be (the old file, if
// any, is then untouched). A value holding a line break is refused, since it would read back as another line, and
// so is a value longer than its room, since it would read back cut, and a density the reader refuses (no number,
// not above 0, above kMaxMaterialDensity).
bool WriteMaterialFile(const std::filesystem::path& path, std::string_view density, std::string_view number,
                       std::string* error);
