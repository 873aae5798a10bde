// Text in DXF files: decoding file strings to UTF-8, and encoding UTF-8 for the files we write.
#include "host/dxf/dxf_text.h"

#include <cerrno>
#include <iconv.h>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "host/sys/encoding.h"

namespace host::dxf {

namespace {

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

// ============================================================================================================
// Code pages
// ============================================================================================================

namespace {

std::string upperCase(std::string_view s) {
    std::string u(s);
    for (char& c : u) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c == '-') c = '_';
    }
    return u;
}

// The iconv name of a $DWGCODEPAGE value, or "" for none we know. The format's names are "ANSI_1250",
// "DOS866", "ISO8859-1", "MACINTOSH", "BIG5", "GB2312", "KSC5601", "JOHAB" and the like; old files write them in
// lower case.
std::string iconvNameOf(const std::string& page) {
    auto numberAfter = [&](std::string_view prefix) -> std::string {
        if (!page.starts_with(prefix)) return {};
        const std::string n = page.substr(prefix.size());
        if (n.empty() || n.size() > 4 || n.find_first_not_of("0123456789") != std::string::npos) return {};
        return n;
    };
    if (std::string n = numberAfter("ANSI_"); !n.empty()) return n == "1361" ? "JOHAB" : "CP" + n;
    for (std::string_view dos : {"DOS", "CP", "IBM"}) {
        if (std::string n = numberAfter(dos); !n.empty()) {
            if (n == "932" || n == "936" || n == "949" || n == "950" || n.size() == 4) return "CP" + n;
            return "IBM" + n;
        }
    }
    for (std::string_view iso : {"ISO8859_", "ISO_8859_"})
        if (std::string n = numberAfter(iso); !n.empty()) return "ISO-8859-" + n;
    if (page == "MACINTOSH" || page == "MAC_ROMAN") return "MACINTOSH";
    if (page == "BIG5") return "BIG5";
    if (page == "GB2312") return "GB2312";
    if (page == "KSC5601") return "CP949";
    if (page == "JOHAB") return "JOHAB";
    if (page == "ASCII" || page == "US_ASCII") return "CP1252";  // nothing above 0x7F to read; CP1252 if there is
    return {};
}

// Converts with iconv; false when iconv cannot take the page. A sequence the page does not define becomes the
// character of its first byte's value, and the conversion goes on after that byte.
bool iconvToUtf8(const std::string& name, std::string_view bytes, std::string& out) {
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == iconv_t(-1)) return false;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::string buffer(bytes.size() * 4 + 16, '\0');
    while (inLeft > 0) {
        char* o = buffer.data();
        std::size_t oLeft = buffer.size();
        const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer.data(), buffer.size() - oLeft);
        if (r != std::size_t(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: one byte as its own value, then on.
        sys::appendUtf8(out, char32_t(static_cast<unsigned char>(*in)));
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return true;
}

}  // namespace

// A page's bytes 0x80-0xFF as characters when each stands alone (single-byte pages); double-byte pages are
// converted whole.
struct TextEncoding::Page {
    std::string iconvName;
    bool singleByte = true;
    char32_t high[128] = {};
    bool defined[128] = {};  // whether the page gives the byte a character (high[] holds its value when not)

    // Characters to their bytes in the page, built the first time a text is written in it.
    mutable std::once_flag reverseOnce;
    mutable std::unordered_map<char32_t, std::string> reverse;

    const std::unordered_map<char32_t, std::string>& bytesOfCharacters() const {
        std::call_once(reverseOnce, [this] {
            if (singleByte) {
                for (int b = 0x80; b <= 0xFF; ++b)
                    if (defined[b - 0x80]) reverse.try_emplace(high[b - 0x80], 1, char(b));
                return;
            }
            // A double-byte page: each byte alone, and each lead byte with each trail byte, converted once.
            iconv_t cd = iconv_open("UTF-8", iconvName.c_str());
            if (cd == iconv_t(-1)) return;
            auto one = [&](const char* bytes, std::size_t n) -> std::optional<char32_t> {
                char in[2] = {bytes[0], n > 1 ? bytes[1] : '\0'};
                char* ip = in;
                std::size_t inLeft = n;
                char outBytes[16];
                char* o = outBytes;
                std::size_t oLeft = sizeof outBytes;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                const std::size_t r = iconv(cd, &ip, &inLeft, &o, &oLeft);
                if (r == std::size_t(-1) && errno == EINVAL) return char32_t(0);  // a lead byte
                if (r == std::size_t(-1) || inLeft != 0) return std::nullopt;
                const std::string_view utf8(outBytes, sizeof outBytes - oLeft);
                std::size_t pos = 0;
                const char32_t c = sys::decodeUtf8At(utf8, pos);
                if (pos != utf8.size()) return std::nullopt;  // more than one character
                return c;
            };
            for (int b1 = 0x80; b1 <= 0xFF; ++b1) {
                const char lead = char(b1);
                const std::optional<char32_t> alone = one(&lead, 1);
                if (!alone) continue;
                if (*alone != 0) {
                    reverse.try_emplace(*alone, 1, lead);
                    continue;
                }
                for (int b2 = 0x40; b2 <= 0xFE; ++b2) {
                    const char pair[2] = {lead, char(b2)};
                    if (const std::optional<char32_t> c = one(pair, 2); c && *c >= 0x80)
                        reverse.try_emplace(*c, pair, 2);
                }
            }
            iconv_close(cd);
        });
        return reverse;
    }

