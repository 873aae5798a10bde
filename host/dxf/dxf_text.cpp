// Text in DXF files: decoding file strings to UTF-8, and encoding UTF-8 for the files we write.
#include "host/dxf/dxf_text.h"

#include "host/sys/encoding.h"

namespace host::dxf {

namespace {

// Windows-1252 0x80-0x9F. The five bytes the code page leaves undefined keep their C1 control code points, so
// nothing is lost; 0xA0-0xFF are Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (unsigned char c : bytes) {
        if (c < 0x80) out.push_back(char(c));
        else if (c < 0xA0) sys::appendUtf8(out, kCp1252High[c - 0x80]);
        else sys::appendUtf8(out, c);
    }
    return out;
}

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The UTF-16 unit of "\U+XXXX" at s[i], or -1 when there is no escape there.
int escapeAt(std::string_view s, std::size_t i) {
    if (i + 7 > s.size() || s[i] != '\\' || s[i + 1] != 'U' || s[i + 2] != '+') return -1;
    int v = 0;
    for (std::size_t k = i + 3; k < i + 7; ++k) {
        const int d = hexValue(s[k]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

bool isHighSurrogate(int u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(int u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Caret and (when asked) \U+ escapes of UTF-8 text.
std::string unescape(std::string_view s, bool unicodeEscapes) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (c == '^' && i + 1 < s.size()) {
            const char n = s[i + 1];
            if (n == ' ') {
                out.push_back('^');
                i += 2;
                continue;
            }
            if (n >= '@' && n <= '_') {
                out.push_back(char(n - '@'));
                i += 2;
                continue;
            }
        }
        if (c == '\\' && unicodeEscapes) {
            const int u = escapeAt(s, i);
            if (u >= 0 && !isHighSurrogate(u) && !isLowSurrogate(u)) {
                sys::appendUtf8(out, char32_t(u));
                i += 7;
                continue;
            }
            if (isHighSurrogate(u)) {
                const int low = escapeAt(s, i + 7);
                if (isLowSurrogate(low)) {
                    sys::appendUtf8(out, char32_t(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00)));
                    i += 14;
                    continue;
                }
            }
        }
        out.push_back(c);
        ++i;
    }
    return out;
}

bool needsUnescape(std::string_view s, bool unicodeEscapes) {
    for (char c : s)
        if (c == '^' || (c == '\\' && unicodeEscapes)) return true;
    return false;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendEscape(std::string& out, unsigned unit) {
    char e[7] = {'\\', 'U', '+', kHexDigits[(unit >> 12) & 15], kHexDigits[(unit >> 8) & 15],
                 kHexDigits[(unit >> 4) & 15], kHexDigits[unit & 15]};
    out.append(e, 7);
}

bool needsEncoding(unsigned char c) { return c < 0x20 || c >= 0x7F || c == '^' || c == '\\'; }

}  // namespace

TextEncoding textEncodingOf(std::string_view acadVersion, std::string_view codePage) {
    // "AC1021" and later compare greater as text: every version string has the same length and prefix.
    if (acadVersion.size() == 6 && acadVersion.substr(0, 2) == "AC" && acadVersion >= "AC1021") return TextEncoding::Utf8;
    if (codePage.empty()) return TextEncoding::CodePage1251;
    std::string upper(codePage);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (upper == "ANSI_1251") return TextEncoding::CodePage1251;
    if (upper == "UTF8" || upper == "UTF-8") return TextEncoding::Utf8;
    return TextEncoding::CodePage1252;
}

std::string decodeDxfText(std::string_view raw, TextEncoding encoding) {
    const bool unicodeEscapes = encoding != TextEncoding::Utf8;
    if (isAscii(raw)) {
        if (!needsUnescape(raw, unicodeEscapes)) return std::string(raw);
        return unescape(raw, unicodeEscapes);
    }
    std::string utf8;
    if (sys::isValidUtf8(raw)) utf8 = std::string(raw);
    else if (encoding == TextEncoding::CodePage1251) utf8 = sys::cp1251ToUtf8(raw);
    else utf8 = cp1252ToUtf8(raw);
    if (!needsUnescape(utf8, unicodeEscapes)) return utf8;
    return unescape(utf8, unicodeEscapes);
}

bool isPlainDxfText(std::string_view utf8) {
    for (unsigned char c : utf8)
        if (needsEncoding(c)) return false;
    return true;
}

void encodeDxfText(std::string_view utf8, std::string& out) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Copy the plain run in one go.
        std::size_t j = i;
        while (j < utf8.size() && !needsEncoding(static_cast<unsigned char>(utf8[j]))) ++j;
        out.append(utf8.data() + i, j - i);
        i = j;
        if (i >= utf8.size()) break;
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c == '^') {
            out.append("^ ", 2);
            ++i;
        } else if (c == '\\') {
            if (escapeAt(utf8, i) >= 0) appendEscape(out, '\\');
            else out.push_back('\\');
            ++i;
        } else if (c < 0x20) {
            out.push_back('^');
            out.push_back(char(c + '@'));
            ++i;
        } else if (c == 0x7F) {
            appendEscape(out, c);
            ++i;
        } else {
            const char32_t cp = sys::decodeUtf8At(utf8, i);
            if (cp > 0xFFFF) {
                const unsigned v = unsigned(cp) - 0x10000;
                appendEscape(out, 0xD800 + (v >> 10));
                appendEscape(out, 0xDC00 + (v & 0x3FF));
            } else {
                appendEscape(out, unsigned(cp));
            }
        }
    }
}

}  // namespace host::dxf
