// Wildcard matching: a pattern split at its commas, each part turned into tokens (a star, or a test of one
// character), matched with the usual backtrack to the last star.
#include "host/ed/wildcard.h"

#include <string>
#include <vector>

#include "host/sys/encoding.h"
#include "host/sys/text_case.h"

namespace host::ed {

namespace {

bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool isLetter(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= 0x0400 && c <= 0x052F);
}

std::u32string decode(std::string_view text) {
    std::u32string out;
    std::size_t pos = 0;
    while (pos < text.size()) out.push_back(sys::decodeUtf8At(text, pos));
    return out;
}

// One token of a pattern part: a star, or a test of one character.
struct Token {
    enum class Kind { Star, Any, Digit, Letter, Other, Literal, Set } kind = Kind::Literal;
    char32_t literal = 0;
    // Set: single characters and ranges (first, last); `negated` for "[~...]".
    std::vector<std::pair<char32_t, char32_t>> ranges;
    bool negated = false;
};

char32_t fold(char32_t c, bool ignoreCase) { return ignoreCase ? sys::upperCaseCharacter(c) : c; }

bool tokenMatches(const Token& t, char32_t c, bool ignoreCase) {
    switch (t.kind) {
    case Token::Kind::Star:
    case Token::Kind::Any: return true;
    case Token::Kind::Digit: return isDigit(c);
    case Token::Kind::Letter: return isLetter(c);
    case Token::Kind::Other: return !isDigit(c) && !isLetter(c);
    case Token::Kind::Literal: return fold(t.literal, ignoreCase) == fold(c, ignoreCase);
    case Token::Kind::Set: {
        bool in = false;
        for (const auto& [first, last] : t.ranges) {
            if (first == last) {
                in = fold(first, ignoreCase) == fold(c, ignoreCase);
            } else {
                in = (c >= first && c <= last) ||
                     (ignoreCase && (sys::upperCaseCharacter(c) >= first && sys::upperCaseCharacter(c) <= last)) ||
                     (ignoreCase && (sys::lowerCaseCharacter(c) >= first && sys::lowerCaseCharacter(c) <= last));
            }
            if (in) break;
        }
        return in != t.negated;
    }
    }
    return false;
}

// Reads a "[...]" set starting after the "[" at `i`; answers false (and leaves `i`) when it is not closed.
bool readSet(const std::u32string& p, std::size_t& i, Token& out) {
    std::size_t j = i;
    Token t;
    t.kind = Token::Kind::Set;
    if (j < p.size() && p[j] == U'~') {
        t.negated = true;
        ++j;
    }
    bool first = true;
    while (j < p.size() && (p[j] != U']' || first)) {
        char32_t c = p[j];
        if (c == U'`' && j + 1 < p.size()) c = p[++j];
        if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']') {
            t.ranges.emplace_back(c, p[j + 2]);
            j += 3;
        } else {
            t.ranges.emplace_back(c, c);
            ++j;
        }
        first = false;
    }
    if (j >= p.size()) return false;
    i = j + 1;
    out = std::move(t);
    return true;
}

std::vector<Token> tokenize(const std::u32string& p) {
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < p.size();) {
        const char32_t c = p[i++];
        Token t;
        switch (c) {
        case U'*':
            if (tokens.empty() || tokens.back().kind != Token::Kind::Star) {
                Token star;
                star.kind = Token::Kind::Star;
                tokens.push_back(std::move(star));
            }
            continue;
        case U'?': t.kind = Token::Kind::Any; break;
        case U'#': t.kind = Token::Kind::Digit; break;
        case U'@': t.kind = Token::Kind::Letter; break;
        case U'.': t.kind = Token::Kind::Other; break;
        case U'`':
            t.literal = i < p.size() ? p[i++] : U'`';
            break;
        case U'[':
            if (!readSet(p, i, t)) t.literal = U'[';
            break;
        default: t.literal = c; break;
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

// Greedy matching with a backtrack to the last star: every token other than a star takes exactly one character,
// so this finds a match whenever one exists.
bool matchTokens(const std::vector<Token>& tokens, const std::u32string& text, bool ignoreCase) {
    std::size_t t = 0, k = 0;
    std::size_t starToken = std::string::npos, starText = 0;
    while (t < text.size()) {
        if (k < tokens.size() && tokens[k].kind == Token::Kind::Star) {
            starToken = k++;
            starText = t;
        } else if (k < tokens.size() && tokenMatches(tokens[k], text[t], ignoreCase)) {
            ++k;
            ++t;
        } else if (starToken != std::string::npos) {
            k = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (k < tokens.size() && tokens[k].kind == Token::Kind::Star) ++k;
    return k == tokens.size();
}

// The pattern's parts at its commas; a comma inside "[...]" or after "`" belongs to its part.
std::vector<std::u32string> splitAtCommas(const std::u32string& p) {
    std::vector<std::u32string> parts(1);
    bool inSet = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == U'`' && i + 1 < p.size()) {
            parts.back() += c;
            parts.back() += p[++i];
            continue;
        }
        if (c == U'[') inSet = true;
        else if (c == U']') inSet = false;
        if (c == U',' && !inSet) {
            parts.emplace_back();
            continue;
        }
        parts.back() += c;
    }
    return parts;
}

}  // namespace

bool wildcardMatch(std::string_view text, std::string_view pattern, bool ignoreCase) {
    const std::u32string t = decode(text);
    for (std::u32string part : splitAtCommas(decode(pattern))) {
        bool negate = false;
        if (!part.empty() && part.front() == U'~') {
            negate = true;
            part.erase(0, 1);
        }
        if (matchTokens(tokenize(part), t, ignoreCase) != negate) return true;
    }
    return false;
}

bool hasWildcard(std::string_view pattern) {
    return pattern.find_first_of("*?#@.[]~`,") != std::string_view::npos;
}

}  // namespace host::ed
