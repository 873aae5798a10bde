// File dialogs: filters, default extensions, the folder listing, the checks of OK (must exist, create prompt,
// replace prompt, missing folder), several files, and the folder chooser.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "host/ui/dialog_driver.h"
#include "host/ui/file_dialog.h"
#include "host/ui/tests/dialog_test_support.h"

namespace host::ui {
namespace {

namespace fs = std::filesystem;
using sys::testing::ScratchFolder;
using sys::testing::writeBytes;
using testing::DialogTest;
using testing::IdleSteps;

TEST(FileFilter, SplitsDescriptionsAndPatterns) {
    struct Case {
        std::string text;
        std::vector<std::string> shown;  // "description: pattern pattern"
    };
    const Case cases[] = {
        {"All Files (*.*)|*.*|*.dwg|*.dwg||", {"All Files (*.*): *.*", "*.dwg: *.dwg"}},
        {"Drawings|*.dxf; *.dwg||", {"Drawings: *.dxf *.dwg"}},
        {"*.nst|*.nst|All Files (*.*)|*.*||", {"*.nst: *.nst", "All Files (*.*): *.*"}},
        {"Jobs|*.nst", {"Jobs: *.nst"}},               // no terminator
        {"*.iso|", {"*.iso: *.iso"}},                   // a description is its own pattern
        {"Programs|*.cnc|*.tap", {"Programs: *.cnc", "*.tap: *.tap"}},
        {"", {"All Files (*.*): *.*"}},
        {"||", {"All Files (*.*): *.*"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> shown;
        for (const FileFilter& f : parseFileFilter(c.text)) {
            std::string s = f.description + ":";
            for (const std::string& p : f.patterns) s += " " + p;
            shown.push_back(s);
        }
        EXPECT_EQ(shown, c.shown) << c.text;
    }
}

TEST(FileFilter, MatchesNamesByPatternAndExtensionsRead) {
    struct Case {
        std::string patterns;
        std::string name;
        bool matches;
    };
    const Case cases[] = {
        {"*.dxf", "plate.dxf", true},   {"*.dxf", "PLATE.DXF", true},      {"*.dxf", "plate.dxf.bak", false},
        {"*.*", "README", true},        {"*", "README", true},             {"p?rt.*", "part.iso", true},
        {"p?rt.*", "paart.iso", false}, {"*.iso;*.cnc", "a.cnc", true},    {"*.iso;*.cnc", "a.tap", false},
        {"*a*b*", "xxaxxbxx", true},    {"*a*b*", "xxbxxaxx", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesFilter(parseFileFilter("x|" + c.patterns + "||").front(), c.name), c.matches)
            << c.patterns << " " << c.name;

    const std::pair<std::string, std::string> extensions[] = {{"dxf", "dxf"}, {"*.dxf", "dxf"}, {".MXT", "MXT"},
                                                              {"*.*", ""},    {"*", ""},        {"", ""}};
    for (const auto& [text, extension] : extensions) EXPECT_EQ(extensionOf(text), extension) << text;
}

// A folder with two drawings, a text file and a sub-folder.
struct FileDialogTest : DialogTest {
    ScratchFolder folder;
    void SetUp() override {
        writeBytes(folder / "a.dxf", "0\nEOF\n");
        writeBytes(folder / "b.dxf", "0\nEOF\n");
        writeBytes(folder / "notes.txt", "x");
        fs::create_directory(folder / "sub");
    }
    FileDialogOptions options(FileDialogKind kind, unsigned flags = 0) {
        FileDialogOptions o;
        o.kind = kind;
        o.filter = "Drawings (*.dxf)|*.dxf|All Files (*.*)|*.*||";
        o.defaultExtension = "*.dxf";
        o.initialFolder = folder.path().string();
        o.flags = flags;
        return o;
    }
    // Types a name into the dialog's name box and presses Enter.
    void answer(Dialog& d, const std::string& name) {
        DialogDriver driver(d);
        EXPECT_TRUE(driver.set(std::to_string(kFileNameEditId), name).done);
        robot.key(VK_RETURN);
    }
    std::string in(const std::string& name) const { return (folder.path() / name).string(); }
};

TEST_F(FileDialogTest, OpenListsTheFilterAndWantsAFileThatExists) {
    FileDialog dialog(options(FileDialogKind::Open, OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR));
    const fs::path before = fs::current_path();
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  EXPECT_EQ(d.text(), "Open");
                                  EXPECT_EQ(dialog.listedNames(),
                                            (std::vector<std::string>{"[..]", "[sub]", "a.dxf", "b.dxf"}));
                                  EXPECT_EQ(d.itemText(kFolderTextId), folder.path().string());
                                  answer(d, "missing");  // missing.dxf, with the default extension
                              },
                              [&](Dialog&) { robot.key(VK_RETURN); },
                              [&](Dialog& d) { answer(d, "b"); }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.path(), in("b.dxf"));
    EXPECT_EQ(dialog.folder(), folder.path().string());
    EXPECT_EQ(dialog.filterIndex(), 1);
    ASSERT_EQ(messageBoxLog().size(), 1u);
    EXPECT_EQ(messageBoxLog()[0].text, in("missing.dxf") + "\nFile not found.\nCheck the file name and try again.");
    EXPECT_EQ(fs::current_path(), before);
}

// Settings keep folders with a final '\' ("/home/a/post\"): taken as part of the folder's name, the folder did
// not exist and every name picked in it was refused with "Path does not exist".
TEST_F(FileDialogTest, AStoredFolderWithBackslashesIsTheFolderShown) {
    FileDialogOptions o = options(FileDialogKind::Open, OFN_FILEMUSTEXIST);
    std::string stored = (folder.path() / "sub").string() + "\\";
    stored[folder.path().string().size()] = '\\';
    o.initialFolder = stored;
    writeBytes(folder / "sub" / "c.dxf", "0\nEOF\n");
    FileDialog dialog(std::move(o));
    IdleSteps steps(desktop, {[&](Dialog& d) {
        EXPECT_EQ(d.itemText(kFolderTextId), (folder.path() / "sub").string());
        answer(d, "c.dxf");
    }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.path(), in("sub/c.dxf"));
    EXPECT_TRUE(messageBoxLog().empty());
}

// A module names where its installed files are: the dialog starts there when no folder is remembered, or when the
// one remembered does not exist here ("c:\" of another machine, read as a folder "c:" of the working folder).
TEST_F(FileDialogTest, WithNoRememberedFolderTheDialogStartsInTheFallbackFolder) {
    const struct {
        std::string initial;
        fs::path shown;
    } cases[] = {
        {"", folder / "sub"},
        {"c:\\", folder / "sub"},
        {(folder / "gone").string(), folder / "sub"},
        {folder.path().string(), folder.path()},
    };
    writeBytes(folder / "sub" / "c.dxf", "0\nEOF\n");
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.initial + "\"");
        FileDialogOptions o = options(FileDialogKind::Open, OFN_FILEMUSTEXIST);
        o.initialFolder = c.initial;
        o.fallbackFolder = (folder / "sub").string();
        FileDialog dialog(std::move(o));
        IdleSteps steps(desktop, {[&](Dialog& d) {
            EXPECT_EQ(d.itemText(kFolderTextId), c.shown.string());
            robot.key(VK_ESCAPE);
        }});
        EXPECT_EQ(dialog.doModal(), IDCANCEL);
    }
}

TEST_F(FileDialogTest, AnotherFilterAndFoldersChangeWhatIsListed) {
    FileDialog dialog(options(FileDialogKind::Open, OFN_FILEMUSTEXIST));
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  EXPECT_TRUE(DialogDriver(d).set("Files of type", "All Files (*.*)").done);
                                  EXPECT_EQ(dialog.listedNames().back(), "notes.txt");
                                  answer(d, "sub");  // a folder opens
                              },
                              [&](Dialog& d) {
                                  EXPECT_EQ(dialog.currentFolder(), folder.path() / "sub");
                                  EXPECT_EQ(d.itemText(kFileNameEditId), "");
                                  EXPECT_EQ(dialog.listedNames(), std::vector<std::string>{"[..]"});
                                  answer(d, "../notes.txt");
                              }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.path(), in("notes.txt"));
    EXPECT_EQ(dialog.filterIndex(), 2);
}

