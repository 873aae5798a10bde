// DXF text being written: groups appended to one buffer, numbers in their round-trip form, text encoded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/db/entity_groups.h"
#include "host/db/ids.h"
#include "host/db/object.h"
#include "host/dxf/dxf_text.h"
#include "host/ge/point.h"

namespace host::dxf {

class DxfOutput {
public:
    // Text goes out in the bytes of the file's code page where the page has its characters (else escaped).
    void setCodePage(const TextEncoding& page) { page_ = page; }

    // A group whose value is already file text (ASCII): record names, markers, handles, raw numbers.
    void plain(int code, std::string_view value);
    // Text in memory (UTF-8), encoded for the file.
    void text(int code, std::string_view utf8);
    void real(int code, double value);
    // An angle in radians, written in degrees.
    void angle(int code, double radians);
    void integer(int code, std::int64_t value);
    void handle(int code, db::Handle h);
    void handle(int code, db::ObjectId id) { handle(code, id.handle()); }
    void point(int code, const ge::Point3d& p);
    void point2d(int code, const ge::Point2d& p);
    // A group kept as read: text values (and text a handle code holds) are encoded, everything else is written as
    // it was read.
    void raw(const db::RawGroup& g);
    // Extended data items (1001 and what follows), as DbObject::xData answers them.
    void xdata(const db::ResBufList& items);

    std::string& buffer() { return buffer_; }
    // False when a not-finite number was met (it was written as 0.0).
    bool allFinite() const { return allFinite_; }

private:
    void code(int c);
    void endLine() { buffer_.append("\r\n", 2); }

    std::string buffer_;
    bool allFinite_ = true;
    std::optional<TextEncoding> page_;
};

// Writes an entity's groups (from the codec) to a DxfOutput: angles in degrees. The writer decides where an entity
// lives: `paperSpace` Force adds 67 1 to an entity of paper space that does not say so, Suppress leaves out a 67 of
// an entity of model space, AsEntity writes what the entity says (block definitions).
class DxfEntitySink : public db::GroupSink {
public:
    enum class PaperSpace { AsEntity, Force, Suppress };
    DxfEntitySink(DxfOutput& out, PaperSpace paper) : out_(out), paper_(paper) {}

    void real(int code, double value) override;
    void integer(int code, std::int64_t value) override;
    void text(int code, std::string_view value) override;
    void point(int code, const ge::Point3d& p) override { out_.point(code, p); }
    void point2d(int code, const ge::Point2d& p) override { out_.point2d(code, p); }
    void raw(const db::RawGroup& group) override { out_.raw(group); }

private:
    DxfOutput& out_;
    PaperSpace paper_;
};

}  // namespace host::dxf
