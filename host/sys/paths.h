// Path texts as the modules store them: split and join at '/' or '\', extensions, and the drawing-file rule.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace host::sys {

// Paths read from job files, the registry or a Windows machine hold '\'; paths made here hold '/'. Every
// function below treats both as separators, so a stored "C:\Parts\plate.dwg" and a native "/home/a/plate.dxf"
// split the same way. A drive prefix ("C:") is kept as text: such a path names nothing on this machine, and a
// lookup of it fails cleanly.
bool isPathSeparator(char c);

// The name after the last separator (the whole text when there is none): "a\b/c.dxf" -> "c.dxf".
std::string_view fileNameOf(std::string_view path);

// The folder with its trailing separator, as the modules' folder settings keep it: "a\b/c.dxf" -> "a\b/";
// "" when the path has no separator.
std::string_view folderOf(std::string_view path);

// The extension of the file name, with its dot: "plate.DXF" -> ".DXF", "a.b/c" -> "", "arc." -> ".". A name
// whose only dot is its first character (".profile") has no extension.
std::string_view extensionOf(std::string_view path);

// The file name without its extension: "a/plate.dxf" -> "plate".
std::string_view stemOf(std::string_view path);

// `path` with its extension replaced by `extension` (given with its dot, or empty to remove it).
std::string replaceExtension(std::string_view path, std::string_view extension);

// `folder` ends with a separator afterwards; an empty folder stays empty. The separator added is the last one
// the folder already uses, else '/': "C:\Jobs" -> "C:\Jobs\", "/tmp" -> "/tmp/".
std::string withTrailingSeparator(std::string_view folder);

// `folder` and `name` joined by one separator (chosen as withTrailingSeparator chooses). An empty folder gives
// `name`; separators at the start of `name` are dropped.
std::string joinPath(std::string_view folder, std::string_view name);

// The native form of a stored path: every '\' becomes '/'.
std::filesystem::path toNativePath(std::string_view stored);

// Where to look for a drawing named by a stored path. Drawings on this system are DXF files, while job files
// written elsewhere name "*.dwg": when the stored path ends in ".dwg" (any case) and that file does not exist,
// the same name with ".dxf" is the drawing ("plate.dwg" -> "plate.dxf"; "PLATE.DWG" -> "PLATE.dxf", then
// "PLATE.DXF" if only that exists). Any other path is returned in native form, whether or not it exists.
std::filesystem::path resolveDrawingPath(std::string_view stored);

}  // namespace host::sys
