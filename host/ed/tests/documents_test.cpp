// Documents: several open, one current and the working database with it; new, open, save and close, what the
// listener (the modules) is told and with which document current; failures that change nothing.
#include "host/ed/documents.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::ed {
namespace {

namespace fs = std::filesystem;
using sys::testing::readBytes;
using sys::testing::ScratchFolder;
using sys::testing::writeBytes;

const fs::path kSample = fs::path(KESTRION_SOURCE_DIR) / "examples" / "plate.dxf";

class Documents : public ::testing::Test {
protected:
    void SetUp() override {
        documents().closeAll();
        documents().setListener([this](DocumentEvent e, Document& d) {
            const char* name = e == DocumentEvent::Loaded ? "loaded" : e == DocumentEvent::Unloading ? "unloading"
                                                                                                      : "saving";
            Document* current = documents().current();
            const bool working = db::workingDatabase() == &d.database();
            told.push_back(std::string(name) + " " + d.title() + (current == &d && working ? " (current)" : ""));
        });
    }
    void TearDown() override {
        documents().closeAll();
        documents().setListener(nullptr);
    }
    std::vector<std::string> told;
};

TEST_F(Documents, NewOpenSwitchAndCloseWithTheWorkingDatabaseFollowing) {
    Document* first = documents().newDocument();
    std::string error;
    Document* plate = documents().open(kSample, &error);
    ASSERT_NE(plate, nullptr) << error;
    EXPECT_EQ(plate->title(), "plate.dxf");
    EXPECT_EQ(plate->fileName(), kSample);
    EXPECT_EQ(documents().current(), plate);
    EXPECT_EQ(db::workingDatabase(), &plate->database());
    EXPECT_EQ(documents().documentOf(&plate->database()), plate);
    EXPECT_EQ(documents().documentOf(nullptr), nullptr);

    documents().setCurrent(*first);
    EXPECT_EQ(db::workingDatabase(), &first->database());
    Document* third = documents().newDocument();
    EXPECT_NE(first->title(), third->title());
    EXPECT_TRUE(first->title().starts_with("Drawing") && first->title().ends_with(".dxf")) << first->title();
    EXPECT_TRUE(first->fileName().empty());
    EXPECT_EQ(documents().documents(), (std::vector<Document*>{first, plate, third}));

    // Closing a document that is not current leaves the current one; closing the current one makes the most
    // recently opened of the rest current.
    const std::string firstTitle = first->title(), thirdTitle = third->title();
    documents().close(*plate);
    EXPECT_EQ(documents().current(), third);
    documents().close(*third);
    EXPECT_EQ(documents().current(), first);
    EXPECT_EQ(db::workingDatabase(), &first->database());
    documents().close(*first);
    EXPECT_EQ(documents().current(), nullptr);
    EXPECT_EQ(db::workingDatabase(), nullptr);

    EXPECT_EQ(told, (std::vector<std::string>{
                        "loaded " + firstTitle + " (current)",
                        "loaded plate.dxf (current)",
                        "loaded " + thirdTitle + " (current)",
                        "unloading plate.dxf (current)",
                        "unloading " + thirdTitle + " (current)",
                        "unloading " + firstTitle + " (current)",
                    }));
}

TEST_F(Documents, OpeningWhatCannotBeReadChangesNothing) {
    ScratchFolder folder;
    writeBytes(folder / "bad.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1,5\n");
    Document* only = documents().newDocument();
    told.clear();
    struct Case {
        fs::path path;
        std::string message;
    };
    const Case cases[] = {
        {folder / "missing.dxf", "cannot open " + (folder / "missing.dxf").string() + ": no such file"},
        {folder.path(), "it is a folder, not a drawing"},
        {folder / "bad.dxf", "cannot open drawing: " + (folder / "bad.dxf").string() + ", line "},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(documents().open(c.path, &error), nullptr) << c.path;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    EXPECT_EQ(documents().documents(), (std::vector<Document*>{only}));
    EXPECT_EQ(documents().current(), only);
    EXPECT_EQ(db::workingDatabase(), &only->database());
    EXPECT_TRUE(told.empty());
}

TEST_F(Documents, SavingTellsFirstThenWritesAndTheDocumentFollowsItsFile) {
    ScratchFolder folder;
    Document* drawing = documents().newDocument();
    Document* other = documents().newDocument();
    told.clear();
    // What the listener writes into the drawing when told of the save is in the file.
    documents().setListener([&](DocumentEvent e, Document& d) {
        if (e != DocumentEvent::Saving) return;
        told.push_back("saving " + d.title() + (documents().current() == &d ? " (current)" : ""));
        told.push_back(fs::exists(folder / "a.dxf") ? "file already there" : "file not written yet");
        d.database().header().projectName = "job written at save";
    });
    std::string error;
    EXPECT_FALSE(documents().save(*drawing, {}, &error)) << "a new drawing has no file of its own yet";
    EXPECT_NE(error.find("has no file yet"), std::string::npos) << error;
    EXPECT_TRUE(told.empty());

    drawing->database().markModified();
    const std::string untitled = drawing->title();
    ASSERT_TRUE(documents().save(*drawing, folder / "a.dxf", &error)) << error;
    EXPECT_EQ(told, (std::vector<std::string>{"saving " + untitled + " (current)", "file not written yet"}));
    EXPECT_EQ(documents().current(), other) << "the current document is current again after the save";
    EXPECT_EQ(drawing->title(), "a.dxf");
    EXPECT_EQ(drawing->fileName(), folder / "a.dxf");
    EXPECT_FALSE(drawing->database().isModified());
    dxf::ReadResult read = dxf::readDxfFile(folder / "a.dxf");
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.database->header().projectName, "job written at save");

    // Saving again with no name goes to its own file.
    told.clear();
    ASSERT_TRUE(documents().save(*drawing, {}, &error)) << error;
    EXPECT_EQ(told.at(1), "file already there");
}

TEST_F(Documents, AFailedSaveSaysWhyAndLeavesTheOldFile) {
    ScratchFolder folder;
    Document* drawing = documents().newDocument();
    const fs::path target = folder / "no-such-folder" / "x.dxf";
    std::string error;
    EXPECT_FALSE(documents().save(*drawing, target, &error));
    EXPECT_NE(error.find("cannot save " + target.string() + ": "), std::string::npos) << error;
    EXPECT_TRUE(drawing->fileName().empty()) << "the document does not belong to a file it could not write";

    writeBytes(folder / "old.dxf", "the old drawing");
    {
        sys::testing::UnwritableFolder guard(folder.path());
        if (!guard.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
        EXPECT_FALSE(documents().save(*drawing, folder / "old.dxf", &error));
    }
    EXPECT_EQ(readBytes(folder / "old.dxf"), "the old drawing");
}

}  // namespace
}  // namespace host::ed
