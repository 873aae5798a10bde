// One line of an ISO CNC program read back.
#include "nesting/import/cnc_line_parser.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

using host::ge::Point2d;

// The delimiters of the first word, and of every later one.
constexpr const char* kFirstLetters = "NMTGXYIJ!#*$;():'\"%";
constexpr const char* kLaterLetters = "NMTGXYIJ!#*$;():'\"%DFSABCEHKLPR";
// Where one of these begins a word, the rest of the line is a comment.
constexpr const char* kCommentSigns = "!\"#$%'()*:;";

using CharSet = std::array<bool, 256>;

constexpr CharSet MakeSet(const char* letters) {
    CharSet set{};
    for (const char* c = letters; *c != '\0'; ++c) set[static_cast<unsigned char>(*c)] = true;
    return set;
}
constexpr CharSet kFirstSet = MakeSet(kFirstLetters);
constexpr CharSet kLaterSet = MakeSet(kLaterLetters);
constexpr CharSet kCommentSet = MakeSet(kCommentSigns);

// G codes that change nothing the import draws: dwell, exact stop, polar off, plane XY, inch and metric (the
// scale answers the unit), kerf and length compensation, work offsets, path modes, canned cycle off, absolute and
// incremental, feed and spindle modes, return levels.
constexpr std::array kPassedGCodes{4, 9, 15, 17, 20, 21, 40, 41, 42, 43, 44, 49, 54, 55, 56, 57,
                                   58, 59, 61, 64, 70, 71, 80, 90, 91, 94, 95, 96, 97, 98, 99};

// Bracketed keys at a line's start, compared in this order: the motion they set, or -1 for a header.
struct BracketKey {
    std::string_view key;
    int motion;
};
constexpr std::array kBracketKeys{
    BracketKey{"[LEAD]", kCncLine},  BracketKey{"[CUT]", kCncLine},   BracketKey{"[UNDO]", kCncRapid},
    BracketKey{"[MARK]", kCncRapid}, BracketKey{"[HOLE]", kCncRapid}, BracketKey{"[MISK]", -1},
    BracketKey{"[[MAT]]", -1},       BracketKey{"[MAT]", -1},         BracketKey{"[[PCS]]", -1},
    BracketKey{"[PCS]", -1},         BracketKey{"[HEAD]", -1},
};

enum class NumberRead { Ok, Missing, TooLarge };

// The digits a word's number starts with, after blanks and a sign: digits with a point, and an exponent. The
// sign is handed back apart since from_chars takes none.
std::string_view NumberStart(std::string_view word, bool& negative) {
    std::size_t at = 0;
    while (at < word.size() && (word[at] == ' ' || word[at] == '\t')) ++at;
    negative = false;
    if (at < word.size() && (word[at] == '-' || word[at] == '+')) {
        negative = word[at] == '-';
        ++at;
    }
    return word.substr(at);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }

// Whether a number starts `digits`: a digit, or a point and a digit (never "nan", "inf" or a sign alone).
bool StartsNumber(std::string_view digits) {
    return !digits.empty() && (IsDigit(digits[0]) || (digits[0] == '.' && digits.size() > 1 && IsDigit(digits[1])));
}

// Whether what follows a word's number is words the reader passes over: blanks, and letters each with a whole
// number ("X10 Z5", "X10Z5"). Anything else is a typo inside the number ("4O", "4.0.0", "190 ??"): the line is
// refused rather than read by the number's prefix.
bool RestIsPassedWords(std::string_view rest) {
    std::size_t at = 0;
    while (true) {
        while (at < rest.size() && IsBlank(rest[at])) ++at;
        if (at == rest.size()) return true;
        if (!IsLetter(rest[at])) return false;
        ++at;
        while (at < rest.size() && IsBlank(rest[at])) ++at;
        if (at < rest.size() && (rest[at] == '-' || rest[at] == '+')) ++at;
        const std::string_view digits = rest.substr(at);
        if (!StartsNumber(digits)) return false;
        double ignored = 0.0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), ignored);
        if (error != std::errc() && error != std::errc::result_out_of_range) return false;
        at += static_cast<std::size_t>(end - digits.data());
    }
}

NumberRead ReadReal(std::string_view word, double& value) {
    bool negative = false;
    const std::string_view digits = NumberStart(word, negative);
    if (!StartsNumber(digits)) return NumberRead::Missing;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() && error != std::errc::result_out_of_range) return NumberRead::Missing;
    if (!RestIsPassedWords(digits.substr(static_cast<std::size_t>(end - digits.data())))) return NumberRead::Missing;
    if (error == std::errc::result_out_of_range) return NumberRead::TooLarge;
    if (!std::isfinite(value)) return NumberRead::Missing;
    if (negative) value = -value;
    return NumberRead::Ok;
}

