// Reading and writing the exported-registry text layout.
//
// Index: [decoding] bytes to UTF-8 lines; [parsing] one line at a time into the tree; [writing] tree to text.
#include "host/reg/registry_format.h"

#include <cstdio>

#include "host/sys/encoding.h"
#include "host/sys/message_text.h"
#include "host/sys/text_case.h"
#include "host/sys/text_file.h"

namespace host::reg {

namespace {

constexpr std::string_view kUtf16leByteOrderMark = "\xFF\xFE";
constexpr std::string_view kUtf16beByteOrderMark = "\xFE\xFF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kHexWrapColumn = 76;  // registry editors wrap hex data near 80 columns

// ---------------------------------------------------------------------------------------------------[decoding]

// UTF-16LE bytes (after the byte-order mark) to UTF-8; an odd byte count or an unpaired surrogate is an error,
// reported at the line where it occurs.
std::optional<std::string> decodeUtf16le(std::string_view bytes, std::string_view name, std::string* error) {
    std::size_t line = 1;
    auto fail = [&](const char* what) {
        if (error) *error = std::string(name) + ":" + std::to_string(line) + ": " + what;
        return std::nullopt;
    };
    if (bytes.size() % 2 != 0) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            if (bytes[i] == '\n' && bytes[i + 1] == '\0') ++line;
        }
        return fail("UTF-16 text with an odd number of bytes (the file is cut short)");
    }
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u == u'\n') ++line;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
                ++i;
                continue;
            }
            return fail("not UTF-16 text (a surrogate without its pair)");
        }
        if (u >= 0xDC00 && u <= 0xDFFF) return fail("not UTF-16 text (a surrogate without its pair)");
    }
    return sys::utf16ToUtf8(units);
}