TEST_F(FileDialogTest, SaveAsksBeforeReplacingAndNeverWantsTheFileToExist) {
    struct Case {
        std::string typed;
        std::vector<int> boxAnswers;  // keys for the boxes shown, in order (Enter = Yes, N = No)
        std::string chosen;           // empty: cancelled in the end
        std::vector<std::string> boxes;
    };
    const std::vector<Case> cases = {
        {"a", {'N'}, "", {"a.dxf already exists.\nDo you want to replace it?"}},
        {"a.dxf", {'Y'}, "a.dxf", {"a.dxf already exists.\nDo you want to replace it?"}},
        {"new", {}, "new.dxf", {}},  // OFN_FILEMUSTEXIST does not hold for saving
        {"new.nc", {}, "new.nc", {}},
        {"nofolder/x", {}, "", {}},
    };
    for (const Case& c : cases) {
        clearMessageBoxLog();
        FileDialog dialog(options(FileDialogKind::Save, OFN_FILEMUSTEXIST));
        std::vector<IdleSteps::Step> list = {[&](Dialog& d) {
            EXPECT_EQ(d.text(), "Save As");
            answer(d, c.typed);
        }};
        for (int key : c.boxAnswers) list.push_back([&, key](Dialog&) { 
            if (key == 'Y')
                robot.key(VK_RETURN);
            else
                robot.key('N', Alt);
        });
        list.push_back([&](Dialog&) { robot.key(VK_ESCAPE); });  // whatever is still open
        if (c.typed == "nofolder/x") list.insert(list.begin() + 1, [&](Dialog&) { robot.key(VK_RETURN); });
        IdleSteps steps(desktop, list);
        const std::intptr_t result = dialog.doModal();
        EXPECT_EQ(result, c.chosen.empty() ? IDCANCEL : IDOK) << c.typed;
        if (!c.chosen.empty()) {
            EXPECT_EQ(dialog.path(), in(c.chosen)) << c.typed;
        }
        std::vector<std::string> boxes;
        for (const MessageBoxRecord& r : messageBoxLog()) boxes.push_back(r.text);
        if (c.typed == "nofolder/x") {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0], in("nofolder/x.dxf") + "\nPath does not exist.\nCheck the path and try again.");
        } else {
            EXPECT_EQ(boxes, c.boxes) << c.typed;
        }
    }
}

