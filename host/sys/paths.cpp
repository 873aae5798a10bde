// Separator-agnostic path text operations and the ".dwg" to ".dxf" lookup.
#include "host/sys/paths.h"

#include <system_error>

#include "host/sys/text_case.h"

namespace host::sys {

namespace {

constexpr std::string_view kForeignDrawingExtension = ".dwg";
constexpr std::string_view kDrawingExtension = ".dxf";
constexpr std::string_view kDrawingExtensionUpper = ".DXF";

std::size_t lastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

char separatorUsedBy(std::string_view folder) {
    const std::size_t at = lastSeparator(folder);
    return at == std::string_view::npos ? '/' : folder[at];
}

bool fileExists(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

}  // namespace

bool isPathSeparator(char c) { return c == '/' || c == '\\'; }

std::string_view fileNameOf(std::string_view path) {
    const std::size_t at = lastSeparator(path);
    return at == std::string_view::npos ? path : path.substr(at + 1);
}

std::string_view folderOf(std::string_view path) {
    const std::size_t at = lastSeparator(path);
    return at == std::string_view::npos ? std::string_view() : path.substr(0, at + 1);
}

std::string_view extensionOf(std::string_view path) {
    const std::string_view name = fileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {};
    return name.substr(dot);
}

std::string_view stemOf(std::string_view path) {
    const std::string_view name = fileNameOf(path);
    return name.substr(0, name.size() - extensionOf(name).size());
}

std::string replaceExtension(std::string_view path, std::string_view extension) {
    std::string out(path.substr(0, path.size() - extensionOf(path).size()));
    out += extension;
    return out;
}

std::string withTrailingSeparator(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && !isPathSeparator(out.back())) out.push_back(separatorUsedBy(folder));
    return out;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    while (!name.empty() && isPathSeparator(name.front())) name.remove_prefix(1);
    return withTrailingSeparator(folder) + std::string(name);
}

std::filesystem::path toNativePath(std::string_view stored) {
    std::string native(stored);
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    return std::filesystem::path(native);
}

std::filesystem::path resolveDrawingPath(std::string_view stored) {
    const std::filesystem::path asStored = toNativePath(stored);
    if (!equalsNoCase(extensionOf(stored), kForeignDrawingExtension) || fileExists(asStored)) return asStored;
    const std::filesystem::path lower = toNativePath(replaceExtension(stored, kDrawingExtension));
    if (fileExists(lower)) return lower;
    const std::filesystem::path upper = toNativePath(replaceExtension(stored, kDrawingExtensionUpper));
    return fileExists(upper) ? upper : lower;
}

}  // namespace host::sys
