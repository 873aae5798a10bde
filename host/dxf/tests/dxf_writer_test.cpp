// The DXF writer: what every file holds, where entities go, and saving that never leaves a half-written file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/dxf/dxf_file.h"
#include "host/dxf/dxf_limits.h"
#include "host/dxf/dxf_tokenizer.h"
#include "host/dxf/tests/sample_drawing.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::dxf {
namespace {

using sys::testing::readBytes;
using sys::testing::ScratchFolder;
using sys::testing::UnwritableFolder;
using sys::testing::writeBytes;
using db::ObjectId;

std::vector<Group> groupsOf(const std::string& text) {
    Tokenizer t(text, "out.dxf");
    std::vector<Group> out;
    Group g;
    while (t.next(g) == TokenResult::Group) out.push_back(g);
    EXPECT_EQ(t.error(), "");
    return out;
}

// The header opens with what a reader needs first, every handle is below $HANDSEED, and the file holds no control
// character but CR LF line ends whatever the drawing holds; its text is in its code page (ANSI_1251 here).
TEST(DxfWriter, HeaderVersionHandSeedAndPlainAscii) {
    const auto drawing = testing::buildSampleDrawing();
    const std::string text = writeDxfText(*drawing);
    const auto groups = groupsOf(text);
    ASSERT_GT(groups.size(), 12u);
    const std::pair<int, std::string_view> opening[] = {{0, "SECTION"}, {2, "HEADER"},   {9, "$ACADVER"},
                                                        {1, "AC1015"},  {9, "$HANDSEED"}};
    for (std::size_t i = 0; i < std::size(opening); ++i) {
        EXPECT_EQ(groups[i].code, opening[i].first);
        EXPECT_EQ(groups[i].text, opening[i].second);
    }
    const std::uint64_t seed = std::uint64_t(groups[5].integer);
    EXPECT_EQ(groups[7].text, "ANSI_1251");
    for (std::size_t i = 6; i < groups.size(); ++i) {
        const Group& g = groups[i];
        if (g.kind == GroupKind::Handle && (g.code == 5 || g.code == 105)) {
            EXPECT_LT(std::uint64_t(g.integer), seed);
        }
    }
    for (unsigned char c : text) ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c != 0x7F)) << int(c);
    EXPECT_NE(text.find("Kstr_7 \xCF\xF0\xEE\xE5\xEA\xF2 3"), std::string::npos);  // "Проект" in ANSI_1251
    EXPECT_EQ(text.find("\n\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 10), "  0\r\nEOF\r\n");
}

// Model- and paper-space entities go to the ENTITIES section with 67 saying which, whatever their own flag says;
// erased entities and erased group members are not written.
TEST(DxfWriter, EntitiesGoWhereTheyLiveAndErasedOnesAreLeftOut) {
    db::Database d;
    auto onPaper = std::make_unique<db::Line>(ge::Point3d(0, 0), ge::Point3d(1, 1));
    const ObjectId paperLine = testing::appendTo(d.paperSpaceId(), std::move(onPaper));
    {
        db::ObjectPtr<db::Line> l(paperLine, db::OpenMode::Write);
        l->setPaperSpace(false);  // a paper-space entity that does not say so
    }
    auto flagged = std::make_unique<db::Line>(ge::Point3d(2, 2), ge::Point3d(3, 3));
    flagged->setPaperSpace(true);  // and a model-space one that says the opposite
    const ObjectId modelLine = testing::appendTo(d.modelSpaceId(), std::move(flagged));
    const ObjectId erased = testing::appendTo(d.modelSpaceId(), std::make_unique<db::Circle>(ge::Point3d(), 1.0));
    ObjectId group;
    {
        db::ObjectPtr<db::Dictionary> groups(d.groupDictionaryId(), db::OpenMode::Write);
        groups->setAt("G", std::make_unique<db::Group>("g"), &group);
    }
    {
        db::ObjectPtr<db::Group> g(group, db::OpenMode::Write);
        g->append({modelLine, erased});
        db::ObjectPtr<db::Circle> c(erased, db::OpenMode::Write);
        c->erase();
    }
    const ReadResult back = readDxfText(writeDxfText(d), "spaces.dxf");
    ASSERT_TRUE(back) << back.error;
    const db::Database& b = *back.database;
    const auto* model = dynamic_cast<const db::BlockTableRecord*>(b.peek(b.modelSpaceId()));
    const auto* paper = dynamic_cast<const db::BlockTableRecord*>(b.peek(b.paperSpaceId()));
    ASSERT_EQ(model->entityIds().size(), 1u);
    EXPECT_EQ(model->entityIds()[0].handle(), modelLine.handle());
    EXPECT_FALSE(dynamic_cast<const db::Entity*>(b.peek(model->entityIds()[0]))->inPaperSpace());
    ASSERT_EQ(paper->entityIds().size(), 1u);
    EXPECT_EQ(paper->entityIds()[0].handle(), paperLine.handle());
    EXPECT_TRUE(dynamic_cast<const db::Entity*>(b.peek(paper->entityIds()[0]))->inPaperSpace());
    EXPECT_TRUE(b.idFromHandle(erased.handle()).isNull());
    const auto* g = dynamic_cast<const db::Group*>(b.peek(b.idFromHandle(group.handle())));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->numEntities(), 1u);
}