TEST_F(FileDialogTest, CreatePromptAsksForAFileThatIsNotThere) {
    FileDialog dialog(options(FileDialogKind::Open, OFN_CREATEPROMPT));
    IdleSteps steps(desktop, {[&](Dialog& d) { answer(d, "post.MXT"); },
                              [&](Dialog&) { robot.key('N', Alt); },
                              [&](Dialog& d) { answer(d, "post.MXT"); },
                              [&](Dialog&) { robot.key(VK_RETURN); }});  // Yes
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.path(), in("post.MXT"));
    ASSERT_EQ(messageBoxLog().size(), 2u);
    EXPECT_EQ(messageBoxLog()[1].text, in("post.MXT") + "\nThis file does not exist.\nDo you want to create it?");
    EXPECT_EQ(messageBoxLog()[0].answer, IDNO);
}

TEST_F(FileDialogTest, SeveralFilesInQuotesShareTheirFolder) {
    FileDialog dialog(options(FileDialogKind::Open, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST));
    IdleSteps steps(desktop, {[&](Dialog& d) { answer(d, "\"a.dxf\" \"notes.txt\" \"b\""); }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.paths(), (std::vector<std::string>{in("a.dxf"), in("notes.txt"), in("b.dxf")}));
    EXPECT_EQ(dialog.folder(), folder.path().string());
}

// Before: names apart by spaces without quotes gave "File not found" for the whole text, without saying why.
// Where each word names a file they are the files; where one does not, the message says how to name several.
TEST_F(FileDialogTest, SeveralFilesWithoutQuotesAreTakenOrTheMessageSaysHow) {
    FileDialog dialog(options(FileDialogKind::Open, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST));
    IdleSteps steps(desktop, {[&](Dialog& d) { answer(d, "a.dxf nothing.dxf"); },
                              [&](Dialog&) { robot.key(VK_RETURN); },
                              [&](Dialog& d) { answer(d, "a.dxf  notes.txt b"); }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.paths(), (std::vector<std::string>{in("a.dxf"), in("notes.txt"), in("b.dxf")}));
    ASSERT_EQ(messageBoxLog().size(), 1u);
    EXPECT_EQ(messageBoxLog()[0].text, in("a.dxf nothing.dxf") +
                                           "\nFile not found.\nCheck the file name and try again.\nSeveral files are "
                                           "named each in double quotes: \"a.dxf\" \"b.dxf\".");
}

TEST_F(FileDialogTest, AnInitialNameMayCarryItsFolder) {
    FileDialogOptions o = options(FileDialogKind::Save);
    o.initialFolder.clear();
    o.initialName = in("sub/part.dxf");
    FileDialog dialog(o);
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  EXPECT_EQ(dialog.currentFolder(), folder.path() / "sub");
                                  EXPECT_EQ(d.itemText(kFileNameEditId), "part.dxf");
                                  robot.key(VK_RETURN);
                              }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.path(), in("sub/part.dxf"));
}

TEST_F(FileDialogTest, TheFolderChooserWantsAFolderThatExists) {
    struct Case {
        std::string typed;
        std::string chosen;  // empty: refused, then cancelled
    };
    const Case cases[] = {{"sub", "sub"}, {"", ""}, {"nothing", ""}, {"sub/../sub/", "sub"}};
    for (const Case& c : cases) {
        clearMessageBoxLog();
        FolderDialog dialog("Output folder", folder.path().string());
        const bool refused = c.typed == "nothing";
        std::vector<IdleSteps::Step> list = {[&](Dialog& d) {
            EXPECT_EQ(dialog.listedNames(), (std::vector<std::string>{"[..]", "[sub]"}));
            answer(d, c.typed);
        }};
        if (refused) {
            list.push_back([&](Dialog&) { robot.key(VK_RETURN); });
            list.push_back([&](Dialog&) { robot.key(VK_ESCAPE); });
        }
        IdleSteps steps(desktop, list);
        EXPECT_EQ(dialog.doModal(), refused ? IDCANCEL : IDOK) << c.typed;
        if (refused) {
            ASSERT_EQ(messageBoxLog().size(), 1u);
            EXPECT_EQ(messageBoxLog()[0].text, in("nothing") + "\nThe folder does not exist.");
        } else {
            EXPECT_EQ(dialog.path(), c.chosen.empty() ? folder.path().string() : in(c.chosen)) << c.typed;
        }
    }
    EXPECT_EQ(chooseFolder("Nobody answers", folder.path().string()), std::nullopt);
}

}  // namespace
}  // namespace host::ui
