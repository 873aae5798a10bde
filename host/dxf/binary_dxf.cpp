// Binary DXF read as ASCII DXF text: each group decoded by the kind of its code and written as two lines.
#include "host/dxf/binary_dxf.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "host/dxf/dxf_numbers.h"
#include "host/dxf/group_kinds.h"

namespace host::dxf {

namespace {

// The sentinel with its CR LF, end-of-file mark and NUL: 22 bytes before the first group.
constexpr std::string_view kSentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};
// In a file before R13, this one-byte code announces a two-byte code.
constexpr unsigned char kWideCode = 255;
constexpr char kHexDigits[] = "0123456789ABCDEF";

class Decoder {
public:
    Decoder(std::string_view data, std::string_view source) : data_(data), source_(source) {}

    BinaryDxfText run() {
        BinaryDxfText out;
        pos_ = kSentinel.size();
        // Every file starts with 0 SECTION: a second zero byte means two-byte codes.
        oneByteCodes_ = data_.size() > pos_ + 1 && data_[pos_] == 0 && data_[pos_ + 1] != 0;
        if (pos_ == data_.size())
            return fail(out, pos_, "nothing follows the binary DXF sentinel (is the file truncated?)");
        out.text.reserve(data_.size() * 2);
        while (pos_ < data_.size()) {
            const std::size_t at = pos_;
            int code = 0;
            if (!readCode(code)) return fail(out, at, "the file ends inside a group code (is it truncated?)");
            const auto kind = groupKindOf(code);
            if (!kind) return fail(out, at, std::to_string(code) + " is not a DXF group code");
            out.groupOffsets.push_back(at);
            appendNumber(out.text, code);
            out.text.push_back('\n');
            const std::size_t valueStart = out.text.size();
            std::string what;
            if (!readValue(code, *kind, out.text, what)) return fail(out, at, what);
            const bool endOfFile = code == 0 && std::string_view(out.text).substr(valueStart) == "EOF";
            out.text.push_back('\n');
            if (endOfFile) break;
        }
        return out;
    }

private:
    BinaryDxfText fail(BinaryDxfText& out, std::size_t at, const std::string& what) {
        out.text.clear();
        out.error = std::string(source_) + ", byte " + std::to_string(at) + ": " + what;
        return std::move(out);
    }

    bool has(std::size_t n) const { return data_.size() - pos_ >= n; }
    unsigned char byte(std::size_t i) const { return static_cast<unsigned char>(data_[pos_ + i]); }

    template <class T>
    T take() {
        T v;
        std::memcpy(&v, data_.data() + pos_, sizeof v);
        pos_ += sizeof v;
        if constexpr (std::endian::native == std::endian::big) v = byteswapped(v);
        return v;
    }
    template <class T>
    static T byteswapped(T v) {
        unsigned char b[sizeof v];
        std::memcpy(b, &v, sizeof v);
        for (std::size_t i = 0; i < sizeof v / 2; ++i) std::swap(b[i], b[sizeof v - 1 - i]);
        std::memcpy(&v, b, sizeof v);
        return v;
    }

    bool readCode(int& code) {
        if (oneByteCodes_) {
            if (!has(1)) return false;
            const unsigned char c = byte(0);
            ++pos_;
            if (c != kWideCode) {
                code = c;
                return true;
            }
        }
        if (!has(2)) return false;
        code = take<std::uint16_t>();
        return true;
    }

    static void appendNumber(std::string& out, std::int64_t v) {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        out.append(buf, r.ptr);
    }

    bool readValue(int code, GroupKind kind, std::string& out, std::string& what) {
        switch (kind) {
        case GroupKind::String:
        case GroupKind::Handle: {
            const void* nul = std::memchr(data_.data() + pos_, 0, data_.size() - pos_);
            if (!nul) break;
            const std::size_t end = std::size_t(static_cast<const char*>(nul) - data_.data());
            for (std::size_t i = pos_; i < end; ++i) {
                const char c = data_[i];
                if (c == '\n') out += "^J";
                else if (c == '\r') out += "^M";
                else out.push_back(c);
            }
            pos_ = end + 1;
            return true;
        }
        case GroupKind::Real: {
            if (!has(8)) break;
            char buf[kNumberTextSize];
            bool finite = true;
            const std::size_t n = formatReal(take<double>(), buf, &finite);
            if (!finite) {
                what = "group " + std::to_string(code) + " holds a real that is not a finite number";
                return false;
            }
            out.append(buf, n);
            return true;
        }
        case GroupKind::Int16:
            if (!has(2)) break;
            appendNumber(out, take<std::int16_t>());
            return true;
        case GroupKind::Int32:
            if (!has(4)) break;
            appendNumber(out, take<std::int32_t>());
            return true;
        case GroupKind::Int64:
            if (!has(8)) break;
            appendNumber(out, take<std::int64_t>());
            return true;
        case GroupKind::Bool:
            if (!has(1)) break;
            appendNumber(out, take<std::uint8_t>());
            return true;
        case GroupKind::Binary: {
            if (!has(1)) break;
            const std::size_t length = take<std::uint8_t>();
            if (!has(length)) break;
            for (std::size_t i = 0; i < length; ++i) {
                const unsigned char b = byte(i);
                out.push_back(kHexDigits[b >> 4]);
                out.push_back(kHexDigits[b & 15]);
            }
            pos_ += length;
            return true;
        }
        }
        what = "the file ends inside the value of group " + std::to_string(code) + " (is it truncated?)";
        return false;
    }

    std::string_view data_;
    std::string_view source_;
    std::size_t pos_ = 0;
    bool oneByteCodes_ = false;
};

}  // namespace

bool isBinaryDxf(std::string_view data) { return data.starts_with(kSentinel.substr(0, 18)); }

BinaryDxfText binaryDxfToText(std::string_view data, std::string_view source) {
    if (!data.starts_with(kSentinel)) {
        BinaryDxfText out;
        out.error = std::string(source) + ", byte 0: the binary DXF sentinel is incomplete (is the file truncated?)";
        return out;
    }
    return Decoder(data, source).run();
}

ReadResult readBinaryDxf(std::string_view data, std::string_view source) {
    BinaryDxfText converted = binaryDxfToText(data, source);
    ReadResult result;
    if (!converted.error.empty()) {
        result.error = std::move(converted.error);
        return result;
    }
    result = readDxfText(converted.text, source);
    // "<source>, line <n>: <what>": line n of the text is a line of group (n - 1) / 2.
    const std::string prefix = std::string(source) + ", line ";
    if (!result && result.error.starts_with(prefix)) {
        std::size_t line = 0;
        const char* first = result.error.data() + prefix.size();
        const char* last = result.error.data() + result.error.size();
        const auto [end, ec] = std::from_chars(first, last, line);
        if (ec == std::errc() && line > 0) {
            const std::size_t group = (line - 1) / 2;
            const std::size_t offset = group < converted.groupOffsets.size() ? converted.groupOffsets[group]
                                                                            : data.size();
            result.error = std::string(source) + ", byte " + std::to_string(offset) + std::string(end, last);
        }
    }
    return result;
}

}  // namespace host::dxf
