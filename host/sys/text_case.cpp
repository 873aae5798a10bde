// Case mapping tables for ASCII and Cyrillic, and comparison built on them.
#include "host/sys/text_case.h"

#include "host/sys/encoding.h"

namespace host::sys {

namespace {

// Cyrillic blocks: а..я are 0x20 above А..Я; ѐ..џ are 0x50 above Ѐ..Џ; from U+0460 the letters come in
// (capital, small) pairs at even and odd code points, except U+04C0 (Ӏ, whose small form is U+04CF) and the
// pairs U+04C1..U+04CE, which start at an odd code point.
constexpr char32_t kBasicCapitalFirst = 0x0410, kBasicCapitalLast = 0x042F, kBasicOffset = 0x20;
constexpr char32_t kExtraCapitalFirst = 0x0400, kExtraCapitalLast = 0x040F, kExtraOffset = 0x50;
constexpr char32_t kPalochkaCapital = 0x04C0, kPalochkaSmall = 0x04CF;

bool inEvenOddPairRange(char32_t c) {
    return (c >= 0x0460 && c <= 0x0481) || (c >= 0x048A && c <= 0x04BF) || (c >= 0x04D0 && c <= 0x052F);
}
bool inOddEvenPairRange(char32_t c) { return c >= 0x04C1 && c <= 0x04CE; }

// The case partner of an ASCII character, without decoding.
constexpr char32_t asciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

template <class Map>
std::string mapText(std::string_view utf8, Map map) {
    // Names are mostly ASCII, which maps to ASCII byte for byte: that leading run is mapped in place.
    std::string out(utf8);
    std::size_t pos = 0;
    while (pos < out.size() && static_cast<unsigned char>(out[pos]) < 0x80) {
        out[pos] = static_cast<char>(map(static_cast<unsigned char>(out[pos])));
        ++pos;
    }
    if (pos == out.size()) return out;
    out.resize(pos);
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t c = decodeUtf8At(utf8, pos);
        if (c == kReplacementCharacter && pos - start == 1 && static_cast<unsigned char>(utf8[start]) >= 0x80) {
            out.push_back(utf8[start]);  // a malformed byte stays as it was
        } else {
            appendUtf8(out, map(c));
        }
    }
    return out;
}

// Next comparison unit: an upper-cased character, or a malformed byte placed above every character.
char32_t nextUnit(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    const char32_t c = decodeUtf8At(text, pos);
    if (c == kReplacementCharacter && pos - start == 1 && static_cast<unsigned char>(text[start]) >= 0x80) {
        return 0x110000 + static_cast<unsigned char>(text[start]);
    }
    return upperCaseCharacter(c);
}

}  // namespace

char32_t upperCaseCharacter(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - (U'a' - U'A');
    if (c < 0x80) return c;
    if (c >= kBasicCapitalFirst + kBasicOffset && c <= kBasicCapitalLast + kBasicOffset) return c - kBasicOffset;
    if (c >= kExtraCapitalFirst + kExtraOffset && c <= kExtraCapitalLast + kExtraOffset) return c - kExtraOffset;
    if (c == kPalochkaSmall) return kPalochkaCapital;
    if (inEvenOddPairRange(c) && (c % 2) == 1) return c - 1;
    if (inOddEvenPairRange(c) && (c % 2) == 0) return c - 1;
    return c;
}

char32_t lowerCaseCharacter(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + (U'a' - U'A');
    if (c < 0x80) return c;
    if (c >= kBasicCapitalFirst && c <= kBasicCapitalLast) return c + kBasicOffset;
    if (c >= kExtraCapitalFirst && c <= kExtraCapitalLast) return c + kExtraOffset;
    if (c == kPalochkaCapital) return kPalochkaSmall;
    if (inEvenOddPairRange(c) && (c % 2) == 0) return c + 1;
    if (inOddEvenPairRange(c) && (c % 2) == 1) return c + 1;
    return c;
}

std::string upperCase(std::string_view utf8) { return mapText(utf8, upperCaseCharacter); }

std::string lowerCase(std::string_view utf8) { return mapText(utf8, lowerCaseCharacter); }

std::strong_ordering compareNoCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ai = static_cast<unsigned char>(a[i]), bj = static_cast<unsigned char>(b[j]);
        if (ai < 0x80 && bj < 0x80) {  // two ASCII characters: no decoding needed
            ++i;
            ++j;
            const char32_t x = asciiUpper(ai), y = asciiUpper(bj);
            if (x != y) return x <=> y;
            continue;
        }
        const char32_t x = nextUnit(a, i);
        const char32_t y = nextUnit(b, j);
        if (x != y) return x <=> y;
    }
    return (a.size() - i) <=> (b.size() - j);
}

bool equalsNoCase(std::string_view a, std::string_view b) { return compareNoCase(a, b) == 0; }

}  // namespace host::sys
