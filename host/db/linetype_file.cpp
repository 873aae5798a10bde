// Reading line-type files (.lin) and loading a line type from one.
#include "host/db/linetype_file.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "host/db/database.h"
#include "host/sys/text_case.h"
#include "host/sys/text_file.h"

namespace host::db {

namespace {

// Resource bounds, far above real files (a host's own .lin files are some tens of kilobytes, their lines under
// 300 bytes, their patterns under 12 dashes): a wrong file picked by mistake is refused before it fills memory.
constexpr std::size_t kMaxLinFileBytes = 4u << 20;  // 4 MiB
constexpr std::size_t kMaxLinLineBytes = 4096;
constexpr std::size_t kMaxDashes = 64;

struct Malformed {
    std::size_t line;
    std::string what;
};

std::string_view trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

// A number as line-type files write them: ".5", "-.25", "+1", "1e-2". The whole field must be the number.
std::optional<double> parseNumber(std::string_view s) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+') return std::nullopt;
    double v = 0.0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

// Splits a pattern at the commas that are outside brackets and quotes.
std::optional<Malformed> splitFields(std::string_view text, std::size_t line, std::vector<std::string_view>& out) {
    int depth = 0;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ',';
        if (quoted) {
            quoted = c != '"';
            continue;
        }
        if (c == '"') quoted = true;
        else if (c == '[') ++depth;
        else if (c == ']' && --depth < 0) return Malformed{line, "']' without '['"};
        else if (c == ',' && depth == 0) {
            out.push_back(trim(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    if (quoted) return Malformed{line, "a quoted text is not closed"};
    if (depth != 0) return Malformed{line, "'[' without ']'"};
    return std::nullopt;
}

std::optional<Malformed> parsePattern(std::string_view text, std::size_t line, LinetypeDefinition& def) {
    std::vector<std::string_view> fields;
    if (auto bad = splitFields(text, line, fields)) return bad;
    for (std::string_view f : fields) {
        if (f.empty()) return Malformed{line, "an empty field in the pattern"};
        if (f.front() == '[') {
            if (f.back() != ']') return Malformed{line, "text after a bracketed element: " + std::string(f)};
            if (def.dashes.empty()) return Malformed{line, "a bracketed element must follow a dash or gap"};
            def.complexElements.push_back({def.dashes.size() - 1, std::string(f)});
            continue;
        }
        const std::optional<double> v = parseNumber(f);
        if (!v) return Malformed{line, "'" + std::string(f) + "' is not a dash length"};
        if (def.dashes.size() == kMaxDashes)
            return Malformed{line, "more than " + std::to_string(kMaxDashes) + " dashes in one pattern"};
        def.dashes.push_back(*v);
    }
    if (def.dashes.empty()) return Malformed{line, "the pattern has no dashes"};
    return std::nullopt;
}

bool isPatternLine(std::string_view l) {
    if (l.empty() || (l.front() != 'A' && l.front() != 'a')) return false;
    const std::string_view rest = trim(l.substr(1));
    return !rest.empty() && rest.front() == ',';
}

// Parses every definition of the file. Lines are numbered from 1.
std::optional<Malformed> parseFile(const std::vector<std::string>& lines, std::vector<LinetypeDefinition>& defs) {
    std::optional<LinetypeDefinition> header;  // waiting for its pattern
    std::size_t headerLine = 0;
    std::string pattern;                        // a pattern continued over lines
    std::size_t patternLine = 0;
    bool continued = false;

    auto finishPattern = [&]() -> std::optional<Malformed> {
        if (auto bad = parsePattern(pattern, patternLine, *header)) return bad;
        defs.push_back(std::move(*header));
        header.reset();
        continued = false;
        return std::nullopt;
    };

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::string_view l = trim(lines[i]);
        if (l.size() > kMaxLinLineBytes) return Malformed{lineNo, "the line is too long"};
        if (continued) {
            pattern += l;
            if (!l.empty() && l.back() == ',') continue;
            if (auto bad = finishPattern()) return bad;
            continue;
        }
        if (l.empty() || l.front() == ';') continue;
        if (l.front() == '*') {
            if (header) return Malformed{headerLine, "line type " + header->name + " has no pattern line"};
            const std::string_view rest = l.substr(1);
            const std::size_t comma = rest.find(',');
            LinetypeDefinition def;
            def.name = std::string(trim(rest.substr(0, comma)));
            if (comma != std::string_view::npos) def.description = std::string(trim(rest.substr(comma + 1)));
            if (def.name.empty()) return Malformed{lineNo, "a line type needs a name after '*'"};
            header = std::move(def);
            headerLine = lineNo;
            continue;
        }
        if (isPatternLine(l)) {
            if (!header) return Malformed{lineNo, "a pattern line must follow a \"*NAME,description\" line"};
            const std::string_view afterA = trim(l.substr(1));
            pattern = std::string(afterA.substr(1));
            patternLine = lineNo;
            continued = pattern.empty() || pattern.back() == ',';
            if (!continued) {
                if (auto bad = finishPattern()) return bad;
            }
            continue;
        }
        return Malformed{lineNo, "expected \"*NAME,description\", \"A,dash,gap,...\" or a \";;\" comment"};
    }
    if (continued) return Malformed{patternLine, "the pattern ends with a comma but no line follows"};
    if (header) return Malformed{headerLine, "line type " + header->name + " has no pattern line"};
    return std::nullopt;
}

}  // namespace

Status readLinetypeDefinition(const std::filesystem::path& file, std::string_view name, LinetypeDefinition& out,
                              std::string* message) {
    std::string error;
    sys::TextLimits limits;
    limits.maxFileBytes = kMaxLinFileBytes;
    const std::optional<sys::TextFile> text = sys::readTextFile(file, &error, limits);
    if (!text) {
        if (message) *message = error;
        return Status::FileError;
    }
    std::vector<LinetypeDefinition> defs;
    if (const std::optional<Malformed> bad = parseFile(text->lines, defs)) {
        if (message) *message = file.string() + ":" + std::to_string(bad->line) + ": " + bad->what;
        return Status::InvalidInput;
    }
    for (LinetypeDefinition& d : defs) {
        if (sys::equalsNoCase(d.name, name)) {
            out = std::move(d);
            if (message) message->clear();
            return Status::Ok;
        }
    }
    if (message) *message = file.string() + ": no line type named " + std::string(name);
    return Status::KeyNotFound;
}

Status loadLinetype(Database& db, const std::filesystem::path& file, std::string_view name, ObjectId* id,
                    std::string* message) {
    if (!db.recordId(TableKind::Linetype, name).isNull()) {
        if (message) *message = "line type " + std::string(name) + " is already loaded";
        return Status::DuplicateKey;
    }
    LinetypeDefinition def;
    const Status read = readLinetypeDefinition(file, name, def, message);
    if (read != Status::Ok) return read;

    auto record = std::make_unique<LinetypeTableRecord>(def.name);
    record->setDescription(def.description);
    record->setDashes(def.dashes);
    ObjectPtr<SymbolTable> table(db.tableId(TableKind::Linetype), OpenMode::Write);
    if (!table) {
        if (message) *message = "the line-type table cannot be changed: " + std::string(statusText(table.status()));
        return table.status();
    }
    const Status added = table->add(std::move(record), id);
    if (message) {
        if (added != Status::Ok)
            *message = file.string() + ": line type " + def.name + " cannot be added: " + statusText(added);
        else if (!def.complexElements.empty())
            *message = file.string() + ": line type " + def.name + " has " +
                       std::to_string(def.complexElements.size()) +
                       " text or shape element(s), which the host does not draw";
    }
    return added;
}

}  // namespace host::db
