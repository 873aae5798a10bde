// Binary DXF: files another program saved as binary read as the same drawing as their ASCII twins, with one- and
// two-byte group codes; cut-off and malformed files are refused with the byte of the group at fault.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <fstream>
#include <sstream>
#include <string>

#include "host/dxf/binary_dxf.h"
#include "host/dxf/dxf_file.h"
#include "host/dxf/tests/drawing_compare.h"

namespace host::dxf {
namespace {

const std::filesystem::path kBinaryFixtures = KESTRION_SOURCE_DIR "/host/dxf/tests/fixtures";

std::string fileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A binary DXF file built group by group, two-byte codes.
class BinaryFile {
public:
    BinaryFile() { bytes_.assign("AutoCAD Binary DXF\r\n\x1a\0", 22); }
    BinaryFile& text(int code, std::string_view v) {
        put(code, 2);
        bytes_ += v;
        bytes_.push_back('\0');
        return *this;
    }
    BinaryFile& real(int code, double v) { return put(code, 2).put(v); }
    BinaryFile& int16(int code, std::int16_t v) { return put(code, 2).put(v); }
    // The offset the next group starts at.
    std::size_t offset() const { return bytes_.size(); }
    const std::string& bytes() const { return bytes_; }

    // A drawing of one line on layer CUT from (1,2,0) to (3.25,-4,0), up to the line's last group.
    BinaryFile& lineDrawing() {
        return text(0, "SECTION").text(2, "ENTITIES").text(0, "LINE").text(8, "CUT").real(10, 1).real(20, 2)
            .real(30, 0).real(11, 3.25).real(21, -4).real(31, 0);
    }
    BinaryFile& end() { return text(0, "ENDSEC").text(0, "EOF"); }

private:
    template <class T>
    BinaryFile& put(T v) {
        char b[sizeof v];
        std::memcpy(b, &v, sizeof v);
        bytes_.append(b, sizeof v);
        return *this;
    }
    BinaryFile& put(int code, int) { return put(static_cast<std::uint16_t>(code)); }
    std::string bytes_;
};

TEST(BinaryDxf, ReadsAsItsAsciiTwin) {
    for (const char* name : {"ezdxf_binary_r2018", "ezdxf_binary_r12"}) {
        const ReadResult binary = readDxfFile(kBinaryFixtures / (std::string(name) + ".dxf"));
        const ReadResult ascii = readDxfFile(kBinaryFixtures / (std::string(name) + "_ascii.dxf"));
        ASSERT_TRUE(binary) << binary.error;
        ASSERT_TRUE(ascii) << ascii.error;
        testing::expectSameDrawing(*ascii.database, *binary.database);
        EXPECT_EQ(writeDxfText(*binary.database), writeDxfText(*ascii.database)) << name;
    }
    // Something of every value kind came through: UTF-8 names, reals, extended data with a binary chunk.
    const ReadResult r = readDxfFile(kBinaryFixtures / "ezdxf_binary_r2018.dxf");
    ASSERT_TRUE(r) << r.error;
    EXPECT_FALSE(r.database->recordId(db::TableKind::Layer, "Разметка").isNull());
    bool sawText = false, sawChunk = false;
    for (db::ObjectId id = r.database->firstEntity(); !id.isNull(); id = r.database->nextEntity(id)) {
        const auto* e = dynamic_cast<const db::Entity*>(r.database->peek(id));
        if (const auto* t = dynamic_cast<const db::Text*>(e)) {
            sawText = true;
            EXPECT_EQ(t->textString(), "Деталь 1");
            EXPECT_DOUBLE_EQ(t->rotation(), 33.3 * M_PI / 180);
        }
        for (const db::ResBuf& rb : e->xData("Kstr"))
            if (const auto* b = std::get_if<std::vector<std::uint8_t>>(&rb.value); b && b->size() == 120)
                sawChunk = (*b)[119] == 119;
    }
    EXPECT_TRUE(sawText);
    EXPECT_TRUE(sawChunk);
}

TEST(BinaryDxf, SmallFileReadsExactly) {
    BinaryFile f;
    f.lineDrawing().end();
    const ReadResult r = readDxfText(f.bytes(), "line.dxf");
    ASSERT_TRUE(r) << r.error;
    const auto* line = dynamic_cast<const db::Line*>(r.database->peek(r.database->firstEntity()));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->layer(), "CUT");
    EXPECT_EQ(line->start(), ge::Point3d(1, 2, 0));
    EXPECT_EQ(line->end(), ge::Point3d(3.25, -4, 0));
    // Bytes after EOF are not read.
    const ReadResult padded = readDxfText(f.bytes() + std::string(7, '\x1a'), "padded.dxf");
    EXPECT_TRUE(padded) << padded.error;
}

// A file cut off anywhere is refused with the byte where the cut group starts, and the reason; never read in part.
TEST(BinaryDxf, TruncatedFileIsRefusedWithTheByte) {
    const std::string full = fileBytes(kBinaryFixtures / "ezdxf_binary_r2018.dxf");
    const BinaryDxfText groups = binaryDxfToText(full, "x");
    ASSERT_EQ(groups.error, "");
    // The offset of the first group of a code.
    auto firstGroup = [&](int code) {
        std::istringstream lines(groups.text);
        std::string c, v;
        for (std::size_t g = 0; std::getline(lines, c) && std::getline(lines, v); ++g)
            if (std::stoi(c) == code) return groups.groupOffsets[g];
        ADD_FAILURE() << "no group " << code;
        return std::size_t(0);
    };
    const std::size_t realAt = firstGroup(10), chunkAt = firstGroup(1004), int32At = firstGroup(90);
    const std::size_t eofAt = groups.groupOffsets.back();
    struct Case {
        const char* what;
        std::size_t cut;
        std::string message;
    };
    const Case cases[] = {
        {"inside the sentinel", 20,
         "cut.dxf, byte 0: the binary DXF sentinel is incomplete (is the file truncated?)"},
        {"inside the first group code", 23, "cut.dxf, byte 22: the file ends inside a group code (is it truncated?)"},
        {"inside SECTION", 26,
         "cut.dxf, byte 22: the file ends inside the value of group 0 (is it truncated?)"},
        {"inside a real", realAt + 5,
         "cut.dxf, byte " + std::to_string(realAt) + ": the file ends inside the value of group 10 (is it truncated?)"},
        {"inside a 32-bit integer", int32At + 4,
         "cut.dxf, byte " + std::to_string(int32At) +
             ": the file ends inside the value of group 90 (is it truncated?)"},
        {"inside a binary chunk", chunkAt + 40,
         "cut.dxf, byte " + std::to_string(chunkAt) +
             ": the file ends inside the value of group 1004 (is it truncated?)"},
        {"before EOF", eofAt,
         "cut.dxf, byte " + std::to_string(eofAt) + ": the file ends without EOF (is it truncated?)"},
    };
    for (const Case& c : cases) {
        const ReadResult r = readDxfText(std::string_view(full).substr(0, c.cut), "cut.dxf");
        EXPECT_FALSE(r) << c.what;
        EXPECT_EQ(r.error, c.message) << c.what;
    }
}

// Malformed values are refused with the byte of their group, whether the binary decoding or the reader finds them.
TEST(BinaryDxf, MalformedGroupsAreRefusedWithTheByte) {
    struct Case {
        const char* what;
        BinaryFile file;
        std::size_t at;
        std::string reason;
    };
    std::vector<Case> cases;
    {
        BinaryFile f;
        f.lineDrawing();
        const std::size_t at = f.offset();
        f.int16(2000, 1).end();
        cases.push_back({"a code that is no DXF code", f, at, "2000 is not a DXF group code"});
    }
    {
        BinaryFile f;
        f.text(0, "SECTION").text(2, "ENTITIES").text(0, "LINE");
        const std::size_t at = f.offset();
        f.real(10, std::numeric_limits<double>::quiet_NaN()).end();
        cases.push_back({"a real that is not a number", f, at, "group 10 holds a real that is not a finite number"});
    }
    {
        BinaryFile f;
        f.text(0, "SECTION").text(2, "ENTITIES").text(0, "LINE");
        const std::size_t at = f.offset();
        f.text(330, "XYZ").end();
        cases.push_back({"a handle that is not hexadecimal, found by the reader", f, at, "XYZ"});
    }
    for (const Case& c : cases) {
        const ReadResult r = readDxfText(c.file.bytes(), "bad.dxf");
        EXPECT_FALSE(r) << c.what;
        const std::string place = "bad.dxf, byte " + std::to_string(c.at) + ": ";
        EXPECT_TRUE(r.error.starts_with(place)) << c.what << ": " << r.error;
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << c.what << ": " << r.error;
    }
}

}  // namespace
}  // namespace host::dxf
