// UTF-8 decoding and encoding, the CP1251 code page table, and UTF-16 conversions.
#include "host/sys/encoding.h"

#include <array>
#include <cstdint>

namespace host::sys {

namespace {

// CP1251 bytes 0x80..0xBF; 0xC0..0xFF are the contiguous А..я (U+0410..U+044F). 0x98 is undefined.
constexpr std::array<char16_t, 64> kCp1251High = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',  // 0x80
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',  // 0x88
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',  // 0x90
    u'\uFFFD', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',  // 0x98
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',  // 0xA0
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',  // 0xA8
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',  // 0xB0
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',  // 0xB8
};
constexpr unsigned char kCp1251FirstCyrillicByte = 0xC0;
constexpr char32_t kCyrillicCapitalA = U'\u0410';
constexpr char32_t kCyrillicSmallYa = U'\u044F';

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed sequence starting at `pos`, or 0 when the bytes there are malformed. Decodes into
// `out` when well-formed.
std::size_t wellFormedSequence(std::string_view text, std::size_t pos, char32_t& out) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    if (b0 < 0x80) {
        out = b0;
        return 1;
    }
    std::size_t length;
    char32_t c;
    char32_t minimum;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2, c = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, c = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, c = b0 & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - pos < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if (!isContinuation(b)) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    out = c;
    return length;
}

}  // namespace

char32_t decodeUtf8At(std::string_view text, std::size_t& pos) {
    char32_t c = 0;
    const std::size_t length = wellFormedSequence(text, pos, c);
    if (length == 0) {
        ++pos;
        return kReplacementCharacter;
    }
    pos += length;
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacementCharacter;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool isValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t c = 0;
        const std::size_t length = wellFormedSequence(text, pos, c);
        if (length == 0) return false;
        pos += length;
    }
    return true;
}

std::string cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (char ch : cp1251) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out.push_back(ch);
        } else if (b >= kCp1251FirstCyrillicByte) {
            appendUtf8(out, kCyrillicCapitalA + (b - kCp1251FirstCyrillicByte));
        } else {
            appendUtf8(out, kCp1251High[b - 0x80]);
        }
    }
    return out;
}

std::string utf8ToCp1251(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = decodeUtf8At(utf8, pos);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c >= kCyrillicCapitalA && c <= kCyrillicSmallYa) {
            out.push_back(static_cast<char>(kCp1251FirstCyrillicByte + (c - kCyrillicCapitalA)));
        } else {
            char mapped = replacement;
            // U+FFFD (malformed input, or the text's own) is not in the code page: the undefined 0x98 slot holds
            // it only as a marker, so it never maps back.
            if (c != kReplacementCharacter) {
                for (std::size_t i = 0; i < kCp1251High.size(); ++i) {
                    if (kCp1251High[i] == c) {
                        mapped = static_cast<char>(0x80 + i);
                        break;
                    }
                }
            }
            out.push_back(mapped);
        }
    }
    return out;
}

std::size_t utf8CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        decodeUtf8At(utf8, pos);
        ++count;
    }
    return count;
}

std::string_view utf8Prefix(std::string_view utf8, std::size_t maxCharacters) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < maxCharacters && pos < utf8.size(); ++n) decodeUtf8At(utf8, pos);
    return utf8.substr(0, pos);
}

std::string repairUtf8(std::string_view text) {
    if (isValidUtf8(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    std::size_t pos = 0;
    while (pos < text.size()) appendUtf8(out, decodeUtf8At(text, pos));
    return out;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = decodeUtf8At(utf8, pos);
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            const char32_t v = c - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(utf16[i + 1]) - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, u);  // an unpaired surrogate becomes U+FFFD in appendUtf8
        }
    }
    return out;
}

}  // namespace host::sys