// The longest text the reader takes comes back from our own file, though every character is escaped there.
// An object has the owner it has: none when the file gave it none (LibreCAD writes PLOTSETTINGS so, and readers
// deleted ours for its "330 0"), and none once a command erased its owner. The first save wrote the erased
// entity's handle and the second 0.
TEST(DxfWriter, ObjectsWithoutALiveOwnerAreWrittenWithoutOne) {
    const std::string file =
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\n30\n102\n{ACAD_XDICTIONARY\n360\n40\n102\n}\n100\nAcDbEntity\n8\n0\n"
        "100\nAcDbLine\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n0\nENDSEC\n"
        "0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n330\n0\n100\nAcDbDictionary\n"
        "0\nDICTIONARY\n5\n40\n330\n30\n100\nAcDbDictionary\n3\nNOTE\n360\n41\n"
        "0\nXRECORD\n5\n41\n330\n40\n100\nAcDbXrecord\n1\nkept\n"
        "0\nPLOTSETTINGS\n5\n50\n100\nAcDbPlotSettings\n1\nA4\n0\nENDSEC\n0\nEOF\n";
    const ReadResult r = readDxfText(file, "owners.dxf");
    ASSERT_TRUE(r) << r.error;
    const std::string kept = writeDxfText(*r.database);
    EXPECT_NE(kept.find("PLOTSETTINGS\r\n  5\r\n50\r\n100\r\n"), std::string::npos);
    EXPECT_NE(kept.find("DICTIONARY\r\n  5\r\n40\r\n330\r\n30\r\n"), std::string::npos);
    {
        db::ObjectPtr<db::DbObject> line(r.database->idFromHandle(db::Handle(0x30)), db::OpenMode::Write);
        ASSERT_TRUE(line);
        ASSERT_EQ(line->erase(), db::Status::Ok);
    }
    const std::string first = writeDxfText(*r.database);
    EXPECT_NE(first.find("DICTIONARY\r\n  5\r\n40\r\n100\r\n"), std::string::npos);
    EXPECT_NE(first.find("XRECORD\r\n  5\r\n41\r\n330\r\n40\r\n"), std::string::npos);
    const ReadResult back = readDxfText(first, "saved.dxf");
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(writeDxfText(*back.database), first);
}

TEST(DxfWriter, LongestTextComesBack) {
    std::string longest;
    while (longest.size() + 2 <= limits::kMaxTextBytes) longest += "Ж";
    const std::string file = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1021\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
                             "0\nTEXT\n10\n0\n20\n0\n40\n1\n1\n" + longest + "\n0\nENDSEC\n0\nEOF\n";
    const ReadResult first = readDxfText(file, "long.dxf");
    ASSERT_TRUE(first) << first.error;
    const ReadResult again = readDxfText(writeDxfText(*first.database), "written.dxf");
    ASSERT_TRUE(again) << again.error;
    const auto* text = dynamic_cast<const db::Text*>(again.database->peek(again.database->firstEntity()));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->textString(), longest);
}

TEST(DxfWriter, FailedSaveKeepsTheOldFile) {
    const auto drawing = testing::buildSampleDrawing();
    ScratchFolder dir;
    const auto target = dir / "plate.dxf";
    writeBytes(target, "old contents");
    std::string error;

    // A folder that takes no new file: nothing changes, and the message names the file.
    {
        UnwritableFolder lock(dir.path());
        if (!lock.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
        EXPECT_FALSE(writeDxfFile(*drawing, target, &error));
    }
    EXPECT_NE(error.find(dir.path().string()), std::string::npos) << error;
    EXPECT_EQ(readBytes(target), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // A folder that does not exist.
    error.clear();
    EXPECT_FALSE(writeDxfFile(*drawing, dir / "missing" / "plate.dxf", &error));
    EXPECT_NE(error.find("plate.dxf"), std::string::npos) << error;

    // A number a file cannot hold: the drawing is not saved, rather than saved with a changed value.
    db::Database bad;
    testing::appendTo(bad.modelSpaceId(), std::make_unique<db::Line>(ge::Point3d(0, 0), ge::Point3d(1, 1)));
    bad.header().pdSize = std::numeric_limits<double>::quiet_NaN();
    error.clear();
    EXPECT_FALSE(writeDxfFile(bad, target, &error));
    EXPECT_NE(error.find("not finite"), std::string::npos) << error;
    EXPECT_EQ(readBytes(target), "old contents");

    // And a save that works replaces the file whole.
    error.clear();
    ASSERT_TRUE(writeDxfFile(*drawing, target, &error)) << error;
    EXPECT_EQ(readBytes(target), writeDxfText(*drawing));
}

}  // namespace
}  // namespace host::dxf