NumberRead ReadWhole(std::string_view word, int& value) {
    bool negative = false;
    const std::string_view digits = NumberStart(word, negative);
    if (digits.empty() || !IsDigit(digits[0])) return NumberRead::Missing;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() && error != std::errc::result_out_of_range) return NumberRead::Missing;
    if (!RestIsPassedWords(digits.substr(static_cast<std::size_t>(end - digits.data())))) return NumberRead::Missing;
    if (error != std::errc()) return NumberRead::TooLarge;
    if (negative) value = -value;
    return NumberRead::Ok;
}

// The word of an address the reader passes over (N, M, T, F, S and the like): a number, as every address has.
// Typos inside it refuse the line as they do inside a coordinate ("N190 ?? Y40").
bool IsPassedAddressWord(std::string_view word) {
    double ignored = 0.0;
    std::size_t at = 0;
    while (at < word.size() && IsBlank(word[at])) ++at;
    return ReadReal(word.substr(at), ignored) != NumberRead::Missing;
}

bool IsPassedGCode(int code) {
    for (const int passed : kPassedGCodes) {
        if (passed == code) return true;
    }
    return false;
}

// The line without its comments in parentheses and without "=", its letters in upper case (address letters are
// read in either case, as controllers read them; an exponent's "e" stays), in `out`; answers its length.
std::size_t Clean(std::string_view line, std::array<char, kMaxCncLineLength>& out) {
    std::size_t n = 0;
    bool inComment = false;
    for (const char c : line) {
        if (inComment) {
            inComment = c != ')';
        } else if (c == '(') {
            inComment = true;
        } else if (c != '=' && c != '\r' && c != '\n') {
            // An "e" right after a digit or a point is a number's exponent ("1e3"), not the address E.
            const bool exponent = c == 'e' && n > 0 && (IsDigit(out[n - 1]) || out[n - 1] == '.');
            out[n++] = c >= 'a' && c <= 'z' && !exponent ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    return n;
}

// Whether a line can begin with `c` (its first character after blanks): an address letter, a bracketed key or a
// comment sign. A line of numbers without a letter, or of other signs, says nothing the reader can take.
bool CanBeginLine(char c) { return (c >= 'A' && c <= 'Z') || c == '[' || kCommentSet[static_cast<unsigned char>(c)]; }

// The words of one line as the reader has them before the arithmetic.
struct LineWords {
    int motion = 0;
    bool incremental = false;
    bool hasX = false, hasY = false, hasI = false, hasJ = false, hasR = false;
    double x = 0.0, y = 0.0, i = 0.0, j = 0.0, r = 0.0;
};

bool Refuse(CncLineResult& result, CncLineProblem problem, int code = 0) {
    result.problem = problem;
    result.code = code;
    return false;
}

bool OutOfRange(double value) { return !(std::fabs(value) <= kMaxCncCoordinate); }

// The centre of the arc from `start` to `end` of radius |r| turning the motion's way: the shorter arc for r > 0,
// the longer for r < 0. False when no such arc exists.
bool CentreFromRadius(const Point2d& start, const Point2d& end, double r, int motion, Point2d& centre,
                      CncLineProblem& problem) {
    const double dx = end.x - start.x;
    const double dy = end.y - start.y;
    const double chord = std::hypot(dx, dy);
    const double radius = std::fabs(r);
    if (chord <= 1e-9 || radius <= 0.0) {
        problem = CncLineProblem::ArcWithoutCentre;
        return false;
    }
    const double half = chord / 2.0;
    // A radius that misses half the chord by the rounding of the program's numbers is a half circle.
    const double slack = 1e-6 + 1e-9 * radius;
    if (radius < half - slack) {
        problem = CncLineProblem::ArcRadiusTooSmall;
        return false;
    }
    const double height = radius > half ? std::sqrt(radius * radius - half * half) : 0.0;
    // The centre of a shorter counter-clockwise arc lies left of the chord; clockwise, or the longer arc, right.
    const bool left = (motion == kCncCounterClockwise) == (r > 0.0);
    const double side = left ? 1.0 : -1.0;
    centre = Point2d(start.x + dx / 2.0 - side * height * dy / chord, start.y + dy / 2.0 + side * height * dx / chord);
    return true;
}

}  // namespace

bool ParseCncLine(std::string_view line, int& motion, const Point2d& current, Point2d& end, Point2d& centre,
                  double scale, bool& incremental, int mode, CncLineResult& result) {
    result = CncLineResult();
    end = current;
    if (!(scale > 0.0) || !std::isfinite(scale)) return false;
    if (line.size() > kMaxCncLineLength) return Refuse(result, CncLineProblem::LineTooLong);

    std::array<char, kMaxCncLineLength> text{};
    const std::size_t n = Clean(line, text);
    if (n == 0) return false;
    const std::string_view clean(text.data(), n);
    std::size_t first = 0;
    while (first < n && IsBlank(clean[first])) ++first;
    if (first == n) return false;
    if (!CanBeginLine(clean[first])) return Refuse(result, CncLineProblem::NotReadable);

    LineWords words;
    words.motion = motion;
    words.incremental = incremental;
    std::size_t at = first;
    if (clean[first] == '[') {
        // A bracketed key sets the motion or marks a header, which reads no further; an unknown one is passed
        // over up to its "]".
        const BracketKey* found = nullptr;
        for (const BracketKey& key : kBracketKeys) {
            if (clean.substr(first, key.key.size()) == key.key) {
                found = &key;
                break;
            }
        }
        if (found != nullptr && found->motion < 0) {
            motion = words.motion;
            incremental = words.incremental;
            return false;
        }
        if (found != nullptr) words.motion = found->motion;
        const std::size_t close = clean.find(']', first);
        at = found != nullptr ? first + found->key.size() : (close == std::string_view::npos ? n : close + 1);
        while (at < n && IsBlank(clean[at])) ++at;
    }
    // Each word is an address letter and the text up to the next letter; the first word's letter need not be
    // one of the delimiters ("O0001", "F300").
    char letter = at < n ? clean[at] : '\0';
    if (at < n) ++at;
    const CharSet* delimiters = &kFirstSet;
    while (letter != '\0') {
        const std::size_t start = at;
        while (at < n && !(*delimiters)[static_cast<unsigned char>(clean[at])]) ++at;
        const std::string_view word = clean.substr(start, at - start);
        const char ending = at < n ? clean[at] : '\0';
        if (kCommentSet[static_cast<unsigned char>(letter)]) break;
        switch (letter) {
            case 'G': {
                int code = 0;
                const NumberRead read = ReadWhole(word, code);
                if (read != NumberRead::Ok) return Refuse(result, CncLineProblem::NotANumber);
                if (code >= 0 && code <= 3) {
                    words.motion = code;
                } else if (code == 90) {
                    words.incremental = false;
                } else if (code == 91) {
                    words.incremental = true;
                } else if (!IsPassedGCode(code)) {
                    return Refuse(result, CncLineProblem::UnknownGCode, code);
                }
                break;
            }
            case 'X':
            case 'Y':
            case 'I':
            case 'J':
            case 'R': {
                double value = 0.0;
                const NumberRead read = ReadReal(word, value);
                if (read == NumberRead::Missing) return Refuse(result, CncLineProblem::NotANumber);
                value /= scale;
                if (read == NumberRead::TooLarge || OutOfRange(value)) {
                    return Refuse(result, CncLineProblem::OutOfRange);
                }
                switch (letter) {
                    case 'X': words.hasX = true, words.x = value; break;
                    case 'Y': words.hasY = true, words.y = value; break;
                    case 'I': words.hasI = true, words.i = value; break;
                    case 'J': words.hasJ = true, words.j = value; break;
                    default: words.hasR = true, words.r = value; break;
                }
                break;
            }
            default:
                if (!IsPassedAddressWord(word)) return Refuse(result, CncLineProblem::NotANumber);
                break;
        }
        if (ending == '\0') break;
        letter = ending;
        ++at;
        delimiters = &kLaterSet;
    }

    const bool moved = words.hasX || words.hasY || words.hasI || words.hasJ || words.hasR;
    if (!moved) {
        motion = words.motion;
        incremental = words.incremental;
        return false;
    }
    Point2d target = current;
    if (words.hasX) target.x = words.incremental ? current.x + words.x : words.x;
    if (words.hasY) target.y = words.incremental ? current.y + words.y : words.y;
    if (OutOfRange(target.x) || OutOfRange(target.y)) return Refuse(result, CncLineProblem::OutOfRange);

    Point2d arcCentre = centre;
    const bool arc = words.motion == kCncClockwise || words.motion == kCncCounterClockwise;
    if (words.hasI || words.hasJ) {
        // Mode 0 gives the centre itself, and an axis not given keeps the last centre's; the other modes give it
        // from the start point, and an axis not given is no offset.
        if (mode == 0) {
            if (words.hasI) arcCentre.x = words.i;
            if (words.hasJ) arcCentre.y = words.j;
        } else {
            const double sign = (mode == 1 || mode == 3) ? 1.0 : -1.0;
            arcCentre = Point2d(current.x + sign * words.i, current.y + sign * words.j);
        }
        if (OutOfRange(arcCentre.x) || OutOfRange(arcCentre.y)) return Refuse(result, CncLineProblem::OutOfRange);
    } else if (arc) {
        CncLineProblem problem = CncLineProblem::ArcWithoutCentre;
        if (!words.hasR || !CentreFromRadius(current, target, words.r, words.motion, arcCentre, problem)) {
            end = target;
            result.endKnown = true;
            result.absoluteX = words.hasX && !words.incremental;
            result.absoluteY = words.hasY && !words.incremental;
            motion = words.motion;
            incremental = words.incremental;
            return Refuse(result, problem);
        }
    }
    motion = words.motion;
    incremental = words.incremental;
    end = target;
    centre = arcCentre;
    result.absoluteX = words.hasX && !words.incremental;
    result.absoluteY = words.hasY && !words.incremental;
    return true;
}