    // Built once per page and kept: a drawing's strings are many, its pages one.
    static std::shared_ptr<const Page> get(const std::string& iconvName) {
        static std::mutex mutex;
        static std::map<std::string, std::shared_ptr<const Page>> pages;
        std::lock_guard<std::mutex> lock(mutex);
        if (auto it = pages.find(iconvName); it != pages.end()) return it->second;
        auto page = std::make_shared<Page>();
        page->iconvName = iconvName;
        iconv_t cd = iconv_open("UTF-8", iconvName.c_str());
        if (cd == iconv_t(-1)) {
            pages.emplace(iconvName, nullptr);
            return nullptr;
        }
        for (int b = 0x80; b <= 0xFF && page->singleByte; ++b) {
            char inByte = char(b);
            char* in = &inByte;
            std::size_t inLeft = 1;
            char outBytes[8];
            char* o = outBytes;
            std::size_t oLeft = sizeof outBytes;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
            if (r == std::size_t(-1) && errno == EINVAL) {
                page->singleByte = false;  // a lead byte: the page has characters of two bytes
            } else if (r == std::size_t(-1) || oLeft == sizeof outBytes) {
                page->high[b - 0x80] = char32_t(b);  // undefined in the page: kept as its value
            } else {
                std::size_t pos = 0;
                page->high[b - 0x80] = sys::decodeUtf8At(std::string_view(outBytes, sizeof outBytes - oLeft), pos);
                page->defined[b - 0x80] = true;
            }
        }
        iconv_close(cd);
        pages.emplace(iconvName, page);
        return page;
    }
};

TextEncoding::TextEncoding() : codePage_("ANSI_1252"), page_(Page::get("CP1252")) {}

TextEncoding TextEncoding::of(std::string_view acadVersion, std::string_view codePage) {
    TextEncoding e;
    // "AC1021" and later compare greater as text: every version string has the same length and prefix.
    e.utf8_ = acadVersion.size() == 6 && acadVersion.substr(0, 2) == "AC" && acadVersion >= "AC1021";
    if (codePage.empty()) return e;
    const std::string page = upperCase(codePage);
    e.codePage_ = page;
    if (page == "UTF8" || page == "UTF_8") {
        e.utf8_ = true;
        return e;
    }
    const std::string name = iconvNameOf(page);
    std::shared_ptr<const Page> p = name.empty() ? nullptr : Page::get(name);
    if (p) e.page_ = std::move(p);
    else e.known_ = false;
    return e;
}

std::string TextEncoding::codePageToUtf8(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size() * 2);
    if (!page_) {
        for (unsigned char c : bytes) sys::appendUtf8(out, c);
        return out;
    }
    if (page_->singleByte) {
        for (unsigned char c : bytes) {
            if (c < 0x80) out.push_back(char(c));
            else sys::appendUtf8(out, page_->high[c - 0x80]);
        }
        return out;
    }
    if (!iconvToUtf8(page_->iconvName, bytes, out)) {
        out.clear();
        for (unsigned char c : bytes) sys::appendUtf8(out, c);
    }
    return out;
}

bool TextEncoding::appendInPage(char32_t c, std::string& out) const {
    if (utf8_ || !known_ || !page_ || c < 0x80) return false;
    const auto& bytes = page_->bytesOfCharacters();
    const auto it = bytes.find(c);
    if (it == bytes.end()) return false;
    out += it->second;
    return true;
}

bool TextEncoding::guessesUtf8() const {
    return utf8_ || !known_ || !page_ || page_->iconvName == "CP1252";
}

std::string decodeDxfText(std::string_view raw, const TextEncoding& encoding) {
    if (isAscii(raw)) {
        if (!needsUnescape(raw, true)) return std::string(raw);
        return unescape(raw, true);
    }
    std::string utf8 = encoding.guessesUtf8() && sys::isValidUtf8(raw) ? std::string(raw) : encoding.codePageToUtf8(raw);
    if (!needsUnescape(utf8, true)) return utf8;
    return unescape(utf8, true);
}

bool isPlainDxfText(std::string_view utf8) {
    for (unsigned char c : utf8)
        if (needsEncoding(c)) return false;
    return true;
}

namespace {

// `inPage` tells whether a character went out in the page's bytes.
void encodeText(std::string_view utf8, std::string& out, const TextEncoding* page, bool& inPage) {
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
            if (page && page->appendInPage(cp, out)) {
                inPage = true;
            } else if (cp > 0xFFFF) {
                const unsigned v = unsigned(cp) - 0x10000;
                appendEscape(out, 0xD800 + (v >> 10));
                appendEscape(out, 0xDC00 + (v & 0x3FF));
            } else {
                appendEscape(out, unsigned(cp));
            }
        }
    }
}

}  // namespace

void encodeDxfText(std::string_view utf8, std::string& out, const TextEncoding* page) {
    if (page) {
        // In the page where it has the characters. Bytes that would read back as UTF-8 (a reader takes a valid
        // UTF-8 string in an ANSI_1252 file as UTF-8) are written with escapes instead.
        const std::size_t start = out.size();
        bool inPage = false;
        encodeText(utf8, out, page, inPage);
        if (!inPage || !page->guessesUtf8() || !sys::isValidUtf8(std::string_view(out).substr(start))) return;
        out.resize(start);
    }
    bool unused = false;
    encodeText(utf8, out, nullptr, unused);
}

}  // namespace host::dxf
