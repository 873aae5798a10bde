// DXF text being written: groups appended to one buffer, numbers in their round-trip form, text encoded.
#include "host/dxf/dxf_output.h"

#include <charconv>

#include "host/dxf/dxf_numbers.h"
#include "host/dxf/dxf_text.h"
#include "host/dxf/group_kinds.h"

namespace host::dxf {

namespace {

constexpr int kPaperSpace = 67;
constexpr int kSubclass = 100;
constexpr std::string_view kEntityMarker = "AcDbEntity";

}  // namespace

// Codes are right-aligned in three columns, as CAD programs write them ("  0", " 10", "100", "1001").
void DxfOutput::code(int c) {
    char buf[16];
    char* p = buf;
    if (c >= 0 && c < 10) *p++ = ' ', *p++ = ' ';
    else if (c >= 10 && c < 100) *p++ = ' ';
    p = std::to_chars(p, buf + sizeof buf - 2, c).ptr;
    *p++ = '\r';
    *p++ = '\n';
    buffer_.append(buf, std::size_t(p - buf));
}

void DxfOutput::plain(int c, std::string_view value) {
    code(c);
    buffer_.append(value);
    endLine();
}

void DxfOutput::text(int c, std::string_view utf8) {
    code(c);
    if (isPlainDxfText(utf8)) buffer_.append(utf8);
    else encodeDxfText(utf8, buffer_, page_ ? &*page_ : nullptr);
    endLine();
}

void DxfOutput::real(int c, double value) {
    code(c);
    char buf[kNumberTextSize];
    bool finite = true;
    buffer_.append(buf, formatReal(value, buf, &finite));
    allFinite_ = allFinite_ && finite;
    endLine();
}

void DxfOutput::angle(int c, double radians) {
    code(c);
    char buf[kNumberTextSize];
    bool finite = true;
    buffer_.append(buf, formatDegrees(radians, buf, &finite));
    allFinite_ = allFinite_ && finite;
    endLine();
}

void DxfOutput::integer(int c, std::int64_t value) {
    code(c);
    char buf[24];
    buffer_.append(buf, std::size_t(std::to_chars(buf, buf + sizeof buf, value).ptr - buf));
    endLine();
}

void DxfOutput::handle(int c, db::Handle h) {
    code(c);
    char buf[kNumberTextSize];
    buffer_.append(buf, formatHex(h.value, buf));
    endLine();
}

void DxfOutput::point(int c, const ge::Point3d& p) {
    real(c, p.x);
    real(c + 10, p.y);
    real(c + 20, p.z);
}

void DxfOutput::point2d(int c, const ge::Point2d& p) {
    real(c, p.x);
    real(c + 10, p.y);
}

// Handles, numbers and binary chunks kept as read are ASCII file text and go out as they came. A handle code can
// also hold text (group 5 names a DIMSTYLE in R12 files); that was decoded when read, so it is encoded again: a
// line break in it (a caret escape in the file) written raw would split the group and shift every group after it.
void DxfOutput::raw(const db::RawGroup& g) {
    const auto kind = groupKindOf(g.code);
    if ((kind && isTextKind(*kind)) || !isPlainDxfText(g.value)) text(g.code, g.value);
    else plain(g.code, g.value);
}

void DxfOutput::xdata(const db::ResBufList& items) {
    constexpr char kHex[] = "0123456789ABCDEF";
    for (const db::ResBuf& rb : items) {
        if (const auto* s = std::get_if<std::string>(&rb.value)) {
            if (rb.code == 1005) plain(rb.code, *s);
            else text(rb.code, *s);
        } else if (const auto* d = std::get_if<double>(&rb.value)) {
            real(rb.code, *d);
        } else if (const auto* i = std::get_if<std::int64_t>(&rb.value)) {
            integer(rb.code, *i);
        } else if (const auto* p = std::get_if<ge::Point3d>(&rb.value)) {
            point(rb.code, *p);
        } else if (const auto* b = std::get_if<std::vector<std::uint8_t>>(&rb.value)) {
            code(rb.code);
            for (std::uint8_t byte : *b) {
                buffer_.push_back(kHex[byte >> 4]);
                buffer_.push_back(kHex[byte & 15]);
            }
            endLine();
        }
    }
}

void DxfEntitySink::real(int c, double value) {
    if (db::isAngleGroup(c)) out_.angle(c, value);
    else out_.real(c, value);
}

void DxfEntitySink::integer(int c, std::int64_t value) {
    if (c == kPaperSpace && paper_ != PaperSpace::AsEntity) return;  // the writer decided
    out_.integer(c, value);
}

void DxfEntitySink::text(int c, std::string_view value) {
    out_.text(c, value);
    if (c == kSubclass && value == kEntityMarker && paper_ == PaperSpace::Force) out_.integer(kPaperSpace, 1);
}

}  // namespace host::dxf
