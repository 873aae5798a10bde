// The entries of the help file, by command name.
#include "host/ed/commands/help_entries.h"

#include "host/reg/machine_registry.h"
#include "host/sys/folders.h"
#include "host/sys/text_case.h"

namespace host::ed {
namespace {

constexpr std::string_view kEntryHeading = "### ";

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string_view bareName(std::string_view name) {
    name = trimmed(name);
    while (!name.empty() && (name.front() == '_' || name.front() == '.')) name.remove_prefix(1);
    return name;
}

// The lines of a text, each without its line end.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The names of an entry heading line ("### A, B"); empty for a line that is no entry heading.
std::vector<std::string> namesOfHeading(std::string_view line) {
    std::vector<std::string> names;
    if (line.substr(0, kEntryHeading.size()) != kEntryHeading) return names;
    std::string_view rest = line.substr(kEntryHeading.size());
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view name = trimmed(rest.substr(0, comma));
        if (!name.empty()) names.emplace_back(name);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return names;
}

}  // namespace

std::filesystem::path helpFile() {
    const auto language = reg::productKey().getString("LangMenu");
    const bool russian = language && sys::equalsNoCase(*language, "RU");
    return sys::installFolder() / "help" / (russian ? "Help_RU.md" : "Help.md");
}

std::optional<std::string> helpEntry(std::string_view helpText, std::string_view name) {
    const std::string_view wanted = bareName(name);
    if (wanted.empty()) return std::nullopt;
    const std::vector<std::string_view> lines = linesOf(helpText);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bool match = false;
        for (const std::string& n : namesOfHeading(trimmed(lines[i]))) match = match || sys::equalsNoCase(n, wanted);
        if (!match) continue;
        std::string entry(trimmed(lines[i]));
        std::size_t end = i + 1;
        while (end < lines.size() && !trimmed(lines[end]).starts_with("#")) ++end;
        while (end > i + 1 && trimmed(lines[end - 1]).empty()) --end;
        for (std::size_t j = i + 1; j < end; ++j) {
            std::string_view line = lines[j];
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            entry += "\n" + std::string(line);
        }
        return entry;
    }
    return std::nullopt;
}

std::vector<std::string> helpEntryNames(std::string_view helpText) {
    std::vector<std::string> names;
    for (std::string_view line : linesOf(helpText)) {
        for (std::string& n : namesOfHeading(trimmed(line))) names.push_back(std::move(n));
    }
    return names;
}

}  // namespace host::ed