// ----------------------------------------------------------------------------------------------------[parsing]

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Parser {
public:
    Parser(const std::vector<std::string>& lines, std::string_view name, std::string* error)
        : lines_(lines), name_(name), error_(error) {}

    bool run(RegistryTree& tree) {
        bool headerSeen = false;
        for (index_ = 0; index_ < lines_.size(); ++index_) {
            const std::string_view line = trimRight(lines_[index_]);
            const std::string_view body = trimLeft(line);
            if (!headerSeen) {
                if (body.empty()) continue;
                if (line != kRegistryHeader && line != kOldRegistryHeader) {
                    return fail("the file does not start with \"" + std::string(kRegistryHeader) + "\"");
                }
                headerSeen = true;
                continue;
            }
            if (body.empty() || body.front() == ';') continue;
            const bool ok = body.front() == '['                            ? keyLine(tree, body)
                            : (body.front() == '"' || body.front() == '@') ? valueLine(tree, body)
                                                                           : fail("not a key, a value or a comment");
            if (!ok) return false;
        }
        return true;
    }

private:
    bool fail(const std::string& what) {
        if (error_) *error_ = std::string(name_) + ":" + std::to_string(index_ + 1) + ": " + what;
        return false;
    }

    bool keyLine(RegistryTree& tree, std::string_view line) {
        if (line.back() != ']') return fail("a key line must end with ']'");
        std::string_view inner = line.substr(1, line.size() - 2);
        const bool removal = !inner.empty() && inner.front() == '-';
        if (removal) inner.remove_prefix(1);
        const std::size_t cut = inner.find('\\');
        const std::string_view hiveText = inner.substr(0, cut);
        std::optional<Hive> hive;
        if (sys::equalsNoCase(hiveText, hiveName(Hive::LocalMachine))) hive = Hive::LocalMachine;
        if (sys::equalsNoCase(hiveText, hiveName(Hive::CurrentUser))) hive = Hive::CurrentUser;
        if (!hive) {
            return fail("unknown root key \"" + sys::quotedForMessage(hiveText) +
                        "\" (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER expected)");
        }
        const std::string_view rest = cut == std::string_view::npos ? std::string_view() : inner.substr(cut + 1);
        const auto names = splitSubKey(rest);
        const bool strayBackslash =
            cut != std::string_view::npos && (rest.empty() || rest.front() == '\\' || rest.back() == '\\');
        if (!names || strayBackslash) return badKeyName(inner, rest);
        if (removal) {
            tree.remove(*hive, *names);
            inKey_ = false;
            return true;
        }
        tree.ensure(*hive, *names);
        hive_ = *hive;
        names_ = *names;
        inKey_ = true;
        return true;
    }

    // Why the names of a key line are refused, with the key quoted as far as a message can show it.
    bool badKeyName(std::string_view inner, std::string_view rest) {
        std::size_t count = 0;
        std::size_t start = 0;
        const std::string quoted = "\"" + sys::quotedForMessage(inner) + "\"";
        while (start <= rest.size()) {
            std::size_t end = rest.find('\\', start);
            if (end == std::string_view::npos) end = rest.size();
            if (sys::utf8CharacterCount(rest.substr(start, end - start)) > kMaxKeyNameLength) {
                return fail("bad key name " + quoted + ": a name longer than " + std::to_string(kMaxKeyNameLength) +
                            " characters");
            }
            ++count;
            start = end + 1;
        }
        if (count > kMaxKeyDepth) {
            return fail("bad key name " + quoted + ": more than " + std::to_string(kMaxKeyDepth) + " keys deep");
        }
        return fail("bad key name " + quoted + ": an empty name (two backslashes, or one at an end)");
    }

    // Reads a quoted text starting at s[0] == '"'; `s` is left after the closing quote.
    bool quoted(std::string_view& s, std::string& out) {
        out.clear();
        for (std::size_t i = 1; i < s.size(); ++i) {
            const char c = s[i];
            if (c == '"') {
                s.remove_prefix(i + 1);
                return true;
            }
            if (c == '\\') {
                if (i + 1 == s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) {
                    return fail("unknown escape in quoted text (only \\\\ and \\\" are allowed)");
                }
                out.push_back(s[++i]);
            } else {
                out.push_back(c);
            }
        }
        return fail("quoted text without its closing '\"'");
    }

    bool valueLine(RegistryTree& tree, std::string_view line) {
        if (!inKey_) return fail("a value outside any key");
        RegistryValue value;
        std::string_view rest = line;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else {
            if (!quoted(rest, value.name)) return false;
            if (value.name.empty()) return fail("an empty value name (the default value is written @)");
            if (sys::utf8CharacterCount(value.name) > kMaxValueNameLength) return fail("value name too long");
        }
        rest = trimLeft(rest);
        if (rest.empty() || rest.front() != '=') return fail("'=' expected after the value name");
        rest = trimLeft(rest.substr(1));
        RegistryKeyNode* key = tree.find(hive_, names_);
        if (rest == "-") {
            key->removeValue(value.name);
            return true;
        }
        if (!rest.empty() && rest.front() == '"') {
            value.type = ValueType::String;
            if (!quoted(rest, value.text)) return false;
            if (!trimLeft(rest).empty()) return fail("text after the closing '\"'");
        } else if (rest.substr(0, 6) == "dword:") {
            if (!dword(rest.substr(6), value.dword)) return false;
            value.type = ValueType::Dword;
        } else if (rest.substr(0, 3) == "hex") {
            if (!binary(rest, value)) return false;
        } else {
            return fail("a value must be \"text\", dword:, hex: or -");
        }
        key->setValue(std::move(value));
        return true;
    }

    bool dword(std::string_view digits, std::uint32_t& out) {
        if (digits.empty() || digits.size() > 8) return fail("dword: needs 1 to 8 hexadecimal digits");
        out = 0;
        for (char c : digits) {
            const int d = hexDigit(c);
            if (d < 0) return fail("dword: needs 1 to 8 hexadecimal digits");
            out = (out << 4) | static_cast<std::uint32_t>(d);
        }
        return true;
    }

    // hex:aa,bb or hex(N):aa,bb with continuation lines ending in '\'.
    bool binary(std::string_view rest, RegistryValue& value) {
        const std::size_t colon = rest.find(':');
        if (colon == std::string_view::npos) return fail("':' expected after hex");
        const std::string_view tag = rest.substr(0, colon);
        bool tagOk = tag == "hex";
        if (!tagOk && tag.size() > 5 && tag.substr(0, 4) == "hex(" && tag.back() == ')' && tag.size() <= 13) {
            tagOk = true;
            for (char c : tag.substr(4, tag.size() - 5)) tagOk = tagOk && hexDigit(c) >= 0;
        }
        if (!tagOk) return fail("bad hex type \"" + std::string(tag) + "\"");
        value.type = ValueType::Binary;
        value.text = std::string(tag);
        std::string_view data = rest.substr(colon + 1);
        for (std::size_t continued = 0;; ++continued) {
            data = trimRight(data);
            const bool more = !data.empty() && data.back() == '\\';
            if (more) data.remove_suffix(1);
            if (!hexBytes(data, value.bytes)) return false;
            if (!more) return true;
            if (continued == kMaxBinaryValueLines) return fail("hex value longer than the file allows");
            if (index_ + 1 == lines_.size()) return fail("hex value continued past the end of the file");
            data = trimLeft(lines_[++index_]);
        }
    }

    bool hexBytes(std::string_view data, std::vector<std::uint8_t>& bytes) {
        data = trimLeft(trimRight(data));
        while (!data.empty()) {
            if (data.size() < 2 || hexDigit(data[0]) < 0 || hexDigit(data[1]) < 0) {
                return fail("hex data must be two-digit bytes separated by commas");
            }
            bytes.push_back(static_cast<std::uint8_t>(hexDigit(data[0]) * 16 + hexDigit(data[1])));
            data = trimLeft(data.substr(2));
            if (data.empty()) break;
            if (data.front() != ',') return fail("hex data must be two-digit bytes separated by commas");
            data = trimLeft(data.substr(1));
        }
        return true;
    }

    const std::vector<std::string>& lines_;
    std::string_view name_;
    std::string* error_;
    std::size_t index_ = 0;
    bool inKey_ = false;
    Hive hive_ = Hive::LocalMachine;
    std::vector<std::string> names_;
};

