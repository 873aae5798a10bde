// Keyword lists and their matching, initGet's settings for the next prompt, and numbers and points as typed.
#include "host/ed/prompt_parse.h"

#include <algorithm>

#include "host/ge/angle.h"
#include "host/sys/number_text.h"
#include "host/sys/text_case.h"

namespace host::ed::detail {

namespace {

PromptSettings& pending() {
    static PromptSettings s;
    return s;
}

std::string& keywordStore() {
    static std::string k;
    return k;
}

bool isCapital(char c) { return c >= 'A' && c <= 'Z'; }

// The capital letters of a keyword ("eXit" -> "X"); "" when it has none.
std::string capitals(std::string_view keyword) {
    std::string out;
    for (char c : keyword)
        if (isCapital(c) || (c >= '0' && c <= '9' && !out.empty())) out += c;
    return out;
}

// The run of capitals the keyword starts with ("LType" -> "LT").
std::size_t leadingCapitals(std::string_view keyword) {
    std::size_t n = 0;
    while (n < keyword.size() && isCapital(keyword[n])) ++n;
    return n;
}

bool namesKeyword(std::string_view keyword, std::string_view typed) {
    if (sys::equalsNoCase(keyword, typed)) return true;
    const std::string caps = capitals(keyword);
    if (caps.empty()) return false;
    if (sys::equalsNoCase(caps, typed)) return true;
    const std::size_t lead = leadingCapitals(keyword);
    return lead > 0 && typed.size() >= lead && typed.size() <= keyword.size() &&
           sys::equalsNoCase(keyword.substr(0, typed.size()), typed);
}

}  // namespace

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

Keywords parseKeywords(std::string_view list) {
    Keywords k;
    bool global = false;
    std::size_t pos = 0;
    while (pos < list.size()) {
        while (pos < list.size() && (list[pos] == ' ' || list[pos] == ',')) ++pos;
        std::size_t end = pos;
        while (end < list.size() && list[end] != ' ' && list[end] != ',') ++end;
        std::string_view word = list.substr(pos, end - pos);
        pos = end;
        if (word.empty()) continue;
        if (word.front() == '_') {
            global = true;
            word.remove_prefix(1);
            if (word.empty()) continue;
        }
        (global ? k.global : k.local).emplace_back(word);
    }
    return k;
}

std::optional<std::string> Keywords::match(std::string_view typed) const {
    typed = trimSpaces(typed);
    if (typed.empty()) return std::nullopt;
    auto globalOf = [&](std::size_t i) -> const std::string& { return i < global.size() ? global[i] : local[i]; };
    if (typed.front() == '_') {
        const std::string_view word = typed.substr(1);
        // Global forms by position; without a global list the local keywords are the global ones too.
        const std::size_t n = std::max(global.size(), local.size());
        for (std::size_t i = 0; i < n; ++i)
            if (sys::equalsNoCase(globalOf(i), word)) return globalOf(i);
        for (std::size_t i = 0; i < n; ++i)
            if (namesKeyword(globalOf(i), word)) return globalOf(i);
        return std::nullopt;
    }
    for (std::size_t i = 0; i < local.size(); ++i)
        if (sys::equalsNoCase(local[i], typed)) return globalOf(i);
    for (std::size_t i = 0; i < local.size(); ++i)
        if (namesKeyword(local[i], typed)) return globalOf(i);
    return std::nullopt;
}

void setPromptSettings(PromptSettings settings) { pending() = std::move(settings); }

PromptSettings takePromptSettings() {
    PromptSettings s = std::move(pending());
    pending() = {};
    return s;
}

void setLastKeyword(std::string keyword) { keywordStore() = std::move(keyword); }
const std::string& lastKeyword() { return keywordStore(); }

std::optional<double> parseNumber(std::string_view text) {
    const sys::Parsed<double> v = sys::parseReal(trimSpaces(text));
    if (!v.ok()) return std::nullopt;
    return v.value;
}

std::optional<ge::Point3d> parsePoint(std::string_view text, const ge::Point3d& relativeTo) {
    text = trimSpaces(text);
    bool relative = false;
    if (!text.empty() && text.front() == '@') {
        relative = true;
        text = trimSpaces(text.substr(1));
        if (text.empty()) return relativeTo;
    }
    const ge::Point3d origin = relative ? relativeTo : ge::Point3d::kOrigin();
    if (const std::size_t lt = text.find('<'); lt != std::string_view::npos) {
        const auto distance = parseNumber(text.substr(0, lt));
        const auto degrees = parseNumber(text.substr(lt + 1));
        if (!distance || !degrees) return std::nullopt;
        return ge::polarPoint(origin, ge::degreesToRadians(*degrees), *distance);
    }
    double c[3] = {0, 0, 0};
    int count = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        if (count == 3) return std::nullopt;
        const auto v = parseNumber(text.substr(0, comma));
        if (!v) return std::nullopt;
        c[count++] = *v;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (count < 2) return std::nullopt;
    return ge::Point3d(origin.x + c[0], origin.y + c[1], (relative ? origin.z : 0.0) + c[2]);
}

}  // namespace host::ed::detail