// ----------------------------------------------------------------------------------------------------[writing]

void appendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

void appendValue(std::string& out, const RegistryValue& value) {
    const std::size_t lineStart = out.size();
    if (value.name.empty()) {
        out.push_back('@');
    } else {
        appendQuoted(out, value.name);
    }
    out.push_back('=');
    switch (value.type) {
        case ValueType::String: appendQuoted(out, value.text); break;
        case ValueType::Dword: {
            char digits[16];
            std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(value.dword));
            out += digits;
            break;
        }
        case ValueType::Binary: {
            out += value.text;
            out.push_back(':');
            std::size_t column = out.size() - lineStart;
            for (std::size_t i = 0; i < value.bytes.size(); ++i) {
                char pair[4];
                std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned>(value.bytes[i]));
                out += pair;
                column += 2;
                if (i + 1 < value.bytes.size()) {
                    out.push_back(',');
                    ++column;
                    if (column >= kHexWrapColumn) {
                        out += "\\";
                        out += kLineEnd;
                        out += "  ";
                        column = 2;
                    }
                }
            }
            break;
        }
    }
    out += kLineEnd;
}

void appendKey(std::string& out, const RegistryKeyNode& key, const std::string& path, bool isHive) {
    if (!isHive || !key.values.empty()) {
        out += "[" + path + "]";
        out += kLineEnd;
        for (const RegistryValue& value : key.values) appendValue(out, value);
        out += kLineEnd;
    }
    for (const RegistryKeyNode& child : key.children) appendKey(out, child, path + "\\" + child.name, false);
}

}  // namespace

std::optional<ParsedRegistry> parseRegistryFile(std::string_view bytes, std::string_view name, std::string* error) {
    ParsedRegistry parsed;
    std::string decoded;
    std::string_view text = bytes;
    if (bytes.substr(0, 2) == kUtf16leByteOrderMark) {
        auto utf8 = decodeUtf16le(bytes.substr(2), name, error);
        if (!utf8) return std::nullopt;
        decoded = std::move(*utf8);
        text = decoded;
        parsed.encoding = RegistryFileEncoding::Utf16le;
    } else if (bytes.substr(0, 2) == kUtf16beByteOrderMark) {
        if (error) *error = std::string(name) + ":1: UTF-16 big-endian text is not read (save it as UTF-16LE or UTF-8)";
        return std::nullopt;
    }
    const sys::TextLimits limits{.maxFileBytes = kMaxRegistryFileBytes * 2, .maxLineBytes = kMaxRegistryLineBytes};
    auto lines = sys::splitTextLines(text, name, error, limits);
    if (!lines) return std::nullopt;
    if (parsed.encoding != RegistryFileEncoding::Utf16le && lines->encoding == sys::TextEncoding::Cp1251) {
        parsed.encoding = RegistryFileEncoding::Cp1251;
    }
    Parser parser(lines->lines, name, error);
    if (!parser.run(parsed.tree)) return std::nullopt;
    return parsed;
}

std::string formatRegistryText(const RegistryTree& tree) {
    std::string out(kRegistryHeader);
    out += kLineEnd;
    out += kLineEnd;
    appendKey(out, tree.localMachine, std::string(hiveName(Hive::LocalMachine)), true);
    appendKey(out, tree.currentUser, std::string(hiveName(Hive::CurrentUser)), true);
    return out;
}

std::string encodeRegistryFile(const RegistryTree& tree, RegistryFileEncoding encoding) {
    std::string text = formatRegistryText(tree);
    if (encoding != RegistryFileEncoding::Utf16le) return text;
    const std::u16string units = sys::utf8ToUtf16(text);
    std::string bytes(kUtf16leByteOrderMark);
    bytes.reserve(2 + units.size() * 2);
    for (char16_t u : units) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    return bytes;
}

}  // namespace host::reg
